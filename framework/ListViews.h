// List views ("TListView" over the comctl32 list-view class: report style with a header and
// columns, icon and list styles) and tree views ("TTreeView" over the comctl32 tree-view class).
#pragma once

#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The rows of a list view are lines of its Items: the caption, then the sub-items, separated
// by '|'. Its Columns are lines "Caption=Width".
class TCustomListView : public TWinControl {
  DASKEL_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  TStrings* Columns() { return &columns_; }
  TStrings* Items() { return &items_; }
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  // The header window of the report style (made by the list view), or nullptr.
  HWND HeaderHandle();
  int ItemIndex();
  void SetItemIndex(int v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  void ListChanged(TObject*);
  void Fill();
  void Recreate();
  TViewStyle viewStyle_ = vsIcon;
  TStringList columns_, items_;
  bool gridLines_ = false, rowSelect_ = false;
  int itemIndex_ = -1;
};

class TListView : public TCustomListView {
  DASKEL_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// The nodes of a tree view are lines of its Items; each leading space puts a line one level
// deeper than the line without it. All nodes start expanded.
class TCustomTreeView : public TWinControl {
  DASKEL_CLASS(TCustomTreeView, TWinControl)
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;
  TStrings* Items() { return &items_; }
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool v) { showLines_ = v; }
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool v) { showButtons_ = v; }
  bool ShowRoot() const { return showRoot_; }
  void SetShowRoot(bool v) { showRoot_ = v; }
  int NodeCount();

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

 private:
  void ItemsChanged(TObject*);
  void Fill();
  TStringList items_;
  bool showLines_ = true, showButtons_ = true, showRoot_ = true;
};

class TTreeView : public TCustomTreeView {
  DASKEL_CLASS(TTreeView, TCustomTreeView)
 public:
  explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};
