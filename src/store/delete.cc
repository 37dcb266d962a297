// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/delete.h"

#include "store/companion.h"

namespace {

// What a resource-file setting falls back to when its format goes.
const char kRollDefaultMedia[] = "MediaSize=29X1\n";
const char kTapeDefaultMedia[] = "Media=vtS12mm\n";

// The rewrites of a delete, in their order. The media-information file,
// which names the format, goes last: a run cut short anywhere before
// leaves the name there to be found again. The function file's
// identifier goes from that file, the media-information file's from the
// others; a resource-file setting of it is replaced.
const struct {
  DriverFile file;
  LineEdit::Kind kind;
  bool function_id;
} kDeleteRewrites[] = {
  { kFunctionFile, LineEdit::kDrop, true },
  { kResourceFile, LineEdit::kReplace, false },
  { kPrintAreaFile, LineEdit::kDrop, false },
  { kMediaInfoFile, LineEdit::kDrop, false },
};

// The rewrites of a delete of |format|. Where one of the two files no
// longer names the format (a delete cut short), the other's identifier
// serves all four, so that the same command finishes the job.
std::vector<Rewrite> delete_rewrites(const FormatSettings& settings,
                                     const NamedFormat& format) {
  const std::string& function_id =
      format.function_id.empty() ? format.media_id : format.function_id;
  const std::string& media_id =
      format.media_id.empty() ? format.function_id : format.media_id;
  const char* default_media = is_roll_label(settings) ? kRollDefaultMedia
                                                      : kTapeDefaultMedia;
  std::vector<Rewrite> rewrites;
  for (const auto& step : kDeleteRewrites) {
    rewrites.push_back({ step.file, { step.kind,
        step.function_id ? function_id : media_id,
        step.kind == LineEdit::kReplace ? default_media : "" } });
  }
  return rewrites;
}

// Every file a delete that finds its format rewrites.
FileSet delete_files() {
  FileSet files;
  for (const auto& step : kDeleteRewrites)
    files.set(step.file);
  return files;
}

}  // namespace

StoreStatus delete_format(const ModelDriver& driver,
                          const FormatSettings& settings,
                          StoreFailure* failure) {
  Request request(driver, failure);
  StoreStatus status = request.lock();
  if (status == kStoreDone)
    status = request.prepare(delete_plan(settings));
  if (status == kStoreDone)
    status = delete_step(&request, settings);
  return request.finish(status);
}

RewritePlan delete_plan(const FormatSettings& settings) {
  return { FileSet(), delete_files(), { settings.format_name } };
}

RewritePlan delete_id_plan() {
  return { delete_files(), FileSet(), {} };
}

StoreStatus delete_step(Request* request, const FormatSettings& settings) {
  StoreStatus status = request->run_companion(
      companion_delete_args(request->driver().companion(), settings));
  // The lookup follows the companion's delete, which may change the files.
  NamedFormat format;
  if (status == kStoreDone)
    status = find_format_id(*request, settings.format_name, &format);
  if (status == kStoreDone)
    status = request->rewrite(delete_rewrites(settings, format));
  return status;
}

StoreStatus delete_id_step(Request* request, const FormatSettings& settings,
                           const NamedFormat& format) {
  StoreStatus status = request->run_companion(
      companion_delete_args(request->driver().companion(), settings));
  if (status == kStoreDone)
    status = request->rewrite(delete_rewrites(settings, format));
  return status;
}
