// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/listing.h"

#include <locale.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "listed_format.h"

namespace {

// Tables are drawn in the user's locale: here UTF-8, which the C library
// always has, unless a test says otherwise.
class ListingTable : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, setlocale(LC_CTYPE, "C.UTF-8"));
  }
  void TearDown() override { setlocale(LC_CTYPE, "C"); }
};

ListedFormat format(std::string_view name, uint64_t width, int64_t height,
                    std::string_view media = "_vtS12mm__",
                    std::optional<long long> dots = std::nullopt) {
  ListedFormat format = listed_format(std::string(name), width, height,
                                      std::string(media), dots);
  format.id = "VtL_never_shown";
  return format;
}

FormatListing listing_of(std::vector<ListedFormat> formats,
                         std::optional<std::string> media_setting = {}) {
  FormatListing listing;
  listing.formats = formats;
  listing.media_setting = media_setting;
  return listing;
}

// The row a table of |format| alone gives it.
std::string row_of(const ListedFormat& format, bool roll_label = false) {
  std::string table = listing_table(listing_of({ format }), roll_label);
  size_t start = table.find('\n') + 1;
  return table.substr(start, table.find('\n', start) - start);
}

TEST_F(ListingTable, AlignsByWhatTheTerminalShowsUnderAHeader) {
  ListedFormat selected = format("Shelf edge", 10, 100);
  selected.selected = true;
  ListedFormat cut_short = format("\xe5\xaf\xb8\xe6\xb3\x95", 10, 40, "", 70);
  cut_short.complete = false;
  std::vector<ListedFormat> formats = {
    selected,
    format("Gr\xc3\xb6\xc3\x9f" "e 9", 7, 50, "_vtHS9mm__"),  // two bytes a letter
    cut_short,  // two columns a character
  };
  EXPECT_EQ("  NAME        SIZE         PRINTS ON   STATE\n"
            "* Shelf edge  10 x 100 mm  12 mm tape\n"
            "  Gr\xc3\xb6\xc3\x9f" "e 9     7 x 50 mm    9 mm tube\n"
            "  \xe5\xaf\xb8\xe6\xb3\x95        10 x 40 mm   12 mm tape"
            "  incomplete\n"
            "\n"
            "incomplete: an add or a delete was cut short; the same command"
            " run again,\nor -d NAME, finishes it.\n",
            listing_table(listing_of(formats, "VtL_never_shown"), false));
  // Where every format is whole, no column or line speaks of it.
  formats.pop_back();
  EXPECT_EQ("  NAME        SIZE         PRINTS ON\n"
            "* Shelf edge  10 x 100 mm  12 mm tape\n"
            "  Gr\xc3\xb6\xc3\x9f" "e 9     7 x 50 mm    9 mm tube\n",
            listing_table(listing_of(formats), false));
  EXPECT_EQ("No custom label formats.\n",
            listing_table(listing_of({}), false));
}

// Where the resource file's media setting names none of the formats, the
// line below the table says what it names.
TEST_F(ListingTable, SaysWhatIsSelectedWhereNoFormatIs) {
  ListedFormat cut_short = format("Shelf", 10, 40);
  cut_short.complete = false;
  EXPECT_EQ("  NAME   SIZE        PRINTS ON   STATE\n"
            "  Shelf  10 x 40 mm  12 mm tape  incomplete\n"
            "Selected: vtS24mm\n"
            "\n"
            "incomplete: an add or a delete was cut short; the same command"
            " run again,\nor -d NAME, finishes it.\n",
            listing_table(listing_of({ cut_short }, "vtS24mm"), false));
  const struct {
    std::optional<std::string> setting;
    const char* shown;
  } cases[] = {
    { std::string("29X1"), "No custom label formats.\nSelected: 29X1\n" },
    { std::string("x\x1b[2J\r"), "No custom label formats.\n"
                                  "Selected: x?[2J?\n" },
    { std::nullopt, "No custom label formats.\n" },
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.shown, listing_table(listing_of({}, c.setting), true));
}

