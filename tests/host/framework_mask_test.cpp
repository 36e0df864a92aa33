// Edit masks: program-set texts, typing and deleting, including the minute field's "!99;1; ".
#include <gtest/gtest.h>

#include "framework/MaskLogic.h"

namespace {

TEST(FrameworkMask, MinuteFieldMaskRightAlignsShortTexts) {
  TEditMask m("!99;1; ");
  EXPECT_EQ(m.Length(), 2);
  EXPECT_EQ(m.BlankChar(), ' ');
  EXPECT_TRUE(m.LeadingBlanks());
  EXPECT_EQ(m.Format("7"), " 7");
  EXPECT_EQ(m.Format(" 7"), " 7");
  EXPECT_EQ(m.Format("7 "), "7 ");
  EXPECT_EQ(m.Format("75"), "75");
  EXPECT_EQ(m.Format("100"), "10") << "surplus dropped";
  EXPECT_EQ(m.Format(""), "  ");
  EXPECT_EQ(m.Format("a5"), " 5") << "characters that do not fit become blanks";
  EXPECT_EQ(m.FirstMissing("  "), -1) << "all optional";
}

TEST(FrameworkMask, TypingFillsEditablePositionsAndRefusesOthers) {
  TEditMask m("!99;1; ");
  std::string shown = m.EmptyText();
  int cursor = 0;
  EXPECT_FALSE(m.TypeChar(shown, cursor, 'x'));
  EXPECT_TRUE(m.TypeChar(shown, cursor, '4'));
  EXPECT_EQ(shown, "4 ");
  EXPECT_EQ(cursor, 1);
  EXPECT_TRUE(m.TypeChar(shown, cursor, '2'));
  EXPECT_EQ(shown, "42");
  EXPECT_FALSE(m.TypeChar(shown, cursor, '1')) << "full";
  m.Backspace(shown, cursor);
  EXPECT_EQ(shown, "4 ");
  EXPECT_EQ(cursor, 1);
  m.Blank(shown, 0, 2);
  EXPECT_EQ(shown, "  ");
}

TEST(FrameworkMask, LiteralsCaseAndRequiredPositions) {
  TEditMask date("00/00/0000;1;_");
  EXPECT_EQ(date.Length(), 10);
  EXPECT_EQ(date.EmptyText(), "__/__/____");
  EXPECT_EQ(date.Format("12/05/2024"), "12/05/2024");
  EXPECT_EQ(date.FirstMissing("12/0_/2024"), 4);
  std::string shown = date.EmptyText();
  int cursor = 0;
  for (char c : std::string("1205")) EXPECT_TRUE(date.TypeChar(shown, cursor, c));
  EXPECT_EQ(shown, "12/05/____") << "the cursor steps over literals";
  EXPECT_EQ(cursor, 6);
  TEditMask noSave("00/00;0;_");
  EXPECT_EQ(noSave.Format("1230"), "12/30") << "literals not in the text";
  EXPECT_EQ(noSave.Value("12/30"), "1230");
  TEditMask upper(">LL<ll;1;_");
  std::string s = upper.EmptyText();
  cursor = 0;
  for (char c : std::string("abCD")) EXPECT_TRUE(upper.TypeChar(s, cursor, c));
  EXPECT_EQ(s, "ABcd");
  TEditMask escaped("\\A0;1;_");
  EXPECT_TRUE(escaped.IsLiteral(0));
  EXPECT_EQ(escaped.Format("A5"), "A5");
}

}  // namespace
