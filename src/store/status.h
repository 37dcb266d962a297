#ifndef VTMEDIA_STORE_STATUS_H_
#define VTMEDIA_STORE_STATUS_H_

// Results of the format operations, carried up to the front end, which
// alone turns them into messages and exit statuses.
const int kStoreDone = 0;
const int kStoreNotFound = 1;          // no format of that name
const int kStoreFileFailed = -1;       // a driver file could not be rewritten
const int kStoreCompanionFailed = -2;  // the companion tool reported failure

#endif  // VTMEDIA_STORE_STATUS_H_
