// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/format_id.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

const char kFormatIdMarker[] = "VtL";
const char kPageSizeKeyword[] = "*PageSize";

namespace {

const size_t kMediaNameLength = 10;
// Name length 2, width at least 2, height 3, and the time digits.
const size_t kMinHexDigits = 7 + kFormatIdTimeDigits;

bool all_hex(std::string_view text) {
  for (char c : text) {
    if (!isxdigit(static_cast<unsigned char>(c)))
      return false;
  }
  return true;
}

uint64_t hex_value(std::string_view digits) {
  uint64_t value = 0;
  for (char c : digits) {
    int digit = isdigit(static_cast<unsigned char>(c)) ?
        c - '0' : tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    value = value * 16 + digit;
  }
  return value;
}

// Letters, digits, "_" and "." may follow a head of a longer identifier.
bool continues_identifier(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z') || c == '_' || c == '.';
}

}  // namespace

std::string make_format_id(const FormatSettings& settings,
                           const struct timeval& now) {
  char id[128];
  snprintf(id, sizeof(id), "%s%s%02X%02X%03X%01X%04X", kFormatIdMarker,
           settings.media_name.c_str(),
           static_cast<unsigned>(settings.format_name.size()),
           static_cast<unsigned>(settings.width_mm & 0xFFFFFFFF),
           static_cast<unsigned>(settings.height_mm & 0xFFF),
           static_cast<unsigned>(now.tv_sec & 0xF),
           static_cast<unsigned>(now.tv_usec & 0xFFFF));
  return id;
}

bool read_format_id(std::string_view id, FormatIdFields* fields) {
  if (id.size() > kMaxFormatIdLength ||
      id.compare(0, kFormatIdMarkerLength, kFormatIdMarker) != 0)
    return false;
  std::string_view rest = id.substr(kFormatIdMarkerLength);
  fields->media_name = std::string_view();
  if (!rest.empty() && rest[0] == '_') {
    if (rest.size() < kMediaNameLength || rest.compare(0, 3, "_vt") != 0)
      return false;
    fields->media_name = rest.substr(0, kMediaNameLength);
    rest.remove_prefix(kMediaNameLength);
  }
  if (rest.size() < kMinHexDigits || !all_hex(rest))
    return false;
  size_t height_at = rest.size() - kFormatIdTimeDigits - 3;
  fields->name_length = hex_value(rest.substr(0, 2));
  fields->width_mm = hex_value(rest.substr(2, height_at - 2));
  fields->height_field = hex_value(rest.substr(height_at, 3));
  return true;
}

bool has_control_char(std::string_view text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F)
      return true;
  }
  return false;
}

bool stands_whole(std::string_view text, size_t at, size_t length) {
  size_t after = at + length;
  return after == text.size() || !continues_identifier(text[after]);
}

size_t identifier_run_end(std::string_view text, size_t at) {
  while (at < text.size() && continues_identifier(text[at]))
    ++at;
  return at;
}

size_t find_identifier(std::string_view text, std::string_view id,
                       size_t from) {
  if (id.empty())
    return std::string_view::npos;
  for (size_t at = text.find(id, from); at != std::string_view::npos;
       at = text.find(id, at + 1)) {
    if (stands_whole(text, at, id.size()))
      return at;
  }
  return std::string_view::npos;
}

bool parse_page_size_line(std::string_view line, PageSizeEntry* entry) {
  if (line.compare(0, kPageSizeKeywordLength, kPageSizeKeyword) != 0)
    return false;
  size_t start = line.find(kFormatIdMarker);
  if (start == std::string_view::npos)
    return false;
  size_t slash = line.find('/', start);
  if (slash == std::string_view::npos)
    return false;
  std::string_view id = line.substr(start, slash - start);
  FormatIdFields fields;
  if (!read_format_id(id, &fields) || fields.name_length == 0 ||
      line.size() - (slash + 1) < fields.name_length)
    return false;
  // Only the text before a NUL byte counts, and nothing after the name is
  // looked at. A name holds no control character, as no request's may.
  std::string_view name = line.substr(slash + 1, fields.name_length);
  if (memchr(line.data(), '\0', slash + 1) != nullptr ||
      has_control_char(name))
    return false;
  entry->id = id;
  entry->name = name;
  return true;
}
