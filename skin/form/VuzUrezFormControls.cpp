// Control discovery: when a form skinner attaches it walks the window's controls and gives each
// one it recognises a control skinner. A framework form is walked over its components and
// decided by class, class name, tag, the skin data's class list (Skin3rd) and the OnSkinControl
// event; a plain window (a system dialog or message box) is walked over its child windows and
// decided by Win32 class name and style. The order of the checks is the order of the rows below:
// the first row that holds decides, except that a row whose kind is switched off in SkinControls
// lets the control go on to the later rows.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <exception>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListViews.h"
#include "framework/ScrollCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TypeInfo.h"
#include "skin/controls/WinSubClassBars.h"
#include "skin/controls/WinSubClassBoxes.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassChecks.h"
#include "skin/controls/WinSubClassEdits.h"
#include "skin/controls/WinSubClassListView.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/controls/WinSubClassTabs.h"
#include "skin/controls/WinSubClassToolbar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/form/VuzUrezFormControls.h"
#include "skin/manager/SkinManage.h"

namespace {

// A control with this tag (exactly, not by the hundreds the disable tag counts in) is a scrolled
// control whatever its class.
constexpr int kScrolledControlTag = 55;

std::string Upper(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return s;
}

bool Is(const TControl* c, const char* className) { return c->ClassType().InheritsFrom(className); }

// A control that holds other controls and whose own components are walked in turn.
bool IsContainer(const TControl* c) {
  return dynamic_cast<const TWinControl*>(c) && (c->ControlStyle() & csAcceptsControls) != 0;
}

// A control whose ground is content (text, items, cells) rather than the form's face.
bool IsContent(const TControl* c) {
  if (!c || !dynamic_cast<const TWinControl*>(c)) return false;
  return dynamic_cast<const TCustomEdit*>(c) || dynamic_cast<const TCustomListBox*>(c) ||
         dynamic_cast<const TCustomComboBox*>(c) || Is(c, "TCustomListView") || Is(c, "TCustomTreeView") ||
         Is(c, "TCustomGrid") || Is(c, "TScrollBox");
}

// Tag taken modulo 100 with the sign of the tag (C++'s % truncates toward zero, as wanted).
int TagMod(const TComponent* c) { return static_cast<int>(c->Tag % 100); }

// The second test of the tab rows: the control draws its tabs the system's way (owner-drawn
// tabs are the application's look and stay so).
bool SystemDrawnTabs(TControl* c) {
  auto* w = dynamic_cast<TWinControl*>(c);
  return w && (GetWindowLongPtrA(w->Handle(), GWL_STYLE) & TCS_OWNERDRAWFIXED) == 0;
}

// "Flat" and "Transparent" are switched on only where the control publishes such a property.
void SetTrue(TControl* c, const char* property) { SetEnumProp(c, property, "True"); }

}  // namespace

template <class S>
S* TFormControls::Attach(TControl* c, bool recolour) {
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) return nullptr;
  auto* s = new S(&FSkinner);
  s->AttachControl(w, FSkinner.FSkinData, recolour, &FControlCanvas);
  return s;
}

template <class S>
S* TFormControls::AttachByHandle(HWND wnd, bool listed) {
  auto* s = new S(&FSkinner);
  s->AttachHandle(wnd, FSkinner.FSkinData, &FControlCanvas);
  if (listed) AddIfAbsent(s);
  return s;
}

// The scroll-bar skinner of a scrolled control; trackThumb: it drags the thumbs itself.
bool TFormControls::AttachScrollBars(TControl* c, bool trackThumb) {
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) return false;
  auto* s = new TSkinScrollBar(&FSkinner);
  s->AttachScrollBars(w, FSkinner.FSkinData, trackThumb, &FControlCanvas);
  return true;
}

bool TFormControls::AddIfAbsent(TSkinControl* skinner) {
  if (std::find(FControlSkinners.begin(), FControlSkinners.end(), skinner) != FControlSkinners.end())
    return true;
  FControlSkinners.push_back(skinner);
  return false;
}

void TFormControls::RemoveSkinner(TSkinControl* skinner) {
  auto it = std::find(FControlSkinners.begin(), FControlSkinners.end(), skinner);
  if (it == FControlSkinners.end()) return;
  FControlSkinners.erase(it);
  if (FHotControl == skinner) FHotControl = nullptr;
  delete skinner;
}

