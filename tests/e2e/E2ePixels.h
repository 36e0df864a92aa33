// What a person sees of a window: its pixels on the screen, for probing how it is drawn.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct Pixels {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Data;  // row by row, top row first
  bool Empty() const { return Data.empty(); }
  COLORREF At(int x, int y) const { return Data[static_cast<std::size_t>(y) * Width + x]; }
  // Mean brightness (0 black .. 255 white) of the pixels inside r (coordinates of these pixels).
  double Brightness(const RECT& r) const;
  // Written as a 24-bit BMP file, for a person to look at; false when it could not be.
  bool SaveBmp(const std::string& path) const;
};

// The screen's pixels inside r (screen coordinates); empty when they cannot be read.
Pixels ScreenPixels(const RECT& r);
// A window as it shows on the screen, frame included (whatever covers it shows too).
Pixels WindowPixels(HWND h);
// Mean brightness of a strip of the title bar right of its middle, where no skin puts the
// caption text or the caption buttons.
double TitleBrightness(HWND h);

}  // namespace e2e
