// skintool as a user runs it, and the skins the build packs with it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "skin/data/VuzUrezDataRead.h"
#include "tools/skintool/SkinCheck.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int code;
  std::string output;
};

TRun Tool(const std::string& args) {
  std::string command = std::string(SKINTOOL) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buf[4096];
  while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const fs::path& p, const std::string& data) { std::ofstream(p, std::ios::binary) << data; }

class SkinTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("skintool_test_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "in");
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(SkinTool, PackUnpackRoundTripIsByteForByte) {
  std::mt19937 rng(7);
  std::string random(70001, '\0'), runs(100000, 'a');
  for (char& c : random) c = static_cast<char>(rng());
  for (std::size_t i = 0; i < runs.size(); i += 97) runs[i] = static_cast<char>('a' + i % 7);
  Write(dir_ / "in" / "skin.ini", "[TitlebarSkin]\r\nSkinName=x\r\n");
  Write(dir_ / "in" / "noise.bmp", random);
  Write(dir_ / "in" / "runs.bmp", runs);
  Write(dir_ / "in" / "empty.bmp", "");
  Write(dir_ / "in" / "readme.txt", "skipped");
  auto pack = Tool("pack " + (dir_ / "in").string() + " " + (dir_ / "x.skn").string());
  ASSERT_EQ(pack.code, 0) << pack.output;
  EXPECT_NE(pack.output.find("skipping"), std::string::npos);
  auto unpack = Tool("unpack " + (dir_ / "x.skn").string() + " " + (dir_ / "out").string());
  ASSERT_EQ(unpack.code, 0) << unpack.output;
  for (const char* name : {"skin.ini", "noise.bmp", "runs.bmp", "empty.bmp"})
    EXPECT_EQ(Slurp(dir_ / "out" / name), Slurp(dir_ / "in" / name)) << name;
  EXPECT_FALSE(fs::exists(dir_ / "out" / "readme.txt"));
  auto list = Tool("list " + (dir_ / "x.skn").string());
  EXPECT_EQ(list.code, 0);
  EXPECT_NE(list.output.find("     70001  noise.bmp"), std::string::npos) << list.output;
  EXPECT_LT(list.output.find("skin.ini"), list.output.find("empty.bmp"));  // the description comes first
}

TEST_F(SkinTool, BadInputGivesAClearMessageAndAnExitCode) {
  EXPECT_EQ(Tool("").code, 2);
  EXPECT_EQ(Tool("frobnicate x").code, 2);
  auto missing = Tool("list " + (dir_ / "nope.skn").string());
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.output.find("cannot open"), std::string::npos);
  Write(dir_ / "junk.skn", "this is not a skin package at all");
  auto junk = Tool("list " + (dir_ / "junk.skn").string());
  EXPECT_EQ(junk.code, 2);
  EXPECT_NE(junk.output.find("not a valid skin package"), std::string::npos) << junk.output;
  EXPECT_EQ(Tool("check " + (dir_ / "junk.skn").string()).code, 1);
  auto noIni = Tool("pack " + (dir_ / "in").string() + " " + (dir_ / "y.skn").string());
  EXPECT_EQ(noIni.code, 2);
  EXPECT_NE(noIni.output.find("exactly one .ini"), std::string::npos);
  // A description that names missing and broken images, with frame counts that do not divide.
  Write(dir_ / "in" / "skin.ini",
        "[Personality]\r\nLeft=gone.bmp\r\n[Tabs]\r\nImage=broken.bmp\r\n[Button0]\r\nButtonImage=odd."
        "bmp\r\nframe=4\r\n"
        "[SunkEdge]\r\nImage=odd.bmp\r\nLeftWidth=9\r\nRightWidth=9\r\n");
  Write(dir_ / "in" / "broken.bmp", "BM nonsense");
  {
    TBitmap odd(10, 5);
    Write(dir_ / "in" / "odd.bmp", odd.SaveToBmp());
  }
  ASSERT_EQ(Tool("pack " + (dir_ / "in").string() + " " + (dir_ / "bad.skn").string()).code, 0);
  auto check = Tool("check " + (dir_ / "bad.skn").string());
  EXPECT_EQ(check.code, 1);
  for (const char* what : {"gone.bmp is not in the package", "broken.bmp", "BUTTON0: 4 frames do not divide",
                           "SunkEdge: 4 frames do not divide", "SunkEdge: margins"})
    EXPECT_NE(check.output.find(what), std::string::npos) << what << "\n" << check.output;
}

