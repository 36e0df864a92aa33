// Control discovery under Wine: which control of a form or of a plain dialog gets which control
// skinner, and what attaching and detaching leave behind.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ListViews.h"
#include "framework/ScrollCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassBars.h"
#include "skin/controls/WinSubClassBoxes.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/controls/WinSubClassChecks.h"
#include "skin/controls/WinSubClassEdits.h"
#include "skin/controls/WinSubClassListView.h"
#include "skin/controls/WinSubClassScroll.h"
#include "skin/controls/WinSubClassToolbar.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/form/VuzUrezForm.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

class Discovery : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    // Not active: the manager leaves these windows alone and each test attaches its own skinner.
    data.reset(NewSkinData(FileBytes(kDefaultSkin), sfOnlyThisForm, false));
    form = new TForm(nullptr);
    form->SetBounds(50, 50, 400, 300);
  }
  void TearDown() override {
    delete skinner;
    delete form;
    data.reset();
  }
  template <class T>
  T* Add(int left = 8, int top = 8, TWinControl* parent = nullptr) {
    auto* c = new T(form);
    c->SetParent(parent ? parent : form);
    c->SetBounds(left, top, 80, 24);
    return c;
  }
  void Skin() {
    form->Show();
    skinner = new TVuzUrezForm(form);
    skinner->Handle = form->Handle();
    skinner->AttachForm(data.get(), form);
  }
  // The skinner serving a control, listed or only owned by the form skinner.
  TSkinControl* SkinnerOf(TControl* c) const {
    auto* w = dynamic_cast<TWinControl*>(c);
    for (int i = 0; i < skinner->ComponentCount(); ++i) {
      auto* s = dynamic_cast<TSkinControl*>(skinner->Components(i));
      if (s && (s->Control() == c || s->GraphicControl() == c ||
                (w && w->HandleAllocated() && s->Handle() == w->Handle())))
        return s;
    }
    return nullptr;
  }
  // A skinner serving the plain window, as the manager attaches one.
  TVuzUrezForm* AttachPlain(HWND w) {
    auto* plain = new TVuzUrezForm(nullptr);
    plain->Handle = w;
    plain->AttachWindow(data.get());
    return plain;
  }
  // A plain dialog, with the night skin's data ready for it.
  HWND NightPlainDialog() {
    data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
    return CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 300, 200,
                           nullptr, nullptr, nullptr, nullptr);
  }
  // The ground `asked` gives an edit of the plain window `dlg` for its colour question: the skin's
  // content colour while a skinner serves the window, the system's once it is gone.
  void ExpectEditGroundWhileSkinned(HWND dlg, HWND edit, HWND asked) {
    auto ground = [&] {
      HDC dc = GetDC(edit);
      SendMessageA(asked, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
      auto back = static_cast<TColor>(GetBkColor(dc));
      ReleaseDC(edit, dc);
      return back;
    };
    TVuzUrezForm* plain = AttachPlain(dlg);
    EXPECT_EQ(ground(), ColorToRGB(data->Skin.ColourWindow));
    plain->Detach();
    EXPECT_EQ(ground(), ColorToRGB(clWindow));
    delete plain;
  }
  // Another skin put into the component, as the gallery's skin list does it.
  void Load(const char* path) {
    std::string package = FileBytes(path), value(4, '\0');
    for (int b = 0; b < 4; ++b)
      value[static_cast<std::size_t>(b)] = static_cast<char>((package.size() >> (8 * b)) & 0xFF);
    TMemoryStream stream;
    stream.LoadFromBytes(value + package);
    data->ReadSkinStream(stream);
    data->LoadSkin();
  }
  std::unique_ptr<TSkinData> data;
  TForm* form = nullptr;
  TVuzUrezForm* skinner = nullptr;
};

