#include "framework/Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "framework/ExceptionBarrier.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace {
const std::vector<std::string> kBorderStyles{"bsNone",   "bsSingle",     "bsSizeable",
                                             "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const std::vector<std::string> kBorderIcons{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const std::vector<std::string> kPositions{"poDesigned",        "poDefault",        "poDefaultPosOnly",
                                          "poDefaultSizeOnly", "poScreenCenter",   "poDesktopCenter",
                                          "poMainFormCenter",  "poOwnerFormCenter"};
const std::vector<std::string> kWindowStates{"wsNormal", "wsMinimized", "wsMaximized"};
const std::vector<std::string> kFormStyles{"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};

// Frees the application (and with it every form) when the program ends.
struct ApplicationHolder {
  ~ApplicationHolder() {
    delete Application;
    Application = nullptr;
  }
} g_applicationHolder;
}  // namespace

TApplication* Application = new TApplication(nullptr);

// Errors caught at the edges of our code are shown by the application.
static void ShowInApplication(const std::exception* e) {
  if (Application) Application->ShowException(e ? e->what() : "unknown error");
}

// ---- TCustomForm

DASKEL_DEFINE_CLASS(TCustomForm, TWinControl) {
  c.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, kBorderStyles);
  c.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons, kBorderIcons);
  c.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, kPositions);
  c.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, kWindowStates);
  c.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, kFormStyles);
  c.Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll);
  c.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
  c.Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
  c.Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
  c.Binary("Icon", &TCustomForm::SetIconBytes);
  c.Component("Menu", &TCustomForm::SetMenu);
  c.Component("ActiveControl", &TCustomForm::SetActiveControl);
  c.Component("WindowMenu", &TCustomForm::SetWindowMenu);
  c.Event("OnCreate", &TCustomForm::OnCreate);
  c.Event("OnDestroy", &TCustomForm::OnDestroy);
  c.Event("OnShow", &TCustomForm::OnShow);
  c.Event("OnHide", &TCustomForm::OnHide);
  c.Event("OnActivate", &TCustomForm::OnActivate);
  c.Event("OnDeactivate", &TCustomForm::OnDeactivate);
  c.Event("OnPaint", &TCustomForm::OnPaint);
  c.Event("OnResize", &TCustomForm::OnResize);
  c.Event("OnClose", &TCustomForm::OnClose);
  c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
}
DASKEL_DEFINE_CLASS(TForm, TCustomForm) {}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  controlStyle_ |= csPaintsBackground;
  width_ = 320, height_ = 240;
  icon_.OnChange = TNotifyEvent(this, &TCustomForm::IconChanged);
  if (Application) Application->RegisterForm(this);
}

TCustomForm::~TCustomForm() {
  if (menu_ && menu_->Window() == this) menu_->SetWindow(nullptr);
  Destroying();
  if (Application) Application->UnregisterForm(this);
  DestroyHandle();
}

void TCustomForm::InitializeForm() {
  std::string name = ClassName();
  for (char& ch : name) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
  HRSRC res = FindResourceA(nullptr, name.c_str(), reinterpret_cast<LPCSTR>(RT_RCDATA));
  if (res) {
    HGLOBAL data = LoadResource(nullptr, res);
    const char* bytes = static_cast<const char*>(LockResource(data));
    DWORD size = SizeofResource(nullptr, res);
    if (!bytes) throw ELayoutError(ClassName(), 0, "layout resource cannot be read", name);
    // Layout resources are GBK (the build converts them).
    InitializeFormFromText(std::string(bytes, size), ClassName(), leGbk);
    return;
  }
  // A class that publishes fields cannot work without its layout.
  for (const TClassInfo* c = &ClassType(); c; c = c->Parent)
    if (!c->Fields.empty()) throw ELayoutError(ClassName(), 0, "no layout resource for the form", name);
  ScaleToWindowDpi();
  DoCreate();
  if (visible_) UpdateVisibility();
}

void TCustomForm::InitializeFormFromText(const std::string& layout, const std::string& layoutName,
                                         TLayoutEncoding encoding) {
  ReadLayout(this, layout, layoutName, encoding);
  ScaleToWindowDpi();
  DoCreate();
  if (visible_) UpdateVisibility();
}

