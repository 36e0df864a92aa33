#include "gallery/GalleryMdi.h"

#include <string>

namespace {

TGalleryMdiFrame* gOpen = nullptr;

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

}  // namespace

DASKEL_DEFINE_CLASS(TGalleryMdiChild, TForm) {
  c.Field("NoteLabel", &TGalleryMdiChild::NoteLabel);
  c.Field("NoteEdit", &TGalleryMdiChild::NoteEdit);
  c.Field("DoneCheck", &TGalleryMdiChild::DoneCheck);
  c.Field("DraftRadio", &TGalleryMdiChild::DraftRadio);
  c.Field("FinalRadio", &TGalleryMdiChild::FinalRadio);
  c.Field("CloseButton", &TGalleryMdiChild::CloseButton);
  c.Method("FormClose", &TGalleryMdiChild::FormClose);
  c.Method("CloseButtonClick", &TGalleryMdiChild::CloseButtonClick);
}

TGalleryMdiChild::TGalleryMdiChild(TComponent* owner) : TForm(owner) {
  // The child's own menu: its items follow the frame's in the bar while the child is active.
  auto* menu = new TMainMenu(this);
  TMenuItem* document = NewItem(this, menu->Items(), "&Document");
  NewItem(this, document, "&Done")->OnClick = TNotifyEvent(this, &TGalleryMdiChild::ToggleDone);
  NewItem(this, document, "-");
  NewItem(this, document, "&Close")->OnClick = TNotifyEvent(this, &TGalleryMdiChild::CloseButtonClick);
  SetMenu(menu);
}

void TGalleryMdiChild::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }
void TGalleryMdiChild::CloseButtonClick(TObject*) { Close(); }
void TGalleryMdiChild::ToggleDone(TObject*) { DoneCheck->SetChecked(!DoneCheck->Checked()); }

DASKEL_DEFINE_CLASS(TGalleryMdiFrame, TForm) {}

TGalleryMdiFrame::TGalleryMdiFrame(TComponent* owner) : TForm(owner) {
  SetFormStyle(fsMDIForm);
  SetCaption(kMdiFrameCaption);
  SetBounds(80, 60, 680, 500);
  auto* menu = new TMainMenu(this);
  TMenuItem* file = NewItem(this, menu->Items(), "&File");
  Add(file, "&New child", &TGalleryMdiFrame::NewChildClick);
  NewItem(this, file, "-");
  Add(file, "&Close", &TGalleryMdiFrame::CloseClick);
  TMenuItem* window = NewItem(this, menu->Items(), "&Window");
  Add(window, "&Cascade", &TGalleryMdiFrame::CascadeClick);
  Add(window, "&Tile", &TGalleryMdiFrame::TileClick);
  Add(window, "&Arrange icons", &TGalleryMdiFrame::ArrangeClick);
  SetMenu(menu);
  SetWindowMenu(window);  // the client lists the children below these
  OnClose = TCloseEvent(this, &TGalleryMdiFrame::FrameClose);
}

TGalleryMdiFrame::~TGalleryMdiFrame() {
  if (gOpen == this) gOpen = nullptr;
}

TMenuItem* TGalleryMdiFrame::Add(TMenuItem* parent, const char* caption,
                                 void (TGalleryMdiFrame::*click)(TObject*)) {
  TMenuItem* item = NewItem(this, parent, caption);
  item->OnClick = TNotifyEvent(this, click);
  return item;
}

void TGalleryMdiFrame::FrameClose(TObject*, TCloseAction& action) { action = caFree; }

TGalleryMdiChild* TGalleryMdiFrame::NewChild() {
  auto* child = new TGalleryMdiChild(this);
  try {
    child->InitializeForm();
  } catch (const std::exception& e) {
    child->Free();
    Application->ShowException(e.what());
    return nullptr;
  }
  child->SetCaption("Child " + std::to_string(++children_));
  return child;
}

TGalleryMdiFrame* ShowGalleryMdi() {
  if (!gOpen) {
    gOpen = new TGalleryMdiFrame(Application);
    gOpen->InitializeForm();
    gOpen->Show();
    gOpen->NewChild();
  }
  gOpen->Show();
  return gOpen;
}
