// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/delete.h"

#include "store/companion.h"
#include "store/lookup.h"

namespace {

// What a resource-file setting falls back to when its format goes.
const char kRollDefaultMedia[] = "MediaSize=29X1\n";
const char kTapeDefaultMedia[] = "Media=vtS12mm\n";

// The rewrites of a delete of the format whose identifier is |function_id|
// in the function file and |media_id| in the others, in their order. The
// media-information file, which names the format, goes last: a run cut
// short anywhere before leaves the name there to be found again.
std::vector<Rewrite> rewrites_of(const FormatSettings& settings,
                                 const std::string& function_id,
                                 const std::string& media_id) {
  return {
    { kFunctionFile, { LineEdit::kDrop, function_id, "" } },
    { kResourceFile, { LineEdit::kReplace, media_id,
                       is_roll_label(settings) ? kRollDefaultMedia :
                                                 kTapeDefaultMedia } },
    { kPrintAreaFile, { LineEdit::kDrop, media_id, "" } },
    { kMediaInfoFile, { LineEdit::kDrop, media_id, "" } },
  };
}

// The rewrites of a delete of the format named |settings.format_name|, in
// their order, as the files of |request| name it now. Returns kStoreDone,
// kStoreNotFound or kStoreFileFailed as find_format_id does.
StoreStatus delete_rewrites(Request* request, const FormatSettings& settings,
                            std::vector<Rewrite>* rewrites) {
  NamedFormat format;
  StoreStatus status = find_format_id(request->driver, settings.format_name,
                                      &format, request->failure);
  if (status != kStoreDone)
    return status;
  // Where one of the two files no longer names the format (a delete cut
  // short), the other's identifier serves all four, so that the same
  // command finishes the job.
  const std::string& function_id =
      format.function_id.empty() ? format.media_id : format.function_id;
  const std::string& media_id =
      format.media_id.empty() ? format.function_id : format.media_id;
  *rewrites = rewrites_of(settings, function_id, media_id);
  return kStoreDone;
}

}  // namespace

StoreStatus delete_format(const FormatSettings& settings,
                          const StoreEnv& env, StoreFailure* failure) {
  return run_request(ModelDriver{ env, settings.model_code },
                     [&](Request* request) {
    StoreStatus status = prepare_to_delete(request, settings, {});
    if (status != kStoreDone)
      return status;
    return delete_in_request(request, settings);
  }, failure);
}

StoreStatus prepare_to_delete(Request* request,
                              const FormatSettings& settings,
                              const std::vector<Rewrite>& then) {
  // The lookup after the companion's delete decides again, as the
  // companion may change the files.
  return prepare_to_write(request, [&](std::vector<Rewrite>* rewrites) {
    StoreStatus status = delete_rewrites(request, settings, rewrites);
    rewrites->insert(rewrites->end(), then.begin(), then.end());
    return status == kStoreNotFound ? kStoreDone : status;
  });
}

StoreStatus delete_in_request(Request* request,
                              const FormatSettings& settings) {
  StoreStatus status = run_companion(
      companion_delete_args(request->driver.companion(), settings),
      request->failure);
  std::vector<Rewrite> rewrites;
  if (status == kStoreDone)
    status = delete_rewrites(request, settings, &rewrites);
  if (status == kStoreDone)
    status = rewrite_in_order(request, rewrites);
  return status;
}

StoreStatus delete_id_in_request(Request* request,
                                 const FormatSettings& settings,
                                 const std::string& id) {
  StoreStatus status = prepare_to_write(
      request, [&](std::vector<Rewrite>* rewrites) {
    *rewrites = rewrites_of(settings, id, id);
    return kStoreDone;
  });
  if (status == kStoreDone)
    status = run_companion(
        companion_delete_args(request->driver.companion(), settings),
        request->failure);
  if (status == kStoreDone)
    status = rewrite_in_order(request, rewrites_of(settings, id, id));
  return status;
}