void TCustomForm::ScaleToWindowDpi() {
  // Before the window exists: the system's DPI, where a new window appears.
  ScaleForPPI(WindowDpi(HandleAllocated() ? Handle() : nullptr));
}

void TCustomForm::ScaleBounds(int m, int d) {
  int cw = ClientWidth(), ch = ClientHeight();
  SetClientWidth(MulDiv(cw, m, d));
  SetClientHeight(MulDiv(ch, m, d));
}

void TCustomForm::DpiChanged(int dpi, const RECT* suggested) {
  int cw = ClientWidth(), ch = ClientHeight(), old = currentPPI_;
  ScaleForPPI(dpi);
  if (!suggested) return;
  SetBounds(suggested->left, suggested->top, suggested->right - suggested->left,
            suggested->bottom - suggested->top);
  // A fixed-size form keeps its own size, scaled, whatever frame the system reckoned with.
  if (borderStyle_ != bsSizeable && borderStyle_ != bsSizeToolWin) {
    SetClientWidth(MulDiv(cw, dpi, old));
    SetClientHeight(MulDiv(ch, dpi, old));
  }
}

void TCustomForm::SetIconBytes(TMemoryStream& s) { icon_.LoadFromBytes(s.Bytes()); }

void TCustomForm::IconChanged(TObject*) {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
  // The caption shows the small icon: the image drawn for that size, not the large one shrunk.
  HICON small = icon_.Handle();
  if (!icon_.Bytes().empty() && smallIcon_.LoadFromBytes(icon_.Bytes(), GetSystemMetrics(SM_CXSMICON)))
    small = smallIcon_.Handle();
  SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

DWORD TCustomForm::WindowStyle() const {
  DWORD s = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case bsNone:
      return s | WS_POPUP;
    case bsDialog:
      s |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      break;
    case bsSingle:
    case bsToolWindow:
      s |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
    case bsSizeToolWin:
      s |= WS_CAPTION | WS_THICKFRAME;
      break;
  }
  if (borderIcons_ & BorderIcon(biSystemMenu)) {
    s |= WS_SYSMENU;
    if (borderStyle_ != bsDialog) {
      if (borderIcons_ & BorderIcon(biMinimize)) s |= WS_MINIMIZEBOX;
      if (borderIcons_ & BorderIcon(biMaximize)) s |= WS_MAXIMIZEBOX;
    }
  }
  return s;
}

DWORD TCustomForm::WindowExStyle() const {
  DWORD x = WS_EX_CONTROLPARENT;
  if (borderStyle_ == bsDialog) x |= WS_EX_DLGMODALFRAME;
  if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) x |= WS_EX_TOOLWINDOW;
  if (formStyle_ == fsStayOnTop) x |= WS_EX_TOPMOST;
  if ((borderIcons_ & BorderIcon(biHelp)) && (borderIcons_ & BorderIcon(biSystemMenu)))
    x |= WS_EX_CONTEXTHELP;
  return x;
}

RECT TCustomForm::FrameSize() const {
  RECT r{0, 0, 0, 0};
  // An MDI child's menu shows in the frame's bar, not in the child.
  AdjustWindowRectEx(&r, WindowStyle(), menu_ != nullptr && formStyle_ != fsMDIChild, WindowExStyle());
  return r;
}

RECT TCustomForm::ClientRect() const {
  if (HandleAllocated()) return TWinControl::ClientRect();
  RECT f = FrameSize();
  int w = width_ - (f.right - f.left), h = height_ - (f.bottom - f.top);
  return RECT{0, 0, w < 0 ? 0 : w, h < 0 ? 0 : h};
}