void TFormControls::FreeControlSkinners() {
  // Each skinner gives its control back, then goes; a skinner's Detach may not add to the list.
  std::vector<TSkinControl*> list;
  list.swap(FControlSkinners);
  FHotControl = nullptr;
  for (TSkinControl* s : list) s->Detach();
  for (TSkinControl* s : list) delete s;
  // Skinners made by handle and not listed (edits of forms) are owned components: they go too.
  for (int i = FSkinner.ComponentCount() - 1; i >= 0; --i)
    if (auto* s = dynamic_cast<TSkinControl*>(FSkinner.Components(i))) delete s;
}

void TFormControls::Forget(const TComponent* c) {
  if (c == FHotControl) FHotControl = nullptr;
}

void TFormControls::RefreshSkin() {
  for (int i = 0; i < FSkinner.ComponentCount(); ++i)
    if (auto* s = dynamic_cast<TSkinControl*>(FSkinner.Components(i))) s->RefreshSkin();
}

void TFormControls::HotControlLeave() {
  TSkinControl* hot = FHotControl;
  FHotControl = nullptr;
  if (hot) hot->MouseLeave();
}

bool TFormControls::IsControlSkinned(TControl* control) const {
  const std::string name = FForm ? FForm->Name() : std::string(), formName = LowerCase(name);
  for (TSkinControl* s : FControlSkinners) {
    if (s->Control() || s->GraphicControl()) {
      if (s->Control() == control || s->GraphicControl() == control) return true;
      continue;
    }
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w) continue;
    if (w->HandleAllocated()) {
      if (w->Handle() == s->Handle()) return true;
      continue;
    }
    // A control of a print preview that has no window yet counts as skinned.
    return formName.find("preview") != std::string::npos || name == "TQRStandardPreview" ||
           name == "TppPrintPreview" || name == "TdxfmStdPreview";
  }
  return false;
}

