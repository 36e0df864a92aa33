// The gallery's window of scrolled controls: a memo with both bars and text enough to scroll
// both ways, a list box, a list view in report style (its header skinned too), a tree view, a
// string grid, a scroll box holding more than it shows, scroll bar controls of both kinds and a
// list box with its bar on the left. Its layout is GalleryScroll.layout.
#pragma once

#include "framework/Forms.h"
#include "framework/ListViews.h"
#include "framework/ScrollCtrls.h"
#include "framework/StdCtrls.h"

class TGalleryScrollForm : public TForm {
  DASKEL_CLASS(TGalleryScrollForm, TForm)
 public:
  explicit TGalleryScrollForm(TComponent* owner) : TForm(owner) {}
  ~TGalleryScrollForm() override;

  TMemo* Memo = nullptr;
  TListBox* List = nullptr;
  TListBox* LeftList = nullptr;  // WS_EX_LEFTSCROLLBAR
  TListView* Report = nullptr;
  TTreeView* Tree = nullptr;
  TStringGrid* Grid = nullptr;
  TScrollBox* Box = nullptr;
  TScrollBar* HorzBar = nullptr;
  TScrollBar* VertBar = nullptr;

  void FormCreate(TObject* Sender);
};

// Opens the window (one at a time) over the gallery; answers it.
TGalleryScrollForm* ShowGalleryScroll();
