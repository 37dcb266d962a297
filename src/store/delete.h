#ifndef VTMEDIA_STORE_DELETE_H_
#define VTMEDIA_STORE_DELETE_H_

#include <string>

#include "cli/settings.h"
#include "store/store_env.h"

// Removes the label format named |settings.format_name|: runs the
// companion tool, finds the format's identifier in the "*PageSize" lines,
// drops every line holding it and resets a resource-file setting that
// pointed at it to the model's default media. Returns 0, 1 (the name was
// not found; the function file may already be rewritten when only the
// media-information file lacks it), -1 (a file failed; |*error| holds its
// errno) or -2 (the companion tool failed; nothing changed).
int delete_format(FormatSettings settings, const StoreEnv& env, int* error);

// The lines an add enters for its format.
struct AddedFormat {
  std::string id;
  std::string entry;       // below each "[CustomTape]" line
  std::string media_line;  // appended to the media-information file
  std::string area_line;   // appended to the imageable-area file
};

// Returned by remove_format_lines when an older format of the name holds
// the identifier of the one being added.
const int kFormatIdTaken = 2;

// The file steps of a delete of |settings->format_name|, each file in one
// pass, without locking or the companion tool. The lookups pass over
// |skip_id| (empty: none), which the companion tool may have entered for
// an add already; when an older format of the name holds it too, the
// result is kFormatIdTaken, with the file where that showed, and those
// after it, unchanged. With |added|, the add that follows the delete in an
// add request is made in the same passes. Returns as delete_format
// without -2, or kFormatIdTaken; with |added| never 1.
int remove_format_lines(FormatSettings* settings, const StoreEnv& env,
                        const std::string& skip_id, const AddedFormat* added,
                        int* error);

#endif  // VTMEDIA_STORE_DELETE_H_
