// The skin image drawing operations on device contexts. Images are built by the portable code
// (SkinDraw.h) in memory and reach the DC in one blit each; transparent draws copy exactly
// the pixels that are not of the key colour. Every operation ignores an inverted rectangle
// (right < left or bottom < top) and draws nothing for an empty one.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Bitmap.h"
#include "framework/Handles.h"
#include "skin/paint/SkinDraw.h"

inline TDrawRect ToDrawRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
}

// A memory DC with a bitmap's pixels selected into it, stretch mode COLORONCOLOR, to draw from or
// onto (the pixels are shared, nothing is copied). When it goes, the bitmap is selected out again
// and pending GDI drawing is flushed, so its pixels can be read directly. A bitmap that is selected
// into another DC at the time (a TBitmapCanvas on it) cannot be selected: the object is then false.
class TBitmapDC {
 public:
  explicit TBitmapDC(const TBitmap& bitmap, HDC compatible = nullptr);
  ~TBitmapDC();
  TBitmapDC(const TBitmapDC&) = delete;
  TBitmapDC& operator=(const TBitmapDC&) = delete;
  HDC Get() const { return dc_.Get(); }
  explicit operator bool() const { return previous_ != nullptr; }

 private:
  TMemoryDc dc_;
  HGDIOBJ previous_ = nullptr;
};

// Copies the whole bitmap to (x, y) of the DC (SRCCOPY).
void DrawBitmap(HDC dc, int x, int y, const TBitmap& bitmap);
// Copies the bitmap's top-left width x height pixels to (x, y) of the DC, except those of the key
// colour, which leave the DC's pixels as they were.
void DrawBitmapTransparent(HDC dc, int x, int y, int width, int height, const TBitmap& bitmap, TColor key);

// The nine-slice picture of one frame at the rectangle; with transparent, magenta pixels are
// left out.
void DrawNineSlice(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, bool tile, bool transparent,
                   int frameCount, int frameIndex, const TMargins& margins);
// Only the eight outer parts of the nine-slice picture; the centre of the rectangle is untouched.
void DrawNineSliceBorder(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, int frameCount,
                         int frameIndex, const TMargins& margins);
// Left cap, repeated middle, right cap (margins Left and Right); with transparent, magenta
// pixels are left out.
void DrawThreeSlice(HDC dc, const RECT& rect, const TBitmap& image, bool vertical, bool transparent,
                    int frameCount, int frameIndex, const TMargins& margins);
// One frame of a horizontal strip scaled to the rectangle.
void DrawFrame(HDC dc, const RECT& rect, const TBitmap& image, bool transparent, int frameCount,
               int frameIndex);
// The image from its top-left corner at the rectangle (at most the image's size), except the
// pixels of the key colour.
void DrawTransparent(HDC dc, const RECT& rect, const TBitmap& image, TColor key);
// The source rectangle of the image repeated over the rectangle from its top-left corner; the
// last row and column of tiles are cut at the rectangle's edge.
void TileImage(HDC dc, const RECT& rect, const TBitmap& image, const RECT& source);

// A region of the image's opaque pixels (see OpaqueRuns), moved by the offset; no region (a null
// handle) when no pixel is opaque.
TGdiRegion RegionFromImage(const TBitmap& image, int offsetX, int offsetY, int blueTolerance,
                           int greenTolerance, int redTolerance, TColor key);
// The union of the rectangles, built in batches of 2000 so each ExtCreateRegion call stays small.
TGdiRegion RegionFromRects(const std::vector<TDrawRect>& rects);
