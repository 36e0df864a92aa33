// Skin image building, pixel for pixel. Most images here encode each pixel's own position
// (red = x, green = y), so a destination pixel tells which source pixel it was taken from.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/paint/SkinDraw.h"

namespace {

constexpr TColor kMarker = 0x00AB12;  // a colour no coordinate image contains (blue 0)

TBitmap Coords(int w, int h, TPixelFormat format = pf24bit) {
  TBitmap b(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x, y, 100));
  return b;
}

// The source position a pixel was copied from, as "x,y".
std::pair<int, int> From(const TBitmap& b, int x, int y) {
  TColor c = b.Pixel(x, y);
  return {RedOf(c), GreenOf(c)};
}

std::vector<int> SourceColumns(const TBitmap& b, int y) {
  std::vector<int> cols;
  for (int x = 0; x < b.Width(); ++x) cols.push_back(From(b, x, y).first);
  return cols;
}

std::vector<int> SourceRows(const TBitmap& b, int x) {
  std::vector<int> rows;
  for (int y = 0; y < b.Height(); ++y) rows.push_back(From(b, x, y).second);
  return rows;
}

std::vector<int> Map(int src, int dst, TStretchAxis axis) {
  std::vector<int> m;
  for (int i = 0; i < dst; ++i) m.push_back(StretchSource(i, src, dst, axis));
  return m;
}

bool AllPixels(const TBitmap& b, TColor c) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != c) return false;
  return true;
}

TBitmap Filled(int w, int h, TColor c) {
  TBitmap b(w, h);
  b.Fill(c);
  return b;
}

