// TBitmap: a device-independent image with scan-line access. The pixel storage is portable
// (see PixelStore.h); on Windows the same object also draws and is drawn through GDI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/Color.h"
#include "framework/PixelStore.h"

// Storage is always 24-bit (blue, green, red) or 32-bit (blue, green, red, unused); images read
// from files with fewer bits per pixel are expanded to 24-bit when they are decoded.
enum TPixelFormat { pf24bit, pf32bit };

class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TPixelFormat format = pf24bit) { SetSize(width, height, format); }
  TBitmap(const TBitmap& other) { Assign(other); }
  TBitmap& operator=(const TBitmap& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  TBitmap(TBitmap&&) noexcept = default;
  TBitmap& operator=(TBitmap&&) noexcept = default;
  virtual ~TBitmap() = default;

  int Width() const { return store_ ? store_->Width() : 0; }
  int Height() const { return store_ ? store_->Height() : 0; }
  bool Empty() const { return Width() == 0 || Height() == 0; }
  TPixelFormat PixelFormat() const { return format_; }
  int BytesPerPixel() const { return format_ == pf32bit ? 4 : 3; }
  int Stride() const { return store_ ? store_->Stride() : 0; }

  // Resizes (contents are lost, pixels become black). A size of 0 in either direction, or a
  // size whose storage cannot be had, leaves the bitmap empty; returns whether it is not empty.
  bool SetSize(int width, int height, TPixelFormat format);
  bool SetSize(int width, int height) { return SetSize(width, height, format_); }
  // Converts the pixels to the other format, keeping the image.
  void SetPixelFormat(TPixelFormat format);
  void Clear();  // becomes empty
  void Assign(const TBitmap& other);
  // Takes over other's image; other becomes empty.
  void TakeOver(TBitmap& other);
  // Shows other's pixels without copying them (one image named by many parts of a skin is held,
  // and on Windows drawn through, once). Whichever of the two is changed later takes a copy of
  // its own first: every writing access below (ScanLine, Store, SetPixel, Fill, CopyRect) does.
  void Share(const TBitmap& other);

  std::uint8_t* ScanLine(int y) {
    Own();
    return store_->Bits() + static_cast<std::ptrdiff_t>(y) * Stride();
  }
  const std::uint8_t* ScanLine(int y) const {
    return store_->Bits() + static_cast<std::ptrdiff_t>(y) * Stride();
  }
  // Pixels as colours 0x00BBGGRR; no bounds checks beyond a debug assertion.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor rgb);
  void Fill(TColor rgb);
  // Copies the rectangle (sx, sy, w, h) of src to (dx, dy), clipped to both bitmaps.
  void CopyRect(int dx, int dy, const TBitmap& src, int sx, int sy, int w, int h);

  // Loads a complete Windows BMP file (file header included). On failure the bitmap is empty,
  // the reason is put in *error and false is returned; hostile headers never crash or allocate
  // absurd amounts.
  bool LoadFromBmp(const std::uint8_t* data, std::size_t size, std::string* error = nullptr);
  // A complete BMP file of this image (24 or 32 bits per pixel, bottom-up).
  std::string SaveToBmp() const;

  TPixelStore* Store() {
    Own();
    return store_.get();
  }
  const TPixelStore* Store() const { return store_.get(); }

 protected:
  // Called after the image changed size or content wholesale (Windows keeps a GDI side).
  virtual void Changed() {}

 private:
  // Gives a shared image pixels of its own before it is written.
  void Own() {
    if (store_ && store_.use_count() > 1) Unshare();
  }
  void Unshare();

  std::shared_ptr<TPixelStore> store_;
  TPixelFormat format_ = pf24bit;
};
