// The main window's commands from outside: the command line of its own start, and the requests
// a second start of the program sends it.
#include <cstdio>

#include "app/Unit1.h"

namespace {

constexpr ULONG_PTR kReplyTag = 0x44534B52;  // "DSKR": the answer to a request

std::string TwoDigits(int n) {
  char buf[8];
  snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

int TForm1::RunCommand(const TCommand& c, std::string& message) {
  message.clear();
  if (!c.Error.empty()) {
    message = c.Error + "\r\n" + UsageText();
    return kExitUsage;
  }
  if (c.Help) {
    message = UsageText();
    return kExitDone;
  }
  if (c.Empty()) {
    RestoreFromTray();
    return kExitDone;
  }
  if (c.Status || c.Cancel) {
    if (!Armed()) {
      message = "没有进行中的任务";
      return kExitDone;
    }
    if (c.Cancel) {
      Button2Click(nullptr);
      message = "已取消执行";
      return kExitDone;
    }
    message = ComboBox2->Text() + " " + CountdownText(RemainSeconds < 0 ? 0 : RemainSeconds).substr(1);
    return kExitDone;
  }
  // Arming. A dry run and a real run must not be mistaken for each other: a request that asks
  // for a dry run never arms a real power request, and the other way round.
  if (c.DryRun != DryRunMode()) {
    message =
        DryRunMode() ? "对不起,运行中的定时器是演习模式 (/dry-run)" : "对不起,运行中的定时器不是演习模式";
    return kExitRefused;
  }
  if (Armed()) {
    message = "对不起,已有任务在进行,请先取消 (/a)";
    return kExitRefused;
  }
  if (c.Warn) CheckBox1->SetChecked(true);
  if (c.HasPrompt && PromptEdit) PromptEdit->SetText(c.Prompt);
  ComboBox2->SetItemIndex(c.Action);
  if (c.HasDelay) {
    Arm(c.DelaySeconds);
  } else {
    // The controls are set as the user would set them, and the arm button does the rest, so
    // the window refuses what it would refuse from a click.
    const TLocalTime now = SchedulerClock().Now();
    const bool tomorrow = c.Tomorrow || (c.Hour * 60 + c.Minute) * 60'000 < now.TimeOfDayMs();
    ComboBox3->SetItemIndex(tomorrow ? 1 : 0);
    ComboBox3Change(nullptr);
    const int hour = ComboBox1->Items()->IndexOf(std::to_string(c.Hour));
    if (hour >= 0) {
      ComboBox1->SetItemIndex(hour);
      MaskEdit1->SetText(TwoDigits(c.Minute));
      Button1Click(nullptr);
    }
  }
  if (!Armed()) {
    message = "对不起,当前的时间低于系统的时间";
    return kExitRefused;
  }
  message = ComboBox2->Text() + " " + CountdownText(RemainSeconds).substr(1);
  return kExitDone;
}

LRESULT TForm1::AnswerRequest(HWND replyTo, const COPYDATASTRUCT* data) {
  // Another program's bytes: checked as strictly as a command line, and anything else ignored.
  std::vector<std::string> args;
  if (!data || data->dwData != kRequestTag || !DecodeRequest(data->lpData, data->cbData, args)) return 0;
  std::string message;
  const int code = RunCommand(ParseCommandLine(args), message);
  if (replyTo && IsWindow(replyTo) && !message.empty()) {
    COPYDATASTRUCT reply{kReplyTag, static_cast<DWORD>(message.size()), message.data()};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()),
                        reinterpret_cast<LPARAM>(&reply), SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &ignored);
  }
  return kRequestAnswered + code;
}

ULONG_PTR TForm1::ReplyTag() { return kReplyTag; }
