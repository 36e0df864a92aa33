// The real power requests.
#include <windows.h>

#include <string>

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

  bool EnableShutdownPrivilege() override {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
      return Failed();
    TOKEN_PRIVILEGES privileges{};
    bool enabled = false;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      DWORD returned = 0;
      // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold the privilege at all.
      enabled = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, &returned) &&
                GetLastError() != ERROR_NOT_ALL_ASSIGNED;
    }
    if (!enabled) Failed();
    CloseHandle(token);  // nothing else needs it
    return enabled;
  }

  bool RequestExitWindows(unsigned flags, unsigned reason) override {
    return ExitWindowsEx(flags, reason) || Failed();
  }

  bool RequestPowerState(bool suspend, bool force) override {
    return ::SetSystemPowerState(suspend, force) || Failed();
  }

  std::string ErrorText() override {
    char* text = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error_, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = n && text ? std::string(text, n) : "error " + std::to_string(error_);
    if (text) LocalFree(text);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.pop_back();
    return s;
  }

 private:
  // Keeps the system's error of the step that failed; always false.
  bool Failed() {
    error_ = GetLastError();
    return false;
  }
  DWORD error_ = 0;
};
}  // namespace

TPowerService& SystemPowerService() {
  static Win32PowerService service;
  return service;
}
