// What the Windows timing programs share: a skin package file made into a skin data component,
// the message pump, a microsecond clock, one forced paint, and medians.
#pragma once

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/VuzUrezData.h"

namespace bench {

// The stored property's bytes for a package file: its 4-byte size, then the package.
inline std::string SkinValue(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string package((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string value(4, '\0');
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((package.size() >> (8 * i)) & 0xFF);
  return value + package;
}

// A skin data component made as a layout makes it: stored values, the stream, then Loaded.
inline TSkinData* LoadSkin(const std::string& path, TSkinFormType kind = sfOnlyThisForm,
                           bool active = false) {
  auto* d = new TSkinData(nullptr);
  d->SetState(csLoading | csReading);
  d->SetSkinFormtype(kind);
  d->SetActive(active);
  TMemoryStream s;
  s.LoadFromBytes(SkinValue(path));
  d->ReadSkinStream(s);
  d->ClearState(csLoading | csReading);
  d->Loaded();
  return d;
}

// Runs what is queued now.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

inline LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

inline double Microseconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  static const LARGE_INTEGER f = [] {
    LARGE_INTEGER q;
    QueryPerformanceFrequency(&q);
    return q;
  }();
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

// One forced, synchronous paint of the window's area r (the whole window when r is null); extra
// adds RedrawWindow flags (RDW_FRAME, RDW_ALLCHILDREN).
inline double PaintOnce(HWND h, const RECT* r = nullptr, UINT extra = 0) {
  LARGE_INTEGER a = Now();
  RedrawWindow(h, r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | extra);
  GdiFlush();
  return Microseconds(a, Now());
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace bench
