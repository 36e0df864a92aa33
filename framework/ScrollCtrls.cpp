#include "framework/ScrollCtrls.h"

#include <algorithm>

#include "framework/Messages.h"

namespace {
const std::vector<std::string> kScrollBarKinds{"sbHorizontal", "sbVertical"};

// The thumb position a scroll message carries: its 16 bits, or the full track position of the
// bar when the range needs more.
int ThumbPosition(HWND wnd, int bar, WPARAM wp) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(wnd, bar, &si);
  if (si.nMax - si.nMin > 0xFFFF) return si.nTrackPos;
  return static_cast<short>(HIWORD(wp));
}

// The position a scroll code asks for, from the bar's information; line and page are the steps.
int ScrolledPosition(int code, int pos, int thumb, int line, int page, int lo, int hi) {
  switch (code) {
    case SB_LINEUP:
      pos -= line;
      break;
    case SB_LINEDOWN:
      pos += line;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = thumb;
      break;
    case SB_TOP:
      pos = lo;
      break;
    case SB_BOTTOM:
      pos = hi;
      break;
    default:
      break;
  }
  return std::clamp(pos, lo, std::max(lo, hi));
}
}  // namespace

// ---- scroll bar controls

DASKEL_DEFINE_CLASS(TScrollBar, TWinControl) {
  c.Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, kScrollBarKinds);
  c.Int("Min", &TScrollBar::Min, &TScrollBar::SetMin);
  c.Int("Max", &TScrollBar::Max, &TScrollBar::SetMax);
  c.Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition);
  c.Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
  c.Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange);
  c.Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange);
  c.Event("OnChange", &TScrollBar::OnChange);
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  width_ = 121, height_ = GetSystemMetrics(SM_CYHSCROLL);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TScrollBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "SCROLLBAR";
  p.Style |= kind_ == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandleDone() { Apply(); }

void TScrollBar::Loaded() {
  TWinControl::Loaded();
  position_ = Clamp(position_);
  Apply();
}

int TScrollBar::Clamp(int v) const {
  int hi = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
  return std::clamp(v, min_, std::max(min_, hi));
}

void TScrollBar::Apply() {
  if (!HandleAllocated() || HasState(csLoading)) return;
  SCROLLINFO si{
      sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(Handle(), SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == kind_) return;
  kind_ = v;
  if (!HasState(csReading)) SetBounds(left_, top_, height_, width_);
  RecreateWnd();
}

void TScrollBar::SetMin(int v) {
  min_ = v;
  if (!HasState(csLoading)) position_ = Clamp(position_);
  Apply();
}

void TScrollBar::SetMax(int v) {
  max_ = v;
  if (!HasState(csLoading)) position_ = Clamp(position_);
  Apply();
}

void TScrollBar::SetPageSize(int v) {
  pageSize_ = std::max(0, v);
  if (!HasState(csLoading)) position_ = Clamp(position_);
  Apply();
}

void TScrollBar::SetPosition(int v) {
  if (!HasState(csLoading)) v = Clamp(v);
  if (v == position_) return;
  position_ = v;
  Apply();
  if (!HasState(csLoading)) OnChange(this);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    int code = LOWORD(m.WParam);
    int hi = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    SetPosition(ScrolledPosition(code, position_, ThumbPosition(Handle(), SB_CTL, m.WParam), smallChange_,
                                 largeChange_, min_, hi));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- scroll boxes

DASKEL_DEFINE_CLASS(TScrollingWinControl, TWinControl) {
  c.Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll);
}
DASKEL_DEFINE_CLASS(TScrollBox, TScrollingWinControl) {}

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {
  controlStyle_ |= csAcceptsControls | csPaintsBackground;
  controlStyle_ &= ~csClickEvents;
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
  width_ = 185, height_ = 41;
  tabStop_ = false;
}

void TScrollingWinControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
  p.ExStyle |= WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;
}

void TScrollingWinControl::CreateHandleDone() { UpdateScrollRange(); }

void TScrollingWinControl::Loaded() {
  TWinControl::Loaded();
  UpdateScrollRange();
}

void TScrollingWinControl::Resized(int oldW, int oldH) {
  TWinControl::Resized(oldW, oldH);
  UpdateScrollRange();
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  autoScroll_ = v;
  UpdateScrollRange();
}

