#include "skin/manager/VuzUrezMenu.h"

#include "framework/Forms.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// Menu backgrounds by size and skin image, shared by the menu windows that show them: a menu
// opened again gets the same background, and the items' pictures, which name the background
// they were drawn over, are found again too.
TPictureShelf gBackgrounds(4);

}  // namespace

TVuzUrezPopMenu*& PendingPopup() {
  static TVuzUrezPopMenu* pending = nullptr;
  return pending;
}

void TVuzUrezPopMenu::Attach(HWND wnd, TSkinData* data, HMENU menu) {
  Handle = wnd;
  FSkinData = data;
  FMenu = menu;
  FSubclass.Attach<&TVuzUrezPopMenu::WndProc>(wnd, this);
}

void TVuzUrezPopMenu::Detach() {
  // A skinner that goes must not be handed a menu later.
  if (PendingPopup() == this) PendingPopup() = nullptr;
  if (!FSubclass.Attached()) return;
  FSubclass.Restore();
  FBackground.Clear();
  FBackgroundKey = TPictureKey{};
}

LRESULT TVuzUrezPopMenu::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) {
  // The saved procedure stays valid after Detach for the messages still on their way.
  TMessage m{msg, wp, lp, 0};
  FSubclass.CallPrevious(m);
  return m.Result;
}

void TVuzUrezPopMenu::WndProc(TMessage& m) {
  if (m.Msg == WM_SKINQUERY) {
    m.Result = 1;
    return;
  }
  TSkinManage* mgr = SkinManager();
  if (!mgr || !mgr->FSkinning) return FSubclass.CallPrevious(m);
  switch (m.Msg) {
    case WM_DESTROY:
      Detach();
      FSubclass.CallPrevious(m);
      return;
    case WM_NCPAINT:
      m.Result = PaintBorder(m.Msg, m.WParam, m.LParam);
      return;
    case WM_PAINT:
      m.Result = PaintClient(m.Msg, m.WParam, m.LParam);
      return;
    case WM_PRINT:
      m.Result = PrintMenu(m.Msg, m.WParam, m.LParam);
      return;
    default:
      FSubclass.CallPrevious(m);
  }
}

bool TVuzUrezPopMenu::CanPaint() const {
  if (!FSkinData || FSkinData->NoSkin()) return false;
  const TDataSkinObject* back = FSkinData->Skin.MenuBackground.get();
  return back && !back->Bitmap.Empty();
}

bool TVuzUrezPopMenu::HasOwnFrame() const {
  RECT wr{}, cr{};
  if (!GetWindowRect(Handle, &wr) || !GetClientRect(Handle, &cr)) return false;
  return (wr.right - wr.left) > cr.right || (wr.bottom - wr.top) > cr.bottom;
}

POINT TVuzUrezPopMenu::ClientOffset() const {
  RECT wr{};
  POINT origin{0, 0};
  if (!GetWindowRect(Handle, &wr) || !ClientToScreen(Handle, &origin)) return POINT{kBorder, kBorder};
  return POINT{origin.x - wr.left, origin.y - wr.top};
}

bool TVuzUrezPopMenu::BuildBackground(int& w, int& h) {
  RECT wr{};
  if (!GetWindowRect(Handle, &wr)) return false;
  w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return false;
  const TDataSkinObject& e = *FSkinData->Skin.MenuBackground;
  FAtScale.Follow(FSkinData->Skin, WindowDpi(Handle));
  // Built once for the window's size: a menu's paints and prints after that copy it.
  TPictureKey key{w, h, ImageId(e.Bitmap), e.Tile, FAtScale.Scale().Dpi};
  if (!(key == FBackgroundKey) || FBackground.Empty()) {
    if (!gBackgrounds.Find(key, FBackground)) {
      FBackground = BuildNineSlice({0, 0, w, h}, FAtScale.Element(e, 1), FAtScale.ElementMargins(e), false,
                                   e.Tile == 1, 1, 1);
      gBackgrounds.Keep(key, FBackground);
    }
    FBackgroundKey = key;
  }
  if (!FMenu) PendingPopup() = this;
  return !FBackground.Empty();
}

void TVuzUrezPopMenu::PaintRing(HDC dc, int w, int h) const {
  TBitmapDC src(FBackground, dc);
  if (!src) return;
  const int b = kBorder;
  BitBlt(dc, 0, 0, w, b, src.Get(), 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - b, w, b, src.Get(), 0, h - b, SRCCOPY);
  BitBlt(dc, 0, b, b, h - 2 * b, src.Get(), 0, b, SRCCOPY);
  BitBlt(dc, w - b, b, b, h - 2 * b, src.Get(), w - b, b, SRCCOPY);
}

LRESULT TVuzUrezPopMenu::PaintBorder(UINT msg, WPARAM wp, LPARAM lp) {
  if (!CanPaint()) return CallPrevious(msg, wp, lp);
  int w = 0, h = 0;
  if (!BuildBackground(w, h)) return 0;
  TWindowDc dc(Handle, true);
  if (dc.Get()) PaintRing(dc.Get(), w, h);
  // Not passed on: the system would draw its own border over the ring.
  return 0;
}

LRESULT TVuzUrezPopMenu::PaintClient(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = CallPrevious(msg, wp, lp);
  // Without a frame of its own the system has just drawn its border inside the client area.
  if (!CanPaint() || HasOwnFrame()) return r;
  int w = 0, h = 0;
  if (!BuildBackground(w, h)) return r;
  TWindowDc dc(Handle, true);
  if (dc.Get()) PaintRing(dc.Get(), w, h);
  return r;
}

LRESULT TVuzUrezPopMenu::PrintMenu(UINT msg, WPARAM wp, LPARAM lp) {
  if (!CanPaint()) return CallPrevious(msg, wp, lp);
  if (!FMenu) PendingPopup() = this;
  RECT wr{};
  if (!GetWindowRect(Handle, &wr)) return CallPrevious(msg, wp, lp);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  auto dc = reinterpret_cast<HDC>(wp);
  TGdiRegion inner(CreateRectRgn(kBorder, kBorder, w - kBorder, h - kBorder));
  if (!BuildBackground(w, h)) return CallPrevious(msg, wp, lp);
  DrawBitmap(dc, 0, 0, FBackground);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  SelectClipRgn(dc, inner.Get());
  LRESULT r = CallPrevious(msg, wp, lp);
  SelectClipRgn(dc, nullptr);
  SetBkMode(dc, oldMode);
  return r;
}
