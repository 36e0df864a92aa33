// Daskel: shuts the computer down, restarts it, logs off or hibernates at a chosen time.
//
//   Daskel.exe [/s|/r|/l|/h] [/t SECONDS | /at HH:MM [/tomorrow]] [/w] [/m TEXT] [/a] [/status]
//              [/dry-run[=FILE]] [/?]
//
// One timer runs per user session: a second start hands its switches to the running one and
// exits with the answer it gets. With /dry-run the power request that would be made is reported
// instead of made: shown in the main window and, when FILE is given, appended to it as one line.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Handles.h"
#include "skin/manager/SkinManage.h"

namespace {

std::string DryRunStamp() {
  TLocalTime t = SystemClock().Now();
  char buf[64];
  snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute,
           t.Second);
  return buf;
}

std::unique_ptr<TDryRunPowerService> NewDryRun(const std::string& file) {
  return std::make_unique<TDryRunPowerService>(
      SystemPowerService(), file, DryRunStamp, [](void*, const std::string& line) { ReportDryRun(line); },
      nullptr);
}

// Tells the user: to the output the program was given (a pipe or a file), else to the console
// it was started from, else, where a box is wanted, in a message box.
void Say(const std::string& text, bool error, bool boxWanted) {
  if (text.empty()) return;
  const std::string line =
      text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0 ? text : text + "\r\n";
  HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
  DWORD written = 0;
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
    WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE console =
        CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
      WriteConsoleA(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(console);
    }
    FreeConsole();
    return;
  }
  if (boxWanted)
    MessageBoxA(nullptr, text.c_str(), "Daskel", MB_OK | (error ? MB_ICONWARNING : MB_ICONINFORMATION));
}

// The running timer's main window, once it has one (it may be starting at this moment).
HWND RunningTimer() {
  for (int i = 0; i < 100; ++i) {
    if (HWND w = FindWindowA("TForm1", "Daskel1.0")) return w;
    Sleep(100);
  }
  return nullptr;
}

// The running timer's answer to a request arrives here before SendMessage returns.
std::string g_reply;
LRESULT CALLBACK ReplyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    if (data->dwData == TForm1::ReplyTag() && data->lpData && data->cbData <= kMaxRequestBytes)
      g_reply.assign(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

// Hands the arguments to the running timer; its exit code, or -1 when it did not answer.
int HandOver(HWND timer, const std::vector<std::string>& args) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReplyProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DaskelReply";
  RegisterClassA(&wc);
  TWindowHandle reply(
      CreateWindowA("DaskelReply", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
  // The running timer may bring its window to the front.
  DWORD pid = 0;
  GetWindowThreadProcessId(timer, &pid);
  AllowSetForegroundWindow(pid);
  std::string data = EncodeRequest(args);
  COPYDATASTRUCT request{TForm1::kRequestTag, static_cast<DWORD>(data.size()), data.data()};
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(timer, WM_COPYDATA, reinterpret_cast<WPARAM>(reply.Get()),
                           reinterpret_cast<LPARAM>(&request), SMTO_ABORTIFHUNG, 30000, &result))
    return -1;
  const auto code = static_cast<LRESULT>(result) - TForm1::kRequestAnswered;
  return code >= kExitDone && code <= kExitUsage ? static_cast<int>(code) : -1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> args(__argv + 1, __argv + __argc);
  const TCommand command = ParseCommandLine(args);
  if (!command.Error.empty()) {
    Say(command.Error + "\r\n" + UsageText(), true, true);
    return kExitUsage;
  }
  if (command.Help) {
    Say(UsageText(), false, true);
    return kExitDone;
  }

  // One timer per user session (the name lives in the session's own namespace).
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\Daskel.Timer");
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    HWND timer = RunningTimer();
    const int code = timer ? HandOver(timer, args) : -1;
    if (code < 0) {
      Say("对不起,运行中的定时器没有回答", true, true);
      return kExitRefused;
    }
    Say(g_reply, code != kExitDone, true);
    return code;
  }

  std::unique_ptr<TDryRunPowerService> dryRun;
  if (command.DryRun) dryRun = NewDryRun(command.DryRunFile);
  if (dryRun) SetSchedulerServices(nullptr, dryRun.get());

  Application->Initialize();
  Application->CreateForm(Form1);
  Application->CreateForm(Form2);
  int code = kExitDone;
  if (!command.Empty()) {
    std::string message;
    code = Form1->RunCommand(command, message);
    // The window shows what was armed; the console, if any, hears it too.
    Say(message, code != kExitDone, code != kExitDone || !command.Arms());
  }
  // Only an armed timer has a reason to stay; a refusal, a cancel or a status ends here.
  if (command.Empty() || (command.Arms() && code == kExitDone)) Application->Run();
  // The skinning goes before the forms it skins; the forms go with the application afterwards.
  FreeSkinManager();
  SetSchedulerServices(nullptr, nullptr);
  if (mutex) CloseHandle(mutex);
  return code;
}
