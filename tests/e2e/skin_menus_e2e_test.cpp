// Skinned menus of the real programs, used from outside like a person: the scheduler's
// notification-area menu, and the gallery's menu bar by mouse and by keyboard in both skins.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "skin/data/VuzUrezDataRead.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDraw.h"
#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"

using namespace e2e;

namespace {

bool SkinnedRemote(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(w, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

struct Skin {
  TSkinElements elements;
  explicit Skin(const char* file) {
    std::string package = FileBytes(file);
    ok = LoadSkinPackage(reinterpret_cast<const std::uint8_t*>(package.data()), package.size(), elements) ==
         TPackageStatus::Ok;
  }
  bool ok = false;
};

// The menu window shows the skin's menu background in its border ring, on the left and on top.
bool ShowsMenuBackground(HWND menu, const TSkinElements& skin) {
  const TDataSkinObject* e = skin.MenuBackground.get();
  if (!e || e->Bitmap.Empty()) return false;
  RECT r = ScreenRect(menu);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 6 || h <= 6) return false;
  TBitmap back =
      BuildNineSlice({0, 0, w, h}, e->Bitmap, {e->LeftWidth, e->TopHeight, e->RightWidth, e->BottomHeight},
                     false, e->Tile == 1, 1, 1);
  return ScreenPixelAt(r.left + 1, r.top + h / 2) == back.Pixel(1, h / 2) &&
         ScreenPixelAt(r.left + w / 2, r.top + 1) == back.Pixel(w / 2, 1);
}

HWND OpenMenu(DWORD pid) {
  auto menus = TopLevels(pid, "#32768");
  return menus.empty() ? nullptr : menus.back();
}

// Waits for a visible menu window other than `other` (null: any) and returns it.
HWND WaitMenu(DWORD pid, HWND other = nullptr) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND m : TopLevels(pid, "#32768"))
          if (m != other || ScreenRect(m).left != ScreenRect(other).left) found = m;
        return found != nullptr;
      },
      kPatience);
  return found;
}

bool NoMenu(DWORD pid) {
  return WaitUntil([&] { return OpenMenu(pid) == nullptr; }, kPatience);
}

TEST(SkinnedMenus, SchedulerIconMenuIsSkinnedAndRunsAboutAndExit) {
  Skin skin(kDefaultSkin);
  ASSERT_TRUE(skin.ok);
  Process p("\"" + WindowsPath(DASKEL_EXE) + "\" --dry-run");
  ASSERT_TRUE(p.Started());
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    auto found = TopLevels(p.Id(), "TForm1", "Daskel1.0");
    return !found.empty() && SkinnedRemote(main = found[0]);
  }));

  // What the shell sends for the icon's right button: the menu opens in the skin.
  PostMessageA(main, WM_USER, 0, WM_RBUTTONDOWN);
  PostMessageA(main, WM_USER, 0, WM_RBUTTONUP);
  HWND menu = WaitMenu(p.Id());
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return SkinnedRemote(menu); }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return ShowsMenuBackground(menu, skin.elements); }, kPatience));

  // "关于程序", the second item from the bottom, opens the About window.
  PressKey(VK_UP);
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  HWND about = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        auto found = TopLevels(p.Id(), "TForm2");
        return !found.empty() && (about = found[0]) != nullptr;
      },
      kPatience));
  ASSERT_TRUE(NoMenu(p.Id()));
  PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(about) && IsWindowEnabled(main); }, kPatience));

  // Its last item, "Exit", ends the program, cleanly.
  PostMessageA(main, WM_USER, 0, WM_RBUTTONDOWN);
  PostMessageA(main, WM_USER, 0, WM_RBUTTONUP);
  menu = WaitMenu(p.Id());
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ShowsMenuBackground(menu, skin.elements); }, kPatience));
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  EXPECT_EQ(p.WaitExit(kPatience), 0);
}

struct Gallery {
  Process process{"\"" + WindowsPath(GALLERY_EXE) + "\""};
  HWND main = nullptr, skinList = nullptr, answer = nullptr;

