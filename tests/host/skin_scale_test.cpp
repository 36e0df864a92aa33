// Skin images at other DPIs: unchanged at 96, repeated at whole scales, hard transparent edges
// and no colour from across a frame or slice boundary at the others, the 2x twins, the cache.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/data/VuzUrezDataRead.h"
#include "skin/paint/SkinScale.h"

namespace {

TBitmap Noise(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, static_cast<TColor>(rng() & 0xFFFFFF));
  return b;
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

const TImageLayout kSliced{4, false, {3, 2, 4, 1}};

TEST(SkinScale, NothingChangesAt96) {
  TBitmap image = Noise(40, 9, 1);
  TBitmap same = ScaleImage(image, {96}, kSliced);
  EXPECT_TRUE(SamePixels(same, image));
  for (int n = -50; n <= 200; ++n) ASSERT_EQ(TSkinScale{96}.Length(n), n);
  TMargins m{5, 0, 7, 31};
  TMargins at96 = ScaleMargins(m, {96});
  EXPECT_EQ(std::tie(at96.Left, at96.Top, at96.Right, at96.Bottom),
            std::tie(m.Left, m.Top, m.Right, m.Bottom));
  // Halves go up: 5 at 150 % is 7.5, 2 at 125 % is 2.5.
  EXPECT_EQ(ScaleMargins(m, {144}).Left, 8);
  EXPECT_EQ(TSkinScale{120}.Length(2), 3);
}

TEST(SkinScale, WholeScalesRepeatPixels) {
  TBitmap image = Noise(40, 9, 2);
  for (int k : {2, 3}) {
    TBitmap big = ScaleImage(image, {96 * k}, kSliced);
    ASSERT_EQ(big.Width(), 40 * k);
    ASSERT_EQ(big.Height(), 9 * k);
    for (int y = 0; y < big.Height(); ++y)
      for (int x = 0; x < big.Width(); ++x)
        ASSERT_EQ(big.Pixel(x, y), image.Pixel(x / k, y / k)) << x << "," << y;
  }
}

TEST(SkinScale, TransparentEdgesStayHardWithoutFringes) {
  // A row white, key, key, white: at 150 % the two key pixels become exactly three, and the
  // white beside them takes nothing of the key colour.
  TBitmap row(4, 1);
  row.Fill(clWhite);
  row.SetPixel(1, 0, SkinKeyColor);
  row.SetPixel(2, 0, SkinKeyColor);
  TBitmap scaled = ScaleImage(row, {144});
  std::vector<TColor> got;
  for (int x = 0; x < scaled.Width(); ++x) got.push_back(scaled.Pixel(x, 0));
  EXPECT_EQ(got, (std::vector<TColor>{clWhite, SkinKeyColor, SkinKeyColor, SkinKeyColor, clWhite, clWhite}));
  // A grey disc on the key colour: every scaled pixel is the key or a grey, never a pinkish mix.
  TBitmap disc(21, 21);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x)
      disc.SetPixel(
          x, y,
          (x - 10) * (x - 10) + (y - 10) * (y - 10) <= 81 ? RGBColor(x * 10, x * 10, x * 10) : SkinKeyColor);
  for (int dpi : {120, 144, 168}) {
    TBitmap s = ScaleImage(disc, {dpi});
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) {
        TColor c = s.Pixel(x, y);
        ASSERT_TRUE(c == SkinKeyColor || (RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)))
            << dpi << ": " << x << "," << y << " " << std::hex << c;
      }
  }
}

TEST(SkinScale, StraightEdgesAndFrameAndSliceBoundariesStayClean) {
  // Three frames of one colour each, a 3-pixel left margin of another: at 125 % every column
  // holds one colour (edges stay straight) and no column mixes a frame or the margin with its
  // neighbour.
  TColor colours[3] = {RGBColor(200, 0, 0), RGBColor(0, 200, 0), RGBColor(0, 0, 200)};
  TBitmap strip(30, 7);
  for (int x = 0; x < 30; ++x)
    for (int y = 0; y < 7; ++y) strip.SetPixel(x, y, x % 10 < 3 ? clBlack : colours[x / 10]);
  TBitmap s = ScaleImage(strip, {120}, {3, false, {3, 0, 0, 0}});
  ASSERT_EQ(s.Width(), 3 * 13);  // 10 at 125 % is 12.5: 13 per frame
  ASSERT_EQ(s.Height(), 9);
  for (int x = 0; x < s.Width(); ++x) {
    int cell = x / 13, in = x % 13;
    TColor want = in < 4 ? clBlack : colours[cell];  // the margin of 3 is 4 wide (3.75)
    for (int y = 0; y < s.Height(); ++y) ASSERT_EQ(s.Pixel(x, y), want) << x << "," << y;
  }
}

TEST(SkinScale, TheTwinIsUsedFrom150Percent) {
  TBitmap image(6, 4), twin(12, 8);
  image.Fill(clRed);
  twin.Fill(clBlue);
  EXPECT_EQ(ScaleSkinImage(image, twin, {120}, {}).Pixel(0, 0), clRed);
  TBitmap at144 = ScaleSkinImage(image, twin, {144}, {});
  EXPECT_EQ(at144.Width(), 9);  // the twin reduced
  EXPECT_EQ(at144.Pixel(8, 5), clBlue);
  EXPECT_TRUE(SamePixels(ScaleSkinImage(image, twin, {192}, {}), twin));
  EXPECT_EQ(ScaleSkinImage(image, twin, {288}, {}).Width(), 18);
  // A twin of the wrong size is never drawn.
  EXPECT_EQ(ScaleSkinImage(image, TBitmap(11, 8), {192}, {}).Pixel(0, 0), clRed);
}

TEST(SkinScale, TheCacheMakesEachImageOnce) {
  std::ifstream in(DASKEL_BINARY_DIR "/skins/default.skn", std::ios::binary);
  std::vector<std::uint8_t> stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TSkinElements skin;
  ASSERT_EQ(LoadSkinPackage(stored.data(), stored.size(), skin), TPackageStatus::Ok);
  TScaledSkinImages cache({144});
  cache.Prepare(skin);
  std::size_t made = cache.Count();
  EXPECT_GT(made, 30u);
  EXPECT_GT(cache.Bytes(), 0u);
  const TDataSkinObject& edge = *skin.BorderLeft;
  TImageLayout layout{edge.FrameCount, false, {0, edge.TopHeight, 0, edge.BottomHeight}};
  const TBitmap& first = cache.Get(edge.Bitmap, edge.Bitmap2x, layout);
  EXPECT_EQ(&cache.Get(edge.Bitmap, edge.Bitmap2x, layout), &first);
  EXPECT_EQ(cache.Count(), made);  // Prepare made it already
  EXPECT_EQ(first.Height(), TSkinScale{144}.Length(edge.Bitmap.Height()));
  TScaledSkinImages at96({96});
  at96.Prepare(skin);
  EXPECT_EQ(at96.Bytes(), 0u);  // at 96 the skin's own pixels are drawn
  TScaledSkinImages at192({192});
  at192.Prepare(skin);
  EXPECT_EQ(at192.Bytes(), 0u);  // every image of the skin has its twin, drawn as it is
}

}  // namespace
