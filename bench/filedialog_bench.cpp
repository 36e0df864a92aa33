// The system's file-open dialog in a program skinned through the DLL, against the same dialog with
// skinning off, under Wine (run: tools/winerun build/windows/bench/filedialog_bench.exe). Measured:
// from the call to the dialog shown and painted. It reports; it does not pass or fail.
#include <windows.h>

#include <string>

#include "bench/WinBench.h"
#include "dll/DaskelSkin.h"
#include "tests/windows/FileDialogCycle.h"

int main() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"daskel-filedialog-bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  HWND owner = CreateWindowExW(0, L"#32770", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
  if (!DaskelSkinStartA(nullptr)) return 1;
  auto cycle = [&](bool on) {
    DaskelSkinEnable(on);
    bench::Pump();
    return filedialog::OpenAndCancel(owner, folder) * 1e6;
  };
  bench::Report("file dialog open to shown",
                bench::Compare([&] { return cycle(false); }, [&] { return cycle(true); }, 40, 2, 3));
  DaskelSkinStop();
  DestroyWindow(owner);
  RemoveDirectoryW(folder.c_str());
  return 0;
}
