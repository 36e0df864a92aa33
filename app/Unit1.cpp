#include "app/Unit1.h"

#include <algorithm>
#include <cstring>

#include "app/Unit2.h"

TForm1* Form1 = nullptr;
int StartHour = 0;
std::int32_t RemainSeconds = 0;

namespace {
TClock* g_clock = nullptr;
TPowerService* g_power = nullptr;
std::string g_dryRunReport;

TClock& Clock() { return g_clock ? *g_clock : SystemClock(); }
TPowerService& Power() { return g_power ? *g_power : SystemPowerService(); }

constexpr TColor clMenuHighlight = SystemColor(29);
constexpr UINT kTrayMessage = WM_USER;
constexpr int kPromptRowHeight = 40;
constexpr std::int32_t kWarningSeconds = 60;
// How late a deadline may be met before the action is no longer run unannounced.
constexpr std::int32_t kOverdueGraceSeconds = 60;
constexpr const char* kOverduePrompt = "已过预定的时间";
constexpr std::int32_t kPostponeSeconds = 300;
constexpr const char kTrayTip[] = "定时关机";
}  // namespace

void SetSchedulerServices(TClock* clock, TPowerService* power) {
  g_clock = clock;
  g_power = power;
}

TClock& SchedulerClock() { return Clock(); }
bool DryRunMode() { return dynamic_cast<TDryRunPowerService*>(&Power()) != nullptr; }

const std::string& LastDryRunReport() { return g_dryRunReport; }
void ReportDryRun(const std::string& line) { g_dryRunReport = line; }

