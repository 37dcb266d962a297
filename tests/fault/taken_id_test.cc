// An add request whose new identifier an older format of the same name
// already holds: the time fields of two identifiers meet about once in a
// million re-adds. Made to happen here with a stopped clock.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "fault_support.h"
#include "split_lines.h"
#include "store/add.h"

namespace {

// The sample's "Shelf edge" on txr580, 10 x 100 mm on 12 mm tape, was
// made at a time whose seconds end in 2 and whose microseconds are
// 0xF3C1 modulo 65536.
const char kShelfEdgeId[] = "VtL_vtS12mm__0A0A0642F3C1";
const struct timeval kShelfEdgeTime = { 2, 0xF3C1 };
const struct timeval kLaterTime = { 3, 0x0123 };
const char kLaterId[] = "VtL_vtS12mm__0A0A06430123";
// Adds "Shelf edge" again at the same size.
const std::vector<std::string> kReAdd = {
  "vtmediatoollpr_txr580", "-P", "TX-R580", "-n", "Shelf edge", "-w", "12",
  "-h", "100" };

int count_holding(const std::string& content, const std::string& text) {
  int count = 0;
  for (std::string_view line : split_lines(content))
    count += line.find(text) != std::string_view::npos ? 1 : 0;
  return count;
}

}  // namespace

TEST(TakenIdentifier, ReAddIsMadeAgainUnderAnotherIdentifier) {
  LoggedTree tree("txr580");
  StoreEnv env;
  env.driver_root = tree.root;
  int reads = 0;
  env.clock = [&reads] { return reads++ == 0 ? kShelfEdgeTime : kLaterTime; };
  std::string out;
  EXPECT_EQ(0, run_tool_here(kReAdd, env, &out));
  EXPECT_EQ("", out);

  // The companion tool was asked for the first identifier, which was then
  // taken back, and for a second one.
  const std::string log = read_file(tree.log);
  std::vector<std::string_view> runs = split_lines(log);
  ASSERT_EQ(4u, runs.size());
  EXPECT_NE(std::string_view::npos, runs[0].find("[-d] [Shelf edge]"));
  EXPECT_NE(std::string_view::npos, runs[1].find(kShelfEdgeId));
  EXPECT_NE(std::string_view::npos, runs[2].find("[-d] [Shelf edge]"));
  EXPECT_NE(std::string_view::npos, runs[3].find(kLaterId));

  // The old format and the first attempt are gone; the format is entered
  // once, under the second identifier.
  Contents now = read_contents(tree.files);
  for (const std::string& content : now)
    EXPECT_EQ(0, count_holding(content, kShelfEdgeId));
  EXPECT_EQ(kLaterId, expect_entered_once(now, "Shelf edge"));
  EXPECT_EQ(count_holding(tree.before[2], kShelfEdgeId),
            count_holding(now[2], "Media=vtS12mm"));
}

TEST(TakenIdentifier, FailedReAddStillTakesTheOldFormatOut) {
  // The companion tool enters its line under the identifier the old
  // format has, and then fails: the delete that comes with every add
  // removes the old format all the same, and the failed add's line with
  // it, since the two cannot be told apart.
  LoggedTree tree("txr580");
  write_file(tree.files.companion,
             "#!/bin/sh\n"
             "while [ $# -gt 0 ]; do\n"
             "  [ \"$1\" = -specid ] && id=$2; [ \"$1\" = -n ] && name=$2\n"
             "  shift\n"
             "done\n"
             "[ -z \"$id\" ] && exit 0\n"
             "echo \"*PageSize $id/$name: x\" >> " + tree.files.function_file +
             "\nexit 1\n");
  chmod(tree.files.companion.c_str(), 0755);
  StoreEnv env;
  env.driver_root = tree.root;
  env.clock = [] { return kShelfEdgeTime; };
  std::string out;
  EXPECT_EQ(255, run_tool_here(kReAdd, env, &out));
  EXPECT_EQ("", out);
  Contents now = read_contents(tree.files);
  for (const std::string& content : now)
    EXPECT_EQ(0, count_holding(content, kShelfEdgeId));
  EXPECT_EQ(count_holding(tree.before[2], kShelfEdgeId),
            count_holding(now[2], "Media=vtS12mm"));
}
