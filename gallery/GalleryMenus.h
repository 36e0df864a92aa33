// The gallery's menus: a menu bar that uses every feature the engine draws (accelerators,
// shortcuts, separators, checked and radio items, a default item, a disabled item, a sub-menu,
// images, an item that draws itself), a popup menu on right click and a right-to-left menu.
#pragma once

#include <functional>
#include <string>

#include "framework/Forms.h"
#include "framework/Menus.h"

class TGalleryMenus : public TComponent {
 public:
  // Builds the menus and gives the form its main menu and its right-click menu.
  explicit TGalleryMenus(TCustomForm* form);

  TMainMenu* MainMenu = nullptr;
  TPopupMenu* ContextMenu = nullptr;
  TPopupMenu* RightToLeftMenu = nullptr;
  TImageList* Images = nullptr;
  // Told the caption (without its "&") of every item picked, so the gallery can show it.
  std::function<void(const std::string&)> OnPick;

 private:
  TMenuItem* Add(TMenuItem* parent, const char* caption, const char* shortCut = "", int image = -1);
  void PickClick(TObject* sender);
  void RadioClick(TObject* sender);
  void CheckClick(TObject* sender);
  void ShowRightToLeft(TObject* sender);
  void CloseClick(TObject* sender);
  void SwatchMeasure(TObject* sender, TCanvas* canvas, int& width, int& height);
  void SwatchDraw(TObject* sender, TCanvas* canvas, RECT r, bool selected);
  TCustomForm* FForm;
};
