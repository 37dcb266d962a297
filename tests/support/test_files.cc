// SPDX-License-Identifier: GPL-2.0-or-later
#include "test_files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace {

int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
  return remove(path);
}

}  // namespace

void check(bool ok, const std::string& what) {
  if (!ok)
    throw std::runtime_error(what + ": " + strerror(errno));
}

TempDir::TempDir() {
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") +
      "/vtmedia-test-XXXXXX";
  check(mkdtemp(&pattern[0]) != nullptr, "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  nftw(path_.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string content;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0)
    content.append(buffer, in.gcount());
  return content;
}

void write_file(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), content.size());
  check(static_cast<bool>(out), "write " + path);
}

bool file_exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

int file_mode(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return -1;
  return info.st_mode & 07777;
}

void make_dirs(const std::string& path) {
  for (size_t at = 1; at != std::string::npos; ) {
    at = path.find('/', at + 1);
    std::string part = path.substr(0, at);
    check(mkdir(part.c_str(), 0755) == 0 || errno == EEXIST,
          "mkdir " + part);
  }
}

std::vector<std::string> dir_entries(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
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

void resize_file(const std::string& path, off_t size) {
  struct rlimit saved;
  check(getrlimit(RLIMIT_FSIZE, &saved) == 0, "getrlimit");
  struct rlimit raised = { saved.rlim_max, saved.rlim_max };
  check(setrlimit(RLIMIT_FSIZE, &raised) == 0, "setrlimit");
  int result = truncate(path.c_str(), size);
  setrlimit(RLIMIT_FSIZE, &saved);
  check(result == 0, "truncate " + path);
}

FileAt at_path(const std::string& path) {
  return FileAt{ AT_FDCWD, path, path };
}
