// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_E2E_HARNESS_H_
#define VTMEDIA_TESTS_E2E_HARNESS_H_

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "faulty_file_ops.h"
#include "store/driver.h"
#include "test_files.h"

// Helpers for tests that run the tool, built or in this process, on
// driver trees made in a temporary directory.

struct RunResult {
  int exit_status = -1;  // -1 when the program did not exit normally
  int signal = 0;        // the signal that ended it, if any
  std::string out;
  std::string err;
};

// Runs in the child just before the program starts.
typedef std::function<void()> ChildSetup;

// Waits for |pid|: its exit status, or 128 plus the signal that ended it.
// One that runs on for seconds fails the test and is killed.
int wait_for(pid_t pid);

// Runs |program| with the argument vector |args| (args[0] is passed as
// the program name, whatever |program| is) in directory |cwd|, with |env|
// ("NAME=value") added to this process's environment, and waits for it.
// Standard input is empty; standard output and error are captured apart.
RunResult run_program(const std::string& program,
                      const std::vector<std::string>& args,
                      const std::string& cwd = "",
                      const std::vector<std::string>& env = {},
                      const ChildSetup& in_child = nullptr);

// Runs the whole tool in this process, so that a test can hand it its own
// StoreEnv; returns the exit status, with what it printed in |*out|.
int run_tool_here(const std::vector<std::string>& argv, const StoreEnv& env,
                  std::string* out);

// Forks a child that runs |in_child|, then the whole tool on |argv| with
// |env|, and exits with its exit status; returns the child's pid without
// waiting. For runs that must be set apart from this process (an
// allocation made to fail) yet need their own StoreEnv.
pid_t fork_tool(const std::vector<std::string>& argv, const StoreEnv& env,
                const ChildSetup& in_child);

// A terminal for runs to print on, at the path side().
class Terminal {
 public:
  Terminal();
  ~Terminal();
  const std::string& side() const { return side_; }
  // What the runs on it showed, once they have ended.
  std::string shown() const;

 private:
  int fd_;
  std::string side_;
};

// Makes the child user nobody.
const uid_t kNobody = 65534;
ChildSetup as_nobody();

// Puts |kind| at |path|, as anybody may where a file is expected: a link
// or hard link to |target|, a link to |target| + "-nowhere", a FIFO, a
// socket, a stale file, or an empty or full directory; "missing" puts
// nothing.
void plant(const std::string& kind, const std::string& path,
           const std::string& target);

// Milliseconds on a clock that only goes forward, for timing runs.
long long now_ms();

// Asks |seen| every |poll_us| microseconds until it holds: true, or false
// when it has not by |ms| milliseconds from now.
bool wait_until(const std::function<bool()>& seen, int ms,
                int poll_us = 10 * 1000);

// The programs of the two sample models, and requests on the tape
// model's sample tree: an add of a new name, an add that replaces the
// sample's "Shelf edge", its delete, and the listing.
inline const char kTape[] = "vtmediatoollpr_txr580";
inline const char kRoll[] = "vtmediatoollpr_rk210";
inline const std::vector<std::string> kAddNew = { "-P", "q", "-n", "New",
                                                  "-w", "12", "-h", "50" };
inline const std::vector<std::string> kAddShelfEdge = {
    "-P", "q", "-n", "Shelf edge", "-w", "12", "-h", "30" };
inline const std::vector<std::string> kDeleteShelfEdge = {
    "-P", "q", "-d", "Shelf edge" };
inline const std::vector<std::string> kList = { "--list" };
// The identifiers of the formats the sample trees come with: "Shelf edge"
// on the tape model, "Address label" on the roll-label model.
inline const char kShelfEdgeId[] = "VtL_vtS12mm__0A0A0642F3C1";
inline const char kAddressLabelId[] = "VtL0D3E0641A7F0";

// The contents of a model's four data files, in DriverFiles::all() order.
typedef std::vector<std::string> Contents;

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

