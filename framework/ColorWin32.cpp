#include <windows.h>

#include "framework/Color.h"

TColor ColorToRGB(TColor color) {
  if (IsSystemColor(color)) return static_cast<TColor>(GetSysColor(color & 0xFF));
  return color & 0xFFFFFF;
}