bool TFormControls::IsScrolledControl(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w) return false;
  if (w->HandleAllocated() && (GetWindowLongPtrA(w->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
    return true;
  if (control->Tag == kScrolledControlTag) return true;
  for (const char* cls :
       {"TCustomMemo", "TCustomListBox", "TCustomTreeView", "TScrollingWinControl", "TCustomRichEdit"})
    if (Is(control, cls)) return true;
  return false;
}

void TFormControls::SkinChildControls(TComponent* parent) {
  if (!parent) return;
  for (int i = 0; i < parent->ComponentCount(); ++i) SkinChildControl(parent->Components(i), parent);
}

void TFormControls::SkinContainerChildren(TWinControl* box, bool checkBoxes) {
  for (int i = 0; i < box->ControlCount(); ++i) {
    TControl* child = box->Controls(i);
    child->SetParentColor(false);
    if (checkBoxes)
      Attach<TSkinCheckBox>(child, true);
    else
      Attach<TSkinRadioButton>(child, true);
  }
}

bool TFormControls::SkinChildControl(TComponent* component, TComponent* parent) {
  auto* c = dynamic_cast<TControl*>(component);
  if (!c) return false;
  // An MDI child owned by its frame has a form skinner of its own for its controls.
  if (auto* f = dynamic_cast<TCustomForm*>(c); f && f->FormStyle() == fsMDIChild) return false;
  if (TagMod(c) == FSkinner.FSkinData->DisableTag()) return false;
  if (IsControlSkinned(c)) return false;
  if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->HandleAllocated()) {
    try {
      w->HandleNeeded();
    } catch (...) {
      return false;
    }
    if (!w->HandleAllocated()) return false;
  }
  std::string name = Upper(c->ClassName());
  if (FSkinner.FSkinData->OnSkinControl) {
    TComponent* skinned = nullptr;
    FSkinner.FSkinData->OnSkinControl(&FSkinner, FSkinner.FSkinData, dynamic_cast<TControl*>(parent), c, name,
                                      skinned);
    if (auto* s = dynamic_cast<TSkinControl*>(skinned)) {
      if (AddIfAbsent(s)) return false;
      if (auto* w = dynamic_cast<TWinControl*>(c))
        s->AttachControl(w, FSkinner.FSkinData, s->Recolour(), &FControlCanvas);
      else
        s->AttachGraphic(c, FSkinner.FSkinData, &FControlCanvas);
      if (IsContainer(c)) SkinChildControls(c);
      return true;
    }
  }
  if (!SkinByRow(c, name, parent)) return false;
  // Content follows the skin's content colours as well (a grid without them the face colour).
  if (IsContent(c)) (new TSkinContent(&FSkinner))->AttachContent(c, FSkinner.FSkinData, Is(c, "TCustomGrid"));
  return true;
}

bool TFormControls::SkinByRow(TControl* c, const std::string& name, TComponent*) {
  TSkinData& d = *FSkinner.FSkinData;
  auto on = [&](TSkinControlType t) { return d.HasControl(t); };
  bool tabs = on(xcTab) && d.Skin.Tabs && !d.Skin.Tabs->Bitmap.Empty();
  int tag = TagMod(c);

  if (name == "TDBCOMBOBOXEH" || name == "TQRPREVIEW" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX")
    return false;
  if (name == "TTOOLBAR") {
    SetTrue(c, "Flat");
    c->SetColor(d.Skin.ColourButtonFace);
    return true;
  }
  if (tabs && Is(c, "TPageControl")) {
    if (!SystemDrawnTabs(c)) return false;
    AttachByHandle<TSkinTab>(static_cast<TWinControl*>(c)->Handle(), true);
    return true;
  }
  if (SkinByClassList(c->ClassName(), c)) return true;
  if (tabs && name == "TTABSET") return Attach<TSkinTab31>(c, false);
  if (tabs && name == "TTABBEDNOTEBOOK") {
    if (auto* w = dynamic_cast<TWinControl*>(c)) AttachByHandle<TSkinTab>(w->Handle(), true);
    return true;
  }
  if (name == "TMVCPANEL") {
    SkinChildControls(c);
    return true;
  }
  if (tabs && Is(c, "TTabControl")) {
    if (!SystemDrawnTabs(c)) return false;
    AttachByHandle<TSkinTab>(static_cast<TWinControl*>(c)->Handle(), true);
    return true;
  }
  if (on(xcCheckBox) && dynamic_cast<TCustomCheckBox*>(c)) return Attach<TSkinCheckBox>(c, true);
  if (on(xcButton) && name == "TTRACKBAR") return Attach<TSkinTrackBar>(c, false);
  if (on(xcButton) && name == "TUPDOWN") return Attach<TSkinUpDown>(c, false);
  if (on(xcRadioButton) && (Is(c, "TCustomRadioGroup") || Is(c, "TRadioGroup"))) {
    SkinContainerChildren(static_cast<TWinControl*>(c), false);
    return Attach<TSkinBox>(c, true);
  }
  if (on(xcPanel) && name == "TDBNAVIGATOR") {
    SetTrue(c, "Flat");
    return Attach<TSkinBox>(c, true);
  }
  if (on(xcPanel) && dynamic_cast<TCustomGroupBox*>(c)) {
    auto* box = static_cast<TWinControl*>(c);
    for (int i = 0; i < box->ControlCount(); ++i) box->Controls(i)->SetParentColor(false);
    Attach<TSkinBox>(c, true);
    SkinChildControls(c);
    return true;
  }
  if (on(xcRadioButton) && dynamic_cast<TRadioButton*>(c)) return Attach<TSkinRadioButton>(c, true);
  if (on(xcToolbar) && Is(c, "TCoolBar")) {
    SetTrue(c, "Flat");
    return Attach<TSkinBox>(c, true);
  }
  if (on(xcStatusBar) && dynamic_cast<TStatusBar*>(c)) {
    static_cast<TStatusBar*>(c)->SetSizeGrip(false);
    return Attach<TSkinStatusBar>(c, false);
  }
  if (on(xcProgress) && dynamic_cast<TProgressBar*>(c)) return Attach<TSkinProgress>(c, false);
  if (on(xcScrollbar) && dynamic_cast<TScrollBar*>(c)) return Attach<TSkinScControl>(c, false);
  if (on(xcCombo) && (dynamic_cast<TCustomComboBox*>(c) || tag == 95)) {
    Attach<TSkinComBox>(c, false);
    if (auto* w = dynamic_cast<TWinControl*>(c)) SkinSimpleComboList(w->Handle());
    return true;
  }
  if (on(xcEdit) && name == "TDATETIMEPICKER") {
    if (GetEnumProp(c, "DateMode") == "dmUpDown") return Attach<TSkinEdit>(c, false);
    return Attach<TSkinComBox>(c, false);
  }
  if (on(xcScrollbar) && (name == "TRICHEDIT" || name == "TWWDBRICHEDIT" || name == "TDXDBMEMO"))
    return AttachScrollBars(c, true);
  if (on(xcBitBtn) && dynamic_cast<TBitBtn*>(c)) return Attach<TSkinBitButton>(c, false);
  if (on(xcSpeedButton) && dynamic_cast<TSpeedButton*>(c)) {
    auto* s = new TSkinSpeedButton(&FSkinner);
    s->AttachGraphic(c, FSkinner.FSkinData, &FControlCanvas);
    return true;
  }
  if (on(xcPanel) && dynamic_cast<TCustomPanel*>(c)) {
    Attach<TSkinBox>(c, true);
    SkinChildControls(c);
    return true;
  }
  if (on(xcScrollbar) && (name == "TDXTREELIST" || name == "TDXDBTREELIST" || name == "TDXDBGRID"))
    return AttachScrollBars(c, false);
  if (on(xcScrollbar) && Is(c, "TCustomListView")) return Attach<TSkinListView>(c, false);
  if (on(xcScrollbar) && dynamic_cast<TCustomListBox*>(c)) return AttachScrollBars(c, true);
  // The grid's colours come with the content colours (below).
  if (on(xcScrollbar) && Is(c, "TCustomGrid")) return AttachScrollBars(c, true);
  if (on(xcScrollbar) && (tag == 96 || IsScrolledControl(c))) return AttachScrollBars(c, true);
  if (on(xcButton) && dynamic_cast<TButton*>(c)) return Attach<TSkinButton>(c, false);
  if (on(xcEdit) && (dynamic_cast<TCustomEdit*>(c) || tag == 97)) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) AttachByHandle<TSkinEdit>(w->Handle(), false);
    return true;
  }
  // A form placed inside the form also accepts controls: it is left to the next row, which
  // gives it the face colour as well as walking it.
  if (IsContainer(c) && !dynamic_cast<TCustomForm*>(c)) {
    SkinChildControls(c);
    return true;
  }
  if (auto* f = dynamic_cast<TCustomForm*>(c)) {
    f->SetColor(d.Skin.ColourButtonFace);
    SkinChildControls(f);
    return true;
  }
  // Labels follow the face and text colours of the skin, or dark skins would show them as
  // light patches with unreadable text; a label on content follows the content's colours.
  if (on(xcPanel) && dynamic_cast<TCustomLabel*>(c)) {
    if (IsContent(c->Parent())) {
      (new TSkinContent(&FSkinner))->AttachContent(c, &d, false);
      return true;
    }
    auto* s = new TSkinLabel(&FSkinner);
    s->AttachLabel(c, &d);
    return true;
  }
  return false;
}

