// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOOKUP_H_
#define VTMEDIA_STORE_LOOKUP_H_

#include <functional>
#include <string>
#include <string_view>

#include "store/driver.h"
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

#endif  // VTMEDIA_STORE_LOOKUP_H_
