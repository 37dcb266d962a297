// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DELETE_H_
#define VTMEDIA_STORE_DELETE_H_

#include <string>

#include "store/driver.h"
#include "store/lookup.h"
#include "store/request.h"
#include "store/settings.h"
#include "store/status.h"

// Removes the label format named |settings.format_name| from |driver| as
// one request: the lock, the preparation (see Request), then
// delete_step. Returns kStoreDone, kStoreNotFound, or the failure of the
// step that failed, described in |*failure|.
StoreStatus delete_format(const ModelDriver& driver,
                          const FormatSettings& settings,
                          StoreFailure* failure);

// What a delete of |settings.format_name| rewrites (see RewritePlan): all
// four files where the files name the format, none where they do not.
RewritePlan delete_plan(const FormatSettings& settings);
// What a delete_id_step rewrites: all four files.
RewritePlan delete_id_plan();

// The delete as a step of |request|, prepared for it: runs the companion
// tool with "-d" and the name, finds the format's identifier in the
// "*PageSize" lines of the function and media-information files, drops
// every line holding it as a whole identifier from the four data files in
// the order function, resource, imageable-area, media-information file,
// and resets a resource-file setting that pointed at it to the model's
// default media.
//
// The function file's identifier goes from that file, the
// media-information file's from the others; where only one of the two
// files names the format (a delete cut short), its identifier serves all
// four. Returns kStoreDone; kStoreNotFound when the name is in neither
// file or the function file is missing, nothing changed;
// kStoreFileFailed when a file fails, those before it in the order
// staying changed; or the companion tool's failure or stop, or
// kStoreDirReplaced (see Request::run_companion), nothing changed.
StoreStatus delete_step(Request* request, const FormatSettings& settings);

// The same delete of a format the caller has found already, by its
// identifiers |format| (a format that "-d NAME" cannot reach: one of two
// of the same name, say): the companion tool is run with "-d" and
// |settings.format_name| as in delete_step, and the lines holding the
// identifiers are dropped in the same order, whatever the "*PageSize"
// lines now say. An empty identifier in |format| stands for the other.
// Returns as delete_step, never kStoreNotFound.
StoreStatus delete_id_step(Request* request, const FormatSettings& settings,
                           const NamedFormat& format);

#endif  // VTMEDIA_STORE_DELETE_H_
