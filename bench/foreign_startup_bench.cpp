// Start-up of a program we did not write, skinned through skinrun.exe against the same program
// started directly, under Wine (run: tools/winerun build/windows/bench/foreign_startup_bench.exe
// [PROGRAM [WINDOW-CLASS]], default notepad.exe and "Notepad"). It reports; it does not pass or
// fail. Measured: from starting the process to its main window shown, painted and idle (and, when
// skinned, drawn by the engine), the median of several runs taken in turn.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/WinBench.h"
#include "tests/e2e/E2eDriver.h"

namespace {

std::string OwnFolder() {
  char buf[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, buf, MAX_PATH);
  std::string p = buf;
  return p.substr(0, p.find_last_of("\\/") + 1);
}

std::vector<HWND> WindowsOfClass(const char* cls) {
  std::vector<HWND> out;
  for (HWND w = FindWindowExA(nullptr, nullptr, cls, nullptr); w; w = FindWindowExA(nullptr, w, cls, nullptr))
    if (IsWindowVisible(w)) out.push_back(w);
  return out;
}

// Starts the command line and times it until a new visible window of the class is shown, painted
// and idle (skinned too when asked); closes the program again. -1 when it never got there.
double StartOnce(const std::string& commandLine, const char* cls, bool skinned) {
  for (HWND w : WindowsOfClass(cls)) PostMessageA(w, WM_CLOSE, 0, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = commandLine;
  LARGE_INTEGER t0 = bench::Now();
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                      &pi))
    return -1;
  HWND window = nullptr;
  double elapsed = -1;
  if (e2e::WaitUntil(
          [&] {
            auto found = WindowsOfClass(cls);
            window = found.empty() ? nullptr : found[0];
            return window && (!skinned || e2e::SkinnedFrame(window));
          },
          20000)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
      WaitForInputIdle(p, 10000);  // its first paint is done once it waits for input
      elapsed = bench::Microseconds(t0, bench::Now()) / 1000;
      PostMessageA(window, WM_CLOSE, 0, 0);
      WaitForSingleObject(p, 10000);
      CloseHandle(p);
    }
  }
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  std::string program = argc > 1 ? argv[1] : "notepad.exe";
  const char* cls = argc > 2 ? argv[2] : "Notepad";
  std::string skinrun = "\"" + OwnFolder() + "..\\dll\\skinrun.exe\" ";
  std::vector<double> plain, skinned;
  StartOnce(program, cls, false);  // the system's caches filled
  for (int i = 0; i < 7; ++i) {
    plain.push_back(StartOnce(program, cls, false));
    skinned.push_back(StartOnce(skinrun + program, cls, true));
  }
  std::printf(
      "%s start-up to its first painted window: skinned (skinrun) %.1f ms, unskinned %.1f ms, ratio %.2f\n",
      program.c_str(), bench::Median(skinned), bench::Median(plain),
      bench::Median(skinned) / bench::Median(plain));
  return 0;
}
