// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DELETE_H_
#define VTMEDIA_STORE_DELETE_H_

#include "cli/settings.h"
#include "store/store_env.h"

// Removes the label format named |settings.format_name| under the model's
// lock: see delete_format_locked. Returns as that does, or
// kStoreFileFailed when the lock cannot be had.
int delete_format(FormatSettings settings, const StoreEnv& env, int* error);

// The delete itself, for a caller that holds the model's lock: runs the
// companion tool, finds the format's identifier in the "*PageSize" lines
// of the function and media-information files, drops every line holding
// it from the four data files in the order function, media-information,
// resource, imageable-area file, and resets a resource-file setting that
// pointed at it to the model's default media.
//
// The media-information file's identifier is the one that goes from the
// files after the function file. Where only that file still names the
// format (a delete cut short after the function file), the delete is
// completed with its identifier. Returns kStoreDone; kStoreNotFound when
// the name is in neither file, when the function file is missing, or
// when only the function file names it (that file then already
// rewritten); kStoreFileFailed with the errno in |*error| when a file
// fails, those before it in the order staying changed; or the companion
// tool's failure, nothing changed.
int delete_format_locked(const FormatSettings& settings, const StoreEnv& env,
                         int* error);

#endif  // VTMEDIA_STORE_DELETE_H_
