// The painters' fuzz target: frame counts, margins, image sizes, rectangles, tolerances and
// scroll ranges taken from the input, through every portable painter and layout. The painters
// take any frame count, margin, tolerance and scroll range; the frame layout takes what the skin
// reader leaves (margins held to their bounds); coordinates and lengths stay within what a window
// can measure. Values are read one statement at a time, so an input means the same whatever
// order a compiler evaluates arguments in.
#include <algorithm>
#include <cstring>

#include "skin/controls/ScrollGeometry.h"
#include "skin/data/VuzUrezDataRead.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/paint/SkinDraw.h"
#include "tests/fuzz/FuzzTargets.h"

namespace fuzz {
namespace {

// Takes values from the front of the input; an exhausted input reads as zeros.
class TInput {
 public:
  TInput(const std::uint8_t* data, std::size_t size) : p_(data), left_(size) {}
  std::int32_t Any() {
    std::uint32_t v = 0;
    std::size_t n = std::min<std::size_t>(4, left_);
    if (n > 0) std::memcpy(&v, p_, n);
    p_ += n;
    left_ -= n;
    return static_cast<std::int32_t>(v);
  }
  // lo..hi, both included.
  int In(int lo, int hi) {
    auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(hi) - lo + 1);
    return static_cast<int>(lo + static_cast<std::int64_t>(static_cast<std::uint32_t>(Any()) % span));
  }
  bool Flag() { return (Any() & 1) != 0; }
  int Margin() { return In(0, kMaxSkinMargin); }
  int Offset() { return In(-kMaxSkinMargin, kMaxSkinMargin); }
  // A coordinate or length a window can have.
  int Screen() { return In(-kScreen, kScreen); }
  TDrawRect Rect() { return {Screen(), Screen(), Screen(), Screen()}; }  // braces: read left to right
  // A rectangle small enough to build a bitmap of, anywhere.
  TDrawRect SmallRect() {
    int x = Screen(), y = Screen();
    return {x, y, x + In(-4, 160), y + In(-4, 160)};
  }
  TMargins AnyMargins() { return {Any(), Any(), Any(), Any()}; }
  TBitmap Image() {
    int w = In(0, 48), h = In(0, 48);
    TBitmap b(w, h, Flag() ? pf32bit : pf24bit);
    std::uint32_t seed = static_cast<std::uint32_t>(Any());
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        seed = seed * 1103515245u + 12345u;
        b.SetPixel(x, y, (seed >> 16) % 3 == 0 ? SkinKeyColor : static_cast<TColor>(seed & 0xFFFFFF));
      }
    return b;
  }

 private:
  static constexpr int kScreen = 1 << 20;
  const std::uint8_t* p_;
  std::size_t left_;
};

void Slices(TInput& in, TBitmap& dest, const TBitmap& image) {
  int count = in.Any(), index = in.Any();
  bool vertical = in.Flag(), tile = in.Flag(), border = in.Flag();
  TMargins m = in.AnyMargins();
  TDrawRect big = in.Rect(), small = in.SmallRect(), three = in.SmallRect(), frame = in.SmallRect();
  TDrawRect clip = in.Rect(), source = in.Rect();
  bool clipped = in.Flag();
  TColor key = static_cast<TColor>(in.Any());
  EffectiveMargins(big, FrameCell(image, vertical, count, index), m);
  DrawNineSlice(dest, big, image, m, vertical, tile, count, index,
                border ? TSliceParts::Border : TSliceParts::All);
  BuildNineSlice(small, image, m, vertical, tile, count, index);
  BuildThreeSlice(three, image, m, vertical, count, index);
  BuildFrame(frame, image, count, index);
  StretchCopy(dest, big, image, source, clipped ? &clip : nullptr);
  TileImage(dest, big, image, source, clipped ? &clip : nullptr);
  DrawTransparent(dest, big, image, key);
}

void Regions(TInput& in, const TBitmap& image) {
  int b = in.Any(), g = in.Any(), r = in.Any();
  TColor key = static_cast<TColor>(in.Any());
  int x = in.Screen(), y = in.Screen(), w = in.In(-4, 64), h = in.In(-4, 64), align = in.In(1, 8);
  OpaqueRuns(image, x, y, b, g, r, key);
  OpaqueMask(image, w, h, key, align);
}

void Scrolling(TInput& in) {
  TScrollRange range{in.Any(), in.Any(), in.Any(), in.Any()};
  int length = in.Screen(), arrow = in.Screen(), minThumb = in.Screen(), fixedThumb = in.Screen();
  int drag = in.Screen(), along = in.Screen();
  bool vertical = in.Flag(), control = in.Flag();
  TBarGeometry g;
  if (control ? ControlBarGeometry(length, arrow, range, minThumb, fixedThumb, g)
              : WindowBarGeometry(length, arrow, range, minThumb, fixedThumb, g)) {
    DragThumb(range, g, drag);
    HitBar(g, along);
    ComposeBar(length, arrow, g, vertical);
  }
  int a = in.Any(), b = in.Any(), c = in.Any();
  ScrollMulDiv(a, b, c);
  TDrawRect window = in.Rect(), client = in.Rect();
  bool horz = in.Flag(), vert = in.Flag(), left = in.Flag();
  LayoutBars(window.Left, window.Top, client.Left, client.Top, window.Right, window.Bottom, horz, vert, left);
}

void FrameLayout(TInput& in, const TBitmap& image) {
  TSkinElements skin;
  for (TDataSkinBorder* e :
       {skin.BorderLeft.get(), skin.BorderRight.get(), skin.BorderTop.get(), skin.BorderBottom.get()}) {
    e->Bitmap.Share(image);
    e->FrameCount = in.Any();
    e->LeftWidth = in.Margin();
    e->RightWidth = in.Margin();
    e->TopHeight = in.Margin();
    e->BottomHeight = in.Margin();
  }
  TBorderSizes borders = SkinBorderSizes(skin);
  TCaptionLayoutInput c;
  c.Title = in.Rect();
  c.TextWidth = in.Screen();
  c.TextHeight = in.Screen();
  c.Alignment = in.Any();
  c.TextShift = in.Offset();
  c.TextShiftVert = in.Offset();
  c.TextRightClip = in.Offset();
  c.BackLeft = in.Margin();
  c.BackRight = in.Margin();
  c.RightToLeft = in.Flag();
  c.Popup = in.Flag();
  c.RightmostButtonLeft = in.Screen();
  CaptionRectangle(c);
  TDrawRect sizes = in.Rect();
  int menu = in.Screen();
  SkinnedWindowSize({sizes.Left, sizes.Top}, borders, menu);
  UnskinnedWindowSize({sizes.Left, sizes.Top}, {sizes.Right, sizes.Bottom}, borders, menu);
}

}  // namespace

int Paint(const std::uint8_t* data, std::size_t size) {
  TInput in(data, size);
  TBitmap image = in.Image();
  int w = in.In(0, 64), h = in.In(0, 64);
  TBitmap dest(w, h, in.Flag() ? pf32bit : pf24bit);
  Slices(in, dest, image);
  Regions(in, image);
  Scrolling(in);
  FrameLayout(in, image);
  return 0;
}

}  // namespace fuzz
