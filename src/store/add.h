// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_ADD_H_
#define VTMEDIA_STORE_ADD_H_

#include <sys/time.h>

#include <string>

#include "store/driver.h"
#include "store/request.h"
#include "store/settings.h"
#include "store/status.h"

// The line added to the media-information file: the format's size in
// printer dots, across and along the feed.
std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id);

// The line added to the imageable-area file, in points of 1/72 inch.
std::string print_area_line(const FormatSettings& settings,
                            const std::string& format_id);

// The identifier of a new format made at |now|: the one make_format_id
// gives, or, where that already stands whole in the media-information
// file of |request|, the one of the first later microsecond that does
// not, so that deleting either format never takes the other. A missing
// file holds none; one that holds every time stamp fails the add
// (EEXIST).
StoreStatus new_format_id(Request* request, const FormatSettings& settings,
                          struct timeval now, std::string* id);

// An add request on |driver|, under one lock so that no other run comes
// between its steps: the lock, the preparation for both steps
// (add_plan), delete_step of an earlier format of the same name (its
// absence is normal), then add_step. A delete that fails stops the
// request before the add's companion run. Returns kStoreDone, or the
// failure of the step that failed, described in |*failure|; files before
// a failing one stay changed.
StoreStatus add_format(const ModelDriver& driver,
                       const FormatSettings& settings, StoreFailure* failure);

// What an add of |settings| rewrites (see RewritePlan): the delete of its
// name first (delete_plan), then the function, media-information and
// imageable-area files.
RewritePlan add_plan(const FormatSettings& settings);

// The add as a step of |request|, prepared for it, once any earlier
// format of the name is gone: a new identifier from the time of day, the
// companion tool run with it, then the format entered under every
// "[CustomTape]" line of the function file and its lines appended to the
// media-information and imageable-area files, in that order. Returns
// kStoreDone; the companion tool's failure or stop, or
// kStoreDirReplaced, nothing changed by this step; or kStoreFileFailed,
// the files before the failing one staying changed.
StoreStatus add_step(Request* request, const FormatSettings& settings);

#endif  // VTMEDIA_STORE_ADD_H_
