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

// Reads "/NAME:\tACROSS\tALONG" and then a newline or the end of |text|,
// which follows the identifier of a size line, NAME being |name_length|
// bytes of the same line. The numbers are set only when the whole line
// is well formed; the reading ends with its fields, wherever the line
// does.
bool read_size_line(std::string_view text, size_t name_length,
                    long long* across, long long* along) {
  size_t fields_at = 1 + name_length;
  long long first, second;
  if (text.size() < fields_at + 2 || text[0] != '/' ||
      memchr(text.data(), '\n', fields_at) != nullptr ||
      text.compare(fields_at, 2, ":\t") != 0)
    return false;
  text.remove_prefix(fields_at + 2);
  if (!read_number(&text, &first) || text.empty() || text[0] != '\t')
    return false;
  text.remove_prefix(1);
  if (!read_number(&text, &second) || (!text.empty() && text[0] != '\n'))
    return false;
  *across = first;
  *along = second;
  return true;
}

}  // namespace

size_t FormatScan::next_marker(std::string_view block, size_t from) {
  size_t hit = block.find(kFormatIdMarker, from);
  examined_ += (hit == std::string_view::npos ? block.size() : hit) - from;
  return hit;
}

size_t FormatScan::run_end(std::string_view block, size_t at) {
  size_t end = identifier_run_end(block, at);
  examined_ += end - at + (end < block.size());
  return end;
}

size_t FormatScan::line_start(std::string_view block, size_t seen,
                              size_t at, size_t line) {
  // Searched backwards, so no further back than the line's start.
  const char* newline = static_cast<const char*>(
      memrchr(block.data() + seen, '\n', at - seen));
  size_t start = newline ? newline - block.data() + 1 : seen;
  examined_ += at - start + (newline != nullptr);
  return newline ? start : line;
}

ScannedFormat* FormatScan::named(std::string_view id) {
  auto at = index_.find(id);
  return at == index_.end() ? nullptr : &formats_[at->second];
}

void FormatScan::note_name(std::string_view block, size_t line, size_t hit,
                           size_t end, ListedFile file) {
  if (block.compare(line, kPageSizeKeywordLength, kPageSizeKeyword) != 0)
    return;
  const void* newline = memchr(block.data() + hit, '\n', block.size() - hit);
  size_t line_end = newline ?
      static_cast<const char*>(newline) - block.data() + 1 : block.size();
  // The line is read a few times over, once in all.
  examined_ += line_end - line;
  PageSizeEntry page;
  // Its identifier begins at the line's first marker, |hit|, and counts
  // only where it stands as one run up to its "/", as it is found
  // elsewhere.
  if (!parse_page_size_line(block.substr(line, line_end - line), &page) ||
      end != hit + page.id.size())
    return;
  auto known = index_.find(page.id);
  size_t at = known == index_.end() ? formats_.size() : known->second;
  if (known == index_.end()) {
    index_.emplace(page.id, at);
    formats_.push_back(ScannedFormat());
    formats_[at].id = page.id;
    formats_[at].name = page.name;
    in_media_order_.push_back(false);
    if (file == kInMediaInfo)
      late_.push_back(at);
  }
  formats_[at].stands_in |= file;
  // The media-information file's names come first, and name the format.
  if (file == kInMediaInfo && !in_media_order_[at]) {
    in_media_order_[at] = true;
    media_order_.push_back(at);
    formats_[at].name = page.name;
  }
}

void FormatScan::note_run(std::string_view block, size_t hit, size_t end,
                          ListedFile file, unsigned what) {
  // Every marker in the run begins an identifier that ends where the run
  // does; only those within the longest identifier's reach of that end
  // can be one, so the run is searched no further back.
  std::string_view run = block.substr(0, end);
  size_t from = std::max(hit, end - std::min(end, kMaxFormatIdLength));
  for (size_t at = next_marker(run, from); at != std::string_view::npos;
       at = next_marker(run, at + kFormatIdMarkerLength)) {
    ScannedFormat* format = named(run.substr(at));
    if (format == nullptr)
      continue;
    if (what & kPlaces)
      format->stands_in |= file;
    // A size line begins with its identifier.
    if ((what & kSizes) && !format->sized &&
        (at == 0 || block[at - 1] == '\n'))
      format->sized = read_size_line(block.substr(end), format->name.size(),
                                     &format->across, &format->along);
  }
}

void FormatScan::scan(std::string_view block, ListedFile file,
                      unsigned what) {
  size_t seen = 0;  // the newlines before here are accounted for
  size_t line = 0;  // the start of the line holding the last marker
  size_t checked = std::string_view::npos;  // the line last read for a name
  for (size_t hit = next_marker(block, 0); hit != std::string_view::npos;) {
    size_t end = run_end(block, hit + kFormatIdMarkerLength);
    if (what & kNames) {
      line = line_start(block, seen, hit, line);
      seen = hit;
      // A line names a format by its first marker only.
      if (line != checked) {
        checked = line;
        note_name(block, line, hit, end, file);
      }
    }
    if (what & (kPlaces | kSizes))
      note_run(block, hit, end, file, what);
    hit = next_marker(block, end);
  }
}

void FormatScan::forget_late_sizes() {
  for (size_t at : late_)
    formats_[at].sized = false;
}

std::vector<const ScannedFormat*> FormatScan::formats() const {
  std::vector<const ScannedFormat*> ordered;
  for (size_t at : media_order_)
    ordered.push_back(&formats_[at]);
  for (size_t at = 0; at < formats_.size(); ++at) {
    if (!in_media_order_[at])
      ordered.push_back(&formats_[at]);
  }
  return ordered;
}
