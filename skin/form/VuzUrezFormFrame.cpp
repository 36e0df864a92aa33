// Painting the skinned frame (borders, title bar, caption) and the window region cut from it.
#include <algorithm>
#include <exception>

#include "framework/WideText.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/paint/SkinDrawWin32.h"

TDataSkinBorder* TVuzUrezForm::Border(int index) const {
  TSkinElements& s = FSkinData->Skin;
  switch (index) {
    case bsLeft:
      return s.BorderLeft.get();
    case bsRight:
      return s.BorderRight.get();
    case bsTop:
      return s.BorderTop.get();
    case bsBottom:
      return s.BorderBottom.get();
    default:
      return nullptr;
  }
}

// The border at the given size, in the frame of the window's activation state: the inactive
// look is frame 2, but a border of a single frame shows it in both states.
TBitmap TVuzUrezForm::BorderImage(int index, int width, int height) const {
  TDataSkinBorder* b = Border(index);
  if (!b || width <= 0 || height <= 0) return {};
  int frame = FActive || b->FrameCount <= 1 ? afActive : afInactive;
  TMargins margins{b->LeftWidth, b->TopHeight, b->RightWidth, b->BottomHeight};
  bool vertical = index >= bsTop;
  const TBitmap& image = AtScale(b->Bitmap, b->Bitmap2x, TImageLayout{b->FrameCount, vertical, margins});
  return BuildNineSlice({0, 0, width, height}, image, ScaleMargins(margins, FScale), vertical,
                        b->Tile != kEdgeStretched, b->FrameCount, frame);
}

void TVuzUrezForm::SetScale(int dpi) {
  FScale = TSkinScale{dpi > 0 ? dpi : 96};
  FScaledImages = FScale.Unscaled() || !FSkinData ? nullptr : SharedScaledImages(FSkinData->Skin, FScale);
  FButtons.SetScale(FScale, FScaledImages);
  if (FMenuBar) {
    FMenuBar->Scale = FScale;
    FMenuBar->ScaledImages = FScaledImages;
    FMenuHeight = FMenuBar->Height();
  }
}

const TBitmap& TVuzUrezForm::AtScale(const TBitmap& image, const TBitmap& image2x,
                                     const TImageLayout& layout) const {
  return FScaledImages ? FScaledImages->Get(image, image2x, layout) : image;
}

