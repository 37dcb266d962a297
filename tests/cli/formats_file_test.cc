// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/formats_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/model.h"
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

// A format as an add stores it.
struct Stored {
  std::string name;
  int64_t width;
  int64_t height;
  std::string media;
  int64_t dots;
};

std::vector<Stored> stored_of(const std::vector<FormatSettings>& formats) {
  std::vector<Stored> stored;
  for (const FormatSettings& f : formats)
    stored.push_back({ f.format_name, f.width_mm, f.height_mm, f.media_name,
                       f.head_dots });
  return stored;
}

bool operator==(const Stored& a, const Stored& b) {
  return a.name == b.name && a.width == b.width && a.height == b.height &&
      a.media == b.media && a.dots == b.dots;
}

std::ostream& operator<<(std::ostream& out, const Stored& s) {
  return out << s.name << " " << s.width << "x" << s.height << " " << s.media
             << " " << s.dots;
}

// One line read as the tape model or the roll-label model reads it.
FormatSettings read_line(const FormatSettings& model, const std::string& line) {
  std::vector<FormatSettings> formats;
  FileRefusal refusal;
  EXPECT_TRUE(parse_formats_file(line, model, &formats, &refusal))
      << line << ": " << refusal.what;
  EXPECT_EQ(1u, formats.size()) << line;
  return formats.empty() ? FormatSettings() : formats[0];
}

TEST(FormatsFile, LinesReadAsTheirOptionsAreRead) {
  const struct {
    const FormatSettings& model;
    std::string text;
    std::vector<Stored> stored;
  } cases[] = {
    { kTape, "", {} },
    { kTape, "Shop 12\t12\t50\n", { { "Shop 12", 10, 50, "_vtS12mm__", 70 } } },
    // The name read first selects the tube and its cap; "tape" reads it
    // last, "tube" as it stands.
    { kTape, "HS12\t12\t700\nhs\t12\t700\ttube\nHS tape\t12\t700\ttape",
      { { "HS12", 9, 500, "_vtHS12mm_", 66 },
        { "hs", 9, 500, "_vtHS12mm_", 66 },
        { "HS tape", 10, 700, "_vtS12mm__", 70 } } },
    { kTape, "HS wide\t30\t50\ttube\n", { { "HS wide", 30, 50, "", 0 } } },
    // Comments hold no tab; blank lines and CRs before the newline go.
    { kTape, "# saved\n\n   \nA\t7\t2\r\n#B\t7\t1200\n",
      { { "A", 7, 4, "", 50 }, { "#B", 7, 1000, "", 50 } } },
    { kRoll, "Label\t62\t50\r\nNarrow\t1\t5000",
      { { "Label", 62, 50, "", 0 }, { "Narrow", 1, 5000, "", 0 } } },
  };
  for (const auto& c : cases) {
    std::vector<FormatSettings> formats;
    FileRefusal refusal;
    EXPECT_TRUE(parse_formats_file(c.text, c.model, &formats, &refusal))
        << c.text << ": " << refusal.what;
    EXPECT_EQ(c.stored, stored_of(formats)) << c.text;
    for (const FormatSettings& format : formats) {
      EXPECT_EQ(c.model.model_code, format.model_code);
      EXPECT_EQ("q", format.printer_name);
    }
  }
}

TEST(FormatsFile, RefusalNamesTheLineAndWhatIsWrong) {
  const std::string kFields = ", where a format has three, NAME, WIDTH and "
      "HEIGHT, a tab between each";
  const struct {
    const FormatSettings& model;
    std::string text;
    int line;
    std::string what;
  } cases[] = {
    { kTape, "A\t12\n", 1, "2 fields" + kFields },
    { kTape, "# x\n\nA\n", 3, "1 field" + kFields },
    { kTape, "A\t12\t50\ttape\tx\n", 1, "5 fields, at most 4" },
    { kTape, "A\t12\t50\ttub\n", 1, "the fourth field is tube or tape" },
    { kTape, "A\t12\t50\t\n", 1, "the fourth field is tube or tape" },
    { kTape, "A\t12\t50\ttube\n", 1,
      "tube: the name holds neither \"HS\" nor \"hs\", which selects the "
      "tube" },
    { kTape, "A\t30\t50\n", 1, "width 30: wider than the widest tape, 24 mm" },
    { kTape, "HS\t30\t50\ttape\n", 1,
      "width 30: wider than the widest tape, 24 mm" },
    { kTape, "A\t12mm\t50\nB\tabc\t50\n", 2,
      "width abc: not a width of 1 to 2147483647 mm" },
    { kTape, "A\t12\t0\n", 1, "height 0: not a height of 1 to 2147483647 mm" },
    { kTape, "\t12\t50\n", 1, "name: empty" },
    { kTape, std::string(33, 'n') + "\t12\t50\n", 1,
      "name: 33 bytes, at most 32" },
    { kTape, "a" + kNul + "b\t12\t50\n", 1, "name: holds a control character" },
    { kTape, "x VtL\t12\t50\n", 1,
      "name: holds \"VtL\", which marks identifiers in the driver files" },
    { kTape, "A\t12\t50\nB\t12\t50\r\nA\t9\t30\ttape\n", 3,
      "'A' is on line 1 already" },
    { kRoll, "A\t62\t50\ttape\n", 1,
      "a fourth field, which roll-label models do not take" },
    { kRoll, "A\t62\t50\t1\t2\n", 1, "5 fields, at most 3" },
  };
  for (const auto& c : cases) {
    std::vector<FormatSettings> formats;
    FileRefusal refusal;
    EXPECT_FALSE(parse_formats_file(c.text, c.model, &formats, &refusal))
        << c.text;
    EXPECT_EQ(c.line, refusal.line) << c.text;
    EXPECT_EQ(c.what, refusal.what) << c.text;
  }
}