  bool Find() {
    if (!WaitUntil([&] { return !TopLevels(process.Id(), "TGalleryForm", "SkinGallery").empty(); }))
      return false;
    main = TopLevels(process.Id(), "TGalleryForm", "SkinGallery")[0];
    auto combos = Children(main, "TComboBox");  // the skin list is the topmost
    auto panels = Children(main, "TPanel");     // the answer panel is the lowest
    if (combos.empty() || panels.empty()) return false;
    skinList = combos[0], answer = panels.back();
    return true;
  }
  // A point on the bar's first button, "&File": the captions start past the bar's left edge.
  POINT FileButton(const TSkinElements& skin) const {
    POINT origin{0, 0};
    ClientToScreen(main, &origin);
    int left = skin.MenuBar && !skin.MenuBar->Bitmap.Empty() ? skin.MenuBar->LeftWidth + 4 : 6;
    return POINT{origin.x + left + 6, origin.y - GetSystemMetrics(SM_CYMENU) / 2};
  }
  bool Answered(const std::string& text) {
    return WaitUntil([&] { return TextOf(answer) == text; }, kPatience);
  }
};

TEST(SkinnedMenus, GalleryMenuBarByMouseAndKeyboardInBothSkins) {
  Skin light(kDefaultSkin), night(kDarkSkin);
  ASSERT_TRUE(light.ok && night.ok);
  Gallery g;
  ASSERT_TRUE(g.process.Started());
  ASSERT_TRUE(g.Find());
  ASSERT_TRUE(WaitUntil([&] { return SkinnedRemote(g.main); }));
  const DWORD pid = g.process.Id();

  const Skin* skins[] = {&light, &night};
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s == 0 ? "light" : "night");
    const TSkinElements& skin = skins[s]->elements;
    PickItem(g.skinList, s);
    ASSERT_EQ(TextOf(g.skinList), s == 0 ? "Daskel Light" : "Daskel Night");

    // Mouse: a click on "&File" opens its popup in the skin; a click on "&New" picks it.
    POINT file = g.FileButton(skin);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          // The bar is laid out anew for the skin: click until the popup comes.
          ClickScreen(file.x, file.y);
          return (menu = WaitMenu(pid)) != nullptr;
        },
        kPatience));
    EXPECT_TRUE(SkinnedRemote(menu));
    EXPECT_TRUE(WaitUntil([&] { return ShowsMenuBackground(menu, skin); }, kPatience));
    RECT mr = ScreenRect(menu);
    EXPECT_LE(std::abs(mr.left - (file.x - 6)), 1) << "opens under its button";
    ClickScreen((mr.left + mr.right) / 2, mr.top + 3 + 9);
    EXPECT_TRUE(g.Answered("Menu: New")) << TextOf(g.answer);
    ASSERT_TRUE(NoMenu(pid));

    // Keyboard: Alt+H opens "&Help", the last button; right wraps to "&File", left back to
    // "&Help"; its one item is picked with Down and Enter.
    PressKey('H', true);
    HWND help = WaitMenu(pid);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ShowsMenuBackground(help, skin); }, kPatience));
    int helpLeft = ScreenRect(help).left;
    EXPECT_GT(helpLeft, mr.left + 30);
    PressKey(VK_RIGHT);
    HWND first = WaitMenu(pid, help);
    ASSERT_NE(first, nullptr);
    // (The system may place a popup a pixel off the point it was given.)
    auto openAt = [&](int left) {
      HWND m = OpenMenu(pid);
      return m && std::abs(ScreenRect(m).left - left) <= 1;
    };
    EXPECT_TRUE(WaitUntil([&] { return openAt(mr.left); }, kPatience))
        << "right on the last button opens the first";
    PressKey(VK_LEFT);
    EXPECT_TRUE(WaitUntil([&] { return openAt(helpLeft); }, kPatience))
        << "left on the first button opens the last";
    EXPECT_TRUE(WaitUntil([&] { return ShowsMenuBackground(OpenMenu(pid), skin); }, kPatience));
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    EXPECT_TRUE(g.Answered("Menu: About SkinGallery")) << TextOf(g.answer);
    ASSERT_TRUE(NoMenu(pid));

    // Esc closes an open popup and picks nothing.
    PressKey('F', true);
    ASSERT_NE(WaitMenu(pid), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(NoMenu(pid));
    EXPECT_EQ(TextOf(g.answer), "Menu: About SkinGallery");
  }

  // Up from the top of "&File" wraps to "E&xit", which closes the gallery.
  PressKey('F', true);
  ASSERT_NE(WaitMenu(pid), nullptr);
  PressKey(VK_UP);
  PressKey(VK_RETURN);
  EXPECT_EQ(g.process.WaitExit(kPatience), 0);
}

}  // namespace
