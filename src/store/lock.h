// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOCK_H_
#define VTMEDIA_STORE_LOCK_H_

#include <functional>
#include <string>

#include "store/status.h"
#include "store/store_env.h"

// Two runs on one model would share the ".$$$" files and lose each other's
// formats, so each request holds an exclusive lock on the model's data
// directory from before the companion tool first runs until its last
// rename.

// Runs one request on |model_code|'s driver: takes the lock, readies the
// data files (see prepare_data_files), runs |body|, and makes the renames
// of a body that changed the files durable before letting go. Returns
// what |body| returns; kStoreLockTimedOut when another run kept the lock
// past env.lock_timeout_ms; or kStoreFileFailed with |*failure| set when
// the lock, the readying or the directory's sync fails.
StoreStatus run_request(
    const StoreEnv& env, const std::string& model_code,
    const std::function<StoreStatus(StoreFailure* failure)>& body,
    StoreFailure* failure);

#endif  // VTMEDIA_STORE_LOCK_H_
