// Bar skinners: status bars (painted completely: panels, texts, size grip), headers (the column
// header of list views and other header windows, painted over after they paint themselves) and
// size boxes (plain windows of the scroll-bar class).
#pragma once

#include <string>
#include <vector>

#include "skin/controls/WinSubClass.h"
#include "skin/paint/SkinDraw.h"

// The font a window draws with (WM_GETFONT; the system font when it has none), plain style.
void WindowFont(HWND wnd, TFont& font);

class TSkinStatusBar : public TSkinControl {
  DASKEL_CLASS(TSkinStatusBar, TSkinControl)
 public:
  explicit TSkinStatusBar(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

 private:
  struct TPanel {
    std::wstring Text;
    UINT Align = DT_LEFT;
    int Style = 1;  // 1 lowered, 2 raised, 3 no bevel
    RECT Rect{};
  };
  std::vector<TPanel> Panels(const RECT& r);
  void DrawPanel(HDC dc, const TPanel& p);
  TCanvas FTextCanvas;
};

class TSkinHeader : public TSkinControl {
  DASKEL_CLASS(TSkinHeader, TSkinControl)
 public:
  explicit TSkinHeader(TComponent* owner);
  // By handle, and listed with the owner (so a list view's header goes with the form skinner).
  void AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

 private:
  struct THeaderItem {
    RECT Rect{};
    wchar_t Text[201] = {};
    int Align = 0;   // 0 left, 1 centred, 2 right
    int Image = -1;  // in the header's image list, or -1
  };
  // Item i as drawn: its rectangle, text, alignment and image; false when the header has none.
  bool Item(int i, THeaderItem& out) const;
  TCanvas FTextCanvas;
};

class TSkinSizer : public TSkinControl {
  DASKEL_CLASS(TSkinSizer, TSkinControl)
 public:
  explicit TSkinSizer(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
};
