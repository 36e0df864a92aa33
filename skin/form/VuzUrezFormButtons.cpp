// The form skinner's side of the non-client mouse: what a click on a caption button or an item
// of the window menu does to the window, the hover watch, and the menu keys of WM_SYSCOMMAND.
#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "skin/data/VuzUrezDataWin32.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// Alt with these keys opens the window menu, of the window and of an MDI child: the system does.
constexpr LPARAM kWindowMenuKey = ' ', kChildWindowMenuKey = '-';

}  // namespace

void TVuzUrezForm::ClearSysButtons() {
  FHotObject = nullptr;
  FButtons.ClearSysButtons();
}

void TVuzUrezForm::BuildSysButtons() {
  ComputeBorderSizes();
  if (!FSkinData || FSkinData->NoSkin()) return;
  ClearSysButtons();
  FButtons.BuildSysButtons();
}

void TVuzUrezForm::SysButtonClick(POINT screen) {
  auto* hot = dynamic_cast<TWinSysButton*>(FHotObject);
  if (!hot) return;
  switch (int action = hot->SkinButton->Action) {
    case baClose:
      if (FHoverTimer) FHoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
    case baMaximize:
    case baMaximize2:
      Maximize();
      break;
    case baMinimize:
    case baMinimize2:
      Minimize();
      break;
    case baSystemMenu:
    case baSystemMenuIcon:
    case baSystemMenuPlain:
      ShowSystemMenu(POINT{screen.x + 1, screen.y + 1});
      break;
    case baMdiMinimize:
    case baMdiMinimize2:
      MdiChildCommand(SC_MINIMIZE);
      break;
    case baMdiRestore:
    case baMdiRestore2:
      MdiChildCommand(SC_RESTORE);
      break;
    case baMdiClose:
    case baMdiClose2:
      MdiChildCommand(SC_CLOSE);
      break;
    default:
      PostMessageA(Handle, WM_SKINQUERY, static_cast<WPARAM>(action), 0);
  }
}

void TVuzUrezForm::Maximize() {
  if (FWindowState == swMaximized) {
    Restore();
    return;
  }
  FWindowState = swMaximized;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FHotObject = nullptr;
}

void TVuzUrezForm::Minimize() {
  if (FWindowState == swMinimized) {
    Restore();
    return;
  }
  FWindowState = swMinimized;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TVuzUrezForm::Restore() {
  FWindowState = swNormal;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TVuzUrezForm::ShowSystemMenu(POINT screen) {
  HMENU menu = FButtons.SystemMenu();
  FButtons.EnableSystemMenu(FWindowState);
  if (FButtons.SecondOpening()) {
    if (FHoverTimer) FHoverTimer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
    return;
  }
  if (menu && FSkinData->HasControl(xcSystemMenu) && FWindowKind != wkMdiChild) {
    FMenuTracking = true;
    // The menu's loop runs every message: the form may be freed, or skinning switched off,
    // before it returns.
    std::shared_ptr<bool> alive = FAlive;
    UINT cmd = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle, nullptr));
    if (!*alive) return;
    FMenuTracking = false;
    if (int tag = TCaptionButtons::SystemMenuTag(cmd); tag >= 0) SystemMenuClick(tag);
  } else if (FSysMenuHandle) {
    TrackPopupMenu(FSysMenuHandle, TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle, nullptr);
  }
}

