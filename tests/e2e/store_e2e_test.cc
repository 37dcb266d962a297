// SPDX-License-Identifier: GPL-2.0-or-later
// The built tool adding and deleting label formats on driver trees in a
// temporary directory, with the stand-in companion tool (or small shell
// scripts in its place where a test needs a companion that behaves
// otherwise).

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <regex>

#include <gtest/gtest.h>

#include "cli/model.h"
#include "harness.h"
#include "nul_byte.h"
#include "reference_edit.h"
#include "split_lines.h"

namespace {

const char kTape[] = "vtmediatoollpr_txr580";
const char kRoll[] = "vtmediatoollpr_rk210";
// The formats the sample driver tree comes with.
const char kShelfEdgeId[] = "VtL_vtS12mm__0A0A0642F3C1";
const char kAddressLabelId[] = "VtL0D3E0641A7F0";

// The lines of |content|, copied.
std::vector<std::string> lines_of(const std::string& content) {
  std::vector<std::string> lines;
  for (std::string_view line : split_lines(content))
    lines.emplace_back(line);
  return lines;
}

// |content| with |entry| below every "[CustomTape]" line.
std::string with_entries(const std::string& content,
                         const std::string& entry) {
  return reference_edit(LineEdit::kInsertAfter, content, "[CustomTape]",
                        entry);
}

// The identifier of the format added last: its imageable-area line is
// the last line of the PrintArea file.
std::string added_id(const DriverFiles& files) {
  std::vector<std::string> lines = lines_of(read_file(files.print_area));
  return lines.empty() ? "" : lines.back().substr(0, lines.back().find(':'));
}

std::string bracketed(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args)
    line += (line.empty() ? "[" : " [") + arg + "]";
  return line + "\n";
}

// What a successful add of a new name must have made of the original
// files, given the identifier it made.
std::vector<std::string> after_add(const std::vector<std::string>& before,
                                   const std::string& id,
                                   const std::string& name,
                                   const std::string& width,
                                   const std::string& height,
                                   const std::string& dots,
                                   const std::string& area,
                                   bool standin = true) {
  std::string page_size =
      standin ? standin_page_size_line(id, name, width, height) : "";
  return {
    with_entries(before[0] + page_size, id + "/" + name + "\n"),
    before[1] + page_size + id + "/" + name + ":\t" + dots + "\n",
    before[2],
    before[3] + id + ":\t" + area + "\n",
  };
}

// What deleting the format |id| must make of |before|.
std::vector<std::string> after_delete(const std::vector<std::string>& before,
                                      const std::string& id,
                                      const std::string& default_media) {
  return {
    reference_drop(before[0], id),
    reference_drop(before[1], id),
    reference_edit(LineEdit::kReplace, before[2], id, default_media),
    reference_drop(before[3], id),
  };
}

struct RoundTrip {
  std::string width, height;                // as given
  std::string fitted_width, fitted_height;  // as the companion gets them
  std::string id_pattern;  // the identifier without its time digits
  std::string dots, area;
};

const RoundTrip kTape12x50 = { "12", "50", "10", "50", "VtL_vtS12mm__070A032",
                               "70\t353", "0.00\t0.00\t28.00\t141.52" };
const RoundTrip kRoll62x50 = { "62", "50", "62", "50", "VtL073E032",
                               "695\t518", "0.00\t0.00\t0.00\t141.52" };

// Adds |name| (new to the driver), checks every file and both companion
// runs, deletes it again and checks every file is back as it was.
void add_then_delete(Driver& driver, const std::string& printer,
                     const std::string& name, const RoundTrip& trip) {
  RunResult add = driver.run({ "-P", printer, "-n", name, "-w", trip.width,
                               "-h", trip.height });
  EXPECT_EQ(0, add.exit_status);
  EXPECT_EQ("", add.out);
  std::string id = added_id(driver.files);
  EXPECT_TRUE(std::regex_match(id, std::regex(trip.id_pattern +
                                              "[0-9A-F][0-9A-F]{4}")))
      << id;
  driver.expect_files(after_add(driver.original, id, name, trip.fitted_width,
                                trip.fitted_height, trip.dots, trip.area));
  std::string arg0 = driver.companion_arg0();
  EXPECT_EQ(bracketed({ arg0, "-P", printer, "-d", name, "-show", "1" }) +
            bracketed({ arg0, "-P", printer, "-n", name, "-w",
                        trip.fitted_width, "-h", trip.fitted_height,
                        "-specid", id,
                        "-show", "1" }),
            driver.companion_log());

  RunResult del = driver.run({ "-P", printer, "-d", name });
  EXPECT_EQ(0, del.exit_status);
  EXPECT_EQ("", del.out);
  driver.expect_files();
  EXPECT_EQ(std::string::npos,
            lines_of(driver.companion_log()).back().find("-specid"));
}

}  // namespace

