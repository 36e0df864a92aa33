#include "skin/controls/WinSubClass.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/WideText.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDrawWin32.h"

namespace {
int gAlive = 0;
}

DASKEL_DEFINE_CLASS(TSkinControl, TComponent) {}

int TSkinControl::Alive() { return gAlive; }

TSkinControl::TSkinControl(TComponent* owner)
    : TComponent(owner), FSite(dynamic_cast<TSkinControlOwner*>(owner)) {
  ++gAlive;
}

TSkinControl::~TSkinControl() {
  Detach();
  if (FSite && FSite->HotControl() == this) FSite->SetHotControl(nullptr);
  --gAlive;
}

void TSkinControl::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op != opRemove) return;
  FPinnedFonts.erase(std::remove(FPinnedFonts.begin(), FPinnedFonts.end(), c), FPinnedFonts.end());
  // The control goes before its skinner: nothing may be given back to it any more.
  if (c == FControl) {
    FControl = nullptr;
    FOldWindowProc = TWndMethod();
  }
  if (c == FGraphicControl) {
    FGraphicControl = nullptr;
    FOldWindowProc = TWndMethod();
    // A skinner of a windowless control has nothing left to do: its owner frees it (this
    // object is gone when the call returns).
    if (FSite) FSite->RemoveSkinner(this);
  }
}

bool TSkinControl::WindowEnabled() const {
  return FHandle && (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
}

void TSkinControl::ReadCaption() { FCaption = WindowTextW(FHandle); }

void TSkinControl::FollowLook() {
  FOwnFocus = FHandle && GetFocus() == FHandle;
  FUiState = FHandle ? SendMessageW(FHandle, WM_QUERYUISTATE, 0, 0) : 0;
}

void TSkinControl::AttachUnbuffered(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  bool buffered = control && control->DoubleBuffered();
  TSkinControl::AttachControl(control, data, recolour, canvas);
  if (control) control->SetDoubleBuffered(buffered);
}

void TSkinControl::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  if (FAttached || !control) return;
  FRecolour = recolour;
  FSkinData = data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  control->FreeNotification(this);
  FOldWindowProc = control->WindowProc;
  control->WindowProc = TWndMethod(this, &TSkinControl::SkinWndProc);
  control->SetDoubleBuffered(true);
  if (FSite) FSite->AddIfAbsent(this);
  FollowLook();
  FFocused = FOwnFocus;
  FEnabled = WindowEnabled();
  ReadCaption();
  if (recolour) Recolour(control);
  FollowScale();
  if (!FSite || !FSite->RepaintsAfterAttach()) control->Invalidate();
  FAttached = true;
}

void TSkinControl::Recolour(TControl* c) {
  FRecolour = true;
  FSavedColor = c->Color();
  FSavedParentColor = c->ParentColor();
  FSavedParentFont = c->ParentFont();
  FSavedFontColor = c->Font()->Color();
  FFontRecoloured = FSavedFontColor == clWindowText || FSavedFontColor == clBtnText;
  TColor back = clBtnFace, text = clBtnText;
  Colours(back, text);
  c->SetColor(back);
  if (!FFontRecoloured) return;
  if (auto* box = dynamic_cast<TWinControl*>(c)) {
    for (int i = 0; i < box->ControlCount(); ++i) {
      TControl* child = box->Controls(i);
      if (!child->ParentFont() || child->Color() != clWindow) continue;
      child->SetParentFont(false);
      child->FreeNotification(this);
      FPinnedFonts.push_back(child);
    }
  }
  c->Font()->SetColor(text);
}

void TSkinControl::Colours(TColor& back, TColor& text) const {
  back = FSkinData->Skin.ColourButtonFace;
  text = ReadableOn(FSkinData->Skin.ColourButtonText, back);
}

void TSkinControl::RestoreColours(TControl* c) {
  if (!FRecolour || !c) return;
  FRecolour = false;
  if (FFontRecoloured) {
    c->Font()->SetColor(FSavedFontColor);
    // A font that followed the parent's follows it again (setting a colour cut it loose).
    if (FSavedParentFont) c->SetParentFont(true);
  }
  c->SetColor(FSavedColor);
  if (FSavedParentColor) c->SetParentColor(true);
  FFontRecoloured = false;
  for (TControl* child : FPinnedFonts) {
    child->RemoveFreeNotification(this);
    child->SetParentFont(true);
  }
  FPinnedFonts.clear();
}

void TSkinControl::AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) {
  if (FAttached || !IsWindow(wnd)) return;
  FSkinData = data;
  FCanvas = canvas;
  FHandle = wnd;
  FEnabled = true;
  ReadCaption();
  FollowLook();
  if (!FObjectInstance.Attach<&TSkinControl::SkinWndProc>(wnd, this)) return;
  FollowScale();
  FAttached = true;
}

