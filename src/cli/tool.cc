#include "cli/tool.h"

#include <stdio.h>
#include <string.h>

#include "cli/exit_status.h"
#include "cli/model.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "store/add.h"
#include "store/delete.h"
#include "store/status.h"

namespace {

void print_error(int error) {
  printf("%s\n", strerror(error));
}

int run_delete(const FormatSettings& settings, const StoreEnv& env) {
  int error = 0;
  switch (delete_format(settings, env, &error)) {
  case kStoreDone:
    return kExitOk;
  case kStoreNotFound:
    printf("Not found '%s'\n", settings.format_name.c_str());
    return kExitOk;
  case kStoreFileFailed:
    print_error(error);
    return kExitFailure;
  default:
    return kExitFailure;
  }
}

int run_add(const FormatSettings& settings, const StoreEnv& env) {
  // An earlier format of the same name is replaced, not doubled.
  int error = 0;
  int status = replace_format(settings, env, &error);
  if (status == kStoreFileFailed) {
    print_error(error);
    return kExitFailure;
  }
  // A companion tool that refused either step is a failed add.
  return status == kStoreDone ? kExitOk : kExitFailure;
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
  switch (parse_options(argc, argv, &settings)) {
  case kActionAdd:
    status = run_add(settings, env);
    break;
  case kActionDelete:
    status = run_delete(settings, env);
    break;
  default:
    print_usage(settings);
    status = kExitOk;
    break;
  }
  fflush(stdout);
  return status;
}
