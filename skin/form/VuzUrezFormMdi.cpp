// MDI frames and children. A skinned frame hooks its MDI client window: children made through
// WM_MDICREATE are skinned once the client refreshes its menu, the skinned bar follows every
// frame menu the client is given (and the system's bar is taken off again), and while the
// active child is maximised its minimise, restore and close buttons sit at the end of the bar.
// A maximised or minimised child's frame is the system's: the manager's maximised flag tells
// every skinned child (SetMdiMax).
#include "skin/form/VuzUrezFormMdi.h"

#include "skin/form/VuzUrezCaptionButtons.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/SkinTrace.h"

bool TFormMdi::Maximized() {
  TSkinManage* m = SkinManager();
  return m && m->MdiMaximized();
}

void TFormMdi::SetMaximized(bool value) {
  if (TSkinManage* m = SkinManager()) m->SetMdiMax(value);
}

bool TFormMdi::FindMdiClient() {
  // One question to the window server rather than two for each child.
  if (HWND w = FindWindowExA(FSkinner.Handle, nullptr, "MDIClient", nullptr)) {
    FMdiClient = w;
    FSkinner.FWindowKind = wkMdiFrame;
    if (TSkinManage* m = SkinManager()) m->SetMdiClient(w);
    FMdiMenuUpdate = FSkinner.FSkinData->MenuUpdate();
    return true;
  }
  return false;
}

void TFormMdi::UnhookMdiClient() {
  if (!FSubclass.Attached()) return;
  FSubclass.Restore();
  // Menu changes reach the bars again as they did before this frame's children came.
  if (FSkinner.FSkinData) FSkinner.FSkinData->SetMenuUpdate(FMdiMenuUpdate);
  // The flag and the record describe this client's children, which are no longer watched.
  if (TSkinManage* m = SkinManager()) m->ForgetMdiClient(FMdiClient);
}

bool TFormMdi::MdiClientProc(TMessage& m, bool barSkinned) {
  TSkinManage* mgr = SkinManager();
  TSkinData* data = FSkinner.FSkinData;
  switch (m.Msg) {
    case WM_NCDESTROY:
      // The client's own procedure sees its destruction first, whatever the unhooking does.
      CallMdiPrevious(m);
      UnhookMdiClient();
      FMdiClient = nullptr;
      return false;
    case WM_NCCALCSIZE:
      // The skinned frame shows no system scroll bars inside it.
      if (barSkinned) {
        LONG_PTR style = GetWindowLongPtrA(FMdiClient, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongPtrA(FMdiClient, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_HSCROLL | WS_VSCROLL));
      }
      CallMdiPrevious(m);
      return false;
    case WM_MDICREATE:
      // The frame menus the client is given while children exist are what the bar shows.
      data->SetMenuUpdate(false);
      CallMdiPrevious(m);
      FNewMdiChild = reinterpret_cast<HWND>(m.Result);
      // The system may refresh the menu while it still makes the child, before its handle is
      // known here: one more refresh after it skins the child in any case.
      if (FNewMdiChild) PostMessageA(FMdiClient, WM_MDIREFRESHMENU, 0, 0);
      return false;
    case WM_MDIDESTROY:
      SkinTrace(SkinTraceHex("**MDI: WM_MDIDESTROY ", m.WParam & 0xFFFF));
      CallMdiPrevious(m);
      if (!barSkinned || !mgr) return false;
      mgr->SetMdiMax(IsMdiChildMaximized());
      if (!FMenuBar || mgr->MdiChildCount() != 0) return false;
      data->SetMenuUpdate(FMdiMenuUpdate);
      FMenuBar->BuildFromMenu();
      return true;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (barSkinned && mgr && mgr->MdiMaximized()) mgr->SetMdiMax(false);
      CallMdiPrevious(m);
      return false;
    case WM_MDISETMENU: {
      SkinTrace("**MDI: ************WM_MDISETMENU " + SkinTraceHex("", m.WParam) + "," +
                SkinTraceHex("", m.LParam));
      CallMdiPrevious(m);
      if (!barSkinned) return false;
      HWND frame = FSkinner.Handle;
      auto frameMenu = reinterpret_cast<HMENU>(m.WParam);
      if (frameMenu && FMenuBar && (frameMenu != FMenuBar->MenuHandle || FNewMdiChild)) {
        HMENU shown = GetMenu(frame);
        FMenuBar->BuildFromMdiMenu(shown ? shown : frameMenu);
        PostMessageA(frame, WM_SKINPAINTFRAME, 0, 0);
      }
      SetMenu(frame, nullptr);
      return false;
    }
    case WM_MDIREFRESHMENU:
      CallMdiPrevious(m);
      if (FNewMdiChild) {
        HWND child = FNewMdiChild;
        FNewMdiChild = nullptr;
        if (mgr && IsWindow(child)) mgr->SkinWindow(child);
        PostMessageA(FSkinner.Handle, WM_SKINPAINTFRAME, 0, 0);
      }
      return false;
    default:
      CallMdiPrevious(m);
      return false;
  }
}

bool TFormMdi::IsMdiChildMaximized() const {
  if (FSkinner.FWindowKind != wkMdiFrame || !FMdiClient) return false;
  BOOL maximised = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(FMdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  return active && maximised;
}

bool TFormMdi::MdiChildCommand(UINT command) {
  if (FSkinner.FWindowKind != wkMdiFrame || !FMdiClient) return false;
  HWND active = reinterpret_cast<HWND>(SendMessageA(FMdiClient, WM_MDIGETACTIVE, 0, 0));
  if (!active) return false;
  std::shared_ptr<bool> alive = FAlive;
  SendMessageA(active, WM_SYSCOMMAND, command, 0);
  if (!*alive) return false;
  if (Maximized() && !IsMdiChildMaximized()) SetMaximized(false);
  return true;
}

void TFormMdi::PaintMdiButtons(HDC dc, const RECT& bar) {
  if (FSkinner.FWindowKind != wkMdiFrame || !IsMdiChildMaximized()) return;
  FButtons.PaintMdiButtons(dc, bar);
  TSkinManage* mgr = SkinManager();
  if (!mgr || mgr->MdiMaximized()) return;
  mgr->SetMdiMax(true);
  // The children lost their regions without a repaint: what the regions hid is drawn now.
  RedrawWindow(FMdiClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