// Lays the driver tree of |model_code| under |root|: the sample files
// where the repository has them for that model (txr580, rk210), otherwise
// small files of its own, and the stand-in companion tool.
DriverFiles lay_driver_tree(const std::string& root,
                            const std::string& model_code);

// The line the stand-in companion tool enters in the function and
// media-information files for the format |id| named |name|, of the size
// it was given.
inline std::string standin_page_size_line(const std::string& id,
                                          const std::string& name,
                                          const std::string& width,
                                          const std::string& height) {
  return "*PageSize " + id + "/" + name + ": \"<</PageSize[" + width + " " +
      height + "]/ImagingBBox null>>setpagedevice\"\n";
}

// What an add of a width and height enters, written out: the size the
// companion tool is given and the fields of the media-information and
// imageable-area lines.
struct EnteredSizes {
  const char* width;  // as requested
  const char* height;
  const char* fitted_width;  // as the companion tool gets them
  const char* fitted_height;
  const char* dots;
  const char* area;
};
inline const EnteredSizes kTape12x50 = { "12", "50", "10", "50", "70\t353",
                                         "0.00\t0.00\t28.00\t141.52" };
inline const EnteredSizes kTape12x30 = { "12", "30", "10", "30", "70\t212",
                                         "0.00\t0.00\t28.00\t84.91" };
inline const EnteredSizes kRoll62x50 = { "62", "50", "62", "50", "695\t518",
                                         "0.00\t0.00\t0.00\t141.52" };

// What an add of the new name |name| under |id| makes of |before|, the
// stand-in companion tool's "*PageSize" lines included.
Contents after_add(const Contents& before, const std::string& id,
                   const std::string& name, const EnteredSizes& sizes);

// What deleting the format |id| makes of |before|; a resource-file
// setting of it falls back to |default_media|.
Contents after_delete(const Contents& before, const std::string& id,
                      const std::string& default_media);

// One model's driver tree in a temporary directory, with what its files
// held when laid; the stand-in companion tool logs the runs the tree's
// own run and start make.
class Driver {
 public:
  Driver(const std::string& program, const std::string& code)
      : program_(program), code_(code),
        files(lay_driver_tree(root(), code)) {
    remember();
  }
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // Replaces the files' content and takes it as the original.
  void lay(const Contents& contents) {
    write(contents);
    remember();
  }
  void restore() const { write(original); }

  // Makes top() reachable by every user (mode 0755) and runs a copy of
  // the tool kept there from now on, so that a run as another user works
  // wherever the build tree is, in a private home directory too.
  void use_copy_of_tool();
  // Gives that copy |mode|, set-user-ID or set-group-ID bits included.
  void set_tool_copy_mode(mode_t mode) const;

  // Puts a shell script in the companion tool's place.
  void use_companion_script(const std::string& body) {
    write_file(files.companion, "#!/bin/sh\n" + body);
    chmod(files.companion.c_str(), 0755);
  }
  // Puts a shell script in the companion tool's place that runs |body|
  // and then, unless that ends it, the stand-in with the same arguments,
  // so that an add registers its format.
  void use_companion_script_then_standin(const std::string& body) {
    use_companion_script(body + "exec '" + copy_of_standin() + "' \"$@\"\n");
  }
  // A copy of the stand-in from where it finds the data files, for a
  // script in the companion's place to run; its path.
  std::string copy_of_standin() const;

  // Runs the tool; a silent success must stay silent on stderr too, and
  // any other run write one line there at most.
  RunResult run(const std::vector<std::string>& args,
                std::vector<std::string> env = {},
                const ChildSetup& in_child = nullptr);
  // Starts the tool without waiting for it, standard output and error
  // both going to the file |output| ("/dev/null" when empty).
  pid_t start(const std::vector<std::string>& args,
              const std::string& output = "") const;
  // For runs of the tool in this process: its argument vector for |args|,
  // and the tree as its StoreEnv, with the file calls of |ops|.
  std::vector<std::string> argv(const std::vector<std::string>& args) const;
  StoreEnv store_env(FileOps* ops = real_file_ops()) const;

