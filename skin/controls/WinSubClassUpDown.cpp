#include "skin/controls/WinSubClassUpDown.h"

#include <commctrl.h>

#include "framework/Messages.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// Arrow states, the frame within each arrow's four: 1 normal, 2 pressed, 3 disabled, 4 hot.
constexpr int kNormal = 1, kPressed = 2, kDisabled = 3, kHot = 4;

// The drawn arrow when the skin has no up-down image: a small solid triangle pointing along
// dir (0 left, 1 right, 2 up, 3 down), centred in r (up and down two pixels above the centre).
void DrawFallbackArrow(HDC dc, const RECT& r, int dir, const TSkinElements& skin, bool shaded) {
  TGdiPen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(skin.ColourButtonDkShadow))));
  TGdiBrush face(CreateSolidBrush(
      static_cast<COLORREF>(ColorToRGB(shaded ? skin.ColourButtonShadow : skin.ColourButtonFace))));
  TGdiBrush ink(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(skin.ColourButtonDkShadow))));
  TSelectObject selPen(dc, pen.Get());
  {
    TSelectObject selBrush(dc, face.Get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2 - (dir >= 2 ? 2 : 0);
  const int s = 2;
  POINT p[3];
  switch (dir) {
    case 0:
      p[0] = {cx - s, cy}, p[1] = {cx + s - 1, cy - s}, p[2] = {cx + s - 1, cy + s};
      break;
    case 1:
      p[0] = {cx + s - 1, cy}, p[1] = {cx - s, cy - s}, p[2] = {cx - s, cy + s};
      break;
    case 2:
      p[0] = {cx, cy}, p[1] = {cx - s, cy + s}, p[2] = {cx + s, cy + s};
      break;
    default:
      p[0] = {cx, cy + s}, p[1] = {cx - s, cy}, p[2] = {cx + s, cy};
      break;
  }
  TSelectObject selInk(dc, ink.Get());
  Polygon(dc, p, 3);
}

}  // namespace

DASKEL_DEFINE_CLASS(TSkinUpDown, TSkinControl) {}

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

bool TSkinUpDown::BeforeDefault(TMessage& m) {
  if (PaintWhole(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The arrow pressed is the one the press came on, wherever the cursor is reported later.
      FPressedArrow = ArrowAt(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
      // The control handles the click and its repeat first.
      CallDefault(m);
      FState |= kSkinPressed;
      PaintNow(nullptr);
      return false;
    case WM_LBUTTONUP:
      FState &= static_cast<std::uint8_t>(~kSkinPressed);
      CallDefault(m);
      PaintNow(nullptr);
      return false;
    case WM_MOUSEMOVE: {
      // The hot look follows the arrow under the mouse; a plain window is told when it leaves.
      if (!(FState & kSkinHot) && !FControl) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&t);
      }
      int arrow = ArrowAt(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam)));
      bool changed = !(FState & kSkinHot) || arrow != FHotArrow;
      FState |= kSkinHot;
      FHotArrow = arrow;
      CallDefault(m);
      if (changed) PaintNow(nullptr);
      return false;
    }
    case CM_MOUSEENTER:
      FState |= kSkinHot;
      PaintNow(nullptr);
      return true;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      FState &= static_cast<std::uint8_t>(~kSkinHot);
      PaintNow(nullptr);
      return true;
    default:
      return true;
  }
}

bool TSkinUpDown::Horizontal() const {
  return FHorizontal || (GetWindowLongPtrA(FHandle, GWL_STYLE) & UDS_HORZ) != 0;
}

