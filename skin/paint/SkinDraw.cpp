#include "skin/paint/SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

TDrawRect Intersect(const TDrawRect& a, const TDrawRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

TDrawRect BoundsOf(const TBitmap& b) { return {0, 0, b.Width(), b.Height()}; }

// The part of dest that may be written: the bitmap, narrowed to the clip when there is one.
TDrawRect Writable(const TBitmap& dest, const TDrawRect* clip) {
  TDrawRect r = BoundsOf(dest);
  return clip ? Intersect(r, *clip) : r;
}

bool Contains(const TDrawRect& outer, const TDrawRect& inner) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

// Copies n pixels; between formats only blue, green and red travel (the fourth byte of a 32-bit
// pixel is unused).
void CopyPixels(std::uint8_t* d, int db, const std::uint8_t* s, int sb, int n) {
  if (db == sb) {
    std::memcpy(d, s, static_cast<std::size_t>(n) * static_cast<std::size_t>(db));
    return;
  }
  for (int i = 0; i < n; ++i) std::memcpy(d + i * db, s + i * sb, 3);
}

// Copies the source pixels at the given columns side by side; n bytes each (a constant, so the
// copy is a plain load and store).
template <std::size_t n>
void PickPixels(std::uint8_t* d, int db, const std::uint8_t* s, int sb, const std::vector<int>& columns) {
  for (int x : columns) {
    std::memcpy(d, s + x * sb, n);
    d += db;
  }
}

// The first source pixel of destination group k when reducing srcLen to dstLen.
int FirstOfGroup(long long k, long long srcLen, long long dstLen) {
  if (k <= 0) return 0;
  long long bias = (dstLen - 1) / 2;
  long long num = k * srcLen - bias;  // > 0 since bias < dstLen < srcLen
  return static_cast<int>((num + dstLen - 1) / dstLen);
}

int ClampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

TFrameCell FrameCell(const TBitmap& image, bool vertical, int frameCount, int frameIndex) {
  TFrameCell cell;
  if (image.Empty()) return cell;
  int count = std::max(frameCount, 1);
  int index = ClampInt(frameIndex, 1, count);
  if (vertical) {
    cell.Width = image.Width();
    cell.Height = image.Height() / count;
    cell.Y = (index - 1) * cell.Height;
  } else {
    cell.Width = image.Width() / count;
    cell.Height = image.Height();
    cell.X = (index - 1) * cell.Width;
  }
  if (cell.Empty()) return TFrameCell{};
  return cell;
}

int StretchSource(int i, int srcLen, int dstLen, TStretchAxis axis) {
  long long s = srcLen, d = dstLen;
  if (d >= s) return static_cast<int>((i * s + (s - 1) / 2) / d);
  if (axis == TStretchAxis::Vertical) return FirstOfGroup(i, s, d);
  if (d == 1) return srcLen - 2;  // GDI's row reduction stops one pixel short for a single column
  return FirstOfGroup(i + 1LL, s, d) - 1;
}

void StretchCopy(TBitmap& dest, const TDrawRect& destRect, const TBitmap& src, const TDrawRect& srcRect,
                 const TDrawRect* clip) {
  if (destRect.Empty() || srcRect.Empty()) return;
  if (!Contains(BoundsOf(src), srcRect)) return;  // never read outside the source
  TDrawRect vis = Intersect(destRect, Writable(dest, clip));
  if (vis.Empty()) return;
  int dw = destRect.Width(), dh = destRect.Height();
  int sw = srcRect.Width(), sh = srcRect.Height();
  if (dw == sw && dh == sh) {
    dest.CopyRect(vis.Left, vis.Top, src, srcRect.Left + (vis.Left - destRect.Left),
                  srcRect.Top + (vis.Top - destRect.Top), vis.Width(), vis.Height());
    return;
  }
  int db = dest.BytesPerPixel(), sb = src.BytesPerPixel();
  std::vector<int> xs(static_cast<std::size_t>(vis.Width()));
  for (int x = vis.Left; x < vis.Right; ++x)
    xs[static_cast<std::size_t>(x - vis.Left)] =
        srcRect.Left + StretchSource(x - destRect.Left, sw, dw, TStretchAxis::Horizontal);
  bool sameWidth = dw == sw;
  int prevSrcRow = -1;
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    int sy = srcRect.Top + StretchSource(y - destRect.Top, sh, dh, TStretchAxis::Vertical);
    std::uint8_t* d = dest.ScanLine(y) + vis.Left * db;
    if (sy == prevSrcRow) {  // enlarging: the row above holds the same pixels
      std::memcpy(d, dest.ScanLine(y - 1) + vis.Left * db, static_cast<std::size_t>(vis.Width()) * db);
      continue;
    }
    prevSrcRow = sy;
    const std::uint8_t* s = src.ScanLine(sy);
    if (sameWidth)
      CopyPixels(d, db, s + xs[0] * sb, sb, vis.Width());
    else if (db == 4 && sb == 4)
      PickPixels<4>(d, 4, s, 4, xs);
    else
      PickPixels<3>(d, db, s, sb, xs);
  }
}

