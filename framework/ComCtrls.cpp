#include "framework/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace {
const std::vector<std::string> kOrientations{"udHorizontal", "udVertical"};
}

DASKEL_DEFINE_CLASS(TCustomUpDown, TWinControl) {
  c.Int("Min", &TCustomUpDown::Min, &TCustomUpDown::SetMin);
  c.Int("Max", &TCustomUpDown::Max, &TCustomUpDown::SetMax);
  c.Int("Position", &TCustomUpDown::Position, &TCustomUpDown::SetPosition);
  c.Int("Increment", &TCustomUpDown::Increment, &TCustomUpDown::SetIncrement);
  c.Bool("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap);
  c.Bool("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys);
  c.Enum("Orientation", &TCustomUpDown::Orientation, &TCustomUpDown::SetOrientation, kOrientations);
  c.Component("Associate", &TCustomUpDown::SetAssociate);
  c.Event("OnClick", &TCustomUpDown::OnClick);
  c.Event("OnChanging", &TCustomUpDown::OnChanging);
}
DASKEL_DEFINE_CLASS(TUpDown, TCustomUpDown) {}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
  width_ = 17, height_ = 25;
  tabStop_ = false;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TCustomUpDown::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = UPDOWN_CLASSA;
  if (arrowKeys_) p.Style |= UDS_ARROWKEYS;
  if (wrap_) p.Style |= UDS_WRAP;
  if (orientation_ == udHorizontal) p.Style |= UDS_HORZ;
  if (associate_) p.Style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT;
}

void TCustomUpDown::ApplyRange() {
  if (!HasState(csLoading) && min_ <= max_) {
    if (position_ < min_) position_ = min_;
    if (position_ > max_) position_ = max_;
  }
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
}

void TCustomUpDown::CreateHandleDone() {
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  if (associate_) SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(associate_->Handle()), 0);
  ApplyRange();
}

void TCustomUpDown::Loaded() {
  TWinControl::Loaded();
  ApplyRange();
}

void TCustomUpDown::SetMin(int v) {
  min_ = v;
  ApplyRange();
}
void TCustomUpDown::SetMax(int v) {
  max_ = v;
  ApplyRange();
}
void TCustomUpDown::SetPosition(int v) {
  position_ = v;
  ApplyRange();
}
void TCustomUpDown::SetIncrement(int v) {
  increment_ = v < 1 ? 1 : v;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(increment_)};
    SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}
void TCustomUpDown::SetWrap(bool v) {
  wrap_ = v;
  if (HandleAllocated()) {
    LONG_PTR s = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, v ? s | UDS_WRAP : s & ~static_cast<LONG_PTR>(UDS_WRAP));
  }
}
void TCustomUpDown::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}

void TCustomUpDown::SetAssociate(TWinControl* c) {
  if (associate_) RemoveFreeNotification(associate_);
  associate_ = c;
  if (c) FreeNotification(c);
  if (HandleAllocated())
    SendMessageA(Handle(), UDM_SETBUDDY, c ? reinterpret_cast<WPARAM>(c->Handle()) : 0, 0);
}

void TCustomUpDown::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == associate_) associate_ = nullptr;
}

void TCustomUpDown::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
    if (nm->hdr.code == UDN_DELTAPOS) {
      bool allow = true;
      OnChanging(this, allow);
      lastButton_ = nm->iDelta > 0 ? btNext : btPrev;
      if (allow && nm->iDelta != 0) {
        // The framework keeps the position itself: the arithmetic of the range and wrap is ours.
        long long p = static_cast<long long>(position_) + nm->iDelta;
        if (p > max_) p = wrap_ ? min_ : max_;
        if (p < min_) p = wrap_ ? max_ : min_;
        position_ = static_cast<int>(p);
      }
      m.Result = allow ? 0 : 1;
      return;
    }
  }
  if (m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) {
    // Sent after every arrow click, also when the position stayed at the end of the range.
    if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
      SendMessageA(Handle(), UDM_SETPOS32, 0, position_);
      Click(lastButton_);
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- progress bar

DASKEL_DEFINE_CLASS(TProgressBar, TWinControl) {
  c.Int("Min", &TProgressBar::Min, &TProgressBar::SetMin);
  c.Int("Max", &TProgressBar::Max, &TProgressBar::SetMax);
  c.Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition);
  c.Int("Step", &TProgressBar::Step, &TProgressBar::SetStep);
  c.Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150, height_ = 17;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = PROGRESS_CLASSA;
  if (smooth_) p.Style |= PBS_SMOOTH;
}

