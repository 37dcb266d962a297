// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOOKUP_H_
#define VTMEDIA_STORE_LOOKUP_H_

#include <functional>
#include <string>
#include <string_view>

#include "store/driver.h"
#include "store/status.h"

// Hands each block of whole lines of the data file at |path| to |visit|
// until it returns false. Returns kStoreDone; kStoreNotFound when the
// file is missing, |*failure| untouched; or kStoreFileFailed with
// |*failure| set.
StoreStatus scan_data_file(
    FileOps* files, const std::string& path,
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
// media-information files of |driver|. Returns kStoreDone with |*format|
// set; kStoreNotFound when neither file names it or the function file is
// missing; or kStoreFileFailed with |*failure| set when a file is there
// but cannot be read.
StoreStatus find_format_id(const ModelDriver& driver, const std::string& name,
                           NamedFormat* format, StoreFailure* failure);

#endif  // VTMEDIA_STORE_LOOKUP_H_
