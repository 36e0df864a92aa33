// The main window's behaviour with a fake clock and a recording power service: arming, refusal,
// the countdown, the warning a minute before, the action at zero, cancel, and the prompt edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "tests/SchedulerFakes.h"

namespace {

class FakeClock : public TClock {
 public:
  TLocalTime now{2026, 12, 7, 10, 5, 0, 0};
  TLocalTime Now() override { return now; }
};

// Answers the next message box: finds it once it is up, remembers its text, presses a button.
struct BoxAnswer {
  const char* button = "&Yes";  // or "&No", or nullptr for Esc
  int shown = 0;
  std::string text;
  std::string caption;
};
BoxAnswer* g_answer = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("TMessageForm", nullptr);
  if (!box || !IsWindowVisible(box) || !g_answer) return;
  KillTimer(nullptr, id);
  auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(box));
  if (form) {
    if (auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message")))
      g_answer->text = label->Caption();
  }
  char caption[64] = {};
  GetWindowTextA(box, caption, sizeof caption);
  g_answer->caption = caption;
  ++g_answer->shown;
  if (!g_answer->button) {
    PostMessageA(GetFocus() ? GetFocus() : box, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  HWND b = FindWindowExA(box, nullptr, "TButton", g_answer->button);
  if (b) PostMessageA(b, BM_CLICK, 0, 0);
}

class SchedulerForm : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSchedulerServices(&clock, &power);
    Create();
  }
  void TearDown() override {
    form->Free();
    Form1 = nullptr;
    SetSchedulerServices(nullptr, nullptr);
  }
  void Create() {
    if (form) form->Free();
    form = new TForm1(Application);
    Form1 = form;
    form->InitializeForm();
    // Ticks are driven by the test; the real timers must not step in while a box is open.
    form->Timer1->SetInterval(3600000);
    form->Timer2->SetInterval(3600000);
  }
  void Choose(int day, const char* hour, const char* minute, int action = 0) {
    form->ComboBox3->SetItemIndex(day);
    form->ComboBox3Change(nullptr);
    form->ComboBox1->SetItemIndex(form->ComboBox1->Items()->IndexOf(hour));
    form->MaskEdit1->SetText(minute);
    form->ComboBox2->SetItemIndex(action);
  }
  bool ScheduleEnabled() {
    return form->ComboBox1->Enabled() && form->ComboBox2->Enabled() && form->ComboBox3->Enabled() &&
           form->MaskEdit1->Enabled() && form->UpDown1->Enabled() && form->Label1->Enabled() &&
           form->Label2->Enabled() && form->Button1->Enabled();
  }
  bool ScheduleDisabled() {
    return !form->ComboBox1->Enabled() && !form->ComboBox2->Enabled() && !form->ComboBox3->Enabled() &&
           !form->MaskEdit1->Enabled() && !form->UpDown1->Enabled() && !form->Label1->Enabled() &&
           !form->Label2->Enabled() && !form->Button1->Enabled();
  }
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) form->Timer2Timer(nullptr);
  }
  std::string Caption() { return form->GroupBox1->Caption(); }

  FakeClock clock;
  RecordingPower power;
  TForm1* form = nullptr;
};

TEST_F(SchedulerForm, StartsWithTheClockTodayHoursAndTheMinuteTwoAhead) {
  EXPECT_EQ(Caption().substr(0, 1), "\x0E");
  EXPECT_NE(Caption().find("当前时间："), std::string::npos);
  EXPECT_EQ(StartHour, 10);
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 14);
  EXPECT_EQ(form->ComboBox1->Text(), "10");
  EXPECT_EQ(form->MaskEdit1->Text(), "07");
  EXPECT_EQ(form->UpDown1->Position(), 7);
  EXPECT_EQ(form->ComboBox2->Text(), "关闭计算机");
  EXPECT_EQ(form->ComboBox3->Text(), "今天");
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_FALSE(form->Timer2->Enabled());

  // Late in the hour the minute field stops at 59; late in the day one hour is left.
  clock.now = {2026, 12, 7, 23, 58, 10, 0};
  Create();
  EXPECT_EQ(form->MaskEdit1->Text(), "59");
  EXPECT_EQ(form->UpDown1->Position(), 59);
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 1);
  // Tomorrow lists every hour; today again starts at the start-up hour.
  form->ComboBox3->SetItemIndex(1);
  form->ComboBox3Change(nullptr);
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 24);
  form->ComboBox3->SetItemIndex(0);
  form->ComboBox3Change(nullptr);
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 1);
}

