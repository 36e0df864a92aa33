#include "skin/controls/WinSubClassListView.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "skin/controls/WinSubClassBars.h"

DASKEL_DEFINE_CLASS(TSkinListView, TSkinScrollBar) {}

void TSkinListView::AttachControl(TWinControl* control, TSkinData* data, bool flag, TCanvas* canvas) {
  if (FAttached || !control) return;
  AttachScrollBars(control, data, flag, canvas);
  SkinHeader(reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0)));
}

void TSkinListView::SkinHeader(HWND header) {
  if (FHeader || !header || !IsWindow(header)) return;
  // Owned like every skinner by the form skinner; without one the list view's skinner keeps it.
  FHeader = new TSkinHeader(Owner() ? Owner() : this);
  FHeader->FreeNotification(this);
  FHeader->AttachHandle(header, FSkinData, FCanvas);
}

void TSkinListView::Notification(TComponent* c, TOperation op) {
  TSkinScrollBar::Notification(c, op);
  if (op == opRemove && c == FHeader) FHeader = nullptr;
}

namespace {

bool IsClass(HWND wnd, const char* name) {
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

bool IsListView(HWND wnd) { return IsClass(wnd, WC_LISTVIEWA); }

}  // namespace

void TViewColours::Save(HWND view, bool list) {
  FView = view;
  FList = list;
  if (FList) {
    FBack = static_cast<COLORREF>(SendMessageA(view, LVM_GETBKCOLOR, 0, 0));
    FTextBack = static_cast<COLORREF>(SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0));
    FText = static_cast<COLORREF>(SendMessageA(view, LVM_GETTEXTCOLOR, 0, 0));
  } else {
    FBack = static_cast<COLORREF>(SendMessageA(view, TVM_GETBKCOLOR, 0, 0));
    FText = static_cast<COLORREF>(SendMessageA(view, TVM_GETTEXTCOLOR, 0, 0));
  }
}

void TViewColours::Apply(COLORREF back, COLORREF text) const { Set(back, back, text); }

void TViewColours::Restore() const { Set(FBack, FTextBack, FText); }

void TViewColours::Set(COLORREF back, COLORREF textBack, COLORREF text) const {
  if (!FView || !IsWindow(FView)) return;
  if (FList) {
    SendMessageA(FView, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageA(FView, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(textBack));
    SendMessageA(FView, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  } else {
    SendMessageA(FView, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    SendMessageA(FView, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  }
  InvalidateRect(FView, nullptr, TRUE);
}

DASKEL_DEFINE_CLASS(TSkinView, TSkinListView) {}

void TSkinView::AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) {
  if (FAttached || !IsWindow(wnd)) return;
  FColours.Save(wnd, IsListView(wnd));
  TSkinScrollBar::AttachHandle(wnd, data, canvas);
  if (!FAttached) return;
  if (IsListView(wnd)) SkinHeader(reinterpret_cast<HWND>(SendMessageA(wnd, LVM_GETHEADER, 0, 0)));
  Colours();
}

void TSkinView::Colours() {
  if (!FSkinData || !FSkinData->Skin.ContentColours) {
    FColours.Restore();
    return;
  }
  const TColor back = FSkinData->Skin.ColourWindow;
  FColours.Apply(static_cast<COLORREF>(ColorToRGB(back)),
                 static_cast<COLORREF>(ColorToRGB(ReadableOn(FSkinData->Skin.ColourWindowText, back))));
}

void TSkinView::RefreshSkin() {
  Colours();
  TSkinListView::RefreshSkin();
}

void TSkinView::Detach() {
  const bool wasAttached = FObjectInstance.Attached();
  TSkinListView::Detach();
  if (wasAttached && !FGoing && !TearingDown()) FColours.Restore();
}

bool TSkinView::BeforeDefault(TMessage& m) {
  if (m.Msg == WM_DESTROY) FGoing = true;
  return TSkinListView::BeforeDefault(m);
}

void TSkinView::AfterDefault(TMessage& m) {
  // A list view may make its header only when it first shows its report style (it does not know
  // the header's window yet while it is told of it).
  if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE &&
      IsClass(reinterpret_cast<HWND>(m.LParam), WC_HEADERA))
    SkinHeader(reinterpret_cast<HWND>(m.LParam));
  TSkinListView::AfterDefault(m);
}
