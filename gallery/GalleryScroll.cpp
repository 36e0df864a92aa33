#include "gallery/GalleryScroll.h"

#include <string>

namespace {
TGalleryScrollForm* gOpen = nullptr;
}

DASKEL_DEFINE_CLASS(TGalleryScrollForm, TForm) {
  c.Field("Memo", &TGalleryScrollForm::Memo);
  c.Field("List", &TGalleryScrollForm::List);
  c.Field("LeftList", &TGalleryScrollForm::LeftList);
  c.Field("Report", &TGalleryScrollForm::Report);
  c.Field("Tree", &TGalleryScrollForm::Tree);
  c.Field("Grid", &TGalleryScrollForm::Grid);
  c.Field("Box", &TGalleryScrollForm::Box);
  c.Field("HorzBar", &TGalleryScrollForm::HorzBar);
  c.Field("VertBar", &TGalleryScrollForm::VertBar);
  c.Method("FormCreate", &TGalleryScrollForm::FormCreate);
}

TGalleryScrollForm::~TGalleryScrollForm() {
  if (gOpen == this) gOpen = nullptr;
}

void TGalleryScrollForm::FormCreate(TObject*) {
  std::string text;
  for (int i = 1; i <= 120; ++i)
    text += "第 " + std::to_string(i) + " 行 line " + std::to_string(i) +
            ": the quick brown fox jumps over the lazy dog, 敏捷的棕色狐狸跳过了懒狗\r\n";
  Memo->SetText(text);
  for (int i = 1; i <= 40; ++i) {
    List->Items()->Add("列表项 item " + std::to_string(i));
    LeftList->Items()->Add("左边 left " + std::to_string(i));
    Report->Items()->Add("文件 file" + std::to_string(i) + ".txt|" + std::to_string(i * 3) + " KB|文本 text");
  }
  for (int c = 0; c < Grid->ColCount(); ++c)
    Grid->SetCells(c, 0, c ? std::string(1, static_cast<char>('A' + c - 1)) : "");
  for (int r = 1; r < Grid->RowCount(); ++r) {
    Grid->SetCells(0, r, std::to_string(r));
    for (int c = 1; c < Grid->ColCount(); ++c) Grid->SetCells(c, r, std::to_string(r * c));
  }
  HWND left = LeftList->Handle();
  SetWindowLongPtrA(left, GWL_EXSTYLE, GetWindowLongPtrA(left, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  SetWindowPos(left, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  Box->UpdateScrollRange();
}

TGalleryScrollForm* ShowGalleryScroll() {
  if (!gOpen) Application->CreateForm(gOpen);
  if (gOpen) gOpen->Show();
  return gOpen;
}
