// Caption buttons: which of the skin's buttons a window shows, where, in which look, what the
// mouse does to them, and the window menu they open.
#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "skin/data/VuzUrezDataWin32.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

bool IsIconAction(int action) { return action == baSystemMenu || action == baSystemMenuIcon; }

struct TSystemMenuItem {
  const char* Caption;
  int Tag;
};
// Tags are also the indexes of the glyphs in the skin data's MenuImages.
constexpr TSystemMenuItem kRestore{" Restore ", 0}, kMaximize{" Maximize ", 1}, kMinimize{" Minimize ", 2},
    kClose{" Close ", 3};
constexpr int kSeparatorTag = 100;
constexpr UINT kMenuIdBase = 0x7100;  // command id = base + tag

const char* MenuCaption(int tag) {
  for (const TSystemMenuItem* i : {&kRestore, &kMaximize, &kMinimize, &kClose})
    if (i->Tag == tag) return i->Caption;
  return "";
}

}  // namespace

void TNCObject::MouseDown() {
  if (Form->HotObject() && Form->HotObject() != this) Form->HotObject()->MouseLeave();
  if (!Visible) return;
  Form->SetHotObject(this);
  State = stPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = stHot;
  Paint();
}

void TNCObject::MouseEnter() {
  if (Form->HotObject() == this) return;
  if (Form->HotObject()) Form->HotObject()->MouseLeave();
  if (!Visible) return;
  Form->SetHotObject(this);
  State = stHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  Form->SetHotObject(nullptr);
  State = stNormal;
  Paint();
}

void TWinSysButton::Paint() { Form->PaintSysButton(*this, State); }

void TVuzUrezForm::ClearSysButtons() {
  FHotObject = nullptr;
  FSysButtons.clear();
}

void TVuzUrezForm::BuildSysButtons() {
  ComputeBorderSizes();
  if (!FSkinData || FSkinData->NoSkin()) return;
  ClearSysButtons();
  for (auto& record : FSkinData->Skin.SysButtons)
    FSysButtons.push_back(std::make_unique<TWinSysButton>(this, record.get()));
}

void TVuzUrezForm::LoadIcon() {
  int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  TBitmap icon(w, h, pf24bit);
  icon.Fill(clFuchsia);
  auto handle = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_SMALL, 0));
  if (!handle) handle = reinterpret_cast<HICON>(SendMessageA(Handle, WM_GETICON, ICON_BIG, 0));
  if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrA(Handle, GCLP_HICONSM));
  if (handle) {
    TIconHandle copy(static_cast<HICON>(CopyImage(handle, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
    if (!copy) copy.Reset(static_cast<HICON>(CopyImage(handle, IMAGE_ICON, w, h, 0)));
    // The icon's soft edges would blend with a magenta background into pink that is no longer
    // the key colour. Drawn once on black and once on white, each pixel's coverage and true
    // colour can be told apart: mostly covered pixels keep the icon's colour, the rest become
    // the key colour.
    TBitmap onBlack(w, h, pf24bit), onWhite(w, h, pf24bit);
    onWhite.Fill(clWhite);
    for (TBitmap* b : {&onBlack, &onWhite}) {
      TBitmapDC dc(*b);
      if (dc) DrawIconEx(dc.Get(), 0, 0, copy ? copy.Get() : handle, w, h, 0, nullptr, DI_NORMAL);
    }
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        TColor dark = onBlack.Pixel(x, y), light = onWhite.Pixel(x, y);
        int coverage = 255 - ((RedOf(light) - RedOf(dark)) + (GreenOf(light) - GreenOf(dark)) +
                              (BlueOf(light) - BlueOf(dark))) /
                                 3;
        if (coverage < 128) continue;
        auto unblend = [coverage](int c) { return std::min(255, c * 255 / coverage); };
        icon.SetPixel(x, y, RGBColor(unblend(RedOf(dark)), unblend(GreenOf(dark)), unblend(BlueOf(dark))));
      }
    }
  }
  FIcon = icon;
}

