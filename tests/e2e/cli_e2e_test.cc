// SPDX-License-Identifier: GPL-2.0-or-later
// The shipped executable, started under many program names and command
// lines that never reach the driver: it must pick the model from argv[0]
// and answer on standard output. Adding and deleting formats is
// checked elsewhere, on driver trees of the tests' own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "arg_vector.h"
#include "cli/model.h"
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

// The usage screen names the model and queue, so it shows which model a
// program name reached.
TEST(CliEndToEnd, EveryModelNameReachesItsModel) {
  for (const ModelEntry& model : kModels) {
    std::string screen = expected_usage_screen(model.model_code, model.queue);
    std::string file = std::string("vtmediatoollpr_") + model.model_code;
    expect_answer({ file }, screen);
    expect_answer({ std::string("vtmediatoollpr_") + model.key }, screen);
    expect_answer({ "/usr/local/bin/" + file }, screen);
    expect_answer({ std::string("/opt/vantrel/") + model.model_code +
                    "/bin/lpd/" + file }, screen);
  }
}

TEST(CliEndToEnd, UnknownNameGetsOnlyTheInvalidLine) {
  const char* const names[] = {
    "vtmediatoollpr",
    "vtmediatoollpr_RK210",
    "/usr/local/bin/vtmediatoollpr_TXR580",
    "vtmediatoollpr_txr58",
    "vtmediatoollpr_rk380",
    "vtmediatoollpr name with blanks",
    "%s%n%s",
    // An empty argument vector reaches the program as one empty name (the
    // kernel puts it in); the tool's own test runs it with none.
    "",
  };
  for (const char* name : names) {
    std::string line = std::string(name) + " is invalid.\n\n";
    expect_answer({ name }, line);
    // The name is judged before any argument, even a valid request.
    expect_answer({ name, "-P", "q", "-n", "a", "-w", "12", "-h", "50" },
                  line);
    expect_answer({ name, "-P", "q", "-d", "a" }, line);
    expect_answer({ name, "-x" }, line);
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

  make_dirs(dir.path() + "/rk260");
  std::string plain = dir.path() + "/rk260/vtmediatoollpr";
  ASSERT_EQ(0, symlink(VT_SHIPPED_TOOL, plain.c_str()));
  result = run_program(plain, { plain, "-P", "q" });
  EXPECT_EQ(0, result.exit_status);
  EXPECT_EQ(expected_usage_screen("rk260", ""), result.out);

  std::string other = dir.path() + "/vtmediatoollpr_other";
  ASSERT_EQ(0, symlink(VT_SHIPPED_TOOL, other.c_str()));
  result = run_program(other, { other });
  EXPECT_EQ(0, result.exit_status);
  EXPECT_EQ(other + " is invalid.\n\n", result.out);
}

}  // namespace
