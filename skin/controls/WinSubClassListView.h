// List and tree views: TSkinListView serves a framework list view (its window scroll bars and
// the header window it makes in its report style); TSkinView serves a plain window's list or
// tree view, known only by its window; TViewColours keeps the colours such a view holds in
// itself rather than in a framework control.
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
  // A header skinner for the header window, owned like this skinner.
  void SkinHeader(HWND header);
};

// The ground, text ground and text colours of a list view, or the ground and text colours of a
// tree view, as the view had them when Save read them.
class TViewColours {
 public:
  // list: a list view (else a tree view).
  void Save(HWND view, bool list);
  // The view takes these colours (its items' text ground is the view's ground).
  void Apply(COLORREF back, COLORREF text) const;
  // The view's own colours again.
  void Restore() const;

 private:
  void Set(COLORREF back, COLORREF textBack, COLORREF text) const;
  HWND FView = nullptr;
  bool FList = false;
  COLORREF FBack = 0, FTextBack = 0, FText = 0;
};

// A plain window's list or tree view: the skinned bars and edge of a plain window's field, a list
// view's header skinned (also one it makes later, when it changes to its report style), and the
// skin's content colours while the skin has them; its own colours come back under a skin
// without them and on detach.
class TSkinView : public TSkinListView {
  DASKEL_CLASS(TSkinView, TSkinListView)
 public:
  explicit TSkinView(TComponent* owner) : TSkinListView(owner) {}
  void AttachHandle(HWND wnd, TSkinData* data, TCanvas* canvas) override;
  void Detach() override;
  void RefreshSkin() override;
  bool BeforeDefault(TMessage& m) override;
  void AfterDefault(TMessage& m) override;

 private:
  void Colours();
  TViewColours FColours;
  bool FGoing = false;  // the window is being destroyed: its colours are not put back
};
