#include "skin/controls/WinSubClassChecks.h"

#include <algorithm>
#include <cctype>

#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/TypeInfo.h"
#include "framework/WideText.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {

// One more framework notification after which a button's mark is painted again.
constexpr unsigned kCheckStateChanged = 0xB0D0;

bool RepaintsMark(unsigned msg) {
  switch (msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kCheckStateChanged:
      return true;
    default:
      return false;
  }
}

// A published "Checked" property of the framework control overrides what the window says.
bool CheckedProperty(TWinControl* control, bool* checked) {
  if (!control || !GetPropInfo(control, "Checked")) return false;
  std::string value = GetEnumProp(control, "Checked");
  std::transform(value.begin(), value.end(), value.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  *checked = value == "true";
  return true;
}

// The rectangle of a mark w x h within r: vertically centred, in the column (14 pixels at 96
// DPI) on the side without the text.
RECT MarkRect(const RECT& r, int w, int h, int column, bool textLeft) {
  RECT m;
  m.top = r.top + ((r.bottom - r.top) - h) / 2;
  m.bottom = m.top + h;
  if (textLeft) {
    m.right = w <= column ? r.right - (column - w) / 2 : r.right - 1;
    m.left = m.right - w;
  } else {
    m.left = w <= column ? r.left + (column - w) / 2 : r.left;
    m.right = m.left + w;
  }
  return m;
}

// Both marks are drawn the same way; they differ in the image, how the state is asked for and
// whether a grayed state exists.
void DrawMark(const TSkinControl& s, TPictureCache& cache, HDC dc, const RECT& r, const TBitmap& image,
              const TBitmap& image2x, int frameCount, bool checkBox) {
  HWND wnd = s.Handle();
  LRESULT state = SendMessageA(wnd, checkBox ? BM_GETSTATE : BM_GETCHECK, 0, 0);
  bool checked = (state & BST_CHECKED) != 0;
  CheckedProperty(s.Control(), &checked);
  int c = checked ? 2 : 1;
  int frames = frameCount > 0 ? frameCount : 1;
  const TSkinAtScale& at = s.AtScale();
  const TBitmap& scaled = at.Image(image, image2x, TImageLayout{frames, false, {}});
  int w = scaled.Width() / frames, h = scaled.Height();
  LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  RECT mark = MarkRect(r, w, h, at.Length(14), (style & BS_LEFTTEXT) != 0);
  bool disabled = (style & WS_DISABLED) != 0;
  int frame = checkBox && (state & BST_INDETERMINATE) ? 4 : disabled ? c + 2 : c;
  // The frame drawn with its key colour on the face, as filling the face and drawing the frame
  // transparently over it would leave it.
  TColor face = ColorToRGB(s.SkinData()->Skin.ColourButtonFace);
  TPictureCache::TKey key{frame, frames, w, h, ImageId(scaled), face, 0, 0};
  if (!cache.Holds(key)) {
    TBitmap& picture = cache.Remake(key);
    picture.SetSize(w, h, pf24bit);
    picture.Fill(face);
    TDrawRect all{0, 0, w, h};
    TBitmap built = BuildFrame(all, scaled, frames, frame);
    DrawTransparent(picture, all, built, SkinKeyColor);
  }
  // The system's own mark may sit a pixel off ours (its rounding of the centre): a ring of the
  // face around ours covers it.
  RECT ring{std::max(r.left, mark.left - 1), std::max(r.top, mark.top - 1), std::min(r.right, mark.right + 1),
            std::min(r.bottom, mark.bottom + 1)};
  s.FillFace(dc, ring);
  DrawBitmap(dc, mark.left, mark.top, cache.Picture());
}

// A disabled control's caption in the disabled colour of the skinned push buttons, over the
// system's embossed one (a white copy under grey reads as bright smeared text on a dark face).
// The caption sits where the system puts it: beside the box (13 pixels at 96 DPI), half a digit
// away.
void DrawDisabledCaption(const TSkinControl& s, HDC dc, const RECT& r) {
  LONG_PTR style = GetWindowLongPtrA(s.Handle(), GWL_STYLE);
  if (!(style & WS_DISABLED)) return;
  const std::wstring text = WindowTextW(s.Handle());
  if (text.empty()) return;
  TCanvas canvas;
  canvas.SetHandle(dc);
  s.ControlFont(canvas.Font());
  const int offset = s.AtScale().Length(12) + 1 + canvas.TextWidth("0") / 2;
  RECT area = r;
  if (style & BS_LEFTTEXT)
    area.right -= offset;
  else
    area.left += offset;
  RECT cover{area.left - 1, area.top, area.right, area.bottom};
  s.FillFace(dc, cover);
  TSkinControl::DrawCaption(canvas, area, (style & BS_LEFTTEXT) ? DT_RIGHT : DT_LEFT, false, text);
  canvas.SetHandle(nullptr);
}

}  // namespace

