// The main window's behaviour with a fake clock and a recording power service: arming, refusal,
// the countdown, the warning a minute before, the action at zero, cancel, and the prompt edit.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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
  std::function<void()> whileShown;  // runs inside the box's loop before the answer
  RECT box{};                        // where the box and its buttons were on the screen
  std::vector<RECT> buttons;
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
  GetWindowRect(box, &g_answer->box);
  g_answer->buttons.clear();
  for (HWND b = FindWindowExA(box, nullptr, "TButton", nullptr); b;
       b = FindWindowExA(box, b, "TButton", nullptr)) {
    RECT r{};
    GetWindowRect(b, &r);
    g_answer->buttons.push_back(r);
  }
  if (g_answer->whileShown) g_answer->whileShown();
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
  // Ticks come every stepMs of the fake clock (the real timer's 1000 ms, or later).
  void Tick(int n = 1, int stepMs = 1000) {
    for (int i = 0; i < n; ++i) {
      clock.now = LocalTimeAt(LocalMs(clock.now) + stepMs);
      form->Timer2Timer(nullptr);
    }
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
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
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
  const std::vector<std::string> nt[] = {{"privilege", "exit 9 planned"},
                                         {"privilege", "exit 2"},
                                         {"privilege", "exit 4"},
                                         {"privilege", "power 00"}};
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
  // The older family forces a power-off for any action.
  power.calls.clear();
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  power.platform = kVerPlatformWin32Windows;
  Choose(0, "10", "01", 1);
  form->Button1Click(nullptr);
  Tick(60);
  EXPECT_EQ(power.calls, std::vector<std::string>{"exit 29"});
}

TEST_F(SchedulerForm, ACountOfZeroAtArmingStillRunsTheActionOnce) {
  clock.now = {2026, 12, 7, 10, 5, 0, 0};
  Choose(0, "10", "05");
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 0);
  Tick();
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 9 planned"}));
  EXPECT_FALSE(form->Timer2->Enabled());
}

TEST_F(SchedulerForm, LateTicksAndASleepOfTheComputerCostNoTime) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "20", "00");
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 36000);
  Tick(100, 1016);  // the timer's real pace
  EXPECT_EQ(RemainSeconds, 36000 - 102);
  Tick(1, 3'600'000);  // an hour asleep
  EXPECT_EQ(RemainSeconds, 36000 - 102 - 3600);
  EXPECT_EQ(Caption(), CountdownText(RemainSeconds));
}

TEST_F(SchedulerForm, AnActionLongOverdueAsksFirstWhateverTheOptionAndRunsAMinuteLater) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "01", 2);
  form->Button1Click(nullptr);
  BoxAnswer answer;
  answer.button = "&No";
  g_answer = &answer;
  UINT_PTR t = SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(1, 10 * 3'600'000);  // the computer wakes ten hours after the deadline
  KillTimer(nullptr, t);
  g_answer = nullptr;
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(answer.text, "已过预定的时间\r点击【Yes】将取消注销");
  EXPECT_TRUE(power.calls.empty());
  Tick(59);
  EXPECT_TRUE(power.calls.empty());
  Tick();
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 4"}));
}

TEST_F(SchedulerForm, ARefusedPowerRequestGoesBackToIdleWithTheReasonInRed) {
  power.requestRefused = true;
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "01");
  form->Button1Click(nullptr);
  Tick(60);
  EXPECT_NE(Caption().find("request refused"), std::string::npos) << Caption();
  EXPECT_EQ(form->GroupBox1->Font()->Color(), clRed);
  EXPECT_FALSE(form->Timer2->Enabled());
  EXPECT_FALSE(form->Timer1->Enabled());  // the reason stays until the user acts
  EXPECT_TRUE(ScheduleEnabled());
}

TEST_F(SchedulerForm, TodaysHoursStartAgainWhenTheDateChangesWhileIdle) {
  clock.now = {2026, 12, 7, 23, 30, 0, 0};
  Create();
  ASSERT_EQ(form->ComboBox1->Items()->Count(), 1);
  clock.now = {2026, 12, 8, 0, 0, 1, 0};
  form->Timer1Timer(nullptr);
  EXPECT_EQ(form->ComboBox1->Items()->Count(), 24);
}