void TileImage(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, const TDrawRect& source,
               const TDrawRect* clip) {
  if (rect.Empty()) return;
  TDrawRect src = Intersect(source, BoundsOf(image));
  int tw = src.Width(), th = src.Height();
  if (tw <= 0 || th <= 0) return;
  // Whole tiles: the area covered reaches the end of the last tile that starts inside rect.
  long long coverRight = rect.Left + ((static_cast<long long>(rect.Width()) + tw - 1) / tw) * tw;
  long long coverBottom = rect.Top + ((static_cast<long long>(rect.Height()) + th - 1) / th) * th;
  TDrawRect cover{rect.Left, rect.Top, static_cast<int>(std::min<long long>(coverRight, 0x7FFFFFFF)),
                  static_cast<int>(std::min<long long>(coverBottom, 0x7FFFFFFF))};
  TDrawRect vis = Intersect(cover, Writable(dest, clip));
  if (vis.Empty()) return;
  int db = dest.BytesPerPixel(), sb = image.BytesPerPixel();
  int firstTile = rect.Left + ((vis.Left - rect.Left) / tw) * tw;
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const std::uint8_t* s = image.ScanLine(src.Top + (y - rect.Top) % th);
    std::uint8_t* d = dest.ScanLine(y);
    for (int x = firstTile; x < vis.Right; x += tw) {
      int from = std::max(x, vis.Left), to = std::min(x + tw, vis.Right);
      CopyPixels(d + from * db, db, s + (src.Left + from - x) * sb, sb, to - from);
    }
  }
}

TMargins EffectiveMargins(const TDrawRect& rect, const TFrameCell& cell, const TMargins& margins) {
  TMargins m{std::max(margins.Left, 0), std::max(margins.Top, 0), std::max(margins.Right, 0),
             std::max(margins.Bottom, 0)};
  // Margins the frame itself cannot hold mean nothing: the whole frame is stretched instead, so no
  // part reads outside its frame.
  if (static_cast<long long>(m.Left) + m.Right > cell.Width) m.Left = m.Right = 0;
  if (static_cast<long long>(m.Top) + m.Bottom > cell.Height) m.Top = m.Bottom = 0;
  if (rect.Width() < m.Left + m.Right) m.Left = m.Right = 0;
  if (rect.Height() < m.Top + m.Bottom) m.Top = m.Bottom = 0;
  return m;
}