void TVuzUrezForm::SystemMenuClick(int tag) {
  switch (tag) {
    case smRestore:
      Restore();
      break;
    case smMaximize:
      Maximize();
      break;
    case smMinimize:
      Minimize();
      break;
    case smClose:
      if (FHoverTimer) FHoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TVuzUrezForm::MeasureMenuItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (FButtons.MeasureItem(*mi) || (FMenuBar && FMenuBar->MeasureItem(*mi))) {
    m.Result = TRUE;
    return;
  }
  CallPrevious(m);
}

void TVuzUrezForm::DrawMenuItem(TMessage& m) {
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  if (FButtons.DrawItem(*di) || (FMenuBar && FMenuBar->DrawItem(*di))) {
    m.Result = TRUE;
    return;
  }
  CallPrevious(m);
}

void TVuzUrezForm::HoverTimer(TObject*) {
  if (FMenuTracking || (FMenuBar && FMenuBar->Tracking())) return;
  POINT p{};
  GetCursorPos(&p);
  // A plain window's controls get no mouse-leave of the framework: the pointer is watched here.
  if (!FForm && HotControl() && !PtInRect(&HotControl()->WindowRect(), p)) FControls.HotControlLeave();
  if (!FHotObject) return;
  RECT wr{};
  GetWindowRect(Handle, &wr);
  p.x -= wr.left, p.y -= wr.top;
  if (!PtInRect(&FHotObject->BoundsRect, p)) FHotObject->MouseLeave();
}

// The non-client mouse messages of the caption buttons; true when the message was consumed.
bool TVuzUrezForm::NcMouse(TMessage& m) {
  POINT screen{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  POINT p = ScreenToWindow(screen);
  TWinSysButton* button = FButtons.SysButtonAt(p);
  if (TMenuBtn* b = button || !FMenuBar ? nullptr : FMenuBar->ButtonAt(p)) return MenuBarMouse(m, *b);
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (!FActive) return true;
      if (button) {
        button->MouseEnter();
        return true;
      }
      if (FHotObject) FHotObject->MouseLeave();
      return false;
    case WM_NCLBUTTONDOWN:
      if (button) {
        if (!FActive) SetForegroundWindow(Handle);
        button->MouseDown();
        return true;
      }
      // A maximised window is not dragged by its title.
      if (FWindowState == swMaximized && FActive && m.WParam == HTCAPTION) m.WParam = HTMENU;
      return false;
    case WM_NCLBUTTONUP:
      if (!button) return false;
      if (button == FHotObject) {
        button->MouseUp();
        SysButtonClick(screen);
      }
      return true;
    case WM_NCLBUTTONDBLCLK:
      if (FWindowState != swNormal)
        Restore();
      else if (FBorderIcons & kIconMaximize)
        Maximize();
      return true;
    case WM_NCRBUTTONDOWN:
      if (m.WParam != HTCAPTION || FWindowKind == wkMdiChild) return false;
      ShowSystemMenu(screen);
      return true;
    default:
      return false;
  }
}

bool TVuzUrezForm::MenuBarMouse(TMessage& m, TMenuBtn& b) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (FActive && !FMenuBar->Tracking()) b.MouseEnter();
      return true;
    case WM_NCLBUTTONDOWN:
      if (!FActive) SetForegroundWindow(Handle);
      b.MouseDown();
      FMenuBar->OpenMenuBarButton(&b);
      return true;
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool TVuzUrezForm::OpenMenuByKey(wchar_t key) {
  if (FForm || !FMenuBar || FMenuTracking || FMenuBar->Tracking()) return false;
  TMenuBtn* b = FMenuBar->MenuAccelButton(key);
  if (!b) return false;
  FMenuBar->ClickMenuBarButton(b);
  return true;
}

void TVuzUrezForm::SysCommand(TMessage& m) {
  bool barOpen = FMenuTracking || (FMenuBar && FMenuBar->Tracking());
  if (!barOpen && (m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam != kWindowMenuKey &&
      m.LParam != kChildWindowMenuKey && !GetCapture()) {
    // Alt or F10 alone, or a letter of the bar, would open the system's own menu bar, which the
    // skinned window does not show: swallowed. A framework form's bar opens by Alt+letter through
    // the form (MenuAccelerator), any other window's here, as the system's bar would.
    const auto key = static_cast<wchar_t>(m.LParam);
    if (m.LParam == 0 || OpenMenuByKey(key) || (FMenuBar && FMenuBar->MenuAccelButton(key))) {
      m.Result = 1;
      return;
    }
  }
  switch (m.WParam & 0xFFF0) {
    case SC_MINIMIZE:
      FWindowState = swMinimized;
      if (FWindowKind == wkMdiChild) SetSystemButtons(true);
      break;
    case SC_MAXIMIZE:
      FWindowState = swMaximized;
      break;
    case SC_RESTORE:
      FWindowState = swNormal;
      if (FWindowKind == wkMdiChild) SetSystemButtons(false);
      break;
    default:
      break;
  }
  CallPrevious(m);
}
