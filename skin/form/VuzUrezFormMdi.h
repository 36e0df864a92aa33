// TFormMdi: the MDI side of a skinned window. For an MDI frame it owns the hook on the MDI
// client window and what the hook keeps (the child made through WM_MDICREATE until the client
// refreshes its menu, the skin data's MenuUpdate from before the first child); it draws a
// maximised child's minimise, restore and close buttons at the end of the frame's menu bar, and
// it is the form skinner's one way to the manager's MDI record (the client and the flag that
// the active child is maximised, which the children's frames follow).
//
// What changes the frame's look is answered, not done: the form skinner repaints its frame when
// a message or a command here says the bar changed.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Classes.h"
#include "framework/WindowSubclass.h"

class TCaptionButtons;
class TSkinnedWindow;
class TVuzUrezMenu;

class TFormMdi {
 public:
  // skinner: the frame (its window, skin data and window kind); buttons: the caption buttons,
  // among which are the maximised child's; menuBar: the frame's skinned bar, rebuilt from the
  // frame menus the client is given.
  TFormMdi(TSkinnedWindow& skinner, TCaptionButtons& buttons, const std::unique_ptr<TVuzUrezMenu>& menuBar)
      : FSkinner(skinner), FButtons(buttons), FMenuBar(menuBar) {}
  ~TFormMdi() { *FAlive = false; }
  TFormMdi(const TFormMdi&) = delete;
  TFormMdi& operator=(const TFormMdi&) = delete;

  // The manager's flag: the active MDI child is maximised (its frame, and every child's, is then
  // the system's). Setting it tells every skinned child.
  static bool Maximized();
  static void SetMaximized(bool value);

  // At attach: the first child window of class "MDIClient" makes the window an MDI frame; the
  // manager is given the client and the skin data's MenuUpdate is remembered. False when the
  // window has none.
  bool FindMdiClient();
  HWND MdiClient() const { return FMdiClient; }
  // Every message of the client goes to (object->*Method)(m) while hooked; the method hands it
  // to MdiClientProc.
  template <auto Method, class T>
  void HookMdiClient(T* object) {
    if (FMdiClient) FSubclass.Attach<Method>(FMdiClient, object);
  }
  bool MdiClientHooked() const { return FSubclass.Attached(); }
  // Gives the client its procedure back, MenuUpdate its value and the manager's record up.
  void UnhookMdiClient();
  void CallMdiPrevious(TMessage& m) { FSubclass.CallPrevious(m); }
  // One message of the hooked client. barSkinned: the frame's menu bar and caption are skinned.
  // True when the frame should repaint its frame now (its bar was rebuilt).
  bool MdiClientProc(TMessage& m, bool barSkinned);

  // The frame's active child is maximised, asked of the client (WM_MDIGETACTIVE).
  bool IsMdiChildMaximized() const;
  // Sends the system command to the active child. True when the frame should repaint now: the
  // bar loses the buttons (or shows them for the next maximised child); false when there was no
  // child or the frame went with it.
  bool MdiChildCommand(UINT command);
  // The maximised child's buttons on the frame bar's picture dc, whose top-left is bar's (window
  // coordinates); nothing when no child is maximised.
  void PaintMdiButtons(HDC dc, const RECT& bar);

 private:
  TSkinnedWindow& FSkinner;
  TCaptionButtons& FButtons;
  const std::unique_ptr<TVuzUrezMenu>& FMenuBar;
  TWindowSubclass FSubclass;  // the client's window procedure, while hooked
  HWND FMdiClient = nullptr;
  HWND FNewMdiChild = nullptr;  // made through WM_MDICREATE, skinned at the next menu refresh
  bool FMdiMenuUpdate = true;   // the skin data's MenuUpdate before the first child came
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);  // false once destroyed
};
