// Counting the GDI objects a process holds, for leak tests.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Handles.h"

// GDI objects in use, up to a constant: the system's counter where there is one. Wine answers 0
// there, so the free places of its handle table are counted instead, by taking them all (the
// result is then minus the free places: it still grows by one for each object leaked).
inline long GdiObjectsInUse() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
  std::vector<TGdiBitmap> probes;
  probes.reserve(1 << 17);
  while (probes.size() < (1u << 17)) {
    HBITMAP b = CreateBitmap(1, 1, 1, 1, nullptr);
    if (!b) break;
    probes.emplace_back(b);
  }
  return -static_cast<long>(probes.size());
}
