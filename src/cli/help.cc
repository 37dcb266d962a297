// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/help.h"

#include <stdio.h>

#include <algorithm>

#include "cli/model.h"
#include "cli/options.h"
#include "cli/tape.h"

#ifndef VT_VERSION
#error "VT_VERSION must give the project's version"
#endif

namespace {

const char kRule[] = "===========================\n";
const char kVersion[] = "v 0.2";

// "  3.5: 2  6: 4 ..." for one table: each width as sold, and what it
// prints, in mm.
std::string widths(const TapeMediaRow* rows, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += std::string("  ") + rows[i].label + ": " +
        std::to_string(rows[i].printable_mm);
  return text + "\n";
}

std::string tape_rules() {
  int tapes, tubes;
  const TapeMediaRow* tape = tape_rows(false, &tapes);
  const TapeMediaRow* tube = tape_rows(true, &tubes);
  return
      "Tapes, each width as sold and what it prints, in mm:\n" +
      widths(tape, tapes) +
      "A width takes the narrowest tape at least as wide (up to " +
      std::to_string(tape[0].nominal_mm) + " mm, the " + tape[0].label +
      " mm\ntape) and, where wider than that tape prints, is cut to it; a "
      "width\nabove " + tape[tapes - 1].label + " mm is refused.\n"
      "A name holding \"HS\" or \"hs\" makes a heat-shrink tube format, "
      "whose widths\ncome from the tube table instead, a width above " +
      tube[tubes - 1].label + " mm taken as given:\n" + widths(tube, tubes) +
      "The name counts only where -n comes before -w and -h:\n"
      "  -n 'HS cable' -w 12 -h 30   stores 9 x 30 mm on 12 mm tube\n"
      "  -w 12 -h 30 -n 'HS cable'   stores 10 x 30 mm on 12 mm tape\n"
      "so a name like 'Cable paths' goes on tape when it comes last.\n"
      "Heights run from " + std::to_string(kTapeHeightMin) + " mm to " +
      std::to_string(kTapeHeightMax) + " mm on tape and " +
      std::to_string(kTubeHeightMax) + " mm on tube; a shorter one\nis "
      "raised, a longer one capped. At a terminal, an add the rules "
      "changed\nsays what it stored.\n\n";
}

}  // namespace

void print_usage(const FormatSettings& settings) {
  const char* code = settings.model_code.c_str();
  const char* queue = queue_name_for(settings.model_code);
  printf("%s LPRng Mediaform Tool (%s)\tAdds or deletes the custom label "
         "formats of this printer's driver.\n", kRule, kVersion);
  printf(" Usage: vtmediatoollpr_xxxx -P Printer Name [-n add a Lable Format"
         " Name (<=%d bytes) -w Media Width(unit:mm) -h Media Height"
         "(unit:mm)]/[-d delete Lable Format Name]\n", (int)kMaxFormatName);
  fputs(" **Label width is  3.5mm,6mm,9mm,12mm,18mm,24mm,36mm and Height is"
        " between 4mm and 1000mm(HS tape max is 500mm)\n"
        " For example:\n"
        " 1. Add a new Label Format with \"New Label Format\" name and 12mm"
        " width and 50mm length:\n", stdout);
  printf("\t\"vtmediatoollpr_%s -P %s -n New\\ Label Namw (\"HS\" contain"
         " name means heat srink tube ex.HS12mmx50mm)\\ Format -w 12 -h 50\""
         " [enter]\n\n", code, queue);
  fputs(" 2. Remove the Label Format with \"New Label Format\" name:\n",
        stdout);
  printf("\t\"vtmediatoollpr_%s -P %s -d New\\ Label\\ Format\" [enter]\n\n"
         "%s", code, queue, kRule);
}

