// Check-box and radio-button skinners: the control's own painting (caption, focus rectangle)
// with the mark drawn again from the skin over the standard one, composed once per state.
#pragma once

#include "skin/controls/WinSubClass.h"
#include "skin/paint/SkinPictureCache.h"

// What both skinners share; they differ in the image, how the state is asked for and whether a
// grayed state exists.
class TSkinMarkButton : public TSkinControl {
  DASKEL_CLASS(TSkinMarkButton, TSkinControl)
 public:
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  bool PictureKey(TPictureKey& key) override;
  void RefreshSkin() override;
  std::size_t PictureBytes() const override { return TSkinControl::PictureBytes() + FMark.Bytes(); }

 protected:
  TSkinMarkButton(TComponent* owner, bool checkBox);
  void ScaleChanged() override;

 private:
  // The skin's mark strip, its frame count and its 2x twin, or nullptr when the skin has none.
  const TBitmap* MarkImage(int* frameCount, const TBitmap** image2x = nullptr) const;
  bool FCheckBox;
  TPictureCache FMark;  // the mark of the last paint on the face colour
};

class TSkinCheckBox : public TSkinMarkButton {
  DASKEL_CLASS(TSkinCheckBox, TSkinMarkButton)
 public:
  explicit TSkinCheckBox(TComponent* owner);
};

class TSkinRadioButton : public TSkinMarkButton {
  DASKEL_CLASS(TSkinRadioButton, TSkinMarkButton)
 public:
  explicit TSkinRadioButton(TComponent* owner);
};
