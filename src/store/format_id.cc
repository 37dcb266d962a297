// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/format_id.h"

#include <ctype.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <functional>
#include <set>

#include "store/byte_search.h"
#include "store/data_file.h"
#include "store/line_reader.h"
#include "store/status.h"

const char kFormatIdMarker[] = "VtL";

namespace {

const char kPageSize[] = "*PageSize";
const size_t kMarkerLength = 3;
const size_t kMediaNameLength = 10;
// Name length 2, width at least 2, height 3, seconds 1, microseconds 4.
const size_t kMinHexDigits = 12;
const size_t kMaxIdLength = 99;
// The seconds digit and the four microsecond digits end every identifier.
const size_t kTimeDigits = 5;
const long kMicrosecondsPerSecond = 1000000;

bool all_hex(std::string_view text) {
  for (char c : text) {
    if (!isxdigit(static_cast<unsigned char>(c)))
      return false;
  }
  return true;
}

// Letters, digits, "_" and "." may follow a head of a longer identifier.
bool continues_identifier(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z') || c == '_' || c == '.';
}

int hex_value(char c) {
  return isdigit(static_cast<unsigned char>(c)) ?
      c - '0' : tolower(static_cast<unsigned char>(c)) - 'a' + 10;
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

const char* find_identifier(const char* from, const char* end,
                            std::string_view id) {
  while (const char* hit = find_bytes(from, end, id)) {
    const char* after = hit + id.size();
    if (after == end || !continues_identifier(*after))
      return hit;
    from = hit + 1;
  }
  return nullptr;
}

bool format_id_in_line(std::string_view line, std::string_view name,
                       std::string* id) {
  if (line.compare(0, sizeof(kPageSize) - 1, kPageSize) != 0)
    return false;
  size_t start = line.find(kFormatIdMarker);
  if (start == std::string_view::npos)
    return false;
  size_t slash = line.find('/', start);
  if (slash == std::string_view::npos || slash - start > kMaxIdLength)
    return false;
  // Only the text before a NUL byte counts, and nothing after the name is
  // looked at.
  size_t name_end = slash + 1 + name.size();
  if (line.compare(slash + 1, name.size(), name) != 0 ||
      memchr(line.data(), '\0', name_end) != nullptr)
    return false;

  std::string_view candidate = line.substr(start, slash - start);
  std::string_view fields = candidate.substr(kMarkerLength);
  if (!fields.empty() && fields[0] == '_') {
    if (fields.size() < kMediaNameLength || fields.compare(0, 3, "_vt") != 0)
      return false;
    fields.remove_prefix(kMediaNameLength);
  }
  if (fields.size() < kMinHexDigits || !all_hex(fields))
    return false;

  size_t name_length = hex_value(fields[0]) * 16 + hex_value(fields[1]);
  if (name.size() != name_length)
    return false;
  id->assign(candidate.data(), candidate.size());
  return true;
}

namespace {

// The first "*PageSize" line of |block| (whole lines) that names |name|,
// with the identifier in |*id|; null when there is none. Only lines that
// hold the marker can name a format, and a large file holds few of them,
// so the marker is searched for across the block instead of taking every
// line in turn.
const char* find_format_line(std::string_view block, std::string_view name,
                             std::string* id) {
  const char* from = block.data();
  const char* end = from + block.size();
  while (const char* hit = find_bytes(from, end, kFormatIdMarker)) {
    // |from| starts a line, so the line of the hit starts after the last
    // newline before it.
    const char* start = static_cast<const char*>(
        memrchr(from, '\n', hit - from));
    start = start ? start + 1 : from;
    const char* newline = static_cast<const char*>(
        memchr(hit, '\n', end - hit));
    const char* line_end = newline ? newline + 1 : end;
    if (format_id_in_line(std::string_view(start, line_end - start), name,
                          id))
      return start;
    from = line_end;
  }
  return nullptr;
}

// Hands each block of whole lines of the data file at |path| to |visit|
// until it returns false. Returns kStoreDone, kStoreFileMissing, or
// kStoreFileFailed with |*error| set.
StoreStatus scan_file(FileOps* files, const std::string& path,
                      const std::function<bool(std::string_view)>& visit,
                      int* error) {
  int fd;
  struct stat info;
  if (open_data_file(files, path, &fd, &info, error) != kStoreDone) {
    // One that is there but cannot be read must not pass for one without
    // the name.
    return *error == ENOENT ? kStoreFileMissing : kStoreFileFailed;
  }
  ScopedFd owner(files, fd);
  LineReader reader(files, fd);
  std::string_view block;
  *error = 0;
  while (reader.next_block(&block, error)) {
    if (!visit(block))
      return kStoreDone;
  }
  return *error != 0 ? kStoreFileFailed : kStoreDone;
}

}  // namespace

StoreStatus find_format_id(FileOps* files, const std::string& path,
                           const std::string& name, std::string* id,
                           int* error) {
  bool found = false;
  StoreStatus status = scan_file(files, path, [&](std::string_view block) {
    found = find_format_line(block, name, id) != nullptr;
    return !found;
  }, error);
  if (status == kStoreDone && !found)
    return kStoreNotFound;
  return status;
}

StoreStatus new_format_id(FileOps* files, const std::string& path,
                          const FormatSettings& settings, struct timeval now,
                          std::string* id, int* error) {
  *id = make_format_id(settings, now);
  // The time stamps of the identifiers in the file that differ from the
  // new one in their time stamp alone.
  std::string head = id->substr(0, id->size() - kTimeDigits);
  std::set<std::string> taken;
  StoreStatus status = scan_file(files, path, [&](std::string_view block) {
    const char* end = block.data() + block.size();
    for (const char* at = block.data();
         (at = find_bytes(at, end, head)) != nullptr; ++at) {
      const char* stamp = at + head.size();
      const char* after = stamp + kTimeDigits;
      if (end - stamp >= static_cast<ptrdiff_t>(kTimeDigits) &&
          (after == end || !continues_identifier(*after)))
        taken.insert(std::string(stamp, kTimeDigits));
    }
    return true;
  }, error);
  if (status == kStoreFileFailed)
    return status;  // a missing file holds none
  // Consecutive microseconds give different stamps, so this passes over
  // each taken one at most once.
  for (size_t step = 0; step < taken.size(); ++step) {
    if (taken.count(id->substr(id->size() - kTimeDigits)) == 0)
      break;
    if (++now.tv_usec == kMicrosecondsPerSecond) {
      now.tv_usec = 0;
      ++now.tv_sec;
    }
    *id = make_format_id(settings, now);
  }
  return kStoreDone;
}
