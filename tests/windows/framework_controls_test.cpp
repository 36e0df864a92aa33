// Controls under Wine: WindowProc replaced and given back while messages flow, hover tracking for
// windowed and windowless controls, the masked edit, the spinner, check box and combo box.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "tests/windows/framework_test_form.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { f->Free(); }
};
using FormPtr = std::unique_ptr<TFrameworkTestForm, FormDeleter>;

// Sees a control's messages through its WindowProc and passes them on.
class TSpy : public TObject {
 public:
  explicit TSpy(TControl* c) : control(c), saved(c->WindowProc) {}
  void Attach() { control->WindowProc = TWndMethod(this, &TSpy::Proc); }
  void Detach() { control->WindowProc = saved; }
  void Proc(TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);
  }
  int Count(unsigned msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
  TControl* control;
  TWndMethod saved;
  std::vector<unsigned> seen;
};

TEST(FrameworkControls, WindowProcIsReplacedAndRestoredExactly) {
  FormPtr f(MakeTestForm());
  f->Show();
  TWndMethod original = f->Button1->WindowProc;
  TSpy spy(f->Button1);
  spy.Attach();
  EXPECT_FALSE(f->Button1->WindowProc == original);
  const unsigned probe = WM_USER + 77;
  PostMessageA(f->Button1->Handle(), probe, 0, 0);
  SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);  // still a working button underneath
  EXPECT_TRUE(PumpUntil([&] { return spy.Count(probe) == 1; }));
  EXPECT_GE(spy.Count(CN_COMMAND), 1) << "reflected notifications pass through too";
  EXPECT_EQ(std::count(f->log.begin(), f->log.end(), "button"), 1);
  // Given back while more messages are queued: they reach the control, not the spy.
  PostMessageA(f->Button1->Handle(), probe, 0, 0);
  spy.Detach();
  EXPECT_TRUE(f->Button1->WindowProc == original);
  PumpPending();
  EXPECT_EQ(spy.Count(probe), 1);
  SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(std::count(f->log.begin(), f->log.end(), "button"), 2);
  // Perform goes through the replaced procedure as well.
  spy.Attach();
  f->Button1->Perform(probe, 0, 0);
  spy.Detach();
  EXPECT_EQ(spy.Count(probe), 2);
}

// Enters and leaves of one control alternate, starting with an enter; returns the number of
// enters, or -1 when two of a kind follow each other.
int HoverPairs(const TSpy& spy) {
  int enters = 0;
  bool inside = false;
  for (unsigned m : spy.seen) {
    if (m == CM_MOUSEENTER) {
      if (inside) return -1;
      inside = true;
      ++enters;
    } else if (m == CM_MOUSELEAVE) {
      if (!inside) return -1;
      inside = false;
    }
  }
  return enters;
}

