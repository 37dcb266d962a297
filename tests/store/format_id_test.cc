// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/format_id.h"

#include <gtest/gtest.h>

#include "names_format.h"
#include "nul_byte.h"

namespace {

FormatSettings request(const std::string& media, const std::string& name,
                       int64_t width, int64_t height) {
  FormatSettings settings;
  settings.media_name = media;
  settings.format_name = name;
  settings.width_mm = width;
  settings.height_mm = height;
  return settings;
}

struct timeval at(long seconds, long microseconds) {
  struct timeval now;
  now.tv_sec = seconds;
  now.tv_usec = microseconds;
  return now;
}

}  // namespace

TEST(MakeFormatId, FieldsAreUpperCaseHexWithTheirWidthsAndTruncations) {
  struct Case {
    const char* media;
    std::string name;
    int64_t width, height;
    long seconds, microseconds;
    const char* id;
  } cases[] = {
    // A tape format's identifier is 25 characters in fixed fields.
    { "_vtS12mm__", "Shop 12", 10, 50, 0x5F00001B, 0x1A2B,
      "VtL_vtS12mm__070A032B1A2B" },
    // Roll labels have no media name: 15 characters.
    { "", "Address label", 62, 100, 1, 0xA7F0, "VtL0D3E0641A7F0" },
    { "", "a", 1, 1, 0, 0, "VtL010100100000" },
    { "", std::string(32, 'n'), 0xAB, 0xCDE, 0xF, 0xBEEF,
      "VtL20ABCDEFBEEF" },
    // Wide formats take as many width digits as they need.
    { "", "Wide", 256, 50, 2, 0x10, "VtL04100032" "20010" },
    { "", "Wide", 2147483647, 50, 2, 0x10, "VtL047FFFFFFF032" "20010" },
    { "", "Wide", (int64_t(1) << 32) + 5, 50, 2, 0x10, "VtL0405032" "20010" },
    // Height keeps its low 12 bits, the time its low 4 and 16 bits.
    { "_vtS3.5mm_", "x", 2, 4096 + 50, 0x1234567F, 999999,
      "VtL_vtS3.5mm_0102032F423F" },
    { "_vtHS24mm_", "HS", 18, 4095, 16, 65536 + 1, "VtL_vtHS24mm_0212FFF00001" },
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.id, make_format_id(request(c.media, c.name, c.width, c.height),
                                   at(c.seconds, c.microseconds)))
        << c.name << " " << c.width << "x" << c.height;
  }
}