TEST_F(Discovery, EachStandardControlGetsItsSkinner) {
  auto* button = Add<TButton>();
  auto* check = Add<TCheckBox>();
  auto* radio = Add<TRadioButton>();
  auto* edit = Add<TEdit>();
  auto* combo = Add<TComboBox>();
  auto* box = Add<TGroupBox>(100, 100);
  auto* inner = Add<TCheckBox>(4, 4, box);
  auto* label = Add<TLabel>();
  Skin();
  EXPECT_NE(dynamic_cast<TSkinButton*>(SkinnerOf(button)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(SkinnerOf(check)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinRadioButton*>(SkinnerOf(radio)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinComBox*>(SkinnerOf(combo)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinBox*>(SkinnerOf(box)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(SkinnerOf(inner)), nullptr);
  EXPECT_FALSE(inner->ParentColor());
  EXPECT_NE(dynamic_cast<TSkinLabel*>(SkinnerOf(label)), nullptr);
  // Edits are skinned through their window and not listed.
  auto* e = dynamic_cast<TSkinEdit*>(SkinnerOf(edit));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Control(), nullptr);
  EXPECT_EQ(std::count(skinner->ControlSkinners().begin(), skinner->ControlSkinners().end(), e), 0);
  EXPECT_EQ(box->Color(), data->Skin.ColourButtonFace);
}

TEST_F(Discovery, FormInsideTheFormTakesTheFaceAndIsWalked) {
  auto* inner = new TForm(form);
  inner->SetColor(static_cast<TColor>(0x00123456));
  auto* button = new TButton(inner);
  button->SetParent(inner);
  Skin();
  EXPECT_EQ(inner->Color(), data->Skin.ColourButtonFace);
  EXPECT_NE(dynamic_cast<TSkinButton*>(SkinnerOf(button)), nullptr);
}

TEST_F(Discovery, TagsAndTheDisabledTag) {
  auto* off = Add<TButton>();
  off->Tag = 199;
  auto* on = Add<TButton>();
  on->Tag = -99;
  auto* asCombo = Add<TButton>();
  asCombo->Tag = 195;
  Skin();
  EXPECT_EQ(SkinnerOf(off), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(SkinnerOf(on)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinComBox*>(SkinnerOf(asCombo)), nullptr);
}

TEST_F(Discovery, ClassListComesBeforeTheClassRows) {
  data->Skin3rd()->Clear();
  data->Skin3rd()->Add("tedit=Panel");
  data->Skin3rd()->Add("TCheckBox=Gizmo");
  auto* edit = Add<TEdit>();
  auto* check = Add<TCheckBox>();
  Skin();
  EXPECT_NE(dynamic_cast<TSkinBox*>(SkinnerOf(edit)), nullptr);
  EXPECT_EQ(SkinnerOf(check), nullptr);  // a kind that is no known word stops the walk
}

TEST_F(Discovery, SwitchedOffKindFallsThroughToLaterRows) {
  data->SetSkinControls(data->SkinControls() & ~SkinControl(xcCombo));
  auto* combo = Add<TComboBox>();
  Skin();
  EXPECT_EQ(SkinnerOf(combo), nullptr);
}

TEST_F(Discovery, HandlerReturningAListedSkinnerSkipsTheControl) {
  auto* first = Add<TButton>();
  auto* second = Add<TButton>();
  struct THandler : TObject {
    TSkinControl* given = nullptr;
    TControl* secondControl = nullptr;
    void Call(TComponent* sender, TSkinData*, TControl*, TControl* c, const std::string&, TComponent*& out) {
      if (c != secondControl) return;
      auto* owner = static_cast<TVuzUrezForm*>(sender);
      given = owner->ControlSkinners().empty() ? nullptr : owner->ControlSkinners().front();
      out = given;
    }
  } handler;
  handler.secondControl = second;
  data->OnSkinControl = TOnSkinControl(&handler, &THandler::Call);
  Skin();
  data->OnSkinControl = TOnSkinControl();
  ASSERT_NE(handler.given, nullptr);
  EXPECT_EQ(handler.given->Control(), first);
  EXPECT_EQ(SkinnerOf(second), nullptr);
}

TEST_F(Discovery, DetachGivesEverythingBack) {
  auto* button = Add<TButton>();
  auto* box = Add<TPanel>(100, 100);
  box->SetColor(static_cast<TColor>(0x00C0FFEE & 0xFFFFFF));
  TWndMethod before = button->WindowProc;
  Skin();
  ASSERT_NE(SkinnerOf(button), nullptr);
  EXPECT_FALSE(button->WindowProc == before);
  int thunks = TWindowSubclass::ThunksAlive();
  skinner->Detach();
  EXPECT_TRUE(button->WindowProc == before);
  EXPECT_EQ(box->Color(), static_cast<TColor>(0x00C0FFEE & 0xFFFFFF));
  EXPECT_TRUE(skinner->ControlSkinners().empty());
  EXPECT_LT(TWindowSubclass::ThunksAlive(), thunks);  // the edit-less form: only the frame's thunk
}

TEST_F(Discovery, TextTakesTheSkinsColourWhereItHadTheDefault) {
  auto* label = Add<TLabel>();
  auto* red = Add<TLabel>(8, 40);
  red->Font()->SetColor(clRed);
  auto* check = Add<TCheckBox>(8, 80);
  data->Skin.ColourButtonFace = static_cast<TColor>(0x00312D2B);  // a dark skin's face
  data->Skin.ColourButtonText = static_cast<TColor>(0x00E0E0E0);  // and its light text
  Skin();
  EXPECT_EQ(label->Font()->Color(), data->Skin.ColourButtonText);
  EXPECT_EQ(label->Color(), data->Skin.ColourButtonFace);
  EXPECT_EQ(check->Font()->Color(), data->Skin.ColourButtonText);
  EXPECT_EQ(red->Font()->Color(), clRed);
  skinner->Detach();
  EXPECT_EQ(label->Font()->Color(), clWindowText);
  EXPECT_TRUE(label->ParentFont());
  EXPECT_TRUE(label->ParentColor());
  EXPECT_EQ(check->Font()->Color(), clWindowText);
}

TEST_F(Discovery, ControlDestroyedWhileSkinnedDetachesItself) {
  auto* edit = Add<TEdit>();
  auto* button = Add<TButton>();
  Skin();
  int alive = TWindowSubclass::ThunksAlive();
  delete edit;    // its window goes: the edit skinner lets go on WM_NCDESTROY
  delete button;  // the framework control goes: nothing is given back to it later
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), alive - 1);
  skinner->Detach();
}

TEST_F(Discovery, ContentFollowsTheSkinsContentColoursAndGetsItsOwnBack) {
  ASSERT_FALSE(data->Skin.ContentColours) << "the light skin names none";
  auto* memo = Add<TMemo>();
  auto* list = Add<TListBox>();
  auto* view = Add<TListView>();
  auto* tree = Add<TTreeView>();
  auto* box = Add<TScrollBox>(100, 100);
  auto* label = new TLabel(form);
  label->SetParent(box);
  const auto viewBack = [&] { return SendMessageA(view->Handle(), LVM_GETBKCOLOR, 0, 0); };
  const auto treeBack = [&] { return SendMessageA(tree->Handle(), TVM_GETBKCOLOR, 0, 0); };
  const LRESULT ownView = viewBack(), ownTree = treeBack();
  Skin();
  EXPECT_EQ(memo->Color(), clWindow);
  EXPECT_EQ(label->Color(), box->Color()) << "a label on content keeps the content's ground";
  Load(kDarkSkin);
  skinner->ClearSysButtons();  // as a skin switch does: the buttons of the old skin go first
  skinner->BuildSysButtons();
  skinner->Reskin();
  ASSERT_TRUE(data->Skin.ContentColours);
  const TColor back = data->Skin.ColourWindow, text = data->Skin.ColourWindowText;
  for (TControl* c : std::initializer_list<TControl*>{memo, list, view, tree, box, label}) {
    EXPECT_EQ(c->Color(), back) << c->ClassName();
    EXPECT_EQ(c->Font()->Color(), text) << c->ClassName();
  }
  EXPECT_EQ(viewBack(), static_cast<LRESULT>(ColorToRGB(back)));
  EXPECT_EQ(treeBack(), static_cast<LRESULT>(ColorToRGB(back)));
  skinner->Detach();
  for (TControl* c : std::initializer_list<TControl*>{memo, list, view, tree}) {
    EXPECT_EQ(c->Color(), clWindow) << c->ClassName();
    EXPECT_EQ(c->Font()->Color(), clWindowText) << c->ClassName();
  }
  EXPECT_TRUE(label->ParentColor());
  EXPECT_EQ(viewBack(), ownView);
  EXPECT_EQ(treeBack(), ownTree);
}

// Lightness 0..255 of a colour as drawn.
int Lightness(TColor c) {
  unsigned rgb = static_cast<unsigned>(ColorToRGB(c));
  return static_cast<int>((299 * (rgb & 0xFF) + 587 * ((rgb >> 8) & 0xFF) + 114 * ((rgb >> 16) & 0xFF)) /
                          1000);
}

TEST_F(Discovery, TextIsNeverGivenAColourCloseToItsGround) {
  TSkinElements& s = data->Skin;
  s.ColourButtonFace = static_cast<TColor>(0x00302B2B);
  s.ColourButtonText = static_cast<TColor>(0x00383333);
  auto* grid = Add<TStringGrid>();
  auto* label = Add<TLabel>(8, 40);
  auto* edit = Add<TEdit>(8, 80);
  Skin();
  EXPECT_EQ(grid->Color(), s.ColourButtonFace) << "without content colours a grid takes the face";
  EXPECT_EQ(edit->Color(), clWindow) << "and other content keeps the system's";
  for (TControl* c : std::initializer_list<TControl*>{grid, label})
    EXPECT_GE(std::abs(Lightness(c->Font()->Color()) - Lightness(c->Color())), 80) << c->ClassName();
  skinner->Detach();
  EXPECT_EQ(grid->Color(), clWindow);
  s.ContentColours = true;
  s.ColourWindow = static_cast<TColor>(0x00221F1E);
  s.ColourWindowText = static_cast<TColor>(0x00292624);
  delete skinner;
  Skin();
  EXPECT_EQ(edit->Color(), s.ColourWindow);
  EXPECT_GE(std::abs(Lightness(edit->Font()->Color()) - Lightness(s.ColourWindow)), 80);
}

TEST_F(Discovery, PlainDialogEditsTakeTheContentColoursWhileSkinned) {
  HWND dlg = NightPlainDialog();
  HWND edit = CreateWindowExA(0, "EDIT", "text", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 120, 24, dlg,
                              nullptr, nullptr, nullptr);
  ExpectEditGroundWhileSkinned(dlg, edit, dlg);
  DestroyWindow(dlg);
}

// A combo box with its own edit and images (a file dialog's file name, a word processor's font)
// answers its edit's colour question itself, with the system's colours unless skinned.
TEST_F(Discovery, AnExtendedComboBoxsEditTakesTheContentColoursWhileSkinned) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES};
  InitCommonControlsEx(&icc);
  HWND dlg = NightPlainDialog();
  HWND combo = CreateWindowExA(0, WC_COMBOBOXEXA, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 160, 120,
                               dlg, nullptr, nullptr, nullptr);
  auto edit = reinterpret_cast<HWND>(SendMessageA(combo, CBEM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  // The question as the edit asks it: of the window it stands in, which passes it on.
  ExpectEditGroundWhileSkinned(dlg, edit, GetParent(edit));
  DestroyWindow(dlg);
}

TEST_F(Discovery, ASimpleComboBoxsListGetsTheSkinnedBars) {
  auto* combo = Add<TComboBox>();
  combo->SetStyle(csSimple);
  combo->SetBounds(8, 8, 150, 100);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
  Skin();
  EXPECT_TRUE(dynamic_cast<TSkinScrollBar*>(skinner->FindWindowSkinner(info.hwndList)));
}

TEST_F(Discovery, PlainDialogFieldsThatScrollGetSkinnedBarsAndADarkEdge) {
  data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 420, 220,
                             nullptr, nullptr, nullptr, nullptr);
  auto field = [&](const char* cls, DWORD style, int x) {
    return CreateWindowExA(WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE | style, x, 10, 120, 120, dlg,
                           nullptr, nullptr, nullptr);
  };
  HWND memo = field("EDIT", ES_MULTILINE | WS_VSCROLL, 10);
  HWND list = field("LISTBOX", WS_VSCROLL | LBS_DISABLENOSCROLL, 140);
  HWND simple = field("COMBOBOX", CBS_SIMPLE, 270);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(simple, &info));
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  for (HWND w : {memo, list, info.hwndList}) {
    EXPECT_TRUE(dynamic_cast<TSkinScrollBar*>(plain->FindWindowSkinner(w))) << WindowClassName(w);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(w, &r);
    // The edge's bottom-left pixels: the system draws them white and light grey.
    const int h = r.bottom - r.top;
    EXPECT_EQ(ScreenPixel(w, 5, h - 1), ColorToRGB(data->Skin.ColourButtonShadow)) << WindowClassName(w);
    EXPECT_EQ(ScreenPixel(w, 5, h - 2), ColorToRGB(data->Skin.ColourWindow)) << WindowClassName(w);
  }
  plain->Detach();
  EXPECT_EQ(plain->FindWindowSkinner(memo), nullptr);
  delete plain;
  DestroyWindow(dlg);
}

TEST_F(Discovery, APlainDialogsSimpleComboBoxRingsItsEditInTheEditsGroundAndShowsTheFaceBelow) {
  HWND dlg = NightPlainDialog();
  HWND simple = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 10, 10, 160, 120, dlg,
                                nullptr, nullptr, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(simple, &info));
  TVuzUrezForm* plain = AttachPlain(dlg);
  RedrawWindow(simple, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // Just above the edit: the system draws a ring there in the window colour, white.
  EXPECT_EQ(ScreenPixel(simple, info.rcItem.left + 5, info.rcItem.top - 1),
            ColorToRGB(data->Skin.ColourWindow));
  // Below its list (whole items only) the combo's ground shows: the face, as around it.
  RECT list{}, combo{};
  GetWindowRect(info.hwndList, &list);
  GetWindowRect(simple, &combo);
  ASSERT_LT(list.bottom, combo.bottom - 1);
  EXPECT_EQ(ScreenPixel(simple, 5, combo.bottom - combo.top - 1), ColorToRGB(data->Skin.ColourButtonFace));
  plain->Detach();
  delete plain;
  DestroyWindow(dlg);
}

TEST_F(Discovery, PlainDialogFieldsAreEdgedAsEditsAreUnderASkinWithoutContentColours) {
  ASSERT_FALSE(data->Skin.ContentColours);
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
  HWND sunken = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 120, dlg,
                                nullptr, nullptr, nullptr);
  HWND bordered = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 140, 10, 120, 120, dlg,
                                  nullptr, nullptr, nullptr);
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  // Without bars to draw, the edge alone tells a skinned field from the system's.
  for (HWND w : {sunken, bordered}) {
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(ScreenPixel(w, 5, r.bottom - r.top - 1), ColorToRGB(data->Skin.ColourButtonShadow))
        << (w == sunken);
  }
  plain->Detach();
  delete plain;
  DestroyWindow(dlg);
}

