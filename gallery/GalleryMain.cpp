#include "gallery/GalleryMain.h"

#include <windows.h>

#include "gallery/GalleryBars.h"
#include "gallery/GalleryDialog.h"
#include "gallery/GalleryMdi.h"
#include "gallery/GalleryMenus.h"
#include "gallery/GalleryScroll.h"
#include "gallery/GallerySkins.h"

TGalleryForm* GalleryForm = nullptr;

DASKEL_DEFINE_CLASS(TGalleryForm, TForm) {
  c.Field("SkinData1", &TGalleryForm::SkinData1);
  c.Field("SkinLabel", &TGalleryForm::SkinLabel);
  c.Field("SkinCombo", &TGalleryForm::SkinCombo);
  c.Field("SkinningCheck", &TGalleryForm::SkinningCheck);
  c.Field("ButtonsBox", &TGalleryForm::ButtonsBox);
  c.Field("PlainButton", &TGalleryForm::PlainButton);
  c.Field("DisabledButton", &TGalleryForm::DisabledButton);
  c.Field("DefaultButton", &TGalleryForm::DefaultButton);
  c.Field("GlyphLeftButton", &TGalleryForm::GlyphLeftButton);
  c.Field("GlyphRightButton", &TGalleryForm::GlyphRightButton);
  c.Field("GlyphTopButton", &TGalleryForm::GlyphTopButton);
  c.Field("GlyphBottomButton", &TGalleryForm::GlyphBottomButton);
  c.Field("SpeedLabel", &TGalleryForm::SpeedLabel);
  c.Field("SpeedDown", &TGalleryForm::SpeedDown);
  c.Field("SpeedUp", &TGalleryForm::SpeedUp);
  c.Field("ChecksBox", &TGalleryForm::ChecksBox);
  c.Field("CheckUnchecked", &TGalleryForm::CheckUnchecked);
  c.Field("CheckChecked", &TGalleryForm::CheckChecked);
  c.Field("CheckGrayed", &TGalleryForm::CheckGrayed);
  c.Field("CheckDisabled", &TGalleryForm::CheckDisabled);
  c.Field("RadiosBox", &TGalleryForm::RadiosBox);
  c.Field("RadioChecked", &TGalleryForm::RadioChecked);
  c.Field("RadioUnchecked", &TGalleryForm::RadioUnchecked);
  c.Field("RadioDisabled", &TGalleryForm::RadioDisabled);
  c.Field("RadioGroup1", &TGalleryForm::RadioGroup1);
  c.Field("Panel1", &TGalleryForm::Panel1);
  c.Field("PanelCheck", &TGalleryForm::PanelCheck);
  c.Field("EditsBox", &TGalleryForm::EditsBox);
  c.Field("EditLabel", &TGalleryForm::EditLabel);
  c.Field("Edit1", &TGalleryForm::Edit1);
  c.Field("BorderlessLabel", &TGalleryForm::BorderlessLabel);
  c.Field("BorderlessEdit", &TGalleryForm::BorderlessEdit);
  c.Field("SpinLabel", &TGalleryForm::SpinLabel);
  c.Field("SpinEdit", &TGalleryForm::SpinEdit);
  c.Field("CombosBox", &TGalleryForm::CombosBox);
  c.Field("DropDownLabel", &TGalleryForm::DropDownLabel);
  c.Field("DropDownCombo", &TGalleryForm::DropDownCombo);
  c.Field("DropDownListLabel", &TGalleryForm::DropDownListLabel);
  c.Field("DropDownListCombo", &TGalleryForm::DropDownListCombo);
  c.Field("LeftButtonLabel", &TGalleryForm::LeftButtonLabel);
  c.Field("LeftButtonCombo", &TGalleryForm::LeftButtonCombo);
  c.Field("SimpleLabel", &TGalleryForm::SimpleLabel);
  c.Field("SimpleCombo", &TGalleryForm::SimpleCombo);
  c.Field("UpDownsBox", &TGalleryForm::UpDownsBox);
  c.Field("VerticalLabel", &TGalleryForm::VerticalLabel);
  c.Field("VerticalUpDown", &TGalleryForm::VerticalUpDown);
  c.Field("HorizontalLabel", &TGalleryForm::HorizontalLabel);
  c.Field("HorizontalUpDown", &TGalleryForm::HorizontalUpDown);
  c.Field("WindowsBox", &TGalleryForm::WindowsBox);
  c.Field("SystemDialogButton", &TGalleryForm::SystemDialogButton);
  c.Field("MessageDlgButton", &TGalleryForm::MessageDlgButton);
  c.Field("AnswerPanel", &TGalleryForm::AnswerPanel);
  c.Method("FormCreate", &TGalleryForm::FormCreate);
  c.Method("SkinComboChange", &TGalleryForm::SkinComboChange);
  c.Method("SkinningCheckClick", &TGalleryForm::SkinningCheckClick);
  c.Method("SystemDialogButtonClick", &TGalleryForm::SystemDialogButtonClick);
  c.Method("MessageDlgButtonClick", &TGalleryForm::MessageDlgButtonClick);
  c.Method("BarsButtonClick", &TGalleryForm::BarsButtonClick);
  c.Method("ScrollButtonClick", &TGalleryForm::ScrollButtonClick);
  c.Method("MdiButtonClick", &TGalleryForm::MdiButtonClick);
}

