// The DLL's side of skinrun: the hook procedure that starts the engine inside a program that
// was started skinned (see SkinLaunch.h).
#include <windows.h>

#include <cwchar>
#include <iterator>

#include "dll/DaskelSkin.h"
#include "dll/SkinLaunch.h"

namespace {

// Starts the engine once, on the first hook call of the program's thread, and reports back.
void StartInLaunchedProgram() {
  static bool tried = false;
  if (tried) return;
  tried = true;
  DWORD pid = GetCurrentProcessId();
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, SkinLaunchBlockName(pid).c_str());
  if (!mapping) return;  // not a program skinrun started
  auto* block =
      static_cast<TSkinLaunchBlock*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(TSkinLaunchBlock)));
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, SkinLaunchEventName(pid).c_str());
  if (block) {
    // Stay loaded when skinrun takes its hook away: the engine's windows depend on this code.
    HMODULE self = nullptr;
    BOOL pinned = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                     reinterpret_cast<LPCWSTR>(&StartInLaunchedProgram), &self);
    block->Skin[std::size(block->Skin) - 1] = L'\0';
    if (!pinned) {
      wcsncpy(block->Error, L"the engine could not keep itself loaded in the program",
              std::size(block->Error) - 1);
      block->State = kLaunchFailed;
    } else if (DaskelSkinStartW(block->Skin)) {
      block->State = kLaunchStarted;
    } else {
      wcsncpy(block->Error, DaskelSkinLastErrorW(), std::size(block->Error) - 1);
      block->State = kLaunchFailed;
    }
    UnmapViewOfFile(block);
  }
  if (done) {
    SetEvent(done);
    CloseHandle(done);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" LRESULT CALLBACK DaskelSkinLaunchHook(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0) StartInLaunchedProgram();
  return CallNextHookEx(nullptr, code, wp, lp);
}
