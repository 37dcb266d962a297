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

namespace {

// Prints what a store operation ended with and returns the exit status.
int report(int status, const FormatSettings& settings, int error) {
  switch (status) {
  case kStoreDone:
    return kExitOk;
  case kStoreNotFound:
    printf("Not found '%s'\n", settings.format_name.c_str());
    return kExitOk;
  case kStoreFileFailed:
  case kStoreCompanionNotStarted:
    printf("%s\n", strerror(error));
    return kExitFailure;
  default:
    // A companion tool that ran and refused speaks for itself.
    return kExitFailure;
  }
}

int run_action(Action action, FormatSettings* settings,
               const StoreEnv& env) {
  int error = 0;
  int status;
  switch (action) {
  case kActionAdd:
    // An earlier format of the same name is replaced, not doubled.
    status = add_format(*settings, env, &error);
    break;
  case kActionDelete:
    status = delete_format(*settings, env, &error);
    break;
  default:
    print_usage(*settings);
    return kExitOk;
  }
  return report(status, *settings, error);
}

}  // namespace

int run_tool(int argc, const char* const* argv, const StoreEnv& env) {
  FormatSettings settings;
  const char* program = argc > 0 && argv[0] ? argv[0] : "";
  if (!identify_model(program, &settings)) {
    printf("%s is invalid.\n\n", program);
    return kExitOk;
  }

  int status;
  try {
    status = run_action(parse_options(argc, argv, &settings), &settings, env);
  } catch (const std::bad_alloc&) {
    printf("%s\n", strerror(ENOMEM));
    status = kExitFailure;
  }
  fflush(stdout);
  return status;
}
