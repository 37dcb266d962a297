// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/options.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <utility>
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
  TapeFit fit;
  std::string reason;
};

// Parses |args| as the command line after |program|, on a record prepared
// the way the program prepares it.
Parsed parse(const std::string& program, const Args& args) {
  Parsed parsed;
  EXPECT_TRUE(identify_model(program.c_str(), &parsed.settings)) << program;
  Args argv = { program };
  argv.insert(argv.end(), args.begin(), args.end());
  CommandLine line = parse_options(static_cast<int>(argv.size()),
                                   arg_pointers(argv).data(),
                                   &parsed.settings);
  parsed.action = line.action;
  parsed.fit = line.fit;
  parsed.reason = line.reason;
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

// The action and the fields the options fill; the model code stays as the
// program name gave it.
struct RecordCase {
  std::string program;
  Args args;
  Action action;
  std::string printer;
  std::string name;
  int64_t width;
  int64_t height;
  int64_t dots = 0;
  const char* media = "";
};

void expect_records(const std::vector<RecordCase>& cases) {
  for (const RecordCase& c : cases) {
    Parsed parsed = parse(c.program, c.args);
    EXPECT_EQ(c.action, parsed.action) << show(c.args);
    EXPECT_EQ(c.printer, parsed.settings.printer_name) << show(c.args);
    EXPECT_EQ(c.name, parsed.settings.format_name) << show(c.args);
    EXPECT_EQ(c.width, parsed.settings.width_mm) << show(c.args);
    EXPECT_EQ(c.height, parsed.settings.height_mm) << show(c.args);
    EXPECT_EQ(c.dots, parsed.settings.head_dots) << show(c.args);
    EXPECT_EQ(c.media, parsed.settings.media_name) << show(c.args);
    EXPECT_EQ(c.program.substr(strlen("vtmediatoollpr_")),
              parsed.settings.model_code) << show(c.args);
  }
}

// An add on the tape model: "-P q", then |args|.
struct TapeCase {
  Args args;
  int64_t width;
  int64_t dots;
  const char* media;
  int64_t height;
};

void expect_tape_adds(const std::vector<TapeCase>& cases) {
  for (const TapeCase& c : cases) {
    Args args = { "-P", "q" };
    args.insert(args.end(), c.args.begin(), c.args.end());
    Parsed parsed = parse(kTapeTool, args);
    EXPECT_EQ(kActionAdd, parsed.action) << show(args);
    EXPECT_EQ(c.width, parsed.settings.width_mm) << show(args);
    EXPECT_EQ(c.dots, parsed.settings.head_dots) << show(args);
    EXPECT_EQ(c.media, parsed.settings.media_name) << show(args);
    EXPECT_EQ(c.height, parsed.settings.height_mm) << show(args);
  }
}

// A valid add on the tape model with one value replaced.
Args tape_add(const std::string& name, const std::string& width,
              const std::string& height) {
  return { "-P", "q", "-n", name, "-w", width, "-h", height };
}

TEST(ParseOptions, ActionFollowsWhichOptionsWereGiven) {
  expect_actions(kTapeTool, {
    // Options come in pairs, at least two of them.
    { {}, kActionUsage },
    { { "-P" }, kActionUsage },
    { { "-P", "q" }, kActionUsage },
    { { "-P", "q", "-d" }, kActionUsage },
    { { "-P", "q", "-d", "a", "extra" }, kActionUsage },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "50", "-h" }, kActionUsage },
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
    // The set commands, each in its own shape, -P before or after.
    { { "--export" }, kActionExport },
    { { "--diff", "f" }, kActionDiff },
    { { "-P", "q", "--apply", "f" }, kActionApply },
    { { "--apply", "-", "-Pxyz", "q" }, kActionApply },
    { { "--sync", "f", "-P", "q" }, kActionSync },
    { { "-P", "q", "--diff", "f" }, kActionUsage },
    { { "--apply", "f", "-d", "q" }, kActionUsage },
  });
}

