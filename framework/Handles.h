// RAII owners for GDI and USER handles: every handle the framework creates sits in one of these.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

template <class H, class Traits>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H h) : h_(h) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
  TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, H{}));
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != H{}; }
  void Reset(H h = H{}) {
    if (h_ && h_ != h) Traits::Close(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, H{}); }

 private:
  H h_{};
};

struct TGdiTraits {
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct TDcTraits {
  static void Close(HDC h) { DeleteDC(h); }
};
struct TIconTraits {
  static void Close(HICON h) { DestroyIcon(h); }
};
struct TMenuTraits {
  static void Close(HMENU h) { DestroyMenu(h); }
};
struct TWindowTraits {
  static void Close(HWND h) { DestroyWindow(h); }
};
struct TImageListTraits {
  static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};

using TGdiFont = TUniqueHandle<HFONT, TGdiTraits>;
using TGdiBrush = TUniqueHandle<HBRUSH, TGdiTraits>;
using TGdiPen = TUniqueHandle<HPEN, TGdiTraits>;
using TGdiBitmap = TUniqueHandle<HBITMAP, TGdiTraits>;
using TGdiRegion = TUniqueHandle<HRGN, TGdiTraits>;
using TMemoryDc = TUniqueHandle<HDC, TDcTraits>;
using TIconHandle = TUniqueHandle<HICON, TIconTraits>;
using TMenuHandle = TUniqueHandle<HMENU, TMenuTraits>;
using TWindowHandle = TUniqueHandle<HWND, TWindowTraits>;
using TImageListHandle = TUniqueHandle<HIMAGELIST, TImageListTraits>;

// A DC obtained with GetDC / GetWindowDC, given back with ReleaseDC.
class TWindowDc {
 public:
  explicit TWindowDc(HWND wnd, bool whole = false) : wnd_(wnd), dc_(whole ? GetWindowDC(wnd) : GetDC(wnd)) {}
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  ~TWindowDc() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// The DC a WM_PAINT paints into: the one the message hands in (WParam), or else one from
// BeginPaint, ended with EndPaint.
class TPaintDc {
 public:
  TPaintDc(HWND wnd, WPARAM given) : wnd_(wnd), dc_(reinterpret_cast<HDC>(given)) {
    if (!dc_) {
      dc_ = BeginPaint(wnd, &ps_);
      began_ = true;
    }
  }
  TPaintDc(const TPaintDc&) = delete;
  TPaintDc& operator=(const TPaintDc&) = delete;
  ~TPaintDc() {
    if (began_) EndPaint(wnd_, &ps_);
  }
  HDC Get() const { return dc_; }
  // Whether the DC came from BeginPaint (then PaintRect is what needs painting).
  bool Began() const { return began_; }
  const RECT& PaintRect() const { return ps_.rcPaint; }

 private:
  HWND wnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
  bool began_ = false;
};

// Selects an object into a DC for a scope and selects the previous one back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};