TEST_F(SchedulerForm, SkippedSecondsStillBringTheWarningAndTheActionOnce) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02");
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  form->Button1Click(nullptr);
  BoxAnswer answer;
  answer.button = "&No";
  g_answer = &answer;
  UINT_PTR t = SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(59);
  EXPECT_EQ(answer.shown, 0);
  Tick(1, 3000);  // 61 to 58: sixty is never seen
  EXPECT_EQ(answer.shown, 1);
  Tick(56);
  EXPECT_EQ(RemainSeconds, 2);
  EXPECT_TRUE(power.calls.empty());
  Tick(1, 3000);  // 2 to -1: zero is never seen
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 9 planned"}));
  Tick(2);
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(power.calls.size(), 2u);
  KillTimer(nullptr, t);
  g_answer = nullptr;
}

TEST_F(SchedulerForm, TicksInsideTheWarningBoxNeitherWarnAgainNorRunTheActionTwice) {
  clock.now = {2026, 12, 7, 9, 58, 58, 0};
  Choose(0, "10", "00");
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  form->Button1Click(nullptr);
  ASSERT_EQ(RemainSeconds, 62);
  BoxAnswer answer;
  answer.button = "&No";
  answer.whileShown = [&] { Tick(70); };  // the user leaves the box open past the deadline
  g_answer = &answer;
  UINT_PTR t = SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(2);
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 9 planned"}));
  EXPECT_FALSE(form->Timer2->Enabled());
  EXPECT_EQ(Caption(), CountdownText(0));
  KillTimer(nullptr, t);
  g_answer = nullptr;
}

TEST_F(SchedulerForm, PromptEditGrowsTheWindowAndMovesTheBottomRow) {
  int height = form->Height();
  int buttonTop = form->Button1->Top(), checkTop = form->CheckBox1->Top();
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  ASSERT_NE(form->PromptEditControl(), nullptr);
  TEdit* edit = form->PromptEditControl();
  // 40 pixels more inside, whatever the frame (160 to 200 outside with a 30-pixel system frame).
  EXPECT_EQ(form->Height(), height + 40);
  EXPECT_EQ(form->Button1->Top(), buttonTop + 40);
  EXPECT_EQ(form->CheckBox1->Top(), checkTop + 40);
  EXPECT_EQ(edit->Name(), "edts");
  EXPECT_EQ(edit->Left(), 15);
  EXPECT_EQ(edit->Top(), 93);
  EXPECT_EQ(edit->Width(), 417);
  EXPECT_EQ(edit->Text(), "单击这里修改提示内容");
  EXPECT_EQ(edit->Font()->Color(), clHighlight);
  form->CheckBox1->SetChecked(false);
  form->CheckBox1Click(nullptr);
  EXPECT_EQ(form->PromptEditControl(), nullptr);
  EXPECT_EQ(form->Height(), height);
  EXPECT_EQ(form->Button1->Top(), buttonTop);
}

TEST_F(SchedulerForm, AVeryLongPromptKeepsTheWarningBoxAndItsButtonsOnTheScreen) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02");
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  std::string prompt(3000, 'W');  // one word wider than any screen
  for (int i = 0; i < 3000; ++i) prompt += "长";
  form->PromptEditControl()->SetText(prompt);
  form->Button1Click(nullptr);
  BoxAnswer answer;
  answer.button = "&No";
  g_answer = &answer;
  UINT_PTR t = SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(60);
  KillTimer(nullptr, t);
  g_answer = nullptr;
  ASSERT_EQ(answer.shown, 1);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  auto inside = [&](const RECT& r) {
    return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
  };
  EXPECT_TRUE(inside(answer.box));
  ASSERT_EQ(answer.buttons.size(), 2u);
  for (const RECT& b : answer.buttons) EXPECT_TRUE(inside(b));
}

