// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/list.h"

#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <string.h>

#include <functional>

#include "store/dots.h"
#include "store/format_id.h"
#include "store/list_scan.h"
#include "store/lookup.h"

namespace {

const int64_t kHeightFieldSpan = 4096;
const int64_t kMaxHeight = INT32_MAX;

// The setting of the resource file that names the current media.
const char kRollMediaSetting[] = "MediaSize=";
const char kTapeMediaSetting[] = "Media=";

// The height in mm of a roll label whose identifier holds |height_field|
// and whose media-information line gives |along_dots|: the smallest
// height the add maps to both, or |height_field| where none does.
int64_t roll_label_height(unsigned height_field, long long along_dots) {
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

// The value of the first line of |block| (whole lines) that begins with
// |setting|, without its newline, in |*value|; false where none does.
bool first_setting(std::string_view block, std::string_view setting,
                   std::string* value) {
  for (size_t at = 0; at < block.size();) {
    const void* newline = memchr(block.data() + at, '\n', block.size() - at);
    size_t end = newline ? static_cast<const char*>(newline) - block.data()
                         : block.size();
    if (block.compare(at, setting.size(), setting) == 0) {
      value->assign(block.substr(at + setting.size(),
                                 end - at - setting.size()));
      return true;
    }
    at = end + 1;
  }
  return false;
}

// The data files of one driver, in the directory open as |dir_fd|.
struct Files {
  const ModelDriver& driver;
  int dir_fd;
};

StoreStatus list_in(const Files& files, const FormatSettings& settings,
                    FormatListing* listing, StoreFailure* failure) {
  const ModelDriver& driver = files.driver;
  // Reads the data file |file|, a block of whole lines at a time, into
  // |visit|, which returns false once it needs no more. A missing file
  // fails the listing unless it is |optional|.
  auto read_file = [&](DriverFile file, bool optional,
                       const std::function<bool(std::string_view)>& visit) {
    FileAt at{ files.dir_fd, driver.name(file), driver.path(file) };
    StoreStatus status = scan_data_file(driver.files, at, visit, failure);
    if (status == kStoreNotFound)
      return optional ? kStoreDone : fail_at(at.path, ENOENT, failure);
    return status;
  };
  FormatScan scan;
  auto scan_file = [&](DriverFile file, ListedFile bit, unsigned what) {
    return read_file(file, false, [&](std::string_view block) {
      scan.scan(block, bit, what);
      return true;
    });
  };
  // The function file names the formats first, so that the
  // media-information file, the large one, is read once, knowing them.
  StoreStatus status = scan_file(kFunctionFile, kInFunction, kNames);
  if (status == kStoreDone)
    status = scan_file(kMediaInfoFile, kInMediaInfo,
                       kNames | kPlaces | kSizes);
  // Where it names a format the function file does not, both are read
  // again for that one.
  if (status == kStoreDone && scan.named_late()) {
    scan.forget_late_sizes();
    status = scan_file(kFunctionFile, kInFunction, kPlaces);
    if (status == kStoreDone)
      status = scan_file(kMediaInfoFile, kInMediaInfo, kSizes);
  }
  if (status == kStoreDone)
    status = scan_file(kPrintAreaFile, kInPrintArea, kPlaces);
  if (status != kStoreDone)
    return status;

  std::string_view setting = is_roll_label(settings) ? kRollMediaSetting
                                                     : kTapeMediaSetting;
  std::optional<std::string> media;
  status = read_file(kResourceFile, true, [&](std::string_view block) {
    std::string value;
    if (!first_setting(block, setting, &value))
      return true;
    media = value;
    return false;
  });
  if (status != kStoreDone)
    return status;

  listing->formats.clear();
  for (const ScannedFormat* found : scan.formats()) {
    ListedFormat format;
    format.id = found->id;
    format.name = found->name;
    FormatIdFields fields;
    read_format_id(found->id, &fields);
    format.width_mm = fields.width_mm;
    format.height_mm = is_roll_label(settings) && found->sized ?
        roll_label_height(fields.height_field, found->along) :
        fields.height_field;
    format.media_name = fields.media_name;
    if (found->sized)
      format.across_dots = found->across;
    format.complete = (found->stands_in & kInAll) == kInAll;
    format.selected = media == found->id;
    listing->formats.push_back(format);
  }
  listing->media_setting = media;
  return kStoreDone;
}

}  // namespace

StoreStatus list_formats(const FormatSettings& settings, const StoreEnv& env,
                         FormatListing* listing, StoreFailure* failure) {
  ModelDriver driver{ env, settings.model_code };
  std::string dir = driver.data_dir();
  // Opened once, so that every file is read from the one directory.
  ScopedFd dir_fd(driver.files,
                  driver.files->open(AT_FDCWD, dir.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (dir_fd.get() < 0)
    return fail_at(dir, errno, failure);
  return list_in(Files{ driver, dir_fd.get() }, settings, listing, failure);
}

StoreStatus list_request_formats(const Request& request,
                                 const FormatSettings& settings,
                                 FormatListing* listing) {
  return list_in(Files{ request.driver(), request.file(kFunctionFile).dir },
                 settings, listing, request.failure());
}
