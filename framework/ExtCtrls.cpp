#include "framework/ExtCtrls.h"

#include <map>
#include <stdexcept>

#include "framework/Controls.h"
#include "framework/ExceptionBarrier.h"

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
  // Never freed: components freed by static destructors at exit still use it.
  static auto* timers = new std::map<UINT_PTR, TTimer*>;
  return *timers;
}
}  // namespace

DASKEL_DEFINE_CLASS(TTimer, TComponent) {
  c.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
  c.Int("Interval", &TTimer::Interval, &TTimer::SetInterval);
  c.Event("OnTimer", &TTimer::OnTimer);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (v == interval_) return;
  interval_ = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent e) {
  OnTimer = e;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_) {
    KillTimer(nullptr, id_);
    Timers().erase(id_);
    id_ = 0;
  }
  // OnTimer may be bound by a layout after Enabled was read: Loaded starts the timer then.
  if (!enabled_ || interval_ == 0 || HasState(csLoading) || HasState(csDestroying)) return;
  id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
  if (id_) Timers()[id_] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  Guarded([&] { it->second->Timer(); });
}

// ---- panels

namespace {
const std::vector<std::string> kBevels{"bvNone", "bvLowered", "bvRaised"};
}

DASKEL_DEFINE_CLASS(TCustomPanel, TCustomControl) {
  c.Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, kBevels);
  c.Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, kBevels);
}
DASKEL_DEFINE_CLASS(TPanel, TCustomPanel) {}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { width_ = 185, height_ = 41; }

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  Invalidate();
}
void TCustomPanel::SetText(const std::string& s) {
  // The caption is painted, not kept by a window.
  TControl::SetText(s);
  if (HandleAllocated()) SetWindowTextA(Handle(), s.c_str());
}

void TCustomPanel::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

void TCustomPanel::Paint() {
  TCanvas& c = *Canvas();
  RECT r = ClientRect();
  c.Brush().SetColor(color_);
  c.FillRect(r);
  for (TBevelCut b : {bevelOuter_, bevelInner_}) {
    if (b == bvNone) continue;
    DrawEdge(c.Handle(), &r, b == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  c.Brush().SetStyle(bsClear);
  c.TextRect(r, text_, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- radio groups

DASKEL_DEFINE_CLASS(TCustomRadioGroup, TCustomGroupBox) {
  c.Strings("Items", &TCustomRadioGroup::Items);
  c.Int("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex);
  c.Int("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns);
}
DASKEL_DEFINE_CLASS(TRadioGroup, TCustomRadioGroup) {}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  items_.OnChange = TNotifyEvent(this, &TCustomRadioGroup::ItemsChanged);
}

void TCustomRadioGroup::SetItemIndex(int v) {
  // While a layout is read the items may come later: keep the index as it is.
  if (!HasState(csReading) && !HasState(csLoading) && (v < -1 || v >= items_.Count())) v = -1;
  itemIndex_ = v;
  CheckButtons();
}

void TCustomRadioGroup::SetColumns(int v) {
  v = v < 1 ? 1 : v > 16 ? 16 : v;
  if (v == columns_) return;
  columns_ = v;
  ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  UpdateButtons();
}

void TCustomRadioGroup::Resized(int oldClientWidth, int oldClientHeight) {
  TCustomGroupBox::Resized(oldClientWidth, oldClientHeight);
  ArrangeButtons();
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
  if (HasState(csLoading) || HasState(csReading)) return;
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  while (ButtonCount() > items_.Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  while (ButtonCount() < items_.Count()) {
    auto* b = new TRadioButton(this);
    b->OnClick = TNotifyEvent(this, &TCustomRadioGroup::ButtonClicked);
    b->SetParent(this);
    buttons_.push_back(b);
  }
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->SetCaption(items_.Get(i));
  ArrangeButtons();
  CheckButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int count = ButtonCount();
  const int perColumn = (count + columns_ - 1) / columns_;
  // Below the caption line; what does not divide evenly is shared above and below.
  const int captionHeight = font_.Height() < 0 ? -font_.Height() + ScaleValue(4) : ScaleValue(16);
  const int free = height_ - captionHeight - ScaleValue(5);
  const int rowHeight = free / perColumn > 0 ? free / perColumn : 1;
  const int top = captionHeight + 1 + (free % perColumn) / 2;
  const int columnWidth = (width_ - ScaleValue(10)) / columns_;
  for (int i = 0; i < count; ++i)
    Buttons(i)->SetBounds(ScaleValue(8) + (i / perColumn) * columnWidth, top + (i % perColumn) * rowHeight,
                          columnWidth, rowHeight);
}

void TCustomRadioGroup::CheckButtons() {
  checking_ = true;
  for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->SetChecked(i == itemIndex_);
  checking_ = false;
}

void TCustomRadioGroup::ButtonClicked(TObject* sender) {
  if (checking_) return;
  for (int i = 0; i < ButtonCount(); ++i)
    if (Buttons(i) == sender && Buttons(i)->Checked()) {
      itemIndex_ = i;
      Click();
    }
}