void TGalleryForm::FormCreate(TObject*) {
  // The layout's skin, kept to come back to; the dark one comes from a resource.
  lightSkin_ = SkinData1->SkinStreamBytes();
  SkinCombo->Items()->Clear();
  AddSkin(kLightSkinName, lightSkin_);
  if (std::string night = NightSkinStream(); !night.empty()) AddSkin(kNightSkinName, night);
  SkinCombo->SetItemIndex(0);
  // The menu bar, the right-click menu and a right-to-left menu; a picked item shows below.
  auto* menus = new TGalleryMenus(this);
  menus->OnPick = [this](const std::string& what) { AnswerPanel->SetCaption(what); };
}

bool TGalleryForm::PreviewSkinFile(const std::string& path) {
  std::string problem = SkinFileProblem(path);
  if (problem.empty()) {
    SkinData1->SetSkinFile(path);  // reads the file, loads its skin, redraws with it
    if (SkinData1->NoSkin()) problem = "the engine could not load it";
  }
  if (!problem.empty()) {
    // Without a readable skin the component would have none: the light one goes back in.
    if (!SkinData1->SkinFile().empty()) SkinData1->SetSkinFile("");
    if (SkinData1->NoSkin()) ApplySkinStream(*SkinData1, lightSkin_);
    std::string text = "The skin file\n\n" + path + "\n\ncannot be previewed: " + problem +
                       ".\n\nSkinGallery uses its built-in skin \"" + kLightSkinName + "\" instead.";
    MessageBoxA(nullptr, text.c_str(), "SkinGallery", MB_OK | MB_ICONERROR);
    return false;
  }
  std::string::size_type slash = path.find_last_of("\\/:");
  AddSkin(slash == std::string::npos ? path : path.substr(slash + 1), SkinData1->SkinStreamBytes());
  SkinCombo->SetItemIndex(SkinCombo->Items()->Count() - 1);
  return true;
}

void TGalleryForm::AddSkin(const std::string& name, const std::string& stored) {
  SkinCombo->Items()->Add(name);
  skins_.push_back(stored);
}

void TGalleryForm::SkinComboChange(TObject*) {
  int index = SkinCombo->ItemIndex();
  if (index < 0 || index >= static_cast<int>(skins_.size())) return;
  ApplySkinStream(*SkinData1, skins_[static_cast<std::size_t>(index)]);
}

void TGalleryForm::SkinningCheckClick(TObject*) { SkinData1->SetActive(SkinningCheck->Checked()); }

void TGalleryForm::SystemDialogButtonClick(TObject*) {
  INT_PTR result = ShowSystemDialog(Handle());
  AnswerPanel->SetCaption(result == IDOK ? "System dialog: OK" : "System dialog: Cancel");
}

void TGalleryForm::MessageDlgButtonClick(TObject*) {
  TModalResult result = MessageDlg("Does this message box wear the skin too?\n这个消息框也换了皮肤吗？",
                                   mtConfirmation, mbYesNo, 0);
  AnswerPanel->SetCaption(result == mrYes ? "MessageDlg: Yes" : "MessageDlg: No");
}

void TGalleryForm::BarsButtonClick(TObject*) { ShowGalleryBars(); }
void TGalleryForm::ScrollButtonClick(TObject*) { ShowGalleryScroll(); }
void TGalleryForm::MdiButtonClick(TObject*) { ShowGalleryMdi(); }
