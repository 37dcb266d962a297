// SPDX-License-Identifier: GPL-2.0-or-later
// The front end as only the process shows it: the shipped executable
// started under program names and command lines that never reach the
// driver, and what an add tells a person at a terminal. Adding and
// deleting formats is checked elsewhere, on driver trees of the tests'
// own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "arg_vector.h"
#include "expected_usage.h"
#include "harness.h"

namespace {

typedef std::vector<std::string> Args;

void expect_answer(const Args& argv, const std::string& out,
                   const std::string& err = "") {
  RunResult result = run_program(VT_SHIPPED_TOOL, argv);
  EXPECT_EQ(0, result.exit_status) << show(argv);
  EXPECT_EQ(out, result.out) << show(argv);
  EXPECT_EQ(err, result.err) << show(argv);
}

// Which names hold a model is the model table's test; here, that the
// line names the program as the process received it, before any argument
// is looked at.
TEST(CliEndToEnd, UnknownNameGetsOnlyTheInvalidLine) {
  const char* const names[] = {
    "vtmediatoollpr",
    "/usr/local/bin/vtmediatoollpr_TXR580",
    "vtmediatoollpr name with blanks",
    "%s%n%s",
    // An empty argument vector reaches the program as one empty name (the
    // kernel puts it in); the tool's own test runs it with none.
    "",
  };
  for (const char* name : names) {
    std::string line = std::string(name) + " is invalid.\n\n";
    expect_answer({ name }, line);
    expect_answer({ name, "-P", "q", "-n", "a", "-w", "12", "-h", "50" },
                  line);
  }
}

TEST(CliEndToEnd, RefusedCommandLineGetsTheUsageScreenAndItsReason) {
  const std::string kNotANumber = ": not a height of 1 to 2147483647 mm";
  const struct {
    Args args;
    std::string reason;  // on stderr after "PROGRAM: "; none where empty
  } refused[] = {
    { {}, "" },
    { { "--list", "-P" }, "--list: no such option" },
    { { "-P" }, "options come in pairs: an option, then its value" },
    { { "-P", "q", "-d" }, "options come in pairs: an option, then its value" },
    { { "-P", "q" }, "-n or -d missing: nothing to add or delete" },
    { { "-p", "q", "-d", "a" }, "-p: no such option" },
    { { "-P", "q", "-x", "y", "-d", "a" }, "-x: no such option" },
    { { "-P", "q", "-n", "a", "-d", "a" }, "-n and -d together" },
    { { "-P", "q", "-n", "a", "-w", "12" }, "-n needs -w and -h" },
    { { "-n", "a", "-w", "12", "-h", "50" },
      "-P missing: the printer queue is needed" },
    { { "-P", "q", "-n", "a", "-w", "0", "-h", "50" },
      "-w 0: not a width of 1 to 2147483647 mm" },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "0x10" },
      "-h 0x10" + kNotANumber },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "2147483648" },
      "-h 2147483648" + kNotANumber },
    { { "-P", "q", "-n", std::string(33, 'n'), "-w", "12", "-h", "50" },
      "-n: 33 bytes, at most 32" },
    { { "-P", std::string(1025, 'p'), "-d", "a" },
      "-P: 1025 bytes, at most 1024" },
    { { "-P", "q", "-d", "" }, "-d: empty" },
    { { "-P", "q", "-d", "a\nb" }, "-d: holds a control character" },
    { { "-P", "q\t", "-d", "a" }, "-P: holds a control character" },
    { { "-P", "q", "-n", "x VtL", "-w", "12", "-h", "50" },
      "-n: holds \"VtL\", which marks identifiers in the driver files" },
  };
  // The reason names the program by its file name.
  const struct {
    const char* program;
    const char* named;
    std::string screen;
  } programs[] = {
    { "vtmediatoollpr_txr580", "vtmediatoollpr_txr580: ",
      expected_usage_screen("txr580", "TX-R580") },
    { "/usr/bin/vtmediatoollpr_rk210", "vtmediatoollpr_rk210: ",
      expected_usage_screen("rk210", "") },
  };
  for (const auto& p : programs) {
    for (const auto& c : refused) {
      Args argv = { p.program };
      argv.insert(argv.end(), c.args.begin(), c.args.end());
      expect_answer(argv, p.screen,
                    c.reason.empty() ? "" : p.named + c.reason + "\n");
    }
  }
  // Widths only standard tape refuses.
  expect_answer({ "vtmediatoollpr_txr580", "-P", "q", "-n", "Shop",
                  "-w", "25", "-h", "50" },
                expected_usage_screen("txr580", "TX-R580"),
                "vtmediatoollpr_txr580: -w 25: wider than the widest tape, "
                "24 mm\n");
  expect_answer({ "vtmediatoollpr_txd270", "-P", "q", "-d", "a",
                  "-w", "36", "-h", "10" },
                expected_usage_screen("txd270", "TX-D270"),
                "vtmediatoollpr_txd270: -w 36: wider than the widest tape, "
                "24 mm\n");
}

// Installed copies are symbolic links named for their model; the kernel
// passes the link's name, not the target's, as the program name.
TEST(CliEndToEnd, SymbolicLinkNameSelectsTheModel) {
  TempDir dir;
  std::string link = dir.path() + "/vtmediatoollpr_txr580";
  ASSERT_EQ(0, symlink(VT_SHIPPED_TOOL, link.c_str()));
  RunResult result = run_program(link, { link });
  EXPECT_EQ(0, result.exit_status);
  EXPECT_EQ(expected_usage_screen("txr580", "TX-R580"), result.out);
}

// Only a person at a terminal is told what the tape rules made of an add;
// the note's wording is the option tests'.
TEST(CliEndToEnd, AddAtATerminalSaysWhatTheTapeRulesStored) {
  const std::string kNote = std::string(kTape) + ": ";
  const struct {
    std::vector<std::string> args;
    std::string shown;
  } cases[] = {
    { { "-P", "q", "-n", "Cable paths", "-w", "12", "-h", "50" },
      kNote + "'Cable paths' stored as 9 x 50 mm on 12 mm heat-shrink tube"
              " (its name holds \"hs\")\r\n" },
    { { "-P", "q", "-n", "Shelf", "-w", "10", "-h", "50" }, "" },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[3]);
    Driver driver(kTape, "txr580");
    Terminal terminal;
    EXPECT_EQ(0, wait_for(driver.start(c.args, terminal.side())));
    EXPECT_EQ(c.shown, terminal.shown());
    // Without a terminal the same add stays silent (Driver::run checks).
    driver.restore();
    EXPECT_EQ(0, driver.run(c.args).exit_status);
  }
}

}  // namespace
