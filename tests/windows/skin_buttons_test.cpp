// Caption buttons of skinned windows under Wine: which are shown, their looks under the mouse,
// clicks and their actions, the window menu, and double clicks on the title.
#include <gtest/gtest.h>

#include <string>

#include "framework/Graphics.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gSkin = NewSkinData(FileBytes(kDefaultSkin), sfMainform, true);
    PumpUntil(NoActionPending);
  }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// Each test leaves no window behind, and the double-click time it may change is given back.
class CaptionButtons : public ::testing::Test {
 protected:
  void SetUp() override { doubleClickTime = GetDoubleClickTime(); }
  void TearDown() override {
    SetDoubleClickTime(doubleClickTime);
    DestroyTestWindows();
  }
  UINT doubleClickTime = 0;
};

// The skinner's buttons by action (the first visible one, else the first one).
TWinSysButton* ButtonFor(TVuzUrezForm* s, int action) {
  TWinSysButton* any = nullptr;
  for (int i = 0; i < s->SysButtonCount(); ++i) {
    TWinSysButton* b = s->SysButton(i);
    if (b->SkinButton->Action != action) continue;
    if (b->Visible) return b;
    if (!any) any = b;
  }
  return any;
}

// Sends a non-client mouse message at the centre of a button (window coordinates given).
LRESULT NcMouseAt(HWND w, UINT msg, const RECT& r, WPARAM hit = HTCAPTION) {
  RECT wr{};
  GetWindowRect(w, &wr);
  int x = wr.left + (r.left + r.right) / 2, y = wr.top + (r.top + r.bottom) / 2;
  return SendMessageA(w, msg, hit, MAKELPARAM(x, y));
}

// The pixel a button shows at its centre in the given frame.
TColor ButtonPixel(const TWinSysButton& b, int frame) {
  const TBitmap& img = b.SkinButton->Bitmap;
  int fw = img.Width() / b.SkinButton->FrameCount;
  return img.Pixel((frame - 1) * fw + fw / 2, img.Height() / 2);
}

