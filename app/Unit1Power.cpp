#include "app/Unit1Power.h"

namespace {
const std::string kPowerRefused = "对不起,系统拒绝了请求:";
}

std::string GetWinVersion(TPowerService& power) {
  unsigned id = 0;
  if (!power.QueryPlatformId(id)) return "";
  if (id == kVerPlatformWin32Windows) return kFamily9x;
  if (id == kVerPlatformWin32Nt) return kFamilyNt;
  return "";
}

std::string DoPowerAction(TPowerService& power, int code) {
  // The older family has no finer requests: every action is a forced power-off.
  if (GetWinVersion(power) == kFamily9x) {
    if (power.RequestExitWindows(kEwxShutdown | kEwxForce | kEwxPowerOff | kEwxForceIfHung, 0)) return "";
    return kPowerRefused + power.ErrorText();
  }
  // The NT family, and a system whose family the version query could not tell: the request the
  // action asked for. A missing privilege need not stop a log-off, so the request is made anyway
  // and the privilege's failure is what the user hears when the request fails too.
  std::string privilegeError;
  if (!power.EnableShutdownPrivilege()) privilegeError = power.ErrorText();
  bool made = true;
  switch (code) {
    case 0:
      made = power.RequestExitWindows(kEwxShutdown | kEwxPowerOff, kShutdownReasonPlanned);
      break;
    case 1:
      made = power.RequestExitWindows(kEwxReboot, 0);
      break;
    case 2:
      made = power.RequestExitWindows(kEwxLogoff | kEwxForce, 0);
      break;
    case 3:
      made = power.RequestPowerState(false, false);
      break;
    default:
      break;
  }
  if (made) return "";
  return kPowerRefused + (privilegeError.empty() ? power.ErrorText() : privilegeError);
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

bool TDryRunPowerService::EnableShutdownPrivilege() {
  Say("AdjustTokenPrivileges(SeShutdownPrivilege)");
  return true;
}

bool TDryRunPowerService::RequestExitWindows(unsigned flags, unsigned reason) {
  Say("ExitWindowsEx(" + std::to_string(flags) + " " + ExitFlagsText(flags) + ", " +
      (reason == kShutdownReasonPlanned ? std::string("SHTDN_REASON_FLAG_PLANNED") : std::to_string(reason)) +
      ")");
  return true;
}

bool TDryRunPowerService::RequestPowerState(bool suspend, bool force) {
  Say(std::string("SetSystemPowerState(") + (suspend ? "TRUE" : "FALSE") + ", " + (force ? "TRUE" : "FALSE") +
      ")");
  return true;
}
