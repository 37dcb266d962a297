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

#include <set>

#include <gtest/gtest.h>

#include "harness.h"
#include "split_lines.h"

namespace {

struct FaultCase {
  const char* label;
  const char* model;
  std::vector<std::string> args;
  // For a request that deletes a format: its identifier, and the line a
  // resource-file setting of it falls back to.
  const char* deleted_id;
  const char* default_media;
};

const FaultCase kCases[] = {
  { "add on a tape model", "txr580",
    { "-P", "TX-R580", "-n", "Shop 12", "-w", "12", "-h", "50" }, "", "" },
  { "add on a roll-label model", "rk210",
    { "-P", "RK-210", "-n", "Parcel", "-w", "62", "-h", "50" }, "", "" },
  { "delete on a tape model", "txr580",
    { "-P", "TX-R580", "-d", "Shelf edge" },
    kShelfEdgeId, "Media=vtS12mm\n" },
  { "delete on a roll-label model", "rk210",
    { "-P", "RK-210", "-d", "Address label" },
    kAddressLabelId, "MediaSize=29X1\n" },
  { "add replacing a format", "txr580",
    { "-P", "TX-R580", "-n", "Shelf edge", "-w", "12", "-h", "30" },
    kShelfEdgeId, "Media=vtS12mm\n" },
};

const int kInjectedError = EIO;
const int kMaxCalls = 1000;

bool deletes_only(const FaultCase& c) { return c.args[2] == "-d"; }

int open_descriptor_count() {
  return static_cast<int>(dir_entries("/proc/self/fd").size());
}

TEST(FailingFileCalls, EveryFailureLeavesFilesWholeAndIsReported) {
  for (const FaultCase& c : kCases) {
    SCOPED_TRACE(c.label);
    Driver driver(std::string("vtmediatoollpr_") + c.model, c.model);
    std::vector<std::string> argv = driver.argv(c.args);
    ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
    const Contents& before = driver.original;

    int failures_reported = 0;
    // The last sync of a run is the directory's, after the last rename.
    bool last_sync_reported = false;
    std::set<int> kinds_failed;
    int n = 1;
    for (; n < kMaxCalls; ++n) {
      driver.restore();
      write_file(driver.log_path(), "");
      FaultyFileOps faulty(n, kInjectedError);
      int descriptors = open_descriptor_count();

      std::string out;
      int status = run_tool_here(argv, driver.store_env(&faulty), &out);
      SCOPED_TRACE("failing call " + std::to_string(n) + ": " +
                   faulty.failed_call);

      EXPECT_EQ(descriptors, open_descriptor_count());
      EXPECT_EQ(std::vector<std::string>(), driver.temp_files());
      std::string format_id = logged_format_id(driver.log_path());
      std::vector<Contents> stages = request_stages(
          before, argv, format_id, c.deleted_id, c.default_media);
      int stage = stage_of(stages, driver.contents());
      EXPECT_NE(-1, stage) << "a data file is neither old nor new";
      int last = static_cast<int>(stages.size()) - 1;

      if (!faulty.fault_hit) {
        EXPECT_EQ(0, status);
        EXPECT_EQ(!deletes_only(c) && *c.deleted_id != '\0' ? 8 : 4, last);
        EXPECT_EQ(last, stage);
        // Every kind of file call the request makes went through the
        // seam and was made to fail.
        for (int kind = 0; kind < FaultyFileOps::kAnyCall; ++kind) {
          if (faulty.calls[kind] > 0) {
            EXPECT_EQ(1u, kinds_failed.count(kind)) << "never failed: "
                << FaultyFileOps::kind_name(FaultyFileOps::Kind(kind));
          }
        }
        break;
      }
      kinds_failed.insert(faulty.failed_kind);
      if (faulty.failed_kind == FaultyFileOps::kFsync)
        last_sync_reported = status != 0;
      if (status == 0) {
        // Only a call whose failure loses nothing may pass unnoticed:
        // closing a file that was only read, or the lock, which closing
        // lets go as well as unlocking; copying the attributes that are
        // not ACLs, which come where they can; and giving a file back to
        // its owner, which only root can.
        EXPECT_TRUE(faulty.failed_call == "close" ||
                    faulty.failed_call == "flock LOCK_UN" ||
                    faulty.failed_call == "copy_attributes others" ||
                    (faulty.failed_kind == FaultyFileOps::kFchown &&
                     geteuid() != 0));
        EXPECT_EQ("", out);
        EXPECT_EQ(last, stage);
      } else {
        EXPECT_EQ(255, status);
        EXPECT_EQ(std::string(strerror(kInjectedError)) + "\n", out);
        ++failures_reported;
        expect_finished_by_the_same_command(driver, c.args, c.deleted_id,
                                            c.default_media);
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
// old format out of every file, and only then runs it for the add. (A
// delete step that fails stops the request before the add's run: the
// failing calls above show it.)
TEST(RequestOrder, AddRunsOnlyOnceTheOldFormatIsOutOfTheFiles) {
  Driver driver(kTape, "txr580");
  ScopedEnv log_env("VT_STANDIN_LOG", driver.log_path());
  // The identifier stands in every file that holds the old format.
  ScopedEnv probe("VT_STANDIN_PROBE", kShelfEdgeId);
  std::string out;
  EXPECT_EQ(0, run_tool_here(driver.argv(kAddShelfEdge), driver.store_env(),
                             &out));
  std::string log = driver.companion_log();
  std::vector<std::string_view> runs = split_lines(log);
  ASSERT_EQ(2u, runs.size()) << log;
  EXPECT_NE(std::string::npos, runs[0].find("[-d]"));
  EXPECT_NE(std::string::npos, runs[0].find("{held}")) << runs[0];
  EXPECT_NE(std::string::npos, runs[1].find("[-n]"));
  EXPECT_NE(std::string::npos, runs[1].find("{gone}")) << runs[1];
}

TEST(RequestOrder, RenamesAreSyncedInTheDirectoryWhetherTheRunEndsWellOrNot) {
  struct Case {
    const char* what;
    const char* name;
    const char* companion;
    int exit_status;
    int fsyncs;  // of the temporary files, then the directory
  } cases[] = {
    { "new name", "New", "", 0, 3 + 1 },
    { "no rename", "New", "exit 1\n", 255, 0 },
    // The delete of the old format renamed four files before the
    // companion refused the new one.
    { "companion refuses the add", "Shelf edge",
      "case \"$*\" in *-specid*) exit 1;; esac\n", 255, 4 + 1 },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver("vtmediatoollpr_txr580", "txr580");
    driver.use_companion_script_then_standin(c.companion);
    FaultyFileOps counting;
    std::string out;
    EXPECT_EQ(c.exit_status, run_tool_here(driver.argv({ "-P", "q", "-n",
        c.name, "-w", "12", "-h", "30" }), driver.store_env(&counting), &out));
    EXPECT_EQ(c.fsyncs, counting.calls[FaultyFileOps::kFsync]);
  }
}

}  // namespace
