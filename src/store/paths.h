// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_PATHS_H_
#define VTMEDIA_STORE_PATHS_H_

#include <string>

// The four data files of a model's driver that hold label formats, in the
// order driver_file_path names them.
enum DriverFile {
  kFunctionFile,   // vt<code>func
  kMediaInfoFile,  // mediainf<code>
  kResourceFile,   // vt<code>rc
  kPrintAreaFile,  // PrintArea, the imageable areas
  kDriverFileCount
};

// The driver's spooler-side companion tool, run (never edited) by every
// add and delete.
std::string companion_path(const std::string& root,
                           const std::string& model_code);

// The directory holding the data files; runs lock it.
std::string data_dir_path(const std::string& root,
                          const std::string& model_code);

std::string driver_file_path(const std::string& root,
                             const std::string& model_code, DriverFile file);

// The temporary file that takes a data file's place.
std::string temp_path_for(const std::string& data_path);

#endif  // VTMEDIA_STORE_PATHS_H_
