// SPDX-License-Identifier: GPL-2.0-or-later
// What the listing gives beyond what --list prints: the size line it takes
// a format's dots from, the format the resource file selects, where an
// identifier stands whole, and how much of the files its scan looks at.
#include "store/list.h"

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "harness.h"
#include "store/add.h"
#include "store/format_id.h"
#include "store/list_scan.h"

namespace {

const std::string kId = "VtL_vtS12mm__050A0641A2B3";
const std::string kPageSize = "*PageSize " + kId + "/Shelf: x\n";
const std::string kSizeLine = kId + "/Shelf:\t70\t707\n";
const char kMissing[] = "(missing)";

// A format's lines in the function and imageable-area files.
std::string function_lines(const std::string& id, const std::string& name) {
  return "*PageSize " + id + "/" + name + ": x\n[CustomTape]\n" + id + "/" +
      name + "\n";
}

// Lists a tree of |program| whose files hold |contents| (function,
// media-information, resource, imageable-area file); a resource file of
// kMissing is taken away, one of "/" made a directory.
StoreStatus list(const char* program, const Contents& contents,
                 FormatListing* listing, StoreFailure* failure) {
  bool roll = program == std::string(kRoll);
  Driver tree(program, roll ? "rk210" : "txr580");
  tree.lay(contents);
  if (contents[2] == kMissing || contents[2] == "/")
    unlink(tree.files.resource.c_str());
  if (contents[2] == "/")
    mkdir(tree.files.resource.c_str(), 0755);
  FormatSettings settings;
  settings.model_type = roll ? 0 : kLastRollLabelType + 1;
  settings.model_code = roll ? "rk210" : "txr580";
  return list_formats(settings, tree.store_env(), listing, failure);
}

// The one format a tape tree of the "Shelf" format lists, its
// media-information file holding |media| and its resource file |rc|; a
// size line in the function file counts for nothing.
ListedFormat listed_shelf(const std::string& media, const std::string& rc,
                          FormatListing* listing) {
  StoreFailure failure;
  EXPECT_EQ(kStoreDone,
            list(kTape, { function_lines(kId, "Shelf") + kId +
                              "/Shelf:\t99\t999\n",
                          media, rc, kId + ":\t0.00\n" },
                 listing, &failure));
  EXPECT_EQ(1u, listing->formats.size());
  return listing->formats.empty() ? ListedFormat() : listing->formats[0];
}

}  // namespace

TEST(ListFormats, TakesTheDotsOfTheFirstWellFormedSizeLine) {
  const struct {
    std::string media;
    std::optional<long long> across_dots;
  } cases[] = {
    { kPageSize + kSizeLine, 70 },
    // Only the whole of a size line counts, the first that is whole.
    { kPageSize + kId + "/Shelf:\t71\t707junk\n" + kSizeLine, 70 },
    { kPageSize + kId + "/Shelf:\t71\tjunk\n" + kSizeLine, 70 },
    { kPageSize + kSizeLine + kId + "/Shelf:\t71\t708\n", 70 },
    // Negative dots are well formed: the add writes them for roll labels
    // narrower or shorter than the margins.
    { kPageSize + kId + "/Shelf:\t-11\t707\n" + kSizeLine, -11 },
    { kPageSize + kId + "/Shelf:\t695\t-35\n", 695 },
    { kPageSize + kId + "/Shelf:\t-\t707\n", std::nullopt },
    { kPageSize + kId + "/Shelf:\t70\t707 \n", std::nullopt },
    { kPageSize + kId + "/Shel:\t70\t707\n", std::nullopt },
    // A size line begins with its identifier.
    { kPageSize + " " + kSizeLine, std::nullopt },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.media);
    FormatListing listing;
    EXPECT_EQ(c.across_dots, listed_shelf(c.media, "", &listing).across_dots);
  }
}

// The function file is read first for the names, so a format only the
// media-information file names is met late: what came before its name
// there, and its lines in the function file, still count. Where both name
// an identifier, the media-information file's name wins.
TEST(ListFormats, CountsEveryLineOfAFormatNamedLate) {
  const std::string entry = "[CustomTape]\n" + kId + "/Shelf\n";
  const struct {
    std::string func, media;
    std::optional<long long> across_dots;
    bool complete;
  } cases[] = {
    { entry, kPageSize + kSizeLine, 70, true },
    { "", kPageSize + kSizeLine, 70, false },
    { entry, kSizeLine + kPageSize + kId + "/Shelf:\t71\t708\n", 70, true },
    { "*PageSize " + kId + "/Other: x\n" + entry, kPageSize + kSizeLine, 70,
      true },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.func + " / " + c.media);
    FormatListing listing;
    StoreFailure failure;
    ASSERT_EQ(kStoreDone, list(kTape, { c.func, c.media, "", kId + "\n" },
                               &listing, &failure));
    ASSERT_EQ(1u, listing.formats.size());
    EXPECT_EQ("Shelf", listing.formats[0].name);
    EXPECT_EQ(c.across_dots, listing.formats[0].across_dots);
    EXPECT_EQ(c.complete, listing.formats[0].complete);
  }
}

