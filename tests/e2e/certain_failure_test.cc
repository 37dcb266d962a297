// SPDX-License-Identifier: GPL-2.0-or-later
// What an administrator's system may do to a run: files it may not
// replace, a file-size limit, owners, attributes and ACLs on the files,
// standard output that takes nothing. A run certain to fail is refused
// before the companion runs; the others do their whole job.

#include <errno.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const int kResource = 2, kPrintArea = 3;  // in DriverFiles::all

// Sets or clears |flag| (FS_IMMUTABLE_FL, FS_APPEND_FL) on |path|; false
// where the file system has no such attribute.
bool set_inode_flag(const std::string& path, int flag, bool on) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  int flags = 0;
  bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | flag : flags & ~flag;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0)
    close(fd);
  return done;
}

void limit(int resource, rlim_t value) {
  struct rlimit bound = { value, value };
  if (setrlimit(resource, &bound) != 0)
    _exit(125);
}

}  // namespace

TEST(CertainFailure, RunThatCannotFinishIsRefusedBeforeTheCompanionRuns) {
  if (geteuid() != 0)
    GTEST_SKIP() << "needs root for file attributes and mounts";
  enum Setup { kImmutable, kAppendOnly, kMountedOver };
  struct Case {
    const char* what;
    Setup setup;
    int file;  // in DriverFiles::all
    std::vector<std::string> args;
    const char* out;
  } cases[] = {
    { "immutable imageable-area file, add", kImmutable, kPrintArea, kAddNew,
      "Operation not permitted\n" },
    { "append-only imageable-area file, add", kAppendOnly, kPrintArea, kAddNew,
      "Operation not permitted\n" },
    // An add of a new name never rewrites the resource file; a
    // replacing add does.
    { "immutable resource file, add of a new name", kImmutable, kResource,
      kAddNew, "" },
    { "immutable resource file, replacing add", kImmutable, kResource,
      kAddShelfEdge, "Operation not permitted\n" },
    { "immutable resource file, delete", kImmutable, kResource,
      kDeleteShelfEdge, "Operation not permitted\n" },
    { "mount over the imageable-area file", kMountedOver, kPrintArea, kAddNew,
      "Device or resource busy\n" },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    std::string path = driver.files.all()[c.file];
    std::string other = driver.top() + "/other";
    if (c.setup == kMountedOver) {
      write_file(other, read_file(path));
      ASSERT_EQ(0, mount(other.c_str(), path.c_str(), nullptr, MS_BIND,
                         nullptr)) << "bind mount: " << strerror(errno);
    } else {
      ASSERT_TRUE(set_inode_flag(path, c.setup == kImmutable ?
                                 FS_IMMUTABLE_FL : FS_APPEND_FL, true))
          << "inode flag: " << strerror(errno);
    }
    RunResult run = driver.run(c.args);
    if (c.setup == kMountedOver)
      umount(path.c_str());
    else
      set_inode_flag(path, FS_IMMUTABLE_FL | FS_APPEND_FL, false);

    EXPECT_EQ(*c.out ? 255 : 0, run.exit_status);
    EXPECT_EQ(c.out, run.out);
    if (*c.out == '\0')
      continue;
    EXPECT_EQ("vtmediatoollpr_txr580: " +
              path.substr(driver.top().size() + 1) + ": " + c.out, run.err);
    EXPECT_EQ("", driver.companion_log()) << "the companion tool ran";
    driver.expect_files();
  }
}

TEST(CertainFailure, WritePastTheFileSizeLimitFailsCleanlyAndTheSameCommandFinishes) {
  Driver driver(kTape, "txr580");
  // Room for every file as the companion leaves it, not for the function
  // file's new entry.
  rlim_t room = driver.original[0].size() +
      standin_page_size_line(kShelfEdgeId, "New", "10", "50").size() + 8;
  RunResult limited = driver.run(kAddNew, {}, [room] {
    limit(RLIMIT_FSIZE, room);
  });
  EXPECT_EQ(255, limited.exit_status);
  EXPECT_EQ("File too large\n", limited.out);
  EXPECT_EQ("vtmediatoollpr_txr580: vantrel/txr580/bin/inf/vttxr580func: "
            "File too large\n", limited.err);
  // As the companion left them.
  driver.expect_files(request_stages(driver.original, driver.argv(kAddNew),
      logged_format_id(driver.log_path()), "", "")[1]);
  EXPECT_EQ(4u, dir_entries(driver.inf_dir()).size()) << "a temporary file";
  EXPECT_EQ(0, driver.run(kAddNew).exit_status);
  EXPECT_NE(driver.original[0], driver.contents()[0]);
}

