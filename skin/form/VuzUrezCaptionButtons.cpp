// Caption buttons: which of the skin's buttons a window shows, where, in which look, and the
// window menu they open.
#include "skin/form/VuzUrezCaptionButtons.h"

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "skin/data/VuzUrezDataWin32.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

bool IsIconAction(int action) { return action == baSystemMenu || action == baSystemMenuIcon; }

// Draws frame `frame` of a button image keyed onto the bitmap's pixels at r: a masked blit through
// the system costs several times more.
void DrawButtonFace(TBitmap& dest, const RECT& rect, const TBitmap& image, int frames, int frame) {
  const TDrawRect r = ToDrawRect(rect);
  DrawTransparent(dest, r, BuildFrame(r, image, frames, frame), SkinKeyColor);
}

bool IconHasSize(HICON icon, int w, int h) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  TGdiBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP b{};
  if (!GetObjectA(colour ? colour.Get() : mask.Get(), sizeof b, &b)) return false;
  // A mask without colours holds the image's AND and XOR halves one above the other.
  return b.bmWidth == w && b.bmHeight == (colour ? h : 2 * h);
}

struct TSystemMenuItem {
  const wchar_t* Caption;
  int Tag;
};
constexpr TSystemMenuItem kRestore{L" Restore ", smRestore}, kMaximize{L" Maximize ", smMaximize},
    kMinimize{L" Minimize ", smMinimize}, kClose{L" Close ", smClose};
constexpr int kSeparatorTag = smSeparator;
constexpr UINT kMenuIdBase = 0x7100;  // command id = base + tag

const wchar_t* MenuCaption(int tag) {
  for (const TSystemMenuItem* i : {&kRestore, &kMaximize, &kMinimize, &kClose})
    if (i->Tag == tag) return i->Caption;
  return L"";
}

TMenuItemLook SystemMenuLook(int tag, TSkinData& data) {
  TMenuItemLook look;
  if (tag == kSeparatorTag) {
    look.Caption = L"-";
    return look;
  }
  look.Caption = MenuCaption(tag);
  if (tag == kClose.Tag) look.ShortCut = L"Alt+F4";
  look.Default = tag == kClose.Tag;
  look.Images = data.MenuImages();
  look.ImageIndex = look.Images && look.Images->Count() > tag ? tag : -1;
  return look;
}

}  // namespace

void TWinSysButton::Paint() { Buttons->PaintSysButton(*this, State); }

TCaptionButtons::TCaptionButtons(TSkinnedWindow& skinner, TNCHost& host,
                                 const std::unique_ptr<TVuzUrezMenu>& menuBar)
    : FSkinner(skinner), FHost(host), FMenuBar(menuBar), FDoubleClickTime(GetDoubleClickTime()) {}

void TCaptionButtons::BuildSysButtons() {
  ClearSysButtons();
  for (auto& record : FSkinner.FSkinData->Skin.SysButtons)
    FSysButtons.push_back(std::make_unique<TWinSysButton>(&FHost, this, record.get()));
}

