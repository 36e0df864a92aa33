#include "framework/Controls.h"

#include <algorithm>
#include <map>
#include <stdexcept>

const std::vector<std::string> kAnchorNames{"akLeft", "akTop", "akRight", "akBottom"};

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

namespace {
const char kControlProp[] = "DaskelControl";
TWinControl* g_creating = nullptr;
TControl* g_mouseControl = nullptr;
HWND g_trackedWindow = nullptr;  // the one window the system reports WM_MOUSELEAVE for
int g_nextId = 1000;             // child window ids; below them IDOK, IDCANCEL and friends

struct ClassEntry {
  WNDPROC defProc;
};
std::map<std::string, ClassEntry>& Classes() {
  // Never freed: components freed by static destructors at exit still use it.
  static auto* classes = new std::map<std::string, ClassEntry>;
  return *classes;
}

WNDPROC ClassDefProc(HWND wnd) {
  char name[256] = {};
  GetClassNameA(wnd, name, sizeof name);
  auto it = Classes().find(name);
  return it == Classes().end() ? DefWindowProcA : it->second.defProc;
}

// Registers the framework class `p.WinClassName` once; returns the procedure it passes on to.
WNDPROC RegisterFrameworkClass(const TCreateParams& p) {
  auto it = Classes().find(p.WinClassName);
  if (it != Classes().end()) return it->second.defProc;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  WNDPROC def = DefWindowProcA;
  if (!p.SystemClass.empty()) {
    if (!GetClassInfoExA(nullptr, p.SystemClass.c_str(), &wc))
      throw std::runtime_error("no system window class " + p.SystemClass);
    def = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
  } else {
    wc.style = p.ClassStyle;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr;
  }
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = inst;
  wc.lpszClassName = p.WinClassName.c_str();
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  if (!RegisterClassExA(&wc)) throw std::runtime_error("cannot register window class " + p.WinClassName);
  Classes()[p.WinClassName] = {def};
  return def;
}

LPCSTR CursorResource(TCursor c) {
  switch (c) {
    case crCross:
      return IDC_CROSS;
    case crIBeam:
      return IDC_IBEAM;
    case crSizeNS:
      return IDC_SIZENS;
    case crSizeWE:
      return IDC_SIZEWE;
    case crHourGlass:
      return IDC_WAIT;
    case crNo:
      return IDC_NO;
    case crHandPoint:
      return IDC_HAND;
    default:
      return IDC_ARROW;
  }
}
}  // namespace

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// One window procedure for every framework window class: finds the control and hands it the
// message the way a subclass would (framework/WindowSubclass.h).
LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* c = static_cast<TWinControl*>(GetPropA(wnd, kControlProp));
  if (!c && g_creating) {
    c = g_creating;
    g_creating = nullptr;
    c->handle_ = wnd;
    SetPropA(wnd, kControlProp, c);
  }
  if (!c) return CallWindowProcA(ClassDefProc(wnd), wnd, msg, wp, lp);
  LRESULT result = TWindowSubclass::Deliver<&TWinControl::MainWndProc>(c, wnd, c->defWndProc_, msg, wp, lp);
  // What follows runs even when a handler threw. The window's last message forgets it (c is
  // only compared: a handler may have freed it, and then the property no longer names it).
  if (msg == WM_NCDESTROY && g_trackedWindow == wnd) g_trackedWindow = nullptr;
  if (msg == WM_NCDESTROY && GetPropA(wnd, kControlProp) == c) {
    RemovePropA(wnd, kControlProp);
    if (c->handle_ == wnd) c->handle_ = nullptr;
  }
  // Looked up again: the control may be gone by now.
  if (msg == CM_RELEASE)
    if (TWinControl* w = TWinControl::FindControl(wnd); w && w->freeAfterRelease_) w->FreeReleased();
  return result;
}

void TWinControl::MainWndProc(TMessage& m) {
  if (WindowProc) {
    WindowProc(m);
  } else {
    WndProc(m);
  }
}

// ---- TControl

