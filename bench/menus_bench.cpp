// Skinned menus against the system's: the time from a click on a menu-bar button to its popup
// fully painted (the menu loop idle, nothing left to paint), and the time to paint one open popup
// of 20 items. Two windows with the same menu, one skinned; the clicks go in turns, the repaints
// in alternating blocks, so a busy machine slows both alike. Reported as the median of the
// per-pair ratios.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/WinBench.h"
#include "framework/Forms.h"
#include "skin/form/SkinEngine.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/manager/SkinManage.h"

using namespace bench;

namespace {

constexpr int kItems = 20;
constexpr int kClicks = 60;    // per window
constexpr int kRounds = 30;    // repaint blocks per window: short blocks, so the two sides of a
constexpr int kRepaints = 10;  // pair are timed close together (per block)

// What the owner's WM_ENTERIDLE does: the popup is open and the menu loop has nothing left to do.
enum class TIdle { Close, Repaint };
TIdle gIdle = TIdle::Close;
LARGE_INTEGER gIdleAt{};
bool gIdleSeen = false;
bool gPainted = false;  // nothing was left to paint in the popup when the loop went idle
std::vector<double>* gRepaints = nullptr;

void RepaintPopup(HWND popup) {
  for (int i = 0; i < kRepaints; ++i) {
    LARGE_INTEGER a = Now();
    RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    GdiFlush();
    gRepaints->push_back(Microseconds(a, Now()));
  }
}

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ENTERIDLE && wp == MSGF_MENU && !gIdleSeen) {
    gIdleAt = Now();
    gIdleSeen = true;
    auto popup = reinterpret_cast<HWND>(lp);
    gPainted = popup && !GetUpdateRect(popup, nullptr, FALSE);
    if (gIdle == TIdle::Repaint && popup) RepaintPopup(popup);
    EndMenu();
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

HWND NewOwner(int x, const char* caption) {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuBenchOwner";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterClassA(&wc);
  }();
  (void)atom;
  HMENU bar = CreateMenu();
  for (const char* top : {"&File", "&Edit", "&Help"}) {
    HMENU pop = CreatePopupMenu();
    for (int i = 0; i < kItems; ++i) {
      char text[40];
      std::snprintf(text, sizeof text, "Item &%c number %d\tCtrl+%c", 'A' + i, i + 1, 'A' + i);
      AppendMenuA(pop, MF_STRING | (i == 3 ? MF_CHECKED : 0) | (i == 5 ? MF_GRAYED : 0),
                  static_cast<UINT_PTR>(100 + i), text);
    }
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), top);
  }
  HWND w = CreateWindowExA(0, "MenuBenchOwner", caption, WS_OVERLAPPEDWINDOW, x, 20, 300, 160, nullptr, bar,
                           GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  return w;
}

bool MenuOpen() {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32768", nullptr))
    if (IsWindowVisible(w)) return true;
  return false;
}

