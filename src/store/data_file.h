// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DATA_FILE_H_
#define VTMEDIA_STORE_DATA_FILE_H_

#include <sys/stat.h>

#include <string>

#include "store/file_ops.h"
#include "store/status.h"

// The data files are writable by everybody, so anybody may have put
// something else at their paths: a link to a file only root may read, a
// FIFO that never answers, a device that never ends. Only regular files
// are read or replaced, and links are never followed.

// Opens the data file at |path| for reading without following a link or
// waiting on a FIFO. Returns kStoreDone with the descriptor in |*fd| and
// its status in |*info|, or kStoreFileFailed with |*failure| set (ENOENT
// for a missing file; ELOOP for a link, EISDIR for a directory, EINVAL
// for any other kind of file, EMLINK for a file with a second name).
StoreStatus open_data_file(FileOps* files, const std::string& path, int* fd,
                           struct stat* info, StoreFailure* failure);

// Readies a model's data directory, locked as |dir_fd| of status |dir|,
// for a request that writes, before anything runs or changes: the
// directory must be writable and searchable, each data file absent or a
// regular file the run may read and, in a sticky directory, replace; and
// whatever an earlier run left at a temporary path goes (a file or link,
// an empty directory; anything else fails). |problems|,
// indexed by DriverFile, gets why a rewrite of each file would certainly
// fail (ENOENT missing, EPERM immutable or append-only, EBUSY a mount
// point, EMFILE no descriptors to spare), 0 where it would not: whether
// that matters depends on the files the request rewrites. Returns
// kStoreDone, or kStoreFileFailed with |*failure| set and nothing changed
// but the temporary paths already cleared.
StoreStatus prepare_data_files(FileOps* files, const std::string& root,
                               const std::string& model_code, int dir_fd,
                               const struct stat& dir, int* problems,
                               StoreFailure* failure);

#endif  // VTMEDIA_STORE_DATA_FILE_H_
