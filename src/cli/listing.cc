// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/listing.h"

#include <wchar.h>
#include <wctype.h>

#include <algorithm>
#include <vector>

#include "cli/tape.h"

namespace {

// Marks which run the rest of a line right to left, or isolate it: a
// name holding one could make its row show another's fields.
bool turns_direction(wchar_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F ||
      (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// A table cell as the terminal is to show it, and its width in columns.
struct Cell {
  std::string text;
  size_t columns = 0;
};

Cell plain(const std::string& text) {
  return { text, text.size() };
}

// |text| with every byte that is no character, and every character the
// locale cannot print or that turns the direction, shown as "?", as ls
// shows names on a terminal: anyone who can write the driver files can
// write a name, and a control character in it would drive the terminal.
Cell shown(std::string_view text) {
  Cell cell;
  mbstate_t state = mbstate_t();
  for (size_t at = 0; at < text.size();) {
    wchar_t c;
    size_t length = mbrtowc(&c, text.data() + at, text.size() - at, &state);
    int columns = -1;
    if (length == static_cast<size_t>(-1) ||
        length == static_cast<size_t>(-2)) {
      length = 1;
      state = mbstate_t();
    } else {
      length = std::max<size_t>(length, 1);  // a NUL byte
      if (iswprint(c) && !turns_direction(c))
        columns = wcwidth(c);
    }
    if (columns < 0) {
      cell.text += '?';
      cell.columns += 1;
    } else {
      cell.text.append(text.substr(at, length));
      cell.columns += columns;
    }
    at += length;
  }
  return cell;
}

// What |format| prints on, in words: "12 mm tape", "9 mm tube", "62 mm
// label"; "-" where the files do not tell.
std::string media_of(const ListedFormat& format, bool roll_label) {
  if (roll_label)
    return std::to_string(format.width_mm) + " mm label";
  int count = 0;
  for (bool tube : { false, true }) {
    const TapeMediaRow* rows = tape_rows(tube, &count);
    for (int i = 0; i < count; ++i) {
      // A width cut to a tape names it; a width kept as asked is within
      // the printable width of the row its dots across come from.
      bool named = format.media_name == rows[i].name;
      bool kept = format.media_name.empty() &&
          format.across_dots == rows[i].dots &&
          format.width_mm <= static_cast<uint64_t>(rows[i].printable_mm);
      if (named || kept)
        return std::string(rows[i].label) + (tube ? " mm tube" : " mm tape");
    }
  }
  // Only tube is taken as asked beyond the widest row, without dots.
  int tubes = 0;
  const TapeMediaRow* tube = tape_rows(true, &tubes);
  if (format.media_name.empty() && format.across_dots.value_or(0) <= 0 &&
      format.width_mm > static_cast<uint64_t>(tube[tubes - 1].nominal_mm))
    return std::to_string(format.width_mm) + " mm tube";
  return "-";
}

}  // namespace

std::string listing_line(const ListedFormat& format) {
  std::string line(format.name);
  line += "\t" + std::to_string(format.width_mm) + "\t" +
      std::to_string(format.height_mm) + "\t";
  line += format.media_name.empty() ? "-" : format.media_name;
  line += "\t";
  line += format.id;
  return line + (format.complete ? "\tcomplete\n" : "\tincomplete\n");
}

std::string listing_table(const FormatListing& listing, bool roll_label) {
  const std::vector<ListedFormat>& formats = listing.formats;
  bool any_selected = std::any_of(
      formats.begin(), formats.end(),
      [](const ListedFormat& format) { return format.selected; });
  // The driver's current media, where it is none of the formats.
  std::string selected;
  if (listing.media_setting && !any_selected)
    selected = "Selected: " + shown(*listing.media_setting).text + "\n";
  if (formats.empty())
    return "No custom label formats.\n" + selected;
  bool any_incomplete = std::any_of(
      formats.begin(), formats.end(),
      [](const ListedFormat& format) { return !format.complete; });
  std::vector<std::vector<Cell>> rows = {
    { plain("NAME"), plain("SIZE"), plain("PRINTS ON"),
      plain(any_incomplete ? "STATE" : "") },
  };
  for (const ListedFormat& format : formats) {
    rows.push_back({ shown(format.name),
                     plain(std::to_string(format.width_mm) + " x " +
                           std::to_string(format.height_mm) + " mm"),
                     plain(media_of(format, roll_label)),
                     plain(format.complete ? "" : "incomplete") });
  }
  std::vector<size_t> widths(rows[0].size(), 0);
  for (const std::vector<Cell>& row : rows) {
    for (size_t i = 0; i < row.size(); ++i)
      widths[i] = std::max(widths[i], row[i].columns);
  }
  std::string table;
  for (size_t r = 0; r < rows.size(); ++r) {
    std::string line = r > 0 && formats[r - 1].selected ? "* " : "  ";
    for (size_t i = 0; i < rows[r].size(); ++i) {
      line += rows[r][i].text;
      line.append(widths[i] - rows[r][i].columns + 2, ' ');
    }
    line.erase(line.find_last_not_of(' ') + 1);
    table += line + "\n";
  }
  table += selected;
  if (any_incomplete)
    table += "\nincomplete: an add or a delete was cut short; the same "
        "command run again,\nor -d NAME, finishes it.\n";
  return table;
}
