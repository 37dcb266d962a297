// SPDX-License-Identifier: GPL-2.0-or-later
#include "fault_support.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>

#include <gtest/gtest.h>

#include "reference_edit.h"
#include "split_lines.h"

namespace {

// The value of |option| in the command line |argv|.
std::string option_value(const std::vector<std::string>& argv,
                         const std::string& option) {
  for (size_t i = 1; i + 1 < argv.size(); ++i) {
    if (argv[i] == option)
      return argv[i + 1];
  }
  return "";
}

// Appends to |stages| what the add request |argv|, whose companion run
// was given |format_id|, does from the last of them.
void append_add_stages(std::vector<Contents>* stages,
                       const std::vector<std::string>& argv,
                       const std::string& format_id) {
  if (format_id.empty())
    return;
  const struct {
    const char* program;
    const EnteredSizes& sizes;
  } adds[] = {
    { "vtmediatoollpr_txr580", kTape12x50 },
    { "vtmediatoollpr_txr580", kTape12x30 },
    { "vtmediatoollpr_rk210", kRoll62x50 },
  };
  std::string name = option_value(argv, "-n");
  for (const auto& add : adds) {
    if (argv[0] != add.program || option_value(argv, "-w") != add.sizes.width ||
        option_value(argv, "-h") != add.sizes.height)
      continue;
    Contents now = stages->back();
    Contents added = after_add(now, format_id, name, add.sizes);
    std::string page_size = standin_page_size_line(
        format_id, name, add.sizes.fitted_width, add.sizes.fitted_height);
    now[0] += page_size;
    now[1] += page_size;
    stages->push_back(now);
    for (int file : { 0, 1, 3 }) {
      now[file] = added[file];
      stages->push_back(now);
    }
    return;
  }
  ADD_FAILURE() << "no entered sizes written out for this request";
}

}  // namespace

std::vector<Contents> add_stages(const Contents& before,
                                 const std::vector<std::string>& argv,
                                 const std::string& format_id) {
  std::vector<Contents> stages = { before };
  append_add_stages(&stages, argv, format_id);
  return stages;
}

std::vector<Contents> delete_stages(const Contents& before,
                                    const std::string& format_id,
                                    const std::string& default_media_line) {
  Contents deleted = after_delete(before, format_id, default_media_line);
  std::vector<Contents> stages = { before };
  for (int file : { 0, 2, 3, 1 }) {
    stages.push_back(stages.back());
    stages.back()[file] = deleted[file];
  }
  return stages;
}

std::vector<Contents> replace_stages(const Contents& before,
                                     const std::vector<std::string>& argv,
                                     const std::string& format_id,
                                     const std::string& old_id,
                                     const std::string& default_media_line) {
  std::vector<Contents> stages = delete_stages(before, old_id,
                                               default_media_line);
  append_add_stages(&stages, argv, format_id);
  return stages;
}

int stage_of(const std::vector<Contents>& stages, const Contents& now) {
  auto at = std::find(stages.begin(), stages.end(), now);
  return at == stages.end() ? -1 : static_cast<int>(at - stages.begin());
}

std::string describe_files(const std::vector<Contents>& stages,
                           const Contents& now) {
  std::string text;
  for (size_t file = 0; file < now.size(); ++file) {
    text += "file " + std::to_string(file) + " (" +
        std::to_string(now[file].size()) + " bytes) matches stages [";
    for (size_t i = 0; i < stages.size(); ++i) {
      if (stages[i][file] == now[file])
        text += " " + std::to_string(i);
    }
    text += " ]; ";
  }
  return text;
}

Contents without_lines_holding(const Contents& contents,
                               const std::string& text) {
  Contents out;
  for (const std::string& content : contents)
    out.push_back(reference_drop(content, text));
  return out;
}

std::string logged_format_id(const std::string& log_path) {
  const std::string option = "[-specid] [";
  std::string log = read_file(log_path);
  size_t at = log.rfind(option);
  if (at == std::string::npos)
    return "";
  at += option.size();
  return log.substr(at, log.find(']', at) - at);
}

std::string expect_entered_once(const Contents& contents,
                                const std::string& name) {
  typedef std::vector<std::string_view> Lines;
  std::vector<Lines> now;
  for (const std::string& content : contents)
    now.push_back(split_lines(content));
  auto holds = [](const std::string& text) {
    return [text](std::string_view line) {
      return line.find(text) != std::string_view::npos;
    };
  };
  auto starts = [](const std::string& text) {
    return [text](std::string_view line) {
      return line.compare(0, text.size(), text) == 0;
    };
  };
  // Lines that name the format after an identifier.
  auto names = [&](std::string_view line) {
    return holds("/" + name + ":")(line) || holds("/" + name + "\n")(line);
  };
  auto count = [](const Lines& lines, auto test) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), test));
  };

  Lines page_sizes;
  for (std::string_view line : now[0]) {
    if (starts("*PageSize VtL")(line) && names(line))
      page_sizes.push_back(line);
  }
  if (page_sizes.size() != 1) {
    ADD_FAILURE() << "\"" << name << "\" has " << page_sizes.size()
                  << " \"*PageSize\" lines in the function file";
    return "";
  }
  const size_t id_at = sizeof("*PageSize ") - 1;
  std::string id(page_sizes[0].substr(
      id_at, page_sizes[0].find('/', id_at) - id_at));
  std::string entry = id + "/" + name + "\n";

  int sections = count(now[0], holds("[CustomTape]"));
  EXPECT_EQ(sections, count(now[0], [&](std::string_view line) {
    return line == entry;
  })) << name << ": one entry per [CustomTape]";
  EXPECT_EQ(1 + sections, count(now[0], names)) << name;
  EXPECT_EQ(1 + sections, count(now[0], holds(id))) << name;

  EXPECT_EQ(1, count(now[1], starts("*PageSize " + id + "/" + name + ":")))
      << name;
  EXPECT_EQ(1, count(now[1], starts(id + "/" + name + ":\t"))) << name;
  EXPECT_EQ(2, count(now[1], names)) << name;
  EXPECT_EQ(2, count(now[1], holds(id))) << name;

  EXPECT_EQ(0, count(now[2], holds(id))) << name;
  EXPECT_EQ(1, count(now[3], starts(id + ":\t"))) << name;
  EXPECT_EQ(1, count(now[3], holds(id))) << name;
  return id;
}

int open_descriptor_count() {
  return static_cast<int>(dir_entries("/proc/self/fd").size());
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value)
    : name_(name) {
  const char* old = getenv(name.c_str());
  had_value_ = old != nullptr;
  if (had_value_)
    old_value_ = old;
  setenv(name.c_str(), value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
  if (had_value_)
    setenv(name_.c_str(), old_value_.c_str(), 1);
  else
    unsetenv(name_.c_str());
}

HeldLock::HeldLock(const std::string& data_dir) {
  fd_ = ::open(data_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  EXPECT_LE(0, fd_) << data_dir;
  EXPECT_EQ(0, ::flock(fd_, LOCK_EX)) << data_dir;
}

void HeldLock::release() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
}
