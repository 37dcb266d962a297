#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>

#include "cli/model.h"

namespace {

FormatSettings settings_for(const char* program) {
  FormatSettings settings;
  EXPECT_TRUE(identify_model(program, &settings)) << program;
  return settings;
}

TEST(UsageText, TapeModelScreen) {
  const std::string expected =
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
      "\t\"vtmediatoollpr_txr580 -P TX-R580 -n New\\ Label Namw (\"HS\""
      " contain name means heat srink tube ex.HS12mmx50mm)\\ Format -w 12"
      " -h 50\" [enter]\n"
      "\n"
      " 2. Remove the Label Format with \"New Label Format\" name:\n"
      "\t\"vtmediatoollpr_txr580 -P TX-R580 -d New\\ Label\\ Format\""
      " [enter]\n"
      "\n"
      "===========================\n";
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_txr580")));
}

TEST(UsageText, Tx4100ShowsFullCodeAndItsQueue) {
  const std::string expected =
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
      "\t\"vtmediatoollpr_tx4100zn -P TX-4100ZN -n New\\ Label Namw (\"HS\""
      " contain name means heat srink tube ex.HS12mmx50mm)\\ Format -w 12"
      " -h 50\" [enter]\n"
      "\n"
      " 2. Remove the Label Format with \"New Label Format\" name:\n"
      "\t\"vtmediatoollpr_tx4100zn -P TX-4100ZN -d New\\ Label\\ Format\""
      " [enter]\n"
      "\n"
      "===========================\n";
  // Installed under the short key, the screen still names the full code.
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_tx4100")));
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_tx4100zn")));
}

TEST(UsageText, RollLabelModelHasNoQueueName) {
  const std::string expected =
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
      "\t\"vtmediatoollpr_rk210 -P  -n New\\ Label Namw (\"HS\""
      " contain name means heat srink tube ex.HS12mmx50mm)\\ Format -w 12"
      " -h 50\" [enter]\n"
      "\n"
      " 2. Remove the Label Format with \"New Label Format\" name:\n"
      "\t\"vtmediatoollpr_rk210 -P  -d New\\ Label\\ Format\" [enter]\n"
      "\n"
      "===========================\n";
  EXPECT_EQ(expected, usage_text(settings_for("vtmediatoollpr_rk210")));
}

TEST(UsageText, DependsOnlyOnTheModel) {
  FormatSettings bare = settings_for("vtmediatoollpr_txr580");
  FormatSettings filled = bare;
  filled.work_path = "/tmp/x";
  filled.printer_name = "Shop";
  filled.format_name = "HS12";
  filled.media_name = "_vtHS12mm_";
  filled.width_mm = 9;
  filled.height_mm = 50;
  filled.head_dots = 66;
  EXPECT_EQ(usage_text(bare), usage_text(filled));
}

TEST(QueueName, EachModelHasItsUsualQueue) {
  struct QueueCase {
    const char* model_code;
    const char* queue;
  };
  const QueueCase cases[] = {
    { "rk210", "" },
    { "rk260", "" },
    { "rk380mx", "" },
    { "tx4100zn", "TX-4100ZN" },
    { "txr580", "TX-R580" },
    { "txr520", "TX-R520" },
    { "txr390k", "TXR390K" },
    { "txr330qe", "TXR330qe" },
    { "txr300", "TXR300" },
    { "txd270", "TX-D270" },
  };
  for (const QueueCase& c : cases)
    EXPECT_STREQ(c.queue, queue_name_for(c.model_code)) << c.model_code;
}

}  // namespace
