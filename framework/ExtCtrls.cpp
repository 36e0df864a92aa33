#include "framework/ExtCtrls.h"

#include <map>
#include <stdexcept>

#include "framework/Controls.h"

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
  try {
    it->second->Timer();
  } catch (const std::exception& e) {
    HandleFrameworkException(&e);
  } catch (...) {
    HandleFrameworkException(nullptr);
  }
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
