// Controls: TControl (anything with bounds on a parent), TWinControl (a Win32 window made on
// demand, of a window class named after the framework class), TGraphicControl (windowless,
// painted and fed mouse messages by its parent).
//
// Every message of a control goes through its WindowProc method pointer, which starts out
// pointing at the virtual WndProc. Code that wants to see a control's messages saves WindowProc,
// installs its own method and passes messages on to the saved one; giving the saved one back
// restores the control exactly.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/WindowSubclass.h"

class TWinControl;
class TButton;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = unsigned;  // bit (1 << TAnchorKind)
constexpr TAnchors Anchor(TAnchorKind a) { return 1u << a; }

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32
};
using TShiftState = unsigned;

using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNS = -7, crSizeWE = -9,
                  crHourGlass = -11, crNo = -12, crHandPoint = -21;

using TMouseEvent = TMethod<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TMethod<TObject*, TShiftState, int, int>;
using TKeyEvent = TMethod<TObject*, unsigned short&, TShiftState>;
using TKeyPressEvent = TMethod<TObject*, char&>;

enum TModalResultValue {
  mrNone = 0,
  mrOk = IDOK,
  mrCancel = IDCANCEL,
  mrAbort = IDABORT,
  mrRetry = IDRETRY,
  mrIgnore = IDIGNORE,
  mrYes = IDYES,
  mrNo = IDNO
};
using TModalResult = int;

// Control style flags.
constexpr unsigned csClickEvents = 1;       // a press and release inside is a click
constexpr unsigned csAcceptsControls = 2;   // may be the parent of other controls in a layout
constexpr unsigned csOpaque = 4;            // paints its whole client area (no background erase)
constexpr unsigned csPaintsBackground = 8;  // the framework erases its background with Color

TShiftState KeysToShiftState(WPARAM keys);

// The control layer knows nothing of forms and menus; it sees them through these two
// interfaces, which the form and the popup menu implement.
//
// The form a control sits on: push buttons make themselves its default or cancel button, and a
// button with a modal result hands it over to close a modal form.
class TFormLink {
 public:
  virtual void SetDefaultButton(TButton* b, bool isDefault) = 0;
  virtual void SetCancelButton(TButton* b, bool isCancel) = 0;
  virtual void SetModalResult(TModalResult v) = 0;

 protected:
  ~TFormLink() = default;
};

// A control's context menu: shown at a screen point when the control gets WM_CONTEXTMENU.
class TContextMenu {
 public:
  virtual void Popup(int x, int y) = 0;

 protected:
  ~TContextMenu() = default;
};

class TControl : public TComponent {
  DASKEL_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  // The form at the top of the parent chain, or nullptr.
  TFormLink* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int v) { SetWidth(v + width_ - ClientWidth()); }
  virtual void SetClientHeight(int v) { SetHeight(v + height_ - ClientHeight()); }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors a);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all its parents (with windows of their own shown).
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);

  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& s) { SetText(s); }
  std::string Text() const { return GetText(); }
  void SetTextProp(const std::string& s) { SetText(s); }
  virtual std::string GetText() const { return text_; }
  virtual void SetText(const std::string& s);

  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() { return &font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  std::string Hint() const { return hint_; }
  void SetHint(const std::string& h) { hint_ = h; }
  TContextMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TContextMenu* m);

  unsigned ControlStyle() const { return controlStyle_; }
  void SetControlStyle(unsigned s) { controlStyle_ = s; }

  // The DPI the control's bounds and font are in. Layouts give them at 96; a form scales itself
  // and its controls to its window's DPI, and a control put on a parent takes the parent's.
  int CurrentPPI() const { return currentPPI_; }
  // A length given at 96 DPI in this control's pixels (for bounds set by code).
  int ScaleValue(int at96) const { return MulDiv(at96, currentPPI_, 96); }
  // Scales the bounds, the font and (windowed controls) the children from CurrentPPI to ppi.
  void ScaleForPPI(int ppi);

  // Sends a message to this control's WindowProc and returns its result.
  std::intptr_t Perform(unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);
  TWndMethod WindowProc;

  virtual void Invalidate();
  virtual void Update() {}
  void Repaint() {
    Invalidate();
    Update();
  }
  void Refresh() { Repaint(); }
  virtual void BringToFront();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  virtual void Click();
  // Whether the mouse is over this control (between CM_MOUSEENTER and CM_MOUSELEAVE).
  bool MouseInControl() const;

  // The control under the mouse, as the framework tracks it; enters and leaves are sent when it
  // changes.
  static TControl* MouseControl();
  static void SetMouseControl(TControl* c);

 protected:
  virtual void WndProc(TMessage& m);
  // The handling a message gets when nothing else takes it: the system class's window
  // procedure for windowed controls, nothing for windowless ones.
  virtual void DefaultHandler(TMessage& m);
  virtual void Changed() {}
  virtual void VisibleChanging() {}
  virtual void FontChanged(TObject* sender);
  virtual void ColorChanged() { Invalidate(); }
  // Called when the control's client size changed; windowed controls move anchored children.
  virtual void Resized(int oldClientWidth, int oldClientHeight) {
    (void)oldClientWidth;
    (void)oldClientHeight;
  }
  void SetBoundsFields(int l, int t, int w, int h);
  // Scaling by m/d: ChangeScale does the whole control (ScaleBounds, then ScaleFont, so that a
  // control sizing itself to its text measures with the new font after its bounds were scaled;
  // windowed controls scale their children first and their own bounds last).
  virtual void ChangeScale(int m, int d);
  virtual void ScaleBounds(int m, int d);
  void ScaleFont(int m);
  void Notification(TComponent* c, TOperation op) override;
  // The colour and font follow the parent's while ParentColor / ParentFont are set.
  void ParentColorChanged();
  void ParentFontChanged();

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAnchors anchors_ = Anchor(akLeft) | Anchor(akTop);
  bool visible_ = true, enabled_ = true;
  std::string text_;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  bool applyingParentFont_ = false;
  int currentPPI_ = 96;
  TCursor cursor_ = crDefault;
  std::string hint_;
  TContextMenu* popupMenu_ = nullptr;
  TComponent* popupMenuComponent_ = nullptr;  // the same menu, for its free notification
  unsigned controlStyle_ = csClickEvents;
  bool mouseDown_ = false;

  friend class TWinControl;
};

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0, ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;          // child window id
  std::string WinClassName;      // the class to register: the framework class name
  std::string SystemClass;       // the system class it superclasses ("" for a class of its own)
  UINT ClassStyle = CS_DBLCLKS;  // for classes of their own
};

