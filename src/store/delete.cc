// SPDX-License-Identifier: GPL-2.0-or-later
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

LineEdit drop_lines_holding(const std::string& format_id) {
  LineEdit edit;
  edit.kind = LineEdit::kDrop;
  edit.needle = format_id;
  return edit;
}

}  // namespace

StoreStatus delete_format(const FormatSettings& settings,
                          const StoreEnv& env, StoreFailure* failure) {
  return run_request(env, settings.model_code, [&](StoreFailure* in_body) {
    return delete_format_locked(settings, env, in_body);
  }, failure);
}

StoreStatus delete_format_locked(const FormatSettings& settings,
                                 const StoreEnv& env, StoreFailure* failure) {
  const std::string& root = env.driver_root;
  const std::string& code = settings.model_code;
  const std::string& name = settings.format_name;
  StoreStatus status = run_companion(
      companion_delete_args(companion_path(root, code), settings), failure);
  if (status != kStoreDone)
    return status;

  // The function file's identifier goes from that file and the
  // media-information file's from the other three; where one of the two
  // files no longer names the format (a delete cut short), the other's
  // serves all four, so that the same command finishes the job.
  std::string function_file = driver_file_path(root, code, kFunctionFile);
  std::string media_info = driver_file_path(root, code, kMediaInfoFile);
  std::string function_id, media_id;
  status = find_format_id(env.files, function_file, name, &function_id,
                          &failure->error);
  if (status == kStoreFileMissing)
    return kStoreNotFound;  // no function file, no format to delete
  if (status == kStoreFileFailed)
    return fail_at(function_file, failure->error, failure);
  bool in_function_file = status == kStoreDone;
  status = find_format_id(env.files, media_info, name, &media_id,
                          &failure->error);
  if (status == kStoreFileFailed)
    return fail_at(media_info, failure->error, failure);
  bool in_media_info = status == kStoreDone;
  if (!in_function_file && !in_media_info)
    return kStoreNotFound;
  if (!in_function_file)
    function_id = media_id;
  if (!in_media_info)
    media_id = function_id;

  LineEdit reset;
  reset.kind = LineEdit::kReplace;
  reset.needle = media_id;
  reset.text = is_roll_label(settings) ? kRollDefaultMedia : kTapeDefaultMedia;
  // The media-information file, which names the format, goes last: a run
  // cut short anywhere before leaves the name there to be found again.
  const struct {
    DriverFile file;
    LineEdit edit;
  } steps[] = {
    { kFunctionFile, drop_lines_holding(function_id) },
    { kResourceFile, reset },
    { kPrintAreaFile, drop_lines_holding(media_id) },
    { kMediaInfoFile, drop_lines_holding(media_id) },
  };
  for (const auto& step : steps) {
    if (rewrite_file(env.files, driver_file_path(root, code, step.file),
                     step.edit, failure) != kStoreDone)
      return kStoreFileFailed;
  }
  return kStoreDone;
}
