// The main form's button "Tabs and bars...": a button that opens the gallery's window of tabbed
// controls and bars by itself, so the main form needs no handler for it. It is part of the
// program (not of the gallery library), and its class is made known before the main form's
// layout is read.
#include "framework/StdCtrls.h"
#include "gallery/GalleryBars.h"

class TGalleryBarsButton : public TButton {
  DASKEL_CLASS(TGalleryBarsButton, TButton)
 public:
  explicit TGalleryBarsButton(TComponent* owner) : TButton(owner) {}

 protected:
  void Click() override {
    TButton::Click();
    ShowGalleryBars();
  }
};

DASKEL_DEFINE_CLASS(TGalleryBarsButton, TButton) {}

namespace {
[[maybe_unused]] const TClassInfo& gRegistered = TGalleryBarsButton::StaticClass();
}
