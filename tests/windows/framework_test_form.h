// The sample form of the framework tests (layout: layouts/FrameworkTest.layout) and helpers to
// pump messages while a test waits for something.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Mask.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/TestUtil.h"

class TFrameworkTestForm : public TForm {
  DASKEL_CLASS(TFrameworkTestForm, TForm)
 public:
  explicit TFrameworkTestForm(TComponent* owner) : TForm(owner) {}
  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TMaskEdit* MaskEdit1 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TButton* Button1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TEdit* Edit1 = nullptr;
  TTimer* Timer1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* N1 = nullptr;

  std::vector<std::string> log;  // handler calls, in order
  std::function<void()> onTimer;
  void FormCreate(TObject* Sender);
  void ComboBox1Change(TObject* Sender);
  void MaskEdit1Change(TObject* Sender);
  void UpDown1Click(TObject* Sender, TUDBtnType Button);
  void Button1Click(TObject* Sender);
  void CheckBox1Click(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void N1Click(TObject* Sender);
};

// Makes a test form from its layout resource (Application initialised first).
TFrameworkTestForm* MakeTestForm();
std::string WindowClass(HWND wnd);
