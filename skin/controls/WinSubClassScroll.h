// Scroll-bar skinners. TSkinScrollBar draws the window scroll bars (WS_HSCROLL / WS_VSCROLL, in
// the non-client area) of scrolled controls over the system's, and can drag a thumb itself;
// TSkinScControl draws a scroll bar that is a control of its own. Both compose a bar lengthwise
// at a fixed thickness from the skin's arrows, track and thumb and stretch it once onto the
// screen.
#pragma once

#include <windows.h>

#include "framework/Bitmap.h"
#include "skin/controls/ScrollGeometry.h"
#include "skin/controls/WinSubClass.h"

// Which part of a bar shows pressed.
enum TScrollPart : int {
  spNone = 0,
  spLeftArrow = 1,
  spRightArrow = 2,
  spUpArrow = 3,
  spDownArrow = 4,
  spHorzThumb = 5,
  spVertThumb = 6
};

// Composes and draws one bar; the picture is kept between paints.
class TScrollBarPainter {
 public:
  // r: the bar in dc's coordinates; activePart names the pressed arrow or thumb, if any.
  void Draw(const TSkinData& data, const TSkinAtScale& at, HDC dc, const RECT& r, bool vertical,
            const TBarGeometry& g, int activePart);
  // The next bar is composed anew (a new skin's images may sit where the old ones were).
  void Forget() { picture_.Forget(); }

 private:
  TPictureCache picture_;
};

class TSkinScrollBar : public TSkinControl {
  DASKEL_CLASS(TSkinScrollBar, TSkinControl)
 public:
  explicit TSkinScrollBar(TComponent* owner) : TSkinControl(owner) {}
  ~TSkinScrollBar() override;

  // trackThumb: a button-down on a thumb starts the skinner's own drag (else the system's).
  void AttachScrollBars(TWinControl* control, TSkinData* data, bool trackThumb, TCanvas* canvas);
  // A plain window's bars (an edit, a list, a tree): the skinner drags the thumbs itself, and
  // edges the field as the skin edges edits.
  void AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) override;
  void Detach() override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void RefreshSkin() override;
  void DrawSkin(HDC dc, const RECT& r) override;

  // For tests and measurements.
  int ActivePart() const { return FActivePart; }
  bool Tracking() const { return FTracking; }
  bool TrackThumb() const { return FTrackThumb; }
  const RECT& HorzRect() const { return FHorzRect; }
  const RECT& VertRect() const { return FVertRect; }
  const RECT& CornerRect() const { return FCornerRect; }
  // 0 horizontal, 1 vertical.
  const TBarGeometry& Geometry(int bar) const { return FGeometry[bar]; }

 protected:
  int FActivePart = spNone;
  LONG_PTR FStyle = 0, FExStyle = 0;
  RECT FCornerRect{};
  bool FTracking = false;
  bool FTrackThumb = false;
  bool FInVScroll = false, FInHScroll = false;
  SCROLLINFO FInfo[2]{};
  RECT FHorzRect{}, FVertRect{};
  TBarGeometry FGeometry[2]{};
  // A client edge or border is drawn as a skinned field's under any skin (else only under a skin
  // with content colours, whose dark field the system's edge would ring in white).
  bool FFieldEdge = false;

 private:
  // What both ways of attaching share, once the window is subclassed.
  void Begin(bool trackThumb);
  void OnScroll(TMessage& m, bool vertical);
  bool ThumbClick(const TMessage& m);
  void TrackLoop(bool vertical, POINT start);
  void MoveThumb(bool vertical, int offset);
  // Ends a running drag as a button-up does: the last position, then the end of the scroll
  // (sent rather than posted when the window is going).
  void EndDrag(bool windowGoing);
  void Layout(int width, int height);
  // A shown bar's range, page or position is not the one last drawn.
  bool BarsMoved() const;
  void UpdateGeometry(bool vertical, int length);
  void DrawBar(HDC dc, const RECT& r, bool vertical);
  TScrollBarPainter FPainter[2];
  int FTrackPos = 0;
  bool* FAlive = nullptr;  // the running drag's view of whether this object still exists
};

class TSkinScControl : public TSkinControl {
  DASKEL_CLASS(TSkinScControl, TSkinControl)
 public:
  explicit TSkinScControl(TComponent* owner) : TSkinControl(owner) {}
  bool BeforeDefault(TMessage& m) override;
  void RefreshSkin() override;
  void DrawSkin(HDC dc, const RECT& r) override;
  int ActivePart() const { return FActivePart; }
  const TBarGeometry& Geometry() const { return FGeometry; }

 protected:
  int FActivePart = spNone;
  TBarGeometry FGeometry{};

 private:
  bool Vertical() const;
  TScrollBarPainter FPainter;
};

// The shortest thumb the system draws.
int MinimumThumbLength();