TEST(StoreEndToEnd, TapeFormatAddedWithItsDotsAndPointsThenDeleted) {
  Driver driver(kTape, "txr580");
  add_then_delete(driver, "TX-R580", "Shop 12", kTape12x50);
}

TEST(StoreEndToEnd, RollLabelFormatAddedWithItsDotsAndPointsThenDeleted) {
  Driver driver(kRoll, "rk210");
  add_then_delete(driver, "RK-210", "Roll 62", kRoll62x50);
}

TEST(StoreEndToEnd, EveryModelAddsAndDeletesOnItsOwnFiles) {
  for (const ModelEntry& model : kModels) {
    std::string program = std::string("vtmediatoollpr_") + model.model_code;
    SCOPED_TRACE(program);
    Driver driver(program, model.model_code);
    bool roll = model.model_type <= kLastRollLabelType;
    add_then_delete(driver, "Printer", "Shop 12",
                    roll ? kRoll62x50 : kTape12x50);
  }
}

TEST(StoreEndToEnd, FormatsThatAreNotTwentyFiveCharactersAreFoundAgain) {
  // A tube wider than any row has no media name; a roll label of 300 mm
  // takes three width digits.
  Driver tape(kTape, "txr580");
  add_then_delete(tape, "TX-R580", "HS tube", { "30", "700", "30", "500",
                  "VtL071E1F4", "0\t3537", "0.00\t0.00\t0.00\t1415.17" });
  Driver roll(kRoll, "rk210");
  add_then_delete(roll, "RK-210", "Wide", { "300", "50", "300", "50",
                  "VtL0412C032", "3502\t518", "0.00\t0.00\t0.00\t141.52" });
}

TEST(StoreEndToEnd, EachCustomTapeSectionGetsTheEntryAboveOlderOnes) {
  Driver driver(kTape, "txr580");
  driver.lay({ "[General]\n[CustomTape]\nVtL_old/old\n[Cutter]\n"
               "[CustomTape]\n[End]\n", "", "", "" });
  ASSERT_EQ(0, driver.run({ "-P", "q", "-n", "New", "-w", "12", "-h", "50" })
                   .exit_status);
  std::string id = added_id(driver.files);
  EXPECT_EQ("[General]\n[CustomTape]\n" + id + "/New\nVtL_old/old\n"
            "[Cutter]\n[CustomTape]\n" + id + "/New\n[End]\n" +
            standin_page_size_line(id, "New", "10", "50"),
            read_file(driver.files.function_file));
}

TEST(StoreEndToEnd, AddingAnExistingNameReplacesItInsteadOfDoubling) {
  struct Case {
    const char* program;
    const char* code;
    const char* name;
    const char* old_id;
    const char* default_media;
    RoundTrip trip;
  } cases[] = {
    { kTape, "txr580", "Shelf edge", kShelfEdgeId, "Media=vtS12mm\n",
      { "12", "30", "10", "30", "VtL_vtS12mm__0A0A01E", "70\t212",
        "0.00\t0.00\t28.00\t84.91" } },
    { kRoll, "rk210", "Address label", kAddressLabelId, "MediaSize=29X1\n",
      { "62", "100", "62", "100", "VtL0D3E064", "695\t1108",
        "0.00\t0.00\t0.00\t283.03" } },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driver driver(c.program, c.code);
    std::vector<std::string> original = driver.original;
    for (const std::string& content : original)
      ASSERT_NE(std::string::npos, content.find(c.old_id));
    std::vector<std::string> cleared = after_delete(original, c.old_id,
                                                    c.default_media);
    // Twice: the first add replaces the sample's format, the second the
    // first add's.
    for (int round = 0; round < 2; ++round) {
      RunResult add = driver.run({ "-P", "p", "-n", c.name, "-w",
                                   c.trip.width, "-h", c.trip.height });
      EXPECT_EQ(0, add.exit_status);
      EXPECT_EQ("", add.out);
      std::string id = added_id(driver.files);
      EXPECT_TRUE(std::regex_match(id, std::regex(c.trip.id_pattern +
                                                  "[0-9A-F]{5}"))) << id;
      driver.expect_files(after_add(cleared, id, c.name, c.trip.fitted_width,
                                    c.trip.fitted_height, c.trip.dots,
                                    c.trip.area));
    }
    RunResult del = driver.run({ "-P", "p", "-d", c.name });
    EXPECT_EQ(0, del.exit_status);
    driver.expect_files(cleared);
  }
}

