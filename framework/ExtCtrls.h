// Timers, panels and radio groups.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/StdCtrls.h"

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

// A group box that holds one radio button per item, laid out in Columns columns (filled top to
// bottom); ItemIndex is the checked one (-1: none). The buttons are its own children.
class TCustomRadioGroup : public TCustomGroupBox {
  DASKEL_CLASS(TCustomRadioGroup, TCustomGroupBox)
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  TStrings* Items() { return &items_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v);
  int Columns() const { return columns_; }
  void SetColumns(int v);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int i) const { return buttons_[static_cast<std::size_t>(i)]; }
  void Loaded() override;

 protected:
  void Resized(int oldClientWidth, int oldClientHeight) override;

 private:
  void ItemsChanged(TObject* sender);
  void ButtonClicked(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();
  void CheckButtons();
  TStringList items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool checking_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  DASKEL_CLASS(TRadioGroup, TCustomRadioGroup)
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
