#include "framework/StdCtrls.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Handles.h"

const std::vector<std::string> kAlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};

namespace {
const std::vector<std::string> kLayouts{"tlTop", "tlCenter", "tlBottom"};
const std::vector<std::string> kComboStyles{"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                            "csOwnerDrawVariable"};
const std::vector<std::string> kBiDiModes{"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                          "bdRightToLeftReadingOnly"};
const std::vector<std::string> kCheckStates{"cbUnchecked", "cbChecked", "cbGrayed"};
const std::vector<std::string> kModalResults{"mrNone",  "mrOk",     "mrCancel", "mrAbort",
                                             "mrRetry", "mrIgnore", "mrYes",    "mrNo"};
}  // namespace

// ---- label

DASKEL_DEFINE_CLASS(TCustomLabel, TGraphicControl) {
  c.Enum("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, kAlignmentNames);
  c.Bool("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize);
  c.Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent);
  c.Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap);
  c.Enum("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, kLayouts);
  c.Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar);
}
DASKEL_DEFINE_CLASS(TLabel, TCustomLabel) {}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65, height_ = 17;
  parentColor_ = true;
}

void TCustomLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TCustomLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}
void TCustomLabel::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout v) {
  layout_ = v;
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetText(const std::string& s) {
  if (s == text_) return;
  TGraphicControl::SetText(s);
  AdjustBounds();
}

void TCustomLabel::FontChanged(TObject* sender) {
  TGraphicControl::FontChanged(sender);
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TCustomLabel::DrawFlags() const {
  UINT f = alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
  // A word longer than the line is broken too, rather than running past the edge.
  f |= wordWrap_ ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE;
  if (!wordWrap_) f |= layout_ == tlCenter ? DT_VCENTER : layout_ == tlBottom ? DT_BOTTOM : DT_TOP;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  return f | DT_EXPANDTABS;
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || HasState(csLoading)) return;
  TWindowDc screen(nullptr);
  TSelectObject sel(screen.Get(), font_.Handle());
  RECT r{0, 0, wordWrap_ ? width_ : 0, 0};
  std::string t = text_.empty() ? std::string(" ") : text_;
  DrawTextA(screen.Get(), t.data(), static_cast<int>(t.size()), &r,
            (DrawFlags() & ~DT_VCENTER & ~DT_BOTTOM) | DT_CALCRECT);
  int w = wordWrap_ ? width_ : r.right;
  int l = left_;
  if (!wordWrap_ && alignment_ == taRightJustify) l = left_ + width_ - w;
  SetBounds(l, top_, w, r.bottom);
}

void TCustomLabel::Paint() {
  TCanvas& c = *Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color_);
    c.FillRect(r);
  }
  c.Brush().SetStyle(bsClear);
  if (!enabled_) {
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    c.Font().SetColor(clBtnHighlight);
    c.TextRect(shifted, text_, DrawFlags());
    c.Font().SetColor(clBtnShadow);
  }
  c.TextRect(r, text_, DrawFlags());
}

// ---- push buttons

DASKEL_DEFINE_CLASS(TButtonControl, TWinControl) {}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  controlStyle_ &= ~(csClickEvents | csAcceptsControls);
  tabStop_ = true;
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "BUTTON";
}

void TButtonControl::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(m);
}