TEST(StoreEndToEnd, DeletingAnUnknownNameSaysSoAndChangesNothing) {
  for (const char* name : { "x", "Shelf", "Shelf edge ", "shelf edge" }) {
    Driver driver(kTape, "txr580");
    RunResult del = driver.run({ "-P", "TX-R580", "-d", name });
    EXPECT_EQ(0, del.exit_status);
    EXPECT_EQ(std::string("Not found '") + name + "'\n", del.out);
    driver.expect_files();
    EXPECT_EQ(bracketed({ driver.companion_arg0(), "-P", "TX-R580", "-d",
                          name, "-show", "1" }),
              driver.companion_log());
  }
}

TEST(StoreEndToEnd, ResourceSettingOfADeletedFormatFallsBackToDefaultMedia) {
  struct Case {
    const char* program;
    const char* code;
    const char* name;
    std::string rc_before;
    std::string rc_after;
  } cases[] = {
    { kTape, "txr580", "Shelf edge",
      "Copies=1\nOther=VtL_vtS12mm__0A0A0642F3C2\nMedia=" +
      std::string(kShelfEdgeId),
      "Copies=1\nOther=VtL_vtS12mm__0A0A0642F3C2\nMedia=vtS12mm\n" },
    { kTape, "txr580", "Shelf edge",
      "Media=" + std::string(kShelfEdgeId) + "\nLast=" + kShelfEdgeId +
      "\nCopies=1",
      "Media=vtS12mm\nMedia=vtS12mm\nCopies=1" },
    { kRoll, "rk210", "Address label",
      "Copies=1\nMediaSize=" + std::string(kAddressLabelId),
      "Copies=1\nMediaSize=29X1\n" },
  };
  for (const Case& c : cases) {
    Driver driver(c.program, c.code);
    std::vector<std::string> contents = driver.original;
    contents[2] = c.rc_before;
    driver.lay(contents);
    RunResult del = driver.run({ "-P", "p", "-d", c.name });
    EXPECT_EQ(0, del.exit_status);
    EXPECT_EQ("", del.out);
    EXPECT_EQ(c.rc_after, read_file(driver.files.resource)) << c.rc_before;
  }
}

TEST(StoreEndToEnd, MediaInformationEntryDecidesWhatTheLaterFilesLose) {
  // The function file knows the name under one identifier, the
  // media-information file under another; each of the later files loses
  // the lines of the second only.
  const std::string a = "VtL0D3E0641AAAA", b = "VtL0D3E0641BBBB";
  Driver driver(kRoll, "rk210");
  driver.lay({
    "*PageSize " + a + "/Address label: x\n*PageSize " + b +
        "/Address label: x\n" + a + "/Address label\n" + b +
        "/Address label\n",
    "*PageSize " + b + "/Address label: x\n" + a + "/Address label:\t1\t2\n" +
        b + "/Address label:\t1\t2\n",
    "A=" + a + "\nB=" + b + "\n",
    a + ":\n" + b + ":\n",
  });
  RunResult del = driver.run({ "-P", "p", "-d", "Address label" });
  EXPECT_EQ(0, del.exit_status);
  EXPECT_EQ("", del.out);
  driver.expect_files({
    "*PageSize " + b + "/Address label: x\n" + b + "/Address label\n",
    a + "/Address label:\t1\t2\n",
    "A=" + a + "\nMediaSize=29X1\n",
    a + ":\n",
  });
}

