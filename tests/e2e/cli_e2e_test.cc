// SPDX-License-Identifier: GPL-2.0-or-later
// The front end as only the process shows it: the shipped executable
// started under program names and command lines that never reach the
// driver, and what an add tells a person at a terminal. Adding and
// deleting formats is checked elsewhere, on driver trees of the tests'
// own.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "arg_vector.h"
#include "expected_usage.h"
#include "harness.h"

namespace {

typedef std::vector<std::string> Args;

// The shipped tool run as |argv| refuses it: exit status 2, |out| on
// standard output, and one line on standard error that holds |fault|,
// "PROGRAM: ...; try 'PROGRAM --help'" with the program's file name.
void expect_refused(const Args& argv, const std::string& out,
                    const std::string& fault) {
  RunResult result = run_program(VT_SHIPPED_TOOL, argv);
  std::string program = argv[0].substr(argv[0].rfind('/') + 1);
  std::string prefix = program + ": ";
  std::string suffix = "; try '" + program + " --help'\n";
  EXPECT_EQ(2, result.exit_status) << show(argv);
  EXPECT_EQ(out, result.out) << show(argv);
  EXPECT_EQ(0u, result.err.rfind(prefix, 0)) << result.err;
  EXPECT_EQ(result.err.size() - suffix.size(), result.err.find(suffix))
      << result.err;
  EXPECT_NE(std::string::npos, result.err.find(fault)) << result.err;
}

// Which names hold a model is the model table's test; here, that the
// line names the program as the process received it, before any argument
// is looked at, and that the tool's own name still answers --help.
TEST(CliEndToEnd, UnknownNameGetsTheInvalidLineAndStatus2) {
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
    expect_refused({ name }, line, "no model code in the program name");
    expect_refused({ name, "-P", "q", "-n", "a", "-w", "12", "-h", "50" },
                   line, "no model code in the program name");
  }
  RunResult help = run_program(VT_SHIPPED_TOOL, { "vtmediatoollpr", "--help" });
  EXPECT_EQ(0, help.exit_status);
  EXPECT_NE(std::string::npos, help.out.find("  vtmediatoollpr_txd270 "));
  EXPECT_EQ("", help.err);
}

// Each kind of refused command line, the empty one among them: the usage
// screen as ever, status 2, and the fault named on standard error. The
// reasons' wording is the option tests'.
TEST(CliEndToEnd, RefusedCommandLineGetsTheScreenStatus2AndItsFault) {
  const struct {
    Args args;
    std::string fault;
  } refused[] = {
    { {}, "no options" },
    { { "-h" }, "-h needs a value" },
    { { "--lsit" }, "--lsit: no such option" },
    { { "--list", "extra" }, "--list takes no other arguments" },
    { { "-P", "q", "-n", "Shop", "12", "-w", "12", "-h", "50" },
      "-n 'Shop 12'" },
    { { "-P", "q", "-n", "Big", "Shop", "12", "-w", "12", "-h", "50" },
      "-n 'Big Shop 12'" },
    { { "-P", "q", "-x", "y", "-d", "a" }, "-x: no such option" },
    { { "-P", "q" }, "-n or -d missing" },
    { { "-n", "a", "-w", "12", "-h", "50" }, "-P missing" },
    { { "-P", "q", "-n", "a", "-d", "a" }, "-n and -d together" },
    { { "-P", "q", "-n", "a", "-w", "12" }, "-n needs -w and -h" },
    { { "-P", "q", "-n", "Too wide", "-w", "36", "-h", "50" },
      "-w 36: wider than the widest tape" },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "-5" }, "-h -5: not a height" },
    { { "-P", "q", "-n", std::string(41, 'n'), "-w", "12", "-h", "50" },
      "-n: 41 bytes" },
    { { "-P", "q", "-d", "a\tb" }, "-d: holds a control character" },
  };
  for (const auto& c : refused) {
    Args argv = { kTape };
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    expect_refused(argv, expected_usage_screen("txr580", "TX-R580"), c.fault);
  }
  // The line names the program by its file name.
  expect_refused({ "/usr/bin/vtmediatoollpr_rk210", "-P", "q" },
                 expected_usage_screen("rk210", ""), "-n or -d missing");
}

// Installed copies are symbolic links named for their model; the kernel
// passes the link's name, not the target's, as the program name.
TEST(CliEndToEnd, SymbolicLinkNameSelectsTheModel) {
  TempDir dir;
  std::string link = dir.path() + "/vtmediatoollpr_txr580";
  ASSERT_EQ(0, symlink(VT_SHIPPED_TOOL, link.c_str()));
  RunResult result = run_program(link, { link, "-P", "q" });
  EXPECT_EQ(2, result.exit_status);
  EXPECT_EQ(expected_usage_screen("txr580", "TX-R580"), result.out);
}

// Only a person at a terminal is told what the tape rules made of an add,
// on standard error; the note's wording is the option tests'.
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
    for (int fd : { 2, 1 }) {
      Terminal terminal;
      driver.restore();
      EXPECT_EQ(0, driver.run(c.args, {}, [&terminal, fd] {
        int side = open(terminal.side().c_str(), O_WRONLY | O_NOCTTY);
        if (side < 0 || dup2(side, fd) != fd)
          _exit(125);
      }).exit_status);
      EXPECT_EQ(fd == 2 ? c.shown : "", terminal.shown()) << "on fd " << fd;
    }
    // Without a terminal the same add stays silent (Driver::run checks).
    driver.restore();
    EXPECT_EQ(0, driver.run(c.args).exit_status);
  }
}

}  // namespace
