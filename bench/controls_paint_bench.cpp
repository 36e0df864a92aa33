// Paint time of skinned standard controls against the same controls unskinned: check box, radio
// button, edit, combo box, up-down and group box, 300 repaints each in plain-skinned pairs,
// reported as the median of the per-pair ratios. With --show default|dark it instead shows every control and
// state the control skinners draw, skinned, until the window is closed (for screenshots).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/WinBench.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassBoxes.h"
#include "skin/controls/WinSubClassChecks.h"
#include "skin/controls/WinSubClassEdits.h"
#include "skin/controls/WinSubClassUpDown.h"

using namespace bench;

namespace {

// A control and its skinner (none for the plain one).
template <class T>
T* Put(TForm* form, int l, int t, int w, int h) {
  auto* c = new T(form);
  c->SetParent(form);
  c->SetBounds(l, t, w, h);
  return c;
}

template <class S>
S* Skin(TComponent* owner, TWinControl* c, TSkinData* skin, bool recolour = false) {
  auto* s = new S(owner);
  s->AttachControl(c, skin, recolour, nullptr);
  return s;
}

int Show(TSkinData* skin) {
  auto* f = new TForm(Application);
  f->InitializeForm();
  f->SetCaption("Skinned controls");
  f->SetClientWidth(460);
  f->SetClientHeight(300);
  f->SetColor(skin->Skin.ColourButtonFace);
  auto* owner = new TComponent(nullptr);
  const char* checks[] = {"Unchecked", "Checked", "Grayed", "Disabled", "Disabled, checked", "Text left"};
  for (int i = 0; i < 6; ++i) {
    auto* c = Put<TCheckBox>(f, 10, 10 + i * 22, 130, 20);
    c->SetCaption(checks[i]);
    if (i == 5) c->SetAlignment(taLeftJustify);
    c->SetState(i == 1 || i == 4 ? cbChecked : i == 2 ? cbGrayed : cbUnchecked);
    c->SetEnabled(i != 3 && i != 4);
    Skin<TSkinCheckBox>(owner, c, skin, true);
  }
  const char* radios[] = {"Radio one", "Radio two", "Disabled"};
  for (int i = 0; i < 3; ++i) {
    auto* r = Put<TRadioButton>(f, 10, 148 + i * 22, 130, 20);
    r->SetCaption(radios[i]);
    r->SetChecked(i == 1);
    r->SetEnabled(i != 2);
    Skin<TSkinRadioButton>(owner, r, skin, true);
  }
  auto* e = Put<TEdit>(f, 160, 10, 130, 22);
  e->SetText("An edit");
  Skin<TSkinEdit>(owner, e, skin);
  auto* spinEdit = Put<TEdit>(f, 160, 40, 130, 22);
  spinEdit->SetText("42");
  CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 108, 0, 18, 18, spinEdit->Handle(), nullptr,
                  GetModuleHandleA(nullptr), nullptr);
  Skin<TSkinEdit>(owner, spinEdit, skin);
  const char* combos[] = {"Drop-down list", "Button on the left", "Disabled", "Drop-down"};
  for (int i = 0; i < 4; ++i) {
    auto* c = Put<TComboBox>(f, 160, 72 + i * 28, 130, 21);
    c->SetStyle(i == 3 ? csDropDown : csDropDownList);
    if (i == 1) c->SetBiDiMode(bdRightToLeftNoAlign);
    c->Items()->Add(combos[i]);
    c->SetItemIndex(0);
    c->SetEnabled(i != 2);
    Skin<TSkinComBox>(owner, c, skin);
  }
  auto* v = Put<TUpDown>(f, 300, 10, 18, 40);
  Skin<TSkinUpDown>(owner, v, skin);
  auto* h = Put<TUpDown>(f, 330, 10, 40, 18);
  SetWindowLongPtrA(h->Handle(), GWL_STYLE, GetWindowLongPtrA(h->Handle(), GWL_STYLE) | UDS_HORZ);
  Skin<TSkinUpDown>(owner, h, skin);
  auto* g = Put<TGroupBox>(f, 300, 60, 150, 70);
  g->SetCaption("Group box");
  Skin<TSkinBox>(owner, g, skin, true);
  auto* rg = Put<TRadioGroup>(f, 300, 140, 150, 80);
  rg->SetCaption("Radio group");
  rg->SetColumns(2);
  for (const char* s : {"One", "Two", "Three"}) rg->Items()->Add(s);
  rg->SetItemIndex(0);
  Skin<TSkinBox>(owner, rg, skin, true);
  for (int i = 0; i < rg->ButtonCount(); ++i) Skin<TSkinRadioButton>(owner, rg->Buttons(i), skin, true);
  auto* p = Put<TPanel>(f, 160, 190, 130, 60);
  p->SetCaption("Panel");
  Skin<TSkinBox>(owner, p, skin, true);
  f->Show();
  MSG msg;
  while (IsWindowVisible(f->Handle()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  delete owner;
  return 0;
}

int Measure(TSkinData* skin) {
  auto* f = new TForm(Application);
  f->InitializeForm();
  f->SetClientWidth(400);
  f->SetClientHeight(300);
  auto* owner = new TComponent(nullptr);
  struct TPair {
    const char* name;
    HWND plain, skinned;
  };
  std::vector<TPair> pairs;
  auto add = [&](const char* name, TWinControl* plain, TWinControl* skinned, TSkinControl* s) {
    s->AttachControl(skinned, skin, dynamic_cast<TSkinBox*>(s) != nullptr, nullptr);
    pairs.push_back({name, plain->Handle(), skinned->Handle()});
  };
  auto twin = [&](auto* proto, int y, int w, int h) {
    using T = std::remove_pointer_t<decltype(proto)>;
    return std::pair<T*, T*>{Put<T>(f, 10, y, w, h), Put<T>(f, 200, y, w, h)};
  };
  auto [c1, c2] = twin(static_cast<TCheckBox*>(nullptr), 10, 150, 20);
  c1->SetCaption("Check box");
  c2->SetCaption("Check box");
  c1->SetChecked(true);
  c2->SetChecked(true);
  add("check box", c1, c2, new TSkinCheckBox(owner));
  auto [r1, r2] = twin(static_cast<TRadioButton*>(nullptr), 40, 150, 20);
  r1->SetCaption("Radio button");
  r2->SetCaption("Radio button");
  add("radio button", r1, r2, new TSkinRadioButton(owner));
  auto [e1, e2] = twin(static_cast<TEdit*>(nullptr), 70, 150, 22);
  e1->SetText("Some text");
  e2->SetText("Some text");
  add("edit", e1, e2, new TSkinEdit(owner));
  auto [b1, b2] = twin(static_cast<TComboBox*>(nullptr), 100, 150, 21);
  for (TComboBox* b : {b1, b2}) {
    b->SetStyle(csDropDownList);
    b->Items()->Add("An item");
    b->SetItemIndex(0);
  }
  add("combo box", b1, b2, new TSkinComBox(owner));
  auto [u1, u2] = twin(static_cast<TUpDown*>(nullptr), 130, 18, 36);
  add("up-down", u1, u2, new TSkinUpDown(owner));
  auto [g1, g2] = twin(static_cast<TGroupBox*>(nullptr), 180, 150, 80);
  g1->SetCaption("Group box");
  g2->SetCaption("Group box");
  add("group box", g1, g2, new TSkinBox(owner));
  f->Show();
  for (int i = 0; i < 20; ++i) Pump();
  for (const TPair& p : pairs)
    Report(p.name, Compare([&] { return PaintOnce(p.plain, nullptr, RDW_FRAME); },
                           [&] { return PaintOnce(p.skinned, nullptr, RDW_FRAME); }));
  delete owner;
  f->Free();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  std::string which = argc > 2 && std::string(argv[1]) == "--show" ? argv[2] : "";
  std::string path =
      std::string(DASKEL_BINARY_DIR) + (which == "dark" ? "/skins/dark.skn" : "/skins/default.skn");
  TSkinData* skin = LoadSkin(path);
  if (skin->NoSkin()) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  int rc = which.empty() ? Measure(skin) : Show(skin);
  delete skin;
  return rc;
}
