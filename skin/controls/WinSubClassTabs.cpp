#include "skin/controls/WinSubClassTabs.h"

#include <algorithm>
#include <cstring>

#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/TabCtrls.h"
#include "framework/WideText.h"
#include "skin/controls/WinSubClassBars.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/data/ImgUtil.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// A flipped image keeps its slices where they were drawn: top and bottom margins change places.
TMargins FlippedMargins(const TMargins& m) { return {m.Left, m.Bottom, m.Right, m.Top}; }

// The slice margins of a tab control's page border (its second image), at 96 DPI.
constexpr TMargins kPageMargins{4, 5, 4, 4};

}  // namespace

// ---- tab controls

DASKEL_DEFINE_CLASS(TSkinTab, TSkinControl) {}

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}

void TSkinTab::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op == opRemove && c == FUpDown) FUpDown = nullptr;
  if (op == opRemove && c == FTabControl) FTabControl = nullptr;
}

void TSkinTab::AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) {
  TSkinControl::AttachHandle(wnd, data, canvas);
  if (!FAttached) return;
  FFocused = GetFocus() == FHandle;
  FEnabled = WindowEnabled();
  ReadCaption();
  PrepareImages();
  FindArrows(nullptr);
  if ((FTabControl = TWinControl::FindControl(FHandle))) {
    FreeNotification(FTabControl);
    FSavedTabColor = FTabControl->Color();
    FTabControl->SetColor(FSkinData->Skin.ColourButtonFace);
  }
}

void TSkinTab::Detach() {
  if (FTabControl) {
    if (!TearingDown()) FTabControl->SetColor(FSavedTabColor);
    RemoveFreeNotification(FTabControl);
    FTabControl = nullptr;
  }
  TSkinControl::Detach();
}

void TSkinTab::ScaleChanged() {
  TSkinControl::ScaleChanged();
  PrepareImages();
}

void TSkinTab::RefreshSkin() {
  if (FTabControl && FSkinData) FTabControl->SetColor(FSkinData->Skin.ColourButtonFace);
  TSkinControl::RefreshSkin();
  PrepareImages();
}

void TSkinTab::PrepareImages() {
  const auto style = GetWindowLongPtrA(FHandle, GWL_STYLE);
  if (style & TCS_BOTTOM)
    FTabPosition = (style & TCS_VERTICAL) ? 3 : 1;
  else
    FTabPosition = (style & TCS_VERTICAL) ? 2 : 0;
  FTabImage.Clear();
  FBorderImage.Clear();
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  if (!e || e->Bitmap.Empty() || e->Bitmap2.Empty()) return;
  // Scaled as they are stored, then turned into place.
  FTabImage = FAtScale.Element(*e, e->Frames());
  FTabImage.SetPixelFormat(pf24bit);
  FBorderImage = FAtScale.Image(e->Bitmap2, e->Bitmap2_2x, TImageLayout{1, false, kPageMargins});
  FBorderImage.SetPixelFormat(pf24bit);
  if (FTabPosition == 1) {
    FlipVertical(FTabImage);
    FlipVertical(FBorderImage);
  } else if (FTabPosition == 2) {
    RotateCounterClockwise(FBorderImage);
  } else if (FTabPosition == 3) {
    RotateClockwise(FBorderImage);
  }
}

HWND TSkinTab::FindArrows(bool* visible) {
  if (visible) *visible = false;
  // The arrows come when the tabs first overflow and stay: one look among the children, and only
  // until they are found.
  if (!FArrows || !IsWindow(FArrows) || GetParent(FArrows) != FHandle)
    FArrows = FindWindowExA(FHandle, nullptr, "msctls_updown32", nullptr);
  if (!FArrows) return nullptr;
  if (!FUpDown) {
    auto* upDown = new TSkinUpDown(Owner() ? Owner() : this);
    upDown->AttachHandle(FArrows, FSkinData, FCanvas);
    FUpDown = upDown;
    if (Owner()) FreeNotification(upDown);
  }
  if (visible) *visible = (GetWindowLongPtrA(FArrows, GWL_STYLE) & WS_VISIBLE) != 0;
  return FArrows;
}

void TSkinTab::ExcludeArrows(HDC dc, const RECT& r) {
  bool visible = false;
  HWND arrows = FindArrows(&visible);
  if (!arrows || !visible) return;
  RECT a{}, me{};
  GetWindowRect(arrows, &a);
  GetWindowRect(FHandle, &me);
  OffsetRect(&a, r.left - me.left, r.top - me.top);
  ExcludeClipRect(dc, a.left, a.top, a.right, a.bottom);
}