void TSkinControl::AttachGraphic(TControl* control, TSkinData* data, TCanvas* canvas) {
  if (FAttached || !control) return;
  FSkinData = data;
  FCanvas = canvas;
  FGraphicControl = control;
  control->FreeNotification(this);
  FOldWindowProc = control->WindowProc;
  control->WindowProc = TWndMethod(this, &TSkinControl::SkinWndProc);
  if (FSite) FSite->AddIfAbsent(this);
  FEnabled = control->Enabled();
  FCaption = Widen(control->Caption());
  FollowScale();
  if (!FSite || !FSite->RepaintsAfterAttach()) control->Invalidate();
  FAttached = true;
}

void TSkinControl::Detach() {
  if (FOldWindowProc) {
    TControl* target = FControl ? static_cast<TControl*>(FControl) : FGraphicControl;
    // Only our own method is taken out: a later hook on top of it stays where it is.
    if (target && target->WindowProc == TWndMethod(this, &TSkinControl::SkinWndProc))
      target->WindowProc = FOldWindowProc;
    FOldWindowProc = TWndMethod();
  }
  FObjectInstance.Restore();
  FComposed.Clear();
  if (!TearingDown()) RestoreColours(FControl ? static_cast<TControl*>(FControl) : FGraphicControl);
  if (FSite && FSite->HotControl() == this) FSite->SetHotControl(nullptr);
}

void TSkinControl::SkinWndProc(TMessage& m) {
  if (m.Msg == WM_SKINQUERY && m.WParam == 0 && FHandle) {
    m.Result = DrawsControl() ? kSkinQueryControl : 0;
    return;
  }
  // Focus and the focus-cue state are followed here rather than asked for at every paint (each
  // question is a trip to the window server).
  if (m.Msg == WM_SETFOCUS) FOwnFocus = true;
  if (m.Msg == WM_KILLFOCUS) FOwnFocus = false;
  // Every paint starts at the window's DPI as it is now.
  if (m.Msg == WM_PAINT || m.Msg == WM_NCPAINT || m.Msg == WM_ERASEBKGND || m.Msg == WM_PRINT ||
      m.Msg == WM_PRINTCLIENT)
    FollowScale();
  if (!BeforeDefault(m)) return;
  CallDefault(m);
  if (m.Msg == WM_UPDATEUISTATE && FHandle) FUiState = SendMessageW(FHandle, WM_QUERYUISTATE, 0, 0);
  AfterDefault(m);
}

void TSkinControl::CallDefault(TMessage& m) {
  if (FOldWindowProc) {
    FOldWindowProc(m);
  } else if (FObjectInstance.Previous()) {
    // The window's own procedure; still the saved one when detached inside this very message.
    FObjectInstance.CallPrevious(m);
  } else if (FHandle && IsWindow(FHandle)) {
    // A control's skinner detached inside this very message: the control's own handling is back.
    TWindowSubclass::CallWindowProcedure(FHandle, m);
  }
}

bool TSkinControl::BeforeDefault(TMessage&) { return true; }

void TSkinControl::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      Redraw();
      break;
    case WM_SETTEXT:
      // The text comes as the window's kind has it: wide for a Unicode window.
      if (!m.LParam) {
        FCaption.clear();
      } else if (FObjectInstance.Unicode()) {
        FCaption = reinterpret_cast<const wchar_t*>(m.LParam);
      } else {
        FCaption = Widen(reinterpret_cast<const char*>(m.LParam));
      }
      Redraw();
      break;
    case WM_PAINT:
      PaintNow(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_NCDESTROY:
      Detach();
      break;
    default:
      break;
  }
}

