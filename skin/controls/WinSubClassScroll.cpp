// The scroll-bar skinners: window scroll bars of scrolled controls (drawn over the system's
// after its non-client painting, and dragged by the skinner itself where it is asked to) and
// scroll bar controls.
#include "skin/controls/WinSubClassScroll.h"

#include <windowsx.h>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "framework/Messages.h"
#include "framework/ScrollCtrls.h"
#include "skin/paint/SkinDrawWin32.h"

DASKEL_DEFINE_CLASS(TSkinScrollBar, TSkinControl) {}
DASKEL_DEFINE_CLASS(TSkinScControl, TSkinControl) {}

namespace {

RECT ToRect(const TDrawRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

int ArrowLength() { return GetSystemMetrics(SM_CXHSCROLL); }

// The pressed part a scroll code shows: the arrow or the thumb being moved, none for the rest.
int PartOfScroll(int code, bool vertical) {
  switch (code) {
    case SB_LINEUP:
      return vertical ? spUpArrow : spLeftArrow;
    case SB_LINEDOWN:
      return vertical ? spDownArrow : spRightArrow;
    case SB_THUMBTRACK:
      return vertical ? spVertThumb : spHorzThumb;
    default:
      return spNone;
  }
}

}  // namespace

int MinimumThumbLength() {
  // The Windows 9x family (top bit of the version word) used half an arrow.
  return (GetVersion() & 0x80000000u) ? ArrowLength() / 2 : 8;
}

// ---- composing one bar

void TScrollBarPainter::Draw(const TSkinData& data, const TSkinAtScale& at, HDC dc, const RECT& r,
                             bool vertical, const TBarGeometry& g, int activePart) {
  const TSkinElements& s = data.Skin;
  int length = vertical ? r.bottom - r.top : r.right - r.left;
  int arrow = ArrowLength();
  // Above 96 DPI composed at the bar's own thickness, from images scaled for the DPI: nothing is
  // stretched across the bar.
  int thickness = vertical ? r.right - r.left : r.bottom - r.top;
  if (at.Scale().Unscaled() || thickness <= 0) thickness = kComposedBarThickness;
  TComposedBar c = ComposeBar(length, arrow, g, vertical, thickness);
  if (c.Width <= 0 || c.Height <= 0 || c.Width > 10000 || c.Height > 10000) return;
  const auto& track = vertical ? s.VertScroll : s.HorzScroll;
  const auto& thumb = vertical ? s.VertScrollThumb : s.HorzScrollThumb;
  const TBitmap& arrows = at.Image(s.Scrollbar->Bitmap, s.Scrollbar->Bitmap2x, TImageLayout{23, false, {}});
  const TBitmap* trackImage = HasImage(track.get()) && !c.Track.Inverted() ? &at.Element(*track, 4) : nullptr;
  const TBitmap* thumbImage =
      HasImage(thumb.get()) && c.ThumbShown ? &at.Element(*thumb, thumb->FrameCount) : nullptr;
  // Frames of the arrow strip: left 1, right 5, up 9, down 13; the next frame is the pressed one.
  const int first = (vertical ? 9 : 1) + (activePart == (vertical ? spUpArrow : spLeftArrow)),
            second = (vertical ? 13 : 5) + (activePart == (vertical ? spDownArrow : spRightArrow));
  const bool pressed = activePart == (vertical ? spVertThumb : spHorzThumb);
  // Both thumbs are transparent as the horizontal one says.
  const bool trans = s.HorzScrollThumb && s.HorzScrollThumb->Trans != 0;
  // A bar whose thumb has not moved (the other bar, a repaint) is one copy of the picture it had.
  TPictureKey key{c.Width, c.Height, vertical, first, second, pressed, trans};
  key.Add(ColorToRGB(s.ColourScrollbar)).Add(ImageId(arrows));
  for (const TDrawRect& part : {c.Track, c.First, c.Second, c.Thumb})
    key.Add(part.Left).Add(part.Top).Add(part.Right).Add(part.Bottom);
  key.Add(trackImage ? ImageId(*trackImage) : 0)
      .Add(trackImage && track->Tile)
      .Add(trackImage && track->Trans);
  key.Add(thumbImage ? ImageId(*thumbImage) : 0);
  const bool kept = picture_.Holds(key);
  if (!kept) {
    TBitmap& picture = picture_.Remake(key);
    if ((picture.Width() != c.Width || picture.Height() != c.Height) &&
        !picture.SetSize(c.Width, c.Height, pf24bit)) {
      picture_.Forget();
      return;
    }
    picture.Fill(ColorToRGB(s.ColourScrollbar));
  }
  TBitmapDC bdc(picture_.Picture(), dc);
  if (!bdc) {
    picture_.Forget();
    return;
  }
  if (!kept) {
    if (trackImage)
      DrawNineSlice(bdc.Get(), ToRect(c.Track), *trackImage, false, track->Tile != 0, track->Trans != 0, 4, 1,
                    at.ElementMargins(*track));
    DrawFrame(bdc.Get(), ToRect(c.First), arrows, true, 23, first);
    DrawFrame(bdc.Get(), ToRect(c.Second), arrows, true, 23, second);
    if (thumbImage)
      DrawNineSlice(bdc.Get(), ToRect(c.Thumb), *thumbImage, false, false, trans, thumb->FrameCount,
                    pressed ? 2 : 1, at.ElementMargins(*thumb));
  }
  int mode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bdc.Get(), 0, 0, c.Width, c.Height,
             SRCCOPY);
  SetStretchBltMode(dc, mode);
}