TEST(FrameworkControls, MouseEnterAndLeaveReachWindowedAndWindowlessControls) {
  FormPtr f(MakeTestForm());
  f->Show();
  PumpPending();
  TSpy button(f->Button1), label(f->Label1), edit(f->Edit1);
  button.Attach();
  label.Attach();
  edit.Attach();
  // The real cursor stays away; moves are sent as the system would send them.
  SetCursorPos(5, 5);
  PumpPending();
  auto moveTo = [&](TWinControl* receiver, TControl* c) {
    POINT p = c->ClientToScreen(POINT{c->Width() / 2, c->Height() / 2});
    ScreenToClient(receiver->Handle(), &p);
    SendMessageA(receiver->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(c->MouseInControl()) << c->Name();
  };
  moveTo(f->Button1, f->Button1);
  moveTo(f->GroupBox1, f->Label1);  // windowless, inside the group box
  EXPECT_FALSE(f->Button1->MouseInControl());
  moveTo(f->Edit1, f->Edit1);
  EXPECT_FALSE(f->Label1->MouseInControl());
  moveTo(f->Edit1, f->Edit1);  // moving inside is no new enter
  // The system tells the tracked window it was left; the real cursor is elsewhere indeed.
  SendMessageA(f->Edit1->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(f->Edit1->MouseInControl());
  EXPECT_EQ(TControl::MouseControl(), nullptr);
  for (const TSpy* s : {&button, &label, &edit}) {
    EXPECT_EQ(HoverPairs(*s), 1) << s->control->Name();
    EXPECT_EQ(s->Count(CM_MOUSEENTER), s->Count(CM_MOUSELEAVE)) << s->control->Name();
  }
  button.Detach();
  label.Detach();
  edit.Detach();
}

TEST(FrameworkControls, MaskedEditFormatsProgramTextAndFiltersTyping) {
  FormPtr f(MakeTestForm());
  TMaskEdit* e = f->MaskEdit1;
  f->log.clear();
  e->SetText("75");
  EXPECT_EQ(e->Text(), "75");
  e->SetText("7");
  EXPECT_EQ(e->Text(), " 7") << "missing digits become leading blanks";
  e->SetText("7");
  EXPECT_EQ(f->log, (std::vector<std::string>{"mask:75", "mask: 7"})) << "same text is no change";
  e->SetText("x");
  EXPECT_EQ(e->Text(), "  ");
  f->Show();
  e->SetText("");
  e->SetFocus();
  e->SelectAll();
  f->log.clear();
  SendMessageA(e->Handle(), WM_CHAR, 'a', 0);
  EXPECT_EQ(e->Text(), "  ") << "letters refused";
  SendMessageA(e->Handle(), WM_CHAR, '4', 0);
  EXPECT_EQ(e->Text(), "4 ");
  SendMessageA(e->Handle(), WM_CHAR, '2', 0);
  EXPECT_EQ(e->Text(), "42");
  SendMessageA(e->Handle(), WM_CHAR, '9', 0);
  EXPECT_EQ(e->Text(), "42") << "no room left";
  SendMessageA(e->Handle(), WM_CHAR, '\b', 0);
  EXPECT_EQ(e->Text(), "4 ");
  EXPECT_EQ(f->log, (std::vector<std::string>{"mask:4 ", "mask:42", "mask:4 "}));
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETLIMITTEXT, 0, 0), 2);
}

