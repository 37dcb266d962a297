// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_
#define VTMEDIA_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_

#include <sys/resource.h>

// The largest file a test program, or any program it starts, may write
// (RLIMIT_FSIZE, set before main): a write that runs away then kills the
// test with SIGXFSZ instead of filling the disk. The largest files the
// tests write run to a few tens of MiB.
const rlim_t kTestFileSizeLimit = rlim_t(64) << 20;

#endif  // VTMEDIA_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_
