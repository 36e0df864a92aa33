#include "skin/form/VuzUrezMenuBar.h"

#include <algorithm>
#include <cwctype>

#include "framework/Menus.h"
#include "framework/WideText.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/form/VuzUrezFormMdi.h"
#include "skin/paint/SkinDrawWin32.h"

// What the message-filter hook knows while one popup of a bar is open (one per process).
struct TMenuTracking {
  int Current = -1;
  HMENU Open = nullptr;  // the popup of the current button
  TVuzUrezMenu* Bar = nullptr;
  HHOOK Hook = nullptr;
  HMENU SelectedIn = nullptr;  // the menu the selected item sits in; null when none
  bool SelectedHasSub = false;
  bool FirstKeySent = false;
  bool SwitchPending = false;
  int SwitchTo = -1;
  POINT LastMouse{};
};

namespace {

TMenuTracking gTrack;

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

// The item's text, read wide: a menu keeps its texts in UTF-16, and another program's need not
// fit the ANSI code page.
std::wstring ItemText(HMENU menu, UINT pos) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info) || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch = static_cast<UINT>(text.size());
  if (!GetMenuItemInfoW(menu, pos, TRUE, &info)) return {};
  text.resize(std::min<std::size_t>(info.cch, text.size() - 1));
  return text;
}

}  // namespace

void TMenuBtn::Paint() { Bar->PaintButton(*this); }

TVuzUrezMenu::TVuzUrezMenu(TNCHost* form, const TObject* itemDrawer, TSkinData* data, HWND wnd)
    : TComponent(nullptr), SkinData(data), Form(form), ItemDrawer(itemDrawer), FWnd(wnd) {
  RightToLeft = (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

TVuzUrezMenu::~TVuzUrezMenu() {
  *FAlive = false;
  if (gTrack.Bar == this) {
    if (gTrack.Hook) UnhookWindowsHookEx(gTrack.Hook);
    gTrack = TMenuTracking{};
  }
  GiveItemsBack();
  if (Form->HotObject() &&
      std::any_of(Buttons.begin(), Buttons.end(), [this](auto& b) { return b.get() == Form->HotObject(); }))
    Form->SetHotObject(nullptr);
}

TMenuItem* TVuzUrezMenu::ObjectItem(HMENU menu, int pos) const {
  if (!Menu) return nullptr;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info)) return nullptr;
  // Positions say nothing: the system puts entries of its own into a menu (a maximised MDI
  // child's window menu at the front). A command names its item; a popup is the parent of the
  // items its entries name.
  TMenuItem* item = TMenuItem::FindByCommand(info.wID);
  if (item && (item->Count() > 0) == (info.hSubMenu != nullptr)) return item;
  if (!info.hSubMenu) return nullptr;
  for (int k = 0; k < GetMenuItemCount(info.hSubMenu); ++k)
    if (TMenuItem* child = ObjectItem(info.hSubMenu, k)) return child->Parent();
  return nullptr;
}

void TVuzUrezMenu::BuildFromHandle() {
  if (HMENU m = GetMenu(FWnd)) MenuHandle = m;
  BuildFromMdiMenu(nullptr);
}

