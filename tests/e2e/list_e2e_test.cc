// SPDX-License-Identifier: GPL-2.0-or-later
// --list on driver files of the tests' own, for scripts and, at a
// terminal, for a person.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

// The identifier of a format, laid out by hand: name length, width,
// height modulo 4096, and a fixed time stamp.
std::string id_for(const std::string& media, const std::string& name,
                   unsigned width, unsigned height) {
  char id[64];
  snprintf(id, sizeof(id), "VtL%s%02zX%02X%03X1A2B3", media.c_str(),
           name.size(), width, height & 0xFFF);
  return id;
}

std::string page(const std::string& id, const std::string& name) {
  return standin_page_size_line(id, name, "28", "283");
}
std::string custom(const std::string& id, const std::string& name) {
  return "[CustomTape]\n" + id + "/" + name + "\n";
}
std::string sizes(const std::string& id, const std::string& name,
                  const std::string& along) {
  return id + "/" + name + ":\t70\t" + along + "\n";
}
std::string area(const std::string& id) {
  return id + ":\t0.00\t0.00\t28.00\t141.51\n";
}

// A format whose lines are all in place.
struct Whole {
  std::string func, media, area;
};
Whole whole(const std::string& id, const std::string& name,
            const std::string& along = "354") {
  return { page(id, name) + custom(id, name),
           page(id, name) + sizes(id, name, along), area(id) };
}

std::string listed(const std::string& name, const std::string& width,
                   const std::string& height, const std::string& tape,
                   const std::string& id, bool complete = true) {
  return name + "\t" + width + "\t" + height + "\t" + tape + "\t" + id +
      (complete ? "\tcomplete\n" : "\tincomplete\n");
}

const std::string kShelf = id_for("_vtS12mm__", "Shelf edge", 10, 100);
const std::string kPlain = id_for("", "Plain 10", 10, 50);
const std::string kTube = id_for("_vtHS9mm__", "HS cable", 7, 50);
const std::string kShell = "it's $(ls) `x` *; a|b & \"c\"";
const std::string kShellId = id_for("", kShell, 10, 4);
const std::string kWide = id_for("", "Wide", 300, 100);
const std::string kTall = id_for("", "Tall", 62, 5000);
const std::string kOther = id_for("", "Shelf edge", 10, 60);
// The lines of a file with no user format.
const std::string kHeader = "*% ordinary lines\n[PageSize]\n";

