// TVuzUrezPopMenu: the skin on one menu window ("#32768") for its short life. The window's
// border and background come from the skin's MenuBackground element; the items themselves are
// owner-drawn by the form skinner over the same background, which it gets from here.
//
// Where the border lies depends on the platform: Windows gives menu windows a 3-pixel non-client
// frame and paints it on WM_NCPAINT; Wine gives them no non-client area and paints a border
// inside the client area, on WM_PAINT, with the items 3 pixels in. The skinner paints the ring
// on the window DC in both cases, after the system's own client paint where there is no frame.
#pragma once

#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/WindowSubclass.h"
#include "skin/paint/SkinPictureCache.h"
#include "skin/paint/SkinScale.h"

class TSkinData;

class TVuzUrezPopMenu {
 public:
  static constexpr int kBorder = 3;  // the menu window's frame, on every side

  TVuzUrezPopMenu() = default;
  virtual ~TVuzUrezPopMenu() { Detach(); }
  TVuzUrezPopMenu(const TVuzUrezPopMenu&) = delete;
  TVuzUrezPopMenu& operator=(const TVuzUrezPopMenu&) = delete;

  void Attach(HWND wnd, TSkinData* data, HMENU menu);
  // Gives the window its procedure back and empties the background.
  void Detach();
  bool Attached() const { return FSubclass.Attached(); }

  HWND Handle = nullptr;
  TSkinData* FSkinData = nullptr;
  HMENU FMenu = nullptr;  // unknown (null) until the form skinner tells it
  // The background at the window's size, as last painted or printed; empty before that.
  const TBitmap& Background() const { return FBackground; }
  // Where the client area (and with it the item rectangles) starts in the window.
  POINT ClientOffset() const;

  // Every message of the menu window.
  virtual void WndProc(TMessage& m);

 private:
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp);
  bool CanPaint() const;
  // Builds the background at the window's size; false when the window has no size.
  bool BuildBackground(int& w, int& h);
  void PaintRing(HDC dc, int w, int h) const;
  LRESULT PaintBorder(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT PaintClient(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT PrintMenu(UINT msg, WPARAM wp, LPARAM lp);
  bool HasOwnFrame() const;

  TWindowSubclass FSubclass;
  TBitmap FBackground;
  TPictureKey FBackgroundKey;  // what FBackground was built from
  TSkinAtScale FAtScale;       // the skin at the menu window's DPI
};

// The popup skinner that has painted its background but does not know its menu yet; the next
// owner-drawn menu item measured or drawn tells it. Null when none waits.
TVuzUrezPopMenu*& PendingPopup();
