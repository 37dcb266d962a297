// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/list_scan.h"

#include <string.h>

#include <algorithm>

#include "store/format_id.h"

namespace {

const int kMaxDigits = 18;

// Reads a decimal number, a "-" and at most kMaxDigits digits or the
// digits alone, off the front of |*text|. The add writes a negative
// number of dots for a roll label narrower or shorter than its margins.
bool read_number(std::string_view* text, long long* value) {
  bool negative = !text->empty() && (*text)[0] == '-';
  size_t at = negative ? 1 : 0;
  size_t digits = 0;
  *value = 0;
  while (at + digits < text->size() && digits < kMaxDigits &&
         (*text)[at + digits] >= '0' && (*text)[at + digits] <= '9')
    *value = *value * 10 + ((*text)[at + digits++] - '0');
  if (negative)
    *value = -*value;
  text->remove_prefix(at + digits);
  return digits > 0;
}

// Reads "/NAME:\tACROSS\tALONG" and nothing more but a newline, the
// rest of a media-information line after its identifier, NAME being
// |name_length| bytes. The numbers are set only when the whole line is
// well formed.
bool read_size_line(std::string_view rest, size_t name_length,
                    long long* across, long long* along) {
  if (!rest.empty() && rest.back() == '\n')
    rest.remove_suffix(1);
  size_t fields_at = 1 + name_length;
  long long first, second;
  if (rest.size() < fields_at + 2 || rest[0] != '/' ||
      rest.compare(fields_at, 2, ":\t") != 0)
    return false;
  rest.remove_prefix(fields_at + 2);
  if (!read_number(&rest, &first) || rest.empty() || rest[0] != '\t')
    return false;
  rest.remove_prefix(1);
  if (!read_number(&rest, &second) || !rest.empty())
    return false;
  *across = first;
  *along = second;
  return true;
}

}  // namespace

size_t FormatScan::line_end(std::string_view block, size_t at) {
  const void* newline = memchr(block.data() + at, '\n', block.size() - at);
  size_t end = newline ? static_cast<const char*>(newline) - block.data() + 1
                       : block.size();
  examined_ += end - at;
  return end;
}

size_t FormatScan::run_end(std::string_view block, size_t at) {
  size_t end = identifier_run_end(block, at);
  examined_ += end - at + (end < block.size());
  return end;
}

size_t FormatScan::next_marker(std::string_view block, size_t from) {
  size_t hit = block.find(kFormatIdMarker, from);
  examined_ += (hit == std::string_view::npos ? block.size() : hit) - from;
  return hit;
}

ScannedFormat* FormatScan::named(std::string_view id) {
  auto at = index_.find(id);
  return at == index_.end() ? nullptr : &formats_[at->second];
}

void FormatScan::note_names(std::string_view block) {
  for (size_t at = 0; at < block.size();) {
    size_t end = line_end(block, at);
    std::string_view line = block.substr(at, end - at);
    PageSizeEntry page;
    if (parse_page_size_line(line, &page)) {
      examined_ += line.size();
      // The second pass finds an identifier only where it stands as one
      // run up to its "/".
      size_t id_at = page.id.data() - block.data();
      if (run_end(block, id_at) == id_at + page.id.size() &&
          named(page.id) == nullptr) {
        index_.emplace(page.id, formats_.size());
        formats_.push_back(ScannedFormat());
        formats_.back().id = page.id;
        formats_.back().name = page.name;
      }
    }
    at = end;
  }
}

void FormatScan::note_places(std::string_view block, ListedFile file,
                             bool sizes) {
  if (formats_.empty())
    return;
  for (size_t hit = next_marker(block, 0); hit != std::string_view::npos;) {
    size_t end = run_end(block, hit + kFormatIdMarkerLength);
    // Every marker in the run begins an identifier that ends where the
    // run does; only those within the longest identifier's reach of that
    // end can be one, so the run is searched no further back.
    std::string_view run = block.substr(0, end);
    size_t from = std::max(hit, end - std::min(end, kMaxFormatIdLength));
    for (size_t at = next_marker(run, from); at != std::string_view::npos;
         at = next_marker(run, at + kFormatIdMarkerLength)) {
      if (ScannedFormat* format = named(run.substr(at)))
        format->stands_in |= file;
    }
    hit = next_marker(block, end);
  }
  if (!sizes)
    return;
  for (size_t at = 0; at < block.size();) {
    size_t end = line_end(block, at);
    if (block.compare(at, kFormatIdMarkerLength, kFormatIdMarker) == 0) {
      size_t id_end = run_end(block, at + kFormatIdMarkerLength);
      ScannedFormat* format = named(block.substr(at, id_end - at));
      // The size line's fields are read only as far as they go.
      if (format != nullptr && !format->sized) {
        format->sized =
            read_size_line(block.substr(id_end, end - id_end),
                           format->name.size(), &format->across,
                           &format->along);
      }
    }
    at = end;
  }
}
