#include "skin/controls/WinSubClassListView.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "framework/TypeInfo.h"

DASKEL_DEFINE_CLASS(TSkinListView, TSkinScrollBar) {}

namespace {
// The header skinner is made by its class's name, so that the list view needs nothing else of
// the family that draws headers.
TSkinControl* NewHeaderSkinner(TComponent* owner) {
  const TClassInfo* info = FindClass("TSkinHeader");
  if (!info || !info->Create) return nullptr;
  TComponent* made = info->Create(owner);
  if (auto* s = dynamic_cast<TSkinControl*>(made)) return s;
  delete made;
  return nullptr;
}
}  // namespace

void TSkinListView::AttachControl(TWinControl* control, TSkinData* data, bool flag, TCanvas* canvas) {
  if (FAttached || !control) return;
  AttachScrollBars(control, data, flag, canvas);
  auto header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  FHeader = NewHeaderSkinner(Owner());
  if (!FHeader) return;
  FHeader->FreeNotification(this);
  FHeader->AttachHandle(header, data, canvas);
}

void TSkinListView::Notification(TComponent* c, TOperation op) {
  TSkinScrollBar::Notification(c, op);
  if (op == opRemove && c == FHeader) FHeader = nullptr;
}