bool TSkinTab::Clipped() const {
  const auto clip = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  return (GetWindowLongPtrA(FHandle, GWL_STYLE) & clip) == clip;
}

bool TSkinTab::BeforeDefault(TMessage& m) {
  // Where nothing can be painted over (children and siblings clipped away), the picture covers
  // the whole control and is composed once per state; elsewhere the page's middle is left to
  // the control's own painting, under the skin drawn after it.
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  if (e && !e->Bitmap.Empty() && !FTabImage.Empty() && !FBorderImage.Empty() && Clipped())
    return !PaintWhole(m);
  return true;
}

bool TSkinTab::PictureKey(TPictureKey& key) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  if (!e || e->Bitmap.Empty() || FTabImage.Empty() || FBorderImage.Empty() || !Clipped()) return false;
  key.Add(ImageId(FTabImage)).Add(ImageId(FBorderImage)).Add(FTabPosition);
  key.Add(ColorToRGB(FSkinData->Skin.ColourButtonFace)).Add(ColorToRGB(e->MouseOverColour2));
  key.Add(ColorToRGB(e->NormalColour2)).Add(SendMessageA(FHandle, TCM_GETIMAGELIST, 0, 0));
  key.Add(SendMessageA(FHandle, TCM_GETCURFOCUS, 0, 0)).Add(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
  bool arrows = false;
  FindArrows(&arrows);
  key.Add(arrows ? 1 : 0);
  RECT page{};
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  key.Add(page.left).Add(page.top).Add(page.right).Add(page.bottom);
  const int count = static_cast<int>(SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TTabItem item;
    if (!Item(i, item)) continue;
    key.Add(item.Rect.left).Add(item.Rect.top).Add(item.Rect.right).Add(item.Rect.bottom);
    key.Add(std::wstring(item.Text)).Add(item.Image);
  }
  AddOwnLookKey(key);
  return true;
}

bool TSkinTab::Item(int i, TTabItem& out) const {
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = out.Text;
  item.cchTextMax = static_cast<int>(std::size(out.Text));
  out.Text[0] = 0;
  SendMessageW(FHandle, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  out.Image = item.iImage;
  return SendMessageA(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&out.Rect)) != 0;
}

void TSkinTab::DrawSkin(HDC dc, const RECT& r) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  if (!dc || !e || e->Bitmap.Empty() || FTabImage.Empty()) return;
  if (Clipped() && !FBorderImage.Empty()) {
    // The whole picture: the control's own painting on the face under what the skin adds. It
    // does not depend on where children stand (the screen clips them away), except for the
    // arrows, which have a skinner of their own.
    const int saved = SaveDC(dc);
    ExcludeArrows(dc, r);
    FillFace(dc, r);
    PaintOwnLook(dc);
    RestoreDC(dc, saved);
  }
  RECT page = r;
  SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, FAtScale.Length(4), FAtScale.Length(4));
  RECT strip = r;
  switch (FTabPosition) {
    case 1:
      page.bottom -= 1;
      strip.top = page.bottom;
      break;
    case 2:
      page.left += 1;
      strip.right = page.left;
      break;
    case 3:
      page.right -= 1;
      strip.left = page.right;
      break;
    default:
      page.top += 1;
      strip.bottom = page.top;
      break;
  }
  const int count = static_cast<int>(SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0));
  const int focus = static_cast<int>(SendMessageA(FHandle, TCM_GETCURFOCUS, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(FHandle, TCM_GETIMAGELIST, 0, 0));
  const bool lying = FTabPosition >= 2;
  const int length = lying ? strip.bottom - strip.top : strip.right - strip.left;
  const int thickness = lying ? strip.right - strip.left : strip.bottom - strip.top;
  if (length <= 0 || thickness <= 0) return;
  if ((FStrip.Width() != length || FStrip.Height() != thickness) &&
      !FStrip.SetSize(length, thickness, pf24bit))
    return;
  FEnabled = WindowEnabled();
  const TMargins margins =
      FAtScale.Margins(FTabPosition == 1 ? FlippedMargins(ElementMargins(*e)) : ElementMargins(*e));
  {
    TBitmapDC sdc(FStrip, dc);
    if (!sdc) return;
    FillFace(sdc.Get(), RECT{0, 0, length, thickness});
    FTextCanvas.SetHandle(sdc.Get());
    WindowFont(FHandle, FTextCanvas.Font());
    TTabItem item;
    for (int i = 0; i < count; ++i) {
      if (!Item(i, item)) continue;
      const RECT ir = item.Rect;
      RECT t = ir;
      switch (FTabPosition) {
        case 1:
          OffsetRect(&t, 0, -(page.bottom + 1));
          break;
        case 2:
          t = RECT{length - ir.bottom, ir.left, length - ir.top, ir.right};
          break;
        case 3:
          t = RECT{ir.top - 1, r.right - ir.right, ir.bottom - 1, r.right - ir.left};
          break;
        default:
          OffsetRect(&t, 0, 1);
          break;
      }
      const int state = i == focus ? 2 : 1;
      DrawNineSlice(sdc.Get(), t, FTabImage, false, e->Tile != 0, e->Trans == 1, e->Frames(), state, margins);
      FTextCanvas.Font().SetColor(state == 2 ? e->MouseOverColour2 : e->NormalColour2);
      DrawIconText(FTextCanvas, t, 1, item.Text, item.Image, images);
    }
    FTextCanvas.SetHandle(nullptr);
  }
  if (FTabPosition == 2) RotateCounterClockwise(FStrip);
  if (FTabPosition == 3) RotateClockwise(FStrip);

  const int saved = SaveDC(dc);
  ExcludeArrows(dc, r);
  {
    TBitmapDC sdc(FStrip, dc);
    if (sdc)
      BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, sdc.Get(), 0, 0,
             SRCCOPY);
  }
  RestoreDC(dc, saved);
  if (FBorderImage.Empty()) return;
  const TMargins borderMargins = FAtScale.Margins(kPageMargins);
  // The page itself takes the border image's centre only where nothing can be painted over: the
  // tab control's children and siblings are clipped away. Otherwise (a dialog's controls are
  // often siblings lying on the page) corners and edges only.
  if (!Clipped()) {
    DrawNineSliceBorder(dc, page, FBorderImage, false, 1, 1, borderMargins);
    return;
  }
  DrawNineSlice(dc, page, FBorderImage, false, false, false, 1, 1, borderMargins);
}

