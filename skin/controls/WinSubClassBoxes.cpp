#include "skin/controls/WinSubClassBoxes.h"

#include "framework/Controls.h"

DASKEL_DEFINE_CLASS(TSkinBox, TSkinControl) {}

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  if (FAttached || !control || !data) return;
  FRecolour = recolour;
  FSkinData = data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  // The box never sees the control's messages, so it must hear of the control going away.
  control->FreeNotification(this);
  if (Site()) Site()->AddIfAbsent(this);
  if (recolour) Recolour(control);
  FAttached = true;
}

DASKEL_DEFINE_CLASS(TSkinLabel, TSkinControl) {}

TSkinLabel::TSkinLabel(TComponent* owner) : TSkinControl(owner) {}

void TSkinLabel::AttachLabel(TControl* label, TSkinData* data) {
  if (FAttached || !label || !data) return;
  FSkinData = data;
  FGraphicControl = label;
  label->FreeNotification(this);
  if (Site()) Site()->AddIfAbsent(this);
  Recolour(label);
  label->Invalidate();
  FAttached = true;
}
