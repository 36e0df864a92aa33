// Wine's own regedit, a Unicode program none of us wrote, skinned through skinrun.exe and used
// like a person: keys expanded in the tree down to a key of the test's own, a value selected in
// the list and opened in its modify dialog, the find dialog opened and cancelled; the same
// skinned and unskinned, the registry left as it was; and its frame, caption buttons and menu
// bar drawn from the skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eSkin.h"

using namespace e2e;

namespace {

const std::string kRegedit = "C:\\windows\\regedit.exe";
const std::wstring kKey = L"DaskelRegeditE2e" + std::to_wstring(GetCurrentProcessId());
const std::wstring kValue = L"beta", kData = L"second Ωμέγα ★";
// Where regedit keeps the key it showed last, to show it again at the next start: set aside for
// each run, so every run starts at the top of the tree.
const wchar_t* const kRegeditState = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

// Every value of a key of the current user: name -> type and bytes.
std::map<std::wstring, std::pair<DWORD, std::string>> Values(const std::wstring& key) {
  std::map<std::wstring, std::pair<DWORD, std::string>> out;
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    BYTE data[1024] = {};
    DWORD nameLen = 256, type = 0, size = sizeof data;
    if (RegEnumValueW(k, i, name, &nameLen, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    out[name] = {type, std::string(reinterpret_cast<char*>(data), size)};
  }
  RegCloseKey(k);
  return out;
}

// The test's own key with three values, deleted again when the test ends.
struct TestKey {
  TestKey() {
    HKEY k = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    RegSetValueExW(k, L"alpha", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"first"), 6 * sizeof(wchar_t));
    RegSetValueExW(k, kValue.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kData.c_str()),
                   static_cast<DWORD>((kData.size() + 1) * sizeof(wchar_t)));
    DWORD seven = 7;
    RegSetValueExW(k, L"gamma", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), sizeof seven);
    RegCloseKey(k);
  }
  ~TestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()); }
  const std::wstring path = L"Software\\" + kKey;
};

HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from = nullptr) {
  return reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::wstring TreeText(HWND tree, HTREEITEM item) {
  RemoteMemory mem(tree, sizeof(TVITEMW) + 256 * sizeof(wchar_t));
  TVITEMW it{};
  it.mask = TVIF_TEXT;
  it.hItem = item;
  it.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof it));
  it.cchTextMax = 255;
  wchar_t text[256] = {};
  if (!mem.Write(&it, sizeof it) || !Ask(tree, TVM_GETITEMW, 0, mem.At())) return {};
  mem.Read(text, 255 * sizeof(wchar_t), sizeof it);
  return text;
}

// The child of the item with this text, or nullptr.
HTREEITEM TreeChild(HWND tree, HTREEITEM parent, const std::wstring& text) {
  for (HTREEITEM i = TreeItem(tree, TVGN_CHILD, parent); i; i = TreeItem(tree, TVGN_NEXT, i))
    if (TreeText(tree, i) == text) return i;
  return nullptr;
}

