// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LIST_H_
#define VTMEDIA_STORE_LIST_H_

#include <stdint.h>

#include <functional>
#include <string>
#include <string_view>

#include "store/file_ops.h"
#include "store/status.h"

// A user format as the driver files hold it.
struct ListedFormat {
  std::string_view name;
  std::string_view id;
  uint64_t width_mm = 0;
  int64_t height_mm = 0;
  std::string_view media_name;  // the tape's page-size name, or empty
  // Whether the identifier stands whole in the function, media-information
  // and imageable-area files; an add or delete cut short leaves it not.
  bool complete = false;
  // The first number of the format's size line in the media-information
  // file, the printable dots across; -1 where there is none.
  long long across_dots = -1;
  // Whether the identifier stands whole in the resource file, which then
  // has the format selected.
  bool selected = false;
};

// Hands every format a "*PageSize" line of the media-information or the
// function file of |model_code| names to |visit|: those of the
// media-information file in its order, then those of the function file
// alone in its order, one per identifier. The views last for the call.
// Nothing is handed over until all three files are read, so a failure
// leaves |visit| uncalled. Only reads: no lock, no companion run, nothing
// written. Each file is read once, and memory grows with the identifiers
// the files hold, not with their size. Returns kStoreDone, or
// kStoreFileFailed with |*failure| set (the data directory where that is
// missing).
StoreStatus list_formats(FileOps* files, const std::string& root,
                         const std::string& model_code, bool roll_label,
                         const std::function<void(const ListedFormat&)>& visit,
                         StoreFailure* failure);

#endif  // VTMEDIA_STORE_LIST_H_
