// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_E2E_HARNESS_H_
#define VTMEDIA_TESTS_E2E_HARNESS_H_

#include <string>
#include <vector>

#include "test_files.h"

// Helpers for tests that run built executables on driver trees made in a
// temporary directory.

struct RunResult {
  int exit_status = -1;  // -1 when the program did not exit normally
  int signal = 0;        // the signal that ended it, if any
  std::string out;
  std::string err;
};

// Runs |program| with the argument vector |args| (args[0] is passed as the
// program name, whatever |program| is) in directory |cwd|, with |env|
// ("NAME=value") added to this process's environment. Standard input is
// empty; standard output and error are captured.
RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& cwd = "",
                      const std::vector<std::string>& env = {});

// The four data files of a model, relative to the driver root.
struct DriverFiles {
  std::string function_file;
  std::string media_info;
  std::string resource;
  std::string print_area;
  std::string companion;
  std::vector<std::string> all() const {
    return { function_file, media_info, resource, print_area };
  }
};
DriverFiles driver_files(const std::string& root,
                         const std::string& model_code);

// Lays the driver tree of |model_code| under |root|: the sample files
// where the repository has them for that model (txr580, rk210), otherwise
// small files of its own, and the stand-in companion tool.
DriverFiles lay_driver_tree(const std::string& root,
                            const std::string& model_code);

// Runs the tool built for tests (driver root "vantrel" below |dir|) under
// program name |name| (e.g. "vtmediatoollpr_txr580") with |args|.
RunResult run_tool_in(const std::string& dir, const std::string& name,
                      const std::vector<std::string>& args,
                      const std::vector<std::string>& env = {});

#endif  // VTMEDIA_TESTS_E2E_HARNESS_H_
