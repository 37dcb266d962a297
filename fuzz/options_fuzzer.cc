// SPDX-License-Identifier: GPL-2.0-or-later
// Option parsing: the argument vector comes from the fuzz input. Whatever
// the command line, a request the parser accepts must be within the limits
// that the driver files and the companion tool rely on, and a format added
// from it must be found again by its name.

#include <stddef.h>
#include <stdint.h>
#include <sys/time.h>

#include <string>
#include <vector>

#include "cli/model.h"
#include "cli/options.h"
#include "cli/tape.h"
#include "fuzz_check.h"
#include "store/format_id.h"

namespace {

const int64_t kMaxSize = 2147483647;
const int64_t kMinTapeHeight = 4;
const int64_t kMaxTapeHeight = 1000;
const int64_t kMaxHeadDots = 128;
const size_t kMediaNameLength = 10;

// Text that ends up inside a line of a driver file.
bool clean_text(const std::string& text, size_t max_length) {
  if (text.empty() || text.size() > max_length)
    return false;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  // The first byte picks the model, the rest split at NUL bytes are the
  // arguments after the program name.
  static const char* const kCodes[] = {
    "rk210", "rk260", "rk380mx", "tx4100", "txr580", "txr520", "txr390k",
    "txr330qe", "txr300", "txd270",
  };
  std::string program = std::string("vtmediatoollpr_") +
      kCodes[data[0] % (sizeof(kCodes) / sizeof(kCodes[0]))];
  std::vector<std::string> args = { program, std::string() };
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0)
      args.push_back(std::string());
    else
      args.back() += static_cast<char>(data[i]);
  }
  std::vector<const char*> argv;
  for (const std::string& arg : args)
    argv.push_back(arg.c_str());
  argv.push_back(nullptr);

  FormatSettings settings;
  FUZZ_CHECK(identify_model(program.c_str(), &settings));
  CommandLine command = parse_options(static_cast<int>(args.size()),
                                      argv.data(), &settings);
  Action action = command.action;
  if (action == kActionUsage)
    return 0;
  // Only the set commands name a formats file; --export none.
  bool with_file = action == kActionDiff || action == kActionApply ||
      action == kActionSync;
  FUZZ_CHECK(command.file.empty() != with_file);
  if (action == kActionExport || action == kActionDiff)
    return 0;

  FUZZ_CHECK(clean_text(settings.printer_name, kMaxPrinterName));
  if (with_file)
    return 0;
  FUZZ_CHECK(clean_text(settings.format_name, kMaxFormatName));
  if (action == kActionDelete)
    return 0;

  FUZZ_CHECK(action == kActionAdd);
  FUZZ_CHECK(settings.width_mm > 0 && settings.width_mm <= kMaxSize);
  FUZZ_CHECK(settings.height_mm > 0 && settings.height_mm <= kMaxSize);
  if (is_roll_label(settings)) {
    FUZZ_CHECK(settings.head_dots == 0);
    FUZZ_CHECK(settings.media_name.empty());
  } else {
    FUZZ_CHECK(settings.height_mm >= kMinTapeHeight &&
               settings.height_mm <= kMaxTapeHeight);
    FUZZ_CHECK(settings.head_dots >= 0 && settings.head_dots <= kMaxHeadDots);
    FUZZ_CHECK(settings.media_name.empty() ||
               (settings.media_name.size() == kMediaNameLength &&
                settings.media_name.compare(0, 3, "_vt") == 0));
  }

  // The delete that replaces a format relies on finding it by name in the
  // "*PageSize" line the companion tool writes for it.
  struct timeval now;
  now.tv_sec = static_cast<time_t>(size * 7919);
  now.tv_usec = static_cast<suseconds_t>((data[0] * 104729u) % 1000000);
  std::string id = make_format_id(settings, now);
  std::string line = "*PageSize " + id + "/" + settings.format_name +
      ": \"<</PageSize[1 1]/ImagingBBox null>>setpagedevice\"\n";
  PageSizeEntry entry;
  FUZZ_CHECK(parse_page_size_line(line, &entry));
  FUZZ_CHECK(entry.id == id && entry.name == settings.format_name);
  return 0;
}
