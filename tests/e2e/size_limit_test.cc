// SPDX-License-Identifier: GPL-2.0-or-later
// Anybody may write the data files, and a sparse file of any size costs
// nothing: a file over the limit is refused before anything runs, and one
// that grows past it while it is read is read no further.

#include <errno.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "store/line_reader.h"

namespace {

const off_t kGiB = off_t(1) << 30;

// Makes the file at |path| |size| bytes long, a hole where it grows,
// past the file-size limit the tests run with.
void resize_file(const std::string& path, off_t size) {
  struct rlimit saved;
  check(getrlimit(RLIMIT_FSIZE, &saved) == 0, "getrlimit");
  struct rlimit raised = { saved.rlim_max, saved.rlim_max };
  check(setrlimit(RLIMIT_FSIZE, &raised) == 0, "setrlimit");
  int result = truncate(path.c_str(), size);
  setrlimit(RLIMIT_FSIZE, &saved);
  check(result == 0, "truncate " + path);
}

// A file that never ends, line after line, as one somebody keeps
// appending to would read.
class EndlessFile : public FaultyFileOps {
 public:
  ssize_t read(int, void* buffer, size_t size) override {
    if (size == 0)
      return 0;
    memset(buffer, 'x', size);
    static_cast<char*>(buffer)[size - 1] = '\n';
    read_total += size;
    return size;
  }
  long long read_total = 0;
};

}  // namespace

TEST(SizeLimit, FileOverTheLimitIsRefusedBeforeAnythingRuns) {
  const std::vector<std::string> kList = { "--list" };
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

TEST(SizeLimit, ReaderRefusesAFileOverTheLimitAndReadsNoFurtherOneThatGrows) {
  Driver driver(kTape, "txr580");
  resize_file(driver.files.print_area, kMaxDataFileSize + 1);
  StoreFailure too_large;
  EXPECT_EQ(kStoreFileFailed,
            LineReader(real_file_ops(), driver.files.print_area)
                .open(&too_large));
  EXPECT_EQ(EFBIG, too_large.error);
  EXPECT_EQ(kMaxDataFileSize, too_large.size_limit);

  EndlessFile files;
  LineReader reader(&files, driver.files.function_file);
  StoreFailure failure;
  ASSERT_EQ(kStoreDone, reader.open(&failure));
  StoreStatus status;
  std::string_view block;
  while ((status = reader.next_block(&block, &failure)) == kStoreDone) {
    ASSERT_FALSE(block.empty());
    ASSERT_GE(2 * kMaxDataFileSize, files.read_total) << "read on";
  }
  EXPECT_EQ(kStoreFileFailed, status);
  EXPECT_EQ(EFBIG, failure.error);
  EXPECT_EQ(kMaxDataFileSize, failure.size_limit);
  EXPECT_EQ(driver.files.function_file, failure.path);
  EXPECT_EQ(kMaxDataFileSize + 1, files.read_total);
}
