// Forms and the application object.
//
// A form class names its layout by its class name: the layout of TForm1 is the RCDATA resource
// "TFORM1" (see daskel_layouts in cmake/Daskel.cmake). Declare the published fields and handler
// methods in the class description:
//
//   class TForm1 : public TForm {
//     DASKEL_CLASS(TForm1, TForm)
//    public:
//     explicit TForm1(TComponent* owner) : TForm(owner) {}
//     TButton* Button1 = nullptr;
//     void Button1Click(TObject* Sender);
//    protected:
//     void WndProc(TMessage& m) override;   // own message handling; pass the rest on
//   };
//   DASKEL_DEFINE_CLASS(TForm1, TForm) {
//     c.Field("Button1", &TForm1::Button1);
//     c.Method("Button1Click", &TForm1::Button1Click);
//   }
//
//   Application->Initialize();
//   Application->CreateForm(Form1);   // reads the layout, binds fields and handlers, OnCreate
//   Application->Run();
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "framework/Layout.h"

class TMainMenu;
class TMenuItem;
class TButton;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned;  // bit (1 << TBorderIcon)
constexpr TBorderIcons BorderIcon(TBorderIcon b) { return 1u << b; }
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TTileMode { tbHorizontal, tbVertical };

// The menu an MDI frame shows while a child with a menu of its own is active: it lends the
// frame's and the child's popups, which are taken out again before it goes.
struct TMergedMenuTraits {
  static void Close(HMENU h);
};
using TMergedMenuHandle = TUniqueHandle<HMENU, TMergedMenuTraits>;

using TCloseEvent = TMethod<TObject*, TCloseAction&>;
using TCloseQueryEvent = TMethod<TObject*, bool&>;

class TCustomForm : public TWinControl, public TFormLink {
  DASKEL_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form's layout resource (named after the class) if there is one, then runs
  // OnCreate. Application::CreateForm calls it; code that makes a form with `new` calls it
  // once after construction. Throws ELayoutError.
  void InitializeForm();
  // Same, from a layout text (in the program's GBK, like texts compiled into it).
  void InitializeFormFromText(const std::string& layout, const std::string& layoutName,
                              TLayoutEncoding encoding = leGbk);

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  TIcon* Icon() { return &icon_; }
  void SetIconBytes(TMemoryStream& s);
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* m);
  TCanvas* Canvas() { return &canvas_; }

  RECT ClientRect() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  bool CloseQuery();
  // Frees the form once the messages already queued for it have been handled.
  void Release();
  // Frees the form now: OnDestroy runs and the window goes while the object is still whole.
  // (A plain `delete` skips OnDestroy: the derived part is gone by the time a base destructor
  // could call it.)
  void Free();
  void BeforeDestruction();
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) override { modalResult_ = v; }
  bool Modal() const { return modal_; }
  bool Active() const;

  // The control with the keyboard focus inside this form (or the one to get it when shown).
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* c);
  // Push buttons with Default / Cancel set (Enter and Esc click them).
  void SetDefaultButton(TButton* b, bool isDefault) override;
  void SetCancelButton(TButton* b, bool isCancel) override;
  TButton* DefaultButton() const { return defaultButton_; }
  TButton* CancelButton() const { return cancelButton_; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TNotifyEvent OnResize;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Whether a message is a dialog key for this form (Tab, Enter, Esc, mnemonics) and was
  // handled as one.
  bool IsDialogMessage(MSG& msg);

  // Multiple-document forms (FormsMdi.cpp). An fsMDIForm form is a frame whose client area is
  // an MDI client window ("MDIClient"); fsMDIChild forms are made inside the client of their
  // owner (or of the application's first frame) and are always visible. While a child with a
  // menu is active, its top-level items follow the frame's in the frame's menu bar.
  HWND ClientHandle() const { return clientHandle_.Get(); }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int i) const;  // in the client's order, the top one first
  void Cascade();
  void Tile();
  void ArrangeIcons();
  TTileMode TileMode() const { return tileMode_; }
  void SetTileMode(TTileMode v) { tileMode_ = v; }
  // The frame's top-level item whose popup lists the children.
  TMenuItem* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TMenuItem* item);

 protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void WndProc(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void VisibleChanging() override;
  void UpdateVisibility() override;
  virtual void DoCreate() { OnCreate(this); }
  virtual void DoClose(TCloseAction& action) { OnClose(this, action); }
  virtual void Paint() { OnPaint(this); }
  void Notification(TComponent* c, TOperation op) override;
  HWND CreateWindowHandle(const TCreateParams& p) override;
  void DestroyWnd() override;
  void DefaultHandler(TMessage& m) override;
  void FreeReleased() override { Free(); }
  // A form keeps its place on the screen and scales its client area.
  void ScaleBounds(int m, int d) override;

 private:
  friend class TApplication;
  // MDI frame and child handling; true when the message was handled there.
  bool MdiWndProc(TMessage& m);
  TCustomForm* MdiFrame() const;
  void CreateMdiClient();
  HMENU WindowMenuHandle();
  void MergeMdiMenu(TCustomForm* active);
  void ShowMdiChild();
  void ApplyPosition();
  // The form and its controls at the DPI its window is (or will be) on.
  void ScaleToWindowDpi();
  // WM_DPICHANGED: everything at the new DPI, in the rectangle the system suggests.
  void DpiChanged(int dpi, const RECT* suggested);
  RECT FrameSize() const;
  void IconChanged(TObject*);
  DWORD WindowStyle() const;
  DWORD WindowExStyle() const;

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_ = BorderIcon(biSystemMenu) | BorderIcon(biMinimize) | BorderIcon(biMaximize);
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormStyle formStyle_ = fsNormal;
  bool autoScroll_ = false, keyPreview_ = false;
  TIcon icon_;
  TIcon smallIcon_;  // the image of icon_ made for the small size, when it has one
  TMainMenu* menu_ = nullptr;
  TCanvas canvas_;
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool positioned_ = false;
  TWinControl* activeControl_ = nullptr;
  TButton* defaultButton_ = nullptr;
  TButton* cancelButton_ = nullptr;
  TWindowHandle clientHandle_;
  TMergedMenuHandle mergedMenu_;
  TMenuItem* windowMenu_ = nullptr;
  TTileMode tileMode_ = tbHorizontal;
};

