// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_STATUS_H_
#define VTMEDIA_STORE_STATUS_H_

// What every function of the store returns, carried up to the front end,
// which alone turns it into a message and an exit status. Where a call
// failed, the function also hands back the errno of that call.
enum StoreStatus {
  kStoreDone = 0,
  kStoreNotFound = 1,              // no format of that name
  kStoreFileFailed = -1,           // a driver file could not be used
  kStoreCompanionFailed = -2,      // the companion tool ran and refused
  kStoreCompanionNotStarted = -3,  // the companion tool could not be run
  kStoreFileMissing = 2,           // a looked-up file is not there
};

#endif  // VTMEDIA_STORE_STATUS_H_
