// Helpers every kind of Windows test shares: the built skins, a message pump that waits for a
// condition, and the colour of a point of the screen.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "framework/Color.h"

inline const char* const kDefaultSkin = DASKEL_BINARY_DIR "/skins/default.skn";
inline const char* const kDarkSkin = DASKEL_BINARY_DIR "/skins/dark.skn";

inline std::string FileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs what is queued now (posted messages, paints), without waiting for anything to come.
inline void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Runs what is queued, then waits for more until done() holds or timeoutMs passes; returns
// done(). Tests wait for what they need to see, never for a fixed time: the time-out only ends a
// test that went wrong. PumpUntil(never, 0) runs what is queued once.
template <class Done>
inline bool PumpUntil(Done done, int timeoutMs = 5000) {
  DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// The colour of a point of the screen, as a person sees it.
inline TColor ScreenPixelAt(int x, int y) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return static_cast<TColor>(c);
}