void TSkinControl::MouseLeave() {
  if (FHandle && IsWindow(FHandle)) SendMessageA(FHandle, CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::Redraw() {
  RECT r{};
  if (!FHandle || !GetWindowRect(FHandle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  if (!GetParent(FHandle)) return;
  InvalidateRect(FHandle, &r, FALSE);
  UpdateWindow(FHandle);
}

void TSkinControl::PaintNow(HDC dc) {
  RECT r{};
  if (!FHandle || !GetWindowRect(FHandle, &r)) return;
  FollowScale();
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  if (dc) {
    PaintComposed(dc, r);
    return;
  }
  TWindowDc own(FHandle, true);
  if (own.Get()) PaintComposed(own.Get(), r);
}

bool TSkinControl::PictureKey(TPictureKey&) { return false; }

void TSkinControl::PaintComposed(HDC dc, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  TPictureKey key;
  key.Add(w).Add(h);
  if (w <= 0 || h <= 0 || !PictureKey(key)) {
    DrawSkin(dc, r);
    return;
  }
  if (!FComposed.Holds(key)) {
    TBitmap& picture = FComposed.Remake(key);
    bool sized =
        (picture.Width() == w && picture.Height() == h && !picture.Empty()) || picture.SetSize(w, h, pf24bit);
    TBitmapDC composing(picture, dc);
    if (!sized || !composing) {
      FComposed.Forget();
      DrawSkin(dc, r);
      return;
    }
    DrawSkin(composing.Get(), RECT{0, 0, w, h});
  }
  DrawBitmap(dc, r.left, r.top, FComposed.Picture());
}

void TSkinControl::AddOwnLookKey(TPictureKey& key) {
  key.Add(FOwnFocus ? 1 : 0).Add(WindowEnabled() ? 1 : 0);
  key.Add(FUiState).Add(GetWindowLongPtrA(FHandle, GWL_STYLE));
  key.Add(FCaption);
  AddFontKey(key);

  // A framework control gives its parent's question its own colours.
  if (FControl) {
    key.Add(FControl->Color());
    return;
  }
  // Another window's parent answers into a DC of our own: its brush and the colours it sets.
  static TMemoryDc probe(CreateCompatibleDC(nullptr));
  HWND parent = GetParent(FHandle);
  if (!probe || !parent) return;
  HDC dc = probe.Get();
  SetTextColor(dc, 0);
  SetBkColor(dc, 0xFFFFFF);
  SetBkMode(dc, OPAQUE);
  LRESULT brush = SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(FHandle));
  LOGBRUSH lb{};
  if (brush && GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb))
    key.Add(lb.lbStyle).Add(lb.lbColor);
  key.Add(brush).Add(GetTextColor(dc)).Add(GetBkColor(dc)).Add(GetBkMode(dc));
}

void TSkinControl::PaintOwnLook(HDC dc) {
  TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  CallDefault(own);
}

void TSkinControl::AddFontKey(TPictureKey& key) const {
  if (FControl) {
    TFont* f = FControl->Font();
    key.Add(Widen(f->Name())).Add(f->Height()).Add(f->Style()).Add(f->Color()).Add(f->Charset());
    return;
  }
  HFONT font = FHandle ? reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)) : nullptr;
  LOGFONTW lf{};
  if (!font || !GetObjectW(font, sizeof lf, &lf)) {
    key.Add(0);
    return;
  }
  key.Add(lf.lfHeight)
      .Add(lf.lfWidth)
      .Add(lf.lfWeight)
      .Add(lf.lfItalic | lf.lfUnderline << 8 | lf.lfStrikeOut << 16)
      .Add(lf.lfCharSet)
      .Add(lf.lfQuality)
      .Add(std::wstring(lf.lfFaceName));
}

void TSkinControl::PaintMessage(TMessage& m) {
  TPaintDc paint(FHandle, m.WParam);
  HDC dc = paint.Get();
  RECT r{};
  if (dc && GetWindowRect(FHandle, &r)) {
    FWindowRect = r;
    OffsetRect(&r, -r.left, -r.top);
    PaintComposed(dc, r);
  }
  m.Result = 0;
}

bool TSkinControl::PaintWhole(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    PaintMessage(m);
    return true;
  }
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return true;
  }
  return false;
}

bool TSkinControl::PaintOverOwn(TMessage& m) {
  if (m.Msg != WM_PAINT || m.WParam || !FHandle) return false;
  RECT wr{}, cr{};
  if (!GetWindowRect(FHandle, &wr) || !GetClientRect(FHandle, &cr) || cr.right != wr.right - wr.left ||
      cr.bottom != wr.bottom - wr.top)
    return false;
  FWindowRect = wr;
  TPaintDc paint(FHandle, 0);
  if (paint.Get()) {
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(paint.Get()), 0, 0};
    CallDefault(own);
    PaintComposed(paint.Get(), cr);
  }
  m.Result = 0;
  return true;
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::FollowScale() {
  if (!FSkinData) return;
  HWND wnd = FHandle;
  // A windowless control is drawn at its parent's DPI (asked only once the parent has a window).
  TWinControl* parent = FGraphicControl ? FGraphicControl->Parent() : nullptr;
  if (!wnd && parent && parent->HandleAllocated()) wnd = parent->Handle();
  if (wnd && FAtScale.Follow(FSkinData->Skin, WindowDpi(wnd))) ScaleChanged();
}

void TSkinControl::ScaleChanged() { FComposed.Clear(); }

void TSkinControl::RefreshSkin() {
  FollowScale();
  FComposed.Clear();
  TControl* recoloured = FControl ? static_cast<TControl*>(FControl) : FGraphicControl;
  if (FRecolour && recoloured && FSkinData) {
    TColor back = clBtnFace, text = clBtnText;
    Colours(back, text);
    recoloured->SetColor(back);
    if (FFontRecoloured) recoloured->Font()->SetColor(text);
  }
  if (FHandle && IsWindow(FHandle))
    InvalidateRect(FHandle, nullptr, TRUE);
  else if (FGraphicControl)
    FGraphicControl->Invalidate();
}

void TSkinControl::HotMouseMove() {
  if (FState & kSkinHot) return;
  FState |= kSkinHot;
  TSkinControl* hot = FSite ? FSite->HotControl() : nullptr;
  if (hot && hot != this) hot->MouseLeave();
  if (!FSite || FSite->HotControl() != this) {
    Redraw();
    if (FSite) FSite->SetHotControl(this);
  }
}

void TSkinControl::HotEnter() {
  FState |= kSkinHot;
  Redraw();
  if (FSite) FSite->SetHotControl(this);
}

void TSkinControl::HotLeave() {
  FState &= static_cast<std::uint8_t>(~(kSkinHot | kSkinPressed));
  Redraw();
  if (FSite && FSite->HotControl() == this) FSite->SetHotControl(nullptr);
}