class TForm : public TCustomForm {
  DASKEL_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

class TApplication : public TComponent {
  DASKEL_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize();
  // Creates a form of class T owned by the application, stores it in `ref` before its layout is
  // read (handlers may use it), and makes the first one the main form. A layout error is shown
  // and ends the program.
  template <class T>
  void CreateForm(T*& ref) {
    T* form = new T(this);
    ref = form;
    if (!mainForm_) mainForm_ = form;
    try {
      form->InitializeForm();
    } catch (const std::exception& e) {
      // A half-read form is of no use: it goes, and so does the program.
      ref = nullptr;
      form->Free();
      ShowException(e.what());
      Terminate();
    }
  }
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();
  // Waits for and handles one message (used by modal loops).
  void HandleMessage();
  void Minimize();
  void Restore();

  HWND Handle() const { return handle_.Get(); }
  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm = true;
  TIcon* Icon() { return &icon_; }
  std::string Title() const { return title_; }
  void SetTitle(const std::string& t);

  // Every form of the process, in creation order.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int i) const { return forms_[static_cast<std::size_t>(i)]; }
  TCustomForm* ActiveForm() const;

  // Reports an error caught at a window procedure or timer: OnException when assigned,
  // otherwise a message box.
  void ShowException(const std::string& text);
  TMethod<TObject*, const std::string&> OnException;
  TNotifyEvent OnIdle;

 private:
  friend class TCustomForm;
  static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
  bool ProcessMessage(MSG& msg);
  void RegisterForm(TCustomForm* f);
  void UnregisterForm(TCustomForm* f);

  TWindowHandle handle_;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TCustomForm*> forms_;
  TIcon icon_;
  std::string title_;
  bool terminated_ = false;
};

// The one application object (made on first use; freed, with every form, at exit).
extern TApplication* Application;

// The standard modal message box: a framework form of window class "TMessageForm".
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };
using TMsgDlgButtons = unsigned;  // bit (1 << TMsgDlgBtn)
constexpr TMsgDlgButtons MsgDlgButton(TMsgDlgBtn b) { return 1u << b; }
constexpr TMsgDlgButtons mbYesNo = (1u << mbYes) | (1u << mbNo);
constexpr TMsgDlgButtons mbOKCancel = (1u << mbOK) | (1u << mbCancel);
// Shows `text` with the icon of `type` and the buttons, centred on the screen, and returns the
// modal result of the button pressed. The first button is the default; No (or Cancel) takes
// Esc and the close box. Without a No or Cancel button, Esc and the close box give mrCancel.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// The caption MessageDlg gives a type ("Confirm" for mtConfirmation).
std::string MessageDlgCaption(TMsgDlgType type);

// Makes every framework class known by name to the layout reader (called by Initialize; the
// linker would otherwise leave out classes only a layout mentions).
void RegisterFrameworkClasses();
