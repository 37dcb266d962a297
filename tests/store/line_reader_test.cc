// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_reader.h"

#include <errno.h>
#include <fcntl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "faulty_file_ops.h"
#include "nul_byte.h"
#include "test_files.h"

namespace {

// |content| as the reader hands it out block by block, reading at most
// |max_read| bytes per call (0: as much as asked); every block must end a
// line.
std::string read_blocks(const std::string& content, size_t max_read) {
  TempDir dir;
  write_file(dir.file("data"), content);
  FaultyFileOps files;
  files.max_read = max_read;
  int fd = files.open(dir.file("data").c_str(), O_RDONLY, 0);
  LineReader reader(&files, fd, "file");
  std::string joined;
  std::string_view block;
  StoreFailure failure;
  while (reader.next_block(&block, &failure)) {
    EXPECT_FALSE(block.empty());
    joined.append(block.data(), block.size());
    if (joined.size() < content.size()) {
      EXPECT_EQ('\n', block.back()) << "a block split a line";
    }
  }
  EXPECT_EQ(0, failure.error);
  files.close(fd);
  return joined;
}

}  // namespace

TEST(LineReader, HandsOutEveryLineWholeWhateverItHolds) {
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

// A read that fails is the file's failure, never its end; an interrupted
// one is made again.
TEST(LineReader, FailedReadEndsWithItsErrnoAndInterruptedOneIsRetried) {
  struct Case {
    int fail_errno;
    size_t max_read;
    std::vector<std::string> blocks;
  } cases[] = {
    { EIO, 4, { "one\n" } },
    { EINTR, 0, { "one\ntwo\n", "three" } },
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_file(dir.file("data"), "one\ntwo\nthree");
    FaultyFileOps files;
    files.max_read = c.max_read;
    files.fail_kind = FaultyFileOps::kRead;
    files.fail_at = c.fail_errno == EIO ? 2 : 1;
    files.fail_errno = c.fail_errno;
    int fd = files.open(dir.file("data").c_str(), O_RDONLY, 0);
    LineReader reader(&files, fd, "file");
    std::string_view block;
    StoreFailure failure;
    for (const std::string& expected : c.blocks) {
      ASSERT_TRUE(reader.next_block(&block, &failure)) << expected;
      EXPECT_EQ(expected, block);
    }
    EXPECT_FALSE(reader.next_block(&block, &failure));
    EXPECT_EQ(c.fail_errno == EIO ? EIO : 0, failure.error);
    files.close(fd);
  }
}
