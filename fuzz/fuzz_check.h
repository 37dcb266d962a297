// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_FUZZ_FUZZ_CHECK_H_
#define VTMEDIA_FUZZ_FUZZ_CHECK_H_

#include <stdio.h>
#include <stdlib.h>

// An invariant of a fuzz target. A broken one aborts, which both libFuzzer
// and the corpus replay in the ordinary test run report as a failure; the
// message says which one broke.
#define FUZZ_CHECK(condition)                                           \
  do {                                                                  \
    if (!(condition)) {                                                 \
      fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__,        \
              #condition);                                              \
      abort();                                                          \
    }                                                                   \
  } while (0)

#endif  // VTMEDIA_FUZZ_FUZZ_CHECK_H_
