// The skin drawing operations on real device contexts: what reaches a DC is exactly the picture
// the portable code builds, transparent draws keep the destination under magenta, regions leave
// magenta out, and our scaling is GDI's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "skin/paint/SkinDrawWin32.h"
#include "tests/windows/GdiCount.h"

namespace {

constexpr TColor kBack = 0x336699;

TBitmap Coords(int w, int h) {
  TBitmap b(w, h, pf32bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x, y, 100));
  return b;
}

// A canvas bitmap filled with kBack, drawn on through a memory DC.
struct Target {
  explicit Target(int w, int h) : bitmap(w, h, pf32bit) { bitmap.Fill(kBack); }
  template <class F>
  void Draw(F draw) {
    TBitmapDC dc(bitmap);
    ASSERT_TRUE(dc);
    draw(dc.Get());
  }  // the DC goes: drawing flushed, pixels readable
  TBitmap bitmap;
};

// Whether target shows picture at (x, y) and kBack everywhere else (keyed pixels of picture,
// when given a key, also show kBack).
void ExpectPlaced(const TBitmap& target, const TBitmap& picture, int x0, int y0, bool keyed = false) {
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < target.Width(); ++x) {
      int px = x - x0, py = y - y0;
      TColor want = kBack;
      if (px >= 0 && py >= 0 && px < picture.Width() && py < picture.Height()) {
        TColor p = picture.Pixel(px, py);
        if (!keyed || p != clFuchsia) want = p;
      }
      ASSERT_EQ(target.Pixel(x, y), want) << "at " << x << "," << y;
    }
}

TEST(FormDrawWin32, OurScalingIsGdiStretchBlt) {
  TBitmap src = Coords(40, 40);
  TBitmapDC srcDc(src);
  ASSERT_TRUE(srcDc);
  const int sizes[] = {1, 2, 3, 4, 5, 7, 9, 12, 13, 17, 30, 40};
  for (int sw : sizes)
    for (int dw : {1, 2, 3, 5, 6, 8, 11, 16, 29, 41, 64}) {
      // Horizontal and vertical at once: sw x dw scaled to dw x sw.
      TBitmap gdi(dw, sw, pf32bit), ours(dw, sw, pf32bit);
      {
        TBitmapDC dc(gdi);
        SetStretchBltMode(dc.Get(), COLORONCOLOR);
        StretchBlt(dc.Get(), 0, 0, dw, sw, srcDc.Get(), 0, 0, sw, dw <= 40 ? dw : 40, SRCCOPY);
      }
      StretchCopy(ours, {0, 0, dw, sw}, src, {0, 0, sw, dw <= 40 ? dw : 40});
      for (int y = 0; y < sw; ++y)
        for (int x = 0; x < dw; ++x)
          ASSERT_EQ(ours.Pixel(x, y), gdi.Pixel(x, y)) << sw << "->" << dw << " at " << x << "," << y;
    }
}

TEST(FormDrawWin32, SlicedPicturesReachTheDcWhole) {
  TBitmap image = Coords(30, 8);  // three frames of 10 x 8
  TMargins m{3, 2, 3, 2};
  RECT r{4, 5, 29, 19};
  Target t(40, 30);
  t.Draw([&](HDC dc) { DrawNineSlice(dc, r, image, false, true, false, 3, 2, m); });
  ExpectPlaced(t.bitmap, BuildNineSlice(ToDrawRect(r), image, m, false, true, 3, 2), 4, 5);

  // The border: the centre keeps what was there.
  Target border(40, 30);
  border.Draw([&](HDC dc) { DrawNineSliceBorder(dc, r, image, false, 3, 1, m); });
  TBitmap full = BuildNineSlice(ToDrawRect(r), image, m, false, false, 3, 1);
  for (int y = r.top + m.Top; y < r.bottom - m.Bottom; ++y)
    for (int x = r.left + m.Left; x < r.right - m.Right; ++x) full.SetPixel(x - r.left, y - r.top, clFuchsia);
  ExpectPlaced(border.bitmap, full, 4, 5, true);
}

TEST(FormDrawWin32, TransparentDrawsLeaveTheDestinationUnderMagenta) {
  TBitmap image(6, 4, pf24bit);
  image.Fill(clFuchsia);
  RECT r{2, 3, 8, 7};
  Target t(12, 10);
  t.Draw([&](HDC dc) { DrawTransparent(dc, r, image, clFuchsia); });
  ExpectPlaced(t.bitmap, TBitmap(), 0, 0);  // all magenta: nothing changed

  image.SetPixel(0, 0, clWhite);
  image.SetPixel(5, 3, clBlack);
  image.SetPixel(2, 1, 0xFE00FF);
  t.Draw([&](HDC dc) { DrawTransparent(dc, r, image, clFuchsia); });
  ExpectPlaced(t.bitmap, image, 2, 3, true);

  // Nine-slice with magenta corners, drawn transparently over a filled target.
  TBitmap button = Coords(8, 8);
  for (int i = 0; i < 2; ++i) {
    button.SetPixel(0, i, clFuchsia);
    button.SetPixel(7, i, clFuchsia);
  }
  Target nine(20, 20);
  nine.Draw([&](HDC dc) {
    DrawNineSlice(dc, RECT{1, 1, 17, 13}, button, false, false, true, 1, 1, {2, 2, 2, 2});
  });
  ExpectPlaced(nine.bitmap, BuildNineSlice({1, 1, 17, 13}, button, {2, 2, 2, 2}, false, false, 1, 1), 1, 1,
               true);
  EXPECT_EQ(nine.bitmap.Pixel(1, 1), kBack);
  EXPECT_EQ(nine.bitmap.Pixel(16, 2), kBack);
}

