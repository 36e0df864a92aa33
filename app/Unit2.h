// The About window: what the program is, who makes it, and a link to its homepage.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TForm2 : public TForm {
  DASKEL_CLASS(TForm2, TForm)
 public:
  explicit TForm2(TComponent* owner) : TForm(owner) {}

  TGroupBox* GroupBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label7 = nullptr;

  void Label4Click(TObject* Sender);
};

extern TForm2* Form2;
