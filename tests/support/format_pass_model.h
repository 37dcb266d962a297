#ifndef VTMEDIA_TESTS_SUPPORT_FORMAT_PASS_MODEL_H_
#define VTMEDIA_TESTS_SUPPORT_FORMAT_PASS_MODEL_H_

#include <string>
#include <string_view>

#include "split_lines.h"
#include "store/format_id.h"
#include "store/format_rewrite.h"

// What rewrite_without_format must make of |content|, done the plain way:
// the name looked up first, as find_format_id does but passing over
// |pass.skip_id|, then the lines of the identifier found dropped and every
// other line through the edit, then the trailer on a line of its own.
// |*id| receives the identifier, empty when the name is not there.
// Header-only, so that the fuzz targets can use it without the test
// library.
inline std::string expected_pass_output(std::string_view content,
                                        const FormatPass& pass,
                                        std::string* id) {
  id->clear();
  std::vector<std::string_view> lines = split_lines(content);
  for (std::string_view line : lines) {
    std::string found;
    if (format_id_in_line(line, pass.name, &found) && found != pass.skip_id) {
      *id = found;
      break;
    }
  }
  LineEdit edit = pass.edit;
  edit.drop.clear();
  std::string out;
  for (std::string_view line : lines) {
    if (!id->empty() && line_contains(line, *id))
      continue;
    edit_line(edit, line, [&out](std::string_view piece) {
      out.append(piece.data(), piece.size());
      return true;
    });
  }
  if (!pass.trailer.empty() && !out.empty() && out.back() != '\n')
    out += "\n";
  return out + pass.trailer;
}

// How many "*PageSize" lines name |pass.name| under |pass.skip_id| before
// the line that the lookup of expected_pass_output takes (in the whole of
// |content| when it takes none).
inline int expected_skipped(std::string_view content, const FormatPass& pass) {
  int skipped = 0;
  for (std::string_view line : split_lines(content)) {
    std::string found;
    if (format_id_in_line(line, pass.name, &found)) {
      if (found != pass.skip_id)
        break;
      ++skipped;
    }
  }
  return skipped;
}

#endif  // VTMEDIA_TESTS_SUPPORT_FORMAT_PASS_MODEL_H_
