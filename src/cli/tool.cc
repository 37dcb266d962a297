// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/tool.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <new>

#include "cli/exit_status.h"
#include "cli/explain.h"
#include "cli/help.h"
#include "cli/model.h"
#include "cli/note.h"
#include "cli/options.h"
#include "cli/usage.h"
#include "store/add.h"
#include "store/delete.h"
#include "store/list.h"
#include "store/status.h"

namespace {

// What a store operation that failed ran into, for the line on standard
// error.
std::string what_failed(StoreStatus status, const StoreFailure& failure,
                        const StoreEnv& env) {
  if (status == kStoreLockTimedOut) {
    char seconds[32];
    snprintf(seconds, sizeof(seconds), "%g", env.lock_timeout_ms / 1000.0);
    return failure.path + ": another process holds the lock; gave up after " +
        seconds + " s";
  }
  if (status == kStoreCompanionFailed && failure.signal != 0)
    return failure.path + " was killed by signal " +
        std::to_string(failure.signal) + " (" + strsignal(failure.signal) +
        ")";
  if (status == kStoreCompanionFailed && failure.error == 0)
    return failure.path + " exited with status " +
        std::to_string(failure.exit_status);
  const char* reason = strerror(failure.error);
  return failure.path.empty() ? reason : failure.path + ": " + reason;
}

// Prints what a store operation ended with and returns the exit status.
int report(StoreStatus status, const FormatSettings& settings,
           const StoreFailure& failure, const StoreEnv& env,
           const char* program) {
  switch (status) {
  case kStoreDone:
    return kExitOk;
  case kStoreNotFound:
    printf("Not found '%s'\n", settings.format_name.c_str());
    return kExitOk;
  case kStoreFileFailed:
  case kStoreCompanionNotStarted:
  case kStoreLockTimedOut:
    printf("%s\n", strerror(failure.error));
    break;
  case kStoreCompanionFailed:
    break;  // standard output stays the companion tool's own
  }
  explain(program, what_failed(status, failure, env));
  return kExitFailure;
}

int run_action(Action action, const FormatSettings& settings,
               const TapeFit& fit, const StoreEnv& env, const char* program) {
  StoreFailure failure;
  // An add replaces an earlier format of the same name, not doubles it.
  StoreStatus status = action == kActionAdd ?
      add_format(settings, env, &failure) :
      delete_format(settings, env, &failure);
  // Scripts see no difference; a person learns what the tape rules made
  // of the request.
  if (action == kActionAdd && status == kStoreDone &&
      isatty(STDERR_FILENO)) {
    std::string note = stored_note(settings, fit);
    if (!note.empty())
      explain(program, note);
  }
  return report(status, settings, failure, env, program);
}

// Prints the model's formats, one tab-separated line each, once all the
// files are read, so that a failure leaves standard output, which scripts
// read, empty.
int run_list(const FormatSettings& settings, const StoreEnv& env,
             const char* program) {
  StoreFailure failure;
  StoreStatus status = list_formats(
      settings, env, [](const ListedFormat& format) {
    const std::string_view tape =
        format.media_name.empty() ? "-" : format.media_name;
    printf("%.*s\t%llu\t%lld\t%.*s\t%.*s\t%s\n",
           static_cast<int>(format.name.size()), format.name.data(),
           static_cast<unsigned long long>(format.width_mm),
           static_cast<long long>(format.height_mm),
           static_cast<int>(tape.size()), tape.data(),
           static_cast<int>(format.id.size()), format.id.data(),
           format.complete ? "complete" : "incomplete");
  }, &failure);
  if (status == kStoreDone)
    return kExitOk;
  explain(program, what_failed(status, failure, env));
  return kExitFailure;
}

void print_text(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
}

// The project's own options, each a single word alone on the line.
bool is_word(int argc, const char* const* argv, const char* word) {
  return argc == 2 && strcmp(argv[1], word) == 0;
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
    printf("%s is invalid.\n\n", program);
    return kExitOk;
  }
  if (is_word(argc, argv, "--help")) {
    print_text(help_text(settings));
    return kExitOk;
  }
  if (is_word(argc, argv, "--list"))
    return run_list(settings, env, program);
  std::string reason;
  TapeFit fit;
  Action action = parse_options(argc, argv, &settings, &reason, &fit);
  if (action == kActionUsage) {
    print_usage(settings);
    // The screen comes before the line that says what was wrong with it.
    flush_output();
    if (!reason.empty())
      explain(program, reason);
    return kExitOk;
  }
  StoreEnv request_env = env;
  // A person at a terminal is told why nothing happens yet.
  if (!request_env.on_lock_wait && isatty(STDERR_FILENO)) {
    request_env.on_lock_wait = [program](const std::string& dir) {
      explain(program, "waiting for the lock on " + dir);
    };
  }
  return run_action(action, settings, fit, request_env, program);
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
    // A listing's standard output stays empty on failure.
    if (!is_word(argc, argv, "--list"))
      printf("%s\n", strerror(ENOMEM));
    explain(program, strerror(ENOMEM));
    status = kExitFailure;
  }
  flush_output();
  return status;
}
