// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arg_vector.h"
#include "cli/model.h"

namespace {

const char kTapeTool[] = "vtmediatoollpr_txr580";
const char kRollTool[] = "vtmediatoollpr_rk210";

typedef std::vector<std::string> Args;

struct Parsed {
  Action action;
  FormatSettings settings;
};

// Parses |args| as the command line after |program|, on a record prepared
// the way the program prepares it.
Parsed parse(const char* program, const Args& args) {
  Parsed parsed;
  EXPECT_TRUE(identify_model(program, &parsed.settings)) << program;
  Args argv = { program };
  argv.insert(argv.end(), args.begin(), args.end());
  parsed.action = parse_options(static_cast<int>(argv.size()),
                                arg_pointers(argv).data(), &parsed.settings);
  return parsed;
}

struct ActionCase {
  Args args;
  Action action;
};

void expect_actions(const char* program, const std::vector<ActionCase>& cases) {
  for (const ActionCase& c : cases)
    EXPECT_EQ(c.action, parse(program, c.args).action) << show(c.args);
}

// A valid add on the tape model with one value replaced.
Args tape_add(const std::string& name, const std::string& width,
              const std::string& height) {
  return { "-P", "q", "-n", name, "-w", width, "-h", height };
}

TEST(ParseOptions, ArgumentsMustComeAsAtLeastTwoPairs) {
  expect_actions(kTapeTool, {
    { {}, kActionUsage },
    { { "-P" }, kActionUsage },
    { { "-P", "q" }, kActionUsage },
    { { "-P", "q", "-d" }, kActionUsage },
    { { "-P", "q", "-d", "a", "extra" }, kActionUsage },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "50", "-h" }, kActionUsage },
    { { "-P", "q", "-d", "a" }, kActionDelete },
  });
}

TEST(ParseOptions, EachOptionFillsItsField) {
  Parsed add = parse(kRollTool,
      { "-P", "Shop Printer", "-n", "Shop 12", "-w", "62", "-h", "50" });
  EXPECT_EQ(kActionAdd, add.action);
  EXPECT_EQ("Shop Printer", add.settings.printer_name);
  EXPECT_EQ("Shop 12", add.settings.format_name);
  EXPECT_EQ(62, add.settings.width_mm);
  EXPECT_EQ(50, add.settings.height_mm);
  EXPECT_EQ("rk210", add.settings.model_code);  // left as identified

  Parsed del = parse(kRollTool, { "-P", "q", "-d", "Old one" });
  EXPECT_EQ(kActionDelete, del.action);
  EXPECT_EQ("q", del.settings.printer_name);
  EXPECT_EQ("Old one", del.settings.format_name);
  EXPECT_EQ(0, del.settings.width_mm);
  EXPECT_EQ(0, del.settings.height_mm);
}

TEST(ParseOptions, OptionIsRecognisedByItsFirstTwoCharacters) {
  Parsed add = parse(kRollTool, { "-Printer", "q", "-name", "a",
                                  "-width", "62", "-height", "50" });
  EXPECT_EQ(kActionAdd, add.action);
  EXPECT_EQ("q", add.settings.printer_name);
  EXPECT_EQ("a", add.settings.format_name);
  EXPECT_EQ(62, add.settings.width_mm);
  EXPECT_EQ(50, add.settings.height_mm);

  Parsed del = parse(kRollTool, { "-Pxyz", "q", "-delete", "a" });
  EXPECT_EQ(kActionDelete, del.action);
  EXPECT_EQ("a", del.settings.format_name);
}

TEST(ParseOptions, AnythingButTheFiveOptionsGivesUsage) {
  const char* const not_options[] = {
    "-p", "-N", "-D", "-W", "-H", "-x", "P", "n", "", "-", "--P", "+P",
    "/P", " -P",
  };
  for (const char* bad : not_options) {
    // The rest of each command line is a valid delete.
    expect_actions(kTapeTool, {
      { { bad, "v", "-P", "q", "-d", "a" }, kActionUsage },
      { { "-P", "q", bad, "v", "-d", "a" }, kActionUsage },
      { { "-P", "q", "-d", "a", bad, "v" }, kActionUsage },
    });
  }
}