// What the line of a format reads back as is that format, on every row
// of both tables and beyond: each width a name on tape or tube can ask
// for, with the heights at the caps.
TEST(FormatsFile, LineOfAnAddedFormatReadsBackAsIt) {
  const struct {
    const FormatSettings& model;
    const char* name;
    const char* kind;
    std::vector<int> widths;
    std::vector<int> heights;
  } cases[] = {
    { kTape, "Shop", "", {}, { 4, 1000 } },
    { kTape, "HS shop", "tape", {}, { 4, 1000 } },
    { kTape, "HS shop", "", { 25, 30, 2147483647 }, { 4, 500 } },
    { kTape, "hs shop", "\ttube", { 30 }, { 4, 500 } },
    { kRoll, "Label", "", { 1, 2, 3, 62, 300, 2147483647 },
      { 1, 6, 4096, 5000, 2147483647 } },
  };
  for (const auto& c : cases) {
    std::vector<int> widths = c.widths;
    for (int width = 1; c.model.model_type > 2 && width <= 24; ++width)
      widths.push_back(width);
    for (int width : widths) {
      for (int height : c.heights) {
        std::string line = std::string(c.name) + "\t" +
            std::to_string(width) + "\t" + std::to_string(height) +
            (*c.kind == '\0' || *c.kind == '\t' ? c.kind
                                                 : std::string("\t") + c.kind);
        FormatSettings asked = read_line(c.model, line);
        std::string written;
        ASSERT_TRUE(formats_file_line(as_added(asked), c.model, &written))
            << line;
        EXPECT_EQ(stored_of({ asked }), stored_of({ read_line(c.model,
                                                              written) }))
            << line << " written as " << written;
      }
    }
  }
}

TEST(FormatsFile, LineAsksForTheNominalWidthAndSaysTapeOrTube) {
  const struct {
    const FormatSettings& model;
    const char* asked;
    const char* written;
  } cases[] = {
    { kTape, "Shop\t11\t50", "Shop\t12\t50\ttape\n" },
    { kTape, "Shop\t3\t2", "Shop\t5\t4\ttape\n" },
    { kTape, "Shop\t7\t50", "Shop\t7\t50\ttape\n" },
    { kTape, "HS\t8\t50", "HS\t9\t50\ttube\n" },
    { kTape, "HS\t12\t50\ttape", "HS\t12\t50\ttape\n" },
    { kTape, "HS\t30\t800", "HS\t30\t500\ttube\n" },
    { kRoll, "Narrow\t1\t5", "Narrow\t1\t5\n" },
  };
  for (const auto& c : cases) {
    std::string written;
    EXPECT_TRUE(formats_file_line(as_added(read_line(c.model, c.asked)),
                                  c.model, &written)) << c.asked;
    EXPECT_EQ(c.written, written) << c.asked;
  }
}

ListedFormat held(const std::string& name, uint64_t width, int64_t height,
                const std::string& media, std::optional<long long> dots,
                bool complete = true) {
  ListedFormat format;
  format.name = name;
  format.id = "VtL";
  format.width_mm = width;
  format.height_mm = height;
  format.media_name = media;
  format.across_dots = dots;
  format.complete = complete;
  return format;
}

TEST(FormatsFile, FormatsNoRequestMakesHaveNoLine) {
  const struct {
    const char* what;
    ListedFormat format;
  } cases[] = {
    { "a tape of no table", held("Shop", 10, 50, "_vtS13mm__", 70) },
    { "a width no tape keeps", held("Shop", 11, 50, "", 70) },
    { "a height below the least", held("Shop", 10, 2, "_vtS12mm__", 70) },
    { "a tube's height above its cap",
      held("HS", 9, 700, "_vtHS12mm_", 66) },
    { "dots of another tape", held("Shop", 10, 50, "_vtS12mm__", 66) },
    { "a name -n refuses", held(std::string(33, 'n'), 10, 50, "", 70) },
    { "a tube's dots on a name without HS", held("Shop", 7, 50, "", 48) },
  };
  for (const auto& c : cases) {
    std::string line;
    EXPECT_FALSE(formats_file_line(c.format, kTape, &line)) << c.what;
  }
}

TEST(FormatsFile, FormatCutShortIsWrittenAsTheRequestThatMadeIt) {
  const struct {
    ListedFormat format;
    const char* written;
  } cases[] = {
    { held("Shop", 10, 50, "_vtS12mm__", std::nullopt, false), "Shop\t12\t50\ttape\n" },
    // Without dots a width kept as asked reads as the name would.
    { held("HS kept", 7, 50, "", std::nullopt, false), "HS kept\t7\t50\ttube\n" },
    { held("Kept", 7, 50, "", std::nullopt, false), "Kept\t7\t50\ttape\n" },
    { held("HS kept", 7, 50, "", 50, false), "HS kept\t7\t50\ttube\n" },
  };
  for (const auto& c : cases) {
    std::string line;
    EXPECT_TRUE(formats_file_line(c.format, kTape, &line)) << c.written;
    EXPECT_EQ(c.written, line);
  }
}

}  // namespace