TEST(ListEndToEnd, PrintsEachUserFormatOnceWithItsSizeTapeAndState) {
  Whole shelf = whole(kShelf, "Shelf edge");
  Whole plain = whole(kPlain, "Plain 10");
  Whole tube = whole(kTube, "HS cable");
  Whole shell = whole(kShellId, kShell);
  Whole wide = whole(kWide, "Wide", "1108");
  Whole tall = whole(kTall, "Tall", "58894");
  Whole other = whole(kOther, "Shelf edge");
  // Five formats, each left as an add or a delete cut short leaves it.
  std::string a1 = id_for("", "Add 1", 10, 51), a2 = id_for("", "Add 2", 10, 52);
  std::string a3 = id_for("", "Add 3", 10, 53), d1 = id_for("", "Del 1", 10, 54);
  std::string d2 = id_for("", "Del 2", 10, 55);
  const struct {
    const char* what;
    const char* program;
    std::string func, media, area;
    std::string out;
  } cases[] = {
    { "no user format", kTape, kHeader, kHeader, "", "" },
    { "tape, tape kept as given, tube, blanks and shell characters", kTape,
      shelf.func + plain.func + tube.func + shell.func,
      shelf.media + plain.media + tube.media + shell.media,
      shelf.area + plain.area + tube.area + shell.area,
      listed("Shelf edge", "10", "100", "_vtS12mm__", kShelf) +
          listed("Plain 10", "10", "50", "-", kPlain) +
          listed("HS cable", "7", "50", "_vtHS9mm__", kTube) +
          listed(kShell, "10", "4", "-", kShellId) },
    { "roll labels 300 mm wide and 5000 mm tall", kRoll,
      wide.func + tall.func, wide.media + tall.media, wide.area + tall.area,
      listed("Wide", "300", "100", "-", kWide) +
          listed("Tall", "62", "5000", "-", kTall) },
    { "a roll label without its size line keeps the field", kRoll,
      tall.func, page(kTall, "Tall"), tall.area,
      listed("Tall", "62", "904", "-", kTall) },
    { "a roll label whose size line no height gives keeps the field", kRoll,
      tall.func, page(kTall, "Tall") + sizes(kTall, "Tall", "58895"),
      tall.area, listed("Tall", "62", "904", "-", kTall) },
    { "one name under two identifiers, media-information order first",
      kTape, other.func + shelf.func, shelf.media + other.media,
      shelf.area + other.area,
      listed("Shelf edge", "10", "100", "_vtS12mm__", kShelf) +
          listed("Shelf edge", "10", "60", "-", kOther) },
    { "named in one file only", kTape, plain.func,
      page(kShelf, "Shelf edge"), plain.area + area(kShelf),
      listed("Shelf edge", "10", "100", "_vtS12mm__", kShelf, false) +
          listed("Plain 10", "10", "50", "-", kPlain, false) },
    { "cut short", kTape,
      page(a1, "Add 1") + page(a2, "Add 2") + custom(a2, "Add 2") +
          page(a3, "Add 3") + custom(a3, "Add 3"),
      page(a1, "Add 1") + page(a2, "Add 2") + page(a3, "Add 3") +
          sizes(a3, "Add 3", "354") + page(d1, "Del 1") +
          sizes(d1, "Del 1", "354") + page(d2, "Del 2") +
          sizes(d2, "Del 2", "354"),
      area(d1),
      listed("Add 1", "10", "51", "-", a1, false) +
          listed("Add 2", "10", "52", "-", a2, false) +
          listed("Add 3", "10", "53", "-", a3, false) +
          listed("Del 1", "10", "54", "-", d1, false) +
          listed("Del 2", "10", "55", "-", d2, false) },
    { "a length field longer than the line", kTape,
      "*PageSize " + id_for("_vtS12mm__", std::string(20, 'x'), 10, 100) +
          "/Short\n",
      "", "", "" },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bool roll = c.program == kRoll;
    Driver driver(c.program, roll ? "rk210" : "txr580");
    driver.lay({ c.func, c.media, "Media=" + kShelf + "\n", c.area });
    RunResult run = driver.run({ "--list" });
    EXPECT_EQ(0, run.exit_status);
    EXPECT_EQ(c.out, run.out);
    EXPECT_EQ("", run.err);
  }
}

TEST(ListEndToEnd, MissingFileOrDirectoryPrintsNothingAndFails) {
  Driver driver(kTape, "txr580");
  std::vector<std::string> gone = { driver.files.function_file,
                                    driver.files.media_info,
                                    driver.files.print_area, driver.inf_dir() };
  for (const std::string& path : gone) {
    SCOPED_TRACE(path);
    driver.restore();
    ASSERT_EQ(0, rename(path.c_str(), (driver.top() + "/away").c_str()));
    RunResult run = driver.run({ "--list" });
    ASSERT_EQ(0, rename((driver.top() + "/away").c_str(), path.c_str()));
    EXPECT_EQ(255, run.exit_status);
    EXPECT_EQ("", run.out);
    std::string relative = path.substr(driver.top().size() + 1);
    EXPECT_EQ(std::string(kTape) + ": " + relative +
              ": No such file or directory\n", run.err);
  }
}