void TVuzUrezMenu::BuildFromMdiMenu(HMENU frameMenu) {
  HMENU menu = frameMenu ? frameMenu : MenuHandle;
  if (frameMenu) MenuHandle = frameMenu;
  if (!menu) return;
  if (Form->HotObject() && dynamic_cast<TMenuBtn*>(Form->HotObject())) Form->SetHotObject(nullptr);
  Buttons.clear();
  FItems.clear();  // the items of the old menu may be gone
  if (Menu) RightToLeft = RightToLeft || Menu->RightToLeft();
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    auto b = std::make_unique<TMenuBtn>(Form, this, i);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    TMenuItem* item = ObjectItem(menu, i);
    b->SubMenu = info.hSubMenu;
    b->Enabled = !(info.fState & MFS_GRAYED);
    b->Visible = true;
    // The system keeps a popup's handle where a command would be: only the menu object knows
    // the command of an item with a popup.
    b->Command = item ? item->Command() : info.hSubMenu ? 0 : info.wID;
    if (!(info.fType & MFT_OWNERDRAW)) b->Caption = ItemText(menu, static_cast<UINT>(i));
    if (info.fType & MFT_RIGHTORDER) RightToLeft = true;
    if (b->Caption.empty() && item) {
      // Owner-drawn items keep no text in the handle: the menu object has it.
      b->Caption = Widen(item->Caption());
      b->Enabled = item->Enabled();
    }
    Buttons.push_back(std::move(b));
  }
  SetMenu(FWnd, nullptr);
  FollowOpenPopup();
}

void TVuzUrezMenu::BuildFromMenu() {
  if (!Menu) return;
  if (Form->HotObject() && dynamic_cast<TMenuBtn*>(Form->HotObject())) Form->SetHotObject(nullptr);
  Buttons.clear();
  FItems.clear();  // the items of the old menu may be gone
  MenuHandle = Menu->Handle();
  int n = 0;
  for (int i = 0; i < Menu->Items()->Count(); ++i) {
    TMenuItem* item = Menu->Items()->Items(i);
    if (!item->Visible()) continue;
    auto b = std::make_unique<TMenuBtn>(Form, this, n);
    b->Caption = Widen(item->Caption());
    b->Enabled = item->Enabled();
    b->Visible = true;
    b->Command = item->Command();
    b->SubMenu = item->Count() > 0 ? GetSubMenu(MenuHandle, n) : nullptr;
    Buttons.push_back(std::move(b));
    ++n;
  }
  SetMenu(FWnd, nullptr);
  FollowOpenPopup();
}

void TVuzUrezMenu::FollowOpenPopup() {
  if (gTrack.Bar != this || gTrack.Current < 0) return;
  // A switch asked for before the change names a button of the old list.
  gTrack.SwitchPending = false;
  gTrack.SwitchTo = -1;
  for (auto& b : Buttons)
    if (b->SubMenu && b->SubMenu == gTrack.Open) {
      gTrack.Current = b->Index;
      MakeOwnerDraw(b->SubMenu);  // the bar's records of its items went
      return;
    }
  gTrack.Current = -1;
  EndMenu();
}

int TVuzUrezMenu::Height() const { return SystemMetricForDpi(SM_CYMENU, Scale.Dpi); }

