#include "skin/controls/WinSubClassEdits.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// One-pixel frame in a colour, with the DC's own colour brush (no brush is made per paint).
void FrameWith(HDC dc, const RECT& r, TColor colour) {
  COLORREF old = SetDCBrushColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

RECT Shrunk(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

bool IsSpinButton(HWND wnd) {
  char name[101] = {};
  GetClassNameA(wnd, name, 100);
  return std::strcmp(name, "msctls_updown32") == 0 || std::strcmp(name, "TSpinButton") == 0;
}

// Combo states, the same frame in every combo image: 1 normal, 2 pressed, 3 disabled, 4 hot or
// focused.
int ComboState(std::uint8_t state, bool focused, bool enabled) {
  if (state & kSkinPressed) return 2;
  if (focused || (state & kSkinHot)) return 4;
  return enabled ? 1 : 3;
}

}  // namespace

// ---- edits

DASKEL_DEFINE_CLASS(TSkinEdit, TSkinControl) {}

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

void TSkinEdit::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  AttachUnbuffered(control, data, recolour, canvas);
}

void TSkinEdit::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op == opRemove && c == FUpDown) FUpDown = nullptr;
}

void TSkinEdit::FrameThickness(int& thinnest, int& thickest) const {
  RECT wr{}, cr{};
  POINT origin{0, 0};
  thinnest = thickest = 0;
  if (!GetWindowRect(FHandle, &wr) || !GetClientRect(FHandle, &cr) || !ClientToScreen(FHandle, &origin))
    return;
  const int sides[4] = {origin.x - wr.left, origin.y - wr.top, wr.right - (origin.x + cr.right),
                        wr.bottom - (origin.y + cr.bottom)};
  thinnest = *std::min_element(sides, sides + 4);
  thickest = *std::max_element(sides, sides + 4);
}

bool TSkinEdit::BeforeDefault(TMessage& m) {
  if (m.Msg != WM_NCPAINT || (GetWindowLongPtrA(FHandle, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL | WS_CAPTION)))
    return true;
  // A frame of exactly the skin's two rings: they cover all of it, and the system's own edge,
  // drawn first only to be drawn over, is left out.
  int thinnest = 0, thickest = 0;
  FrameThickness(thinnest, thickest);
  if (thinnest != 2 || thickest != 2) return true;
  PaintNow(nullptr);
  m.Result = 0;
  return false;
}

void TSkinEdit::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      // With a DC given the edit paints its client area somewhere else: the border is not there.
      // A frame as thick as the skin's rings is out of the client paint's reach: the edge is
      // drawn here only until the first frame paint has drawn it (a client paint comes alone
      // after attach and after a new skin).
      int thinnest = 0, thickest = 0;
      if (!m.WParam) FrameThickness(thinnest, thickest);
      if (!m.WParam && (thinnest < 2 || !FEdgeShown)) PaintNow(nullptr);
      return;
    }
    case WM_NCPAINT:
      // The edit has just drawn its own sunken border again.
      PaintNow(nullptr);
      return;
    case WM_PRINT:
      PrintBorder(reinterpret_cast<HDC>(m.WParam));
      return;
    default:
      TSkinControl::AfterDefault(m);
  }
}

void TSkinEdit::FindSpinButton() {
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsSpinButton(child)) continue;
    // Owned like every skinner by the form skinner; without one the edit's skinner keeps it.
    auto* upDown = new TSkinUpDown(Owner() ? Owner() : this);
    upDown->FInEdit = true;
    upDown->AttachHandle(child, FSkinData, FCanvas);
    FUpDown = upDown;
    // It has painted itself already: let it paint again, skinned.
    InvalidateRect(child, nullptr, TRUE);
    if (Owner()) FreeNotification(upDown);
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& r) {
  if (!FUpDown) FindSpinButton();
  if (!dc || !FSkinData) return;
  RECT client{}, window{};
  GetClientRect(FHandle, &client);
  GetWindowRect(FHandle, &window);
  if (client.right == window.right - window.left || client.bottom == window.bottom - window.top) return;
  DrawFieldEdge(dc, r);
  FEdgeShown = true;
}

void TSkinEdit::RefreshSkin() {
  FEdgeShown = false;
  TSkinControl::RefreshSkin();
}

