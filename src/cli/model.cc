// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/model.h"

#include <string.h>

namespace {

// A row of the model table: the key searched for in the program name, the
// code the driver paths are built from, the kind of printer and the print
// queue the model is usually installed under.
struct ModelEntry {
  const char* key;
  const char* model_code;
  int32_t model_type;
  const char* queue;
};

// Search order matters: the first key found wins.
const ModelEntry kModels[] = {
  { "rk210", "rk210", 0, "" },
  { "rk260", "rk260", 1, "" },
  { "rk380mx", "rk380mx", 2, "" },
  { "tx4100", "tx4100zn", 3, "TX-4100ZN" },  // a code that differs from its key
  { "txr580", "txr580", 3, "TX-R580" },
  { "txr520", "txr520", 3, "TX-R520" },
  { "txr390k", "txr390k", 3, "TXR390K" },
  { "txr330qe", "txr330qe", 3, "TXR330qe" },
  { "txr300", "txr300", 3, "TXR300" },
  { "txd270", "txd270", 3, "TX-D270" },
};

// The first row whose key occurs in |text|, or null.
const ModelEntry* model_in(const char* text) {
  for (const ModelEntry& model : kModels) {
    if (strstr(text, model.key) != nullptr)
      return &model;
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

const char* queue_name_for(const std::string& model_code) {
  for (const ModelEntry& model : kModels) {
    if (model_code == model.model_code)
      return model.queue;
  }
  return "";
}
