#ifndef VTMEDIA_STORE_FORMAT_REWRITE_H_
#define VTMEDIA_STORE_FORMAT_REWRITE_H_

#include <string>

#include "store/file_ops.h"
#include "store/line_edit.h"

// One pass over a data file that looks a format up by name and takes its
// lines out, while making the other changes of the same request.
struct FormatPass {
  std::string name;     // looked up in the file's "*PageSize" lines
  std::string skip_id;  // an identifier the lookup passes over (empty: none)
  LineEdit edit;        // done to every line; its |drop| is the pass's own
  std::string trailer;  // appended, on a line of its own
  // Whether to refuse the pass when two or more "*PageSize" lines name the
  // format under |skip_id|: one may be the companion tool's, entered for
  // an add under that identifier, but then an older format holds it too.
  bool refuse_taken_id = false;
};

// Rewrites the data file at |path| through |pass.edit| and |pass.trailer|
// while looking up |pass.name| as find_format_id does; every line holding
// the identifier found is dropped, those before its "*PageSize" line
// included. Reads the file once, unless lines that could hold the
// identifier come before that line; those are gone over again. A pass
// that changes the file only when the name is there (a plain copy with no
// trailer) writes nothing until the name is found.
//
// Returns 1 with the identifier in |*id|; 0 when the name is not there,
// the file then rewritten only if the edit or trailer changes something
// (a missing file, left alone, also answers 0); 2 when |refuse_taken_id|
// refused the pass, the file left alone; -1 as rewrite_file.
int rewrite_without_format(FileOps* files, const std::string& path,
                           const FormatPass& pass, std::string* id,
                           int* error);

#endif  // VTMEDIA_STORE_FORMAT_REWRITE_H_
