// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOCK_H_
#define VTMEDIA_STORE_LOCK_H_

#include <functional>
#include <string>

#include "store/file_ops.h"
#include "store/store_env.h"

// Two runs on one model would share the ".$$$" files and lose each other's
// formats, so each request holds an exclusive lock on the model's data
// directory from before the companion tool first runs until its last
// rename.

// Runs |body| under the lock of |model_code|'s data directory, once the
// data files are ready for it (see prepare_data_files), and returns its
// status. Failing to lock or to ready the files, running out of memory,
// or failing to sync the directory after a body that did not fail, is
// kStoreFileFailed with |*error| set.
int run_locked(const StoreEnv& env, const std::string& model_code,
               const std::function<int(int* error)>& body, int* error);

#endif  // VTMEDIA_STORE_LOCK_H_
