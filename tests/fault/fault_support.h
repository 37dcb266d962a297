// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_FAULT_FAULT_SUPPORT_H_
#define VTMEDIA_TESTS_FAULT_FAULT_SUPPORT_H_

#include <string>
#include <vector>

#include "faulty_file_ops.h"
#include "harness.h"

// Helpers for the tests that make file calls fail, kill runs, hold locks
// and fill the disk.

// What the add request |argv| (program name first) leaves, step by step:
// [0] nothing yet, [1] the companion tool has entered its "*PageSize"
// line, [2] [3] [4] the function, media-information and imageable-area
// files are rewritten. An empty |format_id| (no add reached the companion
// tool) gives only [0]. The sizes entered are those of harness.h.
std::vector<Contents> add_stages(const Contents& before,
                                 const std::vector<std::string>& argv,
                                 const std::string& format_id);

// What a delete of |format_id| leaves: [0] nothing yet, then one stage
// per rewritten file, in the order function, resource, imageable-area,
// media-information file.
std::vector<Contents> delete_stages(const Contents& before,
                                    const std::string& format_id,
                                    const std::string& default_media_line);

// What an add request that replaces the format |old_id| of the same name
// leaves: the stages of its delete, then those of its add from there on,
// as add_stages counts them.
std::vector<Contents> replace_stages(const Contents& before,
                                     const std::vector<std::string>& argv,
                                     const std::string& format_id,
                                     const std::string& old_id,
                                     const std::string& default_media_line);

// The index of the stage that |now| equals, or -1 when it is none of them.
int stage_of(const std::vector<Contents>& stages, const Contents& now);

// For a failure message: the stages each file of |now| matches, and its
// size, file by file.
std::string describe_files(const std::vector<Contents>& stages,
                           const Contents& now);

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

// The number of descriptors this process has open.
int open_descriptor_count();

// Sets an environment variable for the life of the object; programs this
// process starts (the companion tool) see it.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string name_;
  bool had_value_;
  std::string old_value_;
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

#endif  // VTMEDIA_TESTS_FAULT_FAULT_SUPPORT_H_