void TCaptionButtons::LoadIcon() {
  HWND wnd = FSkinner.Handle;
  int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  TBitmap icon(w, h, pf24bit);
  icon.Fill(clFuchsia);
  auto handle = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_SMALL, 0));
  // The icon the window gives as its small one is drawn at the small size as it is, as the
  // system's caption draws it (asking an icon for its size costs a copy of its bitmaps).
  const bool small = handle != nullptr;
  if (!handle) handle = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_BIG, 0));
  if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrA(wnd, GCLP_HICONSM));
  if (handle) {
    // A big or class icon of another size is made again at this one, from its resource where it
    // has one.
    TIconHandle copy;
    if (!small && !IconHasSize(handle, w, h)) {
      copy.Reset(static_cast<HICON>(CopyImage(handle, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
      if (!copy) copy.Reset(static_cast<HICON>(CopyImage(handle, IMAGE_ICON, w, h, 0)));
    }
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

bool TCaptionButtons::IsSysButtonVisible(int index, const TCaptionButtonFrame& f) {
  TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(index)];
  const TDataSkinSysButton& r = *b.SkinButton;
  bool maxBox = f.BorderIcons & kIconMaximize, minBox = f.BorderIcons & kIconMinimize,
       sysMenu = f.BorderIcons & kIconSystemMenu;
  bool maximised = f.WindowState == swMaximized;
  auto condition = [&](int value, bool first) {
    switch (value) {
      case bvAlways:
        return first ? f.FrameKind != fkOther && (r.Action != baClose || sysMenu) : true;
      case bvMaximized:
        return maximised;
      case bvNotMaximized:
        return !maximised;
      case bvActive:
        return f.Active;
      case bvInactive:
        return !f.Active;
      case bvMaxBox:
        return first ? maxBox && sysMenu : maxBox;
      case bvNoMaxBox:
        return !maxBox;
      case bvMinBox:
        return first ? minBox && sysMenu : minBox;
      case bvNoMinBox:
        return !minBox;
      case bvMdiChildMaximized:
        return f.MenuHeight > 0 && f.MdiChildMaximized;
      default:
        return value >= bvCustomFirst && value <= bvCustomLast;
    }
  };
  bool c1 = condition(r.Visibility, true);
  bool c2 = r.Visibility1 == bvMdiChildMaximized ? c1 : condition(r.Visibility1, false);
  b.Visible = c1 && c2;
  if ((r.Action == baMaximize && !maxBox) || (r.Action == baMinimize && !minBox)) b.Visible = false;
  return b.Visible;
}

const TBitmap* TCaptionButtons::ButtonImage(const TWinSysButton& b, int& frames) const {
  if (IsIconAction(b.SkinButton->Action)) {
    frames = 1;
    return &FIcon;
  }
  const TDataSkinSysButton& r = *b.SkinButton;
  frames = r.Frames();
  if (!FScaledImages) return &r.Bitmap;
  return &FScaledImages->Get(r.Bitmap, r.Bitmap2x, TImageLayout{r.FrameCount, false, {}});
}

int TCaptionButtons::PlaceSysButtons(const TCaptionButtonFrame& f) {
  int rightmostLeft = 0;
  for (int i = 0; i < SysButtonCount(); ++i) {
    TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(i)];
    int frames = 1;
    const TBitmap* image = ButtonImage(b, frames);
    if (!IsSysButtonVisible(i, f) || image->Empty()) continue;
    const TDataSkinSysButton& r = *b.SkinButton;
    int w = image->Width() / frames, h = image->Height();
    int x = 0, y = 0;
    // Offsets along the title bar and the menu bar are at their scale.
    const int xc = FScale.Length(r.Xcoord), yc = FScale.Length(r.Ycoord);
    switch (r.Align) {
      case anLeft:
        x = xc, y = yc;
        break;
      case anRight:
        x = f.WindowWidth - xc, y = yc;
        rightmostLeft = std::max(rightmostLeft, x);
        break;
      case anBeforeCaption:
      case anBeforeCaption2:
        x = f.CaptionRect.left - w - xc, y = yc;
        break;
      case anAfterCaption:
      case anAfterCaption2:
        x = f.CaptionRect.right + xc, y = yc;
        break;
      case anMenuBar: {
        // In the menu bar, inside its end cap: the right end, the left one for right-to-left.
        const TDataSkinObject* bar = FSkinner.FSkinData->Skin.MenuBar.get();
        bool capped = bar && !bar->Bitmap.Empty();
        y = f.TopHeight + (f.MenuHeight - h) / 2;
        // A bar whose items run from the right keeps the buttons clear of them at its left end.
        if (f.RightToLeft || (FMenuBar && FMenuBar->RightToLeft))
          x = r.Xcoord + f.LeftWidth + (capped ? bar->LeftWidth : 0);
        else
          x = f.WindowWidth - r.Xcoord - f.RightWidth - (capped ? bar->RightWidth : 0);
        break;
      }
      default:
        break;
    }
    b.BoundsRect = RECT{x, y, x + w, y + h};
  }
  return rightmostLeft;
}

int TCaptionButtons::LeftButtonsRight(const TCaptionButtonFrame& f) {
  int right = 0;
  for (int i = 0; i < SysButtonCount(); ++i) {
    TWinSysButton& b = *FSysButtons[static_cast<std::size_t>(i)];
    int frames = 1;
    const TBitmap* image = ButtonImage(b, frames);
    if (b.SkinButton->Align != anLeft || !IsSysButtonVisible(i, f) || image->Empty()) continue;
    right = std::max(right, FScale.Length(b.SkinButton->Xcoord) + image->Width() / frames);
  }
  return right;
}

void TCaptionButtons::PaintSysButtons(TBitmap& strip, bool active) {
  for (auto& b : FSysButtons) {
    int frames = 1;
    const TBitmap* image = ButtonImage(*b, frames);
    if (!b->Visible || image->Empty() || b->SkinButton->Visibility == bvMdiChildMaximized) continue;
    int frame = active || frames < TNCObject::stInactive ? TNCObject::stNormal : TNCObject::stInactive;
    DrawButtonFace(strip, b->BoundsRect, *image, frames, frame);
  }
}

void TCaptionButtons::PaintSysButton(TWinSysButton& b, int state) {
  int frames = 1;
  const TBitmap* image = ButtonImage(b, frames);
  POINT origin{};
  const TBitmap* back = ButtonBackground(b, origin);
  if (!b.Visible || image->Empty() || FSkinner.FStage != ssActive || !back || back->Empty()) return;
  if (b.SkinButton->Visibility == bvMdiChildMaximized && state == TNCObject::stHot)
    state = TNCObject::stInactive;
  int frame = IsIconAction(b.SkinButton->Action) ? 1 : std::min(state, frames);
  // Composed on the title bar as it was before any button was drawn, so transparent parts of
  // the new face do not show the old one.
  const RECT& r = b.BoundsRect;
  int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap face(w, h, pf24bit);
  face.CopyRect(0, 0, *back, r.left - origin.x, r.top - origin.y, w, h);
  DrawButtonFace(face, RECT{0, 0, w, h}, *image, frames, frame);
  TWindowDc window(FSkinner.Handle, true);
  DrawBitmap(window.Get(), r.left, r.top, face);
}

TWinSysButton* TCaptionButtons::SysButtonAt(POINT p) const {
  for (auto& b : FSysButtons)
    if (b->Visible && b->SkinButton->Action >= 0 && PtInRect(&b->BoundsRect, p)) return b.get();
  return nullptr;
}

void TCaptionButtons::BuildSystemMenu(std::uint8_t borderIcons) {
  FSystemMenu.Reset(CreatePopupMenu());
  auto add = [this](int tag, UINT flags) {
    AppendMenuA(FSystemMenu.Get(), flags | MF_OWNERDRAW, kMenuIdBase + static_cast<UINT>(tag),
                reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(tag)));
  };
  add(kRestore.Tag, MF_STRING);
  if (borderIcons & kIconMaximize) add(kMaximize.Tag, MF_STRING);
  if (borderIcons & kIconMinimize) add(kMinimize.Tag, MF_STRING);
  add(kSeparatorTag, MF_SEPARATOR);
  add(kClose.Tag, MF_STRING);
}

void TCaptionButtons::EnableSystemMenu(std::uint8_t windowState) {
  HMENU menu = FSystemMenu.Get();
  auto enable = [menu](int tag, bool on) {
    EnableMenuItem(menu, kMenuIdBase + static_cast<UINT>(tag), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(kRestore.Tag, windowState != swNormal);
  enable(kMaximize.Tag, windowState != swMaximized);
  enable(kMinimize.Tag, windowState != swMinimized);
}

bool TCaptionButtons::SecondOpening() {
  DWORD now = GetTickCount();
  if (static_cast<DWORD>(now - FLastMenuClick) <= FDoubleClickTime) {
    FLastMenuClick = 0;
    return true;
  }
  FLastMenuClick = now;
  return false;
}

int TCaptionButtons::SystemMenuTag(UINT command) {
  return command >= kMenuIdBase ? static_cast<int>(command - kMenuIdBase) : -1;
}

bool TCaptionButtons::MeasureItem(MEASUREITEMSTRUCT& mi) const {
  if (mi.CtlType != ODT_MENU || mi.itemID < kMenuIdBase || mi.itemID > kMenuIdBase + kSeparatorTag)
    return false;
  TMenuItemLook look = SystemMenuLook(static_cast<int>(mi.itemID - kMenuIdBase), *FSkinner.FSkinData);
  look.Dpi = FScale.Dpi;
  look.Scaled = FScaledImages.get();
  SIZE text = MeasureItemText(look);
  int w = text.cx, h = text.cy;
  MeasureSkinnedItem(*FSkinner.FSkinData, look, w, h);
  mi.itemWidth = static_cast<UINT>(w);
  mi.itemHeight = static_cast<UINT>(h);
  return true;
}

bool TCaptionButtons::DrawItem(const DRAWITEMSTRUCT& di) const {
  auto menu = reinterpret_cast<HMENU>(di.hwndItem);
  if (di.CtlType != ODT_MENU || !menu || menu != FSystemMenu.Get()) return false;
  TMenuItemLook look = SystemMenuLook(static_cast<int>(di.itemID - kMenuIdBase), *FSkinner.FSkinData);
  look.Enabled = !(di.itemState & (ODS_GRAYED | ODS_DISABLED));
  look.Dpi = FScale.Dpi;
  look.Scaled = FScaledImages.get();
  bool selected = (di.itemState & ODS_SELECTED) && !look.Separator();  // disabled ones too
  DrawSkinnedItem(di.hDC, di.rcItem, *FSkinner.FSkinData, look, selected, PopupBackgroundFor(menu, di.hDC));
  return true;
}

void TCaptionButtons::PaintMdiButtons(HDC dc, const RECT& bar) {
  for (auto& b : FSysButtons) {
    int frames = 1;
    const TBitmap* image = ButtonImage(*b, frames);
    if (b->SkinButton->Visibility != bvMdiChildMaximized || !b->Visible || image->Empty()) continue;
    RECT r = b->BoundsRect;
    OffsetRect(&r, -bar.left, -bar.top);
    DrawFrame(dc, r, *image, true, frames, TNCObject::stNormal);
  }
}

const TBitmap* TCaptionButtons::ButtonBackground(const TWinSysButton& b, POINT& origin) const {
  origin = POINT{0, 0};
  if (b.SkinButton->Visibility != bvMdiChildMaximized) return &FTitleBack;
  if (!FMenuBar) return nullptr;
  origin = POINT{FMenuBar->BarRect.left, FMenuBar->BarRect.top};
  return &FMenuBar->BarImage;
}