// The text colour a window gives its label.
TColor LabelInk(HWND parent, HWND label) {
  HDC dc = GetDC(label);
  SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
  auto text = static_cast<TColor>(GetTextColor(dc));
  ReleaseDC(label, dc);
  return text;
}

TEST_F(Discovery, PlainDialogTextReadsOnTheSkinsFace) {
  data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 10, 10, 120, 24, dlg, nullptr,
                               nullptr, nullptr);
  auto ink = [&] { return LabelInk(dlg, label); };
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  EXPECT_GE(std::abs(Lightness(ink()) - Lightness(data->Skin.ColourButtonFace)), 80);
  plain->Detach();
  EXPECT_EQ(ink(), ColorToRGB(clWindowText));
  delete plain;
  DestroyWindow(dlg);
}

// A child dialog's template in memory: no frame, one push button (IDOK).
std::vector<DLGTEMPLATE> ChildDialogTemplate() {
  std::vector<DLGTEMPLATE> t(8);  // DWORD-aligned room for the header and one item
  auto* words = reinterpret_cast<WORD*>(t.data());
  t[0].style = WS_CHILD | WS_VISIBLE | DS_CONTROL;
  t[0].cdit = 1;
  t[0].cx = 100;
  t[0].cy = 30;
  words += sizeof(DLGTEMPLATE) / sizeof(WORD) + 3;  // no menu, class or title
  if (reinterpret_cast<std::uintptr_t>(words) % 4) ++words;
  auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(words);
  *item = {WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 4, 4, 50, 14, IDOK};
  words = reinterpret_cast<WORD*>(item + 1);
  *words++ = 0xFFFF;
  *words++ = 0x0080;  // the button class
  *words++ = 'O';
  *words++ = 'K';
  *words++ = 0;  // title
  *words = 0;    // no creation data
  return t;
}

