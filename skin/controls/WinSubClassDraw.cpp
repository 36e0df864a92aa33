// The drawing routines every control skinner shares. Skin images are sliced and stretched only
// by the primitives of skin/paint; this file adds the text layouts and the scratch-bitmap steps.
#include <algorithm>

#include "skin/controls/WinSubClass.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// Control skinners compose in the engine's one scratch bitmap; this keeps it alive for as long
// as the control skinners are linked in.
TScratchBitmapUse gScratch;

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Plain text on a clear background, as every caption of a skinned control is drawn.
void PlainText(TCanvas& canvas) {
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetStyle(0);
  if (HDC dc = canvas.Handle()) SetBkMode(dc, TRANSPARENT);
}

}  // namespace

TBitmap* ScratchAtLeast(int w, int h) {
  TBitmap* scratch = ScratchBitmap();
  if (!scratch || w <= 0 || h <= 0) return nullptr;
  // The one scratch bitmap only grows.
  if ((scratch->Width() < w || scratch->Height() < h) &&
      !scratch->SetSize(std::max(w, scratch->Width()), std::max(h, scratch->Height()), pf24bit))
    return nullptr;
  return scratch;
}

TColor ReadableOn(TColor text, TColor back) {
  // Perceived lightness, 0..255, of the two colours as drawn.
  auto light = [](TColor c) {
    const unsigned rgb = static_cast<unsigned>(ColorToRGB(c));
    return (299 * (rgb & 0xFF) + 587 * ((rgb >> 8) & 0xFF) + 114 * ((rgb >> 16) & 0xFF)) / 1000;
  };
  const int t = static_cast<int>(light(text)), b = static_cast<int>(light(back));
  if (t - b >= 80 || b - t >= 80) return text;
  return b >= 128 ? clBlack : clWhite;
}

