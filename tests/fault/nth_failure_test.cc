// SPDX-License-Identifier: GPL-2.0-or-later
// Every file call an add or a delete makes is made to fail in turn, the
// first, the second, and so on until a run gets through without reaching
// the failing call. After each run every data file must be whole, in its
// old or its new content, in the order the operation changes them; no
// temporary file and no open descriptor may be left; and the run must
// report the failure with the errno of the call that failed.

#include <errno.h>
#include <string.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "arg_vector.h"
#include "cli/model.h"
#include "cli/options.h"
#include "harness.h"
#include "split_lines.h"
#include "store/add.h"
#include "store/delete.h"
#include "store/status.h"

namespace {

const char kShelfEdgeId[] = "VtL_vtS12mm__0A0A0642F3C1";

// kAdd and kDelete call the store; the add requests run the whole tool,
// so that what it prints is checked too.
enum Operation { kAdd, kDelete, kWholeAddRequest, kReplacingAddRequest };

struct FaultCase {
  const char* label;
  Operation operation;
  const char* model;
  std::vector<std::string> args;
  // For kDelete and kReplacingAddRequest: the identifier the name has,
  // and the line a resource-file setting of it falls back to.
  const char* deleted_id;
  const char* default_media;
};

const FaultCase kCases[] = {
  { "add on a tape model", kAdd, "txr580",
    { "-P", "TX-R580", "-n", "Shop 12", "-w", "12", "-h", "50" }, "", "" },
  { "add on a roll-label model", kAdd, "rk210",
    { "-P", "RK-210", "-n", "Parcel", "-w", "62", "-h", "50" }, "", "" },
  { "delete on a tape model", kDelete, "txr580",
    { "-P", "TX-R580", "-d", "Shelf edge" },
    kShelfEdgeId, "Media=vtS12mm\n" },
  { "delete on a roll-label model", kDelete, "rk210",
    { "-P", "RK-210", "-d", "Address label" },
    "VtL0D3E0641A7F0", "MediaSize=29X1\n" },
  { "whole add request", kWholeAddRequest, "txr580",
    { "-P", "TX-R580", "-n", "Shop 12", "-w", "12", "-h", "50" }, "", "" },
  { "add request replacing a format", kReplacingAddRequest, "txr580",
    { "-P", "TX-R580", "-n", "Shelf edge", "-w", "12", "-h", "30" },
    kShelfEdgeId, "Media=vtS12mm\n" },
};

const int kInjectedError = EIO;

// The settings the front end makes of |argv|, for the store's own calls.
FormatSettings settings_for(const std::vector<std::string>& argv) {
  std::vector<const char*> args = arg_pointers(argv);
  FormatSettings settings;
  EXPECT_TRUE(identify_model(args[0], &settings)) << args[0];
  EXPECT_NE(kActionUsage, parse_options(static_cast<int>(argv.size()),
                                        args.data(), &settings).action);
  return settings;
}
const int kMaxCalls = 1000;

// Runs the case's operation through |env|; returns its status, with the
// errno of a failure in |*error|.
int run(const FaultCase& c, const std::vector<std::string>& argv,
        const FormatSettings& settings, const StoreEnv& env, int* error) {
  if (c.operation == kAdd || c.operation == kDelete) {
    StoreFailure failure;
    StoreStatus status = c.operation == kAdd ?
        add_format(settings, env, &failure) :
        delete_format(settings, env, &failure);
    *error = failure.error;
    return status;
  }
  std::string out;
  int exit_status = run_tool_here(argv, env, &out);
  if (exit_status == 0)
    return kStoreDone;
  EXPECT_EQ(255, exit_status);
  EXPECT_EQ(std::string(strerror(kInjectedError)) + "\n", out);
  *error = kInjectedError;
  return kStoreFileFailed;
}

// Whatever a failure cut short, the same command run again leaves the
// files as one whole run would have: the old format gone from all four,
// the new one entered once.
void expect_finished_by_the_same_command(const FaultCase& c,
                                         const std::vector<std::string>& argv,
                                         const FormatSettings& settings,
                                         const Driver& driver) {
  int error = 0;
  int status = run(c, argv, settings, driver.store_env(), &error);
  // A delete whose last step alone failed (the directory's sync) has no
  // name left to find.
  if (!(c.operation == kDelete && status == kStoreNotFound)) {
    ASSERT_EQ(kStoreDone, status) << "run again: " << strerror(error);
  }
  Contents after = driver.contents();
  if (c.operation != kDelete) {
    std::string id = expect_entered_once(after, settings.format_name);
    after = without_lines_holding(after, id);
  }
  EXPECT_TRUE(after == (*c.deleted_id == '\0' ? driver.original :
      after_delete(driver.original, c.deleted_id, c.default_media)))
      << "run again: not one whole run";
}

TEST(FailingFileCalls, EveryFailureLeavesFilesWholeAndIsReported) {
  for (const FaultCase& c : kCases) {
    SCOPED_TRACE(c.label);
    Driver driver(std::string("vtmediatoollpr_") + c.model, c.model);
    std::vector<std::string> argv = driver.argv(c.args);
    ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
    const Contents& before = driver.original;
    FormatSettings settings = settings_for(argv);

    int failures_reported = 0;
    // The last sync of a run is the directory's, after the last rename.
    bool last_sync_reported = false;
    int n = 1;
    for (; n < kMaxCalls; ++n) {
      driver.restore();
      write_file(driver.log_path(), "");
      FaultyFileOps faulty(n, kInjectedError);
      int descriptors = open_descriptor_count();

      int error = 0;
      int status = run(c, argv, settings, driver.store_env(&faulty), &error);
      SCOPED_TRACE("failing call " + std::to_string(n) + ": " +
                   faulty.failed_call);

      EXPECT_EQ(descriptors, open_descriptor_count());
      EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
      std::string format_id = logged_format_id(driver.log_path());
      std::vector<Contents> stages =
          c.operation == kDelete ?
              delete_stages(before, c.deleted_id, c.default_media) :
          c.operation == kReplacingAddRequest ?
              replace_stages(before, argv, format_id, c.deleted_id,
                             c.default_media) :
              add_stages(before, argv, format_id);
      int stage = stage_of(stages, driver.contents());
      EXPECT_NE(-1, stage) << "a data file is neither old nor new";
      int last = static_cast<int>(stages.size()) - 1;

      if (!faulty.fault_hit) {
        EXPECT_EQ(kStoreDone, status);
        EXPECT_EQ(c.operation == kReplacingAddRequest ? 8 : 4, last);
        EXPECT_EQ(last, stage);
        break;
      }
      if (faulty.failed_kind == FaultyFileOps::kFsync)
        last_sync_reported = status == kStoreFileFailed;
      if (status == kStoreDone) {
        // Only a call whose failure loses nothing may pass unnoticed:
        // closing a file that was only read, or the lock, and giving a
        // file back to its owner, which only root can.
        if (faulty.failed_kind != FaultyFileOps::kFchown || geteuid() == 0) {
          EXPECT_EQ("close", faulty.failed_call);
        }
        EXPECT_EQ(last, stage);
      } else {
        EXPECT_EQ(kStoreFileFailed, status);
        EXPECT_EQ(kInjectedError, error) << strerror(error);
        ++failures_reported;
        expect_finished_by_the_same_command(c, argv, settings, driver);
      }
    }
    EXPECT_LT(n, kMaxCalls);
    EXPECT_TRUE(last_sync_reported) << "a failing directory sync passed";
    // Locking, every rewrite and the final sync each have calls to fail.
    EXPECT_LE(20, failures_reported);
  }
}

// The companion tool sees the driver files as they are when it runs. An
// add request that replaces a format runs it for the delete, takes the
// old format out of every file, and only then runs it for the add; a
// delete step that fails stops the request before the add's run.
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
    ScopedEnv probe("VT_STANDIN_PROBE", kShelfEdgeId);
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
        before, argv, logged_format_id(driver.log_path()), kShelfEdgeId,
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