TEST(ParsePageSizeLine, ReadsOnlyPageSizeLinesWhoseIdentifierAndNameAgree) {
  struct Case {
    std::string line;
    std::string name;
    const char* id;  // nullptr: no match
  } cases[] = {
    // The plain tape entry, with anything after the name.
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12: x\n", "Shop 12",
      "VtL_vtS12mm__070A03271A2B" },
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12XYZ\n", "Shop 12",
      "VtL_vtS12mm__070A03271A2B" },
    { "*PageSizeVtL_vtS12mm__070A03271A2B/Shop 12", "Shop 12",
      "VtL_vtS12mm__070A03271A2B" },
    // "*PageSize" must open the line.
    { "VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { " *PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*Pagesize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "x*PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSiz VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    // The name must have exactly the length the identifier gives.
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop", nullptr },
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 1", nullptr },
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12 ", nullptr },
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12\n", "shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__060A03271A2B/Shop 12\n", "Shop 12", nullptr },
    // A length field that is not two hex digits never matches.
    { "*PageSize VtL_vtS12mm__0G0A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__ 70A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__7/Shop 12\n", "Shop 12", nullptr },
    // A length longer than what follows the slash.
    { "*PageSize VtL_vtS12mm__200A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__080A03271A2B/Shop 12", "Shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__200A03271A2B/Shop 12",
      "Shop 12\n" + std::string(24, 'x'), nullptr },
    { "*PageSize VtL_vtS12mm__FF0A03271A2B/Shop 12\n", "Shop 12", nullptr },
    // The first marker only, up to the first slash after it.
    { "*PageSize VtLx VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12",
      nullptr },
    { "*PageSize a/b VtL_vtS12mm__070A03271A2B/Shop 12\n", "Shop 12",
      "VtL_vtS12mm__070A03271A2B" },
    { "*PageSize VtL0301002F1234/a/b: c\n", "a/b", "VtL0301002F1234" },
    // Nor a control character, which would forge fields where printed.
    { "*PageSize VtL0301002F1234/a\tb: c\n", "a\tb", nullptr },
    // Identifiers that do not read as one.
    { "*PageSize VtL_vtS12mm__070A0321A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL_xxS12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL_vt12mm__070A03271A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL070A0321A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize VtL070A032-1A2B/Shop 12\n", "Shop 12", nullptr },
    { "*PageSize _vtS12mm__/12mm: x\n", "12mm", nullptr },
    { "*PageSize VtL_vtS12mm__070A03271A2B Shop 12\n", "Shop 12", nullptr },
    // Roll-label and wide identifiers are found by name too.
    { "*PageSize VtL0D3E0641A7F0/Address label: x\n", "Address label",
      "VtL0D3E0641A7F0" },
    { "*PageSize VtL071E0321A2B3/Tube 30\n", "Tube 30", "VtL071E0321A2B3" },
    { "*PageSize VtL0412C03201234/Wide\n", "Wide", "VtL0412C03201234" },
    { "*PageSize VtL047FFFFFFF03201234/Wide\n", "Wide",
      "VtL047FFFFFFF03201234" },
    { "*PageSize VtL_vtHS24mm_0412C03201234/Wide\n", "Wide",
      "VtL_vtHS24mm_0412C03201234" },
    // Only the text before a NUL byte counts.
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop 12" + kNul + "x\n",
      "Shop 12", "VtL_vtS12mm__070A03271A2B" },
    { "*PageSize VtL_vtS12mm__070A03271A2B/Shop" + kNul + " 12\n",
      "Shop 12", nullptr },
    { "*PageSize VtL_vtS12mm__070A" + kNul + "03271A2B/Shop 12\n",
      "Shop 12", nullptr },
    { "*Page" + kNul + "Size VtL_vtS12mm__070A03271A2B/Shop 12\n",
      "Shop 12", nullptr },
    { "", "Shop 12", nullptr },
    { "*PageSize", "Shop 12", nullptr },
  };
  for (const Case& c : cases) {
    std::string id = "unchanged";
    bool found = names_format(c.line, c.name, &id);
    EXPECT_EQ(c.id != nullptr, found) << c.line << " / " << c.name;
    if (c.id != nullptr && found) {
      EXPECT_EQ(c.id, id) << c.line;
    }
  }
}

TEST(ReadFormatId, GivesTheFieldsAListingShows) {
  struct Case {
    const char* id;
    const char* media;
    unsigned name_length;
    uint64_t width;
    unsigned height;
  } cases[] = {
    { "VtL_vtS12mm__070A03271A2B", "_vtS12mm__", 7, 10, 0x32 },
    { "VtL0D3E0641A7F0", "", 13, 62, 100 },
    { "VtL047FFFFFFF03201234", "", 4, 0x7FFFFFFF, 0x32 },
    { "VtL_vtHS9mm__0107FFF00001", "_vtHS9mm__", 1, 7, 0xFFF },
  };
  for (const Case& c : cases) {
    FormatIdFields fields;
    ASSERT_TRUE(read_format_id(c.id, &fields)) << c.id;
    EXPECT_EQ(c.media, fields.media_name) << c.id;
    EXPECT_EQ(c.name_length, fields.name_length) << c.id;
    EXPECT_EQ(c.width, fields.width_mm) << c.id;
    EXPECT_EQ(c.height, fields.height_field) << c.id;
  }
}