// ---- tab sets

DASKEL_DEFINE_CLASS(TSkinTab31, TSkinControl) {}

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner) {}

void TSkinTab31::Notification(TComponent* c, TOperation op) {
  TSkinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == FUpDown) FUpDown = nullptr;
  if (c == FScroller) FScroller = nullptr;
}

void TSkinTab31::PrepareImage() {
  FTabImage.Clear();
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  if (!e || e->Bitmap.Empty()) return;
  FTabImage = FAtScale.Element(*e, e->Frames());
  FlipVertical(FTabImage);
}

void TSkinTab31::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(control, data, recolour, canvas);
  if (!FAttached) return;
  PrepareImage();
  auto* set = dynamic_cast<TTabSet*>(control);
  if (!set || control->ComponentCount() == 0 || control->Components(0) != set->Scroller()) return;
  FScroller = set->Scroller();
  FreeNotification(FScroller);
  auto* upDown = new TSkinUpDown(Owner() ? Owner() : this);
  upDown->FHorizontal = true;
  upDown->AttachHandle(FScroller->Handle(), FSkinData, FCanvas);
  FUpDown = upDown;
  if (Owner()) FreeNotification(upDown);
}

void TSkinTab31::ScaleChanged() {
  TSkinControl::ScaleChanged();
  PrepareImage();
}

void TSkinTab31::RefreshSkin() {
  TSkinControl::RefreshSkin();
  PrepareImage();
}

bool TSkinTab31::BeforeDefault(TMessage& m) {
  // The skin covers the whole tab set: its own painting would only be painted over (and cost as
  // much again), so it is not run. A skin without tab images leaves the tab set its own look.
  if (!HasImage(FSkinData ? FSkinData->Skin.Tabs.get() : nullptr) || FTabImage.Empty()) return true;
  return !PaintWhole(m);
}

bool TSkinTab31::ScrollerShown() const {
  return FScroller && FScroller->HandleAllocated() &&
         (GetWindowLongPtrA(FScroller->Handle(), GWL_STYLE) & WS_VISIBLE);
}

