// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_APPLY_H_
#define VTMEDIA_STORE_APPLY_H_

#include <vector>

#include "store/driver.h"
#include "store/plan.h"
#include "store/settings.h"
#include "store/status.h"

// How far a run that makes a set of formats present got: the steps it
// planned and how many of them are done.
struct SetRun {
  std::vector<Step> steps;
  size_t done = 0;
};

// Makes |wanted| present in the driver of |model| (see plan_steps; with
// |sync|, the formats it does not name go) as one request, so that what
// it compares and what it changes are the same files: under the model's
// lock it reads what the files hold, plans the steps and takes them in
// their order, an add as add_format takes it, a delete by identifier,
// stopping at the first that fails. Where nothing differs, nothing runs
// and nothing is written. Returns kStoreDone, or the failure (of the
// lock, of reading the files, or of step run->done + 1) with |*failure|
// set; the steps before it stay done.
StoreStatus apply_formats(const FormatSettings& model, const StoreEnv& env,
                          const std::vector<FormatSettings>& wanted,
                          bool sync, SetRun* run, StoreFailure* failure);

#endif  // VTMEDIA_STORE_APPLY_H_
