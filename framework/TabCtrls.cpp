#include "framework/TabCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Handles.h"
#include "framework/Messages.h"

namespace {
const std::vector<std::string> kTabPositions{"tpTop", "tpBottom", "tpLeft", "tpRight"};

int TextWidthOf(TFont& font, const std::string& text) {
  TWindowDc dc(nullptr);
  if (!dc.Get()) return 0;
  TSelectObject sel(dc.Get(), font.Handle());
  SIZE s{0, 0};
  GetTextExtentPoint32A(dc.Get(), text.data(), static_cast<int>(text.size()), &s);
  return s.cx;
}
}  // namespace

// ---- tab controls

DASKEL_DEFINE_CLASS(TCustomTabControl, TWinControl) {
  c.Int("TabIndex", &TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex);
  c.Enum("TabPosition", &TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition, kTabPositions);
  c.Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine);
  c.Event("OnChange", &TCustomTabControl::OnChange);
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  width_ = 289, height_ = 193;
  tabStop_ = true;
  controlStyle_ &= ~csClickEvents;
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_TABCONTROLA;
  p.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  p.ExStyle |= WS_EX_CONTROLPARENT;
  switch (tabPosition_) {
    case tpBottom:
      p.Style |= TCS_BOTTOM;
      break;
    case tpLeft:
      p.Style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case tpRight:
      p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
    default:
      break;
  }
  if (multiLine_) p.Style |= TCS_MULTILINE;
}

void TCustomTabControl::FillTabs() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
  std::vector<std::string> texts = TabTexts();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(texts[i].c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  if (tabIndex_ >= static_cast<int>(texts.size())) tabIndex_ = static_cast<int>(texts.size()) - 1;
  SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
}

void TCustomTabControl::CreateHandleDone() { FillTabs(); }

void TCustomTabControl::Recreate() {
  if (HandleAllocated()) tabIndex_ = TabIndex();
  RecreateWnd();
}

int TCustomTabControl::TabIndex() const {
  if (HandleAllocated())
    return static_cast<int>(
        SendMessageA(const_cast<TCustomTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
  return tabIndex_;
}

void TCustomTabControl::SetTabIndex(int v) {
  if (!HasState(csReading) && (v < -1 || v >= static_cast<int>(TabTexts().size()))) v = -1;
  tabIndex_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  if (v == tabPosition_) return;
  tabPosition_ = v;
  Recreate();
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (v == multiLine_) return;
  multiLine_ = v;
  Recreate();
}

RECT TCustomTabControl::DisplayRect() {
  RECT r = ClientRect();
  if (HandleAllocated()) SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (m.Msg == WM_DESTROY) tabIndex_ = TabIndex();
  if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
    tabIndex_ = TabIndex();
    Change();
    return;
  }
  TWinControl::WndProc(m);
}

DASKEL_DEFINE_CLASS(TTabControl, TCustomTabControl) { c.Strings("Tabs", &TTabControl::Tabs); }

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  tabs_.OnChange = TNotifyEvent(this, &TTabControl::TabsChanged);
}

TTabControl::~TTabControl() { tabs_.OnChange = nullptr; }

std::vector<std::string> TTabControl::TabTexts() const {
  std::vector<std::string> texts;
  for (int i = 0; i < tabs_.Count(); ++i) texts.push_back(tabs_.Get(i));
  return texts;
}

void TTabControl::TabsChanged(TObject*) {
  if (tabIndex_ >= tabs_.Count()) tabIndex_ = tabs_.Count() - 1;
  FillTabs();
}

// ---- page control

DASKEL_DEFINE_CLASS(TTabSheet, TWinControl) {}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  controlStyle_ |= csAcceptsControls | csPaintsBackground;
  parentColor_ = true;
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (pageControl_ && pageControl_ != parent) pageControl_->RemovePage(this);
  TWinControl::SetParent(parent);
  if (auto* pc = dynamic_cast<TPageControl*>(parent); pc && pc != pageControl_) pc->InsertPage(this);
}

