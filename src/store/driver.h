// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_DRIVER_H_
#define VTMEDIA_STORE_DRIVER_H_

#include <functional>
#include <string>

#include "store/file_ops.h"

// Where and through what the format operations work. The shipped tool
// passes its compiled-in driver root and the real file system; tests pass
// a temporary root and, for fault injection, their own FileOps.
struct StoreEnv {
  std::string driver_root;
  FileOps* files = real_file_ops();
  // How long to wait for another run on the same model to finish, and
  // what to call once, with the directory, when a run starts waiting.
  int lock_timeout_ms = 30000;
  std::function<void(const std::string& dir)> on_lock_wait;
};

// The four data files of a model's driver that hold label formats.
enum DriverFile {
  kFunctionFile,   // vt<code>func
  kMediaInfoFile,  // mediainf<code>
  kResourceFile,   // vt<code>rc
  kPrintAreaFile,  // PrintArea, the imageable areas
};
const DriverFile kDriverFiles[] = {
  kFunctionFile, kMediaInfoFile, kResourceFile, kPrintAreaFile,
};

// One model's driver, as the store works on it: the environment narrowed
// to the files of |model_code|.
struct ModelDriver : StoreEnv {
  std::string model_code;

  // The directory holding the data files; runs lock it.
  std::string data_dir() const {
    return driver_root + "/" + model_code + "/bin/inf";
  }
  // A data file's name in that directory, and its path, for messages.
  std::string name(DriverFile file) const {
    const std::string names[] = {
      "vt" + model_code + "func", "mediainf" + model_code,
      "vt" + model_code + "rc", "PrintArea",
    };
    return names[file];
  }
  std::string path(DriverFile file) const {
    return data_dir() + "/" + name(file);
  }
  // The spooler-side companion tool, run (never edited) by every add and
  // delete.
  std::string companion() const {
    return driver_root + "/" + model_code + "/bin/lpd/vtmediatoolcups_" +
        model_code;
  }
};

// The name (or path) of the temporary file that takes the place of the
// data file of that name (or path).
inline std::string temp_path_for(const std::string& data_path) {
  return data_path + ".$$$";
}

#endif  // VTMEDIA_STORE_DRIVER_H_
