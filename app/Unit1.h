// The main window: the schedule entry, the clock, arming and the countdown with its warning, the
// power actions, the notification-area icon and the close question.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>

#include "app/Unit1Clock.h"
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

  void AShutdown();
  void DoPowerAction(int code);
  std::string FormatRemaining(std::int32_t seconds) const { return ::FormatRemaining(seconds); }
  void HideToTray();

  TEdit* PromptEditControl() const { return PromptEdit; }
  bool TrayIconAdded() const { return iconAdded_; }

 protected:
  void WndProc(TMessage& m) override;

 private:
  void TrayMenu(TMessage& m);
  void WMSysCommand(TMessage& m);
  void SetScheduleControlsEnabled(bool enabled);
  // Leaves the armed mode: countdown off, clock on (unless keepClockStopped), colours and
  // controls restored.
  void Cancel(bool keepClockStopped = false);
  std::string ClockCaption();

  NOTIFYICONDATAA IconData{};
  TEdit* PromptEdit = nullptr;
  bool iconAdded_ = false;
  bool actionDone_ = false;  // the action of the current arming has run
  // The count is derived from the deadline at every tick, so late ticks and sleeps of the
  // computer cost no time.
  std::int64_t deadlineMs_ = 0;
  bool warningDue_ = false;  // armed above 60 seconds and not yet warned
};

extern TForm1* Form1;
// Hour of day at start-up: the first entry of today's hour list, never refreshed.
extern int StartHour;
// Whole seconds left until the action.
extern std::int32_t RemainSeconds;

// Where the main window gets the time and sends its power requests. The program uses the
// system's; tests and the dry run put their own in place before the window is created.
void SetSchedulerServices(TClock* clock, TPowerService* power);
// The dry run reports each request it stood in for here; the main window shows the last one.
const std::string& LastDryRunReport();
void ReportDryRun(const std::string& line);
