// SPDX-License-Identifier: GPL-2.0-or-later
// The whole program in this process: an argument vector with no program
// name at all, which the built executable cannot be given (the kernel
// puts one in), the version the build defines, and the help texts. What
// the executable shows on standard error is checked end to end.
#include "cli/tool.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/model.h"
#include "harness.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
};

// Only answers that never reach the driver are run here, so the driver
// root names nothing.
ToolRun run(const std::vector<std::string>& argv) {
  StoreEnv env;
  env.driver_root = "/nonexistent/vtmedia-tool-test";
  ToolRun result;
  result.status = run_tool_here(argv, env, &result.out);
  return result;
}

TEST(RunTool, EmptyArgumentVectorGivesInvalidLineWithEmptyName) {
  ToolRun result = run({});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ(" is invalid.\n\n", result.out);
}

TEST(RunTool, VersionUnderAnyNameAndHelpOfItsOwn) {
  for (const char* name : { "vtmediatoollpr", "vtmediatoollpr_txr580" }) {
    ToolRun version = run({ name, "--version" });
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(std::string("vtmediatoollpr ") + VT_VERSION + "\n"
              "Copyright (C) 2026 Vantrel driver maintainers\n"
              "License GPL-2.0-or-later "
              "<https://www.gnu.org/licenses/gpl-2.0.html>.\n"
              "This is free software: you are free to change and "
              "redistribute it.\n"
              "There is NO WARRANTY, to the extent permitted by law.\n",
              version.out);
  }
  const struct {
    const char* name;
    std::vector<std::string> parts;  // in this order
  } helps[] = {
    { "vtmediatoollpr_txr580",
      { "Usage: vtmediatoollpr_txr580 -P QUEUE -n NAME -w WIDTH -h HEIGHT\n",
        "  or:  vtmediatoollpr_txr580 -P QUEUE --apply FILE | --sync FILE\n",
        "  or:  vtmediatoollpr_txr580 --diff FILE\n",
        "--list | --export | --help | --version\n",
        "  -P QUEUE   the printer queue, 1 to 1024 bytes\n",
        "  -n NAME    add the format NAME, 1 to 32 bytes,", "  -w WIDTH",
        "  -h HEIGHT", "  -d NAME",
        "  --list", "  --export", "  --apply FILE\n", "  --sync FILE\n",
        "  --diff FILE\n", "  --help", "  --version",
        "  3.5: 2  6: 4  9: 7  12: 10  18: 16  24: 22\n", "\"HS\" or \"hs\"",
        "  6: 4  9: 7  12: 9  18: 15  24: 18\n",
        "only where -n comes before -w and -h:\n"
        "  -n 'HS cable' -w 12 -h 30   stores 9 x 30 mm on 12 mm tube\n"
        "  -w 12 -h 30 -n 'HS cable'   stores 10 x 30 mm on 12 mm tape\n",
        "4 mm to 1000 mm on tape and 500 mm on tube",
        "A formats file", "\"tube\"", "\"tape\"", "selected",
        "vtmediatoollpr_txr580 -P TX-R580 -n",
        "vtmediatoollpr_txr580 --export > formats.tsv\n",
        "vtmediatoollpr_txr580 -P TX-R580 --apply formats.tsv\n",
        "Exit status: 0", "; 1 when --export", "--diff finds", "; 2 when",
        "; 255\nwhen" } },
    { "vtmediatoollpr_rk210",
      { "Usage: vtmediatoollpr_rk210 -P QUEUE",
        "A formats file", "; a fourth field is refused.\n",
        "vtmediatoollpr_rk210 -P QUEUE -d" } },
  };
  for (const auto& help : helps) {
    ToolRun run_help = run({ help.name, "--help" });
    EXPECT_EQ(0, run_help.status);
    size_t at = 0;
    for (const std::string& part : help.parts) {
      at = run_help.out.find(part, at);
      EXPECT_NE(std::string::npos, at) << help.name << ": " << part;
    }
  }
  // Tape rules mean nothing on a roll-label model.
  EXPECT_EQ(std::string::npos,
            run({ "vtmediatoollpr_rk210", "--help" }).out.find("tube"));
}

// Checks that |help|, from |at| on, holds a row for each model of the
// table, one after the other: its name and what it prints on. Returns
// where the rows end.
size_t after_model_rows(const std::string& help, size_t at) {
  for (const ModelEntry& model : kModels) {
    std::string name = std::string("  vtmediatoollpr_") + model.model_code;
    std::string kind = model.model_type <= kLastRollLabelType ?
        " roll labels\n" : " tape\n";
    size_t end = help.find('\n', at);
    std::string line = help.substr(at, end == std::string::npos ?
                                       std::string::npos : end - at + 1);
    EXPECT_EQ(0u, line.rfind(name + " ", 0)) << line;
    EXPECT_EQ(line.size() - kind.size(), line.find(kind)) << line;
    if (end == std::string::npos)
      return end;
    at = end + 1;
  }
  return at;
}

// The model names are the only ones on the PATH, so each model's help is
// where a user learns the others.
TEST(RunTool, EveryModelsHelpEndsWithTheModelNames) {
  const std::string header = "installed under one name per model, each on "
                             "the PATH:\n";
  for (const ModelEntry& model : kModels) {
    std::string name = std::string("vtmediatoollpr_") + model.model_code;
    ToolRun help = run({ name, "--help" });
    size_t at = help.out.find(header);
    ASSERT_NE(std::string::npos, at) << name;
    EXPECT_EQ(help.out.size(), after_model_rows(help.out, at + header.size()))
        << name;
  }
}

// Under its own name, which holds no model, the tool can still say under
// which names it works.
TEST(RunTool, HelpWithoutAModelListsTheNamesToInstallUnder) {
  for (const char* name : { "vtmediatoollpr",
                            "/usr/libexec/vtmediatoollpr/vtmediatoollpr",
                            "vtmediatoollpr_RK210" }) {
    ToolRun help = run({ name, "--help" });
    EXPECT_EQ(0, help.status) << name;
    const std::string header = "symbolic link to it:\n";
    size_t at = help.out.find(header);
    ASSERT_NE(std::string::npos, at) << name;
    after_model_rows(help.out, at + header.size());
    // Anything else under such a name is refused.
    ToolRun list = run({ name, "--list" });
    EXPECT_EQ(2, list.status) << name;
    EXPECT_EQ(std::string(name) + " is invalid.\n\n", list.out);
  }
}

}  // namespace
