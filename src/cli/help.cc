// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/help.h"

#include <stdio.h>

#include <algorithm>
#include <string>
#include <string_view>

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

// The codes of the models the program is installed for, separated and
// surrounded by blanks; a build that does not say is installed for all.
#ifdef VT_INSTALLED_MODELS
const std::string_view kInstalledModels = " " VT_INSTALLED_MODELS " ";
#else
const std::string_view kInstalledModels;
#endif

bool installed_for(const std::string& code) {
  return kInstalledModels.empty() ||
      kInstalledModels.find(" " + code + " ") != std::string_view::npos;
}

// One line per installed model: the name the program is installed under
// for it, and what the model prints on.
std::string model_names() {
  std::string text;
  for (const ModelEntry& model : kModels) {
    if (!installed_for(model.model_code))
      continue;
    std::string name = std::string("vtmediatoollpr_") + model.model_code;
    // Padded to a column, with at least one blank after a longer name.
    name.resize(std::max<size_t>(26, name.size() + 1), ' ');
    text += "  " + name +
        (model.model_type <= kLastRollLabelType ? "roll labels\n" : "tape\n");
  }
  return text;
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
      "  or:  " + program + " -P QUEUE --apply FILE | --sync FILE\n"
      "  or:  " + program + " --diff FILE\n"
      "  or:  " + program + " --list | --export | --help | --version\n"
      "Adds, deletes or lists the custom label formats of the " +
      settings.model_code + " driver\nfor LPRng, or keeps them as a set "
      "saved in a file. An add replaces a format\nof the same name.\n\n"
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
      "  --export   print the formats as a formats file (below), sorted by "
      "name,\n"
      "             from which --apply makes each of them again\n"
      "  --apply FILE\n"
      "             make every format of the formats file FILE (\"-\": "
      "standard\n"
      "             input) present as FILE says: one that is so already is "
      "left\n"
      "             alone, one missing, different or incomplete is added, "
      "and no\n"
      "             other format is touched\n"
      "  --sync FILE\n"
      "             as --apply, and delete every format FILE does not name; "
      "a\n"
      "             FILE that names no format is refused\n"
      "  --diff FILE\n"
      "             print what --sync FILE would do, one line a format: add,\n"
      "             replace or delete, a tab, then the format's fields; it "
      "only\n"
      "             reads, as --list and --export do\n"
      "  --help     print this help\n"
      "  --version  print the version and the licence\n"
      "Options and values come in pairs, read from left to right; only the "
      "first two\ncharacters of -P, -n, -w, -h and -d count (-width is "
      "-w).\n\n";
  if (tape)
    text += tape_rules();
  text +=
      "A formats file holds one format a line: NAME, WIDTH and HEIGHT "
      "separated by\ntabs, read as -n NAME -w WIDTH -h HEIGHT is read" +
      std::string(tape ?
          ". A fourth field says where\nit goes: \"tube\" (for a name the "
          "tube rule admits) or \"tape\", read as\n-w WIDTH -h HEIGHT -n "
          "NAME: standard tape whatever the name; --export writes\nit on "
          "every line.\n" :
          "; a fourth field is refused.\n") +
      "A line starting with \"#\" that holds no tab is a comment; blank "
      "lines are\nskipped. A FILE with any fault is refused before anything "
      "runs. No file\ncarries back which format the printer has selected: a "
      "format added again has\na new identifier. Run --diff FILE first to "
      "see what --sync FILE would delete.\n\n";
  std::string example = "  " + program + " -P " + queue;
  text += "Examples:\n" +
      example + (tape ? " -n 'Shelf edge' -w 12 -h 50\n" :
                        " -n 'Address label' -w 62 -h 100\n") +
      example + (tape ? " -n 'HS cable 9' -w 9 -h 30\n" :
                        " -n 'Shipping 4x6' -w 102 -h 152\n") +
      example + (tape ? " -d 'Shelf edge'\n" : " -d 'Address label'\n") +
      "  " + program + " --export > formats.tsv\n" +
      example + " --apply formats.tsv\n"
      "  " + program + " --diff formats.tsv\n\n";
  text +=
      "Exit status: 0 when done, also when a name to delete is not there "
      "(\"Not\nfound\"); 1 when --export left out a format that no request "
      "can make again\n(it names it on standard error) or when --diff finds "
      "a difference; 2 when\nthe command line is refused with the usage "
      "screen, or FILE is refused; 255\nwhen a driver file, the lock, the "
      "companion tool or standard output failed,\nor when the program is "
      "installed set-user-ID or set-group-ID.\n\n"
      "This program is installed under one name per model, each on the "
      "PATH:\n";
  return text + model_names();
}

std::string models_help_text() {
  return
      "Usage: vtmediatoollpr_MODEL -P QUEUE -n NAME -w WIDTH -h HEIGHT\n"
      "  or:  vtmediatoollpr_MODEL -P QUEUE -d NAME\n"
      "  or:  vtmediatoollpr_MODEL -P QUEUE --apply FILE | --sync FILE\n"
      "  or:  vtmediatoollpr_MODEL --diff FILE\n"
      "  or:  vtmediatoollpr_MODEL --list | --export | --help | --version\n"
      "Adds, deletes or lists the custom label formats of a Vantrel "
      "label-printer\ndriver for LPRng. One program serves ten printer "
      "models and learns which\nfrom the name it is started under; "
      "installing it puts each of these names\non the PATH as a symbolic "
      "link to it:\n" + model_names() +
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
