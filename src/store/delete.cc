#include "store/delete.h"

#include "store/companion.h"
#include "store/format_id.h"
#include "store/lock.h"
#include "store/paths.h"
#include "store/rewrite.h"
#include "store/status.h"

namespace {

// What a resource-file setting falls back to when its format goes.
const char kRollDefaultMedia[] = "MediaSize=29X1\n";
const char kTapeDefaultMedia[] = "Media=vtS12mm\n";

// Looks the name up in |file|: 0 when found, else the status to return.
int look_up(const StoreEnv& env, FormatSettings* settings, DriverFile file,
            std::string* format_id, int* error) {
  settings->work_path = driver_file_path(env.driver_root,
                                         settings->model_code, file);
  int found = find_format_id(env.files, settings->work_path,
                             settings->format_name, format_id, error);
  if (found < 0)
    return kStoreFileFailed;
  return found == 1 ? kStoreDone : kStoreNotFound;
}

int rewrite(const StoreEnv& env, FormatSettings* settings, DriverFile file,
            const LineEdit& edit, int* error) {
  settings->work_path = driver_file_path(env.driver_root,
                                         settings->model_code, file);
  if (rewrite_file(env.files, settings->work_path, edit, "", error) != 0)
    return kStoreFileFailed;
  return kStoreDone;
}

int delete_locked(FormatSettings settings, const StoreEnv& env, int* error) {
  if (!run_companion(companion_delete_args(
          companion_path(env.driver_root, settings.model_code), settings)))
    return kStoreCompanionFailed;

  std::string format_id;
  int status = look_up(env, &settings, kFunctionFile, &format_id, error);
  if (status != kStoreDone)
    return status;
  LineEdit drop;
  drop.kind = LineEdit::kDrop;
  drop.needle = format_id;
  if ((status = rewrite(env, &settings, kFunctionFile, drop, error)) != 0)
    return status;

  // The media-information file's own entry decides what the remaining
  // files lose.
  status = look_up(env, &settings, kMediaInfoFile, &format_id, error);
  if (status != kStoreDone)
    return status;
  drop.needle = format_id;
  if ((status = rewrite(env, &settings, kMediaInfoFile, drop, error)) != 0)
    return status;

  LineEdit reset;
  reset.kind = LineEdit::kReplace;
  reset.needle = format_id;
  reset.text = is_roll_label(settings) ? kRollDefaultMedia : kTapeDefaultMedia;
  if ((status = rewrite(env, &settings, kResourceFile, reset, error)) != 0)
    return status;
  return rewrite(env, &settings, kPrintAreaFile, drop, error);
}

}  // namespace

int delete_format(FormatSettings settings, const StoreEnv& env, int* error) {
  return run_locked(env, settings.model_code, [&](int* body_error) {
    return delete_locked(settings, env, body_error);
  }, error);
}
