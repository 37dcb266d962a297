// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/rewrite.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "faulty_file_ops.h"
#include "nul_byte.h"
#include "store/status.h"
#include "test_files.h"

namespace {

const std::string kEntry = "VtL_vtS12mm__070A03271A2B/Shop 12\n";

const std::string kOriginal =
    "[General]\nA=1\n[CustomTape]\nold entry\n" + std::string(400, 'x') +
    "\nz" + kNul + "[CustomTape]\n[CustomTape]";
const std::string kRewritten =
    "[General]\nA=1\n[CustomTape]\n" + kEntry + "old entry\n" +
    std::string(400, 'x') + "\nz" + kNul + "[CustomTape]\n[CustomTape]\n" +
    kEntry;

LineEdit insert_entry() {
  return { LineEdit::kInsertAfter, "[CustomTape]", kEntry };
}

}  // namespace

TEST(RewriteFile, AppendedTextAlwaysStartsALineOfItsOwn) {
  struct Case {
    std::string before;
    std::string after;
  } cases[] = {
    { "", "T\n" },
    { "a\n", "a\nT\n" },
    { "a", "a\nT\n" },
    { "a" + kNul, "a" + kNul + "\nT\n" },
    { kNul, kNul + "\nT\n" },
    // A last byte above 0x7F is a byte like any other.
    { "a\xff", "a\xff\nT\n" },
  };
  TempDir dir;
  std::string path = dir.file("data");
  for (const Case& c : cases) {
    write_file(path, c.before);
    LineEdit edit = { LineEdit::kAppend, "", "T\n" };
    StoreFailure failure;
    EXPECT_EQ(kStoreDone, rewrite_file(real_file_ops(), at_path(path), edit, &failure));
    EXPECT_EQ(c.after, read_file(path)) << c.before;
  }
}

TEST(RewriteFile, CopiesLongLinesAndNulBytesByteForByte) {
  TempDir dir;
  std::string path = dir.file("data");
  std::string content = std::string(300000, 'a') + kNul + "b\n" +
      std::string(200000, 'c') + "[CustomTape]" + kNul + "\n" + kNul +
      "[CustomTape]\n" + std::string(150000, 'd');
  write_file(path, content);
  StoreFailure failure;
  ASSERT_EQ(kStoreDone,
            rewrite_file(real_file_ops(), at_path(path), insert_entry(), &failure));
  EXPECT_EQ(std::string(300000, 'a') + kNul + "b\n" +
            std::string(200000, 'c') + "[CustomTape]" + kNul + "\n" +
            kEntry + kNul + "[CustomTape]\n" + std::string(150000, 'd'),
            read_file(path));
}

TEST(RewriteFile, EditThatSelectsByNothingFailsAndWritesNothing) {
  for (LineEdit::Kind kind : { LineEdit::kInsertAfter, LineEdit::kDrop,
                               LineEdit::kReplace }) {
    TempDir dir;
    std::string path = dir.file("func");
    write_file(path, kOriginal);
    LineEdit edit = insert_entry();
    edit.kind = kind;
    edit.needle.clear();
    StoreFailure failure;
    EXPECT_EQ(kStoreFileFailed, rewrite_file(real_file_ops(), at_path(path), edit,
                                             &failure)) << kind;
    EXPECT_EQ(EINVAL, failure.error);
    EXPECT_EQ(kOriginal, read_file(path));
    EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
  }
}

TEST(RewriteFile, AnythingAtTheTemporaryPathFailsTheRewriteUntouched) {
  // Runs clear the temporary paths under their lock first; whatever is
  // there after that is another's, and a link there is never followed.
  TempDir dir;
  std::string path = dir.file("func");
  write_file(path, kOriginal);
  write_file(dir.file("victim"), "keep me\n");
  ASSERT_EQ(0, symlink(dir.file("victim").c_str(),
                       dir.file("func.$$$").c_str()));
  StoreFailure failure;
  EXPECT_EQ(kStoreFileFailed,
            rewrite_file(real_file_ops(), at_path(path), insert_entry(), &failure));
  EXPECT_EQ(EEXIST, failure.error);
  EXPECT_EQ(kOriginal, read_file(path));
  EXPECT_EQ("keep me\n", read_file(dir.file("victim")));
  EXPECT_EQ((std::vector<std::string>{ "func", "func.$$$", "victim" }),
            dir_entries(dir.path()));
}

