#include "gallery/GalleryMenus.h"

namespace {

// Four 16 x 16 glyphs: coloured squares with a light corner, magenta around them.
void AddGlyphs(TImageList& images) {
  const TColor colours[] = {RGBColor(59, 130, 246), RGBColor(16, 185, 129), RGBColor(245, 158, 11),
                            RGBColor(239, 68, 68)};
  TBitmap strip(64, 16, pf24bit);
  strip.Fill(clFuchsia);
  for (int i = 0; i < 4; ++i)
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) strip.SetPixel(i * 16 + x, y, x + y < 9 ? clWhite : colours[i]);
  images.AddMasked(strip, clFuchsia);
}

}  // namespace

TGalleryMenus::TGalleryMenus(TCustomForm* form) : TComponent(form), FForm(form) {
  Images = new TImageList(form);
  AddGlyphs(*Images);
  // Owned by the form, as a layout would make them, so the engine finds them there.
  MainMenu = new TMainMenu(form);
  MainMenu->SetImages(Images);
  MainMenu->SetOwnerDraw(true);
  TMenuItem* root = MainMenu->Items();

  TMenuItem* file = Add(root, "&File");
  Add(file, "&New", "Ctrl+N", 0);
  Add(file, "&Open...", "Ctrl+O", 1);
  Add(file, "&Save", "Ctrl+S", 2)->SetDefault(true);
  Add(file, "Save &As...")->SetEnabled(false);
  Add(file, "-");
  TMenuItem* recent = Add(file, "&Recent");
  Add(recent, "gallery.skn");
  Add(recent, "night.skn");
  Add(file, "-");
  Add(file, "E&xit", "Alt+F4", 3)->OnClick = TNotifyEvent(this, &TGalleryMenus::CloseClick);

  TMenuItem* view = Add(root, "&View");
  TMenuItem* toolbar = Add(view, "&Toolbar");
  toolbar->SetChecked(true);
  toolbar->OnClick = TNotifyEvent(this, &TGalleryMenus::CheckClick);
  TMenuItem* status = Add(view, "&Status bar", "", 1);
  status->SetChecked(true);
  status->OnClick = TNotifyEvent(this, &TGalleryMenus::CheckClick);
  Add(view, "-");
  for (const char* c : {"&Small", "&Medium", "&Large"}) {
    TMenuItem* size = Add(view, c);
    size->SetRadioItem(true);
    size->SetChecked(std::string(c) == "&Medium");
    size->OnClick = TNotifyEvent(this, &TGalleryMenus::RadioClick);
  }
  Add(view, "-");
  TMenuItem* swatch = Add(view, "Colour swatch");
  swatch->OnMeasureItem = TMenuMeasureItemEvent(this, &TGalleryMenus::SwatchMeasure);
  swatch->OnDrawItem = TMenuDrawItemEvent(this, &TGalleryMenus::SwatchDraw);
  Add(view, "Right-to-left menu...")->OnClick = TNotifyEvent(this, &TGalleryMenus::ShowRightToLeft);

  TMenuItem* tools = Add(root, "&Tools");
  Add(tools, "&Options...", "F9");
  Add(tools, "&Disabled")->SetEnabled(false);
  TMenuItem* help = Add(root, "&Help");
  Add(help, "&About SkinGallery", "F1", 0);

  ContextMenu = new TPopupMenu(form);
  ContextMenu->SetImages(Images);
  Add(ContextMenu->Items(), "Cu&t", "Ctrl+X", 3);
  Add(ContextMenu->Items(), "&Copy", "Ctrl+C", 1);
  Add(ContextMenu->Items(), "&Paste", "Ctrl+V", 2)->SetEnabled(false);
  Add(ContextMenu->Items(), "-");
  Add(ContextMenu->Items(), "Select &all", "Ctrl+A")->SetDefault(true);

  RightToLeftMenu = new TPopupMenu(form);
  RightToLeftMenu->SetRightToLeft(true);
  RightToLeftMenu->SetImages(Images);
  Add(RightToLeftMenu->Items(), "文件", "Ctrl+F", 0);
  Add(RightToLeftMenu->Items(), "编辑", "", 1)->SetChecked(true);
  Add(RightToLeftMenu->Items(), "-");
  Add(RightToLeftMenu->Items(), "退出");

  form->SetMenu(MainMenu);
  form->SetPopupMenu(ContextMenu);
}

TMenuItem* TGalleryMenus::Add(TMenuItem* parent, const char* caption, const char* shortCut, int image) {
  auto* item = new TMenuItem(FForm);
  item->SetCaption(caption);
  item->SetShortCut(shortCut);
  item->SetImageIndex(image);
  if (std::string(caption) != "-") item->OnClick = TNotifyEvent(this, &TGalleryMenus::PickClick);
  parent->Add(item);
  return item;
}

void TGalleryMenus::PickClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  // A top-level item's click comes with the opening of its popup: nothing is picked yet.
  if (item && item->Count() == 0 && OnPick) OnPick("Menu: " + StripHotkey(item->Caption()));
}

void TGalleryMenus::CheckClick(TObject* sender) {
  if (auto* item = dynamic_cast<TMenuItem*>(sender)) item->SetChecked(!item->Checked());
  PickClick(sender);
}

void TGalleryMenus::RadioClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !item->Parent()) return;
  for (int i = 0; i < item->Parent()->Count(); ++i)
    if (item->Parent()->Items(i)->RadioItem())
      item->Parent()->Items(i)->SetChecked(item->Parent()->Items(i) == item);
  PickClick(sender);
}

void TGalleryMenus::ShowRightToLeft(TObject*) {
  POINT p{};
  GetCursorPos(&p);
  RightToLeftMenu->Popup(p.x, p.y);
}

void TGalleryMenus::CloseClick(TObject*) { FForm->Close(); }

void TGalleryMenus::SwatchMeasure(TObject*, TCanvas*, int& width, int& height) {
  width = 140;
  height = 22;
}

void TGalleryMenus::SwatchDraw(TObject*, TCanvas* canvas, RECT r, bool selected) {
  // An item that draws itself: four colour bands, framed when selected.
  const TColor colours[] = {RGBColor(59, 130, 246), RGBColor(16, 185, 129), RGBColor(245, 158, 11),
                            RGBColor(239, 68, 68)};
  int w = (r.right - r.left) / 4;
  for (int i = 0; i < 4; ++i) {
    canvas->Brush().SetColor(colours[i]);
    // The whole height: a gap would show whatever the menu window has under the item, which in
    // a skinned menu is not the skin's background.
    canvas->FillRect(RECT{r.left + i * w, r.top, i == 3 ? r.right : r.left + (i + 1) * w, r.bottom});
  }
  if (selected) {
    canvas->Brush().SetColor(clBlack);
    canvas->FrameRect(r);
  }
}
