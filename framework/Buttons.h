// Buttons with a look of their own: the windowless speed button and the bitmap button.
#pragma once

#include "framework/ButtonLayout.h"
#include "framework/StdCtrls.h"

// The glyph of a button: a strip of NumGlyphs equal images side by side (up, disabled, down),
// placed next to the caption by Layout, Margin and Spacing. Its top-left pixel's colour is
// transparent.
struct TButtonGlyph {
  TBitmap Bitmap;
  int NumGlyphs = 1;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  // From the bytes of a BMP file (a 4-byte size before them is skipped).
  void Read(TMemoryStream& s);
  // The frame (1-based) for a state: 1 up, 2 disabled, 3 down; 1 when the strip is shorter.
  int Frame(bool enabled, bool down) const;
  // Glyph and caption over the client rectangle r; the canvas's font colour is the caption's.
  void Draw(TCanvas& canvas, const RECT& r, const std::string& caption, int frame, bool enabled,
            bool speed) const;
};

extern const std::vector<std::string> kButtonLayoutNames;

// The glyph properties of a button that shows one, over the control class B it derives from;
// every change repaints the button.
template <class B>
class TGlyphButton : public B {
 public:
  using B::B;
  const TBitmap& Glyph() const { return glyph_.Bitmap; }
  void SetGlyph(const TBitmap& b) {
    glyph_.Bitmap = b;
    this->Invalidate();
  }
  int NumGlyphs() const { return glyph_.NumGlyphs; }
  void SetNumGlyphs(int v) {
    glyph_.NumGlyphs = v < 1 ? 1 : v;
    this->Invalidate();
  }
  TButtonLayout Layout() const { return glyph_.Layout; }
  void SetLayout(TButtonLayout v) {
    glyph_.Layout = v;
    this->Invalidate();
  }
  int Margin() const { return glyph_.Margin; }
  void SetMargin(int v) {
    glyph_.Margin = v;
    this->Invalidate();
  }
  int Spacing() const { return glyph_.Spacing; }
  void SetSpacing(int v) {
    glyph_.Spacing = v;
    this->Invalidate();
  }
  // The Glyph property as a layout stores it: the bytes of a BMP file.
  void ReadGlyph(TMemoryStream& s) {
    glyph_.Read(s);
    this->Invalidate();
  }
  // The properties in the class description of button class T.
  template <class T>
  static void DescribeGlyph(TClassBuilder<T>& c) {
    c.Binary("Glyph", &TGlyphButton::ReadGlyph);
    c.Int("NumGlyphs", &TGlyphButton::NumGlyphs, &TGlyphButton::SetNumGlyphs);
    c.Enum("Layout", &TGlyphButton::Layout, &TGlyphButton::SetLayout, kButtonLayoutNames);
    c.Int("Margin", &TGlyphButton::Margin, &TGlyphButton::SetMargin);
    c.Int("Spacing", &TGlyphButton::Spacing, &TGlyphButton::SetSpacing);
  }

 protected:
  TButtonGlyph glyph_;
};

// A windowless push button, drawn by the framework: raised, sunk while pressed or Down, and
// with Flat only framed while the mouse is over it. Buttons with the same GroupIndex (> 0) on
// one parent work like radio buttons.
class TSpeedButton : public TGlyphButton<TGraphicControl> {
  DASKEL_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* owner);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Pressed() const { return pressed_; }
  void Click() override;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;

 private:
  bool flat_ = false, down_ = false, allowAllUp_ = false, pressed_ = false;
  int groupIndex_ = 0;
};

enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// A push button of window class "TBitBtn" with a glyph beside its caption; Kind gives it a
// standard caption and modal result. It draws itself (owner-drawn button).
class TBitBtn : public TGlyphButton<TButton> {
  DASKEL_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner) : TGlyphButton(owner) {}
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind k);

 protected:
  void CreateParams(TCreateParams& p) override;
  void WndProc(TMessage& m) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);
  TBitBtnKind kind_ = bkCustom;
  bool drawDefault_ = false;  // shown as the default button
};
