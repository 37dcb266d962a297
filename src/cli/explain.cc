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

namespace {

// Why standard output first lost what was written to it; 0 while nothing
// was lost. The C library drops what it could not write, so a later
// flush no longer tells.
int g_output_error = 0;

}  // namespace

void flush_output() {
  if (fflush(stdout) != 0 && g_output_error == 0)
    g_output_error = errno != 0 ? errno : EIO;
}

int finish_output(const char* program, int status) {
  flush_output();
  if (g_output_error == 0 && ferror(stdout))
    g_output_error = EIO;
  if (g_output_error == 0)
    return status;
  explain(program, std::string("write error: ") + strerror(g_output_error));
  return kExitFailure;
}
