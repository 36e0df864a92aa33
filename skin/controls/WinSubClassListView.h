// TSkinListView: the window scroll bars of a list view, and a header skinner for the column
// header window the list view makes in its report style.
#pragma once

#include "skin/controls/WinSubClassScroll.h"

class TSkinListView : public TSkinScrollBar {
  DASKEL_CLASS(TSkinListView, TSkinScrollBar)
 public:
  explicit TSkinListView(TComponent* owner) : TSkinScrollBar(owner) {}
  // flag: whether the skinner drags thumbs itself (discovery attaches list views without).
  void AttachControl(TWinControl* control, TSkinData* data, bool flag, TCanvas* canvas) override;
  // The skinner of the header window, or nullptr (owned by the form skinner, like this one).
  TSkinControl* Header() const { return FHeader; }

 protected:
  TSkinControl* FHeader = nullptr;
  void Notification(TComponent* c, TOperation op) override;
};
