// TShowWatch: a window the manager may skin, watched from its creation until it is first shown.
//
// The hook offers a window for skinning when it gets activated; a window shown without
// activation, or painted before it, would show the system's frame first for as long as that
// takes. A hidden window paints nothing, so attaching on the way to visible is early enough: the
// watch sits under everything else in the window's chain from its creation, tells its owner once
// when the window is about to be shown (WM_SHOWWINDOW, or a SetWindowPos that shows it), and
// then takes itself out. The window is then whole: created, its children made, a dialog
// initialised. A show announced by WM_SHOWWINDOW from a ShowWindow call still has its own
// SetWindowPos to come, which the owner may use to give the window its skinned size.
#pragma once

#include <windows.h>

#include "framework/WindowSubclass.h"

class TShowWatch {
 public:
  using TShown = void (*)(HWND wnd, bool moveToCome);
  // False when the window cannot be watched (gone, or already taken by a watch).
  bool Watch(HWND wnd, TShown shown);
  // The window was shown or destroyed, and the watch is out of its chain: it may be freed once
  // no message of the window is being handled.
  bool Finished() const { return FFinished && FDepth == 0; }
  HWND Window() const { return FWnd; }

 private:
  void WndProc(TMessage& m);
  TWindowSubclass FSubclass;
  TShown FShown = nullptr;
  HWND FWnd = nullptr;
  bool FFinished = false;
  int FDepth = 0;  // messages of the window being handled here now
};

// Whether a window about to be created can show a frame or caption the system draws, and so is
// worth watching: a top-level window with a caption or an overlapped one, or an MDI child. Menu
// windows, message-only windows and captionless popups (tooltips, drop-downs) are not.
bool ShowsSystemFrame(const CREATESTRUCTA& cs, const char* className);
