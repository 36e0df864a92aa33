// Wine's own wordpad, a program none of us wrote, skinned through skinrun.exe and used like a
// person: text typed, selected and made bold and larger through the font dialog, the changes
// declined when it closes; the same skinned and unskinned. Its frame, caption buttons, menu bar
// and bars are drawn from the skin, its rich edit stays its own and whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <algorithm>
#include <string>

#include "dll/DaskelSkin.h"
#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"
#include "tests/e2e/E2eSkin.h"

using namespace e2e;

namespace {

const std::string kWordpad = "\"C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe\"";
const std::wstring kText = L"Daskel bold Ωμέγα";
// The font dialog's lists of styles and sizes, and the size picked there.
constexpr int kStyles = 1137, kSizes = 1138;
const std::wstring kSize = L"16";

// Wordpad keeps its window, bars and options in the registry and writes them when it ends.
const wchar_t* const kWordpadSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad";

// Clicks the middle of an item of a combo box whose list always shows, as a person picks it.
void ClickListItem(HWND combo, int index) {
  HWND list = Children(combo, "ComboLBox").empty() ? nullptr : Children(combo, "ComboLBox")[0];
  if (!list) return;
  Ask(list, LB_SETTOPINDEX, index);
  // The system carries the rectangle across the processes for this message of a list box.
  RECT r{};
  if (Ask(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR) return;
  // Aimed once the dialog has come to rest where the point shows the list.
  POINT p{};
  WaitUntil([&] {
    p = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    return WindowFromPoint(p) == list;
  });
  ClickScreen(p.x, p.y);
}

// The index of the first item of the combo box for which `wanted` holds, or -1.
template <class F>
int FindComboItem(HWND combo, F wanted) {
  for (int i = 0, n = static_cast<int>(Ask(combo, CB_GETCOUNT)); i < n; ++i)
    if (wanted(i)) return i;
  return -1;
}

// The character format of the rich edit's selection.
CHARFORMAT2W SelectionFormat(HWND edit) {
  CHARFORMAT2W f{};
  f.cbSize = sizeof f;
  RemoteMemory mem(edit, sizeof f);
  if (mem.Write(&f, sizeof f)) Ask(edit, EM_GETCHARFORMAT, SCF_SELECTION, mem.At());
  mem.Read(&f, sizeof f);
  return f;
}

// What a person sees after using wordpad: the text, what is selected, how it is formatted, whether
// the font dialog and the question at the end came up, and the exit code.
struct Outcome {
  std::wstring text, face;
  LRESULT selection = 0;
  bool bold = false, fontDialog = false, question = false;
  LONG height = 0;
  int exitCode = -1;
  bool operator==(const Outcome&) const = default;
};

Outcome UseWordpad(bool skinned) {
  SetAsideSettings kept(kWordpadSettings);
  ForeignProgram w(kWordpad, "WORDPADTOP", skinned ? WindowsPath(SKINRUN_EXE) : "");
  Outcome o;
  EXPECT_NE(w.Main(), nullptr);
  if (!w.Main()) return o;
  EXPECT_EQ(WaitUntil([&] { return SkinnedFrame(w.Main()); }, skinned ? kPatience : 0), skinned)
      << "wordpad's frame is skinned only under skinrun";
  HWND edit = Children(w.Main(), "RichEdit20W").at(0);
  ClickCenter(edit);
  TypeUnicode(kText);
  EXPECT_TRUE(WaitUntil([&] { return WideTextOf(edit) == kText; }));
  PressKeyWith(VK_SHIFT, VK_HOME);
  EXPECT_TRUE(WaitUntil([&] { return Ask(edit, EM_GETSEL) == MAKELONG(0, kText.size()); }));

  // Format, Font...: the bold style and a larger size, then OK.
  PressKey('O', true);
  PressKey('F');
  if (HWND font = WaitDialog(w.Pid())) {
    o.fontDialog = true;
    EXPECT_EQ(WaitUntil([&] { return SkinnedFrame(font); }, skinned ? kPatience : 0), skinned)
        << "the font dialog is skinned only under skinrun";
    HWND styles = GetDlgItem(font, kStyles), sizes = GetDlgItem(font, kSizes);
    const int bold = FindComboItem(styles, [&](int i) { return Ask(styles, CB_GETITEMDATA, i) == FW_BOLD; });
    const int size = FindComboItem(sizes, [&](int i) { return ComboItemText(sizes, i) == kSize; });
    EXPECT_GE(bold, 0);
    EXPECT_GE(size, 0);
    ClickListItem(styles, bold);
    EXPECT_TRUE(WaitUntil([&] { return Ask(styles, CB_GETCURSEL) == bold; }));
    ClickListItem(sizes, size);
    EXPECT_TRUE(WaitUntil([&] { return Ask(sizes, CB_GETCURSEL) == size; }));
    ClickCenter(GetDlgItem(font, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(font); })) << "the font dialog closes";
  }
  WaitUntil([&] { return (SelectionFormat(edit).dwEffects & CFE_BOLD) != 0; });
  CHARFORMAT2W f = SelectionFormat(edit);
  o.text = WideTextOf(edit);
  o.selection = Ask(edit, EM_GETSEL);
  o.bold = (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD);
  o.height = f.yHeight;
  o.face = f.szFaceName;

  // Closing asks whether to save the changes: No.
  PostMessageA(w.Main(), WM_CLOSE, 0, 0);
  if (HWND question = WaitDialog(w.Pid())) {
    o.question = true;
    ClickCenter(GetDlgItem(question, IDNO));
  }
  o.exitCode = w.WaitExit();
  return o;
}

TEST(Wordpad, TextFormattedThroughTheFontDialogTheSameSkinnedAndUnskinned) {
  Outcome plain = UseWordpad(false);
  Outcome skinned = UseWordpad(true);
  EXPECT_EQ(plain.text, kText);
  EXPECT_EQ(plain.selection, MAKELONG(0, kText.size())) << "the text stays selected";
  EXPECT_TRUE(plain.fontDialog && plain.bold);
  EXPECT_EQ(plain.height, std::stol(kSize) * 20) << "in twips";
  EXPECT_TRUE(plain.question);
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_TRUE(skinned == plain) << "skinned wordpad does the same";
}

TEST(Wordpad, FrameMenuBarAndBarsAreTheSkinsAndTheRichEditStaysWhole) {
  TSkinElements skin;
  ASSERT_TRUE(ReadSkinFile(kDefaultSkin, skin));
  SetAsideSettings kept(kWordpadSettings);
  ForeignProgram w(kWordpad, "WORDPADTOP", WindowsPath(SKINRUN_EXE), WindowsPath(kDefaultSkin));
  ASSERT_NE(w.Main(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SkinnedFrame(w.Main()); }));
  EXPECT_TRUE(ShowsSkinBorder(w.Main(), skin)) << "the left edge shows the skin's border";
  EXPECT_TRUE(ShowsSkinCloseButton(w.Main(), skin)) << "the close button is the skin's";
  EXPECT_TRUE(ShowsSkinMenuBar(w.Main(), skin)) << "the menu bar's right end shows the skin's bar";
  // Its bars are drawn by the engine.
  for (const char* cls : {"ReBarWindow32", "ToolbarWindow32", "msctls_statusbar32"})
    EXPECT_EQ(Ask(Children(w.Main(), cls).at(0), DASKEL_SKIN_QUERY), DASKEL_SKIN_CONTROL) << cls;
  // The empty document: its own ground everywhere inside, away from the caret at its start.
  HWND edit = Children(w.Main(), "RichEdit20W").at(0);
  RECT r = ScreenRect(edit);
  const RECT inside{r.left + 24, r.top + 24, r.right - 8, r.bottom - 8};
  const COLORREF ground = GetSysColor(COLOR_WINDOW);
  EXPECT_TRUE(WaitUntil([&] {
    Pixels p = ScreenPixels(inside);
    return !p.Empty() && std::all_of(p.Data.begin(), p.Data.end(), [&](COLORREF c) { return c == ground; });
  })) << "the rich edit shows its own ground, nothing drawn over it";
  EXPECT_EQ(w.Close(), 0);
}

}  // namespace