void TVuzUrezMenu::Paint(HDC dc, const RECT& r, bool active) {
  TBitmap* scratch = ScratchBitmap();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (!dc || !scratch || w <= 0 || h <= 0) return;
  if (scratch->Width() < w || scratch->Height() < h)
    scratch->SetSize(std::max(w, scratch->Width()), std::max(h, scratch->Height()), pf24bit);
  const TSkinElements& s = SkinData->Skin;
  const TDataSkinObject* bar = s.MenuBar && !s.MenuBar->Bitmap.Empty() ? s.MenuBar.get() : nullptr;
  int x = Scale.Length(6);
  {
    TBitmapDC sdc(*scratch);
    if (!sdc) return;
    RECT local{0, 0, w, h};
    if (bar) {
      int frame = active ? afActive : afInactive;
      TMargins at96{bar->LeftWidth, bar->TopHeight, bar->RightWidth, bar->BottomHeight};
      const TBitmap& image = ScaledImages ? ScaledImages->Get(bar->Bitmap, bar->Bitmap2x,
                                                              TImageLayout{kActivationFrames, true, at96})
                                          : bar->Bitmap;
      TMargins margins = ScaleMargins(at96, Scale);
      if (bar->Tile == kMenuBarNineSlice)
        DrawNineSlice(sdc.Get(), local, image, true, false, false, kActivationFrames, frame, margins);
      else
        DrawThreeSlice(sdc.Get(), local, image, true, false, kActivationFrames, frame, margins);
      x = RightToLeft ? margins.Right + Scale.Length(8) : margins.Left + Scale.Length(4);
      if (w < x) x = Scale.Length(12);
    } else {
      TGdiBrush brush(CreateSolidBrush(Rgb(s.ColourMenubar)));
      FillRect(sdc.Get(), &local, brush.Get());
    }
  }
  BarRect = r;
  BarImage.SetSize(w, h, pf24bit);
  BarImage.CopyRect(0, 0, *scratch, 0, 0, w, h);
  {
    TBitmapDC sdc(*scratch);
    if (!sdc) return;
    TCanvas canvas;
    canvas.SetHandle(sdc.Get());
    TGdiFont font = MenuFont(false, Scale.Dpi);
    int edge = RightToLeft ? w - x : x;
    for (auto& b : Buttons) {
      canvas.Font().SetColor(b->Enabled ? s.ColourMenuBarText : clGrayText);
      TSelectObject select(sdc.Get(), font.Get());
      SIZE size{};
      std::wstring shown = StripHotkey(b->Caption);
      GetTextExtentPoint32W(sdc.Get(), shown.c_str(), static_cast<int>(shown.size()), &size);
      int bw = size.cx > 0 ? size.cx + Scale.Length(10) : 0;
      RECT br = RightToLeft ? RECT{edge - bw, 0, edge, h - 1} : RECT{edge, 0, edge + bw, h - 1};
      edge += RightToLeft ? -bw : bw;
      if (bw > 0) {
        SetBkMode(sdc.Get(), TRANSPARENT);
        SetTextColor(sdc.Get(), Rgb(b->Enabled ? s.ColourMenuBarText : TColor(clGrayText)));
        RECT t = br;
        DrawTextW(sdc.Get(), b->Caption.c_str(), -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
      }
      b->BoundsRect = RECT{br.left + r.left, br.top + r.top, br.right + r.left, br.bottom + r.top};
      b->State = TNCObject::stNormal;
    }
    canvas.SetHandle(nullptr);
    if (Mdi) Mdi->PaintMdiButtons(sdc.Get(), r);  // a maximised MDI child's buttons at the bar's end
  }
  TBitmapDC src(*scratch, dc);
  if (src) BitBlt(dc, r.left, r.top, w, h, src.Get(), 0, 0, SRCCOPY);
}

void TVuzUrezMenu::PaintButton(TMenuBtn& b) {
  if (BarImage.Empty() || !IsWindow(FWnd)) return;
  const RECT& r = b.BoundsRect;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TBitmap face(w, h, pf24bit);
  face.CopyRect(0, 0, BarImage, r.left - BarRect.left, r.top - BarRect.top, w, h);
  {
    TBitmapDC dc(face);
    if (!dc) return;
    const TSkinElements& s = SkinData->Skin;
    if (b.State == TNCObject::stPressed || b.State == TNCObject::stHot) {
      TGdiBrush frame(CreateSolidBrush(Rgb(s.ColourButtonHilight)));
      RECT all{0, 0, w, h};
      FrameRect(dc.Get(), &all, frame.Get());
    }
    TGdiFont font = MenuFont(false, Scale.Dpi);
    TSelectObject select(dc.Get(), font.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), Rgb(b.Enabled ? s.ColourMenuBarText : TColor(clGrayText)));
    RECT t{0, 0, w, h};
    DrawTextW(dc.Get(), b.Caption.c_str(), -1, &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  TWindowDc window(FWnd, true);
  if (window.Get()) DrawBitmap(window.Get(), r.left, r.top, face);
}

TMenuBtn* TVuzUrezMenu::ButtonAt(POINT p) const {
  for (auto& b : Buttons)
    if (!b->Caption.empty() && PtInRect(&b->BoundsRect, p)) return b.get();
  return nullptr;
}

TMenuBtn* TVuzUrezMenu::MenuAccelButton(wchar_t key) const {
  wchar_t k = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(key)));
  if (!k) return nullptr;
  for (auto& b : Buttons)
    if (b->Enabled && GetHotkey(b->Caption) == k) return b.get();
  return nullptr;
}

