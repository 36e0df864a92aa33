// TVuzUrezForm: the form skinner. It takes over the non-client area of one top-level window (a
// framework form or any other window): the borders, the title bar and caption come from the
// skin's images, the window gets a region cut from their magenta pixels, and the client area
// keeps its size.
//
// Its window procedure works in three stages: stage 1 for every skinned window (background,
// control colours, destruction, WM_SKINQUERY), stage 2 for frames (size, activation, commands),
// stage 3 for the non-client messages of a window in normal or maximised state.
//
// It is made of parts, each a class in files of its own that says what it owns; the skinner
// routes the window's messages to them and paints the frame itself (VuzUrezFormFrame.cpp), top to
// bottom: the borders, the title bar with the caption and the caption buttons, the menu bar with
// a maximised MDI child's buttons.
//   TCaptionButtons (VuzUrezCaptionButtons.h)  the caption buttons and the skinned window menu;
//                                              what their clicks do is VuzUrezFormButtons.cpp
//   TVuzUrezMenu    (VuzUrezMenuBar.h)         the menu bar; the form's popup menus' look and the
//                                              menu changes it routes are VuzUrezFormMenu.cpp
//   TFormControls   (VuzUrezFormControls.h)    the control skinners and the discovery of controls
//   TFormMdi        (VuzUrezFormMdi.h)         the MDI client hook, the maximised child's buttons
//                                              and the way to the manager's MDI record
// The parts reach the skinner only through what it implements for them: the caption and bar
// buttons its TNCHost (the hot-object slot, VuzUrezNCObject.h), the control skinners its
// TSkinControlOwner. What the MDI side changes in the frame it answers, and the skinner repaints.
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
#include "skin/form/VuzUrezCaptionButtons.h"
#include "skin/form/VuzUrezFormControls.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/form/VuzUrezFormMdi.h"
#include "skin/form/VuzUrezNCObject.h"
#include "skin/manager/SkinManage.h"

class TControl;
class TCustomForm;
class TTimer;
class TWinControl;
class TVuzUrezForm;
class TVuzUrezMenu;
class TMenuBtn;
class TCanvas;

class TVuzUrezForm : public TSkinnedWindow, public TSkinControlOwner, public TNCHost {
  DASKEL_CLASS(TVuzUrezForm, TSkinnedWindow)
 public:
  explicit TVuzUrezForm(TComponent* owner);
  ~TVuzUrezForm() override;

  // What the manager asks of a skinner.
  void AttachForm(TSkinData* data, TCustomForm* form) override;
  void AttachWindow(TSkinData* data) override;
  void Detach() override;
  void Release() override;
  void ClearSysButtons() override;
  void BuildSysButtons() override;
  void Reskin() override;
  void SetSystemButtons(bool restore) override;
  void UpdateRegion() override;
  // The window's region for a window of w by h: the frame's keyed parts cut away.
  void CutRegion(int w, int h);
  void ClearRegion() override;
  void FrameChanged() override;
  // A plain window's bar opens by Alt+letter here (a framework form's through MenuAccelerator).
  bool OpenMenuByKey(wchar_t key) override;
  void FitToSkin(bool refreshClient);
  // The window's size around FClientRect with the skin's frame and menu bar.
  TSize SkinnedSize() const;
  // Gives the show's own SetWindowPos the skinned size, when the skinner waits for it to.
  void FitAtShow(WINDOWPOS& pos);

  int GetDisableTag() const { return DisableTag; }
  void SetDisableTag(int v) { DisableTag = v; }
  int DisableTag = 0;

  // The frame (VuzUrezFormFrame.cpp). Paints the whole skinned non-client area on dc (a window
  // DC), or on a DC of its own when dc is null.
  void PaintFrame(HDC dc);
  // One border (a TBorderSide) at r of dc.
  void PaintBorder(int index, const RECT& r, HDC dc);
  // Read-only views for the owner of the window and for tests.
  bool Subclassed() const { return FSubclass.Attached(); }
  // The scale the frame is drawn at (the window's DPI when the skin was laid on it or last changed).
  TSkinScale Scale() const { return FScale; }
  int LeftWidth() const { return FLeftWidth; }
  int TopHeight() const { return FTopHeight; }
  int RightWidth() const { return FRightWidth; }
  int BottomHeight() const { return FBottomHeight; }
  const RECT& CaptionRect() const { return FCaptionRect; }
  const RECT& SystemFrame() const { return FSystemFrame; }
  bool Active() const { return FActive; }
  std::uint8_t FrameKind() const { return FFrameKind; }
  int PaintCount() const { return FPaintCount; }                // frames painted so far
  int TitleComposeCount() const { return FTitleComposeCount; }  // of those, with the title bar composed anew
  // Pixel bytes of the frame's pictures kept between paints (title strip and borders).
  std::size_t FramePictureBytes() const;
  std::uint8_t WindowState() const { return FWindowState; }
  const std::wstring& Caption() const { return FCaption; }