void TScrollingWinControl::UpdateScrollRange() {
  if (!HandleAllocated() || HasState(csLoading) || updating_) return;
  updating_ = true;
  int extentW = 0, extentH = 0;
  if (autoScroll_)
    for (TControl* c : controls_) {
      if (!c->Visible()) continue;
      extentW = std::max(extentW, c->Left() + c->Width() + scrollX_);
      extentH = std::max(extentH, c->Top() + c->Height() + scrollY_);
    }
  // Showing one bar narrows the other direction: settle in a few rounds.
  RECT client{};
  for (int round = 0; round < 3; ++round) {
    GetClientRect(handle_, &client);
    SCROLLINFO h{
        sizeof h, SIF_RANGE | SIF_PAGE, 0, std::max(0, extentW - 1), static_cast<UINT>(client.right), 0, 0};
    SCROLLINFO v{
        sizeof v, SIF_RANGE | SIF_PAGE, 0, std::max(0, extentH - 1), static_cast<UINT>(client.bottom), 0, 0};
    if (extentW <= client.right) h.nMax = 0, h.nPage = 0;
    if (extentH <= client.bottom) v.nMax = 0, v.nPage = 0;
    SetScrollInfo(handle_, SB_HORZ, &h, TRUE);
    SetScrollInfo(handle_, SB_VERT, &v, TRUE);
    RECT now{};
    GetClientRect(handle_, &now);
    if (now.right == client.right && now.bottom == client.bottom) break;
  }
  GetClientRect(handle_, &client);
  updating_ = false;
  ScrollTo(std::clamp(scrollX_, 0, std::max(0, extentW - static_cast<int>(client.right))),
           std::clamp(scrollY_, 0, std::max(0, extentH - static_cast<int>(client.bottom))));
}

void TScrollingWinControl::ScrollTo(int x, int y) {
  int dx = x - scrollX_, dy = y - scrollY_;
  scrollX_ = x, scrollY_ = y;
  if (handle_) {
    SetScrollPos(handle_, SB_HORZ, x, TRUE);
    SetScrollPos(handle_, SB_VERT, y, TRUE);
  }
  if (dx == 0 && dy == 0) return;
  std::vector<TControl*> children = controls_;
  updating_ = true;
  for (TControl* c : children) c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
  updating_ = false;
  Invalidate();
}

void TScrollingWinControl::Scroll(int bar, WPARAM wp) {
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(handle_, bar, &si)) return;
  int hi = si.nMax - std::max(0, static_cast<int>(si.nPage) - 1);
  int pos = ScrolledPosition(LOWORD(wp), si.nPos, ThumbPosition(handle_, bar, wp), 16,
                             std::max(1, static_cast<int>(si.nPage)), si.nMin, hi);
  if (bar == SB_HORZ)
    ScrollTo(pos, scrollY_);
  else
    ScrollTo(scrollX_, pos);
}

void TScrollingWinControl::WndProc(TMessage& m) {
  if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
    Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, m.WParam);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- grids

DASKEL_DEFINE_CLASS(TCustomGrid, TCustomControl) {
  c.Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount);
  c.Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount);
  c.Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols);
  c.Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows);
  c.Int("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth);
  c.Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight);
}
DASKEL_DEFINE_CLASS(TStringGrid, TCustomGrid) {}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  width_ = 320, height_ = 120;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
  controlStyle_ |= csOpaque;
}

void TCustomGrid::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_HSCROLL | WS_VSCROLL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGrid::CreateHandleDone() { UpdateScrollBars(); }

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  UpdateScrollBars();
}

void TCustomGrid::Resized(int oldW, int oldH) {
  TCustomControl::Resized(oldW, oldH);
  UpdateScrollBars();
}

int TCustomGrid::VisibleRowCount() const {
  RECT r = ClientRect();
  return std::max(0, (static_cast<int>(r.bottom) - fixedRows_ * rowHeight_) / std::max(1, rowHeight_));
}

int TCustomGrid::VisibleColCount() const {
  RECT r = ClientRect();
  return std::max(0, (static_cast<int>(r.right) - fixedCols_ * colWidth_) / std::max(1, colWidth_));
}

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated() || HasState(csLoading)) return;
  topRow_ = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, rowCount_ - VisibleRowCount()));
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, colCount_ - VisibleColCount()));
  SCROLLINFO v{sizeof v, SIF_ALL, fixedRows_, rowCount_ - 1, static_cast<UINT>(VisibleRowCount()),
               topRow_,  0};
  SetScrollInfo(handle_, SB_VERT, &v, TRUE);
  SCROLLINFO h{sizeof h, SIF_ALL, fixedCols_, colCount_ - 1, static_cast<UINT>(VisibleColCount()),
               leftCol_, 0};
  SetScrollInfo(handle_, SB_HORZ, &h, TRUE);
}

