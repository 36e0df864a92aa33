// The gallery's multiple-document window: an MDI frame with a menu bar (File: New child, Close;
// Window: Cascade, Tile, Arrange icons and the list of children) whose children hold a few
// controls and bring a menu of their own into the frame's bar while they are active. The
// children's layout is GalleryMdi.layout.
#pragma once

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

class TGalleryMdiChild : public TForm {
  DASKEL_CLASS(TGalleryMdiChild, TForm)
 public:
  explicit TGalleryMdiChild(TComponent* owner);

  TLabel* NoteLabel = nullptr;
  TEdit* NoteEdit = nullptr;
  TCheckBox* DoneCheck = nullptr;
  TRadioButton* DraftRadio = nullptr;
  TRadioButton* FinalRadio = nullptr;
  TButton* CloseButton = nullptr;

  void FormClose(TObject* Sender, TCloseAction& Action);
  void CloseButtonClick(TObject* Sender);

 private:
  void ToggleDone(TObject* sender);
};

class TGalleryMdiFrame : public TForm {
  DASKEL_CLASS(TGalleryMdiFrame, TForm)
 public:
  explicit TGalleryMdiFrame(TComponent* owner);
  ~TGalleryMdiFrame() override;

  // Opens one more child, captioned "Child N"; returns it.
  TGalleryMdiChild* NewChild();

 private:
  void NewChildClick(TObject*) { NewChild(); }
  void CloseClick(TObject*) { Close(); }
  void CascadeClick(TObject*) { Cascade(); }
  void TileClick(TObject*) { Tile(); }
  void ArrangeClick(TObject*) { ArrangeIcons(); }
  void FrameClose(TObject* sender, TCloseAction& action);
  TMenuItem* Add(TMenuItem* parent, const char* caption, void (TGalleryMdiFrame::*click)(TObject*));
  int children_ = 0;
};

// The caption of the frame, for whoever looks for its window.
inline constexpr char kMdiFrameCaption[] = "MDI 多文档";

// Opens the frame (one at a time) with one child in it; answers it.
TGalleryMdiFrame* ShowGalleryMdi();
