#include "framework/ComCtrls.h"

#include <commctrl.h>

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
  if (HandleAllocated()) {
    DestroyHandle();
    if (parent_ && parent_->HandleAllocated()) Handle();
  }
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
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  width_ = 150, height_ = 17;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = PROGRESS_CLASSA;
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

// ---- track bar

DASKEL_DEFINE_CLASS(TTrackBar, TWinControl) {
  c.Int("Min", &TTrackBar::Min, &TTrackBar::SetMin);
  c.Int("Max", &TTrackBar::Max, &TTrackBar::SetMax);
  c.Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition);
  c.Enum("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation, kOrientations);
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
  p.Style |= TBS_AUTOTICKS | (orientation_ == udVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::Apply() {
  if (!HasState(csLoading) && min_ <= max_)
    position_ = position_ < min_ ? min_ : position_ > max_ ? max_ : position_;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(Handle(), TBM_SETRANGEMAX, FALSE, max_);
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

DASKEL_DEFINE_CLASS(TStatusBar, TWinControl) {
  c.String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
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

void TStatusBar::CreateHandleDone() {
  // One part across the whole bar holds the text.
  int right = -1;
  SendMessageA(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&right));
  SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSimpleText(const std::string& s) {
  simpleText_ = s;
  if (HandleAllocated()) SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(s.c_str()));
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

// ---- tab control

DASKEL_DEFINE_CLASS(TTabControl, TWinControl) {
  c.Strings("Tabs", &TTabControl::Tabs);
  c.Int("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
  c.Event("OnChange", &TTabControl::OnChange);
}

TTabControl::TTabControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289, height_ = 193;
  tabStop_ = true;
  controlStyle_ &= ~csClickEvents;
  tabs_.OnChange = TNotifyEvent(this, &TTabControl::TabsChanged);
}

TTabControl::~TTabControl() { tabs_.OnChange = nullptr; }

void TTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_TABCONTROLA;
  p.Style |= WS_CLIPCHILDREN;
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabControl::Fill() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < tabs_.Count(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tabs_.Get(i).c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TTabControl::CreateHandleDone() { Fill(); }

void TTabControl::TabsChanged(TObject*) {
  if (tabIndex_ >= tabs_.Count()) tabIndex_ = tabs_.Count() - 1;
  Fill();
}

int TTabControl::TabIndex() const {
  if (HandleAllocated())
    return static_cast<int>(SendMessageA(const_cast<TTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
  return tabIndex_;
}

void TTabControl::SetTabIndex(int v) {
  if (!HasState(csReading) && (v < -1 || v >= tabs_.Count())) v = -1;
  tabIndex_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TTabControl::WndProc(TMessage& m) {
  if (m.Msg == WM_DESTROY) tabIndex_ = TabIndex();
  if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
    tabIndex_ = TabIndex();
    OnChange(this);
    return;
  }
  TWinControl::WndProc(m);
}
