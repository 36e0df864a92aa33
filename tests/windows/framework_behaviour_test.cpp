// Behaviour of forms and controls that code relies on: fonts and colours following the parent,
// anchors on every side, close actions, modal results, timers, windows made again, painting of
// windowless controls, errors in handlers and in layouts.
#include <gtest/gtest.h>

#include <memory>

#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "tests/windows/framework_test_form.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { f->Free(); }
};
using FormPtr = std::unique_ptr<TFrameworkTestForm, FormDeleter>;

// Receives events the tests wire up by hand.
struct TRecorder : TObject {
  std::vector<std::string> log;
  TCloseAction action = caHide;
  bool allowClose = true;
  std::function<void()> onClick;
  void Close(TObject*, TCloseAction& a) {
    log.push_back("close");
    a = action;
  }
  void CloseQuery(TObject*, bool& can) {
    log.push_back("query");
    can = allowClose;
  }
  void Click(TObject*) {
    log.push_back("click");
    if (onClick) onClick();
  }
  void Error(TObject*, const std::string& text) { log.push_back("error: " + text); }
};

TEST(FrameworkBehaviour, FontAndColourFollowTheParentUntilSetOwn) {
  FormPtr f(MakeTestForm());
  f->Font()->SetName("Arial");
  EXPECT_EQ(f->Button1->Font()->Name(), "Arial");
  EXPECT_EQ(f->ComboBox1->Font()->Name(), "Arial") << "through the group box";
  EXPECT_NE(f->Label1->Font()->Name(), "Arial") << "has a font of its own";
  f->Button1->Font()->SetHeight(-20);
  EXPECT_FALSE(f->Button1->ParentFont());
  f->Font()->SetName("Courier New");
  EXPECT_EQ(f->Button1->Font()->Name(), "Arial");
  f->Button1->SetParentFont(true);
  EXPECT_EQ(f->Button1->Font()->Name(), "Courier New");
  EXPECT_TRUE(f->Button1->ParentFont());
  // Colours: the group box and the check box take the form's, the edit keeps its own.
  f->SetColor(clRed);
  EXPECT_EQ(f->GroupBox1->Color(), clRed);
  EXPECT_EQ(f->CheckBox1->Color(), clRed);
  EXPECT_EQ(f->Edit1->Color(), clWindow);
  f->CheckBox1->SetParentColor(false);
  f->SetColor(clBlue);
  EXPECT_EQ(f->CheckBox1->Color(), clRed);
  EXPECT_EQ(f->Label1->Color(), clBlue) << "a label in the group box, two levels down";
  // A shown window takes the new font at once.
  f->Show();
  f->Edit1->Font()->SetName("Arial");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(f->Edit1->Handle(), WM_GETFONT, 0, 0)),
            f->Edit1->Font()->Handle());
}

TEST(FrameworkBehaviour, AnchorsOnEverySide) {
  FormPtr f(MakeTestForm());
  auto* right = new TButton(f.get());
  right->SetParent(f.get());
  right->SetBounds(200, 10, 50, 20);
  right->SetAnchors(Anchor(akTop) | Anchor(akRight));
  auto* stretch = new TEdit(f.get());
  stretch->SetParent(f.get());
  stretch->SetBounds(10, 10, 100, 20);
  stretch->SetAnchors(Anchor(akLeft) | Anchor(akTop) | Anchor(akRight) | Anchor(akBottom));
  auto* label = new TLabel(f.get());
  label->SetParent(f.get());
  label->SetBounds(20, 100, 30, 13);
  label->SetAnchors(Anchor(akLeft) | Anchor(akBottom));
  // Anchored to the far edges inside a container whose window is made when the form shows.
  auto* panel = new TPanel(f.get());
  panel->SetParent(f.get());
  panel->SetBounds(150, 40, 100, 50);
  auto* corner = new TButton(f.get());
  corner->SetParent(panel);
  corner->SetBounds(60, 20, 30, 20);
  corner->SetAnchors(Anchor(akRight) | Anchor(akBottom));
  f->Show();
  EXPECT_EQ(corner->Left(), 60) << "making the windows moves nothing";
  EXPECT_EQ(corner->Top(), 20);
  f->SetClientWidth(f->ClientWidth() + 30);
  f->SetClientHeight(f->ClientHeight() + 20);
  EXPECT_EQ(right->Left(), 230);
  EXPECT_EQ(right->Width(), 50);
  EXPECT_EQ(stretch->Width(), 130);
  EXPECT_EQ(stretch->Height(), 40);
  EXPECT_EQ(label->Top(), 120) << "windowless controls move too";
  EXPECT_EQ(label->Left(), 20);
}

