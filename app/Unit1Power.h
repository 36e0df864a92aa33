// The power actions: which operating-system request each action code becomes, on which family.
// The requests themselves go through TPowerService so the countdown can be tested with a
// recording service and tried safely with the dry-run one.
#pragma once

#include <string>

// Operating-system flags of the requests (their Win32 values).
constexpr unsigned kEwxLogoff = 0, kEwxShutdown = 1, kEwxReboot = 2, kEwxForce = 4, kEwxPowerOff = 8,
                   kEwxForceIfHung = 0x10;
constexpr unsigned kVerPlatformWin32Windows = 1, kVerPlatformWin32Nt = 2;
// The reason given with a shutdown: planned, so the system's event log does not record it as an
// unexpected one (SHTDN_REASON_FLAG_PLANNED with major and minor reason "other").
constexpr unsigned kShutdownReasonPlanned = 0x80000000u;

constexpr const char* kFamilyNt = "Windows NT/2000/XP";
constexpr const char* kFamily9x = "Windows 95/98/98SE/Me";

class TPowerService {
 public:
  virtual ~TPowerService() = default;
  // The platform identifier of the version query; false when the query fails.
  virtual bool QueryPlatformId(unsigned& platformId) = 0;
  // Each of these returns false when the system refused; ErrorText then says why.
  virtual bool EnableShutdownPrivilege() = 0;
  virtual bool RequestExitWindows(unsigned flags, unsigned reason) = 0;
  virtual bool RequestPowerState(bool suspend, bool force) = 0;
  // The system's words for the last refusal (GBK).
  virtual std::string ErrorText() = 0;
};

// The family text: kFamilyNt, kFamily9x or empty.
std::string GetWinVersion(TPowerService& power);

// Carries out action code 0 shut down, 1 restart, 2 log off, 3 hibernate. Returns empty when the
// request was made, otherwise the text that tells the user why the system refused it.
std::string DoPowerAction(TPowerService& power, int code);

// The real requests, through Win32 (Windows build only).
TPowerService& SystemPowerService();

// Dry run: reports each request that would be made, as one line "<time> <call>(<arguments>)",
// instead of making it. The version query is still asked of the real service, so the family
// decision is the one the real run would take.
class TDryRunPowerService final : public TPowerService {
 public:
  using TReport = void (*)(void* context, const std::string& line);
  using TStamp = std::string (*)();  // the moment of a request, as text
  TDryRunPowerService(TPowerService& real, std::string logFile, TStamp stamp, TReport report, void* context)
      : real_(real), logFile_(std::move(logFile)), stamp_(stamp), report_(report), context_(context) {}

  bool QueryPlatformId(unsigned& platformId) override { return real_.QueryPlatformId(platformId); }
  bool EnableShutdownPrivilege() override;
  bool RequestExitWindows(unsigned flags, unsigned reason) override;
  bool RequestPowerState(bool suspend, bool force) override;
  std::string ErrorText() override { return ""; }

 private:
  void Say(const std::string& call);
  TPowerService& real_;
  std::string logFile_;
  TStamp stamp_;
  TReport report_;
  void* context_;
};

// "EWX_SHUTDOWN|EWX_FORCE" for a flags value (EWX_LOGOFF when 0).
std::string ExitFlagsText(unsigned flags);