void TCustomForm::SetClientWidth(int v) { SetWidth(v + width_ - ClientWidth()); }
void TCustomForm::SetClientHeight(int v) { SetHeight(v + height_ - ClientHeight()); }

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  // Keep the client size: it is what the layout describes.
  int cw = ClientWidth(), ch = ClientHeight();
  borderStyle_ = v;
  if (HandleAllocated()) {
    SetWindowLongPtrA(Handle(), GWL_STYLE,
                      static_cast<LONG_PTR>(WindowStyle() | (visible_ ? WS_VISIBLE : 0)));
    SetWindowLongPtrA(Handle(), GWL_EXSTYLE, static_cast<LONG_PTR>(WindowExStyle()));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetClientWidth(cw);
  SetClientHeight(ch);
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  int cw = ClientWidth(), ch = ClientHeight();
  borderIcons_ = v;
  if (HandleAllocated()) {
    SetWindowLongPtrA(Handle(), GWL_STYLE,
                      static_cast<LONG_PTR>(WindowStyle() | (visible_ ? WS_VISIBLE : 0)));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetClientWidth(cw);
  SetClientHeight(ch);
}

TWindowState TCustomForm::WindowState() const {
  if (HandleAllocated()) {
    HWND h = const_cast<TCustomForm*>(this)->Handle();
    if (IsIconic(h)) return wsMinimized;
    if (IsZoomed(h)) return wsMaximized;
    return visible_ ? wsNormal : windowState_;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState v) {
  windowState_ = v;
  if (HandleAllocated() && visible_)
    ShowWindow(Handle(), v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetMenu(TMainMenu* m) {
  int cw = ClientWidth(), ch = ClientHeight();
  if (menu_) {
    RemoveFreeNotification(menu_);
    if (menu_->Window() == this) menu_->SetWindow(nullptr);
  }
  menu_ = m;
  if (m) {
    FreeNotification(m);
    m->SetWindow(this);
  }
  if (HandleAllocated()) ::SetMenu(Handle(), m ? m->Handle() : nullptr);
  if (!HasState(csLoading)) {
    SetClientWidth(cw);
    SetClientHeight(ch);
    // Whoever draws the form's menu bar instead of the system learns of the new menu.
    if (HandleAllocated()) Perform(CM_MENUCHANGED, 0, 0);
  }
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op != opRemove) return;
  if (c == menu_) menu_ = nullptr;
  if (c == activeControl_) activeControl_ = nullptr;
  if (c == defaultButton_) defaultButton_ = nullptr;
  if (c == cancelButton_) cancelButton_ = nullptr;
  if (c == windowMenu_) windowMenu_ = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Style = WindowStyle();
  p.ExStyle = WindowExStyle();
  p.WndParent = Application ? Application->Handle() : nullptr;
  p.Menu = menu_ ? menu_->Handle() : nullptr;
  p.SystemClass.clear();
  if (position_ == poDefault) p.X = p.Y = static_cast<int>(CW_USEDEFAULT);
}

void TCustomForm::CreateHandleDone() {
  if (!icon_.Empty()) IconChanged(nullptr);
  // A window made on a monitor of another DPI than the system's.
  if (!HasState(csLoading)) ScaleToWindowDpi();
  if (formStyle_ == fsMDIForm) CreateMdiClient();
}

void TCustomForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  switch (position_) {
    case poScreenCenter:
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      break;
    case poDesktopCenter:
      break;
    case poMainFormCenter:
    case poOwnerFormCenter:
      if (Application && Application->MainForm() && Application->MainForm() != this &&
          Application->MainForm()->HandleAllocated()) {
        GetWindowRect(Application->MainForm()->Handle(), &area);
        break;
      }
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      break;
    default:
      return;
  }
  int l = area.left + (area.right - area.left - width_) / 2;
  int t = area.top + (area.bottom - area.top - height_) / 2;
  SetBounds(l < area.left ? area.left : l, t < area.top ? area.top : t, width_, height_);
}

void TCustomForm::VisibleChanging() {
  if (visible_) return;  // becoming visible: nothing to do before
  if (GetFocus() && HandleAllocated() && IsChild(Handle(), GetFocus()))
    activeControl_ = FindControl(GetFocus());
}

void TCustomForm::UpdateVisibility() {
  if (HasState(csLoading)) return;
  if (visible_ && formStyle_ == fsMDIChild) {
    ShowMdiChild();
  } else if (visible_) {
    HWND h = Handle();
    ApplyPosition();
    int cmd = windowState_ == wsMinimized   ? SW_SHOWMINIMIZED
              : windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
                                            : SW_SHOWNORMAL;
    ShowWindow(h, cmd);
    SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(h);
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::Show() {
  if (visible_) {
    UpdateVisibility();
    return;
  }
  SetVisible(true);
}

bool TCustomForm::Active() const {
  return HandleAllocated() && GetActiveWindow() == const_cast<TCustomForm*>(this)->Handle();
}

bool TCustomForm::CloseQuery() {
  bool can = true;
  OnCloseQuery(this, can);
  return can;
}

void TCustomForm::Close() {
  if (modal_) {
    // The modal loop asks OnClose once it sees a result.
    modalResult_ = cancelButton_ && cancelButton_->ModalResult() ? cancelButton_->ModalResult() : mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    default:
      break;
  }
}

void TCustomForm::Release() {
  if (HandleAllocated()) {
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
  } else {
    delete this;
  }
}

void TCustomForm::BeforeDestruction() {
  if (HasState(csDestroying)) return;
  if (!HasState(csLoading)) OnDestroy(this);
  Destroying();
  DestroyHandle();
}

void TCustomForm::Free() {
  BeforeDestruction();
  delete this;
}

TModalResult TCustomForm::ShowModal() {
  if (modal_) return mrCancel;
  ReleaseCapture();
  modal_ = true;
  modalResult_ = mrNone;
  HWND previous = GetActiveWindow();
  // Every other enabled top-level window of ours waits until this one is done.
  std::vector<HWND> disabled;
  auto disable = [&](HWND h) {
    if (h && IsWindowEnabled(h)) {
      EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
  };
  if (Application) {
    for (int i = 0; i < Application->FormCount(); ++i) {
      TCustomForm* f = Application->Forms(i);
      if (f != this && f->HandleAllocated() && IsWindowVisible(f->Handle())) disable(f->Handle());
    }
    disable(Application->Handle());
  }
  // However the loop is left, the other windows come back and the form is no longer modal.
  struct TModalEnd {
    TCustomForm* form;
    std::vector<HWND>& disabled;
    ~TModalEnd() {
      for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) EnableWindow(*it, TRUE);
      form->modal_ = false;
    }
  } end{this, disabled};
  Show();
  while (Application && !Application->Terminated()) {
    Application->HandleMessage();
    if (modalResult_ == mrNone) continue;
    // A handler that throws is reported like any other, and the form stays open.
    bool close = false;
    Guarded([&] {
      TCloseAction action = caHide;
      if (CloseQuery()) {
        DoClose(action);
        close = action != caNone;
      }
    });
    if (close) break;
    modalResult_ = mrNone;
  }
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  for (auto it = disabled.rbegin(); it != disabled.rend(); ++it) EnableWindow(*it, TRUE);
  disabled.clear();
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  Hide();
  return modalResult_;
}

TWinControl* TCustomForm::ActiveControl() const {
  if (HandleAllocated()) {
    TWinControl* f = FindControl(GetFocus());
    if (f && f != this && f->ParentForm() == this) return f;
  }
  return activeControl_;
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  activeControl_ = c;
  if (c && HandleAllocated() && visible_ && !HasState(csLoading)) c->SetFocus();
}

void TCustomForm::SetDefaultButton(TButton* b, bool isDefault) {
  if (isDefault) {
    defaultButton_ = b;
  } else if (defaultButton_ == b) {
    defaultButton_ = nullptr;
  }
}

void TCustomForm::SetCancelButton(TButton* b, bool isCancel) {
  if (isCancel) {
    cancelButton_ = b;
  } else if (cancelButton_ == b) {
    cancelButton_ = nullptr;
  }
}

bool TCustomForm::IsDialogMessage(MSG& msg) {
  if (!HandleAllocated()) return false;
  // Alt+letter goes to the form first (a skinned menu bar takes its accelerators there).
  if (msg.message == WM_SYSCHAR && Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
    TWinControl* focus = FindControl(GetFocus());
    LRESULT code =
        GetFocus() ? SendMessageA(GetFocus(), WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
    if (!(code & DLGC_WANTALLKEYS)) {
      if (msg.wParam == VK_RETURN) {
        auto* b = dynamic_cast<TButton*>(focus);
        if (!b || b->ParentForm() != this) b = defaultButton_;
        if (b && b->Enabled() && b->Visible()) {
          b->Click();
          return true;
        }
      } else {
        if (cancelButton_ && cancelButton_->Enabled() && cancelButton_->Visible()) {
          cancelButton_->Click();
          return true;
        }
        if (modal_) {
          modalResult_ = mrCancel;
          return true;
        }
      }
    }
  }
  return ::IsDialogMessageA(Handle(), &msg) != 0;
}

void TCustomForm::PaintWindow(HDC dc) {
  canvas_.SetHandle(dc);
  canvas_.Font().Assign(font_);
  canvas_.Brush().SetColor(color_);
  Paint();
  canvas_.SetHandle(nullptr);
}

void TCustomForm::WndProc(TMessage& m) {
  if ((formStyle_ == fsMDIForm || formStyle_ == fsMDIChild) && MdiWndProc(m)) return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this && !modal_) {
        Application->Minimize();
        return;
      }
      break;
    case WM_COMMAND:
      if (m.LParam == 0 && HIWORD(m.WParam) <= 1 && menu_ && menu_->DispatchCommand(LOWORD(m.WParam))) return;
      break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      if (m.WParam == 0 && DispatchMenuDrawing(m)) return;
      break;
    case WM_MENUCHAR:
      if (DispatchMenuChar(m)) return;
      break;
    case CM_RELEASE:
      FreeAfterRelease();
      return;
    case WM_DPICHANGED:
      DpiChanged(LOWORD(m.WParam), reinterpret_cast<const RECT*>(m.LParam));
      m.Result = 0;
      return;
    case WM_ACTIVATE:
      TWinControl::WndProc(m);
      if (HasState(csDestroying)) return;
      if (LOWORD(m.WParam) == WA_INACTIVE) {
        TWinControl* f = FindControl(GetFocus());
        if (f && f->ParentForm() == this) activeControl_ = f;
        Perform(CM_DEACTIVATE, 0, 0);
        OnDeactivate(this);
      } else {
        if (activeControl_ && activeControl_->CanFocus() && activeControl_->HandleAllocated()) {
          ::SetFocus(activeControl_->Handle());
        } else if (GetFocus() == Handle()) {
          // Nothing chosen yet: the first control in tab order, as in dialogs.
          if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
        }
        Perform(CM_ACTIVATE, 0, 0);
        OnActivate(this);
      }
      return;
    case WM_SHOWWINDOW:
      TWinControl::WndProc(m);
      if (m.LParam == 0 && !HasState(csDestroying)) {
        if (m.WParam) {
          OnShow(this);
        } else {
          OnHide(this);
        }
      }
      return;
    case WM_SIZE:
      TWinControl::WndProc(m);
      if (!HasState(csDestroying)) OnResize(this);
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---- TApplication

DASKEL_DEFINE_CLASS(TApplication, TComponent) {}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  SetExceptionHandler(&ShowInApplication);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  std::size_t slash = p.find_last_of("\\/");
  if (slash != std::string::npos) p = p.substr(slash + 1);
  std::size_t dot = p.rfind('.');
  title_ = dot == std::string::npos ? p : p.substr(0, dot);
}

TApplication::~TApplication() {
  // Forms first (newest first), while the application window they belong to still exists.
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) (*it)->BeforeDestruction();
  Destroying();
  DestroyComponents();
  for (TCustomForm* f : std::vector<TCustomForm*>(forms_)) delete f;  // forms nobody owns
  if (Application == this) {
    Application = nullptr;
    SetPopupOwnerWindow(nullptr);
  }
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  TApplication* app = Application;
  auto answer = [&]() -> std::optional<LRESULT> {
    switch (msg) {
      case WM_CLOSE:
        if (app && app->mainForm_) app->mainForm_->Close();
        return 0;
      case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_MINIMIZE && app) {
          app->Minimize();
          return 0;
        }
        if ((wp & 0xFFF0) == SC_RESTORE && app) {
          app->Restore();
          return 0;
        }
        break;
      case WM_SIZE:
        // Owned windows follow the application window: hidden while it is minimised.
        if (wp == SIZE_MINIMIZED) ShowOwnedPopups(wnd, FALSE);
        if (wp == SIZE_RESTORED) ShowOwnedPopups(wnd, TRUE);
        break;
      case WM_ACTIVATE:
      case WM_SETFOCUS:
        if (msg == WM_SETFOCUS || LOWORD(wp) != WA_INACTIVE) {
          TCustomForm* f = app ? app->ActiveForm() : nullptr;
          if (!f && app) f = app->mainForm_;
          if (f && f->HandleAllocated() && IsWindowVisible(f->Handle()) && IsWindowEnabled(f->Handle())) {
            SetActiveWindow(f->Handle());
            return 0;
          }
        }
        break;
      case WM_GETMINMAXINFO: {
        auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
        mm->ptMinTrackSize = POINT{0, 0};
        return 0;
      }
      case WM_DRAWITEM:
      case WM_MEASUREITEM: {
        TMessage m{msg, wp, lp, 0};
        if (DispatchMenuDrawing(m)) return m.Result;
        break;
      }
      case WM_MENUCHAR: {
        TMessage m{msg, wp, lp, 0};
        if (DispatchMenuChar(m)) return m.Result;
        break;
      }
      default:
        break;
    }
    return std::nullopt;
  };
  std::optional<LRESULT> result;
  if (!Guarded([&] { result = answer(); })) return 0;
  return result ? *result : DefWindowProcA(wnd, msg, wp, lp);
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterFrameworkClasses();
  if (icon_.Empty()) icon_.LoadFromResourceName("MAINICON");
  if (handle_) return;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(inst, "TApplication", &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = "TApplication";
    RegisterClassExA(&wc);
  }
  int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_.Reset(CreateWindowExA(0, "TApplication", title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                0, 0, nullptr, nullptr, inst, nullptr));
  SetPopupOwnerWindow(handle_.Get());
  if (!icon_.Empty()) {
    SendMessageA(handle_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Handle()));
    SendMessageA(handle_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Handle()));
  }
}

