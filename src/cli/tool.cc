// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/tool.h"

#include <errno.h>
#include <locale.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <vector>

#include "cli/exit_status.h"
#include "cli/formats_file.h"
#include "cli/help.h"
#include "cli/listing.h"
#include "cli/model.h"
#include "cli/options.h"
#include "store/add.h"
#include "store/apply.h"
#include "store/delete.h"
#include "store/list.h"
#include "store/plan.h"
#include "store/status.h"

namespace {

// Why standard output first lost what was written to it; 0 while nothing
// was lost. The C library drops what it could not write, so a later
// flush no longer tells.
int g_output_error = 0;

// Flushes standard output, keeping why it failed for finish_output.
void flush_output() {
  if (fflush(stdout) != 0 && g_output_error == 0)
    g_output_error = errno != 0 ? errno : EIO;
}

// The name a person types: the program path without its directory.
const char* file_name(const char* program) {
  const char* slash = strrchr(program, '/');
  return slash ? slash + 1 : program;
}

// Says why a run was refused before anything ran, and where help is;
// returns the exit status of a refusal.
int refuse(const char* program, const std::string& why) {
  // The screen or line on standard output comes before the reason; where
  // it was lost, the run fails, and the one line says that instead.
  flush_output();
  if (g_output_error == 0)
    warn(program, why + "; try '" + file_name(program) + " --help'");
  return kExitUsage;
}

void print_text(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
}

// What the end of a store operation shows: a line for the scripts that
// read standard output, one for a person on standard error (each empty
// for none), and the exit status, or the signal the process ends by.
struct Report {
  std::string out;
  std::string err;
  int exit_status;
  int signal = 0;
};

Report report_of(StoreStatus status, const StoreFailure& failure,
                 const FormatSettings& settings, const StoreEnv& env) {
  switch (status) {
  case kStoreDone:
    return { "", "", kExitOk };
  case kStoreNotFound:
    return { "Not found '" + settings.format_name + "'\n", "", kExitOk };
  case kStoreLockTimedOut: {
    char seconds[32];
    snprintf(seconds, sizeof(seconds), "%g", env.lock_timeout_ms / 1000.0);
    return { std::string(strerror(failure.error)) + "\n",
             failure.path + ": another process holds the lock; gave up "
             "after " + seconds + " s", kExitFailure };
  }
  case kStoreCompanionFailed:
    // Standard output stays the companion tool's own.
    if (failure.signal != 0)
      return { "", failure.path + " was killed by signal " +
               std::to_string(failure.signal) + " (" +
               strsignal(failure.signal) + ")", kExitFailure };
    if (failure.error == 0)
      return { "", failure.path + " exited with status " +
               std::to_string(failure.exit_status), kExitFailure };
    return { "", failure.path + ": " + strerror(failure.error),
             kExitFailure };
  case kStoreDirReplaced:
    // The companion's changes went to the directory the path names now,
    // the run's would go to the one it locked: better none of them.
    return { "", failure.path + ": replaced during the run; run the "
             "command again", kExitFailure };
  case kStoreStopped:
    // Told to stop while the companion ran: now that it has ended and the
    // lock is let go, the run ends as the signal asked, with no message.
    return { "", "", kExitFailure, failure.signal };
  case kStoreFileFailed:
  case kStoreCompanionNotStarted:
    break;
  }
  // The system's error text, as scripts expect it, and where it struck.
  std::string reason = strerror(failure.error);
  std::string why = reason;
  if (failure.size_limit != 0)
    why += "; a driver file may hold at most " +
        std::to_string(failure.size_limit >> 20) + " MiB";
  return { reason + "\n",
           failure.path.empty() ? why : failure.path + ": " + why,
           kExitFailure };
}

// Prints |report|, standard output first, and ends by its signal, if it
// has one; returns its exit status. A failed |listing| prints nothing on
// standard output, which scripts read as the list.
int show(const Report& report, const char* program, bool listing) {
  if (!listing || report.exit_status == kExitOk)
    print_text(report.out);
  flush_output();
  if (!report.err.empty())
    warn(program, report.err);
  if (report.signal != 0)
    raise(report.signal);
  return report.exit_status;
}

int run_action(Action action, const FormatSettings& settings,
               const TapeFit& fit, const StoreEnv& env, const char* program) {
  StoreFailure failure;
  const ModelDriver driver{ env, settings.model_code };
  // An add replaces an earlier format of the same name, not doubles it.
  StoreStatus status = action == kActionAdd ?
      add_format(driver, settings, &failure) :
      delete_format(driver, settings, &failure);
  // Scripts see no difference; a person learns what the tape rules made
  // of the request.
  if (action == kActionAdd && status == kStoreDone &&
      isatty(STDERR_FILENO)) {
    std::string note = stored_note(settings, fit);
    if (!note.empty())
      warn(program, note);
  }
  return show(report_of(status, failure, settings, env), program, false);
}

// Prints the model's formats once all the files are read, so that a
// failure leaves standard output, which scripts read, empty: one
// tab-separated line each, or, for a person at a terminal, a table.
int run_list(const FormatSettings& settings, const StoreEnv& env,
             const char* program) {
  FormatListing listing;
  StoreFailure failure;
  StoreStatus status = list_formats(settings, env, &listing, &failure);
  Report report = report_of(status, failure, settings, env);
  if (status == kStoreDone && isatty(STDOUT_FILENO)) {
    // Names are shown as the user's locale can print them.
    setlocale(LC_CTYPE, "");
    report.out = listing_table(listing, is_roll_label(settings));
  } else if (status == kStoreDone) {
    for (const ListedFormat& format : listing.formats)
      report.out += listing_line(format);
  }
  return show(report, program, true);
}

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

// Prints the formats file of the model's formats, sorted by name
// bytewise, each name once (the format a delete by it reaches first),
// so that drivers holding the same formats print the same bytes. A
// format no request re-creates is left out, and said so.
int run_export(const FormatSettings& settings, const StoreEnv& env,
               const char* program) {
  FormatListing listing;
  StoreFailure failure;
  StoreStatus status = list_formats(settings, env, &listing, &failure);
  if (status != kStoreDone)
    return show(report_of(status, failure, settings, env), program, true);
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

// What each kind of step does, as --diff prints it and as a person is
// told it was done, in the order of Step::Kind.
const struct {
  const char* diff;
  const char* done;
} kStepWords[] = {
  { "delete", "deleted" }, { "add", "added" }, { "replace", "replaced" },
};

// What --sync would do with the formats file |path|, one line a step, in
// its order: the step, a tab, and the format as the formats file writes
// it (the name alone for a delete). Takes no lock, runs nothing, writes
// nothing.
int run_diff(const FormatSettings& settings, const StoreEnv& env,
             const std::string& path, const char* program) {
  std::vector<FormatSettings> wanted;
  if (!read_wanted(path, settings, true, &wanted, program))
    return kExitUsage;
  FormatListing listing;
  StoreFailure failure;
  StoreStatus status = list_formats(settings, env, &listing, &failure);
  if (status != kStoreDone)
    return show(report_of(status, failure, settings, env), program, true);
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

// Makes the formats of the formats file |path| present, with |sync| the
// others gone, in one request. Silent when it works; at a terminal, a
// line for each format added, replaced or deleted. A step that fails
// ends the run with its report, the format it was on and how far the run
// got: the same command finishes the job.
int run_set(const FormatSettings& settings, const StoreEnv& env,
            const std::string& path, bool sync, const char* program) {
  std::vector<FormatSettings> wanted;
  if (!read_wanted(path, settings, sync, &wanted, program))
    return kExitUsage;
  SetRun run;
  StoreFailure failure;
  StoreStatus status = apply_formats(ModelDriver{ env, settings.model_code },
                                     { settings, wanted, sync }, &run,
                                     &failure);
  if (isatty(STDERR_FILENO)) {
    for (size_t i = 0; i < run.done; ++i)
      warn(program, std::string(kStepWords[run.steps[i].kind].done) + " '" +
           run.steps[i].format.format_name + "'");
  }
  Report report = report_of(status, failure, settings, env);
  if (status != kStoreDone && run.done < run.steps.size() &&
      !report.err.empty())
    report.err = "'" + run.steps[run.done].format.format_name + "': " +
        report.err + " (step " + std::to_string(run.done + 1) + " of " +
        std::to_string(run.steps.size()) +
        "; the same command finishes the job)";
  return show(report, program, false);
}

// The project's own options, each a single word alone on the line.
bool is_word(int argc, const char* const* argv, const char* word) {
  return argc == 2 && strcmp(argv[1], word) == 0;
}

// Whether the process runs with another user's or group's rights than
// its caller's: installed set-user-ID or set-group-ID, it would hand the
// driver files and the companion tool to whoever runs it.
bool set_id_run() {
  return getuid() != geteuid() || getgid() != getegid();
}

// Answers the command line |argv|; returns the exit status.
int answer(int argc, const char* const* argv, const StoreEnv& env,
           const char* program) {
  // Asked of any of the names, the model's or the executable's own.
  if (is_word(argc, argv, "--version")) {
    print_text(version_text());
    return kExitOk;
  }
  FormatSettings settings;
  if (!identify_model(program, &settings)) {
    // Under the executable's own name, or any other without a model,
    // help can still tell the names that hold one.
    if (is_word(argc, argv, "--help")) {
      print_text(models_help_text());
      return kExitOk;
    }
    printf("%s is invalid.\n\n", program);
    return refuse(program, "no model code in the program name");
  }
  if (is_word(argc, argv, "--help")) {
    print_text(help_text(settings));
    return kExitOk;
  }
  if (set_id_run()) {
    Report report = { std::string(strerror(EPERM)) + "\n",
                      "not to be installed set-user-ID or set-group-ID, "
                      "which hands the driver files to whoever runs it; let "
                      "users run it with sudo", kExitFailure };
    return show(report, program, is_word(argc, argv, "--list"));
  }
  if (is_word(argc, argv, "--list"))
    return run_list(settings, env, program);
  CommandLine line = parse_options(argc, argv, &settings);
  if (line.action == kActionUsage) {
    print_usage(settings);
    return refuse(program, line.reason);
  }
  if (line.action == kActionExport)
    return run_export(settings, env, program);
  if (line.action == kActionDiff)
    return run_diff(settings, env, line.file, program);
  StoreEnv request_env = env;
  // A person at a terminal is told why nothing happens yet.
  if (!request_env.on_lock_wait && isatty(STDERR_FILENO)) {
    request_env.on_lock_wait = [program](const std::string& dir) {
      warn(program, "waiting for the lock on " + dir);
    };
  }
  if (line.action == kActionApply || line.action == kActionSync)
    return run_set(settings, request_env, line.file,
                   line.action == kActionSync, program);
  return run_action(line.action, settings, line.fit, request_env, program);
}

}  // namespace

int run_tool(int argc, const char* const* argv, const StoreEnv& env) {
  const char* program = argc > 0 && argv[0] ? argv[0] : "";
  int status;
  // The one place running out of memory is caught: every descriptor and
  // temporary file has an owner that cleans up on the way here.
  try {
    status = answer(argc, argv, env, program);
  } catch (const std::bad_alloc&) {
    StoreFailure failure;
    failure.error = ENOMEM;
    status = show(report_of(kStoreFileFailed, failure, FormatSettings(), env),
                  program, is_word(argc, argv, "--list"));
  }
  flush_output();
  return status;
}

void warn(const char* program, const std::string& what) {
  fprintf(stderr, "%s: %s\n", file_name(program), what.c_str());
  fflush(stderr);
}

int finish_output(const char* program, int status) {
  flush_output();
  if (g_output_error == 0 && ferror(stdout))
    g_output_error = EIO;
  if (g_output_error == 0)
    return status;
  warn(program, std::string("write error: ") + strerror(g_output_error));
  return kExitFailure;
}
