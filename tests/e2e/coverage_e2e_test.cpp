// The coverage table: programs none of us wrote, each run once on its own and once through
// skinrun.exe, their main window, first menu and dialogs opened one after another; every visible
// window met is judged skinned, native or broken, and the table is written for the README
// (tools/coverage-table puts it there). Nothing may be broken.
//
// For a person to look at the skinned windows: DASKEL_COVERAGE_SKIN names a skin file (a Unix
// path) for the skinned runs instead of skinrun's default, and DASKEL_COVERAGE_SHOTS a folder (a
// Unix path) that keeps a picture of each row, PROGRAM-WINDOW-SKIN.bmp (SKIN "plain" for the run
// without the engine).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eCoverage.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

using namespace e2e;

namespace {

// Picks HKEY_CURRENT_USER in regedit's tree and its first value in the list, so that the modify
// command has a value to open (the dialog is cancelled: nothing is written).
void PickAValue(HWND main) {
  std::vector<HWND> trees = Children(main, "SysTreeView32"), lists = Children(main, "SysListView32");
  if (trees.empty() || lists.empty()) return;
  HWND tree = trees[0], list = lists[0];
  auto item = [&](UINT relation, LPARAM from) { return Ask(tree, TVM_GETNEXTITEM, relation, from); };
  LPARAM user = item(TVGN_NEXT, item(TVGN_CHILD, item(TVGN_ROOT, 0)));
  Ask(tree, TVM_SELECTITEM, TVGN_CARET, user);
  if (!WaitUntil([&] { return Ask(list, LVM_GETITEMCOUNT) > 0; })) return;
  RemoteMemory mem(list, sizeof(LVITEMW));
  LVITEMW it{};
  it.state = it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  mem.Write(&it, sizeof it);
  Ask(list, LVM_SETITEMSTATE, 0, mem.At());
  WaitUntil([&] { return Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 0; });
}

// A window of the program: opened with its menu command, or (command 0) its first menu, opened
// with a click, after the step that gives the command something to work on (if any).
struct Opened {
  const char* Name;
  WORD Command;
  void (*Prepare)(HWND main) = nullptr;
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
      {"About", 0x801b},
      {"Edit value", 0x8010, PickAValue}}},
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

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Where the pictures of the skinned rows go ("" when nobody asked for them).
const std::string kShots = FromEnvironment("DASKEL_COVERAGE_SHOTS");
// The skin of the skinned runs ("" for skinrun's default).
const std::string kSkin = FromEnvironment("DASKEL_COVERAGE_SKIN");

// Keeps what a row showed: the window, and for a menu the window it drops from too.
void KeepShot(const CoveredProgram& p, bool skinned, const std::string& row, HWND main, HWND w) {
  if (kShots.empty()) return;
  RECT r = ScreenRect(w);
  if (ClassOf(w) == "#32768") {
    RECT m = ScreenRect(main);
    UnionRect(&r, &r, &m);
  }
  std::string skin = !skinned        ? "plain"
                     : kSkin.empty() ? "default"
                                     : kSkin.substr(kSkin.find_last_of('/') + 1);
  std::string name = std::string(p.Name) + "-" + row + "-" + skin.substr(0, skin.find('.'));
  for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_TRUE(ScreenPixels(r).SaveBmp(WindowsPath(kShots) + "\\" + name + ".bmp")) << name;
}

// Runs the program once and surveys its main window and every window of its list.
std::vector<Visit> VisitProgram(const CoveredProgram& p, bool skinned) {
  SetAsideSettings settings(p.SettingsKey);
  ForeignProgram program(p.Path, p.WindowClass, skinned ? WindowsPath(SKINRUN_EXE) : "",
                         skinned && !kSkin.empty() ? WindowsPath(kSkin) : "");
  HWND main = program.Main();
  EXPECT_NE(main, nullptr) << p.Name;
  if (!main) return {};
  EXPECT_TRUE(!skinned || WaitUntil([&] { return SkinnedFrame(main); })) << p.Name;
  std::vector<Visit> visits{{"main window", Survey(main)}};
  KeepShot(p, skinned, "main window", main, main);
  for (const Opened& o : p.Windows) {
    if (o.Prepare) o.Prepare(main);
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
    KeepShot(p, skinned, o.Name, main, w);
    // Closed the way a person would: Escape until the program shows only its main window (a box
    // that came with the window goes too) and has left its menu. Each press is given time to
    // work: a press too many would wait in the queue and cancel the next window at once.
    // The press goes to the window left open, brought to the front first: a box the system shows
    // while a dialog starts (the first print setup after a build) may not have taken the focus.
    // One that ignores five presses is closed as its own close button would.
    // Closed for good: still so once the program has done what it had to (with no printer,
    // a print setup may show its box again a moment after the first one went).
    auto shut = [&] { return !OtherWindow(program.Pid(), main) && !InMenu(main); };
    auto closed = [&] {
      if (!shut()) return false;
      if (HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.Pid())) {
        WaitForInputIdle(h, 5000);
        CloseHandle(h);
      }
      return shut();
    };
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
    // The last press may still be at work when the presses run out (a slow machine): it is given
    // the usual patience before the window counts as left open.
    const bool gone = WaitUntil(closed);
    HWND left = OtherWindow(program.Pid(), main);
    EXPECT_TRUE(gone) << p.Name << (skinned ? " skinned" : " on its own") << ": " << o.Name << " closes"
                      << (left ? "; left open: " + ClassOf(left) + " \"" + TextOf(left) + "\"" : "")
                      << (InMenu(main) ? "; still in its menu" : "");
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