void TProgressBar::Apply() {
  if (!HasState(csLoading) && min_ <= max_)
    position_ = position_ < min_ ? min_ : position_ > max_ ? max_ : position_;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
  SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::CreateHandleDone() { Apply(); }
void TProgressBar::SetMin(int v) {
  min_ = v;
  Apply();
}
void TProgressBar::SetMax(int v) {
  max_ = v;
  Apply();
}
void TProgressBar::SetPosition(int v) {
  position_ = v;
  Apply();
}
void TProgressBar::SetSmooth(bool v) {
  if (v == smooth_) return;
  smooth_ = v;
  if (HandleAllocated()) {
    LONG_PTR s = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE, v ? s | PBS_SMOOTH : s & ~static_cast<LONG_PTR>(PBS_SMOOTH));
    Invalidate();
  }
}

// ---- track bar

namespace {
const std::vector<std::string> kTickStyles{"tsNone", "tsAuto", "tsManual"};
const std::vector<std::string> kTickMarks{"tmBottomRight", "tmTopLeft", "tmBoth"};
const std::vector<std::string> kBevels{"pbNone", "pbLowered", "pbRaised"};
const std::vector<std::string> kPanelAlignments{"paLeftJustify", "paRightJustify", "paCenter"};
const std::vector<std::string> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};
}  // namespace

