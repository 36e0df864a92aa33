// TFormControls: the control skinners of one skinned window. It owns the list of skinners it
// made (each one is an owned component of the form skinner, so it goes with it), the one
// skinner showing the mouse-over look, and the canvas lent to every skinner; and it finds the
// controls: a framework form's components by class, name, tag and the skin data's class list, a
// plain window's child windows by Win32 class and style.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Graphics.h"

class TComponent;
class TControl;
class TCustomForm;
class TSkinControl;
class TSkinData;
class TSkinnedWindow;
class TWinControl;

class TFormControls {
 public:
  // skinner: the form skinner, owner of every control skinner made here (they find it as their
  // TSkinControlOwner); its window and skin data are read when the walk runs.
  explicit TFormControls(TSkinnedWindow& skinner) : FSkinner(skinner) {}
  TFormControls(const TFormControls&) = delete;
  TFormControls& operator=(const TFormControls&) = delete;

  // The framework form whose components are walked; nullptr for a plain window.
  void SetForm(TCustomForm* form) { FForm = form; }

  // What the control skinners see of the form skinner (TSkinControlOwner).
  bool AddIfAbsent(TSkinControl* skinner);
  TSkinControl* HotControl() const { return FHotControl; }
  void SetHotControl(TSkinControl* skinner) { FHotControl = skinner; }
  void RemoveSkinner(TSkinControl* skinner);
  // The hot skinner shows its resting look and the slot is empty.
  void HotControlLeave();
  // A component of the form skinner goes: the slot forgets it.
  void Forget(const TComponent* c);
  // Every control skinner, listed or only owned, repaints from the skin data's new skin.
  void RefreshSkin();
  // Each skinner gives its control back and is freed.
  void FreeControlSkinners();

  // Gives each recognised control of the window a skinner.
  void SkinChildControls(TComponent* parent);
  bool SkinByClassList(const std::string& className, TControl* control);
  bool IsControlSkinned(TControl* control) const;
  static bool IsScrolledControl(TControl* control);
  // The child windows of the skinned window, or of a dialog nested in it.
  void SkinChildWindows(HWND parent = nullptr);
  void SkinChildWindow(HWND wnd);
  // A window was made inside the skinned one after the walk: a nested dialog and the bars are
  // skinned as they come (a program may add them once its window is shown); other late windows
  // keep their own look.
  void ChildCreated(HWND wnd);
  TSkinControl* FindWindowSkinner(HWND wnd) const;
  const std::vector<TSkinControl*>& ControlSkinners() const { return FControlSkinners; }
  TCanvas* ControlCanvas() { return &FControlCanvas; }

 private:
  bool SkinChildControl(TComponent* c, TComponent* parent);
  // The list of a simple combo box gets the skinned bars (nothing for any other window).
  void SkinSimpleComboList(HWND combo);
  bool SkinByRow(TControl* c, const std::string& name, TComponent* parent);
  void SkinContainerChildren(TWinControl* box, bool checkBoxes);
  bool AttachScrollBars(TControl* c, bool trackThumb);
  template <class S>
  S* Attach(TControl* c, bool recolour);
  template <class S>
  S* AttachByHandle(HWND wnd, bool listed);

  TSkinnedWindow& FSkinner;
  TCustomForm* FForm = nullptr;
  std::vector<TSkinControl*> FControlSkinners;
  TSkinControl* FHotControl = nullptr;  // the control skinner showing the mouse-over look
  TCanvas FControlCanvas;               // lent to every control skinner
};
