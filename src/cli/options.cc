// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/options.h"

#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "cli/tape.h"

namespace {

const size_t kMaxNumberText = 32;

// Names and printer queues end up inside lines and tab-separated fields of
// the driver files; a control character there would forge extra ones.
bool has_control_char(const char* text) {
  for (const unsigned char* p = (const unsigned char*)text; *p; ++p) {
    if (*p < 0x20 || *p == 0x7F)
      return true;
  }
  return false;
}

bool read_text(const char* value, size_t max_len, std::string* out) {
  size_t len = strlen(value);
  if (len < 1 || len > max_len || has_control_char(value))
    return false;
  *out = value;
  return true;
}

// Inside the driver files a format name holding the identifier marker
// would be taken for another format's identifier, and one holding the
// section line for a section of its own.
bool read_format_name(const char* value, std::string* out) {
  return read_text(value, kMaxFormatName, out) &&
      out->find("VtL") == std::string::npos &&
      out->find("[CustomTape]") == std::string::npos;
}

// A size is the leading decimal number of the value, as strtol reads it
// ("12mm" is 12). Sizes are later printed through 32-bit conversions, so
// anything above that range is refused rather than silently wrapped.
bool read_size(const char* value, int64_t* out) {
  size_t len = strlen(value);
  if (len < 1 || len > kMaxNumberText)
    return false;
  errno = 0;
  long number = strtol(value, nullptr, 10);
  if (errno == ERANGE || number <= 0 || number > INT32_MAX)
    return false;
  *out = number;
  return true;
}

}  // namespace

Action parse_options(int argc, const char* const* argv,
                     FormatSettings* settings) {
  int pairs = argc - 1;
  if (pairs < 2 || pairs % 2 != 0)
    return kActionUsage;

  bool have_printer = false, have_name = false, have_delete = false;
  bool have_width = false, have_height = false;
  bool tape = !is_roll_label(*settings);

  for (int i = 1; i + 1 < argc; i += 2) {
    const char* option = argv[i];
    const char* value = argv[i + 1];
    // Only the first two characters name the option: -width is -w.
    if (option[0] != '-' || option[1] == '\0')
      return kActionUsage;
    switch (option[1]) {
    case 'P':
      if (!read_text(value, kMaxPrinterName, &settings->printer_name))
        return kActionUsage;
      have_printer = true;
      break;
    case 'n':
    case 'd':
      if (!read_format_name(value, &settings->format_name))
        return kActionUsage;
      (option[1] == 'n' ? have_name : have_delete) = true;
      break;
    case 'w': {
      int64_t width;
      if (!read_size(value, &width))
        return kActionUsage;
      if (!tape) {
        settings->width_mm = width;
      } else {
        // A later -w replaces the earlier one whole, tape included.
        settings->media_name.clear();
        settings->head_dots = 0;
        if (!apply_width_rule(width, settings))
          return kActionUsage;
      }
      have_width = true;
      break;
    }
    case 'h': {
      int64_t height;
      if (!read_size(value, &height))
        return kActionUsage;
      settings->height_mm = tape ?
          fit_tape_height(height, is_heat_shrink(settings->format_name)) :
          height;
      have_height = true;
      break;
    }
    default:
      return kActionUsage;
    }
  }

  if (!have_printer)
    return kActionUsage;
  if (have_name) {
    if (have_delete || !have_width || !have_height)
      return kActionUsage;
    return kActionAdd;
  }
  return have_delete ? kActionDelete : kActionUsage;
}