bool TVuzUrezForm::IsSysButtonVisible(int index) {
  TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(index)];
  const TDataSkinSysButton& r = *b.SkinButton;
  bool maxBox = FBorderIcons & 1, minBox = FBorderIcons & 2, sysMenu = FBorderIcons & 8;
  bool maximised = FWindowState == 1;
  auto condition = [&](int value, bool first) {
    switch (value) {
      case 0:
        return first ? FFrameKind != 3 && (r.Action != baClose || sysMenu) : true;
      case 1:
        return maximised;
      case 2:
        return !maximised;
      case 3:
        return FActive;
      case 4:
        return !FActive;
      case 6:
        return first ? maxBox && sysMenu : maxBox;
      case 7:
        return !maxBox;
      case 8:
        return first ? minBox && sysMenu : minBox;
      case 9:
        return !minBox;
      case 100:
        return FMenuHeight > 0 && IsMdiChildMaximized();
      default:
        return value >= 200 && value <= 2000;
    }
  };
  bool c1 = condition(r.Visibility, true);
  bool c2 = r.Visibility1 == 100 ? c1 : condition(r.Visibility1, false);
  b.Visible = c1 && c2;
  if ((r.Action == baMaximize && !maxBox) || (r.Action == baMinimize && !minBox)) b.Visible = false;
  return b.Visible;
}

const TBitmap* TVuzUrezForm::ButtonImage(const TWinSysButton& b, int& frames) const {
  if (IsIconAction(b.SkinButton->Action)) {
    frames = 1;
    return &FIcon;
  }
  frames = std::max(1, static_cast<int>(b.SkinButton->FrameCount));
  return &b.SkinButton->Bitmap;
}

void TVuzUrezForm::PlaceSysButtons() {
  FRightmostButtonLeft = 0;
  for (int i = 0; i < SysButtonCount(); ++i) {
    TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(i)];
    int frames = 1;
    const TBitmap* image = ButtonImage(b, frames);
    if (!IsSysButtonVisible(i) || image->Empty()) continue;
    const TDataSkinSysButton& r = *b.SkinButton;
    int w = image->Width() / frames, h = image->Height();
    int x = 0, y = 0;
    switch (r.Align) {
      case 0:
        x = r.Xcoord, y = r.Ycoord;
        break;
      case 1:
        x = FWindowWidth - r.Xcoord, y = r.Ycoord;
        FRightmostButtonLeft = std::max(FRightmostButtonLeft, x);
        break;
      case 2:
      case 8:
        x = FCaptionRect.left - w - r.Xcoord, y = r.Ycoord;
        break;
      case 3:
      case 9:
        x = FCaptionRect.right + r.Xcoord, y = r.Ycoord;
        break;
      case 100: {
        // In the menu bar, inside its end cap: the right end, the left one for right-to-left.
        const TDataSkinObject* bar = FSkinData->Skin.MenuBar.get();
        bool capped = bar && !bar->Bitmap.Empty();
        y = FTopHeight + (FMenuHeight - h) / 2;
        // A bar whose items run from the right keeps the buttons clear of them at its left end.
        if (FRightToLeft || (FMenuBar && FMenuBar->RightToLeft))
          x = r.Xcoord + FLeftWidth + (capped ? bar->LeftWidth : 0);
        else
          x = FWindowWidth - r.Xcoord - FRightWidth - (capped ? bar->RightWidth : 0);
        break;
      }
      default:
        break;
    }
    b.BoundsRect = RECT{x, y, x + w, y + h};
  }
}

void TVuzUrezForm::PaintSysButtons(HDC strip) {
  for (auto& b : FSysButtons) {
    int frames = 1;
    const TBitmap* image = ButtonImage(*b, frames);
    if (!b->Visible || image->Empty() || b->SkinButton->Visibility == 100) continue;
    int frame = FActive || frames < 4 ? 1 : 4;
    DrawFrame(strip, b->BoundsRect, *image, true, frames, frame);
  }
}

