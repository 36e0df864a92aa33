// Where a bitmap's pixels live. The portable code only sees rows of bytes; each platform decides
// the storage: a plain buffer on the build host, a DIB section on Windows (so GDI can draw the
// same pixels without a copy).
#pragma once

#include <cstdint>
#include <memory>

class TPixelStore {
 public:
  virtual ~TPixelStore() = default;
  virtual std::uint8_t* Bits() = 0;  // row 0 is the top row; rows are Stride() bytes apart
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bpp_; }
  // Rows are padded to a multiple of 4 bytes, as DIBs require.
  int Stride() const { return ((width_ * bpp_ + 31) / 32) * 4; }

 protected:
  TPixelStore(int width, int height, int bpp) : width_(width), height_(height), bpp_(bpp) {}

 private:
  int width_, height_, bpp_;
};

// Implemented once per platform (PixelStoreHost.cpp, PixelStoreWin32.cpp). Returns nullptr when
// the storage cannot be had (out of memory, or a size the platform refuses). Pixels start zeroed.
std::unique_ptr<TPixelStore> CreatePixelStore(int width, int height, int bitsPerPixel);
