// The arithmetic of skinned scroll bars: thumb size and place, drags, hits, layouts, the
// composed picture.
#include <gtest/gtest.h>

#include "skin/controls/ScrollGeometry.h"

namespace {

constexpr int kArrow = 17;

TBarGeometry Window(int length, TScrollRange r) {
  TBarGeometry g;
  EXPECT_TRUE(WindowBarGeometry(length, kArrow, r, 8, 17, g));
  return g;
}

TEST(ScrollGeometry, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(ScrollMulDiv(5, 3, 2), 8);    // 7.5
  EXPECT_EQ(ScrollMulDiv(-5, 3, 2), -8);  // -7.5
  EXPECT_EQ(ScrollMulDiv(1, 1, 0), -1);
}

TEST(ScrollGeometry, ThumbIsThePageShareOfTheTrackAndEndsAtTheTrackEndAtTheLastPosition) {
  // 100 px track, range 0..99 with a page of 25: a quarter of the track.
  TBarGeometry g = Window(134, {0, 99, 25, 74});
  EXPECT_EQ(g.TrackLength, 100);
  EXPECT_EQ(g.ThumbLength, 25);
  EXPECT_EQ(g.ThumbOffset, 75);
  EXPECT_EQ(Window(134, {0, 99, 25, 0}).ThumbOffset, 0);
}

TEST(ScrollGeometry, ThumbNeverShorterThanTheMinimum) {
  EXPECT_EQ(Window(134, {0, 9999, 10, 0}).ThumbLength, 8);
}

TEST(ScrollGeometry, WithoutAPageTheThumbHasTheSystemLength) {
  EXPECT_EQ(Window(134, {0, 50, 0, 0}).ThumbLength, 17);
}

TEST(ScrollGeometry, PageEqualToTheRangeFillsTheTrackLessOnePixelAtTheStart) {
  TBarGeometry g = Window(134, {0, 40, 40, 0});
  EXPECT_EQ(g.ThumbOffset, 0);
  EXPECT_EQ(g.ThumbLength, 99);
}

TEST(ScrollGeometry, AnEmptyRangeKeepsThePreviousGeometry) {
  TBarGeometry g{kArrow, 10, 4, 3};
  EXPECT_FALSE(WindowBarGeometry(134, kArrow, {5, 5, 0, 5}, 8, 17, g));
  EXPECT_EQ(g.ThumbOffset, 3);
  EXPECT_EQ(g.ThumbLength, 4);
}

TEST(ScrollGeometry, ControlBarsCountBothEndsOfTheRange) {
  TBarGeometry g;
  // 0..99 is 100 positions; a page of 50 is half the track.
  ASSERT_TRUE(ControlBarGeometry(134, kArrow, {0, 99, 50, 50}, 8, 17, g));
  EXPECT_EQ(g.ThumbLength, 50);
  EXPECT_EQ(g.ThumbOffset, 50);
  ASSERT_TRUE(ControlBarGeometry(134, kArrow, {0, 99, 100, 0}, 8, 17, g));
  EXPECT_EQ(g.ThumbLength, 99);
}

TEST(ScrollGeometry, DraggingPastTheEndStopsAtTheLastPageWithAPage) {
  TScrollRange r{0, 99, 25, 0};
  TBarGeometry g = Window(134, r);
  TThumbDrag d = DragThumb(r, g, 500);
  EXPECT_EQ(d.Pos, 75);     // maximum - page + 1
  EXPECT_EQ(d.Offset, 75);  // the thumb stays inside the track
}

TEST(ScrollGeometry, DraggingPastTheEndStopsAtTheMaximumWithoutAPage) {
  TScrollRange r{0, 50, 0, 0};
  TBarGeometry g = Window(134, r);
  EXPECT_EQ(DragThumb(r, g, 500).Pos, 50);
}

TEST(ScrollGeometry, DraggingBeforeTheStartStopsAtTheMinimum) {
  TScrollRange r{10, 99, 25, 50};
  TBarGeometry g = Window(134, r);
  TThumbDrag d = DragThumb(r, g, -40);
  EXPECT_EQ(d.Pos, 10);
  EXPECT_EQ(d.Offset, 0);
}

TEST(ScrollGeometry, DragOffsetMapsLinearlyOntoTheRange) {
  TScrollRange r{0, 1000, 0, 0};
  TBarGeometry g = Window(134, r);  // track 100, thumb 17: 83 px of travel
  EXPECT_EQ(DragThumb(r, g, 83 / 2).Pos, ScrollMulDiv(41, 1000, 83));
}

TEST(ScrollGeometry, HitsFollowArrowsPagesAndThumb) {
  TBarGeometry g{kArrow, 100, 20, 30};
  EXPECT_EQ(HitBar(g, 0), bhLineUp);
  EXPECT_EQ(HitBar(g, kArrow + 29), bhPageUp);
  EXPECT_EQ(HitBar(g, kArrow + 30), bhThumb);
  EXPECT_EQ(HitBar(g, kArrow + 49), bhThumb);
  EXPECT_EQ(HitBar(g, kArrow + 50), bhPageDown);
  EXPECT_EQ(HitBar(g, kArrow + 100), bhLineDown);
  EXPECT_EQ(HitBar(g, 2 * kArrow + 100), bhNone);
}

TEST(ScrollGeometry, BothBarsOnTheRightLeaveTheCornerBottomRight) {
  // 200 x 100 window, 2 px border, 17 px bars: client 179 x 79.
  TBarLayout l = LayoutBars(200, 100, 179, 79, 17, 2, true, true, false);
  EXPECT_EQ(l.Vert, (TDrawRect{181, 2, 198, 81}));
  EXPECT_EQ(l.Horz, (TDrawRect{2, 81, 181, 98}));
  EXPECT_EQ(l.Corner, (TDrawRect{181, 81, 198, 98}));
}

TEST(ScrollGeometry, TheVerticalBarOnTheLeftMovesTheCornerLeft) {
  TBarLayout l = LayoutBars(200, 100, 179, 79, 17, 2, true, true, true);
  EXPECT_EQ(l.Vert, (TDrawRect{2, 2, 19, 81}));
  EXPECT_EQ(l.Horz, (TDrawRect{19, 81, 198, 98}));
  EXPECT_EQ(l.Corner, (TDrawRect{2, 81, 19, 98}));
}

TEST(ScrollGeometry, TheBorderComesFromTheClientSize) {
  // Only a horizontal bar, 1 px border all round: (60 - 41 - 17) div 2.
  TBarLayout l = LayoutBars(100, 60, 98, 41, 17, 2, true, false, false);
  EXPECT_EQ(l.Horz, (TDrawRect{1, 42, 99, 59}));
  EXPECT_TRUE(l.Vert.Empty());
}

TEST(ScrollGeometry, ABarIsComposedSixteenPixelsThick) {
  TBarGeometry g{kArrow, 100, 20, 30};
  TComposedBar v = ComposeBar(134, kArrow, g, true);
  EXPECT_EQ(v.Width, kComposedBarThickness);
  EXPECT_EQ(v.Height, 134);
  EXPECT_EQ(v.Thumb, (TDrawRect{0, kArrow + 30, 16, kArrow + 50}));
  EXPECT_EQ(v.Second, (TDrawRect{0, 134 - kArrow, 16, 134}));
}

TEST(ScrollGeometry, ABarShorterThanTwoArrowsGetsTwoHalfArrowsAndNoTrack) {
  TBarGeometry g;
  WindowBarGeometry(20, kArrow, {0, 10, 5, 0}, 8, 17, g);
  TComposedBar c = ComposeBar(20, kArrow, g, false);
  EXPECT_EQ(c.First, (TDrawRect{0, 0, 10, 16}));
  EXPECT_EQ(c.Second, (TDrawRect{10, 0, 20, 16}));
  EXPECT_TRUE(c.Track.Inverted());
  EXPECT_FALSE(c.ThumbShown);
}

}  // namespace
