#include "skin/paint/SkinDrawWin32.h"

#include <algorithm>
#include <cstring>

#include "framework/Graphics.h"

namespace {

// Draws a bitmap built for the rectangle, opaquely or with magenta left out.
void Put(HDC dc, const RECT& rect, const TBitmap& built, bool transparent) {
  if (built.Empty()) return;
  if (transparent)
    DrawBitmapTransparent(dc, rect.left, rect.top, built.Width(), built.Height(), built, SkinKeyColor);
  else
    DrawBitmap(dc, rect.left, rect.top, built);
}

// Rectangles per ExtCreateRegion call.
constexpr std::size_t kRegionBatch = 2000;

}  // namespace

TBitmapDC::TBitmapDC(const TBitmap& bitmap, HDC compatible) : dc_(CreateCompatibleDC(compatible)) {
  HBITMAP dib = BitmapHandle(bitmap);
  if (!dc_ || !dib) return;
  HGDIOBJ previous = SelectObject(dc_.Get(), dib);
  if (!previous || previous == HGDI_ERROR) return;
  previous_ = previous;
  SetStretchBltMode(dc_.Get(), COLORONCOLOR);
}

TBitmapDC::~TBitmapDC() {
  if (previous_) SelectObject(dc_.Get(), previous_);
  GdiFlush();
}

void DrawBitmap(HDC dc, int x, int y, const TBitmap& bitmap) {
  if (!dc || bitmap.Empty()) return;
  TBitmapDC src(bitmap, dc);
  if (!src) return;
  BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), src.Get(), 0, 0, SRCCOPY);
}

void DrawBitmapTransparent(HDC dc, int x, int y, int width, int height, const TBitmap& bitmap, TColor key) {
  int w = std::min(width, bitmap.Width()), h = std::min(height, bitmap.Height());
  if (!dc || w <= 0 || h <= 0) return;
  // Monochrome bitmaps made by CreateBitmap take rows padded to 2 bytes.
  std::vector<std::uint8_t> bits = OpaqueMask(bitmap, w, h, key, 2);
  if (std::all_of(bits.begin(), bits.end(), [](std::uint8_t b) { return b == 0; })) return;  // all key
  TGdiBitmap mask(CreateBitmap(w, h, 1, 1, bits.data()));
  TBitmapDC src(bitmap, dc);
  if (!mask || !src) return;
  // Where the mask is set the image is copied; elsewhere the destination is kept (ROP 0xAA0029).
  MaskBlt(dc, x, y, w, h, src.Get(), 0, 0, mask.Get(), 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029));
}

void DrawNineSlice(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, bool tile, bool transparent,
                   int frameCount, int frameIndex, const TMargins& margins) {
  TBitmap built = BuildNineSlice(ToDrawRect(rect), image, margins, vertical, tile, frameCount, frameIndex);
  Put(dc, rect, built, transparent);
}

void DrawNineSliceBorder(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, int frameCount,
                         int frameIndex, const TMargins& margins) {
  TDrawRect r = ToDrawRect(rect);
  TFrameCell cell = FrameCell(image, vertical, frameCount, frameIndex);
  if (!dc || r.Empty() || cell.Empty()) return;
  TMargins m = EffectiveMargins(r, cell, margins);
  int w = r.Width(), h = r.Height();
  // The border as four bands, each built in its own small bitmap: the centre is never touched
  // and a large rectangle costs no bitmap of its full size.
  const TDrawRect bands[] = {{0, 0, w, m.Top},
                             {0, h - m.Bottom, w, h},
                             {0, m.Top, m.Left, h - m.Bottom},
                             {w - m.Right, m.Top, w, h - m.Bottom}};
  for (const TDrawRect& band : bands) {
    if (band.Empty()) continue;
    TBitmap part(band.Width(), band.Height(), image.PixelFormat());
    if (part.Empty()) continue;
    DrawNineSlice(part, {-band.Left, -band.Top, w - band.Left, h - band.Top}, image, margins, vertical, false,
                  frameCount, frameIndex, TSliceParts::Border);
    DrawBitmap(dc, r.Left + band.Left, r.Top + band.Top, part);
  }
}

void DrawThreeSlice(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, bool transparent,
                    int frameCount, int frameIndex, const TMargins& margins) {
  TBitmap built = BuildThreeSlice(ToDrawRect(rect), image, margins, vertical, frameCount, frameIndex);
  Put(dc, rect, built, transparent);
}

void DrawFrame(HDC dc, const RECT& rect, const TBitmap& image, bool transparent, int frameCount,
               int frameIndex) {
  TBitmap built = BuildFrame(ToDrawRect(rect), image, frameCount, frameIndex);
  Put(dc, rect, built, transparent);
}

void DrawTransparent(HDC dc, const RECT& rect, const TBitmap& image, TColor key) {
  TDrawRect r = ToDrawRect(rect);
  if (r.Empty()) return;
  DrawBitmapTransparent(dc, r.Left, r.Top, r.Width(), r.Height(), image, key);
}

void TileImage(HDC dc, const RECT& rect, const TBitmap& image, const RECT& source) {
  TDrawRect r = ToDrawRect(rect);
  if (!dc || r.Empty() || image.Empty()) return;
  TBitmap tiled(r.Width(), r.Height(), image.PixelFormat());
  if (tiled.Empty()) return;
  TDrawRect all{0, 0, r.Width(), r.Height()};
  // Nothing to repeat: draw nothing rather than the empty (black) bitmap.
  TDrawRect src = ToDrawRect(source);
  TDrawRect clipped{std::max(src.Left, 0), std::max(src.Top, 0), std::min(src.Right, image.Width()),
                    std::min(src.Bottom, image.Height())};
  if (clipped.Empty()) return;
  TileImage(tiled, all, image, src);
  DrawBitmap(dc, r.Left, r.Top, tiled);
}

TGdiRegion RegionFromImage(const TBitmap& image, int offsetX, int offsetY, int blueTolerance,
                           int greenTolerance, int redTolerance, TColor key) {
  return RegionFromRects(
      OpaqueRuns(image, offsetX, offsetY, blueTolerance, greenTolerance, redTolerance, key));
}

TGdiRegion RegionFromRects(const std::vector<TDrawRect>& rects) {
  TGdiRegion result;
  std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + kRegionBatch * sizeof(RECT));
  for (std::size_t first = 0; first < rects.size(); first += kRegionBatch) {
    std::size_t n = std::min(kRegionBatch, rects.size() - first);
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(n);
    header.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    header.rcBound = {rects[first].Left, rects[first].Top, rects[first].Right, rects[first].Bottom};
    auto* out = reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < n; ++i) {
      const TDrawRect& r = rects[first + i];
      out[i] = {r.Left, r.Top, r.Right, r.Bottom};
      header.rcBound.left = std::min<LONG>(header.rcBound.left, r.Left);
      header.rcBound.top = std::min<LONG>(header.rcBound.top, r.Top);
      header.rcBound.right = std::max<LONG>(header.rcBound.right, r.Right);
      header.rcBound.bottom = std::max<LONG>(header.rcBound.bottom, r.Bottom);
    }
    std::memcpy(buffer.data(), &header, sizeof header);
    DWORD size = static_cast<DWORD>(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
    TGdiRegion batch(ExtCreateRegion(nullptr, size, reinterpret_cast<const RGNDATA*>(buffer.data())));
    if (!batch) continue;
    if (!result)
      result = std::move(batch);
    else
      CombineRgn(result.Get(), result.Get(), batch.Get(), RGN_OR);
  }
  return result;
}
