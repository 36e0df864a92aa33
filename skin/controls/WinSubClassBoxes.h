// Container skinners: TSkinBox gives group boxes, panels and similar containers the skin's face
// colour; it never sees a message.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinBox : public TSkinControl {
  DASKEL_CLASS(TSkinBox, TSkinControl)
 public:
  explicit TSkinBox(TComponent* owner);
  ~TSkinBox() override;
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  void AfterDefault(TMessage&) override {}
  void Detach() override;

 private:
  bool FSavedParentColor = false;
};