void TVuzUrezForm::PaintSysButton(TWinSysButton& b, int state) {
  int frames = 1;
  const TBitmap* image = ButtonImage(b, frames);
  POINT origin{};
  const TBitmap* back = ButtonBackground(b, origin);
  if (!b.Visible || image->Empty() || FStage != ssActive || !back || back->Empty()) return;
  if (b.SkinButton->Visibility == 100 && state == TNCObject::stHot) state = 4;
  int frame = IsIconAction(b.SkinButton->Action) ? 1 : std::min(state, frames);
  // Composed on the title bar as it was before any button was drawn, so transparent parts of
  // the new face do not show the old one.
  const RECT& r = b.BoundsRect;
  int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap face(w, h, pf24bit);
  face.CopyRect(0, 0, *back, r.left - origin.x, r.top - origin.y, w, h);
  {
    TBitmapDC dc(face);
    if (!dc) return;
    DrawFrame(dc.Get(), RECT{0, 0, w, h}, *image, true, frames, frame);
  }
  TWindowDc window(Handle, true);
  DrawBitmap(window.Get(), r.left, r.top, face);
}

TWinSysButton* TVuzUrezForm::SysButtonAt(POINT p) const {
  for (auto& b : FSysButtons)
    if (b->Visible && b->SkinButton->Action >= 0 && PtInRect(&b->BoundsRect, p)) return b.get();
  return nullptr;
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
  if (FWindowState == 1) {
    Restore();
    return;
  }
  FWindowState = 1;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  FHotObject = nullptr;
}