bool Expanded(HWND tree, HTREEITEM item) {
  return (Ask(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

// The middle of a rectangle of the window's client area, on the screen.
POINT ScreenMiddle(HWND w, const RECT& r) {
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(w, &p);
  return p;
}

// Clicks the item's text, as a person picks a key.
void ClickTreeItem(HWND tree, HTREEITEM item) {
  Ask(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RemoteMemory mem(tree, sizeof(RECT));
  // The item goes in where the rectangle comes back.
  RECT r{};
  if (!mem.Write(&item, sizeof item) || !Ask(tree, TVM_GETITEMRECT, TRUE, mem.At()) ||
      !mem.Read(&r, sizeof r))
    return;
  POINT p = ScreenMiddle(tree, r);
  ClickScreen(p.x, p.y);
}

// Clicks the item until the tree has it picked (a click can come while the tree still scrolls to
// it); false when it never did.
bool PickTreeItem(HWND tree, HTREEITEM item) {
  for (int click = 0; click < 3; ++click) {
    ClickTreeItem(tree, item);
    if (WaitUntil([&] { return TreeItem(tree, TVGN_CARET) == item; }, 5000)) return true;
  }
  return false;
}

// Picks the child of the item with this text and opens it with the right arrow key, as a person
// does; answers the child once it shows its own children (nullptr when a step failed).
HTREEITEM ExpandChild(HWND tree, HTREEITEM parent, const std::wstring& text) {
  HTREEITEM child = nullptr;
  if (!WaitUntil([&] { return (child = TreeChild(tree, parent, text)) != nullptr; })) return nullptr;
  if (!PickTreeItem(tree, child)) return nullptr;
  PressKey(VK_RIGHT);
  return WaitUntil([&] { return Expanded(tree, child) && TreeItem(tree, TVGN_CHILD, child); }) ? child
                                                                                               : nullptr;
}

std::wstring ListText(HWND list, int index) {
  RemoteMemory mem(list, sizeof(LVITEMW) + 256 * sizeof(wchar_t));
  LVITEMW it{};
  it.pszText = reinterpret_cast<wchar_t*>(mem.At(sizeof it));
  it.cchTextMax = 255;
  wchar_t text[256] = {};
  if (!mem.Write(&it, sizeof it) || !Ask(list, LVM_GETITEMTEXTW, index, mem.At())) return {};
  mem.Read(text, 255 * sizeof(wchar_t), sizeof it);
  return text;
}

int ListIndex(HWND list, const std::wstring& text) {
  for (int i = 0, n = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0)); i < n; ++i)
    if (ListText(list, i) == text) return i;
  return -1;
}

POINT ListItemMiddle(HWND list, int index) {
  RemoteMemory mem(list, sizeof(RECT));
  RECT r{LVIR_LABEL, 0, 0, 0};
  mem.Write(&r, sizeof r);
  Ask(list, LVM_GETITEMRECT, index, mem.At());
  mem.Read(&r, sizeof r);
  return ScreenMiddle(list, r);
}

// What a person sees after using regedit: which keys are open, the path in the status bar, the
// value picked, what its modify dialog showed, that the find dialog came up, the exit code.
struct Outcome {
  bool userOpen = false, softwareOpen = false;
  std::wstring path, picked, modifyTexts;
  bool modifySkinned = false, findShown = false, findSkinned = false;
  int exitCode = -1;
  bool operator==(const Outcome&) const = default;
};

Outcome UseRegedit(bool skinned) {
  SetAsideSettings kept(kRegeditState);
  ForeignProgram r(kRegedit, "RegEdit_RegEdit", skinned ? WindowsPath(SKINRUN_EXE) : "");
  Outcome o;
  EXPECT_NE(r.Main(), nullptr);
  if (!r.Main()) return o;
  EXPECT_EQ(WaitUntil([&] { return SkinnedFrame(r.Main()); }, skinned ? kPatience : 0), skinned)
      << "regedit's frame is skinned only under skinrun";
  HWND tree = Children(r.Main(), "SysTreeView32").at(0), list = Children(r.Main(), "SysListView32").at(0);
  HWND status = Children(r.Main(), "msctls_statusbar32").at(0);

  HTREEITEM user = ExpandChild(tree, TreeItem(tree, TVGN_ROOT), L"HKEY_CURRENT_USER");
  HTREEITEM software = user ? ExpandChild(tree, user, L"Software") : nullptr;
  o.userOpen = user && Expanded(tree, user);
  o.softwareOpen = software && Expanded(tree, software);
  HTREEITEM key = nullptr;
  EXPECT_TRUE(software && WaitUntil([&] { return (key = TreeChild(tree, software, kKey)) != nullptr; }));
  if (!key) return o;
  EXPECT_TRUE(PickTreeItem(tree, key));
  // The list shows the key's values: its default value and the three of the test.
  EXPECT_TRUE(
      WaitUntil([&] { return ListIndex(list, kValue) >= 0 && Ask(list, LVM_GETITEMCOUNT, 0, 0) == 4; }));
  o.path = WideTextOf(status);

  const int value = ListIndex(list, kValue);
  POINT p = ListItemMiddle(list, value);
  ClickScreen(p.x, p.y);
  EXPECT_TRUE(WaitUntil([&] { return Ask(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED) == value; }));
  int picked = static_cast<int>(Ask(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
  o.picked = picked >= 0 ? ListText(list, picked) : L"";

  // A double click opens the value in its modify dialog; Escape cancels it.
  DoubleClickScreen(p.x, p.y);
  if (HWND modify = WaitDialog(r.Pid())) {
    o.modifySkinned = WaitUntil([&] { return SkinnedFrame(modify); }, skinned ? kPatience : 0);
    WaitUntil([&] {
      return !Children(modify, "Edit").empty() && !WideTextOf(Children(modify, "Edit").back()).empty();
    });
    for (HWND e : Children(modify, "Edit")) o.modifyTexts += WideTextOf(e) + L"|";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(modify); })) << "the modify dialog is cancelled";
  }

  PressKeyWith(VK_CONTROL, 'F');
  if (HWND find = WaitDialog(r.Pid())) {
    o.findShown = true;
    o.findSkinned = WaitUntil([&] { return SkinnedFrame(find); }, skinned ? kPatience : 0);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(find); })) << "the find dialog is cancelled";
  }
  o.exitCode = r.Close();
  return o;
}

