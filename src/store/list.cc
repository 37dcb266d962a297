// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/list.h"

#include <errno.h>
#include <stdint.h>
#include <sys/random.h>
#include <time.h>

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
};

// An identifier met in the files. Its bytes, and those of the name a line
// gives it, live in the table's one buffer, so that an entry costs a few
// dozen bytes.
struct Entry {
  size_t id_at = 0;
  size_t name_at = 0;
  uint8_t id_length = 0;    // an identifier and a name both fit a byte
  uint8_t name_length = 0;  // 0 until a line names it; names are never empty
  uint8_t stands_in = 0;  // FileBit
  long long along = -1;   // of its media-information line, if it has one
};

// The identifiers met, found by their bytes through an open-addressing
// index, and the named ones in the order they were first named.
class FormatTable {
 public:
  FormatTable() : slots_(64, 0) {}

  // The entry of |id|, added where |add| says so; null where it is not.
  Entry* find(std::string_view id, bool add) {
    uint32_t slot = slot_of(id);
    if (slots_[slot] == 0) {
      if (!add)
        return nullptr;
      Entry entry;
      entry.id_at = bytes_.size();
      entry.id_length = static_cast<uint8_t>(id.size());
      bytes_.append(id);
      entries_.push_back(entry);
      slots_[slot] = static_cast<uint32_t>(entries_.size());
      if (entries_.size() * 2 > slots_.size())
        grow();
      return &entries_.back();
    }
    return &entries_[slots_[slot] - 1];
  }

  void name(Entry* entry, std::string_view name) {
    entry->name_at = bytes_.size();
    entry->name_length = static_cast<uint8_t>(name.size());
    bytes_.append(name);
    named_.push_back(static_cast<uint32_t>(entry - entries_.data()));
  }

  std::string_view id_of(const Entry& entry) const {
    return std::string_view(bytes_).substr(entry.id_at, entry.id_length);
  }
  std::string_view name_of(const Entry& entry) const {
    return std::string_view(bytes_).substr(entry.name_at, entry.name_length);
  }
  const std::vector<uint32_t>& named() const { return named_; }
  const Entry& at(uint32_t index) const { return entries_[index]; }

 private:
  // FNV-1a from a seed of this run's, so that nobody who writes the files
  // can choose identifiers that all fall on one slot.
  uint64_t hash(std::string_view id) const {
    uint64_t value = seed_;
    for (unsigned char c : id)
      value = (value ^ c) * 0x100000001b3ULL;
    return value ^ (value >> 32);
  }

  static uint64_t new_seed() {
    uint64_t seed;
    if (getrandom(&seed, sizeof(seed), GRND_NONBLOCK) != sizeof(seed)) {
      struct timespec now;
      clock_gettime(CLOCK_MONOTONIC, &now);
      seed = now.tv_nsec ^ (static_cast<uint64_t>(now.tv_sec) << 32);
    }
    return seed | 1;
  }

  uint32_t slot_of(std::string_view id) const {
    uint32_t mask = static_cast<uint32_t>(slots_.size() - 1);
    uint32_t slot = hash(id) & mask;
    while (slots_[slot] != 0 && id_of(entries_[slots_[slot] - 1]) != id)
      slot = (slot + 1) & mask;
    return slot;
  }

  void grow() {
    slots_.assign(slots_.size() * 2, 0);
    for (size_t i = 0; i < entries_.size(); ++i)
      slots_[slot_of(id_of(entries_[i]))] = static_cast<uint32_t>(i + 1);
  }

  uint64_t seed_ = new_seed();
  std::string bytes_;
  std::vector<Entry> entries_;
  std::vector<uint32_t> slots_;  // entry index + 1; 0 when free
  std::vector<uint32_t> named_;
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
       hit = block.find(kFormatIdMarker, hit + kFormatIdMarkerLength)) {
    size_t length = run_length(block, hit);
    std::string_view id = block.substr(hit, length);
    FormatIdFields fields;
    if (length > kMaxFormatIdLength || !read_format_id(id, &fields))
      continue;
    // A later file can only complete a format already named.
    Entry* entry = table->find(id, pass.names);
    if (entry == nullptr)
      continue;
    entry->stands_in |= pass.bit;
    if (!pass.names)
      continue;
    std::string_view line = line_at(block, hit);
    PageSizeEntry page;
    if (entry->name_length == 0 && parse_page_size_line(line, &page) &&
        page.id.data() == id.data() && page.id.size() == id.size())
      table->name(entry, page.name);
    if (pass.sizes && entry->along < 0 && line.data() == id.data())
      read_size_line(line.substr(length), fields.name_length, &entry->along);
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
  bool roll_label = is_roll_label(settings);
  std::string dir = driver.data_dir();
  struct statx info;
  if (driver.files->statx(dir.c_str(), &info) != 0)
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
        driver.files, driver.path(pass.file),
        [&](std::string_view block) {
          scan_block(block, pass, &table);
          return true;
        }, failure);
    if (status != kStoreDone)
      return status;
  }
  for (uint32_t index : table.named()) {
    const Entry& entry = table.at(index);
    ListedFormat format;
    format.id = table.id_of(entry);
    format.name = table.name_of(entry);
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
