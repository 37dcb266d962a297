// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LOCK_H_
#define VTMEDIA_STORE_LOCK_H_

#include <string>

#include "store/status.h"
#include "store/store_env.h"

// Two runs on one model would share the ".$$$" files and lose each other's
// formats, so each request that writes holds an exclusive lock on the
// model's data directory.

// Takes the lock on the directory |dir|, waiting up to env.lock_timeout_ms
// (calling env.on_lock_wait once when it has to wait). Returns kStoreDone
// with the directory's descriptor in |*fd|, whose closing lets the lock
// go; kStoreLockTimedOut when another process kept it; or
// kStoreFileFailed. |*failure| names the directory on failure.
StoreStatus lock_data_dir(const StoreEnv& env, const std::string& dir,
                          int* fd, StoreFailure* failure);

#endif  // VTMEDIA_STORE_LOCK_H_
