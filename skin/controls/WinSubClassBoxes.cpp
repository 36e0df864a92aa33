#include "skin/controls/WinSubClassBoxes.h"

#include <commctrl.h>

#include "framework/Controls.h"
#include "skin/controls/WinSubClassListView.h"
#include "skin/data/VuzUrezDataWin32.h"
#include "skin/manager/SkinManage.h"

LRESULT PlainControlColours(UINT msg, HDC dc, LRESULT given, const TSkinData& data) {
  const TSkinElements& skin = data.Skin;
  switch (msg) {
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG: {
      // Labels, group-box and check-box captions: the system's default text colour becomes the
      // skin's, and any text colour one that reads on the face (black on a dark face does not).
      SetBkMode(dc, TRANSPARENT);
      const COLORREF own = GetTextColor(dc);
      const bool systems = own == GetSysColor(COLOR_WINDOWTEXT) || own == GetSysColor(COLOR_BTNTEXT);
      const TColor text = systems ? skin.ColourButtonText : static_cast<TColor>(own);
      SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(ReadableOn(text, skin.ColourButtonFace))));
      // A button paints its own face: only its text colour is the skin's.
      return msg == WM_CTLCOLORBTN ? given : reinterpret_cast<LRESULT>(ButtonFaceBrush(data));
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (!skin.ContentColours) return given;
      SetTextColor(dc,
                   static_cast<COLORREF>(ColorToRGB(ReadableOn(skin.ColourWindowText, skin.ColourWindow))));
      SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(skin.ColourWindow)));
      return reinterpret_cast<LRESULT>(WindowBrush(data));
    default:
      return given;
  }
}

void FillClientWithFace(HWND wnd, HDC dc, const TSkinData& data) {
  RECT r{};
  GetClientRect(wnd, &r);
  FillRect(dc, &r, ButtonFaceBrush(data));
}

DASKEL_DEFINE_CLASS(TSkinBox, TSkinControl) {}

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TWinControl* control, TSkinData* data, bool recolour, TCanvas* canvas) {
  if (FAttached || !control || !data) return;
  FRecolour = recolour;
  FSkinData = data;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  // The box never sees the control's messages, so it must hear of the control going away.
  control->FreeNotification(this);
  if (Site()) Site()->AddIfAbsent(this);
  if (recolour) Recolour(control);
  FAttached = true;
}

DASKEL_DEFINE_CLASS(TSkinLabel, TSkinControl) {}

TSkinLabel::TSkinLabel(TComponent* owner) : TSkinControl(owner) {}

void TSkinLabel::AttachLabel(TControl* label, TSkinData* data) {
  if (FAttached || !label || !data) return;
  FSkinData = data;
  FGraphicControl = label;
  label->FreeNotification(this);
  if (Site()) Site()->AddIfAbsent(this);
  Recolour(label);
  label->Invalidate();
  FAttached = true;
}

DASKEL_DEFINE_CLASS(TSkinContent, TSkinControl) {}

TSkinContent::TSkinContent(TComponent* owner) : TSkinControl(owner) {}

bool TSkinContent::Wanted() const { return FSkinData && (FSkinData->Skin.ContentColours || FFaceWithout); }

void TSkinContent::Colours(TColor& back, TColor& text) const {
  if (!FSkinData->Skin.ContentColours) {
    TSkinControl::Colours(back, text);
    return;
  }
  back = FSkinData->Skin.ColourWindow;
  text = ReadableOn(FSkinData->Skin.ColourWindowText, back);
}

void TSkinContent::AttachContent(TControl* control, TSkinData* data, bool faceWithout) {
  if (FAttached || !control || !data) return;
  FSkinData = data;
  FFaceWithout = faceWithout;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    FControl = w;
    FHandle = w->Handle();
  } else {
    FGraphicControl = control;
  }
  control->FreeNotification(this);
  if (Site()) Site()->AddIfAbsent(this);
  FView = FHandle && (control->ClassType().InheritsFrom("TCustomListView") ||
                      control->ClassType().InheritsFrom("TCustomTreeView"));
  if (FView) FViewColours.Save(FHandle, control->ClassType().InheritsFrom("TCustomListView"));
  FAttached = true;
  if (Wanted()) Recolour(control);
  ViewColours();
  control->Invalidate();
}

void TSkinContent::RefreshSkin() {
  TControl* c = FControl ? static_cast<TControl*>(FControl) : FGraphicControl;
  if (c && Wanted() && !FRecolour) Recolour(c);
  if (c && !Wanted() && FRecolour) RestoreColours(c);
  TSkinControl::RefreshSkin();
  ViewColours();
}

