// MDI frames and children. A skinned frame hooks its MDI client window: children made through
// WM_MDICREATE are skinned once the client refreshes its menu, the skinned bar follows every
// frame menu the client is given (and the system's bar is taken off again), and while the
// active child is maximised its minimise, restore and close buttons sit at the end of the bar.
// A maximised or minimised child's frame is the system's: the manager's maximised flag tells
// every skinned child (SetMdiMax).
#include "framework/Forms.h"

#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/manager/SkinTrace.h"
#include "skin/paint/SkinDrawWin32.h"

void TVuzUrezForm::FindMdiClient() {
  for (HWND w = GetWindow(Handle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (WindowClassName(w) != "MDIClient") continue;
    FMdiClient = w;
    FWindowKind = wkMdiFrame;
    if (TSkinManage* m = SkinManager()) m->SetMdiClient(w);
    FMdiMenuUpdate = FSkinData->MenuUpdate();
    HookMdiClient();
    return;
  }
}

void TVuzUrezForm::HookMdiClient() {
  if (FMdiClient) FMdiSubclass.Attach<&TVuzUrezForm::MdiClientProc>(FMdiClient, this);
}

void TVuzUrezForm::UnhookMdiClient() {
  if (!FMdiSubclass.Attached()) return;
  FMdiSubclass.Restore();
  // Menu changes reach the bars again as they did before this frame's children came.
  if (FSkinData) FSkinData->SetMenuUpdate(FMdiMenuUpdate);
  // The flag and the record describe this client's children, which are no longer watched.
  if (TSkinManage* m = SkinManager()) m->ForgetMdiClient(FMdiClient);
}

void TVuzUrezForm::CallMdiPrevious(TMessage& m) { FMdiSubclass.CallPrevious(m); }

void TVuzUrezForm::MdiClientProc(TMessage& m) {
  TSkinManage* mgr = SkinManager();
  bool barSkinned = MainMenuSkinned();
  switch (m.Msg) {
    case WM_NCDESTROY:
      // The client's own procedure sees its destruction first, whatever the unhooking does.
      CallMdiPrevious(m);
      UnhookMdiClient();
      FMdiClient = nullptr;
      return;
    case WM_NCCALCSIZE:
      // The skinned frame shows no system scroll bars inside it.
      if (barSkinned) {
        LONG_PTR style = GetWindowLongPtrA(FMdiClient, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrA(FMdiClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
      }
      CallMdiPrevious(m);
      return;
    case WM_MDICREATE:
      // The frame menus the client is given while children exist are what the bar shows.
      FSkinData->SetMenuUpdate(false);
      CallMdiPrevious(m);
      FNewMdiChild = reinterpret_cast<HWND>(m.Result);
      // The system may refresh the menu while it still makes the child, before its handle is
      // known here: one more refresh after it skins the child in any case.
      if (FNewMdiChild) PostMessageA(FMdiClient, WM_MDIREFRESHMENU, 0, 0);
      return;
    case WM_MDIDESTROY:
      SkinTrace(SkinTraceHex("**MDI: WM_MDIDESTROY ", m.WParam & 0xFFFF));
      CallMdiPrevious(m);
      if (!barSkinned || !mgr) return;
      mgr->SetMdiMax(IsMdiChildMaximized());
      if (FMenuBar && mgr->MdiChildCount() == 0) {
        FSkinData->SetMenuUpdate(FMdiMenuUpdate);
        FMenuBar->BuildFromMenu();
        PaintFrame(nullptr);
      }
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (barSkinned && mgr && mgr->MdiMaximized()) mgr->SetMdiMax(false);
      CallMdiPrevious(m);
      return;
    case WM_MDISETMENU: {
      SkinTrace("**MDI: ************WM_MDISETMENU " + SkinTraceHex("", m.WParam) + "," +
                SkinTraceHex("", m.LParam));
      CallMdiPrevious(m);
      if (!barSkinned) return;
      auto frameMenu = reinterpret_cast<HMENU>(m.WParam);
      if (frameMenu && FMenuBar && (frameMenu != FMenuBar->MenuHandle || FNewMdiChild)) {
        HMENU shown = GetMenu(Handle);
        FMenuBar->BuildFromMdiMenu(shown ? shown : frameMenu);
        PostMessageA(Handle, WM_SKINPAINTFRAME, 0, 0);
      }
      SetMenu(Handle, nullptr);
      return;
    }
    case WM_MDIREFRESHMENU:
      CallMdiPrevious(m);
      if (FNewMdiChild) {
        HWND child = FNewMdiChild;
        FNewMdiChild = nullptr;
        if (mgr && IsWindow(child)) mgr->SkinWindow(child);
        PostMessageA(Handle, WM_SKINPAINTFRAME, 0, 0);
      }
      return;
    default:
      CallMdiPrevious(m);
  }
}

bool TVuzUrezForm::IsMdiChildMaximized() const {
  if (FWindowKind != wkMdiFrame || !FMdiClient) return false;
  BOOL maximised = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  return active && maximised;
}

void TVuzUrezForm::MdiChildCommand(UINT command) {
  if (FWindowKind != wkMdiFrame || !FMdiClient) return;
  HWND active = reinterpret_cast<HWND>(SendMessageA(FMdiClient, WM_MDIGETACTIVE, 0, 0));
  if (!active) return;
  std::shared_ptr<bool> alive = FAlive;
  SendMessageA(active, WM_SYSCOMMAND, command, 0);
  if (!*alive) return;
  TSkinManage* mgr = SkinManager();
  if (mgr && mgr->MdiMaximized() && !IsMdiChildMaximized()) mgr->SetMdiMax(false);
  // The bar loses the buttons (or shows them for the next maximised child) at once.
  PaintFrame(nullptr);
}

void TVuzUrezForm::PaintMdiButtons(HDC dc, const RECT& bar) {
  if (FWindowKind != wkMdiFrame || !IsMdiChildMaximized()) return;
  FButtons.PaintMdiButtons(dc, bar);
  TSkinManage* mgr = SkinManager();
  if (!mgr || mgr->MdiMaximized()) return;
  mgr->SetMdiMax(true);
  // The children lost their regions without a repaint: what the regions hid is drawn now.
  RedrawWindow(FMdiClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