// A refusal names the argument at fault and the fault itself; the front
// end adds where help is.
TEST(ParseOptions, RefusalSaysWhatIsWrong) {
  const std::string kNotAHeight = ": not a height of 1 to 2147483647 mm";
  const struct {
    Args args;
    std::string reason;
  } cases[] = {
    { {}, "no options: an add needs -P, -n, -w and -h, a delete -P and -d" },
    // An option left without its value; -h alone is no help.
    { { "-P" }, "-P needs a value, the printer queue" },
    { { "-h" }, "-h needs a value, the height in mm" },
    { { "-help" }, "-help is read as -h, which needs a value, the height in mm" },
    { { "-P", "q", "-d" }, "-d needs a value, the name to delete" },
    { { "-P", "q", "-n", "a", "-w", "12", "-h", "50", "-width" },
      "-width is read as -w, which needs a value, the width in mm" },
    // Words that are no option, wherever they stand.
    { { "--lsit" }, "--lsit: no such option" },
    { { "-l" }, "-l: no such option" },
    { { "-V" }, "-V: no such option" },
    { { "list" }, "list: no such option" },
    { { "-p", "q", "-d", "a" }, "-p: no such option" },
    { { "-P", "q", "-x", "y", "-d", "a" }, "-x: no such option" },
    { { "-P", "q", "-w", "12", "mm", "-d", "a" }, "mm: no such option" },
    // The project's own words stand alone.
    { { "--list", "extra" }, "--list takes no other arguments" },
    { { "-P", "q", "--help" }, "--help takes no other arguments" },
    { { "--export", "f" }, "--export takes no other arguments" },
    { { "--diff" }, "--diff takes one FILE and no other arguments" },
    { { "--apply", "f" },
      "--apply takes a FILE and -P QUEUE, and no other arguments" },
    { { "-P", "q", "--sync", "f", "-d", "a" },
      "--sync takes a FILE and -P QUEUE, and no other arguments" },
    { { "-P", "", "--apply", "f" }, "-P: empty" },
    { { "--sync", "", "-P", "q" },
      "--sync: empty, where a FILE, or - for standard input, belongs" },
    // A value given unquoted, whether that makes the count odd or not.
    { { "-P", "q", "-n", "Shop", "12", "-w", "12", "-h", "50" },
      "-n Shop 12: quote a value that holds blanks, as in -n 'Shop 12'" },
    { { "-P", "q", "-n", "Big", "Shop", "12", "-w", "12", "-h", "50" },
      "-n Big Shop 12: quote a value that holds blanks, as in"
      " -n 'Big Shop 12'" },
    { { "-P", "q", "-d", "it's", "mine" },
      "-d it's mine: quote a value that holds blanks, as in"
      " -d 'it'\\''s mine'" },
    { { "-P", "Shop", "printer", "-d", "a" },
      "-P Shop printer: quote a value that holds blanks, as in"
      " -P 'Shop printer'" },
    // Options missing or together.
    { { "-P", "q" }, "-n or -d missing: nothing to add or delete" },
    { { "-n", "a", "-w", "12", "-h", "50" },
      "-P missing: the printer queue is needed" },
    { { "-P", "q", "-n", "a", "-d", "a" }, "-n and -d together" },
    { { "-P", "q", "-n", "a", "-w", "12" }, "-n needs -w and -h" },
    // Values.
    { tape_add("a", "0", "50"), "-w 0: not a width of 1 to 2147483647 mm" },
    { tape_add("a", "36", "50"), "-w 36: wider than the widest tape, 24 mm" },
    { tape_add("a", "12", "0x10"), "-h 0x10" + kNotAHeight },
    { tape_add("a", "12", "2147483648"), "-h 2147483648" + kNotAHeight },
    { tape_add(std::string(33, 'n'), "12", "50"), "-n: 33 bytes, at most 32" },
    { { "-P", std::string(1025, 'p'), "-d", "a" },
      "-P: 1025 bytes, at most 1024" },
    { { "-P", "q", "-d", "" }, "-d: empty" },
    { { "-P", "q", "-d", "a\nb" }, "-d: holds a control character" },
    { { "-P", "q\t", "-d", "a" }, "-P: holds a control character" },
    { tape_add("x VtL", "12", "50"),
      "-n: holds \"VtL\", which marks identifiers in the driver files" },
    { tape_add("a[CustomTape]", "12", "50"),
      "-n: holds \"[CustomTape]\", which marks a section of the driver"
      " files" },
  };
  for (const auto& c : cases) {
    Parsed parsed = parse(kTapeTool, c.args);
    EXPECT_EQ(kActionUsage, parsed.action) << show(c.args);
    EXPECT_EQ(c.reason, parsed.reason) << show(c.args);
  }
}

