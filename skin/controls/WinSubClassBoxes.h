// Container skinners: TSkinBox gives group boxes, panels and similar containers the skin's face
// colour; it never sees a message.
#pragma once

#include "skin/controls/WinSubClass.h"

class TSkinBox : public TSkinControl {
  DASKEL_CLASS(TSkinBox, TSkinControl)
 public:
  explicit TSkinBox(TComponent* owner);
  void AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) override;
  void AfterDefault(TMessage&) override {}
};

// Labels and other windowless texts: the skin's face colour behind them and its button-text
// colour for a text in the system's default colour; like a box it never sees a message.
class TSkinLabel : public TSkinControl {
  DASKEL_CLASS(TSkinLabel, TSkinControl)
 public:
  explicit TSkinLabel(TComponent* owner);
  void AttachLabel(TControl* label, TSkinData* data);
  void AfterDefault(TMessage&) override {}
};
