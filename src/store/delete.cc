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

// Looks the name up in |file| while rewriting it: 1 found, 0 not, -1.
int pass_over(const StoreEnv& env, FormatSettings* settings, DriverFile file,
              const FormatPass& pass, std::string* format_id, int* error) {
  settings->work_path = driver_file_path(env.driver_root,
                                         settings->model_code, file);
  return rewrite_without_format(env.files, settings->work_path, pass,
                                format_id, error);
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
  pass.refuse_taken_id = added != nullptr;
  if (added != nullptr) {
    pass.edit.kind = LineEdit::kInsertAfter;
    pass.edit.needle = "[CustomTape]";
    pass.edit.text = added->entry;
  }
  std::string format_id;
  int found = pass_over(env, settings, kFunctionFile, pass, &format_id,
                        error);
  if (found < 0)
    return kStoreFileFailed;
  if (found == kFormatIdTaken)
    return kFormatIdTaken;
  if (found == 0 && added == nullptr)
    return kStoreNotFound;

  // The media-information file's own entry decides what the remaining
  // files lose; it is looked for only where the function file had one.
  pass.edit = LineEdit();
  pass.trailer = added != nullptr ? added->media_line : "";
  if (found == 1) {
    found = pass_over(env, settings, kMediaInfoFile, pass, &format_id,
                      error);
    if (found < 0)
      return kStoreFileFailed;
    if (found == kFormatIdTaken)
      return kFormatIdTaken;
    if (found == 0 && added == nullptr)
      return kStoreNotFound;
  } else if (rewrite(env, settings, kMediaInfoFile, pass.edit, pass.trailer,
                     error) != kStoreDone) {
    return kStoreFileFailed;
  }

  LineEdit area;
  if (found == 1) {
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