TEST(ParseOptions, EachOptionFillsItsFieldKnownByItsFirstTwoCharacters) {
  expect_records({
    { kRollTool, { "-P", "Shop Printer", "-n", "Shop 12", "-w", "62",
                   "-h", "50" },
      kActionAdd, "Shop Printer", "Shop 12", 62, 50 },
    { kRollTool, { "-P", "q", "-d", "Old one" },
      kActionDelete, "q", "Old one", 0, 0 },
    { kRollTool, { "-Printer", "q", "-name", "a", "-width", "62",
                   "-height", "50" }, kActionAdd, "q", "a", 62, 50 },
    { kRollTool, { "-Pxyz", "q", "-delete", "a" },
      kActionDelete, "q", "a", 0, 0 },
  });
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
  expect_records({
    { kTapeTool, { "-x", "y", "-P", "q", "-d", "a" },
      kActionUsage, "", "", 0, 0 },
    { kTapeTool, { "-P", "q", "-x", "y", "-d", "a" },
      kActionUsage, "q", "", 0, 0 },
    { kTapeTool, { "-P", "q", "-w", "0", "-n", "a", "-h", "50" },
      kActionUsage, "q", "", 0, 0 },
  });
}

TEST(ParseOptions, RepeatedOptionReplacesEarlierValueWhole) {
  expect_records({
    { kTapeTool, { "-P", "first", "-P", "ab", "-d", "a" },
      kActionDelete, "ab", "a", 0, 0 },
    { kRollTool, { "-P", "q", "-n", "abcdefgh", "-w", "62", "-n", "xy",
                   "-h", "50" }, kActionAdd, "q", "xy", 62, 50 },
    { kRollTool, { "-P", "q", "-d", "abcdefgh", "-d", "xy" },
      kActionDelete, "q", "xy", 0, 0 },
    { kRollTool, { "-P", "q", "-n", "a", "-w", "62", "-h", "1200", "-w", "10",
                   "-h", "7" }, kActionAdd, "q", "a", 10, 7 },
  });
  // Each tape width is fitted anew from no tape: a later width that needs
  // no shrinking names no tape either.
  expect_tape_adds({
    { { "-n", "a", "-w", "12", "-w", "7", "-h", "50" }, 7, 50, "", 50 },
    { { "-n", "a", "-w", "7", "-w", "12", "-h", "50" },
      10, 70, "_vtS12mm__", 50 },
    { { "-n", "a", "-w", "7", "-h", "2", "-h", "1200" }, 7, 50, "", 1000 },
    // Tube wider than the table takes no tape, even after a width that did.
    { { "-n", "HSshop", "-w", "12", "-w", "30", "-h", "50" }, 30, 0, "", 50 },
  });
}

// Sizes are the leading base-10 number, as strtol reads it. Roll-label
// models store sizes as given, so the number itself shows.
const struct {
  const char* value;
  int64_t number;
} kNumberForms[] = {
  { "12", 12 }, { "12mm", 12 }, { " 12", 12 }, { "\t\n12", 12 }, { "+12", 12 },
  { "12 ", 12 }, { "3.5", 3 }, { "1e3", 1 },
  { "007", 7 }, { "010", 10 },  // leading zeros are not octal
  { "00000000000000000000000000000012", 12 },  // 32 characters
  { "2147483647", 2147483647 },
};

