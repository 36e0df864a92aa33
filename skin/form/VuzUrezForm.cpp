#include "skin/form/VuzUrezForm.h"

#include <exception>
#include <memory>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WideText.h"
#include "skin/controls/WinSubClassBoxes.h"
#include "skin/controls/WinSubClassToolbar.h"
#include "skin/data/VuzUrezDataWin32.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/manager/SkinTrace.h"

namespace {

// Holds the shared scratch bitmap for as long as the program runs.
TScratchBitmapUse gScratch;

}  // namespace

DASKEL_DEFINE_CLASS(TVuzUrezForm, TComponent) {
  c.Int("DisableTag", &TVuzUrezForm::GetDisableTag, &TVuzUrezForm::SetDisableTag);
}

TVuzUrezForm::TVuzUrezForm(TComponent* owner) : TSkinnedWindow(owner) {
  FActive = true;
  FStage = ssAttached;
}

TVuzUrezForm::~TVuzUrezForm() {
  *FAlive = false;
  FMenuBar.reset();
  // A skinner never leaves a window calling into a freed object.
  if (FFormProcTaken && FForm) FForm->WindowProc = FOldFormWndProc;
  FFormProcTaken = false;
  FSubclass.Restore();
  FMdi.UnhookMdiClient();
  FControls.FreeControlSkinners();
  ClearSysButtons();
  if (TSkinManage* m = SkinManager()) m->RemoveForm(Handle);
}

void TVuzUrezForm::Notification(TComponent* c, TOperation op) {
  // Skinners of windowless controls leave through RemoveSkinner when their control goes.
  if (op == opRemove) FControls.Forget(c);
  // The kept menu item pictures name the skin by its address, which a new skin may reuse.
  if (op == opRemove && c == FSkinData) ForgetMenuItemPictures();
  TSkinnedWindow::Notification(c, op);
}

void TVuzUrezForm::MdiClientProc(TMessage& m) {
  if (FMdi.MdiClientProc(m, MainMenuSkinned())) PaintFrame(nullptr);
}

void TVuzUrezForm::MdiChildCommand(UINT command) {
  if (FMdi.MdiChildCommand(command)) PaintFrame(nullptr);
}

// What attach took over, not what the skin data says today: the option may change while the
// window is skinned, and Detach must give back what was taken.
bool TVuzUrezForm::MainMenuSkinned() const { return FFramed; }

void TVuzUrezForm::AttachForm(TSkinData* data, TCustomForm* form) {
  FForm = form;
  FControls.SetForm(form);
  form->SetAutoScroll(false);
  if (data->HasControl(xcMainMenu)) {
    FOldFormWndProc = form->WindowProc;
    form->WindowProc = TWndMethod(this, &TVuzUrezForm::FormWindowProc);
    FFormProcTaken = true;
  }
  AttachWindow(data);
  FOldColor = form->Color();
  FOldColorSaved = true;
  form->SetColor(data->Skin.ColourButtonFace);
  if (data->HasControl(xcMainMenu)) SetPopupMenusOwnerDraw(true);
}

void TVuzUrezForm::FormWindowProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      FOldFormWndProc(m);
      FrameChanged();
      return;
    case WM_SKINCHANGED:
      Reskin();
      return;
    case CM_DIALOGCHAR:
      if (!MenuAccelerator(m)) FOldFormWndProc(m);
      return;
    case CM_MENUCHANGED:
      // The framework tells the form through its WindowProc only: the bar is rebuilt here.
      MenuChanged(m, true);
      return;
    default:
      FOldFormWndProc(m);
  }
}