INT_PTR CALLBACK PaneProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(Discovery, ADialogNestedInAPlainDialogTakesItsFaceAndItsControlsAreSkinned) {
  data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
  HWND pane = CreateWindowExA(WS_EX_CONTROLPARENT, "#32770", "", WS_CHILD | WS_VISIBLE, 0, 0, 280, 120, dlg,
                              nullptr, nullptr, nullptr);
  HWND label = CreateWindowExA(0, "STATIC", "label", WS_CHILD | WS_VISIBLE, 10, 10, 60, 20, pane, nullptr,
                               nullptr, nullptr);
  HWND ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 40, 80, 24, pane,
                            nullptr, nullptr, nullptr);
  auto ink = [&] { return LabelInk(pane, label); };
  auto ground = [&] {
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return ScreenPixel(pane, 200, 100);
  };
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  EXPECT_NE(dynamic_cast<TSkinButton*>(plain->FindWindowSkinner(ok)), nullptr);
  EXPECT_EQ(ground(), ColorToRGB(data->Skin.ColourButtonFace));
  EXPECT_GE(std::abs(Lightness(ink()) - Lightness(data->Skin.ColourButtonFace)), 80);
  // A dialog made inside the window once it is skinned (a common dialog makes its program's part
  // while it initialises): its controls come from its template, after it was created.
  HWND late = CreateDialogIndirectParamA(nullptr, ChildDialogTemplate().data(), dlg, PaneProc, 0);
  ASSERT_NE(late, nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(plain->FindWindowSkinner(GetDlgItem(late, IDOK))), nullptr);
  plain->Detach();
  EXPECT_EQ(ink(), ColorToRGB(clWindowText));
  EXPECT_NE(ground(), ColorToRGB(data->Skin.ColourButtonFace));
  delete plain;
  DestroyWindow(dlg);
}

