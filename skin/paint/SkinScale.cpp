#include "skin/paint/SkinScale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/data/VuzUrezDataRead.h"

namespace {

// n * num / den with halves rounded away from zero (den > 0).
int MulDivRound(int n, int num, int den) {
  std::int64_t p = static_cast<std::int64_t>(n) * num, q = den;
  std::int64_t r = p >= 0 ? (2 * p + q) / (2 * q) : -((-2 * p + q) / (2 * q));
  return static_cast<int>(r);
}

// One destination pixel along an axis: the source pixels it covers with their integer overlaps,
// and the source pixel under its centre (whose transparency it takes).
struct TTap {
  int centre = 0;
  std::vector<std::pair<int, int>> sources;  // index, weight
};

// Source [s0, s0 + sl) spread over destination [d0, d0 + dl). In units where a source pixel is
// dl long and a destination pixel sl long, the overlaps are whole numbers.
void Spread(std::vector<TTap>& taps, int s0, int sl, int d0, int dl) {
  if (sl <= 0 || dl <= 0) return;
  for (int j = 0; j < dl; ++j) {
    TTap& t = taps[static_cast<std::size_t>(d0 + j)];
    std::int64_t lo = static_cast<std::int64_t>(j) * sl, hi = lo + sl;
    t.centre = s0 + static_cast<int>((2 * lo + sl) / (2LL * dl));
    for (std::int64_t i = lo / dl; i * dl < hi; ++i) {
      std::int64_t w = std::min(hi, (i + 1) * dl) - std::max(lo, i * dl);
      if (w > 0) t.sources.emplace_back(s0 + static_cast<int>(i), static_cast<int>(w));
    }
  }
}

// The taps of one axis: `cells` cells of `cell` source pixels each, sliced by the margins a and
// b (dropped when they do not fit the cell, as the painters drop them), each piece scaled on
// its own so no destination pixel mixes two pieces.
std::vector<TTap> AxisTaps(int cells, int cell, int a, int b, int dpi, int from) {
  int c = MulDivRound(cell, dpi, from);
  std::vector<TTap> taps(static_cast<std::size_t>(cells) * static_cast<std::size_t>(std::max(c, 0)));
  if (c <= 0) return taps;
  a = std::max(a, 0), b = std::max(b, 0);
  if (static_cast<std::int64_t>(a) + b > cell) a = b = 0;
  int da = std::min(MulDivRound(a, dpi, from), c), db = std::min(MulDivRound(b, dpi, from), c - da);
  if (a + b == cell) da = c - db;  // no middle: the caps meet
  for (int k = 0; k < cells; ++k) {
    int s = k * cell, d = k * c;
    Spread(taps, s, a, d, da);
    Spread(taps, s + a, cell - a - b, d + da, c - da - db);
    Spread(taps, s + cell - b, b, d + c - db, db);
  }
  return taps;
}

}  // namespace

int TSkinScale::Length(int n) const { return MulDivRound(n, Dpi, 96); }

TMargins ScaleMargins(const TMargins& m, TSkinScale s) {
  return {s.Length(m.Left), s.Length(m.Top), s.Length(m.Right), s.Length(m.Bottom)};
}

TBitmap ScaleImage(const TBitmap& image, TSkinScale scale, const TImageLayout& layout, int fromDpi) {
  TBitmap out;
  if (image.Empty() || scale.Dpi <= 0 || fromDpi <= 0) return out;
  if (scale.Dpi == fromDpi) {
    out.Share(image);
    return out;
  }
  int frames = std::max(layout.FrameCount, 1);
  const TMargins& m = layout.Margins;
  std::vector<TTap> xs, ys;
  if (layout.Vertical) {
    xs = AxisTaps(1, image.Width(), m.Left, m.Right, scale.Dpi, fromDpi);
    ys = AxisTaps(frames, image.Height() / frames, m.Top, m.Bottom, scale.Dpi, fromDpi);
  } else {
    xs = AxisTaps(frames, image.Width() / frames, m.Left, m.Right, scale.Dpi, fromDpi);
    ys = AxisTaps(1, image.Height(), m.Top, m.Bottom, scale.Dpi, fromDpi);
  }
  if (xs.empty() || ys.empty() ||
      !out.SetSize(static_cast<int>(xs.size()), static_cast<int>(ys.size()), image.PixelFormat()))
    return out;
  const std::uint8_t kb = BlueOf(SkinKeyColor), kg = GreenOf(SkinKeyColor), kr = RedOf(SkinKeyColor);
  const int bpp = image.BytesPerPixel();
  auto pixel = [&](int x, int y) { return image.ScanLine(y) + x * bpp; };
  auto isKey = [&](const std::uint8_t* p) { return p[0] == kb && p[1] == kg && p[2] == kr; };
  for (std::size_t y = 0; y < ys.size(); ++y) {
    std::uint8_t* d = out.ScanLine(static_cast<int>(y));
    const TTap& ty = ys[y];
    for (std::size_t x = 0; x < xs.size(); ++x, d += bpp) {
      const TTap& tx = xs[x];
      if (isKey(pixel(tx.centre, ty.centre))) {
        d[0] = kb, d[1] = kg, d[2] = kr;
        continue;
      }
      // Only opaque pixels are averaged in: the key colour never bleeds into an edge.
      std::int64_t sum[3] = {0, 0, 0}, total = 0;
      for (auto [sy, wy] : ty.sources) {
        const std::uint8_t* row = image.ScanLine(sy);
        for (auto [sx, wx] : tx.sources) {
          const std::uint8_t* p = row + sx * bpp;
          if (isKey(p)) continue;
          std::int64_t w = static_cast<std::int64_t>(wx) * wy;
          sum[0] += w * p[0], sum[1] += w * p[1], sum[2] += w * p[2];
          total += w;
        }
      }
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>((sum[c] + total / 2) / total);
    }
  }
  return out;
}

