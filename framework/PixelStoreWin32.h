// Windows side of the pixel storage: the DIB section behind a bitmap's pixels.
#pragma once

#include <windows.h>

#include "framework/PixelStore.h"

// The DIB section holding the store's pixels (owned by the store), or nullptr.
HBITMAP DibOf(TPixelStore* store);
