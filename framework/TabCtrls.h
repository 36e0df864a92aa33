// Tabbed controls: the tab control and the page control over the comctl32 tab class (tabs on
// any side, one row, scroll arrows when the tabs do not fit), the page control's sheets, and a
// tab set of the older kind that draws its tabs along its bottom edge itself, with a scroller.
#pragma once

#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Controls.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TCustomTabControl : public TWinControl {
  DASKEL_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
  int TabIndex() const;
  void SetTabIndex(int v);
  TTabPosition TabPosition() const { return tabPosition_; }
  // Left and right tabs need the system's multi-line layout; elsewhere one row is kept.
  void SetTabPosition(TTabPosition v);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  // The client rectangle without the tabs: where pages go.
  RECT DisplayRect();
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  // The tab texts, in order.
  virtual std::vector<std::string> TabTexts() const = 0;
  virtual void Change() { OnChange(this); }
  void FillTabs();
  void Recreate();
  int tabIndex_ = -1;

 private:
  TTabPosition tabPosition_ = tpTop;
  bool multiLine_ = false;
};

// Tabs ("TTabControl"); OnChange after the user picks a tab.
class TTabControl : public TCustomTabControl {
  DASKEL_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  TStrings* Tabs() { return &tabs_; }

 protected:
  std::vector<std::string> TabTexts() const override;

 private:
  void TabsChanged(TObject*);
  TStringList tabs_;
};

class TPageControl;

// One page of a page control: a container whose caption is its tab's text.
class TTabSheet : public TWinControl {
  DASKEL_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetParent(TWinControl* parent) override;
  void SetText(const std::string& s) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

// Pages with tabs ("TPageControl"): the sheets placed in it are its pages, the active one shown
// in the display rectangle.
class TPageControl : public TCustomTabControl {
  DASKEL_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int i) const { return pages_[static_cast<std::size_t>(i)]; }
  TTabSheet* ActivePage() const;
  int ActivePageIndex() const { return TabIndex(); }
  void SetActivePageIndex(int v);
  void Loaded() override;

 protected:
  std::vector<std::string> TabTexts() const override;
  void Change() override;
  void CreateHandleDone() override;
  void Resized(int oldClientWidth, int oldClientHeight) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void ShowActive();
  std::vector<TTabSheet*> pages_;
};

// The tab set's scroller: two arrows side by side that move the first shown tab.
class TTabScroller : public TCustomUpDown {
  DASKEL_CLASS(TTabScroller, TCustomUpDown)
 public:
  explicit TTabScroller(TComponent* owner);
};

// A tab set of the older kind ("TTabSet"): tabs hanging from its top edge, drawn by itself; when
// they do not all fit, a scroller at the right end moves the first shown tab. The scroller is
// the first component the tab set owns.
class TTabSet : public TCustomControl {
  DASKEL_CLASS(TTabSet, TCustomControl)
 public:
  explicit TTabSet(TComponent* owner);
  ~TTabSet() override;
  TStrings* Tabs() { return &tabs_; }
  const TStrings* Tabs() const { return &tabs_; }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int v);
  int StartMargin() const { return startMargin_; }
  void SetStartMargin(int v);
  int EndMargin() const { return endMargin_; }
  void SetEndMargin(int v);
  int FirstIndex() const { return firstIndex_; }
  void SetFirstIndex(int v);
  TTabScroller* Scroller() const { return scroller_; }
  bool ScrollerVisible() const;
  // A tab's rectangle as the tab set lays it out, or false when the tab is not shown.
  bool TabRect(int index, RECT& r);
  TNotifyEvent OnChange;

  // Room a tab needs beside its text, and the extra room while the scroller shows.
  static constexpr int kTabPadding = 9;
  static constexpr int kScrollerRoom = 12;

 protected:
  void Paint() override;
  void WndProc(TMessage& m) override;
  void Resized(int oldClientWidth, int oldClientHeight) override;
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  void TabsChanged(TObject*);
  void ScrollClick(TObject*, TUDBtnType button);
  // Lays the tabs out from the first shown one; with all, as if the scroller were hidden and
  // the first tab first (to know whether everything fits).
  std::vector<RECT> Layout(bool all);
  void UpdateScroller();
  TStringList tabs_;
  TTabScroller* scroller_ = nullptr;
  int tabIndex_ = -1, startMargin_ = 5, endMargin_ = 15, firstIndex_ = 0;
};