DASKEL_DEFINE_CLASS(TControl, TComponent) {
  c.Int("Left", &TControl::Left, &TControl::SetLeft);
  c.Int("Top", &TControl::Top, &TControl::SetTop);
  c.Int("Width", &TControl::Width, &TControl::SetWidth);
  c.Int("Height", &TControl::Height, &TControl::SetHeight);
  c.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, kAnchorNames);
  c.Bool("Visible", &TControl::Visible, &TControl::SetVisible);
  c.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled);
  c.String("Caption", &TControl::Caption, &TControl::SetCaption);
  c.String("Text", &TControl::Text, &TControl::SetTextProp);
  c.Color("Color", &TControl::Color, &TControl::SetColor);
  c.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
  c.Object("Font", &TControl::Font);
  c.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
  c.Int("Cursor", &TControl::Cursor, &TControl::SetCursor);
  c.String("Hint", &TControl::Hint, &TControl::SetHint);
  c.Component("PopupMenu", &TControl::SetPopupMenu);
  c.Event("OnClick", &TControl::OnClick);
  c.Event("OnDblClick", &TControl::OnDblClick);
  c.Event("OnMouseDown", &TControl::OnMouseDown);
  c.Event("OnMouseUp", &TControl::OnMouseUp);
  c.Event("OnMouseMove", &TControl::OnMouseMove);
  c.Event("OnMouseEnter", &TControl::OnMouseEnter);
  c.Event("OnMouseLeave", &TControl::OnMouseLeave);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = TWndMethod(this, &TControl::WndProc);
  font_.OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  if (g_mouseControl == this) g_mouseControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TFormLink* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TFormLink*>(const_cast<TControl*>(c));
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_ || parent == this) return;
  if (parent_) {
    if (!dynamic_cast<TWinControl*>(this)) parent_->Invalidate();
    parent_->RemoveControl(this);
  }
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    ScaleForPPI(parent_->currentPPI_);
    ParentFontChanged();
    ParentColorChanged();
  }
}

void TControl::ScaleForPPI(int ppi) {
  if (ppi > 0 && ppi != currentPPI_) ChangeScale(ppi, currentPPI_);
}

void TControl::ChangeScale(int m, int d) {
  currentPPI_ = m;
  ScaleBounds(m, d);
  ScaleFont(m);
}

void TControl::ScaleBounds(int m, int d) {
  // The edges are scaled, not the sizes: controls that touch at 96 DPI still touch, and a
  // change there and back gives every edge back exactly.
  int l = MulDiv(left_, m, d), t = MulDiv(top_, m, d);
  SetBounds(l, t, MulDiv(left_ + width_, m, d) - l, MulDiv(top_ + height_, m, d) - t);
}

void TControl::ScaleFont(int m) {
  // A font taken from the parent comes scaled with it.
  if (parentFont_ && parent_) return;
  bool keep = parentFont_;
  font_.SetPixelsPerInch(m);
  parentFont_ = keep;
}

void TControl::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == opRemove && c == popupMenuComponent_) {
    popupMenu_ = nullptr;
    popupMenuComponent_ = nullptr;
  }
}

void TControl::SetPopupMenu(TContextMenu* m) {
  if (popupMenuComponent_) RemoveFreeNotification(popupMenuComponent_);
  popupMenu_ = m;
  popupMenuComponent_ = dynamic_cast<TComponent*>(m);
  if (popupMenuComponent_) FreeNotification(popupMenuComponent_);
}

void TControl::SetBoundsFields(int l, int t, int w, int h) {
  int oldW = ClientWidth(), oldH = ClientHeight();
  left_ = l, top_ = t, width_ = w < 0 ? 0 : w, height_ = h < 0 ? 0 : h;
  if (ClientWidth() != oldW || ClientHeight() != oldH) Resized(oldW, oldH);
}

void TControl::SetBounds(int l, int t, int w, int h) {
  if (l == left_ && t == top_ && w == width_ && h == height_) return;
  Invalidate();  // where it was
  SetBoundsFields(l, t, w, h);
  Invalidate();  // where it is
}

POINT TControl::ClientToScreen(POINT p) const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->HandleAllocated()) {
      ::ClientToScreen(const_cast<TWinControl*>(w)->Handle(), &p);
      return p;
    }
    p.x += c->left_;
    p.y += c->top_;
  }
  return p;
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT origin = ClientToScreen(POINT{0, 0});
  return POINT{p.x - origin.x, p.y - origin.y};
}

void TControl::SetAnchors(TAnchors a) { anchors_ = a; }

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  VisibleChanging();
  visible_ = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    w->UpdateVisibility();
  } else if (parent_) {
    parent_->Invalidate();
  }
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) EnableWindow(w->Handle(), v);
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const std::string& s) {
  if (s == text_) return;
  text_ = s;
  Perform(CM_TEXTCHANGED, 0, 0);
  Invalidate();
}

