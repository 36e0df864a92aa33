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