TEST_F(Discovery, APlainWindowsBarsAreSkinnedAndAToolBarStandsOnTheSkinsGround) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
  InitCommonControlsEx(&icc);
  data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
  HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, dlg, nullptr,
                                nullptr, nullptr);
  HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_TOP, 0, 0, 300, 30, dlg,
                               nullptr, nullptr, nullptr);
  HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER,
                             0, 0, 280, 26, rebar, nullptr, nullptr, nullptr);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON button{I_IMAGENONE, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
  band.hwndChild = bar;
  band.cyMinChild = band.cyChild = 26;
  band.cx = 280;
  SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  EXPECT_NE(dynamic_cast<TSkinStatusBar*>(plain->FindWindowSkinner(status)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinRebar*>(plain->FindWindowSkinner(rebar)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinToolbar*>(plain->FindWindowSkinner(bar)), nullptr) << "walked inside the rebar";
  // Right of its one button the bar shows the ground frame of the skin's tool bar element.
  const TDataSkinObject& e = *data->Skin.Toolbars;
  TFrameCell ground = FrameCell(e.Bitmap, false, 5, 0);
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(ScreenPixel(bar, 200, 13), e.Bitmap.Pixel(ground.X + ground.Width / 2, ground.Height / 2));
  // Its texts are written in a colour that reads on that ground, where the program leaves them to
  // the bar.
  NMTBCUSTOMDRAW draw{};
  draw.nmcd.hdr = {bar, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
  draw.nmcd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(SendMessageA(dlg, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
  draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
  draw.clrText = GetSysColor(COLOR_BTNTEXT);
  SendMessageA(dlg, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_GE(std::abs(Lightness(static_cast<TColor>(draw.clrText)) - Lightness(data->Skin.ColourButtonFace)),
            80);
  // A bar the program adds once the window is skinned is skinned as it comes.
  HWND late = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, dlg, nullptr,
                              nullptr, nullptr);
  EXPECT_NE(dynamic_cast<TSkinStatusBar*>(plain->FindWindowSkinner(late)), nullptr);
  plain->Detach();
  EXPECT_EQ(plain->FindWindowSkinner(bar), nullptr);
  delete plain;
  DestroyWindow(dlg);
}

// A window class of a program's own that holds a list view (report style, one column) above a
// tree view, made as it is created (as a file dialog's shell view makes its list).
LRESULT CALLBACK ViewsPaneProc(HWND pane, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_CREATE) return DefWindowProcA(pane, msg, wp, lp);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                              200, 100, pane, nullptr, nullptr, nullptr);
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 120;
  column.pszText = const_cast<char*>("Name");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE, 0, 100, 200, 100, pane, nullptr,
                  nullptr, nullptr);
  return 0;
}

TEST_F(Discovery, PlainListAndTreeViewsInAProgramsOwnContainerTakeTheContentColours) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSA wc{};
  wc.lpfnWndProc = ViewsPaneProc;
  wc.lpszClassName = "DiscoveryPane";
  RegisterClassA(&wc);
  data.reset(NewSkinData(FileBytes(kDarkSkin), sfOnlyThisForm, false));
  HWND top = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 60, 60, 420, 260,
                             nullptr, nullptr, nullptr, nullptr);
  // One container made before the window is skinned, one after.
  auto pane = [&](int x) {
    HWND p = CreateWindowExA(0, "DiscoveryPane", "", WS_CHILD | WS_VISIBLE, x, 0, 200, 200, top, nullptr,
                             nullptr, nullptr);
    return std::pair{FindWindowExA(p, nullptr, WC_LISTVIEWA, nullptr),
                     FindWindowExA(p, nullptr, WC_TREEVIEWA, nullptr)};
  };
  const auto [list, tree] = pane(0);
  const LRESULT listBack = SendMessageA(list, LVM_GETBKCOLOR, 0, 0),
                listText = SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0);
  const LRESULT treeBack = SendMessageA(tree, TVM_GETBKCOLOR, 0, 0),
                treeText = SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0);
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = top;
  plain->AttachWindow(data.get());
  const auto later = pane(200);
  const auto back = static_cast<LRESULT>(ColorToRGB(data->Skin.ColourWindow));
  for (HWND view : {list, tree, later.first, later.second})
    EXPECT_NE(dynamic_cast<TSkinView*>(plain->FindWindowSkinner(view)), nullptr) << WindowClassName(view);
  EXPECT_NE(dynamic_cast<TSkinDialogPane*>(plain->FindWindowSkinner(GetParent(list))), nullptr)
      << "the container's ground is the face";
  auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  EXPECT_NE(dynamic_cast<TSkinHeader*>(plain->FindWindowSkinner(header)), nullptr);
  EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), back);
  EXPECT_EQ(SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0), back);
  EXPECT_EQ(SendMessageA(later.second, TVM_GETBKCOLOR, 0, 0), back);
  for (LRESULT text :
       {SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0)})
    EXPECT_GE(std::abs(Lightness(static_cast<TColor>(text)) - Lightness(data->Skin.ColourWindow)), 80);
  // A skin without content colours gives the views their own back.
  Load(kDefaultSkin);
  plain->Reskin();
  EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), listBack);
  Load(kDarkSkin);
  plain->Reskin();
  EXPECT_EQ(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), back);
  plain->Detach();
  EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), listBack);
  EXPECT_EQ(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), listText);
  EXPECT_EQ(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0), treeBack);
  EXPECT_EQ(SendMessageA(tree, TVM_GETTEXTCOLOR, 0, 0), treeText);
  EXPECT_EQ(plain->FindWindowSkinner(tree), nullptr);
  delete plain;
  DestroyWindow(top);
}