TColor ScreenPixelAt(HWND w, const RECT& r) {
  return ScreenPixel(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST_F(CaptionButtons, ShownByTheWindowsBoxes) {
  HWND full = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  TVuzUrezForm* s = SkinnerOf(full);
  ASSERT_NE(s, nullptr);
  RedrawWindow(full, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_NE(ButtonFor(s, baClose), nullptr);
  EXPECT_TRUE(ButtonFor(s, baClose)->Visible);
  EXPECT_TRUE(ButtonFor(s, baMaximize)->Visible);
  EXPECT_TRUE(ButtonFor(s, baMinimize)->Visible);
  EXPECT_TRUE(ButtonFor(s, baSystemMenu)->Visible);
  // The restore face is the one of the maximise pair hidden in normal state.
  int visibleMax = 0;
  for (int i = 0; i < s->SysButtonCount(); ++i)
    visibleMax += s->SysButton(i)->SkinButton->Action == baMaximize && s->SysButton(i)->Visible;
  EXPECT_EQ(visibleMax, 1);
  // Right-anchored: the close button sits its offset from the right edge.
  RECT wr{};
  GetWindowRect(full, &wr);
  EXPECT_EQ(ButtonFor(s, baClose)->BoundsRect.left,
            (wr.right - wr.left) - ButtonFor(s, baClose)->SkinButton->Xcoord);

  HWND small = NewWindow(300, 150, WS_CAPTION | WS_SYSMENU);
  TVuzUrezForm* t = SkinnerOf(small);
  ASSERT_NE(t, nullptr);
  RedrawWindow(small, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(ButtonFor(t, baClose)->Visible);
  EXPECT_FALSE(ButtonFor(t, baMaximize)->Visible) << "no maximise box, whatever the skin says";
  EXPECT_FALSE(ButtonFor(t, baMinimize)->Visible);
  // The window left behind shows its buttons in the inactive face.
  EXPECT_FALSE(s->Active());
  TWinSysButton* close = ButtonFor(s, baClose);
  ASSERT_GE(close->SkinButton->FrameCount, 4);
  EXPECT_EQ(ScreenPixelAt(full, close->BoundsRect), ButtonPixel(*close, 4));
  // Without maximise box a double click on the title does nothing.
  EXPECT_EQ(NcMouseAt(small, WM_NCLBUTTONDBLCLK, RECT{100, 5, 102, 7}), 0);
  PumpPending();
  EXPECT_FALSE(IsZoomed(small));
}

TEST_F(CaptionButtons, HotPressedAndClicks) {
  HWND w = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(s, nullptr);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* close = ButtonFor(s, baClose);
  TWinSysButton* min = ButtonFor(s, baMinimize);
  ASSERT_TRUE(close && min);
  EXPECT_EQ(ScreenPixelAt(w, close->BoundsRect), ButtonPixel(*close, 1));
  // Over the button: the hot frame; moving off it: the normal one again.
  NcMouseAt(w, WM_NCMOUSEMOVE, close->BoundsRect);
  EXPECT_EQ(s->HotObject(), close);
  EXPECT_EQ(close->State, TNCObject::stHot);
  EXPECT_EQ(ScreenPixelAt(w, close->BoundsRect), ButtonPixel(*close, 3));
  NcMouseAt(w, WM_NCMOUSEMOVE, min->BoundsRect);
  EXPECT_EQ(close->State, TNCObject::stNormal);
  EXPECT_EQ(ScreenPixelAt(w, close->BoundsRect), ButtonPixel(*close, 1));
  EXPECT_EQ(s->HotObject(), min);
  // Pressed on close, released on minimise: nothing happens.
  NcMouseAt(w, WM_NCLBUTTONDOWN, close->BoundsRect);
  EXPECT_EQ(close->State, TNCObject::stPressed);
  EXPECT_EQ(ScreenPixelAt(w, close->BoundsRect), ButtonPixel(*close, 2));
  NcMouseAt(w, WM_NCLBUTTONUP, min->BoundsRect);
  PumpPending();
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsIconic(w));
  // Press and release on the maximise button: maximised, and the faces follow.
  TWinSysButton* max = ButtonFor(s, baMaximize);
  NcMouseAt(w, WM_NCLBUTTONDOWN, max->BoundsRect);
  NcMouseAt(w, WM_NCLBUTTONUP, max->BoundsRect);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w); }));
  EXPECT_EQ(s->WindowState(), 1);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* restore = ButtonFor(s, baMaximize);
  EXPECT_NE(restore, max) << "the restore face replaces the maximise face";
  // A double click on the title restores; another maximises.
  NcMouseAt(w, WM_NCLBUTTONDBLCLK, RECT{150, 5, 152, 7});
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(w); }));
  NcMouseAt(w, WM_NCLBUTTONDBLCLK, RECT{150, 5, 152, 7});
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w); }));
  ShowWindow(w, SW_RESTORE);
  PumpUntil([&] { return s->WindowState() == 0; });
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  // Minimise.
  min = ButtonFor(s, baMinimize);
  NcMouseAt(w, WM_NCLBUTTONDOWN, min->BoundsRect);
  NcMouseAt(w, WM_NCLBUTTONUP, min->BoundsRect);
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(w); }));
  ShowWindow(w, SW_RESTORE);
  SetForegroundWindow(w);
  PumpUntil([&] { return s->WindowState() == 0 && s->Active(); });
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  // Close.
  close = ButtonFor(s, baClose);
  NcMouseAt(w, WM_NCLBUTTONDOWN, close->BoundsRect);
  NcMouseAt(w, WM_NCLBUTTONUP, close->BoundsRect);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
}