// Whatever sizes a roll-label add enters, the listing reads back: the
// identifier holds the height modulo 4096 only, and the size line, with
// negative dots across or along for a label narrower or shorter than the
// margins, gives the rest.
TEST(ListFormats, ReadsBackTheSizesEveryRollLabelAddEnters) {
  const struct {
    int64_t width, height;
  } cases[] = {
    { 2, 5000 }, { 1, 1 }, { 62, 3 }, { 2, 4101 }, { 62, 4096 },
    { 300, 2147483647 }, { 62, 50 },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    FormatSettings settings;
    settings.model_code = "rk210";
    settings.format_name = "Tall";
    settings.width_mm = c.width;
    settings.height_mm = c.height;
    std::string id = make_format_id(settings, { 1, 0x1A2B });
    FormatListing listing;
    StoreFailure failure;
    ASSERT_EQ(kStoreDone,
              list(kRoll, { function_lines(id, "Tall"),
                            "*PageSize " + id + "/Tall: x\n" +
                                media_info_line(settings, id),
                            "", print_area_line(settings, id) },
                   &listing, &failure));
    ASSERT_EQ(1u, listing.formats.size());
    EXPECT_EQ(uint64_t(c.width), listing.formats[0].width_mm);
    EXPECT_EQ(c.height, listing.formats[0].height_mm);
  }
}

// The driver's current media is the value of the resource file's first
// media setting; another line holding an identifier selects nothing.
TEST(ListFormats, SelectsWhatTheFirstMediaSettingNames) {
  const struct {
    const char* program;
    std::string rc;
    bool selected;
    std::optional<std::string> setting;
  } cases[] = {
    { kTape, "Copies=1\nMedia=" + kId + "\n", true, kId },
    { kTape, "Media=" + kId, true, kId },
    { kTape, "PreviousMedia=" + kId + "\nMedia=vtS24mm\n", false,
      std::string("vtS24mm") },
    { kTape, "Media=vtS24mm\nMedia=" + kId + "\n", false,
      std::string("vtS24mm") },
    { kTape, "Media=" + kId + "F\n", false, kId + "F" },
    { kTape, "Media=" + kId + " \n", false, kId + " " },
    { kTape, "MediaSize=" + kId + "\n", false, std::nullopt },
    { kTape, kMissing, false, std::nullopt },
    { kRoll, "Media=" + kId + "\nMediaSize=29X1\n", false,
      std::string("29X1") },
    { kRoll, "MediaSize=" + kId + "\n", true, kId },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rc);
    FormatListing listing;
    StoreFailure failure;
    ASSERT_EQ(kStoreDone,
              list(c.program, { function_lines(kId, "Shelf"),
                                kPageSize + kSizeLine, c.rc, kId + ":\t0\n" },
                   &listing, &failure));
    ASSERT_EQ(1u, listing.formats.size());
    EXPECT_EQ(c.selected, listing.formats[0].selected);
    EXPECT_EQ(c.setting, listing.media_setting);
  }
}

// An identifier is at most 99 characters, and stands whole only where
// no identifier character follows it, however long the run it ends.
TEST(ListFormats, FindsAnIdentifierWhereItStandsWhole) {
  const std::string longest = "VtL_vtS12mm__050" + std::string(78, 'A') +
      "1A2B3";
  ASSERT_EQ(99u, longest.size());
  const struct {
    std::string id, area;
    size_t listed;
    bool complete;
  } cases[] = {
    { longest, longest + ":\t0\n", 1, true },
    { longest, longest + "0:\t0\n", 1, false },
    { longest, "VtL" + std::string(200, '0') + longest + ":\t0\n", 1, true },
    { longest, "VtL" + std::string(200, '0') + longest + "0\n", 1, false },
    { kId, "VtLVtL" + kId + "\n", 1, true },
    { kId, "x" + kId + "\n", 1, true },
    { longest.substr(0, 20) + longest.substr(19), "", 0, false },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.area);
    FormatListing listing;
    StoreFailure failure;
    ASSERT_EQ(kStoreDone,
              list(kTape, { function_lines(c.id, "Shelf"),
                            "*PageSize " + c.id + "/Shelf: x\n", "",
                            c.area },
                   &listing, &failure));
    ASSERT_EQ(c.listed, listing.formats.size());
    if (c.listed > 0) {
      EXPECT_EQ(c.complete, listing.formats[0].complete);
    }
  }
}

TEST(ListFormats, UnreadableResourceFileFailsTheListing) {
  FormatListing listing;
  StoreFailure failure;
  EXPECT_EQ(kStoreFileFailed,
            list(kTape, { function_lines(kId, "Shelf"), kPageSize, "/", "" },
                 &listing, &failure));
  EXPECT_EQ(EISDIR, failure.error);
  EXPECT_NE(std::string::npos, failure.path.find("/vttxr580rc"));
  EXPECT_TRUE(listing.formats.empty());
}

// One line of identifier-shaped words takes the scan no more than twice
// the work of a line half as long: each line is delimited once, and every
// search moves on by what it consumed.
TEST(FormatScan, LooksAtEachByteABoundedNumberOfTimes) {
  // Words of every kind the scan stops at: a named identifier standing
  // whole, one not, an unnamed one, and runs longer than any identifier.
  const std::string words = kId + " " + kId + "0 VtL0A0A0642F3C1 VtL" +
      std::string(150, '0') + kId + " " + kId + "/Shelf:\t70\t707\t";
  auto examined = [&](int count) {
    std::string line;
    for (int i = 0; i < count; ++i)
      line += words;
    line += "\n";
    FormatScan scan;
    scan.scan(kPageSize, kInFunction, kNames);
    scan.scan(line, kInMediaInfo, kNames | kPlaces | kSizes);
    scan.scan(line, kInPrintArea, kPlaces);
    EXPECT_EQ(1u, scan.formats().size());
    return std::make_pair(scan.bytes_examined(), uint64_t(line.size()));
  };
  auto [once, size] = examined(2000);
  EXPECT_LE(once, 8 * size);
  EXPECT_LE(examined(4000).first, 2 * once + kPageSize.size());
}
