// The real Daskel.exe, skinned: its main window shows the default skin with shaped corners, the
// skinned caption buttons drive the program (minimise to the notification area, close question),
// and the About window and the close question are skinned too.
#include <gtest/gtest.h>

#include <string>

#include "skin/data/VuzUrezDataRead.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "skin/manager/SkinManage.h"
#include "skin/paint/SkinDraw.h"
#include "tests/TestUtil.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2eSkin.h"

using namespace e2e;

namespace {

bool SkinnedRemote(HWND w) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutA(w, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// Whether the skin shows a button on the main window: active, normal, with system menu and
// minimise box but no maximise box.
bool ShownOnMainWindow(const TDataSkinSysButton& b) {
  auto condition = [](int v, bool first) {
    switch (v) {
      case 0:
      case 2:
      case 3:
      case 8:
      case 7:
        return true;
      case 6:
      case 9:
        return false;
      default:
        return (v >= 200 && v <= 2000) || (v == 0 && !first);
    }
  };
  return condition(b.Visibility, true) &&
         condition(b.Visibility1 == 100 ? b.Visibility : b.Visibility1, false) && b.Action != 1;
}

// The centre of the skin's button with this action shown on the main window.
POINT ButtonCentre(const TSkinElements& skin, int action, const RECT& wr) {
  for (auto& b : skin.SysButtons) {
    if (b->Action != action || b->Bitmap.Empty() || b->Align != 1 || !ShownOnMainWindow(*b)) continue;
    int w = b->Bitmap.Width() / std::max(1, static_cast<int>(b->FrameCount)), h = b->Bitmap.Height();
    return {wr.right - b->Xcoord + w / 2, wr.top + b->Ycoord + h / 2};
  }
  return {-1, -1};
}

// The window of another process has a region, once its skinner has fitted it to the skin.
bool HasRegion(HWND w) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  bool has = GetWindowRgn(w, rgn) != ERROR;
  DeleteObject(rgn);
  return has;
}

// The region of a window of another process leaves its top corners out.
void ExpectShapedCorners(HWND w) {
  RECT wr = ScreenRect(w);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_FALSE(PtInRegion(rgn, wr.right - wr.left - 1, 0));
  EXPECT_TRUE(PtInRegion(rgn, (wr.right - wr.left) / 2, (wr.bottom - wr.top) / 2));
  DeleteObject(rgn);
}

TEST(SkinnedDaskel, SkinnedWindowsAndCaptionButtons) {
  TSkinElements skin;
  std::string package = FileBytes(kDefaultSkin);
  ASSERT_EQ(LoadSkinPackage(reinterpret_cast<const std::uint8_t*>(package.data()), package.size(), skin),
            TPackageStatus::Ok);

  Process p("\"" + WindowsPath(DASKEL_EXE) + "\" --dry-run");
  ASSERT_TRUE(p.Started());
  ASSERT_TRUE(WaitUntil([&] { return !TopLevels(p.Id(), "TForm1", "Daskel1.0").empty(); }));
  HWND main = TopLevels(p.Id(), "TForm1", "Daskel1.0")[0];
  ASSERT_TRUE(WaitUntil([&] { return SkinnedRemote(main); }, kPatience));
  ASSERT_TRUE(WaitUntil([&] { return HasRegion(main); }, kPatience));
  ExpectShapedCorners(main);

  // On the screen: the corner shows the desktop behind, the left edge the skin's border.
  RECT wr = ScreenRect(main);
  EXPECT_TRUE(WaitUntil(
      [&] { return ScreenPixelAt(wr.left, wr.top) == ScreenPixelAt(wr.left - 2, wr.top - 2); }, kPatience))
      << "the corner shows the desktop behind";
  int h = wr.bottom - wr.top;
  const TColor border = SkinLeftBorderPixel(skin, h);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixelAt(wr.left + 1, wr.top + h / 2) == border; }, kPatience))
      << "the left edge shows the skin's border";

  // The skinned minimise button hides the window to the notification area; the icon brings it back.
  POINT minimise = ButtonCentre(skin, 2, wr);
  ASSERT_GE(minimise.x, 0);
  ClickScreen(minimise.x, minimise.y);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kPatience));
  EXPECT_TRUE(p.Running());
  PostMessageA(main, WM_USER, 0, WM_LBUTTONDBLCLK);  // what the shell sends for the icon
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; }, kPatience));

  // The About window is skinned when it comes up.
  auto buttons = Children(main, "TButton");  // top to bottom, left to right: About first
  ASSERT_FALSE(buttons.empty());
  ClickCenter(buttons[0]);
  ASSERT_TRUE(WaitUntil([&] { return !TopLevels(p.Id(), "TForm2").empty(); }, kPatience));
  HWND about = TopLevels(p.Id(), "TForm2")[0];
  EXPECT_TRUE(WaitUntil([&] { return SkinnedRemote(about); }, kPatience));
  PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitUntil(
      [&] { return !IsWindowVisible(about) && IsWindowEnabled(main) && GetForegroundWindow() == main; },
      kPatience));

  // The skinned close button asks the close question, itself skinned with shaped corners.
  wr = ScreenRect(main);
  POINT close = ButtonCentre(skin, 0, wr);
  ASSERT_GE(close.x, 0);
  ClickScreen(close.x, close.y);
  ASSERT_TRUE(WaitUntil([&] { return !TopLevels(p.Id(), "TMessageForm").empty(); }, kPatience));
  HWND box = TopLevels(p.Id(), "TMessageForm")[0];
  EXPECT_TRUE(WaitUntil([&] { return SkinnedRemote(box) && HasRegion(box); }, kPatience));
  ExpectShapedCorners(box);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return TopLevels(p.Id(), "TMessageForm").empty(); }, kPatience));
  EXPECT_TRUE(p.Running());
}

}  // namespace
