#include "tests/e2e/E2ePixels.h"

#include <algorithm>
#include <fstream>

#include "framework/Handles.h"

namespace e2e {

double Pixels::Brightness(const RECT& r) const {
  const int left = std::max(0, static_cast<int>(r.left)), top = std::max(0, static_cast<int>(r.top));
  const int right = std::min(Width, static_cast<int>(r.right)),
            bottom = std::min(Height, static_cast<int>(r.bottom));
  double sum = 0;
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x, ++n) {
      COLORREF c = At(x, y);
      sum += 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c);
    }
  return n ? sum / n : 0;
}

bool Pixels::SaveBmp(const std::string& path) const {
  if (Empty()) return false;
  const int stride = (Width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride) * Height;
  info.biSize = sizeof info;
  info.biWidth = Width;
  info.biHeight = Height;  // bottom-up, as every reader expects
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  std::vector<char> row(static_cast<std::size_t>(stride));
  for (int y = Height - 1; y >= 0; --y) {
    for (int x = 0; x < Width; ++x) {
      COLORREF c = At(x, y);
      row[x * 3] = static_cast<char>(GetBValue(c));
      row[x * 3 + 1] = static_cast<char>(GetGValue(c));
      row[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    out.write(row.data(), stride);
  }
  return static_cast<bool>(out);
}

Pixels ScreenPixels(const RECT& r) {
  Pixels p;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return p;
  TWindowDc screen(nullptr);
  TMemoryDc mem(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  TGdiBitmap dib(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!mem || !dib || !bits) return p;
  {
    TSelectObject select(mem.Get(), dib.Get());
    if (!BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY)) return p;
  }
  GdiFlush();
  const auto* px = static_cast<const DWORD*>(bits);  // 0x00RRGGBB
  p.Width = w;
  p.Height = h;
  p.Data.resize(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < p.Data.size(); ++i)
    p.Data[i] = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
  return p;
}

Pixels WindowPixels(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return ScreenPixels(r);
}

double TitleBrightness(HWND h) {
  Pixels p = WindowPixels(h);
  return p.Brightness(RECT{p.Width * 6 / 10, 6, p.Width * 8 / 10, 14});
}

}  // namespace e2e
