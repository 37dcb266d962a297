// SPDX-License-Identifier: GPL-2.0-or-later
#include "store/line_edit.h"

#include <random>

#include <gtest/gtest.h>

namespace {

const std::string kNul(1, '\0');

LineEdit make_edit(LineEdit::Kind kind, const std::string& needle,
                   const std::string& text) {
  LineEdit edit;
  edit.kind = kind;
  edit.needle = needle;
  edit.text = text;
  return edit;
}

std::string by_block(const LineEdit& edit, const std::string& block) {
  std::string out;
  EXPECT_TRUE(edit_block(edit, block, [&out](std::string_view piece) {
    out.append(piece.data(), piece.size());
    return true;
  }));
  return out;
}

std::string by_line(const LineEdit& edit, const std::string& block) {
  std::string out;
  PieceSink sink = [&out](std::string_view piece) {
    out.append(piece.data(), piece.size());
    return true;
  };
  for (size_t at = 0; at < block.size(); ) {
    size_t newline = block.find('\n', at);
    size_t end = newline == std::string::npos ? block.size() : newline + 1;
    EXPECT_TRUE(edit_line(edit, std::string_view(block).substr(at, end - at),
                          sink));
    at = end;
  }
  return out;
}

const LineEdit::Kind kKinds[] = { LineEdit::kCopy, LineEdit::kInsertAfter,
                                  LineEdit::kDrop, LineEdit::kReplace };

}  // namespace

TEST(LineContains, LooksOnlyBeforeTheFirstNul) {
  EXPECT_TRUE(line_contains("a [CustomTape] b\n", "[CustomTape]"));
  EXPECT_TRUE(line_contains("[CustomTape]" + kNul + "x\n", "[CustomTape]"));
  EXPECT_FALSE(line_contains("x" + kNul + "[CustomTape]\n", "[CustomTape]"));
  EXPECT_FALSE(line_contains("[Custom" + kNul + "Tape]\n", "[CustomTape]"));
  EXPECT_FALSE(line_contains("[customtape]\n", "[CustomTape]"));
  EXPECT_FALSE(line_contains("[CustomTap\n", "[CustomTape]"));
}

TEST(EditLine, EachKindDoesItsOwnThingToSelectedLinesOnly) {
  struct Case {
    LineEdit::Kind kind;
    std::string line;
    std::string out;
  } cases[] = {
    { LineEdit::kCopy, "ID here\n", "ID here\n" },
    { LineEdit::kInsertAfter, "ID here\n", "ID here\nNEW\n" },
    { LineEdit::kInsertAfter, "other\n", "other\n" },
    // An entry after a last line without newline starts a line of its own.
    { LineEdit::kInsertAfter, "ID here", "ID here\nNEW\n" },
    { LineEdit::kDrop, "ID here\n", "" },
    { LineEdit::kDrop, "ID here", "" },
    { LineEdit::kDrop, "other\n", "other\n" },
    { LineEdit::kReplace, "x ID\n", "NEW\n" },
    // The replacement brings its own newline.
    { LineEdit::kReplace, "x ID", "NEW\n" },
    { LineEdit::kReplace, "other", "other" },
    { LineEdit::kDrop, "ID" + kNul + "tail\n", "" },
    { LineEdit::kDrop, "x" + kNul + "ID\n", "x" + kNul + "ID\n" },
  };
  for (const Case& c : cases) {
    LineEdit edit = make_edit(c.kind, "ID", "NEW\n");
    std::string out;
    EXPECT_TRUE(edit_line(edit, c.line, [&out](std::string_view piece) {
      out.append(piece.data(), piece.size());
      return true;
    }));
    EXPECT_EQ(c.out, out) << c.kind << " " << c.line;
  }
}

TEST(EditBlock, GivesTheSameBytesAsEditingLineByLine) {
  const std::string blocks[] = {
    "",
    "ID\n",
    "ID",
    "a\nb\nc\n",
    "a\nID\nb\n",
    "ID first\nmiddle\nlast ID\n",
    "ID\nID\nID\n",
    "two ID and ID\nnone\n",
    "none\nlast without newline ID",
    "none\nlast without newline",
    "x" + kNul + "ID\nID" + kNul + "x\n" + kNul + "\nID\n",
    "x" + kNul + "y ID\nID after\n",
    "I\nD\nI" + kNul + "D\n",
    "IDID\n\n\nID",
    std::string(300000, 'a') + "ID\n" + std::string(5000, 'b') + "\nID",
  };
  for (LineEdit::Kind kind : kKinds) {
    for (const std::string& needle : { std::string("ID"), std::string("D\nI"),
                                       std::string() }) {
      LineEdit edit = make_edit(kind, needle, "NEW\n");
      for (const std::string& block : blocks) {
        EXPECT_EQ(by_line(edit, block), by_block(edit, block))
            << "kind " << kind << " needle '" << needle << "' block '"
            << block.substr(0, 60) << "'";
      }
    }
  }
}

TEST(EditBlock, AgreesWithEditLineOnRandomBlocks) {
  // Lines made of pieces that tend to form, split or hide the needle.
  const std::string pieces[] = { "VtL1", "VtL", "1", "x", "\n", "\n", kNul,
                                 "VtL1VtL1" };
  std::mt19937 random(20240607);
  for (int round = 0; round < 3000; ++round) {
    std::string block;
    int count = random() % 24;
    for (int i = 0; i < count; ++i)
      block += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
    for (LineEdit::Kind kind : kKinds) {
      LineEdit edit = make_edit(kind, "VtL1", "R\n");
      ASSERT_EQ(by_line(edit, block), by_block(edit, block))
          << "kind " << kind << " round " << round;
    }
  }
}

TEST(EditBlock, StopsWhenTheSinkRefuses) {
  for (LineEdit::Kind kind : kKinds) {
    LineEdit edit = make_edit(kind, "ID", "NEW\n");
    int pieces = 0;
    EXPECT_FALSE(edit_block(edit, "a\nID\nb\nID\nc\n",
                            [&pieces](std::string_view) {
                              ++pieces;
                              return false;
                            })) << kind;
    EXPECT_EQ(1, pieces) << kind;
  }
}