TEST_F(SkinTool, CheckReportsATwinThatIsNotTwiceItsImage) {
  auto save = [&](const char* name, int w, int h) { Write(dir_ / "in" / name, TBitmap(w, h).SaveToBmp()); };
  save("edge.bmp", 8, 4);
  save("edge2x.bmp", 16, 8);
  save("odd2x.bmp", 15, 8);
  Write(dir_ / "in" / "skin.ini", "[SunkEdge]\r\nImage=edge.bmp\r\nImage@2x=edge2x.bmp\r\n");
  ASSERT_EQ(Tool("pack " + (dir_ / "in").string() + " " + (dir_ / "good.skn").string()).code, 0);
  auto good = Tool("check " + (dir_ / "good.skn").string());
  EXPECT_EQ(good.code, 0) << good.output;
  Write(dir_ / "in" / "skin.ini", "[SunkEdge]\r\nImage=edge.bmp\r\nImage@2x=odd2x.bmp\r\n");
  ASSERT_EQ(Tool("pack " + (dir_ / "in").string() + " " + (dir_ / "odd.skn").string()).code, 0);
  auto odd = Tool("check " + (dir_ / "odd.skn").string());
  EXPECT_EQ(odd.code, 1);
  EXPECT_NE(odd.output.find("[SunkEdge] Image@2x: 15 x 8 is not twice 8 x 4"), std::string::npos)
      << odd.output;
}

