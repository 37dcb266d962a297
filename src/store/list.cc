// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/list.h"

#include <errno.h>
#include <fcntl.h>
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "store/dots.h"
#include "store/format_id.h"
#include "store/line_reader.h"
#include "store/lookup.h"

namespace {

const int64_t kHeightFieldSpan = 4096;
const int64_t kMaxHeight = INT32_MAX;
const int kMaxDigits = 18;

enum FileBit {
  kInFunction = 1,
  kInMediaInfo = 2,
  kInPrintArea = 4,
  kInAll = 7,
  kInResource = 8,
};

// An identifier met in the files.
struct Entry {
  std::string name;       // empty until a line names it; names never are
  uint8_t stands_in = 0;  // FileBit
  // Of its first well-formed media-information size line, if it has one.
  long long across = -1;
  long long along = -1;
};

// The identifiers met, found by their bytes (nothing a file holds can
// make that slower than the logarithm of their number), and the named
// ones in the order they were first named.
typedef std::map<std::string, Entry, std::less<>> Entries;
struct Table {
  Entries entries;
  std::vector<Entries::iterator> named;
};

// The length of the run of identifier characters from |at|, or more than
// kMaxFormatIdLength where it is longer.
size_t run_length(std::string_view text, size_t at) {
  size_t length = kFormatIdMarkerLength;
  while (length <= kMaxFormatIdLength && !stands_whole(text, at, length))
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

// Reads "/NAME:\tACROSS\tALONG" and nothing more but a newline, the
// rest of a media-information line after its identifier, NAME being
// |name_length| bytes. The numbers are set only when the whole line is
// well formed.
bool read_size_line(std::string_view rest, unsigned name_length,
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

// What one pass over a data file looks for.
struct Pass {
  DriverFile file;
  FileBit bit;
  bool names;     // its "*PageSize" lines name formats
  bool sizes;     // its size lines give their dots
  bool optional;  // a missing file holds no identifier
};

// Notes every identifier that stands whole in |block|, and the names and
// sizes |pass| asks for.
void scan_block(std::string_view block, const Pass& pass, Table* table) {
  for (size_t hit = block.find(kFormatIdMarker);
       hit != std::string_view::npos;
       hit = block.find(kFormatIdMarker, hit + kFormatIdMarkerLength)) {
    size_t length = run_length(block, hit);
    std::string_view id = block.substr(hit, length);
    FormatIdFields fields;
    if (length > kMaxFormatIdLength || !read_format_id(id, &fields))
      continue;
    // A later file can only complete a format already named.
    Entries::iterator at = table->entries.find(id);
    if (at == table->entries.end()) {
      if (!pass.names)
        continue;
      at = table->entries.emplace(id, Entry()).first;
    }
    Entry& entry = at->second;
    entry.stands_in |= pass.bit;
    if (!pass.names)
      continue;
    std::string_view line = line_at(block, hit);
    PageSizeEntry page;
    if (entry.name.empty() && parse_page_size_line(line, &page) &&
        page.id.data() == id.data() && page.id.size() == id.size()) {
      entry.name = page.name;
      table->named.push_back(at);
    }
    if (pass.sizes && entry.across < 0 && line.data() == id.data())
      read_size_line(line.substr(length), fields.name_length, &entry.across,
                     &entry.along);
  }
}

// The height in mm of a roll label whose identifier holds |height_field|
// and whose media-information line gives |along_dots|: the smallest
// height the add maps to both, or |height_field| where none does.
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

}  // namespace

StoreStatus list_formats(const FormatSettings& settings, const StoreEnv& env,
                         const std::function<void(const ListedFormat&)>& visit,
                         StoreFailure* failure) {
  ModelDriver driver{ env, settings.model_code };
  std::string dir = driver.data_dir();
  // Opened once, so that every file is read from the one directory.
  ScopedFd dir_fd(driver.files,
                  driver.files->open(AT_FDCWD, dir.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (dir_fd.get() < 0)
    return fail_at(dir, errno, failure);
  // Each file is read once: an identifier met before a line names it
  // is kept until the end, in case one does.
  const Pass passes[] = {
    { kMediaInfoFile, kInMediaInfo, true, true, false },
    { kFunctionFile, kInFunction, true, false, false },
    { kPrintAreaFile, kInPrintArea, false, false, false },
    { kResourceFile, kInResource, false, false, true },
  };
  Table table;
  for (const Pass& pass : passes) {
    StoreStatus status = scan_data_file(
        driver.files,
        FileAt{ dir_fd.get(), driver.name(pass.file), driver.path(pass.file) },
        [&](std::string_view block) {
          scan_block(block, pass, &table);
          return true;
        }, failure);
    if (status == kStoreNotFound && !pass.optional)
      return fail_at(driver.path(pass.file), ENOENT, failure);
    if (status == kStoreFileFailed)
      return status;
  }
  for (Entries::iterator at : table.named) {
    const Entry& entry = at->second;
    ListedFormat format;
    format.id = at->first;
    format.name = entry.name;
    FormatIdFields fields;
    read_format_id(format.id, &fields);
    format.width_mm = fields.width_mm;
    format.height_mm = is_roll_label(settings) ?
        roll_label_height(fields.height_field, entry.along) :
        fields.height_field;
    format.media_name = fields.media_name;
    format.across_dots = entry.across;
    format.complete = (entry.stands_in & kInAll) == kInAll;
    format.selected = (entry.stands_in & kInResource) != 0;
    visit(format);
  }
  return kStoreDone;
}
