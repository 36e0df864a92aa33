// Multiple-document forms: the frame with its MDI client, the children made inside it, the
// window menu that lists them and the child's menu shown in the frame's bar while it is active.
#include <cctype>
#include <stdexcept>
#include <string>

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace {

// Window-menu entries of the children get ids from here on: far above the menu items' own.
constexpr UINT kFirstChildId = 0xFF00;

// Copies the top-level items of `from` to the end of `to`; their popups are lent, not copied.
void AppendTopItems(HMENU to, HMENU from) {
  int count = from ? GetMenuItemCount(from) : 0;
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(from, static_cast<UINT>(i), TRUE, &info)) continue;
    if (info.fType & MFT_OWNERDRAW) {
      // An owner-drawn item's "text" is its item data; the copy keeps the data only.
      info.fMask &= ~static_cast<UINT>(MIIM_STRING);
    } else {
      info.dwTypeData = text;
    }
    InsertMenuItemA(to, static_cast<UINT>(GetMenuItemCount(to)), TRUE, &info);
  }
}

bool IsMdiClient(HWND wnd) {
  char name[32] = {};
  GetClassNameA(wnd, name, sizeof name - 1);
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "mdiclient";
}

}  // namespace

void TMergedMenuTraits::Close(HMENU h) {
  // The popups belong to the frame's and the child's menus: taken out, they survive the bar.
  while (GetMenuItemCount(h) > 0)
    if (!RemoveMenu(h, 0, MF_BYPOSITION)) break;
  DestroyMenu(h);
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  formStyle_ = v;
  if (v == fsMDIChild) visible_ = true;  // a hidden MDI child has no place in the client
}

TCustomForm* TCustomForm::MdiFrame() const {
  auto isFrame = [](TComponent* c) {
    auto* f = dynamic_cast<TCustomForm*>(c);
    return f && f->formStyle_ == fsMDIForm ? f : nullptr;
  };
  if (TCustomForm* f = isFrame(Owner())) return f;
  if (!Application) return nullptr;
  if (TCustomForm* f = isFrame(Application->MainForm())) return f;
  for (int i = 0; i < Application->FormCount(); ++i)
    if (TCustomForm* f = isFrame(Application->Forms(i))) return f;
  return nullptr;
}

HMENU TCustomForm::WindowMenuHandle() {
  if (!menu_ || !windowMenu_ || windowMenu_->Parent() != menu_->Items() || !windowMenu_->Visible())
    return nullptr;
  // The menu handle holds only the visible items.
  int pos = 0;
  for (int i = 0; i < menu_->Items()->Count(); ++i) {
    TMenuItem* item = menu_->Items()->Items(i);
    if (item == windowMenu_) return GetSubMenu(menu_->Handle(), pos);
    if (item->Visible()) ++pos;
  }
  return nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (windowMenu_) RemoveFreeNotification(windowMenu_);
  windowMenu_ = item;
  if (item) FreeNotification(item);
  if (clientHandle_ && !HasState(csLoading)) MergeMdiMenu(ActiveMDIChild());
}

void TCustomForm::CreateMdiClient() {
  if (clientHandle_) return;
  CLIENTCREATESTRUCT ccs{WindowMenuHandle(), kFirstChildId};
  RECT r{};
  GetClientRect(handle_, &r);
  clientHandle_.Reset(
      CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0,
                      0, r.right, r.bottom, handle_, nullptr, GetModuleHandleA(nullptr), &ccs));
  if (!clientHandle_) throw std::runtime_error("cannot create the MDI client of " + Name());
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams& p) {
  if (formStyle_ != fsMDIChild) return TWinControl::CreateWindowHandle(p);
  TCustomForm* frame = MdiFrame();
  HWND client = frame ? (frame->Handle(), frame->ClientHandle()) : nullptr;
  if (!client) return nullptr;  // CreateWnd reports the window that could not be made
  // The client makes the window (with WS_EX_MDICHILD) and lists it in its window menu.
  MDICREATESTRUCTA cs{};
  cs.szClass = p.WinClassName.c_str();
  cs.szTitle = p.Caption.c_str();
  cs.hOwner = GetModuleHandleA(nullptr);
  bool placed = position_ != poDefault && position_ != poDefaultPosOnly;
  cs.x = placed ? p.X : static_cast<int>(CW_USEDEFAULT);
  cs.y = placed ? p.Y : static_cast<int>(CW_USEDEFAULT);
  cs.cx = p.Width;
  cs.cy = p.Height;
  cs.style = (p.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_VISIBLE;
  if (windowState_ == wsMaximized) cs.style |= WS_MAXIMIZE;
  if (windowState_ == wsMinimized) cs.style |= WS_MINIMIZE;
  return reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
}

void TCustomForm::DestroyWnd() {
  if (formStyle_ == fsMDIChild && handle_) {
    HWND client = GetParent(handle_);
    if (client && IsMdiClient(client)) {
      // Through the client, so it activates the next child and updates its window menu.
      SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
      if (!IsWindow(handle_)) return;
    }
  }
  if (formStyle_ == fsMDIForm) {
    clientHandle_.Reset();  // the children go with it
    if (handle_ && mergedMenu_ && GetMenu(handle_) == mergedMenu_.Get())
      ::SetMenu(handle_, menu_ ? menu_->Handle() : nullptr);
    mergedMenu_.Reset();
  }
  TWinControl::DestroyWnd();
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (handle_ && formStyle_ == fsMDIForm && clientHandle_) {
    PassedOn(m);
    m.Result = DefFrameProcA(handle_, clientHandle_.Get(), m.Msg, m.WParam, m.LParam);
  } else if (handle_ && formStyle_ == fsMDIChild &&
             (GetWindowLongPtrA(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    PassedOn(m);
    m.Result = DefMDIChildProcA(handle_, m.Msg, m.WParam, m.LParam);
  } else {
    TWinControl::DefaultHandler(m);
  }
}

void TCustomForm::ShowMdiChild() {
  HWND h = Handle();
  ApplyPosition();
  if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOW);
  if (HWND client = GetParent(h)) SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(h), 0);
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!clientHandle_) return nullptr;
  auto active = reinterpret_cast<HWND>(SendMessageA(clientHandle_.Get(), WM_MDIGETACTIVE, 0, 0));
  return dynamic_cast<TCustomForm*>(FindControl(active));
}

