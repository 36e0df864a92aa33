// The masked edit: an edit whose text follows an edit mask (see MaskLogic.h). Typing only puts
// characters the mask allows at editable positions; text set by the program is shown through
// the mask (for "!99;1; ", "7" shows as " 7").
#pragma once

#include "framework/MaskLogic.h"
#include "framework/StdCtrls.h"

class TCustomMaskEdit : public TCustomEdit {
  DASKEL_CLASS(TCustomMaskEdit, TCustomEdit)
 public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  const std::string& EditMask() const { return maskText_; }
  void SetEditMask(const std::string& mask);
  bool IsMasked() const { return !mask_.Empty(); }
  const TEditMask& Mask() const { return mask_; }
  void SetText(const std::string& s) override;
  void Loaded() override;

 protected:
  void KeyPress(char& key) override;
  void KeyDown(unsigned short& key, TShiftState shift) override;
  void WndProc(TMessage& m) override;

 private:
  // Puts the shown text into the control and the caret at `cursor`.
  void Apply(const std::string& shown, int cursor);
  void PasteText(const std::string& text);
  std::string maskText_;
  TEditMask mask_;
  unsigned char leadByte_ = 0;  // first byte of a double-byte character typed as two WM_CHARs
};

class TMaskEdit : public TCustomMaskEdit {
  DASKEL_CLASS(TMaskEdit, TCustomMaskEdit)
 public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};
