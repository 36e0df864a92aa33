// What a window skinned with a given skin shows, for the end-to-end tests' pixel probes (the
// tests that include this link the skin's data, paint and form-layout libraries).
#pragma once

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "skin/data/VuzUrezDataElements.h"
#include "skin/data/VuzUrezDataRead.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/paint/SkinDraw.h"
#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"

namespace e2e {

// The skin package at path, read as the engine reads it; false when it is not a good package.
inline bool ReadSkinFile(const char* path, TSkinElements& skin) {
  std::string package = FileBytes(path);
  return LoadSkinPackage(reinterpret_cast<const std::uint8_t*>(package.data()), package.size(), skin) ==
         TPackageStatus::Ok;
}

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

// The colours of frame `index` of `frames` of a skin image, in columns [x0, x1) and rows [y0, y1)
// of the frame (all rows when y1 is 0).
inline std::set<COLORREF> FrameColours(const TBitmap& image, int frames, int index, int x0, int x1,
                                       int y0 = 0, int y1 = 0) {
  TFrameCell cell = FrameCell(image, false, frames, index);
  std::set<COLORREF> out;
  for (int x = x0; x < x1; ++x)
    for (int y = y0; y < (y1 ? y1 : cell.Height); ++y)
      out.insert(static_cast<COLORREF>(image.Pixel(cell.X + x, cell.Y + y)));
  return out;
}

// A skinned window of another process shows the skin's left border halfway down its left edge
// (waits for it).
inline bool ShowsSkinBorder(HWND w, const TSkinElements& skin) {
  RECT wr = ScreenRect(w);
  const int h = wr.bottom - wr.top;
  const TColor border = SkinLeftBorderPixel(skin, h);
  return WaitUntil([&] { return ScreenPixelAt(wr.left + 1, wr.top + h / 2) == border; });
}

// Its menu bar's right end, just above the client area, shows the right cap of the skin's bar.
inline bool ShowsSkinMenuBar(HWND w, const TSkinElements& skin) {
  if (!skin.MenuBar || skin.MenuBar->Bitmap.Empty()) return false;
  const TDataSkinObject& bar = *skin.MenuBar;
  TFrameCell cell = FrameCell(bar.Bitmap, false, 2, 1);
  std::set<COLORREF> cap = FrameColours(bar.Bitmap, 2, 1, cell.Width - bar.RightWidth, cell.Width);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT client{};
  GetClientRect(w, &client);
  const int y = origin.y - GetSystemMetrics(SM_CYMENU) / 2, x = origin.x + client.right - 2;
  return WaitUntil([&] { return cap.count(static_cast<COLORREF>(ScreenPixelAt(x, y))) > 0; });
}

// The middle of its close button shows the middle of one of the frames of the skin's close
// button (which frame depends on the mouse and the activation).
inline bool ShowsSkinCloseButton(HWND w, const TSkinElements& skin) {
  for (auto& b : skin.SysButtons) {
    if (b->Action != 0 || b->Align != 1 || b->Bitmap.Empty()) continue;
    const int frames = std::max(1, static_cast<int>(b->FrameCount));
    const int bw = b->Bitmap.Width() / frames, bh = b->Bitmap.Height();
    std::set<COLORREF> middle;
    for (int i = 0; i < frames; ++i) {
      auto c = FrameColours(b->Bitmap, frames, i, bw / 2, bw / 2 + 1, bh / 2, bh / 2 + 1);
      middle.insert(c.begin(), c.end());
    }
    RECT wr = ScreenRect(w);
    const int x = wr.right - b->Xcoord + bw / 2, y = wr.top + b->Ycoord + bh / 2;
    return WaitUntil([&] { return middle.count(static_cast<COLORREF>(ScreenPixelAt(x, y))) > 0; });
  }
  return false;
}

}  // namespace e2e