int TVuzUrezMenu::CurrentIndex() const { return gTrack.Bar == this ? gTrack.Current : -1; }

void TVuzUrezMenu::EndMenuTracking() { FTracking = false; }

void TVuzUrezMenu::ClickMenuBarButton(TMenuBtn* b) {
  if (!b) return;
  POINT p{b->BoundsRect.left + 1, b->BoundsRect.top + 1};
  RECT wr{};
  GetWindowRect(FWnd, &wr);
  p.x += wr.left, p.y += wr.top;
  PostMessageA(FWnd, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(p.x, p.y));
}

void TVuzUrezMenu::MakeOwnerDraw(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    // WM_MEASUREITEM and WM_DRAWITEM name an item by this id (a popup's handle, for a popup the
    // menu object did not make).
    if (!(info.fType & MFT_OWNERDRAW) || !FItems.count(info.wID)) {
      // The text goes from the handle once the item is owner-drawn: it is kept here.
      TItem& rec = FItems[info.wID];
      if (!(info.fType & MFT_OWNERDRAW)) {
        rec.Text = ItemText(menu, static_cast<UINT>(i));
      } else {
        for (const TTakenItem& t : FTaken)
          if (t.Menu == menu && t.Id == info.wID) rec.Text = t.Text;
      }
      rec.Item = ObjectItem(menu, i);
      rec.SubMenu = info.hSubMenu != nullptr;
      rec.Separator = (info.fType & MFT_SEPARATOR) != 0;
    }
    if (!(info.fType & MFT_OWNERDRAW)) {
      FTaken.push_back({menu, info.wID, info.fType, FItems[info.wID].Text});
      MENUITEMINFOA set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = info.fType | MFT_OWNERDRAW;
      SetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &set);
    }
    if (info.hSubMenu) MakeOwnerDraw(info.hSubMenu);
  }
}

void TVuzUrezMenu::GiveItemsBack() {
  for (auto t = FTaken.rbegin(); t != FTaken.rend(); ++t) {
    if (!IsMenu(t->Menu)) continue;
    for (int i = GetMenuItemCount(t->Menu); i-- > 0;) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_ID;
      if (!GetMenuItemInfoA(t->Menu, static_cast<UINT>(i), TRUE, &info) || info.wID != t->Id ||
          !(info.fType & MFT_OWNERDRAW))
        continue;
      // Wide, as it was read: the text comes back whole whatever code page it would not fit.
      MENUITEMINFOW set{};
      set.cbSize = sizeof set;
      set.fMask = MIIM_FTYPE;
      set.fType = t->Type;
      if (!(t->Type & MFT_SEPARATOR)) {
        set.fMask |= MIIM_STRING;
        set.dwTypeData = t->Text.data();
      }
      SetMenuItemInfoW(t->Menu, static_cast<UINT>(i), TRUE, &set);
      break;
    }
  }
  FTaken.clear();
}

TMenuItemLook TVuzUrezMenu::LookOf(UINT id, UINT state) const {
  TMenuItemLook look;
  auto it = FItems.find(id);
  TMenuItem* item = it != FItems.end() ? it->second.Item : nullptr;
  if (!item && Menu) {
    item = TMenuItem::FindByCommand(id);
    if (item && item->GetParentMenu() != Menu) item = nullptr;
  }
  if (item) {
    look = TMenuItemLook::Of(item);
  } else if (it != FItems.end()) {
    const std::wstring& text = it->second.Text;
    std::size_t tab = text.find(L'\t');
    look.Caption = it->second.Separator || text.empty() ? L"-" : text.substr(0, tab);
    if (tab != std::wstring::npos) look.ShortCut = text.substr(tab + 1);
    look.SubMenu = it->second.SubMenu;
  } else {
    look.Caption = L"-";
  }
  look.Enabled = !(state & (ODS_GRAYED | ODS_DISABLED)) && (!item || item->Enabled());
  look.Checked = (state & ODS_CHECKED) != 0 || (item && item->Checked());
  look.RightToLeft = look.RightToLeft || RightToLeft;
  look.Dpi = Scale.Dpi;
  look.Scaled = ScaledImages.get();
  return look;
}