TEST(ParseOptions, BadPairStopsReadingAtOnce) {
  Parsed first = parse(kTapeTool, { "-x", "y", "-P", "q", "-d", "a" });
  EXPECT_EQ(kActionUsage, first.action);
  EXPECT_EQ("", first.settings.printer_name);
  EXPECT_EQ("", first.settings.format_name);

  Parsed middle = parse(kTapeTool, { "-P", "q", "-x", "y", "-d", "a" });
  EXPECT_EQ(kActionUsage, middle.action);
  EXPECT_EQ("q", middle.settings.printer_name);
  EXPECT_EQ("", middle.settings.format_name);

  Parsed bad_value = parse(kTapeTool,
      { "-P", "q", "-w", "0", "-n", "a", "-h", "50" });
  EXPECT_EQ(kActionUsage, bad_value.action);
  EXPECT_EQ("", bad_value.settings.format_name);
  EXPECT_EQ(0, bad_value.settings.height_mm);
}

TEST(ParseOptions, RepeatedOptionReplacesEarlierValueWhole) {
  Parsed printer = parse(kTapeTool, { "-P", "first", "-P", "ab", "-d", "a" });
  EXPECT_EQ(kActionDelete, printer.action);
  EXPECT_EQ("ab", printer.settings.printer_name);

  Parsed name = parse(kRollTool, { "-P", "q", "-n", "abcdefgh", "-w", "62",
                                   "-n", "xy", "-h", "50" });
  EXPECT_EQ(kActionAdd, name.action);
  EXPECT_EQ("xy", name.settings.format_name);

  Parsed deleted = parse(kRollTool, { "-P", "q", "-d", "abcdefgh",
                                      "-d", "xy" });
  EXPECT_EQ(kActionDelete, deleted.action);
  EXPECT_EQ("xy", deleted.settings.format_name);

  Parsed sizes = parse(kRollTool, { "-P", "q", "-n", "a", "-w", "62",
                                    "-h", "1200", "-w", "10", "-h", "7" });
  EXPECT_EQ(kActionAdd, sizes.action);
  EXPECT_EQ(10, sizes.settings.width_mm);
  EXPECT_EQ(7, sizes.settings.height_mm);

  // Each tape width is fitted anew from no tape: a later width that needs
  // no shrinking names no tape either.
  Parsed narrower = parse(kTapeTool, { "-P", "q", "-n", "a", "-w", "12",
                                       "-w", "7", "-h", "50" });
  EXPECT_EQ(7, narrower.settings.width_mm);
  EXPECT_EQ(50, narrower.settings.head_dots);
  EXPECT_EQ("", narrower.settings.media_name);

  Parsed wider = parse(kTapeTool, { "-P", "q", "-n", "a", "-w", "7",
                                    "-w", "12", "-h", "50" });
  EXPECT_EQ(10, wider.settings.width_mm);
  EXPECT_EQ(70, wider.settings.head_dots);
  EXPECT_EQ("_vtS12mm__", wider.settings.media_name);

  Parsed height = parse(kTapeTool, { "-P", "q", "-n", "a", "-w", "7",
                                     "-h", "2", "-h", "1200" });
  EXPECT_EQ(1000, height.settings.height_mm);
}

struct NumberCase {
  const char* value;
  int64_t number;  // 0: the value is refused
};

// Sizes are the leading base-10 number, as strtol reads it. Roll-label
// models store sizes as given, so the number itself shows.
const NumberCase kNumberForms[] = {
  { "12", 12 },
  { "12mm", 12 },
  { " 12", 12 },
  { "\t\n12", 12 },
  { "+12", 12 },
  { "12 ", 12 },
  { "3.5", 3 },
  { "007", 7 },      // leading zeros are not octal
  { "010", 10 },
  { "1e3", 1 },
  { "0x10", 0 },     // read as 0, not as hexadecimal 16
  { "0", 0 },
  { "-3", 0 },
  { "-0", 0 },
  { "abc", 0 },
  { "mm12", 0 },
  { "", 0 },
  { " ", 0 },
  { "+", 0 },
  { "00000000000000000000000000000012", 12 },   // 32 characters
  { "000000000000000000000000000000012", 0 },   // 33 characters
  { "2147483647", 2147483647 },
  { "2147483648", 0 },
  { "4294967297", 0 },                          // would wrap to 1
  { "9223372036854775807", 0 },
  { "9223372036854775808", 0 },                 // strtol overflow
  { "99999999999999999999999999999999", 0 },
  { "-99999999999999999999", 0 },
};

