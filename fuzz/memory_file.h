// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_FUZZ_MEMORY_FILE_H_
#define VTMEDIA_FUZZ_MEMORY_FILE_H_

#include <errno.h>
#include <stdint.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

#include "store/file_ops.h"

// A file held in memory that the store reads through its FileOps seam.
// Reads return a few bytes at a time, now and then interrupted, as a slow
// or signalled read would, in a pattern chosen by |pattern|: bit 0x80
// interrupts every fifth read, bit 0x40 fills every read in full, and the
// other bits vary the lengths. Calls that would change a file fail.
class MemoryFile : public FileOps {
 public:
  MemoryFile(std::string_view content, uint8_t pattern)
      : content_(content), pattern_(pattern) {}

  int open(int, const char*, int, mode_t) override {
    at_ = 0;
    return 3;
  }
  ssize_t read(int, void* buffer, size_t size) override {
    ++calls_;
    if ((pattern_ & 0x80) && calls_ % 5 == 0) {
      errno = EINTR;
      return -1;
    }
    size_t limit = (pattern_ & 0x40) ? size : 1 + (calls_ * pattern_) % 97;
    size_t count = std::min(std::min(size, limit), content_.size() - at_);
    memcpy(buffer, content_.data() + at_, count);
    at_ += count;
    return static_cast<ssize_t>(count);
  }
  int fstat(int, struct stat* info) override {
    memset(info, 0, sizeof(*info));
    info->st_mode = S_IFREG | 0666;
    info->st_nlink = 1;
    info->st_size = static_cast<off_t>(content_.size());
    return 0;
  }
  int close(int) override { return 0; }

  ssize_t write(int, const void*, size_t) override { return fail(); }
  int statx(int, const char*, int, struct statx*) override { return fail(); }
  int fsync(int) override { return fail(); }
  int fchmod(int, mode_t) override { return fail(); }
  int fchown(int, uid_t, gid_t) override { return fail(); }
  int rename(int, const char*, const char*) override { return fail(); }
  int unlink(int, const char*) override { return fail(); }
  int rmdir(int, const char*) override { return fail(); }
  int flock(int, int) override { return fail(); }
  int access(int, const char*, int) override { return fail(); }
  int copy_attributes(int, int, bool) override { return fail(); }

 private:
  int fail() {
    errno = ENOSYS;
    return -1;
  }

  std::string_view content_;
  uint8_t pattern_;
  size_t at_ = 0;
  unsigned calls_ = 0;
};

#endif  // VTMEDIA_FUZZ_MEMORY_FILE_H_
