// TVuzUrezForm: the form skinner. It takes over the non-client area of one top-level window (a
// framework form or any other window): the borders, the title bar and caption come from the
// skin's images, the window gets a region cut from their magenta pixels, and the client area
// keeps its size.
//
// Its window procedure works in three stages: stage 1 for every skinned window (background,
// control colours, destruction, WM_SKINQUERY), stage 2 for frames (size, activation, commands),
// stage 3 for the non-client messages of a window in normal or maximised state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/manager/SkinManage.h"

class TControl;
class TCustomForm;
class TTimer;
class TWinControl;
class TVuzUrezForm;
class TVuzUrezMenu;
class TMenuBtn;
class TCanvas;

// A clickable object of the non-client area. At most one is hot (under the mouse or pressed) in
// a window at a time.
class TNCObject {
 public:
  explicit TNCObject(TVuzUrezForm* form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  enum { stNormal = 1, stPressed = 2, stHot = 3 };
  TVuzUrezForm* Form;
  RECT BoundsRect{};  // window coordinates
  bool Visible = false;
  int State = stNormal;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}
};

// A caption button shown from one of the skin's button records.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TVuzUrezForm* form, TDataSkinSysButton* skinButton)
      : TNCObject(form), SkinButton(skinButton) {}
  TDataSkinSysButton* SkinButton;
  void Paint() override;
};

// What a caption button does when clicked.
enum TSysButtonAction {
  baClose = 0,
  baMaximize = 1,
  baMinimize = 2,
  baSystemMenu = 3,
  baSystemMenuIcon = 11,
  baSystemMenuPlain = 12,
  baMaximize2 = 22,
  baMinimize2 = 23,
  baMdiMinimize = 7,
  baMdiRestore = 8,
  baMdiClose = 9,
  baMdiMinimize2 = 60,
  baMdiRestore2 = 61,
  baMdiClose2 = 62,
};

class TVuzUrezForm : public TSkinnedWindow, public TSkinControlOwner {
  DASKEL_CLASS(TVuzUrezForm, TSkinnedWindow)
 public:
  explicit TVuzUrezForm(TComponent* owner);
  ~TVuzUrezForm() override;

  void AttachForm(TSkinData* data, TCustomForm* form) override;
  void AttachWindow(TSkinData* data) override;
  void Detach() override;
  void Release() override;
  void ClearSysButtons() override;
  void BuildSysButtons() override;
  void Reskin() override;
  void SetSystemButtons(bool restore) override;
  void UpdateRegion() override;
  void ClearRegion() override;
  void FrameChanged() override;

  void FitToSkin(bool refreshClient);
  // Paints the whole skinned non-client area on dc (a window DC), or on a DC of its own when dc
  // is null.
  void PaintFrame(HDC dc);
  // One border (1 left, 2 right, 3 top, 4 bottom) at r of dc.
  void PaintBorder(int index, const RECT& r, HDC dc);

  int GetDisableTag() const { return DisableTag; }
  void SetDisableTag(int v) { DisableTag = v; }
  int DisableTag = 0;

  // TSkinControlOwner: what the control skinners see of this skinner.
  bool AddIfAbsent(TSkinControl* skinner) override;
  TSkinControl* HotControl() const override { return FHotControl; }
  void SetHotControl(TSkinControl* skinner) override { FHotControl = skinner; }
  bool TearingDown() const override { return FStage == ssReleasing || FStage == ssDead; }
  void RemoveSkinner(TSkinControl* skinner) override;

  // Control discovery (VuzUrezFormControls.cpp): gives each recognised control a skinner.
  void SkinChildControls(TComponent* parent);
  bool SkinByClassList(const std::string& className, TControl* control);
  bool IsControlSkinned(TControl* control) const;
  static bool IsScrolledControl(TControl* control);
  void SkinChildWindows();
  void SkinChildWindow(HWND wnd);
  TSkinControl* FindWindowSkinner(HWND wnd) const;
  const std::vector<TSkinControl*>& ControlSkinners() const { return FControlSkinners; }
  TCanvas* ControlCanvas() { return &FControlCanvas; }

