// SPDX-License-Identifier: GPL-2.0-or-later
// The driver files are writable by everybody, so the tool meets whatever
// anybody left in their place: links, FIFOs, sockets, directories,
// temporary files of killed runs and links planted at their paths,
// half-finished deletes, one name under two identifiers, and names made
// to look like the files' own markers. Each run either refuses before the
// companion tool runs, changing nothing, or does its whole job.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "expected_usage.h"
#include "harness.h"

TEST(HostileTree, DataPathHoldingAnythingButARegularFileIsRefusedUntouched) {
  struct Kind {
    const char* what;
    std::string out;
  } kinds[] = {
    { "link", "Too many levels of symbolic links\n" },
    { "dangling link", "Too many levels of symbolic links\n" },
    { "fifo", "Invalid argument\n" },
    { "socket", "Invalid argument\n" },
    { "directory", "Is a directory\n" },
    { "hard link", "Too many links\n" },
  };
  for (const Kind& kind : kinds) {
    for (int file = 0; file < 4; ++file) {
      SCOPED_TRACE(std::string(kind.what) + " at file " + std::to_string(file));
      Driver driver(kTape, "txr580");
      std::string path = driver.files.all()[file];
      std::string secret = driver.top() + "/secret";
      write_file(secret, "root only\n");
      unlink(path.c_str());
      ASSERT_NO_FATAL_FAILURE(plant(kind.what, path, secret));

      RunResult run = driver.run(kAddShelfEdge);
      EXPECT_EQ(255, run.exit_status);
      EXPECT_EQ(kind.out, run.out);
      EXPECT_EQ("", driver.companion_log()) << "the companion tool ran";
      std::vector<std::string> expected = driver.original;
      expected[file] = "";
      EXPECT_EQ(expected, driver.contents(file));
      struct stat planted;
      EXPECT_EQ(0, lstat(path.c_str(), &planted));
      EXPECT_TRUE(!S_ISREG(planted.st_mode) || planted.st_nlink == 2)
          << "replaced by a file of its own";
      EXPECT_EQ("root only\n", read_file(secret));
      EXPECT_FALSE(file_exists(driver.temp_path(file)));
    }
  }
}

TEST(HostileTree, WhatIsLeftAtATemporaryPathGoesBeforeTheRunNeverFollowed) {
  const char* const kinds[] = { "link", "dangling link", "hard link",
                                "stale file", "directory", "full directory" };
  for (int file = 0; file < 4; ++file) {
    for (const char* kind : kinds) {
      SCOPED_TRACE(std::string(kind) + " at file " + std::to_string(file));
      Driver driver(kTape, "txr580");
      std::string temp = driver.temp_path(file);
      std::string outside = driver.top() + "/outside";
      write_file(outside, "not the driver's to touch\n");
      chmod(outside.c_str(), 0640);
      ASSERT_NO_FATAL_FAILURE(plant(kind, temp, outside));
      // A name that is not there rewrites nothing, and still clears up.
      RunResult run = driver.run({ "-P", "q", "-d", "Nothing" });
      EXPECT_EQ(driver.original, driver.contents());
      EXPECT_EQ("not the driver's to touch\n", read_file(outside));
      EXPECT_EQ(0640, file_mode(outside));
      EXPECT_FALSE(file_exists(outside + "-nowhere"));
      if (std::string(kind) == "full directory") {
        EXPECT_EQ(255, run.exit_status);
        EXPECT_EQ("Directory not empty\n", run.out);
        EXPECT_EQ("", driver.companion_log());
        EXPECT_TRUE(file_exists(temp + "/x"));
      } else {
        EXPECT_EQ(0, run.exit_status);
        EXPECT_EQ("Not found 'Nothing'\n", run.out);
        EXPECT_FALSE(file_exists(temp));
      }
    }
  }
}

TEST(HostileTree, DeleteTakesFromEachFileTheIdentifierItsNamingFileGives) {
  // The function file loses the lines of the identifier it names the
  // format by, the other three those of the media-information file's;
  // where only one of the two still names the format, its identifier
  // serves all four, so the same command finishes a delete cut short
  // between them.
  const std::string page_size_line = "*PageSize " +
      std::string(kShelfEdgeId) +
      "/Shelf edge: \"<</PageSize[10 100]/ImagingBBox null>>setpagedevice\"\n";
  Driver sample(kTape, "txr580");
  const Contents& before = sample.original;
  auto cut = [&](std::string text) {
    size_t at = text.find(page_size_line);
    EXPECT_NE(std::string::npos, at);
    return text.erase(at, page_size_line.size());
  };
  const Contents deleted = after_delete(before, kShelfEdgeId,
                                        "Media=vtS12mm\n");
  const std::string a = "VtL0A0A0641AAAA", b = "VtL0A0A0641BBBB";
  const std::string name = "/Shelf edge";
  struct Case {
    const char* what;
    Contents files;
    Contents left;
  } cases[] = {
    // Its entries below "[CustomTape]" must go too.
    { "function file without its page-size line",
      { cut(before[0]), before[1], before[2], before[3] }, deleted },
    { "media-information file without its page-size line",
      { before[0], cut(before[1]), before[2], before[3] }, deleted },
    { "each file naming it under another identifier",
      { "*PageSize " + a + name + ": x\n*PageSize " + b + name + ": x\n" +
            a + name + "\n" + b + name + "\n",
        "*PageSize " + b + name + ": x\n" + a + name + ":\t1\t2\n" + b +
            name + ":\t1\t2\n",
        "A=" + a + "\nB=" + b + "\n", a + ":\n" + b + ":\n" },
      { "*PageSize " + b + name + ": x\n" + b + name + "\n",
        a + name + ":\t1\t2\n", "A=" + a + "\nMedia=vtS12mm\n", a + ":\n" } },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    driver.lay(c.files);
    RunResult run = driver.run(kDeleteShelfEdge);
    EXPECT_EQ(0, run.exit_status);
    EXPECT_EQ("", run.out);
    driver.expect_files(c.left);
  }
}

TEST(HostileTree, NamesHoldingTheFilesOwnMarkersGetTheUsageScreen) {
  for (const char* name : { "x VtL_vtS12mm__0A0A0642F3C1", "VtL",
                            "[CustomTape]", "a[CustomTape]b" }) {
    for (const char* option : { "-n", "-d" }) {
      SCOPED_TRACE(std::string(option) + " " + name);
      Driver driver(kTape, "txr580");
      std::vector<std::string> args = { "-P", "q", option, name };
      if (std::string(option) == "-n")
        args.insert(args.end(), { "-w", "12", "-h", "30" });
      RunResult run = driver.run(args);
      EXPECT_EQ(2, run.exit_status);
      EXPECT_EQ(expected_usage_screen("txr580", "TX-R580"), run.out);
      EXPECT_EQ("", driver.companion_log());
      driver.expect_files();
    }
  }
}
