// Windows BMP files: reading 1/4/8-bit palettised, 16, 24 and 32-bit images (BI_RGB,
// BI_BITFIELDS, and the RLE8/RLE4 run encodings), bottom-up and top-down, with every header
// version; writing 24/32-bit bottom-up images. Hostile files give an empty image and a reason.
#include <algorithm>
#include <cstring>

#include "framework/Bitmap.h"

namespace {

// Skin images are small; anything beyond this is refused rather than allocated.
constexpr std::int64_t kMaxDimension = 16384;
constexpr std::int64_t kMaxPixels = 16 << 20;
constexpr std::int64_t kMaxRlePixels = 4 << 20;

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

// One channel of a bit-field pixel, scaled to 8 bits.
struct TChannel {
  std::uint32_t mask = 0;
  int shift = 0, bits = 0;
  explicit TChannel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    while (!(m & 1)) {
      m >>= 1;
      ++shift;
    }
    while (m & 1) {
      m >>= 1;
      ++bits;
    }
  }
  std::uint8_t Get(std::uint32_t px) const {
    if (!bits) return 0;
    std::uint32_t v = (px & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    // Replicate the bits so full scale maps to 255.
    std::uint32_t r = 0;
    for (int filled = 0; filled < 8; filled += bits) r = (r << bits) | v;
    return static_cast<std::uint8_t>(r >> (((8 + bits - 1) / bits) * bits - 8));
  }
};

class TBmpReader {
 public:
  TBmpReader(const std::uint8_t* data, std::size_t size) : d_(data), size_(size) {}

  bool Read(TBitmap& bmp, std::string& error) {
    if (size_ < 14 + 12 || d_[0] != 'B' || d_[1] != 'M') return Fail(error, "not a BMP file");
    std::uint32_t offBits = U32(d_ + 10);
    std::uint32_t headerSize = U32(d_ + 14);
    if (headerSize < 12 || headerSize > size_ - 14) return Fail(error, "truncated or invalid BMP header");
    const std::uint8_t* h = d_ + 14;
    std::int64_t width, height;
    int bpp;
    std::uint32_t compression = BI_RGB, colorsUsed = 0;
    int paletteEntrySize = 4;
    std::uint32_t masks[3] = {0, 0, 0};
    if (headerSize == 12) {  // OS/2 core header
      width = U16(h + 4);
      height = static_cast<std::int16_t>(U16(h + 6));
      bpp = U16(h + 10);
      paletteEntrySize = 3;
    } else {
      if (headerSize < 40) return Fail(error, "unknown BMP header size " + std::to_string(headerSize));
      width = static_cast<std::int32_t>(U32(h + 4));
      height = static_cast<std::int32_t>(U32(h + 8));
      bpp = U16(h + 14);
      compression = U32(h + 16);
      colorsUsed = U32(h + 32);
      if (headerSize >= 52) {
        for (int i = 0; i < 3; ++i) masks[i] = U32(h + 40 + 4 * i);
      }
    }
    std::size_t pos = 14 + headerSize;
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
      if (bpp != 16 && bpp != 32)
        return Fail(error, "bit fields with " + std::to_string(bpp) + " bits per pixel");
      if (headerSize < 52) {
        std::size_t n = compression == BI_ALPHABITFIELDS ? 16 : 12;
        if (size_ - pos < n) return Fail(error, "truncated colour masks");
        for (int i = 0; i < 3; ++i) masks[i] = U32(d_ + pos + 4 * i);
        pos += n;
      }
    } else if (compression == BI_RGB) {
      if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
      if (bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    } else if (!((compression == BI_RLE8 && bpp == 8) || (compression == BI_RLE4 && bpp == 4))) {
      return Fail(error, "unsupported BMP compression " + std::to_string(compression));
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
      return Fail(error, "unsupported bits per pixel " + std::to_string(bpp));
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) return Fail(error, "empty or negative BMP size");
    if (width > kMaxDimension || height > kMaxDimension || width * height > kMaxPixels)
      return Fail(error,
                  "BMP size " + std::to_string(width) + " x " + std::to_string(height) + " is too large");
    if (topDown && (compression == BI_RLE8 || compression == BI_RLE4))
      return Fail(error, "top-down run-encoded BMP");

    // Palette.
    if (bpp <= 8) {
      std::uint32_t maxColors = 1u << bpp;
      std::uint32_t count = colorsUsed ? colorsUsed : maxColors;
      if (count > maxColors) return Fail(error, "palette of " + std::to_string(count) + " colours overflows");
      if ((size_ - pos) / paletteEntrySize < count) return Fail(error, "truncated palette");
      for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* e = d_ + pos + i * paletteEntrySize;
        palette_[i] = RGBColor(e[2], e[1], e[0]);
      }
      pos += static_cast<std::size_t>(count) * paletteEntrySize;
    }
    // Pixel data start: the file's offset when it is sensible, else right after the palette.
    if (offBits >= pos && offBits < size_) pos = offBits;
    if (pos >= size_) return Fail(error, "no pixel data");

