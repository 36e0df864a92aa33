#include "framework/Color.h"

// The classic Windows palette, so portable code that resolves system colours gives the same
// answers on the build host as on a default Windows desktop.
TColor ColorToRGB(TColor color) {
  static const TColor kClassic[] = {0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000,
                                    0x000000, 0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x6A240A,
                                    0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF,
                                    0x404040, 0xC0C0C0, 0x000000, 0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6,
                                    0xC0C0C0, 0xD77800, 0xC0C0C0};
  if (!IsSystemColor(color)) return color & 0xFFFFFF;
  unsigned index = static_cast<unsigned>(color) & 0xFF;
  return index < sizeof kClassic / sizeof kClassic[0] ? kClassic[index] : 0;
}
