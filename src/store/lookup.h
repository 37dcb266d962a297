// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOOKUP_H_
#define VTMEDIA_STORE_LOOKUP_H_

#include <sys/time.h>

#include <functional>
#include <string>
#include <string_view>

#include "store/file_ops.h"
#include "store/format_id.h"
#include "store/settings.h"
#include "store/status.h"

// Hands each block of whole lines of the data file at |path| to |visit|
// until it returns false. Returns kStoreDone, or kStoreFileFailed with
// |*failure| set (ENOENT when the file is missing).
StoreStatus scan_data_file(
    FileOps* files, const std::string& path,
    const std::function<bool(std::string_view block)>& visit,
    StoreFailure* failure);

// Looks |name| up in the "*PageSize" lines of the file at |path|; the
// first line naming it counts. Returns kStoreDone with |*id| set;
// kStoreNotFound when the name is not there; or kStoreFileFailed (ENOENT
// when the file is missing).
StoreStatus find_format_id(FileOps* files, const std::string& path,
                           const std::string& name, std::string* id,
                           StoreFailure* failure);

// Where a model's files name the format |name|: the identifier of the
// first "*PageSize" line naming it in the function file and in the
// media-information file, each empty where that file does not.
struct NamedFormat {
  std::string function_id;
  std::string media_id;
};

// Looks |name| up in the function and media-information files of
// |model_code|. Returns kStoreDone with |*format| set; kStoreNotFound when
// neither file names it or the function file is missing; or
// kStoreFileFailed when a file is there but cannot be read.
StoreStatus find_named_format(FileOps* files, const std::string& root,
                              const std::string& model_code,
                              const std::string& name, NamedFormat* format,
                              StoreFailure* failure);

// The identifier of a new format made at |now|: the one make_format_id
// gives, or, where that already stands whole in the file at |path|, the
// one of the first later microsecond that does not, so that deleting
// either format never takes the other. A missing file holds none; one
// that holds every time stamp fails the add (EEXIST).
StoreStatus new_format_id(FileOps* files, const std::string& path,
                          const FormatSettings& settings, struct timeval now,
                          std::string* id, StoreFailure* failure);

#endif  // VTMEDIA_STORE_LOOKUP_H_
