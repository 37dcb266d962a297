// SPDX-License-Identifier: GPL-2.0-or-later
// The formats file: its text comes from the fuzz input. Whatever the
// text, the parser answers without running away, a file it takes names
// each format once, and the line written for each format it read reads
// back as that same format.

#include <stddef.h>
#include <stdint.h>

#include <set>
#include <string>
#include <vector>

#include "cli/formats_file.h"
#include "cli/model.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  // The first byte picks a roll-label or a tape model, the rest is the
  // file.
  FormatSettings model;
  FUZZ_CHECK(identify_model(data[0] % 2 ? "vtmediatoollpr_txr580"
                                        : "vtmediatoollpr_rk210", &model));
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<FormatSettings> formats;
  FileRefusal refusal;
  if (!parse_formats_file(text, model, &formats, &refusal)) {
    FUZZ_CHECK(refusal.line > 0 && !refusal.what.empty());
    return 0;
  }
  std::set<std::string> names;
  for (const FormatSettings& format : formats) {
    FUZZ_CHECK(names.insert(format.format_name).second);
    std::string line;
    FUZZ_CHECK(formats_file_line(as_added(format), model, &line));
    std::vector<FormatSettings> again;
    FUZZ_CHECK(parse_formats_file(line, model, &again, &refusal));
    FUZZ_CHECK(again.size() == 1);
    FUZZ_CHECK(same_format(as_added(again[0]), format));
  }
  return 0;
}