  // The files' contents now; the one at index |skip| is left out as "",
  // so that nothing planted there is opened.
  Contents contents(int skip = -1) const;
  // The files left in the data directory with ".$$$" in their names.
  std::vector<std::string> temp_files() const;

  std::string log_path() const { return top() + "/companion.log"; }
  std::string companion_log() const { return read_file(log_path()); }
  std::string companion_arg0() const {
    return "vantrel/" + code_ + "/bin/lpd/vtmediatoolcups_" + code_;
  }
  const std::string& top() const { return dir_.path(); }
  std::string root() const { return top() + "/vantrel"; }
  std::string inf_dir() const { return root() + "/" + code_ + "/bin/inf"; }
  // Where a run writes the new content of data file |file|.
  std::string temp_path(int file) const { return files.all()[file] + ".$$$"; }

  // Every data file holds exactly |expected| (its original content where
  // that is empty), no temporary file is left, and a missing file stays
  // missing.
  void expect_files(Contents expected = {},
                    const std::string& missing = "") const;

  // The program run: the built tool, or its copy.
  std::string tool() const;

 private:
  void remember() { original = contents(); }
  void write(const Contents& contents) const;

  TempDir dir_;
  std::string program_;
  std::string code_;
  std::string tool_copy_;

 public:
  DriverFiles files;
  Contents original;
};

// For the tests that make file calls fail and kill runs.
// What the request |argv| (program name first) leaves, step by step: [0]
// nothing yet; where it deletes or replaces the format |old_id|, one stage
// per file its delete rewrites, in the order function, resource,
// imageable-area, media-information file, a resource-file setting of it
// falling back to |default_media_line|; then, for an add whose companion
// run was given |format_id| (empty where no add reached the companion
// tool), one where the companion has entered its "*PageSize" line and one
// per file the add rewrites: function, media-information, imageable-area
// file. The sizes entered are those of harness.h.
std::vector<Contents> request_stages(
    const Contents& before, const std::vector<std::string>& argv,
    const std::string& format_id, const std::string& old_id = "",
    const std::string& default_media_line = "");

// The index of the stage that |now| equals, or -1 when it is none of them.
int stage_of(const std::vector<Contents>& stages, const Contents& now);

// Whatever a failed or killed run of |args| cut short, the same command
// run again finishes: it leaves the files as one whole run would have
// (see request_stages) and no temporary file.
void expect_finished_by_the_same_command(
    Driver& driver, const std::vector<std::string>& args,
    const std::string& old_id = "",
    const std::string& default_media_line = "");

// |contents| without the lines that hold the identifier |text|.
Contents without_lines_holding(const Contents& contents,
                               const std::string& text);

// The identifier the stand-in companion tool was last given with
// -specid, read from its log; empty when no add reached it.
std::string logged_format_id(const std::string& log_path);

// Checks that |name| is entered exactly once in the files of |contents|:
// one "*PageSize" line in the function and media-information files, one
// entry below each "[CustomTape]" line, one size line and one
// imageable-area line, all with one identifier, which is returned (""
// after a failed check).
std::string expect_entered_once(const Contents& contents,
                                const std::string& name);

// Sets an environment variable for the life of the object; programs this
// process starts (the companion tool) see it.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Holds the lock that runs on a model take, as another run would.
class HeldLock {
 public:
  explicit HeldLock(const std::string& data_dir);
  ~HeldLock() { release(); }
  void release();

 private:
  int fd_;
};

// The environment that preloads |library| into a program started with it,
// a sanitizer build's runtime notwithstanding.
std::vector<std::string> preloading(const std::string& library);

#endif  // VTMEDIA_TESTS_E2E_HARNESS_H_
