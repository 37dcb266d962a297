// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/tool.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <new>

#include "cli/exit_status.h"
#include "cli/model.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "store/add.h"
#include "store/delete.h"
#include "store/status.h"

#ifndef VT_VERSION
#error "VT_VERSION must give the project's version"
#endif

namespace {

// Prints what a store operation ended with and returns the exit status.
int report(StoreStatus status, const FormatSettings& settings, int error) {
  switch (status) {
  case kStoreDone:
    return kExitOk;
  case kStoreNotFound:
  case kStoreFileMissing:
    printf("Not found '%s'\n", settings.format_name.c_str());
    return kExitOk;
  case kStoreFileFailed:
  case kStoreCompanionNotStarted:
    printf("%s\n", strerror(error));
    return kExitFailure;
  case kStoreCompanionFailed:
    // A companion tool that ran and refused speaks for itself.
    return kExitFailure;
  }
  return kExitFailure;
}

int run_action(Action action, const FormatSettings& settings,
               const StoreEnv& env) {
  if (action == kActionUsage) {
    print_usage(settings);
    return kExitOk;
  }
  int error = 0;
  // An add replaces an earlier format of the same name, not doubles it.
  StoreStatus status = action == kActionAdd ?
      add_format(settings, env, &error) :
      delete_format(settings, env, &error);
  return report(status, settings, error);
}

}  // namespace

int run_tool(int argc, const char* const* argv, const StoreEnv& env) {
  // Asked of any of the names, the model's or the executable's own.
  if (argc == 2 && strcmp(argv[1], "--version") == 0) {
    printf("vtmediatoollpr %s\n", VT_VERSION);
    fflush(stdout);
    return kExitOk;
  }
  FormatSettings settings;
  const char* program = argc > 0 && argv[0] ? argv[0] : "";
  if (!identify_model(program, &settings)) {
    printf("%s is invalid.\n\n", program);
    return kExitOk;
  }

  int status;
  // The one place running out of memory is caught: every descriptor and
  // temporary file has an owner that cleans up on the way here.
  try {
    Action action = parse_options(argc, argv, &settings);
    status = run_action(action, settings, env);
  } catch (const std::bad_alloc&) {
    printf("%s\n", strerror(ENOMEM));
    status = kExitFailure;
  }
  fflush(stdout);
  return status;
}
