// The skinned frame at 144 DPI (this suite runs in a Wine prefix of its own whose LogPixels is
// 144): border thicknesses, title height and caption buttons are the 96-DPI values scaled, drawn
// from the skin's images scaled the same way, and a DPI change rebuilds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/Forms.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/paint/SkinScale.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

class DpiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // What the programs' manifests declare.
    using TSetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto set = reinterpret_cast<TSetContext>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext"))))
      set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    Application->Initialize();
    gSkin = NewSkinData(FileBytes(kDefaultSkin), sfMainform, true);
    PumpUntil(NoActionPending);
  }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new DpiEnvironment);

class FrameAtScale : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager()->ActionDelayMs = 20;
    w = NewWindow(300, 200);
    s = SkinnerOf(w);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(WindowDpi(w), 144) << "the suite's prefix is not at 144 DPI";
  }
  void TearDown() override { DestroyTestWindows(); }

  // The first visible title-bar button.
  TWinSysButton* TitleButton() const {
    for (int i = 0; i < s->Buttons().SysButtonCount(); ++i) {
      TWinSysButton* b = s->Buttons().SysButton(i);
      if (b->Visible && b->SkinButton->Align != anMenuBar && !b->SkinButton->Bitmap.Empty()) return b;
    }
    return nullptr;
  }
  HWND w = nullptr;
  TVuzUrezForm* s = nullptr;
};

// A DPI change as the system sends it, suggesting the window's rectangle as it is.
void SendDpiChange(HWND w, int dpi) {
  RECT r{};
  GetWindowRect(w, &r);
  SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

// n at 96 DPI scaled to 144, allowing a pixel of rounding.
void ExpectScaled(int actual, int at96, const char* what) {
  EXPECT_LE(std::abs(actual * 2 - at96 * 3), 2) << what << ": " << actual << " for " << at96 << " at 96 DPI";
}

TEST_F(FrameAtScale, BordersTitleAndButtonsAreThe96DpiSizesScaled) {
  TBorderSizes b = SkinBorderSizes(gSkin->Skin);
  ExpectScaled(s->LeftWidth(), b.Left, "left border");
  ExpectScaled(s->RightWidth(), b.Right, "right border");
  ExpectScaled(s->TopHeight(), b.Top, "title height");
  ExpectScaled(s->BottomHeight(), b.Bottom, "bottom border");
  RECT wr{}, cr{};
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  EXPECT_EQ(wr.right - wr.left - cr.right, s->LeftWidth() + s->RightWidth());
  EXPECT_EQ(wr.bottom - wr.top - cr.bottom, s->TopHeight() + s->BottomHeight());
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  const TDataSkinSysButton& r = *button->SkinButton;
  const RECT& at = button->BoundsRect;
  ExpectScaled(at.right - at.left, r.Bitmap.Width() / r.Frames(), "button width");
  ExpectScaled(at.bottom - at.top, r.Bitmap.Height(), "button height");
}

TEST_F(FrameAtScale, FramePixelsAreTheScaledImages) {
  SetForegroundWindow(w);
  ASSERT_TRUE(PumpUntil([&] { return s->Active(); })) << "another program took the activation";
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TSkinScale scale{144};
  // The left border's top cap is drawn as it is: its pixels are the scaled image's, frame 1.
  const TDataSkinBorder& left = *gSkin->Skin.BorderLeft;
  TBitmap image = ScaleSkinImage(
      left.Bitmap, left.Bitmap2x, scale,
      {left.FrameCount, false, {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}});
  int cap = scale.Length(left.TopHeight), compared = 0;
  for (int y = 0; y < cap; ++y)
    for (int x = 0; x < s->LeftWidth(); ++x) {
      if (image.Pixel(x, y) == clFuchsia) continue;  // cut away by the region
      ASSERT_EQ(ScreenPixel(w, x, y), image.Pixel(x, y)) << x << ", " << y;
      ++compared;
    }
  EXPECT_GT(compared, 0) << "the left border has no top cap to compare";
  // A caption button's opaque pixels are its scaled image's, frame 1.
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  const TDataSkinSysButton& r = *button->SkinButton;
  TBitmap face = ScaleSkinImage(r.Bitmap, r.Bitmap2x, scale, {r.FrameCount, false, {}});
  const RECT& at = button->BoundsRect;
  compared = 0;
  for (int y = 0; y < at.bottom - at.top; y += 2)
    for (int x = 0; x < at.right - at.left; x += 2) {
      if (face.Pixel(x, y) == clFuchsia) continue;
      ASSERT_EQ(ScreenPixel(w, at.left + x, at.top + y), face.Pixel(x, y)) << x << ", " << y;
      ++compared;
    }
  EXPECT_GT(compared, 0);
}

TEST_F(FrameAtScale, DpiChangesRebuildTheFrameAndLeakNothing) {
  TBorderSizes b = SkinBorderSizes(gSkin->Skin);
  auto change = [&](int dpi) { SendDpiChange(w, dpi); };
  change(96);
  EXPECT_EQ(s->LeftWidth(), b.Left);
  EXPECT_EQ(s->TopHeight(), b.Top);
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->BoundsRect.bottom - button->BoundsRect.top, button->SkinButton->Bitmap.Height());
  change(144);
  ExpectScaled(s->TopHeight(), b.Top, "title height");
  long before = GdiObjectsInUse();
  for (int i = 0; i < 50; ++i) change(i % 2 ? 144 : 96);
  EXPECT_LE(GdiObjectsInUse(), before + 2);  // allow the system a stray object or two
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));  // the region is cut at the new scale too
  DeleteObject(rgn);
}

// The skinned menu bar is as high as the system's bar at the window's DPI, its items written in
// the menu font of that DPI; a change of DPI makes both again.
TEST(MenuBarAtScale, HeightAndItemFontFollowTheWindowsDpi) {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Schedule");
  HWND w = NewWindow(300, 200, WS_OVERLAPPEDWINDOW, nullptr, false);
  SetMenu(w, menu);
  ShowWindow(w, SW_SHOW);
  TVuzUrezForm* s = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (s = SkinnerOf(w)) && s->MenuBar(); }));
  auto buttonWidth = [&] {
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT& b = s->MenuBar()->Buttons[0]->BoundsRect;
    return b.right - b.left;
  };
  auto change = [&](int dpi) { SendDpiChange(w, dpi); };
  EXPECT_EQ(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 144));
  ExpectScaled(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 96), "menu bar height");
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(origin.y - wr.top, s->TopHeight() + s->MenuHeight()) << "the client is not below the bar";
  int at144 = buttonWidth();
  change(96);
  EXPECT_EQ(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 96));
  int at96 = buttonWidth();
  // The caption's width follows the font's size (text does not scale exactly: a tenth either way).
  EXPECT_GT(at144 * 10, at96 * 14) << at144 << " at 144 DPI, " << at96 << " at 96";
  EXPECT_LT(at144 * 10, at96 * 16) << at144 << " at 144 DPI, " << at96 << " at 96";
  change(144);
  EXPECT_EQ(buttonWidth(), at144);
  DestroyTestWindows();
}

}  // namespace
