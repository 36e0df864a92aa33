// Push-button skinners: TSkinButton (plain push buttons), TSkinBitButton (buttons with a glyph)
// and TSkinSpeedButton (windowless speed buttons). They replace the button's painting
// completely from the skin's "Buttons" element; the windowed ones also take over the left mouse
// button, so the pressed look and the click come from the skinner.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSpeedButton;

class TSkinButton : public TSkinControl {
  DASKEL_CLASS(TSkinButton, TSkinControl)
 public:
  explicit TSkinButton(TComponent* owner);
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

 protected:
  // The face drawn into r of dc; with a glyph, the control's glyph goes beside the caption.
  void PaintFace(HDC dc, const RECT& r, bool withGlyph);
  // Focus, enabled state and caption as the next paint shows them.
  void ReadState();
  // The frame of the "Buttons" image for the state: 1 normal, 2 pressed, 3 disabled, 4 hot or
  // focused.
  int FaceFrame() const;
  // Glyph and caption of a glyph button laid out over client (canvas coordinates); the glyph
  // shows frame glyphFrame of its strip.
  void DrawGlyphAndCaption(TCanvas& canvas, const RECT& client, const TControl* control, int glyphFrame,
                           TColor colour, bool enabled, bool speed) const;
  void Click();

  TCanvas FTextCanvas;  // draws the caption onto whatever picture is being composed
};

class TSkinBitButton : public TSkinButton {
  DASKEL_CLASS(TSkinBitButton, TSkinButton)
 public:
  explicit TSkinBitButton(TComponent* owner);
  void DrawSkin(HDC dc, const RECT& r) override;
};

class TSkinSpeedButton : public TSkinBitButton {
  DASKEL_CLASS(TSkinSpeedButton, TSkinBitButton)
 public:
  explicit TSkinSpeedButton(TComponent* owner);
  void Detach() override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void PaintNow(HDC dc) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;

 private:
  // The frame of "Buttons" the button's state shows; reads its enabled state and caption.
  int SpeedFrame(const TSpeedButton& button);
  // The whole button composed in the scratch bitmap and copied to r of dc.
  void DrawButton(HDC dc, const RECT& r);
};
