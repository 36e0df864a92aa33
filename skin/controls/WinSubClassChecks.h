// Check-box and radio-button skinners: the control paints itself as usual (caption, focus
// rectangle), then the mark is painted again from the skin over the standard one.
#pragma once

#include "skin/controls/SkinPictureCache.h"
#include "skin/controls/WinSubClass.h"

class TSkinCheckBox : public TSkinControl {
  DASKEL_CLASS(TSkinCheckBox, TSkinControl)
 public:
  explicit TSkinCheckBox(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void RefreshSkin() override;

 private:
  TPictureCache FMark;  // the mark of the last paint on the face colour
};

class TSkinRadioButton : public TSkinControl {
  DASKEL_CLASS(TSkinRadioButton, TSkinControl)
 public:
  explicit TSkinRadioButton(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  void AfterDefault(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  void RefreshSkin() override;

 private:
  TPictureCache FMark;  // the mark of the last paint on the face colour
};
