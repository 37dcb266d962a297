// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_reader.h"

#include <errno.h>
#include <string.h>

#include <gtest/gtest.h>

#include <string>

#include "harness.h"
#include "nul_byte.h"

namespace {

// |content| as the reader hands it out block by block, reading at most
// |max_read| bytes per call (0: as much as asked), the first read
// interrupted, which must be made again; every block must end a line.
std::string read_blocks(const std::string& content, size_t max_read) {
  TempDir dir;
  write_file(dir.file("data"), content);
  FaultyFileOps files(FaultyFileOps::kRead, 1, EINTR);
  files.max_read = max_read;
  LineReader reader(&files, at_path(dir.file("data")));
  StoreFailure failure;
  EXPECT_EQ(kStoreDone, reader.open(&failure));
  std::string joined;
  std::string_view block;
  while (reader.next_block(&block, &failure) == kStoreDone && !block.empty()) {
    joined.append(block.data(), block.size());
    if (joined.size() < content.size()) {
      EXPECT_EQ('\n', block.back()) << "a block split a line";
    }
  }
  EXPECT_EQ(0, failure.error);
  EXPECT_TRUE(files.fault_hit);
  return joined;
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

TEST(LineReader, HandsOutEveryLineWholeWhateverItHoldsHoweverReadsFall) {
  std::string long_line = std::string(300000, 'L') + "\n";
  struct Case {
    const char* what;
    std::string content;
  } cases[] = {
    { "empty file", "" },
    { "one newline", "\n" },
    { "no trailing newline", "a\nb" },
    { "only a partial line", "abc" },
    { "blank lines", "\n\na\n\n" },
    { "NUL bytes", "a" + kNul + "b\n" + kNul + "\n" + kNul },
    { "lines longer than the buffer", "x\n" + long_line + long_line + "y" },
    { "a long last line without newline", "x\n" + std::string(400000, 'z') },
  };
  for (const Case& c : cases) {
    for (size_t max_read : { size_t(0), size_t(1), size_t(7), size_t(4096) }) {
      if (max_read != 0 && max_read < 4096 && c.content.size() > 10000)
        continue;  // byte-at-a-time over megabytes proves nothing more
      EXPECT_EQ(c.content, read_blocks(c.content, max_read))
          << c.what << ", reads of " << max_read;
    }
  }
}

// Whatever anybody put at a data path instead of a regular file with one
// name: a link is not followed, a FIFO not waited on.
TEST(LineReader, OpensOnlyARegularFileWithOneName) {
  struct Case {
    const char* what;
    int error;
  } cases[] = {
    { "missing", ENOENT },
    { "link", ELOOP },
    { "fifo", EINVAL },
    { "directory", EISDIR },
    { "hard link", EMLINK },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::string path = dir.file("data");
    write_file(dir.file("target"), "secret\n");
    ASSERT_NO_FATAL_FAILURE(plant(c.what, path, dir.file("target")));
    FaultyFileOps files;
    StoreFailure failure;
    {
      LineReader reader(&files, at_path(path));
      EXPECT_EQ(kStoreFileFailed, reader.open(&failure));
    }
    EXPECT_EQ(c.error, failure.error);
    EXPECT_EQ(path, failure.path);
    EXPECT_EQ(0, files.open_descriptors);
  }
}

// Anybody may write the data files, and a sparse file of any size costs
// nothing.
TEST(LineReader, RefusesAFileOverTheLimitAndReadsNoFurtherOneThatGrows) {
  TempDir dir;
  const std::string large = dir.file("large"), growing = dir.file("growing");
  write_file(large, "");
  resize_file(large, kMaxDataFileSize + 1);
  StoreFailure too_large;
  EXPECT_EQ(kStoreFileFailed,
            LineReader(real_file_ops(), at_path(large)).open(&too_large));
  EXPECT_EQ(EFBIG, too_large.error);
  EXPECT_EQ(kMaxDataFileSize, too_large.size_limit);

  write_file(growing, "");
  EndlessFile files;
  LineReader reader(&files, at_path(growing));
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
  EXPECT_EQ(growing, failure.path);
  EXPECT_EQ(kMaxDataFileSize + 1, files.read_total);
}
