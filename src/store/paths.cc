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
  std::string dir = data_dir_path(root, model_code) + "/";
  switch (file) {
  case kFunctionFile:
    return dir + "vt" + model_code + "func";
  case kMediaInfoFile:
    return dir + "mediainf" + model_code;
  case kResourceFile:
    return dir + "vt" + model_code + "rc";
  case kPrintAreaFile:
    return dir + "PrintArea";
  case kDriverFileCount:
    break;
  }
  return std::string();
}

std::string temp_path_for(const std::string& data_path) {
  return data_path + ".$$$";
}