DASKEL_DEFINE_CLASS(TButton, TButtonControl) {
  c.Bool("Default", &TButton::Default, &TButton::SetDefault);
  c.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel);
  c.Enum("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, kModalResults);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { width_ = 75, height_ = 25; }

TButton::~TButton() {
  if (TFormLink* f = ParentForm()) {
    f->SetDefaultButton(this, false);
    f->SetCancelButton(this, false);
  }
}

void TButton::Register() {
  if (TFormLink* f = ParentForm()) {
    f->SetDefaultButton(this, default_);
    f->SetCancelButton(this, cancel_);
  }
}

void TButton::SetParent(TWinControl* parent) {
  if (TFormLink* f = ParentForm()) {
    f->SetDefaultButton(this, false);
    f->SetCancelButton(this, false);
  }
  TButtonControl::SetParent(parent);
  Register();
}

void TButton::SetDefault(bool v) {
  default_ = v;
  Register();
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetCancel(bool v) {
  cancel_ = v;
  Register();
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (modalResult_ != mrNone) {
    if (TFormLink* f = ParentForm()) f->SetModalResult(modalResult_);
  }
  TButtonControl::Click();
}

// ---- check boxes and radio buttons

DASKEL_DEFINE_CLASS(TCustomCheckBox, TButtonControl) {
  c.Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked);
  c.Enum("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState, kCheckStates);
  c.Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed);
  c.Enum("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, kAlignmentNames);
}
DASKEL_DEFINE_CLASS(TCheckBox, TCustomCheckBox) {}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  width_ = 97, height_ = 17;
  parentColor_ = true;
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  // The system shows the grayed state only for three-state buttons.
  p.Style |= allowGrayed_ || state_ == cbGrayed ? BS_3STATE : BS_CHECKBOX;
  if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
  if (v == alignment_) return;
  alignment_ = v;
  if (!HandleAllocated()) return;
  HWND h = Handle();
  LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_LEFTTEXT);
  SetWindowLongPtrA(h, GWL_STYLE, style | (v == taLeftJustify ? BS_LEFTTEXT : 0));
  InvalidateRect(h, nullptr, TRUE);
}

void TCustomCheckBox::CreateHandleDone() { SendMessageA(Handle(), BM_SETCHECK, state_, 0); }

void TCustomCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  if (HandleAllocated()) {
    HWND h = Handle();
    if (s == cbGrayed && (GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK) != BS_3STATE)
      SendMessageA(h, BM_SETSTYLE, BS_3STATE | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0), FALSE);
    SendMessageA(h, BM_SETCHECK, s, 0);
  }
  // While a layout is read the state is only stored.
  if (!HasState(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allowGrayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    Toggle();
    return;
  }
  TButtonControl::WndProc(m);
}

DASKEL_DEFINE_CLASS(TRadioButton, TButtonControl) {
  c.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 113, height_ = 17;
  parentColor_ = true;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateHandleDone() { SendMessageA(Handle(), BM_SETCHECK, checked_ ? 1 : 0, 0); }

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, v ? 1 : 0, 0);
  if (!v) return;
  // One checked radio button per parent.
  if (parent_) {
    for (int i = 0; i < parent_->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(parent_->Controls(i)); r && r != this) r->SetChecked(false);
  }
  if (!HasState(csLoading)) Click();
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- edits

DASKEL_DEFINE_CLASS(TCustomEdit, TWinControl) {
  c.Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
  c.Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
  c.Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect);
  c.Event("OnChange", &TCustomEdit::OnChange);
}
DASKEL_DEFINE_CLASS(TEdit, TCustomEdit) {}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  width_ = 121, height_ = 21;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~csAcceptsControls;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "EDIT";
  p.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
  SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_) SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(selStart_), selStart_ + selLength_);
}

void TCustomEdit::Loaded() {
  TWinControl::Loaded();
  lastText_ = Text();
}

void TCustomEdit::SetMaxLength(int v) {
  maxLength_ = v < 0 ? 0 : v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (HandleAllocated()) {
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
    Invalidate();
  }
}

int TCustomEdit::SelStart() const {
  if (!HandleAllocated()) return selStart_;
  DWORD s = 0, e = 0;
  SendMessageA(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s),
               reinterpret_cast<LPARAM>(&e));
  return static_cast<int>(s);
}

int TCustomEdit::SelLength() const {
  if (!HandleAllocated()) return selLength_;
  DWORD s = 0, e = 0;
  SendMessageA(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s),
               reinterpret_cast<LPARAM>(&e));
  return static_cast<int>(e - s);
}

void TCustomEdit::SetSelStart(int v) {
  selStart_ = v, selLength_ = 0;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(v), v);
}

void TCustomEdit::SetSelLength(int v) {
  selStart_ = SelStart(), selLength_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(selStart_), selStart_ + v);
}

void TCustomEdit::SelectAll() {
  selStart_ = 0, selLength_ = static_cast<int>(Text().size());
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::SetText(const std::string& s) {
  if (s == Text()) return;
  if (HandleAllocated()) {
    TWinControl::SetText(s);  // the window reports the change (EN_CHANGE)
  } else {
    text_ = s;
    Change();
  }
}

void TCustomEdit::Change() {
  if (HasState(csLoading)) return;
  std::string t = Text();
  if (t == lastText_) return;
  lastText_ = t;
  OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    Change();
    return;
  }
  if (m.Msg == WM_SETFOCUS && autoSelect_ && !(GetKeyState(VK_LBUTTON) < 0)) {
    TWinControl::WndProc(m);
    SelectAll();
    return;
  }
  TWinControl::WndProc(m);
}

