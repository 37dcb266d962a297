// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/usage.h"

#include <stdio.h>
#include <string.h>

#include "cli/options.h"

namespace {

struct QueueEntry {
  const char* key;
  const char* queue;
};

// "tx410" is shorter than the code it serves (tx4100zn): a substring match.
const QueueEntry kQueues[] = {
  { "tx410", "TX-4100ZN" },
  { "txr580", "TX-R580" },
  { "txr520", "TX-R520" },
  { "txr390k", "TXR390K" },
  { "txr330qe", "TXR330qe" },
  { "txr300", "TXR300" },
  { "txd270", "TX-D270" },
};

const char kRule[] = "===========================\n";
const char kVersion[] = "v 0.2";

}  // namespace

const char* queue_name_for(const std::string& model_code) {
  for (const QueueEntry& entry : kQueues) {
    if (model_code.find(entry.key) != std::string::npos)
      return entry.queue;
  }
  return "";
}

std::string usage_text(const FormatSettings& settings) {
  const char* code = settings.model_code.c_str();
  const char* queue = queue_name_for(settings.model_code);
  char line[4096];
  std::string text = kRule;

  snprintf(line, sizeof(line),
           " LPRng Mediaform Tool (%s)\tAdds or deletes the custom label "
           "formats of this printer's driver.\n", kVersion);
  text += line;
  snprintf(line, sizeof(line),
           " Usage: vtmediatoollpr_xxxx -P Printer Name [-n add a Lable Format"
           " Name (<=%d bytes) -w Media Width(unit:mm) -h Media Height"
           "(unit:mm)]/[-d delete Lable Format Name]\n", (int)kMaxFormatName);
  text += line;
  text += " **Label width is  3.5mm,6mm,9mm,12mm,18mm,24mm,36mm and Height is"
          " between 4mm and 1000mm(HS tape max is 500mm)\n";
  text += " For example:\n";
  text += " 1. Add a new Label Format with \"New Label Format\" name and 12mm"
          " width and 50mm length:\n";
  snprintf(line, sizeof(line),
           "\t\"vtmediatoollpr_%s -P %s -n New\\ Label Namw (\"HS\" contain"
           " name means heat srink tube ex.HS12mmx50mm)\\ Format -w 12 -h 50\""
           " [enter]\n\n", code, queue);
  text += line;
  text += " 2. Remove the Label Format with \"New Label Format\" name:\n";
  snprintf(line, sizeof(line),
           "\t\"vtmediatoollpr_%s -P %s -d New\\ Label\\ Format\" [enter]\n\n",
           code, queue);
  text += line;
  text += kRule;
  return text;
}

void print_usage(FormatSettings settings) {
  std::string text = usage_text(settings);
  fwrite(text.data(), 1, text.size(), stdout);
}