TEST(ParseOptions, WidthAndHeightAreTheLeadingDecimalNumber) {
  for (const std::string option : { "-w", "-h" }) {
    for (const NumberCase& c : kNumberForms) {
      Args args = { "-P", "q", "-n", "a", "-w", "62", "-h", "50" };
      args[option == "-w" ? 5 : 7] = c.value;
      Parsed parsed = parse(kRollTool, args);
      std::string what = option + " [" + c.value + "]";
      if (c.number == 0) {
        EXPECT_EQ(kActionUsage, parsed.action) << what;
        continue;
      }
      EXPECT_EQ(kActionAdd, parsed.action) << what;
      EXPECT_EQ(c.number, option == "-w" ? parsed.settings.width_mm :
                                          parsed.settings.height_mm) << what;
    }
  }
}

struct WidthCase {
  const char* requested;
  int64_t width;  // 0: the width is refused
  int64_t dots;
  const char* media;
};

void expect_widths(const std::string& name,
                   const std::vector<WidthCase>& cases) {
  for (const WidthCase& c : cases) {
    Parsed parsed = parse(kTapeTool, tape_add(name, c.requested, "50"));
    std::string what = name + " -w " + c.requested;
    if (c.width == 0) {
      EXPECT_EQ(kActionUsage, parsed.action) << what;
      continue;
    }
    EXPECT_EQ(kActionAdd, parsed.action) << what;
    EXPECT_EQ(c.width, parsed.settings.width_mm) << what;
    EXPECT_EQ(c.dots, parsed.settings.head_dots) << what;
    EXPECT_EQ(c.media, parsed.settings.media_name) << what;
  }
}

TEST(ParseOptions, StandardTapeWidthFitsAtEveryRowBoundary) {
  expect_widths("Shop", {
    { "1", 1, 24, "" },
    { "2", 2, 24, "" },              // printable width of 3.5 mm tape
    { "3", 2, 24, "_vtS3.5mm_" },
    { "4", 2, 24, "_vtS3.5mm_" },
    { "5", 2, 24, "_vtS3.5mm_" },    // the 3.5 mm row reaches up to 5
    { "6", 4, 32, "_vtS6mm___" },
    { "7", 7, 50, "" },
    { "8", 7, 50, "_vtS9mm___" },
    { "9", 7, 50, "_vtS9mm___" },
    { "10", 10, 70, "" },
    { "11", 10, 70, "_vtS12mm__" },
    { "12", 10, 70, "_vtS12mm__" },
    { "13", 13, 112, "" },
    { "16", 16, 112, "" },
    { "17", 16, 112, "_vtS18mm__" },
    { "18", 16, 112, "_vtS18mm__" },
    { "19", 19, 128, "" },
    { "20", 20, 128, "" },
    { "22", 22, 128, "" },
    { "23", 22, 128, "_vtS24mm__" },
    { "24", 22, 128, "_vtS24mm__" },
    { "25", 0, 0, "" },
    { "36", 0, 0, "" },
    { "2147483647", 0, 0, "" },
  });
}

TEST(ParseOptions, TubeWidthFitsAtEveryRowBoundary) {
  expect_widths("HS", {
    { "1", 1, 28, "" },
    { "4", 4, 28, "" },
    { "5", 4, 28, "_vtHS6mm__" },
    { "6", 4, 28, "_vtHS6mm__" },
    { "7", 7, 48, "" },
    { "8", 7, 48, "_vtHS9mm__" },
    { "9", 7, 48, "_vtHS9mm__" },
    { "10", 9, 66, "_vtHS12mm_" },   // 12 mm tube prints less than 10
    { "12", 9, 66, "_vtHS12mm_" },
    { "13", 13, 106, "" },
    { "15", 15, 106, "" },
    { "16", 15, 106, "_vtHS18mm_" },
    { "18", 15, 106, "_vtHS18mm_" },
    { "19", 18, 128, "_vtHS24mm_" },
    { "24", 18, 128, "_vtHS24mm_" },
    // Wider tube is taken as asked, without dots or a page-size name.
    { "25", 25, 0, "" },
    { "36", 36, 0, "" },
    { "2147483647", 2147483647, 0, "" },
  });
}

