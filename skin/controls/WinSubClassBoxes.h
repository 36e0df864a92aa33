// Container and content skinners: TSkinBox gives group boxes, panels and similar containers the
// skin's face colour, TSkinContent gives content controls the skin's content colours; neither
// sees a message.
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

// Content controls (edits, memos, lists, list and tree views, grids, scroll boxes, combo boxes,
// and windowless texts inside such a control) take the skin's content colours where the skin
// gives them, and keep the system's where it does not; the colours follow skin switches and are
// given back on detach. Like a box it never sees a message.
class TSkinContent : public TSkinControl {
  DASKEL_CLASS(TSkinContent, TSkinControl)
 public:
  explicit TSkinContent(TComponent* owner);
  // faceWithout: without content colours the control takes the skin's face colour instead of
  // keeping the system's (a grid, whose cells otherwise stand out from the form).
  void AttachContent(TControl* control, TSkinData* data, bool faceWithout);
  void Detach() override;
  void RefreshSkin() override;
  void AfterDefault(TMessage&) override {}

 protected:
  void Colours(TColor& back, TColor& text) const override;

 private:
  bool Wanted() const;
  // List and tree views keep their colours in the control, not in the framework's.
  void ViewColours();
  bool FFaceWithout = false;
  bool FView = false;
  COLORREF FSavedBack = 0, FSavedTextBack = 0, FSavedText = 0;
};
