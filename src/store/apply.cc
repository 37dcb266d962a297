// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/apply.h"

#include "store/add.h"
#include "store/delete.h"
#include "store/list.h"
#include "store/request.h"

namespace {

// What the steps rewrite, for the preparation before the first of them.
RewritePlan plan_of(const std::vector<Step>& steps) {
  RewritePlan plan;
  for (const Step& step : steps)
    plan |= step.kind == Step::kDelete ? delete_id_plan()
                                       : add_plan(step.format);
  return plan;
}

// Takes |step| as a step of |request|, prepared for it: a delete by its
// identifier, or the delete of the name and the add, as add_format.
StoreStatus take_step(Request* request, const Step& step) {
  if (step.kind == Step::kDelete)
    return delete_id_step(request, step.format, { step.id, step.id });
  StoreStatus status = delete_step(request, step.format);
  if (status == kStoreDone || status == kStoreNotFound)
    status = add_step(request, step.format);
  return status;
}

}  // namespace

StoreStatus apply_formats(const ModelDriver& driver, const FormatSet& set,
                          SetRun* run, StoreFailure* failure) {
  Request request(driver, failure);
  StoreStatus status = request.lock();
  FormatListing listing;
  if (status == kStoreDone)
    status = list_request_formats(request, set.model, &listing);
  if (status == kStoreDone) {
    run->steps = plan_steps(listing.formats, set.wanted, set.sync, set.model);
    if (!run->steps.empty())
      status = request.prepare(plan_of(run->steps));
  }
  while (status == kStoreDone && run->done < run->steps.size()) {
    status = take_step(&request, run->steps[run->done]);
    if (status == kStoreDone)
      ++run->done;
  }
  return request.finish(status);
}
