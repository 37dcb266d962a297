// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/options.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "cli/tape.h"
#include "cli/unicode.h"
#include "store/format_id.h"

namespace {

const size_t kMaxNumberText = 32;

// Why |value| of |option| is refused as a text of 1 to |max_len| bytes, or
// "" when it is not.
std::string text_refusal(const char* option, const char* value,
                         size_t max_len) {
  size_t len = strlen(value);
  if (len < 1)
    return std::string(option) + ": empty";
  if (len > max_len)
    return std::string(option) + ": " + std::to_string(len) +
        " bytes, at most " + std::to_string(max_len);
  if (has_control_char(value))
    return std::string(option) + ": holds a control character";
  return "";
}

// Inside the driver files a format name holding the identifier marker
// would be taken for another format's identifier, and one holding the
// section line for a section of its own.
std::string name_refusal(const char* option, const char* value) {
  std::string refusal = text_refusal(option, value, kMaxFormatName);
  if (!refusal.empty())
    return refusal;
  if (strstr(value, "VtL") != nullptr)
    return std::string(option) +
        ": holds \"VtL\", which marks identifiers in the driver files";
  if (strstr(value, "[CustomTape]") != nullptr)
    return std::string(option) +
        ": holds \"[CustomTape]\", which marks a section of the driver files";
  return "";
}

// A name to add that a listing would show as two lines, or with its
// fields turned round: line-splitting libraries end a line at U+0085 and
// U+2028. A delete still takes one, so that a format stored before such
// names were refused can go.
std::string hidden_char_refusal(const char* value) {
  char32_t c = first_hidden_char(value);
  if (c == 0)
    return "";
  char refusal[sizeof("-n: holds U+FFFFFFFF")];
  snprintf(refusal, sizeof(refusal), "-n: holds U+%04X",
           static_cast<unsigned>(c));
  return refusal;
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

// The usage screen, and why.
CommandLine refused(const std::string& why) {
  CommandLine line;
  line.reason = why;
  return line;
}

// What the value of option |letter| is, for saying that it is missing.
const char* value_of(char letter) {
  switch (letter) {
  case 'P': return "the printer queue";
  case 'n': return "the name to add";
  case 'd': return "the name to delete";
  case 'w': return "the width in mm";
  default: return "the height in mm";
  }
}

// |option| stands last, without its value. A person typing -h alone
// wants help, one typing -help a word the tool reads as -h.
std::string missing_value(const char* option) {
  std::string what = std::string("-") + option[1];
  std::string value = std::string("needs a value, ") + value_of(option[1]);
  if (strlen(option) == 2)
    return what + " " + value;
  return std::string(option) + " is read as " + what + ", which " + value;
}

// Where an option belongs stands a word, right after the value of the
// text option |argv[at]|: the rest of a value given unquoted, as in
// -n Shop 12.
std::string unquoted_value(int argc, const char* const* argv, int at) {
  std::string value = argv[at + 1];
  for (int i = at + 2; i < argc && argv[i][0] != '-'; ++i)
    value += std::string(" ") + argv[i];
  std::string quoted = "'";
  for (char c : value)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return std::string(argv[at]) + " " + value + ": quote a value that holds "
      "blanks, as in " + argv[at] + " " + quoted + "'";
}

}  // namespace

CommandLine parse_options(int argc, const char* const* argv,
                          FormatSettings* settings) {
  if (argc < 2)
    return refused("no options: an add needs -P, -n, -w and -h, a delete "
                   "-P and -d");

  bool have_printer = false, have_name = false, have_delete = false;
  bool have_width = false, have_height = false;
  bool tape = !is_roll_label(*settings);
  TapeFit fit;

  int text_at = 0;  // the last -P, -n or -d read
  for (int i = 1; i < argc; i += 2) {
    const char* option = argv[i];
    if (option[0] != '-' && option[0] != '\0' && text_at == i - 2)
      return refused(unquoted_value(argc, argv, text_at));
    for (const char* word : { "--list", "--help", "--version" }) {
      if (strcmp(option, word) == 0)
        return refused(std::string(word) + " takes no other arguments");
    }
    // Only the first two characters name the option: -width is -w.
    if (option[0] != '-' || option[1] == '\0' ||
        strchr("Pndwh", option[1]) == nullptr)
      return refused(std::string(option) + ": no such option");
    if (i + 1 == argc)
      return refused(missing_value(option));
    const char* value = argv[i + 1];
    std::string refusal;
    switch (option[1]) {
    case 'P':
      refusal = text_refusal("-P", value, kMaxPrinterName);
      if (!refusal.empty())
        return refused(refusal);
      settings->printer_name = value;
      have_printer = true;
      text_at = i;
      break;
    case 'n':
    case 'd':
      refusal = name_refusal(option[1] == 'n' ? "-n" : "-d", value);
      if (refusal.empty() && option[1] == 'n')
        refusal = hidden_char_refusal(value);
      if (!refusal.empty())
        return refused(refusal);
      settings->format_name = value;
      (option[1] == 'n' ? have_name : have_delete) = true;
      text_at = i;
      break;
    case 'w': {
      int64_t width;
      if (!read_size(value, &width))
        return refused(std::string("-w ") + value +
                       ": not a width of 1 to 2147483647 mm");
      if (!tape) {
        settings->width_mm = width;
      } else {
        // A later -w replaces the earlier one whole, tape included.
        settings->media_name.clear();
        settings->head_dots = 0;
        if (!apply_width_rule(width, settings, &fit.row))
          return refused(std::string("-w ") + value +
                         ": wider than the widest tape, 24 mm");
        fit.asked_width_mm = width;
        fit.tube_mark = heat_shrink_mark(settings->format_name);
      }
      have_width = true;
      break;
    }
    case 'h': {
      int64_t height;
      if (!read_size(value, &height))
        return refused(std::string("-h ") + value +
                       ": not a height of 1 to 2147483647 mm");
      bool tube = heat_shrink_mark(settings->format_name) != nullptr;
      settings->height_mm = tape ? fit_tape_height(height, tube) : height;
      fit.asked_height_mm = height;
      have_height = true;
      break;
    }
    }
  }

  if (!have_printer)
    return refused("-P missing: the printer queue is needed");
  if (have_name) {
    if (have_delete)
      return refused("-n and -d together");
    if (!have_width || !have_height)
      return refused("-n needs -w and -h");
    return { kActionAdd, "", fit };
  }
  if (!have_delete)
    return refused("-n or -d missing: nothing to add or delete");
  return { kActionDelete, "", fit };
}