TEST(CertainFailure, RewrittenFilesKeepTheirOwnerAclAndExtendedAttributes) {
  const char kOrigin[] = "set by the site";
  const uid_t kLp = 7;
  Driver driver(kTape, "txr580");
  // Only root can give files to another user.
  bool owner = geteuid() == 0, xattr = true, acl = true;
  for (const std::string& path : driver.files.all()) {
    if (owner) {
      ASSERT_EQ(0, chown(path.c_str(), kLp, kLp));
    }
    xattr = xattr && setxattr(path.c_str(), "user.origin", kOrigin,
                              sizeof(kOrigin), 0) == 0;
    acl = acl && setxattr(path.c_str(), "system.posix_acl_access",
                          kAclDenyingNobody, sizeof(kAclDenyingNobody),
                          0) == 0;
  }
  if (!owner && !xattr)
    GTEST_SKIP() << "needs root or extended attributes";
  // A replacing add rewrites every file, three of them twice.
  ASSERT_EQ(0, driver.run(kAddShelfEdge).exit_status);
  EXPECT_NE(driver.original, driver.contents());
  for (const std::string& path : driver.files.all()) {
    SCOPED_TRACE(path);
    struct stat info;
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(0666u, info.st_mode & 07777);
    if (owner) {
      EXPECT_EQ(kLp, info.st_uid);
      EXPECT_EQ(kLp, info.st_gid);
    }
    char value[256];
    ssize_t size = getxattr(path.c_str(), "user.origin", value, sizeof(value));
    if (xattr) {
      EXPECT_EQ(std::string(kOrigin, sizeof(kOrigin)),
                std::string(value, size > 0 ? size : 0));
    }
    size = getxattr(path.c_str(), "system.posix_acl_access", value,
                    sizeof(value));
    if (acl) {
      ASSERT_EQ(static_cast<ssize_t>(sizeof(kAclDenyingNobody)), size);
      // The entry for nobody is kept; the mode's 0666 shows in the others.
      EXPECT_EQ(0, memcmp(kAclDenyingNobody + 12, value + 12, 8));
    }
  }
}

// A new inode for the same bytes would lose whatever another process
// (the driver's settings writer, holding the resource file open) wrote
// to the old one meanwhile; the file still ends with mode 0666.
TEST(CertainFailure, RewriteThatChangesNothingLeavesTheFileInPlace) {
  const struct {
    const char* what;
    int file;  // the file whose edit selects no line
    bool nobody;  // run by a user who may replace but not chmod it
  } cases[] = {
    { "resource file not selecting the format", 2, false },
    { "function file of a delete cut short", 0, false },
    { "another's file, its mode not settable in place", 2, true },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.nobody && geteuid() != 0)
      GTEST_SKIP() << "needs root to run as nobody";
    Driver driver(kTape, "txr580");
    Contents laid = driver.original;
    laid[c.file] = without_lines_holding(laid, kShelfEdgeId)[c.file];
    driver.lay(laid);
    const std::string path = driver.files.all()[c.file];
    ASSERT_EQ(0, chmod(path.c_str(), 0644));
    std::vector<std::string> env;
    if (c.nobody) {
      driver.use_copy_of_tool();
      ASSERT_EQ(0, chmod(driver.inf_dir().c_str(), 0777));
      write_file(driver.log_path(), "");
      chmod(driver.log_path().c_str(), 0666);
    }
    struct stat before, after;
    ASSERT_EQ(0, stat(path.c_str(), &before));
    RunResult run = driver.run(kDeleteShelfEdge, env,
                               c.nobody ? as_nobody() : ChildSetup());
    EXPECT_EQ(0, run.exit_status) << run.err;
    ASSERT_EQ(0, stat(path.c_str(), &after));
    EXPECT_EQ(c.nobody, before.st_ino != after.st_ino);
    EXPECT_EQ(0666u, after.st_mode & 07777);
    EXPECT_EQ(laid[c.file], read_file(path));
  }
}

TEST(CertainFailure, LostStandardOutputFailsTheRun) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
  } cases[] = {
    { "not found", { "-P", "q", "-d", "Nothing" } },
    { "usage screen", {} },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    RunResult run = driver.run(c.args, {}, [] {
      int full = open("/dev/full", O_WRONLY);
      if (full < 0 || dup2(full, 1) != 1)
        _exit(125);
    });
    EXPECT_EQ(255, run.exit_status);
    EXPECT_EQ("vtmediatoollpr_txr580: write error: No space left on device\n",
              run.err);
    driver.expect_files();
  }
}