  // Read-only views for the owner of the window and for tests.
  bool Subclassed() const { return FSubclass.Attached(); }
  int LeftWidth() const { return FLeftWidth; }
  int TopHeight() const { return FTopHeight; }
  int RightWidth() const { return FRightWidth; }
  int BottomHeight() const { return FBottomHeight; }
  const RECT& CaptionRect() const { return FCaptionRect; }
  const RECT& SystemFrame() const { return FSystemFrame; }
  bool Active() const { return FActive; }
  std::uint8_t FrameKind() const { return FFrameKind; }
  int PaintCount() const { return FPaintCount; }  // frames painted so far
  std::uint8_t WindowState() const { return FWindowState; }
  const std::string& Caption() const { return FCaption; }

  // Caption buttons.
  int SysButtonCount() const { return static_cast<int>(FSysButtons.size()); }
  TWinSysButton* SysButton(int i) const { return FSysButtons[static_cast<std::size_t>(i)].get(); }
  TNCObject* HotObject() const { return FHotObject; }
  void SetHotObject(TNCObject* o) { FHotObject = o; }
  bool IsSysButtonVisible(int index);
  void PlaceSysButtons();
  // The first visible button with an action at the point (window coordinates), or nullptr.
  TWinSysButton* SysButtonAt(POINT p) const;
  // Draws one button straight on the window in the given state.
  void PaintSysButton(TWinSysButton& button, int state);
  void Maximize();
  void Minimize();
  void Restore();
  // Opens the window menu at the point (screen coordinates); a second opening within the
  // double-click time closes the window instead.
  void ShowSystemMenu(POINT screen);
  void SystemMenuClick(int tag);
  HMENU SystemMenu() const { return FSystemMenu.Get(); }

  // The skinned menu bar (VuzUrezMenuBar.h), nullptr when the window shows none.
  TVuzUrezMenu* MenuBar() const { return FMenuBar.get(); }
  int MenuHeight() const { return FMenuHeight; }
  // Owner-drawn skinned items for the form's popup menus, or their own look back.
  void SetPopupMenusOwnerDraw(bool enable);
  void PopupItemMeasure(TObject* sender, TCanvas* canvas, int& width, int& height);
  void PopupItemDraw(TObject* sender, TCanvas* canvas, RECT r, bool selected);
  const TBitmap& Icon() const { return FIcon; }

  // MDI frames and children (VuzUrezFormMdi.cpp). A frame hooks its MDI client: new children
  // are skinned as they appear, the bar follows the frame menu the client is given, and a
  // maximised child's buttons are drawn at the end of the bar.
  HWND MdiClient() const { return FMdiClient; }
  bool MdiClientHooked() const { return FMdiSubclass.Attached(); }
  bool IsMdiChildMaximized() const;
  // Sends the system command (SC_MINIMIZE, SC_RESTORE, SC_CLOSE) to the active child.
  void MdiChildCommand(UINT command);
  // The maximised child's buttons on the bar's picture dc, whose top-left is bar's (window
  // coordinates); called by the bar painter.
  void PaintMdiButtons(HDC dc, const RECT& bar);

 protected:
  void Notification(TComponent* c, TOperation op) override;
  // Every message of the hooked MDI client window.
  virtual void MdiClientProc(TMessage& m);

