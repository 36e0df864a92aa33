#include "skin/controls/WinSubClassButtons.h"

#include <algorithm>

#include "framework/ButtonLayout.h"
#include "framework/Buttons.h"
#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/WideText.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

constexpr int kFrameNormal = 1, kFramePressed = 2, kFrameDisabled = 3, kFrameHot = 4;

// The "Buttons" element when it can be drawn, else nullptr (the button is then left unpainted).
const TDataSkinButton* ButtonsOf(const TSkinData* data) {
  if (!data || !data->Skin.Buttons || data->Skin.Buttons->Bitmap.Empty()) return nullptr;
  return data->Skin.Buttons.get();
}

// Skins do not state the frame count of "Buttons": it has five frames.
constexpr int kButtonsFrames = 5;

TColor CaptionColour(const TSkinData& data, const TDataSkinObject& e, int frame) {
  switch (frame) {
    case kFrameNormal:
      return e.NormalColour2;
    case kFrameHot:
      return e.MouseOverColour2;
    case kFramePressed:
      return e.PressedColour2;
    default:
      return data.Skin.ColourButtonText;
  }
}

// What a glyph button draws beside its caption.
struct TGlyphOf {
  const TBitmap* Glyph = nullptr;
  int Count = 1;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
};

TGlyphOf GlyphOf(const TControl* c) {
  TGlyphOf g;
  if (auto* b = dynamic_cast<const TBitBtn*>(c)) {
    g = {&b->Glyph(), b->NumGlyphs(), b->Layout(), b->Margin(), b->Spacing()};
  } else if (auto* s = dynamic_cast<const TSpeedButton*>(c)) {
    g = {&s->Glyph(), s->NumGlyphs(), s->Layout(), s->Margin(), s->Spacing()};
  }
  if (g.Count < 1) g.Count = 1;
  if (g.Glyph && g.Glyph->Empty()) g.Glyph = nullptr;
  return g;
}

UINT AlignFormat(TCaptionAlign a) { return a == caRight ? DT_RIGHT : a == caCenter ? DT_CENTER : DT_LEFT; }

}  // namespace

// ---- TSkinButton

DASKEL_DEFINE_CLASS(TSkinButton, TSkinControl) {}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

bool TSkinButton::BeforeDefault(TMessage& m) {
  if (PaintWhole(m)) return false;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The button never sees the press: it takes no capture and makes no click of its own.
      if (FHandle && GetFocus() != FHandle) SetFocus(FHandle);
      FState |= kSkinPressed;
      PaintNow(nullptr);
      return false;
    default:
      return true;
  }
}

void TSkinButton::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        FState |= kSkinPressed;
        Redraw();
      }
      break;
    case WM_KEYUP:
      // The click itself comes from the button's own keyboard handling.
      if (m.WParam == VK_SPACE) {
        FState &= static_cast<std::uint8_t>(~kSkinPressed);
        Redraw();
      }
      break;
    case WM_MOUSEMOVE:
      HotMouseMove();
      break;
    case WM_LBUTTONUP:
      if (FState & kSkinPressed) {
        FState &= static_cast<std::uint8_t>(~kSkinPressed);
        Redraw();
        Click();
      }
      break;
    case CM_MOUSEENTER:
      if (WindowEnabled()) HotEnter();
      break;
    case CM_MOUSELEAVE:
      // Leaving with the button held cancels the press. A button disabled meanwhile still
      // drops its hot look, so it does not come back when it is enabled again.
      if (WindowEnabled() || (FState & (kSkinHot | kSkinPressed))) HotLeave();
      break;
    default:
      TSkinControl::AfterDefault(m);
      break;
  }
}

void TSkinButton::Click() {
  if (FControl) {
    FControl->Click();
    return;
  }
  HWND parent = FHandle ? GetParent(FHandle) : nullptr;
  if (!parent) return;
  WPARAM id = MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(FHandle)), BN_CLICKED);
  PostMessageA(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
}

int TSkinButton::FaceFrame() const {
  if (!FEnabled) return kFrameDisabled;
  if (FState & kSkinPressed) return kFramePressed;
  if (FFocused || (FState & kSkinHot)) return kFrameHot;
  return kFrameNormal;
}

void TSkinButton::DrawSkin(HDC dc, const RECT& r) { PaintFace(dc, r, false); }

