// SPDX-License-Identifier: GPL-2.0-or-later
// Preloaded into the tool by tests that need two runs to read the same
// time of day: gettimeofday answers VT_FROZEN_TIME, "SECONDS.MICROSECONDS".

#include <stdlib.h>
#include <sys/time.h>

extern "C" int gettimeofday(struct timeval* now, void*) {
  const char* frozen = getenv("VT_FROZEN_TIME");
  char* dot = nullptr;
  now->tv_sec = frozen ? strtol(frozen, &dot, 10) : 0;
  now->tv_usec = dot && *dot == '.' ? strtol(dot + 1, nullptr, 10) : 0;
  return 0;
}
