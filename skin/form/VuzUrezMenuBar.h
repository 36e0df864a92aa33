// TVuzUrezMenu: the skinned menu bar of one window. The form skinner takes the system's menu bar
// off the window and gives the room to this bar, between the title and the client area; each
// top-level item is a TMenuBtn. A click (or Alt with the item's accelerator) opens the item's
// popup; while it is open a message-filter hook moves between the bar's popups with the arrow
// keys and the mouse. The popups' items are owner-drawn in the skin's menu look.
//
// It sees the window's skinner only as the TNCHost of its buttons (the hot-object slot); a
// maximised MDI child's buttons at the bar's end come from the frame's MDI side.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Classes.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/form/VuzUrezNCObject.h"
#include "skin/paint/SkinScale.h"

class TMenu;
class TMenuItem;
class TFormMdi;
class TSkinData;
class TVuzUrezMenu;

class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TNCHost* form, TVuzUrezMenu* bar, int index) : TNCObject(form), Bar(bar), Index(index) {}
  TVuzUrezMenu* Bar;
  int Index;
  std::wstring Caption;  // with its "&" marker; wide, as the system keeps menu texts
  bool Enabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  void Paint() override;
};

class TVuzUrezMenu : public TComponent {
 public:
  // form: the host of the buttons; itemDrawer: the object whose OnDrawItem handlers give menu
  // items the skinned look (the form skinner), whose items the bar draws as its own.
  TVuzUrezMenu(TNCHost* form, const TObject* itemDrawer, TSkinData* data, HWND wnd);
  ~TVuzUrezMenu() override;

  std::vector<std::unique_ptr<TMenuBtn>> Buttons;
  TMenu* Menu = nullptr;  // the form's main menu; nullptr for a plain window
  RECT BarRect{};         // window coordinates, at the last paint
  TSkinData* SkinData;
  TNCHost* Form;
  const TObject* ItemDrawer;
  TFormMdi* Mdi = nullptr;     // the frame's MDI side, which draws a maximised child's buttons
  TBitmap BarImage;            // the bar's background of the last paint, without texts
  HMENU MenuHandle = nullptr;  // given back to the window when the skin goes
  bool RightToLeft = false;
  // The scale the bar is drawn at (its window's DPI) and the skin's images at it (null at 96).
  TSkinScale Scale;
  std::shared_ptr<TScaledSkinImages> ScaledImages;
  // The bar's height at its scale.
  int Height() const;
  int ButtonCount() const { return static_cast<int>(Buttons.size()); }

  // Rebuild the buttons from the window's menu (and take the system's bar off the window), from
  // the menu object, or from a new frame menu.
  void BuildFromHandle();
  void BuildFromMenu();
  void BuildFromMdiMenu(HMENU menu);
  // Draws the bar at r (window coordinates) of dc.
  void Paint(HDC dc, const RECT& r, bool active);
  void PaintButton(TMenuBtn& b);
  // The first button with a caption whose rectangle holds the point (window coordinates).
  TMenuBtn* ButtonAt(POINT p) const;
  TMenuBtn* ButtonByIndex(int index) const;  // nullptr when there is none
  // The first enabled button whose caption has this accelerator (case-insensitive).
  TMenuBtn* MenuAccelButton(wchar_t key) const;

  // Opens the button's popup and tracks it until it closes (and, when the user moves to
  // another button, that one's popup, and so on). Posts the button's command first.
  void OpenMenuBarButton(TMenuBtn* b);
  // Posts a click on the button, which opens its popup from the message loop.
  void ClickMenuBarButton(TMenuBtn* b);
  void EndMenuTracking();
  bool Tracking() const { return FTracking; }
  int CurrentIndex() const;  // index of the button whose popup is open, -1 when none

  // WM_MEASUREITEM / WM_DRAWITEM / WM_MENUSELECT of the bar's popups; false when not theirs.
  bool MeasureItem(MEASUREITEMSTRUCT& mi);
  bool DrawItem(const DRAWITEMSTRUCT& di);
  void MenuSelect(WPARAM wp, LPARAM lp);
  // Whether an item id belongs to the bar's popups.

 private:
  friend struct TMenuTracking;
  struct TItem {
    std::wstring Text;  // as the menu handle had it ("caption\tshortcut")
    TMenuItem* Item = nullptr;
    bool SubMenu = false;
    bool Separator = false;
  };
  void MakeOwnerDraw(HMENU menu);
  // The menu object's item an entry of a menu handle stands for; nullptr for a plain window
  // and for entries the menu object did not make.
  TMenuItem* ObjectItem(HMENU menu, int pos) const;
  TMenuItemLook LookOf(UINT id, UINT state) const;
  bool DrawsItself(UINT id) const;
  static LRESULT CALLBACK FilterProc(int code, WPARAM wp, LPARAM lp);
  bool Filter(MSG& msg);
  void SwitchTo(int index);
  // After the buttons are made anew: the tracking moves to the button that still has the open
  // popup, or ends when none has.
  void FollowOpenPopup();

  // An item made owner-drawn here, with the type and text it had: given back when the bar goes,
  // so the window's own menus work again without the skin.
  struct TTakenItem {
    HMENU Menu;
    UINT Id;
    UINT Type;
    std::wstring Text;
  };
  void GiveItemsBack();

  HWND FWnd;
  bool FTracking = false;
  std::map<UINT, TItem> FItems;
  std::vector<TTakenItem> FTaken;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
