// The hot-object rules every non-client object shares.
#include "skin/form/VuzUrezNCObject.h"

void TNCObject::MouseDown() {
  if (Form->HotObject() && Form->HotObject() != this) Form->HotObject()->MouseLeave();
  if (!Visible) return;
  Form->SetHotObject(this);
  State = stPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = stHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject() == this) return;
  if (Form->HotObject()) Form->HotObject()->MouseLeave();
  if (!Visible) return;
  Form->SetHotObject(this);
  State = stHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form->SetHotObject(nullptr);
  State = stNormal;
  Paint();
}