void TTabSheet::SetText(const std::string& s) {
  TWinControl::SetText(s);
  if (pageControl_) pageControl_->FillTabs();
}

DASKEL_DEFINE_CLASS(TPageControl, TCustomTabControl) {
  c.Int("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex);
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
}

std::vector<std::string> TPageControl::TabTexts() const {
  std::vector<std::string> texts;
  for (TTabSheet* p : pages_) texts.push_back(p->Caption());
  return texts;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->pageControl_ = this;
  pages_.push_back(page);
  if (tabIndex_ < 0) tabIndex_ = 0;
  FillTabs();
  ShowActive();
}

void TPageControl::RemovePage(TTabSheet* page) {
  page->pageControl_ = nullptr;
  pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
  if (tabIndex_ >= PageCount()) tabIndex_ = PageCount() - 1;
  if (!HasState(csDestroying)) {
    FillTabs();
    ShowActive();
  }
}

TTabSheet* TPageControl::ActivePage() const {
  int i = TabIndex();
  return i >= 0 && i < PageCount() ? pages_[static_cast<std::size_t>(i)] : nullptr;
}

void TPageControl::SetActivePageIndex(int v) {
  SetTabIndex(v);
  ShowActive();
}

void TPageControl::ShowActive() {
  if (HasState(csLoading)) return;
  TTabSheet* active = ActivePage();
  RECT r = DisplayRect();
  for (TTabSheet* p : pages_) {
    if (p == active) p->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    p->SetVisible(p == active);
  }
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  FillTabs();
  ShowActive();
}

void TPageControl::Change() {
  ShowActive();
  TCustomTabControl::Change();
}

void TPageControl::CreateHandleDone() {
  TCustomTabControl::CreateHandleDone();
  ShowActive();
}

void TPageControl::Resized(int oldClientWidth, int oldClientHeight) {
  TCustomTabControl::Resized(oldClientWidth, oldClientHeight);
  ShowActive();
}

// ---- tab set

DASKEL_DEFINE_CLASS(TTabScroller, TCustomUpDown) {}

TTabScroller::TTabScroller(TComponent* owner) : TCustomUpDown(owner) {
  SetOrientation(udHorizontal);
  SetArrowKeys(false);
  width_ = 24, height_ = 14;
}

DASKEL_DEFINE_CLASS(TTabSet, TCustomControl) {
  c.Strings("Tabs", &TTabSet::Tabs);
  c.Int("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex);
  c.Int("StartMargin", &TTabSet::StartMargin, &TTabSet::SetStartMargin);
  c.Int("EndMargin", &TTabSet::EndMargin, &TTabSet::SetEndMargin);
  c.Int("FirstIndex", &TTabSet::FirstIndex, &TTabSet::SetFirstIndex);
  c.Event("OnChange", &TTabSet::OnChange);
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
  width_ = 185, height_ = 21;
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
  // Made first, so it is the first component the tab set owns.
  scroller_ = new TTabScroller(this);
  scroller_->SetMin(0);
  scroller_->SetMax(1000);
  scroller_->OnClick = TUDClickEvent(this, &TTabSet::ScrollClick);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
  tabs_.OnChange = TNotifyEvent(this, &TTabSet::TabsChanged);
}

TTabSet::~TTabSet() { tabs_.OnChange = nullptr; }

void TTabSet::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TTabSet::CreateHandleDone() {
  TCustomControl::CreateHandleDone();
  UpdateScroller();
}

std::vector<RECT> TTabSet::Layout(bool all) {
  std::vector<RECT> rects(static_cast<std::size_t>(tabs_.Count()), RECT{0, 0, -1, -1});
  const int usable = width_ - endMargin_;
  const bool scroller = !all && ScrollerVisible();
  int x = startMargin_;
  for (int i = all ? 0 : firstIndex_; i < tabs_.Count(); ++i) {
    int w = TextWidthOf(*Font(), tabs_.Get(i));
    if (x + w + kTabPadding + (scroller ? kScrollerRoom : 0) > usable) continue;
    rects[static_cast<std::size_t>(i)] = RECT{x, 0, x + w + kTabPadding, height_};
    x += w + kTabPadding;
  }
  return rects;
}

bool TTabSet::TabRect(int index, RECT& r) {
  if (index < 0 || index >= tabs_.Count()) return false;
  r = Layout(false)[static_cast<std::size_t>(index)];
  return r.right >= r.left;
}

bool TTabSet::ScrollerVisible() const { return scroller_ && scroller_->Visible(); }

void TTabSet::UpdateScroller() {
  if (!scroller_) return;
  std::vector<RECT> all = Layout(true);
  bool fits = std::all_of(all.begin(), all.end(), [](const RECT& r) { return r.right >= r.left; });
  scroller_->SetBounds(width_ - scroller_->Width() - 1, (height_ - scroller_->Height()) / 2,
                       scroller_->Width(), scroller_->Height());
  scroller_->SetVisible(!fits || firstIndex_ > 0);
}

void TTabSet::Resized(int oldClientWidth, int oldClientHeight) {
  TCustomControl::Resized(oldClientWidth, oldClientHeight);
  UpdateScroller();
  Invalidate();
}

void TTabSet::TabsChanged(TObject*) {
  if (tabIndex_ >= tabs_.Count()) tabIndex_ = tabs_.Count() - 1;
  if (firstIndex_ >= tabs_.Count()) firstIndex_ = std::max(0, tabs_.Count() - 1);
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabIndex(int v) {
  if (!HasState(csReading) && (v < -1 || v >= tabs_.Count())) v = -1;
  if (v == tabIndex_) return;
  tabIndex_ = v;
  Invalidate();
  if (!HasState(csLoading)) OnChange(this);
}

void TTabSet::SetStartMargin(int v) {
  startMargin_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetEndMargin(int v) {
  endMargin_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetFirstIndex(int v) {
  if (!HasState(csReading)) v = std::clamp(v, 0, std::max(0, tabs_.Count() - 1));
  firstIndex_ = v;
  UpdateScroller();
  Invalidate();
}

void TTabSet::ScrollClick(TObject*, TUDBtnType button) {
  SetFirstIndex(firstIndex_ + (button == btNext ? 1 : -1));
}

void TTabSet::WndProc(TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN) {
    POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
    std::vector<RECT> rects = Layout(false);
    for (std::size_t i = 0; i < rects.size(); ++i)
      if (PtInRect(&rects[i], p)) SetTabIndex(static_cast<int>(i));
  }
  TCustomControl::WndProc(m);
}

void TTabSet::Paint() {
  // The page above meets the tabs along the top edge; the selected tab joins the page.
  TCanvas& c = *Canvas();
  HDC dc = c.Handle();
  RECT client = ClientRect();
  c.Brush().SetColor(clBtnShadow);
  c.FillRect(client);
  std::vector<RECT> rects = Layout(false);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    if (r.right < r.left) continue;
    const bool selected = static_cast<int>(i) == tabIndex_;
    TGdiBrush fill(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(selected ? color_ : clBtnFace))));
    TGdiPen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(clWindowFrame))));
    TSelectObject b(dc, fill.Get()), p(dc, pen.Get());
    POINT shape[4] = {{r.left, -1}, {r.left + 3, r.bottom - 2}, {r.right - 3, r.bottom - 2}, {r.right, -1}};
    Polygon(dc, shape, 4);
    c.Brush().SetStyle(bsClear);
    c.Font().SetColor(enabled_ ? font_.Color() : clGrayText);
    c.TextRect(r, tabs_.Get(static_cast<int>(i)), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  TGdiPen line(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(clWindowFrame))));
  TSelectObject sel(dc, line.Get());
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, client.right, 0);
}
