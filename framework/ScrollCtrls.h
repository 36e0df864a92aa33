// Scrolling controls: the scroll bar control ("TScrollBar" over "SCROLLBAR"), the scroll box (a
// container that scrolls its children when they reach past its client area) and the string
// grid (a control of its own that draws cells and scrolls by whole rows and columns).
#pragma once

#include <string>
#include <vector>

#include "framework/Controls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
  DASKEL_CLASS(TScrollBar, TWinControl)
 public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind v);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  // Always within [Min, Max - PageSize + 1] (within [Min, Max] without a page).
  int Position() const { return position_; }
  void SetPosition(int v);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int v);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int v) { smallChange_ = v; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int v) { largeChange_ = v; }
  void Loaded() override;
  // After the position changed.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;

 private:
  int Clamp(int v) const;
  void Apply();
  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0, smallChange_ = 1, largeChange_ = 1;
};

// A windowed container whose window scroll bars scroll its children (AutoScroll): the range
// is the extent of the children, the page the client size.
class TScrollingWinControl : public TWinControl {
  DASKEL_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* owner);
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v);
  int ScrollX() const { return scrollX_; }
  int ScrollY() const { return scrollY_; }
  // Shows, hides and sizes the bars for the children as they are now.
  void UpdateScrollRange();
  // Scrolls the children so that (x, y) of the content is at the client origin.
  void ScrollTo(int x, int y);
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void Resized(int oldClientWidth, int oldClientHeight) override;

 private:
  void Scroll(int bar, WPARAM wp);
  bool autoScroll_ = true, updating_ = false;
  int scrollX_ = 0, scrollY_ = 0;
};

class TScrollBox : public TScrollingWinControl {
  DASKEL_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* owner);
};

// Cells of ColCount x RowCount; the first FixedCols columns and FixedRows rows stay in place
// and are drawn in the face colour, the others scroll (TopRow, LeftCol: the first scrolling
// row and column shown).
class TCustomGrid : public TCustomControl {
  DASKEL_CLASS(TCustomGrid, TCustomControl)
 public:
  explicit TCustomGrid(TComponent* owner);
  int ColCount() const { return colCount_; }
  void SetColCount(int v);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int v);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int v);
  int DefaultColWidth() const { return colWidth_; }
  void SetDefaultColWidth(int v);
  int DefaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int v);
  int TopRow() const { return topRow_; }
  void SetTopRow(int v);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int v);
  // Whole scrolling rows and columns that fit in the client area.
  int VisibleRowCount() const;
  int VisibleColCount() const;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void Resized(int oldClientWidth, int oldClientHeight) override;
  void Paint() override;
  virtual std::string CellText(int col, int row) const = 0;

 private:
  void UpdateScrollBars();
  void Scroll(int bar, WPARAM wp);
  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int colWidth_ = 64, rowHeight_ = 24, topRow_ = 1, leftCol_ = 1;
};

class TStringGrid : public TCustomGrid {
  DASKEL_CLASS(TStringGrid, TCustomGrid)
 public:
  explicit TStringGrid(TComponent* owner) : TCustomGrid(owner) {}
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& s);

 protected:
  std::string CellText(int col, int row) const override { return Cells(col, row); }

 private:
  std::vector<std::vector<std::string>> cells_;  // by row
};
