// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/add.h"

#include <stdio.h>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

// Every tape model has this type.
const int32_t kTapeType = kLastRollLabelType + 1;

// A format named |name| on a model of |model_type|.
FormatSettings format(int32_t model_type, const std::string& name,
                      int64_t width, int64_t height, int64_t head_dots = 0) {
  return { model_type, "", "", name, "", width, height, head_dots };
}

}  // namespace

TEST(AddedLines, DotsAndPointsFollowTheDriverConversion) {
  struct Case {
    const char* what;
    FormatSettings settings;
    const char* media_info;
    const char* print_area;
  } cases[] = {
    { "tape 12 mm fitted to 10, 50 long",
      format(kTapeType, "Shop 12", 10, 50, 70),
      "ID/Shop 12:\t70\t353\n", "ID:\t0.00\t0.00\t28.00\t141.52\n" },
    { "shortest tape", format(kTapeType, "T", 10, 4, 70),
      "ID/T:\t70\t28\n", "ID:\t0.00\t0.00\t28.00\t11.32\n" },
    { "widest tape head", format(kTapeType, "T", 22, 1000, 128),
      "ID/T:\t128\t7075\n", "ID:\t0.00\t0.00\t51.20\t2830.34\n" },
    { "tube wider than any row: no head dots",
      format(kTapeType, "HS", 30, 500, 0),
      "ID/HS:\t0\t3537\n", "ID:\t0.00\t0.00\t0.00\t1415.17\n" },
    { "roll 62 x 50", format(0, "R", 62, 50),
      "ID/R:\t695\t518\n", "ID:\t0.00\t0.00\t0.00\t141.52\n" },
    { "roll 62 x 100", format(0, "R", 62, 100),
      "ID/R:\t695\t1108\n", "ID:\t0.00\t0.00\t0.00\t283.03\n" },
    { "every roll-label type", format(2, "R", 62, 50),
      "ID/R:\t695\t518\n", "ID:\t0.00\t0.00\t0.00\t141.52\n" },
    // Sizes inside the margins go negative, truncated toward zero.
    { "roll 1 x 1", format(0, "R", 1, 1), "ID/R:\t-23\t-58\n",
      "ID:\t0.00\t0.00\t0.00\t2.83\n" },
    { "roll at the margins", format(0, "R", 3, 6), "ID/R:\t0\t0\n",
      "ID:\t0.00\t0.00\t0.00\t16.98\n" },
    // Dot counts past 32 bits are written in full.
    { "roll near the 32-bit limit", format(0, "R", 2147483647, 2147483647),
      "ID/R:\t25325496768\t25325496733\n",
      "ID:\t0.00\t0.00\t0.00\t6078119232.91\n" },
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.media_info, media_info_line(c.settings, "ID")) << c.what;
    EXPECT_EQ(c.print_area, print_area_line(c.settings, "ID")) << c.what;
  }
}

// Media-information lines of every time stamp of second 1 after |head|.
std::string every_stamp_of_second_1(const std::string& head) {
  std::string file;
  char stamp[8];
  for (unsigned microseconds = 0; microseconds <= 0xFFFF; ++microseconds) {
    snprintf(stamp, sizeof(stamp), "1%04X", microseconds);
    file += head + stamp + ":\t1\n";
  }
  return file;
}

TEST(NewFormatId, PassesOverEveryStampTakenByAnIdentifierStandingWhole) {
  FormatSettings settings = format(0, "Box", 62, 100);
  const std::string head = "VtL033E064";  // the identifier less its stamp
  struct Case {
    std::string file;
    const char* id;  // made at 1 s 0x10 us
  } cases[] = {
    { "", "VtL033E064" "10010" },
    { head + "10010:\t1\n", "VtL033E064" "10011" },
    // A third with the same head takes the stamp after both.
    { head + "10011/b\n" + head + "10010/a\n", "VtL033E064" "10012" },
    // The last line of a file may lack its newline.
    { "x\n*PageSize " + head + "10010", "VtL033E064" "10011" },
    // The head of a longer identifier takes nothing.
    { head + "10010F/a\n" + head + "10010_\n", "VtL033E064" "10010" },
    // Microseconds come round to a stamp again within the second.
    { every_stamp_of_second_1(head), "VtL033E064" "20000" },
  };
  for (const Case& c : cases) {
    Driver tree(kRoll, "rk210");
    write_file(tree.files.media_info, c.file);
    StoreFailure failure;
    ModelDriver driver{ tree.store_env(), "rk210" };
    Request request(driver, &failure);
    ASSERT_EQ(kStoreDone, request.lock());
    std::string id;
    struct timeval now = { 1, 0x10 };
    EXPECT_EQ(kStoreDone, new_format_id(&request, settings, now, &id));
    EXPECT_EQ(c.id, id) << c.file;
  }
}