void TVuzUrezForm::DpiChanged(TMessage& m) {
  SetScale(LOWORD(m.WParam));
  BuildSysButtons();  // the border sizes at the new scale, and the buttons
  // The region is cut again even where the window keeps its size.
  FRegionWidth = FRegionHeight = 0;
  if (const auto* r = reinterpret_cast<const RECT*>(m.LParam))
    SetWindowPos(Handle, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // The window's own handling comes after the frame's: a framework form scales its controls and
  // may size itself again, within the frame just rebuilt.
  CallPrevious(m);
  m.Result = 0;
  UpdateRegion();
  RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

std::size_t TVuzUrezForm::FramePictureBytes() const {
  std::size_t n = PixelBytes(FTitleStrip);
  for (const TPictureCache& p : FBorderPictures) n += p.Bytes();
  return n;
}

void TVuzUrezForm::ForgetFramePictures() {
  FTitleStrip.Clear();
  FTitleKey = TPictureKey{};
  for (TPictureCache& c : FBorderPictures) c.Clear();
}

const TBitmap& TVuzUrezForm::BorderPicture(int index, int width, int height) {
  TPictureCache& cache = FBorderPictures[index == bsLeft ? 0 : index == bsRight ? 1 : 2];
  const TDataSkinBorder* b = Border(index);
  TPictureKey key{width, height, FActive ? 1 : 0, b ? ImageId(b->Bitmap) : 0, FScale.Dpi};
  if (!cache.Holds(key)) cache.Remake(key) = BorderImage(index, width, height);
  return cache.Picture();
}

TPictureKey TVuzUrezForm::TitleKey(int width) {
  // Everything the title bar shows: the caption as the window has it now (the system changes
  // an MDI frame's text without a WM_SETTEXT), the font, the buttons' frame, the skin.
  FCaption = WindowTextW(Handle);
  const TCaptionButtonFrame f = ButtonFrame();
  const TDataSkinBorder* top = Border(bsTop);
  const TDataSkinTitle* title = FSkinData->Skin.Title.get();
  TPictureKey key{width,
                  FTopHeight,
                  FLeftWidth,
                  FRightWidth,
                  FActive ? 1 : 0,
                  FScale.Dpi,
                  reinterpret_cast<std::intptr_t>(FCaptionFont.Get()),
                  top ? ImageId(top->Bitmap) : 0,
                  title ? ImageId(title->Bitmap) : 0,
                  f.BorderIcons,
                  f.FrameKind,
                  f.WindowState,
                  f.MenuHeight,
                  f.RightToLeft ? 1 : 0,
                  f.MdiChildMaximized ? 1 : 0,
                  static_cast<std::intptr_t>(FStyle & WS_POPUP)};
  key.Add(FCaptionPrefix).Add(FCaption);
  return key;
}

void TVuzUrezForm::PaintBorder(int index, const RECT& r, HDC dc) {
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w < 0 || h < 0) return;
  TBitmap image = BorderImage(index, w, h);
  if (!image.Empty()) DrawBitmap(dc, r.left, r.top, image);
}

void TVuzUrezForm::PaintFrame(HDC dc) {
  if (!ScratchBitmap() || (FStage != ssActive && FStage != ssReskinning) || FFrameKind == fkNone ||
      NotNormalMdiChild())
    return;
  if (!FSkinData || FSkinData->NoSkin()) return;
  std::unique_ptr<TWindowDc> own;
  if (!dc) {
    own = std::make_unique<TWindowDc>(Handle, true);
    dc = own->Get();
  }
  try {
    RECT wr{};
    if (dc && GetWindowRect(Handle, &wr)) {
      FWindowRect = wr;
      int w = wr.right - wr.left, h = wr.bottom - wr.top;
      FWindowWidth = w, FWindowHeight = h;
      // The side borders run the full height; their tops also start the title strip. Each part
      // is composed once for its size and look and copied at the paints after.
      const TBitmap& left = BorderPicture(bsLeft, FLeftWidth, h);
      const TBitmap& right = BorderPicture(bsRight, FRightWidth, h);
      if (!left.Empty()) DrawBitmap(dc, 0, 0, left);
      if (!right.Empty()) DrawBitmap(dc, w - FRightWidth, 0, right);
      const TBitmap& bottom = BorderPicture(bsBottom, w - FLeftWidth - FRightWidth, FBottomHeight);
      if (!bottom.Empty()) DrawBitmap(dc, FLeftWidth, h - FBottomHeight, bottom);
      if (FTopHeight > 0 && w > 0) {
        TPictureKey key = TitleKey(w);
        if (key == FTitleKey && FTitleStrip.Width() == w && FTitleStrip.Height() == FTopHeight) {
          DrawBitmap(dc, 0, 0, FTitleStrip);
        } else if (FTitleStrip.SetSize(w, FTopHeight, pf24bit)) {
          if (!left.Empty()) FTitleStrip.CopyRect(0, 0, left, 0, 0, FLeftWidth, FTopHeight);
          if (!right.Empty()) FTitleStrip.CopyRect(w - FRightWidth, 0, right, 0, 0, FRightWidth, FTopHeight);
          PaintTitleBar(dc);
          FTitleKey = key;
          ++FTitleComposeCount;
        }
      }
      if (FMenuBar && FMenuHeight > 0)
        FMenuBar->Paint(dc, RECT{FLeftWidth, FTopHeight, w - FRightWidth, FTopHeight + FMenuHeight}, FActive);
      ++FPaintCount;
    }
  } catch (...) {
    // A frame that cannot be finished stays as far as it got until the next paint.
  }
  // The paint showed every button in its resting face. A button held down stays the hot one (the
  // click that activates a window repaints its frame between press and release) and shows its
  // pressed face again; any other is no longer hot.
  if (FHotObject && FHotObject->State == TNCObject::stPressed) {
    FHotObject->Paint();
  } else {
    if (FHotObject) FHotObject->State = TNCObject::stNormal;
    FHotObject = nullptr;
  }
}

void TVuzUrezForm::PaintTitleBar(HDC dc) {
  int w = FTitleStrip.Width();
  RECT t{FLeftWidth, 0, w - FRightWidth, FTopHeight};
  {
    TBitmapDC strip(FTitleStrip, dc);
    if (!strip) return;
    PaintBorder(bsTop, t, strip.Get());
    // The caption keeps clear of the buttons at the right end, whose places do not depend on it.
    FRightmostButtonLeft = FButtons.PlaceSysButtons(ButtonFrame());
    PaintCaption(strip.Get(), t);
    // The buttons are laid out again after the caption (some follow it) and drawn on the strip;
    // the strip without them is kept for redrawing one button in another state.
    GdiFlush();
    FButtons.KeepTitleBack(FTitleStrip);
    FButtons.PlaceSysButtons(ButtonFrame());
    FButtons.PaintSysButtons(FTitleStrip, FActive);
  }
  DrawBitmap(dc, 0, 0, FTitleStrip);
  SetBkMode(dc, OPAQUE);
}

void TVuzUrezForm::PaintCaption(HDC dc, const RECT& t) {
  // The window's text as it is now: the system changes an MDI frame's text (the maximised
  // child's name in brackets) without a WM_SETTEXT reaching the window procedure.
  FCaption = WindowTextW(Handle);
  TDataSkinTitle* title = FSkinData->Skin.Title.get();
  HGDIOBJ oldFont = FCaptionFont ? SelectObject(dc, FCaptionFont.Get()) : nullptr;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TColor colour = FActive ? FSkinData->Skin.ColourTitleTextActive : FSkinData->Skin.ColourTitleTextNoActive;
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));

  std::wstring measured = FCaptionPrefix + L" " + FCaption;
  RECT m = t;
  DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &m, DT_CALCRECT | DT_NOCLIP);
  TCaptionLayoutInput in;
  in.Title = ToDrawRect(t);
  in.TextWidth = m.right - m.left;
  in.TextHeight = m.bottom - m.top;
  if (title) {
    in.Alignment = title->TextAlignment;
    in.TextShift = FScale.Length(title->LeftWidth);
    in.TextShiftVert = FScale.Length(title->TopHeight);
    in.TextRightClip = FScale.Length(title->RightWidth);
    in.BackLeft = FScale.Length(title->TextBackLeft);
    in.BackRight = FScale.Length(title->TextBackRight);
  }
  in.RightToLeft = FRightToLeft;
  in.Popup = (FStyle & WS_POPUP) != 0;
  in.RightmostButtonLeft = FRightmostButtonLeft;
  if (int icon = FButtons.LeftButtonsRight(ButtonFrame()); icon > 0)
    in.TextLeftClip = std::max(0, icon - static_cast<int>(t.left) + FScale.Length(4));
  TDrawRect c = CaptionRectangle(in);
  FCaptionRect = RECT{c.Left, c.Top, c.Right, c.Bottom};
  if (title && !title->Bitmap.Empty()) {
    TMargins caps{title->TextBackLeft, 0, title->TextBackRight, 0};
    DrawThreeSlice(dc, RECT{c.Left, t.top, c.Right, t.bottom},
                   AtScale(title->Bitmap, title->Bitmap2x, TImageLayout{kActivationFrames, false, caps}),
                   true, true, kActivationFrames, FActive ? afActive : afInactive,
                   TMargins{in.BackLeft, 0, in.BackRight, 0});
  }
  RECT text{c.Left + in.BackLeft, c.Top, c.Right - in.BackRight, c.Bottom};
  std::wstring shown = FCaptionPrefix + FCaption;
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
            DT_SINGLELINE | DT_END_ELLIPSIS | (FRightToLeft ? DT_RIGHT : 0));
  SetBkMode(dc, oldMode);
  if (oldFont) SelectObject(dc, oldFont);
}