  // Part: the caption buttons and the window menu (VuzUrezCaptionButtons.h); what their clicks
  // do to the window is done here.
  TCaptionButtons& Buttons() { return FButtons; }
  int SysButtonCount() const { return FButtons.SysButtonCount(); }
  TWinSysButton* SysButton(int i) const { return FButtons.SysButton(i); }
  HMENU SystemMenu() const { return FButtons.SystemMenu(); }
  const TBitmap& Icon() const { return FButtons.Icon(); }
  // TNCHost: the hot object of the caption and the bar.
  TNCObject* HotObject() const override { return FHotObject; }
  void SetHotObject(TNCObject* o) override { FHotObject = o; }
  void Maximize();
  void Minimize();
  void Restore();
  // Opens the window menu at the point (screen coordinates); a second opening within the
  // double-click time closes the window instead.
  void ShowSystemMenu(POINT screen);
  void SystemMenuClick(int tag);

  // Part: the skinned menu bar (VuzUrezMenuBar.h), nullptr when the window shows none.
  TVuzUrezMenu* MenuBar() const { return FMenuBar.get(); }
  int MenuHeight() const { return FMenuHeight; }
  // Owner-drawn skinned items for the form's popup menus, or their own look back.
  void SetPopupMenusOwnerDraw(bool enable);
  void PopupItemMeasure(TObject* sender, TCanvas* canvas, int& width, int& height);
  void PopupItemDraw(TObject* sender, TCanvas* canvas, RECT r, bool selected);

  // Part: the control skinners (VuzUrezFormControls.h). They are owned components of this
  // skinner and find it as their TSkinControlOwner, which the part answers for.
  TFormControls& Controls() { return FControls; }
  bool AddIfAbsent(TSkinControl* skinner) override { return FControls.AddIfAbsent(skinner); }
  TSkinControl* HotControl() const override { return FControls.HotControl(); }
  void SetHotControl(TSkinControl* skinner) override { FControls.SetHotControl(skinner); }
  bool TearingDown() const override { return FStage == ssReleasing || FStage == ssDead; }
  void RemoveSkinner(TSkinControl* skinner) override { FControls.RemoveSkinner(skinner); }
  bool RepaintsAfterAttach() const override { return FAttachingControls; }
  const std::vector<TSkinControl*>& ControlSkinners() const { return FControls.ControlSkinners(); }
  TSkinControl* FindWindowSkinner(HWND wnd) const { return FControls.FindWindowSkinner(wnd); }

  // Part: the MDI side (VuzUrezFormMdi.h). A frame hooks its MDI client: new children are
  // skinned as they appear, the bar follows the frame menu the client is given, and a maximised
  // child's buttons are drawn at the end of the bar.
  TFormMdi& Mdi() { return FMdi; }
  HWND MdiClient() const { return FMdi.MdiClient(); }
  bool MdiClientHooked() const { return FMdi.MdiClientHooked(); }
  bool IsMdiChildMaximized() const { return FMdi.IsMdiChildMaximized(); }
  // Sends the system command (SC_MINIMIZE, SC_RESTORE, SC_CLOSE) to the active child and
  // repaints the frame.
  void MdiChildCommand(UINT command);

 protected:
  void Notification(TComponent* c, TOperation op) override;
  // Every message of the hooked MDI client window.
  virtual void MdiClientProc(TMessage& m);

 private:
  // The window procedure and its three stages (VuzUrezForm.cpp).
  void WndProc(TMessage& m);
  void CallPrevious(TMessage& m);
  void FormWindowProc(TMessage& m);
  bool Stage1(TMessage& m);
  bool Stage2(TMessage& m);
  bool Stage3(TMessage& m);
  void EraseBackground(TMessage& m);
  void CtlColor(TMessage& m);
  void SizeChanged(TMessage& m);
  void MinMaxInfo(TMessage& m);
  void NcCalcSize(TMessage& m);
  void NcHitTest(TMessage& m);
  void NcPaint(TMessage& m);
  void NcActivate(TMessage& m);
  void SkinActivate(bool showToCome = false);
  void ReadWindowState();
  bool NotNormalMdiChild() const { return FWindowKind == wkMdiChild && FWindowState != swNormal; }
  POINT ScreenToWindow(POINT p) const;

  // Attaching and giving back (VuzUrezForm.cpp).
  void ComputeBorderSizes();
  void DetachUnframed();
  // Stops the hover timer and the window menu, gives the window procedures back and frees the
  // control skinners; false when the window was not subclassed.
  bool GiveBackWindow();
  void RestoreFormColor();
  bool MainMenuSkinned() const;
  // The window was fitted to the skin's frame and has a frame of its own (not a child, not a
  // maximised or minimised MDI child): it gets its system-frame size back when given back.
  bool FittedToSkin() const;
  // The window's size with the system's frame around the same client area (wr: its rectangle).
  TSize UnskinnedSize(const RECT& wr) const;

