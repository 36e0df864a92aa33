// The skinned look of menu items: how wide and high an item is and how it is drawn, selected or
// not, checked, disabled, as separator, with or without an image, over the background of the
// menu window it sits in. The menu-bar popups, the window menu and the form's popup menus all
// draw their items through this.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "framework/Bitmap.h"
#include "framework/Graphics.h"

class TSkinData;
class TMenuItem;
class TScaledSkinImages;

// What an item shows, from a menu item object or from a menu handle.
struct TMenuItemLook {
  // Wide, as the system keeps menu texts: another program's items need not fit the ANSI code page.
  std::wstring Caption;   // with its "&" marker; "-" for a separator
  std::wstring ShortCut;  // shown right-aligned; empty when none
  bool Enabled = true;
  bool Checked = false;
  bool Radio = false;  // a checked radio item shows a bullet
  bool Default = false;
  int ImageIndex = -1;
  TImageList* Images = nullptr;
  bool RightToLeft = false;
  bool SubMenu = false;
  int Dpi = 0;  // of the window the menu belongs to; 0: the system's
  // The skin's images at the window's DPI (null at 96 DPI): with them the item's margins, gaps
  // and check box are drawn at that DPI too.
  TScaledSkinImages* Scaled = nullptr;

  static TMenuItemLook Of(TMenuItem* item);
  bool Separator() const { return Caption == L"-"; }
};

// The background an item is drawn over: the menu window's skin background and where the item
// rectangles start in it.
struct TMenuBackground {
  const TBitmap* Image = nullptr;
  POINT Offset{3, 3};
};

// The system's menu font at a DPI (0: the system's).
TGdiFont MenuFont(bool bold = false, int dpi = 0);

// The item's width and height in the skinned look. width/height come in as measured for the text
// and grow by the skin's margins and the glyph box.
void MeasureSkinnedItem(const TSkinData& data, const TMenuItemLook& item, int& width, int& height);
// Text width and height of the item in the menu font, the base the skinned measure grows from.
SIZE MeasureItemText(const TMenuItemLook& item);
// Draws the item at r of dc: with the skin's MenuItem element over the background (plain look in
// the skin's menu colours when the skin has no MenuItem element). An item drawn before in the
// same look is copied from the picture kept of it.
void DrawSkinnedItem(HDC dc, const RECT& r, const TSkinData& data, const TMenuItemLook& item, bool selected,
                     const TMenuBackground& back);
// Drops the kept item pictures (a skin being changed or freed); and the bytes they hold.
void ForgetMenuItemPictures();
std::size_t MenuItemPictureBytes();

// The background of the menu window an item of `menu` is drawn in (dc is the item's DC). A
// popup skinner still waiting for its menu learns it here.
TMenuBackground PopupBackgroundFor(HMENU menu, HDC dc);