DASKEL_DEFINE_CLASS(TForm1, TForm) {
  c.Field("GroupBox1", &TForm1::GroupBox1);
  c.Field("Timer1", &TForm1::Timer1);
  c.Field("SkinData1", &TForm1::SkinData1);
  c.Field("ComboBox1", &TForm1::ComboBox1);
  c.Field("MaskEdit1", &TForm1::MaskEdit1);
  c.Field("Label1", &TForm1::Label1);
  c.Field("Label2", &TForm1::Label2);
  c.Field("ComboBox2", &TForm1::ComboBox2);
  c.Field("ComboBox3", &TForm1::ComboBox3);
  c.Field("UpDown1", &TForm1::UpDown1);
  c.Field("Button1", &TForm1::Button1);
  c.Field("Timer2", &TForm1::Timer2);
  c.Field("Button2", &TForm1::Button2);
  c.Field("Button3", &TForm1::Button3);
  c.Field("PopupMenu1", &TForm1::PopupMenu1);
  c.Field("Q1", &TForm1::Q1);
  c.Field("N1", &TForm1::N1);
  c.Field("CheckBox1", &TForm1::CheckBox1);
  c.Method("FormCreate", &TForm1::FormCreate);
  c.Method("FormClose", &TForm1::FormClose);
  c.Method("Timer1Timer", &TForm1::Timer1Timer);
  c.Method("Timer2Timer", &TForm1::Timer2Timer);
  c.Method("MaskEdit1Change", &TForm1::MaskEdit1Change);
  c.Method("MaskEdit1Click", &TForm1::MaskEdit1Click);
  c.Method("MaskEdit1KeyPress", &TForm1::MaskEdit1KeyPress);
  c.Method("UpDown1Click", &TForm1::UpDown1Click);
  c.Method("ComboBox3Change", &TForm1::ComboBox3Change);
  c.Method("Button1Click", &TForm1::Button1Click);
  c.Method("Button2Click", &TForm1::Button2Click);
  c.Method("Button3Click", &TForm1::Button3Click);
  c.Method("CheckBox1Click", &TForm1::CheckBox1Click);
  c.Method("alledit", &TForm1::alledit);
  c.Method("N1Click", &TForm1::N1Click);
  c.Method("Q1Click", &TForm1::Q1Click);
  c.Field("C1", &TForm1::C1);
  c.Field("P1", &TForm1::P1);
  c.Field("N2", &TForm1::N2);
  c.Method("C1Click", &TForm1::C1Click);
  c.Method("P1Click", &TForm1::P1Click);
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {}

TForm1::~TForm1() {
  // The icon would otherwise stay in the notification area until the mouse passes over it.
  if (iconAdded_) Shell_NotifyIconA(NIM_DELETE, &IconData);
}

std::string TForm1::ClockCaption() {
  TLocalTime now = Clock().Now();
  return ClockText(FormatShortDate(now), FormatLongTime(now));
}

// ---- Schedule entry ----

void TForm1::FormCreate(TObject*) {
  GroupBox1->SetCaption(ClockCaption());
  TLocalTime now = Clock().Now();
  StartHour = now.Hour;
  listDate_ = now;
  ComboBox1->Items()->Clear();
  for (const auto& h : HourList(StartHour)) ComboBox1->Items()->Add(h);
  ComboBox1->SetItemIndex(0);
  // Two minutes ahead, without carrying into the next hour: the minute rule makes 60 and 61 "59".
  int minute = now.Minute + 2;
  MaskEdit1->SetText(std::to_string(minute));
  UpDown1->SetPosition(minute);
}

void TForm1::Timer1Timer(TObject*) {
  GroupBox1->SetCaption(ClockCaption());
  // Past midnight "today" is a new day: its hours start again from the hour it is now.
  TLocalTime now = Clock().Now();
  if (now.Year == listDate_.Year && now.Month == listDate_.Month && now.Day == listDate_.Day) return;
  listDate_ = now;
  StartHour = now.Hour;
  if (ComboBox3->ItemIndex() == 1) return;
  const std::string chosen = ComboBox1->Text();
  ComboBox3Change(nullptr);
  const int again = ComboBox1->Items()->IndexOf(chosen);
  if (again >= 0) ComboBox1->SetItemIndex(again);
}

void TForm1::MaskEdit1Change(TObject*) {
  TMinuteRule rule = ApplyMinuteRule(MaskEdit1->Text());
  // Writing back an equal text is no change, so the rule settles after one more round.
  if (MaskEdit1->Text() != rule.Text) MaskEdit1->SetText(rule.Text);
  UpDown1->SetPosition(rule.Spinner);
}

void TForm1::MaskEdit1Click(TObject*) { MaskEdit1->SelectAll(); }

void TForm1::MaskEdit1KeyPress(TObject*, char& Key) {
  // The minute rule rewrites the field after every keystroke ("1" becomes "01"), so typing into
  // the mask position by position would put the second digit over the first ("15" would give
  // "05"). Digits therefore shift in from the right, as on a clock: over a selection the typed
  // digit starts a new minute, otherwise it joins the last one.
  if (Key < '0' || Key > '9') return;
  std::string text = ApplyMinuteRule(MaskEdit1->Text()).Text;
  std::string typed = MaskEdit1->SelLength() > 0 ? std::string("0") + Key : text.substr(1) + Key;
  Key = 0;
  MaskEdit1->SetText(typed);
  MaskEdit1->SetSelStart(static_cast<int>(MaskEdit1->Text().size()));
}

void TForm1::UpDown1Click(TObject*, TUDBtnType) { MaskEdit1->SetText(std::to_string(UpDown1->Position())); }

void TForm1::ComboBox3Change(TObject*) {
  int first = ComboBox3->ItemIndex() == 1 ? 0 : StartHour;
  ComboBox1->Items()->Clear();
  for (const auto& h : HourList(first)) ComboBox1->Items()->Add(h);
  ComboBox1->SetItemIndex(0);
}

// ---- Arming, countdown, warning ----

void TForm1::SetScheduleControlsEnabled(bool enabled) {
  TControl* controls[] = {ComboBox1, ComboBox2, ComboBox3, MaskEdit1, UpDown1, Label1, Label2, Button1};
  for (TControl* c : controls) c->SetEnabled(enabled);
  // The icon menu's cancel and postpone work only while armed, as the window's cancel does.
  C1->SetEnabled(!enabled);
  P1->SetEnabled(!enabled);
}

void TForm1::Button1Click(TObject*) {
  Timer1->SetEnabled(false);
  GroupBox1->Font()->SetColor(clRed);
  const bool tomorrow = ComboBox3->ItemIndex() == 1;
  const int hour = std::stoi(ComboBox1->Text().empty() ? std::string("0") : ComboBox1->Text());
  const int minute = ApplyMinuteRule(MaskEdit1->Text()).Spinner;
  const std::int32_t first = Clock().Now().TimeOfDayMs();
  const std::int32_t second = tomorrow ? first : Clock().Now().TimeOfDayMs();
  TArmResult armed = ArmSeconds(tomorrow, hour, minute > 59 ? 59 : minute, first, second);
  if (armed.Refused) {
    ComboBox1->SetColor(clRed);
    MaskEdit1->SetColor(clRed);
    GroupBox1->SetCaption("对不起,当前的时间低于系统的时间");
    Timer2->SetEnabled(false);
    return;
  }
  Arm(armed.Seconds);
}

void TForm1::Arm(std::int32_t seconds) {
  Timer1->SetEnabled(false);
  GroupBox1->Font()->SetColor(clRed);
  RemainSeconds = seconds;
  deadlineMs_ = LocalMs(Clock().Now()) + std::int64_t{seconds} * 1000;
  warningDue_ = seconds > kWarningSeconds;
  actionDone_ = false;
  Timer2->SetEnabled(true);
  ComboBox1->SetColor(clWindow);
  MaskEdit1->SetColor(clWindow);
  SetScheduleControlsEnabled(false);
  ShowRemainingInTip();
}

void TForm1::Postpone() {
  if (!Armed()) return;
  deadlineMs_ += kPostponeSeconds * 1000;
  RemainSeconds = SecondsLeft(deadlineMs_, LocalMs(Clock().Now()));
  // The last minute moved too: its warning comes again, if the option is on by then.
  if (RemainSeconds > kWarningSeconds) warningDue_ = true;
  GroupBox1->SetCaption(CountdownText(RemainSeconds < 0 ? 0 : RemainSeconds));
  ShowRemainingInTip();
}

void TForm1::Timer2Timer(TObject*) {
  const std::int64_t nowMs = LocalMs(Clock().Now());
  RemainSeconds = SecondsLeft(deadlineMs_, nowMs);
  if (RemainSeconds < -kOverdueGraceSeconds && !actionDone_) {
    // Long overdue: the computer slept or hung through the deadline. Running the action now,
    // unannounced, could lose the user's work, so the user gets the last minute they would have
    // had: the question whatever the option, and the action a minute later unless cancelled.
    deadlineMs_ = nowMs + kWarningSeconds * 1000;
    RemainSeconds = kWarningSeconds;
    warningDue_ = false;
    // A question already open (a tick inside it) is that warning; its minute starts again.
    if (!warningOpen_ && !Warn(PromptEdit ? PromptEdit->Text() : std::string(kOverduePrompt))) return;
  } else if (RemainSeconds > 0 && RemainSeconds <= kWarningSeconds && warningDue_) {
    // Once per arming, on the first tick inside the last minute, even when a late tick skipped
    // the sixtieth second. A deadline passed by less than the grace goes straight to the action
    // below: the minute the warning was for is gone.
    warningDue_ = false;
    if (CheckBox1->Checked() && !Warn(PromptEdit ? PromptEdit->Text() : std::string())) return;
  }
  if (RemainSeconds <= 0 && !actionDone_ && Timer2->Enabled()) {
    // A count armed at 0 (the target minute just began) passes zero on its first tick: the
    // target is reached all the same, so the action runs once, whatever the count is by then.
    actionDone_ = true;
    g_dryRunReport.clear();
    const std::string refusal = DoPowerAction(ComboBox2->ItemIndex());
    // Still here: the request did not end the session (a refused request, a resume from
    // hibernation, a dry run). Counting on below zero would mean nothing, so the window goes
    // back to idle; a refusal or a dry run's report stays in the caption until the next arming
    // or cancel, as a refused schedule does.
    bool dryRun = !g_dryRunReport.empty();
    Cancel(dryRun || !refusal.empty());
    if (!refusal.empty()) {
      GroupBox1->Font()->SetColor(clRed);
      GroupBox1->SetCaption(refusal);
    } else {
      GroupBox1->SetCaption(dryRun ? "\x0E演习：" + g_dryRunReport : CountdownText(0));
    }
    return;
  }
  GroupBox1->SetCaption(CountdownText(RemainSeconds < 0 ? 0 : RemainSeconds));
  ShowRemainingInTip();
}

bool TForm1::Warn(const std::string& prompt) {
  std::string text = WarningText(prompt, ComboBox2->Text());
  const std::int32_t count = RemainSeconds;
  warningOpen_ = true;
  const bool yes = MessageDlg(text, mtConfirmation, mbYesNo, 0) == mrYes;
  warningOpen_ = false;
  if (yes) Cancel();
  // Ticks go on inside the box; if one of them ran the action, its caption stands.
  if (actionDone_) return false;
  if (!Timer2->Enabled()) {
    GroupBox1->SetCaption(CountdownText(count));
    return false;
  }
  RemainSeconds = SecondsLeft(deadlineMs_, LocalMs(Clock().Now()));
  return true;
}

void TForm1::Cancel(bool keepClockStopped) {
  Timer2->SetEnabled(false);
  Timer1->SetEnabled(!keepClockStopped);
  GroupBox1->Font()->SetColor(clMenuHighlight);
  SetScheduleControlsEnabled(true);
  ShowRemainingInTip();
}

void TForm1::Button2Click(TObject*) { Cancel(); }

void TForm1::CheckBox1Click(TObject*) {
  if (CheckBox1->Checked()) {
    if (PromptEdit) return;
    // The prompt row needs 40 pixels of client area whatever the frame (the skinned one is
    // taller than the system's): 160 to 200 outside on an unskinned window.
    SetClientHeight(ClientHeight() + ScaleValue(kPromptRowHeight));
    PromptEdit = new TEdit(this);
    PromptEdit->SetName("edts");
    PromptEdit->SetParent(this);
    PromptEdit->SetBounds(ScaleValue(15), ScaleValue(93), ScaleValue(417), PromptEdit->Height());
    PromptEdit->SetText("单击这里修改提示内容");
    PromptEdit->Font()->SetColor(clHighlight);
    PromptEdit->SetColor(clWindow);
    PromptEdit->OnClick = TNotifyEvent(this, &TForm1::alledit);
  } else {
    if (!PromptEdit) return;
    SetClientHeight(ClientHeight() - ScaleValue(kPromptRowHeight));
    delete PromptEdit;
    PromptEdit = nullptr;
  }
}

void TForm1::alledit(TObject*) {
  if (PromptEdit) PromptEdit->SelectAll();
}

// ---- Power actions ----

void TForm1::AShutdown() { Power().EnableShutdownPrivilege(); }

std::string TForm1::DoPowerAction(int code) { return ::DoPowerAction(Power(), code); }

// ---- Notification area and lifecycle ----

void TForm1::HideToTray() {
  ShowWindow(Application->Handle(), SW_MINIMIZE);
  ShowWindow(Application->Handle(), SW_HIDE);
  IconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  IconData.hWnd = Handle();
  IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  IconData.uCallbackMessage = kTrayMessage;
  IconData.hIcon = Application->Icon()->Handle();
  memset(IconData.szTip, 0, sizeof IconData.szTip);
  memcpy(IconData.szTip, kTrayTip, sizeof kTrayTip);
  if (Shell_NotifyIconA(NIM_ADD, &IconData)) iconAdded_ = true;
  tipShown_.clear();
  ShowRemainingInTip();
}

std::string TForm1::TrayTip() const { return IconData.szTip; }

void TForm1::ShowRemainingInTip() {
  if (!iconAdded_) return;
  std::string tip = kTrayTip;
  if (Armed()) tip += " - " + FormatRemaining(RemainSeconds < 0 ? 0 : RemainSeconds);
  // The count changes once a second, so the shell hears of it at most once a second.
  if (tip == tipShown_) return;
  tipShown_ = tip;
  memset(IconData.szTip, 0, sizeof IconData.szTip);
  memcpy(IconData.szTip, tip.data(), std::min(tip.size(), sizeof IconData.szTip - 1));
  IconData.uFlags = NIF_TIP;
  Shell_NotifyIconA(NIM_MODIFY, &IconData);
  IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

void TForm1::RestoreFromTray() {
  ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void TForm1::TrayMenu(TMessage& m) {
  POINT p;
  GetCursorPos(&p);
  if (m.LParam == WM_RBUTTONDOWN) {
    // A menu of a window that is not in the foreground would not close when the user clicks
    // elsewhere; the empty message afterwards lets the menu's loop end cleanly.
    SetForegroundWindow(Handle());
    PopupMenu1->Popup(p.x, p.y);
    PostMessageA(Handle(), WM_NULL, 0, 0);
  } else if (m.LParam == WM_LBUTTONDBLCLK) {
    ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  }
}

void TForm1::WMSysCommand(TMessage& m) {
  // The low four bits of the command are the system's own.
  if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
    HideToTray();
    return;
  }
  TForm::WndProc(m);
}

void TForm1::WndProc(TMessage& m) {
  switch (m.Msg) {
    case kTrayMessage:
      TrayMenu(m);
      return;
    case WM_SYSCOMMAND:
      WMSysCommand(m);
      return;
    case WM_COPYDATA:
      m.Result =
          AnswerRequest(reinterpret_cast<HWND>(m.WParam), reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
      return;
    default:
      TForm::WndProc(m);
  }
}

void TForm1::FormClose(TObject*, TCloseAction& Action) {
  if (MessageDlg("您确定要退出？ 选择【No】软件自动最小化！", mtConfirmation, mbYesNo, 0) == mrYes)
    Action = caFree;
  else
    Action = caNone;
  HideToTray();
}

void TForm1::Button3Click(TObject*) { Form2->ShowModal(); }
void TForm1::N1Click(TObject*) { Form2->ShowModal(); }
void TForm1::Q1Click(TObject*) { Application->Terminate(); }
void TForm1::C1Click(TObject*) { Cancel(); }
void TForm1::P1Click(TObject*) { Postpone(); }
