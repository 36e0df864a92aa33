// Tool bar skinners for windows known only by their handle: TSkinToolbar paints a tool bar
// (ToolbarWindow32) whole: the skin's "Toolbars" element gives its ground and the look of a hot
// and a pressed button, and the bar draws its own images, texts and arrows over them; TSkinRebar gives a
// rebar the element's ground, so the bars in it stand on the skin. Without the element both take the skin's
// face.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/controls/WinSubClass.h"

class TSkinToolbar : public TSkinControl {
  DASKEL_CLASS(TSkinToolbar, TSkinControl)
 public:
  explicit TSkinToolbar(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;

 private:
  // The skin's look under a hot, pressed or checked button, and a separator's line.
  void DrawButton(HDC dc, int index, int hot);
};

class TSkinRebar : public TSkinControl {
  DASKEL_CLASS(TSkinRebar, TSkinControl)
 public:
  explicit TSkinRebar(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
};

// The ground of a tool bar or rebar at r of dc: the first frame of the skin's "Toolbars" element,
// or the skin's face without it.
void DrawBarGround(HDC dc, const RECT& r, const TSkinData& data, const TSkinAtScale& at);

// A tool bar asks its window how to draw (NM_CUSTOMDRAW, in a WM_NOTIFY whose answer was `given`):
// where the program leaves the drawing to the bar, the bar's texts take the skin's button-text
// colour, readable on the skin's ground. Any other notification keeps `given`.
LRESULT ToolbarTextColours(NMHDR* hdr, LRESULT given, const TSkinData& data);
