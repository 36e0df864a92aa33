// Stand-ins for the scheduler's seams: a clock that says what the test says, and a power service
// that records the requests instead of making them.
#pragma once

#include <string>
#include <vector>

#include "app/Unit1Power.h"
#include "app/Unit1Schedule.h"

class RecordingPower : public TPowerService {
 public:
  bool versionOk = true;
  unsigned platform = kVerPlatformWin32Nt;
  bool privilegeRefused = false, requestRefused = false;
  // "privilege", "exit <flags>[ planned]", "power <suspend><force>"
  std::vector<std::string> calls;

  bool QueryPlatformId(unsigned& id) override {
    id = platform;
    return versionOk;
  }
  bool EnableShutdownPrivilege() override {
    calls.push_back("privilege");
    error = "no privilege";
    return !privilegeRefused;
  }
  bool RequestExitWindows(unsigned flags, unsigned reason) override {
    calls.push_back("exit " + std::to_string(flags) + (reason == kShutdownReasonPlanned ? " planned" : ""));
    error = "request refused";
    return !requestRefused;
  }
  bool RequestPowerState(bool suspend, bool force) override {
    calls.push_back(std::string("power ") + (suspend ? "1" : "0") + (force ? "1" : "0"));
    error = "request refused";
    return !requestRefused;
  }
  std::string ErrorText() override { return error; }
  std::string error;
};