bool TSkinButton::PictureKey(TPictureKey& key) {
  const TDataSkinButton* e = ButtonsOf(FSkinData);
  if (!e) return false;
  ReadState();
  const int frame = FaceFrame();
  key.Add(frame).Add(FCaption).Add(ImageId(e->Bitmap)).Add(ColorToRGB(FSkinData->Skin.ColourButtonFace));
  key.Add(ColorToRGB(CaptionColour(*FSkinData, *e, frame)));
  AddFontKey(key);
  TGlyphOf g = GlyphOf(FControl);
  if (g.Glyph) key.Add(ImageId(*g.Glyph)).Add(g.Count).Add(g.Layout).Add(g.Margin).Add(g.Spacing);
  return true;
}

void TSkinButton::ReadState() {
  FFocused = FOwnFocus;
  FEnabled = WindowEnabled();
  // The caption follows WM_SETTEXT; a framework control without a window text gives its own.
  if (FCaption.empty() && FControl) FCaption = Widen(FControl->Caption());
}

void TSkinButton::PaintFace(HDC dc, const RECT& r, bool withGlyph) {
  const TDataSkinButton* e = ButtonsOf(FSkinData);
  if (!e || !dc) return;
  ReadState();
  const int frame = FaceFrame();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  // Every paint comes here through the composed picture, so it draws straight into dc.
  FTextCanvas.SetHandle(dc);
  ControlFont(FTextCanvas.Font());
  FillFace(dc, r);
  DrawElement(dc, r, e->Frames(kButtonsFrames), frame, *e);
  TColor colour = CaptionColour(*FSkinData, *e, frame);
  if (withGlyph) {
    DrawGlyphAndCaption(FTextCanvas, r, FControl, 1, colour, FEnabled, false);
  } else {
    FTextCanvas.Font().SetColor(colour);
    DrawCaption(FTextCanvas, r, DT_CENTER, FEnabled, FCaption);
  }
  FTextCanvas.SetHandle(nullptr);
}

void TSkinButton::DrawGlyphAndCaption(TCanvas& canvas, const RECT& client, const TControl* control,
                                      int glyphFrame, TColor colour, bool enabled, bool speed) const {
  TGlyphOf g = GlyphOf(control);
  TButtonLayoutInput in;
  in.ClientWidth = client.right - client.left;
  in.ClientHeight = client.bottom - client.top;
  if (g.Glyph) {
    in.GlyphWidth = g.Glyph->Width() / g.Count;
    in.GlyphHeight = g.Glyph->Height();
  }
  in.Layout = g.Layout;
  in.Margin = g.Margin;
  in.Spacing = g.Spacing;
  in.Speed = speed;
  const UINT format = AlignFormat(in.Layout == blGlyphLeft    ? caLeft
                                  : in.Layout == blGlyphRight ? caRight
                                                              : caCenter);
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetStyle(0);
  if (!FCaption.empty()) {
    RECT measured = client;
    canvas.DrawTextRect(measured, FCaption, format | DT_CALCRECT);
    in.TextWidth = measured.right - measured.left;
    in.TextHeight = measured.bottom - measured.top;
  }
  TButtonLayoutResult at = LayoutGlyphAndCaption(in);
  if (g.Glyph) {
    RECT where{client.left + at.GlyphX, client.top + at.GlyphY, client.left + at.GlyphX + in.GlyphWidth,
               client.top + at.GlyphY + in.GlyphHeight};
    DrawGlyphFrame(canvas, where, g.Count, glyphFrame, *g.Glyph);
  }
  if (FCaption.empty()) return;
  canvas.Font().SetColor(enabled ? colour : clBtnShadow);
  RECT text{client.left + at.TextX, client.top + at.TextY, client.left + at.TextX + in.TextWidth,
            client.top + at.TextY + in.TextHeight};
  canvas.DrawTextRect(text, FCaption, format);
}

// ---- TSkinBitButton

DASKEL_DEFINE_CLASS(TSkinBitButton, TSkinButton) {}

TSkinBitButton::TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& r) { PaintFace(dc, r, true); }

// ---- TSkinSpeedButton

DASKEL_DEFINE_CLASS(TSkinSpeedButton, TSkinBitButton) {}

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

void TSkinSpeedButton::Detach() {
  TControl* control = FGraphicControl;
  bool hadProc = static_cast<bool>(FOldWindowProc);
  TSkinBitButton::Detach();
  // Its own look comes back at once, unless it is going away.
  if (control && hadProc && !control->HasState(csDestroying) && !TearingDown()) control->Invalidate();
}

bool TSkinSpeedButton::BeforeDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      if (FGraphicControl) PaintComposed(reinterpret_cast<HDC>(m.WParam), FGraphicControl->ClientRect());
      m.Result = 1;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // The speed button handles the press itself (its down state, the capture).
      CallDefault(m);
      FState |= kSkinPressed;
      PaintNow(nullptr);
      return false;
    default:
      TSkinButton::BeforeDefault(m);
      return true;
  }
}

