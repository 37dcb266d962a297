// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_APPLY_H_
#define VTMEDIA_STORE_APPLY_H_

#include <vector>

#include "store/driver.h"
#include "store/plan.h"
#include "store/settings.h"
#include "store/status.h"

// A set of formats to make present: the model and printer queue the
// steps run for, the formats (each name once), and whether the formats
// they do not name go.
struct FormatSet {
  FormatSettings model;
  std::vector<FormatSettings> wanted;
  bool sync = false;
};

// How far a run that makes a set of formats present got: the steps it
// planned and how many of them are done.
struct SetRun {
  std::vector<Step> steps;
  size_t done = 0;
};

// Makes |set| present in |driver| (see plan_steps) as one request, so
// that what it compares and what it changes are the same files: the
// lock, the files read in the directory locked, the steps planned, the
// preparation for all of them, then each step in its order, an add as
// add_format takes it, a delete by identifier, stopping at the first that
// fails. Where nothing differs, nothing runs and nothing is written.
// Returns kStoreDone, or the failure (of the lock, of reading or
// readying the files, or of step run->done + 1) with |*failure| set; the
// steps before it stay done.
StoreStatus apply_formats(const ModelDriver& driver, const FormatSet& set,
                          SetRun* run, StoreFailure* failure);

#endif  // VTMEDIA_STORE_APPLY_H_
