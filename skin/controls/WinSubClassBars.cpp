#include "skin/controls/WinSubClassBars.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ComCtrls.h"
#include "framework/WideText.h"
#include "skin/paint/SkinDrawWin32.h"

// ---- shared by the bar and tab skinners

void WindowFont(HWND wnd, TFont& font) {
  if (GetWindowFont(wnd, font)) font.SetStyle(0);
}

namespace {

TGdiBrush SolidBrush(TColor c) { return TGdiBrush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(c)))); }

// A one-pixel bevel drawn in the system colours; r shrinks by it.
void DrawBevel(HDC dc, RECT& r, bool lowered) {
  TGdiBrush dark = SolidBrush(clBtnShadow), light = SolidBrush(clBtnHighlight);
  HBRUSH topLeft = lowered ? dark.Get() : light.Get(), bottomRight = lowered ? light.Get() : dark.Get();
  RECT t{r.left, r.top, r.right, r.top + 1}, l{r.left, r.top, r.left + 1, r.bottom};
  RECT b{r.left, r.bottom - 1, r.right, r.bottom}, rt{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &t, topLeft);
  FillRect(dc, &l, topLeft);
  FillRect(dc, &b, bottomRight);
  FillRect(dc, &rt, bottomRight);
  InflateRect(&r, -1, -1);
}

// The size grip (frame 5 of the extra images) in the bottom-right corner of r, a pixel in.
void DrawGrip(HDC dc, const RECT& r, const TDataSkinObject& extra, const TSkinAtScale& at) {
  const int frames = extra.Frames();
  const TBitmap& image = at.Image(extra.Bitmap, extra.Bitmap2x, TImageLayout{frames, false, {}});
  const int gw = image.Width() / frames, gh = image.Height();
  DrawFrame(dc, RECT{r.right - 1 - gw, r.bottom - 1 - gh, r.right - 1, r.bottom - 1}, image, true, frames, 5);
}

std::wstring StatusText(HWND wnd, int part, WORD* type) {
  LRESULT info = SendMessageW(wnd, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
  std::wstring text(LOWORD(info) + 1, L'\0');
  SendMessageW(wnd, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
  text.resize(LOWORD(info));
  if (type) *type = HIWORD(info);
  return text;
}

}  // namespace

// ---- status bar

DASKEL_DEFINE_CLASS(TSkinStatusBar, TSkinControl) {}

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinStatusBar::BeforeDefault(TMessage& m) { return !PaintWhole(m); }

std::vector<TSkinStatusBar::TPanel> TSkinStatusBar::Panels(const RECT& r) {
  std::vector<TPanel> panels;
  auto* bar = dynamic_cast<TStatusBar*>(FControl);
  const bool simple = SendMessageA(FHandle, SB_ISSIMPLE, 0, 0) != 0;
  const int parts = static_cast<int>(SendMessageA(FHandle, SB_GETPARTS, 0, 0));
  if (simple || parts <= 0 || (bar && bar->PanelCount() == 0)) {
    TPanel p;
    p.Text = bar ? Widen(bar->SimpleText()) : StatusText(FHandle, SB_SIMPLEID, nullptr);
    p.Rect = r;
    panels.push_back(p);
    return panels;
  }
  for (int i = 0; i < parts; ++i) {
    TPanel p;
    RECT pr{};
    if (!SendMessageA(FHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&pr))) continue;
    p.Rect = pr;
    bool rtl = false;
    if (bar && i < bar->PanelCount()) {
      TStatusPanel* sp = bar->Panels(i);
      p.Text = Widen(sp->Text());
      p.Align = sp->Alignment() == paRightJustify ? DT_RIGHT
                : sp->Alignment() == paCenter     ? DT_CENTER
                                                  : DT_LEFT;
      p.Style = sp->Bevel() == pbRaised ? 2 : sp->Bevel() == pbNone ? 3 : 1;
      rtl = sp->RightToLeft();
    } else {
      // A status bar known only by its window: the system's tab characters give the alignment.
      WORD type = 0;
      p.Text = StatusText(FHandle, i, &type);
      std::size_t tabs = std::min<std::size_t>(p.Text.find_first_not_of(L'\t'), p.Text.size());
      p.Align = tabs >= 2 ? DT_RIGHT : tabs == 1 ? DT_CENTER : DT_LEFT;
      p.Text.erase(0, tabs);
      p.Style = (type & SBT_POPOUT) ? 2 : (type & SBT_NOBORDERS) ? 3 : 1;
      rtl = (type & SBT_RTLREADING) != 0;
    }
    // Text read right to left starts at the right: left and right swap.
    if (rtl && p.Align != DT_CENTER) p.Align = p.Align == DT_LEFT ? DT_RIGHT : DT_LEFT;
    panels.push_back(p);
  }
  if (!panels.empty()) panels.back().Rect.right = r.right;
  return panels;
}

