// TCaptionButtons: the buttons of a skinned title bar and the skinned window menu. It owns the
// button objects made from the skin's button records (which are shown, where, in which look),
// the window's small icon that the icon button shows, the title strip as it was before the
// buttons were drawn on it, and the owner-drawn window menu with the time of its last opening.
// What a click does is the form skinner's business: this part only says which button it hit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Handles.h"
#include "skin/form/VuzUrezNCObject.h"
#include "skin/paint/SkinScale.h"

class TCaptionButtons;
class TDataSkinSysButton;
class TSkinnedWindow;
class TVuzUrezMenu;

// A caption button shown from one of the skin's button records.
class TWinSysButton : public TNCObject {
 public:
  TWinSysButton(TNCHost* form, TCaptionButtons* buttons, TDataSkinSysButton* skinButton)
      : TNCObject(form), SkinButton(skinButton), Buttons(buttons) {}
  TDataSkinSysButton* SkinButton;
  TCaptionButtons* Buttons;  // the part that shows it
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

// When a button shows (its record's Visibility and Visibility1).
enum TButtonVisibility {
  bvAlways = 0,  // as the first condition: the frame has a skinned caption (and a close button a system menu)
  bvMaximized = 1,
  bvNotMaximized = 2,
  bvActive = 3,
  bvInactive = 4,
  bvMaxBox = 6,  // as the first condition: with a system menu too
  bvNoMaxBox = 7,
  bvMinBox = 8,  // as the first condition: with a system menu too
  bvNoMinBox = 9,
  bvMdiChildMaximized =
      100,              // a maximised MDI child's button in the frame's bar; as the second: as the first
  bvCustomFirst = 200,  // 200 to 2000: the application decides, always shown here
  bvCustomLast = 2000,
};

// Where a button is anchored (its record's Align).
enum TButtonAnchor {
  anLeft = 0,           // at (Xcoord, Ycoord)
  anRight = 1,          // Xcoord from the window's right edge
  anBeforeCaption = 2,  // left of the caption
  anAfterCaption = 3,   // right of the caption
  anBeforeCaption2 = 8,
  anAfterCaption2 = 9,
  anMenuBar = 100,  // in the menu bar's end cap
};

// Bits of the window's border icons (the caption buttons its style asks for).
constexpr std::uint8_t kIconMaximize = 1, kIconMinimize = 2, kIconSystemMenu = 8;

// The items of the skinned window menu; a tag is also the index of the item's glyph in the skin
// data's menu images.
enum TSystemMenuTag { smRestore = 0, smMaximize = 1, smMinimize = 2, smClose = 3, smSeparator = 100 };

// What the buttons' visibility and places depend on, taken from the window at each layout.
struct TCaptionButtonFrame {
  std::uint8_t BorderIcons = 0;  // kIconMaximize | kIconMinimize | kIconSystemMenu
  std::uint8_t FrameKind = 0;
  std::uint8_t WindowState = 0;
  bool Active = true;
  int MenuHeight = 0;
  int WindowWidth = 0, LeftWidth = 0, TopHeight = 0, RightWidth = 0;
  RECT CaptionRect{};
  bool RightToLeft = false;
  bool MdiChildMaximized = false;  // the window has a menu bar and its active MDI child is maximised
};

class TCaptionButtons {
 public:
  // skinner: the window and skin data the buttons are drawn for; host: the hot-object slot the
  // buttons take part in; menuBar: the form skinner's bar (the MDI buttons are drawn on it).
  TCaptionButtons(TSkinnedWindow& skinner, TNCHost& host, const std::unique_ptr<TVuzUrezMenu>& menuBar);
  TCaptionButtons(const TCaptionButtons&) = delete;
  TCaptionButtons& operator=(const TCaptionButtons&) = delete;

  void ClearSysButtons() { FSysButtons.clear(); }
  // One button for each of the skin data's button records.
  void BuildSysButtons();
  int SysButtonCount() const { return static_cast<int>(FSysButtons.size()); }
  TWinSysButton* SysButton(int i) const { return FSysButtons[static_cast<std::size_t>(i)].get(); }

  // Renders the window's small icon on the key colour (the icon button's face).
  void LoadIcon();
  const TBitmap& Icon() const { return FIcon; }

  bool IsSysButtonVisible(int index, const TCaptionButtonFrame& f);
  // Decides each button's visibility and place; answers the largest left edge of the buttons
  // anchored at the right.
  int PlaceSysButtons(const TCaptionButtonFrame& f);
  // The right end of the visible buttons anchored at the left (the icon), 0 without any: a
  // caption moved to make room never goes under them.
  int LeftButtonsRight(const TCaptionButtonFrame& f);
  // Keeps the title strip before the buttons are drawn on it, for redrawing one button later.
  void KeepTitleBack(const TBitmap& strip) { FTitleBack = strip; }
  // Draws the title-bar buttons on the strip in the window's activation look (no GDI work of
  // the strip may be pending).
  void PaintSysButtons(TBitmap& strip, bool active);
  // Draws one button straight on the window in the given state.
  void PaintSysButton(TWinSysButton& button, int state);
  // The maximised MDI child's buttons on the bar's picture (see TNCHost::PaintMdiButtons).
  void PaintMdiButtons(HDC dc, const RECT& bar);
  // The first visible button with an action at the point (window coordinates), or nullptr.
  TWinSysButton* SysButtonAt(POINT p) const;

  // The skinned window menu, with the items the border icons ask for.
  void BuildSystemMenu(std::uint8_t borderIcons);
  void FreeSystemMenu() { FSystemMenu.Reset(); }
  HMENU SystemMenu() const { return FSystemMenu.Get(); }
  // Greys the items that would not change the window state.
  void EnableSystemMenu(std::uint8_t windowState);
  // Whether this opening of the menu comes within the double-click time of the last one (which
  // closes the window); the opening is remembered when it does not.
  bool SecondOpening();
  // The item tag of a command the menu returned, or -1 for none of its items.
  static int SystemMenuTag(UINT command);
  // WM_MEASUREITEM / WM_DRAWITEM of the window menu's items; false when not theirs.
  bool MeasureItem(MEASUREITEMSTRUCT& mi) const;
  bool DrawItem(const DRAWITEMSTRUCT& di) const;

  // The scale the title bar is drawn at and the skin's images at it (null at 96 DPI).
  void SetScale(TSkinScale scale, std::shared_ptr<TScaledSkinImages> images) {
    FScale = scale;
    FScaledImages = std::move(images);
  }

 private:
  // The image a button shows and how many frames it has (the window icon for the icon button).
  // Title-bar buttons come at the title bar's scale; those in the menu bar at the bar's size.
  const TBitmap* ButtonImage(const TWinSysButton& b, int& frames) const;
  // What a button's face is composed on: the title strip, or the bar's picture for the MDI
  // buttons; origin is that picture's top-left in window coordinates.
  const TBitmap* ButtonBackground(const TWinSysButton& b, POINT& origin) const;

  TSkinnedWindow& FSkinner;
  TNCHost& FHost;
  const std::unique_ptr<TVuzUrezMenu>& FMenuBar;
  std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
  TBitmap FIcon;       // the window's small icon, magenta where it is transparent
  TBitmap FTitleBack;  // the title strip of the last paint before the buttons were drawn on it
  TMenuHandle FSystemMenu;
  DWORD FLastMenuClick = 0;
  UINT FDoubleClickTime = 0;
  TSkinScale FScale;
  std::shared_ptr<TScaledSkinImages> FScaledImages;
};
