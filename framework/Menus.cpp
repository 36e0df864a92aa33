#include "framework/Menus.h"

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <map>

namespace {
std::map<UINT, TMenuItem*>& Commands() {
  // Never freed: components freed by static destructors at exit still use it.
  static auto* commands = new std::map<UINT, TMenuItem*>;
  return *commands;
}
HMENU g_menuBeingDrawn = nullptr;
HWND g_popupOwner = nullptr;

// A command id travels in the low word of WM_COMMAND and must not be taken for a system command
// (0xF000 and up): ids stay in this range, and those of freed items are used again, so that each
// names exactly one item.
constexpr UINT kFirstCommand = 100, kLastCommand = 0xEFFF;

UINT NewCommand() {
  static UINT next = kFirstCommand;
  for (UINT tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
    UINT id = next;
    next = next == kLastCommand ? kFirstCommand : next + 1;
    if (!Commands().count(id)) return id;
  }
  return 0;  // every id is taken: this item gets none, and no command reaches it
}
}  // namespace

void SetPopupOwnerWindow(HWND owner) { g_popupOwner = owner; }

HMENU MenuBeingDrawn() { return g_menuBeingDrawn; }

namespace {

template <class S>
S StripMarkers(const S& caption) {
  S out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];
      continue;
    }
    out += caption[i];
  }
  return out;
}

// The character after the first single "&" (an "&&" is a plain "&"), or 0.
template <class S>
typename S::value_type MarkedCharacter(const S& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

}  // namespace

std::string StripHotkey(const std::string& caption) { return StripMarkers(caption); }
std::wstring StripHotkey(const std::wstring& caption) { return StripMarkers(caption); }

char GetHotkey(const std::string& caption) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(MarkedCharacter(caption))));
}
wchar_t GetHotkey(const std::wstring& caption) {
  return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(MarkedCharacter(caption))));
}

// ---- items

DASKEL_DEFINE_CLASS(TMenuItem, TComponent) {
  c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  c.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked);
  c.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled);
  c.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible);
  c.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault);
  c.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex);
  c.String("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut);
  c.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem);
  c.Event("OnClick", &TMenuItem::OnClick);
  c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
  c.Event("OnDrawItem", &TMenuItem::OnDrawItem);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NewCommand()) {
  if (command_) Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  if (command_) Commands().erase(command_);
  // Sub-items the item owns go with it; those owned elsewhere are only let go.
  for (TMenuItem* i : std::vector<TMenuItem*>(items_)) i->parent_ = nullptr;
  items_.clear();
  if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::FindByCommand(UINT id) {
  auto it = Commands().find(id);
  return it == Commands().end() ? nullptr : it->second;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* m = dynamic_cast<TMenu*>(parent)) {
    m->Items()->Add(this);
  } else if (auto* i = dynamic_cast<TMenuItem*>(parent)) {
    i->Add(this);
  }
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  if (index < 0) index = 0;
  if (index > Count()) index = Count();
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

void TMenuItem::Changed() {
  if (TMenu* m = GetParentMenu(); m && !m->HasState(csDestroying)) m->Rebuild();
}

void TMenuItem::SetCaption(const std::string& v) {
  caption_ = v;
  Changed();
}
void TMenuItem::SetChecked(bool v) {
  checked_ = v;
  Changed();
}
void TMenuItem::SetEnabled(bool v) {
  enabled_ = v;
  Changed();
}
void TMenuItem::SetVisible(bool v) {
  visible_ = v;
  Changed();
}
void TMenuItem::SetShortCut(const std::string& v) {
  shortCut_ = v;
  Changed();
}
void TMenuItem::SetRadioItem(bool v) {
  radioItem_ = v;
  Changed();
}
void TMenuItem::SetDefault(bool v) {
  default_ = v;
  Changed();
}

// ---- menus

DASKEL_DEFINE_CLASS(TMenu, TComponent) {
  c.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
  c.Component("Images", &TMenu::SetImages);
  c.Bool("RightToLeft", &TMenu::RightToLeft, &TMenu::SetRightToLeft);
}
DASKEL_DEFINE_CLASS(TMainMenu, TMenu) {}
DASKEL_DEFINE_CLASS(TPopupMenu, TMenu) {
  c.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup);
  c.Event("OnPopup", &TPopupMenu::OnPopup);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
  Destroying();
  // Items made by a layout belong to the form; the rest hang under the root item.
  for (int i = 0; i < items_->Count(); ++i)
    if (!items_->Items(i)->Owner()) {
      delete items_->Items(i);
      --i;
    }
  delete items_;
}

void TMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == images_) images_ = nullptr;
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == ownerDraw_) return;
  ownerDraw_ = v;
  Rebuild();
}

void TMenu::SetRightToLeft(bool v) {
  if (v == rightToLeft_) return;
  rightToLeft_ = v;
  Rebuild();
}

void TMenu::Rebuild() { dirty_ = true; }

HMENU TMenu::Handle() {
  if (dirty_ || !handle_) {
    handle_.Reset(CreateMenuHandle());
    Fill(handle_.Get(), items_);
    dirty_ = false;
  }
  return handle_.Get();
}

void TMenu::Fill(HMENU menu, TMenuItem* item) {
  for (TMenuItem* i : item->items_) {
    if (!i->visible_) continue;
    UINT flags = i->IsLine() ? MF_SEPARATOR : MF_STRING;
    if (i->checked_) flags |= MF_CHECKED;
    if (!i->enabled_) flags |= MF_GRAYED;
    // Separators of an owner-drawn menu are drawn by the owner too, so they match its items
    // (the system's own separator shows the system's colours).
    if (ownerDraw_) flags |= MF_OWNERDRAW;
    UINT_PTR id = i->command_;
    if (!i->items_.empty()) {
      HMENU sub = CreatePopupMenu();  // freed with the menu it is put in
      Fill(sub, i);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(sub);
    }
    if (flags & MF_OWNERDRAW) {
      AppendMenuA(menu, flags, id, reinterpret_cast<LPCSTR>(i));
    } else {
      std::string text = i->shortCut_.empty() ? i->caption_ : i->caption_ + "\t" + i->shortCut_;
      AppendMenuA(menu, flags, id, text.c_str());
    }
    if (i->radioItem_ || rightToLeft_ || (flags & MF_POPUP)) {
      MENUITEMINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      int pos = GetMenuItemCount(menu) - 1;
      GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info);
      if (i->radioItem_) info.fType |= MFT_RADIOCHECK;
      if (rightToLeft_) info.fType |= MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
      // An item with sub-items keeps its own command too (the system puts the popup's handle
      // there): its drawing and its click find it by that.
      info.fMask |= MIIM_ID;
      info.wID = i->command_;
      SetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info);
    }
    if (i->default_) SetMenuDefaultItem(menu, i->command_, FALSE);
  }
}

bool TMenu::DispatchCommand(UINT id) {
  TMenuItem* item = id ? TMenuItem::FindByCommand(id) : nullptr;
  // Only an enabled item of this menu runs: not its root, not another menu's item, and nothing
  // for an id that names no item.
  if (!item || item == items_ || item->GetParentMenu() != this || !item->Enabled()) return false;
  item->Click();
  return true;
}

void TMainMenu::Rebuild() {
  TMenu::Rebuild();
  if (!window_ || !window_->HandleAllocated() || HasState(csLoading)) return;
  ::SetMenu(window_->Handle(), Handle());
  DrawMenuBar(window_->Handle());
  window_->Perform(CM_MENUCHANGED, 0, 0);
}

