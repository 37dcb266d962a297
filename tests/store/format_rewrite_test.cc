#include "store/format_rewrite.h"

#include <errno.h>
#include <sys/stat.h>

#include <random>

#include <gtest/gtest.h>

#include "faulty_file_ops.h"
#include "format_pass_model.h"
#include "test_files.h"

namespace {

const std::string kNul(1, '\0');
const std::string kId = "VtL_vtS12mm__070A03271A2B";
const std::string kOtherId = "VtL_vtS12mm__070A0327FFFF";
const std::string kPageSize = "*PageSize " + kId + "/Shop 12: \"x\"\n";
const std::string kEntry = "VtL_vtS18mm__0710064A0001/Shop 12\n";

FormatPass delete_pass() {
  FormatPass pass;
  pass.name = "Shop 12";
  return pass;
}

FormatPass replace_pass() {
  FormatPass pass = delete_pass();
  pass.skip_id = kOtherId;
  pass.edit.kind = LineEdit::kInsertAfter;
  pass.edit.needle = "[CustomTape]";
  pass.edit.text = kEntry;
  pass.trailer = "appended\n";
  return pass;
}

// Runs the pass over |content| with reads of at most |max_read| bytes and
// checks the file and the answer against expected_output.
void expect_pass_result(const std::string& content, const FormatPass& pass,
                        size_t max_read) {
  TempDir dir;
  std::string path = dir.file("func");
  write_file(path, content);
  FaultyFileOps files;
  files.max_read = max_read;
  std::string id = "stale";
  int error = 0;
  int found = rewrite_without_format(&files, path, pass, &id, &error);
  std::string expected_id;
  std::string expected = expected_pass_output(content, pass, &expected_id);
  EXPECT_EQ(expected_id.empty() ? 0 : 1, found);
  EXPECT_EQ(expected_id, id);
  EXPECT_EQ(expected, read_file(path));
  EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
  EXPECT_EQ(0, files.open_descriptors);
}

}  // namespace

TEST(RewriteWithoutFormat, DropsTheLinesOfTheIdentifierWhereverTheyStand) {
  const std::string contents[] = {
    // The "*PageSize" line first, or entries before it that have to be
    // taken back out of the output.
    "head\n" + kPageSize + "[CustomTape]\n" + kId + "/Shop 12\ntail\n",
    "head\n[CustomTape]\n" + kId + "/Shop 12\nmid\n" + kPageSize + "tail\n",
    kId + ":\t0.00\n" + kPageSize,
    "x VtL other\n" + std::string(300, 'y') + "\n" + kPageSize + kId + "\n",
    // Entries of other formats and near misses stay.
    "[CustomTape]\n" + kOtherId + "/Shop 12\n*PageSize " + kOtherId +
        "/Shop 1\n" + kPageSize + "VtL_vtS12mm__070A03271A2\n",
    // A NUL hides what follows it, but the bytes are copied.
    "a" + kNul + kId + "\n" + kPageSize + "b" + kNul + "VtL\n",
    "head\n" + kPageSize + "last " + kId,
    "no newline at the end " + kId + "\n" + kPageSize + "tail",
    // Not there, or not as a "*PageSize" line.
    "",
    "[CustomTape]\n" + kId + "/Shop 12\n",
    " " + kPageSize,
    std::string(200000, 'z') + "\n[CustomTape]\n" + kId + "/Shop 12\n" +
        std::string(100000, 'q') + "\n" + kPageSize + std::string(5000, 'r'),
  };
  for (size_t max_read : { size_t(0), size_t(7), size_t(4096) }) {
    for (const std::string& content : contents) {
      SCOPED_TRACE("reads of " + std::to_string(max_read) + ", file '" +
                   content.substr(0, 80) + "'");
      expect_pass_result(content, delete_pass(), max_read);
      expect_pass_result(content, replace_pass(), max_read);
    }
  }
}

TEST(RewriteWithoutFormat, AgreesWithLookupThenEditOnRandomFiles) {
  // Whole entries, and pieces that make, break and repeat them.
  const std::string pieces[] = {
    kPageSize, kId + "/Shop 12\n", "*PageSize " + kOtherId + "/Shop 12\n",
    "*PageSize ", kId, kOtherId, "/Shop 12", ": x", "\n", "[CustomTape]\n",
    "VtL", kNul, "plain\n", std::string(40, 'p'),
  };
  std::mt19937 random(20261207);
  for (int round = 0; round < 400; ++round) {
    std::string content;
    int count = random() % 40;
    for (int i = 0; i < count; ++i)
      content += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
    SCOPED_TRACE("round " + std::to_string(round));
    expect_pass_result(content, delete_pass(), 1 + random() % 64);
    expect_pass_result(content, replace_pass(), 1 + random() % 64);
  }
}

TEST(RewriteWithoutFormat, PassesOverTheIdentifierItIsToldToSkip) {
  FormatPass pass = replace_pass();
  pass.skip_id = kId;
  std::string later = "*PageSize " + kOtherId + "/Shop 12: \"y\"\n";
  // The skipped one stays; the next one of the name is the one that goes.
  expect_pass_result(kPageSize + later + kOtherId + ":\n", pass, 0);
  expect_pass_result(kPageSize, pass, 0);
}

TEST(RewriteWithoutFormat, NameNotThereLeavesAFileThatWouldNotChangeAlone) {
  TempDir dir;
  std::string path = dir.file("func");
  write_file(path, "a\n" + kId + "\n");
  chmod(path.c_str(), 0600);
  struct stat before;
  ASSERT_EQ(0, stat(path.c_str(), &before));
  std::string id;
  int error = 0;
  EXPECT_EQ(0, rewrite_without_format(real_file_ops(), path, delete_pass(),
                                      &id, &error));
  struct stat after;
  ASSERT_EQ(0, stat(path.c_str(), &after));
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(0600, file_mode(path));
  EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));

  // A missing file holds no format; one that has to change must be there.
  std::string missing = dir.file("gone");
  EXPECT_EQ(0, rewrite_without_format(real_file_ops(), missing, delete_pass(),
                                      &id, &error));
  EXPECT_EQ(-1, rewrite_without_format(real_file_ops(), missing,
                                       replace_pass(), &id, &error));
  EXPECT_EQ(ENOENT, error);
  EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
}