void TControl::SetColor(TColor c) {
  parentColor_ = false;
  if (c == color_) return;
  color_ = c;
  ColorChanged();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_ || parent_->color_ == color_) return;
  color_ = parent_->color_;
  ColorChanged();
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  applyingParentFont_ = true;
  font_.Assign(parent_->font_);
  applyingParentFont_ = false;
}

void TControl::FontChanged(TObject*) {
  if (!applyingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
  Invalidate();
}

void TControl::SetCursor(TCursor c) {
  cursor_ = c;
  Perform(CM_CURSORCHANGED, 0, 0);
}

std::intptr_t TControl::Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  TMessage m{msg, wparam, lparam, 0};
  if (WindowProc) {
    WindowProc(m);
  } else {
    WndProc(m);
  }
  return m.Result;
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, TRUE);
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  Invalidate();
}

void TControl::Click() { OnClick(this); }

bool TControl::MouseInControl() const { return g_mouseControl == this; }
TControl* TControl::MouseControl() { return g_mouseControl; }

void TControl::SetMouseControl(TControl* c) {
  if (c == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = c;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  // The leave handler may have moved the mouse control on; only enter if it is still ours.
  if (c && g_mouseControl == c) c->Perform(CM_MOUSEENTER, 0, 0);
}

void TControl::WndProc(TMessage& m) {
  DefaultHandler(m);
  // No events into an object whose derived parts may already be gone.
  if (HasState(csDestroying)) return;
  int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      TMouseButton b = m.Msg == WM_LBUTTONDOWN ? mbLeft : m.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      if (b == mbLeft) mouseDown_ = true;
      OnMouseDown(this, b, KeysToShiftState(m.WParam), x, y);
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      TMouseButton b = m.Msg == WM_LBUTTONUP ? mbLeft : m.Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
      bool click = b == mbLeft && mouseDown_;
      if (b == mbLeft) mouseDown_ = false;
      OnMouseUp(this, b, KeysToShiftState(m.WParam), x, y);
      RECT r = ClientRect();
      POINT p{x, y};
      if (click && (controlStyle_ & csClickEvents) && PtInRect(&r, p)) Click();
      break;
    }
    case WM_LBUTTONDBLCLK:
      OnDblClick(this);
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(this, KeysToShiftState(m.WParam), x, y);
      break;
    case CM_MOUSEENTER:
      OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      OnMouseLeave(this);
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
    default:
      break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

// ---- TWinControl

DASKEL_DEFINE_CLASS(TWinControl, TControl) {
  c.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
  c.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
  c.Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered);
  c.Event("OnKeyDown", &TWinControl::OnKeyDown);
  c.Event("OnKeyUp", &TWinControl::OnKeyUp);
  c.Event("OnKeyPress", &TWinControl::OnKeyPress);
  c.Event("OnEnter", &TWinControl::OnEnter);
  c.Event("OnExit", &TWinControl::OnExit);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  controlStyle_ = csClickEvents | csAcceptsControls;
  brush_.SetColor(color_);
}

TWinControl::~TWinControl() {
  DestroyHandle();
  for (TControl* c : controls_) c->parent_ = nullptr;
  controls_.clear();
  tabList_.clear();
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  DestroyHandle();
  if (parent_ && parent_->HandleAllocated()) Handle();
}

TWinControl* TWinControl::FindControl(HWND wnd) {
  return wnd ? static_cast<TWinControl*>(GetPropA(wnd, kControlProp)) : nullptr;
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (parent_) parent_->Handle();  // makes ours too, with the rest of the parent's children
    if (!handle_) CreateWnd();
  }
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!enabled_) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = left_, p.Y = top_, p.Width = width_, p.Height = height_;
  p.WndParent = parent_ ? parent_->handle_ : nullptr;
  p.Menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_nextId++));
  p.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if (!p.WndParent && (p.Style & WS_CHILD))
    throw std::runtime_error("control " + Name() + " has no parent window");
  defWndProc_ = RegisterFrameworkClass(p);
  g_creating = this;
  HWND wnd = CreateWindowHandle(p);
  g_creating = nullptr;
  if (!wnd) throw std::runtime_error("cannot create the window of " + Name());
  handle_ = wnd;
  SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), 0);
  RECT cr;
  GetClientRect(wnd, &cr);
  lastClientW_ = cr.right;
  lastClientH_ = cr.bottom;
  CreateHandleDone();
  // Children in tab order: the window order is the tab order.
  for (TWinControl* c : tabList_)
    if (!c->handle_) c->CreateWnd();
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& p) {
  return CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                         p.Height, p.WndParent, p.Menu, GetModuleHandleA(nullptr), nullptr);
}