void TSkinStatusBar::DrawPanel(HDC dc, const TPanel& p) {
  RECT r = p.Rect;
  const TDataSkinObject* e = FSkinData->Skin.StatusBarEdges.get();
  if (HasImage(e)) {
    if (r.right >= r.left && r.bottom >= r.top)
      DrawNineSlice(dc, r, FAtScale.Element(*e, 3), false, e->Tile != 0, false, 3, p.Style,
                    FAtScale.ElementMargins(*e));
  } else if (p.Style != 3) {
    DrawBevel(dc, r, p.Style == 1);
  }
  RECT text{r.left + 2, r.top, r.right - 2, r.bottom};
  DrawCaption(FTextCanvas, text, p.Align, FEnabled, p.Text.empty() ? std::wstring(L" ") : p.Text);
}

bool TSkinStatusBar::PictureKey(TPictureKey& key) {
  if (!FSkinData) return false;
  const TDataSkinObject* edges = FSkinData->Skin.StatusBarEdges.get();
  const TDataSkinObject* extra = FSkinData->Skin.ExtraImages.get();
  key.Add(ColorToRGB(FSkinData->Skin.ColourButtonFace)).Add(ColorToRGB(FSkinData->Skin.ColourButtonText));
  key.Add(edges ? ImageId(edges->Bitmap) : 0)
      .Add(extra ? ImageId(extra->Bitmap) : 0)
      .Add(FAtScale.Scale().Dpi);
  key.Add(GetWindowLongPtrA(FHandle, GWL_STYLE)).Add(WindowEnabled() ? 1 : 0);
  AddFontKey(key);
  RECT all{};
  GetClientRect(FHandle, &all);
  for (const TPanel& p : Panels(all))
    key.Add(p.Text)
        .Add(p.Align)
        .Add(p.Style)
        .Add(p.Rect.left)
        .Add(p.Rect.top)
        .Add(p.Rect.right)
        .Add(p.Rect.bottom);
  return true;
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& r) {
  if (!dc || !FSkinData) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap* scratch = ScratchAtLeast(w, h);
  if (!scratch) return;
  FEnabled = WindowEnabled();
  const RECT local{0, 0, w, h};
  {
    TBitmapDC picture(*scratch, dc);
    if (!picture) return;
    FillFace(picture.Get(), local);
    FTextCanvas.SetHandle(picture.Get());
    WindowFont(FHandle, FTextCanvas.Font());
    const TDataSkinObject* edges = FSkinData->Skin.StatusBarEdges.get();
    TColor colour = edges ? edges->NormalColour2 : FSkinData->Skin.ColourButtonText;
    for (const TPanel& p : Panels(local)) {
      FTextCanvas.Font().SetColor(colour);
      DrawPanel(picture.Get(), p);
    }
    FTextCanvas.SetHandle(nullptr);
    const TDataSkinObject* extra = FSkinData->Skin.ExtraImages.get();
    if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(extra))
      DrawGrip(picture.Get(), RECT{0, 0, w, h}, *extra, FAtScale);
  }
  CopyScratch(dc, r);
}

// ---- header

DASKEL_DEFINE_CLASS(TSkinHeader, TSkinControl) {}

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) {
  TSkinControl::AttachHandle(wnd, data, canvas);
  if (FAttached && Site()) Site()->AddIfAbsent(this);
}

