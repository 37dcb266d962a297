// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_STATUS_H_
#define VTMEDIA_STORE_STATUS_H_

#include <string>

// What every function of the store returns, carried up to the front end,
// which alone turns it into a message and an exit status.
enum StoreStatus {
  kStoreDone = 0,
  kStoreNotFound = 1,              // no format of that name
  kStoreFileFailed = -1,           // a driver file could not be used
  kStoreCompanionFailed = -2,      // the companion tool ran and refused
  kStoreCompanionNotStarted = -3,  // the companion tool could not be run
  kStoreLockTimedOut = -4,         // another process kept the model's lock
  kStoreStopped = -5,              // told to stop while the companion ran
  kStoreDirReplaced = -6,          // the data directory's path names another
};

// What a call that failed ran into, filled where it failed, for the front
// end to say: the errno of the failing call and the file or program it
// concerned; for a companion tool that ran and failed, how it ended; for
// a request told to stop, by which signal.
struct StoreFailure {
  int error = 0;
  std::string path;
  // Where a file was refused for its size (EFBIG), the most it may hold;
  // 0 for any other failure, a write past the file-size limit among them.
  long long size_limit = 0;
  int exit_status = 0;  // the companion's, when it exited with one
  int signal = 0;       // the signal that ended the companion, or the stop
};

// Records that a call concerning |path| failed with |error|.
inline StoreStatus fail_at(const std::string& path, int error,
                           StoreFailure* failure) {
  failure->error = error;
  failure->path = path;
  return kStoreFileFailed;
}

#endif  // VTMEDIA_STORE_STATUS_H_
