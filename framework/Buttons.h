// Buttons with a look of their own: the windowless speed button and the bitmap button.
#pragma once

#include "framework/StdCtrls.h"

// A windowless push button, drawn by the framework: raised, sunk while pressed or Down, and
// with Flat only framed while the mouse is over it. Buttons with the same GroupIndex (> 0) on
// one parent work like radio buttons.
class TSpeedButton : public TGraphicControl {
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

// A push button of window class "TBitBtn"; Kind gives it a standard caption and modal result.
class TBitBtn : public TButton {
  DASKEL_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* owner) : TButton(owner) {}
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind k);

 private:
  TBitBtnKind kind_ = bkCustom;
};
