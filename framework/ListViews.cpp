#include "framework/ListViews.h"

#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "framework/Messages.h"

namespace {
const std::vector<std::string> kViewStyles{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

std::vector<std::string> SplitBar(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = line.find('|', start);
    parts.push_back(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}
}  // namespace

// ---- list views

DASKEL_DEFINE_CLASS(TCustomListView, TWinControl) {
  c.Enum("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle, kViewStyles);
  c.Strings("Columns", &TCustomListView::Columns);
  c.Strings("Items", &TCustomListView::Items);
  c.Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines);
  c.Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect);
  c.Event("OnChange", &TCustomListView::OnChange);
}
DASKEL_DEFINE_CLASS(TListView, TCustomListView) {}

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  width_ = 250, height_ = 150;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
  columns_.OnChange = TNotifyEvent(this, &TCustomListView::ListChanged);
  items_.OnChange = TNotifyEvent(this, &TCustomListView::ListChanged);
}

TCustomListView::~TCustomListView() {
  columns_.OnChange = TNotifyEvent();
  items_.OnChange = TNotifyEvent();
}

void TCustomListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_LISTVIEWA;
  static const DWORD kStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.Style |= kStyles[viewStyle_] | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_CLIPCHILDREN;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateHandleDone() {
  DWORD ex = (gridLines_ ? LVS_EX_GRIDLINES : 0) | (rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
  SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT, ex);
  Fill();
}

void TCustomListView::ListChanged(TObject*) {
  if (!HasState(csReading)) Fill();
}

void TCustomListView::Fill() {
  if (!HandleAllocated()) return;
  HWND wnd = Handle();
  SendMessageA(wnd, LVM_DELETEALLITEMS, 0, 0);
  while (SendMessageA(wnd, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (int i = 0; i < columns_.Count(); ++i) {
    std::string caption = columns_.Names(i).empty() ? columns_.Get(i) : columns_.Names(i);
    std::string width = columns_.Values(caption);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(caption.c_str());
    col.cx = width.empty() ? 80 : std::atoi(width.c_str());
    col.iSubItem = i;
    SendMessageA(wnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
  for (int i = 0; i < items_.Count(); ++i) {
    std::vector<std::string> parts = SplitBar(items_.Get(i));
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(parts[0].c_str());
    int at = static_cast<int>(SendMessageA(wnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t s = 1; s < parts.size(); ++s) {
      LVITEMA sub{};
      sub.iSubItem = static_cast<int>(s);
      sub.pszText = const_cast<char*>(parts[s].c_str());
      SendMessageA(wnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
    }
  }
  SetItemIndex(itemIndex_);
}

void TCustomListView::Recreate() {
  if (HandleAllocated()) itemIndex_ = ItemIndex();
  RecreateWnd();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  Recreate();
}

void TCustomListView::SetGridLines(bool v) {
  gridLines_ = v;
  if (HandleAllocated())
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, v ? LVS_EX_GRIDLINES : 0);
}

void TCustomListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  if (HandleAllocated())
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, v ? LVS_EX_FULLROWSELECT : 0);
}

HWND TCustomListView::HeaderHandle() {
  return reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0));
}

int TCustomListView::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  return static_cast<int>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(int v) {
  itemIndex_ = v;
  if (!HandleAllocated()) return;
  LVITEMA none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  if (v < 0 || v >= items_.Count()) return;
  LVITEMA sel{};
  sel.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  sel.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(v), reinterpret_cast<LPARAM>(&sel));
}

void TCustomListView::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* n = reinterpret_cast<NMLISTVIEW*>(m.LParam);
    if (n->hdr.code == LVN_ITEMCHANGED && (n->uChanged & LVIF_STATE) &&
        ((n->uNewState ^ n->uOldState) & LVIS_SELECTED))
      OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- tree views

DASKEL_DEFINE_CLASS(TCustomTreeView, TWinControl) {
  c.Strings("Items", &TCustomTreeView::Items);
  c.Bool("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines);
  c.Bool("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons);
  c.Bool("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot);
}
DASKEL_DEFINE_CLASS(TTreeView, TCustomTreeView) {}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
  width_ = 121, height_ = 97;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
  items_.OnChange = TNotifyEvent(this, &TCustomTreeView::ItemsChanged);
}

TCustomTreeView::~TCustomTreeView() { items_.OnChange = TNotifyEvent(); }

void TCustomTreeView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = WC_TREEVIEWA;
  if (showLines_) p.Style |= TVS_HASLINES;
  if (showButtons_) p.Style |= TVS_HASBUTTONS;
  if (showRoot_) p.Style |= TVS_LINESATROOT;
  p.Style |= TVS_SHOWSELALWAYS;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateHandleDone() { Fill(); }

void TCustomTreeView::ItemsChanged(TObject*) {
  if (!HasState(csReading)) Fill();
}

void TCustomTreeView::Fill() {
  if (!HandleAllocated()) return;
  HWND wnd = Handle();
  SendMessageA(wnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  std::vector<HTREEITEM> parents;  // the last node of each level
  for (int i = 0; i < items_.Count(); ++i) {
    const std::string& line = items_.Get(i);
    std::size_t level = line.find_first_not_of(' ');
    if (level == std::string::npos) continue;
    if (level > parents.size()) level = parents.size();
    std::string text = line.substr(level);
    TVINSERTSTRUCTA ins{};
    ins.hParent = level ? parents[level - 1] : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<char*>(text.c_str());
    auto node =
        reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    parents.resize(level);
    parents.push_back(node);
  }
  for (auto* node = reinterpret_cast<HTREEITEM>(SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_ROOT, 0)); node;
       node = reinterpret_cast<HTREEITEM>(
           SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(node))))
    SendMessageA(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
  // Expanding scrolls to the last node; the tree starts at its top.
  SendMessageA(wnd, TVM_ENSUREVISIBLE, 0, SendMessageA(wnd, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

int TCustomTreeView::NodeCount() {
  return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TVM_GETCOUNT, 0, 0)) : 0;
}

namespace {
// Known by name to the layout reader from the start.
[[maybe_unused]] const TClassInfo* const kListViewClasses[] = {&TListView::StaticClass(),
                                                               &TTreeView::StaticClass()};
}  // namespace
