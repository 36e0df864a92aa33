// Start-up and paint times of the skinned main window, under Wine (Windows build only; run with
// tools/winerun build/windows/bench/startup_bench.exe). It reports; it does not pass or fail.
//   - start-up: making the main window from its layout until its first skinned frame is painted,
//     against the same with skinning off;
//   - frame paint: the skinner's PaintFrame against the system's own non-client paint.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/Unit1.h"
#include "bench/WinBench.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/manager/SkinManage.h"

namespace {

double Now() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TVuzUrezForm* SkinnerOf(HWND w) {
  TSkinManage* m = SkinManager();
  return m ? dynamic_cast<TVuzUrezForm*>(m->FindForm(w)) : nullptr;
}

void PumpUntil(bool (*done)(TForm1*), TForm1* form, double timeoutMs) {
  for (double end = Now() + timeoutMs; !done(form) && Now() < end;) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// Makes the main window from its layout and shows it; with skin, until its first skinned frame.
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
  if (skin)
    PumpUntil(
        [](TForm1* f) {
          TVuzUrezForm* s = SkinnerOf(f->Handle());
          return s && s->PaintCount() > 0;
        },
        form, 3000);
  UpdateWindow(form->Handle());
  return Now() - t;
}

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main() {
  Application->Initialize();
  auto start = [](bool skin) {
    TForm1* form = nullptr;
    double t = StartMainWindow(skin, form);
    form->Free();
    Form1 = nullptr;
    Drain();
    return t * 1000;
  };
  bench::Report("start-up to first skinned paint",
                bench::Compare([&] { return start(false); }, [&] { return start(true); }, 30, 3, 2));
  SkinManager()->FSkinning = true;

  TForm1* form = nullptr;
  StartMainWindow(true, form);
  RECT wr{};
  GetWindowRect(form->Handle(), &wr);
  HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 40, 40,
                               wr.right - wr.left, wr.bottom - wr.top, nullptr, nullptr, nullptr, nullptr);
  SkinManager()->FSkinning = false;  // the plain window keeps the system's frame
  ShowWindow(plain, SW_SHOWNA);
  if (TVuzUrezForm* s = SkinnerOf(form->Handle()))
    bench::Report("frame paint of the main window", bench::Compare(
                                                        [&] {
                                                          double t = Now();
                                                          DefWindowProcA(plain, WM_NCPAINT, 1, 0);
                                                          GdiFlush();
                                                          return (Now() - t) * 1000;
                                                        },
                                                        [&] {
                                                          double t = Now();
                                                          s->PaintFrame(nullptr);
                                                          GdiFlush();
                                                          return (Now() - t) * 1000;
                                                        }));
  DestroyWindow(plain);
  form->Free();
  Form1 = nullptr;
  FreeSkinManager();
  return 0;
}