TBitmap ScaleSkinImage(const TBitmap& image, const TBitmap& image2x, TSkinScale scale,
                       const TImageLayout& layout) {
  bool twin = scale.UsesHighRes() && !image2x.Empty() && image2x.Width() == 2 * image.Width() &&
              image2x.Height() == 2 * image.Height();
  if (!twin) return ScaleImage(image, scale, layout);
  TImageLayout at2x = layout;
  at2x.Margins = {2 * layout.Margins.Left, 2 * layout.Margins.Top, 2 * layout.Margins.Right,
                  2 * layout.Margins.Bottom};
  return ScaleImage(image2x, scale, at2x, 192);
}

const TBitmap& TScaledSkinImages::Get(const TBitmap& image, const TBitmap& image2x,
                                      const TImageLayout& layout) {
  TKey key{image.Store(), image2x.Store(), layout.Key()};
  auto [it, fresh] = entries_.try_emplace(key);
  if (fresh) {
    it->second = std::make_unique<TEntry>();
    it->second->source.Share(image);
    it->second->source2x.Share(image2x);
    it->second->scaled = ScaleSkinImage(image, image2x, scale_, layout);
  }
  return it->second->scaled;
}

void TScaledSkinImages::Prepare(const TSkinElements& skin) {
  for (const TSkinImage& image : SkinImages(skin)) Get(*image.Image, *image.Image2x, LayoutOf(image));
}

std::size_t TScaledSkinImages::Bytes() const {
  std::size_t bytes = 0;
  for (const auto& [key, entry] : entries_) {
    // Read through const: the writing Store() would give a shared image pixels of its own.
    const TBitmap &scaled = entry->scaled, &source = entry->source, &source2x = entry->source2x;
    if (scaled.Store() != source.Store() && scaled.Store() != source2x.Store())
      bytes += static_cast<std::size_t>(scaled.Stride()) * static_cast<std::size_t>(scaled.Height());
  }
  return bytes;
}

std::shared_ptr<TScaledSkinImages> SharedScaledImages(TSkinElements& skin, TSkinScale scale) {
  // Keyed by the skin's title record, which every load makes anew. Entries hold shares of their
  // source images, so a key whose skin is gone can only find images that are still right.
  static std::map<std::pair<const void*, int>, std::weak_ptr<TScaledSkinImages>> shared;
  std::erase_if(shared, [](const auto& entry) { return entry.second.expired(); });
  std::weak_ptr<TScaledSkinImages>& slot = shared[{skin.Title.get(), scale.Dpi}];
  if (auto cache = slot.lock()) return cache;
  if (scale.UsesHighRes()) LoadHighResImages(skin);
  auto cache = std::make_shared<TScaledSkinImages>(scale);
  slot = cache;
  return cache;
}

TImageLayout LayoutOf(const TSkinImage& image) {
  TImageLayout layout;
  layout.FrameCount = image.FrameCount;
  layout.Vertical = image.Vertical;
  if (const TDataSkinObject* e = image.Sliced)
    layout.Margins = {e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight};
  return layout;
}

bool TSkinAtScale::Follow(TSkinElements& skin, int dpi) {
  TSkinScale scale{dpi > 0 ? dpi : 96};
  // Each load of a skin makes its title record anew: it tells one skin from the next.
  const void* id = skin.Title.get();
  if (scale.Dpi == scale_.Dpi && id == skin_) return false;
  scale_ = scale;
  skin_ = id;
  images_ = scale.Unscaled() ? nullptr : SharedScaledImages(skin, scale);
  return true;
}

const TBitmap& TSkinAtScale::Image(const TBitmap& image, const TBitmap& image2x,
                                   const TImageLayout& layout) const {
  return images_ ? images_->Get(image, image2x, layout) : image;
}

const TBitmap& TSkinAtScale::Element(const TDataSkinObject& e, int frameCount, bool vertical) const {
  if (!images_) return e.Bitmap;
  return images_->Get(
      e.Bitmap, e.Bitmap2x,
      TImageLayout{frameCount, vertical, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}});
}

TMargins TSkinAtScale::ElementMargins(const TDataSkinObject& e) const {
  return Margins({e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight});
}