class TWinControl : public TControl {
  DASKEL_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, made on first use together with those of the parents.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window (it is made again when next needed); children go with it.
  void DestroyHandle();
  // The framework control a window belongs to, or nullptr.
  static TWinControl* FindControl(HWND wnd);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_[static_cast<std::size_t>(i)]; }
  // The topmost visible child at a client point (windowless ones included), or nullptr.
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;

  int TabOrder() const;
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }
  TBrush* Brush() { return &brush_; }

  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  RECT ClientRect() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetText(const std::string& s) override;
  std::string GetText() const override;
  void Invalidate() override;
  void Update() override;
  void BringToFront() override;

  // Paints the windowless children into dc (client coordinates).
  void PaintControls(HDC dc, const RECT* clip);
  void Loaded() override;

 protected:
  virtual void CreateParams(TCreateParams& p);
  virtual void CreateWnd();
  // Makes the window itself (CreateWindowExA by default; MDI children are made by their client).
  virtual HWND CreateWindowHandle(const TCreateParams& p);
  // After the window exists: fonts, texts and the like pushed into it.
  virtual void CreateHandleDone() {}
  virtual void DestroyWnd();
  // Paints the window itself (before its windowless children): the system class's painting
  // for superclassed controls, nothing for classes of their own.
  virtual void PaintWindow(HDC dc);
  bool HasGraphicChildren() const;
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  void FontChanged(TObject* sender) override;
  void ColorChanged() override;
  void Resized(int oldClientWidth, int oldClientHeight) override;
  // The child's colours for WM_CTLCOLOR*: sets the DC's colours and returns the brush.
  virtual HBRUSH ControlColor(HDC dc);
  virtual void KeyDown(unsigned short& key, TShiftState shift) { OnKeyDown(this, key, shift); }
  virtual void KeyPress(char& key) { OnKeyPress(this, key); }
  // Makes the window again (after a change only a new window shows), if it exists; it comes back
  // at once when the parent has a window.
  void RecreateWnd();
  void ChangeScale(int m, int d) override;
  // Shows or hides the window to match Visible (making it when needed).
  virtual void UpdateVisibility();
  // The window procedure of the system class this control superclasses.
  WNDPROC DefWndProc() const { return defWndProc_; }
  // For a default procedure called other than through DefaultHandler's: the message went on.
  void PassedOn(const TMessage& m) const { TWindowSubclass::PassedOn(handle_, defWndProc_, m); }
  // While handling CM_RELEASE: the control is freed (through FreeReleased) once the message has
  // come back out of every WindowProc it went through, so none of them runs on a freed object.
  void FreeAfterRelease() { freeAfterRelease_ = true; }
  virtual void FreeReleased() { delete this; }

 public:
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void AlignChildren(int dw, int dh);
  void RouteMouse(TMessage& m, bool* handled);
  void PaintWithControls(TMessage& m);
  // Every message of the window.
  void MainWndProc(TMessage& m);

 protected:
  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  TBrush brush_;
  TControl* captureControl_ = nullptr;
  int lastClientW_ = -1, lastClientH_ = -1;
  int wantedTabOrder_ = 0x7FFF;
  bool scaling_ = false;  // children are scaled, not moved by their anchors, while set

 private:
  bool freeAfterRelease_ = false;
};

class TGraphicControl : public TControl {
  DASKEL_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  TCanvas* Canvas() { return &canvas_; }
  void Update() override;

 protected:
  void WndProc(TMessage& m) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// A windowed control that paints itself on a canvas (panels and the like derive from it).
class TCustomControl : public TWinControl {
  DASKEL_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  TCanvas* Canvas() { return &canvas_; }

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};

// Sets of anchors and the like are read as member names.
extern const std::vector<std::string> kAnchorNames;
