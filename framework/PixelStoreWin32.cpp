#include "framework/PixelStoreWin32.h"

namespace {
class DibPixelStore final : public TPixelStore {
 public:
  DibPixelStore(int w, int h, int bpp, HBITMAP dib, std::uint8_t* bits)
      : TPixelStore(w, h, bpp), dib_(dib), bits_(bits) {}
  ~DibPixelStore() override { DeleteObject(dib_); }
  DibPixelStore(const DibPixelStore&) = delete;
  DibPixelStore& operator=(const DibPixelStore&) = delete;
  std::uint8_t* Bits() override { return bits_; }
  HBITMAP Dib() const { return dib_; }

 private:
  HBITMAP dib_;
  std::uint8_t* bits_;
};
}  // namespace

std::unique_ptr<TPixelStore> CreatePixelStore(int width, int height, int bpp) {
  // Guard the size before GDI sees it: a 32-bit byte count must not overflow.
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = static_cast<WORD>(bpp);
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  return std::make_unique<DibPixelStore>(width, height, bpp, dib, static_cast<std::uint8_t*>(bits));
}

HBITMAP DibOf(TPixelStore* store) {
  auto* dib = dynamic_cast<DibPixelStore*>(store);
  return dib ? dib->Dib() : nullptr;
}
