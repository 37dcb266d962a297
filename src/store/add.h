// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_ADD_H_
#define VTMEDIA_STORE_ADD_H_

#include <string>

#include "store/settings.h"
#include "store/status.h"
#include "store/store_env.h"

// The dots along the feed the media-information line gives a roll label
// |height_mm| high.
long long roll_label_along_dots(int64_t height_mm);

// The line added to the media-information file: the format's size in
// printer dots, across and along the feed.
std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id);

// The line added to the imageable-area file, in points of 1/72 inch.
std::string print_area_line(const FormatSettings& settings,
                            const std::string& format_id);

// An add request, under one lock of the model so that no other run comes
// between its steps: first the whole delete of an earlier format of the
// same name (its absence is normal), then the add: a new identifier from
// the time of day, the companion tool run with it, then the format
// entered under every "[CustomTape]" line of the function file and its
// lines appended to the media-information and imageable-area files, in
// that order. A delete that fails stops the request before the add's
// companion run. Returns kStoreDone, or the failure of the step that
// failed, described in |*failure|; files before a failing one stay
// changed.
StoreStatus add_format(const FormatSettings& settings, const StoreEnv& env,
                       StoreFailure* failure);

#endif  // VTMEDIA_STORE_ADD_H_
