// SPDX-License-Identifier: GPL-2.0-or-later
// The built tool adding and deleting label formats on driver trees in a
// temporary directory, with the stand-in companion tool (or small shell
// scripts in its place where a test needs a companion that behaves
// otherwise).

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include <gtest/gtest.h>

#include "cli/model.h"
#include "harness.h"

namespace {

std::string bracketed(const std::vector<std::string>& args) {
  std::string line;
  for (const std::string& arg : args)
    line += (line.empty() ? "[" : " [") + arg + "]";
  return line + "\n";
}

// An add of a new name, with what its identifier says before the name's
// length and after it (up to the time digits).
struct RoundTrip {
  const char* media;
  const char* size;
  EnteredSizes sizes;
};

const RoundTrip kTape12x50Trip = { "_vtS12mm__", "0A032", kTape12x50 };
const RoundTrip kRoll62x50Trip = { "", "3E032", kRoll62x50 };

// Checks that |id| is what an add of |name| makes, up to its time digits.
void expect_id(const std::string& id, const std::string& name,
               const RoundTrip& trip) {
  char length[3];
  snprintf(length, sizeof(length), "%02zX", name.size());
  EXPECT_TRUE(std::regex_match(id, std::regex(std::string("VtL") +
      trip.media + length + trip.size + "[0-9A-F]{5}"))) << id;
}

// Adds |name| (new to the driver), checks every file and both companion
// runs, deletes it again and checks every file is back as it was.
void add_then_delete(Driver& driver, const std::string& printer,
                     const std::string& name, const RoundTrip& trip) {
  write_file(driver.log_path(), "");
  const EnteredSizes& sizes = trip.sizes;
  RunResult add = driver.run({ "-P", printer, "-n", name, "-w", sizes.width,
                               "-h", sizes.height });
  EXPECT_EQ(0, add.exit_status);
  EXPECT_EQ("", add.out);
  std::string id = logged_format_id(driver.log_path());
  expect_id(id, name, trip);
  driver.expect_files(after_add(driver.original, id, name, sizes));
  std::string arg0 = driver.companion_arg0();
  EXPECT_EQ(bracketed({ arg0, "-P", printer, "-d", name, "-show", "1" }) +
            bracketed({ arg0, "-P", printer, "-n", name, "-w",
                        sizes.fitted_width, "-h", sizes.fitted_height,
                        "-specid", id, "-show", "1" }),
            driver.companion_log());

  write_file(driver.log_path(), "");
  RunResult del = driver.run({ "-P", printer, "-d", name });
  EXPECT_EQ(0, del.exit_status);
  EXPECT_EQ("", del.out);
  driver.expect_files();
  EXPECT_EQ(bracketed({ arg0, "-P", printer, "-d", name, "-show", "1" }),
            driver.companion_log());
}

}  // namespace

