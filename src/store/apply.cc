// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/apply.h"

#include "store/add.h"
#include "store/delete.h"
#include "store/request.h"

StoreStatus apply_formats(const FormatSettings& model, const StoreEnv& env,
                          const std::vector<FormatSettings>& wanted,
                          bool sync, SetRun* run, StoreFailure* failure) {
  return run_request(ModelDriver{ env, model.model_code },
                     [&](Request* request) {
    FormatListing listing;
    StoreStatus status = list_formats(model, env, &listing, request->failure);
    if (status != kStoreDone)
      return status;
    run->steps = plan_steps(listing.formats, wanted, sync, model);
    for (const Step& step : run->steps) {
      status = step.kind == Step::kDelete ?
          delete_id_in_request(request, step.format, step.id) :
          replace_in_request(request, step.format);
      if (status != kStoreDone)
        return status;
      ++run->done;
    }
    return kStoreDone;
  }, failure);
}
