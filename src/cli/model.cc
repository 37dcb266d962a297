// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/model.h"

#include <string.h>

namespace {

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
