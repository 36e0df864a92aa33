// The system's file dialog in a program skinned through the DLL: opened and closed a hundred
// times, it leaves no GDI objects behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dll/DaskelSkin.h"
#include "tests/TestUtil.h"
#include "tests/windows/FileDialogCycle.h"
#include "tests/windows/GdiCount.h"

namespace {

// Windows with a skinned frame the engine holds.
DWORD WindowSkinners() {
  DaskelSkinCounts c{};
  c.size = sizeof c;
  DaskelSkinGetCounts(&c);
  return c.windowSkinners;
}

TEST(FileDialog, AHundredOpenAndCloseCyclesSkinnedLeaveNoGdiObjectsBehind) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder =
      std::wstring(temp) + L"daskel-filedialog-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  HWND owner = CreateWindowExW(0, L"#32770", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(DaskelSkinStartA(kDarkSkin)) << DaskelSkinLastErrorA();
  PumpUntil([owner] { return DaskelSkinIsWindowSkinned(owner); });
  for (int i = 0; i < 5; ++i) filedialog::OpenAndCancel(owner, folder);  // the system's caches filled
  PumpUntil([] { return WindowSkinners() == 1; });
  const long before = GdiObjectsInUse();
  int skinned = 0, cancelled = 0;
  for (int i = 0; i < 100; ++i) {
    cancelled += filedialog::OpenAndCancel(owner, folder) >= 0;
    skinned += filedialog::Shown().Skinned;
  }
  // The skinners of closed dialogs go with the engine's next pause (the dialogs come faster here
  // than a person opens them).
  EXPECT_TRUE(PumpUntil([] { return WindowSkinners() == 1; })) << WindowSkinners();
  const long growth = GdiObjectsInUse() - before;
  std::printf("100 file dialogs opened and closed skinned: GDI objects %+ld\n", growth);
  EXPECT_EQ(cancelled, 100) << "every dialog opened and was cancelled";
  EXPECT_EQ(skinned, 100) << "every dialog showed skinned";
  // A skinner's leak would be one object or more for each dialog.
  EXPECT_LE(growth, 20);
  DaskelSkinStop();
  PumpUntil([] { return !DaskelSkinIsRunning(); });
  DestroyWindow(owner);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