// ---- combo boxes

DASKEL_DEFINE_CLASS(TComboBoxStrings, TStrings) {}

void TComboBoxStrings::Put(int index, const std::string& s) {
  int sel = combo_->ItemIndex();
  Delete(index);
  Insert(index, s);
  if (sel == index) combo_->SetItemIndex(sel);
}

void TComboBoxStrings::Insert(int index, const std::string& s) {
  items_.Insert(index, s);
  if (combo_->HandleAllocated())
    SendMessageA(combo_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(s.c_str()));
  Changed();
}

void TComboBoxStrings::Delete(int index) {
  items_.Delete(index);
  if (combo_->HandleAllocated())
    SendMessageA(combo_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  if (combo_->itemIndex_ >= items_.Count()) combo_->itemIndex_ = -1;
  Changed();
}

void TComboBoxStrings::Clear() {
  items_.Clear();
  combo_->itemIndex_ = -1;
  if (combo_->HandleAllocated()) SendMessageA(combo_->Handle(), CB_RESETCONTENT, 0, 0);
  Changed();
}

DASKEL_DEFINE_CLASS(TCustomComboBox, TWinControl) {
  c.Enum("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle, kComboStyles);
  c.Enum("BiDiMode", &TCustomComboBox::BiDiMode, &TCustomComboBox::SetBiDiMode, kBiDiModes);
  c.Strings("Items", &TCustomComboBox::Items);
  c.Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex);
  c.Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount);
  c.Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight);
  c.Event("OnChange", &TCustomComboBox::OnChange);
  c.Event("OnSelect", &TCustomComboBox::OnSelect);
  c.Event("OnDropDown", &TCustomComboBox::OnDropDown);
  c.Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
}
DASKEL_DEFINE_CLASS(TComboBox, TCustomComboBox) {}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(this) {
  width_ = 145, height_ = 21;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TCustomComboBox::SetBiDiMode(TBiDiMode v) {
  if (v == biDiMode_) return;
  biDiMode_ = v;
  RecreateWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  RecreateWnd();
}

int TCustomComboBox::DroppedHeight() const { return height_ + dropDownCount_ * itemHeight_ + 4; }

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "COMBOBOX";
  static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                 CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  p.Style |= styles[style_] | CBS_AUTOHSCROLL | WS_VSCROLL | CBS_HASSTRINGS;
  static const DWORD bidi[] = {0, WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR,
                               WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR, WS_EX_RTLREADING};
  p.ExStyle |= bidi[biDiMode_];
  // A simple combo box shows its list inside its own height.
  p.Height = style_ == csSimple ? height_ : DroppedHeight();
}

void TCustomComboBox::CreateHandleDone() {
  HWND h = Handle();
  for (int i = 0; i < items_.Count(); ++i)
    SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_.Get(i).c_str()));
  SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (style_ != csDropDownList && itemIndex_ < 0 && !text_.empty()) SetWindowTextA(h, text_.c_str());
}

