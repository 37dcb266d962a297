// SPDX-License-Identifier: GPL-2.0-or-later
#ifndef VTMEDIA_TESTS_SUPPORT_EXPECTED_USAGE_H_
#define VTMEDIA_TESTS_SUPPORT_EXPECTED_USAGE_H_

#include <string>

// The usage screen as the user sees it, for the model |code| (e.g.
// "txr580") and its usual queue (e.g. "TX-R580", "" for roll-label
// models). Written out by hand, not taken from the tool, so that a change
// to the screen shows in the tests.
inline std::string expected_usage_screen(const std::string& code,
                                         const std::string& queue) {
  return
      "===========================\n"
      " LPRng Mediaform Tool (v 0.2)\tAdds or deletes the custom label"
      " formats of this printer's driver.\n"
      " Usage: vtmediatoollpr_xxxx -P Printer Name [-n add a Lable Format"
      " Name (<=32 bytes) -w Media Width(unit:mm) -h Media Height(unit:mm)]"
      "/[-d delete Lable Format Name]\n"
      " **Label width is  3.5mm,6mm,9mm,12mm,18mm,24mm,36mm and Height is"
      " between 4mm and 1000mm(HS tape max is 500mm)\n"
      " For example:\n"
      " 1. Add a new Label Format with \"New Label Format\" name and 12mm"
      " width and 50mm length:\n"
      "\t\"vtmediatoollpr_" + code + " -P " + queue + " -n New\\ Label Namw"
      " (\"HS\" contain name means heat srink tube ex.HS12mmx50mm)\\ Format"
      " -w 12 -h 50\" [enter]\n"
      "\n"
      " 2. Remove the Label Format with \"New Label Format\" name:\n"
      "\t\"vtmediatoollpr_" + code + " -P " + queue +
      " -d New\\ Label\\ Format\" [enter]\n"
      "\n"
      "===========================\n";
}

#endif  // VTMEDIA_TESTS_SUPPORT_EXPECTED_USAGE_H_
