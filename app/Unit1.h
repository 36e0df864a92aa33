// The main window: the schedule entry, the clock, arming and the countdown with its warning, the
// power actions, the notification-area icon and the close question.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>

#include "app/Unit1Clock.h"
#include "app/Unit1Command.h"
#include "app/Unit1Power.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Mask.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/data/VuzUrezData.h"

class TForm1 : public TForm {
  DASKEL_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  // Published members, bound by name from the layout.
  TGroupBox* GroupBox1 = nullptr;
  TTimer* Timer1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TMaskEdit* MaskEdit1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TComboBox* ComboBox3 = nullptr;
  TUpDown* UpDown1 = nullptr;
  TButton* Button1 = nullptr;
  TTimer* Timer2 = nullptr;
  TSkinData* SkinData1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Q1 = nullptr;
  TMenuItem* N1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  // The icon menu's cancel and postpone items and the separator below them.
  TMenuItem* C1 = nullptr;
  TMenuItem* P1 = nullptr;
  TMenuItem* N2 = nullptr;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Timer1Timer(TObject* Sender);
  void Timer2Timer(TObject* Sender);
  void MaskEdit1Change(TObject* Sender);
  void MaskEdit1Click(TObject* Sender);
  void MaskEdit1KeyPress(TObject* Sender, char& Key);
  void UpDown1Click(TObject* Sender, TUDBtnType Button);
  void ComboBox3Change(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);
  void CheckBox1Click(TObject* Sender);
  void alledit(TObject* Sender);
  void N1Click(TObject* Sender);
  void Q1Click(TObject* Sender);
  void C1Click(TObject* Sender);
  void P1Click(TObject* Sender);

  void AShutdown();
  // Empty when the request was made, otherwise why the system refused it.
  std::string DoPowerAction(int code);
  std::string FormatRemaining(std::int32_t seconds) const { return ::FormatRemaining(seconds); }
  void HideToTray();

  // Arms the countdown for this many seconds, as a successful "执行任务" does.
  void Arm(std::int32_t seconds);
  // Moves the deadline of an armed task five minutes later.
  void Postpone();
  bool Armed() const { return Timer2->Enabled(); }
  // Brings the window back from the notification area to the front.
  void RestoreFromTray();

  // Carries out a command of the command line (this start's, or another start's handed over):
  // returns the exit code and tells in `message` what happened.
  int RunCommand(const TCommand& command, std::string& message);
  // A second start's request (WM_COPYDATA): returns kRequestAnswered plus the exit code, or 0
  // when the data is not a request; the message goes back to `replyTo` as WM_COPYDATA.
  LRESULT AnswerRequest(HWND replyTo, const COPYDATASTRUCT* data);
  static constexpr ULONG_PTR kRequestTag = 0x44534B51;  // "DSKQ"
  static constexpr LRESULT kRequestAnswered = 100;
  static ULONG_PTR ReplyTag();

  TEdit* PromptEditControl() const { return PromptEdit; }
  bool TrayIconAdded() const { return iconAdded_; }
  std::string TrayTip() const;

 protected:
  void WndProc(TMessage& m) override;

 private:
  void TrayMenu(TMessage& m);
  void WMSysCommand(TMessage& m);
  void SetScheduleControlsEnabled(bool enabled);
  // Leaves the armed mode: countdown off, clock on (unless keepClockStopped), colours and
  // controls restored.
  void Cancel(bool keepClockStopped = false);
  // Asks the warning question with this prompt; Yes cancels. False when the tick has nothing
  // left to do (cancelled, or a tick inside the box ran the action).
  bool Warn(const std::string& prompt);
  std::string ClockCaption();
  // The icon's tip: the remaining time while armed, the program's name while idle.
  void ShowRemainingInTip();

  NOTIFYICONDATAA IconData{};
  TEdit* PromptEdit = nullptr;
  bool iconAdded_ = false;
  std::string tipShown_;
  bool actionDone_ = false;  // the action of the current arming has run
  // The count is derived from the deadline at every tick, so late ticks and sleeps of the
  // computer cost no time.
  std::int64_t deadlineMs_ = 0;
  bool warningDue_ = false;   // armed above 60 seconds and not yet warned
  bool warningOpen_ = false;  // the warning question is on the screen
  TLocalTime listDate_;       // the day today's hour list was made for
};

extern TForm1* Form1;
// Hour of day at start-up: the first entry of today's hour list, never refreshed.
extern int StartHour;
// Whole seconds left until the action.
extern std::int32_t RemainSeconds;

// Where the main window gets the time and sends its power requests. The program uses the
// system's; tests and the dry run put their own in place before the window is created.
void SetSchedulerServices(TClock* clock, TPowerService* power);
TClock& SchedulerClock();
// Whether the power requests are a dry run's.
bool DryRunMode();
// The dry run reports each request it stood in for here; the main window shows the last one.
const std::string& LastDryRunReport();
void ReportDryRun(const std::string& line);
