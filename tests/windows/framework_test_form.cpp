#include "tests/windows/framework_test_form.h"

DASKEL_DEFINE_CLASS(TFrameworkTestForm, TForm) {
  c.Field("GroupBox1", &TFrameworkTestForm::GroupBox1);
  c.Field("Label1", &TFrameworkTestForm::Label1);
  c.Field("ComboBox1", &TFrameworkTestForm::ComboBox1);
  c.Field("MaskEdit1", &TFrameworkTestForm::MaskEdit1);
  c.Field("UpDown1", &TFrameworkTestForm::UpDown1);
  c.Field("Button1", &TFrameworkTestForm::Button1);
  c.Field("CheckBox1", &TFrameworkTestForm::CheckBox1);
  c.Field("Edit1", &TFrameworkTestForm::Edit1);
  c.Field("Timer1", &TFrameworkTestForm::Timer1);
  c.Field("PopupMenu1", &TFrameworkTestForm::PopupMenu1);
  c.Field("N1", &TFrameworkTestForm::N1);
  c.Method("FormCreate", &TFrameworkTestForm::FormCreate);
  c.Method("ComboBox1Change", &TFrameworkTestForm::ComboBox1Change);
  c.Method("MaskEdit1Change", &TFrameworkTestForm::MaskEdit1Change);
  c.Method("UpDown1Click", &TFrameworkTestForm::UpDown1Click);
  c.Method("Button1Click", &TFrameworkTestForm::Button1Click);
  c.Method("CheckBox1Click", &TFrameworkTestForm::CheckBox1Click);
  c.Method("Timer1Timer", &TFrameworkTestForm::Timer1Timer);
  c.Method("N1Click", &TFrameworkTestForm::N1Click);
}

void TFrameworkTestForm::FormCreate(TObject*) {
  // Everything is read and bound by now, and no longer loading.
  log.push_back(Button1 && !Button1->HasState(csLoading) && !HasState(csLoading) ? "create" : "create-early");
}
void TFrameworkTestForm::ComboBox1Change(TObject*) { log.push_back("combo"); }
void TFrameworkTestForm::MaskEdit1Change(TObject*) { log.push_back("mask:" + MaskEdit1->Text()); }
void TFrameworkTestForm::UpDown1Click(TObject*, TUDBtnType b) {
  log.push_back(std::string(b == btNext ? "next:" : "prev:") + std::to_string(UpDown1->Position()));
}
void TFrameworkTestForm::Button1Click(TObject*) { log.push_back("button"); }
void TFrameworkTestForm::CheckBox1Click(TObject*) {
  log.push_back(CheckBox1->Checked() ? "checked" : "unchecked");
}
void TFrameworkTestForm::Timer1Timer(TObject*) {
  log.push_back("tick");
  if (onTimer) onTimer();
}
void TFrameworkTestForm::N1Click(TObject*) { log.push_back("menu"); }

TFrameworkTestForm* MakeTestForm() {
  Application->Initialize();
  TFrameworkTestForm* f = nullptr;
  Application->CreateForm(f);
  return f;
}

std::string WindowClass(HWND wnd) {
  char name[256] = {};
  GetClassNameA(wnd, name, sizeof name);
  return name;
}