TEST_F(SchedulerForm, MinuteFieldAndSpinnerKeepEachOtherInStep) {
  form->MaskEdit1->SetText("7");
  EXPECT_EQ(form->MaskEdit1->Text(), "07");
  form->MaskEdit1->SetText("75");
  EXPECT_EQ(form->MaskEdit1->Text(), "59");
  EXPECT_EQ(form->UpDown1->Position(), 59);
  form->UpDown1->SetPosition(3);
  form->UpDown1Click(nullptr, btPrev);
  EXPECT_EQ(form->MaskEdit1->Text(), "03");
}

TEST_F(SchedulerForm, ArmingCountsDownInTheCaptionAndCancelRestores) {
  clock.now = {2026, 12, 7, 10, 5, 0, 400};
  Choose(0, "10", "06");
  form->Button1Click(nullptr);
  EXPECT_EQ(RemainSeconds, 59);
  EXPECT_TRUE(form->Timer2->Enabled());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_EQ(form->GroupBox1->Font()->Color(), clRed);
  EXPECT_EQ(form->ComboBox1->Color(), clWindow);
  EXPECT_TRUE(ScheduleDisabled());
  EXPECT_TRUE(form->CheckBox1->Enabled() && form->Button2->Enabled() && form->Button3->Enabled());
  Tick();
  EXPECT_EQ(Caption(), "\x0E离关机时间还有:0小时 0分58秒");
  Tick();
  EXPECT_EQ(Caption(), "\x0E离关机时间还有:0小时 0分57秒");
  form->Button2Click(nullptr);
  EXPECT_FALSE(form->Timer2->Enabled());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(form->GroupBox1->Font()->Color(), SystemColor(29));
  EXPECT_TRUE(ScheduleEnabled());
  EXPECT_EQ(RemainSeconds, 57);  // cancel leaves the count as it was
  EXPECT_TRUE(power.calls.empty());
  // Cancel when idle changes nothing.
  form->Button2Click(nullptr);
  EXPECT_TRUE(ScheduleEnabled());
}

TEST_F(SchedulerForm, APastTimeTodayIsRefusedWithRedFieldsAndControlsLeftEnabled) {
  clock.now = {2026, 12, 7, 10, 5, 30, 0};
  Choose(0, "10", "05");
  form->Button1Click(nullptr);
  EXPECT_EQ(Caption(), "对不起,当前的时间低于系统的时间");
  EXPECT_EQ(form->ComboBox1->Color(), clRed);
  EXPECT_EQ(form->MaskEdit1->Color(), clRed);
  EXPECT_EQ(form->GroupBox1->Font()->Color(), clRed);
  EXPECT_FALSE(form->Timer2->Enabled());
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_TRUE(ScheduleEnabled());
  // Cancel brings the clock back but leaves the fields red until a successful arming.
  form->Button2Click(nullptr);
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_EQ(form->MaskEdit1->Color(), clRed);
  Choose(1, "10", "05");
  form->Button1Click(nullptr);
  EXPECT_EQ(form->MaskEdit1->Color(), clWindow);
  EXPECT_EQ(RemainSeconds, 86399 - 30);
}

TEST_F(SchedulerForm, WarningComesAtSixtyOnlyWhenCheckedAndYesCancels) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02", 2);
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 120);
  BoxAnswer answer;
  answer.button = "&No";
  g_answer = &answer;
  SetTimer(nullptr, 0, 50, AnswerBox);
  Tick(59);
  EXPECT_EQ(answer.shown, 0);
  Tick();  // reaches 60
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(answer.caption, "Confirm");
  EXPECT_EQ(answer.text, "单击这里修改提示内容\r点击【Yes】将取消注销");
  EXPECT_TRUE(form->Timer2->Enabled());  // No: the countdown goes on
  EXPECT_EQ(Caption(), "\x0E离关机时间还有:0小时1分0秒");

  // Again, answered Yes: cancelled, and the caption still shows the count of that tick.
  Choose(0, "10", "02", 2);
  form->Button1Click(nullptr);
  answer = BoxAnswer{};
  SetTimer(nullptr, 0, 50, AnswerBox);
  Tick(60);
  EXPECT_EQ(answer.shown, 1);
  EXPECT_FALSE(form->Timer2->Enabled());
  EXPECT_TRUE(form->Timer1->Enabled());
  EXPECT_TRUE(ScheduleEnabled());
  EXPECT_EQ(Caption(), "\x0E离关机时间还有:0小时1分0秒");
  g_answer = nullptr;
}

