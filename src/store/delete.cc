// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/delete.h"

#include <errno.h>

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

LineEdit drop_lines_holding(const std::string& format_id) {
  LineEdit edit;
  edit.kind = LineEdit::kDrop;
  edit.needle = format_id;
  return edit;
}

}  // namespace

int delete_format(FormatSettings settings, const StoreEnv& env, int* error) {
  return run_locked(env, settings.model_code, [&](int* body_error) {
    return delete_format_locked(settings, env, body_error);
  }, error);
}

int delete_format_locked(const FormatSettings& settings, const StoreEnv& env,
                         int* error) {
  const std::string& root = env.driver_root;
  const std::string& code = settings.model_code;
  const std::string& name = settings.format_name;
  int status = run_companion(
      companion_delete_args(companion_path(root, code), settings), error);
  if (status != kStoreDone)
    return status;

  std::string function_file = driver_file_path(root, code, kFunctionFile);
  std::string media_info = driver_file_path(root, code, kMediaInfoFile);
  std::string format_id;
  int lookup_error = 0;
  status = find_format_id(env.files, function_file, name, &format_id,
                          &lookup_error);
  if (status == kStoreNotFound && lookup_error == ENOENT)
    return kStoreNotFound;  // no function file, no format to delete
  if (status == kStoreFileFailed) {
    *error = lookup_error;
    return status;
  }
  if (status == kStoreDone) {
    if (rewrite_file(env.files, function_file, drop_lines_holding(format_id),
                     "", error) != kStoreDone)
      return kStoreFileFailed;
    status = find_format_id(env.files, media_info, name, &format_id, error);
    if (status != kStoreDone)
      return status;
  } else {
    // The function file no longer names the format, but the
    // media-information file does: a delete was cut short after the
    // function file. Finishing it takes the format out of every file.
    status = find_format_id(env.files, media_info, name, &format_id, error);
    if (status != kStoreDone)
      return status;
    if (rewrite_file(env.files, function_file, drop_lines_holding(format_id),
                     "", error) != kStoreDone)
      return kStoreFileFailed;
  }

  LineEdit reset;
  reset.kind = LineEdit::kReplace;
  reset.needle = format_id;
  reset.text = is_roll_label(settings) ? kRollDefaultMedia : kTapeDefaultMedia;
  if (rewrite_file(env.files, media_info, drop_lines_holding(format_id), "",
                   error) != kStoreDone ||
      rewrite_file(env.files, driver_file_path(root, code, kResourceFile),
                   reset, "", error) != kStoreDone ||
      rewrite_file(env.files, driver_file_path(root, code, kPrintAreaFile),
                   drop_lines_holding(format_id), "", error) != kStoreDone)
    return kStoreFileFailed;
  return kStoreDone;
}
