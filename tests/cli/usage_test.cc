// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/model.h"
#include "expected_usage.h"

namespace {

FormatSettings settings_for(const char* program) {
  FormatSettings settings;
  EXPECT_TRUE(identify_model(program, &settings)) << program;
  return settings;
}

TEST(UsageText, TapeModelScreen) {
  const std::string expected = expected_usage_screen("txr580", "TX-R580");
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_txr580")));
}

TEST(UsageText, Tx4100ShowsFullCodeAndItsQueue) {
  const std::string expected = expected_usage_screen("tx4100zn", "TX-4100ZN");
  // Installed under the short key, the screen still names the full code.
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_tx4100")));
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_tx4100zn")));
}

TEST(UsageText, RollLabelModelHasNoQueueName) {
  const std::string expected = expected_usage_screen("rk210", "");
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_rk210")));
}

TEST(UsageText, DependsOnlyOnTheModel) {
  FormatSettings bare = settings_for("vtmediatoollpr_txr580");
  FormatSettings filled = bare;
  filled.printer_name = "Shop";
  filled.format_name = "HS12";
  filled.media_name = "_vtHS12mm_";
  filled.width_mm = 9;
  filled.height_mm = 50;
  filled.head_dots = 66;
  EXPECT_EQ(usage_text(bare), usage_text(filled));
}

}  // namespace
