#include "store/add.h"

#include <errno.h>
#include <stdio.h>
#include <sys/time.h>

#include "store/companion.h"
#include "store/delete.h"
#include "store/format_id.h"
#include "store/lock.h"
#include "store/paths.h"
#include "store/rewrite.h"
#include "store/status.h"

namespace {

const double kRollDotsPerInch = 300;
const double kTapeDotsPerInch = 180;
const double kPointsPerInch = 72;
// The unprintable margins of roll labels, in millimetres.
const int64_t kRollWidthMargin = 3;
const int64_t kRollHeightMargin = 6;
// Identifiers differ in the microseconds of the time of day; a few reads
// of the clock give a different one.
const int kMaxIdTries = 1000;
// Attempts of an add request whose identifier an older format holds; each
// meets that only about once in a million.
const int kMaxAttempts = 4;

// Millimetres to whole dots, truncated toward zero.
long long mm_to_dots(int64_t mm, double dots_per_inch) {
  return static_cast<long long>(mm / kMillimetresPerInch * dots_per_inch);
}

int add_locked(FormatSettings settings, const StoreEnv& env,
               const std::string& format_id, int* error) {
  const std::string& code = settings.model_code;
  if (!run_companion(companion_add_args(
          companion_path(env.driver_root, code), settings, format_id)))
    return kStoreCompanionFailed;

  LineEdit entry;
  entry.kind = LineEdit::kInsertAfter;
  entry.needle = "[CustomTape]";
  entry.text = format_id + "/" + settings.format_name + "\n";
  settings.work_path = driver_file_path(env.driver_root, code, kFunctionFile);
  if (rewrite_file(env.files, settings.work_path, entry, "", error) != 0)
    return kStoreFileFailed;

  LineEdit copy;
  settings.work_path = driver_file_path(env.driver_root, code,
                                        kMediaInfoFile);
  if (rewrite_file(env.files, settings.work_path, copy,
                   media_info_line(settings, format_id), error) != 0)
    return kStoreFileFailed;

  settings.work_path = driver_file_path(env.driver_root, code,
                                        kPrintAreaFile);
  if (rewrite_file(env.files, settings.work_path, copy,
                   print_area_line(settings, format_id), error) != 0)
    return kStoreFileFailed;
  return kStoreDone;
}

// The time of day, from the environment's clock when it has one.
struct timeval time_of_day(const StoreEnv& env) {
  if (env.clock)
    return env.clock();
  struct timeval now;
  gettimeofday(&now, nullptr);
  return now;
}

// A new identifier for |settings|, unlike |other|: one that an earlier
// attempt found taken.
std::string fresh_format_id(const FormatSettings& settings,
                            const StoreEnv& env, const std::string& other) {
  std::string id;
  for (int tries = 0; tries < kMaxIdTries; ++tries) {
    id = make_format_id(settings, time_of_day(env));
    if (id != other)
      break;
  }
  return id;
}

// An add request. Both companion runs come first, so that each driver
// file is gone over once, taking out the old format's lines and entering
// the new one's together, instead of once for the delete and once more
// for the add.
int replace_locked(FormatSettings settings, const StoreEnv& env,
                   int* error) {
  std::string tool = companion_path(env.driver_root, settings.model_code);
  if (!run_companion(companion_delete_args(tool, settings)))
    return kStoreCompanionFailed;
  AddedFormat added;
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    added.id = fresh_format_id(settings, env, added.id);
    if (!run_companion(companion_add_args(tool, settings, added.id))) {
      // The delete stands, as it would have had it run on its own first;
      // whatever the failed add entered stays out of it, unless the old
      // format holds the same identifier: then both go.
      int status = remove_format_lines(&settings, env, added.id, nullptr,
                                       error);
      if (status == kFormatIdTaken)
        status = remove_format_lines(&settings, env, "", nullptr, error);
      return status == kStoreFileFailed ? status : kStoreCompanionFailed;
    }
    added.entry = added.id + "/" + settings.format_name + "\n";
    added.media_line = media_info_line(settings, added.id);
    added.area_line = print_area_line(settings, added.id);
    int status = remove_format_lines(&settings, env, added.id, &added, error);
    if (status != kFormatIdTaken)
      return status;
    // The old format of this name has the identifier just made, so its
    // lines could not be told from the new ones: the add is taken back on
    // the spooler side and made again under another identifier, and the
    // old format then goes with the lines of the first attempt.
    if (!run_companion(companion_delete_args(tool, settings)))
      return kStoreCompanionFailed;
  }
  *error = EEXIST;
  return kStoreFileFailed;
}

}  // namespace

std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id) {
  long long across, along;
  if (is_roll_label(settings)) {
    across = mm_to_dots(settings.width_mm - kRollWidthMargin,
                        kRollDotsPerInch);
    along = mm_to_dots(settings.height_mm - kRollHeightMargin,
                       kRollDotsPerInch);
  } else {
    across = settings.head_dots;
    along = mm_to_dots(settings.height_mm, kTapeDotsPerInch);
  }
  char sizes[64];
  snprintf(sizes, sizeof(sizes), ":\t%lld\t%lld\n", across, along);
  return format_id + "/" + settings.format_name + sizes;
}

std::string print_area_line(const FormatSettings& settings,
                            const std::string& format_id) {
  char area[128];
  snprintf(area, sizeof(area), ":\t%.2f\t%.2f\t%.2f\t%.2f\n", 0.0, 0.0,
           settings.head_dots / kTapeDotsPerInch * kPointsPerInch,
           settings.height_mm / kMillimetresPerInch * kPointsPerInch);
  return format_id + area;
}

int add_format(FormatSettings settings, const StoreEnv& env, int* error) {
  std::string format_id = make_format_id(settings, time_of_day(env));
  return run_locked(env, settings.model_code, [&](int* body_error) {
    return add_locked(settings, env, format_id, body_error);
  }, error);
}

int replace_format(const FormatSettings& settings, const StoreEnv& env,
                   int* error) {
  return run_locked(env, settings.model_code, [&](int* body_error) {
    return replace_locked(settings, env, body_error);
  }, error);
}