// ---- window scroll bars

TSkinScrollBar::~TSkinScrollBar() {
  if (FAlive) *FAlive = false;
  if (FTracking && FHandle && GetCapture() == FHandle) {
    FTracking = false;
    ReleaseCapture();
  }
}

void TSkinScrollBar::AttachScrollBars(TWinControl* control, TSkinData* data, bool trackThumb,
                                      TCanvas* canvas) {
  if (FAttached || !control) return;
  FSkinData = data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  control->FreeNotification(this);
  FOldWindowProc = control->WindowProc;
  control->WindowProc = TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc);
  if (Site()) Site()->AddIfAbsent(this);
  FEnabled = WindowEnabled();
  ReadCaption();
  FAttached = true;
  Begin(trackThumb);
}

void TSkinScrollBar::AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) {
  // A plain window's field is edged as its edits are, under any skin.
  FFieldEdge = true;
  TSkinControl::AttachHandle(wnd, data, canvas);
  if (FAttached) Begin(true);
}

void TSkinScrollBar::Begin(bool trackThumb) {
  FFocused = GetFocus() == FHandle;
  FTracking = FInHScroll = FInVScroll = false;
  FInfo[0].cbSize = FInfo[1].cbSize = sizeof(SCROLLINFO);
  FTrackThumb = trackThumb;
  // The non-client area is worked out and painted anew, now with the skinned bars.
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollBar::Detach() {
  if (FTracking) EndDrag(true);
  TSkinControl::Detach();
}

bool TSkinScrollBar::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      CallDefault(m);
      return false;
    case WM_NCMOUSEMOVE:
      // The system's hot look of a bar would be drawn over the skin.
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) return false;
      return true;
    case WM_NCLBUTTONDOWN:
      if (FTrackThumb && !FTracking && ThumbClick(m)) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Only the control's own bars: a child scroll bar control reports to its parent too.
      if (m.LParam != 0) return true;
      OnScroll(m, m.Msg == WM_VSCROLL);
      return false;
    case WM_CAPTURECHANGED:
      if (FTracking && reinterpret_cast<HWND>(m.LParam) != FHandle) EndDrag(false);
      return true;
    case WM_DESTROY:
      if (FTracking) EndDrag(true);
      return true;
    default:
      return true;
  }
}

void TSkinScrollBar::OnScroll(TMessage& m, bool vertical) {
  FActivePart = PartOfScroll(LOWORD(m.WParam), vertical);
  bool& in = vertical ? FInVScroll : FInHScroll;
  in = true;
  CallDefault(m);
  in = false;
  PaintNow(nullptr);
}

void TSkinScrollBar::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      PaintNow(nullptr);
      break;
    case WM_PRINT:
      PaintNow(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_PAINT:
      // The bars are not in the client area: a client paint leaves them as they are, unless the
      // control moved a bar while it painted (and the system drew its own bar then).
      if (!m.WParam && BarsMoved()) PaintNow(nullptr);
      break;
    case WM_NCLBUTTONDOWN:
      // The system's own arrow, page or thumb tracking has ended and drew its bar last.
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        FActivePart = spNone;
        PaintNow(nullptr);
      }
      break;
    default:
      TSkinControl::AfterDefault(m);
      break;
  }
}

