// The real Daskel.exe with its controls skinned: the push buttons, combo boxes, the minute
// spinner and the warning check box of the main window, and the buttons of the close question,
// show the default skin's images on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "skin/data/VuzUrezDataRead.h"
#include "skin/paint/SkinDraw.h"
#include "tests/e2e/E2eDriver.h"
#include "tests/windows/skin_test_util.h"

using namespace e2e;

namespace {

TColor ScreenPixelAt(int x, int y) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return static_cast<TColor>(c);
}

TMargins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// Whether the window shows, at its own point (x, y), frame k of the element sliced to its size,
// for one of the frames given.
bool ShowsElement(HWND w, const TDataSkinObject& e, int frames, std::initializer_list<int> candidates, int x,
                  int y) {
  RECT r = ScreenRect(w);
  TColor seen = ScreenPixelAt(r.left + x, r.top + y);
  for (int k : candidates) {
    TBitmap img = BuildNineSlice({0, 0, r.right - r.left, r.bottom - r.top}, e.Bitmap, MarginsOf(e), false,
                                 e.Tile != 0, frames, k);
    if (img.Pixel(x, y) == seen) return true;
  }
  return false;
}

// Frame k of n of a horizontal strip scaled to w x h, at (x, y).
// Where the frame is magenta nothing of it is drawn: any colour counts (clNone).
TColor FramePixel(const TBitmap& strip, int n, int k, int w, int h, int x, int y) {
  TColor c = BuildFrame({0, 0, w, h}, strip, n, k).Pixel(x, y);
  return c == SkinKeyColor ? clNone : c;
}
bool Matches(TColor seen, TColor expected) { return expected == clNone || seen == expected; }

class SkinnedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string package = FileBytes(kDefaultSkin);
    ASSERT_EQ(LoadSkinPackage(reinterpret_cast<const std::uint8_t*>(package.data()), package.size(), skin),
              TPackageStatus::Ok);
    process = std::make_unique<Process>("\"" + WindowsPath(DASKEL_EXE) + "\" --dry-run");
    ASSERT_TRUE(process->Started());
    ASSERT_TRUE(WaitUntil([&] { return !TopLevels(process->Id(), "TForm1", "Daskel1.0").empty(); }));
    main = TopLevels(process->Id(), "TForm1", "Daskel1.0")[0];
    DWORD_PTR answer = 0;
    ASSERT_TRUE(WaitUntil([&] {
      return SendMessageTimeoutA(main, WM_SKINQUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
    }));
  }
  TSkinElements skin;
  std::unique_ptr<Process> process;
  HWND main = nullptr;
};

TEST_F(SkinnedControls, MainWindowControlsShowTheSkin) {
  const TDataSkinButton& b = *skin.Buttons;
  // Push buttons: the left edge of the "Buttons" element, normal or (focused, hot) frame 4.
  auto buttons = Children(main, "TButton");
  ASSERT_EQ(buttons.size(), 3u);
  for (HWND button : buttons) {
    RECT r = ScreenRect(button);
    int h = r.bottom - r.top;
    EXPECT_TRUE(WaitUntil([&] {
      return ShowsElement(button, b, 5, {1, 4}, std::max(1, b.LeftWidth / 2), h / 2);
    })) << TextOf(button);
  }

  // Combo boxes: the drop-down button at the right, from "ComboButton" in the normal or hot frame.
  ASSERT_TRUE(skin.ComboButton && skin.SunkEdge);
  for (HWND combo : Children(main, "TComboBox")) {
    RECT r = ScreenRect(combo);
    int w = r.right - r.left, h = r.bottom - r.top, bw = GetSystemMetrics(SM_CXHSCROLL);
    int x = w - 2, y = h / 2;  // inside the button, right of the arrow glyph
    EXPECT_TRUE(WaitUntil([&] {
      TColor seen = ScreenPixelAt(r.left + x, r.top + y);
      for (int k : {1, 4})
        if (Matches(seen, FramePixel(skin.ComboButton->Bitmap, 4, k, bw + 2, h, x - (w - bw - 2), y)))
          return true;
      return false;
    })) << "combo at "
        << r.left << "," << r.top;
  }

  // The minute spinner: the up arrow's top-left area from "UpDown.Vert".
  ASSERT_TRUE(skin.UpDownVert);
  auto spinners = Children(main, "TUpDown");
  ASSERT_EQ(spinners.size(), 1u);
  RECT ur{};
  GetClientRect(spinners[0], &ur);
  RECT us = ScreenRect(spinners[0]);
  int half = ur.bottom / 2;
  EXPECT_TRUE(WaitUntil([&] {
    return Matches(ScreenPixelAt(us.left + ur.right / 2, us.top + 1),
                   FramePixel(skin.UpDownVert->Bitmap, 8, 1, ur.right, half, ur.right / 2, 1));
  }));

  // The warning check box: its mark from the check image, unchecked.
  auto checks = Children(main, "TCheckBox");
  ASSERT_EQ(checks.size(), 1u);
  const TBitmap& mark = b.CheckBitmap;
  int mw = mark.Width() / std::max(1, static_cast<int>(b.CheckFrameCount)), mh = mark.Height();
  RECT cr = ScreenRect(checks[0]);
  int top = ((cr.bottom - cr.top) - mh) / 2, left = mw < 15 ? (14 - mw) / 2 : 0;
  EXPECT_TRUE(WaitUntil([&] {
    return Matches(ScreenPixelAt(cr.left + left + mw / 2, cr.top + top + mh / 2),
                   FramePixel(mark, b.CheckFrameCount, 1, mw, mh, mw / 2, mh / 2));
  }));

  // Still a check box: a click checks it and the mark follows (the row moves down for the prompt).
  ClickCenter(checks[0]);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(checks[0], BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  EXPECT_TRUE(WaitUntil([&] {
    cr = ScreenRect(checks[0]);
    return Matches(ScreenPixelAt(cr.left + left + mw / 2, cr.top + top + mh / 2),
                   FramePixel(mark, b.CheckFrameCount, 2, mw, mh, mw / 2, mh / 2));
  }));
}

TEST_F(SkinnedControls, CloseQuestionButtonsShowTheSkinAndAnswer) {
  PostMessageA(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !TopLevels(process->Id(), "TMessageForm").empty(); }));
  HWND box = TopLevels(process->Id(), "TMessageForm")[0];
  auto buttons = Children(box, "TButton");
  ASSERT_EQ(buttons.size(), 2u);
  for (HWND button : buttons) {
    RECT r = ScreenRect(button);
    EXPECT_TRUE(WaitUntil([&] {
      return ShowsElement(button, *skin.Buttons, 5, {1, 4}, std::max(1, skin.Buttons->LeftWidth / 2),
                          (r.bottom - r.top) / 2);
    })) << TextOf(button);
  }
  // "&No" with the mouse: the window hides to the notification area and the program goes on.
  auto no = std::find_if(buttons.begin(), buttons.end(),
                         [](HWND h) { return TextOf(h).find('N') != std::string::npos; });
  ASSERT_NE(no, buttons.end());
  ClickCenter(*no);
  EXPECT_TRUE(WaitUntil([&] { return TopLevels(process->Id(), "TMessageForm").empty(); }));
  EXPECT_TRUE(process->Running());
}

}  // namespace
