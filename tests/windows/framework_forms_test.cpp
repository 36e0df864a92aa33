// Forms under Wine: a form read from its layout resource, window classes, anchors, modal loops
// with timers, and the standard message box answered by mouse, Esc and the close box.
#include <gtest/gtest.h>

#include <memory>

#include "tests/windows/framework_test_form.h"

namespace {

struct FormDeleter {
  void operator()(TCustomForm* f) const { f->Free(); }
};
using FormPtr = std::unique_ptr<TFrameworkTestForm, FormDeleter>;

TEST(FrameworkForms, LayoutBuildsTheFormWithFieldsHandlersAndGbkTexts) {
  FormPtr f(MakeTestForm());
  ASSERT_TRUE(f);
  ASSERT_NE(f->Button1, nullptr);
  EXPECT_EQ(f->Name(), "TestForm");
  EXPECT_EQ(f->Caption(), "测试窗口");  // compiled to GBK like the layout text
  EXPECT_EQ(f->log, std::vector<std::string>{"create"});
  EXPECT_EQ(f->Button1->Parent(), f.get());
  EXPECT_EQ(f->ComboBox1->Parent(), f->GroupBox1);
  EXPECT_EQ(f->ComboBox1->Items()->Count(), 2);
  EXPECT_EQ(f->ComboBox1->ItemIndex(), 0);
  EXPECT_EQ(f->ComboBox1->Text(), "今天");
  EXPECT_EQ(f->MaskEdit1->Text(), " 7");  // the mask formats the stored text
  EXPECT_EQ(f->UpDown1->Position(), 1);
  EXPECT_FALSE(f->Timer1->Enabled());
  EXPECT_EQ(f->N1->Parent(), f->PopupMenu1->Items());
  EXPECT_TRUE(f->Font()->Style() & FontStyle(fsBold));
  EXPECT_TRUE(f->Button1->Font()->Style() & FontStyle(fsBold)) << "children follow the form's font";
  EXPECT_FALSE(f->Label1->Font()->Style() & FontStyle(fsBold));
  EXPECT_EQ(f->Button1->TabOrder(), 1);
  EXPECT_EQ(f->Edit1->TabOrder(), 3);
  EXPECT_EQ(f->ClientWidth(), 300);
  EXPECT_EQ(f->ClientHeight(), 130);
  // Owner of everything in the layout is the form, in layout order.
  EXPECT_EQ(f->Components(0), f->GroupBox1);
  EXPECT_EQ(f->FindComponent("button1"), f->Button1);
  // Published properties by name, as the skinning engine reads them.
  EXPECT_EQ(GetEnumProp(f->CheckBox1, "Checked"), "False");
  EXPECT_TRUE(SetEnumProp(f->CheckBox1, "Checked", "True"));
  EXPECT_TRUE(f->CheckBox1->Checked());
  EXPECT_EQ(GetPropInfo(f->Button1, "Flat"), nullptr);
  EXPECT_TRUE(f->CheckBox1->InheritsFrom("TCustomCheckBox"));
  EXPECT_FALSE(f->Button1->InheritsFrom("TCustomCheckBox"));
}

TEST(FrameworkForms, WindowClassesAreNamedAfterFrameworkClasses) {
  FormPtr f(MakeTestForm());
  f->Show();
  EXPECT_EQ(WindowClass(f->Handle()), "TFrameworkTestForm");
  EXPECT_EQ(WindowClass(f->Button1->Handle()), "TButton");
  EXPECT_EQ(WindowClass(f->Edit1->Handle()), "TEdit");
  EXPECT_EQ(WindowClass(f->MaskEdit1->Handle()), "TMaskEdit");
  EXPECT_EQ(WindowClass(f->ComboBox1->Handle()), "TComboBox");
  EXPECT_EQ(WindowClass(f->GroupBox1->Handle()), "TGroupBox");
  EXPECT_EQ(WindowClass(f->UpDown1->Handle()), "TUpDown");
  EXPECT_EQ(WindowClass(f->CheckBox1->Handle()), "TCheckBox");
  EXPECT_EQ(WindowClass(Application->Handle()), "TApplication");
  EXPECT_EQ(GetWindow(f->Handle(), GW_OWNER), Application->Handle());
  // The superclassed controls still behave as the system classes do.
  EXPECT_EQ(SendMessageA(f->ComboBox1->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(f->Edit1->Text(), "单击这里");
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(f->ClientHeight(), 130);
}

TEST(FrameworkForms, BottomAnchoredControlsFollowTheHeight) {
  FormPtr f(MakeTestForm());
  f->Show();
  int buttonTop = f->Button1->Top(), checkTop = f->CheckBox1->Top(), editTop = f->Edit1->Top();
  f->SetClientHeight(f->ClientHeight() + 40);
  EXPECT_EQ(f->ClientHeight(), 170);
  EXPECT_EQ(f->Button1->Top(), buttonTop + 40);
  EXPECT_EQ(f->CheckBox1->Top(), checkTop + 40);
  EXPECT_EQ(f->Edit1->Top(), editTop) << "top-anchored controls stay";
  RECT r;
  GetWindowRect(f->Button1->Handle(), &r);
  MapWindowPoints(nullptr, f->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, buttonTop + 40) << "the window moved, not only the field";
  f->SetClientHeight(f->ClientHeight() - 40);
  EXPECT_EQ(f->Button1->Top(), buttonTop);
}

TEST(FrameworkForms, TimersKeepFiringInsideAModalLoop) {
  FormPtr main(MakeTestForm());
  main->Show();
  FormPtr dialog(MakeTestForm());
  int ticks = 0;
  main->onTimer = [&] {
    // The main form is disabled while the dialog is modal, yet its timer runs.
    if (++ticks == 3) {
      EXPECT_FALSE(IsWindowEnabled(main->Handle()));
      dialog->SetModalResult(mrOk);
    }
  };
  main->Timer1->SetEnabled(true);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  main->Timer1->SetEnabled(false);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(dialog->Visible());
}

// Finds the message box and runs `act` on it from a timer, while MessageDlg runs its loop.
TModalResult AnswerMessageDlg(const std::function<void(HWND form)>& act, std::string* caption = nullptr) {
  FormPtr host(MakeTestForm());
  host->onTimer = [&] {
    HWND box = FindWindowA("TMessageForm", nullptr);
    if (!box || !IsWindowVisible(box)) return;
    host->Timer1->SetEnabled(false);
    if (caption) {
      char text[64] = {};
      GetWindowTextA(box, text, sizeof text);
      *caption = text;
    }
    act(box);
  };
  host->Timer1->SetEnabled(true);
  return MessageDlg("是否继续？", mtConfirmation, mbYesNo, 0);
}

HWND FindButton(HWND box, const char* caption) { return FindWindowExA(box, nullptr, "TButton", caption); }

TEST(FrameworkForms, MessageDlgAnswersYesByClick) {
  std::string caption;
  TModalResult r = AnswerMessageDlg(
      [](HWND box) {
        HWND yes = FindButton(box, "&Yes");
        ASSERT_NE(yes, nullptr);
        EXPECT_NE(FindButton(box, "&No"), nullptr);
        EXPECT_TRUE(SendMessageA(yes, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) << "Yes is the default";
        PostMessageA(yes, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(yes, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      },
      &caption);
  EXPECT_EQ(r, mrYes);
  EXPECT_EQ(caption, "Confirm");
}

TEST(FrameworkForms, MessageDlgAnswersNoByEscape) {
  TModalResult r = AnswerMessageDlg([](HWND box) {
    HWND yes = FindButton(box, "&Yes");
    PostMessageA(yes, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(r, mrNo);
}

TEST(FrameworkForms, MessageDlgAnswersNoByTheCloseBox) {
  TModalResult r = AnswerMessageDlg([](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_EQ(r, mrNo);
}

TEST(FrameworkForms, MessageDlgIsCentredOnTheScreen) {
  RECT box{}, work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  AnswerMessageDlg([&](HWND wnd) {
    GetWindowRect(wnd, &box);
    PostMessageA(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  EXPECT_NEAR(cx, (work.left + work.right) / 2, 2);
  EXPECT_NEAR(cy, (work.top + work.bottom) / 2, 2);
}

TEST(FrameworkForms, ReleaseFreesTheFormAfterQueuedMessagesWithOnDestroyFirst) {
  auto* f = MakeTestForm();
  f->Show();
  HWND wnd = f->Handle();
  std::vector<std::string> events;
  struct TProbe : TComponent {
    TProbe(TComponent* o, std::vector<std::string>* log) : TComponent(o), log_(log) {}
    ~TProbe() override { log_->push_back("freed"); }
    void Destroyed(TObject* sender) {
      // Still a whole form with its window.
      auto* form = static_cast<TFrameworkTestForm*>(sender);
      log_->push_back(form->Button1 && IsWindow(wnd) ? "OnDestroy" : "OnDestroy-late");
    }
    std::vector<std::string>* log_;
    HWND wnd = nullptr;
  };
  auto* probe = new TProbe(f, &events);
  probe->wnd = wnd;
  f->OnDestroy = TNotifyEvent(probe, &TProbe::Destroyed);
  f->Release();
  EXPECT_TRUE(events.empty()) << "not before the queued release message";
  EXPECT_TRUE(PumpUntil([&] { return !events.empty(); }));
  EXPECT_EQ(events, (std::vector<std::string>{"OnDestroy", "freed"}));
  EXPECT_FALSE(IsWindow(wnd));
}

}  // namespace
