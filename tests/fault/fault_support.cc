// SPDX-License-Identifier: GPL-2.0-or-later
#include "fault_support.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <string_view>

#include <gtest/gtest.h>

#include "reference_edit.h"
#include "split_lines.h"

namespace {

bool holds(std::string_view line, const std::string& text) {
  return line.find(text) != std::string_view::npos;
}

bool starts_with(std::string_view line, const std::string& text) {
  return line.compare(0, text.size(), text) == 0;
}

bool equals(std::string_view line, const std::string& text) {
  return line == text;
}

int count_lines(const std::vector<std::string_view>& lines,
                bool (*test)(std::string_view, const std::string&),
                const std::string& what) {
  int count = 0;
  for (std::string_view line : lines)
    count += test(line, what) ? 1 : 0;
  return count;
}

// Lines that name the format |name| after an identifier.
bool names(std::string_view line, const std::string& name) {
  return holds(line, "/" + name + ":") || holds(line, "/" + name + "\n");
}

// |before|'s files as versions, without copying them.
Stage unchanged(const Contents& before) {
  Stage stage;
  for (const std::string& content : before) {
    FileVersion version;
    version.base = std::shared_ptr<const std::string>(
        &content, [](const std::string*) {});
    stage.push_back(version);
  }
  return stage;
}

FileVersion made(std::string content) {
  FileVersion version;
  version.base = std::make_shared<const std::string>(std::move(content));
  return version;
}

}  // namespace

bool FileVersion::matches(const std::string& content) const {
  return content.size() == base->size() + tail.size() &&
      content.compare(0, base->size(), *base) == 0 &&
      content.compare(base->size(), tail.size(), tail) == 0;
}

namespace {

// What the add requests of these tests enter, written out: the size the
// companion tool is given and the sizes in the media-information and
// imageable-area lines.
struct EnteredSizes {
  const char* program;
  const char* width;   // as requested
  const char* height;
  const char* companion_width;  // as the companion tool gets them
  const char* companion_height;
  const char* dots;
  const char* area;
};

const EnteredSizes kEnteredSizes[] = {
  { "vtmediatoollpr_txr580", "12", "50", "10", "50", "70\t353",
    "0.00\t0.00\t28.00\t141.52" },
  { "vtmediatoollpr_txr580", "12", "30", "10", "30", "70\t212",
    "0.00\t0.00\t28.00\t84.91" },
  { "vtmediatoollpr_rk210", "62", "50", "62", "50", "695\t518",
    "0.00\t0.00\t0.00\t141.52" },
};

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
// was given |format_id|, does from the last of them: the companion
// tool's "*PageSize" lines, then the function, media-information and
// imageable-area files rewritten. An empty |format_id| (no add reached
// the companion tool) appends nothing.
void append_add_stages(std::vector<Stage>* stages,
                       const std::vector<std::string>& argv,
                       const std::string& format_id) {
  if (format_id.empty())
    return;
  std::string name = option_value(argv, "-n");
  for (const EnteredSizes& sizes : kEnteredSizes) {
    if (argv[0] != sizes.program || option_value(argv, "-w") != sizes.width ||
        option_value(argv, "-h") != sizes.height)
      continue;
    std::string page_size = standin_page_size_line(
        format_id, name, sizes.companion_width, sizes.companion_height);
    Stage now = stages->back();
    now[0].tail += page_size;
    now[1].tail += page_size;
    stages->push_back(now);
    now[0] = made(reference_edit(LineEdit::kInsertAfter,
                                 *now[0].base + now[0].tail, "[CustomTape]",
                                 format_id + "/" + name + "\n"));
    stages->push_back(now);
    now[1].tail += format_id + "/" + name + ":\t" + sizes.dots + "\n";
    stages->push_back(now);
    now[3].tail += format_id + ":\t" + sizes.area + "\n";
    stages->push_back(now);
    return;
  }
  ADD_FAILURE() << "no entered sizes written out for this request";
}

}  // namespace

std::vector<Stage> add_stages(const Contents& before,
                              const std::vector<std::string>& argv,
                              const std::string& format_id) {
  std::vector<Stage> stages = { unchanged(before) };
  append_add_stages(&stages, argv, format_id);
  return stages;
}

std::vector<Stage> replace_stages(const Contents& before,
                                  const std::vector<std::string>& argv,
                                  const std::string& format_id,
                                  const std::string& old_id,
                                  const std::string& default_media_line) {
  std::vector<Stage> stages = delete_stages(before, old_id,
                                            default_media_line);
  append_add_stages(&stages, argv, format_id);
  return stages;
}

std::vector<Stage> delete_stages(const Contents& before,
                                 const std::string& format_id,
                                 const std::string& default_media_line) {
  std::vector<Stage> stages = { unchanged(before) };
  Stage now = stages[0];
  now[0] = made(reference_drop(before[0], format_id));
  stages.push_back(now);
  now[2] = made(reference_edit(LineEdit::kReplace, before[2], format_id,
                               default_media_line));
  stages.push_back(now);
  now[3] = made(reference_drop(before[3], format_id));
  stages.push_back(now);
  now[1] = made(reference_drop(before[1], format_id));
  stages.push_back(now);
  return stages;
}

int stage_of(const std::vector<Stage>& stages, const Contents& now) {
  for (size_t i = 0; i < stages.size(); ++i) {
    bool all = stages[i].size() == now.size();
    for (size_t file = 0; all && file < now.size(); ++file)
      all = stages[i][file].matches(now[file]);
    if (all)
      return static_cast<int>(i);
  }
  return -1;
}

std::string describe_files(const std::vector<Stage>& stages,
                           const Contents& now) {
  std::string text;
  for (size_t file = 0; file < now.size(); ++file) {
    text += "file " + std::to_string(file) + " (" +
        std::to_string(now[file].size()) + " bytes) matches stages [";
    for (size_t i = 0; i < stages.size(); ++i) {
      if (stages[i][file].matches(now[file]))
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
  std::vector<std::vector<std::string_view>> now;
  for (const std::string& content : contents)
    now.push_back(split_lines(content));
  std::vector<std::string_view> page_sizes;
  for (std::string_view line : now[0]) {
    if (starts_with(line, "*PageSize VtL") && names(line, name))
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

  int sections = count_lines(now[0], holds, "[CustomTape]");
  EXPECT_EQ(sections, count_lines(now[0], equals, id + "/" + name + "\n"))
      << name << ": one entry per [CustomTape]";
  EXPECT_EQ(1 + sections, count_lines(now[0], names, name)) << name;
  EXPECT_EQ(1 + sections, count_lines(now[0], holds, id)) << name;

  EXPECT_EQ(1, count_lines(now[1], starts_with, "*PageSize " + id + "/" +
                           name + ":")) << name;
  EXPECT_EQ(1, count_lines(now[1], starts_with, id + "/" + name + ":\t"))
      << name;
  EXPECT_EQ(2, count_lines(now[1], names, name)) << name;
  EXPECT_EQ(2, count_lines(now[1], holds, id)) << name;

  EXPECT_EQ(0, count_lines(now[2], holds, id)) << name;
  EXPECT_EQ(1, count_lines(now[3], starts_with, id + ":\t")) << name;
  EXPECT_EQ(1, count_lines(now[3], holds, id)) << name;
  return id;
}

std::vector<std::string> temp_files_left(const DriverFiles& files) {
  std::string dir = files.function_file.substr(
      0, files.function_file.rfind('/'));
  std::vector<std::string> left;
  for (const std::string& name : dir_entries(dir)) {
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".$$$") == 0)
      left.push_back(name);
  }
  return left;
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
