// Common controls: the up-down spinner ("TUpDown" over the comctl32 up-down class).
#pragma once

#include "framework/Controls.h"

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = TMethod<TObject*, TUDBtnType>;
using TUDChangingEvent = TMethod<TObject*, bool&>;

class TCustomUpDown : public TWinControl {
  DASKEL_CLASS(TCustomUpDown, TWinControl)
 public:
  explicit TCustomUpDown(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  // Always within [Min, Max]: a value outside is brought to the nearer end.
  int Position() const { return position_; }
  void SetPosition(int v);
  int Increment() const { return increment_; }
  void SetIncrement(int v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  bool ArrowKeys() const { return arrowKeys_; }
  void SetArrowKeys(bool v) { arrowKeys_ = v; }
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* c);
  void Loaded() override;

  // After a click on an arrow (also at the end of the range): which arrow it was.
  TUDClickEvent OnClick;
  // Before the position changes; setting the flag to false refuses the change.
  TUDChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void Notification(TComponent* c, TOperation op) override;
  virtual void Click(TUDBtnType button) { OnClick(this, button); }

 private:
  void ApplyRange();
  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  bool wrap_ = false, arrowKeys_ = true;
  TUDOrientation orientation_ = udVertical;
  TWinControl* associate_ = nullptr;
  TUDBtnType lastButton_ = btNext;
};

class TUpDown : public TCustomUpDown {
  DASKEL_CLASS(TUpDown, TCustomUpDown)
 public:
  explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

// Progress bar ("TProgressBar" over the comctl32 progress class).
class TProgressBar : public TWinControl {
  DASKEL_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(position_ + step_); }

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  void Apply();
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};

// Track bar ("TTrackBar" over the comctl32 track-bar class); OnChange when the position moves.
class TTrackBar : public TWinControl {
  DASKEL_CLASS(TTrackBar, TWinControl)
 public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v) { orientation_ = v; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  void Apply();
  int min_ = 0, max_ = 10, position_ = 0;
  TUDOrientation orientation_ = udHorizontal;
};

// Status bar ("TStatusBar" over the comctl32 status class): one simple text, kept along the
// bottom edge of its parent.
class TStatusBar : public TWinControl {
  DASKEL_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);
  std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& s);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v) { sizeGrip_ = v; }
  void SetParent(TWinControl* parent) override;
  // Puts it along the bottom of the parent at the parent's full width.
  void AlignToParent();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  std::string simpleText_;
  bool sizeGrip_ = true;
};

// Tabs ("TTabControl" over the comctl32 tab class); OnChange after the user picks a tab.
class TTabControl : public TWinControl {
  DASKEL_CLASS(TTabControl, TWinControl)
 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  TStrings* Tabs() { return &tabs_; }
  int TabIndex() const;
  void SetTabIndex(int v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  void TabsChanged(TObject*);
  void Fill();
  TStringList tabs_;
  int tabIndex_ = -1;
};
