// Common controls: the up-down spinner, the progress bar, the track bar, the status bar with
// its panels and the header control with its sections (over the comctl32 classes). The tabbed
// controls are in TabCtrls.h.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

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

// Progress bar ("TProgressBar" over the comctl32 progress class). Smooth: one continuous bar;
// otherwise the system's segmented (chunk) look.
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
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  void Apply();
  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
  bool smooth_ = false;
};

enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// Track bar ("TTrackBar" over the comctl32 track-bar class); OnChange when the position moves.
// Ticks every Frequency positions (tsAuto), on the side(s) TickMarks names.
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
  void SetOrientation(TUDOrientation v);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark v);
  int Frequency() const { return frequency_; }
  void SetFrequency(int v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  void Apply();
  int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1;
  TUDOrientation orientation_ = udHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
};

template <class Host, class Item>
class TItemList;

// An item of a control's list (a status bar's panel, a header's section): a component that in a
// layout sits inside its control. It tells the control of each change and leaves the list when
// it is freed. The control keeps a TItemList<Host, Item> that List() returns and an Apply() that
// shows the items.
template <class Host, class Item>
class TListItem : public TComponent {
 public:
  explicit TListItem(TComponent* owner) : TComponent(owner) {}
  ~TListItem() override {
    if (host_) host_->List().Remove(static_cast<Item*>(this));
  }
  void SetParentComponent(TComponent* parent) override {
    if (auto* h = dynamic_cast<Host*>(parent); h && h != host_) h->List().Insert(static_cast<Item*>(this));
  }

 protected:
  void Changed() {
    if (host_) host_->Apply();
  }
  Host* host_ = nullptr;

 private:
  friend class TItemList<Host, Item>;
};

template <class Host, class Item>
class TItemList {
 public:
  explicit TItemList(Host* host) : host_(host) {}
  ~TItemList() {
    for (Item* i : items_) i->host_ = nullptr;
  }
  TItemList(const TItemList&) = delete;
  TItemList& operator=(const TItemList&) = delete;
  int Count() const { return static_cast<int>(items_.size()); }
  Item* operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
  bool Empty() const { return items_.empty(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // A new item, owned with the control.
  Item* Add() {
    auto* i = new Item(host_->Owner() ? host_->Owner() : host_);
    Insert(i);
    return i;
  }
  void Insert(Item* i) {
    if (i->host_) i->host_->List().Remove(i);
    i->host_ = host_;
    items_.push_back(i);
    host_->Apply();
  }
  void Remove(Item* i) {
    i->host_ = nullptr;
    items_.erase(std::remove(items_.begin(), items_.end(), i), items_.end());
    if (!host_->HasState(csDestroying)) host_->Apply();
  }

 private:
  Host* host_;
  std::vector<Item*> items_;
};

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TPanelAlignment { paLeftJustify, paRightJustify, paCenter };

class TStatusBar;
class TStatusPanel;

// One panel of a status bar; in a layout, an object placed inside the status bar.
class TStatusPanel : public TListItem<TStatusBar, TStatusPanel> {
  DASKEL_CLASS(TStatusPanel, TComponent)
 public:
  explicit TStatusPanel(TComponent* owner) : TListItem(owner) {}
  std::string Text() const { return text_; }
  void SetText(const std::string& s);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPanelAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPanelAlignment v);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel v);
  // The text reads right to left (the system is told with SBT_RTLREADING).
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool v);
  TStatusBar* StatusBar() const { return host_; }

 private:
  std::string text_;
  int width_ = 50;
  TPanelAlignment alignment_ = paLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  bool rightToLeft_ = false;
};

// Status bar ("TStatusBar" over the comctl32 status class), kept along the bottom edge of its
// parent: its panels, or in simple mode (or without panels) one simple text.
class TStatusBar : public TWinControl {
  DASKEL_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* owner);
  std::string SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& s);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  int PanelCount() const { return panels_.Count(); }
  TStatusPanel* Panels(int i) const { return panels_[i]; }
  TStatusPanel* AddPanel() { return panels_.Add(); }
  void SetParent(TWinControl* parent) override;
  // Puts it along the bottom of the parent at the parent's full width.
  void AlignToParent();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  friend class TListItem<TStatusBar, TStatusPanel>;
  friend class TItemList<TStatusBar, TStatusPanel>;
  TItemList<TStatusBar, TStatusPanel>& List() { return panels_; }
  void Apply();
  TItemList<TStatusBar, TStatusPanel> panels_{this};
  std::string simpleText_;
  bool simplePanel_ = false;
  bool sizeGrip_ = true;
};

class THeaderControl;
class TImageList;

// One section of a header control; in a layout, an object placed inside the header.
class THeaderSection : public TListItem<THeaderControl, THeaderSection> {
  DASKEL_CLASS(THeaderSection, TComponent)
 public:
  explicit THeaderSection(TComponent* owner) : TListItem(owner) {}
  std::string Text() const { return text_; }
  void SetText(const std::string& s);
  int Width() const { return width_; }
  void SetWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // The image of the header's image list shown before the text; -1 for none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);

 private:
  friend class THeaderControl;
  std::string text_;
  int width_ = 50, imageIndex_ = -1;
  TAlignment alignment_ = taLeftJustify;
};

// Column headings ("THeaderControl" over the comctl32 header class).
class THeaderControl : public TWinControl {
  DASKEL_CLASS(THeaderControl, TWinControl)
 public:
  explicit THeaderControl(TComponent* owner);
  int SectionCount() const { return sections_.Count(); }
  THeaderSection* Sections(int i) const { return sections_[i]; }
  THeaderSection* AddSection() { return sections_.Add(); }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TListItem<THeaderControl, THeaderSection>;
  friend class TItemList<THeaderControl, THeaderSection>;
  TItemList<THeaderControl, THeaderSection>& List() { return sections_; }
  void Apply();
  TItemList<THeaderControl, THeaderSection> sections_{this};
  TImageList* images_ = nullptr;
};

#include "framework/TabCtrls.h"
