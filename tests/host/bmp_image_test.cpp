// BMP files in every layout skins use, hostile headers, and the image transforms.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/Bitmap.h"
#include "skin/data/ImgUtil.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A BMP file: info header (40 bytes) with the given fields, optional masks/palette, then rows.
Bytes Bmp(int w, int h, int bpp, std::uint32_t compression, const Bytes& extra, const Bytes& pixels,
          std::uint32_t colorsUsed = 0) {
  Bytes b = {'B', 'M'};
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, static_cast<std::uint32_t>(54 + extra.size()));
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(w));
  Put32(b, static_cast<std::uint32_t>(h));
  Put16(b, 1);
  Put16(b, bpp);
  Put32(b, compression);
  Put32(b, static_cast<std::uint32_t>(pixels.size()));
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, colorsUsed);
  Put32(b, 0);
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

Bytes Palette(std::initializer_list<TColor> colours) {
  Bytes p;
  for (TColor c : colours) p.insert(p.end(), {BlueOf(c), GreenOf(c), RedOf(c), 0});
  return p;
}

bool Load(TBitmap& bmp, const Bytes& file, std::string* error = nullptr) {
  return bmp.LoadFromBmp(file.data(), file.size(), error);
}

TEST(Bmp, PalettisedImagesBottomUp) {
  TBitmap bmp;
  // 1-bit, 3x2: bottom row first; rows padded to 4 bytes.
  ASSERT_TRUE(
      Load(bmp, Bmp(3, 2, 1, 0, Palette({clRed, clBlue}), {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0})));
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(bmp.Pixel(0, 1), clBlue);  // bottom row
  EXPECT_EQ(bmp.Pixel(1, 1), clRed);
  EXPECT_EQ(bmp.Pixel(1, 0), clBlue);  // top row
  // 4-bit with a 3-colour palette; index 7 lies outside it and shows black.
  ASSERT_TRUE(Load(bmp, Bmp(3, 1, 4, 0, Palette({clRed, clGreen, clWhite}), {0x12, 0x70, 0, 0}, 3)));
  EXPECT_EQ(bmp.Pixel(0, 0), clGreen);
  EXPECT_EQ(bmp.Pixel(1, 0), clWhite);
  EXPECT_EQ(bmp.Pixel(2, 0), clBlack);
  // 8-bit RLE: a run of 3, an absolute run of 3 (padded), end of line, end of bitmap.
  ASSERT_TRUE(
      Load(bmp, Bmp(6, 2, 8, 1, Palette({clBlack, clRed, clBlue}), {3, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 1}, 3)));
  EXPECT_EQ(bmp.Pixel(0, 1), clRed);
  EXPECT_EQ(bmp.Pixel(3, 1), clBlue);
  EXPECT_EQ(bmp.Pixel(4, 1), clRed);
  EXPECT_EQ(bmp.Pixel(5, 1), clBlue);
  EXPECT_EQ(bmp.Pixel(0, 0), clBlack);
}

TEST(Bmp, DirectColourLayouts) {
  TBitmap bmp;
  // 24-bit top-down, 2x2.
  ASSERT_TRUE(Load(bmp, Bmp(2, -2, 24, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0})));
  EXPECT_EQ(bmp.Pixel(0, 0), clRed);
  EXPECT_EQ(bmp.Pixel(1, 0), RGBColor(0, 255, 0));
  EXPECT_EQ(bmp.Pixel(0, 1), clBlue);
  EXPECT_EQ(bmp.Pixel(1, 1), clWhite);
  // 16-bit 5-5-5 and 5-6-5 bit fields.
  ASSERT_TRUE(Load(bmp, Bmp(1, 1, 16, 0, {}, {0x00, 0x7C, 0, 0})));
  EXPECT_EQ(bmp.Pixel(0, 0), clRed);
  Bytes masks;
  for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) Put32(masks, m);
  ASSERT_TRUE(Load(bmp, Bmp(1, 1, 16, 3, masks, {0xE0, 0x07, 0, 0})));
  EXPECT_EQ(bmp.Pixel(0, 0), RGBColor(0, 255, 0));
  // 32-bit: keeps 4 bytes per pixel.
  ASSERT_TRUE(Load(bmp, Bmp(1, 1, 32, 0, {}, {10, 20, 30, 99})));
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);
  EXPECT_EQ(bmp.Pixel(0, 0), RGBColor(30, 20, 10));
}

TEST(Bmp, SavedFilesLoadBackIdentical) {
  for (TPixelFormat f : {pf24bit, pf32bit}) {
    TBitmap a(5, 3, f);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) a.SetPixel(x, y, RGBColor(x * 40, y * 80, 7));
    std::string file = a.SaveToBmp();
    TBitmap b;
    ASSERT_TRUE(b.LoadFromBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size()));
    ASSERT_EQ(b.Width(), 5);
    ASSERT_EQ(b.PixelFormat(), f);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(b.Pixel(x, y), a.Pixel(x, y));
  }
  EXPECT_TRUE(TBitmap().SaveToBmp().empty());
}

