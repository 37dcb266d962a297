#include "store/delete.h"

#include "store/companion.h"
#include "store/format_rewrite.h"
#include "store/lock.h"
#include "store/paths.h"
#include "store/rewrite.h"
#include "store/status.h"

namespace {

// What a resource-file setting falls back to when its format goes.
const char kRollDefaultMedia[] = "MediaSize=29X1\n";
const char kTapeDefaultMedia[] = "Media=vtS12mm\n";

// Looks the name up in |file| while rewriting it, |*found| telling
// whether it was there. Returns kStoreDone to go on, or the status to end
// with: a failure, a taken identifier, or (on a delete of its own) a name
// that is not there.
int pass_over(const StoreEnv& env, FormatSettings* settings, DriverFile file,
              const FormatPass& pass, bool adding, std::string* format_id,
              bool* found, int* error) {
  settings->work_path = driver_file_path(env.driver_root,
                                         settings->model_code, file);
  int status = rewrite_without_format(env.files, settings->work_path, pass,
                                      format_id, error);
  *found = status == 1;
  if (status < 0)
    return kStoreFileFailed;
  if (status == 2)
    return kFormatIdTaken;
  if (status == 0 && !adding)
    return kStoreNotFound;
  return kStoreDone;
}

int rewrite(const StoreEnv& env, FormatSettings* settings, DriverFile file,
            const LineEdit& edit, const std::string& trailer, int* error) {
  settings->work_path = driver_file_path(env.driver_root,
                                         settings->model_code, file);
  if (rewrite_file(env.files, settings->work_path, edit, trailer, error) != 0)
    return kStoreFileFailed;
  return kStoreDone;
}

int delete_locked(FormatSettings settings, const StoreEnv& env, int* error) {
  if (!run_companion(companion_delete_args(
          companion_path(env.driver_root, settings.model_code), settings)))
    return kStoreCompanionFailed;
  return remove_format_lines(&settings, env, "", nullptr, error);
}

}  // namespace

int delete_format(FormatSettings settings, const StoreEnv& env, int* error) {
  return run_locked(env, settings.model_code, [&](int* body_error) {
    return delete_locked(settings, env, body_error);
  }, error);
}

int remove_format_lines(FormatSettings* settings, const StoreEnv& env,
                        const std::string& skip_id, const AddedFormat* added,
                        int* error) {
  FormatPass pass;
  pass.name = settings->format_name;
  pass.skip_id = skip_id;
  pass.refuse_taken_id = !skip_id.empty();
  if (added != nullptr) {
    pass.edit.kind = LineEdit::kInsertAfter;
    pass.edit.needle = "[CustomTape]";
    pass.edit.text = added->entry;
  }
  std::string format_id;
  bool found;
  int status = pass_over(env, settings, kFunctionFile, pass, added != nullptr,
                         &format_id, &found, error);
  if (status != kStoreDone)
    return status;

  // The media-information file's own entry decides what the remaining
  // files lose; it is looked for only where the function file had one.
  pass.edit = LineEdit();
  pass.trailer = added != nullptr ? added->media_line : "";
  if (found) {
    status = pass_over(env, settings, kMediaInfoFile, pass, added != nullptr,
                       &format_id, &found, error);
    if (status != kStoreDone)
      return status;
  } else if (rewrite(env, settings, kMediaInfoFile, pass.edit, pass.trailer,
                     error) != kStoreDone) {
    return kStoreFileFailed;
  }

  LineEdit area;
  if (found) {
    LineEdit reset;
    reset.kind = LineEdit::kReplace;
    reset.needle = format_id;
    reset.text = is_roll_label(*settings) ? kRollDefaultMedia :
        kTapeDefaultMedia;
    if (rewrite(env, settings, kResourceFile, reset, "", error) != kStoreDone)
      return kStoreFileFailed;
    area.drop = format_id;
  }
  return rewrite(env, settings, kPrintAreaFile, area,
                 added != nullptr ? added->area_line : "", error);
}
