// Proves the Wine bench does what the skinning engine relies on: a thread CBT hook sees a
// window being created and activated, in the same thread, with the window's class.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
  int code;
  std::string cls;
};
std::vector<Seen> g_seen;
HHOOK g_hook;

std::string ClassOf(HWND h) {
  char buf[64] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND || code == HCBT_ACTIVATE) {
    // At HCBT_CREATEWND the class is already known; record it for the check below.
    g_seen.push_back({code, ClassOf(reinterpret_cast<HWND>(wp))});
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

TEST(WineBench, ThreadCbtHookSeesCreationAndActivation) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "DaskelBenchProbe";
  ASSERT_NE(RegisterClassA(&wc), 0);

  g_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  HWND w = CreateWindowExA(0, "DaskelBenchProbe", "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  UnhookWindowsHookEx(g_hook);

  bool created = false, activated = false;
  for (const auto& s : g_seen) {
    if (s.cls != "DaskelBenchProbe") continue;
    created |= s.code == HCBT_CREATEWND;
    activated |= s.code == HCBT_ACTIVATE;
  }
  EXPECT_TRUE(created);
  EXPECT_TRUE(activated);
  DestroyWindow(w);
  UnregisterClassA("DaskelBenchProbe", wc.hInstance);
}

TEST(WineBench, AnsiCodePageIsGbk) { EXPECT_EQ(GetACP(), 936u); }

}  // namespace
