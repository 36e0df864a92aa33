// What a window skinned with a given skin shows, for the end-to-end tests' pixel probes (the
// tests that include this link the skin's data, paint and form-layout libraries).
#pragma once

#include "skin/data/VuzUrezDataElements.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/paint/SkinDraw.h"

namespace e2e {

// The colour the skin's left border shows one pixel in from the window's left edge, halfway down
// a skinned window of this height (active).
inline TColor SkinLeftBorderPixel(const TSkinElements& skin, int windowHeight) {
  TBorderSizes borders = SkinBorderSizes(skin);
  const TDataSkinBorder& left = *skin.BorderLeft;
  TBitmap image = BuildNineSlice({0, 0, borders.Left, windowHeight}, left.Bitmap,
                                 {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}, false,
                                 left.Tile != 1, left.FrameCount, 1);
  return image.Pixel(1, windowHeight / 2);
}

}  // namespace e2e
