#ifndef VTMEDIA_STORE_ADD_H_
#define VTMEDIA_STORE_ADD_H_

#include <string>

#include "cli/settings.h"
#include "store/store_env.h"

// Millimetres per inch as the driver has always converted them; the
// printed sizes depend on it, so it is not 25.4.
const double kMillimetresPerInch = 25.43859649;

// The line added to the media-information file: the format's size in
// printer dots, across and along the feed.
std::string media_info_line(const FormatSettings& settings,
                            const std::string& format_id);

// The line added to the imageable-area file, in points of 1/72 inch.
std::string print_area_line(const FormatSettings& settings,
                            const std::string& format_id);

// Makes a new label format known: runs the companion tool, then enters the
// format under every "[CustomTape]" line of the function file and appends
// its lines to the media-information and imageable-area files. Returns
// 0, -1 (a file failed; |*error| holds its errno; files before it in that
// order stay changed) or -2 (the companion tool failed; nothing changed).
int add_format(FormatSettings settings, const StoreEnv& env, int* error);

// An add request: deletes an earlier format of the same name, whose
// absence is normal, then adds, both under one lock so that no other run
// comes between them. The companion tool runs for the delete and then for
// the add before any file changes, and each file is rewritten once with
// both changes. Returns as add_format; -2 from the delete's run stops it
// at once; -2 from the add's run still leaves the delete done.
int replace_format(const FormatSettings& settings, const StoreEnv& env,
                   int* error);

#endif  // VTMEDIA_STORE_ADD_H_
