// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_PLAN_H_
#define VTMEDIA_STORE_PLAN_H_

#include <string>
#include <vector>

#include "store/list.h"
#include "store/settings.h"

// The format an add of |settings| stores, as the files would then hold
// it (its identifier aside).
ListedFormat as_added(const FormatSettings& settings);

// Whether |held| stands as an add of |wanted| leaves it: complete, with
// the same name, width, height, tape and dots across. With |by_request|,
// whether a request makes it: completeness aside, and the dots where the
// files give them (a format cut short may lack its size line).
bool same_format(const ListedFormat& held, const FormatSettings& wanted,
                 bool by_request = false);

// Whether |formats[at]| is the first of its name in |formats|: the one a
// delete by that name reaches first (the media-information file names it
// first, or, where that file names no format of the name, the function
// file does).
std::vector<bool> first_of_names(const std::vector<ListedFormat>& formats);

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
std::vector<Step> plan_steps(const std::vector<ListedFormat>& held,
                             const std::vector<FormatSettings>& wanted,
                             bool sync, const FormatSettings& model);

#endif  // VTMEDIA_STORE_PLAN_H_