const char* const kRefusedNumbers[] = {
  "0x10",  // read as 0, not as hexadecimal 16
  "0", "-3", "-0", "abc", "mm12", "", " ", "+",
  "000000000000000000000000000000012",  // 33 characters
  "2147483648", "4294967297",  // would wrap to 1
  "9223372036854775807", "9223372036854775808",  // strtol overflow
  "99999999999999999999999999999999", "-99999999999999999999",
};

TEST(ParseOptions, WidthAndHeightAreTheLeadingDecimalNumber) {
  for (int at : { 5, 7 }) {
    Args args = { "-P", "q", "-n", "a", "-w", "62", "-h", "50" };
    for (const auto& c : kNumberForms) {
      args[at] = c.value;
      Parsed parsed = parse(kRollTool, args);
      EXPECT_EQ(kActionAdd, parsed.action) << show(args);
      EXPECT_EQ(c.number, at == 5 ? parsed.settings.width_mm :
                                    parsed.settings.height_mm) << show(args);
    }
    for (const char* refused : kRefusedNumbers) {
      args[at] = refused;
      EXPECT_EQ(kActionUsage, parse(kRollTool, args).action) << show(args);
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

TEST(ParseOptions, TapeAndTubeWidthsFitAtEveryRowBoundary) {
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

TEST(ParseOptions, TubeIsChosenByNameGivenBeforeTheSize) {
  expect_tape_adds({
    { { "-n", "HS12", "-w", "12", "-h", "700" }, 9, 66, "_vtHS12mm_", 500 },
    { { "-n", "hs12", "-w", "12", "-h", "700" }, 9, 66, "_vtHS12mm_", 500 },
    { { "-n", "my HS tube", "-w", "12", "-h", "700" },
      9, 66, "_vtHS12mm_", 500 },
    { { "-n", "tubehs", "-w", "12", "-h", "700" }, 9, 66, "_vtHS12mm_", 500 },
    // Mixed case is no tube.
    { { "-n", "Hs12", "-w", "12", "-h", "700" }, 10, 70, "_vtS12mm__", 700 },
    { { "-n", "hS12", "-w", "12", "-h", "700" }, 10, 70, "_vtS12mm__", 700 },
    { { "-n", "H S", "-w", "12", "-h", "700" }, 10, 70, "_vtS12mm__", 700 },
    // A name that comes after the sizes is not seen by them.
    { { "-w", "12", "-h", "700", "-n", "HS12" }, 10, 70, "_vtS12mm__", 700 },
    { { "-w", "12", "-n", "HS12", "-h", "700" }, 10, 70, "_vtS12mm__", 500 },
    { { "-h", "700", "-n", "HS12", "-w", "12" }, 9, 66, "_vtHS12mm_", 700 },
    // The name as it stands when each size is read.
    { { "-n", "HS", "-w", "12", "-n", "plain", "-h", "700" },
      9, 66, "_vtHS12mm_", 700 },
    { { "-n", "plain", "-w", "12", "-n", "HS", "-h", "700" },
      10, 70, "_vtS12mm__", 500 },
  });
}

TEST(ParseOptions, TapeHeightIsRaisedToMinimumAndCapped) {
  const struct {
    const char* name;
    std::vector<std::pair<const char*, int64_t>> heights;  // asked, stored
  } cases[] = {
    { "Shop", { { "1", 4 }, { "2", 4 }, { "3", 4 }, { "4", 4 }, { "5", 5 },
                { "999", 999 }, { "1000", 1000 }, { "1001", 1000 },
                { "1200", 1000 }, { "2147483647", 1000 } } },
    { "HS", { { "2", 4 }, { "300", 300 }, { "500", 500 }, { "501", 500 },
              { "1200", 500 } } },
  };
  for (const auto& c : cases) {
    for (const auto& height : c.heights) {
      Args args = tape_add(c.name, "12", height.first);
      Parsed parsed = parse(kTapeTool, args);
      EXPECT_EQ(kActionAdd, parsed.action) << show(args);
      EXPECT_EQ(height.second, parsed.settings.height_mm) << show(args);
    }
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
      expect_records({ { program, { "-P", "q", "-n", c.name,
                                    "-w", std::to_string(c.width),
                                    "-h", std::to_string(c.height) },
                         kActionAdd, "q", c.name, c.width, c.height } });
    }
  }
}

TEST(ParseOptions, EveryTapeModelFitsWidths) {
  for (const std::string& program : programs_of(false)) {
    expect_records({ { program, tape_add("Shop", "12", "2"),
                       kActionAdd, "q", "Shop", 10, 4, 70, "_vtS12mm__" } });
    EXPECT_EQ(kActionUsage, parse(program, tape_add("Shop", "25", "50")).action)
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
    // 30 mm fits only tube, so the delete is valid only with a tube name.
    { { "-P", "q", "-d", "S30", "-w", "30" }, kActionUsage },
  });
  expect_actions(kRollTool, {
    { { "-P", "q", "-d", "a", "-w", "300", "-h", "10" }, kActionDelete },
    { { "-P", "q", "-d", "a", "-w", "-1" }, kActionUsage },
  });
  expect_records({ { kTapeTool, { "-P", "q", "-d", "HS30", "-w", "30" },
                     kActionDelete, "q", "HS30", 30, 0 } });
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
  for (const char* good : { "a b", " ", "~!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}",
                            "\xc3\xa9t\xc3\xa9", "\x80", "\xff" }) {
    expect_records({
      { kTapeTool, { "-P", good, "-d", "a" }, kActionDelete, good, "a", 0, 0 },
      { kTapeTool, { "-P", "q", "-d", good }, kActionDelete, "q", good, 0, 0 },
    });
  }
}

TEST(ParseOptions, TextValueLengthsAreBounded) {
  const std::string printer_max(1024, 'p');
  const std::string name_max(32, 'n');
  // Lengths are counted in bytes: 16 two-byte characters fill a name.
  std::string wide_name;
  for (int i = 0; i < 16; ++i)
    wide_name += "\xc3\xa9";
  expect_records({
    { kTapeTool, { "-P", printer_max, "-d", "a" },
      kActionDelete, printer_max, "a", 0, 0 },
    { kTapeTool, tape_add(name_max, "12", "50"),
      kActionAdd, "q", name_max, 10, 50, 70, "_vtS12mm__" },
    { kTapeTool, { "-P", "q", "-d", name_max },
      kActionDelete, "q", name_max, 0, 0 },
    { kTapeTool, { "-P", "q", "-d", wide_name },
      kActionDelete, "q", wide_name, 0, 0 },
  });
  expect_actions(kTapeTool, {
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

// What a person at a terminal is told an add stored; the end-to-end test
// shows that it reaches the terminal.
TEST(StoredNote, SaysWhatTheTapeRulesMadeOfTheRequestAndWhy) {
  const struct {
    Args args;
    const char* note;
  } cases[] = {
    { tape_add("Cable paths", "12", "50"),
      "'Cable paths' stored as 9 x 50 mm on 12 mm heat-shrink tube"
      " (its name holds \"hs\")" },
    { tape_add("Shelf", "11", "2"),
      "'Shelf' stored as 10 x 4 mm on 12 mm tape (its printable width;"
      " 4 mm at least)" },
    { tape_add("HS wide", "30", "600"),
      "'HS wide' stored as 30 x 500 mm on heat-shrink tube as given, wider"
      " than the widest tube (its name holds \"HS\"; 500 mm at most)" },
    { tape_add("Long", "7", "1200"),
      "'Long' stored as 7 x 1000 mm on 9 mm tape (1000 mm at most)" },
    // Stored as asked: nothing to say.
    { tape_add("Shelf", "10", "50"), "" },
  };
  for (const auto& c : cases) {
    Parsed parsed = parse(kTapeTool, c.args);
    EXPECT_EQ(c.note, stored_note(parsed.settings, parsed.fit))
        << show(c.args);
  }
  // Roll labels are stored as given.
  Parsed roll = parse(kRollTool, { "-P", "q", "-n", "HS", "-w", "62",
                                   "-h", "50" });
  EXPECT_EQ("", stored_note(roll.settings, roll.fit));
}

}  // namespace
