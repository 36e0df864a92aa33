// The gallery's main form: one of every kind of control the engine skins, in the states that
// matter, the choice of skin, skinning on and off, and buttons that open the other kinds of
// window (a system dialog, the framework's message box). Its layout is GalleryMain.layout.
#pragma once

#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "gallery/GalleryControls.h"
#include "skin/data/VuzUrezData.h"

class TGalleryForm : public TForm {
  DASKEL_CLASS(TGalleryForm, TForm)
 public:
  explicit TGalleryForm(TComponent* owner) : TForm(owner) {}

  // The engine: one skin data component holding the light skin, Active from the start.
  TSkinData* SkinData1 = nullptr;

  // The bar at the top: which skin, and skinning on or off.
  TLabel* SkinLabel = nullptr;
  TComboBox* SkinCombo = nullptr;
  TCheckBox* SkinningCheck = nullptr;

  // Controls.
  TGroupBox* ButtonsBox = nullptr;
  TButton* PlainButton = nullptr;
  TButton* DisabledButton = nullptr;
  TButton* DefaultButton = nullptr;
  TBitBtn* GlyphLeftButton = nullptr;
  TBitBtn* GlyphRightButton = nullptr;
  TBitBtn* GlyphTopButton = nullptr;
  TBitBtn* GlyphBottomButton = nullptr;
  TLabel* SpeedLabel = nullptr;
  TSpeedButton* SpeedDown = nullptr;
  TSpeedButton* SpeedUp = nullptr;

  TGroupBox* ChecksBox = nullptr;
  TCheckBox* CheckUnchecked = nullptr;
  TCheckBox* CheckChecked = nullptr;
  TCheckBox* CheckGrayed = nullptr;
  TCheckBox* CheckDisabled = nullptr;

  TGroupBox* RadiosBox = nullptr;
  TRadioButton* RadioChecked = nullptr;
  TRadioButton* RadioUnchecked = nullptr;
  TRadioButton* RadioDisabled = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;

  TPanel* Panel1 = nullptr;
  TCheckBox* PanelCheck = nullptr;

  TGroupBox* EditsBox = nullptr;
  TLabel* EditLabel = nullptr;
  TEdit* Edit1 = nullptr;
  TLabel* BorderlessLabel = nullptr;
  TBorderlessEdit* BorderlessEdit = nullptr;
  TLabel* SpinLabel = nullptr;
  TSpinEdit* SpinEdit = nullptr;

  TGroupBox* CombosBox = nullptr;
  TLabel* DropDownLabel = nullptr;
  TComboBox* DropDownCombo = nullptr;
  TLabel* DropDownListLabel = nullptr;
  TComboBox* DropDownListCombo = nullptr;
  TLabel* LeftButtonLabel = nullptr;
  TComboBox* LeftButtonCombo = nullptr;  // WS_EX_LEFTSCROLLBAR, through BiDiMode
  TLabel* SimpleLabel = nullptr;
  TComboBox* SimpleCombo = nullptr;

  TGroupBox* UpDownsBox = nullptr;
  TLabel* VerticalLabel = nullptr;
  TUpDown* VerticalUpDown = nullptr;
  TLabel* HorizontalLabel = nullptr;
  TUpDown* HorizontalUpDown = nullptr;

  // Other windows.
  TGroupBox* WindowsBox = nullptr;
  TButton* SystemDialogButton = nullptr;
  TButton* MessageDlgButton = nullptr;
  TPanel* AnswerPanel = nullptr;

  void FormCreate(TObject* Sender);
  void SkinComboChange(TObject* Sender);
  void SkinningCheckClick(TObject* Sender);
  void SystemDialogButtonClick(TObject* Sender);
  void MessageDlgButtonClick(TObject* Sender);
  // The windows of the other kinds of control.
  void BarsButtonClick(TObject* Sender);
  void ScrollButtonClick(TObject* Sender);
  void MdiButtonClick(TObject* Sender);

  // Previews the skin package at `path`: loads it into SkinData1 and offers it in the skin
  // list. A file that is missing or not a skin package is named in an error box with the
  // reason, and the light skin stays. Returns whether the file's skin is in use.
  bool PreviewSkinFile(const std::string& path);

 private:
  // Offers a skin (its name and stored form) in SkinCombo.
  void AddSkin(const std::string& name, const std::string& stored);
  std::string lightSkin_;           // stored form, as SkinStream holds it
  std::vector<std::string> skins_;  // the stored form of each entry of SkinCombo, in its order
};

extern TGalleryForm* GalleryForm;

// The items of the skin list, in order; a previewed file comes third, under its file name.
inline constexpr char kLightSkinName[] = "Daskel Light";
inline constexpr char kNightSkinName[] = "Daskel Night";