void TSkinContent::Detach() {
  TSkinControl::Detach();
  if (!TearingDown()) ViewColours();
}

void TSkinContent::ViewColours() {
  if (!FView || !FControl) return;
  if (!FRecolour) {
    FViewColours.Restore();
    return;
  }
  TColor back = clWindow, text = clWindowText;
  Colours(back, text);
  FViewColours.Apply(static_cast<COLORREF>(ColorToRGB(back)), static_cast<COLORREF>(ColorToRGB(text)));
}

DASKEL_DEFINE_CLASS(TSkinOverlappingText, TSkinControl) {}

TSkinOverlappingText::TSkinOverlappingText(TComponent* owner) : TSkinControl(owner) {}

namespace {

// The siblings of a label that it runs under, each as a rectangle in the label's client
// coordinates: visible controls that paint their whole rectangle and that the label does not
// stand inside (a label inside a group box or on a tab control is drawn on it, not under it).
// Other labels are left to their order, as the system leaves them.
template <class F>
void ForEachControlUnder(HWND label, F&& f) {
  RECT own{};
  if (!GetWindowRect(label, &own)) return;
  HWND parent = GetParent(label);
  for (HWND s = parent ? GetWindow(parent, GW_CHILD) : nullptr; s; s = GetWindow(s, GW_HWNDNEXT)) {
    // Its own visibility: a dialog is skinned before it is shown.
    if (s == label || !(GetWindowLongPtrA(s, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{}, meet{};
    if (!GetWindowRect(s, &r) || !IntersectRect(&meet, &own, &r) || EqualRect(&meet, &own)) continue;
    const std::string cls = LowerCase(WindowClassName(s));
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(s, GWL_STYLE));
    if (cls == "static" || (cls == "button" && (style & BS_TYPEMASK) == BS_GROUPBOX)) continue;
    MapWindowPoints(nullptr, label, reinterpret_cast<POINT*>(&r), 2);
    f(r);
  }
}

}  // namespace

bool TSkinOverlappingText::Wanted(HWND wnd) {
  if (!SameText(WindowClassName(wnd), "static")) return false;
  switch (GetWindowLongPtrA(wnd, GWL_STYLE) & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_LEFTNOWORDWRAP:
    case SS_SIMPLE:
      break;
    default:
      return false;  // pictures, frames and owner-drawn statics
  }
  bool under = false;
  ForEachControlUnder(wnd, [&](const RECT&) { under = true; });
  return under;
}

bool TSkinOverlappingText::BeforeDefault(TMessage& m) {
  if (m.Msg != WM_PAINT || m.WParam) return true;
  PAINTSTRUCT ps{};
  if (HDC dc = BeginPaint(FHandle, &ps)) {
    // The label's own painting, into a DC that leaves the controls it runs under alone.
    ForEachControlUnder(FHandle,
                        [&](const RECT& r) { ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); });
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    CallDefault(own);
  }
  EndPaint(FHandle, &ps);
  m.Result = 0;
  return false;
}

void TSkinOverlappingText::AfterDefault(TMessage& m) {
  // Nothing of the label is drawn by the skinner: its colours come from its window.
  if (m.Msg == WM_NCDESTROY) Detach();
}

DASKEL_DEFINE_CLASS(TSkinDialogPane, TSkinControl) {}

TSkinDialogPane::TSkinDialogPane(TComponent* owner) : TSkinControl(owner) {}

bool TSkinDialogPane::BeforeDefault(TMessage& m) {
  if (!FSkinData) return true;
  if (m.Msg == WM_ERASEBKGND) {
    CallDefault(m);
    FillClientWithFace(FHandle, reinterpret_cast<HDC>(m.WParam), *FSkinData);
    m.Result = 1;
    return false;
  }
  if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) {
    CallDefault(m);
    m.Result = PlainControlColours(m.Msg, reinterpret_cast<HDC>(m.WParam), m.Result, *FSkinData);
    return false;
  }
  return true;
}

void TSkinDialogPane::AfterDefault(TMessage& m) {
  // Nothing of the pane is drawn by the skinner but its ground.
  if (m.Msg == WM_INITDIALOG && OnControlsMade) OnControlsMade(FHandle);
  if (m.Msg == WM_NCDESTROY) Detach();
}

void TSkinDialogPane::RepaintAll() const {
  if (FHandle && IsWindow(FHandle))
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSkinDialogPane::Detach() {
  const bool wasAttached = FObjectInstance.Attached();
  TSkinControl::Detach();
  if (wasAttached && !TearingDown()) RepaintAll();
}

void TSkinDialogPane::RefreshSkin() { RepaintAll(); }