bool TSkinHeader::BeforeDefault(TMessage& m) {
  // The skinned picture covers the whole header: its own painting is not run.
  if (FSkinData && HasImage(FSkinData->Skin.Headerbar.get())) return !PaintWhole(m);
  return true;
}

bool TSkinHeader::Item(int i, THeaderItem& out) const {
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = out.Text;
  item.cchTextMax = static_cast<int>(std::size(out.Text));
  out.Text[0] = 0;
  if (!SendMessageA(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&out.Rect)))
    return false;
  SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  out.Align = (item.fmt & HDF_RIGHT) == HDF_RIGHT ? 2 : (item.fmt & HDF_CENTER) ? 1 : 0;
  out.Image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
  return true;
}

bool TSkinHeader::PictureKey(TPictureKey& key) {
  const TDataSkinObject* e = FSkinData ? FSkinData->Skin.Headerbar.get() : nullptr;
  if (!HasImage(e)) return false;
  key.Add(ImageId(e->Bitmap)).Add(ColorToRGB(FSkinData->Skin.ColourButtonFace)).Add(FAtScale.Scale().Dpi);
  key.Add(ColorToRGB(FSkinData->Skin.ColourButtonText)).Add(WindowEnabled() ? 1 : 0);
  key.Add(SendMessageA(FHandle, HDM_GETIMAGELIST, 0, 0));
  AddFontKey(key);
  const int count = static_cast<int>(SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0));
  THeaderItem item;
  for (int i = 0; i < count; ++i) {
    if (!Item(i, item)) continue;
    key.Add(item.Rect.left).Add(item.Rect.top).Add(item.Rect.right).Add(item.Rect.bottom);
    key.Add(std::wstring(item.Text)).Add(item.Align).Add(item.Image);
  }
  return true;
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& r) {
  const TDataSkinObject* e = FSkinData ? FSkinData->Skin.Headerbar.get() : nullptr;
  if (!dc || !HasImage(e)) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  FEnabled = WindowEnabled();
  const int frames = e->Frames();
  const TBitmap& image = FAtScale.Element(*e, frames);
  const TMargins margins = FAtScale.ElementMargins(*e);
  // Every paint comes here through the composed picture, so it draws straight into dc.
  FillFace(dc, r);
  FTextCanvas.SetHandle(dc);
  WindowFont(FHandle, FTextCanvas.Font());
  FTextCanvas.Font().SetColor(FSkinData->Skin.ColourButtonText);
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0));
  LONG edge = r.left;
  THeaderItem item;
  for (int i = 0; i < count; ++i) {
    if (!Item(i, item)) continue;
    RECT ir = item.Rect;
    OffsetRect(&ir, r.left, r.top);
    DrawNineSlice(dc, ir, image, false, e->Tile != 0, false, frames, 1, margins);
    edge = std::max(edge, ir.right);
    if (item.Text[0]) DrawIconText(FTextCanvas, ir, item.Align, item.Text, item.Image, images);
  }
  FTextCanvas.SetHandle(nullptr);
  if (edge < r.right)
    DrawNineSlice(dc, RECT{edge, r.top, r.right, r.bottom}, image, false, e->Tile != 0, false, frames, 1,
                  margins);
}

// ---- size box

DASKEL_DEFINE_CLASS(TSkinSizer, TSkinControl) {}

TSkinSizer::TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

bool TSkinSizer::BeforeDefault(TMessage& m) { return !PaintWhole(m); }

void TSkinSizer::DrawSkin(HDC dc, const RECT& r) {
  if (!dc || !FSkinData) return;
  // The box is painted whole: nothing else paints it once its own painting is skipped.
  FillFace(dc, r);
  const TDataSkinObject* extra = FSkinData->Skin.ExtraImages.get();
  if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & SBS_SIZEGRIP) && HasImage(extra))
    DrawGrip(dc, r, *extra, FAtScale);
  TGdiBrush shadow = SolidBrush(FSkinData->Skin.ColourButtonShadow);
  FrameRect(dc, &r, shadow.Get());
}
