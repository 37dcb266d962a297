// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/usage.h"

#include <stdio.h>

#include "cli/model.h"
#include "cli/options.h"

namespace {

const char kRule[] = "===========================\n";
const char kVersion[] = "v 0.2";

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
