// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/list.h"

#include <errno.h>
#include <stdint.h>

#include <unordered_map>
#include <vector>

#include "store/add.h"
#include "store/format_id.h"
#include "store/lines.h"
#include "store/lookup.h"
#include "store/paths.h"

namespace {

const size_t kMaxIdLength = 99;  // as read_format_id takes them
const size_t kMarkerLength = 3;
const int64_t kHeightFieldSpan = 4096;
const int64_t kMaxHeight = INT32_MAX;
const int kMaxDigits = 18;

enum FileBit {
  kInFunction = 1,
  kInMediaInfo = 2,
  kInPrintArea = 4,
  kInAll = 7,
};

// An identifier met in the files.
struct Entry {
  std::string name;
  bool named = false;
  int stands_in = 0;     // FileBits
  long long along = -1;  // of its media-information line, if it has one
};

// The identifiers met, and those named in the order they were first
// named.
struct FormatTable {
  std::unordered_map<std::string, Entry> entries;
  std::vector<const std::string*> named;
};

// The length of the run of identifier characters from |at|, or more than
// kMaxIdLength where it is longer.
size_t run_length(std::string_view text, size_t at) {
  size_t length = kMarkerLength;
  while (length <= kMaxIdLength && !stands_whole(text, at, length))
    ++length;
  return length;
}

// Reads a decimal number of at most kMaxDigits digits off the front of
// |*text|.
bool read_number(std::string_view* text, long long* value) {
  size_t digits = 0;
  *value = 0;
  while (digits < text->size() && digits < kMaxDigits &&
         (*text)[digits] >= '0' && (*text)[digits] <= '9')
    *value = *value * 10 + ((*text)[digits++] - '0');
  text->remove_prefix(digits);
  return digits > 0;
}

// Reads "/NAME:\tACROSS\tALONG", the rest of a media-information line
// after its identifier, NAME being |name_length| bytes.
bool read_size_line(std::string_view rest, unsigned name_length,
                    long long* along) {
  if (!rest.empty() && rest.back() == '\n')
    rest.remove_suffix(1);
  size_t fields_at = 1 + name_length;
  long long across;
  if (rest.size() < fields_at + 2 || rest[0] != '/' ||
      rest.compare(fields_at, 2, ":\t") != 0)
    return false;
  rest.remove_prefix(fields_at + 2);
  if (!read_number(&rest, &across) || rest.empty() || rest[0] != '\t')
    return false;
  rest.remove_prefix(1);
  return read_number(&rest, along) && rest.empty();
}

// What one pass over a data file looks for.
struct Pass {
  DriverFile file;
  FileBit bit;
  bool names;  // its "*PageSize" lines name formats
  bool sizes;  // it holds the roll labels' size lines
};

// Notes every identifier that stands whole in |block|, and the names and
// sizes |pass| asks for.
void scan_block(std::string_view block, const Pass& pass,
                FormatTable* table) {
  for (size_t hit = block.find(kFormatIdMarker);
       hit != std::string_view::npos;
       hit = block.find(kFormatIdMarker, hit + kMarkerLength)) {
    size_t length = run_length(block, hit);
    std::string_view id = block.substr(hit, length);
    FormatIdFields fields;
    if (length > kMaxIdLength || !read_format_id(id, &fields))
      continue;
    // A later file can only complete a format already named.
    std::string key(id);
    auto found = table->entries.find(key);
    if (found == table->entries.end()) {
      if (!pass.names)
        continue;
      found = table->entries.emplace(key, Entry()).first;
    }
    Entry* entry = &found->second;
    entry->stands_in |= pass.bit;
    if (!pass.names)
      continue;
    std::string_view line = line_at(block, hit);
    PageSizeEntry page;
    if (!entry->named && parse_page_size_line(line, &page) &&
        page.id.data() == id.data() && page.id.size() == id.size()) {
      entry->named = true;
      entry->name = std::string(page.name);
      table->named.push_back(&found->first);
    }
    if (pass.sizes && entry->along < 0 && line.data() == id.data())
      read_size_line(line.substr(length), fields.name_length, &entry->along);
  }
}

}  // namespace

int64_t roll_label_height(unsigned height_field, long long along_dots) {
  if (along_dots < 0)
    return height_field;
  // The add's along grows with the height, so the first height of the
  // field whose along is not short of the line's is the only candidate.
  int64_t low = height_field == 0 ? 1 : 0;
  int64_t high = (kMaxHeight - height_field) / kHeightFieldSpan + 1;
  while (low < high) {
    int64_t middle = low + (high - low) / 2;
    if (roll_label_along_dots(height_field + middle * kHeightFieldSpan) <
        along_dots)
      low = middle + 1;
    else
      high = middle;
  }
  int64_t height = height_field + low * kHeightFieldSpan;
  if (height <= kMaxHeight && roll_label_along_dots(height) == along_dots)
    return height;
  return height_field;
}

StoreStatus list_formats(FileOps* files, const std::string& root,
                         const std::string& model_code, bool roll_label,
                         const std::function<void(const ListedFormat&)>& visit,
                         StoreFailure* failure) {
  std::string dir = data_dir_path(root, model_code);
  struct stat info;
  if (files->lstat(dir.c_str(), &info) != 0)
    return fail_at(dir, errno, failure);
  // Each file is read once: an identifier met before a line names it
  // is kept until the end, in case one does.
  const Pass passes[] = {
    { kMediaInfoFile, kInMediaInfo, true, roll_label },
    { kFunctionFile, kInFunction, true, false },
    { kPrintAreaFile, kInPrintArea, false, false },
  };
  FormatTable table;
  for (const Pass& pass : passes) {
    StoreStatus status = scan_data_file(
        files, driver_file_path(root, model_code, pass.file),
        [&](std::string_view block) {
          scan_block(block, pass, &table);
          return true;
        }, failure);
    if (status != kStoreDone)
      return status;
  }
  for (const std::string* id : table.named) {
    const Entry& entry = table.entries.at(*id);
    ListedFormat format;
    format.id = *id;
    format.name = entry.name;
    FormatIdFields fields;
    read_format_id(format.id, &fields);
    format.width_mm = fields.width_mm;
    format.height_mm = roll_label ?
        roll_label_height(fields.height_field, entry.along) :
        fields.height_field;
    format.media_name = fields.media_name;
    format.complete = entry.stands_in == kInAll;
    visit(format);
  }
  return kStoreDone;
}