TEST(StoreEndToEnd, CompanionFailureFailsTheRunAndChangesNoFile) {
  // One that ran and refused speaks for itself on standard output; one
  // that could not be started is explained by the system's error text.
  // Standard error says which program and what became of it.
  const std::string tool = "vtmediatoollpr_txr580: "
      "vantrel/txr580/bin/lpd/vtmediatoolcups_txr580";
  struct Companion {
    const char* what;
    std::string script;  // empty: the stand-in, told to fail
    std::string out;
    std::string err;
  } companions[] = {
    { "exit status 1", "", "", tool + " exited with status 1\n" },
    { "killed by a signal", "kill -KILL $$\n", "",
      tool + " was killed by signal 9 (Killed)\n" },
    { "missing", "-", "No such file or directory\n",
      tool + ": No such file or directory\n" },
    { "not executable", "chmod", "Permission denied\n",
      tool + ": Permission denied\n" },
    { "a directory", "mkdir", "Permission denied\n",
      tool + ": Permission denied\n" },
  };
  const std::vector<std::string> requests[] = {
    { "-P", "TX-R580", "-n", "New", "-w", "12", "-h", "50" },
    { "-P", "TX-R580", "-n", "Shelf edge", "-w", "12", "-h", "50" },
    { "-P", "TX-R580", "-d", "Shelf edge" },
    { "-P", "TX-R580", "-d", "x" },
  };
  for (const Companion& companion : companions) {
    for (const std::vector<std::string>& args : requests) {
      SCOPED_TRACE(std::string(companion.what) + ": " + args[2] + " " +
                   args[3]);
      Driver driver(kTape, "txr580");
      const char* tool = driver.files.companion.c_str();
      std::vector<std::string> env;
      if (companion.script.empty()) {
        env.push_back("VT_STANDIN_STATUS=1");
      } else if (companion.script == "-") {
        unlink(tool);
      } else if (companion.script == "chmod") {
        chmod(tool, 0644);
      } else if (companion.script == "mkdir") {
        unlink(tool);
        mkdir(tool, 0755);
      } else {
        driver.use_companion_script(companion.script);
      }
      RunResult result = driver.run(args, env);
      EXPECT_EQ(255, result.exit_status);
      EXPECT_EQ(companion.out, result.out);
      EXPECT_EQ(companion.err, result.err);
      driver.expect_files();
      // The delete's failed run stops an add before its own.
      EXPECT_EQ(std::string::npos, driver.companion_log().find("[-specid]"));
    }
  }
}

TEST(StoreEndToEnd, CompanionRefusingTheNewFormatFailsTheAddAfterTheDelete) {
  Driver driver(kTape, "txr580");
  driver.use_companion_script(
      "for arg; do [ \"$arg\" = -specid ] && exit 1; done\nexit 0\n");
  RunResult add = driver.run({ "-P", "q", "-n", "Shelf edge", "-w", "12",
                               "-h", "50" });
  EXPECT_EQ(255, add.exit_status);
  EXPECT_EQ("", add.out);
  // The old format went with the delete step; the add step changed nothing.
  driver.expect_files(after_delete(driver.original, kShelfEdgeId,
                                   "Media=vtS12mm\n"));
}

namespace {

// A run on the tape model's sample tree with one data file missing.
struct MissingFileCase {
  int missing;  // index in DriverFiles::all
  const char* out;
  int exit_status;
};

// Runs |args| once for each case. A request that would rewrite the
// missing file is refused before the companion runs, naming the file,
// and changes nothing; one that succeeds silently ends with the files as
// |changed_files| gives them. |plain_companion| puts a companion that only logs its run
// in place of the stand-in, which needs the function and
// media-information files itself.
void check_missing_file_runs(
    const std::vector<MissingFileCase>& cases,
    const std::vector<std::string>& args, bool plain_companion,
    const std::function<std::vector<std::string>(const Driver&)>&
        changed_files) {
  for (const MissingFileCase& c : cases) {
    SCOPED_TRACE("missing file " + std::to_string(c.missing));
    Driver driver(kTape, "txr580");
    if (plain_companion)
      driver.use_companion_script("echo run >> '" + driver.log_path() +
                                  "'\n");
    std::string missing = driver.files.all()[c.missing];
    unlink(missing.c_str());
    RunResult run = driver.run(args);
    EXPECT_EQ(c.exit_status, run.exit_status);
    EXPECT_EQ(c.out, run.out);
    // A failure names the file, as the tool reached it from its root.
    EXPECT_EQ(c.exit_status == 0 ? "" : "vtmediatoollpr_txr580: " +
              missing.substr(driver.top().size() + 1) + ": " + c.out,
              run.err);
    EXPECT_EQ(c.exit_status != 0, driver.companion_log().empty());
    std::vector<std::string> expected = driver.original;
    if (c.exit_status == 0 && *c.out == '\0') {
      std::vector<std::string> changed = changed_files(driver);
      for (size_t i = 0; i < expected.size(); ++i) {
        if (static_cast<int>(i) != c.missing)
          expected[i] = changed[i];
      }
    }
    driver.expect_files(expected, missing);
  }
}

// The identifier entered below the first "[CustomTape]" line.
std::string entered_id(const Driver& driver) {
  std::string func = read_file(driver.files.function_file);
  size_t at = func.find("[CustomTape]\n") + 13;
  return func.substr(at, func.find('/', at) - at);
}

}  // namespace