bool TSkinTab31::PictureKey(TPictureKey& key) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  auto* set = dynamic_cast<TTabSet*>(FControl);
  if (!e || e->Bitmap.Empty() || FTabImage.Empty() || !set) return false;
  const TFont& f = *set->Font();
  key.Add(ImageId(FTabImage)).Add(ColorToRGB(FSkinData->Skin.ColourButtonFace));
  key.Add(ColorToRGB(e->MouseOverColour2)).Add(ColorToRGB(e->NormalColour2));
  key.Add(Widen(f.Name())).Add(f.Height()).Add(f.Charset());
  key.Add(set->StartMargin()).Add(set->EndMargin()).Add(set->FirstIndex()).Add(set->TabIndex());
  key.Add(ScrollerShown() ? 1 : 0).Add(WindowEnabled() ? 1 : 0);
  for (int i = 0; i < set->Tabs()->Count(); ++i) key.Add(Widen(set->Tabs()->Get(i)));
  return true;
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& r) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Tabs.get() : nullptr;
  auto* set = dynamic_cast<TTabSet*>(FControl);
  if (!dc || !e || e->Bitmap.Empty() || FTabImage.Empty() || !set) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  FEnabled = WindowEnabled();
  const TMargins margins = FAtScale.Margins(FlippedMargins(ElementMargins(*e)));
  // Every paint comes here through the composed picture, so it draws straight into dc.
  FillFace(dc, r);
  FTextCanvas.SetHandle(dc);
  FTextCanvas.Font().Assign(*set->Font());
  const int usable = w - set->EndMargin();
  const int extra = TTabSet::kTabPadding + (ScrollerShown() ? TTabSet::kScrollerRoom : 0);
  int x = set->StartMargin();
  for (int i = std::max(0, set->FirstIndex()); i < set->Tabs()->Count(); ++i) {
    const std::wstring text = Widen(set->Tabs()->Get(i));
    FTextCanvas.Font().SetStyle(0);
    const int tw = FTextCanvas.TextWidth(text);
    if (x + tw + extra > usable) continue;
    const RECT t{r.left + x, r.top, r.left + x + tw + TTabSet::kTabPadding, r.bottom};
    const int frame = i == set->TabIndex() ? 2 : 1;
    DrawNineSlice(dc, t, FTabImage, false, e->Tile != 0, e->Trans == 1, e->Frames(), frame, margins);
    FTextCanvas.Font().SetColor(frame == 2 ? e->MouseOverColour2 : e->NormalColour2);
    DrawCaption(FTextCanvas, t, DT_CENTER, true, text);
    x += tw + TTabSet::kTabPadding;
  }
  FTextCanvas.SetHandle(nullptr);
}

bool TSkinProgress::PictureKey(TPictureKey& key) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Progress.get() : nullptr;
  if (!HasImage(e)) return false;
  key.Add(SendMessageA(FHandle, PBM_GETPOS, 0, 0)).Add(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
  key.Add(ImageId(e->Bitmap)).Add(ImageId(e->Bitmap2)).Add(e->Style).Add(e->Tile).Add(FAtScale.Scale().Dpi);
  key.Add(ColorToRGB(FSkinData->Skin.ColourButtonFace));
  return true;
}

// ---- progress bars

DASKEL_DEFINE_CLASS(TSkinProgress, TSkinControl) {}

TSkinProgress::TSkinProgress(TComponent* owner) : TSkinControl(owner) {}

bool TSkinProgress::BeforeDefault(TMessage& m) {
  // Without a bar image the control keeps its own look.
  if (m.Msg == WM_PAINT && (!FSkinData || !HasImage(FSkinData->Skin.Progress.get()))) return true;
  return !PaintWhole(m);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& r) {
  const TDataSkinBorder* e = FSkinData ? FSkinData->Skin.Progress.get() : nullptr;
  if (!dc || !HasImage(e)) return;
  const int p = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
  const int m = static_cast<int>(SendMessageA(FHandle, PBM_GETRANGE, FALSE, 0));
  const int w = r.right - r.left, h = r.bottom - r.top;
  const bool chunky = e->Style == 1;
  // A chunk-style element without its chunk leaves the bar unpainted.
  if (chunky && e->Bitmap2.Empty()) return;
  TBitmap* scratch = ScratchAtLeast(w, h);
  if (!scratch) return;
  const RECT local{0, 0, w, h};
  const TMargins margins = FAtScale.ElementMargins(*e);
  {
    TBitmapDC picture(*scratch, dc);
    if (!picture) return;
    FillFace(picture.Get(), local);
    if (!chunky) {
      const TBitmap& bar = FAtScale.Element(*e, 2);
      DrawNineSlice(picture.Get(), local, bar, false, e->Tile != 0, true, 2, 1, margins);
      if (p > 0 && m > 0) {
        const RECT filled{0, 0, static_cast<LONG>(static_cast<long long>(std::min(p, m)) * w / m), h};
        DrawNineSlice(picture.Get(), filled, bar, false, e->Tile != 0, true, 2, 2, margins);
      }
    } else {
      DrawNineSlice(picture.Get(), local, FAtScale.Element(*e, 1), false, e->Tile != 0, true, 1, 1, margins);
      const TBitmap& chunk = FAtScale.Image(e->Bitmap2, e->Bitmap2_2x, TImageLayout{});
      if (p > 0 && m > 0) {
        // The chunks fill the room inside the bar's frame: a full bar fills all of it.
        const int room = std::max(0, w - margins.Left - margins.Right);
        const int f = static_cast<int>(static_cast<long long>(std::min(p, m)) * room / m);
        if (f > 0 && (FStrip.Width() != f || FStrip.Height() != chunk.Height()) &&
            !FStrip.SetSize(f, chunk.Height(), pf24bit))
          return;
        for (int x = 0; f > 0 && x < f; x += chunk.Width())
          FStrip.CopyRect(x, 0, chunk, 0, 0, std::min(chunk.Width(), f - x), chunk.Height());
        if (f > 0)
          DrawBitmapTransparent(picture.Get(), margins.Left, (h - chunk.Height()) / 2, f, chunk.Height(),
                                FStrip, RGBColor(255, 0, 255));
      }
    }
  }
  CopyScratch(dc, r);
}

