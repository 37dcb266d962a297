// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DATA_FILE_H_
#define VTMEDIA_STORE_DATA_FILE_H_

#include <sys/stat.h>

#include <string>

#include "store/file_ops.h"
#include "store/status.h"

// Readies a model's data directory, locked, of status |dir|,
// for a request that writes, before anything runs or changes: the
// directory must be writable and searchable, each data file absent or a
// regular file the run may read and, in a sticky directory, replace; and
// whatever an earlier run left at a temporary path goes (a file or link,
// an empty directory; anything else fails). |problems|,
// indexed by DriverFile, gets why a rewrite of each file would certainly
// fail (ENOENT missing, EPERM immutable or append-only, EBUSY a mount
// point), 0 where it would not: whether
// that matters depends on the files the request rewrites. Returns
// kStoreDone, or kStoreFileFailed with |*failure| set and nothing changed
// but the temporary paths already cleared.
StoreStatus prepare_data_files(FileOps* files, const std::string& root,
                               const std::string& model_code,
                               const struct stat& dir, int* problems,
                               StoreFailure* failure);

#endif  // VTMEDIA_STORE_DATA_FILE_H_
