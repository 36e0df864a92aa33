// The gallery's windows, as the program makes them, never show the system's frame: from their
// creation to their first skinned paint no frame paint reaches their own procedure.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "gallery/GalleryBars.h"
#include "gallery/GalleryMain.h"
#include "gallery/GalleryMdi.h"
#include "gallery/GalleryScroll.h"
#include "tests/windows/SystemFrameCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

bool SkinnedAndPainted(HWND w) {
  TVuzUrezForm* s = SkinnerOf(w);
  return s && s->PaintCount() > 0;
}

TEST(GalleryFirstPaint, NoGalleryWindowShowsTheSystemsFrame) {
  Application->Initialize();
  InstallSkinEngine();
  TGalleryForm* main = nullptr;
  Application->CreateForm(main);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(SkinManager() && SkinManager()->Hooked());
  // Installed after the engine's hook, so that it sits under it in every later window.
  auto count = std::make_unique<TSystemFrameCount>();
  main->Show();
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(main->Handle()); }));
  EXPECT_EQ(count->Of(main->Handle()), 0);

  TForm* others[] = {ShowGalleryBars(), ShowGalleryScroll(), ShowGalleryMdi()};
  for (TForm* f : others) {
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(count->Watched(f->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(f->Handle()); }));
    EXPECT_EQ(count->Of(f->Handle()), 0) << f->Caption();
  }
  TGalleryMdiFrame* mdi = ShowGalleryMdi();
  ASSERT_GT(mdi->MDIChildCount(), 0);
  HWND child = mdi->MDIChildren(0)->Handle();
  ASSERT_TRUE(PumpUntil([&] { return SkinnedAndPainted(child); }));
  EXPECT_EQ(count->Of(child), 0);
  // Every window goes while the counter is there: its procedure sits under theirs.
  for (TForm* f : others) f->Free();
  main->Free();
  PumpPending();
  count.reset();
}

}  // namespace
