// The main form's button "MDI...": it opens the gallery's multiple-document window by itself, so
// the main form needs no handler for it; its class is made known before the main form's layout
// is read.
#include "framework/StdCtrls.h"
#include "gallery/GalleryMdi.h"

class TGalleryMdiButton : public TButton {
  DASKEL_CLASS(TGalleryMdiButton, TButton)
 public:
  explicit TGalleryMdiButton(TComponent* owner) : TButton(owner) {}

 protected:
  void Click() override {
    TButton::Click();
    ShowGalleryMdi();
  }
};

DASKEL_DEFINE_CLASS(TGalleryMdiButton, TButton) {}

namespace {
[[maybe_unused]] const TClassInfo& gRegistered = TGalleryMdiButton::StaticClass();
}
