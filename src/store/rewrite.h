#ifndef VTMEDIA_STORE_REWRITE_H_
#define VTMEDIA_STORE_REWRITE_H_

#include <string>

#include "store/file_ops.h"
#include "store/line_edit.h"

// Replaces the data file at |path| by its lines passed through |edit|,
// followed by |trailer|. The new content goes to the ".$$$" file beside it,
// which is written in full, synced, given mode 0666 and only then renamed
// over the data file, so readers see the old file or the new one, never a
// part. Returns 0, or -1 with the errno of the failing call in |*error|;
// on failure the data file is untouched and no temporary file remains.
int rewrite_file(FileOps* files, const std::string& path,
                 const LineEdit& edit, const std::string& trailer,
                 int* error);

#endif  // VTMEDIA_STORE_REWRITE_H_