void TSkinEdit::PrintBorder(HDC dc) {
  RECT r{}, client{};
  if (!FHandle || !GetWindowRect(FHandle, &r) || !FSkinData) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  GetClientRect(FHandle, &client);
  if (client.right + 2 >= r.right || client.bottom + 2 >= r.bottom) return;
  TWindowDc own(dc ? nullptr : FHandle, true);
  HDC target = dc ? dc : own.Get();
  if (!target) return;
  // The inner ring in the colour the printing DC is set up with, the outer one in the shadow.
  RECT inner = Shrunk(r, 1);
  FrameRect(target, &inner, static_cast<HBRUSH>(GetCurrentObject(target, OBJ_BRUSH)));
  FrameWith(target, r, FSkinData->Skin.ColourButtonShadow);
}

// ---- combo boxes

DASKEL_DEFINE_CLASS(TSkinComBox, TSkinControl) {}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinComBox::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  AttachUnbuffered(control, data, recolour, canvas);
}

bool TSkinComBox::ButtonOnTheLeft() const {
  const TDataSkinBorder* button = FSkinData ? FSkinData->Skin.ComboButton.get() : nullptr;
  return HasImage(button) && button->Style != 1 && HasImage(FSkinData->Skin.SunkEdge.get()) &&
         IsComboBoxWindow() && (GetWindowLongPtrA(FHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
}

bool TSkinComBox::BeforeDefault(TMessage& m) {
  if (PaintOverOwn(m)) return false;
  // A press on the skin's button on the left is a press on the system's button on the right.
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && ButtonOnTheLeft()) {
    const int b = SystemMetricForDpi(SM_CXHSCROLL, FAtScale.Scale().Dpi);
    RECT client{};
    GetClientRect(FHandle, &client);
    if (static_cast<short>(LOWORD(m.LParam)) < b + 2)
      m.LParam = MAKELPARAM(client.right - b / 2 - 2, HIWORD(m.LParam));
  }
  return true;
}

void TSkinComBox::KeepEditRightOf(int b) {
  RECT client{}, at{};
  HWND edit = EditPart(&at);
  if (!edit) return;
  GetClientRect(FHandle, &client);
  const int left = b + 4, right = client.right - 3;
  if (at.left != left || at.right != right)
    SetWindowPos(edit, nullptr, left, at.top, right - left, at.bottom - at.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH TSkinComBox::FieldBrush(HDC dc, HWND part) const {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(GetParent(FHandle), FEnabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                   reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(part)));
  return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
}

HWND TSkinComBox::EditPart(RECT* at) const {
  HWND edit = GetWindow(FHandle, GW_CHILD);
  while (edit && !SameText(WindowClassName(edit), "Edit")) edit = GetWindow(edit, GW_HWNDNEXT);
  if (edit && at) {
    GetWindowRect(edit, at);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(at), 2);
  }
  return edit;
}

void TSkinComBox::DrawEditGround(HDC dc, const RECT& r, RECT area) {
  // The system rings its edit in the window colour whatever the edit's own ground is: the
  // field around the edit takes the edit's ground.
  RECT at{};
  HWND edit = EditPart(&at);
  if (!edit) return;
  OffsetRect(&at, r.left, r.top);
  OffsetRect(&area, r.left, r.top);
  int saved = SaveDC(dc);
  HBRUSH brush = FieldBrush(dc, edit);
  ExcludeClipRect(dc, at.left, at.top, at.right, at.bottom);
  FillRect(dc, &area, brush);
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawSimpleFrame(HDC dc, const RECT& r) {
  // The edit part is framed as a skinned edit is (a ring in the skin's shadow, the edit's ground
  // inside it), over the system's sunken edge and its ring in the window colour.
  RECT at{};
  if (!EditPart(&at)) return;
  RECT frame = Shrunk(at, -3);
  DrawEditGround(dc, r, Shrunk(frame, 1));
  OffsetRect(&frame, r.left, r.top);
  FrameWith(dc, frame, FSkinData->Skin.ColourButtonShadow);
  // The window may be taller than its edit and its list of whole items: the ground left around
  // them (the system leaves it in its own face, or unpainted) is the skin's face.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  RECT list{};
  if (!GetComboBoxInfo(FHandle, &info) || !info.hwndList || !GetWindowRect(info.hwndList, &list)) return;
  MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&list), 2);
  OffsetRect(&list, r.left, r.top);
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
  ExcludeClipRect(dc, list.left, list.top, list.right, list.bottom);
  FillFace(dc, r);
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawListText(HDC dc, const RECT& area) {
  // As the combo draws its text: the colours its parent gives, the selection's when focused.
  int saved = SaveDC(dc);
  FillRect(dc, &area, FieldBrush(dc, FHandle));
  if (!FEnabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  std::wstring text;
  const LRESULT sel = SendMessageW(FHandle, CB_GETCURSEL, 0, 0);
  const LRESULT len = sel >= 0 ? SendMessageW(FHandle, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0) : -1;
  if (len > 0) {
    text.resize(static_cast<std::size_t>(len) + 1);
    SendMessageW(FHandle, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
  }
  RECT field = Shrunk(area, 1);
  const bool dropped = SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
  if (FFocused && !dropped) {
    FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  }
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  RECT t{field.left + 2, field.top, field.right, field.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (FFocused && !dropped) DrawFocusRect(dc, &field);
  RestoreDC(dc, saved);
}

void TSkinComBox::Detach() {
  const bool left = FAttached && IsWindow(FHandle) && ButtonOnTheLeft();
  TSkinControl::Detach();
  // The system lays the combo out again (its own button, its edit) on an item-height change.
  if (left && !TearingDown())
    SendMessageA(FHandle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                 SendMessageA(FHandle, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
}

void TSkinComBox::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState |= kSkinPressed;
      PaintNow(nullptr);
      return;
    case WM_LBUTTONUP:
      FState &= static_cast<std::uint8_t>(~kSkinPressed);
      PaintNow(nullptr);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (WindowEnabled()) {
        if (m.Msg == CM_MOUSEENTER)
          FState |= kSkinHot;
        else
          FState &= static_cast<std::uint8_t>(~kSkinHot);
        PaintNow(nullptr);
      }
      return;
    default:
      TSkinControl::AfterDefault(m);
  }
}

bool TSkinComBox::IsComboBoxWindow() const {
  if (FControl) return dynamic_cast<TCustomComboBox*>(FControl) != nullptr;
  return SameText(WindowClassName(FHandle), "combobox");
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& r) {
  if (!dc || !FSkinData) return;
  const TDataSkinBorder* button = FSkinData->Skin.ComboButton.get();
  if (!button || button->Bitmap.Empty()) return;
  FStyle = GetWindowLongPtrA(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
  // A simple combo box has no button, and its list takes most of the window. Only a combo box's
  // low style bits say so: other windows served here (edits, date-time pickers) use them for
  // their own things.
  if (IsComboBoxWindow() && (FStyle & 3) == CBS_SIMPLE) {
    FEnabled = (FStyle & WS_DISABLED) == 0;
    DrawSimpleFrame(dc, r);
    return;
  }
  if (button->Style == 1) {
    DrawFlat(dc, r);
    return;
  }
  const TDataSkinObject* edge = FSkinData->Skin.SunkEdge.get();
  if (!edge || edge->Bitmap.Empty()) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  FFocused = FOwnFocus;
  FEnabled = (FStyle & WS_DISABLED) == 0;
  const int state = ComboState(FState, FFocused, FEnabled);
  const int b = SystemMetricForDpi(SM_CXHSCROLL, FAtScale.Scale().Dpi);
  const bool left = (FExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  RECT text = left ? RECT{b + 4, 2, w - 2, h - 2} : RECT{2, 2, w - b - 4, h - 2};
  RECT face = left ? RECT{0, 0, b + 2, h} : RECT{w - b - 2, 0, w, h};
  RECT glyphArea = left ? RECT{2, 0, b + 2, h} : RECT{w - b - 2, 0, w - 2, h};
  const TDataSkinObject* extra = FSkinData->Skin.ExtraImages.get();
  if (extra && extra->Bitmap.Empty()) extra = nullptr;
  const TBitmap& image = left ? button->Bitmap2 : button->Bitmap;
  TPictureCache::TKey key{state,
                          w,
                          h,
                          b | (left ? 0x10000 : 0),
                          ImageId(edge->Bitmap),
                          ImageId(image),
                          extra ? ImageId(extra->Bitmap) : 0,
                          edge->Trans,
                          FAtScale.Scale().Dpi};
  if (!FPicture.Holds(key))
    Compose(FPicture.Remake(key), SIZE{w, h}, *edge, *button, extra, state, left, face, glyphArea);
  const LONG_PTR type = FStyle & 3;
  if (type == CBS_DROPDOWN && IsComboBoxWindow()) {
    if (left) KeepEditRightOf(b);
    DrawEditGround(dc, r, text);
  }
  // The combo draws its text from the left edge, under a button on the left, and a disabled one
  // on the system's face whatever ground its parent gives: the text is drawn again over it.
  if (type == CBS_DROPDOWNLIST && !(FStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) &&
      (left || (!FEnabled && IsComboBoxWindow())))
    DrawListText(dc, RECT{r.left + text.left, r.top + text.top, r.left + text.right, r.top + text.bottom});
  // The text area is the combo's own: only the frame ring and the button reach the screen.
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, r.left + text.left, r.top + text.top, r.left + text.right, r.top + text.bottom);
  if (edge->Trans == 1)
    DrawBitmapTransparent(dc, r.left, r.top, w, h, FPicture.Picture(), SkinKeyColor);
  else
    DrawBitmap(dc, r.left, r.top, FPicture.Picture());
  RestoreDC(dc, saved);
}

void TSkinComBox::Compose(TBitmap& picture, SIZE size, const TDataSkinObject& edge,
                          const TDataSkinBorder& button, const TDataSkinObject* extra, int state, bool left,
                          const RECT& face, const RECT& glyphArea) {
  picture.SetSize(size.cx, size.cy, pf24bit);
  TDrawRect whole{0, 0, size.cx, size.cy};
  DrawNineSlice(picture, whole, FAtScale.Element(edge, 4), FAtScale.ElementMargins(edge), false,
                edge.Tile != 0, 4, state);
  // The mirrored copy holds the frames in reverse order.
  const int count = button.Frames(4);
  TDrawRect f = ToDrawRect(face);
  const TBitmap& image =
      left ? FAtScale.Image(button.Bitmap2, button.Bitmap2_2x, TImageLayout{count, false, {}})
           : FAtScale.Image(button.Bitmap, button.Bitmap2x, TImageLayout{count, false, {}});
  TBitmap built = BuildFrame({0, 0, f.Width(), f.Height()}, image, count, left ? count - state + 1 : state);
  DrawTransparent(picture, f, built, SkinKeyColor);
  if (!extra) return;
  const int frames = extra->Frames(5);
  const TBitmap& glyphs = FAtScale.Image(extra->Bitmap, extra->Bitmap2x, TImageLayout{frames, false, {}});
  const int gw = glyphs.Width() / frames, gh = glyphs.Height();
  const int gx = glyphArea.left + ((glyphArea.right - glyphArea.left) - gw) / 2;
  const int gy = glyphArea.top + ((glyphArea.bottom - glyphArea.top) - gh) / 2;
  TBitmap glyph = BuildFrame({0, 0, gw, gh}, glyphs, frames, state);
  DrawTransparent(picture, TDrawRect{gx, gy, gx + gw, gy + gh}, glyph, SkinKeyColor);
}

void TSkinComBox::RefreshSkin() {
  FPicture.Clear();
  TSkinControl::RefreshSkin();
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& r) {
  const TDataSkinBorder& button = *FSkinData->Skin.ComboButton;
  FFocused = FOwnFocus;
  FEnabled = (FStyle & WS_DISABLED) == 0;
  const int state = ComboState(FState, FFocused, FEnabled);
  // The inner ring and the button's ground in the colour the DC is set up with.
  HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT ring = Shrunk(r, 1);
  FrameRect(dc, &ring, current);
  RECT area = Shrunk(ring, 1);
  area.left = area.right - SystemMetricForDpi(SM_CYVTHUMB, FAtScale.Scale().Dpi);
  FillRect(dc, &area, current);
  const int count = button.Frames(4);
  DrawFrameStretched(dc, area, count, state,
                     FAtScale.Image(button.Bitmap, button.Bitmap2x, TImageLayout{count, false, {}}));
  FrameWith(dc, r, FSkinData->Skin.ColourButtonShadow);
}
