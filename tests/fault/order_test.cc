// SPDX-License-Identifier: GPL-2.0-or-later
// The companion tool sees the driver files as they are when it runs. An
// add request that replaces a format runs it for the delete, takes the
// old format out of every file, and only then runs it for the add; a
// delete step that fails stops the request before the add's run.

#include <errno.h>
#include <string.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "split_lines.h"

namespace {

const char kOldId[] = "VtL_vtS12mm__0A0A0642F3C1";

TEST(RequestOrder, AddRunsOnlyOnceTheOldFormatIsOutOfTheFiles) {
  struct Case {
    const char* what;
    int missing;  // index in DriverFiles::all, or -1
    int fail_rename;  // the rename call to fail, or 0
    int stage;    // of replace_stages, where the files end up
    std::string out;
    std::vector<std::string> probes;  // per companion run
  } cases[] = {
    { "all files there", -1, 0, 8, "", { "{held}", "{gone}" } },
    // Certain to fail: refused before anything runs.
    { "resource file missing", 2, 0, 0,
      std::string(strerror(ENOENT)) + "\n", {} },
    { "imageable-area file missing", 3, 0, 0,
      std::string(strerror(ENOENT)) + "\n", {} },
    // The delete's second rename is the resource file's.
    { "resource file rename fails", -1, 2, 1,
      std::string(strerror(EIO)) + "\n", { "{held}" } },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    std::vector<std::string> argv = driver.argv(kAddShelfEdge);
    ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
    // The identifier stands in every file that holds the old format.
    ScopedEnv probe("VT_STANDIN_PROBE", kOldId);
    Contents before = driver.original;
    if (c.missing >= 0) {
      unlink(driver.files.all()[c.missing].c_str());
      before[c.missing] = "";
    }
    FaultyFileOps faulty;
    faulty.fail_kind = FaultyFileOps::kRename;
    faulty.fail_at = c.fail_rename;
    faulty.fail_errno = EIO;
    std::string out;

    EXPECT_EQ(c.out.empty() ? 0 : 255,
              run_tool_here(argv, driver.store_env(&faulty), &out));
    EXPECT_EQ(c.out, out);
    std::string log = driver.companion_log();
    std::vector<std::string_view> runs = split_lines(log);
    ASSERT_EQ(c.probes.size(), runs.size()) << log;
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_NE(std::string::npos, runs[i].find(i == 0 ? "[-d]" : "[-n]"));
      EXPECT_NE(std::string::npos, runs[i].find(c.probes[i])) << runs[i];
    }
    EXPECT_EQ(c.stage, stage_of(replace_stages(
        before, argv, logged_format_id(driver.log_path()), kOldId,
        "Media=vtS12mm\n"), driver.contents()));
    EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
  }
}

TEST(RequestOrder, RenamesAreSyncedInTheDirectoryWhetherTheRunEndsWellOrNot) {
  struct Case {
    const char* what;
    const char* name;
    const char* companion;
    int exit_status;
    int fsyncs;  // of the temporary files, then the directory
  } cases[] = {
    { "new name", "New", "exit 0\n", 0, 3 + 1 },
    { "no rename", "New", "exit 1\n", 255, 0 },
    // The delete of the old format renamed four files before the
    // companion refused the new one.
    { "companion refuses the add", "Shelf edge",
      "case \"$*\" in *-specid*) exit 1;; esac\n", 255, 4 + 1 },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver("vtmediatoollpr_txr580", "txr580");
    driver.use_companion_script(c.companion);
    FaultyFileOps counting;
    std::string out;
    EXPECT_EQ(c.exit_status, run_tool_here(driver.argv({ "-P", "q", "-n",
        c.name, "-w", "12", "-h", "30" }), driver.store_env(&counting), &out));
    EXPECT_EQ(c.fsyncs, counting.calls[FaultyFileOps::kFsync]);
  }
}

}  // namespace
