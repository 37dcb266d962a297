// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_REQUEST_H_
#define VTMEDIA_STORE_REQUEST_H_

#include <sys/stat.h>

#include <functional>
#include <string>

#include "store/line_edit.h"
#include "store/paths.h"
#include "store/settings.h"
#include "store/status.h"
#include "store/store_env.h"

// One request on a model's driver, as its steps see it.
struct Request {
  const StoreEnv& env;
  const std::string& model_code;
  StoreFailure* failure;
  int dir_fd = -1;          // the locked data directory
  struct stat dir = {};     // its status
  bool renamed = false;     // a data file has been replaced

  std::string path(DriverFile file) const {
    return driver_file_path(env.driver_root, model_code, file);
  }
};

// Runs |body| as one request on |model_code|'s driver: takes the model's
// lock, runs |body| and, where the body replaced a data file, makes the
// renames durable before letting go. Returns what |body| returns;
// kStoreLockTimedOut when another process kept the lock past
// env.lock_timeout_ms; or kStoreFileFailed with |*failure| set when the
// lock or the directory's sync fails.
StoreStatus run_request(const StoreEnv& env, const std::string& model_code,
                        const std::function<StoreStatus(Request*)>& body,
                        StoreFailure* failure);

// Readies the data files for a request that writes (see
// prepare_data_files), before anything runs or changes, and refuses one
// certain to fail at a file it will rewrite: every file, when the function
// or media-information file names |settings.format_name|; the function,
// media-information and imageable-area files too when |adding|.
StoreStatus prepare_to_write(Request* request, const FormatSettings& settings,
                             bool adding);

// Replaces |file| through |edit| (see rewrite_file).
StoreStatus rewrite_data_file(Request* request, DriverFile file,
                              const LineEdit& edit);

#endif  // VTMEDIA_STORE_REQUEST_H_
