// The real SkinGallery.exe, used the way a person uses it: both built-in skins, skinning off and
// on, the system dialog, the framework's message box, and a --skin file that is no skin.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

using namespace e2e;

namespace {

constexpr UINT kSkinQuery = 0x3504;  // a skinned window answers 1

bool Skinned(HWND w) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(w, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  return answer == 1;
}

// Mean brightness of a strip of the title bar right of its middle, where neither skin puts the
// caption text nor the caption buttons.
double TitleBrightness(HWND w) {
  Pixels p = WindowPixels(w);
  return p.Brightness(RECT{p.Width * 6 / 10, 6, p.Width * 8 / 10, 14});
}

struct Gallery {
  Process process;
  HWND main = nullptr;
  HWND skinList = nullptr, skinning = nullptr, answer = nullptr;

  explicit Gallery(const std::string& args = "") : process("\"" + WindowsPath(GALLERY_EXE) + "\"" + args) {}

  HWND MainWindow() {
    auto found = TopLevels(process.Id(), "TGalleryForm", "SkinGallery");
    return found.empty() ? nullptr : found[0];
  }
  bool Find() {
    if (!WaitUntil([&] { return MainWindow() != nullptr; })) return false;
    main = MainWindow();
    auto combos = Children(main, "TComboBox");  // the skin list is the topmost
    auto panels = Children(main, "TPanel");     // the answer panel is the lowest
    if (combos.empty() || panels.empty()) return false;
    skinList = combos[0];
    answer = panels.back();
    skinning = ChildWithText(main, "TCheckBox", "Skinning on 启用皮肤");
    return skinning != nullptr;
  }
  HWND Window(const char* cls, const char* caption) {
    auto found = TopLevels(process.Id(), cls, caption);
    return found.empty() ? nullptr : found[0];
  }
};

TEST(Gallery, BothSkinsSkinningOffAndOnSystemDialogAndMessageDlg) {
  Gallery g;
  ASSERT_TRUE(g.process.Started());
  ASSERT_TRUE(g.Find()) << "main window and its controls";
  ASSERT_TRUE(WaitUntil([&] { return Skinned(g.main); })) << "the frame is skinned";
  EXPECT_EQ(TextOf(g.skinList), "Daskel Light");

  // Night: a dark title bar, still skinned; Light again: the light one comes back.
  double light = TitleBrightness(g.main);
  PickItem(g.skinList, 1);
  EXPECT_EQ(TextOf(g.skinList), "Daskel Night");
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(g.main) < light - 80; }, 5000))
      << "light " << light << ", now " << TitleBrightness(g.main);
  EXPECT_TRUE(Skinned(g.main));
  PickItem(g.skinList, 0);
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(g.main) > light - 20; }, 5000))
      << "light " << light << ", now " << TitleBrightness(g.main);
  EXPECT_TRUE(Skinned(g.main));

  // Skinning off gives the window back its system frame; on skins it again.
  ClickCenter(g.skinning);
  EXPECT_TRUE(WaitUntil([&] { return !Skinned(g.main); }, 5000));
  ClickCenter(g.skinning);
  EXPECT_TRUE(WaitUntil([&] { return Skinned(g.main); }, 5000));

  // The system dialog: skinned though nobody told the engine about it; OK closes it.
  ClickCenter(ChildWithText(g.main, "TButton", "System dialog..."));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = g.Window("#32770", "System dialog")) != nullptr; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return Skinned(dialog); }, 5000)) << "the system dialog is skinned";
  HWND ok = ChildWithText(dialog, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  ClickCenter(ok);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(g.answer) == "System dialog: OK"; }, 3000)) << TextOf(g.answer);

  // The framework's message box: skinned too; Yes answers it.
  ClickCenter(ChildWithText(g.main, "TButton", "MessageDlg..."));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = g.Window("TMessageForm", "Confirm")) != nullptr; }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return Skinned(box); }, 5000)) << "the message box is skinned";
  HWND yes = FindWindowExA(box, nullptr, "TButton", "&Yes");
  ASSERT_NE(yes, nullptr);
  ClickCenter(yes);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(g.answer) == "MessageDlg: Yes"; }, 3000)) << TextOf(g.answer);

  PostMessageA(g.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(g.process.WaitExit(10000), 0);
}

TEST(Gallery, SkinFileThatIsNoSkinIsNamedAndTheLightSkinIsUsed) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::string file = std::string(dir) + "gallery-e2e-not-a-skin.txt";
  std::ofstream(file, std::ios::binary) << "This is a text file, not a skin package.\n";
  struct Remove {
    const std::string& path;
    ~Remove() { DeleteFileA(path.c_str()); }
  } remove{file};

  Gallery g(" --skin \"" + file + "\"");
  ASSERT_TRUE(g.process.Started());
  HWND error = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (error = g.Window("#32770", "SkinGallery")) != nullptr; }))
      << "an error box";
  std::string text;
  for (HWND s : Children(error, "Static")) text += TextOf(s);
  EXPECT_NE(text.find(file), std::string::npos) << text;
  EXPECT_NE(text.find("not a skin package"), std::string::npos) << text;
  auto buttons = Children(error, "Button");
  ASSERT_EQ(buttons.size(), 1u);
  ClickCenter(buttons[0]);

  ASSERT_TRUE(g.Find()) << "the main window comes after the error box";
  EXPECT_TRUE(WaitUntil([&] { return Skinned(g.main); })) << "skinned with the built-in skin";
  EXPECT_EQ(TextOf(g.skinList), "Daskel Light");
  PostMessageA(g.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(g.process.WaitExit(10000), 0);
}

}  // namespace
