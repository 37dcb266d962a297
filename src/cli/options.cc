// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/options.h"

#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "cli/tape.h"
#include "store/format_id.h"

namespace {

const size_t kMaxNumberText = 32;

// Why |value| of |option| is refused as a text of 1 to |max_len| bytes, or
// "" when it is not.
std::string text_refusal(const std::string& option, const std::string& value,
                         size_t max_len) {
  if (value.empty())
    return option + ": empty";
  if (value.size() > max_len)
    return option + ": " + std::to_string(value.size()) + " bytes, at most " +
        std::to_string(max_len);
  if (has_control_char(value))
    return option + ": holds a control character";
  return "";
}

// A size is the leading decimal number of the value, as strtol reads it
// ("12mm" is 12). Sizes are later printed through 32-bit conversions, so
// anything above that range is refused rather than silently wrapped.
bool read_size(const std::string& value, int64_t* out) {
  if (value.empty() || value.size() > kMaxNumberText)
    return false;
  errno = 0;
  long number = strtol(value.c_str(), nullptr, 10);
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

// The commands on a model's formats as a set, and the shape each wants,
// for saying that a command line gives them in another.
const struct {
  const char* word;
  Action action;
  const char* shape;
} kSetWords[] = {
  { "--export", kActionExport, "takes no other arguments" },
  { "--diff", kActionDiff, "takes one FILE and no other arguments" },
  { "--apply", kActionApply, "takes a FILE and -P QUEUE, and no other "
    "arguments" },
  { "--sync", kActionSync, "takes a FILE and -P QUEUE, and no other "
    "arguments" },
};

bool is_printer_option(const char* option) {
  return option[0] == '-' && option[1] == 'P';
}

// |argv| as one of the set commands: "--export", "--diff FILE", and
// "--apply FILE" or "--sync FILE" with "-P QUEUE" before or after; false
// where it is none of them.
bool read_set_command(int argc, const char* const* argv,
                      FormatSettings* settings, CommandLine* line) {
  for (const auto& set : kSetWords) {
    bool with_queue = set.action == kActionApply || set.action == kActionSync;
    int at = 1;
    if (with_queue && argc == 5 && is_printer_option(argv[1]))
      at = 3;
    if (argc != (set.action == kActionExport ? 2 : with_queue ? 5 : 3) ||
        strcmp(argv[at], set.word) != 0 ||
        (with_queue && !is_printer_option(argv[4 - at])))
      continue;
    *line = CommandLine();
    if (with_queue)
      line->reason = read_printer("-P", argv[5 - at], settings);
    if (line->reason.empty() && set.action != kActionExport) {
      line->file = argv[at + 1];
      if (line->file.empty())
        line->reason = std::string(set.word) +
            ": empty, where a FILE, or - for standard input, belongs";
    }
    if (line->reason.empty())
      line->action = set.action;
    return true;
  }
  return false;
}

}  // namespace

std::string read_printer(const std::string& label, const std::string& value,
                         FormatSettings* settings) {
  std::string refusal = text_refusal(label, value, kMaxPrinterName);
  if (refusal.empty())
    settings->printer_name = value;
  return refusal;
}

// Inside the driver files a format name holding the identifier marker
// would be taken for another format's identifier, and one holding the
// section line for a section of its own.
std::string read_name(const std::string& label, const std::string& value,
                      FormatSettings* settings) {
  std::string refusal = text_refusal(label, value, kMaxFormatName);
  if (!refusal.empty())
    return refusal;
  if (value.find("VtL") != std::string::npos)
    return label + ": holds \"VtL\", which marks identifiers in the driver "
        "files";
  if (value.find("[CustomTape]") != std::string::npos)
    return label + ": holds \"[CustomTape]\", which marks a section of the "
        "driver files";
  settings->format_name = value;
  return "";
}

std::string read_width(const std::string& label, const std::string& value,
                       FormatSettings* settings, TapeFit* fit) {
  int64_t width;
  if (!read_size(value, &width))
    return label + " " + value + ": not a width of 1 to 2147483647 mm";
  if (is_roll_label(*settings)) {
    settings->width_mm = width;
    return "";
  }
  // A later -w replaces the earlier one whole, tape included.
  settings->media_name.clear();
  settings->head_dots = 0;
  if (!apply_width_rule(width, settings, &fit->row))
    return label + " " + value + ": wider than the widest tape, 24 mm";
  fit->asked_width_mm = width;
  fit->tube_mark = heat_shrink_mark(settings->format_name);
  return "";
}

std::string read_height(const std::string& label, const std::string& value,
                        FormatSettings* settings, TapeFit* fit) {
  int64_t height;
  if (!read_size(value, &height))
    return label + " " + value + ": not a height of 1 to 2147483647 mm";
  bool tube = heat_shrink_mark(settings->format_name) != nullptr;
  settings->height_mm =
      is_roll_label(*settings) ? height : fit_tape_height(height, tube);
  fit->asked_height_mm = height;
  return "";
}

CommandLine parse_options(int argc, const char* const* argv,
                          FormatSettings* settings) {
  if (argc < 2)
    return refused("no options: an add needs -P, -n, -w and -h, a delete "
                   "-P and -d");
  CommandLine set_command;
  if (read_set_command(argc, argv, settings, &set_command))
    return set_command;

  bool have_printer = false, have_name = false, have_delete = false;
  bool have_width = false, have_height = false;
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
    for (const auto& set : kSetWords) {
      if (strcmp(option, set.word) == 0)
        return refused(std::string(set.word) + " " + set.shape);
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
      refusal = read_printer("-P", value, settings);
      have_printer = true;
      text_at = i;
      break;
    case 'n':
    case 'd':
      refusal = read_name(option[1] == 'n' ? "-n" : "-d", value, settings);
      (option[1] == 'n' ? have_name : have_delete) = true;
      text_at = i;
      break;
    case 'w':
      refusal = read_width("-w", value, settings, &fit);
      have_width = true;
      break;
    case 'h':
      refusal = read_height("-h", value, settings, &fit);
      have_height = true;
      break;
    }
    if (!refusal.empty())
      return refused(refusal);
  }

  if (!have_printer)
    return refused("-P missing: the printer queue is needed");
  if (have_name) {
    if (have_delete)
      return refused("-n and -d together");
    if (!have_width || !have_height)
      return refused("-n needs -w and -h");
    return { kActionAdd, "", fit, "" };
  }
  if (!have_delete)
    return refused("-n or -d missing: nothing to add or delete");
  return { kActionDelete, "", fit, "" };
}