void TCustomComboBox::SetBounds(int l, int t, int w, int h) {
  if (!HandleAllocated()) {
    TWinControl::SetBounds(l, t, w, h);
    return;
  }
  // The window's height includes the dropped-down list; the edit part's height is the system's.
  left_ = l, top_ = t, width_ = w;
  if (style_ == csSimple) height_ = h;
  SetWindowPos(Handle(), nullptr, l, t, w, style_ == csSimple ? h : h + dropDownCount_ * itemHeight_ + 4,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int TCustomComboBox::ItemIndex() const {
  if (HandleAllocated())
    return static_cast<int>(SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int v) {
  // While a layout is read the items may come later: keep the index as it is.
  if (!HasState(csReading) && (v < -1 || v >= items_.Count())) v = -1;
  itemIndex_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

std::string TCustomComboBox::GetText() const {
  if (HandleAllocated()) return TWinControl::GetText();
  if (itemIndex_ >= 0 && itemIndex_ < items_.Count()) return items_.Get(itemIndex_);
  return text_;
}

bool TCustomComboBox::DroppedDown() const {
  return HandleAllocated() &&
         SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0);
}

void TCustomComboBox::SetDroppedDown(bool v) {
  if (HandleAllocated()) SendMessageA(Handle(), CB_SHOWDROPDOWN, v, 0);
}

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == WM_DESTROY) itemIndex_ = ItemIndex();
  if (m.Msg == CN_COMMAND) {
    switch (HIWORD(m.WParam)) {
      case CBN_SELCHANGE:
        itemIndex_ = ItemIndex();
        OnSelect(this);
        Change();
        return;
      case CBN_EDITCHANGE:
        Change();
        return;
      case CBN_DROPDOWN:
        OnDropDown(this);
        return;
      case CBN_CLOSEUP:
        OnCloseUp(this);
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(m);
}

// ---- group boxes

DASKEL_DEFINE_CLASS(TCustomGroupBox, TWinControl) {}
DASKEL_DEFINE_CLASS(TGroupBox, TCustomGroupBox) {}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
  width_ = 185, height_ = 105;
  parentColor_ = true;
  controlStyle_ |= csPaintsBackground;
  controlStyle_ &= ~csClickEvents;
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "BUTTON";
  p.Style |= BS_GROUPBOX;
  p.ExStyle |= WS_EX_CONTROLPARENT;
}

namespace {

// The etched frame and the caption over it, as the system group box lays them out, with the
// colours and brush the parent gives for WM_CTLCOLORSTATIC. Shift-out characters (0x0E) in the
// caption are spacing marks of the text's author, not letters (fonts draw them as empty boxes):
// each shows as a thin space, half a blank wide. (In GBK they are never part of a character.)
void PaintGroupBox(HWND wnd, HDC dc, HFONT font) {
  RECT client{};
  GetClientRect(wnd, &client);
  HWND parent = GetParent(wnd);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(wnd)));
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(DefWindowProcA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(wnd)));
  TSelectObject selectFont(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  RECT frame = client;
  frame.top += tm.tmHeight / 2 - 1;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  char text[1000] = {};
  GetWindowTextA(wnd, text, sizeof text);
  std::vector<std::string> parts(1);
  for (const char* c = text; *c; ++c)
    if (*c == '\x0E')
      parts.emplace_back();
    else
      parts.back() += *c;
  SIZE blank{};
  GetTextExtentPoint32A(dc, " ", 1, &blank);
  const int gap = std::max(2, static_cast<int>(blank.cx) / 2);
  std::vector<int> widths;
  int width = gap * static_cast<int>(parts.size() - 1);
  for (const std::string& part : parts) {
    RECT m{0, 0, 0, 0};
    if (!part.empty())
      DrawTextA(dc, part.c_str(), static_cast<int>(part.size()), &m, DT_SINGLELINE | DT_CALCRECT);
    widths.push_back(m.right - m.left);
    width += m.right - m.left;
  }
  if (width <= 0) return;
  const int left = client.left + 7, right = std::min(left + width, static_cast<int>(client.right) - 7);
  RECT ground{left - 1, client.top, right + 1, client.top + tm.tmHeight};
  if (brush) FillRect(dc, &ground, brush);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(wnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  IntersectClipRect(dc, left, client.top, right, client.top + tm.tmHeight);
  int x = left;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    RECT at{x, client.top, x + widths[i], client.top + tm.tmHeight};
    if (!parts[i].empty())
      DrawTextA(dc, parts[i].c_str(), static_cast<int>(parts[i].size()), &at, DT_SINGLELINE | DT_NOCLIP);
    x += widths[i] + gap;
  }
}

}  // namespace

