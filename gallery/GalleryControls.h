// Two small controls the gallery needs that the framework does not offer as such: an edit
// without a border and an edit with a spin button inside it. They derive from the framework's
// edit, so the engine skins them as edits (it decides by class descent, not by name).
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/StdCtrls.h"

// An edit with no frame at all: the skinner leaves such an edit alone.
class TBorderlessEdit : public TEdit {
  DASKEL_CLASS(TBorderlessEdit, TEdit)
 public:
  explicit TBorderlessEdit(TComponent* owner) : TEdit(owner) {}

 protected:
  void CreateParams(TCreateParams& p) override;
};

// An edit with a system spin button ("msctls_updown32") made as a child of the edit's own
// window, the way spin edits of other libraries are built: the edit skinner looks for such a
// child and skins it as the edit's spin button. The arrows step the number in the edit.
class TSpinEdit : public TEdit {
  DASKEL_CLASS(TSpinEdit, TEdit)
 public:
  explicit TSpinEdit(TComponent* owner) : TEdit(owner) {}
  int MinValue() const { return min_; }
  void SetMinValue(int v) { min_ = v; }
  int MaxValue() const { return max_; }
  void SetMaxValue(int v) { max_ = v; }
  HWND SpinHandle() const { return spin_.Get(); }

 protected:
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void Resized(int oldClientWidth, int oldClientHeight) override;

 private:
  void PlaceSpin();
  int min_ = 0, max_ = 100;
  TWindowHandle spin_;  // a child of the edit: goes with the edit's window
};
