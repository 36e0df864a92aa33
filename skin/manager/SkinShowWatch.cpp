#include "skin/manager/SkinShowWatch.h"

#include <cstring>

bool TShowWatch::Watch(HWND wnd, TShown shown) {
  FShown = shown;
  FWnd = wnd;
  return FSubclass.Attach<&TShowWatch::WndProc>(wnd, this);
}

void TShowWatch::WndProc(TMessage& m) {
  ++FDepth;
  bool showWindow = m.Msg == WM_SHOWWINDOW && m.WParam != 0;
  bool showing = showWindow || (m.Msg == WM_WINDOWPOSCHANGING && m.LParam &&
                                (reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_SHOWWINDOW));
  if ((showing || m.Msg == WM_NCDESTROY) && !FFinished) {
    FFinished = true;
    // Out first: whatever the owner attaches now sits above the window's own procedure, not
    // above a watch that has done its work.
    FSubclass.Restore();
    if (showing && FShown) FShown(FWnd, showWindow && m.LParam == 0);
  }
  FSubclass.CallPrevious(m);
  --FDepth;
}

bool ShowsSystemFrame(const CREATESTRUCTA& cs, const char* className) {
  if (cs.dwExStyle & WS_EX_MDICHILD) return true;
  if (cs.style & WS_CHILD) return false;
  if (cs.hwndParent == HWND_MESSAGE) return false;
  if (className && std::strcmp(className, "#32768") == 0) return false;
  return (cs.style & WS_CAPTION) == WS_CAPTION || !(cs.style & WS_POPUP);
}
