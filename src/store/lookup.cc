// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lookup.h"

#include <errno.h>

#include <set>

#include "store/line_reader.h"
#include "store/paths.h"

namespace {

const long kMicrosecondsPerSecond = 1000000;
// Microseconds in which the time stamp of an identifier takes every value.
const long kStampCycle = 16 * kMicrosecondsPerSecond;

// Whether a failed read of a data file was only its absence.
bool was_missing(StoreStatus status, const StoreFailure& failure) {
  return status == kStoreFileFailed && failure.error == ENOENT;
}

void next_microsecond(struct timeval* now) {
  if (++now->tv_usec == kMicrosecondsPerSecond) {
    now->tv_usec = 0;
    ++now->tv_sec;
  }
}

// Hands each line of |block| (whole lines) that names a format to |visit|,
// in order, until it returns false; returns false when it did.
bool for_each_page_size_line(
    std::string_view block,
    const std::function<bool(const PageSizeEntry& entry)>& visit) {
  // Only lines that hold the marker can name a format, and a large file
  // holds few of them, so the marker is searched for across the block.
  size_t from = 0;
  for (size_t hit; (hit = block.find(kFormatIdMarker, from)) !=
                   std::string_view::npos;) {
    std::string_view line = line_at(block, hit);
    PageSizeEntry entry;
    if (parse_page_size_line(line, &entry) && !visit(entry))
      return false;
    from = line.data() + line.size() - block.data();
  }
  return true;
}

}  // namespace

StoreStatus scan_data_file(
    FileOps* files, const std::string& path,
    const std::function<bool(std::string_view block)>& visit,
    StoreFailure* failure) {
  LineReader reader(files, path);
  StoreStatus status = reader.open(failure);
  std::string_view block;
  while (status == kStoreDone &&
         (status = reader.next_block(&block, failure)) == kStoreDone &&
         !block.empty()) {
    if (!visit(block))
      break;
  }
  return status;
}

StoreStatus find_format_id(FileOps* files, const std::string& path,
                           const std::string& name, std::string* id,
                           StoreFailure* failure) {
  bool found = false;
  StoreStatus status = scan_data_file(files, path, [&](std::string_view block) {
    return for_each_page_size_line(block, [&](const PageSizeEntry& entry) {
      found = entry.name == name;
      if (found)
        id->assign(entry.id.data(), entry.id.size());
      return !found;
    });
  }, failure);
  if (status == kStoreDone && !found)
    return kStoreNotFound;
  return status;
}

StoreStatus find_named_format(FileOps* files, const std::string& root,
                              const std::string& model_code,
                              const std::string& name, NamedFormat* format,
                              StoreFailure* failure) {
  // A file that is there but cannot be read must not pass for one without
  // the name; without a function file there is no format to delete.
  StoreFailure scan;
  StoreStatus in_function = find_format_id(
      files, driver_file_path(root, model_code, kFunctionFile), name,
      &format->function_id, &scan);
  if (was_missing(in_function, scan))
    return kStoreNotFound;
  if (in_function == kStoreFileFailed) {
    *failure = scan;
    return in_function;
  }
  StoreStatus in_media_info = find_format_id(
      files, driver_file_path(root, model_code, kMediaInfoFile), name,
      &format->media_id, &scan);
  if (in_media_info == kStoreFileFailed && !was_missing(in_media_info, scan)) {
    *failure = scan;
    return in_media_info;
  }
  if (in_function != kStoreDone && in_media_info != kStoreDone)
    return kStoreNotFound;
  return kStoreDone;
}

StoreStatus new_format_id(FileOps* files, const std::string& path,
                          const FormatSettings& settings, struct timeval now,
                          std::string* id, StoreFailure* failure) {
  *id = make_format_id(settings, now);
  // The time stamps of the identifiers in the file that differ from the
  // new one in their time stamp alone.
  std::string head = id->substr(0, id->size() - kFormatIdTimeDigits);
  std::set<std::string> taken;
  StoreFailure scan;
  StoreStatus status = scan_data_file(files, path,
                                      [&](std::string_view block) {
    for (size_t at = block.find(head); at != std::string_view::npos;
         at = block.find(head, at + 1)) {
      if (block.size() - at >= id->size() &&
          stands_whole(block, at, id->size()))
        taken.insert(std::string(block.substr(at + head.size(),
                                              kFormatIdTimeDigits)));
    }
    return true;
  }, &scan);
  if (status != kStoreDone && !was_missing(status, scan)) {
    *failure = scan;
    return status;  // a missing file holds none
  }
  // Stamps come round again every 65536 microseconds, every stamp once in
  // 16 seconds; a file that holds them all leaves none to take.
  for (long step = 0; taken.count(id->substr(head.size())) != 0; ++step) {
    if (step == kStampCycle)
      return fail_at(path, EEXIST, failure);
    next_microsecond(&now);
    *id = make_format_id(settings, now);
  }
  return kStoreDone;
}
