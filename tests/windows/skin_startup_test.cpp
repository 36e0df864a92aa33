// The real main window and About window, skinned from the skin stored in the main window's
// layout. (Start-up timing is measured in bench/, not here.)
#include <windows.h>

#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/form/SkinEngine.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"
#include "tests/TestUtil.h"

namespace {

TVuzUrezForm* SkinnerOf(HWND w) {
  TSkinManage* m = SkinManager();
  return m ? dynamic_cast<TVuzUrezForm*>(m->FindForm(w)) : nullptr;
}

// Makes the main window from its layout, shows it and waits for its first skinned frame.
TForm1* StartMainWindow() {
  // As in a fresh process: the manager has seen no activation yet, so the main window's switch-on
  // takes effect at once.
  if (SkinManager()) SkinManager()->FStarted = 0;
  auto* form = new TForm1(Application);
  Form1 = form;
  form->InitializeForm();
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([&] {
    TVuzUrezForm* s = SkinnerOf(form->Handle());
    return s && s->PaintCount() > 0;
  });
  return form;
}

// The main window of one test, freed however the test ends.
class SkinnedApplication : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application->Initialize();
    InstallSkinEngine();
  }
  void SetUp() override { form = StartMainWindow(); }
  void TearDown() override {
    form->Free();
    Form1 = nullptr;
  }
  TForm1* form = nullptr;
};

TEST_F(SkinnedApplication, MainAndAboutWindowsAreSkinned) {
  ASSERT_NE(form->SkinData1, nullptr);
  EXPECT_FALSE(form->SkinData1->NoSkin());
  EXPECT_TRUE(form->SkinData1->Active());
  EXPECT_EQ(form->SkinData1->Skin3rd()->Count(), 95);
  EXPECT_FALSE(form->SkinData1->HasControl(xcFastReport));
  TVuzUrezForm* s = SkinnerOf(form->Handle());
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->FSkinData, form->SkinData1);
  EXPECT_GT(s->PaintCount(), 0);
  // The skinned minimise button hides the window to the notification area.
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* minimise = nullptr;
  for (int i = 0; i < s->SysButtonCount(); ++i)
    if (s->SysButton(i)->SkinButton->Action == baMinimize && s->SysButton(i)->Visible)
      minimise = s->SysButton(i);
  ASSERT_NE(minimise, nullptr);
  RECT wr{};
  GetWindowRect(form->Handle(), &wr);
  LPARAM at = MAKELPARAM(wr.left + (minimise->BoundsRect.left + minimise->BoundsRect.right) / 2,
                         wr.top + (minimise->BoundsRect.top + minimise->BoundsRect.bottom) / 2);
  auto mouse = [&](DWORD flags, auto done) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LOWORD(at) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = HIWORD(at) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &in, sizeof in);
    return PumpUntil(done);
  };
  EXPECT_TRUE(mouse(0, [&] { return s->HotObject() == minimise; }));
  EXPECT_TRUE(mouse(MOUSEEVENTF_LEFTDOWN, [&] { return minimise->State == TNCObject::stPressed; }));
  EXPECT_TRUE(mouse(MOUSEEVENTF_LEFTUP, [&] { return !IsWindowVisible(form->Handle()); }));
  form->Show();
  auto* about = new TForm2(Application);
  about->InitializeForm();
  about->Show();
  SetForegroundWindow(about->Handle());
  EXPECT_TRUE(PumpUntil([&] { return SendMessageA(about->Handle(), WM_SKINQUERY, 0, 0) == 1; }));
  about->Free();
}

TEST_F(SkinnedApplication, ThePromptRowGetsFortyPixelsUnderTheTallerSkinnedFrame) {
  ASSERT_NE(SkinnerOf(form->Handle()), nullptr);
  const int client = form->ClientHeight(), button = form->Button1->Top();
  form->CheckBox1->SetChecked(true);
  form->CheckBox1Click(nullptr);
  EXPECT_EQ(form->ClientHeight(), client + 40);
  EXPECT_EQ(form->Button1->Top(), button + 40);
  form->CheckBox1->SetChecked(false);
  form->CheckBox1Click(nullptr);
  EXPECT_EQ(form->ClientHeight(), client);
  EXPECT_EQ(form->Button1->Top(), button);
}

}  // namespace
