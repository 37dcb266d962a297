#include "cli/model.h"

#include <gtest/gtest.h>

TEST(IdentifyModel, Placeholder3) {
  FormatSettings settings;
  EXPECT_TRUE(identify_model("vtmediatoollpr_txr580", &settings));
}
