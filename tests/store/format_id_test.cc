#include "store/format_id.h"

#include <gtest/gtest.h>

TEST(FormatId, Placeholder) {
  std::string id;
  EXPECT_TRUE(format_id_in_line(
      "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12: x\n", "Shop 12", &id));
  EXPECT_EQ("VtL_vtS12mm__070A03271A2B", id);
}