TEST_F(CaptionButtons, CustomActionIsReportedToTheWindow) {
  // A skin button with an action the skinner does not know, taken out again however the test ends.
  struct TTakeOut {
    ~TTakeOut() { gSkin->Skin.SysButtons.erase(gSkin->Skin.SysButtons.begin()); }
  };
  auto custom = std::make_unique<TDataSkinSysButton>("Custom");
  const TDataSkinSysButton& close = *gSkin->Skin.SysButtons.front();
  custom->Bitmap = close.Bitmap;
  custom->FrameCount = close.FrameCount;
  custom->Action = 50;
  custom->Align = 1;
  custom->Xcoord = 160;
  custom->Ycoord = close.Ycoord;
  custom->Visibility = 200;
  custom->Visibility1 = 200;
  gSkin->Skin.SysButtons.insert(gSkin->Skin.SysButtons.begin(), std::move(custom));
  TTakeOut takeOut;
  HWND w = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(s, nullptr);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* b = ButtonFor(s, 50);
  ASSERT_TRUE(b && b->Visible);
  gLastSkinQueryAction = 0;
  NcMouseAt(w, WM_NCLBUTTONDOWN, b->BoundsRect);
  NcMouseAt(w, WM_NCLBUTTONUP, b->BoundsRect);
  EXPECT_TRUE(PumpUntil([] { return gLastSkinQueryAction == 50u; }));
  EXPECT_TRUE(Skinned(w)) << "the question itself is still answered";
  DestroyWindow(w);
}

TEST_F(CaptionButtons, WindowMenu) {
  HWND w = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(s, nullptr);
  HMENU menu = s->SystemMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 5);
  ASSERT_NE(gSkin->MenuImages(), nullptr);
  EXPECT_EQ(gSkin->MenuImages()->Count(), 4) << "glyphs from the TAVORINMENU resource";
  // A right click on the title opens it with the items of the window's state enabled.
  static bool shown = false;
  static UINT restoreState = 0, maximizeState = 0;
  static HMENU tracked = nullptr;
  tracked = menu;
  // Checked as soon as the menu is up.
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    shown = true;
    restoreState = GetMenuState(tracked, 0, MF_BYPOSITION);
    maximizeState = GetMenuState(tracked, 1, MF_BYPOSITION);
    EndMenu();
  });
  RECT wr{};
  GetWindowRect(w, &wr);
  SendMessageA(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + 150, wr.top + 10));
  EXPECT_TRUE(shown);
  EXPECT_TRUE(restoreState & MF_GRAYED);
  EXPECT_FALSE(maximizeState & MF_GRAYED);
  // Choosing an item performs it.
  s->SystemMenuClick(1);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w); }));
  s->SystemMenuClick(0);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(w); }));
  // A second opening within the double-click time closes the window instead. The time is made
  // long so that a slow machine still opens twice within it; the skinner reads it when made.
  DestroyWindow(w);
  SetDoubleClickTime(60000);
  w = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  ASSERT_NE(SkinnerOf(w), nullptr);
  GetWindowRect(w, &wr);
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !IsWindowVisible(popup)) return;
    KillTimer(nullptr, id);
    EndMenu();
  });
  SendMessageA(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + 150, wr.top + 10));
  SendMessageA(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(wr.left + 150, wr.top + 10));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
}

}  // namespace

namespace {

template <class Done>
bool Mouse(int x, int y, DWORD flags, Done done) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
  return PumpUntil(done);
}

TEST_F(CaptionButtons, RealMouseClick) {
  HWND w = NewWindow(300, 150, WS_OVERLAPPEDWINDOW);
  TVuzUrezForm* s = SkinnerOf(w);
  ASSERT_NE(s, nullptr);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  // The click also activates the window: the frame repainted between press and release must not
  // lose the pressed button.
  HWND other = NewWindow(50, 50, WS_OVERLAPPEDWINDOW);
  SetWindowPos(other, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(PumpUntil([&] { return !s->Active(); }));
  TWinSysButton* min = ButtonFor(s, baMinimize);
  RECT wr{};
  GetWindowRect(w, &wr);
  int x = wr.left + (min->BoundsRect.left + min->BoundsRect.right) / 2;
  int y = wr.top + (min->BoundsRect.top + min->BoundsRect.bottom) / 2;
  EXPECT_TRUE(Mouse(x, y, 0, [&] {
    POINT at{};
    return GetCursorPos(&at) && at.x == x && at.y == y;
  }));
  EXPECT_TRUE(Mouse(x, y, MOUSEEVENTF_LEFTDOWN, [&] { return min->State == TNCObject::stPressed; }));
  EXPECT_TRUE(Mouse(x, y, MOUSEEVENTF_LEFTUP, [&] { return IsIconic(w); }));
}

}  // namespace
