// Where glyph buttons put their glyph and caption.
#include <gtest/gtest.h>

#include "framework/ButtonLayout.h"

namespace {

// A 100 x 40 button, a 16 x 16 glyph, a 40 x 13 caption.
TButtonLayoutInput Button(TButtonLayout layout, int margin, int spacing) {
  TButtonLayoutInput in;
  in.ClientWidth = 100;
  in.ClientHeight = 40;
  in.GlyphWidth = 16;
  in.GlyphHeight = 16;
  in.TextWidth = 40;
  in.TextHeight = 13;
  in.Layout = layout;
  in.Margin = margin;
  in.Spacing = spacing;
  return in;
}

TEST(ButtonLayout, AutomaticMarginAndSpacingDivideTheFreeSpaceInThree) {
  TButtonLayoutResult r = LayoutGlyphAndCaption(Button(blGlyphLeft, -1, -1));
  // Free width 100 - 56 = 44: 14 before the glyph, 14 between, the rest after.
  EXPECT_EQ(r.GlyphX, 14);
  EXPECT_EQ(r.TextX, 14 + 16 + 14);
  EXPECT_EQ(r.GlyphY, 12);  // (40 - 16 + 1) div 2
  EXPECT_EQ(r.TextY, 14);   // (40 - 13 + 1) div 2
  EXPECT_EQ(r.Align, caLeft);
  // Along the height for a glyph on top: free 40 - 29 = 11, thirds of 3.
  r = LayoutGlyphAndCaption(Button(blGlyphTop, -1, -1));
  EXPECT_EQ(r.GlyphY, 3);
  EXPECT_EQ(r.TextY, 3 + 16 + 3);
  EXPECT_EQ(r.GlyphX, 42);  // (100 - 16 + 1) div 2
  EXPECT_EQ(r.TextX, 30);
  EXPECT_EQ(r.Align, caCenter);
}

TEST(ButtonLayout, AutomaticMarginCentresThePairWithTheGivenSpacing) {
  TButtonLayoutResult r = LayoutGlyphAndCaption(Button(blGlyphLeft, -1, 4));
  EXPECT_EQ(r.GlyphX, 20);  // (100 - (16 + 4 + 40)) div 2
  EXPECT_EQ(r.TextX, 40);
  TButtonLayoutInput speed = Button(blGlyphLeft, -1, 4);
  speed.Speed = true;
  EXPECT_EQ(LayoutGlyphAndCaption(speed).GlyphX, 21) << "speed buttons one pixel further in";
}

TEST(ButtonLayout, GivenMarginWithAutomaticSpacingCentresTheCaptionInTheRest) {
  TButtonLayoutResult r = LayoutGlyphAndCaption(Button(blGlyphRight, 5, -1));
  EXPECT_EQ(r.GlyphX, 100 - 5 - 16);
  EXPECT_EQ(r.TextX, 79 - 19 - 40);  // spacing (100 - 21 - 40) div 2 = 19
  EXPECT_EQ(r.Align, caRight);
  r = LayoutGlyphAndCaption(Button(blGlyphBottom, 2, 3));
  EXPECT_EQ(r.GlyphY, 40 - 2 - 16);
  EXPECT_EQ(r.TextY, 22 - 3 - 13);
}

TEST(ButtonLayout, WithoutGlyphTheCaptionIsCentredAndSpacingIgnored) {
  TButtonLayoutInput in = Button(blGlyphLeft, -1, 10);
  in.GlyphWidth = in.GlyphHeight = 0;
  TButtonLayoutResult r = LayoutGlyphAndCaption(in);
  EXPECT_EQ(r.TextX, 30);  // (100 - 40) div 2: the spacing counts as 0
}

TEST(ButtonLayout, DivisionsTruncateTowardZeroWhenTheButtonIsTooSmall) {
  TButtonLayoutInput in = Button(blGlyphLeft, -1, -1);
  in.ClientWidth = 50;  // 6 pixels short: -6 div 3 = -2
  TButtonLayoutResult r = LayoutGlyphAndCaption(in);
  EXPECT_EQ(r.GlyphX, -2);
  EXPECT_EQ(r.TextX, -2 + 16 - 2);
  in.ClientWidth = 55;  // -1 div 3 = 0, not -1
  EXPECT_EQ(LayoutGlyphAndCaption(in).GlyphX, 0);
}

}  // namespace
