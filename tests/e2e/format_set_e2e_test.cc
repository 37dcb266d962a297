// SPDX-License-Identifier: GPL-2.0-or-later
// A model's formats as a set: --export, --diff, --apply and --sync run on
// driver trees in a temporary directory.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness.h"
#include "split_lines.h"

namespace {

// Writes |content| as the file |name| beside the driver tree, where runs
// start; returns the name, which runs find from there.
std::string formats_file(const Driver& driver, const std::string& name,
                         const std::string& content) {
  write_file(driver.top() + "/" + name, content);
  return name;
}

std::vector<ino_t> inodes(const Driver& driver) {
  std::vector<ino_t> numbers;
  for (const std::string& path : driver.files.all()) {
    struct stat info;
    numbers.push_back(stat(path.c_str(), &info) == 0 ? info.st_ino : 0);
  }
  return numbers;
}

// The lines of a --list without their identifiers, sorted.
std::vector<std::string> listed_without_ids(const std::string& listing) {
  std::vector<std::string> lines;
  for (std::string_view view : split_lines(listing)) {
    std::string line(view);
    size_t id_at = 0;
    for (int field = 0; field < 4; ++field)
      id_at = line.find('\t', id_at) + 1;
    line.erase(id_at, line.find('\t', id_at) - id_at);
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Every tape row of both tables, by its nominal width and by a width kept
// as asked, a tube wider than the table, a name holding "HS" on tape, and
// the sample's own format as it stands.
const char kTapeFormats[] =
    "Shelf edge\t12\t100\n"
    "Tape 3.5\t5\t4\nTape 6\t6\t50\nTape 9\t9\t50\nTape 12\t12\t1000\n"
    "Tape 18\t18\t50\nTape 24\t24\t50\nTape 7 kept\t7\t50\n"
    "HS 6\t6\t500\nHS 9\t9\t50\nHS 12\t12\t50\nHS 18\t18\t50\n"
    "HS 24\t24\t50\nHS 15 kept\t15\t50\nHS 30 tube\t30\t50\n"
    "HS on tape\t12\t700\ttape\n";
const char kRollFormats[] =
    "Address label\t62\t100\nNarrow\t1\t5\nWide\t300\t100\nTall\t62\t5000\n";
const char kRollExport[] =
    "Address label\t62\t100\nNarrow\t1\t5\nTall\t62\t5000\nWide\t300\t100\n";

struct ModelCase {
  const char* program;
  const char* code;
  const char* formats;
  size_t count;
};
const ModelCase kModels[] = {
  { kTape, "txr580", kTapeFormats, 16 },
  { kRoll, "rk210", kRollFormats, 4 },
};

TEST(FormatSetEndToEnd, ExportAppliedToReinstalledFilesGivesTheSameFormats) {
  for (const ModelCase& c : kModels) {
    Driver driver(c.program, c.code);
    std::string wanted = formats_file(driver, "wanted.tsv", c.formats);
    ASSERT_EQ(0, driver.run({ "-P", "q", "--apply", wanted }).exit_status);
    RunResult saved = driver.run({ "--export" });
    EXPECT_EQ(0, saved.exit_status) << saved.err;
    EXPECT_EQ(c.count, split_lines(saved.out).size()) << saved.out;
    if (std::string(c.code) == "rk210") {
      EXPECT_EQ(kRollExport, saved.out);
    }
    std::string listed = driver.run({ "--list" }).out;

    driver.restore();
    std::string file = formats_file(driver, "saved.tsv", saved.out);
    RunResult apply = driver.run({ "--apply", file, "-P", "q" });
    EXPECT_EQ(0, apply.exit_status) << apply.err;
    EXPECT_EQ("", apply.out + apply.err);
    EXPECT_EQ(saved.out, driver.run({ "--export" }).out) << c.code;
    EXPECT_EQ(listed_without_ids(listed),
              listed_without_ids(driver.run({ "--list" }).out)) << c.code;
  }
}

TEST(FormatSetEndToEnd, SecondApplyOrSyncRunsNothingAndChangesNoFile) {
  for (const ModelCase& c : kModels) {
    Driver driver(c.program, c.code);
    std::string wanted = formats_file(driver, "wanted.tsv", c.formats);
    ASSERT_EQ(0, driver.run({ "-P", "q", "--apply", wanted }).exit_status);
    Contents contents = driver.contents();
    std::vector<ino_t> numbers = inodes(driver);
    write_file(driver.log_path(), "");
    for (const char* command : { "--apply", "--sync" }) {
      RunResult again = driver.run({ "-P", "q", command, wanted });
      EXPECT_EQ(0, again.exit_status) << command;
      EXPECT_EQ("", again.out + again.err) << command;
    }
    EXPECT_EQ("", driver.companion_log()) << c.code;
    driver.expect_files(contents);
    EXPECT_EQ(numbers, inodes(driver)) << c.code;
  }
}

// Formats laid beside the sample's "Shelf edge": a second format of that
// name, and one whose name -n refuses.
const char kSecondShelfEdgeId[] = "VtL_vtS12mm__0A0A01E12345";
const std::string kLongName(33, 'L');
const char kLongNameId[] = "VtL_vtS12mm__210A03212345";

Contents with_second_and_long(const Contents& sample) {
  return after_add(after_add(sample, kSecondShelfEdgeId, "Shelf edge",
                             kTape12x30),
                   kLongNameId, kLongName, kTape12x50);
}

TEST(FormatSetEndToEnd, SyncDeletesWhatTheFileDoesNotNameFirstByIdentifier) {
  Driver driver(kTape, "txr580");
  Contents sample = driver.original;
  driver.lay(with_second_and_long(sample));
  std::string wanted = formats_file(driver, "wanted.tsv",
                                    "Shelf edge\t12\t100\nNew\t12\t50\n");
  write_file(driver.log_path(), "");
  RunResult sync = driver.run({ "-P", "q", "--sync", wanted });
  EXPECT_EQ(0, sync.exit_status) << sync.err;
  EXPECT_EQ("", sync.out + sync.err);
  std::string new_id = logged_format_id(driver.log_path());
  std::string arg0 = driver.companion_arg0();
  EXPECT_EQ("[" + arg0 + "] [-P] [q] [-d] [Shelf edge] [-show] [1]\n"
            "[" + arg0 + "] [-P] [q] [-d] [" + kLongName + "] [-show] [1]\n"
            "[" + arg0 + "] [-P] [q] [-d] [New] [-show] [1]\n"
            "[" + arg0 + "] [-P] [q] [-n] [New] [-w] [10] [-h] [50] "
            "[-specid] [" + new_id + "] [-show] [1]\n",
            driver.companion_log());
  // The sample's own format stays as it was, selected too.
  driver.expect_files(after_add(sample, new_id, "New", kTape12x50));
}

// A companion tool that fails for the name in VT_FAIL_NAME and is the
// stand-in for every other.
void fail_for_a_name(Driver& driver) {
  std::string standin = driver.files.companion;
  standin.insert(standin.rfind('/') + 1, "real_");
  ASSERT_EQ(0, rename(driver.files.companion.c_str(), standin.c_str()));
  driver.use_companion_script(
      "for arg; do [ \"$arg\" = \"$VT_FAIL_NAME\" ] && exit 3; done\n"
      "exec \"" + standin + "\" \"$@\"\n");
}

TEST(FormatSetEndToEnd, StepThatFailsStopsTheRunAndTheSameCommandFinishes) {
  Driver driver(kTape, "txr580");
  fail_for_a_name(driver);
  std::string wanted = formats_file(
      driver, "wanted.tsv", "A\t12\t50\nB\t12\t50\nC\t12\t50\n");
  RunResult failed = driver.run({ "-P", "q", "--apply", wanted },
                                { "VT_FAIL_NAME=B" });
  EXPECT_EQ(255, failed.exit_status);
  EXPECT_EQ("", failed.out);
  EXPECT_EQ("vtmediatoollpr_txr580: 'B': " + driver.companion_arg0() +
            " exited with status 3 (step 2 of 3; the same command finishes "
            "the job)\n", failed.err);
  // A is in, B and C not.
  expect_entered_once(driver.contents(), "A");
  EXPECT_EQ(std::string::npos, driver.contents()[0].find("/B"));
  RunResult finished = driver.run({ "-P", "q", "--apply", wanted });
  EXPECT_EQ(0, finished.exit_status) << finished.err;
  for (const char* name : { "A", "B", "C" })
    expect_entered_once(driver.contents(), name);
  write_file(driver.log_path(), "");
  EXPECT_EQ(0, driver.run({ "-P", "q", "--apply", wanted }).exit_status);
  EXPECT_EQ("", driver.companion_log());
}

TEST(FormatSetEndToEnd, DiffSaysWhatSyncWouldDoAndChangesNothing) {
  Driver driver(kTape, "txr580");
  driver.lay(with_second_and_long(driver.original));
  const struct {
    const char* file;
    int status;
    const char* out;
  } cases[] = {
    { "New\t12\t50\nShelf edge\t11\t30\n", 1,
      "delete\tShelf edge\ndelete\tLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL\n"
      "add\tNew\t12\t50\ttape\nreplace\tShelf edge\t12\t30\ttape\n" },
  };
  write_file(driver.log_path(), "");
  for (const auto& c : cases) {
    std::string file = formats_file(driver, "wanted.tsv", c.file);
    RunResult diff = driver.run({ "--diff", file });
    EXPECT_EQ(c.status, diff.exit_status) << c.file;
    EXPECT_EQ(c.out, diff.out) << c.file;
    EXPECT_EQ("", diff.err) << c.file;
  }
  driver.expect_files();
  EXPECT_EQ("", driver.companion_log());

  Driver sample(kTape, "txr580");
  std::string same = formats_file(sample, "same.tsv", "Shelf edge\t12\t100\n");
  RunResult none = sample.run({ "--diff", same });
  EXPECT_EQ(0, none.exit_status);
  EXPECT_EQ("", none.out + none.err);
  unlink(sample.files.media_info.c_str());
  RunResult unreadable = sample.run({ "--diff", same });
  EXPECT_EQ(255, unreadable.exit_status);
  EXPECT_EQ("", unreadable.out);
}

TEST(FormatSetEndToEnd, ExportLeavesOutWhatNoRequestRecreatesAndSaysSo) {
  Driver driver(kTape, "txr580");
  driver.lay(with_second_and_long(driver.original));
  RunResult exported = driver.run({ "--export" });
  EXPECT_EQ(1, exported.exit_status);
  EXPECT_EQ("Shelf edge\t12\t100\ttape\n", exported.out);
  EXPECT_EQ("vtmediatoollpr_txr580: '" + kLongName + "' left out: no "
            "request re-creates its lines\n", exported.err);
  unlink(driver.files.media_info.c_str());
  RunResult unreadable = driver.run({ "--export" });
  EXPECT_EQ(255, unreadable.exit_status);
  EXPECT_EQ("", unreadable.out);
}

// A formats file refused before anything runs: exit 2, one line naming
// the file and, where one is at fault, the line.
TEST(FormatSetEndToEnd, RefusedFileRunsNothingAndChangesNothing) {
  Driver driver(kTape, "txr580");
  const struct {
    std::vector<std::string> args;
    std::string content;  // of wanted.tsv
    std::string err;
  } cases[] = {
    { { "-P", "q", "--apply", "wanted.tsv" }, "New\t12\t50\nShelf edge\t36\t50",
      "wanted.tsv:2: width 36: wider than the widest tape, 24 mm" },
    { { "-P", "q", "--sync", "wanted.tsv" }, "# nothing\n",
      "wanted.tsv: names no format" },
    { { "--diff", "wanted.tsv" }, "", "wanted.tsv: names no format" },
    { { "-P", "q", "--apply", "missing.tsv" }, "",
      "missing.tsv: No such file or directory" },
    { { "-P", "q", "--apply", "wanted.tsv" },
      std::string(1 << 20, '#') + "\n", "wanted.tsv: over 1 MiB, the most a "
      "formats file may hold" },
    { { "-P", "q", "--sync", "-" }, "", "standard input: names no format" },
  };
  write_file(driver.log_path(), "");
  for (const auto& c : cases) {
    formats_file(driver, "wanted.tsv", c.content);
    RunResult run = driver.run(c.args);
    EXPECT_EQ(2, run.exit_status) << c.err;
    EXPECT_EQ("", run.out) << c.err;
    EXPECT_EQ("vtmediatoollpr_txr580: " + c.err + "\n", run.err);
  }
  driver.expect_files();
  EXPECT_EQ("", driver.companion_log());
}

TEST(FormatSetEndToEnd, AtATerminalEachFormatChangedIsSaid) {
  Driver driver(kTape, "txr580");
  driver.lay(with_second_and_long(driver.original));
  std::string wanted = formats_file(driver, "wanted.tsv",
                                    "New\t12\t50\nShelf edge\t12\t30\n");
  Terminal terminal;
  EXPECT_EQ(0, wait_for(driver.start({ "-P", "q", "--sync", wanted },
                                     terminal.side())));
  EXPECT_EQ("vtmediatoollpr_txr580: deleted 'Shelf edge'\r\n"
            "vtmediatoollpr_txr580: deleted '" + kLongName + "'\r\n"
            "vtmediatoollpr_txr580: added 'New'\r\n"
            "vtmediatoollpr_txr580: replaced 'Shelf edge'\r\n",
            terminal.shown());
  EXPECT_EQ("New\t12\t50\ttape\nShelf edge\t12\t30\ttape\n",
            driver.run({ "--export" }).out);
}

}  // namespace