std::string help_text(const FormatSettings& settings) {
  std::string program = "vtmediatoollpr_" + settings.model_code;
  std::string queue = queue_name_for(settings.model_code);
  if (queue.empty())
    queue = "QUEUE";
  bool tape = !is_roll_label(settings);
  std::string text =
      "Usage: " + program + " -P QUEUE -n NAME -w WIDTH -h HEIGHT\n"
      "  or:  " + program + " -P QUEUE -d NAME\n"
      "  or:  " + program + " --list | --help | --version\n"
      "Adds, deletes or lists the custom label formats of the " +
      settings.model_code + " driver\nfor LPRng. An add replaces a format "
      "of the same name.\n\n"
      "  -P QUEUE   the printer queue, 1 to " +
      std::to_string(kMaxPrinterName) + " bytes\n"
      "  -n NAME    add the format NAME, 1 to " +
      std::to_string(kMaxFormatName) + " bytes, without control\n"
      "             characters, \"VtL\" or \"[CustomTape]\"\n"
      "  -w WIDTH   its width in mm, 1 to 2147483647" +
      (tape ? ", fitted to a tape" : "") + "\n"
      "  -h HEIGHT  its height in mm, 1 to 2147483647" +
      (tape ? ", fitted to a tape" : "") + "\n"
      "  -d NAME    delete the format NAME\n"
      "  --list     print the formats: at a terminal a table, \"*\" marking "
      "the\n"
      "             one selected; elsewhere one a line in tab-separated\n"
      "             fields: name, width, height, tape (\"-\" for none),\n"
      "             identifier, complete or incomplete (an add or delete cut\n"
      "             short; running it again finishes it)\n"
      "  --help     print this help\n"
      "  --version  print the version and the licence\n"
      "Options and values come in pairs, read from left to right; only an "
      "option's\nfirst two characters count (-width is -w).\n\n";
  if (tape)
    text += tape_rules();
  std::string example = "  " + program + " -P " + queue;
  text += "Examples:\n" +
      example + (tape ? " -n 'Shelf edge' -w 12 -h 50\n" :
                        " -n 'Address label' -w 62 -h 100\n") +
      example + (tape ? " -n 'HS cable 9' -w 9 -h 30\n" :
                        " -n 'Shipping 4x6' -w 102 -h 152\n") +
      example + (tape ? " -d 'Shelf edge'\n\n" : " -d 'Address label'\n\n");
  text +=
      "Exit status: 0 when done, also when a name to delete is not there "
      "(\"Not\nfound\"); 2 when the command line is refused with the usage "
      "screen; 255 when\na driver file, the lock, the companion tool or "
      "standard output failed, or when\nthe program is installed "
      "set-user-ID or set-group-ID.\n";
  return text;
}

std::string models_help_text() {
  std::string text =
      "Usage: vtmediatoollpr_MODEL -P QUEUE -n NAME -w WIDTH -h HEIGHT\n"
      "  or:  vtmediatoollpr_MODEL -P QUEUE -d NAME\n"
      "  or:  vtmediatoollpr_MODEL --list | --help | --version\n"
      "Adds, deletes or lists the custom label formats of a Vantrel "
      "label-printer\ndriver for LPRng. One program serves ten printer "
      "models and learns which\nfrom the name it is started under; "
      "installing it puts each of these names\non the PATH as a symbolic "
      "link to it:\n";
  for (const ModelEntry& model : kModels) {
    std::string name = std::string("vtmediatoollpr_") + model.model_code;
    // Padded to a column, with at least one blank after a longer name.
    name.resize(std::max<size_t>(26, name.size() + 1), ' ');
    text += "  " + name +
        (model.model_type <= kLastRollLabelType ? "roll labels\n" : "tape\n");
  }
  return text +
      "Under a name that holds no model code it only answers --help and "
      "--version.\nFor a model's options, tapes and examples: "
      "vtmediatoollpr_txr580 --help,\nor man vtmediatoollpr.\n";
}

std::string version_text() {
  return std::string("vtmediatoollpr ") + VT_VERSION + "\n"
      "Copyright (C) 2026 Vantrel driver maintainers\n"
      "License GPL-2.0-or-later <https://www.gnu.org/licenses/gpl-2.0.html>.\n"
      "This is free software: you are free to change and redistribute it.\n"
      "There is NO WARRANTY, to the extent permitted by law.\n";
}
