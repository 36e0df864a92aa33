// The real Daskel.exe, in dry-run mode, used the way a person uses it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/e2e/E2eDriver.h"

using namespace e2e;

#ifndef E2E_DPI
#define E2E_DPI 96
#endif

namespace {

// A length of the program's 96-DPI layout at the DPI the test runs at.
int AtDpi(int n) { return MulDiv(n, E2E_DPI, 96); }

// The DPI a window of the program is drawn at, as the system tells (96 where it cannot).
int DpiOf(HWND w) {
  using TGetDpi = UINT(WINAPI*)(HWND);
  auto get = reinterpret_cast<TGetDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  return get ? static_cast<int>(get(w)) : 96;
}

std::string TempFile(const char* name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  std::string path = std::string(dir) + name;
  DeleteFileA(path.c_str());
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Clicks into an edit and types, once it has the focus.
void TypeInto(HWND edit, const std::string& text) {
  ClickCenter(edit);
  WaitUntil([&] { return FocusOf(edit) == edit; }, kPatience);
  TypeText(text);
}

int ItemIndex(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

std::string ItemText(HWND combo, int i) {
  // Asked in UTF-16 and turned into the ANSI code page here: Wine hands an ANSI request for a
  // list item of another process back in UTF-16.
  wchar_t wide[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
  char buf[128] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
  return buf;
}

struct Answer {
  int code;
  std::string text;
};

struct Daskel {
  std::string log = TempFile("daskel-e2e-dryrun.txt");
  Process process{"\"" + WindowsPath(DASKEL_EXE) + "\" --dry-run=" + log};
  HWND main = nullptr;
  HWND groupBox = nullptr;
  HWND day = nullptr, hour = nullptr, action = nullptr, minute = nullptr;
  HWND arm = nullptr, cancel = nullptr, about = nullptr, warn = nullptr;

  bool Find() {
    if (!WaitUntil([&] { return !TopLevels(process.Id(), "TForm1", "Daskel1.0").empty(); })) return false;
    main = TopLevels(process.Id(), "TForm1", "Daskel1.0")[0];
    auto boxes = Children(main, "TGroupBox");
    auto combos = Children(main, "TComboBox");  // left to right: day, hour, action
    auto edits = Children(main, "TMaskEdit");
    auto buttons = Children(main, "TButton");  // top to bottom, left to right: about, cancel, arm
    auto checks = Children(main, "TCheckBox");
    if (boxes.size() != 1 || combos.size() != 3 || edits.size() != 1 || buttons.size() != 3 ||
        checks.size() != 1)
      return false;
    groupBox = boxes[0];
    day = combos[0], hour = combos[1], action = combos[2];
    minute = edits[0];
    about = buttons[0], cancel = buttons[1], arm = buttons[2];
    warn = checks[0];
    return TextOf(arm) == "执行任务" && TextOf(cancel) == "取消执行" && TextOf(about) == "关于软件";
  }
  std::string Caption() { return TextOf(groupBox); }
  // Another start of the program with these switches, and what it answered.
  Answer Start(const std::string& switches) {
    std::string out = TempFile("daskel-e2e-answer.txt");
    Process second("\"" + WindowsPath(DASKEL_EXE) + "\" " + switches, out);
    const int code = second.WaitExit(30000);
    return {code, ReadFile(out)};
  }
  HWND Box() {
    auto boxes = TopLevels(process.Id(), "TMessageForm", "Confirm");
    return boxes.empty() ? nullptr : boxes[0];
  }
};

bool IsClock(const std::string& c) {
  return c.rfind("\x0E当前时间：", 0) == 0 && c.find("\x0E\x0E") != std::string::npos && c.back() == '\x0E';
}

TEST(Daskel, ScheduleCountdownDryRunTrayAndCloseQuestion) {
  Daskel d;
  ASSERT_TRUE(d.process.Started());
  ASSERT_TRUE(d.Find()) << "main window and its controls";
  EXPECT_EQ(DpiOf(d.main), E2E_DPI);

  // The clock runs in the group box caption.
  std::string first = d.Caption();
  EXPECT_TRUE(IsClock(first)) << first;
  EXPECT_TRUE(WaitUntil([&] { return d.Caption() != first && IsClock(d.Caption()); }, kPatience));
  EXPECT_EQ(ItemText(d.day, 0), "今天");
  EXPECT_EQ(ItemText(d.action, 0), "关闭计算机");

  // Tomorrow, any time: the countdown replaces the clock and changes every second.
  PickItem(d.day, 1);
  ASSERT_EQ(ItemIndex(d.day), 1);
  ClickCenter(d.arm);
  ASSERT_TRUE(WaitUntil([&] { return d.Caption().rfind("\x0E离关机时间还有:", 0) == 0; }, kPatience))
      << d.Caption();
  std::string count = d.Caption();
  EXPECT_TRUE(WaitUntil([&] { return d.Caption() != count; }, kPatience));
  EXPECT_FALSE(IsWindowEnabled(d.arm));
  EXPECT_FALSE(IsWindowEnabled(d.hour));

  // Cancel: the clock comes back and the schedule can be changed again.
  ClickCenter(d.cancel);
  EXPECT_TRUE(WaitUntil([&] { return IsClock(d.Caption()); }, kPatience)) << d.Caption();
  EXPECT_TRUE(IsWindowEnabled(d.arm));

  // Today at minute 00 of the first listed hour is past (unless it is exactly hh:00:00.000).
  PickItem(d.day, 0);
  PickItem(d.hour, 0);
  TypeInto(d.minute, "00");
  EXPECT_EQ(TextOf(d.minute), "00");
  ClickCenter(d.arm);
  EXPECT_TRUE(WaitUntil([&] { return d.Caption() == "对不起,当前的时间低于系统的时间"; }, kPatience))
      << d.Caption();
  EXPECT_TRUE(IsWindowEnabled(d.arm));
  ClickCenter(d.cancel);

  // The warning option brings the prompt edit and makes the window taller.
  RECT before = ScreenRect(d.main);
  RECT armBefore = ScreenRect(d.arm);
  ClickCenter(d.warn);
  ASSERT_TRUE(WaitUntil([&] { return !Children(d.main, "TEdit").empty(); }, kPatience));
  EXPECT_EQ(TextOf(Children(d.main, "TEdit")[0]), "单击这里修改提示内容");
  // 40 pixels for the prompt row (at 96 DPI), whatever the (skinned) frame adds outside.
  RECT after = ScreenRect(d.main);
  EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), AtDpi(40));
  EXPECT_EQ(ScreenRect(d.arm).top - armBefore.top, AtDpi(40));
  EXPECT_GT(ScreenRect(d.arm).top, before.top + AtDpi(93));
  ClickCenter(d.warn);
  EXPECT_TRUE(WaitUntil([&] { return Children(d.main, "TEdit").empty(); }, kPatience));

  // Arming today from the window, far enough ahead that no machine is too slow for it: the last
  // listed hour at minute 59 (tomorrow in the last ten minutes of the day).
  SYSTEMTIME now;
  GetLocalTime(&now);
  PickItem(d.day, now.wHour == 23 && now.wMinute >= 50 ? 1 : 0);
  PickItem(d.hour, static_cast<int>(SendMessageA(d.hour, CB_GETCOUNT, 0, 0)) - 1);
  TypeInto(d.minute, "59");
  ClickCenter(d.arm);
  ASSERT_TRUE(WaitUntil([&] { return d.Caption().rfind("\x0E离关机时间还有:", 0) == 0; }, kPatience))
      << d.Caption();
  EXPECT_FALSE(IsWindowEnabled(d.arm));
  ClickCenter(d.cancel);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(d.arm); }, kPatience));

  // The action at zero, in the dry run: a second start hands the running timer a two-second
  // countdown through the same path, and the request comes whenever the machine gets there.
  Answer armed = d.Start("/t 2 /r --dry-run");
  EXPECT_EQ(armed.code, 0) << armed.text;
  ASSERT_TRUE(WaitUntil([&] { return d.Caption().find("演习") != std::string::npos; }, 20000)) << d.Caption();
  EXPECT_NE(d.Caption().find("ExitWindowsEx(2 EWX_REBOOT, 0)"), std::string::npos) << d.Caption();
  std::string log = ReadFile(d.log);
  EXPECT_NE(log.find("AdjustTokenPrivileges(SeShutdownPrivilege)"), std::string::npos) << log;
  EXPECT_NE(log.find("ExitWindowsEx(2 EWX_REBOOT, 0)"), std::string::npos) << log;
  EXPECT_TRUE(IsWindowEnabled(d.arm));  // back to idle

  // Minimising hides the window to the notification area; the icon's double click brings it back.
  PostMessageA(d.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(d.main); }, kPatience));
  EXPECT_TRUE(d.process.Running());
  PostMessageA(d.main, WM_USER, 0, WM_LBUTTONDBLCLK);  // what the shell sends for the icon
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.main); }, kPatience));

  // The About window opens from the button, modally, and is the same window each time.
  HWND aboutWindow = nullptr;
  for (int i = 0; i < 2; ++i) {
    ClickCenter(d.about);
    ASSERT_TRUE(
        WaitUntil([&] { return !TopLevels(d.process.Id(), "TForm2", "关于本软件").empty(); }, kPatience));
    HWND w = TopLevels(d.process.Id(), "TForm2", "关于本软件")[0];
    if (aboutWindow) {
      EXPECT_EQ(w, aboutWindow);
    }
    aboutWindow = w;
    EXPECT_FALSE(IsWindowEnabled(d.main));  // modal
    PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(w) && IsWindowEnabled(d.main); }, kPatience));
  }

  // The icon's right button opens its menu; "关于程序" opens the About window too.
  PostMessageA(d.main, WM_USER, 0, WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return !TopLevels(d.process.Id(), "#32768").empty(); }, kPatience));
  PressKey(VK_UP);  // from the bottom: Exit, then About
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(aboutWindow); }, kPatience));
  PostMessageA(aboutWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(aboutWindow); }, kPatience));

  // The close question: No hides the window and keeps the program; Yes ends it.
  PostMessageA(d.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return d.Box() != nullptr; }, kPatience));
  HWND no = FindWindowExA(d.Box(), nullptr, "TButton", "&No");
  ASSERT_NE(no, nullptr);
  ClickCenter(no);
  ASSERT_TRUE(WaitUntil([&] { return d.Box() == nullptr && !IsWindowVisible(d.main); }, kPatience));
  EXPECT_TRUE(d.process.Running());
  PostMessageA(d.main, WM_USER, 0, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.main); }, kPatience));
  PostMessageA(d.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return d.Box() != nullptr; }, kPatience));
  HWND yes = FindWindowExA(d.Box(), nullptr, "TButton", "&Yes");
  ASSERT_NE(yes, nullptr);
  ClickCenter(yes);
  EXPECT_TRUE(WaitUntil([&] { return d.Box() == nullptr; }, kPatience)) << "the question is still open";
  EXPECT_EQ(d.process.WaitExit(kPatience), 0);
}

