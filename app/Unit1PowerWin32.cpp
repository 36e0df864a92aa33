// The real power requests.
#include <windows.h>

#include "app/Unit1Power.h"

namespace {
class Win32PowerService final : public TPowerService {
 public:
  bool QueryPlatformId(unsigned& platformId) override {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148
    if (!GetVersionExA(&info)) return false;
    platformId = info.dwPlatformId;
    return true;
  }

  void EnableShutdownPrivilege() override {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      DWORD returned = 0;
      AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, &returned);
    }
    CloseHandle(token);  // nothing else needs it
  }

  void RequestExitWindows(unsigned flags) override { ExitWindowsEx(flags, 0); }

  void RequestPowerState(bool suspend, bool force) override { ::SetSystemPowerState(suspend, force); }
};
}  // namespace

TPowerService& SystemPowerService() {
  static Win32PowerService service;
  return service;
}
