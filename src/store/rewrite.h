// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_REWRITE_H_
#define VTMEDIA_STORE_REWRITE_H_

#include <string>

#include "store/file_ops.h"
#include "store/status.h"
#include "store/line_edit.h"

// Replaces the data file at |path| by its lines passed through |edit|
// (an appended text starts on a line of its own). The new content goes to
// the ".$$$" file beside it, created exclusively, written in full, synced,
// given the data file's owner and mode 0666 and only then renamed over
// the data file, so readers see the old file or the new one, never a
// part. Returns kStoreDone, or kStoreFileFailed with |*failure| naming
// the data file and the errno of the failing call (an edit that selects
// by an empty needle fails with EINVAL); the data file is then untouched
// and no temporary file remains.
StoreStatus rewrite_file(FileOps* files, const std::string& path,
                         const LineEdit& edit, StoreFailure* failure);

#endif  // VTMEDIA_STORE_REWRITE_H_
