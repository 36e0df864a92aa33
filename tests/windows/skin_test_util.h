// Helpers of the skinned-window tests: a skin data component made as a layout makes it, plain
// windows, a message pump, and looking at what a skinned window shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/data/VuzUrezData.h"
#include "skin/form/SkinEngine.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDraw.h"
#include "tests/TestUtil.h"

// The manager's deferred action has run (or none was pending).
inline bool NoActionPending() { return !SkinManager() || !SkinManager()->ActionPending(); }

// The stored SkinStream property of a package: its 4-byte size, then the package.
inline void ReadSkinStream(TSkinData& d, const std::string& package) {
  std::string value(4, '\0');
  auto size = static_cast<std::uint32_t>(package.size());
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  TMemoryStream s;
  s.LoadFromBytes(value + package);
  d.ReadSkinStream(s);
}

// As the layout reader makes the component: stored values, the stream, then Loaded; the engine
// is installed first, as a program does at start-up.
inline TSkinData* NewSkinData(const std::string& package, TSkinFormType kind, bool active,
                              TComponent* owner = nullptr) {
  InstallSkinEngine();
  auto* d = new TSkinData(owner);
  d->SetState(csLoading | csReading);
  d->SetSkinFormtype(kind);
  d->SetActive(active);
  ReadSkinStream(*d, package);
  d->ClearState(csLoading | csReading);
  d->Loaded();
  return d;
}

// The skin alone, read from the package as a component holds it but never loaded: no manager,
// so nothing skins a window but the skinners a test attaches itself.
inline TSkinData* SkinOnly(const char* path = kDefaultSkin) {
  auto* d = new TSkinData(nullptr);
  ReadSkinStream(*d, FileBytes(path));
  return d;
}

inline TVuzUrezForm* SkinnerOf(HWND w) {
  TSkinManage* m = SkinManager();
  return m ? dynamic_cast<TVuzUrezForm*>(m->FindForm(w)) : nullptr;
}

// Waits until the window is active and, when it was skinned, its skinner has handled the
// activation message (the refit to the skin).
inline bool WaitActive(HWND w) {
  return PumpUntil([w] {
    TVuzUrezForm* s = SkinnerOf(w);
    return GetActiveWindow() == w && (!s || s->FStage == ssActive);
  });
}

// Destroys the test windows a test left behind (when it failed halfway) and lets the manager's
// pending action run, so the next test starts from a clean desktop.
inline void DestroyTestWindows() {
  std::vector<HWND> left;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) -> BOOL {
        if (WindowClassName(w) == "SkinTestWindow") reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&left));
  for (HWND w : left)
    if (IsWindow(w)) DestroyWindow(w);
  PumpUntil(NoActionPending);
}

// Messages the plain test windows received that a test wants to see.
inline UINT gLastSkinQueryAction = 0;
inline SIZE gSizeAtDestroy{};  // the window's size as its procedure saw it when it was destroyed

inline LRESULT CALLBACK SkinTestWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SKINQUERY && wp != 0) gLastSkinQueryAction = static_cast<UINT>(wp);
  if (m == WM_DESTROY) {
    RECT r{};
    GetWindowRect(w, &r);
    gSizeAtDestroy = {r.right - r.left, r.bottom - r.top};
  }
  return DefWindowProcA(w, m, wp, lp);
}

// A plain top-level window with the given client size; shown and activated unless show is false.
inline HWND NewWindow(int clientW, int clientH, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr,
                      bool show = true) {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SkinTestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinTestWindow";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClassA(&wc);
  }();
  (void)atom;
  RECT r{0, 0, clientW, clientH};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  HWND w = CreateWindowExA(0, "SkinTestWindow", "Skin test", style, 40, 40, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (show) {
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    WaitActive(w);
  }
  return w;
}

inline bool Skinned(HWND w) { return SendMessageA(w, WM_SKINQUERY, 0, 0) == 1; }

inline TColor ScreenPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return static_cast<TColor>(c);
}
