// The form skinner's side of menus: the menu bar it makes and gives back, the menu changes and
// accelerators it routes to the bar, and the skinned look of the form's popup menus.
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"

void TVuzUrezForm::CreateMenuBar() {
  FMenuHeight = 0;
  // Without a skinned frame there is no room for a skinned bar: the system keeps its own.
  if (!FMenuHandle || FWindowKind == wkMdiChild || FFrameKind == fkNone) return;
  FMenuBar = std::make_unique<TVuzUrezMenu>(this, this, FSkinData, Handle);
  FMenuBar->Mdi = &FMdi;
  FMenuBar->Menu = FForm ? FForm->Menu() : nullptr;
  if (FRightToLeft) FMenuBar->RightToLeft = true;
  FMenuBar->Scale = FScale;
  FMenuBar->ScaledImages = FScaledImages;
  FMenuHeight = FMenuBar->Height();
  FMenuBar->BuildFromHandle();
}

void TVuzUrezForm::GiveMenuBack() {
  if (!FMenuBar) return;
  HMENU menu = FMenuBar->MenuHandle;
  FMenuBar.reset();
  if (menu && IsMenu(menu)) SetMenu(Handle, menu);
}

void TVuzUrezForm::MenuChanged(TMessage& m, bool fromForm) {
  FSkinData->NCPaintEnabled = false;
  if (fromForm)
    FOldFormWndProc(m);
  else
    CallPrevious(m);
  FSkinData->NCPaintEnabled = true;
  HMENU menu = GetMenu(Handle);
  if (!FMenuBar || !menu) return;
  // A menu put back on the window would show as the system's bar inside the skinned frame, and
  // the one the bar held may be gone: the bar always takes the new one. MenuUpdate off keeps
  // the buttons as they were only when the menu handle is still the same.
  if (!FSkinData->MenuUpdate() && menu == FMenuBar->MenuHandle) {
    SetMenu(Handle, nullptr);
    return;
  }
  FMenuBar->Menu = FForm ? FForm->Menu() : nullptr;
  FMenuBar->MenuHandle = menu;
  FMenuBar->BuildFromHandle();
  PaintFrame(nullptr);
}

bool TVuzUrezForm::MenuAccelerator(TMessage& m) {
  if (!FMenuBar) return false;
  bool alt = (HIWORD(m.LParam) & KF_ALTDOWN) != 0 || GetKeyState(VK_MENU) < 0;
  bool other = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0;
  if (!alt || other) return false;
  TMenuBtn* b = FMenuBar->MenuAccelButton(static_cast<wchar_t>(m.WParam));
  if (!b) return false;
  FMenuBar->ClickMenuBarButton(b);
  m.Result = 1;
  return true;
}

namespace {

void SetItemsOwnerDraw(TMenuItem* parent, TVuzUrezForm* skinner, bool enable) {
  TMenuDrawItemEvent draw(skinner, &TVuzUrezForm::PopupItemDraw);
  TMenuMeasureItemEvent measure(skinner, &TVuzUrezForm::PopupItemMeasure);
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (enable && !item->OnDrawItem) {
      item->OnDrawItem = draw;
      item->OnMeasureItem = measure;
    } else if (!enable && item->OnDrawItem == draw) {
      // Only the handlers set here go; an item's own drawing stays.
      item->OnDrawItem = TMenuDrawItemEvent();
      item->OnMeasureItem = TMenuMeasureItemEvent();
    }
    SetItemsOwnerDraw(item, skinner, enable);
  }
}

}  // namespace

void TVuzUrezForm::SetPopupMenusOwnerDraw(bool enable) {
  if (!FForm || !FSkinData || !FSkinData->HasControl(xcPopupMenu)) return;
  for (int i = 0; i < FForm->ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TPopupMenu*>(FForm->Components(i));
    if (!menu || menu->Tag % 100 == FSkinData->DisableTag()) continue;
    menu->SetOwnerDraw(enable);
    SetItemsOwnerDraw(menu->Items(), this, enable);
  }
}

void TVuzUrezForm::PopupItemMeasure(TObject* sender, TCanvas*, int& width, int& height) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !FSkinData) return;
  TMenuItemLook look = TMenuItemLook::Of(item);
  look.Dpi = FScale.Dpi;
  look.Scaled = FScaledImages.get();
  SIZE text = MeasureItemText(look);
  width = text.cx;
  height = text.cy;
  MeasureSkinnedItem(*FSkinData, look, width, height);
}

void TVuzUrezForm::PopupItemDraw(TObject* sender, TCanvas* canvas, RECT r, bool selected) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas || !FSkinData) return;
  TMenuItemLook look = TMenuItemLook::Of(item);
  look.Dpi = FScale.Dpi;
  look.Scaled = FScaledImages.get();
  HDC dc = canvas->Handle();
  TMenuBackground back = PopupBackgroundFor(MenuBeingDrawn(), dc);
  // A disabled item shows the selection too: the keyboard highlight must not vanish on it.
  DrawSkinnedItem(dc, r, *FSkinData, look, selected && !look.Separator(), back);
}