void TCustomGrid::SetColCount(int v) {
  colCount_ = std::max(1, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetRowCount(int v) {
  rowCount_ = std::max(1, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetFixedCols(int v) {
  fixedCols_ = std::max(0, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetFixedRows(int v) {
  fixedRows_ = std::max(0, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetDefaultColWidth(int v) {
  colWidth_ = std::max(1, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetDefaultRowHeight(int v) {
  rowHeight_ = std::max(1, v);
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetTopRow(int v) {
  topRow_ = v;
  UpdateScrollBars();
  Invalidate();
}
void TCustomGrid::SetLeftCol(int v) {
  leftCol_ = v;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::Scroll(int bar, WPARAM wp) {
  bool vert = bar == SB_VERT;
  int visible = vert ? VisibleRowCount() : VisibleColCount();
  int lo = vert ? fixedRows_ : fixedCols_;
  int hi = (vert ? rowCount_ : colCount_) - visible;
  int pos = vert ? topRow_ : leftCol_;
  pos = ScrolledPosition(LOWORD(wp), pos, ThumbPosition(handle_, bar, wp), 1, std::max(1, visible), lo, hi);
  if (vert)
    SetTopRow(pos);
  else
    SetLeftCol(pos);
}

void TCustomGrid::WndProc(TMessage& m) {
  if ((m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) && m.LParam == 0) {
    Scroll(m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, m.WParam);
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_MOUSEWHEEL) {
    int code = GET_WHEEL_DELTA_WPARAM(m.WParam) > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < 3; ++i) Scroll(SB_VERT, static_cast<WPARAM>(code));
    m.Result = 0;
    return;
  }
  TCustomControl::WndProc(m);
}

void TCustomGrid::Paint() {
  TCanvas& c = *Canvas();
  RECT client = ClientRect();
  c.Font().Assign(*Font());
  c.Pen().SetColor(clBtnShadow);
  int y = 0;
  for (int row = 0; row < rowCount_ && y < client.bottom; ++row) {
    if (row >= fixedRows_ && row < topRow_) continue;
    int x = 0;
    for (int col = 0; col < colCount_ && x < client.right; ++col) {
      if (col >= fixedCols_ && col < leftCol_) continue;
      RECT cell{x, y, x + colWidth_, y + rowHeight_};
      bool fixed = row < fixedRows_ || col < fixedCols_;
      c.Brush().SetColor(fixed ? clBtnFace : color_);
      // Fixed cells are button-like on the system's face: their text is the button text, so a
      // light font given to the cells stays readable there too.
      c.Font().SetColor(fixed ? clBtnText : Font()->Color());
      c.FillRect(cell);
      c.MoveTo(cell.right - 1, cell.top);
      c.LineTo(cell.right - 1, cell.bottom - 1);
      c.LineTo(cell.left - 1, cell.bottom - 1);
      RECT text{cell.left + 3, cell.top, cell.right - 3, cell.bottom - 1};
      SetBkMode(c.Handle(), TRANSPARENT);
      c.TextRect(text, CellText(col, row), DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
      x += colWidth_;
    }
    if (x < client.right) {
      c.Brush().SetColor(color_);
      c.FillRect(RECT{x, y, client.right, y + rowHeight_});
    }
    y += rowHeight_;
  }
  if (y < client.bottom) {
    c.Brush().SetColor(color_);
    c.FillRect(RECT{0, y, client.right, client.bottom});
  }
}

std::string TStringGrid::Cells(int col, int row) const {
  if (row < 0 || row >= static_cast<int>(cells_.size())) return {};
  const auto& r = cells_[static_cast<std::size_t>(row)];
  if (col < 0 || col >= static_cast<int>(r.size())) return {};
  return r[static_cast<std::size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& s) {
  if (col < 0 || row < 0) return;
  if (row >= static_cast<int>(cells_.size())) cells_.resize(static_cast<std::size_t>(row) + 1);
  auto& r = cells_[static_cast<std::size_t>(row)];
  if (col >= static_cast<int>(r.size())) r.resize(static_cast<std::size_t>(col) + 1);
  r[static_cast<std::size_t>(col)] = s;
  Invalidate();
}

namespace {
// Known by name to the layout reader from the start.
[[maybe_unused]] const TClassInfo* const kScrollClasses[] = {
    &TScrollBar::StaticClass(), &TScrollBox::StaticClass(), &TStringGrid::StaticClass()};
}  // namespace