int TCustomForm::MDIChildCount() const {
  int n = 0;
  while (MDIChildren(n)) ++n;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int i) const {
  if (!clientHandle_ || i < 0) return nullptr;
  for (HWND w = GetWindow(clientHandle_.Get(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    auto* f = dynamic_cast<TCustomForm*>(FindControl(w));
    if (f && f->formStyle_ == fsMDIChild && i-- == 0) return f;
  }
  return nullptr;
}

void TCustomForm::Cascade() {
  if (clientHandle_) SendMessageA(clientHandle_.Get(), WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile() {
  UINT how = tileMode_ == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL;
  if (clientHandle_) SendMessageA(clientHandle_.Get(), WM_MDITILE, how, 0);
}

void TCustomForm::ArrangeIcons() {
  if (clientHandle_) SendMessageA(clientHandle_.Get(), WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::MergeMdiMenu(TCustomForm* active) {
  if (!clientHandle_ || HasState(csDestroying) || !handle_) return;
  HMENU frameMenu = menu_ ? menu_->Handle() : nullptr;
  TMainMenu* childMenu = active && !active->HasState(csDestroying) ? active->Menu() : nullptr;
  TMergedMenuHandle merged;
  if (childMenu && childMenu->Items()->Count() > 0) {
    merged.Reset(CreateMenu());
    AppendTopItems(merged.Get(), frameMenu);
    AppendTopItems(merged.Get(), childMenu->Handle());
  }
  HMENU shown = merged ? merged.Get() : frameMenu;
  if (shown || GetMenu(handle_))
    SendMessageA(clientHandle_.Get(), WM_MDISETMENU, reinterpret_cast<WPARAM>(shown),
                 reinterpret_cast<LPARAM>(WindowMenuHandle()));
  DrawMenuBar(handle_);
  // The previous merged menu goes only now that it is no longer shown.
  mergedMenu_ = std::move(merged);
}

bool TCustomForm::MdiWndProc(TMessage& m) {
  if (formStyle_ == fsMDIForm) {
    switch (m.Msg) {
      case WM_COMMAND:
        // Items of the active child's menu, shown in the frame's bar, run on the child.
        if (m.LParam == 0 && HIWORD(m.WParam) <= 1) {
          TCustomForm* child = ActiveMDIChild();
          if (child && child->menu_ && child->menu_->DispatchCommand(LOWORD(m.WParam))) return true;
        }
        return false;
      case CM_MENUCHANGED:
        // The frame's menu was made again: the client and the bar get the new handles.
        MergeMdiMenu(ActiveMDIChild());
        return false;
      case WM_DESTROY:
        // The system frees the menu of a window it destroys, with its popups: the merged menu
        // only lends them, so it is not left on the window.
        if (mergedMenu_ && GetMenu(handle_) == mergedMenu_.Get())
          ::SetMenu(handle_, menu_ ? menu_->Handle() : nullptr);
        return false;
      case WM_NCDESTROY:
        clientHandle_.Release();  // already gone with this window
        return false;
      default:
        return false;
    }
  }
  switch (m.Msg) {
    case WM_MDIACTIVATE: {
      TWinControl::WndProc(m);
      auto* active = dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(m.LParam)));
      if (TCustomForm* frame = MdiFrame();
          frame && frame->clientHandle_ && frame->clientHandle_.Get() == GetParent(handle_))
        frame->MergeMdiMenu(active);
      return true;
    }
    case CM_MENUCHANGED:
      if (TCustomForm* frame = MdiFrame(); frame && frame->ActiveMDIChild() == this)
        frame->MergeMdiMenu(this);
      return true;
    default:
      return false;
  }
}
