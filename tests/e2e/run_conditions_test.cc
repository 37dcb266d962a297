// SPDX-License-Identifier: GPL-2.0-or-later
// What a run inherits or meets beyond its command line: a parent that
// closed standard output or ignores SIGCHLD, a user who may not replace
// the files, a set-ID copy of the tool, and a clock that gives two
// formats the same identifier.

#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"

TEST(RunConditions, ClosedStandardOutputOrIgnoredSigchldChangeNothing) {
  const char kChatter[] = "companion chatter";
  struct Case {
    const char* what;
    ChildSetup in_child;
    const char* chatter_on = "VT_STANDIN_CHATTER_OUT=";
  } cases[] = {
    { "standard output closed", [] { close(1); } },
    { "standard error closed", [] { close(2); }, "VT_STANDIN_CHATTER_ERR=" },
    { "SIGCHLD ignored", [] { signal(SIGCHLD, SIG_IGN); } },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    RunResult add = driver.run(kAddNew, { std::string("VT_STANDIN_CHATTER=") +
                                       kChatter, c.chatter_on }, c.in_child);
    EXPECT_EQ(0, add.exit_status);
    // The format is entered whole, and the chatter nowhere.
    driver.expect_files(after_add(driver.original,
        logged_format_id(driver.log_path()), "New", kTape12x50));
  }
}

TEST(RunConditions, EachCheckBeforeTheCompanionJudgesAsTheFilesSystemWill) {
  if (geteuid() != 0)
    GTEST_SKIP() << "needs root to run the tool as another user";
  struct Case {
    const char* what;
    mode_t dir_mode;
    const std::vector<std::string>& args;
    const char* out;  // "" for a run that succeeds
    const char* named = "";  // the file standard error names, if not the
                             // directory
    bool dir_is_nobodys = false;
    mode_t function_file_mode = 0666;
  } cases[] = {
    // A user who may not replace the files is refused before anything runs.
    { "0755 tree, add", 0755, kAddNew, "Permission denied\n" },
    { "0755 tree, delete", 0755, kDeleteShelfEdge, "Permission denied\n" },
    { "sticky tree, add", 01777, kAddNew, "Operation not permitted\n",
      "/vttxr580func" },
    { "sticky tree, delete", 01777, kDeleteShelfEdge,
      "Operation not permitted\n", "/vttxr580func" },
    { "directory writable, not searchable", 0776, kAddNew,
      "Permission denied\n" },
    { "function file not readable", 0777, kAddNew, "Permission denied\n",
      "/vttxr580func", false, 0600 },
    // The directory's owner may replace anybody's file in it.
    { "sticky directory of the user", 01777, kAddNew, "", "", true },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    driver.use_copy_of_tool();
    ASSERT_EQ(0, chmod(driver.inf_dir().c_str(), c.dir_mode));
    if (c.dir_is_nobodys) {
      ASSERT_EQ(0, chown(driver.inf_dir().c_str(), kNobody, kNobody));
    }
    for (const std::string& path : driver.files.all())
      ASSERT_EQ(0, chmod(path.c_str(), 0666));
    ASSERT_EQ(0, chmod(driver.files.function_file.c_str(),
                       c.function_file_mode));
    // The companion tool runs as nobody too.
    write_file(driver.log_path(), "");
    chmod(driver.log_path().c_str(), 0666);
    RunResult run = driver.run(c.args, {}, as_nobody());
    EXPECT_EQ(*c.out ? 255 : 0, run.exit_status);
    EXPECT_EQ(c.out, run.out);
    if (*c.out != '\0') {
      EXPECT_EQ(std::string(kTape) + ": vantrel/txr580/bin/inf" + c.named +
                ": " + c.out, run.err);
      EXPECT_EQ("", driver.companion_log()) << "the companion tool ran";
      driver.expect_files();
    }
  }
}

TEST(RunConditions, CompanionStartsWithTheDefaultActionForAFileTooLarge) {
  // The tool ignores SIGXFSZ so that a write past the limit fails as a
  // full disk does; its companion must meet the limit as it would anywhere.
  Driver driver(kTape, "txr580");
  std::string status = driver.top() + "/status";
  driver.use_companion_script("exec 2>/dev/null\n"
                              "(ulimit -f 1; exec head -c 4096 /dev/zero > '" +
                              driver.top() + "/big')\n"
                              "echo $? > '" + status + "'\n");
  EXPECT_EQ(0, driver.run(kDeleteShelfEdge).exit_status);
  EXPECT_EQ(std::to_string(128 + SIGXFSZ) + "\n", read_file(status));
}

