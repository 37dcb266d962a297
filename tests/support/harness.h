// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_E2E_HARNESS_H_
#define VTMEDIA_TESTS_E2E_HARNESS_H_

#include <sys/stat.h>

#include <functional>
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
// empty; standard output and error are captured. |in_child|, where given,
// runs in the child just before the program starts.
typedef std::function<void()> ChildSetup;
RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& cwd = "",
                      const std::vector<std::string>& env = {},
                      const ChildSetup& in_child = nullptr);

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
                      const std::vector<std::string>& env = {},
                      const ChildSetup& in_child = nullptr);

// One model's driver tree in a temporary directory, with what its files
// held when laid.
class Driver {
 public:
  Driver(const std::string& program, const std::string& code)
      : program_(program), code_(code),
        files(lay_driver_tree(dir_.path() + "/vantrel", code)) {
    remember();
  }
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Replaces the files' content (in the order of DriverFiles::all) and
  // takes it as the original.
  void lay(const std::vector<std::string>& contents) {
    std::vector<std::string> paths = files.all();
    for (size_t i = 0; i < paths.size(); ++i)
      write_file(paths[i], contents[i]);
    remember();
  }

  // Puts a shell script in the companion tool's place.
  void use_companion_script(const std::string& body) {
    write_file(files.companion, "#!/bin/sh\n" + body);
    chmod(files.companion.c_str(), 0755);
  }

  // Runs the tool; a silent success must stay silent on stderr too, and
  // any other run write one line there at most.
  RunResult run(const std::vector<std::string>& args,
                std::vector<std::string> env = {},
                const ChildSetup& in_child = nullptr);

  std::string companion_log() const { return read_file(log_path()); }
  std::string companion_arg0() const {
    return "vantrel/" + code_ + "/bin/lpd/vtmediatoolcups_" + code_;
  }
  std::string inf_dir() const {
    return dir_.path() + "/vantrel/" + code_ + "/bin/inf";
  }
  const std::string& top() const { return dir_.path(); }

  // Every data file holds exactly |expected| (its original content where
  // that is empty); a missing file must stay missing.
  void expect_files(std::vector<std::string> expected = {},
                    const std::string& missing = "") const;

 private:
  std::string log_path() const { return dir_.path() + "/companion.log"; }
  void remember();

  TempDir dir_;
  std::string program_;
  std::string code_;

 public:
  DriverFiles files;
  std::vector<std::string> original;  // function, media-info, rc, area
};



#endif  // VTMEDIA_TESTS_E2E_HARNESS_H_