TEST(FrameworkBehaviour, CloseActionsAndCloseQuery) {
  FormPtr main(MakeTestForm());  // the main form: closing it would end the application
  FormPtr f(MakeTestForm());
  TRecorder r;
  f->OnClose = TCloseEvent(&r, &TRecorder::Close);
  f->OnCloseQuery = TCloseQueryEvent(&r, &TRecorder::CloseQuery);
  f->Show();
  r.allowClose = false;
  f->Close();
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(r.log, std::vector<std::string>{"query"}) << "no OnClose once the query says no";
  r.allowClose = true;
  r.action = caNone;
  SendMessageA(f->Handle(), WM_CLOSE, 0, 0);  // the close box
  EXPECT_TRUE(f->Visible());
  r.action = caHide;
  f->Close();
  EXPECT_FALSE(f->Visible());
  EXPECT_TRUE(IsWindow(f->Handle()));
  f->Show();
  r.action = caMinimize;
  f->Close();
  EXPECT_EQ(f->WindowState(), wsMinimized);
  r.action = caFree;
  HWND wnd = f->Handle();
  f->Close();
  f.release();  // freed by the release message
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
  EXPECT_FALSE(Application->Terminated());
  EXPECT_EQ(Application->FormCount(), 1);
}

TEST(FrameworkBehaviour, ModalResultsFromButtonsAndOnCloseCanRefuse) {
  FormPtr main(MakeTestForm());
  main->Show();
  FormPtr dialog(MakeTestForm());
  dialog->Button1->SetModalResult(mrOk);
  TRecorder r;
  dialog->OnClose = TCloseEvent(&r, &TRecorder::Close);
  int ticks = 0;
  main->onTimer = [&] {
    ++ticks;
    if (ticks == 1) {
      // Refused once by OnClose, then accepted.
      r.action = caNone;
      SendMessageA(dialog->Button1->Handle(), BM_CLICK, 0, 0);
    } else if (ticks == 2) {
      EXPECT_TRUE(dialog->Visible());
      EXPECT_EQ(dialog->ModalResult(), mrNone);
      r.action = caHide;
      SendMessageA(dialog->Button1->Handle(), BM_CLICK, 0, 0);
    }
  };
  main->Timer1->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  main->Timer1->SetEnabled(false);
  EXPECT_EQ(r.log, (std::vector<std::string>{"close", "close"}));
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
}