void TSkinScrollBar::RefreshSkin() {
  FPainter[0].Forget();
  FPainter[1].Forget();
  TSkinControl::RefreshSkin();
}

bool TSkinScrollBar::BarsMoved() const {
  const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  for (int vertical = 0; vertical < 2; ++vertical) {
    if (!(style & (vertical ? WS_VSCROLL : WS_HSCROLL))) continue;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &si)) continue;
    const SCROLLINFO& drawn = FInfo[vertical];
    if (si.nMin != drawn.nMin || si.nMax != drawn.nMax || si.nPage != drawn.nPage || si.nPos != drawn.nPos)
      return true;
  }
  return false;
}

void TSkinScrollBar::Layout(int width, int height) {
  RECT client{};
  GetClientRect(FHandle, &client);
  TBarLayout l = LayoutBars(width, height, client.right, client.bottom, GetSystemMetrics(SM_CXHSCROLL),
                            GetSystemMetrics(SM_CXEDGE), (FStyle & WS_HSCROLL) != 0,
                            (FStyle & WS_VSCROLL) != 0, (FExStyle & WS_EX_LEFTSCROLLBAR) != 0);
  FHorzRect = ToRect(l.Horz);
  FVertRect = ToRect(l.Vert);
  FCornerRect = ToRect(l.Corner);
}

void TSkinScrollBar::UpdateGeometry(bool vertical, int length) {
  if (FTracking) return;  // the thumb stays where the mouse put it
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &si)) return;
  TScrollRange r{si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
  TBarGeometry g = FGeometry[vertical];
  if (!WindowBarGeometry(length, ArrowLength(), r, MinimumThumbLength(), GetSystemMetrics(SM_CXHTHUMB), g))
    return;
  FInfo[vertical] = si;
  FGeometry[vertical] = g;
}

void TSkinScrollBar::DrawBar(HDC dc, const RECT& r, bool vertical) {
  if (vertical ? FInVScroll : FInHScroll) return;  // drawn once the control has scrolled
  UpdateGeometry(vertical, vertical ? r.bottom - r.top : r.right - r.left);
  FPainter[vertical].Draw(*FSkinData, FAtScale, dc, r, vertical, FGeometry[vertical], FActivePart);
}

void TSkinScrollBar::DrawSkin(HDC dc, const RECT& r) {
  if (!FSkinData) return;
  FStyle = GetWindowLongPtrA(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  // Under a skin with content colours the system's white and grey sunken edge would ring a dark
  // field: the edge (or a plain border) is drawn as a skinned edit's is.
  if (FFieldEdge || FSkinData->Skin.ContentColours) {
    if (FExStyle & WS_EX_CLIENTEDGE)
      DrawFieldEdge(dc, r);
    else if (FStyle & WS_BORDER)
      DrawFieldEdge(dc, r, 1);
  }
  if (!HasImage(FSkinData->Skin.Scrollbar.get())) return;
  if (FInVScroll) FStyle |= WS_VSCROLL;
  if (FInHScroll) FStyle |= WS_HSCROLL;
  bool horz = (FStyle & WS_HSCROLL) != 0, vert = (FStyle & WS_VSCROLL) != 0;
  if ((!horz && !vert) || r.top > 10000 || r.left > 10000) return;
  Layout(r.right - r.left, r.bottom - r.top);
  if (!IsRectEmpty(&FHorzRect)) DrawBar(dc, FHorzRect, false);
  if (!IsRectEmpty(&FVertRect)) DrawBar(dc, FVertRect, true);
  if (horz && vert && !IsRectEmpty(&FCornerRect)) FillFace(dc, FCornerRect);
}

bool TSkinScrollBar::ThumbClick(const TMessage& m) {
  if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return false;
  bool vertical = m.WParam == HTVSCROLL;
  POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  POINT p = screen;
  ScreenToClient(FHandle, &p);
  // The geometry of what is on the screen now.
  RECT w{};
  if (!GetWindowRect(FHandle, &w)) return false;
  FStyle = GetWindowLongPtrA(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  Layout(w.right - w.left, w.bottom - w.top);
  const RECT& bar = vertical ? FVertRect : FHorzRect;
  UpdateGeometry(vertical, vertical ? bar.bottom - bar.top : bar.right - bar.left);
  // Client coordinates run along the bar from its start, whichever side the bar is on.
  if (HitBar(FGeometry[vertical], vertical ? p.y : p.x) != bhThumb) return false;
  FActivePart = vertical ? spVertThumb : spHorzThumb;
  PaintNow(nullptr);
  TrackLoop(vertical, screen);
  return true;
}

void TSkinScrollBar::TrackLoop(bool vertical, POINT start) {
  bool alive = true;
  FAlive = &alive;
  FTracking = true;
  FTrackPos = FInfo[vertical].nPos;
  const int startOffset = FGeometry[vertical].ThumbOffset;
  SetCapture(FHandle);
  // Waits for each message: the drag costs nothing while the mouse is still. It ends on the
  // button-up (anywhere: the mouse is captured), when the capture goes, on Esc, when the window
  // goes and on WM_QUIT, which is posted again for the loop outside.
  MSG msg{};
  while (alive && FTracking) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (!alive) return;
    if (got <= 0) {
      EndDrag(false);
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!FTracking) {
      // Ended while the message was being fetched; it still belongs to someone.
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      break;
    }
    switch (msg.message) {
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        EndDrag(false);
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          EndDrag(false);
          break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (alive && FTracking)
          MoveThumb(vertical, startOffset + (vertical ? msg.pt.y - start.y : msg.pt.x - start.x));
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        break;
    }
    if (!alive) return;
    // The capture can also go without a WM_CAPTURECHANGED reaching this window.
    if (FTracking && GetCapture() != FHandle) EndDrag(false);
  }
  FAlive = nullptr;
}

void TSkinScrollBar::MoveThumb(bool vertical, int offset) {
  SCROLLINFO& si = FInfo[vertical];
  TScrollRange r{si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
  TThumbDrag d = DragThumb(r, FGeometry[vertical], offset);
  if (d.Pos == FTrackPos) return;
  si.nPos = si.nTrackPos = d.Pos;
  FGeometry[vertical].ThumbOffset = d.Offset;
  SCROLLINFO pos{sizeof pos, SIF_POS, 0, 0, 0, d.Pos, 0};
  SetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &pos, FALSE);
  FTrackPos = d.Pos;
  SendMessageA(FHandle, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, d.Pos & 0xFFFF), 0);
}