TEST(RewriteWithoutFormat, EveryFailingCallLeavesTheFileAsItWas) {
  // The entry before the "*PageSize" line makes the pass take back output,
  // or copy what comes before it, and read part of the file again, so
  // every kind of call is made.
  const std::string content = "head\n[CustomTape]\n" + kId + "/Shop 12\n" +
      std::string(3000, 'm') + "\n" + kPageSize + "tail\n";
  for (const FormatPass& pass : { delete_pass(), replace_pass() }) {
    SCOPED_TRACE(pass.trailer.empty() ? "delete" : "add request");
    std::string expected_id;
    const std::string expected =
        expected_pass_output(content, pass, &expected_id);
    TempDir dir;
    std::string path = dir.file("func");
    int kinds_failed[FaultyFileOps::kAnyCall + 1] = {};
    for (int n = 1; n < 10000; ++n) {
      SCOPED_TRACE("call " + std::to_string(n));
      write_file(path, content);
      FaultyFileOps files(n, EIO);
      files.max_read = 512;
      files.max_write = 700;
      std::string id;
      int error = 0;
      int found = rewrite_without_format(&files, path, pass, &id, &error);
      EXPECT_EQ(0, files.open_descriptors);
      EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
      if (!files.fault_hit || found == 1) {
        EXPECT_TRUE(!files.fault_hit || files.failed_call == "close");
        EXPECT_EQ(1, found);
        EXPECT_EQ(expected, read_file(path));
        break;
      }
      EXPECT_EQ(-1, found) << files.failed_call;
      EXPECT_EQ(EIO, error) << files.failed_call;
      EXPECT_EQ(content, read_file(path)) << files.failed_call;
      ++kinds_failed[files.failed_kind];
    }
    EXPECT_LT(0, kinds_failed[FaultyFileOps::kLseek]);
    EXPECT_LT(0, kinds_failed[FaultyFileOps::kRead]);
    EXPECT_LT(0, kinds_failed[FaultyFileOps::kWrite]);
    EXPECT_LT(0, kinds_failed[pass.trailer.empty() ?
        FaultyFileOps::kCopyFileRange : FaultyFileOps::kFtruncate]);
  }
}

TEST(RewriteWithoutFormat, DeleteCopiesByHandWhereTheKernelCannot) {
  const std::string content = std::string(70000, 'a') + "\n" + kId +
      "/Shop 12\n" + kPageSize + "tail\n";
  for (int refusal : { EXDEV, EINVAL, ENOSYS, EOPNOTSUPP, EPERM }) {
    TempDir dir;
    std::string path = dir.file("func");
    write_file(path, content);
    FaultyFileOps files;
    files.fail_kind = FaultyFileOps::kCopyFileRange;
    files.fail_at = 2;  // the kernel copies a little before refusing
    files.fail_errno = refusal;
    files.max_write = 1000;
    std::string id;
    int error = 0;
    EXPECT_EQ(1, rewrite_without_format(&files, path, delete_pass(), &id,
                                        &error));
    EXPECT_TRUE(files.fault_hit);
    EXPECT_EQ(std::string(70000, 'a') + "\ntail\n", read_file(path));
  }
}

TEST(RewriteWithoutFormat, DeleteOfANameNotThereOnlyReads) {
  // Not even a temporary file: a full disk or a read-only directory must
  // not fail it.
  TempDir dir;
  std::string path = dir.file("func");
  write_file(path, "[CustomTape]\n" + kId + "/Shop 12\n*PageSize " +
                   kOtherId + "/Shop 13: x\n");
  FaultyFileOps files;
  std::string id;
  int error = 0;
  EXPECT_EQ(0, rewrite_without_format(&files, path, delete_pass(), &id,
                                      &error));
  EXPECT_EQ(1, files.calls[FaultyFileOps::kOpen]);
  EXPECT_EQ(0, files.calls[FaultyFileOps::kUnlink]);
  EXPECT_EQ(0, files.calls[FaultyFileOps::kWrite]);
}

TEST(RewriteWithoutFormat, IdentifierToPassOverThatNamesTheFormatTwiceIsRefused) {
  FormatPass pass = replace_pass();
  pass.skip_id = kId;
  pass.refuse_taken_id = true;
  const std::string other = "*PageSize " + kOtherId + "/Shop 12: x\n";
  struct Case {
    std::string content;
    int answer;
  } cases[] = {
    { kPageSize + "[CustomTape]\n" + kPageSize, 2 },
    { kPageSize + kPageSize + other, 2 },
    // One line under it is the companion tool's own.
    { kPageSize + other + kOtherId + "\n", 1 },
    { other + kPageSize + kPageSize, 1 },
    { "[CustomTape]\n" + kPageSize, 0 },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    TempDir dir;
    std::string path = dir.file("func");
    write_file(path, c.content);
    std::string id;
    int error = 0;
    EXPECT_EQ(c.answer, rewrite_without_format(real_file_ops(), path, pass,
                                               &id, &error));
    std::string expected_id;
    EXPECT_EQ(c.answer == 2 ? c.content :
                  expected_pass_output(c.content, pass, &expected_id),
              read_file(path));
    EXPECT_EQ(std::vector<std::string>{ "func" }, dir_entries(dir.path()));
  }
}