bool TFormControls::SkinByClassList(const std::string& className, TControl* c) {
  const std::string key = LowerCase(className) + "=";
  TStringList* list = FSkinner.FSkinData->Skin3rd();
  std::string kind;
  bool found = false;
  // Every control of a form asks: the list's lines are compared where they stand, not copied.
  auto startsWithKey = [&key](const std::string& line) {
    return line.size() >= key.size() && std::equal(key.begin(), key.end(), line.begin(), [](char k, char c) {
             return k == std::tolower(static_cast<unsigned char>(c));
           });
  };
  for (int i = 0; i < list->Count() && !found; ++i) {
    const std::string& line = list->Get(i);
    if (!startsWithKey(line)) continue;
    kind = LowerCase(line.substr(key.size(), 50));
    found = true;
  }
  if (!found) return false;
  TSkinData& d = *FSkinner.FSkinData;
  auto on = [&](TSkinControlType t) { return d.HasControl(t); };
  if (kind == "combobox" && on(xcCombo)) {
    Attach<TSkinComBox>(c, false);
  } else if (kind == "edit" && on(xcEdit)) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) AttachByHandle<TSkinEdit>(w->Handle(), false);
  } else if (kind == "radiobutton" && on(xcRadioButton)) {
    Attach<TSkinRadioButton>(c, true);
  } else if (kind == "panel" && on(xcPanel)) {
    SetTrue(c, "Transparent");
    Attach<TSkinBox>(c, true);
  } else if (kind == "button" && on(xcButton)) {
    Attach<TSkinButton>(c, false);
  } else if ((kind == "radiogroup" || kind == "checkgroup") && on(xcPanel)) {
    // Both kinds of group follow the radio-button switch.
    if (on(xcRadioButton)) {
      if (auto* w = dynamic_cast<TWinControl*>(c)) SkinContainerChildren(w, kind == "checkgroup");
      Attach<TSkinBox>(c, true);
    }
  } else if (kind == "checkbox" && on(xcCheckBox)) {
    Attach<TSkinCheckBox>(c, true);
  } else if (kind == "scrollbar" && on(xcScrollbar)) {
    AttachScrollBars(c, true);
  } else if (kind == "trackbar" && on(xcButton)) {
    SetTrue(c, "Transparent");
    Attach<TSkinTrackBar>(c, false);
  } else if (kind == "tab" && on(xcTab) && d.Skin.Tabs && !d.Skin.Tabs->Bitmap.Empty()) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) AttachByHandle<TSkinTab>(w->Handle(), true);
  } else if (kind == "progress" && on(xcProgress)) {
    Attach<TSkinProgress>(c, false);
  }
  // Any other word leaves the control unskinned.
  return true;
}

