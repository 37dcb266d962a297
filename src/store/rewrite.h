#ifndef VTMEDIA_STORE_REWRITE_H_
#define VTMEDIA_STORE_REWRITE_H_

#include <functional>
#include <string>

#include "store/file_ops.h"
#include "store/line_edit.h"
#include "store/output_file.h"

// Replaces the data file at |path| by its lines passed through |edit|,
// followed by |trailer|. The new content goes to the ".$$$" file beside it,
// which is written in full, synced, given mode 0666 and only then renamed
// over the data file, so readers see the old file or the new one, never a
// part. Returns 0, or -1 with the errno of the failing call in |*error|;
// on failure the data file is untouched and no temporary file remains.
int rewrite_file(FileOps* files, const std::string& path,
                 const LineEdit& edit, const std::string& trailer,
                 int* error);

// Fills the temporary file of a rewrite from the open data file. Returns
// 1 to put the result in place, 0 to leave the data file as it was, or
// -1 with the errno in |*error|.
typedef std::function<int(int data_fd, OutputFile* out, int* error)>
    ContentWriter;

// The same replacement, with the content made by |write|. Returns 1 when
// the data file was replaced, 0 when |write| left it as it was (or, with
// |absent_ok|, when there is no data file), -1 as rewrite_file.
int rewrite_file_with(FileOps* files, const std::string& path,
                      const ContentWriter& write, bool absent_ok,
                      int* error);

// Copies the lines that |reader| has yet to hand out through |edit| into
// |out|, then |trailer|, which starts on a line of its own. Returns
// false on failure, with the errno in |*error|.
class LineReader;
bool copy_edited(LineReader* reader, const LineEdit& edit,
                 const std::string& trailer, OutputFile* out, int* error);

#endif  // VTMEDIA_STORE_REWRITE_H_
