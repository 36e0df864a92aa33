// The main form's button "Scroll bars...": it opens the gallery's window of scrolled controls by
// itself, so the main form needs no handler for it; its class is made known before the main
// form's layout is read.
#include "framework/StdCtrls.h"
#include "gallery/GalleryScroll.h"

class TGalleryScrollButton : public TButton {
  DASKEL_CLASS(TGalleryScrollButton, TButton)
 public:
  explicit TGalleryScrollButton(TComponent* owner) : TButton(owner) {}

 protected:
  void Click() override {
    TButton::Click();
    ShowGalleryScroll();
  }
};

DASKEL_DEFINE_CLASS(TGalleryScrollButton, TButton) {}

namespace {
[[maybe_unused]] const TClassInfo& gRegistered = TGalleryScrollButton::StaticClass();
}