TEST(ParseOptions, TubeWiderThanTableTakesNoTapeEvenAfterAnEarlierWidth) {
  Parsed parsed = parse(kTapeTool, { "-P", "q", "-n", "HSshop", "-w", "12",
                                     "-w", "30", "-h", "50" });
  EXPECT_EQ(kActionAdd, parsed.action);
  EXPECT_EQ(30, parsed.settings.width_mm);
  EXPECT_EQ(0, parsed.settings.head_dots);
  EXPECT_EQ("", parsed.settings.media_name);
}

struct TubeTestCase {
  Args args;
  int64_t width;
  int64_t dots;
  const char* media;
  int64_t height;
};

TEST(ParseOptions, TubeIsChosenByNameGivenBeforeTheSize) {
  const TubeTestCase cases[] = {
    { { "-P", "q", "-n", "HS12", "-w", "12", "-h", "700" },
      9, 66, "_vtHS12mm_", 500 },
    { { "-P", "q", "-n", "hs12", "-w", "12", "-h", "700" },
      9, 66, "_vtHS12mm_", 500 },
    { { "-P", "q", "-n", "my HS tube", "-w", "12", "-h", "700" },
      9, 66, "_vtHS12mm_", 500 },
    { { "-P", "q", "-n", "tubehs", "-w", "12", "-h", "700" },
      9, 66, "_vtHS12mm_", 500 },
    // Mixed case is no tube.
    { { "-P", "q", "-n", "Hs12", "-w", "12", "-h", "700" },
      10, 70, "_vtS12mm__", 700 },
    { { "-P", "q", "-n", "hS12", "-w", "12", "-h", "700" },
      10, 70, "_vtS12mm__", 700 },
    { { "-P", "q", "-n", "H S", "-w", "12", "-h", "700" },
      10, 70, "_vtS12mm__", 700 },
    // A name that comes after the sizes is not seen by them.
    { { "-P", "q", "-w", "12", "-h", "700", "-n", "HS12" },
      10, 70, "_vtS12mm__", 700 },
    { { "-P", "q", "-w", "12", "-n", "HS12", "-h", "700" },
      10, 70, "_vtS12mm__", 500 },
    { { "-P", "q", "-h", "700", "-n", "HS12", "-w", "12" },
      9, 66, "_vtHS12mm_", 700 },
    // The name as it stands when each size is read.
    { { "-P", "q", "-n", "HS", "-w", "12", "-n", "plain", "-h", "700" },
      9, 66, "_vtHS12mm_", 700 },
    { { "-P", "q", "-n", "plain", "-w", "12", "-n", "HS", "-h", "700" },
      10, 70, "_vtS12mm__", 500 },
  };
  for (const TubeTestCase& c : cases) {
    Parsed parsed = parse(kTapeTool, c.args);
    EXPECT_EQ(kActionAdd, parsed.action) << show(c.args);
    EXPECT_EQ(c.width, parsed.settings.width_mm) << show(c.args);
    EXPECT_EQ(c.dots, parsed.settings.head_dots) << show(c.args);
    EXPECT_EQ(c.media, parsed.settings.media_name) << show(c.args);
    EXPECT_EQ(c.height, parsed.settings.height_mm) << show(c.args);
  }
}

TEST(ParseOptions, DeleteNameAlsoChoosesTube) {
  // 30 mm fits only tube, so the delete is valid only with a tube name.
  Parsed tube = parse(kTapeTool, { "-P", "q", "-d", "HS30", "-w", "30" });
  EXPECT_EQ(kActionDelete, tube.action);
  EXPECT_EQ(30, tube.settings.width_mm);
  EXPECT_EQ(kActionUsage,
            parse(kTapeTool, { "-P", "q", "-d", "S30", "-w", "30" }).action);
}

