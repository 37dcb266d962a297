// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/rewrite.h"

#include <random>

#include <gtest/gtest.h>

#include "nul_byte.h"
#include "reference_edit.h"

namespace {

std::string edited(const LineEdit& edit, const std::string& block) {
  std::string out;
  EXPECT_TRUE(edit_block(edit, block, [&out](std::string_view piece) {
    out.append(piece.data(), piece.size());
    return true;
  }));
  return out;
}

}  // namespace

TEST(EditBlock, EachKindChangesOnlyTheLinesItSelects) {
  const std::string id = "VtL0A1B";
  struct Case {
    LineEdit::Kind kind;
    std::string block;
    std::string out;
  } cases[] = {
    { LineEdit::kInsertAfter, "a\n[T] x\nb\n[T]\n", "a\n[T] x\nN\nb\n[T]\nN\n" },
    // An entry after a last line without newline starts a line of its own.
    { LineEdit::kInsertAfter, "a\n[T]", "a\n[T]\nN\n" },
    { LineEdit::kInsertAfter, "x" + kNul + "[T]\n", "x" + kNul + "[T]\n" },
    { LineEdit::kDrop, "a\n" + id + "/n\nb\nx " + id, "a\nb\n" },
    { LineEdit::kReplace, "a\nMedia=" + id, "a\nN\n" },
    // Only before the first NUL does an identifier count.
    { LineEdit::kDrop, id + kNul + "x\nx" + kNul + id + "\n",
      "x" + kNul + id + "\n" },
    // The head of a longer identifier is not the identifier ...
    { LineEdit::kDrop, id + "4/n\n" + id + "_x\n" + id + ".5\n" + id + "a\n",
      id + "4/n\n" + id + "_x\n" + id + ".5\n" + id + "a\n" },
    { LineEdit::kReplace, "Media=" + id + "F\n", "Media=" + id + "F\n" },
    // ... but anything else may follow it, and it may stand whole later.
    { LineEdit::kDrop, id + ":\t1\n" + id + "/n\n" + id + " \n" + id + "9 " +
      id + "\nkeep\n", "keep\n" },
  };
  for (const Case& c : cases) {
    LineEdit edit = { c.kind,
                      c.kind == LineEdit::kInsertAfter ? "[T]" : id, "N\n" };
    EXPECT_EQ(c.out, edited(edit, c.block)) << c.kind << " " << c.block;
  }
}

TEST(EditBlock, AgreesWithTheLineByLineReferenceOnRandomBlocks) {
  // Lines made of pieces that tend to form, split, extend or hide the
  // needle.
  const std::string pieces[] = { "VtL1", "VtL", "1", "x", ".", "\n", "\n",
                                 kNul, "VtL1VtL1" };
  const LineEdit::Kind kinds[] = { LineEdit::kInsertAfter, LineEdit::kDrop,
                                   LineEdit::kReplace };
  std::mt19937 random(20240607);
  for (int round = 0; round < 3000; ++round) {
    std::string block;
    int count = random() % 24;
    for (int i = 0; i < count; ++i)
      block += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
    for (LineEdit::Kind kind : kinds) {
      LineEdit edit = { kind, "VtL1", "R\n" };
      ASSERT_EQ(reference_edit(edit, block), edited(edit, block))
          << "kind " << kind << " round " << round;
    }
  }
}

TEST(EditBlock, StopsWhenTheSinkRefuses) {
  for (LineEdit::Kind kind : { LineEdit::kInsertAfter, LineEdit::kDrop,
                               LineEdit::kReplace, LineEdit::kAppend }) {
    LineEdit edit = { kind, "ID", "NEW\n" };
    int pieces = 0;
    EXPECT_FALSE(edit_block(edit, "a\nID\nb\nID\nc\n",
                            [&pieces](std::string_view) {
                              ++pieces;
                              return false;
                            })) << kind;
    EXPECT_EQ(1, pieces) << kind;
  }
}
