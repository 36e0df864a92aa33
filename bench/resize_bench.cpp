// Live resize of the gallery's main window, as the program makes it: 100 SetWindowPos steps, each
// followed by a full repaint of the window and all its controls, skinned against the same window
// with skinning switched off. The two sides go in blocks of a few steps, switched between blocks
// (the switch is not timed); the i-th skinned step is paired with the i-th plain one, which has
// the same size. Reported as the median of the per-pair ratios.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/WinBench.h"
#include "gallery/GalleryMain.h"
#include "skin/controls/WinSubClass.h"
#include "skin/form/SkinEngine.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/manager/SkinManage.h"

using namespace bench;

namespace {

constexpr int kSteps = 100;  // per side
constexpr int kBlock = 5;    // steps of one side between two switches

bool Skinned(HWND w) { return SendMessageA(w, WM_SKINQUERY, 0, 0) == 1; }

bool Settled(HWND w, bool skinned) {
  TSkinManage* m = SkinManager();
  if (!m || m->ActionPending() || Skinned(w) != skinned) return false;
  if (!skinned) return true;
  auto* s = dynamic_cast<TVuzUrezForm*>(m->FindForm(w));
  return s && s->FStage == ssActive;
}

// The size of step i: the window grows by 4 pixels a step each way and shrinks back.
SIZE StepSize(SIZE base, int i) {
  int k = i % 50 < 25 ? i % 50 : 50 - i % 50;
  return SIZE{base.cx + 4 * k, base.cy + 3 * k};
}

double ResizeStep(HWND w, SIZE size) {
  LARGE_INTEGER a = Now();
  SetWindowPos(w, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  return Microseconds(a, Now());
}

}  // namespace

int main() {
  Application->Initialize();
  InstallSkinEngine();
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  if (!form) {
    std::fprintf(stderr, "no gallery form\n");
    return 1;
  }
  SkinManager()->ActionDelayMs = 0;
  form->Show();
  HWND w = form->Handle();
  SetForegroundWindow(w);
  if (!PumpUntil([&] { return Settled(w, true); }, 10000)) {
    std::fprintf(stderr, "the gallery's window was not skinned\n");
    return 1;
  }
  RECT wr{};
  GetWindowRect(w, &wr);
  const SIZE base{wr.right - wr.left, wr.bottom - wr.top};
  auto side = [&](bool skinned) {
    form->SkinData1->SetActive(skinned);
    PumpUntil([&] { return Settled(w, skinned); }, 10000);
  };
  std::vector<double> plain, skinned;
  for (int warm = 0; warm < 2; ++warm) ResizeStep(w, StepSize(base, warm)), Pump();
  for (int start = 0; start < kSteps; start += kBlock) {
    for (bool skin : {false, true}) {
      side(skin);
      for (int i = start; i < start + kBlock; ++i) {
        (skin ? skinned : plain).push_back(ResizeStep(w, StepSize(base, i)));
        Pump();
      }
    }
  }
  Report("live resize of the gallery's main window", Ratios(plain, skinned));
  // What the skinned window keeps between paints, after every control has painted at its size.
  side(true);
  ResizeStep(w, base);
  Pump();
  if (auto* s = dynamic_cast<TVuzUrezForm*>(SkinManager()->FindForm(w))) {
    std::size_t controls = 0;
    for (const TSkinControl* c : s->ControlSkinners()) controls += c->PictureBytes();
    const std::size_t frame = s->FramePictureBytes(), items = MenuItemPictureBytes();
    std::printf(
        "kept pictures of the gallery's main window: %zu KB (frame %zu KB, %zu control skinners %zu KB, "
        "menu items %zu KB)\n",
        (frame + controls + items) / 1024, frame / 1024, s->ControlSkinners().size(), controls / 1024,
        items / 1024);
  }
  std::fflush(stdout);
  form->Free();
  Pump();
  return 0;
}