void TFormControls::SkinChildWindows(HWND parent) {
  for (HWND child = GetTopWindow(parent ? parent : FSkinner.Handle); child;
       child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD) SkinChildWindow(child);
}

namespace {

// The classes of plain windows that SkinChildWindow gives a skinner or leaves alone on purpose
// (an MDI client's windows have skinners of their own); any other is walked as a container.
bool HasSkinnerClass(const std::string& cls) {
  for (const char* known : {"mdiclient", "button", "combobox", "comboboxex32", "edit", "listbox", "scrollbar",
                            "syslistview32", "systreeview32", "sysheader32", "msctls_statusbar32",
                            "toolbarwindow32", "rebarwindow32", "#32770", "systabcontrol32"})
    if (cls == known) return true;
  return false;
}

}  // namespace

void TFormControls::ChildCreated(HWND wnd) {
  if (!(GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) return;
  const std::string cls = LowerCase(WindowClassName(wnd));
  // Also a container that comes with its controls made (a file dialog makes a new shell view,
  // with its list, for each folder it shows), and the lists and trees a program adds.
  if (cls == "#32770" || cls == "msctls_statusbar32" || cls == "toolbarwindow32" || cls == "rebarwindow32" ||
      cls == "syslistview32" || cls == "systreeview32" || (!HasSkinnerClass(cls) && GetWindow(wnd, GW_CHILD)))
    SkinChildWindow(wnd);
}

TSkinControl* TFormControls::FindWindowSkinner(HWND wnd) const {
  for (TSkinControl* s : FControlSkinners)
    if (s->Handle() == wnd) return s;
  return nullptr;
}

void TFormControls::SkinSimpleComboList(HWND combo) {
  // A simple combo's list is always shown: its bars and edge are a list's. Only a combo box
  // answers for its parts, and only its low style bits say it is simple.
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!FSkinner.FSkinData->HasControl(xcScrollbar) || !GetComboBoxInfo(combo, &info) || !info.hwndList ||
      (GetWindowLongPtrA(combo, GWL_STYLE) & 3) != CBS_SIMPLE || FindWindowSkinner(info.hwndList))
    return;
  AttachByHandle<TSkinScrollBar>(info.hwndList, true);
}