// Every kind of control skinned now, on one form.
void AddEveryKind(TForm* form) {
  auto place = [&](TControl* c, int i) {
    c->SetParent(form);
    c->SetBounds(8 + (i % 3) * 120, 8 + (i / 3) * 34, 110, 26);
  };
  int i = 0;
  place(new TButton(form), i++);
  place(new TCheckBox(form), i++);
  place(new TRadioButton(form), i++);
  place(new TEdit(form), i++);
  place(new TComboBox(form), i++);
  place(new TGroupBox(form), i++);
  place(new TPanel(form), i++);
  place(new TUpDown(form), i++);
}

void PaintAll(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

TEST_F(Discovery, ManyCyclesAndSkinSwitchesLeakNothing) {
  AddEveryKind(form);
  form->Show();
  auto cycle = [&] {
    skinner = new TVuzUrezForm(form);
    skinner->Handle = form->Handle();
    skinner->AttachForm(data.get(), form);
    PaintAll(form->Handle());
    skinner->Detach();
    delete skinner;
    skinner = nullptr;
  };
  for (int n = 0; n < 10; ++n) cycle();  // the system's caches (DCs, fonts) filled
  long gdi = GdiObjectsInUse();
  int thunks = TWindowSubclass::ThunksAlive(), skinners = TSkinControl::Alive();
  for (int n = 0; n < 500; ++n) cycle();
  std::printf("500 skinning cycles: GDI objects %+ld, thunks %+d, control skinners %+d\n",
              GdiObjectsInUse() - gdi, TWindowSubclass::ThunksAlive() - thunks,
              TSkinControl::Alive() - skinners);
  EXPECT_LE(GdiObjectsInUse(), gdi + 5);  // a few system caches may fill; a leak per cycle is hundreds
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), thunks);
  EXPECT_EQ(TSkinControl::Alive(), skinners);

  Skin();
  std::size_t listed = skinner->ControlSkinners().size();
  auto load = [&](const char* path) {
    Load(path);
    skinner->ClearSysButtons();
    skinner->BuildSysButtons();
    skinner->Reskin();
    PaintAll(form->Handle());
  };
  for (int n = 0; n < 5; ++n) {  // caches of both skins filled
    load(kDarkSkin);
    load(kDefaultSkin);
  }
  gdi = GdiObjectsInUse();
  for (int n = 0; n < 250; ++n) {
    load(kDarkSkin);
    load(kDefaultSkin);
  }
  std::printf("500 skin switches: GDI objects %+ld, listed skinners %zu -> %zu\n", GdiObjectsInUse() - gdi,
              listed, skinner->ControlSkinners().size());
  EXPECT_LE(GdiObjectsInUse(), gdi + 5);
  EXPECT_EQ(skinner->ControlSkinners().size(), listed);
}