TEST(FormDrawWin32, TilesAreCutAtTheRectangle) {
  TBitmap image = Coords(10, 10);
  Target t(30, 20);
  RECT r{1, 2, 20, 9};
  t.Draw([&](HDC dc) { TileImage(dc, r, image, RECT{2, 3, 9, 6}); });  // 7 x 3 tiles
  TBitmap expected(19, 7, pf32bit);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 19; ++x) expected.SetPixel(x, y, RGBColor(2 + x % 7, 3 + y % 3, 100));
  ExpectPlaced(t.bitmap, expected, 1, 2);
}

TEST(FormDrawWin32, InvertedRectanglesDrawNothing) {
  TBitmap image = Coords(12, 12);
  Target t(16, 16);
  for (RECT r : {RECT{8, 2, 3, 9}, RECT{2, 8, 9, 3}}) {
    t.Draw([&](HDC dc) {
      DrawNineSlice(dc, r, image, false, true, false, 1, 1, {2, 2, 2, 2});
      DrawNineSliceBorder(dc, r, image, false, 1, 1, {2, 2, 2, 2});
      DrawThreeSlice(dc, r, image, false, false, 1, 1, {2, 2, 2, 2});
      DrawFrame(dc, r, image, false, 1, 1);
      DrawTransparent(dc, r, image, clFuchsia);
      TileImage(dc, r, image, RECT{0, 0, 4, 4});
    });
  }
  // Nor do degenerate strips and sources.
  t.Draw([&](HDC dc) {
    DrawNineSlice(dc, RECT{0, 0, 8, 8}, image, false, false, false, 20, 1, {});
    DrawFrame(dc, RECT{0, 0, 8, 8}, TBitmap(), false, 1, 1);
    TileImage(dc, RECT{0, 0, 8, 8}, image, RECT{5, 5, 2, 2});
  });
  ExpectPlaced(t.bitmap, TBitmap(), 0, 0);
}

TEST(FormDrawWin32, RegionsLeaveMagentaOut) {
  TBitmap three(3, 1, pf24bit);
  three.Fill(clFuchsia);
  three.SetPixel(1, 0, clWhite);
  TGdiRegion small = RegionFromImage(three, 10, 20, 1, 1, 1, clFuchsia);
  ASSERT_TRUE(small);
  RECT box{};
  EXPECT_EQ(GetRgnBox(small.Get(), &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 11);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.right, 12);
  EXPECT_EQ(box.bottom, 21);

  // A frame image with 3-pixel magenta corner triangles.
  TBitmap frame(40, 30, pf24bit);
  frame.Fill(clGray);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3 - y; ++x) {
      frame.SetPixel(x, y, clFuchsia);
      frame.SetPixel(39 - x, y, RGBColor(255, 1, 255));  // within the tolerance
    }
  TGdiRegion shaped = RegionFromImage(frame, 5, 7, 1, 1, 1, clFuchsia);
  ASSERT_TRUE(shaped);
  EXPECT_FALSE(PtInRegion(shaped.Get(), 5, 7));
  EXPECT_FALSE(PtInRegion(shaped.Get(), 7, 7));
  EXPECT_TRUE(PtInRegion(shaped.Get(), 8, 7));
  EXPECT_FALSE(PtInRegion(shaped.Get(), 44, 7));
  EXPECT_TRUE(PtInRegion(shaped.Get(), 41, 7));
  EXPECT_TRUE(PtInRegion(shaped.Get(), 5, 10));
  EXPECT_TRUE(PtInRegion(shaped.Get(), 44, 36));
  EXPECT_FALSE(PtInRegion(shaped.Get(), 45, 20));
  EXPECT_FALSE(PtInRegion(shaped.Get(), 20, 37));

  // More runs than one batch holds: a checkerboard of 100 x 100 (5000 runs).
  TBitmap checker(100, 100, pf32bit);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) checker.SetPixel(x, y, (x + y) % 2 ? clFuchsia : clWhite);
  TGdiRegion board = RegionFromImage(checker, 0, 0, 1, 1, 1, clFuchsia);
  ASSERT_TRUE(board);
  for (int y = 0; y < 100; y += 7)
    for (int x = 0; x < 100; x += 3)
      ASSERT_EQ(PtInRegion(board.Get(), x, y) != 0, (x + y) % 2 == 0) << x << "," << y;

  TBitmap none(4, 4, pf24bit);
  none.Fill(clFuchsia);
  EXPECT_FALSE(RegionFromImage(none, 0, 0, 1, 1, 1, clFuchsia));
}

}  // namespace

TEST(FormDrawWin32, DrawingLeavesNoGdiObjectsBehind) {
  TBitmap image = Coords(24, 8);
  image.SetPixel(0, 0, clFuchsia);
  Target t(64, 48);
  auto drawAll = [&] {
    t.Draw([&](HDC dc) {
      RECT r{2, 3, 50, 40};
      DrawNineSlice(dc, r, image, false, true, true, 2, 1, {3, 2, 3, 2});
      DrawNineSliceBorder(dc, r, image, false, 2, 2, {3, 2, 3, 2});
      DrawThreeSlice(dc, r, image, false, true, 2, 1, {3, 0, 3, 0});
      DrawFrame(dc, r, image, true, 2, 2);
      DrawTransparent(dc, r, image, clFuchsia);
      TileImage(dc, r, image, RECT{1, 1, 5, 5});
    });
    TGdiRegion region = RegionFromImage(image, 0, 0, 1, 1, 1, clFuchsia);
  };
  drawAll();
  long before = GdiObjectsInUse();
  for (int i = 0; i < 300; ++i) drawAll();
  EXPECT_EQ(GdiObjectsInUse(), before);
}