void TFormControls::SkinChildWindow(HWND wnd) {
  if (FindWindowSkinner(wnd)) return;
  if (TSkinManage* m = SkinManager(); m && m->IsExcluded(wnd)) return;
  std::string cls = LowerCase(WindowClassName(wnd));
  auto style = static_cast<DWORD>(GetWindowLongPtrA(wnd, GWL_STYLE));
  TSkinData& d = *FSkinner.FSkinData;
  if (cls == "button") {
    // Decided by the button type alone: owner-drawn buttons, split buttons and command links
    // are drawn by their owner or the system and keep that look.
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        if (d.HasControl(xcCheckBox)) AttachByHandle<TSkinCheckBox>(wnd, true);
        return;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        if (d.HasControl(xcRadioButton)) AttachByHandle<TSkinRadioButton>(wnd, true);
        return;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
      case BS_USERBUTTON:
        if (d.HasControl(xcButton)) AttachByHandle<TSkinButton>(wnd, true);
        return;
      default:
        return;  // group boxes take the face colour from the dialog's background
    }
  }
  if (cls == "static") {
    if (TSkinOverlappingText::Wanted(wnd)) AttachByHandle<TSkinOverlappingText>(wnd, true);
    return;
  }
  if (cls == "combobox") {
    // A simple combo's edit is framed as a skinned edit is (the system rings it in the window
    // colour), and its list, always shown, gets a list's bars.
    if (d.HasControl(xcCombo)) AttachByHandle<TSkinComBox>(wnd, true);
    SkinSimpleComboList(wnd);
    return;
  }
  // Fields that scroll (a multi-line edit with bars, a list) get skinned bars; the system's would
  // stand out under any skin. List and tree views also keep their colours in themselves: they
  // take the skin's content colours from their skinner.
  const bool scrolledEdit = cls == "edit" && (style & ES_MULTILINE) && (style & (WS_VSCROLL | WS_HSCROLL));
  if (scrolledEdit || cls == "listbox") {
    if (d.HasControl(xcScrollbar)) AttachByHandle<TSkinScrollBar>(wnd, true);
    return;
  }
  if (cls == "syslistview32" || cls == "systreeview32") {
    if (d.HasControl(xcScrollbar)) AttachByHandle<TSkinView>(wnd, true);
    return;
  }
  if (cls == "sysheader32") {
    AttachByHandle<TSkinHeader>(wnd, true);
    return;
  }
  if (cls == "comboboxex32") {
    // Its edit's colour question reaches it through the combo inside, and left to itself it
    // answers with the system's colours: it answers as the window it stands on, like a pane.
    AttachByHandle<TSkinDialogPane>(wnd, true);
    HWND inner = GetWindow(wnd, GW_CHILD);
    if (inner && d.HasControl(xcCombo) && !FindWindowSkinner(inner)) AttachByHandle<TSkinComBox>(inner, true);
    return;
  }
  if (cls == "edit") {
    if (d.HasControl(xcEdit)) AttachByHandle<TSkinEdit>(wnd, true);
    return;
  }
  if (cls == "scrollbar") {
    // Only size boxes: a real scroll bar would lose its arrows and thumb to the sizer's plain box.
    if ((style & (SBS_SIZEBOX | SBS_SIZEGRIP)) && d.HasControl(xcScrollbar))
      AttachByHandle<TSkinSizer>(wnd, true);
    return;
  }
  // Bars: a status bar painted whole, tool bars painted whole and the rebars that hold them
  // (whose bars and fields are walked in turn) on the skin's ground.
  if (cls == "msctls_statusbar32") {
    if (d.HasControl(xcStatusBar)) AttachByHandle<TSkinStatusBar>(wnd, true);
    return;
  }
  if (cls == "toolbarwindow32") {
    if (d.HasControl(xcToolbar)) AttachByHandle<TSkinToolbar>(wnd, true);
    return;
  }
  if (cls == "rebarwindow32") {
    if (d.HasControl(xcToolbar)) AttachByHandle<TSkinRebar>(wnd, true);
    SkinChildWindows(wnd);
    return;
  }
  if (cls == "#32770") {
    // A dialog nested in the window (the part a program adds to a common dialog) is part of its
    // face: no frame of its own, the window's ground, and its controls skinned like the window's.
    auto* pane = AttachByHandle<TSkinDialogPane>(wnd, true);
    // Its controls: those it has, and those it makes when it is new and initialises.
    pane->OnControlsMade = [this](HWND made) { SkinChildWindows(made); };
    SkinChildWindows(wnd);
    return;
  }
  if (cls == "systabcontrol32") {
    if ((style & TCS_OWNERDRAWFIXED) == 0 && d.HasControl(xcTab)) AttachByHandle<TSkinTab>(wnd, true);
    return;
  }
  // Any other window that holds windows is a program's own container (regedit holds its tree and
  // list in one, a file dialog its list in its shell view): its ground is the window's face (a
  // splitter between its windows shows it) and what it holds is skinned as if it stood on the
  // window.
  if (HasSkinnerClass(cls) || !GetWindow(wnd, GW_CHILD)) return;
  AttachByHandle<TSkinDialogPane>(wnd, true);
  SkinChildWindows(wnd);
}