void MouseEvent(POINT p, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(p.y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

struct TTarget {
  HWND Wnd;
  bool Skinned;
  POINT Button;  // screen point on the "&File" button
};

// One click on the button, timed to the popup's idle; -1 when the popup did not come.
double ClickToPainted(const TTarget& t, int& unpainted) {
  SkinManager()->FSkinning = t.Skinned;  // the plain window's popup gets no skinner
  SetForegroundWindow(t.Wnd);
  if (!PumpUntil([&] { return GetForegroundWindow() == t.Wnd && !MenuOpen(); })) return -1;
  MouseEvent(POINT{t.Button.x + 20, t.Button.y + 60}, 0);  // from inside the window, as a person
  Pump();
  gIdle = TIdle::Close;
  gIdleSeen = false;
  LARGE_INTEGER start = Now();
  MouseEvent(t.Button, MOUSEEVENTF_LEFTDOWN);
  MouseEvent(t.Button, MOUSEEVENTF_LEFTUP);
  if (!PumpUntil([] { return gIdleSeen; })) return -1;
  if (!gPainted) ++unpainted;
  PumpUntil([] { return !MenuOpen(); });
  return Microseconds(start, gIdleAt);
}

void RepaintBlock(const TTarget& t, std::vector<double>& out) {
  SkinManager()->FSkinning = t.Skinned;
  SetForegroundWindow(t.Wnd);
  PumpUntil([&] { return GetForegroundWindow() == t.Wnd && !MenuOpen(); });
  gIdle = TIdle::Repaint;
  gIdleSeen = false;
  gRepaints = &out;
  MouseEvent(t.Button, MOUSEEVENTF_LEFTDOWN);
  MouseEvent(t.Button, MOUSEEVENTF_LEFTUP);
  PumpUntil([] { return gIdleSeen; });
  PumpUntil([] { return !MenuOpen(); });
  gRepaints = nullptr;
}

}  // namespace

int main() {
  Application->Initialize();
  InstallSkinEngine();
  TSkinData* skin = LoadSkin(DASKEL_BINARY_DIR "/skins/default.skn");
  if (skin->NoSkin() || !SkinManager()) {
    std::fprintf(stderr, "no skin\n");
    return 1;
  }
  HWND plain = NewOwner(20, "System menus");
  HWND skinned = NewOwner(360, "Skinned menus");
  auto* form = new TVuzUrezForm(nullptr);
  form->Handle = skinned;
  SkinManager()->FSkinning = true;
  form->AttachWindow(skin);
  SendMessageA(skinned, WM_SKINACTIVATE, 0, 1000);
  form->PaintFrame(nullptr);
  Pump();
  if (!form->MenuBar() || form->MenuBar()->ButtonCount() == 0) {
    std::fprintf(stderr, "the skinned window has no bar\n");
    return 1;
  }

  RECT item{}, wr{};
  GetMenuItemRect(plain, GetMenu(plain), 0, &item);
  TTarget p{plain, false, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}};
  GetWindowRect(skinned, &wr);
  const RECT& b = form->MenuBar()->Buttons[0]->BoundsRect;
  TTarget s{skinned, true, POINT{wr.left + (b.left + b.right) / 2, wr.top + (b.top + b.bottom) / 2}};

  std::vector<double> clickPlain, clickSkinned, paintPlain, paintSkinned;
  int unpaintedPlain = 0, unpaintedSkinned = 0, lost = 0;
  for (int i = 0; i < 5; ++i)
    ClickToPainted(p, unpaintedPlain), ClickToPainted(s, unpaintedSkinned);  // warm up
  unpaintedPlain = unpaintedSkinned = 0;
  for (int i = 0; i < kClicks; ++i) {
    // Always plain, then skinned: a second click on the bar button whose menu the last click
    // opened and closed is taken as closing it again and opens nothing, so the same window is
    // never clicked twice in a row.
    double a = ClickToPainted(p, unpaintedPlain);
    double c = ClickToPainted(s, unpaintedSkinned);
    if (a >= 0 && c >= 0) {  // only whole pairs count
      clickPlain.push_back(a);
      clickSkinned.push_back(c);
    } else {
      ++lost;
    }
  }
  for (int r = 0; r < kRounds; ++r) RepaintBlock(p, paintPlain), RepaintBlock(s, paintSkinned);

  Report("menu: click on bar button -> popup painted", Ratios(clickPlain, clickSkinned));
  Report("menu: paint one popup of 20 items", Ratios(paintPlain, paintSkinned));
  std::printf("popups still painting at idle: plain %d, skinned %d; clicks without popup: %d\n",
              unpaintedPlain, unpaintedSkinned, lost);
  std::fflush(stdout);
  SkinManager()->FSkinning = true;
  delete form;
  DestroyWindow(skinned);
  DestroyWindow(plain);
  delete skin;
  return 0;
}
