// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/lookup.h"

#include <errno.h>

#include "store/format_id.h"
#include "store/line_reader.h"

namespace {

// The identifier of the first "*PageSize" line of |block| (whole lines)
// that names |name|, or an empty view.
std::string_view named_in(std::string_view block, std::string_view name) {
  // Only lines that hold the marker can name a format, and a large file
  // holds few of them, so the marker is searched for across the block.
  for (size_t hit = block.find(kFormatIdMarker);
       hit != std::string_view::npos;) {
    std::string_view line = line_at(block, hit);
    PageSizeEntry entry;
    if (parse_page_size_line(line, &entry) && entry.name == name)
      return entry.id;
    hit = block.find(kFormatIdMarker,
                     line.data() + line.size() - block.data());
  }
  return std::string_view();
}

}  // namespace

StoreStatus scan_data_file(
    FileOps* files, const FileAt& file,
    const std::function<bool(std::string_view block)>& visit,
    StoreFailure* failure) {
  // |*failure| is left alone for a missing file, which holds nothing.
  StoreFailure scan;
  LineReader reader(files, file);
  StoreStatus status = reader.open(&scan);
  if (status != kStoreDone && scan.error == ENOENT)
    return kStoreNotFound;
  std::string_view block;
  while (status == kStoreDone &&
         (status = reader.next_block(&block, &scan)) == kStoreDone &&
         !block.empty()) {
    if (!visit(block))
      break;
  }
  if (status != kStoreDone)
    *failure = scan;
  return status;
}

StoreStatus find_format_id(const Request& request, const std::string& name,
                           NamedFormat* format) {
  // The identifier of the first line of |file| naming |name|, in |*id|,
  // empty where none does; kStoreNotFound where the file is missing.
  auto find_in = [&](DriverFile file, std::string* id) {
    return scan_data_file(
        request.driver().files, request.file(file),
        [&](std::string_view block) {
          id->assign(named_in(block, name));
          return id->empty();
        }, request.failure());
  };
  // A file that is there but cannot be read must not pass for one without
  // the name; without a function file there is no format to delete.
  StoreStatus status = find_in(kFunctionFile, &format->function_id);
  if (status != kStoreDone)
    return status;
  if (find_in(kMediaInfoFile, &format->media_id) == kStoreFileFailed)
    return kStoreFileFailed;
  return format->function_id.empty() && format->media_id.empty()
             ? kStoreNotFound : kStoreDone;
}
