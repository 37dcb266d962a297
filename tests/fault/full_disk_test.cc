// SPDX-License-Identifier: GPL-2.0-or-later
// A disk that fills up during a rewrite. The driver tree sits on a small
// tmpfs of its own, filled until the new content of a data file cannot
// fit: the run must fail with the system's text for ENOSPC and leave the
// data file as it was. Mounting needs root; elsewhere the test is skipped.
// And the limit on the size of the files a test program writes, which
// keeps a runaway write from filling the disk.

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const char kMountOptions[] = "size=16m,mode=0755";
// Room left on the full disk: enough for the companion tool's one-line
// additions, far too little for a rewritten data file.
const off_t kRoomLeft = 64 * 1024;
const size_t kDataFileSize = 1 << 20;

// A tmpfs mounted on |dir| for the life of the object.
class SmallDisk {
 public:
  explicit SmallDisk(const std::string& dir) : dir_(dir) {
    error_ = mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                   kMountOptions) == 0 ? 0 : errno;
  }
  ~SmallDisk() {
    if (error_ == 0)
      umount2(dir_.c_str(), MNT_DETACH);
  }
  // errno of the mount, 0 once mounted.
  int error() const { return error_; }

  // Fills the disk, then gives back |room| bytes of it.
  void fill_leaving(off_t room) {
    std::string path = dir_ + "/filler";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_LE(0, fd);
    std::string block(64 * 1024, 'x');
    off_t size = 0;
    for (;;) {
      ssize_t wrote = write(fd, block.data(), block.size());
      if (wrote <= 0)
        break;
      size += wrote;
    }
    ASSERT_EQ(ENOSPC, errno);
    ASSERT_EQ(0, ftruncate(fd, size > room ? size - room : 0));
    close(fd);
  }

 private:
  std::string dir_;
  int error_;
};

const struct {
  const char* label;
  std::vector<std::string> args;
  // Of add_stages, where the files end up: the companion tool of an add
  // enters its line before the rewrite fails, which changes nothing.
  int stage;
} kCases[] = {
  { "delete", { "-P", "TX-R580", "-d", "Shelf edge" }, 0 },
  { "add", { "-P", "TX-R580", "-n", "No room", "-w", "12", "-h", "50" }, 1 },
};

TEST(FullDisk, RewriteThatRunsOutOfSpaceKeepsTheFileAndFails) {
  if (geteuid() != 0)
    GTEST_SKIP() << "skipped: mounting a small tmpfs needs root";
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.label);
    Driver driver("vtmediatoollpr_txr580", "txr580");
    Contents before = driver.original;
    // The data directory goes on the small disk; the files are laid again
    // there, the function file larger than the room that will be left.
    SmallDisk disk(driver.inf_dir());
    if (disk.error() != 0)
      GTEST_SKIP() << "skipped: cannot mount a tmpfs here: "
                   << strerror(disk.error());
    while (before[0].size() < kDataFileSize)
      before[0] += "*% option table line of the driver\n";
    driver.lay(before);
    disk.fill_leaving(kRoomLeft);

    RunResult run = driver.run(c.args);

    EXPECT_EQ(255, run.exit_status);
    EXPECT_EQ("No space left on device\n", run.out);
    EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
    EXPECT_EQ(c.stage, stage_of(add_stages(driver.original,
        driver.argv(c.args), logged_format_id(driver.log_path())),
        driver.contents()));
  }
}

// One byte just past the limit, after a hole, so that a run without the
// limit costs no disk.
TEST(FileSizeLimit, WritePastTheLimitFailsInsteadOfFillingTheDisk) {
  struct rlimit limit;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
  ASSERT_NE(RLIM_INFINITY, limit.rlim_cur) << "no file-size limit";
  TempDir dir;
  std::string path = dir.file("runaway");
  pid_t pid = fork();
  ASSERT_LE(0, pid);
  if (pid == 0) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || lseek(fd, limit.rlim_cur, SEEK_SET) < 0)
      _exit(100);
    _exit(write(fd, "x", 1) < 0 && errno == EFBIG ? 1 : 0);
  }
  int status = wait_for(pid);
  EXPECT_TRUE(status == 128 + SIGXFSZ || status == 1) << status;
}

}  // namespace
