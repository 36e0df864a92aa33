// Skinners of the controls with parts or a value: tab controls (tabs on any side, the strip
// composed lying down and turned into place, the page border), the older tab set with its
// scroller, progress bars (bar and chunk styles) and track bars (only the thumb is replaced).
// The scroll arrows of tab controls and tab sets have an up-down skinner of their own.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/controls/WinSubClass.h"

class TSkinUpDown;

class TSkinTab : public TSkinControl {
  DASKEL_CLASS(TSkinTab, TSkinControl)
 public:
  explicit TSkinTab(TComponent* owner);
  void AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) override;
  void Detach() override;
  void RefreshSkin() override;
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

  // 0 top, 1 bottom, 2 left, 3 right.
  int TabPosition() const { return FTabPosition; }
  TSkinUpDown* UpDown() const { return FUpDown; }
  const TBitmap& TabImage() const { return FTabImage; }
  const TBitmap& BorderImage() const { return FBorderImage; }

 protected:
  void ScaleChanged() override;

 private:
  void PrepareImages();
  // The tab control's scroll arrows (skinned on first sight) and whether they show.
  HWND FindArrows(bool* visible);
  // Children and siblings are clipped away from the control's painting.
  bool Clipped() const;
  // Leaves the visible arrows out of dc, whose r is the whole control: they paint themselves.
  void ExcludeArrows(HDC dc, const RECT& r);
  struct TTabItem {
    RECT Rect{};
    wchar_t Text[80] = {};
    int Image = -1;
  };
  // Tab i: its rectangle, text and image; false when the control has no rectangle for it.
  bool Item(int i, TTabItem& out) const;
  void Notification(TComponent* c, TOperation op) override;
  HWND FArrows = nullptr;
  int FTabPosition = 0;
  TBitmap FTabImage, FBorderImage, FStrip;
  TSkinUpDown* FUpDown = nullptr;  // owned by the form skinner, like every skinner
  TCanvas FTextCanvas;
  // A framework tab control behind the window takes the face colour (its pages follow it).
  TWinControl* FTabControl = nullptr;
  TColor FSavedTabColor = 0;
};

class TSkinTab31 : public TSkinControl {
  DASKEL_CLASS(TSkinTab31, TSkinControl)
 public:
  explicit TSkinTab31(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;
  void RefreshSkin() override;
  std::size_t PictureBytes() const override { return TSkinControl::PictureBytes() + PixelBytes(FTabImage); }
  TSkinUpDown* UpDown() const { return FUpDown; }

 protected:
  void ScaleChanged() override;

 private:
  void PrepareImage();
  bool ScrollerShown() const;
  void Notification(TComponent* c, TOperation op) override;
  TBitmap FTabImage;
  TSkinUpDown* FUpDown = nullptr;
  TWinControl* FScroller = nullptr;
  TCanvas FTextCanvas;
};

class TSkinProgress : public TSkinControl {
  DASKEL_CLASS(TSkinProgress, TSkinControl)
 public:
  explicit TSkinProgress(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;
  std::size_t PictureBytes() const override { return TSkinControl::PictureBytes() + PixelBytes(FStrip); }

 private:
  TBitmap FStrip;
};

class TSkinTrackBar : public TSkinControl {
  DASKEL_CLASS(TSkinTrackBar, TSkinControl)
 public:
  explicit TSkinTrackBar(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

 private:
  LRESULT CustomDraw(const NMCUSTOMDRAW& cd);
  void DrawThumb(HDC dc);
};