 private:
  void WndProc(TMessage& m);
  void CallPrevious(TMessage& m);
  void FormWindowProc(TMessage& m);
  bool Stage1(TMessage& m);
  bool Stage2(TMessage& m);
  bool Stage3(TMessage& m);
  void EraseBackground(TMessage& m);
  void CtlColor(TMessage& m, bool answerBrush);
  void SizeChanged(TMessage& m);
  void MinMaxInfo(TMessage& m);
  void NcCalcSize(TMessage& m);
  void NcHitTest(TMessage& m);
  void NcPaint(TMessage& m);
  void NcActivate(TMessage& m);
  void SkinActivate();
  void ReadWindowState();
  void ComputeBorderSizes();
  void PaintTitleBar(HDC dc);
  void PaintCaption(HDC dc, const RECT& t);
  TDataSkinBorder* Border(int index) const;
  TBitmap BorderImage(int index, int width, int height) const;
  void DetachUnframed();
  // Stops the hover timer and the window menu, gives the window procedures back and frees the
  // control skinners; false when the window was not subclassed.
  bool GiveBackWindow();
  void FreeControlSkinners();
  bool SkinChildControl(TComponent* c, TComponent* parent);
  bool SkinByRow(TControl* c, const std::string& name, TComponent* parent);
  void SkinContainerChildren(TWinControl* box, bool checkBoxes);
  template <class S>
  S* Attach(TControl* c, bool recolour);
  template <class S>
  S* AttachByHandle(HWND wnd, bool listed);
  void HotControlLeave();
  void RestoreFormColor();
  bool MainMenuSkinned() const;
  bool NotNormalMdiChild() const { return FWindowKind == 2 && FWindowState != 0; }
  POINT ScreenToWindow(POINT p) const;
  void LoadIcon();
  void BuildSystemMenu();
  void PaintSysButtons(HDC strip);
  // The image a button shows and how many frames it has (the window icon for the icon button).
  const TBitmap* ButtonImage(const TWinSysButton& b, int& frames) const;
  void SysButtonClick(POINT screen);
  void HoverTimer(TObject*);
  bool NcMouse(TMessage& m);
  bool MenuBarMouse(TMessage& m, TMenuBtn& b);
  void SysCommand(TMessage& m);
  void MeasureMenuItem(TMessage& m);
  void DrawMenuItem(TMessage& m);
  void MenuChanged(TMessage& m, bool fromForm);
  bool MenuAccelerator(TMessage& m);
  void CreateMenuBar();
  void GiveMenuBack();
  void FindMdiClient();
  void HookMdiClient();
  void UnhookMdiClient();
  void CallMdiPrevious(TMessage& m);
  // What a button's face is composed on: the title strip, or the bar's picture for the MDI
  // buttons; origin is that picture's top-left in window coordinates.
  const TBitmap* ButtonBackground(const TWinSysButton& b, POINT& origin) const;

  TWndMethod FOldFormWndProc;
  TWindowSubclass FSubclass;
  TGdiFont FCaptionFont;
  TTimer* FHoverTimer = nullptr;
  std::string FCaptionPrefix = "  ";
  std::string FCaption;
  std::string FClassName;
  RECT FClientRect{};
  DWORD FLastMenuClick = 0;
  UINT FDoubleClickTime = 0;
  int FLeftWidth = 0, FTopHeight = 0, FRightWidth = 0, FBottomHeight = 0;
  RECT FWindowRect{};
  RECT FCaptionRect{};
  RECT FSystemFrame{};
  int FMenuHeight = 0;
  bool FRightToLeft = false;
  HMENU FMenuHandle = nullptr;
  HMENU FSysMenuHandle = nullptr;
  TColor FOldColor = 0;
  bool FOldColorSaved = false;
  LONG_PTR FStyle = 0;
  int FRightmostButtonLeft = 0;
  TNCObject* FHotObject = nullptr;  // caption button under the mouse or pressed
  std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
  TBitmap FIcon;       // the window's small icon, magenta where it is transparent
  TBitmap FTitleBack;  // the title strip of the last paint before the buttons were drawn on it
  TMenuHandle FSystemMenu;
  std::unique_ptr<TVuzUrezMenu> FMenuBar;
  bool FMenuTracking = false;
  HRGN FRegion = nullptr;  // owned by the window once set; kept only to know it
  TCustomForm* FForm = nullptr;
  TBitmap FTitleStrip;
  std::vector<TSkinControl*> FControlSkinners;
  TSkinControl* FHotControl = nullptr;  // the control skinner showing the mouse-over look
  TCanvas FControlCanvas;               // lent to every control skinner
  int FWindowWidth = 0, FWindowHeight = 0;
  int FRegionWidth = 0, FRegionHeight = 0;
  bool FActive = true;
  std::uint8_t FFrameKind = 0;  // 0 sizeable or edged, 2 no skinned frame, 3 other
  std::uint8_t FBorderIcons = 0;
  bool FFormProcTaken = false;
  int FPaintCount = 0;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);  // false once destroyed
  TWindowSubclass FMdiSubclass;  // the MDI client's window procedure, while hooked
  HWND FMdiClient = nullptr;
  HWND FNewMdiChild = nullptr;  // made through WM_MDICREATE, skinned at the next menu refresh
  bool FMdiMenuUpdate = true;   // the skin data's MenuUpdate before the first child came
};
