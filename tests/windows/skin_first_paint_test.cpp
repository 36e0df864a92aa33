// No skinned window ever shows the system's frame: from its creation to its first skinned paint,
// no frame paint reaches a window's own procedure, whether it is activated, shown without
// activation, a message box or an MDI child.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/form/SkinEngine.h"
#include "tests/windows/SystemFrameCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

bool SkinnedAndPainted(HWND w) {
  TVuzUrezForm* s = SkinnerOf(w);
  return s && s->PaintCount() > 0;
}

// The program's main window, skinned by the main-form component its layout holds; the counter
// starts after that component, so that it sits under the engine in every later window.
class FirstPaint : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application->Initialize();
    InstallSkinEngine();
  }
  void SetUp() override {
    if (SkinManager()) SkinManager()->FStarted = 0;
    form = new TForm1(Application);
    Form1 = form;
    form->InitializeForm();
    ASSERT_TRUE(SkinManager() && SkinManager()->Hooked());
    count = std::make_unique<TSystemFrameCount>();
  }
  void TearDown() override {
    form->Free();
    Form1 = nullptr;
    count.reset();
    DestroyTestWindows();
  }
  TForm1* form = nullptr;
  std::unique_ptr<TSystemFrameCount> count;
};

TEST_F(FirstPaint, MainAndAboutWindowsNeverShowTheSystemsFrame) {
  ASSERT_FALSE(form->HandleAllocated());
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(form->Handle()); }));
  ASSERT_TRUE(count->Watched(form->Handle()));
  EXPECT_EQ(count->Of(form->Handle()), 0);

  auto* about = new TForm2(Application);
  about->InitializeForm();
  about->Show();
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(about->Handle()); }));
  EXPECT_EQ(count->Of(about->Handle()), 0);
  about->Free();
}

TEST_F(FirstPaint, AWindowShownWithoutActivationIsSkinnedBeforeItPaints) {
  form->Show();
  HWND w = NewWindow(240, 120, WS_OVERLAPPEDWINDOW, nullptr, false);
  ASSERT_TRUE(count->Watched(w));
  ShowWindow(w, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(w); }));
  EXPECT_NE(GetActiveWindow(), w);
  EXPECT_EQ(count->Of(w), 0);
  DestroyWindow(w);
}

// The box is closed from a timer of its own modal loop once its skinned frame is painted.
HWND gBox = nullptr;
int gBoxFramePaints = -1;
TSystemFrameCount* gCount = nullptr;

void CALLBACK CloseSkinnedBox(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM) -> BOOL {
        if (WindowClassName(w) == "#32770" && IsWindowVisible(w)) gBox = w;
        return TRUE;
      },
      0);
  if (!gBox || !SkinnedAndPainted(gBox)) return;
  gBoxFramePaints = gCount->Of(gBox);
  PostMessageA(gBox, WM_COMMAND, IDOK, 0);
}

TEST_F(FirstPaint, AMessageBoxNeverShowsTheSystemsFrame) {
  form->Show();
  gBox = nullptr;
  gCount = count.get();
  UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseSkinnedBox);
  MessageBoxW(form->Handle(), L"A question", L"Daskel", MB_OK);
  KillTimer(nullptr, timer);
  EXPECT_EQ(gBoxFramePaints, 0);
}

LRESULT CALLBACK ChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(w, m, wp, lp); }

TEST_F(FirstPaint, AnMdiChildNeverShowsTheSystemsFrame) {
  form->Show();
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ChildProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SkinTestChild";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  HWND frame = NewWindow(480, 320);
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(frame); }));
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480,
                                320, frame, nullptr, GetModuleHandleA(nullptr), &ccs);
  MDICREATESTRUCTA mcs{};
  mcs.szClass = "SkinTestChild";
  mcs.szTitle = "Child";
  mcs.hOwner = GetModuleHandleA(nullptr);
  mcs.x = mcs.y = 10;
  mcs.cx = 200;
  mcs.cy = 140;
  auto child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(child); }));
  EXPECT_EQ(count->Of(child), 0);
  DestroyWindow(frame);
}

}  // namespace