void TVuzUrezForm::AttachWindow(TSkinData* data) {
  if (FSubclass.Attached()) return;
  FSkinData = data;
  SetScale(WindowDpi(Handle));
  if (!FHoverTimer) {
    FHoverTimer = new TTimer(this);
    FHoverTimer->SetEnabled(false);
    FHoverTimer->SetInterval(250);
    FHoverTimer->SetOnTimer(TNotifyEvent(this, &TVuzUrezForm::HoverTimer));
  }
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = 340;  // the size every system version accepts
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0))
    FCaptionFont.Reset(CreateFontIndirectA(&ncm.lfCaptionFont));
  ForgetFramePictures();  // a new font may come with the handle of the old one

  FStyle = GetWindowLongPtrA(Handle, GWL_STYLE);
  LONG_PTR exStyle = GetWindowLongPtrA(Handle, GWL_EXSTYLE);
  FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  FSysMenuHandle = GetSystemMenu(Handle, FALSE);
  FButtons.LoadIcon();
  FCaption = WindowTextW(Handle);
  FClassName = WindowClassName(Handle);
  GetClientRect(Handle, &FClientRect);
  RECT wr{};
  GetWindowRect(Handle, &wr);
  FAttachedSize = SIZE{wr.right - wr.left, wr.bottom - wr.top};
  FSystemFrame = RECT{0, 0, (wr.right - wr.left) - (FClientRect.right - FClientRect.left),
                      (wr.bottom - wr.top) - (FClientRect.bottom - FClientRect.top)};

  FBorderIcons = 0;
  if ((FStyle & WS_SYSMENU) || FSysMenuHandle) FBorderIcons |= kIconSystemMenu;
  if (FStyle & WS_MINIMIZEBOX) FBorderIcons |= kIconMinimize;
  if (FStyle & WS_MAXIMIZEBOX) FBorderIcons |= kIconMaximize;

  FButtons.BuildSystemMenu(FBorderIcons);
  ReadWindowState();
  if (FMdi.FindMdiClient()) FMdi.HookMdiClient<&TVuzUrezForm::MdiClientProc>(this);
  if (exStyle & WS_EX_MDICHILD) FWindowKind = wkMdiChild;

  if ((FStyle & WS_POPUP) && (FStyle & WS_CAPTION) != WS_CAPTION)
    FFrameKind = fkNone;
  else if ((exStyle & WS_EX_WINDOWEDGE) || (FStyle & WS_THICKFRAME))
    FFrameKind = fkSizeable;
  else
    FFrameKind = fkOther;

  if (data->HasControl(xcMainMenu)) {
    FFramed = true;
    FMenuHandle = GetMenu(Handle);
    CreateMenuBar();
    bool mdiMaximized = FWindowKind == wkMdiChild && TFormMdi::Maximized();
    if (!mdiMaximized && FWindowState != swMinimized) SetSystemButtons(false);
    BuildSysButtons();
  }

  FSubclass.Attach<&TVuzUrezForm::WndProc>(Handle, this);
  FAttachingControls = true;
  if (FForm)
    FControls.SkinChildControls(FForm);
  else
    FControls.SkinChildWindows();
  FAttachingControls = false;
  // The window and its controls repaint once, all together: one trip to the window server rather
  // than one for each control.
  RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TVuzUrezForm::ComputeBorderSizes() {
  if (!FSkinData || FSkinData->NoSkin()) return;
  if (FFrameKind == fkNone) {
    FLeftWidth = FTopHeight = FRightWidth = FBottomHeight = FMenuHeight = 0;
    return;
  }
  TBorderSizes b = SkinBorderSizes(FSkinData->Skin);
  FLeftWidth = FScale.Length(b.Left), FTopHeight = FScale.Length(b.Top);
  FRightWidth = FScale.Length(b.Right), FBottomHeight = FScale.Length(b.Bottom);
}

void TVuzUrezForm::SetSystemButtons(bool restore) {
  if (!restore && FWindowKind == wkMdiChild && TFormMdi::Maximized()) return;
  LONG_PTR style = GetWindowLongPtrA(Handle, GWL_STYLE);
  LONG_PTR wanted = style & ~static_cast<LONG_PTR>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  if (restore) {
    if (FBorderIcons & kIconSystemMenu) wanted |= WS_SYSMENU;
    if (FBorderIcons & kIconMinimize) wanted |= WS_MINIMIZEBOX;
    if (FBorderIcons & kIconMaximize) wanted |= WS_MAXIMIZEBOX;
  }
  if (wanted != style) SetWindowLongPtrA(Handle, GWL_STYLE, wanted);
}

void TVuzUrezForm::ReadWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(Handle, &wp)) return;
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      FWindowState = swMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      FWindowState = swMaximized;
      break;
    default:
      FWindowState = swNormal;
  }
}