// ---- both marks

DASKEL_DEFINE_CLASS(TSkinMarkButton, TSkinControl) {}

TSkinMarkButton::TSkinMarkButton(TComponent* owner, bool checkBox)
    : TSkinControl(owner), FCheckBox(checkBox) {}

void TSkinMarkButton::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  AttachUnbuffered(control, data, recolour, canvas);
}

const TBitmap* TSkinMarkButton::MarkImage(int* frameCount, const TBitmap** image2x) const {
  if (!FSkinData || !FSkinData->Skin.Buttons) return nullptr;
  const TDataSkinButton& b = *FSkinData->Skin.Buttons;
  const TBitmap& image = FCheckBox ? b.CheckBitmap : b.RadioBitmap;
  if (frameCount) *frameCount = FCheckBox ? b.CheckFrameCount : b.RadioFrameCount;
  if (image2x) *image2x = FCheckBox ? &b.CheckBitmap2x : &b.RadioBitmap2x;
  return image.Empty() ? nullptr : &image;
}

bool TSkinMarkButton::BeforeDefault(TMessage& m) {
  // With a mark to draw, the picture is the control's own painting with the skin's mark over
  // it, composed once per state: the control paints only into that picture.
  if (MarkImage(nullptr) && PaintWhole(m)) return false;
  return true;
}

void TSkinMarkButton::AfterDefault(TMessage& m) {
  if (RepaintsMark(m.Msg)) {
    Redraw();
    return;
  }
  TSkinControl::AfterDefault(m);
}

bool TSkinMarkButton::PictureKey(TPictureKey& key) {
  const TBitmap* image = MarkImage(nullptr);
  if (!image) return false;
  bool checked = false;
  key.Add(SendMessageA(FHandle, FCheckBox ? BM_GETSTATE : BM_GETCHECK, 0, 0));
  key.Add(CheckedProperty(FControl, &checked) ? 2 + checked : 0);
  key.Add(ImageId(*image)).Add(ColorToRGB(FSkinData->Skin.ColourButtonFace)).Add(FAtScale.Scale().Dpi);
  AddOwnLookKey(key);
  return true;
}

void TSkinMarkButton::DrawSkin(HDC dc, const RECT& r) {
  int frames = 0;
  const TBitmap* image2x = nullptr;
  const TBitmap* image = MarkImage(&frames, &image2x);
  if (!image || !dc) return;
  PaintOwnLook(dc);
  DrawMark(*this, FMark, dc, r, *image, *image2x, frames, FCheckBox);
  DrawDisabledCaption(*this, dc, r);
}

void TSkinMarkButton::ScaleChanged() {
  FMark.Clear();
  TSkinControl::ScaleChanged();
}

void TSkinMarkButton::RefreshSkin() {
  FMark.Clear();
  TSkinControl::RefreshSkin();
}

DASKEL_DEFINE_CLASS(TSkinCheckBox, TSkinMarkButton) {}

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinMarkButton(owner, true) {}

DASKEL_DEFINE_CLASS(TSkinRadioButton, TSkinMarkButton) {}

TSkinRadioButton::TSkinRadioButton(TComponent* owner) : TSkinMarkButton(owner, false) {}
