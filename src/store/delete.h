#ifndef VTMEDIA_STORE_DELETE_H_
#define VTMEDIA_STORE_DELETE_H_

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

#endif  // VTMEDIA_STORE_DELETE_H_