TEST(FrameworkBehaviour, TimersStartAfterLoadingStopWhenDisabledAndMayFreeThemselves) {
  FormPtr f(MakeTestForm());
  EXPECT_FALSE(f->Timer1->Running()) << "Enabled = False in the layout";
  auto* t = new TTimer(f.get());
  t->SetInterval(20);
  TRecorder r;
  r.onClick = [&] {
    if (r.log.size() == 3) t->SetEnabled(false);
  };
  t->OnTimer = TNotifyEvent(&r, &TRecorder::Click);
  EXPECT_TRUE(t->Running());
  EXPECT_TRUE(PumpUntil([&] { return r.log.size() == 3; }));
  // Long enough for it to have fired again: a second timer of the same interval fires thrice.
  auto* probe = new TTimer(f.get());
  probe->SetInterval(20);
  TRecorder beats;
  probe->OnTimer = TNotifyEvent(&beats, &TRecorder::Click);
  EXPECT_TRUE(PumpUntil([&] { return beats.log.size() >= 3; }));
  EXPECT_EQ(r.log.size(), 3u);
  EXPECT_FALSE(t->Running());
  // A handler may free its own timer.
  r.log.clear();
  r.onClick = [&] { delete t; };
  t->SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return !r.log.empty(); }));
  beats.log.clear();
  EXPECT_TRUE(PumpUntil([&] { return beats.log.size() >= 3; }));
  delete probe;
  EXPECT_EQ(r.log.size(), 1u);
  EXPECT_EQ(f->FindComponent("Timer1"), f->Timer1);
}

