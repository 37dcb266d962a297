// SPDX-License-Identifier: GPL-2.0-or-later
// The ".$$$" entries beside the data files: whatever a crash left there,
// or someone planted, is replaced and never followed, and the files the
// tool writes get mode 0666 whatever the umask.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "fault_support.h"
#include "harness.h"

namespace {

enum Plant {
  kLinkToFile,      // a symbolic link to a file outside the driver tree
  kDanglingLink,    // a symbolic link to where no file is yet
  kHardLinkToFile,  // another name of a file outside the tree
  kLeftOverFile,    // a half-written file of an interrupted run
};

struct PlantCase {
  const char* label;
  Plant plant;
};

const PlantCase kPlants[] = {
  { "symbolic link to a file", kLinkToFile },
  { "dangling symbolic link", kDanglingLink },
  { "hard link to a file", kHardLinkToFile },
  { "left-over file", kLeftOverFile },
};

struct RunCase {
  const char* label;
  std::vector<std::string> args;
  std::vector<int> rewritten;  // indexes into DriverFiles::all()
};

const RunCase kRuns[] = {
  { "add", { "-P", "TX-R580", "-n", "Planted", "-w", "12", "-h", "50" },
    { 0, 1, 3 } },
  { "delete", { "-P", "TX-R580", "-d", "Shelf edge" }, { 0, 1, 2, 3 } },
};

const char kDeletedId[] = "VtL_vtS12mm__0A0A0642F3C1";
const char kPrecious[] = "not the driver's to touch\n";

bool is_regular_file(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TEST(TemporaryFiles, PlantedEntriesAreReplacedNeverFollowed) {
  for (const RunCase& run : kRuns) {
    for (const PlantCase& plant : kPlants) {
      SCOPED_TRACE(std::string(run.label) + ", " + plant.label);
      Driver driver("vtmediatoollpr_txr580", "txr580");
      const DriverFiles& files = driver.files;
      std::string outside = driver.top() + "/outside";
      std::string nowhere = driver.top() + "/nowhere";
      write_file(outside, kPrecious);
      chmod(outside.c_str(), 0640);
      std::vector<std::string> paths = files.all();
      for (int i : run.rewritten) {
        std::string temp = driver.temp_path(i);
        switch (plant.plant) {
        case kLinkToFile:
          ASSERT_EQ(0, symlink(outside.c_str(), temp.c_str()));
          break;
        case kDanglingLink:
          ASSERT_EQ(0, symlink(nowhere.c_str(), temp.c_str()));
          break;
        case kHardLinkToFile:
          ASSERT_EQ(0, link(outside.c_str(), temp.c_str()));
          break;
        case kLeftOverFile:
          write_file(temp, "half a line of an interrupted r");
          break;
        }
      }

      RunResult result = driver.run(run.args);

      EXPECT_EQ(0, result.exit_status);
      EXPECT_EQ("", result.out);
      EXPECT_EQ(kPrecious, read_file(outside));
      EXPECT_EQ(0640, file_mode(outside));
      EXPECT_FALSE(file_exists(nowhere));
      EXPECT_EQ(std::vector<std::string>(), temp_files_left(files));
      for (int i : run.rewritten) {
        EXPECT_TRUE(is_regular_file(paths[i])) << paths[i];
        EXPECT_EQ(0666, file_mode(paths[i])) << paths[i];
      }
      if (run.args[2] == "-n") {
        expect_entered_once(driver.contents(), "Planted");
      } else {
        for (const std::string& content : driver.contents())
          EXPECT_EQ(std::string::npos, content.find(kDeletedId));
      }
    }
  }
}

TEST(TemporaryFiles, RewrittenFilesGetMode0666WhateverTheUmask) {
  for (const RunCase& run : kRuns) {
    SCOPED_TRACE(run.label);
    Driver driver("vtmediatoollpr_txr580", "txr580");
    std::vector<std::string> paths = driver.files.all();
    for (const std::string& path : paths)
      chmod(path.c_str(), 0600);

    RunResult result;
    {
      // The tool under test inherits the umask.
      ScopedUmask mask(077);
      result = driver.run(run.args);
    }

    EXPECT_EQ(0, result.exit_status);
    for (size_t i = 0; i < paths.size(); ++i) {
      bool rewritten = std::find(run.rewritten.begin(), run.rewritten.end(),
                                 static_cast<int>(i)) != run.rewritten.end();
      EXPECT_EQ(rewritten ? 0666 : 0600, file_mode(paths[i])) << paths[i];
    }
  }
}

}  // namespace
