// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_REQUEST_H_
#define VTMEDIA_STORE_REQUEST_H_

#include <sys/stat.h>

#include <bitset>
#include <iterator>
#include <string>
#include <vector>

#include "store/driver.h"
#include "store/file_ops.h"
#include "store/rewrite.h"
#include "store/status.h"

// Some of a model's data files, indexed by DriverFile.
typedef std::bitset<std::size(kDriverFiles)> FileSet;

// One step of a request: a data file and what its rewrite does to it.
struct Rewrite {
  DriverFile file;
  LineEdit edit;
};

// Which data files the steps of a request will rewrite, as its
// preparation must know before anything runs: |files| in any case, and
// |found_files| as well where the files name a format of one of |names|
// (the delete of a name found nowhere rewrites nothing). The plan of
// several steps is the union of theirs (|=).
struct RewritePlan {
  FileSet files;
  FileSet found_files;
  std::vector<std::string> names;

  RewritePlan& operator|=(const RewritePlan& other) {
    files |= other.files;
    found_files |= other.found_files;
    names.insert(names.end(), other.names.begin(), other.names.end());
    return *this;
  }
};

// One request on a model's driver: its data directory, opened and locked
// once, and every file call of its steps made relative to that
// directory's descriptor, so that whatever its path names meanwhile (a
// driver reinstalled, a tree restored from backup, a link switched) the
// request works in the one directory it locked. Two runs on one model
// would otherwise share the ".$$$" files and lose each other's formats.
//
// A caller takes its steps in a straight line, each after the last has
// returned kStoreDone:
//
//   Request request(driver, &failure);
//   StoreStatus status = request.lock();
//   if (status == kStoreDone) status = request.prepare(plan);
//   ... steps: run_companion, rewrite (see delete_step, add_step) ...
//   return request.finish(status);
//
// Any number of steps may come between prepare and finish, all under the
// one lock. The failure of any call is described in the one StoreFailure
// given at the start, which the request's steps fill. However the request
// ends (finish, or an unwinding), the directory is synced where a data
// file was replaced, and the lock is let go explicitly: the companion
// shares the descriptor with whatever it left running, so closing it
// would leave the lock with them.
class Request {
 public:
  Request(const ModelDriver& driver, StoreFailure* failure)
      : driver_(driver), failure_(failure), dir_fd_(driver.files, -1) {}
  ~Request();
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  // Opens the data directory (O_DIRECTORY), takes the lock on that
  // descriptor and checks that the path still names the directory locked
  // (device and inode); where it does not, lets it go and starts again on
  // what the path names now, all within driver.lock_timeout_ms of the
  // first try (driver.on_lock_wait is called once when the run starts
  // waiting). The descriptor is left open across the companion's exec,
  // so that the lock lives until the companion too has ended. Returns
  // kStoreDone; kStoreLockTimedOut (EWOULDBLOCK); or kStoreFileFailed
  // (ENOENT where the path names nothing).
  StoreStatus lock();

  // Readies the data files for the steps |plan| describes, before
  // anything runs or changes: the directory must be writable and
  // searchable, each data file missing or a regular file within
  // kMaxDataFileSize (else EFBIG) that the run may read and, in a sticky
  // directory, replace; whatever an earlier run left at a temporary path
  // goes (a file or link, an empty directory; anything else fails). Where
  // a file the plan rewrites is missing, immutable or append-only, or a
  // mount point, the request is certain to fail and is refused (ENOENT,
  // EPERM, EBUSY); only then are the plan's names looked up. Returns
  // kStoreDone, or kStoreFileFailed with nothing changed but the
  // temporary paths already cleared.
  StoreStatus prepare(const RewritePlan& plan);

  // Runs the companion tool with |args| (see run_companion) and then
  // checks that the data directory's path still names the directory
  // locked: the companion reaches the files by their path, so after a
  // replacement its changes and the request's would land in two
  // directories. Returns what run_companion returns, or
  // kStoreDirReplaced where the path names another directory or none.
  StoreStatus run_companion(const std::vector<std::string>& args);

  // Makes |rewrites| in their order (see rewrite_file), stopping at the
  // first that fails, those before it staying made.
  StoreStatus rewrite(const std::vector<Rewrite>& rewrites);

  // Ends the request that its steps brought to |status|: syncs the
  // directory where a data file was replaced, checks once more that the
  // path names the directory locked, and lets the lock go. Returns
  // |status|, or, where that is kStoreDone, the sync's failure
  // (kStoreFileFailed) or kStoreDirReplaced.
  StoreStatus finish(StoreStatus status);

  const ModelDriver& driver() const { return driver_; }
  StoreFailure* failure() const { return failure_; }
  // The data file |file| as the request's calls reach it, in the
  // directory locked.
  FileAt file(DriverFile file) const;

 private:
  // Sets |*same| to whether the data directory's path names the
  // directory open as dir_fd_. kStoreFileFailed where it cannot tell.
  StoreStatus path_names_dir(bool* same);
  // Checks that the path still names the directory locked.
  StoreStatus check_not_replaced();
  // Syncs the directory once, where a data file was replaced; false
  // when that failed, with its errno.
  bool sync();
  void unlock();

  const ModelDriver& driver_;
  StoreFailure* failure_;
  ScopedFd dir_fd_;
  struct stat dir_ = {};  // the status of the locked data directory
  bool locked_ = false;
  bool renamed_ = false;  // a data file has been replaced
  bool synced_ = false;
};

#endif  // VTMEDIA_STORE_REQUEST_H_
