// The real main window and About window, skinned from the skin stored in the main window's
// layout; and start-up to the first skinned paint against start-up with skinning off.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"

namespace {

double Now() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Pump(int ms) {
  for (double end = Now() + ms; Now() < end;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

TVuzUrezForm* SkinnerOf(HWND w) {
  TSkinManage* m = SkinManager();
  return m ? dynamic_cast<TVuzUrezForm*>(m->FindForm(w)) : nullptr;
}

// Makes the main window from its layout, shows it and waits for its first skinned frame (or,
// with skinning off, for its first paint). Returns the milliseconds it took.
double StartMainWindow(bool skin, TForm1*& form) {
  // As in a fresh process: the manager has seen no activation yet, so the main window's switch-on
  // takes effect at once.
  if (SkinManager()) SkinManager()->FStarted = 0;
  double t = Now();
  form = new TForm1(Application);
  Form1 = form;
  form->InitializeForm();
  if (!skin) {
    // As if the layout said Active = False: nothing switches skinning on.
    SkinManager()->FActionSkinData = nullptr;
    SkinManager()->FSkinning = false;
  }
  form->Show();
  SetForegroundWindow(form->Handle());
  for (double end = Now() + 3000; skin && Now() < end;) {
    TVuzUrezForm* s = SkinnerOf(form->Handle());
    if (s && s->PaintCount() > 0) break;
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  UpdateWindow(form->Handle());
  return Now() - t;
}

TEST(SkinnedApplication, MainAndAboutWindowsAreSkinned) {
  Application->Initialize();
  TForm1* form = nullptr;
  StartMainWindow(true, form);
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
  auto mouse = [&](DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LOWORD(at) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = HIWORD(at) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &in, sizeof in);
    for (int i = 0; i < 10; ++i) {
      Application->ProcessMessages();
      Sleep(5);
    }
  };
  mouse(0);
  mouse(MOUSEEVENTF_LEFTDOWN);
  mouse(MOUSEEVENTF_LEFTUP);
  Pump(100);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  form->Show();
  Pump(100);
  auto* about = new TForm2(Application);
  about->InitializeForm();
  about->Show();
  SetForegroundWindow(about->Handle());
  Pump(100);
  EXPECT_EQ(SendMessageA(about->Handle(), WM_SKINQUERY, 0, 0), 1);
  about->Free();
  form->Free();
  Form1 = nullptr;
  Pump(300);
}

TEST(SkinnedApplication, StartUpToFirstSkinnedPaint) {
  std::vector<double> on, off;
  for (int i = 0; i < 8; ++i) {
    for (bool skin : {true, false}) {
      TForm1* form = nullptr;
      (skin ? on : off).push_back(StartMainWindow(skin, form));
      form->Free();
      Form1 = nullptr;
      Pump(30);
    }
  }
  SkinManager()->FSkinning = true;
  std::printf("Main window start-up to first paint: skinned %.2f ms, Active false %.2f ms, ratio %.2f\n",
              Median(on), Median(off), Median(on) / Median(off));
}

}  // namespace
