// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/formats_file.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

#include <map>

#include "cli/options.h"
#include "cli/tape.h"

namespace {

typedef std::vector<std::string> Fields;

const size_t kReadChunk = 64 * 1024;

std::string count_of(size_t fields) {
  return std::to_string(fields) + (fields == 1 ? " field" : " fields");
}

// Reads one line's |fields| as the add they ask for into |*format|, a
// copy of |model| (its code, type and queue); returns why they are
// refused, or "".
std::string read_request(const Fields& fields, const FormatSettings& model,
                         FormatSettings* format) {
  bool tape_model = !is_roll_label(model);
  size_t most = tape_model ? 4 : 3;
  if (fields.size() < 3)
    return count_of(fields.size()) + ", where a format has three, NAME, "
        "WIDTH and HEIGHT, a tab between each";
  if (fields.size() == 4 && !tape_model)
    return "a fourth field, which roll-label models do not take";
  if (fields.size() > most)
    return count_of(fields.size()) + ", at most " + std::to_string(most);
  const std::string kind = fields.size() == 4 ? fields[3] : "";
  if (fields.size() == 4 && kind != "tube" && kind != "tape")
    return "the fourth field is tube or tape";
  *format = FormatSettings();
  format->model_code = model.model_code;
  format->model_type = model.model_type;
  format->printer_name = model.printer_name;
  TapeFit fit;
  std::string refusal;
  if (kind == "tape") {
    // Read with the name last, the tube rules never see it.
    refusal = read_width("width", fields[1], format, &fit);
    if (refusal.empty())
      refusal = read_height("height", fields[2], format, &fit);
    if (refusal.empty())
      refusal = read_name("name", fields[0], format);
    return refusal;
  }
  refusal = read_name("name", fields[0], format);
  if (refusal.empty() && kind == "tube" &&
      heat_shrink_mark(format->format_name) == nullptr)
    return "tube: the name holds neither \"HS\" nor \"hs\", which selects "
        "the tube";
  if (refusal.empty())
    refusal = read_width("width", fields[1], format, &fit);
  if (refusal.empty())
    refusal = read_height("height", fields[2], format, &fit);
  return refusal;
}

Fields split_fields(std::string_view line) {
  Fields fields;
  for (size_t at = 0;;) {
    size_t tab = line.find('\t', at);
    fields.emplace_back(line.substr(at, tab - at));
    if (tab == std::string_view::npos)
      return fields;
    at = tab + 1;
  }
}

// The nominal width of the tape or tube named |media_name|, or 0.
int nominal_width(const std::string& media_name) {
  for (bool tube : { false, true }) {
    int count;
    const TapeMediaRow* rows = tape_rows(tube, &count);
    for (int i = 0; i < count; ++i) {
      if (media_name == rows[i].name)
        return rows[i].nominal_mm;
    }
  }
  return 0;
}

}  // namespace

bool parse_formats_file(std::string_view text, const FormatSettings& model,
                        std::vector<FormatSettings>* formats,
                        FileRefusal* refusal) {
  formats->clear();
  std::map<std::string, int> line_of_name;
  int number = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    bool tabbed = line.find('\t') != std::string_view::npos;
    if (line.find_first_not_of(' ') == std::string_view::npos ||
        (line[0] == '#' && !tabbed))
      continue;
    FormatSettings format;
    std::string why = read_request(split_fields(line), model, &format);
    if (why.empty()) {
      auto [before, first] = line_of_name.emplace(format.format_name, number);
      if (!first)
        why = "'" + format.format_name + "' is on line " +
            std::to_string(before->second) + " already";
    }
    if (!why.empty()) {
      *refusal = { number, why };
      return false;
    }
    formats->push_back(format);
  }
  return true;
}

bool read_formats_file(const std::string& path, const FormatSettings& model,
                       std::vector<FormatSettings>* formats,
                       FileRefusal* refusal) {
  bool standard_input = path == "-";
  int fd = standard_input ? STDIN_FILENO
                          : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string text;
  int error = fd < 0 ? errno : 0;
  while (error == 0 && text.size() <= kMaxFormatsFileSize) {
    size_t had = text.size();
    text.resize(had + kReadChunk);
    ssize_t got = read(fd, &text[had], kReadChunk);
    text.resize(had + (got > 0 ? got : 0));
    if (got == 0)
      break;
    if (got < 0 && errno != EINTR)
      error = errno;
  }
  if (fd >= 0 && !standard_input)
    close(fd);
  if (error != 0) {
    *refusal = { 0, strerror(error) };
    return false;
  }
  if (text.size() > kMaxFormatsFileSize) {
    *refusal = { 0, "over " + std::to_string(kMaxFormatsFileSize >> 20) +
                 " MiB, the most a formats file may hold" };
    return false;
  }
  return parse_formats_file(text, model, formats, refusal);
}

bool formats_file_line(const ListedFormat& held, const FormatSettings& model,
                       std::string* line) {
  std::string height = std::to_string(held.height_mm);
  std::vector<Fields> candidates;
  if (is_roll_label(model)) {
    candidates.push_back({ held.name, std::to_string(held.width_mm), height });
  } else {
    // A tape cut to its printable width is asked for by its nominal one.
    std::vector<std::string> widths = { std::to_string(held.width_mm) };
    if (int nominal = nominal_width(held.media_name))
      widths.insert(widths.begin(), std::to_string(nominal));
    // A format cut short lacks its dots, which tell tube from tape for a
    // width kept as asked: its name's own reading comes first.
    std::vector<std::string> kinds = { "tape" };
    if (heat_shrink_mark(held.name) != nullptr)
      kinds.insert(kinds.begin(), "tube");
    for (const std::string& kind : kinds) {
      for (const std::string& width : widths)
        candidates.push_back({ held.name, width, height, kind });
    }
  }
  // Only a line that reads back as the format is its line.
  for (const Fields& fields : candidates) {
    FormatSettings format;
    if (!read_request(fields, model, &format).empty() ||
        !same_format(held, format, !held.complete))
      continue;
    line->clear();
    for (size_t i = 0; i < fields.size(); ++i)
      *line += fields[i] + (i + 1 < fields.size() ? "\t" : "\n");
    return true;
  }
  return false;
}