int TSkinUpDown::ArrowAt(int x, int y) const {
  RECT c{};
  GetClientRect(FHandle, &c);
  if (FInEdit) InflateRect(&c, -1, -1);
  return Horizontal() ? (x < c.left + (c.right - c.left) / 2 ? 0 : 1)
                      : (y < c.top + (c.bottom - c.top) / 2 ? 0 : 1);
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& r) {
  if (!dc || !FSkinData || !FHandle) return;
  RECT c{};
  GetClientRect(FHandle, &c);
  if (FInEdit) InflateRect(&c, -1, -1);
  if (c.right <= 0 || c.bottom <= 0) return;
  // Which arrow is under the pointer matters only to a hot control (asking the system where the
  // pointer is costs a trip to the display server).
  POINT cursor{-1, -1};
  if ((FState & kSkinHot) && !(FState & kSkinPressed)) {
    GetCursorPos(&cursor);
    ScreenToClient(FHandle, &cursor);
  }
  FEnabled = WindowEnabled();
  const bool horizontal = Horizontal();
  const int half = horizontal ? (c.right - c.left) / 2 : (c.bottom - c.top) / 2;
  RECT first = c, second = c;
  if (horizontal)
    first.right = second.left = c.left + half;
  else
    first.bottom = second.top = c.top + half;
  const int at = horizontal ? cursor.x : cursor.y;
  const int boundary = horizontal ? first.right : first.bottom;
  auto stateOf = [&](int arrow, bool underCursor) {
    if (!FEnabled) return kDisabled;
    if (FState & kSkinPressed) return arrow == FPressedArrow ? kPressed : kNormal;
    if (!underCursor) return kNormal;
    return (FState & kSkinHot) ? kHot : kNormal;
  };
  const int firstState = stateOf(0, at < boundary), secondState = stateOf(1, at >= boundary);
  const TDataSkinBorder* e = horizontal ? FSkinData->Skin.UpDownHorz.get() : FSkinData->Skin.UpDownVert.get();
  if (e && (e->Bitmap.Empty() || e->Bitmap2.Empty())) e = nullptr;
  const TColor face = ColorToRGB(FSkinData->Skin.ColourButtonFace);
  TPictureCache::TKey key{firstState,
                          secondState,
                          c.right,
                          c.bottom,
                          (horizontal ? 1 : 0) | (FInEdit ? 2 : 0),
                          e ? ImageId(e->Bitmap) : 0,
                          e ? ImageId(e->Bitmap2) : 0,
                          face,
                          FAtScale.Scale().Dpi};
  if (!FPicture.Holds(key)) {
    // Composed at the client's size; only its top-left part (up to C's right and bottom) is shown.
    TBitmap& picture = FPicture.Remake(key);
    picture.SetSize(c.right, c.bottom, pf24bit);
    picture.Fill(face);
    if (e) {
      // Both strips of eight frames at the control's DPI: the button faces stretch to the
      // arrows, the glyphs keep their (scaled) size.
      const TBitmap& faces = FAtScale.Image(e->Bitmap, e->Bitmap2x, TImageLayout{8, false, {}});
      const TBitmap& glyphs = FAtScale.Image(e->Bitmap2, e->Bitmap2_2x, TImageLayout{8, false, {}});
      const int gw = glyphs.Width() / 8, gh = glyphs.Height();
      for (int i = 0; i < 2; ++i) {
        TDrawRect a = ToDrawRect(i == 0 ? first : second);
        const int k = i == 0 ? firstState : secondState + 4;
        DrawTransparent(picture, a, BuildFrame({0, 0, a.Width(), a.Height()}, faces, 8, k), SkinKeyColor);
        const int gx = a.Left + (a.Width() - gw) / 2, gy = a.Top + (a.Height() - gh) / 2;
        DrawTransparent(picture, {gx, gy, gx + gw, gy + gh}, BuildFrame({0, 0, gw, gh}, glyphs, 8, k),
                        SkinKeyColor);
      }
    } else {
      TBitmapDC pdc(picture, dc);
      if (!pdc) {
        FPicture.Clear();
        return;
      }
      DrawFallbackArrow(pdc.Get(), first, horizontal ? 0 : 2, FSkinData->Skin,
                        firstState == kPressed || firstState == kHot);
      DrawFallbackArrow(pdc.Get(), second, horizontal ? 1 : 3, FSkinData->Skin,
                        secondState == kPressed || secondState == kHot);
    }
  }
  DrawBitmap(dc, r.left, r.top, FPicture.Picture());
}

void TSkinUpDown::RefreshSkin() {
  FPicture.Clear();
  TSkinControl::RefreshSkin();
}