void TWinControl::DestroyWnd() {
  if (handle_) DestroyWindow(handle_);
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Texts live in the window while it exists: keep them for the next one.
  text_ = GetText();
  DestroyWnd();
  handle_ = nullptr;
}

void TWinControl::UpdateVisibility() {
  if (visible_ && parent_ && parent_->handle_ && !handle_) {
    Handle();
    return;
  }
  if (handle_) ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    tabList_.push_back(w);
    if (handle_ && !HasState(csLoading)) {
      if (w->handle_) {
        ::SetParent(w->handle_, handle_);
      } else if (w->visible_) {
        w->CreateWnd();
      }
    }
  } else if (handle_) {
    c->Invalidate();
  }
}

void TWinControl::RemoveControl(TControl* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
  if (captureControl_ == c) captureControl_ = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->handle_ && !HasState(csDestroying)) w->DestroyHandle();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    RECT r = c->BoundsRect();
    if (c->visible_ && (c->enabled_ || allowDisabled) && PtInRect(&r, p)) return c;
  }
  return nullptr;
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (v < 0) v = 0;
  if (v > static_cast<int>(list.size())) v = static_cast<int>(list.size());
  list.insert(list.begin() + v, this);
  // Later siblings in a layout may still take places before this one; the parent puts the
  // wanted orders right when the layout is complete (Loaded).
  wantedTabOrder_ = v;
  if (handle_) {
    HWND after = v == 0 ? HWND_TOP : list[static_cast<std::size_t>(v - 1)]->handle_;
    if (after) SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::Loaded() {
  std::stable_sort(tabList_.begin(), tabList_.end(),
                   [](TWinControl* a, TWinControl* b) { return a->wantedTabOrder_ < b->wantedTabOrder_; });
  TControl::Loaded();
}

void TWinControl::SetTabStop(bool v) {
  tabStop_ = v;
  if (!handle_) return;
  LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  SetWindowLongPtrA(handle_, GWL_STYLE, v ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP));
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (CanFocus()) ::SetFocus(Handle());
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetBounds(int l, int t, int w, int h) {
  if (l == left_ && t == top_ && w == width_ && h == height_) return;
  if (handle_) {
    // The window reports its new place through WM_WINDOWPOSCHANGED, which stores it.
    left_ = l, top_ = t;
    SetWindowPos(handle_, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    width_ = w, height_ = h;
  } else {
    SetBoundsFields(l, t, w, h);
  }
}

void TWinControl::Resized(int oldW, int oldH) {
  RECT r = ClientRect();
  lastClientW_ = r.right, lastClientH_ = r.bottom;
  // While loading, or before the size was ever known, children stand where they were put.
  if (HasState(csLoading) || scaling_ || oldW < 0 || oldH < 0) return;
  AlignChildren(r.right - oldW, r.bottom - oldH);
}

void TWinControl::AlignChildren(int dw, int dh) {
  if (dw == 0 && dh == 0) return;
  std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    TAnchors a = c->anchors_;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (a & Anchor(akRight)) {
      if (a & Anchor(akLeft)) {
        w += dw;
      } else {
        l += dw;
      }
    }
    if (a & Anchor(akBottom)) {
      if (a & Anchor(akTop)) {
        h += dh;
      } else {
        t += dh;
      }
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::ChangeScale(int m, int d) {
  bool was = scaling_;
  scaling_ = true;
  currentPPI_ = m;
  // The children first: a control that lays its children out when it is resized (a radio
  // group, a page control) then places them anew at its new size and font, over their scaling.
  std::vector<TControl*> children = controls_;
  for (TControl* c : children) c->ChangeScale(m, d);
  ScaleFont(m);
  ScaleBounds(m, d);
  scaling_ = was;
}

void TWinControl::SetText(const std::string& s) {
  if (!handle_) {
    TControl::SetText(s);
    return;
  }
  if (s == GetText()) return;
  text_ = s;
  SetWindowTextA(handle_, s.c_str());
  Perform(CM_TEXTCHANGED, 0, 0);
}

std::string TWinControl::GetText() const {
  if (!handle_) return text_;
  int n = GetWindowTextLengthA(handle_);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(handle_, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
  return s;
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::BringToFront() {
  TControl::BringToFront();
  if (handle_) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::FontChanged(TObject* sender) {
  TControl::FontChanged(sender);
  if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  brush_.SetColor(color_);
  TControl::ColorChanged();
  for (TControl* c : controls_) c->ParentColorChanged();
}

HBRUSH TWinControl::ControlColor(HDC dc) {
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(font_.Color())));
  SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(color_)));
  return brush_.Handle();
}

void TWinControl::PaintControls(HDC dc, const RECT* clip) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (dynamic_cast<TWinControl*>(c) || !c->visible_) continue;
    RECT r = c->BoundsRect(), common;
    if (clip && !IntersectRect(&common, &r, clip)) continue;
    int saved = SaveDC(dc);
    POINT org;
    OffsetViewportOrgEx(dc, r.left, r.top, &org);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintWindow(HDC dc) {
  if (defWndProc_ != DefWindowProcA)
    CallWindowProcA(defWndProc_, handle_, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TWinControl::PaintWithControls(TMessage& m) {
  TPaintDc paint(handle_, m.WParam);
  HDC dc = paint.Get();
  RECT clip;
  if (paint.Began())
    clip = paint.PaintRect();
  else
    GetClientRect(handle_, &clip);
  if (doubleBuffered_ && paint.Began()) {
    RECT cr;
    GetClientRect(handle_, &cr);
    TMemoryDc mem(CreateCompatibleDC(dc));
    TGdiBitmap bmp(CreateCompatibleBitmap(dc, cr.right > 0 ? cr.right : 1, cr.bottom > 0 ? cr.bottom : 1));
    {
      TSelectObject sel(mem.Get(), bmp.Get());
      Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.Get()), 0);
      int saved = SaveDC(mem.Get());
      PaintWindow(mem.Get());
      RestoreDC(mem.Get(), saved);
      PaintControls(mem.Get(), nullptr);
      BitBlt(dc, 0, 0, cr.right, cr.bottom, mem.Get(), 0, 0, SRCCOPY);
    }
  } else {
    // The system class's painting may leave clipping or origins behind: not for the children.
    int saved = SaveDC(dc);
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, &clip);
  }
  m.Result = 0;
}

bool TWinControl::HasGraphicChildren() const {
  for (TControl* c : controls_)
    if (c->visible_ && !dynamic_cast<TWinControl*>(c)) return true;
  return false;
}

void TWinControl::RouteMouse(TMessage& m, bool* handled) {
  *handled = false;
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = captureControl_;
  if (!target) {
    target = ControlAtPos(p);
    if (target && dynamic_cast<TWinControl*>(target)) target = nullptr;
  }
  if (m.Msg == WM_MOUSEMOVE) {
    // Only a window that is really at the point (not covered, or holding the capture) decides
    // what the mouse is over.
    POINT at = p;
    ::ClientToScreen(handle_, &at);
    if (GetCapture() == handle_ || WindowFromPoint(at) == handle_) SetMouseControl(target ? target : this);
  }
  if (!target) return;
  bool down = m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN ||
              m.Msg == WM_LBUTTONDBLCLK;
  bool up = m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP || m.Msg == WM_MBUTTONUP;
  if (down) {
    captureControl_ = target;
    SetCapture(handle_);
  }
  TControl* keep = target;
  if (up) {
    captureControl_ = nullptr;
    if (GetCapture() == handle_) ReleaseCapture();
  }
  if (m.Msg == WM_MOUSEMOVE || down || up) {
    LPARAM lp = MAKELPARAM(p.x - keep->left_, p.y - keep->top_);
    m.Result = keep->Perform(m.Msg, m.WParam, lp);
    *handled = true;
  }
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (HasGraphicChildren() || defWndProc_ == DefWindowProcA || doubleBuffered_) {
        PaintWithControls(m);
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (controlStyle_ & csOpaque) {
        m.Result = 1;
        return;
      }
      if (controlStyle_ & csPaintsBackground) {
        RECT r;
        GetClientRect(handle_, &r);
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_.Handle());
        m.Result = 1;
        return;
      }
      break;
    case WM_COMMAND:
      if (m.LParam) {
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
          m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
          return;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (TWinControl* child = hdr ? FindControl(hdr->hwndFrom) : nullptr) {
        m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
        return;
      }
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // The parts of a control (a combo box's edit) ask for the colours of the control they are
      // part of.
      auto from = reinterpret_cast<HWND>(m.LParam);
      TWinControl* child = FindControl(from);
      if (!child && from && GetParent(from) != handle_) child = FindControl(GetParent(from));
      if (child) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      break;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (m.WParam) {
        HWND item = m.Msg == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem
                                         : GetDlgItem(handle_, static_cast<int>(m.WParam));
        if (TWinControl* child = FindControl(item)) {
          m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
          return;
        }
      }
      break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC:
      m.Result = reinterpret_cast<LRESULT>(ControlColor(reinterpret_cast<HDC>(m.WParam)));
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
      if (m.Msg == WM_MOUSEMOVE && g_trackedWindow != handle_) {
        // Only one window of the thread is tracked at a time: take it over.
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        if (TrackMouseEvent(&t)) g_trackedWindow = handle_;
      }
      bool handled;
      RouteMouse(m, &handled);
      if (handled) {
        // The window itself still sees the message (focus, capture); its events do not fire.
        DefaultHandler(m);
        return;
      }
      break;
    }
    case WM_MOUSELEAVE: {
      if (g_trackedWindow == handle_) g_trackedWindow = nullptr;
      TControl* mc = g_mouseControl;
      if (mc == this || (mc && mc->parent_ == this && !dynamic_cast<TWinControl*>(mc))) {
        POINT p;
        GetCursorPos(&p);
        if (WindowFromPoint(p) != handle_) SetMouseControl(nullptr);
      }
      break;
    }
    case WM_SETCURSOR:
      if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == handle_) {
        // A windowless control has no window to be asked: its parent shows its cursor.
        TCursor cursor = cursor_;
        POINT p{};
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        if (TControl* child = ControlAtPos(p); child && child->Cursor() != crDefault)
          cursor = child->Cursor();
        if (cursor != crDefault) {
          ::SetCursor(LoadCursorA(nullptr, CursorResource(cursor)));
          m.Result = 1;
          return;
        }
      }
      break;
    case WM_CONTEXTMENU:
      if (popupMenu_) {
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{0, 0});
        popupMenu_->Popup(p.x, p.y);
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<unsigned short>(m.WParam);
      TShiftState s = KeysToShiftState((GetKeyState(VK_SHIFT) < 0 ? MK_SHIFT : 0) |
                                       (GetKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0));
      KeyDown(key, s);
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_KEYUP: {
      auto key = static_cast<unsigned short>(m.WParam);
      OnKeyUp(this, key, 0);
      if (key == 0) return;
      break;
    }
    case WM_CHAR: {
      char ch = static_cast<char>(m.WParam);
      KeyPress(ch);
      if (ch == 0) return;
      m.WParam = static_cast<unsigned char>(ch);
      break;
    }
    case WM_SETFOCUS:
      TControl::WndProc(m);
      Perform(CM_ENTER, 0, 0);
      if (!HasState(csDestroying)) OnEnter(this);
      return;
    case WM_KILLFOCUS:
      TControl::WndProc(m);
      Perform(CM_EXIT, 0, 0);
      if (!HasState(csDestroying)) OnExit(this);
      return;
    case WM_DESTROY:
      // The window may go with its parent's: keep what lives in it for the next one.
      text_ = GetText();
      break;
    case WM_WINDOWPOSCHANGED: {
      TControl::WndProc(m);
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE)) {
        RECT r;
        GetWindowRect(handle_, &r);
        HWND parentWnd = GetAncestor(handle_, GA_PARENT);
        if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)
          MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
        left_ = r.left, top_ = r.top, width_ = r.right - r.left, height_ = r.bottom - r.top;
        RECT cr;
        GetClientRect(handle_, &cr);
        if (cr.right != lastClientW_ || cr.bottom != lastClientH_) {
          int ow = lastClientW_, oh = lastClientH_;
          Resized(ow, oh);
        }
      }
      return;
    }
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  // The framework's own messages mean nothing to the system classes.
  if (m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400) return;
  if (!handle_) return;
  PassedOn(m);
  m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam, m.LParam);
}

// ---- TGraphicControl and TCustomControl

DASKEL_DEFINE_CLASS(TGraphicControl, TControl) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::Update() {
  if (parent_) parent_->Update();
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
    canvas_.Font().Assign(font_);
    canvas_.Brush().SetColor(color_);
    Paint();
    canvas_.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

DASKEL_DEFINE_CLASS(TCustomControl, TWinControl) {}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
  controlStyle_ |= csPaintsBackground;
}

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  canvas_.Font().Assign(font_);
  canvas_.Brush().SetColor(color_);
  Paint();
  canvas_.SetHandle(nullptr);
}
