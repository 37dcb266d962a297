// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/delete.h"

#include "store/companion.h"
#include "store/lookup.h"

namespace {

// What a resource-file setting falls back to when its format goes.
const char kRollDefaultMedia[] = "MediaSize=29X1\n";
const char kTapeDefaultMedia[] = "Media=vtS12mm\n";

}  // namespace

StoreStatus delete_format(const FormatSettings& settings,
                          const StoreEnv& env, StoreFailure* failure) {
  return run_request(env, settings.model_code, [&](Request* request) {
    StoreStatus status = prepare_to_write(request, settings, false);
    if (status != kStoreDone)
      return status;
    return delete_in_request(request, settings);
  }, failure);
}

StoreStatus delete_in_request(Request* request,
                              const FormatSettings& settings) {
  const StoreEnv& env = request->env;
  StoreStatus status = run_companion(
      companion_delete_args(
          companion_path(env.driver_root, settings.model_code), settings),
      request->failure);
  if (status != kStoreDone)
    return status;

  NamedFormat format;
  status = find_named_format(env.files, env.driver_root, settings.model_code,
                             settings.format_name, &format, request->failure);
  if (status != kStoreDone)
    return status;
  // Where one of the two files no longer names the format (a delete cut
  // short), the other's identifier serves all four, so that the same
  // command finishes the job.
  if (format.function_id.empty())
    format.function_id = format.media_id;
  if (format.media_id.empty())
    format.media_id = format.function_id;

  // The media-information file, which names the format, goes last: a run
  // cut short anywhere before leaves the name there to be found again.
  const struct {
    DriverFile file;
    LineEdit edit;
  } steps[] = {
    { kFunctionFile, { LineEdit::kDrop, format.function_id, "" } },
    { kResourceFile, { LineEdit::kReplace, format.media_id,
                       is_roll_label(settings) ? kRollDefaultMedia :
                                                 kTapeDefaultMedia } },
    { kPrintAreaFile, { LineEdit::kDrop, format.media_id, "" } },
    { kMediaInfoFile, { LineEdit::kDrop, format.media_id, "" } },
  };
  for (const auto& step : steps) {
    if (rewrite_data_file(request, step.file, step.edit) != kStoreDone)
      return kStoreFileFailed;
  }
  return kStoreDone;
}
