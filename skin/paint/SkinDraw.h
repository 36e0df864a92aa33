// Building skin images: picking one frame out of an image strip, slicing it so corners and edges
// keep their size while the middle is stretched or tiled, transparent compositing with a key
// colour, and the opaque runs a window region is made of. Everything here works on TBitmap pixels
// only; putting the results on a device context is the Win32 layer's job (SkinDrawWin32.h).
//
// Scaling is nearest-neighbour and reproduces GDI's StretchBlt in COLORONCOLOR mode on top-down
// DIBs pixel for pixel (see StretchSource), so an image built here looks exactly like one stretched
// by GDI.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Color.h"

// Widths of the parts of a frame that are never stretched along their length: the corners and
// the edge thicknesses. Not coordinates.
struct TMargins {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// A rectangle in pixel coordinates, right and bottom exclusive (as a Win32 RECT).
struct TDrawRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // Right < Left or Bottom < Top: every drawing operation ignores such a rectangle.
  bool Inverted() const { return Right < Left || Bottom < Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TDrawRect&) const = default;
};

// Where one frame of an image strip lies in the image.
struct TFrameCell {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  bool Empty() const { return Width <= 0 || Height <= 0; }
};

// The transparent key colour of skin images and of the images regions are made from.
constexpr TColor SkinKeyColor = clFuchsia;

// Frame FrameIndex (1-based) of FrameCount equal frames, side by side (horizontal strip) or
// stacked (vertical strip); frame size = image size div FrameCount. A FrameCount below 1 counts
// as 1 and FrameIndex is held to 1..FrameCount (a skin with fewer frames than a painter asks for
// shows its last frame). An empty image, or more frames than the image has pixels along the
// strip, gives an empty cell.
TFrameCell FrameCell(const TBitmap& image, bool vertical, int frameCount, int frameIndex);

// Which source pixel destination pixel i (0-based) takes when srcLen pixels are scaled to dstLen
// (both > 0), as GDI's COLORONCOLOR stretch picks them:
//  - enlarging or equal (dstLen >= srcLen): source (i * srcLen + (srcLen - 1) div 2) div dstLen;
//  - reducing: source s falls into destination group (s * dstLen + (dstLen - 1) div 2) div srcLen,
//    and each destination pixel keeps one source pixel of its group: the last one along rows
//    (horizontal), the first one along columns (vertical); except that a row reduced to a single
//    pixel takes source srcLen - 2, as GDI does.
enum class TStretchAxis { Horizontal, Vertical };
int StretchSource(int i, int srcLen, int dstLen, TStretchAxis axis);

// Scales the source rectangle of src (which must lie inside src) to destRect of dest. Only
// pixels inside dest and, when given, inside clip are written; the scaling is that of the whole
// rectangles whatever is clipped. Nothing happens when either rectangle is empty or inverted.
void StretchCopy(TBitmap& dest, const TDrawRect& destRect, const TBitmap& src, const TDrawRect& srcRect,
                 const TDrawRect* clip = nullptr);

// Repeats the source rectangle of image (clipped to the image) over rect: tiles start at the
// rectangle's top-left corner and the last row and column are drawn whole, so they may run past
// the rectangle (up to the clip, or to the edge of dest).
void TileImage(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, const TDrawRect& source,
               const TDrawRect* clip = nullptr);

// The margins a nine-slice of one frame cell actually uses over rect: negative ones count as 0;
// Left and Right both become 0 when the cell is narrower than their sum (they would read outside
// the frame) or when rect is; Top and Bottom likewise with the heights.
TMargins EffectiveMargins(const TDrawRect& rect, const TFrameCell& cell, const TMargins& margins);

enum class TSliceParts { All, Border };  // Border: the eight outer parts, centre untouched

// Draws the nine-slice picture of one frame of image over rect of dest (pixels outside rect are
// never touched), with the EffectiveMargins. Corners are scaled to their margins, edges stretched along their
// length, the centre stretched or, with tile, tiled from the top-left; the right and bottom parts are drawn
// after the centre and cover the overrun of its last tiles.
void DrawNineSlice(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, const TMargins& margins,
                   bool vertical, bool tile, int frameCount, int frameIndex,
                   TSliceParts parts = TSliceParts::All);

// A new bitmap of the rectangle's size holding the nine-slice picture (in image's pixel format).
// Empty when the rectangle is empty or inverted or the image gives no frame cell.
TBitmap BuildNineSlice(const TDrawRect& rect, const TBitmap& image, const TMargins& margins, bool vertical,
                       bool tile, int frameCount, int frameIndex);

// A new bitmap of the rectangle's size: the cell's first Left columns as the left cap and its last
// Right columns as the right cap, both scaled to the height; between them the cell's middle
// columns repeated from x = Left (scaled vertically only), the right cap drawn last over the
// overrun. A cell with no middle columns (width <= Left + Right, caps given) is stretched whole
// instead, so the picture never has a hole. Top and Bottom of the margins are not used.
TBitmap BuildThreeSlice(const TDrawRect& rect, const TBitmap& image, const TMargins& margins, bool vertical,
                        int frameCount, int frameIndex);

// A new bitmap of the rectangle's size: frame FrameIndex of a horizontal strip scaled to it.
TBitmap BuildFrame(const TDrawRect& rect, const TBitmap& image, int frameCount, int frameIndex);

// Copies the image, from its top-left corner, into rect of dest (at most the image's size), except
// the pixels of the key colour, which leave dest as it was.
void DrawTransparent(TBitmap& dest, const TDrawRect& rect, const TBitmap& image, TColor key);

// Whether a pixel counts as key coloured: each channel lies between the key's channel and that
// plus the channel's tolerance (negative tolerances count as 0, the upper bound stops at 255).
struct TKeyRange {
  TKeyRange(TColor key, int blueTolerance, int greenTolerance, int redTolerance);
  bool Contains(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const {
    return blue >= LoB && blue <= HiB && green >= LoG && green <= HiG && red >= LoR && red <= HiR;
  }
  std::uint8_t LoB, HiB, LoG, HiG, LoR, HiR;
};

// The opaque part of an image as rectangles one row high: every maximal run [x1, x2) of pixels
// outside the key range in row y gives (x1 + offsetX, y + offsetY, x2 + offsetX, y + offsetY + 1),
// rows from the top, runs from the left. No pixel opaque: no rectangle.
std::vector<TDrawRect> OpaqueRuns(const TBitmap& image, int offsetX, int offsetY, int blueTolerance,
                                  int greenTolerance, int redTolerance, TColor key);

// A one-bit-per-pixel mask of the image's top-left width x height pixels (clipped to the image):
// bit set for every pixel that is not exactly the key colour. Rows from the top, most significant
// bit first, each row padded to a multiple of rowAlign bytes.
std::vector<std::uint8_t> OpaqueMask(const TBitmap& image, int width, int height, TColor key, int rowAlign);

// The one scratch bitmap the skinning engine composes in. Initialisation and finalisation are
// counted: the first initialisation creates it, the matching last finalisation frees it.
// ScratchBitmap() is null while it does not exist.
void InitScratchBitmap();
void FinalizeScratchBitmap();
TBitmap* ScratchBitmap();

// Holds the scratch bitmap for the lifetime of the object.
class TScratchBitmapUse {
 public:
  TScratchBitmapUse() { InitScratchBitmap(); }
  ~TScratchBitmapUse() { FinalizeScratchBitmap(); }
  TScratchBitmapUse(const TScratchBitmapUse&) = delete;
  TScratchBitmapUse& operator=(const TScratchBitmapUse&) = delete;
};