// Pixel mappings as GDI's COLORONCOLOR StretchBlt produces them on top-down DIBs (measured).
TEST(FormDrawStretch, PicksTheSourcePixelsGdiPicks) {
  using V = std::vector<int>;
  const auto H = TStretchAxis::Horizontal, Vt = TStretchAxis::Vertical;
  EXPECT_EQ(Map(3, 7, H), (V{0, 0, 1, 1, 1, 2, 2}));
  EXPECT_EQ(Map(2, 9, H), (V{0, 0, 0, 0, 0, 1, 1, 1, 1}));
  EXPECT_EQ(Map(4, 10, Vt), (V{0, 0, 0, 1, 1, 2, 2, 2, 3, 3}));
  EXPECT_EQ(Map(5, 13, H), (V{0, 0, 0, 1, 1, 2, 2, 2, 3, 3, 4, 4, 4}));
  EXPECT_EQ(Map(6, 6, H), (V{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Map(1, 5, Vt), (V{0, 0, 0, 0, 0}));
  // Reducing keeps the last pixel of each group along a row, the first along a column.
  EXPECT_EQ(Map(7, 3, H), (V{1, 4, 6}));
  EXPECT_EQ(Map(7, 3, Vt), (V{0, 2, 5}));
  EXPECT_EQ(Map(9, 2, H), (V{4, 8}));
  EXPECT_EQ(Map(9, 2, Vt), (V{0, 5}));
  EXPECT_EQ(Map(30, 7, H), (V{3, 8, 12, 16, 20, 25, 29}));
  EXPECT_EQ(Map(30, 7, Vt), (V{0, 4, 9, 13, 17, 21, 26}));
  EXPECT_EQ(Map(40, 17, H), (V{1, 4, 6, 8, 11, 13, 15, 18, 20, 23, 25, 27, 30, 32, 34, 37, 39}));
  EXPECT_EQ(Map(5, 1, H), (V{3}));
  EXPECT_EQ(Map(5, 1, Vt), (V{0}));
  EXPECT_EQ(Map(40, 17, Vt), (V{0, 2, 5, 7, 9, 12, 14, 16, 19, 21, 24, 26, 28, 31, 33, 35, 38}));
}

TEST(FormDrawStretch, ClipsWithoutChangingTheScaleAndNeverReadsOutside) {
  TBitmap src = Coords(4, 4);
  TBitmap dest = Filled(5, 5, kMarker);
  // 4 -> 8 wide, half of it off the left edge of dest: visible columns keep their mapping.
  StretchCopy(dest, {-4, 0, 4, 4}, src, {0, 0, 4, 4});
  EXPECT_EQ(SourceColumns(dest, 0), (std::vector<int>{2, 2, 3, 3, RedOf(kMarker)}));
  TDrawRect clip{1, 1, 3, 3};
  TBitmap clipped = Filled(5, 5, kMarker);
  StretchCopy(clipped, {0, 0, 5, 5}, src, {0, 0, 4, 4}, &clip);
  EXPECT_EQ(clipped.Pixel(0, 0), kMarker);
  EXPECT_EQ(clipped.Pixel(3, 3), kMarker);
  EXPECT_NE(clipped.Pixel(1, 1), kMarker);
  // A source rectangle reaching outside the image is refused.
  TBitmap untouched = Filled(5, 5, kMarker);
  StretchCopy(untouched, {0, 0, 5, 5}, src, {2, 2, 6, 6});
  EXPECT_TRUE(AllPixels(untouched, kMarker));
}

TEST(FormDrawCell, LocatesFramesAndHandlesDegenerateStrips) {
  TBitmap strip = Coords(12, 6);
  TFrameCell c = FrameCell(strip, false, 3, 2);
  EXPECT_EQ(c.X, 4);
  EXPECT_EQ(c.Y, 0);
  EXPECT_EQ(c.Width, 4);
  EXPECT_EQ(c.Height, 6);
  c = FrameCell(strip, true, 3, 3);
  EXPECT_EQ(c.X, 0);
  EXPECT_EQ(c.Y, 4);
  EXPECT_EQ(c.Width, 12);
  EXPECT_EQ(c.Height, 2);
  // 12 div 5 = 2: the leftover columns belong to no frame.
  EXPECT_EQ(FrameCell(strip, false, 5, 5).X, 8);
  EXPECT_EQ(FrameCell(strip, false, 0, 1).Width, 12);  // no count: one frame
  EXPECT_EQ(FrameCell(strip, false, 3, 7).X, 8);       // past the end: the last frame
  EXPECT_EQ(FrameCell(strip, false, 3, 0).X, 0);
  EXPECT_TRUE(FrameCell(strip, false, 13, 1).Empty());  // more frames than columns
  EXPECT_TRUE(FrameCell(TBitmap(), false, 1, 1).Empty());
}

TEST(FormDrawNineSlice, EqualSizeIsACopyAndLargerStretchesOnlyTheMiddle) {
  TBitmap image = Coords(9, 9);
  TMargins m{3, 3, 3, 3};
  TBitmap same = BuildNineSlice({0, 0, 9, 9}, image, m, false, false, 1, 1);
  ASSERT_EQ(same.Width(), 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(From(same, x, y), std::make_pair(x, y));

  TBitmap wide = BuildNineSlice({5, 5, 20, 17}, image, m, false, false, 1, 1);
  ASSERT_EQ(wide.Width(), 15);
  ASSERT_EQ(wide.Height(), 12);
  const std::vector<int> cols{0, 1, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 7, 8};
  for (int y : {0, 2, 5, 11}) EXPECT_EQ(SourceColumns(wide, y), cols) << "row " << y;
  const std::vector<int> rows{0, 1, 2, 3, 3, 4, 4, 5, 5, 6, 7, 8};  // 3 -> 6 in the middle
  for (int x : {0, 4, 14}) EXPECT_EQ(SourceRows(wide, x), rows) << "column " << x;
}

TEST(FormDrawNineSlice, NarrowDestinationTakesItsWholeWidthFromTheFrame) {
  TBitmap image = Coords(9, 9);
  // 5 < 3 + 3: no left or right parts; the whole frame width is scaled into 5 columns.
  TBitmap narrow = BuildNineSlice({0, 0, 5, 9}, image, {3, 3, 3, 3}, false, false, 1, 1);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(SourceColumns(narrow, y), (std::vector<int>{1, 3, 4, 6, 8}));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(SourceRows(narrow, x), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  // Likewise in height.
  TBitmap low = BuildNineSlice({0, 0, 9, 2}, image, {3, 3, 3, 3}, false, false, 1, 1);
  EXPECT_EQ(SourceRows(low, 4), (std::vector<int>{0, 5}));
  // Margins the frame cannot hold are dropped: the whole frame is stretched.
  TBitmap huge = BuildNineSlice({0, 0, 30, 30}, image, {20, -4, 20, 40}, false, false, 1, 1);
  EXPECT_EQ(From(huge, 0, 0), std::make_pair(0, 0));
  EXPECT_EQ(From(huge, 29, 29), std::make_pair(8, 8));
}

TEST(FormDrawNineSlice, OneFrameStripIsTheWholeImageAndFramesComeFromTheirCell) {
  TBitmap single = Coords(6, 6);
  TBitmap whole = BuildNineSlice({0, 0, 6, 6}, single, {2, 2, 2, 2}, false, false, 1, 1);
  EXPECT_EQ(From(whole, 5, 5), std::make_pair(5, 5));
  TBitmap strip = Coords(18, 6);
  TBitmap second = BuildNineSlice({0, 0, 6, 6}, strip, {2, 2, 2, 2}, false, false, 3, 2);
  EXPECT_EQ(From(second, 0, 0), std::make_pair(6, 0));
  EXPECT_EQ(From(second, 5, 5), std::make_pair(11, 5));
  TBitmap stacked = Coords(6, 12);
  TBitmap lower = BuildNineSlice({0, 0, 6, 6}, stacked, {2, 2, 2, 2}, true, false, 2, 2);
  EXPECT_EQ(From(lower, 0, 0), std::make_pair(0, 6));
  EXPECT_EQ(From(lower, 5, 5), std::make_pair(5, 11));
}

TEST(FormDrawNineSlice, TiledCentreRepeatsFromTheTopLeftAndIsCoveredOnTheRight) {
  // Frame 13 x 4: margins 3 | 7-pixel tile | 3, top 1, bottom 1 (tile 2 rows high).
  TBitmap image = Coords(13, 4);
  TMargins m{3, 1, 3, 1};
  TBitmap b = BuildNineSlice({0, 0, 36, 7}, image, m, false, true, 1, 1);
  std::vector<int> expected{0, 1, 2};
  for (int j = 0; j < 30; ++j) expected.push_back(3 + j % 7);  // 4 whole tiles, 2 columns of a fifth
  for (int x : {10, 11, 12}) expected.push_back(x);            // the right part covers the rest
  EXPECT_EQ(SourceColumns(b, 3), expected);
  EXPECT_EQ(SourceRows(b, 10), (std::vector<int>{0, 1, 2, 1, 2, 1, 3}));  // tiled down, bottom row last
  EXPECT_EQ(SourceRows(b, 0), (std::vector<int>{0, 1, 1, 1, 2, 2, 3}));   // left edge stretched

  // Without a right part the fifth tile's other columns fall outside the bitmap.
  TBitmap open = BuildNineSlice({0, 0, 33, 4}, Coords(10, 4), {3, 1, 0, 1}, false, true, 1, 1);
  EXPECT_EQ(From(open, 31, 1).first, 3);
  EXPECT_EQ(From(open, 32, 1).first, 4);
}

TEST(FormDrawNineSlice, DrawingIntoABitmapStaysInsideTheRectangle) {
  TBitmap image = Coords(13, 4);
  TBitmap dest = Filled(40, 10, kMarker);
  DrawNineSlice(dest, {2, 3, 22, 8}, image, {3, 1, 0, 0}, false, true, 1, 1);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) {
      bool inside = x >= 2 && x < 22 && y >= 3 && y < 8;
      ASSERT_EQ(dest.Pixel(x, y) != kMarker, inside) << x << "," << y;
    }
  // The border leaves the centre alone and matches the full picture everywhere else.
  TBitmap full = BuildNineSlice({0, 0, 20, 12}, image, {3, 1, 3, 1}, false, false, 1, 1);
  TBitmap border = Filled(20, 12, kMarker);
  DrawNineSlice(border, {0, 0, 20, 12}, image, {3, 1, 3, 1}, false, false, 1, 1, TSliceParts::Border);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) {
      bool centre = x >= 3 && x < 17 && y >= 1 && y < 11;
      ASSERT_EQ(border.Pixel(x, y), centre ? kMarker : full.Pixel(x, y)) << x << "," << y;
    }
}

TEST(FormDrawThreeSlice, CapsAndRepeatedMiddle) {
  TBitmap image = Coords(10, 2);  // caps 2 and 3, middle 5
  TBitmap b = BuildThreeSlice({0, 0, 14, 4}, image, {2, 9, 3, 9}, false, 1, 1);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(SourceColumns(b, y), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 7, 8, 9}));
  EXPECT_EQ(SourceRows(b, 8), (std::vector<int>{0, 0, 1, 1}));
  // Frame 2 of a vertical strip.
  TBitmap stacked = Coords(10, 4);
  TBitmap second = BuildThreeSlice({0, 0, 10, 2}, stacked, {2, 0, 3, 0}, true, 2, 2);
  EXPECT_EQ(From(second, 9, 0), std::make_pair(9, 2));
  // No middle columns (5 <= 3 + 3): the whole cell stretched, no hole between the caps.
  TBitmap caps = BuildThreeSlice({0, 0, 10, 1}, Coords(5, 1), {3, 0, 3, 0}, false, 1, 1);
  EXPECT_EQ(SourceColumns(caps, 0), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST(FormDrawThreeSlice, CapsTooLargeForAnyIntegerSumAreStretchedWhole) {
  constexpr int kHuge = 0x7FFFFFFF;
  TBitmap b = BuildThreeSlice({0, 0, 10, 1}, Coords(5, 1), {kHuge, 0, kHuge, 0}, false, 1, 1);
  EXPECT_EQ(SourceColumns(b, 0), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST(FormDrawFrame, ScalesOneFrameOfAHorizontalStrip) {
  TBitmap strip = Coords(12, 2);
  TBitmap b = BuildFrame({0, 0, 8, 2}, strip, 3, 2);
  EXPECT_EQ(SourceColumns(b, 0), (std::vector<int>{4, 4, 5, 5, 6, 6, 7, 7}));
  TBitmap same = BuildFrame({0, 0, 4, 2}, strip, 3, 3);
  EXPECT_EQ(SourceColumns(same, 1), (std::vector<int>{8, 9, 10, 11}));
}

TEST(FormDrawTransparent, CopiesExactlyTheNonKeyPixels) {
  TBitmap dest = Filled(4, 4, kMarker);
  DrawTransparent(dest, {0, 0, 4, 4}, Filled(4, 4, clFuchsia), clFuchsia);
  EXPECT_TRUE(AllPixels(dest, kMarker));

  TBitmap image = Filled(3, 2, clWhite);
  image.SetPixel(1, 0, clFuchsia);
  image.SetPixel(2, 1, 0xFE00FF);                          // near the key is not the key
  DrawTransparent(dest, {-1, 1, 9, 9}, image, clFuchsia);  // larger than the image, partly outside
  EXPECT_EQ(dest.Pixel(0, 1), kMarker);                    // image (1,0) is the key
  EXPECT_EQ(dest.Pixel(1, 1), clWhite);
  EXPECT_EQ(dest.Pixel(1, 2), 0xFE00FF);
  EXPECT_EQ(dest.Pixel(2, 1), kMarker);  // past the image's width
  EXPECT_EQ(dest.Pixel(0, 3), kMarker);  // past its height
}

TEST(FormDrawRegion, OpaqueRunsFollowTheKeyAndTolerances) {
  TBitmap three(3, 1, pf32bit);
  three.SetPixel(0, 0, clFuchsia);
  three.SetPixel(1, 0, clWhite);
  three.SetPixel(2, 0, clFuchsia);
  auto runs = OpaqueRuns(three, 10, 20, 1, 1, 1, clFuchsia);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (TDrawRect{11, 20, 12, 21}));

  TBitmap b(6, 2);
  b.Fill(clFuchsia);
  b.SetPixel(0, 0, RGBColor(255, 1, 255));  // green within tolerance: key
  b.SetPixel(1, 0, RGBColor(255, 2, 255));  // beyond it: opaque
  b.SetPixel(2, 0, RGBColor(254, 0, 255));  // red below the key: opaque
  b.SetPixel(5, 0, clBlack);
  b.SetPixel(0, 1, clBlack);
  runs = OpaqueRuns(b, 0, 0, 1, 1, 1, clFuchsia);
  EXPECT_EQ(runs, (std::vector<TDrawRect>{{1, 0, 3, 1}, {5, 0, 6, 1}, {0, 1, 1, 2}}));
  // A negative tolerance counts as none: the exact key only.
  runs = OpaqueRuns(b, 0, 0, -5, -5, -5, clFuchsia);
  EXPECT_EQ(runs.front(), (TDrawRect{0, 0, 3, 1}));

  EXPECT_TRUE(OpaqueRuns(Filled(5, 5, clFuchsia), 0, 0, 1, 1, 1, clFuchsia).empty());
  EXPECT_TRUE(OpaqueRuns(TBitmap(), 0, 0, 1, 1, 1, clFuchsia).empty());
}

TEST(FormDrawEdges, InvertedAndEmptyRectanglesDrawNothing) {
  TBitmap image = Coords(9, 9);
  const TDrawRect inverted{5, 0, 2, 4}, upsideDown{0, 5, 4, 2};
  for (const TDrawRect& r : {inverted, upsideDown, TDrawRect{3, 3, 3, 8}}) {
    EXPECT_TRUE(BuildNineSlice(r, image, {}, false, false, 1, 1).Empty());
    EXPECT_TRUE(BuildThreeSlice(r, image, {}, false, 1, 1).Empty());
    EXPECT_TRUE(BuildFrame(r, image, 1, 1).Empty());
    TBitmap dest = Filled(9, 9, kMarker);
    DrawNineSlice(dest, r, image, {}, false, true, 1, 1);
    TileImage(dest, r, image, {0, 0, 2, 2});
    DrawTransparent(dest, r, image, clFuchsia);
    StretchCopy(dest, r, image, {0, 0, 2, 2});
    EXPECT_TRUE(AllPixels(dest, kMarker));
  }
  // No usable frame: nothing is built.
  EXPECT_TRUE(BuildNineSlice({0, 0, 4, 4}, image, {}, false, false, 10, 1).Empty());
  EXPECT_TRUE(BuildFrame({0, 0, 4, 4}, TBitmap(), 1, 1).Empty());
  // An inverted or empty source tile repeats nothing.
  TBitmap dest = Filled(9, 9, kMarker);
  TileImage(dest, {0, 0, 9, 9}, image, {4, 0, 2, 3});
  TileImage(dest, {0, 0, 9, 9}, image, {20, 20, 30, 30});
  EXPECT_TRUE(AllPixels(dest, kMarker));
}

TEST(FormDrawScratch, InitialisationIsCounted) {
  ASSERT_EQ(ScratchBitmap(), nullptr);
  FinalizeScratchBitmap();  // unbalanced: harmless
  InitScratchBitmap();
  TBitmap* first = ScratchBitmap();
  ASSERT_NE(first, nullptr);
  {
    TScratchBitmapUse nested;
    EXPECT_EQ(ScratchBitmap(), first);
  }
  EXPECT_EQ(ScratchBitmap(), first);
  FinalizeScratchBitmap();
  EXPECT_EQ(ScratchBitmap(), nullptr);
}

// The default skin's side borders, sliced to a window's height, give a region with rounded top
// corners and square sides.
TBitmap SkinImage(const char* name) {
  std::ifstream in(std::string(DASKEL_BINARY_DIR) + "/skins/default/" + name, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap b;
  EXPECT_TRUE(b.LoadFromBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) << name;
  return b;
}

TEST(FormDrawRegion, DefaultSkinBordersGiveRoundedCorners) {
  for (const char* name : {"left.bmp", "right.bmp"}) {
    SCOPED_TRACE(name);
    bool left = name[0] == 'l';
    TBitmap image = SkinImage(name);
    ASSERT_FALSE(image.Empty());
    const int side = image.Width() / 2, height = 273;
    TBitmap border = BuildNineSlice({0, 0, side, height}, image, {0, 30, 0, 4}, false, false, 2, 1);
    auto runs = OpaqueRuns(border, 0, 0, 1, 1, 1, clFuchsia);
    // Each row: at most one run, reaching the window's inner side; the pixels left out are magenta.
    std::vector<int> width(height, 0);
    for (const TDrawRect& r : runs) {
      ASSERT_EQ(width[r.Top], 0) << "two runs in row " << r.Top;
      EXPECT_EQ(left ? r.Right : r.Left, left ? side : 0);
      width[r.Top] = r.Width();
    }
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < side - width[y]; ++x) {
        int px = left ? x : side - 1 - x;
        ASSERT_EQ(border.Pixel(px, y), clFuchsia) << px << "," << y;
      }
    EXPECT_EQ(width[0], 0);  // the corner's outermost row is cut away entirely
    for (int y = 1; y < 30; ++y) EXPECT_GE(width[y], width[y - 1]) << "row " << y;
    for (int y = 30; y < height - 4; ++y) ASSERT_EQ(width[y], side) << "row " << y;
    EXPECT_LT(width[height - 1], side);  // rounded bottom corner
  }
}

}  // namespace
