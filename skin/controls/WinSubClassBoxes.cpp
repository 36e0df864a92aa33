#include "skin/controls/WinSubClassBoxes.h"

#include "framework/Controls.h"

DASKEL_DEFINE_CLASS(TSkinBox, TSkinControl) {}

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

TSkinBox::~TSkinBox() { Detach(); }

void TSkinBox::Detach() {
  TWinControl* control = FRecolour && !TearingDown() ? FControl : nullptr;
  TSkinControl::Detach();
  // Setting the colour back cut the box loose from its parent's colour; a box that followed it
  // follows it again.
  if (control && FSavedParentColor) control->SetParentColor(true);
  FSavedParentColor = false;
}

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
  if (recolour) {
    FSavedColor = control->Color();
    FSavedParentColor = control->ParentColor();
    control->SetColor(data->Skin.ColourButtonFace);
  }
  FAttached = true;
}
