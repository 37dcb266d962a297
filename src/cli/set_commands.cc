// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/set_commands.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

#include "cli/exit_status.h"
#include "cli/formats_file.h"
#include "cli/tool.h"
#include "store/apply.h"
#include "store/list.h"
#include "store/plan.h"

namespace {

// Reads the formats file |path| for the model of |settings| into
// |*formats|; where it is refused, says why and returns false. With
// |sync|, a file that names no format is refused too: applied, it would
// delete every format.
bool read_wanted(const std::string& path, const FormatSettings& settings,
                 bool sync, std::vector<FormatSettings>* formats,
                 const char* program) {
  FileRefusal refusal;
  if (read_formats_file(path, settings, formats, &refusal) && sync &&
      formats->empty())
    refusal.what = "names no format";
  if (refusal.what.empty())
    return true;
  std::string shown = path == "-" ? "standard input" : path;
  if (refusal.line > 0)
    shown += ":" + std::to_string(refusal.line);
  warn(program, shown + ": " + refusal.what);
  return false;
}

// What each kind of step does, as --diff prints it and as a person is
// told it was done, in the order of Step::Kind.
const struct {
  const char* diff;
  const char* done;
} kStepWords[] = {
  { "delete", "deleted" }, { "add", "added" }, { "replace", "replaced" },
};

}  // namespace

int run_export(const ModelDriver& driver, const FormatSettings& settings,
               const char* program) {
  FormatListing listing;
  StoreFailure failure;
  StoreStatus status = list_formats(driver, settings, &listing, &failure);
  if (status != kStoreDone)
    return show(report_of(status, failure, settings, driver), program, true);
  const std::vector<ListedFormat>& held = listing.formats;
  std::vector<bool> first = first_of_names(held);
  std::vector<const ListedFormat*> named;
  for (size_t i = 0; i < held.size(); ++i) {
    if (first[i])
      named.push_back(&held[i]);
  }
  std::sort(named.begin(), named.end(),
            [](const ListedFormat* a, const ListedFormat* b) {
    return a->name < b->name;
  });
  std::string text;
  std::vector<std::string> left_out;
  for (const ListedFormat* format : named) {
    std::string line;
    if (formats_file_line(*format, settings, &line))
      text += line;
    else
      left_out.push_back("'" + format->name + "' left out: no request "
                         "re-creates its lines");
  }
  print_text(text);
  flush_output();
  for (const std::string& why : left_out)
    warn(program, why);
  return left_out.empty() ? kExitOk : kExitLeftOut;
}

int run_diff(const ModelDriver& driver, const FormatSettings& settings,
             const std::string& path, const char* program) {
  std::vector<FormatSettings> wanted;
  if (!read_wanted(path, settings, true, &wanted, program))
    return kExitUsage;
  FormatListing listing;
  StoreFailure failure;
  StoreStatus status = list_formats(driver, settings, &listing, &failure);
  if (status != kStoreDone)
    return show(report_of(status, failure, settings, driver), program, true);
  std::string text;
  for (const Step& step : plan_steps(listing.formats, wanted, true,
                                     settings)) {
    std::string line = step.format.format_name + "\n";
    if (step.kind != Step::kDelete)
      formats_file_line(as_added(step.format), settings, &line);
    text += std::string(kStepWords[step.kind].diff) + "\t" + line;
  }
  print_text(text);
  return text.empty() ? kExitOk : kExitDiffers;
}

int run_set(const ModelDriver& driver, const FormatSettings& settings,
            const std::string& path, bool sync, const char* program) {
  std::vector<FormatSettings> wanted;
  if (!read_wanted(path, settings, sync, &wanted, program))
    return kExitUsage;
  SetRun run;
  StoreFailure failure;
  StoreStatus status = apply_formats(driver, { settings, wanted, sync }, &run,
                                     &failure);
  if (isatty(STDERR_FILENO)) {
    for (size_t i = 0; i < run.done; ++i)
      warn(program, std::string(kStepWords[run.steps[i].kind].done) + " '" +
           run.steps[i].format.format_name + "'");
  }
  Report report = report_of(status, failure, settings, driver);
  if (status != kStoreDone && run.done < run.steps.size() &&
      !report.err.empty())
    report.err = "'" + run.steps[run.done].format.format_name + "': " +
        report.err + " (step " + std::to_string(run.done + 1) + " of " +
        std::to_string(run.steps.size()) +
        "; the same command finishes the job)";
  return show(report, program, false);
}
