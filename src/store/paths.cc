// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/paths.h"

std::string companion_path(const std::string& root,
                           const std::string& model_code) {
  return root + "/" + model_code + "/bin/lpd/vtmediatoolcups_" + model_code;
}

std::string data_dir_path(const std::string& root,
                          const std::string& model_code) {
  return root + "/" + model_code + "/bin/inf";
}

std::string driver_file_path(const std::string& root,
                             const std::string& model_code, DriverFile file) {
  // In the order of DriverFile.
  const std::string names[kDriverFileCount] = {
    "vt" + model_code + "func", "mediainf" + model_code,
    "vt" + model_code + "rc", "PrintArea",
  };
  return data_dir_path(root, model_code) + "/" + names[file];
}

std::string temp_path_for(const std::string& data_path) {
  return data_path + ".$$$";
}
