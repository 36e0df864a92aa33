// What skinrun's tests start: a program that knows nothing of the engine.
//   probe exit N         ends at once with code N (no window ever)
//   probe window         shows a window; exit code 10 when it got skinned, 11 when not
//   probe spawn N FILE   starts "probe window FILE" as a second process and ends with code N;
//                        the second one writes its answer (10 or 11) into FILE
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kSkinQuery = 0x3504;  // a window with a skinned frame answers 1

// Shows a window and waits a while for the engine to skin it when it is there to do so.
int ShowWindowAndLook() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SkinrunProbe";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, L"SkinrunProbe", L"Probe", WS_OVERLAPPEDWINDOW, 80, 80, 300, 200, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  bool skinned = false;
  DWORD start = GetTickCount();
  // The engine is on this thread or it is not: a few seconds of messages decide it.
  while (!skinned && GetTickCount() - start < 3000) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    skinned = SendMessageW(w, kSkinQuery, 0, 0) == 1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  DestroyWindow(w);
  return skinned ? 10 : 11;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "exit" && argc > 2) return std::atoi(argv[2]);
  if (mode == "window") {
    int answer = ShowWindowAndLook();
    if (argc > 2)
      if (FILE* f = std::fopen(argv[2], "w")) {
        std::fprintf(f, "%d", answer);
        std::fclose(f);
      }
    return answer;
  }
  if (mode == "spawn" && argc > 3) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string cmd = std::string("\"") + self + "\" window \"" + argv[3] + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return 99;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return std::atoi(argv[2]);
  }
  return 98;
}