TEST(RunConditions, SetIdCopyRunByAnotherUserIsRefusedButAnswersVersion) {
  if (geteuid() != 0)
    GTEST_SKIP() << "needs root to make a set-ID copy and run it as nobody";
  for (mode_t set_id : { S_ISUID, S_ISGID }) {
    SCOPED_TRACE(set_id == S_ISUID ? "set-user-ID" : "set-group-ID");
    Driver driver(kTape, "txr580");
    driver.use_copy_of_tool();
    struct statvfs mount;
    ASSERT_EQ(0, statvfs(driver.top().c_str(), &mount));
    if (mount.f_flag & ST_NOSUID)
      GTEST_SKIP() << driver.top() << " is mounted nosuid";
    driver.set_tool_copy_mode(0755 | set_id);
    // The tree is root's, and its group may write it: with root's rights
    // a run would change it.
    ASSERT_EQ(0, chmod(driver.inf_dir().c_str(), 0775));
    for (const std::string& path : driver.files.all())
      ASSERT_EQ(0, chmod(path.c_str(), 0664));
    write_file(driver.log_path(), "");
    chmod(driver.log_path().c_str(), 0666);
#ifdef __SANITIZE_ADDRESS__
    // The leak check cannot look into a process nobody started set-ID
    // (which may not even read its own environment to be told not to).
    if (set_id == S_ISGID)
      GTEST_SKIP() << "LeakSanitizer fails a set-group-ID run by nobody";
#endif
    for (const auto& args : { kAddNew, kDeleteShelfEdge, kList }) {
      RunResult run = driver.run(args, {}, as_nobody());
      EXPECT_EQ(255, run.exit_status) << args[0];
      EXPECT_EQ(args == kList ? "" : "Operation not permitted\n", run.out);
      EXPECT_EQ("vtmediatoollpr_txr580: not to be installed set-user-ID or "
                "set-group-ID, which hands the driver files to whoever runs "
                "it; let users run it with sudo\n", run.err);
    }
    EXPECT_EQ("", driver.companion_log()) << "the companion tool ran";
    driver.expect_files();
    RunResult version = driver.run({ "--version" }, {}, as_nobody());
    EXPECT_EQ(0, version.exit_status);
    EXPECT_EQ(0u, version.out.find("vtmediatoollpr ")) << version.out;
  }
}

TEST(RunConditions, NewIdentifierNeverStandsWholeInAnotherFormat) {
  // Roll-label identifiers, held still by the clock: "VtL" 02 (name
  // length) 10 (16 mm) 032 (50 mm), then the time: a seconds digit and
  // four microsecond digits.
  struct Case {
    const char* what;
    const char* first_time;  // of the format added first
    std::vector<std::string> first;
    const char* first_id;
    const char* second_time;
    const char* second_id;  // of "AA" at 16 x 50
  } cases[] = {
    { "same name length, size and time", "16.256",
      { "-P", "q", "-n", "BB", "-w", "16", "-h", "50" }, "VtL021003200100",
      "16.256", "VtL021003200101" },
    // BB at 256 x 800 five seconds on: AA's identifier would be its head.
    { "head of a longer identifier", "21.4660",
      { "-P", "q", "-n", "BB", "-w", "256", "-h", "800" },
      "VtL0210032051234", "16.20771", "VtL021003205123" },
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kRoll, "rk210");
    auto at = [&](const char* time) {
      std::vector<std::string> env = preloading(VT_FROZEN_CLOCK);
      env.push_back(std::string("VT_FROZEN_TIME=") + time);
      return env;
    };
    ASSERT_EQ(0, driver.run(c.first, at(c.first_time)).exit_status);
    Contents with_first = driver.contents();
    EXPECT_NE(with_first, without_lines_holding(with_first, c.first_id));

    RunResult add = driver.run({ "-P", "q", "-n", "AA", "-w", "16", "-h",
                                 "50" }, at(c.second_time));
    ASSERT_EQ(0, add.exit_status);
    Contents with_second = driver.contents();
    EXPECT_NE(with_second, without_lines_holding(with_second, c.second_id));

    RunResult del = driver.run({ "-P", "q", "-d", "AA" });
    EXPECT_EQ(0, del.exit_status);
    EXPECT_EQ("", del.out);
    EXPECT_EQ(with_first, driver.contents());
  }
}