  // The frame's painting (VuzUrezFormFrame.cpp).
  void PaintTitleBar(HDC dc);
  void PaintCaption(HDC dc, const RECT& t);
  TDataSkinBorder* Border(int index) const;
  TBitmap BorderImage(int index, int width, int height) const;
  // The border at that size as last composed (bsLeft, bsRight or bsBottom), composed anew when
  // its size, activation look, skin or scale changed.
  const TBitmap& BorderPicture(int index, int width, int height);
  // What the title strip at that width shows, to tell whether the kept one still holds.
  TPictureKey TitleKey(int width);
  // The title strip and the borders are composed anew at the next paint.
  void ForgetFramePictures();
  // What the caption buttons' visibility and places depend on, as the window is now.
  TCaptionButtonFrame ButtonFrame() const;

  // The non-client mouse, the caption buttons' clicks and the hover watch
  // (VuzUrezFormButtons.cpp).
  bool NcMouse(TMessage& m);
  bool MenuBarMouse(TMessage& m, TMenuBtn& b);
  void SysButtonClick(POINT screen);
  void HoverTimer(TObject*);
  void SysCommand(TMessage& m);

  // The menu bar's and the popup menus' side (VuzUrezFormMenu.cpp).
  void CreateMenuBar();
  void GiveMenuBack();
  void MenuChanged(TMessage& m, bool fromForm);
  bool MenuAccelerator(TMessage& m);
  void MeasureMenuItem(TMessage& m);
  void DrawMenuItem(TMessage& m);

  // The frame's scale (VuzUrezFormFrame.cpp). Takes the skin's images at `dpi` for the frame and
  // its buttons (the border sizes follow when they are computed next).
  void SetScale(int dpi);
  // An image of the skin as the frame draws it: at the frame's scale, cut as the layout says.
  const TBitmap& AtScale(const TBitmap& image, const TBitmap& image2x, const TImageLayout& layout) const;
  // WM_DPICHANGED: everything the frame is made of again at the new scale, in the suggested rectangle.
  void DpiChanged(TMessage& m);

  // The window: what attach took over and read, and what its messages keep up to date.
  TWindowSubclass FSubclass;
  TWndMethod FOldFormWndProc;
  bool FFormProcTaken = false;
  TCustomForm* FForm = nullptr;
  TColor FOldColor = 0;
  bool FOldColorSaved = false;
  bool FFramed = false;  // attach took the frame, the menu bar and the caption buttons
  LONG_PTR FStyle = 0;
  std::string FClassName;
  std::wstring FCaption;  // wide: a Unicode window's caption need not fit the ANSI code page
  RECT FClientRect{};
  SIZE FAttachedSize{};             // the window's size when it was attached
  bool FFitAtShow = false;          // the show under way is to give the window its skinned size
  bool FAttachingControls = false;  // AttachWindow is giving the controls their skinners
  RECT FSystemFrame{};
  bool FRightToLeft = false;
  HMENU FMenuHandle = nullptr;
  HMENU FSysMenuHandle = nullptr;
  std::uint8_t FBorderIcons = 0;         // kIconMaximize | kIconMinimize | kIconSystemMenu
  std::uint8_t FFrameKind = fkSizeable;  // a TFrameKind
  bool FActive = true;
  TTimer* FHoverTimer = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);  // false once destroyed

  // The frame: its sizes and how it was last painted.
  TGdiFont FCaptionFont;
  std::wstring FCaptionPrefix = L"  ";
  TSkinScale FScale;
  std::shared_ptr<TScaledSkinImages> FScaledImages;  // the skin's images at FScale; null at 96 DPI
  int FLeftWidth = 0, FTopHeight = 0, FRightWidth = 0, FBottomHeight = 0;
  int FMenuHeight = 0;
  RECT FWindowRect{};
  int FWindowWidth = 0, FWindowHeight = 0;
  RECT FCaptionRect{};
  int FRightmostButtonLeft = 0;
  TBitmap FTitleStrip;
  TPictureKey FTitleKey;             // what FTitleStrip was composed from
  TPictureCache FBorderPictures[3];  // left, right and bottom borders as last composed
  HRGN FRegion = nullptr;            // owned by the window once set; kept only to know it
  int FRegionWidth = 0, FRegionHeight = 0;
  int FPaintCount = 0;
  int FTitleComposeCount = 0;

  // The parts, and the one hot object of the caption and the bar.
  TNCObject* FHotObject = nullptr;  // caption button under the mouse or pressed
  bool FMenuTracking = false;       // the window menu is open
  std::unique_ptr<TVuzUrezMenu> FMenuBar;
  TCaptionButtons FButtons{*this, *this, FMenuBar};
  TFormControls FControls{*this};
  TFormMdi FMdi{*this, FButtons, FMenuBar};
};
