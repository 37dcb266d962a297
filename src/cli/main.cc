// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/exit_status.h"
#include "cli/explain.h"
#include "cli/inherited.h"
#include "cli/tool.h"

#ifndef VT_DRIVER_ROOT
#error "VT_DRIVER_ROOT must name the driver root directory"
#endif

int main(int argc, char** argv) {
  if (!reset_inherited_state())
    return kExitFailure;
  StoreEnv env;
  env.driver_root = VT_DRIVER_ROOT;
  return finish_output(argc > 0 ? argv[0] : "",
                       run_tool(argc, argv, env));
}
