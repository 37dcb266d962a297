// SPDX-License-Identifier: GPL-2.0-or-later
// Anybody may write the data files, and a sparse file of any size costs
// nothing: a file over the limit is refused before anything runs.

#include <sys/stat.h>

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