TEST(Bmp, HostileFilesGiveAnEmptyImageAndAReason) {
  Bytes ok = Bmp(2, 2, 24, 0, {}, Bytes(16, 1));
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {
      {"not BMP", Bytes{'P', 'K', 3, 4}},
      {"absurd size", Bmp(100000, 100000, 24, 0, {}, Bytes(64, 0))},
      {"huge pixel count", Bmp(16000, 16000, 8, 1, Palette({clRed}), {0, 1})},
      {"INT_MIN height", Bmp(2, INT32_MIN, 24, 0, {}, Bytes(16, 0))},
      {"zero width", Bmp(0, 2, 24, 0, {}, Bytes(16, 0))},
      {"truncated pixels", Bytes(ok.begin(), ok.end() - 4)},
      {"unknown compression", Bmp(2, 2, 24, 9, {}, Bytes(16, 0))},
      {"JPEG inside", Bmp(2, 2, 0, 4, {}, Bytes(16, 0))},
      {"palette overflow", Bmp(2, 2, 4, 0, Bytes(17 * 4, 0), Bytes(8, 0), 17)},
      {"truncated palette", Bmp(2, 2, 8, 0, Bytes(40, 0), {}, 200)},
      {"odd bit depth", Bmp(2, 2, 7, 0, {}, Bytes(16, 0))},
      {"header size beyond file",
       [&] {
         Bytes b = ok;
         b[14] = 0xFF;
         b[15] = 0xFF;
         return b;
       }()},
      {"truncated RLE", Bmp(4, 4, 8, 1, Palette({clRed}), {2, 0, 0})},
  };
  for (auto& c : cases) {
    TBitmap bmp(3, 3);
    std::string error;
    EXPECT_FALSE(Load(bmp, c.file, &error)) << c.what;
    EXPECT_TRUE(bmp.Empty()) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
  TBitmap bmp;
  EXPECT_FALSE(bmp.LoadFromBmp(nullptr, 0));
}

TBitmap Numbered(int w, int h, TPixelFormat f = pf24bit) {
  TBitmap b(w, h, f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x, y, 100 + x * 10 + y));
  return b;
}

bool Same(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

TEST(ImgUtil, TransformsMoveEveryPixelWhereItBelongs) {
  TBitmap src = Numbered(4, 3), b = src;
  MirrorHorizontal(b);
  EXPECT_EQ(b.Pixel(0, 1), src.Pixel(3, 1));
  MirrorHorizontal(b);
  EXPECT_TRUE(Same(b, src));
  FlipVertical(b);
  EXPECT_EQ(b.Pixel(2, 0), src.Pixel(2, 2));
  EXPECT_EQ(b.Pixel(2, 1), src.Pixel(2, 1));
  FlipVertical(b);
  EXPECT_TRUE(Same(b, src));

  RotateCounterClockwise(b);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 4);
  EXPECT_EQ(b.Pixel(0, 3), src.Pixel(0, 0));  // top-left ends bottom-left
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Pixel(x, y), src.Pixel(4 - 1 - y, x));
  RotateClockwise(b);
  EXPECT_TRUE(Same(b, src));
  RotateClockwise(b);
  EXPECT_EQ(b.Pixel(2, 0), src.Pixel(0, 0));  // top-left ends top-right
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Pixel(x, y), src.Pixel(y, 3 - 1 - x));

  TBitmap one = Numbered(1, 1, pf32bit), copy = one;
  for (auto f : {MirrorHorizontal, FlipVertical, RotateClockwise, RotateCounterClockwise}) f(one);
  EXPECT_TRUE(Same(one, copy));
  EXPECT_EQ(one.PixelFormat(), pf32bit);
  TBitmap empty;
  RotateClockwise(empty);
  MirrorHorizontal(empty);
  EXPECT_TRUE(empty.Empty());
}

TEST(SharedBitmap, AChangeToOneOfTwoSharingBitmapsLeavesTheOther) {
  TBitmap a = Numbered(3, 2), original = a;
  TBitmap b;
  b.Share(a);
  EXPECT_EQ(std::as_const(b).Store(), std::as_const(a).Store());
  b.SetPixel(0, 0, clRed);
  a.ScanLine(1)[0] = 0x42;
  EXPECT_NE(std::as_const(b).Store(), std::as_const(a).Store());
  EXPECT_EQ(b.Pixel(0, 0), clRed);
  EXPECT_EQ(a.Pixel(0, 0), original.Pixel(0, 0));
  EXPECT_EQ(b.Pixel(0, 1), original.Pixel(0, 1));
  TBitmap c;
  c.Share(original);
  MirrorHorizontal(c);
  EXPECT_EQ(original.Pixel(0, 0), Numbered(3, 2).Pixel(0, 0));
  EXPECT_EQ(c.Pixel(0, 0), original.Pixel(2, 0));
}

}  // namespace