TEST(FrameworkBehaviour, ComboBoxKeepsItemsAndChoiceWhenItsWindowIsMadeAgain) {
  FormPtr f(MakeTestForm());
  f->Show();
  f->ComboBox1->Items()->Add("后天");
  f->ComboBox1->SetItemIndex(2);
  HWND before = f->ComboBox1->Handle();
  f->ComboBox1->SetStyle(csDropDown);
  EXPECT_NE(f->ComboBox1->Handle(), before);
  EXPECT_EQ(SendMessageA(f->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(f->ComboBox1->ItemIndex(), 2);
  EXPECT_EQ(f->ComboBox1->Text(), "后天");
  EXPECT_EQ(WindowClass(f->ComboBox1->Handle()), "TComboBox");
  f->ComboBox1->SetItemIndex(7);
  EXPECT_EQ(f->ComboBox1->ItemIndex(), -1) << "out of range means none";
}

TEST(FrameworkBehaviour, FrameworkMessagesGoThroughWindowProc) {
  FormPtr f(MakeTestForm());
  f->Show();
  std::vector<unsigned> seen;
  struct TSpy : TObject {
    TControl* c;
    TWndMethod saved;
    std::vector<unsigned>* seen;
    void Proc(TMessage& m) {
      if (m.Msg >= CM_BASE && m.Msg < CN_BASE) seen->push_back(m.Msg);
      saved(m);
    }
  } spy;
  spy.c = f->Edit1;
  spy.saved = f->Edit1->WindowProc;
  spy.seen = &seen;
  f->Edit1->WindowProc = TWndMethod(&spy, &TSpy::Proc);
  f->Edit1->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(f->Edit1->Handle()));
  f->Edit1->SetText("x");
  f->Edit1->SetColor(RGBColor(255, 255, 0));
  f->Edit1->SetEnabled(true);
  f->Edit1->SetFocus();
  f->Button1->SetFocus();
  f->Edit1->WindowProc = spy.saved;
  EXPECT_EQ(seen, (std::vector<unsigned>{CM_ENABLEDCHANGED, CM_TEXTCHANGED, CM_COLORCHANGED,
                                         CM_ENABLEDCHANGED, CM_ENTER, CM_EXIT}));
}

// Text pixels: black, or grey where the font is smoothed.
bool IsDark(COLORREF c) { return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128; }

// Dark pixels the screen shows where the control is.
int DarkPixels(TControl* c) {
  POINT origin = c->ClientToScreen(POINT{0, 0});
  TWindowDc screen(nullptr);
  int dark = 0;
  for (int y = 0; y < c->Height(); ++y)
    for (int x = 0; x < c->Width(); ++x)
      if (IsDark(GetPixel(screen.Get(), origin.x + x, origin.y + y))) ++dark;
  return dark;
}

TEST(FrameworkBehaviour, WindowlessControlsArePaintedByTheirParent) {
  FormPtr f(MakeTestForm());
  f->SetColor(clWhite);
  f->Label1->Font()->SetColor(clBlack);
  f->Label1->SetCaption("WWWW");
  auto* onForm = new TLabel(f.get());
  onForm->SetParent(f.get());
  onForm->SetBounds(150, 72, 40, 13);
  onForm->Font()->SetColor(clBlack);
  onForm->SetCaption("WWWW");
  f->Show();
  UpdateWindow(f->Handle());
  // Look at the labels' pixels on the screen (one in the group box, one on the form), once the
  // screen shows them.
  EXPECT_TRUE(PumpUntil([&] { return DarkPixels(f->Label1) > 10; }));
  EXPECT_GT(f->Label1->Width(), 20) << "AutoSize fits the caption";
  EXPECT_TRUE(PumpUntil([&] { return DarkPixels(onForm) > 10; })) << "on the form";
}

TEST(FrameworkBehaviour, DoubleBufferedWindowsStillShowTheirWindowlessChildren) {
  FormPtr f(MakeTestForm());
  f->SetColor(clWhite);
  f->GroupBox1->SetDoubleBuffered(true);
  f->Label1->SetCaption("WWWW");
  f->Show();
  RedrawWindow(f->GroupBox1->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(PumpUntil([&] { return DarkPixels(f->Label1) > 10; }));
}

TEST(FrameworkBehaviour, AltLettersReachTheFormAsDialogChars) {
  FormPtr f(MakeTestForm());
  f->Show();
  struct TTaker : TObject {
    TWndMethod saved;
    std::vector<std::uintptr_t> chars;
    void Proc(TMessage& m) {
      if (m.Msg == CM_DIALOGCHAR) {
        chars.push_back(m.WParam);
        m.Result = m.WParam == 'f' ? 1 : 0;  // takes Alt+F only
        if (m.Result) return;
      }
      saved(m);
    }
  } taker;
  taker.saved = f->WindowProc;
  f->WindowProc = TWndMethod(&taker, &TTaker::Proc);
  MSG msg{f->Button1->Handle(), WM_SYSCHAR, 'f', 0x20000000, 0, {0, 0}};
  EXPECT_TRUE(f->IsDialogMessage(msg));
  f->WindowProc = taker.saved;
  EXPECT_EQ(taker.chars, std::vector<std::uintptr_t>{'f'});
}

// Sends the application's errors to a recorder for as long as it lives.
struct TErrorsTo {
  explicit TErrorsTo(TRecorder& r) {
    Application->OnException = TMethod<TObject*, const std::string&>(&r, &TRecorder::Error);
  }
  ~TErrorsTo() { Application->OnException = nullptr; }
};

TEST(FrameworkBehaviour, ErrorsInHandlersStopAtTheWindowProcedure) {
  FormPtr f(MakeTestForm());
  f->Show();
  TRecorder r;
  TErrorsTo errors(r);
  r.onClick = [] { throw std::runtime_error("handler failed"); };
  f->Button1->OnClick = TNotifyEvent(&r, &TRecorder::Click);
  SendMessageA(f->Button1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(r.log, (std::vector<std::string>{"click", "error: handler failed"}));
  EXPECT_TRUE(IsWindow(f->Button1->Handle()));
}

TEST(FrameworkBehaviour, AnErrorInOnIdleGoesToOnException) {
  Application->Initialize();
  TRecorder r;
  TErrorsTo errors(r);
  r.onClick = [] { throw std::runtime_error("idle failed"); };
  Application->OnIdle = TNotifyEvent(&r, &TRecorder::Click);
  UINT_PTR wake = SetTimer(nullptr, 0, 1, nullptr);  // something for the loop to wait for
  MSG pending;
  while (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
  EXPECT_NO_THROW(Application->HandleMessage());
  Application->OnIdle = nullptr;
  KillTimer(nullptr, wake);
  EXPECT_EQ(r.log, (std::vector<std::string>{"click", "error: idle failed"}));
}

TEST(FrameworkBehaviour, AnErrorInsideShowModalLeavesNoWindowDisabled) {
  FormPtr main(MakeTestForm());
  main->Show();
  FormPtr dialog(MakeTestForm());
  TRecorder r;
  TErrorsTo errors(r);
  bool fail = true;
  r.onClick = [&] {
    if (fail) throw std::runtime_error("close failed");
  };
  struct TThrowingClose : TObject {
    TRecorder* r;
    void Close(TObject* s, TCloseAction&) { r->Click(s); }
  } closer;
  closer.r = &r;
  dialog->OnClose = TCloseEvent(&closer, &TThrowingClose::Close);
  int ticks = 0;
  main->onTimer = [&] {
    if (++ticks == 1) {
      dialog->SetModalResult(mrOk);  // the close fails: reported, the dialog stays
    } else if (ticks == 2) {
      EXPECT_TRUE(dialog->Visible());
      fail = false;
      dialog->SetModalResult(mrOk);
    }
  };
  main->Timer1->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  main->Timer1->SetEnabled(false);
  EXPECT_EQ(r.log, (std::vector<std::string>{"click", "error: close failed", "click"}));
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
}

TEST(FrameworkBehaviour, AWindowlessControlShowsItsOwnCursor) {
  FormPtr f(MakeTestForm());
  f->Show();
  SetForegroundWindow(f->Handle());
  TLabel* label = f->Label1;
  label->SetCursor(crHandPoint);
  POINT p = label->Parent()->ClientToScreen(POINT{label->Left() + 1, label->Top() + 1});
  SetCursorPos(p.x, p.y);
  HWND under = WindowFromPoint(p);
  ASSERT_EQ(under, label->Parent()->Handle());
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
  SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

TEST(FrameworkBehaviour, LayoutErrorsOnAFormNameTheLineAndLeaveNoWindows) {
  Application->Initialize();
  auto* f = new TForm(Application);
  std::string error;
  try {
    f->InitializeFormFromText(
        "object F: TForm\n"
        "  object B: TButton\n"
        "    Caption = \"ok\"\n"
        "    Colour = clRed\n"
        "  end\n"
        "end\n",
        "TForm");
  } catch (const ELayoutError& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "TForm(4): unknown property: Colour");
  EXPECT_FALSE(f->HandleAllocated());
  f->Free();
}

TEST(FrameworkBehaviour, MaskedEditDeleteAndPaste) {
  FormPtr f(MakeTestForm());
  f->Show();
  TMaskEdit* e = f->MaskEdit1;
  e->SetText("42");
  e->SetFocus();
  SendMessageA(e->Handle(), EM_SETSEL, 0, 0);
  SendMessageA(e->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(e->Text(), " 2");
  e->SelectAll();
  if (OpenClipboard(f->Handle())) {
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4);
    memcpy(GlobalLock(mem), "5x9", 4);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
  }
  SendMessageA(e->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(e->Text(), "5 ") << "pasting stops at the first refused character";
}

TEST(FrameworkBehaviour, FurtherControlsDropIntoLayouts) {
  Application->Initialize();
  auto* f = new TForm(Application);
  f->InitializeFormFromText(R"(object F: TForm
  ClientWidth = 300
  ClientHeight = 200
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 40
    BevelOuter = bvLowered
    Caption = "panel"
    object Speed1: TSpeedButton
      Left = 4
      Top = 4
      GroupIndex = 1
      Down = True
      Flat = True
    end
    object Speed2: TSpeedButton
      Left = 30
      Top = 4
      GroupIndex = 1
    end
  end
  object Ok: TBitBtn
    Left = 200
    Top = 160
    Kind = bkOK
  end
  object Memo1: TMemo
    Left = 4
    Top = 50
    Lines = ["first", "second"]
    ScrollBars = ssVertical
  end
  object List1: TListBox
    Left = 200
    Top = 50
    Height = 60
    Items = ["a", "b", "c"]
    ItemIndex = 1
  end
  object Progress1: TProgressBar
    Left = 4
    Top = 150
    Max = 10
    Position = 4
  end
  object Track1: TTrackBar
    Left = 4
    Top = 170
    Max = 5
  end
  object Tabs1: TTabControl
    Left = 100
    Top = 110
    Width = 90
    Height = 40
    Tabs = ["one", "two"]
    TabIndex = 1
  end
  object Status1: TStatusBar
    SimpleText = "ready"
  end
end
)",
                            "More");
  f->Show();
  auto find = [&](const char* name) { return static_cast<TWinControl*>(f->FindComponent(name)); };
  EXPECT_EQ(WindowClass(find("Panel1")->Handle()), "TPanel");
  EXPECT_EQ(WindowClass(find("Ok")->Handle()), "TBitBtn");
  EXPECT_EQ(WindowClass(find("Memo1")->Handle()), "TMemo");
  EXPECT_EQ(WindowClass(find("List1")->Handle()), "TListBox");
  EXPECT_EQ(WindowClass(find("Progress1")->Handle()), "TProgressBar");
  EXPECT_EQ(WindowClass(find("Track1")->Handle()), "TTrackBar");
  auto* ok = static_cast<TBitBtn*>(find("Ok"));
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_EQ(f->DefaultButton(), ok);
  // The memo's lines are its text.
  auto* memo = static_cast<TMemo*>(find("Memo1"));
  EXPECT_EQ(memo->Text(), "first\r\nsecond");
  memo->Lines()->Add("third");
  EXPECT_EQ(memo->Lines()->Count(), 3);
  SetWindowTextA(memo->Handle(), "one\r\ntwo");
  EXPECT_EQ(memo->Lines()->Get(1), "two");
  auto* list = static_cast<TListBox*>(find("List1"));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
  auto* progress = static_cast<TProgressBar*>(find("Progress1"));
  progress->SetPosition(25);
  EXPECT_EQ(progress->Position(), 10);
  EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 10);
  auto* track = static_cast<TTrackBar*>(find("Track1"));
  track->SetPosition(3);
  EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 3);
  EXPECT_EQ(WindowClass(find("Tabs1")->Handle()), "TTabControl");
  auto* tabs = static_cast<TTabControl*>(find("Tabs1"));
  EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(tabs->TabIndex(), 1);
  tabs->Tabs()->Delete(1);
  EXPECT_EQ(tabs->TabIndex(), 0) << "the chosen tab went: the last one left";
  auto* status = static_cast<TStatusBar*>(find("Status1"));
  EXPECT_EQ(WindowClass(status->Handle()), "TStatusBar");
  char text[32] = {};
  SendMessageA(status->Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "ready");
  EXPECT_EQ(status->Top() + status->Height(), f->ClientHeight()) << "along the bottom";
  f->SetClientHeight(f->ClientHeight() + 30);
  EXPECT_EQ(status->Top() + status->Height(), f->ClientHeight()) << "and stays there";
  EXPECT_EQ(status->Width(), f->ClientWidth());
  // Speed buttons are windowless: the panel hands them its mouse messages.
  auto* s1 = static_cast<TSpeedButton*>(f->FindComponent("Speed1"));
  auto* s2 = static_cast<TSpeedButton*>(f->FindComponent("Speed2"));
  EXPECT_TRUE(s1->Down());
  LPARAM at = MAKELPARAM(s2->Left() + 5, s2->Top() + 5);
  SendMessageA(find("Panel1")->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(s2->Pressed());
  SendMessageA(find("Panel1")->Handle(), WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(s2->Down());
  EXPECT_FALSE(s1->Down()) << "one of a group is down";
  EXPECT_TRUE(s2->InheritsFrom("TGraphicControl"));
  EXPECT_EQ(GetEnumProp(s1, "Flat"), "True");
  f->Free();
}

}  // namespace
