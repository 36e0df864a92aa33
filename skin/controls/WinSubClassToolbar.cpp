#include "skin/controls/WinSubClassToolbar.h"

#include <commctrl.h>

#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// The frames of the "Toolbars" element: the ground, a pressed (or checked) button, and a button
// under the mouse.
constexpr int kBarFrames = 5, kGroundFrame = 0, kPressedFrame = 1, kHotFrame = 3;

const TDataSkinObject* BarElement(const TSkinData& data) {
  const TDataSkinObject* e = data.Skin.Toolbars.get();
  return HasImage(e) ? e : nullptr;
}

void DrawBarFrame(HDC dc, const RECT& r, const TDataSkinObject& e, int frame, const TSkinAtScale& at) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const int frames = e.Frames(kBarFrames);
  DrawNineSlice(dc, r, at.Element(e, frames), false, e.Tile != 0, false, frames, frame, at.ElementMargins(e));
}

void FillColour(HDC dc, const RECT& r, TColor c) {
  COLORREF old = SetDCBrushColor(dc, static_cast<COLORREF>(ColorToRGB(c)));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

}  // namespace

void DrawBarGround(HDC dc, const RECT& r, const TSkinData& data, const TSkinAtScale& at) {
  if (const TDataSkinObject* e = BarElement(data)) {
    DrawBarFrame(dc, r, *e, kGroundFrame, at);
    return;
  }
  FillColour(dc, r, data.Skin.ColourButtonFace);
}

LRESULT ToolbarTextColours(NMHDR* hdr, LRESULT given, const TSkinData& data) {
  if (!hdr || hdr->code != NM_CUSTOMDRAW || given != CDRF_DODEFAULT ||
      WindowClassName(hdr->hwndFrom) != TOOLBARCLASSNAMEA)
    return given;
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(hdr);
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
    draw->clrText =
        static_cast<COLORREF>(ColorToRGB(ReadableOn(data.Skin.ColourButtonText, data.Skin.ColourButtonFace)));
  return given;
}

// ---- tool bar

DASKEL_DEFINE_CLASS(TSkinToolbar, TSkinControl) {}

TSkinToolbar::TSkinToolbar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinToolbar::BeforeDefault(TMessage& m) { return !PaintWhole(m); }

void TSkinToolbar::DrawButton(HDC dc, int index, int hot) {
  TBBUTTON b{};
  RECT r{};
  if (!SendMessageW(FHandle, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&b)) ||
      (b.fsState & TBSTATE_HIDDEN) ||
      !SendMessageW(FHandle, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
    return;
  const TSkinElements& skin = FSkinData->Skin;
  if (b.fsStyle & BTNS_SEP) {
    // A separator between buttons: a thin line down its middle.
    const int x = (r.left + r.right) / 2;
    FillColour(dc, RECT{x, r.top + 3, x + 1, r.bottom - 3}, skin.ColourButtonShadow);
    return;
  }
  const bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
  const bool down = enabled && (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED));
  if (down || (enabled && index == hot)) {
    if (const TDataSkinObject* e = BarElement(*FSkinData)) {
      DrawBarFrame(dc, r, *e, down ? kPressedFrame : kHotFrame, FAtScale);
    } else {
      TGdiBrush edge(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(skin.ColourButtonShadow))));
      FrameRect(dc, &r, edge.Get());
    }
  }
}

void TSkinToolbar::DrawSkin(HDC dc, const RECT& r) {
  if (!dc || !FSkinData) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap* scratch = ScratchAtLeast(w, h);
  if (!scratch) return;
  {
    TBitmapDC picture(*scratch, dc);
    if (!picture) return;
    DrawBarGround(picture.Get(), RECT{0, 0, w, h}, *FSkinData, FAtScale);
    const int hot = static_cast<int>(SendMessageW(FHandle, TB_GETHOTITEM, 0, 0));
    const int count = static_cast<int>(SendMessageW(FHandle, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) DrawButton(picture.Get(), i, hot);
    // The bar's own images, texts and arrows on the skin's ground: it knows its image lists and
    // its layout best.
    TMessage own{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Get()), PRF_CLIENT, 0};
    CallDefault(own);
  }
  CopyScratch(dc, r);
}

// ---- rebar

DASKEL_DEFINE_CLASS(TSkinRebar, TSkinControl) {}

TSkinRebar::TSkinRebar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinRebar::BeforeDefault(TMessage& m) {
  if (m.Msg != WM_ERASEBKGND || !FSkinData) return true;
  RECT r{};
  GetClientRect(FHandle, &r);
  DrawBarGround(reinterpret_cast<HDC>(m.WParam), r, *FSkinData, FAtScale);
  m.Result = 1;
  return false;
}

void TSkinRebar::AfterDefault(TMessage& m) {
  // The rebar draws its bands' grips itself; only its ground is the skin's.
  if (m.Msg == WM_NCDESTROY) Detach();
}