// The skins the build draws and packs: sound, complete, and what the painters expect.
TEST(Skins, BothSkinsPassCheckAndDefineEveryElement) {
  for (const char* name : {"default", "dark"}) {
    std::string path = std::string(DASKEL_BINARY_DIR) + "/skins/" + name + ".skn";
    std::string stored = Slurp(path);
    ASSERT_FALSE(stored.empty()) << path;
    auto* data = reinterpret_cast<const std::uint8_t*>(stored.data());
    EXPECT_TRUE(CheckSkinPackage(data, stored.size()).empty()) << name;
    TSkinElements s;
    ASSERT_EQ(LoadSkinPackage(data, stored.size(), s), TPackageStatus::Ok);
    EXPECT_FALSE(s.SkinName.empty());
    for (const TDataSkinObject* e :
         std::initializer_list<const TDataSkinObject*>{static_cast<const TDataSkinObject*>(s.Title.get()),
                                                       s.BorderLeft.get(),
                                                       s.BorderRight.get(),
                                                       s.BorderTop.get(),
                                                       s.BorderBottom.get(),
                                                       s.Buttons.get(),
                                                       s.Tabs.get(),
                                                       s.Progress.get(),
                                                       s.MenuBar.get(),
                                                       s.GroupBoxEdge.get(),
                                                       s.Toolbars.get(),
                                                       s.StatusBarEdges.get(),
                                                       s.ComboButton.get(),
                                                       s.SunkEdge.get(),
                                                       s.ExtraImages.get(),
                                                       s.Headerbar.get(),
                                                       s.MenuItem.get(),
                                                       s.MenuBackground.get(),
                                                       s.Scrollbar.get(),
                                                       s.HorzScroll.get(),
                                                       s.VertScroll.get(),
                                                       s.HorzScrollThumb.get(),
                                                       s.VertScrollThumb.get(),
                                                       s.TrackbarThumbHorz.get(),
                                                       s.TrackbarThumbVert.get(),
                                                       s.TrackbarThumbLeft.get(),
                                                       s.TrackbarThumbRight.get(),
                                                       s.TrackbarThumbUp.get(),
                                                       s.TrackbarThumbDown.get(),
                                                       s.UpDownHorz.get(),
                                                       s.UpDownVert.get()}) {
      ASSERT_TRUE(e) << name;
      EXPECT_FALSE(e->Bitmap.Empty()) << name << " " << e->Name;
    }
    EXPECT_FALSE(s.Buttons->CheckBitmap.Empty() || s.Buttons->RadioBitmap.Empty());
    EXPECT_FALSE(s.Tabs->Bitmap2.Empty() || s.Progress->Bitmap2.Empty() || s.UpDownVert->Bitmap2.Empty());
    EXPECT_NE(s.ColourButtonFace, clBtnFace);  // the skin gives its own colours
    // Frame edges shape the window: magenta top corners, Trans 1.
    for (auto* edge : {s.BorderLeft.get(), s.BorderRight.get(), s.BorderTop.get(), s.BorderBottom.get()})
      EXPECT_EQ(edge->Trans, 1);
    EXPECT_EQ(s.BorderLeft->Bitmap.Pixel(0, 0), clFuchsia);
    EXPECT_EQ(s.BorderRight->Bitmap.Pixel(s.BorderRight->FrameWidth() - 1, 0), clFuchsia);
    EXPECT_EQ(s.BorderLeft->TopHeight, s.BorderTop->Bitmap.Height() / s.BorderTop->FrameCount);
    // Caption buttons: close, maximise, restore, minimise (beside maximise, or beside close when
    // there is no maximise box), the window icon, then the MDI three.
    std::vector<int> actions;
    for (auto& b : s.SysButtons) actions.push_back(b->Action);
    EXPECT_EQ(actions, (std::vector<int>{0, 1, 1, 2, 2, 3, 7, 8, 9}));
    EXPECT_EQ(s.SysButtons[3]->Visibility1, 6);
    EXPECT_EQ(s.SysButtons[4]->Visibility1, 7);
    EXPECT_EQ(s.SysButtons[4]->Xcoord, s.SysButtons[1]->Xcoord);
    for (auto& b : s.SysButtons) {
      if (b->Action == 3) continue;
      EXPECT_FALSE(b->Bitmap.Empty()) << b->Name;
      EXPECT_EQ(b->FrameCount, 4) << b->Name;
    }
  }
}

TEST(Skins, EveryImageOfBothSkinsHasItsTwinForTwiceTheSize) {
  for (const char* name : {"default", "dark"}) {
    std::string stored = Slurp(std::string(DASKEL_BINARY_DIR) + "/skins/" + name + ".skn");
    TSkinElements s;
    ASSERT_EQ(LoadSkinPackage(reinterpret_cast<const std::uint8_t*>(stored.data()), stored.size(), s),
              TPackageStatus::Ok);
    for (const TSkinImage& image : SkinImages(s)) {
      if (image.Image->Empty()) continue;
      EXPECT_EQ(image.Image2x->Width(), 2 * image.Image->Width()) << name << " " << image.Name;
      EXPECT_EQ(image.Image2x->Height(), 2 * image.Image->Height()) << name << " " << image.Name;
    }
    // Drawn anew, not enlarged: the rounded title corner has more than one step per 1x pixel.
    const TBitmap& hi = s.BorderLeft->Bitmap2x;
    int enlargedMismatches = 0;
    for (int y = 0; y < hi.Height(); ++y)
      for (int x = 0; x < s.BorderLeft->FrameWidth() * 2; ++x)
        enlargedMismatches += hi.Pixel(x, y) != s.BorderLeft->Bitmap.Pixel(x / 2, y / 2);
    EXPECT_GT(enlargedMismatches, 0) << name;
  }
}

}  // namespace