// An item of the menu object that draws itself keeps its own drawing.
bool TVuzUrezMenu::DrawsItself(UINT id) const {
  auto it = FItems.find(id);
  TMenuItem* item = it != FItems.end() ? it->second.Item : nullptr;
  return item && item->OnDrawItem && item->OnDrawItem.Data != ItemDrawer;
}

bool TVuzUrezMenu::MeasureItem(MEASUREITEMSTRUCT& mi) {
  if (mi.CtlType != ODT_MENU || !FItems.count(mi.itemID) || DrawsItself(mi.itemID)) return false;
  TMenuItemLook look = LookOf(mi.itemID, 0);
  SIZE text = MeasureItemText(look);
  int w = text.cx, h = text.cy;
  MeasureSkinnedItem(*SkinData, look, w, h);
  mi.itemWidth = static_cast<UINT>(w);
  mi.itemHeight = static_cast<UINT>(h);
  return true;
}

bool TVuzUrezMenu::DrawItem(const DRAWITEMSTRUCT& di) {
  if (di.CtlType != ODT_MENU || !FItems.count(di.itemID) || DrawsItself(di.itemID)) return false;
  auto menu = reinterpret_cast<HMENU>(di.hwndItem);
  TMenuBackground back = PopupBackgroundFor(menu, di.hDC);
  TMenuItemLook look = LookOf(di.itemID, di.itemState);
  bool selected = (di.itemState & ODS_SELECTED) && !look.Separator();
  DrawSkinnedItem(di.hDC, di.rcItem, *SkinData, look, selected, back);
  return true;
}

void TVuzUrezMenu::MenuSelect(WPARAM wp, LPARAM lp) {
  if (gTrack.Bar != this) return;
  auto menu = reinterpret_cast<HMENU>(lp);
  if (HIWORD(wp) == 0xFFFF && !menu) {
    if (!gTrack.SwitchPending) EndMenuTracking();
    return;
  }
  gTrack.SwitchPending = false;
  gTrack.SelectedIn = menu;
  gTrack.SelectedHasSub = (HIWORD(wp) & MF_POPUP) != 0;
}

void TVuzUrezMenu::SwitchTo(int index) {
  if (index < 0 || index >= ButtonCount() || index == gTrack.Current) return;
  gTrack.SwitchPending = true;
  gTrack.SwitchTo = index;
  // The open popup closes; OpenMenuBarButton then opens the new one.
  EndMenu();
}

