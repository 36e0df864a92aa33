#include "skin/controls/ScrollGeometry.h"

#include <algorithm>
#include <cstdint>

namespace {
using Wide = std::int64_t;

// a * b / c rounded half away from zero (c not 0); the product must fit 64 bits, which it does
// for a range or position (up to 2^32) times a length on the screen.
Wide MulDivWide(Wide a, Wide b, Wide c) {
  Wide p = a * b;
  bool negative = (p < 0) != (c < 0);
  std::uint64_t ap = p < 0 ? 0 - static_cast<std::uint64_t>(p) : static_cast<std::uint64_t>(p);
  std::uint64_t ac = c < 0 ? 0 - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
  auto q = static_cast<Wide>((ap + ac / 2) / ac);
  return negative ? -q : q;
}

int ToInt(Wide v) { return static_cast<int>(std::clamp<Wide>(v, INT32_MIN, INT32_MAX)); }

// Shared by both kinds of bar: range is the divisor of the page, span that of the position. Ranges
// and positions are any integers a program sets, so they are taken wide.
void Thumb(int track, int page, Wide range, Wide span, Wide posFromMin, int minThumb, int fixedThumb,
           bool fullPage, TBarGeometry& g) {
  Wide t = page != 0 ? std::max<Wide>(MulDivWide(page, track, range), minThumb) : fixedThumb;
  t = std::min<Wide>(t, track);
  Wide offset = 0;
  if (fullPage) {
    t -= 1;
  } else if (span != 0) {
    offset = MulDivWide(posFromMin, track - t, span);
  } else {
    offset = -1;
  }
  g.TrackLength = track;
  g.ThumbLength = ToInt(t);
  // A page larger than the range would put the thumb before the track: it stays at the start.
  g.ThumbOffset = ToInt(std::max<Wide>(0, std::min<Wide>(offset, track - t)));
}
}  // namespace

int ScrollMulDiv(int a, int b, int c) { return c == 0 ? -1 : static_cast<int>(MulDivWide(a, b, c)); }

bool WindowBarGeometry(int barLength, int arrow, const TScrollRange& r, int minThumb, int fixedThumb,
                       TBarGeometry& g) {
  Wide range = Wide{r.Max} - r.Min;
  if (range <= 0) return false;
  g.ArrowLength = arrow;
  Thumb(barLength - 2 * arrow, r.Page, range, range - r.Page, Wide{r.Pos} - r.Min, minThumb, fixedThumb,
        r.Page == range, g);
  return true;
}

bool ControlBarGeometry(int barLength, int arrow, const TScrollRange& r, int minThumb, int fixedThumb,
                        TBarGeometry& g) {
  Wide range = Wide{r.Max} - r.Min;
  if (range < 0) return false;
  g.ArrowLength = arrow;
  Thumb(barLength - 2 * arrow, r.Page, range + 1, range - r.Page + 1, Wide{r.Pos} - r.Min, minThumb,
        fixedThumb, r.Page == range + 1, g);
  return true;
}

TThumbDrag DragThumb(const TScrollRange& r, const TBarGeometry& g, int offset) {
  Wide range = Wide{r.Max} - r.Min;
  int L = g.TrackLength, t = g.ThumbLength;
  offset = std::max(offset, 0);
  Wide pos;
  if (r.Page != 0) {
    offset = std::min(offset, L);
    pos = r.Min + (L > 0 ? MulDivWide(offset, range, L) : 0);
    if (pos >= Wide{r.Max} - r.Page) pos = Wide{r.Max} - r.Page + 1;
  } else {
    offset = std::min(offset, L - t);
    pos = r.Min + (L - t > 0 ? MulDivWide(offset, range, L - t) : 0);
    pos = std::min<Wide>(pos, r.Max);
  }
  TThumbDrag d;
  d.Pos = ToInt(std::max<Wide>(pos, r.Min));
  d.Offset = std::max(0, std::min(offset, L - t));
  return d;
}

TBarHit HitBar(const TBarGeometry& g, int along) {
  int a = g.ArrowLength, o = g.ThumbOffset, t = g.ThumbLength, L = g.TrackLength;
  if (along < a) return bhLineUp;
  if (along < a + o) return bhPageUp;
  if (along < a + o + t) return bhThumb;
  if (along < a + L) return bhPageDown;
  if (along < 2 * a + L) return bhLineDown;
  return bhNone;
}

TBarLayout LayoutBars(int W, int H, int clientWidth, int clientHeight, int b, int e, bool horz, bool vert,
                      bool left) {
  if (vert)
    e = (W - clientWidth - b) / 2;
  else if (horz)
    e = (H - clientHeight - b) / 2;
  TBarLayout l;
  if (horz && vert) {
    if (left) {
      l.Horz = {e + b, H - e - b, W - e, H - e};
      l.Vert = {e, e, e + b, H - e - b};
      l.Corner = {e, H - e - b, e + b, H - e};
    } else {
      l.Horz = {e, H - e - b, W - e - b, H - e};
      l.Vert = {W - e - b, e, W - e, H - e - b};
      l.Corner = {W - e - b, H - e - b, W - e, H - e};
    }
  } else if (vert) {
    l.Vert = left ? TDrawRect{e, e, e + b, H - e} : TDrawRect{W - e - b, e, W - e, H - e};
  } else if (horz) {
    l.Horz = {e, H - e - b, W - e, H - e};
  }
  return l;
}

TComposedBar ComposeBar(int length, int arrow, const TBarGeometry& g, bool vertical, int thickness) {
  TComposedBar c;
  const int k = thickness;
  // Lengthwise rectangles are made horizontal and turned at the end for a vertical bar.
  auto along = [&](int from, int to) {
    return vertical ? TDrawRect{0, from, k, to} : TDrawRect{from, 0, to, k};
  };
  c.Width = vertical ? k : length;
  c.Height = vertical ? length : k;
  c.Track = along(arrow, length - arrow);
  int a = length < 2 * arrow ? length / 2 : arrow;
  c.First = along(0, a);
  c.Second = along(length - a, length);
  int start = arrow + g.ThumbOffset;
  c.Thumb = along(start, start + g.ThumbLength);
  c.ThumbShown = g.ThumbLength > 0 && g.TrackLength >= g.ThumbLength;
  return c;
}