void TVuzUrezForm::Minimize() {
  if (FWindowState == 2) {
    Restore();
    return;
  }
  FWindowState = 2;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TVuzUrezForm::Restore() {
  FWindowState = 0;
  PostMessageA(Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TVuzUrezForm::BuildSystemMenu() {
  FSystemMenu.Reset(CreatePopupMenu());
  auto add = [this](int tag, UINT flags) {
    AppendMenuA(FSystemMenu.Get(), flags | MF_OWNERDRAW, kMenuIdBase + static_cast<UINT>(tag),
                reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(tag)));
  };
  add(kRestore.Tag, MF_STRING);
  if (FBorderIcons & 1) add(kMaximize.Tag, MF_STRING);
  if (FBorderIcons & 2) add(kMinimize.Tag, MF_STRING);
  add(kSeparatorTag, MF_SEPARATOR);
  add(kClose.Tag, MF_STRING);
}

void TVuzUrezForm::ShowSystemMenu(POINT screen) {
  HMENU menu = FSystemMenu.Get();
  auto enable = [menu](int tag, bool on) {
    EnableMenuItem(menu, kMenuIdBase + static_cast<UINT>(tag), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(kRestore.Tag, FWindowState != 0);
  enable(kMaximize.Tag, FWindowState != 1);
  enable(kMinimize.Tag, FWindowState != 2);
  DWORD now = GetTickCount();
  if (static_cast<DWORD>(now - FLastMenuClick) <= FDoubleClickTime) {
    FLastMenuClick = 0;
    if (FHoverTimer) FHoverTimer->SetEnabled(false);
    PostMessageA(Handle, WM_CLOSE, 0, 0);
    return;
  }
  FLastMenuClick = now;
  if (menu && FSkinData->HasControl(xcSystemMenu) && FWindowKind != 2) {
    FMenuTracking = true;
    // The menu's loop runs every message: the form may be freed, or skinning switched off,
    // before it returns.
    std::shared_ptr<bool> alive = FAlive;
    UINT cmd = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle, nullptr));
    if (!*alive) return;
    FMenuTracking = false;
    if (cmd >= kMenuIdBase) SystemMenuClick(static_cast<int>(cmd - kMenuIdBase));
  } else if (FSysMenuHandle) {
    TrackPopupMenu(FSysMenuHandle, TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle, nullptr);
  }
}

void TVuzUrezForm::SystemMenuClick(int tag) {
  switch (tag) {
    case 0:
      Restore();
      break;
    case 1:
      Maximize();
      break;
    case 2:
      Minimize();
      break;
    case 3:
      if (FHoverTimer) FHoverTimer->SetEnabled(false);
      PostMessageA(Handle, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

namespace {

TMenuItemLook SystemMenuLook(int tag, TSkinData& data) {
  TMenuItemLook look;
  if (tag == kSeparatorTag) {
    look.Caption = "-";
    return look;
  }
  look.Caption = MenuCaption(tag);
  if (tag == kClose.Tag) look.ShortCut = "Alt+F4";
  look.Default = tag == kClose.Tag;
  look.Images = data.MenuImages();
  look.ImageIndex = look.Images && look.Images->Count() > tag ? tag : -1;
  return look;
}

}  // namespace

void TVuzUrezForm::MeasureMenuItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  if (mi->CtlType == ODT_MENU && mi->itemID >= kMenuIdBase && mi->itemID <= kMenuIdBase + kSeparatorTag) {
    TMenuItemLook look = SystemMenuLook(static_cast<int>(mi->itemID - kMenuIdBase), *FSkinData);
    SIZE text = MeasureItemText(look);
    int w = text.cx, h = text.cy;
    MeasureSkinnedItem(*FSkinData, look, w, h);
    mi->itemWidth = static_cast<UINT>(w);
    mi->itemHeight = static_cast<UINT>(h);
    m.Result = TRUE;
    return;
  }
  if (FMenuBar && FMenuBar->MeasureItem(*mi)) {
    m.Result = TRUE;
    return;
  }
  CallPrevious(m);
}

void TVuzUrezForm::DrawMenuItem(TMessage& m) {
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  auto menu = reinterpret_cast<HMENU>(di->hwndItem);
  if (di->CtlType == ODT_MENU && menu && menu == FSystemMenu.Get()) {
    TMenuItemLook look = SystemMenuLook(static_cast<int>(di->itemID - kMenuIdBase), *FSkinData);
    look.Enabled = !(di->itemState & (ODS_GRAYED | ODS_DISABLED));
    bool selected = (di->itemState & ODS_SELECTED) && look.Enabled && !look.Separator();
    DrawSkinnedItem(di->hDC, di->rcItem, *FSkinData, look, selected, PopupBackgroundFor(menu, di->hDC));
    m.Result = TRUE;
    return;
  }
  if (FMenuBar && FMenuBar->DrawItem(*di)) {
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
  if (!FForm && FHotControl && !PtInRect(&FHotControl->WindowRect(), p)) HotControlLeave();
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
  TWinSysButton* button = SysButtonAt(p);
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
      if (FWindowState == 1 && FActive && m.WParam == HTCAPTION) m.WParam = HTMENU;
      return false;
    case WM_NCLBUTTONUP:
      if (!button) return false;
      if (button == FHotObject) {
        button->MouseUp();
        SysButtonClick(screen);
      }
      return true;
    case WM_NCLBUTTONDBLCLK:
      if (FWindowState != 0)
        Restore();
      else if (FBorderIcons & 1)
        Maximize();
      return true;
    case WM_NCRBUTTONDOWN:
      if (m.WParam != HTCAPTION || FWindowKind == 2) return false;
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

void TVuzUrezForm::SysCommand(TMessage& m) {
  bool barOpen = FMenuTracking || (FMenuBar && FMenuBar->Tracking());
  if (!barOpen && (m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam != 32 && m.LParam != 45 && !GetCapture()) {
    // Alt or F10 alone, or a letter of the bar, would open the system's own menu bar, which the
    // skinned window does not show: swallowed. The bar opens by Alt+letter through the form
    // (MenuAccelerator) and by the mouse.
    bool barKey = FMenuBar && FMenuBar->MenuAccelButton(static_cast<char>(m.LParam));
    if (m.LParam == 0 || barKey) {
      m.Result = 1;
      return;
    }
  }
  switch (m.WParam & 0xFFF0) {
    case SC_MINIMIZE:
      FWindowState = 2;
      if (FWindowKind == 2) SetSystemButtons(true);
      break;
    case SC_MAXIMIZE:
      FWindowState = 1;
      break;
    case SC_RESTORE:
      FWindowState = 0;
      if (FWindowKind == 2) SetSystemButtons(false);
      break;
    default:
      break;
  }
  CallPrevious(m);
}