TEST(FrameworkControls, UpDownClicksReportTheArrowAndStayInRange) {
  FormPtr f(MakeTestForm());
  f->Show();
  f->UpDown1->SetPosition(58);
  f->log.clear();
  HWND ud = f->UpDown1->Handle();
  RECT r;
  GetClientRect(ud, &r);
  auto click = [&](bool upper) {
    LPARAM at = MAKELPARAM(r.right / 2, upper ? 2 : r.bottom - 3);
    SendMessageA(ud, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(ud, WM_LBUTTONUP, 0, at);
  };
  click(true);
  click(true);
  click(false);
  EXPECT_EQ(f->log, (std::vector<std::string>{"next:59", "next:59", "prev:58"}));
  f->UpDown1->SetPosition(75);
  EXPECT_EQ(f->UpDown1->Position(), 59);
  f->UpDown1->SetPosition(-3);
  EXPECT_EQ(f->UpDown1->Position(), 0);
}

TEST(FrameworkControls, CheckBoxAndComboBoxReportUserChanges) {
  FormPtr f(MakeTestForm());
  f->Show();
  f->log.clear();
  SendMessageA(f->CheckBox1->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(f->CheckBox1->Checked());
  EXPECT_EQ(SendMessageA(f->CheckBox1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  f->ComboBox1->SetItemIndex(1);  // by the program: no change event
  EXPECT_EQ(f->ComboBox1->Text(), "明天");
  SendMessageA(f->ComboBox1->Handle(), CB_SETCURSEL, 0, 0);
  SendMessageA(f->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f->ComboBox1->Handle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(f->ComboBox1->Handle()));
  EXPECT_EQ(f->ComboBox1->ItemIndex(), 0);
  f->ComboBox1->Items()->Clear();
  EXPECT_EQ(f->ComboBox1->ItemIndex(), -1);
  EXPECT_EQ(f->log, (std::vector<std::string>{"checked", "combo"}));
}

TEST(FrameworkControls, ControlsMadeAtRunTimeAppearOnAShownForm) {
  FormPtr f(MakeTestForm());
  f->Show();
  auto* e = new TEdit(f.get());
  e->SetParent(f.get());
  e->SetBounds(15, 93, 200, 21);
  e->SetText("提示");
  EXPECT_TRUE(e->HandleAllocated());
  EXPECT_EQ(GetParent(e->Handle()), f->Handle());
  EXPECT_TRUE(IsWindowVisible(e->Handle()));
  HWND wnd = e->Handle();
  delete e;
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(f->FindComponent(""), nullptr);
}

TEST(FrameworkControls, AComboBoxsEditTakesTheComboBoxsColours) {
  std::unique_ptr<TForm, FormDeleter> f(new TForm(nullptr));
  f->Show();
  auto* combo = new TComboBox(f.get());
  combo->SetParent(f.get());
  combo->SetColor(static_cast<TColor>(0x00203040));
  HWND edit = GetWindow(combo->Handle(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  HDC dc = GetDC(edit);
  SendMessageA(combo->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(GetBkColor(dc), 0x00203040u);
  ReleaseDC(edit, dc);
}

TEST(FrameworkControls, GroupBoxCaptionShowsShiftOutCharactersAsThinSpaces) {
  std::unique_ptr<TForm, FormDeleter> f(new TForm(nullptr));
  f->SetBounds(40, 40, 260, 160);
  f->Show();
  auto box = [&](int top, const char* caption) {
    auto* g = new TGroupBox(f.get());
    g->SetParent(f.get());
    g->SetBounds(10, top, 200, 40);
    g->SetCaption(caption);
    return g;
  };
  TGroupBox* marked = box(10,
                          "\x0E时间\x0E\x0E"
                          "AB\x0E");
  TGroupBox* plain = box(60, "时间AB");
  EXPECT_EQ(GetWindowTextLengthA(marked->Handle()), 10) << "the text keeps them";
  // The letters' dark pixels in the caption's rows: the same letters, moved apart, and no box.
  auto ink = [](TGroupBox* g) {
    int n = 0, last = 0;
    HDC dc = GetDC(g->Handle());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 200; ++x) {
        COLORREF c = GetPixel(dc, x, y);
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++n, last = std::max(last, x);
      }
    ReleaseDC(g->Handle(), dc);
    return std::make_pair(n, last);
  };
  EXPECT_TRUE(PumpUntil([&] { return ink(marked).first == ink(plain).first && ink(plain).first > 0; }));
  EXPECT_GT(ink(marked).second, ink(plain).second) << "the marks take some room";
}

}  // namespace

namespace {

// Input as the system delivers it to the thread's queue: the application's own loop (dialog
// keys included) handles it. (Real cursor and keyboard input is not used here: the test desktop
// is shared with other programs that move the mouse and take the focus.)
// Everything queued, and what handling it queues in turn (TranslateMessage's characters).
void RunApp() { Application->ProcessMessages(); }

void ClickOn(TWinControl* c) {
  // A button takes the mouse capture on the press, which the system grants the foreground.
  SetForegroundWindow(GetAncestor(c->Handle(), GA_ROOT));
  LPARAM at = MAKELPARAM(c->Width() / 2, c->Height() / 2);
  PostMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(c->Handle(), WM_LBUTTONUP, 0, at);
  RunApp();
}

// The loop's TranslateMessage makes the character of the key.
void PressKey(WORD vk) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, vk, 1);
  PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
  RunApp();
}

// One pass; "" when everything behaved, else what did not.
std::string InputPass() {
  FormPtr f(MakeTestForm());
  f->Show();
  RunApp();
  f->log.clear();
  ClickOn(f->Button1);
  ClickOn(f->CheckBox1);
  if (f->log != std::vector<std::string>{"button", "checked"}) return "clicks";
  // Space toggles the focused check box, Tab moves on in tab order, Enter clicks the default.
  f->CheckBox1->SetFocus();
  PressKey(VK_SPACE);
  if (f->CheckBox1->Checked()) return "space";
  f->CheckBox1->SetFocus();
  PressKey(VK_TAB);
  if (!f->Edit1->Focused()) return "tab order: CheckBox1 (2) then Edit1 (3)";
  f->log.clear();
  PressKey(VK_RETURN);
  if (f->log != std::vector<std::string>{"button"}) return "Enter clicks the default button";
  // The masked edit takes typed digits, not letters.
  f->MaskEdit1->SetFocus();
  f->MaskEdit1->SelectAll();
  PressKey('3');
  PressKey('X');
  if (f->MaskEdit1->Text() != "3 ") return "typing gave '" + f->MaskEdit1->Text() + "'";
  return "";
}

TEST(FrameworkControls, MouseAndKeyboardThroughTheApplicationLoop) {
  // Other programs on the shared test desktop take the foreground now and then, which costs a
  // pass its capture or focus: such a pass is tried again; a fault fails every pass.
  std::string why;
  for (int attempt = 0; attempt < 4; ++attempt) {
    why = InputPass();
    if (why.empty()) break;
  }
  EXPECT_EQ(why, "");
}

}  // namespace