TEST_F(SchedulerForm, TheMinuteFieldTakesFullWidthDigitsAndRefusesOtherInputMethodText) {
  HWND edit = form->MaskEdit1->Handle();
  form->MaskEdit1->SetText("01");
  form->MaskEdit1->SetSelStart(2);
  SendMessageA(edit, WM_IME_CHAR, 0xA3B5, 1);  // full-width 5 from an input method
  EXPECT_EQ(form->MaskEdit1->Text(), "15");
  SendMessageA(edit, WM_IME_CHAR, 0xD6D0, 1);  // a Chinese character
  EXPECT_EQ(form->MaskEdit1->Text(), "15");
  SendMessageA(edit, WM_CHAR, 0xA3, 1);  // full-width 2 as two bytes
  SendMessageA(edit, WM_CHAR, 0xB2, 1);
  EXPECT_EQ(form->MaskEdit1->Text(), "52");
  SendMessageA(edit, WM_CHAR, 0xD6, 1);
  SendMessageA(edit, WM_CHAR, 0xD0, 1);
  EXPECT_EQ(form->MaskEdit1->Text(), "52");
  auto paste = [&](const char* text) {
    ASSERT_TRUE(OpenClipboard(edit));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(GlobalLock(h), text, strlen(text) + 1);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
    form->MaskEdit1->SelectAll();
    SendMessageA(edit, WM_PASTE, 0, 0);
  };
  paste("\xA3\xB1\xA3\xB2");  // full-width 12
  EXPECT_EQ(form->MaskEdit1->Text(), "12");
  paste("中文");
  EXPECT_EQ(form->MaskEdit1->Text(), "12");
}

TEST_F(SchedulerForm, MinimisingWithTheSystemsLowBitsSetStillGoesToTheNotificationArea) {
  form->Show();
  SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE | 0x2, 0);
  EXPECT_TRUE(form->TrayIconAdded());
}

// ---- Commands from the command line and from a second start ----

int Command(TForm1* form, std::vector<std::string> args, std::string* message = nullptr) {
  std::string m;
  int code = form->RunCommand(ParseCommandLine(args), m);
  if (message) *message = m;
  return code;
}

LRESULT SendRequest(TForm1* form, ULONG_PTR tag, const void* data, DWORD size) {
  COPYDATASTRUCT cd{tag, size, const_cast<void*>(data)};
  return SendMessageA(form->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cd));
}

TEST_F(SchedulerForm, ArmingAtATimeFromTheCommandLineEndsInTheSameRequestAsTheWindow) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02", 1);
  form->Button1Click(nullptr);
  const std::int32_t byWindow = RemainSeconds;
  Tick(byWindow);
  const auto windowCalls = power.calls;
  ASSERT_FALSE(windowCalls.empty());

  power.calls.clear();
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Create();
  EXPECT_EQ(Command(form, {"/at", "10:02", "/r"}), kExitDone);
  EXPECT_TRUE(ScheduleDisabled());
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 1);
  EXPECT_EQ(RemainSeconds, byWindow);
  Tick(byWindow);
  EXPECT_EQ(power.calls, windowCalls);
}

TEST_F(SchedulerForm, AtATimeAlreadyPastMeansTomorrowAndTomorrowCanBeForced) {
  clock.now = {2026, 12, 7, 10, 5, 30, 0};
  EXPECT_EQ(Command(form, {"/at", "10:05", "/s"}), kExitDone);
  EXPECT_EQ(form->ComboBox3->ItemIndex(), 1);
  EXPECT_EQ(RemainSeconds, 86399 - 30);
  form->Button2Click(nullptr);
  EXPECT_EQ(Command(form, {"/at", "11:00", "/tomorrow", "/s"}), kExitDone);
  EXPECT_EQ(form->ComboBox3->ItemIndex(), 1);
}

TEST_F(SchedulerForm, DelayFromTheCommandLineStartsTheSameCountdownWithThatManySeconds) {
  std::string message;
  EXPECT_EQ(Command(form, {"/t", "5", "/l", "/w", "/m", "保存文件"}, &message), kExitDone);
  EXPECT_EQ(RemainSeconds, 5);
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 2);
  ASSERT_NE(form->PromptEditControl(), nullptr);
  EXPECT_EQ(form->PromptEditControl()->Text(), "保存文件");
  EXPECT_NE(message.find("注销"), std::string::npos) << message;
  Tick(5);
  EXPECT_EQ(power.calls, (std::vector<std::string>{"privilege", "exit 4"}));
}

TEST_F(SchedulerForm, StatusAndCancelFromTheCommandLine) {
  std::string message;
  EXPECT_EQ(Command(form, {"/status"}, &message), kExitDone);
  EXPECT_EQ(message, "没有进行中的任务");
  Command(form, {"/t", "3725", "/s"});
  Tick();
  EXPECT_EQ(Command(form, {"/status"}, &message), kExitDone);
  EXPECT_EQ(message, "关闭计算机 离关机时间还有:1小时2分4秒");
  // Armed already: a second arming is refused, nothing changes.
  EXPECT_EQ(Command(form, {"/t", "10", "/r"}, &message), kExitRefused);
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 0);
  EXPECT_EQ(Command(form, {"/a"}), kExitDone);
  EXPECT_FALSE(form->Armed());
  EXPECT_TRUE(ScheduleEnabled());
}