void TVuzUrezForm::UpdateRegion() {
  RECT wr{};
  if (GetWindowRect(Handle, &wr)) CutRegion(wr.right - wr.left, wr.bottom - wr.top);
}

void TVuzUrezForm::CutRegion(int w, int h) {
  if (static_cast<long long>(w) * h == 0 || NotNormalMdiChild()) return;
  if (w == FRegionWidth && h == FRegionHeight && FWindowKind != wkMdiChild && FStage != ssReskinning) return;
  const TSkinElements& s = FSkinData->Skin;
  bool anyTrans = (s.BorderLeft && s.BorderLeft->Trans) || (s.BorderRight && s.BorderRight->Trans) ||
                  (s.BorderTop && s.BorderTop->Trans) || (s.BorderBottom && s.BorderBottom->Trans);
  TGdiRegion region;
  if (!anyTrans) {
    region.Reset(CreateRectRgn(0, 0, w, h));
  } else {
    FRegionWidth = w, FRegionHeight = h;
    region.Reset(CreateRectRgn(FLeftWidth, FTopHeight, w - FRightWidth, h - FBottomHeight));
    if (FFrameKind != fkNone) {
      auto unite = [&region](TGdiRegion part) {
        if (part) CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
      };
      auto rect = [](int l, int t, int r, int b) { return TGdiRegion(CreateRectRgn(l, t, r, b)); };
      auto cut = [](const TBitmap& image, int x, int y) {
        return RegionFromImage(image, x, y, 1, 1, 1, SkinKeyColor);
      };
      if (s.BorderLeft && s.BorderLeft->Trans == kTransKeyed && h > 1)
        unite(cut(BorderImage(bsLeft, FLeftWidth, h), 0, 0));
      else
        unite(rect(0, 0, FLeftWidth, h));
      if (s.BorderRight && s.BorderRight->Trans == kTransKeyed && h > 1)
        unite(cut(BorderImage(bsRight, FRightWidth, h), w - FRightWidth, 0));
      else
        unite(rect(w - FRightWidth, 0, w, h));
      int middle = w - FLeftWidth - FRightWidth;
      if (s.BorderBottom && s.BorderBottom->Trans == kTransKeyed && FBottomHeight >= 2)
        unite(cut(BorderImage(bsBottom, middle, FBottomHeight), FLeftWidth, h - FBottomHeight));
      else
        unite(rect(FLeftWidth, h - FBottomHeight, w - FRightWidth, h));
      if (s.BorderTop && s.BorderTop->Trans == kTransKeyed && FTopHeight > 1 && middle > 0) {
        // The composed title bar when it was painted at this size, else the bare top image.
        TBitmap top;
        if (FTitleStrip.Width() == w && FTitleStrip.Height() == FTopHeight) {
          top.SetSize(middle, FTopHeight, pf24bit);
          top.CopyRect(0, 0, FTitleStrip, FLeftWidth, 0, middle, FTopHeight);
        } else {
          top = BorderImage(bsTop, middle, FTopHeight);
        }
        unite(cut(top, FLeftWidth, 0));
      } else {
        unite(rect(FLeftWidth, 0, w - FRightWidth, FTopHeight));
      }
    }
  }
  // The window owns a region once it has it: it is never deleted here.
  FRegion = region.Release();
  if (!SetWindowRgn(Handle, FRegion, TRUE)) DeleteObject(FRegion), FRegion = nullptr;
  FRegionSet = FRegion != nullptr;
}

void TVuzUrezForm::ClearRegion() {
  if (!FRegionSet) return;
  ForgetFramePictures();
  SetWindowRgn(Handle, nullptr, FALSE);
  FRegion = nullptr;
  FRegionSet = false;
}

TCaptionButtonFrame TVuzUrezForm::ButtonFrame() const {
  TCaptionButtonFrame f;
  f.BorderIcons = FBorderIcons;
  f.FrameKind = FFrameKind;
  f.WindowState = FWindowState;
  f.Active = FActive;
  f.MenuHeight = FMenuHeight;
  f.WindowWidth = FWindowWidth;
  f.LeftWidth = FLeftWidth, f.TopHeight = FTopHeight, f.RightWidth = FRightWidth;
  f.CaptionRect = FCaptionRect;
  f.RightToLeft = FRightToLeft;
  f.MdiChildMaximized = FMenuHeight > 0 && IsMdiChildMaximized();
  return f;
}