void DrawNineSlice(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, const TMargins& margins,
                   bool vertical, bool tile, int frameCount, int frameIndex, TSliceParts parts) {
  if (rect.Empty()) return;
  TFrameCell cell = FrameCell(image, vertical, frameCount, frameIndex);
  if (cell.Empty()) return;
  int w = rect.Width(), h = rect.Height(), cw = cell.Width, ch = cell.Height;
  TMargins m = EffectiveMargins(rect, cell, margins);
  int l = m.Left, t = m.Top, r = m.Right, b = m.Bottom;
  int iw = cw - l - r, ih = ch - t - b;  // the frame's inner part

  auto part = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    StretchCopy(dest, {rect.Left + dx, rect.Top + dy, rect.Left + dx + dw, rect.Top + dy + dh}, image,
                {cell.X + sx, cell.Y + sy, cell.X + sx + sw, cell.Y + sy + sh}, &rect);
  };
  if (l > 0 && t > 0) part(0, 0, l, t, 0, 0, l, t);
  if (l > 0 && b > 0) part(0, h - b, l, b, 0, ch - b, l, b);
  if (r > 0 && t > 0) part(w - r, 0, r, t, cw - r, 0, r, t);
  if (l > 0) part(0, t, l, h - t - b, 0, t, l, ih);
  if (t > 0) part(l, 0, w - l - r, t, l, 0, iw, t);
  if (parts == TSliceParts::All) {
    if (tile) {
      TileImage(dest, {rect.Left + l, rect.Top + t, rect.Right - r, rect.Bottom - b}, image,
                {cell.X + l, cell.Y + t, cell.X + l + iw, cell.Y + t + ih}, &rect);
    } else {
      part(l, t, w - l - r, h - t - b, l, t, iw, ih);
    }
  }
  if (r > 0 && b > 0) part(w - r, h - b, r, b, cw - r, ch - b, r, b);
  if (r > 0) part(w - r, t, r, h - t - b, cw - r, t, r, ih);
  if (b > 0) part(l, h - b, w - l - r, b, l, ch - b, iw, b);
}

TBitmap BuildNineSlice(const TDrawRect& rect, const TBitmap& image, const TMargins& margins, bool vertical,
                       bool tile, int frameCount, int frameIndex) {
  TBitmap out;
  if (rect.Empty() || FrameCell(image, vertical, frameCount, frameIndex).Empty()) return out;
  if (!out.SetSize(rect.Width(), rect.Height(), image.PixelFormat())) return out;
  DrawNineSlice(out, BoundsOf(out), image, margins, vertical, tile, frameCount, frameIndex);
  return out;
}

TBitmap BuildThreeSlice(const TDrawRect& rect, const TBitmap& image, const TMargins& margins, bool vertical,
                        int frameCount, int frameIndex) {
  TBitmap out;
  TFrameCell cell = FrameCell(image, vertical, frameCount, frameIndex);
  if (rect.Empty() || cell.Empty()) return out;
  if (!out.SetSize(rect.Width(), rect.Height(), image.PixelFormat())) return out;
  int w = out.Width(), h = out.Height(), cw = cell.Width;
  int l = std::max(margins.Left, 0), r = std::max(margins.Right, 0);
  auto columns = [&](int dx, int dw, int sx, int sw) {
    StretchCopy(out, {dx, 0, dx + dw, h}, image,
                {cell.X + sx, cell.Y, cell.X + sx + sw, cell.Y + cell.Height});
  };
  if (static_cast<long long>(l) + r >= cw && (l > 0 || r > 0)) {
    // Caps with nothing between them could not fill a wider rectangle without a hole.
    columns(0, w, 0, cw);
    return out;
  }
  int m = cw - l - r;
  if (l > 0) columns(0, l, 0, l);
  if (m > 0 && l < w - r) {
    // Every middle piece is the same picture: scale it once, then copy it along.
    columns(l, m, l, m);
    for (int x = l + m; x < w - r; x += m) out.CopyRect(x, 0, out, l, 0, m, h);
  }
  if (r > 0) columns(w - r, r, cw - r, r);
  return out;
}

TBitmap BuildFrame(const TDrawRect& rect, const TBitmap& image, int frameCount, int frameIndex) {
  TBitmap out;
  TFrameCell cell = FrameCell(image, false, frameCount, frameIndex);
  if (rect.Empty() || cell.Empty()) return out;
  if (!out.SetSize(rect.Width(), rect.Height(), image.PixelFormat())) return out;
  StretchCopy(out, BoundsOf(out), image, {cell.X, cell.Y, cell.X + cell.Width, cell.Y + cell.Height});
  return out;
}