// Anyone who may write the driver files may write a name; shown as it
// stands, one could drive the terminal or turn the line around.
TEST_F(ListingTable, ShowsWhatTheLocaleCannotPrintAsQuestionMarks) {
  const struct {
    std::string name;
    const char* shown;
  } cases[] = {
    { "C1 \xc2\x9b x", "C1 ? x" },              // U+009B in UTF-8
    { "raw \x9b x", "raw ? x" },                // the same byte alone
    { "esc \x1b[2J", "esc ?[2J" },
    { std::string("nul \0 x", 7), "nul ? x" },
    { "tab\tx", "tab?x" },
    { "del \x7f", "del ?" },
    { "cut \xc3", "cut ?" },                    // a character cut short
    { "rlo \xe2\x80\xae x", "rlo ? x" },        // U+202E and its kin
    { "lre \xe2\x80\xaa x", "lre ? x" },
    { "lri \xe2\x81\xa6 x", "lri ? x" },
    { "pdi \xe2\x81\xa9 x", "pdi ? x" },
    { "lrm \xe2\x80\x8e x", "lrm ? x" },
    { "rlm \xe2\x80\x8f x", "rlm ? x" },
    { "alm \xd8\x9c x", "alm ? x" },
    { "caf\xc3\xa9 ok", "caf\xc3\xa9 ok" },
  };
  for (const auto& c : cases) {
    std::string expected = std::string("  ") + c.shown + "  10 x 50 mm";
    EXPECT_EQ(expected, row_of(format(c.name, 10, 50)).substr(
        0, expected.size())) << c.shown;
  }
  // In the C locale every byte above ASCII is one.
  setlocale(LC_CTYPE, "C");
  EXPECT_EQ("  Gr????e  10 x 50 mm  12 mm tape",
            row_of(format("Gr\xc3\xb6\xc3\x9f" "e", 10, 50)));
}

TEST_F(ListingTable, SaysWhatEachFormatPrintsOn) {
  const struct {
    std::string_view media;
    std::optional<long long> dots;
    uint64_t width;
    const char* words;
  } cases[] = {
    // The tape the width was cut to, by its name.
    { "_vtS3.5mm_", 24, 2, "3.5 mm tape" },
    { "_vtS24mm__", 128, 22, "24 mm tape" },
    { "_vtHS6mm__", 28, 4, "6 mm tube" },
    { "_vtHS12mm_", 66, 9, "12 mm tube" },
    // A width kept as asked: the dots across give the row.
    { "", 24, 2, "3.5 mm tape" },
    { "", 50, 7, "9 mm tape" },
    { "", 70, 10, "12 mm tape" },
    { "", 112, 16, "18 mm tape" },
    { "", 128, 20, "24 mm tape" },
    { "", 28, 4, "6 mm tube" },
    { "", 48, 7, "9 mm tube" },
    { "", 106, 15, "18 mm tube" },
    // Tube wider than the table is taken as asked, without dots.
    { "", 0, 30, "30 mm tube" },
    { "", -1, 30, "30 mm tube" },
    { "", std::nullopt, 30, "30 mm tube" },
    // Neither a name nor a size line that tells.
    { "", std::nullopt, 10, "-" },
    { "", 99, 10, "-" },
  };
  for (const auto& c : cases) {
    std::string row = row_of(format("Shop", c.width, 50, c.media, c.dots));
    std::string end = std::string("  ") + c.words;
    EXPECT_EQ(end, row.substr(row.size() - std::min(row.size(), end.size())))
        << c.media << " " << c.dots.value_or(-1) << " " << c.width;
  }
  std::string roll = row_of(format("Parcel", 62, 50, "", 695), true);
  EXPECT_EQ("62 mm label", roll.substr(roll.size() - 11));
}

}  // namespace
