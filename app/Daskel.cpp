// Daskel: shuts the computer down, restarts it, logs off or hibernates at a chosen time.
//
//   Daskel.exe [--dry-run[=FILE]]
//
// With --dry-run the power request that would be made is reported instead of made: shown in the
// main window and, when FILE is given, appended to it as one line.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/manager/SkinManage.h"

namespace {

std::string DryRunStamp() {
  TLocalTime t = SystemClock().Now();
  char buf[64];
  snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute,
           t.Second);
  return buf;
}

std::unique_ptr<TDryRunPowerService> NewDryRun(const char* file) {
  return std::make_unique<TDryRunPowerService>(
      SystemPowerService(), file, DryRunStamp, [](void*, const std::string& line) { ReportDryRun(line); },
      nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::unique_ptr<TDryRunPowerService> dryRun;
  for (int i = 1; i < __argc; ++i) {
    const char* arg = __argv[i];
    if (!strcmp(arg, "--dry-run")) {
      dryRun = NewDryRun("");
    } else if (!strncmp(arg, "--dry-run=", 10)) {
      dryRun = NewDryRun(arg + 10);
    }
  }
  if (dryRun) SetSchedulerServices(nullptr, dryRun.get());

  Application->Initialize();
  Application->CreateForm(Form1);
  Application->CreateForm(Form2);
  Application->Run();
  // The skinning goes before the forms it skins; the forms go with the application afterwards.
  FreeSkinManager();
  SetSchedulerServices(nullptr, nullptr);
  return 0;
}