TEST(StoreEndToEnd, MissingDataFileRefusesTheDeleteBeforeItStarts) {
  // Deleting the sample's "Shelf edge"; without a function file there is
  // nothing to delete.
  check_missing_file_runs({
      { 0, "Not found 'Shelf edge'\n", 0 },
      { 2, "No such file or directory\n", 255 },
      { 3, "No such file or directory\n", 255 },
      { 1, "No such file or directory\n", 255 },
    }, { "-P", "q", "-d", "Shelf edge" }, false,
    [](const Driver& driver) {
      return after_delete(driver.original, kShelfEdgeId, "Media=vtS12mm\n");
    });
}

TEST(StoreEndToEnd, MissingDataFileRefusesTheAddBeforeItStarts) {
  check_missing_file_runs({
      { 0, "No such file or directory\n", 255 },
      { 1, "No such file or directory\n", 255 },
      { 2, "", 0 },  // adding never touches the resource file
      { 3, "No such file or directory\n", 255 },
    }, { "-P", "q", "-n", "New", "-w", "12", "-h", "50" }, true,
    [](const Driver& driver) {
      return after_add(driver.original, entered_id(driver), "New", "10",
                       "50", "70\t353", "0.00\t0.00\t28.00\t141.52", false);
    });
}

TEST(StoreEndToEnd, LinesAddedAfterALastLineWithoutNewlineStartOwnLines) {
  Driver driver(kTape, "txr580");
  driver.use_companion_script("exit 0\n");
  driver.lay({ "[General]\n[CustomTape]", "# media", "Copies=1", "# areas" });
  RunResult add = driver.run({ "-P", "q", "-n", "N", "-w", "12", "-h", "50" });
  EXPECT_EQ(0, add.exit_status);
  std::string id = added_id(driver.files);
  driver.expect_files({ "[General]\n[CustomTape]\n" + id + "/N\n",
                        "# media\n" + id + "/N:\t70\t353\n",
                        "Copies=1",
                        "# areas\n" + id + ":\t0.00\t0.00\t28.00\t141.52\n" });
}

TEST(StoreEndToEnd, EmptyFilesTakeTheNewLinesAndEndEmptyAgain) {
  Driver driver(kTape, "txr580");
  driver.lay({ "", "", "", "" });
  add_then_delete(driver, "TX-R580", "Shop 12", kTape12x50);
}

TEST(StoreEndToEnd, LinesHoldingNulBytesAreCopiedWholeAndTestedUpToTheNul) {
  Driver driver(kTape, "txr580");
  std::string old_id = kShelfEdgeId;
  driver.lay({
    "[General]\nx" + kNul + "[CustomTape]\n[CustomTape]" + kNul + "tail\n"
        "*PageSize " + old_id + "/Shelf edge" + kNul + ": x\n[End]\n",
    "*PageSize " + old_id + "/Shelf edge: x\njunk" + kNul + old_id + "\n" +
        old_id + "/Shelf edge:\t70\t707\n",
    "Media=" + old_id + kNul + "x\nOther=" + kNul + old_id + "\n",
    "keep" + kNul + old_id + ":\n" + old_id + ":\t0" + kNul + "tail\n",
  });
  RunResult del = driver.run({ "-P", "q", "-d", "Shelf edge" });
  EXPECT_EQ(0, del.exit_status);
  EXPECT_EQ("", del.out);
  std::vector<std::string> cleared = {
    "[General]\nx" + kNul + "[CustomTape]\n[CustomTape]" + kNul + "tail\n"
        "[End]\n",
    "junk" + kNul + old_id + "\n",
    "Media=vtS12mm\nOther=" + kNul + old_id + "\n",
    "keep" + kNul + old_id + ":\n",
  };
  driver.expect_files(cleared);

  RunResult add = driver.run({ "-P", "q", "-n", "N", "-w", "12", "-h", "50" });
  EXPECT_EQ(0, add.exit_status);
  std::string id = added_id(driver.files);
  std::string page_size = standin_page_size_line(id, "N", "10", "50");
  driver.expect_files({
    "[General]\nx" + kNul + "[CustomTape]\n[CustomTape]" + kNul + "tail\n" +
        id + "/N\n[End]\n" + page_size,
    cleared[1] + page_size + id + "/N:\t70\t353\n",
    cleared[2],
    cleared[3] + id + ":\t0.00\t0.00\t28.00\t141.52\n",
  });
}

