// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_STORE_ENV_H_
#define VTMEDIA_STORE_STORE_ENV_H_

#include <functional>
#include <string>

#include "store/file_ops.h"

// Where and through what the format operations work. The shipped tool
// passes its compiled-in driver root and the real file system; tests pass
// a temporary root and, for fault injection, their own FileOps.
struct StoreEnv {
  std::string driver_root;
  FileOps* files = real_file_ops();
  // How long to wait for another run on the same model to finish, and
  // what to call once, with the directory, when a run starts waiting.
  int lock_timeout_ms = 30000;
  std::function<void(const std::string& dir)> on_lock_wait;
};

#endif  // VTMEDIA_STORE_STORE_ENV_H_