TEST_F(Discovery, PlainDialogChildrenByClassAndStyle) {
  HWND dlg = CreateWindowExA(0, "#32770", "Plain", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 60, 60,
                             300, 200, nullptr, nullptr, nullptr, nullptr);
  auto child = [&](const char* cls, DWORD style, int id) {
    return CreateWindowExA(0, cls, "x", WS_CHILD | WS_VISIBLE | style, 10, 10 + 26 * id, 120, 24, dlg,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  HWND check = child("BUTTON", BS_AUTOCHECKBOX, 1);
  HWND ok = child("BUTTON", BS_DEFPUSHBUTTON, 2);
  HWND group = child("BUTTON", BS_GROUPBOX, 3);
  HWND owner = child("BUTTON", BS_OWNERDRAW, 4);
  HWND edit = child("EDIT", WS_BORDER, 5);
  auto* plain = new TVuzUrezForm(nullptr);
  plain->Handle = dlg;
  plain->AttachWindow(data.get());
  EXPECT_NE(dynamic_cast<TSkinCheckBox*>(plain->FindWindowSkinner(check)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(plain->FindWindowSkinner(ok)), nullptr);
  EXPECT_EQ(plain->FindWindowSkinner(group), nullptr);
  EXPECT_EQ(plain->FindWindowSkinner(owner), nullptr);
  EXPECT_NE(dynamic_cast<TSkinEdit*>(plain->FindWindowSkinner(edit)), nullptr);
  plain->Detach();
  delete plain;
  DestroyWindow(dlg);
}

// While it lives, windows made are the common controls' version 6 ones (themed under Wine), as
// in a program whose manifest asks for them.
class TCommonControls6 {
 public:
  TCommonControls6() {
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "daskel-cc6-" + std::to_string(GetCurrentProcessId()) + ".manifest";
    std::ofstream(path_) << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                            "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
                            "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
                            "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                            "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
                            "</dependentAssembly></dependency></assembly>";
    ACTCTXA a{};
    a.cbSize = sizeof a;
    a.lpSource = path_.c_str();
    context_ = CreateActCtxA(&a);
    if (context_ != INVALID_HANDLE_VALUE) ActivateActCtx(context_, &cookie_);
  }
  ~TCommonControls6() {
    if (context_ != INVALID_HANDLE_VALUE) {
      DeactivateActCtx(0, cookie_);
      ReleaseActCtx(context_);
    }
    DeleteFileA(path_.c_str());
  }
  bool Active() const { return context_ != INVALID_HANDLE_VALUE; }

 private:
  std::string path_;
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

TEST_F(Discovery, AThemedDisabledDropDownListStandsOnTheSkinsFace) {
  HWND dlg = NightPlainDialog();
  HWND combo = nullptr;
  {
    TCommonControls6 v6;
    ASSERT_TRUE(v6.Active());
    combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_DISABLED | CBS_DROPDOWNLIST, 10, 10,
                            150, 200, dlg, nullptr, nullptr, nullptr);
  }
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("W"));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  TVuzUrezForm* plain = AttachPlain(dlg);
  const TColor face = ColorToRGB(data->Skin.ColourButtonFace);
  RECT c{};
  GetClientRect(combo, &c);
  const int b = GetSystemMetrics(SM_CXHSCROLL);
  auto faceOnly = [&] {  // right of the text, left of the button
    for (int y = 4; y < c.bottom - 4; ++y)
      for (int x = c.right / 2; x < c.right - b - 6; ++x)
        if (ScreenPixel(combo, x, y) != face) return false;
    return true;
  };
  EXPECT_TRUE(PumpUntil(faceOnly));
  plain->Detach();
  delete plain;
  DestroyWindow(dlg);
}

TEST_F(Discovery, ALabelRunningUnderAButtonNeverCoversIt) {
  HWND dlg = NightPlainDialog();
  ShowWindow(dlg, SW_HIDE);  // skinned before it is shown, as a dialog is
  // Made first, as a template makes it: the label is above the button in the sibling order.
  HWND label = CreateWindowExA(0, "STATIC", "Formats", WS_CHILD | WS_VISIBLE, 10, 10, 200, 30, dlg, nullptr,
                               nullptr, nullptr);
  HWND ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 150, 25, 80, 24, dlg,
                            nullptr, nullptr, nullptr);
  HWND apart = CreateWindowExA(0, "STATIC", "apart", WS_CHILD | WS_VISIBLE, 10, 100, 100, 20, dlg, nullptr,
                               nullptr, nullptr);
  TVuzUrezForm* plain = AttachPlain(dlg);
  ShowWindow(dlg, SW_SHOW);
  // The button's corner that the label runs over, as the button paints it.
  auto corner = [&] {
    std::vector<TColor> px;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 60; ++x) px.push_back(ScreenPixel(ok, x, y));
    return px;
  };
  RedrawWindow(ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<TColor> button = corner();
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(corner() == button) << "the label, painted after the button, left it alone";
  EXPECT_EQ(plain->FindWindowSkinner(apart), nullptr) << "a label clear of every control is left as it is";
  EXPECT_NE(plain->FindWindowSkinner(label), nullptr);
  EXPECT_EQ(SendMessageA(label, WM_SKINQUERY, 0, 0), 0)
      << "its look is the label's own: not a skinned control";
  plain->Detach();
  delete plain;
  DestroyWindow(dlg);
}

}  // namespace