TEST(ParseOptions, TapeHeightIsRaisedToMinimumAndCapped) {
  struct HeightCase {
    const char* name;
    const char* requested;
    int64_t height;
  };
  const HeightCase cases[] = {
    { "Shop", "1", 4 },
    { "Shop", "2", 4 },
    { "Shop", "3", 4 },
    { "Shop", "4", 4 },
    { "Shop", "5", 5 },
    { "Shop", "999", 999 },
    { "Shop", "1000", 1000 },
    { "Shop", "1001", 1000 },
    { "Shop", "1200", 1000 },
    { "Shop", "2147483647", 1000 },
    { "HS", "2", 4 },
    { "HS", "300", 300 },
    { "HS", "500", 500 },
    { "HS", "501", 500 },
    { "HS", "700", 500 },
    { "hs", "700", 500 },
    { "Hs", "700", 700 },
    { "HS", "1200", 500 },
  };
  for (const HeightCase& c : cases) {
    Parsed parsed = parse(kTapeTool, tape_add(c.name, "12", c.requested));
    std::string what = std::string(c.name) + " -h " + c.requested;
    EXPECT_EQ(kActionAdd, parsed.action) << what;
    EXPECT_EQ(c.height, parsed.settings.height_mm) << what;
  }
}

// The names the roll-label models (or the tape models) are installed
// under.
std::vector<std::string> programs_of(bool roll_label) {
  std::vector<std::string> programs;
  for (const ModelEntry& model : kModels) {
    if ((model.model_type <= kLastRollLabelType) == roll_label)
      programs.push_back(std::string("vtmediatoollpr_") + model.model_code);
  }
  return programs;
}

TEST(ParseOptions, RollLabelModelsTakeSizesAsGiven) {
  struct SizeCase {
    const char* name;
    int64_t width;
    int64_t height;
  };
  // Sizes the tape rules would refuse, shrink, raise or cap.
  const SizeCase cases[] = {
    { "Shop", 62, 50 },
    { "Shop", 3, 2 },
    { "Shop", 12, 1 },
    { "Shop", 103, 1200 },
    { "HS12", 12, 700 },
    { "Shop", 2147483647, 2147483647 },
  };
  for (const std::string& program : programs_of(true)) {
    for (const SizeCase& c : cases) {
      Parsed parsed = parse(program.c_str(),
          { "-P", "q", "-n", c.name, "-w", std::to_string(c.width),
            "-h", std::to_string(c.height) });
      std::string what = program + " " + c.name + " " +
          std::to_string(c.width) + "x" + std::to_string(c.height);
      EXPECT_EQ(kActionAdd, parsed.action) << what;
      EXPECT_EQ(c.width, parsed.settings.width_mm) << what;
      EXPECT_EQ(c.height, parsed.settings.height_mm) << what;
      EXPECT_EQ(0, parsed.settings.head_dots) << what;
      EXPECT_EQ("", parsed.settings.media_name) << what;
    }
  }
}

TEST(ParseOptions, EveryTapeModelFitsWidths) {
  for (const std::string& program : programs_of(false)) {
    Parsed parsed = parse(program.c_str(), tape_add("Shop", "12", "2"));
    EXPECT_EQ(kActionAdd, parsed.action) << program;
    EXPECT_EQ(10, parsed.settings.width_mm) << program;
    EXPECT_EQ(70, parsed.settings.head_dots) << program;
    EXPECT_EQ("_vtS12mm__", parsed.settings.media_name) << program;
    EXPECT_EQ(4, parsed.settings.height_mm) << program;
    EXPECT_EQ(kActionUsage, parse(program.c_str(),
                                  tape_add("Shop", "25", "50")).action)
        << program;
  }
}

TEST(ParseOptions, SizesGivenWithDeleteAreStillChecked) {
  expect_actions(kTapeTool, {
    { { "-P", "q", "-d", "a", "-w", "30", "-h", "10" }, kActionUsage },
    { { "-P", "q", "-d", "a", "-w", "0" }, kActionUsage },
    { { "-P", "q", "-d", "a", "-h", "abc" }, kActionUsage },
    { { "-P", "q", "-d", "a", "-h", "2147483648" }, kActionUsage },
    { { "-P", "q", "-d", "a", "-w", "12" }, kActionDelete },
    { { "-P", "q", "-d", "a", "-h", "5000" }, kActionDelete },
    { { "-P", "q", "-d", "a", "-w", "24", "-h", "1" }, kActionDelete },
  });
  expect_actions(kRollTool, {
    { { "-P", "q", "-d", "a", "-w", "300", "-h", "10" }, kActionDelete },
    { { "-P", "q", "-d", "a", "-w", "-1" }, kActionUsage },
  });
}

