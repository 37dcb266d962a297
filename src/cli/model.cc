// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/model.h"

#include <string.h>

// Search order matters: the first key found wins.
const ModelEntry kModels[] = {
  { "rk210", "rk210", 0 },
  { "rk260", "rk260", 1 },
  { "rk380mx", "rk380mx", 2 },
  { "tx4100", "tx4100zn", 3 },  // the only code that differs from its key
  { "txr580", "txr580", 3 },
  { "txr520", "txr520", 3 },
  { "txr390k", "txr390k", 3 },
  { "txr330qe", "txr330qe", 3 },
  { "txr300", "txr300", 3 },
  { "txd270", "txd270", 3 },
};
const int kModelCount = sizeof(kModels) / sizeof(kModels[0]);

namespace {

// The first row whose key occurs in |text|, or null.
const ModelEntry* model_in(const char* text) {
  for (int i = 0; i < kModelCount; ++i) {
    if (strstr(text, kModels[i].key) != nullptr)
      return &kModels[i];
  }
  return nullptr;
}

}  // namespace

bool identify_model(const char* program_path, FormatSettings* settings) {
  if (program_path == nullptr)
    return false;
  // The name the tool was installed under decides; a directory that
  // happens to hold another model's key must not.
  const char* slash = strrchr(program_path, '/');
  const ModelEntry* model = model_in(slash ? slash + 1 : program_path);
  if (model == nullptr)
    model = model_in(program_path);
  if (model == nullptr)
    return false;
  settings->model_code = model->model_code;
  settings->model_type = model->model_type;
  return true;
}