TEST_F(SchedulerForm, ADryRunRequestNeverArmsARealTimer) {
  std::string message;
  EXPECT_EQ(Command(form, {"/t", "10", "/s", "/dry-run"}, &message), kExitRefused);
  EXPECT_FALSE(form->Armed());
  EXPECT_FALSE(message.empty());
}

TEST_F(SchedulerForm, ASecondStartsRequestArmsCancelsAndShowsTheHiddenWindow) {
  std::string data = EncodeRequest({"/t", "120", "/r"});
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag, data.data(), data.size()),
            TForm1::kRequestAnswered + kExitDone);
  EXPECT_TRUE(form->Armed());
  EXPECT_EQ(form->ComboBox2->ItemIndex(), 1);
  data = EncodeRequest({"/a"});
  SendRequest(form, TForm1::kRequestTag, data.data(), data.size());
  EXPECT_FALSE(form->Armed());
  data = EncodeRequest({"/bogus"});
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag, data.data(), data.size()),
            TForm1::kRequestAnswered + kExitUsage);

  form->Show();
  ShowWindow(form->Handle(), SW_HIDE);
  data = EncodeRequest({});
  SendRequest(form, TForm1::kRequestTag, data.data(), data.size());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(SchedulerForm, AMalformedRequestFromAnotherProgramIsIgnored) {
  const std::string good = EncodeRequest({"/t", "120", "/r"});
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag + 1, good.data(), good.size()), 0);
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag, nullptr, 100), 0);
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag, good.data(), good.size() - 1), 0);
  EXPECT_EQ(SendRequest(form, TForm1::kRequestTag, "garbage", 7), 0);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_COPYDATA, 0, 0), 0);
  EXPECT_FALSE(form->Armed());
}

// ---- The notification area ----

TEST_F(SchedulerForm, TheTipFollowsTheCountWhileArmedAndComesBackOnCancel) {
  form->Show();
  form->HideToTray();
  ASSERT_TRUE(form->TrayIconAdded());
  EXPECT_EQ(form->TrayTip(), "定时关机");
  Command(form, {"/t", "304", "/s"});
  Tick();
  EXPECT_EQ(form->TrayTip(), "定时关机 - 0小时5分3秒");
  Tick();
  EXPECT_EQ(form->TrayTip(), "定时关机 - 0小时5分2秒");
  form->Button2Click(nullptr);
  EXPECT_EQ(form->TrayTip(), "定时关机");
}

TEST_F(SchedulerForm, TheMenusCancelAndPostponeWorkOnlyWhileArmed) {
  EXPECT_EQ(form->PopupMenu1->Items()->IndexOf(form->N1), 3);
  EXPECT_FALSE(form->C1->Enabled());
  EXPECT_FALSE(form->P1->Enabled());
  Command(form, {"/t", "100", "/s"});
  EXPECT_TRUE(form->C1->Enabled() && form->P1->Enabled());
  form->C1Click(nullptr);
  EXPECT_FALSE(form->Armed());
  EXPECT_FALSE(form->C1->Enabled() || form->P1->Enabled());
}

TEST_F(SchedulerForm, PostponeMovesTheDeadlineFiveMinutesAndTheWarningComesAgain) {
  clock.now = {2026, 12, 7, 10, 0, 0, 0};
  Choose(0, "10", "02");
  form->CheckBox1->SetChecked(true);
  form->Button1Click(nullptr);
  BoxAnswer answer;
  answer.button = "&No";
  g_answer = &answer;
  SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(70);
  ASSERT_EQ(answer.shown, 1);
  const std::int32_t before = RemainSeconds;
  form->P1Click(nullptr);
  EXPECT_EQ(RemainSeconds, before + 300);
  UINT_PTR t = SetTimer(nullptr, 0, 20, AnswerBox);
  Tick(before + 300 - 60);
  KillTimer(nullptr, t);
  g_answer = nullptr;
  EXPECT_EQ(answer.shown, 2);
  EXPECT_TRUE(power.calls.empty());
}

}  // namespace