void DrawTransparent(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, TColor key) {
  if (rect.Empty()) return;
  TDrawRect area{rect.Left, rect.Top, rect.Left + std::min(rect.Width(), image.Width()),
                 rect.Top + std::min(rect.Height(), image.Height())};
  TDrawRect vis = Intersect(area, BoundsOf(dest));
  if (vis.Empty()) return;
  std::uint8_t kb = BlueOf(key), kg = GreenOf(key), kr = RedOf(key);
  int db = dest.BytesPerPixel(), sb = image.BytesPerPixel(), n = std::min(db, sb);
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const std::uint8_t* s = image.ScanLine(y - rect.Top) + (vis.Left - rect.Left) * sb;
    std::uint8_t* d = dest.ScanLine(y) + vis.Left * db;
    for (int x = vis.Left; x < vis.Right; ++x, s += sb, d += db)
      if (s[0] != kb || s[1] != kg || s[2] != kr) std::memcpy(d, s, static_cast<std::size_t>(n));
  }
}

TKeyRange::TKeyRange(TColor key, int blueTolerance, int greenTolerance, int redTolerance) {
  // A tolerance comes from the skin: clamped before the sum, so that a huge one cannot overflow.
  auto hi = [](std::uint8_t lo, int tolerance) {
    return static_cast<std::uint8_t>(std::min(255, lo + std::clamp(tolerance, 0, 255)));
  };
  LoB = BlueOf(key);
  LoG = GreenOf(key);
  LoR = RedOf(key);
  HiB = hi(LoB, blueTolerance);
  HiG = hi(LoG, greenTolerance);
  HiR = hi(LoR, redTolerance);
}

std::vector<TDrawRect> OpaqueRuns(const TBitmap& image, int offsetX, int offsetY, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor key) {
  std::vector<TDrawRect> runs;
  TKeyRange range(key, blueTolerance, greenTolerance, redTolerance);
  int w = image.Width(), h = image.Height(), bpp = image.BytesPerPixel();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* row = image.ScanLine(y);
    int x = 0;
    while (x < w) {
      while (x < w && range.Contains(row[x * bpp], row[x * bpp + 1], row[x * bpp + 2])) ++x;
      if (x == w) break;
      int start = x;
      while (x < w && !range.Contains(row[x * bpp], row[x * bpp + 1], row[x * bpp + 2])) ++x;
      runs.push_back({start + offsetX, y + offsetY, x + offsetX, y + offsetY + 1});
    }
  }
  return runs;
}

std::vector<std::uint8_t> OpaqueMask(const TBitmap& image, int width, int height, TColor key, int rowAlign) {
  int w = ClampInt(width, 0, image.Width()), h = ClampInt(height, 0, image.Height());
  int align = std::max(rowAlign, 1);
  std::size_t rowBytes = static_cast<std::size_t>(((w + 7) / 8 + align - 1) / align * align);
  std::vector<std::uint8_t> mask(rowBytes * static_cast<std::size_t>(h), 0);
  std::uint8_t kb = BlueOf(key), kg = GreenOf(key), kr = RedOf(key);
  int bpp = image.BytesPerPixel();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = image.ScanLine(y);
    std::uint8_t* m = mask.data() + rowBytes * static_cast<std::size_t>(y);
    for (int x = 0; x < w; ++x, s += bpp)
      if (s[0] != kb || s[1] != kg || s[2] != kr) m[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  return mask;
}

namespace {
// All drawing happens on the user-interface thread, one paint at a time: no locking.
int scratchUsers = 0;
std::unique_ptr<TBitmap> scratch;
}  // namespace

void InitScratchBitmap() {
  if (scratchUsers++ == 0) scratch = std::make_unique<TBitmap>();
}

void FinalizeScratchBitmap() {
  if (scratchUsers == 0) return;  // unbalanced: nothing to free
  if (--scratchUsers == 0) scratch.reset();
}

TBitmap* ScratchBitmap() { return scratch.get(); }
