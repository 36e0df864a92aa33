// Wine's own notepad, a Unicode program none of us wrote, skinned through skinrun.exe and used
// like a person: text that does not fit the ANSI code page (GBK here) typed, saved through the
// save dialog as UTF-8 and read back byte for byte, the same skinned and unskinned; and its frame,
// menu bar and save dialog drawn from the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "skin/paint/SkinDraw.h"
#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eSkin.h"

using namespace e2e;

namespace {

const std::string kNotepad = "C:\\windows\\system32\\notepad.exe";
const std::string kSkinrun = WindowsPath(SKINRUN_EXE);
// Greek with an accent, Polish, Spanish, Danish, German and a snowman: none of it fits GBK whole.
const std::wstring kText = L"Ωμέγα café ★ Łódź ñøß ☃";

std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

std::string TempFile(const std::string& name) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name;
}

// A notepad started for the test (through skinrun, or on its own) and its main window.
// Notepad keeps its window's size and its font: each run starts from its defaults and leaves
// what was there.
struct Notepad : SetAsideSettings, ForeignProgram {
  explicit Notepad(bool skinned, const std::string& skin = "")
      : SetAsideSettings(L"Software\\Microsoft\\Notepad"),
        ForeignProgram(kNotepad, "Notepad", skinned ? kSkinrun : "", skin.empty() ? "" : WindowsPath(skin)),
        main(Main()),
        edit(main && !Children(main, "Edit").empty() ? Children(main, "Edit")[0] : nullptr),
        pid(Pid()) {}
  HWND main, edit;
  DWORD pid;
};

// The combo box of the dialog that lists an item with this text in it, and the item's index; -1
// when none does.
int FindItem(HWND dialog, const wchar_t* item, HWND& combo) {
  for (HWND c : Children(dialog, "ComboBox")) {
    for (int i = 0, n = static_cast<int>(Ask(c, CB_GETCOUNT)); i < n; ++i) {
      if (ComboItemText(c, i).find(item) != std::wstring::npos) {
        combo = c;
        return i;
      }
    }
  }
  return -1;
}

// Types the text into notepad, saves it as UTF-8 through the save dialog under `file`, closes
// notepad, and answers the file's bytes (empty when a step failed, which the test has said).
std::string TypeAndSave(bool skinned, const std::string& file) {
  DeleteFileA(file.c_str());
  Notepad n(skinned);
  EXPECT_NE(n.main, nullptr);
  if (!n.main) return {};
  EXPECT_EQ(WaitUntil([&] { return SkinnedFrame(n.main); }, skinned ? kPatience : 0), skinned)
      << "notepad's frame is skinned only under skinrun";
  ClickCenter(n.edit);
  TypeUnicode(kText);
  EXPECT_TRUE(WaitUntil([&] { return WideTextOf(n.edit) == kText; }));

  PressKeyWith(VK_CONTROL, 'S');
  HWND dialog = WaitDialog(n.pid);
  EXPECT_NE(dialog, nullptr) << "the save dialog";
  if (!dialog) return {};
  EXPECT_EQ(WaitUntil([&] { return SkinnedFrame(dialog); }, skinned ? kPatience : 0), skinned)
      << "the save dialog is skinned only under skinrun";
  HWND encoding = nullptr;
  int utf8 = -1;
  EXPECT_TRUE(WaitUntil([&] { return (utf8 = FindItem(dialog, L"UTF-8", encoding)) >= 0; }));
  if (utf8 < 0) return {};
  PickItem(encoding, utf8);
  // The file name field: typed over what it holds.
  HWND name = Children(dialog, "Edit").empty() ? nullptr : Children(dialog, "Edit")[0];
  EXPECT_NE(name, nullptr);
  if (!name) return {};
  ClickCenter(name);
  PressKey(VK_END);
  for (std::size_t i = WideTextOf(name).size(); i > 0; --i) PressKey(VK_BACK);
  std::wstring path(file.begin(), file.end());  // a plain ASCII path
  TypeUnicode(path);
  EXPECT_TRUE(WaitUntil([&] { return WideTextOf(name) == path; }));
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the dialog closes";
  // Saved: notepad names the file in its caption.
  EXPECT_TRUE(WaitUntil([&] { return WideTextOf(n.main).find(L".txt") != std::wstring::npos; }));
  EXPECT_EQ(n.Close(), 0);
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  DeleteFileA(file.c_str());
  return bytes;
}

TEST(Notepad, TextOutsideTheCodePageIsSavedTheSameSkinnedAndUnskinned) {
  const std::string pid = std::to_string(GetCurrentProcessId());
  std::string plain = TypeAndSave(false, TempFile("notepad-e2e-" + pid + "-plain.txt"));
  std::string skinned = TypeAndSave(true, TempFile("notepad-e2e-" + pid + "-skinned.txt"));
  // Notepad may begin a UTF-8 file with a byte-order mark.
  const std::string bom = "\xEF\xBB\xBF";
  std::string text = plain.compare(0, bom.size(), bom) == 0 ? plain.substr(bom.size()) : plain;
  EXPECT_EQ(text, Utf8(kText));
  EXPECT_EQ(skinned, plain) << "byte for byte";
}

TEST(Notepad, FrameAndMenuBarAreDrawnFromTheSkin) {
  TSkinElements skin;
  ASSERT_TRUE(ReadSkinFile(kDefaultSkin, skin));
  ASSERT_TRUE(skin.BorderLeft && skin.MenuBar && !skin.MenuBar->Bitmap.Empty());
  Notepad n(true, kDefaultSkin);
  ASSERT_NE(n.main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SkinnedFrame(n.main); }));

  EXPECT_TRUE(ShowsSkinBorder(n.main, skin)) << "the left edge shows the skin's border";
  EXPECT_TRUE(ShowsSkinMenuBar(n.main, skin)) << "the menu bar's right end shows the skin's bar";
  EXPECT_EQ(n.Close(), 0);
}

}  // namespace
