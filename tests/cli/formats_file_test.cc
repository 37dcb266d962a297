// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/formats_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/model.h"
#include "listed_format.h"
#include "nul_byte.h"

namespace {

FormatSettings model_of(const char* program) {
  FormatSettings model;
  EXPECT_TRUE(identify_model(program, &model)) << program;
  model.printer_name = "q";
  return model;
}

const FormatSettings kTape = model_of("vtmediatoollpr_txr580");
const FormatSettings kRoll = model_of("vtmediatoollpr_rk210");

// What |format| stores: "NAME WIDTHxHEIGHT MEDIA DOTS".
std::string stored(const FormatSettings& format) {
  return format.format_name + " " + std::to_string(format.width_mm) + "x" +
      std::to_string(format.height_mm) + " " + format.media_name + " " +
      std::to_string(format.head_dots);
}

// |text| read as a formats file: what each format stores, each followed
// by "; ", or the line refused and why.
std::string read(const FormatSettings& model, const std::string& text) {
  std::vector<FormatSettings> formats;
  FileRefusal refusal;
  if (!parse_formats_file(text, model, &formats, &refusal))
    return std::to_string(refusal.line) + ": " + refusal.what;
  std::string read;
  for (const FormatSettings& format : formats) {
    EXPECT_EQ(model.model_code + " q", format.model_code + " " +
              format.printer_name);
    read += stored(format) + "; ";
  }
  return read;
}

TEST(FormatsFile, ReadsEachLineAsItsOptionsOrSaysWhichLineIsWrong) {
  const std::string kFields = ", where a format has three, NAME, WIDTH and "
      "HEIGHT, a tab between each";
  const struct {
    const FormatSettings& model;
    std::string text;
    std::string read;
  } cases[] = {
    { kTape, "", "" },
    // The name read first selects the tube and its cap; "tape" reads it
    // last, "tube" as it stands.
    { kTape, "Shop 12\t12\t50\nHS12\t12\t700\nhs\t30\t9\ttube\n"
      "HS tape\t12\t700\ttape",
      "Shop 12 10x50 _vtS12mm__ 70; HS12 9x500 _vtHS12mm_ 66; "
      "hs 30x9  0; HS tape 10x700 _vtS12mm__ 70; " },
    // Comments hold no tab; blank lines and CRs before the newline go.
    { kTape, "# saved\n\n   \nA\t7\t2\r\n#B\t7\t1200\n",
      "A 7x4  50; #B 7x1000  50; " },
    { kRoll, "Narrow\t1\t5000\r\n", "Narrow 1x5000  0; " },
    { kTape, "A\t12\n", "1: 2 fields" + kFields },
    { kTape, "# x\n\nA\n", "3: 1 field" + kFields },
    { kTape, "A\t12\t50\ttape\tx\n", "1: 5 fields, at most 4" },
    { kTape, "A\t12\t50\t\n", "1: the fourth field is tube or tape" },
    { kTape, "A\t12\t50\ttube\n", "1: tube: the name holds neither \"HS\" "
      "nor \"hs\", which selects the tube" },
    { kTape, "HS\t30\t50\ttape\n",
      "1: width 30: wider than the widest tape, 24 mm" },
    { kTape, "A\t12mm\t50\nB\t12\tabc\n",
      "2: height abc: not a height of 1 to 2147483647 mm" },
    { kTape, "a" + kNul + "b\t12\t50\n", "1: name: holds a control character" },
    // What -n refuses so that a listing cannot be read as two lines.
    { kTape, "x\xE2\x80\xA8Ghost\t12\t50\n", "1: name: holds U+2028" },
    { kTape, "A\t12\t50\nB\t12\t50\r\nA\t9\t30\ttape\n",
      "3: 'A' is on line 1 already" },
    { kRoll, "A\t62\t50\ttape\n",
      "1: a fourth field, which roll-label models do not take" },
    { kRoll, "A\t62\t50\t1\t2\n", "1: 5 fields, at most 3" },
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.read, read(c.model, c.text)) << c.text;
}

// The one format |line| asks for, as the files would hold it once added.
ListedFormat added(const FormatSettings& model, const std::string& line) {
  std::vector<FormatSettings> formats;
  FileRefusal refusal;
  EXPECT_TRUE(parse_formats_file(line, model, &formats, &refusal)) << line;
  return as_added(formats.empty() ? FormatSettings() : formats[0]);
}

std::string line_of(const FormatSettings& model, const ListedFormat& format) {
  std::string line;
  return formats_file_line(format, model, &line) ? line : "none";
}

// The line written for a format reads back as that format, on every row
// of both tables and beyond.
TEST(FormatsFile, LineOfEveryAddedFormatReadsBackAsIt) {
  const struct {
    const FormatSettings& model;
    const char* name;
    const char* kind;
    std::vector<int> widths;  // besides 1 to 24 on tape models
    std::vector<int> heights;
  } cases[] = {
    { kTape, "Shop", "", {}, { 4, 1000 } },
    { kTape, "HS shop", "\ttape", {}, { 4, 1000 } },
    { kTape, "hs shop", "\ttube", { 25, 2147483647 }, { 4, 500 } },
    { kRoll, "Label", "", { 1, 2, 3, 62, 2147483647 }, { 1, 6, 5000 } },
  };
  for (const auto& c : cases) {
    std::vector<int> widths = c.widths;
    for (int width = 1; !is_roll_label(c.model) && width <= 24; ++width)
      widths.push_back(width);
    for (int width : widths) {
      for (int height : c.heights) {
        std::string line = std::string(c.name) + "\t" +
            std::to_string(width) + "\t" + std::to_string(height) + c.kind;
        ListedFormat format = added(c.model, line);
        std::string written = line_of(c.model, format);
        ListedFormat again = added(c.model, written);
        EXPECT_EQ(format.width_mm, again.width_mm) << line << ": " << written;
        EXPECT_EQ(format.height_mm, again.height_mm) << line;
        EXPECT_EQ(format.media_name, again.media_name) << line;
        EXPECT_EQ(format.across_dots, again.across_dots) << line;
      }
    }
  }
}

TEST(FormatsFile, LineIsARequestThatMakesTheFormatAsTheFilesHoldIt) {
  const struct {
    ListedFormat format;
    const char* line;
  } cases[] = {
    // The nominal width where a tape was stored; tape or tube said.
    { added(kTape, "Shop\t11\t50"), "Shop\t12\t50\ttape\n" },
    { added(kTape, "HS\t8\t50"), "HS\t9\t50\ttube\n" },
    { added(kTape, "HS\t12\t50\ttape"), "HS\t12\t50\ttape\n" },
    // Cut short, without its dots: a width kept as asked reads as the
    // name would.
    { listed_format("Shop", 10, 50, "_vtS12mm__", std::nullopt, false),
      "Shop\t12\t50\ttape\n" },
    { listed_format("HS kept", 7, 50, "", std::nullopt, false),
      "HS kept\t7\t50\ttube\n" },
    { listed_format("HS kept", 7, 50, "", 50, false),
      "HS kept\t7\t50\ttape\n" },
    // What no request stores.
    { listed_format("Shop", 10, 50, "_vtS13mm__", 70), "none" },
    { listed_format("Shop", 11, 50, "", 70), "none" },
    { listed_format("Shop", 10, 2, "_vtS12mm__", 70), "none" },
    { listed_format(std::string(33, 'n'), 10, 50, "", 70), "none" },
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.line, line_of(kTape, c.format)) << c.format.name;
}

}  // namespace