bool TVuzUrezMenu::Filter(MSG& msg) {
  int n = ButtonCount();
  // Once the buttons have lost the open popup, the loop only closes.
  if (!ButtonByIndex(gTrack.Current)) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) {
        gTrack.SwitchPending = false;
      } else if (msg.wParam == VK_LEFT) {
        if (!gTrack.SelectedIn || gTrack.SelectedIn == gTrack.Open) {
          SwitchTo((gTrack.Current + n - 1) % n);
          return true;
        }
      } else if (msg.wParam == VK_RIGHT) {
        if (!gTrack.SelectedIn || !gTrack.SelectedHasSub) {
          SwitchTo((gTrack.Current + 1) % n);
          return true;
        }
      }
      return false;
    case WM_SYSKEYDOWN:
      if (msg.wParam == VK_MENU) EndMenuTracking();
      return false;
    case WM_MOUSEMOVE: {
      if (msg.pt.x == gTrack.LastMouse.x && msg.pt.y == gTrack.LastMouse.y) return false;
      gTrack.LastMouse = msg.pt;
      RECT wr{};
      GetWindowRect(FWnd, &wr);
      POINT p{msg.pt.x - wr.left, msg.pt.y - wr.top};
      if (TMenuBtn* b = ButtonAt(p); b && b->Index != gTrack.Current) SwitchTo(b->Index);
      return false;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK TVuzUrezMenu::FilterProc(int code, WPARAM wp, LPARAM lp) {
  TVuzUrezMenu* bar = gTrack.Bar;
  auto* msg = reinterpret_cast<MSG*>(lp);
  // A right-to-left menu runs the other way: left and right are exchanged.
  if (bar && bar->RightToLeft && msg && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT))
    msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
  LRESULT next = CallNextHookEx(gTrack.Hook, code, wp, lp);
  if (next || code != MSGF_MENU || !bar || !msg) return next;
  try {
    if (!gTrack.FirstKeySent) {
      gTrack.FirstKeySent = true;
      PostMessageA(msg->hwnd ? msg->hwnd : bar->FWnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    return bar->Filter(*msg) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

void TVuzUrezMenu::OpenMenuBarButton(TMenuBtn* b) {
  if (!b) return;
  // The item's own click; a disabled item runs nothing, and a popup the menu object did not
  // make has no command.
  if (b->Command && b->Enabled) PostMessageA(FWnd, WM_COMMAND, b->Command, 0);
  std::shared_ptr<bool> alive = FAlive;
  HWND wnd = FWnd;
  // Ends the tracking however the loop is left: the filter hook never outlives it.
  struct TTrackingScope {
    TVuzUrezMenu* Bar;
    std::shared_ptr<bool> Alive;
    ~TTrackingScope() {
      if (gTrack.Bar != Bar) return;
      if (gTrack.Hook) UnhookWindowsHookEx(gTrack.Hook);
      gTrack = TMenuTracking{};
      if (*Alive) Bar->FTracking = false;
    }
  };
  while (b && b->SubMenu && !FTracking) {
    TTrackingScope scope{this, alive};
    const int index = b->Index;
    gTrack = TMenuTracking{};
    gTrack.Current = index;
    gTrack.Open = b->SubMenu;
    gTrack.Bar = this;
    MakeOwnerDraw(b->SubMenu);
    FTracking = true;
    GetCursorPos(&gTrack.LastMouse);
    gTrack.Hook = SetWindowsHookExA(WH_MSGFILTER, &TVuzUrezMenu::FilterProc, nullptr, GetCurrentThreadId());
    if (b->Enabled) {
      b->State = TNCObject::stPressed;
      PaintButton(*b);
      RECT wr{};
      GetWindowRect(wnd, &wr);
      UINT flags = TPM_RIGHTBUTTON | (RightToLeft ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
      int x = (RightToLeft ? b->BoundsRect.right : b->BoundsRect.left) + wr.left;
      TrackPopupMenu(b->SubMenu, flags, x, b->BoundsRect.bottom + wr.top, 0, wnd, nullptr);
    }
    // The window (and with it this bar) may have gone while the menu was open, and a menu change
    // handled inside the loop rebuilds the buttons: b is looked up again.
    if (!*alive) return;
    int next = gTrack.SwitchPending ? gTrack.SwitchTo : -1;
    b = ButtonByIndex(gTrack.Bar == this ? gTrack.Current : -1);
    if (b) {
      b->State = TNCObject::stNormal;
      PaintButton(*b);
      if (Form->HotObject() == b) Form->SetHotObject(nullptr);
    }
    b = ButtonByIndex(next);
  }
}

TMenuBtn* TVuzUrezMenu::ButtonByIndex(int index) const {
  return index >= 0 && index < ButtonCount() ? Buttons[static_cast<std::size_t>(index)].get() : nullptr;
}
