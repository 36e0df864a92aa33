#include "framework/Bitmap.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <utility>

bool TBitmap::SetSize(int width, int height, TPixelFormat format) {
  format_ = format;
  store_.reset();
  if (width > 0 && height > 0) store_ = CreatePixelStore(width, height, format == pf32bit ? 32 : 24);
  Changed();
  return store_ != nullptr;
}

void TBitmap::Clear() {
  store_.reset();
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  if (Empty()) {
    format_ = format;
    return;
  }
  TBitmap converted(Width(), Height(), format);
  if (converted.Empty()) return;  // no memory: keep the image as it is
  int sb = BytesPerPixel(), db = converted.BytesPerPixel();
  for (int y = 0; y < Height(); ++y) {
    const std::uint8_t* s = std::as_const(*this).ScanLine(y);
    std::uint8_t* d = converted.ScanLine(y);
    for (int x = 0; x < Width(); ++x) std::memcpy(d + x * db, s + x * sb, 3);
  }
  TakeOver(converted);
}

void TBitmap::Assign(const TBitmap& other) {
  if (this == &other) {
    Changed();
    return;
  }
  if (!SetSize(other.Width(), other.Height(), other.format_)) return;
  std::memcpy(store_->Bits(), other.store_->Bits(), static_cast<std::size_t>(Stride()) * Height());
  Changed();
}

void TBitmap::TakeOver(TBitmap& other) {
  if (this == &other) return;
  store_ = std::move(other.store_);
  format_ = other.format_;
  other.Changed();
  Changed();
}

void TBitmap::Share(const TBitmap& other) {
  if (this == &other) return;
  store_ = other.store_;
  format_ = other.format_;
  Changed();
}

void TBitmap::Unshare() {
  std::shared_ptr<TPixelStore> own = CreatePixelStore(Width(), Height(), store_->BitsPerPixel());
  if (!own) return;  // no memory: writes go to the shared pixels rather than nowhere
  std::memcpy(own->Bits(), store_->Bits(), static_cast<std::size_t>(Stride()) * Height());
  store_ = std::move(own);
}

TColor TBitmap::Pixel(int x, int y) const {
  assert(x >= 0 && y >= 0 && x < Width() && y < Height());
  const std::uint8_t* p = ScanLine(y) + x * BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor rgb) {
  assert(x >= 0 && y >= 0 && x < Width() && y < Height());
  std::uint8_t* p = ScanLine(y) + x * BytesPerPixel();
  p[0] = BlueOf(rgb);
  p[1] = GreenOf(rgb);
  p[2] = RedOf(rgb);
}

void TBitmap::Fill(TColor rgb) {
  if (Empty()) return;
  // One row pixel by pixel, the others copied from it: a large image fills at memory speed.
  for (int x = 0; x < Width(); ++x) SetPixel(x, 0, rgb);
  std::size_t row = static_cast<std::size_t>(Width()) * BytesPerPixel();
  for (int y = 1; y < Height(); ++y) std::memcpy(ScanLine(y), ScanLine(0), row);
}

void TBitmap::CopyRect(int dx, int dy, const TBitmap& src, int sx, int sy, int w, int h) {
  Own();
  // Clip against the source and the destination.
  if (sx < 0) {
    w += sx;
    dx -= sx;
    sx = 0;
  }
  if (sy < 0) {
    h += sy;
    dy -= sy;
    sy = 0;
  }
  if (dx < 0) {
    w += dx;
    sx -= dx;
    dx = 0;
  }
  if (dy < 0) {
    h += dy;
    sy -= dy;
    dy = 0;
  }
  w = std::min({w, src.Width() - sx, Width() - dx});
  h = std::min({h, src.Height() - sy, Height() - dy});
  if (w <= 0 || h <= 0) return;
  int sb = src.BytesPerPixel(), db = BytesPerPixel();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = src.ScanLine(sy + y) + sx * sb;
    std::uint8_t* d = ScanLine(dy + y) + dx * db;
    if (sb == db) {
      std::memmove(d, s, static_cast<std::size_t>(w) * sb);
    } else {
      for (int x = 0; x < w; ++x) std::memcpy(d + x * db, s + x * sb, 3);
    }
  }
}
