// The plain-C example program, skinned through the DLL, used like a person: the dialog and its
// controls skinned, the night skin and back, skinning off and on, a skinned message box, OK; and
// a skin file that is none, named in a box, with the dialog left unskinned.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

using namespace e2e;

namespace {

std::string Quoted(const std::string& unixPath) { return "\"" + WindowsPath(unixPath) + "\""; }

// A dialog-class window of the program with the caption, other than `besides`.
HWND WindowOf(const Process& p, const char* caption, HWND besides = nullptr) {
  for (HWND w : TopLevels(p.Id(), "#32770", caption))
    if (w != besides) return w;
  return nullptr;
}

TEST(SkinDemo, SkinnedDialogNightSkinSkinningOffAndOnMessageBox) {
  Process demo(Quoted(SKINDEMO_EXE) + " " + Quoted(DASKEL_BINARY_DIR "/skins/default.skn") + " " +
               Quoted(DASKEL_BINARY_DIR "/skins/dark.skn"));
  ASSERT_TRUE(demo.Started());
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = WindowOf(demo, "DaskelSkin demo")) != nullptr; }));
  EXPECT_TRUE(WaitUntil([&] { return SkinnedFrame(dialog); })) << "the dialog's frame is skinned";
  double light = TitleBrightness(dialog);

  ClickCenter(ChildWithText(dialog, "Button", "Night skin"));
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(dialog) < light - 80; }, kPatience))
      << "light " << light << ", now " << TitleBrightness(dialog);
  ClickCenter(ChildWithText(dialog, "Button", "Night skin"));
  EXPECT_TRUE(WaitUntil([&] { return TitleBrightness(dialog) > light - 20; }, kPatience));

  HWND skinning = ChildWithText(dialog, "Button", "Skinning on");
  ClickCenter(skinning);
  EXPECT_TRUE(WaitUntil([&] { return !SkinnedFrame(dialog); }, kPatience)) << "skinning off";
  ClickCenter(skinning);
  EXPECT_TRUE(WaitUntil([&] { return SkinnedFrame(dialog); }, kPatience)) << "skinning on again";

  ClickCenter(ChildWithText(dialog, "Button", "Message..."));
  HWND box = nullptr;
  ASSERT_TRUE(
      WaitUntil([&] { return (box = WindowOf(demo, "DaskelSkin demo", dialog)) != nullptr; }, kPatience));
  EXPECT_TRUE(WaitUntil([&] { return SkinnedFrame(box); }, kPatience)) << "the message box is skinned";
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kPatience));

  ClickCenter(ChildWithText(dialog, "Button", "OK"));
  EXPECT_EQ(demo.WaitExit(kPatience), 0);
}

TEST(SkinDemo, SkinFileThatIsNoSkinIsNamedAndTheDialogStaysUnskinned) {
  char dir[MAX_PATH] = {};
  GetTempPathA(sizeof dir, dir);
  const std::string file = std::string(dir) + "skindemo-e2e-not-a-skin.txt";
  std::ofstream(file, std::ios::binary) << "This is a text file, not a skin package.\n";
  struct Remove {
    const std::string& path;
    ~Remove() { DeleteFileA(path.c_str()); }
  } remove{file};

  Process demo(Quoted(SKINDEMO_EXE) + " \"" + file + "\"");
  ASSERT_TRUE(demo.Started());
  HWND error = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (error = WindowOf(demo, "DaskelSkin")) != nullptr; })) << "an error box";
  std::string text;
  for (HWND s : Children(error, "Static")) text += TextOf(s);
  EXPECT_NE(text.find("not a skin package"), std::string::npos) << text;
  EXPECT_FALSE(SkinnedFrame(error));
  PressKey(VK_RETURN);
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = WindowOf(demo, "DaskelSkin demo")) != nullptr; }));
  EXPECT_FALSE(SkinnedFrame(dialog));
  ClickCenter(ChildWithText(dialog, "Button", "Cancel"));
  EXPECT_EQ(demo.WaitExit(kPatience), 1);
}

}  // namespace