TEST(Regedit, KeysValuesAndDialogsTheSameSkinnedAndUnskinnedRegistryUntouched) {
  TestKey key;
  const auto before = Values(key.path);
  Outcome plain = UseRegedit(false);
  Outcome skinned = UseRegedit(true);

  EXPECT_TRUE(plain.userOpen && plain.softwareOpen);
  EXPECT_EQ(plain.path.substr(plain.path.rfind(L'\\') + 1), kKey) << "the status bar names the key";
  EXPECT_EQ(plain.picked, kValue);
  EXPECT_EQ(plain.modifyTexts, kValue + L"|" + kData + L"|") << "the dialog shows the value's name and data";
  EXPECT_TRUE(plain.findShown);
  EXPECT_FALSE(plain.modifySkinned || plain.findSkinned);
  EXPECT_EQ(plain.exitCode, 0);
  EXPECT_TRUE(skinned.modifySkinned && skinned.findSkinned) << "the dialogs are skinned under skinrun";
  skinned.modifySkinned = skinned.findSkinned = false;
  EXPECT_TRUE(skinned == plain) << "skinned regedit does the same";
  EXPECT_EQ(Values(key.path), before) << "nothing was written to the key";
}

TEST(Regedit, FrameCaptionButtonsAndMenuBarAreDrawnFromTheSkin) {
  TSkinElements skin;
  ASSERT_TRUE(ReadSkinFile(kDefaultSkin, skin));
  SetAsideSettings kept(kRegeditState);
  ForeignProgram r(kRegedit, "RegEdit_RegEdit", WindowsPath(SKINRUN_EXE), WindowsPath(kDefaultSkin));
  ASSERT_NE(r.Main(), nullptr);
  ASSERT_TRUE(WaitUntil([&] { return SkinnedFrame(r.Main()); }));
  EXPECT_TRUE(ShowsSkinBorder(r.Main(), skin)) << "the left edge shows the skin's border";
  EXPECT_TRUE(ShowsSkinCloseButton(r.Main(), skin)) << "the close button is the skin's";
  EXPECT_TRUE(ShowsSkinMenuBar(r.Main(), skin)) << "the menu bar's right end shows the skin's bar";
  EXPECT_EQ(r.Close(), 0);
}

}  // namespace
