#include "app/Unit2.h"

#include <windows.h>

#include <shellapi.h>

TForm2* Form2 = nullptr;

DASKEL_DEFINE_CLASS(TForm2, TForm) {
  c.Field("GroupBox1", &TForm2::GroupBox1);
  c.Field("Label1", &TForm2::Label1);
  c.Field("Label2", &TForm2::Label2);
  c.Field("Label3", &TForm2::Label3);
  c.Field("GroupBox2", &TForm2::GroupBox2);
  c.Field("Label4", &TForm2::Label4);
  c.Field("Label5", &TForm2::Label5);
  c.Field("Label6", &TForm2::Label6);
  c.Field("Label7", &TForm2::Label7);
  c.Method("Label4Click", &TForm2::Label4Click);
}

void TForm2::Label4Click(TObject*) {
  const std::string address = Label4->Caption();
  // With no address there is nothing to open; the shell would only report an error.
  if (address.empty()) return;
  ShellExecuteA(Handle(), "Open", address.c_str(), "", "", SW_SHOWNORMAL);
}
