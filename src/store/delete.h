// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DELETE_H_
#define VTMEDIA_STORE_DELETE_H_

#include <vector>

#include "store/driver.h"
#include "store/request.h"
#include "store/settings.h"
#include "store/status.h"

// Removes the label format named |settings.format_name| from the driver of
// |settings.model_code| under |env| as one request (see run_request and
// delete_in_request).
StoreStatus delete_format(const FormatSettings& settings,
                          const StoreEnv& env, StoreFailure* failure);

// Readies the files of |request| (see prepare_to_write) for a delete of
// |settings.format_name| and then the rewrites |then|.
StoreStatus prepare_to_delete(Request* request,
                              const FormatSettings& settings,
                              const std::vector<Rewrite>& then);

// The delete as a step of |request|, whose files are readied: runs the
// companion tool, finds the format's identifier in the "*PageSize" lines
// of the function and media-information files, drops every line holding
// it as a whole identifier from the four data files in the order
// function, resource, imageable-area, media-information file, and resets
// a resource-file setting that pointed at it to the model's default media.
//
// The function file's identifier goes from that file, the
// media-information file's from the others; where only one of the two
// files names the format (a delete cut short), its identifier serves all
// four. Returns kStoreDone; kStoreNotFound when the name is in neither
// file or the function file is missing, nothing changed;
// kStoreFileFailed when a file fails, those before it in the order
// staying changed; or the companion tool's failure or stop (see
// run_companion), nothing changed.
StoreStatus delete_in_request(Request* request,
                              const FormatSettings& settings);

// The delete of the format whose identifier is |id| as a step of
// |request|: readies the files, runs the companion tool's delete of
// |settings.format_name|, and then drops every line holding |id| from the
// four data files as delete_in_request does. For a format a delete by
// name does not reach: a second one of its name, or a name no option
// takes.
StoreStatus delete_id_in_request(Request* request,
                                 const FormatSettings& settings,
                                 const std::string& id);

#endif  // VTMEDIA_STORE_DELETE_H_
