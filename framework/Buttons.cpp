#include "framework/Buttons.h"

namespace {
const std::vector<std::string> kKinds{"bkCustom", "bkOK",    "bkCancel", "bkHelp",   "bkYes", "bkNo",
                                      "bkClose",  "bkAbort", "bkRetry",  "bkIgnore", "bkAll"};
constexpr UINT kButtonTypeMask = 0xF;  // the BS_* type bits of a button's style
}  // namespace

const std::vector<std::string> kButtonLayoutNames{"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                  "blGlyphBottom"};

// ---- glyphs

void TButtonGlyph::Read(TMemoryStream& s) {
  std::string bytes = s.Bytes();
  std::size_t at =
      bytes.size() > 6 && bytes.compare(0, 2, "BM") != 0 && bytes.compare(4, 2, "BM") == 0 ? 4 : 0;
  Bitmap.LoadFromBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at, bytes.size() - at);
}

int TButtonGlyph::Frame(bool enabled, bool down) const {
  int frame = !enabled ? 2 : down ? 3 : 1;
  return frame > NumGlyphs ? 1 : frame;
}

void TButtonGlyph::Draw(TCanvas& canvas, const RECT& r, const std::string& caption, int frame, bool enabled,
                        bool speed) const {
  int count = NumGlyphs < 1 ? 1 : NumGlyphs;
  int gw = Bitmap.Width() / count, gh = gw > 0 ? Bitmap.Height() : 0;
  canvas.Brush().SetStyle(bsClear);
  RECT measured{0, 0, r.right - r.left, r.bottom - r.top};
  if (caption.empty())
    measured.right = measured.bottom = 0;
  else
    canvas.DrawTextRect(measured, caption, DT_CALCRECT | DT_SINGLELINE);
  TButtonLayoutInput in;
  in.ClientWidth = r.right - r.left;
  in.ClientHeight = r.bottom - r.top;
  in.GlyphWidth = gw;
  in.GlyphHeight = gh;
  in.TextWidth = measured.right - measured.left;
  in.TextHeight = measured.bottom - measured.top;
  in.Layout = Layout;
  in.Margin = Margin;
  in.Spacing = Spacing;
  in.Speed = speed;
  TButtonLayoutResult at = LayoutGlyphAndCaption(in);
  if (gw > 0 && canvas.Handle()) {
    TMemoryDc source(CreateCompatibleDC(canvas.Handle()));
    HGDIOBJ old = SelectObject(source.Get(), BitmapHandle(Bitmap));
    GdiTransparentBlt(canvas.Handle(), r.left + at.GlyphX, r.top + at.GlyphY, gw, gh, source.Get(),
                      (frame - 1) * gw, 0, gw, gh, static_cast<UINT>(Bitmap.Pixel(0, 0)));
    SelectObject(source.Get(), old);
  }
  if (caption.empty()) return;
  if (!enabled) canvas.Font().SetColor(clGrayText);
  RECT text{r.left + at.TextX, r.top + at.TextY, r.left + at.TextX + in.TextWidth,
            r.top + at.TextY + in.TextHeight};
  canvas.DrawTextRect(text, caption, static_cast<UINT>(at.Align) | DT_SINGLELINE | DT_NOCLIP);
}

DASKEL_DEFINE_CLASS(TSpeedButton, TGraphicControl) {
  c.Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
  c.Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  c.Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
  c.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
  TSpeedButton::DescribeGlyph(c);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGlyphButton(owner) { width_ = 23, height_ = 22; }

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}

void TSpeedButton::SetDown(bool v) {
  if (v == down_) return;
  if (!v && groupIndex_ > 0 && !allowAllUp_ && !HasState(csLoading)) return;  // one stays down
  down_ = v;
  if (v && groupIndex_ > 0 && parent_) {
    for (int i = 0; i < parent_->ControlCount(); ++i) {
      auto* other = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
      if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
        other->down_ = false;
        other->Invalidate();
      }
    }
  }
  Invalidate();
}

void TSpeedButton::Click() {
  if (groupIndex_ > 0) SetDown(allowAllUp_ ? !down_ : true);
  TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (enabled_) {
        pressed_ = true;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      pressed_ = false;
      Invalidate();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (m.Msg == CM_MOUSELEAVE) pressed_ = false;
      if (flat_) Invalidate();
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint() {
  TCanvas& c = *Canvas();
  RECT r = ClientRect();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(color_);
  c.FillRect(r);
  bool sunk = pressed_ || down_;
  if (!flat_ || sunk || MouseInControl()) DrawEdge(c.Handle(), &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (sunk) OffsetRect(&r, 1, 1);
  c.Brush().SetStyle(bsClear);
  if (!enabled_) c.Font().SetColor(clGrayText);
  if (glyph_.Bitmap.Empty())
    c.TextRect(r, text_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  else
    glyph_.Draw(c, r, text_, glyph_.Frame(enabled_, sunk), enabled_, true);
}

DASKEL_DEFINE_CLASS(TBitBtn, TButton) {
  c.Enum("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, kKinds);
  TBitBtn::DescribeGlyph(c);
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  drawDefault_ = (p.Style & kButtonTypeMask) == BS_DEFPUSHBUTTON;
  p.Style = (p.Style & ~kButtonTypeMask) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      m.Result = TRUE;
      return;
    case BM_SETSTYLE:
      // Whoever makes it the default button (or not) only changes how it is framed.
      drawDefault_ = (m.WParam & kButtonTypeMask) == BS_DEFPUSHBUTTON;
      m.WParam = (m.WParam & ~kButtonTypeMask) | BS_OWNERDRAW;
      break;
    default:
      break;
  }
  TButton::WndProc(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool down = item.itemState & ODS_SELECTED, focused = item.itemState & ODS_FOCUS;
  bool enabled = !(item.itemState & ODS_DISABLED);
  if (drawDefault_ || focused) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  RECT client = item.rcItem;
  if (down) OffsetRect(&client, 1, 1);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Font().Assign(font_);
  glyph_.Draw(canvas, client, Caption(), glyph_.Frame(enabled, down), enabled, false);
  canvas.SetHandle(nullptr);
  if (focused) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
}

void TBitBtn::SetKind(TBitBtnKind k) {
  kind_ = k;
  struct Standard {
    const char* caption;
    TModalResult result;
  };
  static const Standard standard[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                                      {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                                      {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                                      {"&Ignore", mrIgnore}, {"&All", mrNone}};
  if (k == bkCustom) return;
  SetCaption(standard[k].caption);
  SetModalResult(standard[k].result);
  if (k == bkOK || k == bkYes) SetDefault(true);
  if (k == bkCancel || k == bkNo) SetCancel(true);
}
