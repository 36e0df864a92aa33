// The gallery's main form, as the program makes it (its layout, its own skin data component):
// skinning switched off and on 500 times and 500 switches between the built-in skins leave no
// GDI object, trampoline or control skinner behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "gallery/GalleryMain.h"
#include "gallery/GallerySkins.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

std::string Stored(const char* path) {
  std::string package = FileBytes(path), value(4, '\0');
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((package.size() >> (8 * i)) & 0xFF);
  return value + package;
}

TEST(GalleryMainForm, FiveHundredCyclesAndSkinSwitchesLeakNothing) {
  Application->Initialize();
  InstallSkinEngine();
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  SkinManager()->ActionDelayMs = 0;
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(WaitActive(form->Handle()));
  ASSERT_TRUE(Skinned(form->Handle()));
  HWND w = form->Handle();
  auto cycle = [&] {
    form->SkinData1->SetActive(false);
    EXPECT_TRUE(PumpUntil([&] { return NoActionPending() && !Skinned(w); }));
    form->SkinData1->SetActive(true);
    EXPECT_TRUE(
        PumpUntil([&] { return NoActionPending() && Skinned(w) && SkinnerOf(w)->FStage == ssActive; }));
  };
  for (int n = 0; n < 5; ++n) cycle();  // the system's caches filled
  long gdi = GdiObjectsInUse();
  int thunks = TWindowSubclass::ThunksAlive(), skinners = TSkinControl::Alive();
  std::size_t listed = SkinnerOf(w)->ControlSkinners().size();
  for (int n = 0; n < 500 && !HasFailure(); ++n) cycle();
  std::printf("500 cycles of the gallery's main form: GDI objects %+ld, thunks %+d, control skinners %+d\n",
              GdiObjectsInUse() - gdi, TWindowSubclass::ThunksAlive() - thunks,
              TSkinControl::Alive() - skinners);
  EXPECT_LE(GdiObjectsInUse(), gdi + 5);
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), thunks);
  EXPECT_EQ(TSkinControl::Alive(), skinners);
  EXPECT_EQ(SkinnerOf(w)->ControlSkinners().size(), listed);

  const std::string light = Stored(kDefaultSkin), night = Stored(kDarkSkin);
  auto apply = [&](const std::string& skin) {
    ASSERT_TRUE(ApplySkinStream(*form->SkinData1, skin));
    EXPECT_TRUE(PumpUntil(NoActionPending));
  };
  for (int n = 0; n < 5; ++n) apply(n % 2 ? light : night);
  gdi = GdiObjectsInUse();
  for (int n = 0; n < 500 && !HasFailure(); ++n) apply(n % 2 ? light : night);
  std::printf("500 skin switches of the gallery's main form: GDI objects %+ld, control skinners %+d\n",
              GdiObjectsInUse() - gdi, TSkinControl::Alive() - skinners);
  EXPECT_LE(GdiObjectsInUse(), gdi + 5);
  EXPECT_EQ(TSkinControl::Alive(), skinners);
  EXPECT_TRUE(Skinned(w));
  form->Free();
  PumpPending();
}

}  // namespace
