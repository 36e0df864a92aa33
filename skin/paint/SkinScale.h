// Skin images at a DPI other than 96: every size a skin gives (image sizes, slice margins) is
// meant for 96 DPI and is scaled by s = DPI / 96.
//
// One primitive scales an image. Integer scales repeat pixels; other scales average the source
// area each pixel covers (a box filter: straight edges stay straight and no colour leaves the
// range of its neighbours). Frame cells and slice margins are scaled as separate pieces, so no
// pixel mixes two frames or a corner with an edge. Magenta-keyed pixels stay hard: the
// transparency of a scaled pixel is that of the source pixel under its centre, and only opaque
// source pixels are averaged into it, so no pink fringe appears. At 96 DPI an image comes back
// unchanged, pixel for pixel.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <tuple>

#include "framework/Bitmap.h"
#include "skin/data/VuzUrezDataElements.h"
#include "skin/paint/SkinDraw.h"

// The DPI a window is drawn at.
struct TSkinScale {
  int Dpi = 96;
  bool Unscaled() const { return Dpi == 96; }
  // From 150 % on, an image's twin drawn for 2x is used where the skin has one.
  bool UsesHighRes() const { return Dpi >= 144; }
  // A 96-DPI length at this DPI: n * Dpi / 96, halves rounded away from zero; n itself at 96.
  int Length(int n) const;
};

// Slice margins at the scale (each with Length: at 96 DPI unchanged). The middles between them
// keep stretching or tiling as at 96.
TMargins ScaleMargins(const TMargins& margins, TSkinScale scale);

// How the painters cut an image: FrameCount equal frames side by side or stacked (columns or
// rows past the last whole frame are dropped), each sliced with the margins.
struct TImageLayout {
  int FrameCount = 1;
  bool Vertical = false;
  TMargins Margins;
  auto Key() const {
    return std::make_tuple(FrameCount, Vertical, Margins.Left, Margins.Top, Margins.Right, Margins.Bottom);
  }
};

// `image` (drawn for 96 DPI, or for 192 when fromDpi says so) at the scale: each frame
// Length(frame size) pixels, each margin ScaleMargins' width. Empty for an empty image.
TBitmap ScaleImage(const TBitmap& image, TSkinScale scale, const TImageLayout& layout = {}, int fromDpi = 96);

// The picture of one skin image at the scale: its 2x twin from 150 % on where there is one
// (reduced below 200 %, enlarged above), else the image itself scaled.
TBitmap ScaleSkinImage(const TBitmap& image, const TBitmap& image2x, TSkinScale scale,
                       const TImageLayout& layout);

// The scaled images of one skin at one scale, each made once: a paint asks and never scales.
// The owner keeps one per skin and DPI and drops it when the skin is replaced. Entries hold a
// share of their source image, so a key (the source's pixels) cannot be reused while cached.
class TScaledSkinImages {
 public:
  explicit TScaledSkinImages(TSkinScale scale) : scale_(scale) {}
  TSkinScale Scale() const { return scale_; }
  // The image at this cache's scale, made on the first request; the same object afterwards.
  const TBitmap& Get(const TBitmap& image, const TBitmap& image2x, const TImageLayout& layout);
  // Makes every image of the skin at once, cut as the element model says (SkinImages).
  void Prepare(const TSkinElements& skin);
  std::size_t Count() const { return entries_.size(); }
  // Pixel memory held by the scaled images beyond the skin's own: at 96 DPI, and at 192 for
  // images with a 2x twin, the skin's pixels are drawn as they are.
  std::size_t Bytes() const;

 private:
  struct TEntry {
    TBitmap source, source2x;  // keep the key's pixels alive
    TBitmap scaled;
  };
  using TKey = std::tuple<const void*, const void*, decltype(TImageLayout{}.Key())>;
  TSkinScale scale_;
  std::map<TKey, std::unique_ptr<TEntry>> entries_;
};

// The one cache of `skin`'s images at `scale` that every window of that skin and DPI draws from:
// made on the first request (the skin's high-resolution twins are loaded then, from 150 % on)
// and gone when no window holds it any more. A skin loaded anew gets caches of its own.
std::shared_ptr<TScaledSkinImages> SharedScaledImages(TSkinElements& skin, TSkinScale scale);

// The layout of a skin image as the element model describes it.
TImageLayout LayoutOf(const TSkinImage& image);

// What a painter of one window needs to draw a skin at that window's DPI: the scale, and the
// skin's images at it from the one cache of that skin and DPI. At 96 DPI it holds no cache and
// gives every image back as it is.
class TSkinAtScale {
 public:
  // Takes the window's DPI and the skin it is drawn in; true when either changed since the last
  // call (pictures composed before are then stale).
  bool Follow(TSkinElements& skin, int dpi);
  TSkinScale Scale() const { return scale_; }
  int Length(int n) const { return scale_.Length(n); }
  TMargins Margins(const TMargins& margins) const { return ScaleMargins(margins, scale_); }
  // The image (and its 2x twin) cut as the layout says, at the scale.
  const TBitmap& Image(const TBitmap& image, const TBitmap& image2x, const TImageLayout& layout) const;
  // The element's image in frameCount frames side by side (stacked with vertical), sliced by its
  // margins, at the scale; ElementMargins gives those margins at the scale.
  const TBitmap& Element(const TDataSkinObject& e, int frameCount, bool vertical = false) const;
  TMargins ElementMargins(const TDataSkinObject& e) const;
  // Pixel memory of the scaled images this window draws from (shared with every window of the
  // same skin and DPI).
  std::size_t Bytes() const { return images_ ? images_->Bytes() : 0; }

 private:
  TSkinScale scale_;
  const void* skin_ = nullptr;
  std::shared_ptr<TScaledSkinImages> images_;
};