void TVuzUrezForm::FrameChanged() {
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

TSize TVuzUrezForm::SkinnedSize() const {
  return SkinnedWindowSize({FClientRect.right - FClientRect.left, FClientRect.bottom - FClientRect.top},
                           {FLeftWidth, FTopHeight, FRightWidth, FBottomHeight}, FMenuHeight);
}

void TVuzUrezForm::FitToSkin(bool refreshClient) {
  FFitAtShow = false;
  if (FWindowState == swMaximized) {
    FrameChanged();
    return;
  }
  if (refreshClient) GetClientRect(Handle, &FClientRect);
  TSize size = SkinnedSize();
  SetWindowPos(Handle, nullptr, 0, 0, size.Width, size.Height,
               SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void TVuzUrezForm::FitAtShow(WINDOWPOS& pos) {
  if (!(pos.flags & SWP_NOSIZE)) {
    // The window is sized before it is shown (by the program, in its own WM_SHOWWINDOW): that
    // size holds, as it would have after a fit of its own.
    FFitAtShow = false;
    return;
  }
  if (!(pos.flags & SWP_SHOWWINDOW)) return;
  FFitAtShow = false;
  TSize size = SkinnedSize();
  pos.cx = size.Width;
  pos.cy = size.Height;
  pos.flags = (pos.flags & ~SWP_NOSIZE) | SWP_FRAMECHANGED;
}

void TVuzUrezForm::CallPrevious(TMessage& m) { FSubclass.CallPrevious(m); }

void TVuzUrezForm::WndProc(TMessage& m) {
  if (Stage1(m)) return;
  if (!MainMenuSkinned()) {
    CallPrevious(m);
    return;
  }
  bool framed = FWindowKind == wkMdiChild || !(FStyle & WS_CHILD);
  if (framed) {
    if (Stage2(m)) return;
    bool stage3 = !(NotNormalMdiChild() || FWindowState == swMinimized || FStage == ssAttached);
    if (stage3 && Stage3(m)) return;
  }
  CallPrevious(m);
}

void TVuzUrezForm::EraseBackground(TMessage& m) {
  CallPrevious(m);
  if (FForm) return;
  FillClientWithFace(Handle, reinterpret_cast<HDC>(m.WParam), *FSkinData);
  m.Result = 1;
}

void TVuzUrezForm::CtlColor(TMessage& m) {
  CallPrevious(m);
  if (!FForm) {
    m.Result = PlainControlColours(m.Msg, reinterpret_cast<HDC>(m.WParam), m.Result, *FSkinData);
    return;
  }
  // A framework form's controls hold their own colours; a label's ground is the face.
  if (m.Msg == WM_CTLCOLORSTATIC) m.Result = reinterpret_cast<LRESULT>(ButtonFaceBrush(*FSkinData));
}

bool TVuzUrezForm::Stage1(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      EraseBackground(m);
      return true;
    case WM_STYLECHANGED:
      if (static_cast<int>(m.WParam) == GWL_STYLE)
        FStyle = static_cast<LONG_PTR>(reinterpret_cast<const STYLESTRUCT*>(m.LParam)->styleNew);
      CallPrevious(m);
      return true;
    case WM_DESTROY:
      // A program may keep its window's size as it goes, to open it the same next time (notepad
      // does): it keeps the size the system's frame gives the same client area, or each skinned
      // run would grow the window by the difference of the frames. The window is hidden by now.
      if (!FForm && MainMenuSkinned() && FWindowState == swNormal && FittedToSkin()) {
        RECT wr{};
        GetWindowRect(Handle, &wr);
        TSize size = UnskinnedSize(wr);
        SetWindowPos(Handle, nullptr, 0, 0, size.Width, size.Height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      CallPrevious(m);
      return true;
    case WM_NCDESTROY:
      FStage = ssReleasing;
      Release();
      FStage = ssDead;
      // Forgetting this window needs no skin data, and must not take over a pending action's.
      if (TSkinManage* mgr = SkinManager()) mgr->RequestAction(saPurgeDead, kSkinActionDelay);
      // Last: the window's own procedure may free this skinner.
      CallPrevious(m);
      return true;
    case WM_SETTEXT:
      // The system redraws its own caption when the text changes: take the new text and paint
      // the skinned frame over it again.
      CallPrevious(m);
      FCaption = WindowTextW(Handle);
      if (MainMenuSkinned()) PaintFrame(nullptr);
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // A plain window's edits and lists take the skin's content colours here, and the system's
      // again once the skinner is gone.
      CtlColor(m);
      return true;
    case WM_NOTIFY:
      // A plain window's tool bars write on the skin's ground: their texts take its colour.
      if (FForm) return false;
      CallPrevious(m);
      m.Result = ToolbarTextColours(reinterpret_cast<NMHDR*>(m.LParam), m.Result, *FSkinData);
      return true;
    case WM_PARENTNOTIFY:
      CallPrevious(m);
      // A common dialog makes its program's part while it initialises, after it was skinned; a
      // program may add its bars once its window shows.
      if (!FForm && LOWORD(m.WParam) == WM_CREATE) FControls.ChildCreated(reinterpret_cast<HWND>(m.LParam));
      return true;
    case WM_SKINQUERY:
      // The question (wParam 0) is answered here; a caption button's custom action reported
      // with the same message goes on to the window.
      if (m.WParam == 0)
        m.Result = 1;
      else
        CallPrevious(m);
      return true;
    default:
      return false;
  }
}

void TVuzUrezForm::SizeChanged(TMessage& m) {
  CallPrevious(m);
  switch (m.WParam) {
    case SIZE_MINIMIZED:
      FWindowState = swMinimized;
      break;
    case SIZE_MAXIMIZED:
      FWindowState = swMaximized;
      break;
    case SIZE_RESTORED:
      FWindowState = swNormal;
      break;
    default:
      break;
  }
  if (FWindowState == swMinimized) return;
  if (FWindowKind == wkMdiChild && (TFormMdi::Maximized() || FWindowState != swNormal)) return;
  if (FStage == ssActive || FStage == ssReskinning) UpdateRegion();
}

void TVuzUrezForm::MinMaxInfo(TMessage& m) {
  CallPrevious(m);
  ReadWindowState();
  if (FWindowState == swMinimized) {
    SetSystemButtons(true);
  } else if (FWindowKind != wkMdiChild) {
    SetSystemButtons(false);
  } else if (FWindowState == swNormal) {
    if (TFormMdi::Maximized()) TFormMdi::SetMaximized(false);
    SetSystemButtons(false);
  } else {
    SetSystemButtons(true);
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  info->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

bool TVuzUrezForm::Stage2(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      // Once, whatever the stage: the previous procedure sees each WM_SIZE a single time.
      SizeChanged(m);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      FActive = LOWORD(m.WParam) != 0;
      return false;
    case WM_GETMINMAXINFO:
      MinMaxInfo(m);
      return true;
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      // Shown by a move the fit did not see: it fits now.
      if (FFitAtShow && IsWindowVisible(Handle)) FitToSkin(false);
      CallPrevious(m);
      return true;
    case WM_COMMAND:
      switch (LOWORD(m.WParam)) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
          PostMessageA(Handle, WM_SYSCOMMAND, LOWORD(m.WParam), 0);
          return true;
        default:
          CallPrevious(m);
          return true;
      }
    case WM_SKINACTIVATE:
      SkinActivate(m.WParam == kFitAtShow);
      return true;
    case WM_WINDOWPOSCHANGING:
      if (FFitAtShow && m.LParam) FitAtShow(*reinterpret_cast<WINDOWPOS*>(m.LParam));
      return false;
    case WM_SYSCOMMAND:
      SysCommand(m);
      return true;
    case CM_MENUCHANGED:
      MenuChanged(m, false);
      return true;
    case WM_DPICHANGED:
      DpiChanged(m);
      return true;
    default:
      return false;
  }
}

void TVuzUrezForm::SkinActivate(bool showToCome) {
  if (FStage == ssAttached) {
    if (FWindowKind == wkMdiChild && TFormMdi::Maximized()) {
      SetSystemButtons(true);
      FrameChanged();
    } else if (FWindowState != swMinimized && FFrameKind != fkNone) {
      FStage = ssRefitting;
      // The program may have resized the window since it was attached (a common dialog grows
      // by the part a program adds to it): its client keeps that change. Attaching itself only
      // moves the menu into the client, the window's size stays.
      RECT wr{};
      GetWindowRect(Handle, &wr);
      FClientRect.right += (wr.right - wr.left) - FAttachedSize.cx;
      FClientRect.bottom += (wr.bottom - wr.top) - FAttachedSize.cy;
      if (showToCome && FWindowState == swNormal &&
          !(GetWindowLongPtrA(Handle, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE))) {
        // The show's own move gives the window its skinned size: one trip through the window
        // manager fewer than sizing it here. The region is cut for that size now, while nothing
        // is seen.
        FFitAtShow = true;
        FStage = ssActive;
        TSize size = SkinnedSize();
        CutRegion(size.Width, size.Height);
      } else {
        FitToSkin(false);
        FStage = ssActive;
        UpdateRegion();
      }
    }
  }
  FStage = ssActive;
  SkinTrace("*****Skin Active finish");
  if (FHoverTimer) FHoverTimer->SetEnabled(true);
}

bool TVuzUrezForm::Stage3(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      // Until the show gives the window its skinned size, the system's frame keeps the client
      // where it is: a skinned frame around the smaller window would shrink it for a moment.
      if (FFitAtShow) return false;
      NcCalcSize(m);
      return true;
    case WM_NCHITTEST:
      NcHitTest(m);
      return true;
    case WM_NCPAINT:
      NcPaint(m);
      return true;
    case WM_NCACTIVATE:
      NcActivate(m);
      return true;
    case WM_SKINPAINTFRAME:
      PaintFrame(nullptr);
      return true;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
      if (!NcMouse(m)) return false;
      m.Result = 0;
      return true;
    case WM_MEASUREITEM:
      MeasureMenuItem(m);
      return true;
    case WM_DRAWITEM:
      DrawMenuItem(m);
      return true;
    case WM_MENUSELECT:
      if (FMenuBar) FMenuBar->MenuSelect(m.WParam, m.LParam);
      return false;
    default:
      return false;
  }
}

void TVuzUrezForm::NcCalcSize(TMessage& m) {
  CallPrevious(m);
  if (!m.WParam) {
    m.Result = 0;
    return;
  }
  auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
  if (NotNormalMdiChild() || FFrameKind == fkNone) {
    p->rgrc[1] = p->rgrc[0];
    m.Result = WVR_VALIDRECTS;
    return;
  }
  const WINDOWPOS* pos = p->lppos;
  RECT r{pos->x + FLeftWidth, pos->y + FTopHeight + FMenuHeight, pos->x + pos->cx - FRightWidth,
         pos->y + pos->cy - FBottomHeight};
  p->rgrc[0] = r;
  p->rgrc[1] = r;
  m.Result = WVR_VALIDRECTS;
}

POINT TVuzUrezForm::ScreenToWindow(POINT p) const {
  ScreenToClient(Handle, &p);
  if (FWindowState != swMinimized) {
    p.x += FLeftWidth;
    p.y += FTopHeight + FMenuHeight;
  }
  return p;
}

void TVuzUrezForm::NcHitTest(TMessage& m) {
  CallPrevious(m);
  if (m.Result != HTNOWHERE) return;
  // Signed: left of or above the primary monitor the coordinates are negative.
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  p = ScreenToWindow(p);
  if (p.y > 3) m.Result = HTCAPTION;
  if (p.y > FTopHeight) m.Result = HTMENU;
}

void TVuzUrezForm::NcPaint(TMessage& m) {
  if (!FSkinData->NCPaintEnabled) {
    m.Result = 0;
    return;
  }
  // Without a skin to paint from, the system draws its frame: a window is never left blank.
  if (NotNormalMdiChild() || FFrameKind == fkNone || FSkinData->NoSkin()) {
    CallPrevious(m);
    return;
  }
  HRGN clip = reinterpret_cast<HRGN>(m.WParam);
  HDC dc = clip && m.WParam != 1 ? GetDCEx(Handle, clip, DCX_WINDOW | DCX_INTERSECTRGN | DCX_CACHE) : nullptr;
  if (dc) {
    PaintFrame(dc);
    ReleaseDC(Handle, dc);
  } else {
    PaintFrame(nullptr);
  }
  m.Result = 0;
}

void TVuzUrezForm::NcActivate(TMessage& m) {
  FActive = m.WParam != 0;
  if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
  if (!FActive) FControls.HotControlLeave();
  // A window activated as it is first shown has its whole frame still to paint: the frame is
  // painted once, then, rather than here and again straight after. A hidden window (one being
  // closed) paints nothing: showing it again paints its frame in the look it has then.
  if (IsWindowVisible(Handle)) {
    if (FPaintCount == 0)
      RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    else if (!NotNormalMdiChild())
      PaintFrame(nullptr);
  }
  m.Result = 1;
}

void TVuzUrezForm::RestoreFormColor() {
  if (FForm && FOldColorSaved && FStage != ssReleasing) FForm->SetColor(FOldColor);
}

bool TVuzUrezForm::GiveBackWindow() {
  FButtons.FreeSystemMenu();
  if (FForm && !FForm->HasState(csDestroying)) SetPopupMenusOwnerDraw(false);
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (!FSubclass.Attached()) return false;
  if (FFormProcTaken && FForm) FForm->WindowProc = FOldFormWndProc;
  FFormProcTaken = false;
  FSubclass.Restore();
  FControls.FreeControlSkinners();
  return true;
}

void TVuzUrezForm::Detach() {
  if (!MainMenuSkinned()) {
    DetachUnframed();
    return;
  }
  if (!GiveBackWindow()) return;
  RestoreFormColor();
  SetSystemButtons(true);
  GiveMenuBack();
  FMdi.UnhookMdiClient();
  ForgetFramePictures();
  if (FittedToSkin()) {
    RECT wr{};
    GetWindowRect(Handle, &wr);
    POINT topLeft{wr.left, wr.top};
    if (FWindowKind == wkMdiChild) ScreenToClient(GetParent(Handle), &topLeft);
    TSize size = UnskinnedSize(wr);
    SetWindowPos(Handle, nullptr, topLeft.x, topLeft.y, size.Width, size.Height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  SetWindowRgn(Handle, nullptr, TRUE);
  FRegion = nullptr;
  FRegionSet = false;
  // The controls the skinners let go of show their own look at once.
  if (FStage != ssReleasing)
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool TVuzUrezForm::FittedToSkin() const {
  // A maximised or minimised MDI child already has the system's frame and place, and so has a
  // window whose skinner never got to fit it to the skin (given back before its activation or
  // its show).
  bool fitted = FStage != ssAttached && FStage != ssReleasing && !FFitAtShow;
  return fitted && (FWindowKind == wkMdiChild || !(FStyle & WS_CHILD)) && !NotNormalMdiChild();
}

TSize TVuzUrezForm::UnskinnedSize(const RECT& wr) const {
  return UnskinnedWindowSize({wr.right - wr.left, wr.bottom - wr.top},
                             {FSystemFrame.right, FSystemFrame.bottom},
                             {FLeftWidth, FTopHeight, FRightWidth, FBottomHeight}, FMenuHeight);
}

void TVuzUrezForm::Release() {
  if (!MainMenuSkinned()) {
    DetachUnframed();
    return;
  }
  if (!GiveBackWindow()) return;
  FMenuBar.reset();  // the window is going: its menu stays where it is
  FMdi.UnhookMdiClient();
  ForgetFramePictures();
}

void TVuzUrezForm::DetachUnframed() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  if (FForm && !FForm->HasState(csDestroying)) SetPopupMenusOwnerDraw(false);
  FControls.FreeControlSkinners();
  RestoreFormColor();
  bool was = FSubclass.Attached();
  FSubclass.Restore();
  FMdi.UnhookMdiClient();
  if (FForm) FForm->Invalidate();
  if (was && FStage != ssReleasing && IsWindow(Handle)) {
    // The system redraws the whole window in its own look, frame included, where it stands: the
    // window keeps its place among the others and its activation.
    FrameChanged();
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TVuzUrezForm::Reskin() {
  ForgetFramePictures();
  ForgetMenuItemPictures();
  if (FForm) {
    TColor face = FSkinData->Skin.ColourButtonFace;
    FForm->SetColor(face);
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<TCustomForm*>(FForm->Components(i))) f->SetColor(face);
  }
  // Every control skinner, listed or not, repaints from the new skin.
  FControls.RefreshSkin();
  FStage = ssReskinning;
  if (MainMenuSkinned()) {
    // The caption buttons point at the records of the skin they were built from: a skin loaded
    // since has freed them, so they are built again before anything paints them; so are the
    // scaled images, from the new skin.
    SetScale(WindowDpi(Handle));
    BuildSysButtons();
    FitToSkin(true);
    // Still in the re-skin stage, so the region follows the new skin even at the same size.
    UpdateRegion();
    FStage = ssActive;
    PaintFrame(nullptr);
  }
  FStage = ssActive;
}
