// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/explain.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "cli/exit_status.h"

void explain(const char* program, const std::string& what) {
  const char* slash = strrchr(program, '/');
  fprintf(stderr, "%s: %s\n", slash ? slash + 1 : program, what.c_str());
  fflush(stderr);
}

int finish_output(const char* program, int status) {
  bool lost_before = ferror(stdout) != 0;
  // The C library keeps what it could not write, so a flush that fails
  // again tells why; one that now succeeds cannot.
  errno = 0;
  bool lost_now = fflush(stdout) != 0;
  if (!lost_before && !lost_now)
    return status;
  int error = lost_now && errno != 0 ? errno : EIO;
  explain(program, std::string("write error: ") + strerror(error));
  return kExitFailure;
}
