// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_LIST_H_
#define VTMEDIA_STORE_LIST_H_

#include <stdint.h>

#include <optional>
#include <string>
#include <vector>

#include "store/driver.h"
#include "store/request.h"
#include "store/settings.h"
#include "store/status.h"

// A user format as the driver files hold it.
struct ListedFormat {
  std::string name;
  std::string id;
  uint64_t width_mm = 0;
  int64_t height_mm = 0;
  std::string media_name;  // the tape's page-size name, or empty
  // The first number of the format's first well-formed size line in the
  // media-information file, "ID/NAME:<TAB>ACROSS<TAB>ALONG"; none where
  // it has no such line.
  std::optional<long long> across_dots;
  // Whether the identifier stands whole in the function, media-information
  // and imageable-area files; an add or delete cut short leaves it not.
  bool complete = false;
  // Whether the resource file's first media setting names it: the
  // driver's current media.
  bool selected = false;
};

// What the driver files of one model hold for --list.
struct FormatListing {
  // Every format a "*PageSize" line of the media-information or the
  // function file names, one per identifier: those of the
  // media-information file in its order, then those of the function file
  // alone in its order.
  std::vector<ListedFormat> formats;
  // The value of the resource file's first media setting ("Media=" on
  // tape models, "MediaSize=" on roll-label models) as it stands, without
  // its newline; none where the file has no such line or is missing.
  std::optional<std::string> media_setting;
};

// Fills |*listing| from the driver files of |settings.model_code|, all
// read through one descriptor of their directory. Only reads: no lock,
// no companion run, nothing written. Each file is read once (the
// function and media-information files twice where the latter names a
// format the former does not); the time is linear in their size, and the
// memory grows with the formats they name, not with what else they hold.
// Returns kStoreDone, or kStoreFileFailed with |*failure| set (the data
// directory where that is missing; a missing resource file selects
// nothing) and |*listing| as it was.
StoreStatus list_formats(const FormatSettings& settings, const StoreEnv& env,
                         FormatListing* listing, StoreFailure* failure);

// The same, as a step of |request|: the files of the directory it
// locked, so that what the request then changes is what it read.
StoreStatus list_request_formats(const Request& request,
                                 const FormatSettings& settings,
                                 FormatListing* listing);

#endif  // VTMEDIA_STORE_LIST_H_