void TPopupMenu::Popup(int x, int y) {
  HWND owner = g_popupOwner;
  if (!owner) return;
  OnPopup(this);
  // A menu opened for a hidden window (a notification-area icon) only closes on a click
  // elsewhere when its owner is the foreground window; the empty message afterwards lets it
  // close at once.
  SetForegroundWindow(owner);
  UINT id = static_cast<UINT>(TrackPopupMenu(
      Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (id) DispatchCommand(id);
}

bool DispatchMenuChar(TMessage& m) {
  auto menu = reinterpret_cast<HMENU>(m.LParam);
  char key = static_cast<char>(std::toupper(static_cast<unsigned char>(LOWORD(m.WParam))));
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int pos = 0; pos < count && key; ++pos) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
      continue;
    TMenuItem* item = TMenuItem::FindByCommand(info.wID);
    if (!item || reinterpret_cast<TMenuItem*>(info.dwItemData) != item || (info.fState & MFS_GRAYED))
      continue;
    if (GetHotkey(item->Caption()) != key) continue;
    m.Result = MAKELRESULT(pos, MNC_EXECUTE);
    return true;
  }
  return false;
}

bool DispatchMenuDrawing(TMessage& m) {
  if (m.Msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (mi->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(mi->itemID);
    if (!item || reinterpret_cast<TMenuItem*>(mi->itemData) != item) return false;
    TWindowDc screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.Get());
    GetMessageFont(canvas.Font());
    std::string text = StripHotkey(item->Caption());
    if (!item->ShortCut().empty()) text += "      " + item->ShortCut();
    SIZE s = canvas.TextExtent(text);
    int w = s.cx + 40, h = s.cy + 6 > 18 ? s.cy + 6 : 18;
    if (item->IsLine()) w = 20, h = 8;
    item->OnMeasureItem(item, &canvas, w, h);
    canvas.SetHandle(nullptr);
    mi->itemWidth = static_cast<UINT>(w);
    mi->itemHeight = static_cast<UINT>(h);
    m.Result = 1;
    return true;
  }
  if (m.Msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (di->CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FindByCommand(di->itemID);
    if (!item || reinterpret_cast<TMenuItem*>(di->itemData) != item) return false;
    TCanvas canvas;
    canvas.SetHandle(di->hDC);
    GetMessageFont(canvas.Font());
    bool selected = (di->itemState & ODS_SELECTED) != 0;
    if (item->OnDrawItem) {
      // Given back however the handler ends.
      struct TDrawing {
        HMENU Outer = g_menuBeingDrawn;
        ~TDrawing() { g_menuBeingDrawn = Outer; }
      } drawing;
      g_menuBeingDrawn = reinterpret_cast<HMENU>(di->hwndItem);
      item->OnDrawItem(item, &canvas, di->rcItem, selected);
    } else if (item->IsLine()) {
      canvas.Brush().SetColor(clMenu);
      canvas.FillRect(di->rcItem);
      RECT line = di->rcItem;
      line.top += (line.bottom - line.top) / 2 - 1;
      line.bottom = line.top + 2;
      DrawEdge(di->hDC, &line, EDGE_ETCHED, BF_TOP);
    } else {
      canvas.Brush().SetColor(selected ? clHighlight : clMenu);
      canvas.FillRect(di->rcItem);
      canvas.Font().SetColor(!item->Enabled() ? clGrayText : selected ? clHighlightText : clMenuText);
      canvas.Brush().SetStyle(bsClear);
      RECT r = di->rcItem;
      r.left += 20;
      canvas.TextRect(r, item->Caption(), DT_SINGLELINE | DT_VCENTER);
      if (!item->ShortCut().empty()) {
        RECT k = di->rcItem;
        k.right -= 8;
        canvas.TextRect(k, item->ShortCut(), DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
      }
      TMenu* menu = item->GetParentMenu();
      if (TImageList* images = menu ? menu->Images() : nullptr; images && item->ImageIndex() >= 0)
        images->Draw(canvas, di->rcItem.left + 2,
                     di->rcItem.top + (di->rcItem.bottom - di->rcItem.top - images->Height()) / 2,
                     item->ImageIndex(), item->Enabled());
      if (item->Checked()) {
        RECT c = di->rcItem;
        c.right = c.left + 18;
        canvas.TextRect(c, item->RadioItem() ? "o" : "v", DT_SINGLELINE | DT_VCENTER | DT_CENTER);
      }
    }
    canvas.SetHandle(nullptr);
    m.Result = 1;
    return true;
  }
  return false;
}
