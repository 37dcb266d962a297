// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/add.h"

#include <errno.h>
#include <stdio.h>

#include <set>

#include "store/companion.h"
#include "store/delete.h"
#include "store/dots.h"
#include "store/format_id.h"
#include "store/lookup.h"

namespace {

const long kMicrosecondsPerSecond = 1000000;
// Microseconds in which the time stamp of an identifier takes every value.
const long kStampCycle = 16 * kMicrosecondsPerSecond;

void next_microsecond(struct timeval* now) {
  if (++now->tv_usec == kMicrosecondsPerSecond) {
    now->tv_usec = 0;
    ++now->tv_sec;
  }
}

// The line entered under each "[CustomTape]" line of the function file.
std::string function_line(const FormatSettings& settings,
                          const std::string& format_id) {
  return format_id + "/" + settings.format_name + "\n";
}

// The rewrites of an add, in their order, each with the line it enters.
const struct {
  DriverFile file;
  LineEdit::Kind kind;
  const char* needle;
  std::string (*line)(const FormatSettings&, const std::string&);
} kAddRewrites[] = {
  { kFunctionFile, LineEdit::kInsertAfter, "[CustomTape]", function_line },
  { kMediaInfoFile, LineEdit::kAppend, "", media_info_line },
  { kPrintAreaFile, LineEdit::kAppend, "", print_area_line },
};

std::vector<Rewrite> add_rewrites(const FormatSettings& settings,
                                  const std::string& format_id) {
  std::vector<Rewrite> rewrites;
  for (const auto& step : kAddRewrites) {
    rewrites.push_back({ step.file, { step.kind, step.needle,
                                      step.line(settings, format_id) } });
  }
  return rewrites;
}

}  // namespace

std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id) {
  long long along = is_roll_label(settings) ?
      roll_label_along_dots(settings.height_mm) :
      mm_to_dots(settings.height_mm, kTapeDotsPerInch);
  char sizes[64];
  snprintf(sizes, sizeof(sizes), ":\t%lld\t%lld\n", across_dots(settings),
           along);
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

StoreStatus new_format_id(Request* request, const FormatSettings& settings,
                          struct timeval now, std::string* id) {
  *id = make_format_id(settings, now);
  // The time stamps of the identifiers in the file that differ from the
  // new one in their time stamp alone.
  std::string head = id->substr(0, id->size() - kFormatIdTimeDigits);
  std::set<std::string> taken;
  StoreStatus status = scan_data_file(
      request->driver().files, request->file(kMediaInfoFile),
      [&](std::string_view block) {
    for (size_t at = block.find(head); at != std::string_view::npos;
         at = block.find(head, at + 1)) {
      if (block.size() - at >= id->size() &&
          stands_whole(block, at, id->size()))
        taken.insert(std::string(block.substr(at + head.size(),
                                              kFormatIdTimeDigits)));
    }
    return true;
  }, request->failure());
  if (status == kStoreFileFailed)
    return status;  // a missing file holds none
  // Stamps come round again every 65536 microseconds, every stamp once in
  // 16 seconds; a file that holds them all leaves none to take.
  for (long step = 0; taken.count(id->substr(head.size())) != 0; ++step) {
    if (step == kStampCycle)
      return fail_at(request->driver().path(kMediaInfoFile), EEXIST,
                     request->failure());
    next_microsecond(&now);
    *id = make_format_id(settings, now);
  }
  return kStoreDone;
}

StoreStatus add_format(const ModelDriver& driver,
                       const FormatSettings& settings, StoreFailure* failure) {
  Request request(driver, failure);
  StoreStatus status = request.lock();
  if (status == kStoreDone)
    status = request.prepare(add_plan(settings));
  if (status == kStoreDone)
    status = delete_step(&request, settings);
  if (status == kStoreDone || status == kStoreNotFound)
    status = add_step(&request, settings);
  return request.finish(status);
}

RewritePlan add_plan(const FormatSettings& settings) {
  RewritePlan plan = delete_plan(settings);
  for (const auto& step : kAddRewrites)
    plan.files.set(step.file);
  return plan;
}

StoreStatus add_step(Request* request, const FormatSettings& settings) {
  struct timeval now;
  gettimeofday(&now, nullptr);
  std::string format_id;
  StoreStatus status = new_format_id(request, settings, now, &format_id);
  if (status == kStoreDone)
    status = request->run_companion(companion_add_args(
        request->driver().companion(), settings, format_id));
  if (status == kStoreDone)
    status = request->rewrite(add_rewrites(settings, format_id));
  return status;
}
