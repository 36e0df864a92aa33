// The coverage table: programs none of us wrote, each run once on its own and once through
// skinrun.exe, their main window, first menu and dialogs opened one after another; every visible
// window met is judged skinned, native or broken, and the table is written for the README
// (tools/coverage-table puts it there). Nothing may be broken.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eCoverage.h"
#include "tests/e2e/E2eDriver.h"

using namespace e2e;

namespace {

// A window of the program: opened with its menu command, or (command 0) its first menu, opened
// with a click.
struct Opened {
  const char* Name;
  WORD Command;
};

struct CoveredProgram {
  const char* Name;
  std::string Path;
  const char* WindowClass;
  const wchar_t* SettingsKey;  // where it keeps its settings (set aside for each run)
  std::vector<Opened> Windows;
};

// Every program the table covers; another program gets its rows with an entry here (the
// command numbers are those of the program's menu resource).
const std::vector<CoveredProgram> kPrograms = {
    {"notepad",
     "C:\\windows\\system32\\notepad.exe",
     "Notepad",
     L"Software\\Microsoft\\Notepad",
     {{"menu", 0},
      {"Open", 0x101},
      {"Save as", 0x103},
      {"Page setup", 0x105},
      {"Print setup", 0x106},
      {"Font", 0x140},
      {"Find", 0x120},
      {"Replace", 0x122},
      {"Go to line", 0x192},
      {"About", 0x134}}},
    {"regedit",
     "C:\\windows\\regedit.exe",
     "RegEdit_RegEdit",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit",
     {{"menu", 0},
      {"Find", 0x800e},
      {"Import", 0x8015},
      {"Export", 0x8016},
      {"Add favourite", 0x8004},
      {"About", 0x801b}}},
    {"wordpad",
     "\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\"",
     "WORDPADTOP",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad",
     {{"menu", 0},
      {"New", 1003},
      {"Open", 1001},
      {"Save as", 1004},
      {"Page setup", 1012},
      {"Find", 1014},
      {"Replace", 1016},
      {"Date and time", 1600},
      {"Font", 1330},
      {"Paragraph", 1601},
      {"Tabs", 1602},
      {"Options", 1604},
      {"About", 1603}}},
};

// A visible top-level window of the process other than its main window, or nullptr.
HWND OtherWindow(DWORD pid, HWND main) {
  for (HWND w : TopLevels(pid))
    if (w != main) return w;
  return nullptr;
}

struct Visit {
  std::string Window;
  std::vector<MetWindow> Met;
};

// The thread of the window is in a menu's loop (a menu bar item still picked).
bool InMenu(HWND w) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
  return (info.flags & GUI_INMENUMODE) != 0;
}

// Runs the program once and surveys its main window and every window of its list.
std::vector<Visit> VisitProgram(const CoveredProgram& p, bool skinned) {
  SetAsideSettings settings(p.SettingsKey);
  ForeignProgram program(p.Path, p.WindowClass, skinned ? WindowsPath(SKINRUN_EXE) : "");
  HWND main = program.Main();
  EXPECT_NE(main, nullptr) << p.Name;
  if (!main) return {};
  EXPECT_TRUE(!skinned || WaitUntil([&] { return SkinnedFrame(main); })) << p.Name;
  std::vector<Visit> visits{{"main window", Survey(main)}};
  for (const Opened& o : p.Windows) {
    if (o.Command) {
      PostMessageA(main, WM_COMMAND, o.Command, 0);
    } else {
      // A click on the first item of the menu bar, just above the client area's left end.
      POINT origin{0, 0};
      ClientToScreen(main, &origin);
      ClickScreen(origin.x + 12, origin.y - GetSystemMetrics(SM_CYMENU) / 2);
    }
    // The window that shows once the program has settled (a box may come and go before it).
    HWND w = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      w = OtherWindow(program.Pid(), main);
      return w && (!skinned || SkinnedFrame(w));
    })) << p.Name
        << ": " << o.Name << (w ? ", " + ClassOf(w) + " \"" + TextOf(w) + "\"" : std::string());
    if (!w) continue;
    visits.push_back({o.Name, Survey(w)});
    // Closed the way a person would: Escape until the program shows only its main window (a box
    // that came with the window goes too) and has left its menu. Each press is given time to
    // work: a press too many would wait in the queue and cancel the next window at once.
    // The press goes to the window left open, brought to the front first: a box the system shows
    // while a dialog starts (the first print setup after a build) may not have taken the focus.
    // One that ignores five presses is closed as its own close button would.
    auto closed = [&] { return !OtherWindow(program.Pid(), main) && !InMenu(main); };
    for (int press = 0; press < 10 && !closed(); ++press) {
      HWND open = OtherWindow(program.Pid(), main);
      if (open && press >= 5) {
        PostMessageA(open, WM_CLOSE, 0, 0);
      } else {
        if (open) SetForegroundWindow(open);
        PressKey(VK_ESCAPE);
      }
      WaitUntil(closed, 3000);
    }
    EXPECT_TRUE(closed()) << p.Name << ": " << o.Name << " closes";
  }
  EXPECT_EQ(program.Close(), 0) << p.Name;
  return visits;
}

TEST(Coverage, EveryWindowMetIsSkinnedOrNativeAndNoneIsBroken) {
  std::vector<CoverageRow> rows;
  for (const CoveredProgram& p : kPrograms) {
    std::vector<Visit> plain = VisitProgram(p, false), skinned = VisitProgram(p, true);
    for (const Visit& s : skinned) {
      const std::vector<MetWindow>* before = nullptr;
      for (const Visit& v : plain)
        if (v.Window == s.Window) before = &v.Met;
      rows.push_back({p.Name, s.Window, Judge(before ? *before : std::vector<MetWindow>{}, s.Met)});
      for (const Verdict& v : rows.back().Verdicts)
        EXPECT_NE(v.Kind, Look::Broken) << p.Name << ", " << s.Window << ": " << v.Class << " " << v.Why;
    }
  }
  std::ofstream(COVERAGE_TABLE, std::ios::binary) << CoverageMarkdown(rows);
}

}  // namespace
