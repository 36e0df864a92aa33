// Menus: items with captions (an "&" marks the accelerator, "-" is a separator line), main
// menus on forms and popup menus. A menu with OwnerDraw set draws its items itself, through the
// items' OnMeasureItem / OnDrawItem events or a plain default look.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"

class TMenu;

using TMenuMeasureItemEvent = TMethod<TObject*, TCanvas*, int&, int&>;
using TMenuDrawItemEvent = TMethod<TObject*, TCanvas*, RECT, bool>;

class TMenuItem : public TComponent {
  DASKEL_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  // The key shown right-aligned beside the caption ("Ctrl+O"); the form's accelerators are the
  // program's business, the menu only shows them.
  const std::string& ShortCut() const { return shortCut_; }
  void SetShortCut(const std::string& v);
  // A checked radio item shows a bullet instead of a check mark.
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  bool IsLine() const { return caption_ == "-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_[static_cast<std::size_t>(i)]; }
  TMenuItem* Parent() const { return parent_; }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  void Clear();  // frees the sub-items
  TMenu* GetParentMenu() const;
  // The menu command id of this item.
  UINT Command() const { return command_; }
  static TMenuItem* FindByCommand(UINT id);

  virtual void Click() { OnClick(this); }
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;

 private:
  friend class TMenu;
  void Changed();
  std::string caption_, shortCut_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
  int imageIndex_ = -1;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  UINT command_;
};

class TMenu : public TComponent {
  DASKEL_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() { return items_; }
  HMENU Handle();
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  // Runs the click of the item with this command id if it is an enabled item of this menu.
  bool DispatchCommand(UINT id);
  // The items changed: the menu handle is made again on next use.
  virtual void Rebuild();
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v) { images_ = v; }
  // Items run from the right, captions right-aligned.
  bool RightToLeft() const { return rightToLeft_; }
  void SetRightToLeft(bool v);

 protected:
  virtual HMENU CreateMenuHandle() = 0;
  void Notification(TComponent* c, TOperation op) override;
  TMenuHandle handle_;
  bool dirty_ = true;

 private:
  void Fill(HMENU menu, TMenuItem* item);
  TMenuItem* items_;
  bool ownerDraw_ = false, rightToLeft_ = false;
  TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
  DASKEL_CLASS(TMainMenu, TMenu)
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  // A rebuilt menu goes back into the menu bar of the window that shows it.
  void Rebuild() override;
  // The form that shows the menu in its bar hands over its window (nullptr when it lets go).
  void SetWindow(TWinControl* window) { window_ = window; }
  TWinControl* Window() const { return window_; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }

 private:
  TWinControl* window_ = nullptr;
};

class TPopupMenu : public TMenu, public TContextMenu {
  DASKEL_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  // Shows the menu at screen point (x, y) and runs the chosen item's click. The menu is owned
  // by the window SetPopupOwnerWindow names; without one nothing is shown.
  void Popup(int x, int y) override;
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool v) { autoPopup_ = v; }
  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  bool autoPopup_ = true;
};

// The window that owns popup menus while they are shown: the application hands down its hidden
// window when it makes it.
void SetPopupOwnerWindow(HWND owner);

// WM_MEASUREITEM / WM_DRAWITEM of owner-drawn menu items, from whichever window gets them.
bool DispatchMenuDrawing(TMessage& m);
// WM_MENUCHAR: the system knows no accelerators of owner-drawn items; the item whose caption
// has the key is chosen (its popup opens). False when no item has it.
bool DispatchMenuChar(TMessage& m);
// While an item's OnDrawItem runs: the menu handle the item is drawn in (else nullptr).
HMENU MenuBeingDrawn();
// The caption without its accelerator marker, and the accelerator character (0 if none).
std::string StripHotkey(const std::string& caption);
char GetHotkey(const std::string& caption);
// The same for a wide caption (another program's menus); the key is upper case.
std::wstring StripHotkey(const std::wstring& caption);
wchar_t GetHotkey(const std::wstring& caption);