TEST(Daskel, ASecondStartTalksToTheRunningTimer) {
  Daskel d;
  ASSERT_TRUE(d.process.Started());
  ASSERT_TRUE(d.Find());

  Answer a = d.Start("/status");
  EXPECT_EQ(a.code, 0);
  EXPECT_NE(a.text.find("没有进行中的任务"), std::string::npos) << a.text;
  a = d.Start("/t 120 /r --dry-run");
  EXPECT_EQ(a.code, 0) << a.text;
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(d.arm); }, kPatience));
  a = d.Start("/STATUS");
  EXPECT_NE(a.text.find("重新启动"), std::string::npos) << a.text;
  a = d.Start("/s /t 5 --dry-run");  // armed already
  EXPECT_EQ(a.code, 1) << a.text;
  a = d.Start("-a");
  EXPECT_EQ(a.code, 0) << a.text;
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(d.arm); }, kPatience));
  a = d.Start("/s /t");
  EXPECT_EQ(a.code, 2);
  EXPECT_NE(a.text.find("/t"), std::string::npos) << a.text;
  EXPECT_TRUE(IsWindowEnabled(d.arm));  // nothing armed

  // Without switches the hidden window comes back.
  PostMessageA(d.main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(d.main); }, kPatience));
  EXPECT_EQ(d.Start("").code, 0);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(d.main); }, kPatience));
  EXPECT_TRUE(d.process.Running());
}

}  // namespace
