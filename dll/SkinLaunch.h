// How skinrun.exe and DaskelSkin.dll meet inside a program started skinned.
//
// skinrun starts the program suspended, creates a named block of shared memory for it (the skin
// to use; where the engine reports back) and sets the DLL's WH_CBT hook procedure on the
// program's main thread before that thread runs its first instruction. The first window event
// of that thread makes the system load the DLL into the program and call the hook there: it
// pins the DLL (it stays when skinrun takes its hook away), starts the engine on that thread,
// writes the outcome into the block and signals the event. skinrun then removes its hook and
// waits for the program to end.
#pragma once

#include <windows.h>

#include <string>

// The block, named after the program's process id.
struct TSkinLaunchBlock {
  LONG State;          // 0 waiting, 1 the engine runs, 2 it could not start (Error says why)
  wchar_t Skin[1024];  // the skin file; empty: the built-in skin
  wchar_t Error[512];
};

constexpr LONG kLaunchWaiting = 0, kLaunchStarted = 1, kLaunchFailed = 2;

inline std::wstring SkinLaunchBlockName(DWORD pid) {
  return L"Local\\DaskelSkinLaunch." + std::to_wstring(pid);
}
inline std::wstring SkinLaunchEventName(DWORD pid) {
  return L"Local\\DaskelSkinLaunched." + std::to_wstring(pid);
}

// The hook procedure's exported name.
inline constexpr char kSkinLaunchHookName[] = "DaskelSkinLaunchHook";
