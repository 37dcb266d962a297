// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/add.h"

#include <gtest/gtest.h>

namespace {

FormatSettings tape(const std::string& name, int64_t width, int64_t height,
                    int64_t head_dots) {
  FormatSettings settings;
  settings.model_type = kLastRollLabelType + 1;
  settings.format_name = name;
  settings.width_mm = width;
  settings.height_mm = height;
  settings.head_dots = head_dots;
  return settings;
}

FormatSettings roll(const std::string& name, int64_t width, int64_t height,
                    int32_t model_type = 0) {
  FormatSettings settings;
  settings.model_type = model_type;
  settings.format_name = name;
  settings.width_mm = width;
  settings.height_mm = height;
  return settings;
}

}  // namespace

TEST(AddedLines, DotsAndPointsFollowTheDriverConversion) {
  struct Case {
    const char* what;
    FormatSettings settings;
    const char* media_info;
    const char* print_area;
  } cases[] = {
    { "tape 12 mm fitted to 10, 50 long", tape("Shop 12", 10, 50, 70),
      "ID/Shop 12:\t70\t353\n", "ID:\t0.00\t0.00\t28.00\t141.52\n" },
    { "shortest tape", tape("T", 10, 4, 70),
      "ID/T:\t70\t28\n", "ID:\t0.00\t0.00\t28.00\t11.32\n" },
    { "widest tape head", tape("T", 22, 1000, 128),
      "ID/T:\t128\t7075\n", "ID:\t0.00\t0.00\t51.20\t2830.34\n" },
    { "tube wider than any row: no head dots", tape("HS", 30, 500, 0),
      "ID/HS:\t0\t3537\n", "ID:\t0.00\t0.00\t0.00\t1415.17\n" },
    { "roll 62 x 50", roll("R", 62, 50),
      "ID/R:\t695\t518\n", "ID:\t0.00\t0.00\t0.00\t141.52\n" },
    { "every roll-label type", roll("R", 62, 50, 2),
      "ID/R:\t695\t518\n", "ID:\t0.00\t0.00\t0.00\t141.52\n" },
    // Sizes inside the margins go negative, truncated toward zero.
    { "roll 1 x 1", roll("R", 1, 1), "ID/R:\t-23\t-58\n",
      "ID:\t0.00\t0.00\t0.00\t2.83\n" },
    { "roll at the margins", roll("R", 3, 6), "ID/R:\t0\t0\n",
      "ID:\t0.00\t0.00\t0.00\t16.98\n" },
    // Dot counts past 32 bits are written in full.
    { "roll near the 32-bit limit", roll("R", 2147483647, 2147483647),
      "ID/R:\t25325496768\t25325496733\n",
      "ID:\t0.00\t0.00\t0.00\t6078119232.91\n" },
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.media_info, media_info_line(c.settings, "ID")) << c.what;
    EXPECT_EQ(c.print_area, print_area_line(c.settings, "ID")) << c.what;
  }
}