TEST(StoreEndToEnd, LinesOf100KilobytesComeThroughWhole) {
  Driver driver(kTape, "txr580");
  std::string long_line = std::string(100 * 1024, 'L') + "\n";
  std::vector<std::string> contents = driver.original;
  for (std::string& content : contents)
    content = long_line + content + long_line;
  // The function file's long line also carries a section of its own.
  contents[0] += std::string(100 * 1024, 'C') + "[CustomTape]\n";
  driver.lay(contents);
  RunResult add = driver.run({ "-P", "q", "-n", "N", "-w", "12", "-h", "50" });
  EXPECT_EQ(0, add.exit_status);
  std::string id = added_id(driver.files);
  driver.expect_files(after_add(contents, id, "N", "10", "50", "70\t353",
                                "0.00\t0.00\t28.00\t141.52"));
  RunResult del = driver.run({ "-P", "q", "-d", "N" });
  EXPECT_EQ(0, del.exit_status);
  driver.expect_files();
}

TEST(StoreEndToEnd, RewrittenFilesEndMode0666WithNoTemporaryFileLeft) {
  Driver driver(kTape, "txr580");
  for (const std::string& path : driver.files.all())
    chmod(path.c_str(), 0600);
  // The tool inherits the umask; only an explicit mode change gives 0666.
  ScopedUmask umask_077(077);
  RunResult add = driver.run({ "-P", "q", "-n", "N", "-w", "12", "-h", "50" });
  EXPECT_EQ(0, add.exit_status);
  // Adding leaves the resource file alone.
  EXPECT_EQ(0666, file_mode(driver.files.function_file));
  EXPECT_EQ(0666, file_mode(driver.files.media_info));
  EXPECT_EQ(0600, file_mode(driver.files.resource));
  EXPECT_EQ(0666, file_mode(driver.files.print_area));
  RunResult del = driver.run({ "-P", "q", "-d", "Shelf edge" });
  EXPECT_EQ(0, del.exit_status);
  for (const std::string& path : driver.files.all())
    EXPECT_EQ(0666, file_mode(path)) << path;
  EXPECT_EQ((std::vector<std::string>{ "PrintArea", "mediainftxr580",
                                       "vttxr580func", "vttxr580rc" }),
            dir_entries(driver.inf_dir()));
}

TEST(StoreEndToEnd, ShellMetacharactersReachTheCompanionLiterally) {
  const char* names[] = {
    "a\"b", "$(touch pwned1)", "`touch pwned2`", "x; touch pwned3", "*",
    "  two  blanks ", "'q' && touch pwned4", "a|b>pwned5", "\\back\\",
    "%s%n $HOME",
  };
  const std::string printer = "TX R580;touch pwnedP";
  Driver driver(kTape, "txr580");
  for (const char* name : names) {
    SCOPED_TRACE(name);
    RunResult add = driver.run({ "-P", printer, "-n", name, "-w", "12",
                                 "-h", "50" });
    EXPECT_EQ(0, add.exit_status);
    EXPECT_EQ("", add.out);
    std::string id = added_id(driver.files);
    std::string arg0 = driver.companion_arg0();
    std::vector<std::string> log = lines_of(driver.companion_log());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(bracketed({ arg0, "-P", printer, "-d", name, "-show", "1" }),
              log[log.size() - 2]);
    EXPECT_EQ(bracketed({ arg0, "-P", printer, "-n", name, "-w", "10", "-h",
                          "50", "-specid", id, "-show", "1" }),
              log.back());
    EXPECT_NE(std::string::npos, read_file(driver.files.function_file)
                                     .find("\n" + id + "/" + name + "\n"));
    RunResult del = driver.run({ "-P", printer, "-d", name });
    EXPECT_EQ(0, del.exit_status);
    EXPECT_EQ("", del.out);
    EXPECT_EQ(bracketed({ arg0, "-P", printer, "-d", name, "-show", "1" }),
              lines_of(driver.companion_log()).back());
    driver.expect_files();
  }
  // Nothing ran: no file appeared beside the driver tree or in the
  // directory the tests were started from.
  EXPECT_EQ((std::vector<std::string>{ "companion.log", "vantrel" }),
            dir_entries(driver.top()));
  for (const char* made : { "pwned1", "pwned2", "pwned3", "pwned4", "pwned5",
                            "pwnedP" })
    EXPECT_FALSE(file_exists(made)) << made;
}