void TSkinScrollBar::EndDrag(bool windowGoing) {
  if (!FTracking) return;
  FTracking = false;
  bool vertical = FActivePart == spVertThumb;
  UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
  if (GetCapture() == FHandle) ReleaseCapture();
  if (!FHandle || !IsWindow(FHandle)) return;
  SendMessageA(FHandle, msg, MAKEWPARAM(SB_THUMBPOSITION, FTrackPos & 0xFFFF), 0);
  if (windowGoing) {
    SendMessageA(FHandle, msg, SB_ENDSCROLL, 0);
    // Wakes the drag's loop should it be waiting for a message.
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
  } else {
    PostMessageA(FHandle, msg, SB_ENDSCROLL, 0);
  }
}

// ---- scroll bar controls

bool TSkinScControl::Vertical() const {
  if (auto* bar = dynamic_cast<TScrollBar*>(FControl)) return bar->Kind() == sbVertical;
  return FHandle && (GetWindowLongPtrA(FHandle, GWL_STYLE) & SBS_VERT) != 0;
}

void TSkinScControl::RefreshSkin() {
  FPainter.Forget();
  TSkinControl::RefreshSkin();
}

bool TSkinScControl::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      return !(m.WParam == HTHSCROLL || m.WParam == HTVSCROLL);
    case SBM_SETSCROLLINFO:
      CallDefault(m);
      PaintNow(nullptr);
      return false;
    case CN_HSCROLL:
    case CN_VSCROLL:
      FActivePart = PartOfScroll(LOWORD(m.WParam), m.Msg == CN_VSCROLL);
      CallDefault(m);
      PaintNow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& r) {
  if (!FSkinData || !HasImage(FSkinData->Skin.Scrollbar.get())) return;
  bool vertical = Vertical();
  TScrollRange range;
  if (auto* bar = dynamic_cast<TScrollBar*>(FControl)) {
    range = {bar->Min(), bar->Max(), bar->PageSize(), bar->Position()};
  } else {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(FHandle, SB_CTL, &si);
    range = {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
  }
  int length = vertical ? r.bottom - r.top : r.right - r.left;
  ControlBarGeometry(length, ArrowLength(), range, MinimumThumbLength(), GetSystemMetrics(SM_CXHTHUMB),
                     FGeometry);
  FPainter.Draw(*FSkinData, FAtScale, dc, r, vertical, FGeometry, FActivePart);
}
