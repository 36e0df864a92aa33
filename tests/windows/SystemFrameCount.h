// Counts, per window, the frame paints that reach a window's own procedure: those the system
// draws its frame and caption for. A thread CBT hook installed after the skin manager's is called
// before it, so the procedure it puts in at each creation sits under everything the engine adds;
// WM_NCPAINT and WM_NCACTIVATE that get there while the window is visible are the system painting
// its frame (or caption) on screen.
#pragma once

#include <windows.h>

#include <map>

class TSystemFrameCount {
 public:
  TSystemFrameCount() {
    Self() = this;
    FHook = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
  }
  // Windows still open keep the counting procedure, which only passes their messages on from
  // then.
  ~TSystemFrameCount() {
    UnhookWindowsHookEx(FHook);
    Self() = nullptr;
  }
  TSystemFrameCount(const TSystemFrameCount&) = delete;
  TSystemFrameCount& operator=(const TSystemFrameCount&) = delete;

  // Frame paints of wnd that reached its own procedure while it was visible.
  int Of(HWND wnd) const {
    auto it = FCount.find(wnd);
    return it == FCount.end() ? 0 : it->second;
  }
  bool Watched(HWND wnd) const { return Previous().count(wnd) != 0; }

 private:
  static TSystemFrameCount*& Self() {
    static TSystemFrameCount* self = nullptr;
    return self;
  }
  static std::map<HWND, LONG_PTR>& Previous() {
    static std::map<HWND, LONG_PTR> previous;
    return previous;
  }
  static LONG_PTR SetProc(HWND w, LONG_PTR proc) {
    return IsWindowUnicode(w) ? SetWindowLongPtrW(w, GWLP_WNDPROC, proc)
                              : SetWindowLongPtrA(w, GWLP_WNDPROC, proc);
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    TSystemFrameCount* self = Self();
    if (code == HCBT_CREATEWND && self) {
      auto w = reinterpret_cast<HWND>(wp);
      Previous()[w] = SetProc(w, reinterpret_cast<LONG_PTR>(&Proc));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    TSystemFrameCount* self = Self();
    auto previous = reinterpret_cast<WNDPROC>(Previous()[w]);
    if (self && (m == WM_NCPAINT || m == WM_NCACTIVATE) && IsWindowVisible(w)) ++self->FCount[w];
    if (m == WM_NCDESTROY) Previous().erase(w);
    return IsWindowUnicode(w) ? CallWindowProcW(previous, w, m, wp, lp)
                              : CallWindowProcA(previous, w, m, wp, lp);
  }

  HHOOK FHook = nullptr;
  std::map<HWND, int> FCount;
};
