#include <gtest/gtest.h>

#include "harness.h"

TEST(CliEndToEnd, AddThenDeleteSmoke) {
  TempDir dir;
  DriverFiles files = lay_driver_tree(dir.path() + "/vantrel", "txr580");
  RunResult add = run_tool_in(dir.path(), "vtmediatoollpr_txr580",
      { "-P", "TX-R580", "-n", "Shop 12", "-w", "12", "-h", "50" });
  EXPECT_EQ(0, add.exit_status);
  EXPECT_EQ("", add.out);
  EXPECT_NE(std::string::npos, read_file(files.print_area).find("28.00\t141.52"));
  RunResult del = run_tool_in(dir.path(), "vtmediatoollpr_txr580",
      { "-P", "TX-R580", "-d", "Shop 12" });
  EXPECT_EQ(0, del.exit_status);
  EXPECT_EQ("", del.out);
}
