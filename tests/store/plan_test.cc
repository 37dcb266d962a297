// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

FormatSettings tape(const std::string& name, int64_t width, int64_t height,
                    const std::string& media, int64_t dots) {
  FormatSettings format;
  format.model_type = 3;
  format.model_code = "txr580";
  format.printer_name = "q";
  format.format_name = name;
  format.width_mm = width;
  format.height_mm = height;
  format.media_name = media;
  format.head_dots = dots;
  return format;
}

const FormatSettings kModel = tape("", 0, 0, "", 0);
const FormatSettings kShop = tape("Shop", 10, 50, "_vtS12mm__", 70);

ListedFormat held_as(const FormatSettings& format, const std::string& id,
                     bool complete = true) {
  ListedFormat held = as_added(format);
  held.id = id;
  held.complete = complete;
  return held;
}

TEST(SameFormat, EveryWayOfDifferingCounts) {
  FormatSettings narrow_roll = tape("Shop", 1, 50, "", 0);
  narrow_roll.model_type = 0;
  ListedFormat no_size_line = held_as(kShop, "A", false);
  no_size_line.across_dots = std::nullopt;
  const struct {
    const char* what;
    ListedFormat held;
    const FormatSettings& wanted;
    bool same;             // left alone by --apply
    bool made_by_request;  // written out by --export as |wanted|
  } cases[] = {
    { "as added", held_as(kShop, "A"), kShop, true, true },
    { "a narrow roll label", held_as(narrow_roll, "A"), narrow_roll, true,
      true },
    { "cut short", held_as(kShop, "A", false), kShop, false, true },
    { "cut short before its size line", no_size_line, kShop, false, true },
    { "another width", held_as(tape("Shop", 7, 50, "_vtS12mm__", 70), "A"),
      kShop, false, false },
    { "another height", held_as(tape("Shop", 10, 51, "_vtS12mm__", 70), "A"),
      kShop, false, false },
    { "width kept, not cut to the tape",
      held_as(tape("Shop", 10, 50, "", 70), "A"), kShop, false, false },
    { "other dots", held_as(tape("Shop", 10, 50, "_vtS12mm__", 66), "A"),
      kShop, false, false },
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.same, same_format(c.held, c.wanted)) << c.what;
    EXPECT_EQ(c.made_by_request, same_format(c.held, c.wanted, true))
        << c.what;
  }
}

// The steps as a test writes them: what each does, to which name, and by
// which identifier.
std::string shown(const std::vector<Step>& steps) {
  std::string text;
  for (const Step& step : steps) {
    const char* kind[] = { "delete", "add", "replace" };
    text += std::string(kind[step.kind]) + " " + step.format.format_name +
        (step.id.empty() ? "" : " " + step.id) + "; ";
    EXPECT_EQ("txr580 q", step.format.model_code + " " +
              step.format.printer_name);
  }
  return text;
}

TEST(PlanSteps, AddsWhatDiffersInFileOrderAndSyncDeletesTheRestFirst) {
  FormatSettings tube = tape("HS", 9, 50, "_vtHS12mm_", 66);
  FormatSettings other_shop = tape("Shop", 10, 60, "_vtS12mm__", 70);
  FormatSettings old = tape("Old", 10, 50, "_vtS12mm__", 70);
  const struct {
    const char* what;
    std::vector<ListedFormat> held;
    std::vector<FormatSettings> wanted;
    std::string apply;
    std::string sync;
  } cases[] = {
    { "nothing there", {}, { tube, kShop }, "add HS; add Shop; ",
      "add HS; add Shop; " },
    { "all there as wanted", { held_as(kShop, "A"), held_as(tube, "B") },
      { tube, kShop }, "", "" },
    { "one differs, one cut short",
      { held_as(other_shop, "A"), held_as(tube, "B", false) },
      { kShop, tube }, "replace Shop; replace HS; ",
      "replace Shop; replace HS; " },
    // The first of a name is the one compared; the others go by their
    // identifiers.
    { "another format and a second of one name",
      { held_as(kShop, "A"), held_as(old, "O"), held_as(other_shop, "C") },
      { kShop }, "", "delete Old O; delete Shop C; " },
    { "a second of one name, the first differing",
      { held_as(other_shop, "C"), held_as(kShop, "A") }, { kShop },
      "replace Shop; ", "delete Shop A; replace Shop; " },
    { "two of a name not wanted",
      { held_as(old, "O"), held_as(old, "P") }, { kShop }, "add Shop; ",
      "delete Old O; delete Old P; add Shop; " },
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.apply, shown(plan_steps(c.held, c.wanted, false, kModel)))
        << c.what;
    EXPECT_EQ(c.sync, shown(plan_steps(c.held, c.wanted, true, kModel)))
        << c.what;
  }
}

}  // namespace