    int w = static_cast<int>(width), hgt = static_cast<int>(height);
    std::size_t avail = size_ - pos;
    bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (rle && width * height > kMaxRlePixels) return Fail(error, "run-encoded BMP too large");
    std::size_t stride = ((static_cast<std::size_t>(w) * bpp + 31) / 32) * 4;
    // The last row need not be padded.
    if (!rle && avail < stride * (hgt - 1) + (static_cast<std::size_t>(w) * bpp + 7) / 8)
      return Fail(error, "truncated pixel data");
    if (!bmp.SetSize(w, hgt, bpp == 32 ? pf32bit : pf24bit))
      return Fail(error, "out of memory for the image");
    const std::uint8_t* px = d_ + pos;
    bool ok = rle ? ReadRle(bmp, px, avail, compression == BI_RLE4, error)
                  : ReadRows(bmp, px, stride, bpp, topDown, masks);
    if (!ok) bmp.Clear();
    return ok;
  }

 private:
  static bool Fail(std::string& error, std::string why) {
    error = std::move(why);
    return false;
  }

  bool ReadRows(TBitmap& bmp, const std::uint8_t* px, std::size_t stride, int bpp, bool topDown,
                const std::uint32_t masks[3]) {
    int w = bmp.Width(), h = bmp.Height();
    TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    int outBpp = bmp.BytesPerPixel();
    for (int row = 0; row < h; ++row) {
      const std::uint8_t* s = px + stride * row;
      std::uint8_t* d = bmp.ScanLine(topDown ? row : h - 1 - row);
      for (int x = 0; x < w; ++x, d += outBpp) {
        TColor c;
        switch (bpp) {
          case 1:
            c = palette_[(s[x >> 3] >> (7 - (x & 7))) & 1];
            break;
          case 4:
            c = palette_[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
            break;
          case 8:
            c = palette_[s[x]];
            break;
          case 16: {
            std::uint32_t v = U16(s + 2 * x);
            c = RGBColor(red.Get(v), green.Get(v), blue.Get(v));
            break;
          }
          case 24:
            c = RGBColor(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
            break;
          default: {
            std::uint32_t v = U32(s + 4 * x);
            c = RGBColor(red.Get(v), green.Get(v), blue.Get(v));
            d[3] = 0;
          }
        }
        d[0] = BlueOf(c);
        d[1] = GreenOf(c);
        d[2] = RedOf(c);
      }
    }
    return true;
  }

  // Run-length encoded 8 or 4-bit images: pixels not covered by the runs stay palette index 0,
  // as Windows shows them.
  bool ReadRle(TBitmap& bmp, const std::uint8_t* p, std::size_t avail, bool four, std::string& error) {
    int w = bmp.Width(), h = bmp.Height();
    bmp.Fill(palette_[0]);
    int x = 0, y = 0;
    std::size_t i = 0;
    auto put = [&](int index) {
      if (x >= w) return;
      if (y < h) bmp.SetPixel(x, h - 1 - y, palette_[index]);
      ++x;
    };
    while (true) {
      if (avail - i < 2) return Fail(error, "truncated run-encoded pixel data");
      int count = p[i], value = p[i + 1];
      i += 2;
      if (count > 0) {
        for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? value & 0xF : value >> 4) : value);
        continue;
      }
      if (value == 0) {  // end of line
        x = 0;
        ++y;
      } else if (value == 1) {  // end of bitmap
        return true;
      } else if (value == 2) {  // delta
        if (avail - i < 2) return Fail(error, "truncated run-encoded pixel data");
        x = std::min(w, x + p[i]);
        y += p[i + 1];
        i += 2;
      } else {  // absolute run of `value` pixels, padded to 16 bits
        std::size_t bytes =
            four ? (static_cast<std::size_t>(value) + 1) / 2 : static_cast<std::size_t>(value);
        if (avail - i < bytes) return Fail(error, "truncated run-encoded pixel data");
        for (int k = 0; k < value; ++k)
          put(four ? ((k & 1) ? p[i + k / 2] & 0xF : p[i + k / 2] >> 4) : p[i + k]);
        // Runs are padded to 16 bits; padding missing at the very end is no reason to read on.
        i = std::min(avail, i + ((bytes + 1) & ~static_cast<std::size_t>(1)));
      }
      if (y >= h) return true;
    }
  }

  const std::uint8_t* d_;
  std::size_t size_;
  TColor palette_[256] = {};
};

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

bool TBitmap::LoadFromBmp(const std::uint8_t* data, std::size_t size, std::string* error) {
  std::string why;
  TBmpReader reader(data, data ? size : 0);
  if (reader.Read(*this, why)) return true;
  Clear();
  if (error) *error = why;
  return false;
}

std::string TBitmap::SaveToBmp() const {
  std::string s;
  if (Empty()) return s;
  int bpp = BytesPerPixel() * 8;
  std::uint32_t stride = static_cast<std::uint32_t>(((Width() * bpp + 31) / 32) * 4);
  std::uint32_t image = stride * static_cast<std::uint32_t>(Height());
  s.reserve(54 + image);
  s += "BM";
  Put32(s, 54 + image);
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(Width()));
  Put32(s, static_cast<std::uint32_t>(Height()));
  Put16(s, 1);
  Put16(s, static_cast<std::uint32_t>(bpp));
  Put32(s, BI_RGB);
  Put32(s, image);
  Put32(s, 2835);  // 72 dpi
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  std::size_t rowBytes = static_cast<std::size_t>(Width()) * BytesPerPixel();
  for (int y = Height() - 1; y >= 0; --y) {
    s.append(reinterpret_cast<const char*>(ScanLine(y)), rowBytes);
    s.append(stride - rowBytes, '\0');
  }
  return s;
}
