// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_TEST_FILES_H_
#define VTMEDIA_TESTS_SUPPORT_TEST_FILES_H_

#include <sys/stat.h>

#include <string>
#include <vector>

#include "store/file_ops.h"

// Files and directories for tests to work in.

// Throws, naming |what| and errno, unless |ok|: for the steps that set a
// test up, which must not fail.
void check(bool ok, const std::string& what);

// A fresh directory, removed with everything in it when this goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets the umask for the life of the object; programs started meanwhile
// inherit it.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : saved_(umask(mask)) {}
  ~ScopedUmask() { umask(saved_); }

 private:
  mode_t saved_;
};

// An ACL in the kernel's form, for system.posix_acl_access: version 2,
// then tag, permissions and id for the owner, user nobody (no access),
// the group, the mask and others (read only, less than a rewritten file's
// 0666 gives). Mode bits cannot say its entry for nobody, so a file keeps
// it as an ACL.
inline const unsigned char kAclDenyingNobody[] = {
  2, 0, 0, 0,
  0x01, 0, 6, 0, 0xff, 0xff, 0xff, 0xff,
  0x02, 0, 0, 0, 0xfe, 0xff, 0, 0,
  0x04, 0, 6, 0, 0xff, 0xff, 0xff, 0xff,
  0x10, 0, 6, 0, 0xff, 0xff, 0xff, 0xff,
  0x20, 0, 4, 0, 0xff, 0xff, 0xff, 0xff,
};

// The whole file, "" when it cannot be read.
std::string read_file(const std::string& path);
// The file at |path| as the store's calls reach it, relative to the
// working directory.
FileAt at_path(const std::string& path);
void write_file(const std::string& path, const std::string& content);
bool file_exists(const std::string& path);
int file_mode(const std::string& path);  // permission bits, -1 if missing
void make_dirs(const std::string& path);
// Makes the file at |path| |size| bytes long, a hole where it grows,
// past the file-size limit the tests run with.
void resize_file(const std::string& path, off_t size);
// The names in the directory, without "." and "..", sorted; none when it
// cannot be listed.
std::vector<std::string> dir_entries(const std::string& path);

#endif  // VTMEDIA_TESTS_SUPPORT_TEST_FILES_H_
