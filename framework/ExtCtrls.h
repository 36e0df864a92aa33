// Timers and panels.
#pragma once

#include <windows.h>

#include "framework/Classes.h"
#include "framework/Controls.h"

// Fires OnTimer every Interval milliseconds while Enabled. Runs on the thread's message loop,
// nested modal loops included. Needs no window of its own.
class TTimer : public TComponent {
  DASKEL_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);
  void Loaded() override;
  // Whether the system timer is running (Enabled, an interval and a handler, not loading).
  bool Running() const { return id_ != 0; }

  TNotifyEvent OnTimer;
  void SetOnTimer(TNotifyEvent e);

 protected:
  virtual void Timer() { OnTimer(this); }

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void UpdateTimer();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;
};

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A container that paints itself: face colour, bevels, a centred caption.
class TCustomPanel : public TCustomControl {
  DASKEL_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  void SetText(const std::string& s) override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void Paint() override;

 private:
  TBevelCut bevelOuter_ = bvRaised, bevelInner_ = bvNone;
};

class TPanel : public TCustomPanel {
  DASKEL_CLASS(TPanel, TCustomPanel)
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