TEST(ListEndToEnd, ChangesNothingAndNeedsOnlyToRead) {
  Driver driver(kTape, "txr580");
  Whole shelf = whole(kShelf, "Shelf edge");
  driver.lay({ shelf.func, shelf.media, "", shelf.area });
  std::vector<std::string> entries = dir_entries(driver.inf_dir());
  ChildSetup reader = nullptr;
  // As root, the files stay root's and the run is nobody's.
  if (geteuid() == 0) {
    driver.use_copy_of_tool();
    ASSERT_EQ(0, chmod(driver.inf_dir().c_str(), 0755));
    for (const std::string& path : driver.files.all())
      ASSERT_EQ(0, chmod(path.c_str(), 0644));
    reader = as_nobody();
  }
  std::vector<int> modes;
  for (const std::string& path : driver.files.all())
    modes.push_back(file_mode(path));
  RunResult run = driver.run({ "--list" }, {}, reader);
  EXPECT_EQ(0, run.exit_status);
  EXPECT_EQ(listed("Shelf edge", "10", "100", "_vtS12mm__", kShelf), run.out);
  driver.expect_files();
  EXPECT_EQ(entries, dir_entries(driver.inf_dir()));
  for (size_t i = 0; i < modes.size(); ++i)
    EXPECT_EQ(modes[i], file_mode(driver.files.all()[i]));
  EXPECT_EQ("", driver.companion_log());
}

// At a terminal the formats are a table for a person, drawn in the
// user's locale: what only the process shows is that it is chosen by the
// terminal and the locale; the table's own rules are the listing tests'.
TEST(ListEndToEnd, AtATerminalShowsATableInTheUsersLocale) {
  ScopedEnv locale("LC_ALL", "C.UTF-8");
  // 7 columns, 9 bytes.
  const std::string kMultiByte = "Gr\xc3\xb6\xc3\x9f" "e 9";
  const std::string kC1 = "C1 \xc2\x9b x", kRaw = "raw \x9b x";
  const std::string kBidi = "bidi \xe2\x80\xae x";
  std::string multi_byte_id = id_for("_vtHS9mm__", kMultiByte, 7, 50);
  std::string c1_id = id_for("_vtS12mm__", kC1, 10, 50);
  std::string raw_id = id_for("_vtS12mm__", kRaw, 10, 51);
  std::string bidi_id = id_for("_vtS12mm__", kBidi, 10, 50);
  Whole shelf = whole(kShelf, "Shelf edge");
  Whole multi_byte = whole(multi_byte_id, kMultiByte);
  Whole c1 = whole(c1_id, kC1), raw = whole(raw_id, kRaw);
  Whole bidi = whole(bidi_id, kBidi);
  const struct {
    const char* what;
    std::string func, media, area;
    std::string shown;  // lines ended by "\n", as the terminal ends them
  } cases[] = {
    { "no user format", kHeader, kHeader, "", "No custom label formats.\n" },
    { "a multi-byte name, controls, a bidi override and one cut short",
      shelf.func + multi_byte.func + c1.func + raw.func + bidi.func,
      shelf.media + multi_byte.media + c1.media + raw.media + bidi.media,
      multi_byte.area + c1.area + raw.area + bidi.area,
      "  NAME        SIZE         PRINTS ON   STATE\n"
      "  Shelf edge  10 x 100 mm  12 mm tape  incomplete\n"
      "  " + kMultiByte + "     7 x 50 mm    9 mm tube\n"
      "  C1 ? x      10 x 50 mm   12 mm tape\n"
      "  raw ? x     10 x 51 mm   12 mm tape\n"
      "  bidi ? x    10 x 50 mm   12 mm tape\n"
      "\n"
      "incomplete: an add or a delete was cut short; the same command run"
      " again,\nor -d NAME, finishes it.\n" },
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Driver driver(kTape, "txr580");
    driver.lay({ c.func, c.media, "", c.area });
    Terminal terminal;
    EXPECT_EQ(0, wait_for(driver.start({ "--list" }, terminal.side())));
    std::string shown;
    for (char ch : c.shown)
      shown += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(shown, terminal.shown());
  }
}

}  // namespace