TEST(StoreEndToEnd, EveryModelAddsAndDeletesOnItsOwnFiles) {
  for (const ModelEntry& model : kModels) {
    std::string program = std::string("vtmediatoollpr_") + model.model_code;
    SCOPED_TRACE(program);
    Driver driver(program, model.model_code);
    bool roll = model.model_type <= kLastRollLabelType;
    add_then_delete(driver, "Printer", "Shop 12",
                    roll ? kRoll62x50Trip : kTape12x50Trip);
  }
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

// The lookup finds a format only by the "*PageSize" lines the companion
// writes; an add whose format they do not name could never be deleted.
TEST(StoreEndToEnd, CompanionThatExitsZeroWithoutRegisteringFailsTheAdd) {
  const struct {
    const char* what;
    // Lines the add's companion appends to the function and
    // media-information files; ID stands for the new identifier.
    const char* function_line;
    const char* media_line;
  } cases[] = {
    { "no line", "", "" },
    { "the function file only", "*PageSize ID/New: x", "" },
    { "the media-information file only", "", "*PageSize ID/New: x" },
    { "another identifier for the name",
      "*PageSize VtL_vtS12mm__030A0320AAAA/New: x",
      "*PageSize VtL_vtS12mm__030A0320AAAA/New: x" },
    { "another name for the identifier", "*PageSize ID/Old: x",
      "*PageSize ID/Old: x" },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    std::string id_file = driver.top() + "/id";
    auto append = [](const std::string& line, const std::string& path) {
      return line.empty() ? std::string() : "  echo \"" + line + "\" | "
          "sed \"s|ID|${11}|\" >> '" + path + "'\n";
    };
    driver.use_companion_script(
        "case \"$*\" in *-specid*)\n  echo \"${11}\" > '" + id_file + "'\n" +
        append(c.function_line, driver.files.function_file) +
        append(c.media_line, driver.files.media_info) + "esac\n");
    RunResult run = driver.run(kAddNew);
    EXPECT_EQ(255, run.exit_status);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("vtmediatoollpr_txr580: vantrel/txr580/bin/lpd/"
              "vtmediatoolcups_txr580 exited with status 0 without "
              "registering the format\n", run.err);
    // What the companion wrote, and none of the add's own lines.
    std::string id = read_file(id_file);
    id.pop_back();
    Contents expected = driver.original;
    for (auto [line, file] : { std::pair(c.function_line, 0),
                               std::pair(c.media_line, 1) }) {
      std::string text = line;
      if (text.find("ID") != std::string::npos)
        text.replace(text.find("ID"), 2, id);
      if (!text.empty())
        expected[file] += text + "\n";
    }
    driver.expect_files(expected);
  }
}

TEST(StoreEndToEnd, MissingDataFileRefusesTheRunBeforeItStarts) {
  // A request that would rewrite the missing file is refused before the
  // companion runs, naming the file, and changes nothing.
  const std::string kMissing = "No such file or directory\n";
  const struct {
    const std::vector<std::string>& args;
    int missing;  // index in DriverFiles::all
    std::string out;
  } cases[] = {
    // Without a function file there is nothing to delete.
    { kDeleteShelfEdge, 0, "Not found 'Shelf edge'\n" },
    { kDeleteShelfEdge, 1, kMissing }, { kDeleteShelfEdge, 2, kMissing },
    { kDeleteShelfEdge, 3, kMissing }, { kAddNew, 0, kMissing },
    { kAddNew, 1, kMissing },
    { kAddNew, 2, "" },  // adding never touches the resource file
    { kAddNew, 3, kMissing },
    // ... but the delete that replacing a format begins with does.
    { kAddShelfEdge, 2, kMissing },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[2] + " " + c.args[3] + ", missing file " +
                 std::to_string(c.missing));
    Driver driver(kTape, "txr580");
    std::string missing = driver.files.all()[c.missing];
    unlink(missing.c_str());
    RunResult run = driver.run(c.args);
    bool refused = c.out == kMissing;
    EXPECT_EQ(refused ? 255 : 0, run.exit_status);
    EXPECT_EQ(c.out, run.out);
    // A failure names the file, as the tool reached it from its root.
    EXPECT_EQ(refused ? "vtmediatoollpr_txr580: " +
              missing.substr(driver.top().size() + 1) + ": " + c.out : "",
              run.err);
    EXPECT_EQ(refused, driver.companion_log().empty());
    driver.expect_files(c.out.empty() ? after_add(driver.original,
        logged_format_id(driver.log_path()), "New", kTape12x50) :
        driver.original, missing);
  }
}

TEST(StoreEndToEnd, ShellMetacharactersReachTheCompanionLiterally) {
  const char* names[] = {
    "a\"b", "$(touch pwned1)", "`touch pwned2`", "x; touch pwned3", "*",
    "  two  blanks ", "'q' && touch pwned4", "a|b>pwned5", "\\back\\",
    "%s%n $HOME",
  };
  Driver driver(kTape, "txr580");
  for (const char* name : names) {
    SCOPED_TRACE(name);
    add_then_delete(driver, "TX R580;touch pwnedP", name, kTape12x50Trip);
  }
  // Nothing ran: no file appeared beside the driver tree or in the
  // directory the tests were started from.
  EXPECT_EQ((std::vector<std::string>{ "companion.log", "vantrel" }),
            dir_entries(driver.top()));
  for (const char* made : { "pwned1", "pwned2", "pwned3", "pwned4", "pwned5",
                            "pwnedP" })
    EXPECT_FALSE(file_exists(made)) << made;
}
