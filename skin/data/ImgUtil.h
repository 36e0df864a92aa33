// In-place transforms of skin images: mirror, flip and quarter turns. They work on 24 and
// 32-bit bitmaps alike and keep the pixel format.
#pragma once

#include "framework/Bitmap.h"

void MirrorHorizontal(TBitmap& bmp);        // (x, y) takes (width - 1 - x, y)
void FlipVertical(TBitmap& bmp);            // row y takes row (height - 1 - y)
void RotateCounterClockwise(TBitmap& bmp);  // new (x, y) = old (old width - 1 - y, x)
void RotateClockwise(TBitmap& bmp);         // new (x, y) = old (y, old height - 1 - x)
