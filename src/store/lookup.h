// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOOKUP_H_
#define VTMEDIA_STORE_LOOKUP_H_

#include <functional>
#include <string>
#include <string_view>

#include "store/driver.h"
#include "store/format_id.h"
#include "store/request.h"
#include "store/status.h"

// Hands each block of whole lines of the data file |file| to |visit|
// until it returns false. Returns kStoreDone; kStoreNotFound when the
// file is missing, |*failure| untouched; or kStoreFileFailed with
// |*failure| set.
StoreStatus scan_data_file(
    FileOps* files, const FileAt& file,
    const std::function<bool(std::string_view block)>& visit,
    StoreFailure* failure);

// Where a model's files name a format: the identifier of the first
// "*PageSize" line naming it in the function file and in the
// media-information file, each empty where that file does not.
struct NamedFormat {
  std::string function_id;
  std::string media_id;
};

// Looks |name| up in the "*PageSize" lines of the function and
// media-information files of |request|. Returns kStoreDone with |*format|
// set; kStoreNotFound when neither file names it or the function file is
// missing; or kStoreFileFailed with the request's failure set when a file
// is there but cannot be read.
StoreStatus find_format_id(const Request& request, const std::string& name,
                           NamedFormat* format);

// Whether the data file |file| of |request| holds a "*PageSize" line that
// names the format |id| called |name|, whatever other lines name that
// name: sets |*found|. Returns kStoreDone (a missing file holds none), or
// kStoreFileFailed with the request's failure set.
StoreStatus find_page_size_line(const Request& request, DriverFile file,
                                const PageSizeEntry& wanted, bool* found);

#endif  // VTMEDIA_STORE_LOOKUP_H_
