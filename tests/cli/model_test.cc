// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ModelCase {
  const char* program;
  const char* model_code;
  int32_t model_type;
};

// What |c.program| selects; nothing where |c.model_code| is empty.
void expect_model(const ModelCase& c) {
  FormatSettings settings;
  EXPECT_EQ(*c.model_code != '\0', identify_model(c.program, &settings))
      << c.program;
  EXPECT_EQ(c.model_code, settings.model_code) << c.program;
  EXPECT_EQ(c.model_type, settings.model_type) << c.program;
}

// Each model is installed as "vtmediatoollpr_" and its code; its key
// alone selects it too. No row may be shadowed by an earlier one.
TEST(IdentifyModel, EveryModelIsSelectedByItsNameAndKeyWhereverInstalled) {
  for (const ModelEntry& model : kModels) {
    for (const std::string& name : { std::string(model.model_code),
                                     std::string(model.key) }) {
      for (const char* dir : { "", "/usr/local/bin/", "./" }) {
        std::string program = dir + ("vtmediatoollpr_" + name);
        expect_model({ program.c_str(), model.model_code, model.model_type });
      }
    }
    // The queue is looked up by the code, not the key.
    EXPECT_STREQ(model.queue, queue_name_for(model.model_code));
  }
}

TEST(IdentifyModel, FileNameDecidesBeforeTheDirectoryAndOnlyExactKeysMatch) {
  const ModelCase cases[] = {
    // The short tx4100 key stores the full code.
    { "tx4100", "tx4100zn", 3 },
    { "vtmediatoollpr_tx4100xx", "tx4100zn", 3 },
    // A key in the file name wins over any in the directory part.
    { "/opt/rk210-tools/vtmediatoollpr_txr580", "txr580", 3 },
    { "/opt/vantrel/rk260/bin/vtmediatoollpr_tx4100", "tx4100zn", 3 },
    { "/opt/txr580/bin/vtmediatoollpr_rk210", "rk210", 0 },
    // Within the file name the earlier row wins, wherever its key stands.
    { "vtmediatoollpr_txr300_rk380mx", "rk380mx", 2 },
    { "vtmediatoollpr_txd270_txr330qe", "txr330qe", 3 },
    { "rk260rk210", "rk210", 0 },
    // So it does in the path when the file name holds no key.
    { "/txr520/txr580/tool", "txr580", 3 },
    // A key in the directory alone selects the model.
    { "/opt/vantrel/txr520/bin/vtmediatoollpr", "txr520", 3 },
    { "/opt/vantrel/rk380mx/bin/lpd/tool", "rk380mx", 2 },
    { "/home/u/tx4100/a.out", "tx4100zn", 3 },
    { "txd270/x", "txd270", 3 },
    // The match is case-sensitive.
    { "vtmediatoollpr_RK210", "", 0 },
    { "VTMEDIATOOLLPR_TXR580", "", 0 },
    { "vtmediatoollpr_Txr580", "", 0 },
    { "/OPT/VANTREL/TXD270/bin/vtmediatoollpr", "", 0 },
    // No key at all, or one a character short.
    { "vtmediatoollpr", "", 0 },
    { "", "", 0 },
    { "vtmediatoollpr_txr58", "", 0 },
    { "vtmediatoollpr_tx410", "", 0 },
    { "vtmediatoollpr_rk380", "", 0 },
    { "vtmediatoollpr_txr390", "", 0 },
    { "vtmediatoollpr_txr330", "", 0 },
    { "vtmediatoollpr_txr30", "", 0 },
    { "vtmediatoollpr_rk 210", "", 0 },
  };
  for (const ModelCase& c : cases)
    expect_model(c);
}

}  // namespace
