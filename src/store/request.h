// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_REQUEST_H_
#define VTMEDIA_STORE_REQUEST_H_

#include <sys/stat.h>

#include <functional>
#include <vector>

#include "store/driver.h"
#include "store/rewrite.h"
#include "store/status.h"

// One request on a model's driver, as its steps see it.
struct Request {
  const ModelDriver& driver;
  StoreFailure* failure;
  struct stat dir = {};     // the status of the locked data directory
  bool renamed = false;     // a data file has been replaced
};

// Runs |body| as one request on |driver|: takes the model's lock (two
// runs on one model would share the ".$$$" files and lose each other's
// formats), runs |body| and, where the body replaced a data file, makes
// the renames durable before letting the lock go, explicitly, on every
// way out (anything the companion left running shares its descriptor).
// Returns what |body| returns; kStoreLockTimedOut when another process
// kept the lock past driver.lock_timeout_ms (driver.on_lock_wait is
// called once when the run starts waiting); or kStoreFileFailed with
// |*failure| set when the lock or the directory's sync fails.
StoreStatus run_request(const ModelDriver& driver,
                        const std::function<StoreStatus(Request*)>& body,
                        StoreFailure* failure);

// One step of a request: a data file and what its rewrite does to it.
struct Rewrite {
  DriverFile file;
  LineEdit edit;
};

// Readies the data files for a request that writes, before anything runs
// or changes: the directory must be writable and searchable, each data
// file missing or a regular file within kMaxDataFileSize (else EFBIG)
// that the run may read and, in a sticky directory, replace; whatever an
// earlier run left at a temporary path goes (a file or link, an empty
// directory; anything else fails). Where a file is missing, immutable or
// append-only, or a mount point, |planned| is asked for the rewrites the
// request will make, and a request certain to fail at one of their files
// is refused (ENOENT, EPERM, EBUSY).
// Returns kStoreDone, or kStoreFileFailed with the request's failure set
// and nothing changed but the temporary paths already cleared.
StoreStatus prepare_to_write(
    Request* request,
    const std::function<StoreStatus(std::vector<Rewrite>*)>& planned);

// Makes |rewrites| in their order (see rewrite_file), stopping at the
// first that fails, those before it staying made.
StoreStatus rewrite_in_order(Request* request,
                             const std::vector<Rewrite>& rewrites);

#endif  // VTMEDIA_STORE_REQUEST_H_
