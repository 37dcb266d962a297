// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_PLAN_H_
#define VTMEDIA_STORE_PLAN_H_

#include <stdint.h>

#include <string>
#include <vector>

#include "store/driver.h"
#include "store/settings.h"
#include "store/status.h"

// A user format as the driver files hold it (see ListedFormat), kept
// beyond the listing that found it.
struct HeldFormat {
  std::string name;
  std::string id;
  std::string media_name;  // the tape's page-size name, or empty
  uint64_t width_mm = 0;
  int64_t height_mm = 0;
  long long across_dots = -1;  // -1 where it has no well-formed size line
  bool complete = false;
};

// The formats the driver of |settings.model_code| holds, in the order
// list_formats gives them. Only reads. Returns kStoreDone, or
// kStoreFileFailed with |*failure| set.
StoreStatus held_formats(const FormatSettings& settings, const StoreEnv& env,
                         std::vector<HeldFormat>* formats,
                         StoreFailure* failure);

// The format an add of |settings| stores, as the files would then hold
// it (its identifier aside).
HeldFormat as_added(const FormatSettings& settings);

// Whether |held| stands as an add of |wanted| leaves it: complete, with
// the same name, width, height, tape and dots across. With |by_request|,
// only what the request decides counts: neither completeness nor the
// dots, which a format cut short may lack.
bool same_format(const HeldFormat& held, const FormatSettings& wanted,
                 bool by_request = false);

// Whether |formats[at]| is the first of its name in |formats|: the one a
// delete by that name reaches first (the media-information file names it
// first, or, where that file names no format of the name, the function
// file does).
std::vector<bool> first_of_names(const std::vector<HeldFormat>& formats);

// One step of a run that makes a set of formats present.
struct Step {
  enum Kind {
    kDelete,   // |format| goes by its identifier |id|
    kAdd,      // |format| is added as -n adds it; no format has its name
    kReplace,  // |format| is added as -n adds it, replacing its name's
  };
  Kind kind;
  FormatSettings format;  // for a delete, its name only
  std::string id;         // of the format a delete takes
};

// The steps that make |wanted| (its names each once) present where the
// driver holds |held|: each wanted format that the first held format of
// its name is not the same as (see same_format) is added, in the order of
// |wanted|; one that is, is left alone. With |sync|, every held format
// that is not the first of a wanted name goes first, by its identifier,
// in the order of |held|. |model| gives a delete's model and printer.
std::vector<Step> plan_steps(const std::vector<HeldFormat>& held,
                             const std::vector<FormatSettings>& wanted,
                             bool sync, const FormatSettings& model);

#endif  // VTMEDIA_STORE_PLAN_H_
