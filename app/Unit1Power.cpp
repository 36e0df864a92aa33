#include "app/Unit1Power.h"

std::string GetWinVersion(TPowerService& power) {
  unsigned id = 0;
  if (!power.QueryPlatformId(id)) return "";
  if (id == kVerPlatformWin32Windows) return kFamily9x;
  if (id == kVerPlatformWin32Nt) return kFamilyNt;
  return "";
}

void DoPowerAction(TPowerService& power, int code) {
  if (GetWinVersion(power) == kFamilyNt) {
    power.EnableShutdownPrivilege();
    switch (code) {
      case 0:
        power.RequestExitWindows(kEwxShutdown);
        break;
      case 1:
        power.RequestExitWindows(kEwxReboot);
        break;
      case 2:
        power.RequestExitWindows(kEwxLogoff | kEwxForce);
        break;
      case 3:
        power.RequestPowerState(false, false);
        break;
      default:
        break;
    }
    return;
  }
  // The older family has no finer requests: every action is a forced power-off.
  power.RequestExitWindows(kEwxShutdown | kEwxForce | kEwxPowerOff | kEwxForceIfHung);
}

#include <cstdio>
#include <memory>

std::string ExitFlagsText(unsigned flags) {
  static const struct {
    unsigned bit;
    const char* name;
  } kNames[] = {{kEwxShutdown, "EWX_SHUTDOWN"},
                {kEwxReboot, "EWX_REBOOT"},
                {kEwxForce, "EWX_FORCE"},
                {kEwxPowerOff, "EWX_POWEROFF"},
                {kEwxForceIfHung, "EWX_FORCEIFHUNG"}};
  std::string text;
  for (const auto& n : kNames) {
    if (!(flags & n.bit)) continue;
    if (!text.empty()) text += '|';
    text += n.name;
  }
  if (!(flags & (kEwxShutdown | kEwxReboot | kEwxPowerOff)))
    text = text.empty() ? "EWX_LOGOFF" : "EWX_LOGOFF|" + text;
  return text;
}

void TDryRunPowerService::Say(const std::string& call) {
  std::string line = stamp_ ? stamp_() + " " + call : call;
  if (!logFile_.empty()) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(logFile_.c_str(), "ab"), &std::fclose);
    if (f) std::fprintf(f.get(), "%s\n", line.c_str());
  }
  if (report_) report_(context_, line);
}

void TDryRunPowerService::EnableShutdownPrivilege() { Say("AdjustTokenPrivileges(SeShutdownPrivilege)"); }

void TDryRunPowerService::RequestExitWindows(unsigned flags) {
  Say("ExitWindowsEx(" + std::to_string(flags) + " " + ExitFlagsText(flags) + ", 0)");
}

void TDryRunPowerService::RequestPowerState(bool suspend, bool force) {
  Say(std::string("SetSystemPowerState(") + (suspend ? "TRUE" : "FALSE") + ", " + (force ? "TRUE" : "FALSE") +
      ")");
}
