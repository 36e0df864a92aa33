// The arithmetic of skinned scroll bars, free of any window: where the bars of a scrolled
// control lie in its window, how long the arrows, the track and the thumb of one bar are for a
// range, page and position, where a bar composed at a fixed thickness puts its parts, which
// part a point along the bar hits, and which position a dragged thumb stands for.
#pragma once

#include "skin/paint/SkinDraw.h"

// Windows' MulDiv: a * b / c rounded half away from zero, -1 when c is 0.
int ScrollMulDiv(int a, int b, int c);

// Range, page and position of one bar, as SCROLLINFO holds them.
struct TScrollRange {
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Pos = 0;
};

// One bar's lengths along the bar; the thumb offset counts from the start of the track.
struct TBarGeometry {
  int ArrowLength = 0;
  int TrackLength = 0;
  int ThumbLength = 0;
  int ThumbOffset = 0;
};

// Geometry of a window scroll bar of barLength pixels with arrows of arrow pixels; minThumb is
// the shortest thumb, fixedThumb the thumb length without a page. False (g unchanged) when the
// range is empty or negative.
bool WindowBarGeometry(int barLength, int arrow, const TScrollRange& r, int minThumb, int fixedThumb,
                       TBarGeometry& g);
// The same for a scroll bar control, whose range counts both ends (Max - Min + 1 positions).
bool ControlBarGeometry(int barLength, int arrow, const TScrollRange& r, int minThumb, int fixedThumb,
                        TBarGeometry& g);

// The position a thumb dragged to offset stands for (offset from the track start, held to the
// track), and the offset at which the thumb is then drawn (never past the track's end).
struct TThumbDrag {
  int Pos = 0;
  int Offset = 0;
};
TThumbDrag DragThumb(const TScrollRange& r, const TBarGeometry& g, int offset);

// Which part of a bar a point at distance `along` from the bar's start hits.
enum TBarHit { bhNone, bhLineUp, bhPageUp, bhThumb, bhPageDown, bhLineDown };
TBarHit HitBar(const TBarGeometry& g, int along);

// Where the bars of a window W x H lie (window coordinates): b is the bar thickness, edge the
// border when it cannot be told from the client size.
struct TBarLayout {
  TDrawRect Horz;
  TDrawRect Vert;
  TDrawRect Corner;
};
TBarLayout LayoutBars(int width, int height, int clientWidth, int clientHeight, int thickness, int edge,
                      bool horz, bool vert, bool vertOnLeft);

// A bar composed lengthwise at `thickness` pixels (kComposedBarThickness at 96 DPI, the bar's own
// above) before one stretch onto the screen: the parts' rectangles in the composed picture (x
// along a horizontal bar, y along a vertical one).
constexpr int kComposedBarThickness = 16;
struct TComposedBar {
  int Width = 0;
  int Height = 0;
  TDrawRect Track;  // inverted when the bar has no room for a track
  TDrawRect First;  // the left or up arrow
  TDrawRect Second;
  TDrawRect Thumb;
  bool ThumbShown = false;
};
TComposedBar ComposeBar(int barLength, int arrow, const TBarGeometry& g, bool vertical,
                        int thickness = kComposedBarThickness);