// ---- track bars

DASKEL_DEFINE_CLASS(TSkinTrackBar, TSkinControl) {}

TSkinTrackBar::TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinTrackBar::BeforeDefault(TMessage& m) {
  // The picture is the bar's own painting, the thumb replaced, composed once per state.
  if (PaintWhole(m)) return false;
  if ((m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) && m.LParam) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(m.LParam);
    if (hdr->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
      return false;
    }
  }
  return true;
}

bool TSkinTrackBar::PictureKey(TPictureKey& key) {
  if (!FSkinData) return false;
  const TSkinElements& skin = FSkinData->Skin;
  key.Add(skin.TrackbarThumbVert ? ImageId(skin.TrackbarThumbVert->Bitmap) : 0);
  key.Add(skin.TrackbarThumbHorz ? ImageId(skin.TrackbarThumbHorz->Bitmap) : 0);
  key.Add(ColorToRGB(skin.ColourButtonShadow)).Add(FAtScale.Scale().Dpi);
  RECT thumb{}, channel{};
  SendMessageA(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageA(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  key.Add(thumb.left).Add(thumb.top).Add(thumb.right).Add(thumb.bottom);
  key.Add(channel.left).Add(channel.top).Add(channel.right).Add(channel.bottom);
  for (UINT ask : {TBM_GETPOS, TBM_GETRANGEMIN, TBM_GETRANGEMAX, TBM_GETSELSTART, TBM_GETSELEND})
    key.Add(SendMessageA(FHandle, ask, 0, 0));
  // The tick marks: their number and where each stands.
  const int tics = static_cast<int>(SendMessageA(FHandle, TBM_GETNUMTICS, 0, 0));
  key.Add(tics);
  for (int i = 0; i + 2 < tics; ++i) key.Add(SendMessageA(FHandle, TBM_GETTIC, static_cast<WPARAM>(i), 0));
  AddOwnLookKey(key);
  return true;
}

void TSkinTrackBar::DrawSkin(HDC dc, const RECT&) { PaintOwnLook(dc); }

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
  if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (cd.dwDrawStage == CDDS_ITEMPREPAINT && cd.dwItemSpec == TBCD_THUMB) {
    DrawThumb(cd.hdc);
    return CDRF_SKIPDEFAULT;
  }
  return CDRF_DODEFAULT;
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!dc || !FSkinData) return;
  RECT thumb{};
  SendMessageA(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TSkinElements& s = FSkinData->Skin;
  const TDataSkinObject* e = nullptr;
  if ((GetWindowLongPtrA(FHandle, GWL_STYLE) & TBS_VERT) && s.TrackbarThumbVert)
    e = s.TrackbarThumbVert.get();
  else if (s.TrackbarThumbHorz)
    e = s.TrackbarThumbHorz.get();
  if (HasImage(e)) {
    DrawFrameStretched(dc, thumb, 5, 2, FAtScale.Image(e->Bitmap, e->Bitmap2x, TImageLayout{5, false, {}}));
    return;
  }
  TGdiPen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(s.ColourButtonShadow))));
  TSelectObject sel(dc, pen.Get());
  HBRUSH brush = FCanvas ? FCanvas->Brush().Handle() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  TSelectObject selBrush(dc, brush);
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}
