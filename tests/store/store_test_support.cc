#include "store_test_support.h"

#include <dirent.h>
#include <errno.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Not an errno any store call sets by itself, so a stale read shows.
const int kScribbledErrno = ENOTUNIQ;

int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
  return remove(path);
}

}  // namespace

ScratchDir::ScratchDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") +
      "/vtmedia-store-XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr)
    throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  nftw(path_.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

std::vector<std::string> ScratchDir::entries() const {
  std::vector<std::string> names;
  DIR* dir = opendir(path_.c_str());
  if (dir == nullptr)
    return names;
  while (struct dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..")
      names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void spit(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), content.size());
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

bool FaultyFileOps::should_fail(Kind kind) {
  ++calls[kind];
  if (kind == fail_kind && calls[kind] == fail_at) {
    fault_hit = true;
    return true;
  }
  return false;
}

template <typename T> T FaultyFileOps::succeeded(T result) {
  if (result >= 0)
    errno = kScribbledErrno;
  return result;
}

int FaultyFileOps::open(const char* path, int flags, mode_t mode) {
  if (should_fail(kOpen)) {
    errno = fail_errno;
    return -1;
  }
  int fd = real_file_ops()->open(path, flags, mode);
  if (fd >= 0)
    ++open_descriptors;
  return succeeded(fd);
}

ssize_t FaultyFileOps::read(int fd, void* buffer, size_t size) {
  if (should_fail(kRead)) {
    errno = fail_errno;
    return -1;
  }
  if (max_read != 0 && size > max_read)
    size = max_read;
  return succeeded(real_file_ops()->read(fd, buffer, size));
}

ssize_t FaultyFileOps::write(int fd, const void* buffer, size_t size) {
  if (should_fail(kWrite)) {
    if (fail_with_zero)
      return 0;
    errno = fail_errno;
    return -1;
  }
  if (max_write != 0 && size > max_write)
    size = max_write;
  return succeeded(real_file_ops()->write(fd, buffer, size));
}

int FaultyFileOps::fsync(int fd) {
  if (should_fail(kFsync)) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(real_file_ops()->fsync(fd));
}

int FaultyFileOps::fchmod(int fd, mode_t mode) {
  if (should_fail(kFchmod)) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(real_file_ops()->fchmod(fd, mode));
}

int FaultyFileOps::close(int fd) {
  bool fail = should_fail(kClose);
  int result = real_file_ops()->close(fd);
  if (result == 0)
    --open_descriptors;
  if (fail) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(result);
}

int FaultyFileOps::rename(const char* from, const char* to) {
  if (should_fail(kRename)) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(real_file_ops()->rename(from, to));
}

int FaultyFileOps::unlink(const char* path) {
  if (should_fail(kUnlink)) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(real_file_ops()->unlink(path));
}

int FaultyFileOps::flock(int fd, int operation) {
  if (should_fail(kFlock)) {
    errno = fail_errno;
    return -1;
  }
  return succeeded(real_file_ops()->flock(fd, operation));
}
