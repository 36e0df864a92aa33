#include "skin/controls/WinSubClassListView.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "skin/controls/WinSubClassBars.h"

DASKEL_DEFINE_CLASS(TSkinListView, TSkinScrollBar) {}

void TSkinListView::AttachControl(TWinControl* control, TSkinData* data, bool flag, TCanvas* canvas) {
  if (FAttached || !control) return;
  AttachScrollBars(control, data, flag, canvas);
  auto header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  // Owned like every skinner by the form skinner; without one the list view's skinner keeps it.
  FHeader = new TSkinHeader(Owner() ? Owner() : this);
  FHeader->FreeNotification(this);
  FHeader->AttachHandle(header, data, canvas);
}

void TSkinListView::Notification(TComponent* c, TOperation op) {
  TSkinScrollBar::Notification(c, op);
  if (op == opRemove && c == FHeader) FHeader = nullptr;
}