void TSkinSpeedButton::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
      TSkinBitButton::Detach();
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        FState |= kSkinPressed;
        PaintNow(nullptr);
      }
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      if (m.Msg == WM_LBUTTONUP || m.WParam == VK_SPACE) {
        FState &= static_cast<std::uint8_t>(~kSkinPressed);
        PaintNow(nullptr);
      }
      break;
    case CM_MOUSEENTER:
      // The enter comes before the move that would take the hot slot: take it here.
      HotEnter();
      PaintNow(nullptr);
      break;
    case CM_MOUSELEAVE:
      FState &= static_cast<std::uint8_t>(~(kSkinHot | kSkinPressed));
      if (FGraphicControl && FGraphicControl->Visible()) PaintNow(nullptr);
      break;
    default:
      TSkinBitButton::AfterDefault(m);
      break;
  }
}

void TSkinSpeedButton::PaintNow(HDC) {
  auto* control = dynamic_cast<TGraphicControl*>(FGraphicControl);
  if (!control) return;
  RECT r = control->ClientRect();
  if (HDC own = control->Canvas()->Handle()) {
    PaintComposed(own, r);
    return;
  }
  // Outside its own paint: straight onto the parent, within the button's bounds.
  TWinControl* parent = control->Parent();
  if (!parent || !parent->HandleAllocated() || !control->Showing()) return;
  TWindowDc dc(parent->Handle());
  if (!dc.Get()) return;
  RECT b = control->BoundsRect();
  IntersectClipRect(dc.Get(), b.left, b.top, b.right, b.bottom);
  OffsetRect(&r, b.left, b.top);
  PaintComposed(dc.Get(), r);
}

int TSkinSpeedButton::SpeedFrame(const TSpeedButton& button) {
  FEnabled = button.Enabled();
  FCaption = Widen(button.Caption());
  int frame = kFrameNormal;
  if (FState & kSkinPressed)
    frame = kFramePressed;
  else if (FState & kSkinHot)
    frame = kFrameHot;
  if (!FEnabled) frame = kFrameDisabled;
  if (button.Down()) frame = kFramePressed;  // down shows pressed, even disabled
  return frame;
}

bool TSkinSpeedButton::PictureKey(TPictureKey& key) {
  auto* button = dynamic_cast<TSpeedButton*>(FGraphicControl);
  const TDataSkinButton* e = ButtonsOf(FSkinData);
  if (!button || !e) return false;
  const TFont& f = *button->Font();
  key.Add(SpeedFrame(*button)).Add(FCaption).Add(ImageId(e->Bitmap)).Add(e->Trans);
  key.Add(ColorToRGB(FSkinData->Skin.ColourButtonFace));
  key.Add(Widen(f.Name())).Add(f.Height()).Add(f.Style()).Add(f.Color()).Add(f.Charset());
  TGlyphOf g = GlyphOf(button);
  if (g.Glyph) key.Add(ImageId(*g.Glyph)).Add(g.Count).Add(g.Layout).Add(g.Margin).Add(g.Spacing);
  return true;
}

void TSkinSpeedButton::DrawSkin(HDC dc, const RECT& r) { DrawButton(dc, r); }

void TSkinSpeedButton::DrawButton(HDC dc, const RECT& r) {
  auto* button = dynamic_cast<TSpeedButton*>(FGraphicControl);
  const TDataSkinButton* e = ButtonsOf(FSkinData);
  if (!button || !e || !dc) return;
  const int frame = SpeedFrame(*button);
  TGlyphOf glyph = GlyphOf(button);
  int glyphFrame = frame == kFramePressed ? 3 : frame == kFrameDisabled ? 2 : 1;
  if (glyph.Count < glyphFrame) glyphFrame = 1;

  const int w = r.right - r.left, h = r.bottom - r.top;
  TBitmap* scratch = ScratchAtLeast(w, h);
  if (!scratch) return;
  const RECT local{0, 0, w, h};
  DrawElementToBuffer(local, *e, e->Trans == 1, e->Frames(kButtonsFrames), frame);
  {
    TBitmapDC picture(*scratch, dc);
    if (!picture) return;
    FTextCanvas.SetHandle(picture.Get());
    FTextCanvas.Font().Assign(*button->Font());
    if (glyph.Glyph) {
      DrawGlyphAndCaption(FTextCanvas, local, button, glyphFrame, CaptionColour(*FSkinData, *e, frame),
                          FEnabled, true);
    } else {
      DrawCaption(FTextCanvas, local, DT_CENTER, FEnabled, FCaption);
    }
    FTextCanvas.SetHandle(nullptr);
  }
  CopyScratch(dc, RECT{r.left, r.top, r.left + w, r.top + h});
}