TEST_F(SchedulerForm, NoWarningWhenUncheckedOrArmedWithSixtyOrLess) {
  BoxAnswer answer;
  g_answer = &answer;
  UINT_PTR t = SetTimer(nullptr, 0, 50, AnswerBox);
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02");
  form->Button1Click(nullptr);
  Tick(61);
  clock.now = {2026, 12, 7, 10, 1, 0, 0};
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  Choose(0, "10", "02");
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 60);
  Tick(2);
  EXPECT_EQ(answer.shown, 0);
  KillTimer(nullptr, t);
  g_answer = nullptr;
}

TEST_F(SchedulerForm, TheActionRunsOnceAtZeroWithTheRightRequestThenTheWindowIsIdle) {
  const std::vector<std::string> nt[] = {
      {"privilege", "exit 1"}, {"privilege", "exit 2"}, {"privilege", "exit 4"}, {"privilege", "power 00"}};
  for (int code = 0; code < 4; ++code) {
    power.calls.clear();
    clock.now = {2026, 12, 7, 10, 0, 0, 0};
    Choose(0, "10", "01", code);
    form->Button1Click(nullptr);
    Tick(59);
    EXPECT_TRUE(power.calls.empty());
    Tick();
    EXPECT_EQ(power.calls, nt[code]) << "code " << code;
    // The request did not end the session: back to idle, no count below zero, no second run.
    EXPECT_FALSE(form->Timer2->Enabled());
    EXPECT_TRUE(form->Timer1->Enabled());
    EXPECT_TRUE(ScheduleEnabled());
    Tick(3);
    EXPECT_EQ(power.calls.size(), nt[code].size());
  }
  // The older family, and a failing version query, force a power-off for any action.
  for (bool versionOk : {true, false}) {
    power.calls.clear();
    power.platform = kVerPlatformWin32Windows;
    power.versionOk = versionOk;
    Choose(0, "10", "01", 1);
    form->Button1Click(nullptr);
    Tick(60);
    EXPECT_EQ(power.calls, std::vector<std::string>{"exit 29"});
  }
}

TEST_F(SchedulerForm, ACountOfZeroAtArmingStillRunsTheActionOnce) {
  clock.now = {2026, 12, 7, 10, 5, 0, 0};
  Choose(0, "10", "05");
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 0);
  Tick();
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 1"}));
  EXPECT_FALSE(form->Timer2->Enabled());
}

TEST_F(SchedulerForm, PromptEditGrowsTheWindowAndMovesTheBottomRow) {
  int height = form->Height();
  int buttonTop = form->Button1->Top(), checkTop = form->CheckBox1->Top();
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  ASSERT_NE(form->PromptEditControl(), nullptr);
  TEdit* edit = form->PromptEditControl();
  EXPECT_EQ(form->Height(), 200);
  EXPECT_EQ(form->Button1->Top(), buttonTop + (200 - height));
  EXPECT_EQ(form->CheckBox1->Top(), checkTop + (200 - height));
  EXPECT_EQ(edit->Name(), "edts");
  EXPECT_EQ(edit->Left(), 15);
  EXPECT_EQ(edit->Top(), 93);
  EXPECT_EQ(edit->Width(), 417);
  EXPECT_EQ(edit->Text(), "单击这里修改提示内容");
  EXPECT_EQ(edit->Font()->Color(), clHighlight);
  form->CheckBox1->SetChecked(false);
  form->CheckBox1Click(nullptr);
  EXPECT_EQ(form->PromptEditControl(), nullptr);
  EXPECT_EQ(form->Height(), 160);
  EXPECT_EQ(form->Button1->Top(), buttonTop + (160 - height));
}

}  // namespace