void TApplication::SetTitle(const std::string& t) {
  title_ = t;
  if (handle_) SetWindowTextA(handle_.Get(), t.c_str());
}

void TApplication::Run() {
  if (!handle_) Initialize();
  if (mainForm_ && ShowMainForm && !terminated_) {
    ShowWindow(handle_.Get(), SW_SHOWNA);
    mainForm_->Show();
  }
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return false;
  }
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (auto* f = dynamic_cast<TCustomForm*>(TWinControl::FindControl(root))) {
    if (HWND client = f->ClientHandle()) {
      // Ctrl+F4, Ctrl+F6 and the child's window-menu keys; dialog keys go to the child form.
      if (TranslateMDISysAccel(client, &msg)) return true;
      // Alt+letter is the frame's: its menu bar holds the children's menus too.
      if (msg.message == WM_SYSCHAR && f->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0) return true;
      for (HWND w = msg.hwnd; w && w != client; w = GetParent(w))
        if (GetParent(w) == client)
          if (auto* child = dynamic_cast<TCustomForm*>(TWinControl::FindControl(w))) f = child;
    }
    if (f->IsDialogMessage(msg)) return true;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!ProcessMessage(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop sees it too
      return;
    }
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!ProcessMessage(msg)) PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  Guarded([&] { OnIdle(this); });
  if (terminated_) return;
  BOOL r = GetMessageA(&msg, nullptr, 0, 0);
  if (r == 0 || r == -1) {
    terminated_ = true;
    if (r == 0) PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  ProcessMessage(msg);
}

void TApplication::Minimize() {
  if (handle_) ShowWindow(handle_.Get(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (!handle_) return;
  ShowWindow(handle_.Get(), SW_RESTORE);
  if (mainForm_ && mainForm_->HandleAllocated()) SetForegroundWindow(mainForm_->Handle());
}

TCustomForm* TApplication::ActiveForm() const {
  return dynamic_cast<TCustomForm*>(TWinControl::FindControl(GetActiveWindow()));
}

void TApplication::ShowException(const std::string& text) {
  if (OnException) {
    OnException(this, text);
    return;
  }
  TCustomForm* f = ActiveForm();
  MessageBoxA(f && f->HandleAllocated() ? f->Handle() : nullptr, text.c_str(), title_.c_str(),
              MB_OK | MB_ICONERROR);
}

void TApplication::RegisterForm(TCustomForm* f) { forms_.push_back(f); }

void TApplication::UnregisterForm(TCustomForm* f) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end());
  if (mainForm_ == f) mainForm_ = nullptr;
}