void TCustomGroupBox::WndProc(TMessage& m) {
  // The system group box lets the mouse through to its parent; the framework wants to see it
  // here so that the windowless children inside get their mouse messages and hover tracking.
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTCLIENT;
    return;
  }
  // Painted here rather than by the system class, which draws the caption's control characters
  // as boxes; the windowless children follow.
  if (m.Msg == WM_PAINT && handle_) {
    PAINTSTRUCT ps{};
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
    RECT clip{};
    if (m.WParam)
      GetClientRect(handle_, &clip);
    else
      clip = ps.rcPaint;
    int saved = SaveDC(dc);
    PaintGroupBox(handle_, dc, font_.Handle());
    RestoreDC(dc, saved);
    PaintControls(dc, &clip);
    if (!m.WParam) EndPaint(handle_, &ps);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- memos

namespace {
const std::vector<std::string> kScrollStyles{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};

std::string JoinLines(const TStrings& l) {
  std::string out;
  for (int i = 0; i < l.Count(); ++i) out += (i ? "\r\n" : "") + l.Get(i);
  return out;
}
}  // namespace

DASKEL_DEFINE_CLASS(TMemoStrings, TStrings) {}

void TMemoStrings::Sync() const {
  std::string t = memo_->Text();
  if (synced_ && t == seen_) return;  // references handed out stay valid while nothing changes
  lines_.SetText(t);
  seen_ = t;
  synced_ = true;
}

void TMemoStrings::Store() {
  seen_ = JoinLines(lines_);
  memo_->SetText(seen_);
  Changed();
}

int TMemoStrings::Count() const {
  Sync();
  return lines_.Count();
}
const std::string& TMemoStrings::Get(int index) const {
  Sync();
  return lines_.Get(index);
}
void TMemoStrings::Put(int index, const std::string& s) {
  Sync();
  lines_.Put(index, s);
  Store();
}
void TMemoStrings::Insert(int index, const std::string& s) {
  Sync();
  lines_.Insert(index, s);
  Store();
}
void TMemoStrings::Delete(int index) {
  Sync();
  lines_.Delete(index);
  Store();
}
void TMemoStrings::Clear() {
  lines_.Clear();
  Store();
}

DASKEL_DEFINE_CLASS(TCustomMemo, TCustomEdit) {
  c.Strings("Lines", &TCustomMemo::Lines);
  c.Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, kScrollStyles);
  c.Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap);
}
DASKEL_DEFINE_CLASS(TMemo, TCustomMemo) {}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(this) {
  width_ = 185, height_ = 89;
  SetAutoSelect(false);
}

void TCustomMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  p.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (wordWrap_) p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
}

// ---- list boxes

DASKEL_DEFINE_CLASS(TListBoxStrings, TStrings) {}

void TListBoxStrings::Put(int index, const std::string& s) {
  int sel = list_->ItemIndex();
  Delete(index);
  Insert(index, s);
  if (sel == index) list_->SetItemIndex(sel);
}

void TListBoxStrings::Insert(int index, const std::string& s) {
  items_.Insert(index, s);
  if (list_->HandleAllocated())
    SendMessageA(list_->Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(s.c_str()));
  Changed();
}

void TListBoxStrings::Delete(int index) {
  items_.Delete(index);
  if (list_->HandleAllocated()) SendMessageA(list_->Handle(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  if (list_->itemIndex_ >= items_.Count()) list_->itemIndex_ = -1;
  Changed();
}

void TListBoxStrings::Clear() {
  items_.Clear();
  list_->itemIndex_ = -1;
  if (list_->HandleAllocated()) SendMessageA(list_->Handle(), LB_RESETCONTENT, 0, 0);
  Changed();
}

DASKEL_DEFINE_CLASS(TCustomListBox, TWinControl) {
  c.Strings("Items", &TCustomListBox::Items);
  c.Int("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex);
}
DASKEL_DEFINE_CLASS(TListBox, TCustomListBox) {}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), items_(this) {
  width_ = 121, height_ = 97;
  color_ = clWindow;
  brush_.SetColor(clWindow);
  tabStop_ = true;
  controlStyle_ &= ~(csAcceptsControls | csClickEvents);
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.SystemClass = "LISTBOX";
  p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandleDone() {
  for (int i = 0; i < items_.Count(); ++i)
    SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_.Get(i).c_str()));
  SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

int TCustomListBox::ItemIndex() const {
  if (HandleAllocated())
    return static_cast<int>(SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TCustomListBox::SetItemIndex(int v) {
  if (!HasState(csReading) && (v < -1 || v >= items_.Count())) v = -1;
  itemIndex_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == WM_DESTROY) itemIndex_ = ItemIndex();
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE) {
    itemIndex_ = ItemIndex();
    Click();
    return;
  }
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_DBLCLK) {
    OnDblClick(this);
    return;
  }
  TWinControl::WndProc(m);
}
