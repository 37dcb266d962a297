// SPDX-License-Identifier: GPL-2.0-or-later
// Anybody may write the data files, and a sparse file of any size costs
// nothing: a file over the limit is refused before anything runs.

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "harness.h"
#include "store/line_reader.h"

namespace {

const off_t kGiB = off_t(1) << 30;

}  // namespace

TEST(SizeLimit, FileOverTheLimitIsRefusedBeforeAnythingRuns) {
  const struct {
    const char* what;
    const std::vector<std::string>& args;
  } requests[] = {
    { "add of a new name", kAddNew },
    { "replacing add", kAddShelfEdge },
    { "delete", kDeleteShelfEdge },
    { "--list", kList },
  };
  for (const auto& request : requests) {
    for (int file = 0; file < 4; ++file) {
      SCOPED_TRACE(std::string(request.what) + ", file " +
                   std::to_string(file));
      Driver driver(kTape, "txr580");
      std::string path = driver.files.all()[file];
      resize_file(path, kGiB);
      RunResult run = driver.run(request.args);
      EXPECT_EQ(255, run.exit_status);
      // The listing's standard output stays empty on any failure.
      EXPECT_EQ(request.args == kList ? "" : "File too large\n", run.out);
      EXPECT_EQ("vtmediatoollpr_txr580: " +
                path.substr(driver.top().size() + 1) +
                ": File too large; a driver file may hold at most 64 MiB\n",
                run.err);
      EXPECT_EQ("", driver.companion_log()) << "the companion tool ran";
      Contents expected = driver.original;
      expected[file] = "";
      EXPECT_EQ(expected, driver.contents(file));
      struct stat info;
      EXPECT_EQ(0, stat(path.c_str(), &info));
      EXPECT_EQ(kGiB, info.st_size);
      EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
    }
  }
}

TEST(SizeLimit, FileOfTheLimitIsTaken) {
  Driver driver(kTape, "txr580");
  // An add of a new name checks the resource file but never reads it; the
  // listing reads it.
  resize_file(driver.files.resource, kMaxDataFileSize);
  EXPECT_EQ(0, driver.run(kAddNew).exit_status);
  RunResult list = driver.run({ "--list" });
  EXPECT_EQ(0, list.exit_status);
  EXPECT_NE(std::string::npos, list.out.find("New\t")) << list.out;
}

// An add can grow a file within the limit past it (the entry under every
// "[CustomTape]" line): the tool must not write a file it would then
// refuse to read. The tests' own bound on writes (64 MiB) would fail such
// a write anyway; this test lifts it, so that only the tool's bound does.
TEST(SizeLimit, RewriteThatWouldPassTheLimitFailsBeforeItsRename) {
  const rlim_t kRoom = rlim_t(256) << 20;
  Driver driver(kTape, "txr580");
  const size_t page_size_line =
      standin_page_size_line(kShelfEdgeId, "New", "10", "50").size();
  // Within the limit once the companion has entered its line.
  std::string filler(kMaxDataFileSize - driver.original[0].size() -
                     page_size_line - 8, 'x');
  filler.back() = '\n';
  driver.lay({ driver.original[0] + filler, driver.original[1],
               driver.original[2], driver.original[3] });
  RunResult run = driver.run(kAddNew, {}, [kRoom] {
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(kRoom, limit.rlim_max);
    setrlimit(RLIMIT_FSIZE, &limit);
  });
  EXPECT_EQ(255, run.exit_status);
  EXPECT_EQ("File too large\n", run.out);
  EXPECT_EQ("vtmediatoollpr_txr580: vantrel/txr580/bin/inf/vttxr580func: "
            "File too large; a driver file may hold at most 64 MiB\n",
            run.err);
  // The function file as the companion left it, and no temporary file.
  Contents now = driver.contents();
  EXPECT_EQ(driver.original[0].size() + page_size_line, now[0].size());
  EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
}