void TSkinControl::FillFace(HDC dc, const RECT& r) const {
  if (!dc || !FSkinData) return;
  // The DC's own brush: no brush made and deleted at every fill.
  COLORREF old = SetDCBrushColor(dc, static_cast<COLORREF>(ColorToRGB(FSkinData->Skin.ColourButtonFace)));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

void TSkinControl::DrawFieldEdge(HDC dc, const RECT& r, int rings) const {
  if (!dc || !FSkinData) return;
  const TSkinElements& s = FSkinData->Skin;
  const TColor colours[2] = {s.ColourButtonShadow, s.ContentColours ? s.ColourWindow : clWhite};
  RECT ring = r;
  int saved = SaveDC(dc);
  for (int i = 0; i < rings && i < 2; ++i) {
    SetDCBrushColor(dc, static_cast<COLORREF>(ColorToRGB(colours[i])));
    FrameRect(dc, &ring, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    InflateRect(&ring, -1, -1);
  }
  RestoreDC(dc, saved);
}

void TSkinControl::ControlFont(TFont& font) const {
  if (FControl) {
    font.Assign(*FControl->Font());
    return;
  }
  GetWindowFont(FHandle, font);
}

void TSkinControl::DrawElement(HDC dc, const RECT& r, int frameCount, int frameIndex,
                               const TDataSkinObject& e) const {
  if (Inverted(r)) return;
  DrawNineSlice(dc, r, FAtScale.Element(e, frameCount), false, e.Tile != 0, e.Trans == 1, frameCount,
                frameIndex, FAtScale.ElementMargins(e));
}

void TSkinControl::DrawElementToBuffer(const RECT& r, const TDataSkinObject& e, bool transparent,
                                       int frameCount, int frameIndex) const {
  if (r.right - r.left < 0 || r.bottom - r.top < 0) return;
  TBitmap* scratch = ScratchBitmap();
  if (!scratch || scratch->Empty()) return;
  TBitmapDC dc(*scratch);
  if (!dc) return;
  FillFace(dc.Get(), r);
  DrawNineSlice(dc.Get(), r, FAtScale.Element(e, frameCount), false, e.Tile != 0, transparent, frameCount,
                frameIndex, FAtScale.ElementMargins(e));
}

void TSkinControl::DrawFrameStretched(HDC dc, const RECT& r, int frameCount, int frameIndex,
                                      const TBitmap& bmp) const {
  if (Inverted(r) || !dc) return;
  DrawFrame(dc, r, bmp, true, frameCount, frameIndex);
}

void TSkinControl::DrawFrameStretched(TCanvas& canvas, const RECT& r, int frameCount, int frameIndex,
                                      const TBitmap& bmp) const {
  DrawFrameStretched(canvas.Handle(), r, frameCount, frameIndex, bmp);
}

void TSkinControl::DrawGlyphFrame(TCanvas& canvas, const RECT& r, int frameCount, int frameIndex,
                                  const TBitmap& glyph) {
  TFrameCell cell = FrameCell(glyph, false, frameCount, frameIndex);
  if (cell.Empty() || !canvas.Handle()) return;
  TBitmap frame(cell.Width, cell.Height, glyph.PixelFormat());
  frame.CopyRect(0, 0, glyph, cell.X, cell.Y, cell.Width, cell.Height);
  DrawBitmapTransparent(canvas.Handle(), r.left, r.top, cell.Width, cell.Height, frame, frame.Pixel(0, 0));
}

void TSkinControl::DrawCaption(TCanvas& canvas, const RECT& r, UINT align, bool enabled,
                               const std::wstring& text) {
  PlainText(canvas);
  RECT measured = r;
  canvas.DrawTextRect(measured, text, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  int freeWidth = (r.right - r.left) - (measured.right - measured.left);
  int freeHeight = (r.bottom - r.top) - (measured.bottom - measured.top);
  // One pixel above the exact centre, so a single line sits where the system puts it.
  if (align == DT_CENTER) {
    OffsetRect(&measured, freeWidth / 2, freeHeight / 2 - 1);
  } else {
    OffsetRect(&measured, 0, freeHeight / 2 - 1);
    measured.left = r.left;
    measured.right = r.right;
  }
  if (!enabled) canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextRect(measured, text, align | DT_EXPANDTABS);
}

void TSkinControl::DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text,
                                int imageIndex, TImageList* images) const {
  DrawIconText(canvas, r, alignment, text, imageIndex, images ? images->Handle() : nullptr);
}

void TSkinControl::DrawIconText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text,
                                int imageIndex, HIMAGELIST images) const {
  int iconWidth = 0, iconHeight = 0;
  bool icon = images && imageIndex != -1 && ImageList_GetIconSize(images, &iconWidth, &iconHeight);
  if (!icon) iconWidth = iconHeight = 0;
  const UINT format = DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS;
  PlainText(canvas);
  RECT measured{0, 0, 0, 0};
  if (!text.empty()) canvas.DrawTextRect(measured, text, format | DT_CALCRECT | DT_NOCLIP);
  int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
  int width = r.right - r.left, height = r.bottom - r.top;
  int offset = alignment == 0   ? 2
               : alignment == 1 ? (width - iconWidth - textWidth) / 2
                                : width - iconWidth - textWidth - 2;
  if (icon && canvas.Handle())
    ImageList_Draw(images, imageIndex, canvas.Handle(), r.left + offset, r.top + (height - iconHeight) / 2,
                   ILD_TRANSPARENT);
  if (text.empty()) return;
  PlainText(canvas);
  if (!FEnabled) canvas.Font().SetColor(clBtnShadow);
  int x = r.left + offset + iconWidth + 1, y = r.top + (height - textHeight) / 2;
  RECT t{x, y, x + textWidth, y + textHeight};
  canvas.DrawTextRect(t, text, format | DT_NOCLIP);
}

void TSkinControl::DrawCenteredText(TCanvas& canvas, const RECT& r, int alignment, const std::wstring& text,
                                    bool enabled) {
  UINT align = alignment == 1 ? DT_RIGHT : alignment == 2 ? DT_CENTER : DT_LEFT;
  PlainText(canvas);
  RECT measured = r;
  canvas.DrawTextRect(measured, text, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | align);
  int freeWidth = (r.right - r.left) - (measured.right - measured.left);
  int freeHeight = (r.bottom - r.top) - (measured.bottom - measured.top);
  OffsetRect(&measured, freeWidth / 2, freeHeight / 2);
  if (!enabled) canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextRect(measured, text, DT_EXPANDTABS | DT_SINGLELINE | align);
}

void TSkinControl::CopyScratch(HDC dc, const RECT& r) {
  TBitmap* scratch = ScratchBitmap();
  if (!dc || !scratch || scratch->Empty()) return;
  TBitmapDC src(*scratch, dc);
  if (!src) return;
  BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, src.Get(), 0, 0, SRCCOPY);
}
