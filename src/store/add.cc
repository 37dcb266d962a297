// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/add.h"

#include <stdio.h>
#include <sys/time.h>

#include "store/companion.h"
#include "store/delete.h"
#include "store/lookup.h"
#include "store/request.h"

namespace {

// Millimetres per inch as the driver has always converted them; the
// printed sizes depend on it, so it is not 25.4.
const double kMillimetresPerInch = 25.43859649;
const double kRollDotsPerInch = 300;
const double kTapeDotsPerInch = 180;
const double kPointsPerInch = 72;
// The unprintable margins of roll labels, in millimetres.
const int64_t kRollWidthMargin = 3;
const int64_t kRollHeightMargin = 6;

// Millimetres to whole dots, truncated toward zero.
long long mm_to_dots(int64_t mm, double dots_per_inch) {
  return static_cast<long long>(mm / kMillimetresPerInch * dots_per_inch);
}

}  // namespace

long long roll_label_along_dots(int64_t height_mm) {
  return mm_to_dots(height_mm - kRollHeightMargin, kRollDotsPerInch);
}

std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id) {
  long long across, along;
  if (is_roll_label(settings)) {
    across = mm_to_dots(settings.width_mm - kRollWidthMargin,
                        kRollDotsPerInch);
    along = roll_label_along_dots(settings.height_mm);
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

namespace {

// The add itself, as a step of |request| after any earlier format of the
// name is gone.
StoreStatus add_in_request(Request* request, const FormatSettings& settings) {
  const StoreEnv& env = request->env;
  std::string media_info = request->path(kMediaInfoFile);
  struct timeval now;
  gettimeofday(&now, nullptr);
  std::string format_id;
  StoreStatus status = new_format_id(env.files, media_info, settings, now,
                                     &format_id, request->failure);
  if (status != kStoreDone)
    return status;
  status = run_companion(
      companion_add_args(companion_path(env.driver_root, settings.model_code),
                         settings, format_id),
      request->failure);
  if (status != kStoreDone)
    return status;

  LineEdit entry = { LineEdit::kInsertAfter, "[CustomTape]",
                     format_id + "/" + settings.format_name + "\n" };
  LineEdit sizes = { LineEdit::kAppend, "",
                     media_info_line(settings, format_id) };
  LineEdit area = { LineEdit::kAppend, "",
                    print_area_line(settings, format_id) };
  if (rewrite_data_file(request, kFunctionFile, entry) != kStoreDone ||
      rewrite_data_file(request, kMediaInfoFile, sizes) != kStoreDone ||
      rewrite_data_file(request, kPrintAreaFile, area) != kStoreDone)
    return kStoreFileFailed;
  return kStoreDone;
}

}  // namespace

StoreStatus add_format(const FormatSettings& settings, const StoreEnv& env,
                       StoreFailure* failure) {
  return run_request(env, settings.model_code, [&](Request* request) {
    StoreStatus status = prepare_to_write(request, settings, true);
    if (status == kStoreDone)
      status = delete_in_request(request, settings);
    if (status != kStoreDone && status != kStoreNotFound)
      return status;
    return add_in_request(request, settings);
  }, failure);
}
