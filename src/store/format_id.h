// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_FORMAT_ID_H_
#define VTMEDIA_STORE_FORMAT_ID_H_

#include <sys/time.h>

#include <string>
#include <string_view>

#include "store/settings.h"
#include "store/file_ops.h"
#include "store/status.h"

// Every format's lines carry a generated identifier before its name:
// "VtL", the media name (10 characters or none), the name length (2 hex
// digits), the width (2 or more), the height (3), and 1 + 4 digits of the
// time of day that keep equal requests apart.
extern const char kFormatIdMarker[];  // "VtL"

std::string make_format_id(const FormatSettings& settings,
                           const struct timeval& now);

// The first place in [from, end) where the identifier |id| stands whole:
// not followed by a letter, digit, "_" or ".", which would make it the
// head of a longer identifier. Null when there is none.
const char* find_identifier(const char* from, const char* end,
                            std::string_view id);

// The identifier of a new format made at |now|: the one make_format_id
// gives, or, where that already stands in the file at |path|, the one of
// the first later microsecond that does not, so that deleting either
// format never takes the other. A missing file holds none. Returns
// kStoreDone with |*id| set, or kStoreFileFailed with the errno in
// |*error| when the file cannot be read.
StoreStatus new_format_id(FileOps* files, const std::string& path,
                          const FormatSettings& settings, struct timeval now,
                          std::string* id, int* error);

// If |line| is a "*PageSize" line whose identifier is followed by "/" and
// exactly |name|, stores the identifier in |*id| and returns true.
// Identifiers of every length the tool makes are recognised; text that
// does not read as one never matches.
bool format_id_in_line(std::string_view line, std::string_view name,
                       std::string* id);

// Looks up |name| in the "*PageSize" lines of the file at |path|; the first
// match counts. Returns kStoreDone with |*id| set; kStoreNotFound when the
// name is not there; kStoreFileMissing when the file is not; or
// kStoreFileFailed when it cannot be opened or read, with the errno in
// |*error|.
StoreStatus find_format_id(FileOps* files, const std::string& path,
                           const std::string& name, std::string* id,
                           int* error);

#endif  // VTMEDIA_STORE_FORMAT_ID_H_
