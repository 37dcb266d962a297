// SPDX-License-Identifier: GPL-2.0-or-later
#include "fault_support.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string_view>

#include <gtest/gtest.h>

#include "cli/model.h"
#include "cli/options.h"
#include "cli/tool.h"
#include "reference_edit.h"
#include "split_lines.h"
#include "store/add.h"

extern char** environ;

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

std::string insert_after(const std::string& text, const std::string& needle,
                         const std::string& entry) {
  LineEdit edit;
  edit.kind = LineEdit::kInsertAfter;
  edit.needle = needle;
  edit.text = entry;
  return reference_edit(edit, text);
}

std::string replace_lines_holding(const std::string& text,
                                  const std::string& id,
                                  const std::string& replacement) {
  LineEdit edit;
  edit.kind = LineEdit::kReplace;
  edit.needle = id;
  edit.text = replacement;
  return reference_edit(edit, text);
}

std::string without(const std::string& text, const std::string& id) {
  return reference_drop(text, id);
}

// The line the stand-in companion tool enters for an added format.
std::string standin_page_size_line(const FormatSettings& settings,
                                   const std::string& format_id) {
  return "*PageSize " + format_id + "/" + settings.format_name +
      ": \"<</PageSize[" + std::to_string(settings.width_mm) + " " +
      std::to_string(settings.height_mm) +
      "]/ImagingBBox null>>setpagedevice\"\n";
}

// Lines that name the format |name| after an identifier.
bool names(std::string_view line, const std::string& name) {
  return holds(line, "/" + name + ":") || holds(line, "/" + name + "\n");
}

}  // namespace

Contents read_contents(const DriverFiles& files) {
  Contents contents;
  for (const std::string& path : files.all())
    contents.push_back(read_file(path));
  return contents;
}

void write_contents(const DriverFiles& files, const Contents& contents) {
  std::vector<std::string> paths = files.all();
  for (size_t i = 0; i < paths.size(); ++i)
    write_file(paths[i], contents[i]);
}

namespace {

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

// Appends to |stages| what an add whose companion run was given
// |format_id| does from the last of them: the companion tool's
// "*PageSize" lines, then the function, media-information and
// imageable-area files rewritten. An empty |format_id| (no add reached the
// companion tool) appends nothing.
void append_add_stages(std::vector<Stage>* stages,
                       const FormatSettings& settings,
                       const std::string& format_id) {
  if (format_id.empty())
    return;
  std::string page_size = standin_page_size_line(settings, format_id);
  Stage now = stages->back();
  now[0].tail += page_size;
  now[1].tail += page_size;
  stages->push_back(now);
  now[0] = made(insert_after(*now[0].base + now[0].tail, "[CustomTape]",
                             format_id + "/" + settings.format_name + "\n"));
  stages->push_back(now);
  now[1].tail += media_info_line(settings, format_id);
  stages->push_back(now);
  now[3].tail += print_area_line(settings, format_id);
  stages->push_back(now);
}

}  // namespace

std::vector<Stage> add_stages(const Contents& before,
                              const FormatSettings& settings,
                              const std::string& format_id) {
  std::vector<Stage> stages = { unchanged(before) };
  append_add_stages(&stages, settings, format_id);
  return stages;
}

std::vector<Stage> replace_stages(const Contents& before,
                                  const FormatSettings& settings,
                                  const std::string& format_id,
                                  const std::string& old_id,
                                  const std::string& default_media_line) {
  std::vector<Stage> stages = delete_stages(before, old_id,
                                            default_media_line);
  append_add_stages(&stages, settings, format_id);
  return stages;
}

std::vector<Stage> delete_stages(const Contents& before,
                                 const std::string& format_id,
                                 const std::string& default_media_line) {
  std::vector<Stage> stages = { unchanged(before) };
  Stage now = stages[0];
  now[0] = made(without(before[0], format_id));
  stages.push_back(now);
  now[2] = made(replace_lines_holding(before[2], format_id,
                                      default_media_line));
  stages.push_back(now);
  now[3] = made(without(before[3], format_id));
  stages.push_back(now);
  now[1] = made(without(before[1], format_id));
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
    out.push_back(without(content, text));
  return out;
}

LoggedTree::LoggedTree(const std::string& model_code)
    : root(dir.path() + "/vantrel"),
      files(lay_driver_tree(root, model_code)),
      before(read_contents(files)),
      log(dir.path() + "/companion.log"),
      log_env("VT_STANDIN_LOG", log) {}

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

FormatSettings settings_for(const std::string& program,
                            const std::vector<std::string>& args) {
  std::vector<const char*> argv = { program.c_str() };
  for (const std::string& arg : args)
    argv.push_back(arg.c_str());
  argv.push_back(nullptr);
  FormatSettings settings;
  EXPECT_TRUE(identify_model(program.c_str(), &settings)) << program;
  EXPECT_NE(kActionUsage,
            parse_options(static_cast<int>(argv.size() - 1), argv.data(),
                          &settings));
  return settings;
}

int run_tool_here(const std::vector<std::string>& argv, const StoreEnv& env,
                  std::string* out) {
  fflush(stdout);
  FILE* capture = tmpfile();
  int saved = dup(1);
  dup2(fileno(capture), 1);
  std::vector<const char*> args;
  for (const std::string& arg : argv)
    args.push_back(arg.c_str());
  args.push_back(nullptr);
  int status = run_tool(static_cast<int>(argv.size()), args.data(), env);
  fflush(stdout);
  dup2(saved, 1);
  close(saved);
  rewind(capture);
  out->clear();
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof(buffer), capture)) > 0)
    out->append(buffer, got);
  fclose(capture);
  return status;
}

pid_t start_tool_in(const std::string& dir, const std::string& name,
                    const std::vector<std::string>& args,
                    const std::string& output) {
  std::vector<std::string> strings = { name };
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : strings)
    argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  std::string sink = output.empty() ? "/dev/null" : output;

  pid_t pid = fork();
  if (pid == 0) {
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(sink.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || chdir(dir.c_str()) != 0)
      _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    execve(VT_TOOL_UNDER_TEST, argv.data(), environ);
    _exit(127);
  }
  EXPECT_GT(pid, 0) << "fork";
  return pid;
}

int wait_for(pid_t pid) {
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR)
      return -1;
  }
  if (WIFSIGNALED(status))
    return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
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