TEST(ParseOptions, ActionFollowsWhichOptionsWereGiven) {
  expect_actions(kTapeTool, {
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "50" }, kActionAdd },
    { { "-h", "50", "-w", "12", "-n", "a", "-P", "q" }, kActionAdd },
    { { "-n", "a", "-w", "12", "-h", "50" }, kActionUsage },      // no -P
    { { "-n", "a", "-w", "12", "-h", "50", "-x", "y" }, kActionUsage },
    { { "-P", "q", "-n", "a", "-w", "12" }, kActionUsage },       // no -h
    { { "-P", "q", "-n", "a", "-h", "50" }, kActionUsage },       // no -w
    { { "-P", "q", "-n", "a" }, kActionUsage },
    { { "-P", "q", "-n", "a", "-d", "a" }, kActionUsage },
    { { "-P", "q", "-d", "a", "-n", "a", "-w", "12", "-h", "50" },
      kActionUsage },
    { { "-P", "q", "-d", "a" }, kActionDelete },
    { { "-d", "a", "-P", "q" }, kActionDelete },
    { { "-d", "a", "-w", "12" }, kActionUsage },                  // no -P
    { { "-P", "q", "-w", "12", "-h", "50" }, kActionUsage },      // no name
    { { "-P", "q", "-P", "r" }, kActionUsage },
  });
}

TEST(ParseOptions, ControlCharactersInTextValuesGiveUsage) {
  const char* const bad_values[] = {
    "a\nb", "a\tb", "\x01", "ab\x1f", "\x7f", "a\rb", "\x1b[2J",
  };
  for (const char* bad : bad_values) {
    expect_actions(kTapeTool, {
      { { "-P", bad, "-d", "a" }, kActionUsage },
      { { "-P", "q", "-d", bad }, kActionUsage },
      { { "-P", "q", "-n", bad, "-w", "12", "-h", "50" }, kActionUsage },
    });
  }
  // Blanks, punctuation and bytes above 0x7F are ordinary text.
  const char* const good_values[] = {
    "a b", " ", "~!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}", "\xc3\xa9t\xc3\xa9",
    "\x80", "\xff",
  };
  for (const char* good : good_values) {
    Parsed printer = parse(kTapeTool, { "-P", good, "-d", "a" });
    EXPECT_EQ(kActionDelete, printer.action) << good;
    EXPECT_EQ(good, printer.settings.printer_name);
    Parsed name = parse(kTapeTool, { "-P", "q", "-d", good });
    EXPECT_EQ(kActionDelete, name.action) << good;
    EXPECT_EQ(good, name.settings.format_name);
  }
}

TEST(ParseOptions, TextValueLengthsAreBounded) {
  const std::string printer_max(1024, 'p');
  const std::string name_max(32, 'n');
  Parsed printer = parse(kTapeTool, { "-P", printer_max, "-d", "a" });
  EXPECT_EQ(kActionDelete, printer.action);
  EXPECT_EQ(printer_max, printer.settings.printer_name);
  Parsed added = parse(kTapeTool, tape_add(name_max, "12", "50"));
  EXPECT_EQ(kActionAdd, added.action);
  EXPECT_EQ(name_max, added.settings.format_name);
  Parsed deleted = parse(kTapeTool, { "-P", "q", "-d", name_max });
  EXPECT_EQ(kActionDelete, deleted.action);
  EXPECT_EQ(name_max, deleted.settings.format_name);

  // Lengths are counted in bytes: 16 two-byte characters fill a name.
  std::string wide_name;
  for (int i = 0; i < 16; ++i)
    wide_name += "\xc3\xa9";
  expect_actions(kTapeTool, {
    { { "-P", "q", "-d", wide_name }, kActionDelete },
    { { "-P", "q", "-d", wide_name + "x" }, kActionUsage },
    { { "-P", printer_max + "p", "-d", "a" }, kActionUsage },
    { { "-P", "q", "-n", name_max + "n", "-w", "12", "-h", "50" },
      kActionUsage },
    { { "-P", "q", "-d", name_max + "n" }, kActionUsage },
    { { "-P", "", "-d", "a" }, kActionUsage },
    { { "-P", "q", "-d", "" }, kActionUsage },
    { { "-P", "q", "-n", "", "-w", "12", "-h", "50" }, kActionUsage },
  });
}

}  // namespace
