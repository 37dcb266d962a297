// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_ADD_H_
#define VTMEDIA_STORE_ADD_H_

#include <string>

#include "cli/settings.h"
#include "store/store_env.h"

// Millimetres per inch as the driver has always converted them; the
// printed sizes depend on it, so it is not 25.4.
const double kMillimetresPerInch = 25.43859649;

// The line added to the media-information file: the format's size in
// printer dots, across and along the feed.
std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id);

// The line added to the imageable-area file, in points of 1/72 inch.
std::string print_area_line(const FormatSettings& settings,
                            const std::string& format_id);

// An add request, under one lock of the model so that no other run comes
// between its steps: first the whole delete of an earlier format of the
// same name (delete_format_locked; its absence is normal), then the add
// (add_format_locked). A delete that fails stops the request before the
// add's companion run. Returns kStoreDone, or the failure of the step
// that failed, with the errno in |*error| where a call failed.
int add_format(const FormatSettings& settings, const StoreEnv& env,
               int* error);

// The add itself, for a caller that holds the model's lock: makes a new
// identifier from the time of day, runs the companion tool with it, then
// enters the format under every "[CustomTape]" line of the function file
// and appends its lines to the media-information and imageable-area
// files, in that order. Returns kStoreDone; kStoreFileFailed with the
// errno in |*error| when a file fails, those before it staying changed;
// or the companion tool's failure, nothing changed.
int add_format_locked(const FormatSettings& settings, const StoreEnv& env,
                      int* error);

#endif  // VTMEDIA_STORE_ADD_H_
