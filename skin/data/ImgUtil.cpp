#include "skin/data/ImgUtil.h"

#include <cstring>
#include <vector>

void MirrorHorizontal(TBitmap& bmp) {
  int w = bmp.Width(), bpp = bmp.BytesPerPixel();
  std::vector<std::uint8_t> row(static_cast<std::size_t>(w) * bpp);
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint8_t* line = bmp.ScanLine(y);
    std::memcpy(row.data(), line, row.size());
    for (int x = 0; x < w; ++x) std::memcpy(line + x * bpp, row.data() + (w - 1 - x) * bpp, bpp);
  }
  bmp.Assign(bmp);  // tells listeners the image changed
}

void FlipVertical(TBitmap& bmp) {
  int h = bmp.Height();
  std::size_t bytes = static_cast<std::size_t>(bmp.Width()) * bmp.BytesPerPixel();
  std::vector<std::uint8_t> row(bytes);
  for (int y = 0; y < h / 2; ++y) {
    std::uint8_t* a = bmp.ScanLine(y);
    std::uint8_t* b = bmp.ScanLine(h - 1 - y);
    std::memcpy(row.data(), a, bytes);
    std::memcpy(a, b, bytes);
    std::memcpy(b, row.data(), bytes);
  }
  bmp.Assign(bmp);
}

namespace {
// Turns the image a quarter; `source(x, y)` names the old pixel that lands at new (x, y).
template <typename Source>
void Rotate(TBitmap& bmp, Source source) {
  if (bmp.Empty()) return;
  int w = bmp.Width(), h = bmp.Height();
  TBitmap turned(h, w, bmp.PixelFormat());
  if (turned.Empty()) return;  // no memory: leave the image as it is
  int bpp = bmp.BytesPerPixel();
  for (int y = 0; y < w; ++y) {
    std::uint8_t* d = turned.ScanLine(y);
    for (int x = 0; x < h; ++x) {
      auto [sx, sy] = source(x, y, w, h);
      std::memcpy(d + x * bpp, bmp.ScanLine(sy) + sx * bpp, bpp);
    }
  }
  bmp.TakeOver(turned);
}
}  // namespace

void RotateCounterClockwise(TBitmap& bmp) {
  Rotate(bmp, [](int x, int y, int w, int) { return std::pair{w - 1 - y, x}; });
}

void RotateClockwise(TBitmap& bmp) {
  Rotate(bmp, [](int x, int y, int, int h) { return std::pair{y, h - 1 - x}; });
}