DASKEL_DEFINE_CLASS(TTrackBar, TWinControl) {
  c.Int("Min", &TTrackBar::Min, &TTrackBar::SetMin);
  c.Int("Max", &TTrackBar::Max, &TTrackBar::SetMax);
  c.Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition);
  c.Enum("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation, kOrientations);
  c.Enum("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, kTickStyles);
  c.Enum("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, kTickMarks);
  c.Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency);
  c.Event("OnChange", &TTrackBar::OnChange);
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150, height_ = 45;
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = TRACKBAR_CLASSA;
  p.Style |= orientation_ == udVertical ? TBS_VERT : TBS_HORZ;
  if (tickStyle_ == tsNone)
    p.Style |= TBS_NOTICKS;
  else if (tickStyle_ == tsAuto)
    p.Style |= TBS_AUTOTICKS;
  // TBS_BOTTOM and TBS_RIGHT are 0, TBS_TOP and TBS_LEFT share a bit.
  if (tickMarks_ == tmTopLeft) p.Style |= TBS_TOP;
  if (tickMarks_ == tmBoth) p.Style |= TBS_BOTH;
}

void TTrackBar::Apply() {
  if (!HasState(csLoading) && min_ <= max_)
    position_ = position_ < min_ ? min_ : position_ > max_ ? max_ : position_;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
  SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::CreateHandleDone() { Apply(); }
int TTrackBar::Position() const { return position_; }
void TTrackBar::SetMin(int v) {
  min_ = v;
  Apply();
}
void TTrackBar::SetMax(int v) {
  max_ = v;
  Apply();
}
void TTrackBar::SetPosition(int v) {
  if (v == position_) return;
  position_ = v;
  Apply();
  if (!HasState(csLoading)) OnChange(this);
}
void TTrackBar::SetOrientation(TUDOrientation v) {
  if (v == orientation_) return;
  orientation_ = v;
  RecreateWnd();
}
void TTrackBar::SetTickStyle(TTickStyle v) {
  if (v == tickStyle_) return;
  tickStyle_ = v;
  RecreateWnd();
}
void TTrackBar::SetTickMarks(TTickMark v) {
  if (v == tickMarks_) return;
  tickMarks_ = v;
  RecreateWnd();
}
void TTrackBar::SetFrequency(int v) {
  frequency_ = v < 1 ? 1 : v;
  Apply();
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int pos = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
    if (pos != position_) {
      position_ = pos;
      OnChange(this);
    }
    return;
  }
  TWinControl::WndProc(m);
}

// ---- status bar

DASKEL_DEFINE_CLASS(TStatusPanel, TComponent) {
  c.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  c.Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
  c.Enum("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment, kPanelAlignments);
  c.Enum("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel, kBevels);
  c.Bool("RightToLeft", &TStatusPanel::RightToLeft, &TStatusPanel::SetRightToLeft);
}

void TStatusPanel::SetText(const std::string& s) {
  text_ = s;
  Changed();
}
void TStatusPanel::SetWidth(int v) {
  width_ = v;
  Changed();
}
void TStatusPanel::SetAlignment(TPanelAlignment v) {
  alignment_ = v;
  Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel v) {
  bevel_ = v;
  Changed();
}
void TStatusPanel::SetRightToLeft(bool v) {
  rightToLeft_ = v;
  Changed();
}

DASKEL_DEFINE_CLASS(TStatusBar, TWinControl) {
  c.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  c.Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel);
  c.Bool("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
  height_ = 19;
  anchors_ = Anchor(akLeft) | Anchor(akRight) | Anchor(akBottom);
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = STATUSCLASSNAMEA;
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::Apply() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SendMessageA(h, SB_SIMPLE, simplePanel_ || panels_.Empty(), 0);
  SendMessageA(h, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
  if (panels_.Empty()) return;
  // Each part ends where the panel's width says; the last one reaches the right edge.
  std::vector<int> rights;
  int x = 0;
  for (TStatusPanel* p : panels_) rights.push_back(x += p->Width());
  rights.back() = -1;
  SendMessageA(h, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  for (int i = 0; i < panels_.Count(); ++i) {
    TStatusPanel* p = panels_[i];
    WPARAM type = p->Bevel() == pbNone ? SBT_NOBORDERS : p->Bevel() == pbRaised ? SBT_POPOUT : 0;
    if (p->RightToLeft()) type |= SBT_RTLREADING;
    // The system aligns by tab characters: one before the text centres it, two right-align it.
    std::string text = p->Alignment() == paCenter         ? "\t" + p->Text()
                       : p->Alignment() == paRightJustify ? "\t\t" + p->Text()
                                                          : p->Text();
    SendMessageA(h, SB_SETTEXTA, static_cast<WPARAM>(i) | type, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void TStatusBar::CreateHandleDone() { Apply(); }

void TStatusBar::SetSimpleText(const std::string& s) {
  simpleText_ = s;
  Apply();
}

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  Apply();
  Invalidate();
}

void TStatusBar::SetSizeGrip(bool v) {
  if (v == sizeGrip_) return;
  sizeGrip_ = v;
  if (HandleAllocated()) {
    LONG_PTR s = GetWindowLongPtrA(Handle(), GWL_STYLE);
    SetWindowLongPtrA(Handle(), GWL_STYLE,
                      v ? s | SBARS_SIZEGRIP : s & ~static_cast<LONG_PTR>(SBARS_SIZEGRIP));
    Invalidate();
  }
}

void TStatusBar::SetParent(TWinControl* parent) {
  TWinControl::SetParent(parent);
  AlignToParent();
}

void TStatusBar::AlignToParent() {
  if (!parent_) return;
  RECT r = parent_->ClientRect();
  SetBounds(0, r.bottom - height_, r.right, height_);
}

// ---- header control

DASKEL_DEFINE_CLASS(THeaderSection, TComponent) {
  c.String("Text", &THeaderSection::Text, &THeaderSection::SetText);
  c.Int("Width", &THeaderSection::Width, &THeaderSection::SetWidth);
  c.Enum("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment, kAlignments);
  c.Int("ImageIndex", &THeaderSection::ImageIndex, &THeaderSection::SetImageIndex);
}

void THeaderSection::SetText(const std::string& s) {
  text_ = s;
  Changed();
}
void THeaderSection::SetWidth(int v) {
  width_ = v;
  Changed();
}
void THeaderSection::SetAlignment(TAlignment v) {
  alignment_ = v;
  Changed();
}
void THeaderSection::SetImageIndex(int v) {
  imageIndex_ = v;
  Changed();
}

DASKEL_DEFINE_CLASS(THeaderControl, TWinControl) { c.Component("Images", &THeaderControl::SetImages); }

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  width_ = 200, height_ = 20;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void THeaderControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_HEADERA;
  p.Style |= HDS_HORZ | HDS_BUTTONS;
}

void THeaderControl::Apply() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SendMessageA(h, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
  while (SendMessageA(h, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageA(h, HDM_DELETEITEM, 0, 0);
  for (int i = 0; i < sections_.Count(); ++i) {
    THeaderSection* s = sections_[i];
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.cxy = s->Width();
    item.pszText = const_cast<char*>(s->text_.c_str());
    item.fmt = HDF_STRING | (s->Alignment() == taCenter         ? HDF_CENTER
                             : s->Alignment() == taRightJustify ? HDF_RIGHT
                                                                : HDF_LEFT);
    if (s->ImageIndex() >= 0 && images_) {
      item.mask |= HDI_IMAGE;
      item.fmt |= HDF_IMAGE;
      item.iImage = s->ImageIndex();
    }
    SendMessageA(h, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::CreateHandleDone() { Apply(); }

void THeaderControl::SetImages(TImageList* v) {
  if (images_) RemoveFreeNotification(images_);
  images_ = v;
  if (v) FreeNotification(v);
  Apply();
}

void THeaderControl::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == opRemove && c == images_) {
    images_ = nullptr;
    Apply();
  }
}
