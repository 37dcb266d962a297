// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_STORE_REWRITE_H_
#define VTMEDIA_STORE_REWRITE_H_

#include <functional>
#include <string>
#include <string_view>

#include "store/file_ops.h"
#include "store/status.h"

// What a rewrite does to the lines of a driver file. Only the part of a
// line before its first NUL byte is looked at; tests are byte-exact and
// case-sensitive; every line not selected is copied byte for byte.
struct LineEdit {
  enum Kind {
    kInsertAfter,  // write |text| after each line that holds |needle|
    kDrop,         // leave out the lines that hold the identifier |needle|
    kReplace,      // write |text| in place of each line holding |needle|
    kAppend,       // copy every line, then |text| on a line of its own
  };
  Kind kind = kAppend;
  std::string needle;  // holds no newline; never empty but for kAppend
  std::string text;
};

// Receives the output of an edit piece by piece; false stops the edit.
typedef std::function<bool(std::string_view)> PieceSink;

// Applies |edit|, whose needle is not empty, to a run of whole lines,
// handing unchanged stretches on whole. kDrop and kReplace select a line
// by the identifier |needle| standing whole in it (see find_identifier);
// kInsertAfter by |needle| anywhere in it. The appended text of kAppend is
// not written here. Returns false when the sink refuses.
bool edit_block(const LineEdit& edit, std::string_view block,
                const PieceSink& sink);

// Replaces the data file |file| by its lines passed through |edit|
// (an appended text starts on a line of its own). The new content goes to
// the ".$$$" file beside it in the same directory, created exclusively, written in full, synced,
// given the data file's owner, attributes and mode 0666 and only then
// renamed over the data file, so readers see the old file or the new
// one, never a part. Returns kStoreDone, or kStoreFileFailed with
// |*failure| naming the data file and the errno of the failing call (an
// edit that selects by an empty needle fails with EINVAL); the data file
// is then untouched and no temporary file remains.
StoreStatus rewrite_file(FileOps* files, const FileAt& file,
                         const LineEdit& edit, StoreFailure* failure);

#endif  // VTMEDIA_STORE_REWRITE_H_