TEST(RewriteFile, FailedCallLeavesTheDataFileUntouchedWithTheCallsErrno) {
  // Every call of every rewrite of a request is failed in turn by the
  // fault tests; these are the failures whose errno the rewrite makes up
  // or judges. A real error copying an ACL is never taken for a file
  // system without ACLs; other attributes come where they can.
  struct Case {
    FaultyFileOps::Kind kind;
    int fail_at;
    int fail_errno;  // 0: the write takes nothing
    int error;       // reported; 0: the rewrite succeeds
  } cases[] = {
    { FaultyFileOps::kWrite, 2, 0, ENOSPC },
    { FaultyFileOps::kCopyAttributes, 1, EIO, EIO },
    { FaultyFileOps::kCopyAttributes, 1, EPERM, EPERM },
    { FaultyFileOps::kCopyAttributes, 1, ENOTSUP, 0 },
    { FaultyFileOps::kCopyAttributes, 2, EIO, 0 },
  };
  // The rewrite inherits the umask; only an explicit mode change gives
  // 0666.
  ScopedUmask umask_077(077);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FaultyFileOps::kind_name(c.kind)) + " " +
                 std::to_string(c.fail_at) + ": " + strerror(c.fail_errno));
    TempDir dir;
    std::string path = dir.file("func");
    write_file(path, kOriginal);
    chmod(path.c_str(), 0600);
    FaultyFileOps files(c.kind, c.fail_at, c.fail_errno);
    files.fail_with_zero = c.fail_errno == 0;
    StoreFailure failure;
    EXPECT_EQ(c.error == 0 ? kStoreDone : kStoreFileFailed,
              rewrite_file(&files, at_path(path), insert_entry(), &failure));
    EXPECT_TRUE(files.fault_hit);
    EXPECT_EQ(c.error, failure.error);
    EXPECT_EQ(c.error == 0 ? kRewritten : kOriginal, read_file(path));
    EXPECT_EQ(c.error == 0 ? 0666 : 0600, file_mode(path));
    EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
    EXPECT_EQ(0, files.open_descriptors);
  }
}

TEST(RealFileOps, AclThatCannotBeCopiedFailsWithTheErrnoOfTheCall) {
  TempDir dir;
  write_file(dir.file("from"), "x\n");
  write_file(dir.file("to"), "");
  if (setxattr(dir.file("from").c_str(), "system.posix_acl_access",
               kAclDenyingNobody, sizeof(kAclDenyingNobody), 0) != 0)
    GTEST_SKIP() << "no ACLs here: " << strerror(errno);
  int from = open(dir.file("from").c_str(), O_RDONLY | O_CLOEXEC);
  // A descriptor that names the file but allows no call on it.
  int to = open(dir.file("to").c_str(), O_PATH | O_CLOEXEC);
  ASSERT_LE(0, from);
  ASSERT_LE(0, to);
  errno = 0;
  EXPECT_EQ(-1, real_file_ops()->copy_attributes(from, to, true));
  EXPECT_EQ(EBADF, errno);
  close(from);
  close(to);
}

TEST(RewriteFile, ShortAndInterruptedWritesAreCarriedOn) {
  for (size_t max_write : { size_t(1), size_t(3), size_t(1000) }) {
    TempDir dir;
    std::string path = dir.file("func");
    write_file(path, kOriginal);
    FaultyFileOps files(FaultyFileOps::kWrite, 1, EINTR);
    files.max_write = max_write;
    StoreFailure failure;
    EXPECT_EQ(kStoreDone, rewrite_file(&files, at_path(path), insert_entry(), &failure));
    EXPECT_TRUE(files.fault_hit);
    EXPECT_EQ(kRewritten, read_file(path)) << "writes of " << max_write;
    EXPECT_EQ(0, files.open_descriptors);
  }
}
