// The element model read from a description: defaults, derived frame counts, image lookups.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "skin/data/Lzh.h"
#include "skin/data/VuzUrezDataRead.h"
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinPack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BmpFile(int w, int h, TColor fill = clWhite) {
  TBitmap b(w, h);
  b.Fill(fill);
  std::string s = b.SaveToBmp();
  return Bytes(s.begin(), s.end());
}

struct TLoaded {
  TSkinElements skin;
  std::vector<std::string> problems;
  TPackageStatus status;
  std::string error;
};

std::unique_ptr<TLoaded> LoadSkin(const std::string& ini, std::vector<TPackMember> images = {},
                                  THighResLoad highRes = THighResLoad::Now) {
  images.insert(images.begin(), {"skin.ini", Bytes(ini.begin(), ini.end())});
  Bytes stored = BuildStoredPackage(images);
  auto r = std::make_unique<TLoaded>();
  r->status = LoadSkinPackage(stored.data(), stored.size(), r->skin, &r->error, &r->problems, highRes);
  return r;
}

TEST(SkinModel, ColourTexts) {
  EXPECT_EQ(ParseColourText("255 128 0"), RGBColor(255, 128, 0));
  EXPECT_EQ(ParseColourText(" 255,128,0 "), RGBColor(255, 128, 0));
  EXPECT_EQ(ParseColourText("255 128"), RGBColor(255, 0, 0));
  EXPECT_EQ(ParseColourText("300 0 0"), RGBColor(44, 0, 0));
  EXPECT_EQ(ParseColourText("1 2 3 4 5"), RGBColor(1, 2, 3));
  EXPECT_EQ(ParseColourText("r=10;g=20;b=30"), RGBColor(10, 20, 30));
  EXPECT_EQ(ParseColourText("none"), 0);
  EXPECT_EQ(ParseColourText(""), 0);
  // A run too large for an integer is not taken and swallows the runs after it.
  EXPECT_EQ(ParseColourText("99999999999 1 2"), 0);
}

TEST(SkinModel, DescriptionWithoutColoursGivesSystemDefaults) {
  auto r = LoadSkin("[TitlebarSkin]\r\nSkinName=Plain\r\n[Colour1]\r\ncolor=1 2 3\r\n[COLOURX]\r\n");
  ASSERT_EQ(r->status, TPackageStatus::Ok);
  const TSkinElements& s = r->skin;
  EXPECT_FALSE(s.NoSkin);
  EXPECT_EQ(s.SkinName, "Plain");
  EXPECT_EQ(s.ColourButtonFace, clBtnFace);
  EXPECT_EQ(s.ColourMenubar, clBtnFace);
  EXPECT_EQ(s.ColourTitleTextNoActive, SystemColor(19));
  EXPECT_EQ(s.ColourButtonDkShadow, clBtnShadow);
  EXPECT_EQ(s.ExtraColours, (std::vector<TColor>{RGBColor(1, 2, 3), clWindowText}));
  // Everything optional is absent; the fixed records exist with their defaults.
  EXPECT_FALSE(s.Tabs || s.Progress || s.MenuBar || s.ComboButton || s.Scrollbar || s.UpDownVert);
  EXPECT_EQ(s.Title->FontHeight, 14);
  EXPECT_EQ(s.Title->ActiveTextColour, clNone);
  EXPECT_EQ(s.BorderLeft->FrameCount, 1);
  EXPECT_EQ(s.BorderTop->Tile, 1);
  EXPECT_EQ(s.BorderBottom->Trans, 1);
  EXPECT_EQ(s.Buttons->FrameCount, 5);
  EXPECT_EQ(s.Buttons->RadioFrameCount, 4);
  EXPECT_EQ(s.SysButtons.size(), 3u);  // only the MDI buttons
}

TEST(SkinModel, ColoursAndDefaultsThatFollowThem) {
  auto r = LoadSkin(
      "[Colours]\r\nButtonFace=10 20 30\r\nButtonText=1,1,1\r\nMenu=\r\n"
      "[SunkEdge]\r\nImage=s.bmp\r\nNormalColour=5\r\nMouseOverColour2=9 9 9\r\n"
      "[Personality]\r\nActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\nInActiveTextR=1\r\nInActiveTextG=-"
      "1\r\n"
      "InActiveTextB=3\r\n",
      {{"s.bmp", BmpFile(8, 4)}});
  const TSkinElements& s = r->skin;
  EXPECT_EQ(s.ColourButtonFace, RGBColor(10, 20, 30));
  EXPECT_EQ(s.ColourMenubar, RGBColor(10, 20, 30));
  EXPECT_EQ(s.ColourMenu, clMenu);  // empty value: default
  ASSERT_TRUE(s.SunkEdge);
  EXPECT_EQ(s.SunkEdge->NormalColour, 5);
  EXPECT_EQ(s.SunkEdge->PressedColour, -1);
  EXPECT_EQ(s.SunkEdge->NormalColour2, RGBColor(1, 1, 1));
  EXPECT_EQ(s.SunkEdge->MouseOverColour2, RGBColor(9, 9, 9));
  EXPECT_EQ(s.SunkEdge->FrameCount, 4);
  EXPECT_EQ(s.Title->ActiveTextColour, RGBColor(1, 2, 3));
  EXPECT_EQ(s.Title->InactiveTextColour, clNone);
}

TEST(SkinModel, ContentColoursOnlyWhereTheSkinNamesWindow) {
  auto without = LoadSkin("[Colours]\r\nWindowText=1 1 1\r\n");
  EXPECT_FALSE(without->skin.ContentColours);
  EXPECT_EQ(without->skin.ColourWindow, clWindow);
  auto with = LoadSkin("[Colours]\r\nWindow=30 31 34\r\n");
  EXPECT_TRUE(with->skin.ContentColours);
  EXPECT_EQ(with->skin.ColourWindow, RGBColor(30, 31, 34));
  EXPECT_EQ(with->skin.ColourWindowText, clWindowText);
}

TEST(SkinModel, CaptionButtons) {
  auto r = LoadSkin(
      "[Button0]\r\nButtonImage=b54.bmp\r\nAction=0\r\n"
      "[button1]\r\nButtonImage=b108.bmp\r\n"
      "[Button2]\r\nButtonImage=b54.bmp\r\nAction=-1\r\n"
      "[Button3]\r\nButtonImage=b54.bmp\r\nAction=3\r\n"
      "[Button4]\r\nButtonImage=b54.bmp\r\nframe=2\r\nAction=11\r\nXcoord=7\r\n"
      "[BUTTONS]\r\n[BUTTON.CHECKBOX]\r\n[Button.Radio]\r\n[OkButton]\r\n",
      {{"b54.bmp", BmpFile(54, 18)}, {"b108.bmp", BmpFile(108, 18)}});
  const auto& b = r->skin.SysButtons;
  ASSERT_EQ(b.size(), 5u + 3u);
  EXPECT_EQ(b[0]->Name, "BUTTON0");
  EXPECT_EQ(b[1]->Name, "BUTTON1");
  EXPECT_EQ(b[0]->FrameCount, 3);     // 54 x 18: ratio 3.0
  EXPECT_EQ(b[1]->FrameCount, 6);     // 108 x 18: ratio 6.0
  EXPECT_EQ(b[2]->FrameCount, 6);     // negative action
  EXPECT_TRUE(b[3]->Bitmap.Empty());  // actions 3 and 11 drop a derived-frame image
  EXPECT_EQ(b[4]->FrameCount, 2);
  EXPECT_FALSE(b[4]->Bitmap.Empty());  // ... but not when the frame count is given
  EXPECT_EQ(b[4]->Xcoord, 7);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[5]->Action, 7);
  EXPECT_EQ(b[7]->Action, 9);
  EXPECT_EQ(b[6]->Visibility1, 100);
}

TEST(SkinModel, MdiButtonsAreCutFromOneStrip) {
  TBitmap strip(120, 9);
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 9; ++y) strip.SetPixel(x, y, RGBColor(x, y, 0));
  std::string file = strip.SaveToBmp();
  auto r = LoadSkin("[MDICONTROLS]\r\nImage=mdi.bmp\r\n", {{"mdi.bmp", Bytes(file.begin(), file.end())}});
  const auto& b = r->skin.SysButtons;
  ASSERT_EQ(b.size(), 3u);
  int xcoord[] = {42, 28, 14};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(b[k]->Bitmap.Width(), 40);
    EXPECT_EQ(b[k]->Bitmap.Height(), 9);
    EXPECT_EQ(b[k]->Xcoord, xcoord[k]);
    EXPECT_EQ(b[k]->FrameCount, 4);
    EXPECT_EQ(b[k]->Bitmap.Pixel(0, 3), RGBColor(40 * k, 3, 0));
    EXPECT_EQ(b[k]->Bitmap.Pixel(39, 8), RGBColor(40 * k + 39, 8, 0));
  }
}

TEST(SkinModel, FrameCountsTileLimitsAndSecondImages) {
  auto r = LoadSkin(
      "[Buttons]\r\nBitmap=btn.bmp\r\nRadioButton=radio.bmp\r\nCheckButton=check.bmp\r\n"
      "[Tabs]\r\nImage=t.bmp\r\nBorder=t2.bmp\r\nTile=2\r\nStyle=4\r\n"
      "[Progress]\r\nBitmap=t.bmp\r\nChunk=t2.bmp\r\nTile=2\r\n"
      "[HorzScrollThumb]\r\nImage=t.bmp\r\nFrameCount=4\r\n[VertScrollThumb]\r\nImage=t.bmp\r\n"
      "[ComboButton]\r\nImage=combo.bmp\r\n[Scrollbar]\r\nImage=t.bmp\r\nTile=1\r\n"
      "[Personality]\r\nmenuBar=t.bmp\r\nTileMenu=3\r\nLeft=t.bmp\r\nLeftFrame=2\r\nLeftStretch=0\r\n"
      "TopTopHeight=5\r\nTopBotHeight=6\r\nLeftTopHeight=7\r\n",
      {{"btn.bmp", BmpFile(50, 20)},
       {"radio.bmp", BmpFile(104, 13)},
       {"check.bmp", BmpFile(48, 16)},
       {"t.bmp", BmpFile(10, 10)},
       {"t2.bmp", BmpFile(3, 3)},
       {"combo.bmp", [] {
          TBitmap b(4, 1, pf32bit);
          b.SetPixel(0, 0, clRed);
          std::string s = b.SaveToBmp();
          return Bytes(s.begin(), s.end());
        }()}});
  const TSkinElements& s = r->skin;
  EXPECT_EQ(s.Buttons->RadioFrameCount, 8);  // 104 / 13
  EXPECT_EQ(s.Buttons->CheckFrameCount, 4);  // 48 / 16 = 3, raised to 4
  ASSERT_TRUE(s.Tabs && s.Progress && s.ComboButton && s.MenuBar);
  EXPECT_EQ(s.Tabs->Tile, 0);   // limited
  EXPECT_EQ(s.Tabs->Style, 0);  // not read for elements with a second image
  EXPECT_EQ(s.Tabs->Bitmap2.Width(), 3);
  EXPECT_EQ(s.Tabs->FrameCount, 5);
  EXPECT_EQ(s.Progress->Tile, 2);  // not limited
  EXPECT_EQ(s.Progress->Bitmap2.Width(), 3);
  EXPECT_EQ(s.Scrollbar->Tile, 1);
  EXPECT_EQ(s.Scrollbar->FrameCount, 23);
  EXPECT_EQ(s.HorzScrollThumb->FrameCount, 4);
  EXPECT_EQ(s.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(s.MenuBar->Name, "Personality");
  EXPECT_EQ(s.MenuBar->Tile, 3);
  EXPECT_EQ(s.MenuBar->LeftWidth, 1);
  EXPECT_EQ(s.BorderLeft->FrameCount, 2);
  EXPECT_EQ(s.BorderLeft->Tile, 0);
  EXPECT_EQ(s.BorderLeft->TopHeight, 7);
  EXPECT_EQ(s.BorderTop->LeftWidth, 5);
  EXPECT_EQ(s.BorderTop->RightWidth, 6);
  EXPECT_EQ(s.BorderTop->TopHeight, 0);
  // The combo button's second image: the first mirrored, in 24-bit.
  EXPECT_EQ(s.ComboButton->Bitmap2.PixelFormat(), pf24bit);
  EXPECT_EQ(s.ComboButton->Bitmap2.Pixel(3, 0), clRed);
  EXPECT_EQ(s.ComboButton->Bitmap.Pixel(0, 0), clRed);
}

TEST(SkinModel, ImageValuePathsExtensionsAndBrokenImages) {
  EXPECT_EQ(ImageMemberName("C:\\skins\\x\\Left.bmp"), "Left.bmp");
  EXPECT_EQ(ImageMemberName("d:left.bmp"), "left.bmp");
  EXPECT_EQ(ImageMemberName("LEFT.BMP"), "");
  EXPECT_EQ(ImageMemberName("dir\\"), "");
  EXPECT_EQ(ImageMemberName("left.png"), "");
  auto r = LoadSkin(
      "[Personality]\r\nLeft=C:\\art\\LEFT.bmp\r\nRight=right.BMP\r\nTop=missing.bmp\r\nBottom=broken.bmp\r\n"
      "[SunkEdge]\r\nImage=nothing.bmp\r\n",
      {{"left.bmp", BmpFile(6, 30)}, {"right.bmp", BmpFile(6, 30)}, {"broken.bmp", Bytes{'B', 'M', 1, 2}}});
  const TSkinElements& s = r->skin;
  EXPECT_EQ(s.BorderLeft->Bitmap.Width(), 6);  // directory ignored, member name case ignored
  EXPECT_TRUE(s.BorderRight->Bitmap.Empty());  // extension in capitals
  EXPECT_TRUE(s.BorderTop->Bitmap.Empty());
  EXPECT_TRUE(s.BorderBottom->Bitmap.Empty());  // undecodable: empty, the load goes on
  ASSERT_TRUE(s.SunkEdge);                      // the element exists with an empty image
  EXPECT_TRUE(s.SunkEdge->Bitmap.Empty());
  EXPECT_FALSE(s.NoSkin);
  EXPECT_EQ(r->problems.size(), 4u);
}

TEST(SkinModel, PackagesThatCannotLoadLeaveNoSkin) {
  TSkinElements skin;
  std::string error;
  Bytes old = BuildStoredPackage({{"skin.ini", Bytes{'[', 'x', ']'}}}, 19999);
  EXPECT_EQ(LoadSkinPackage(old.data(), old.size(), skin, &error), TPackageStatus::WrongVersion);
  EXPECT_TRUE(skin.NoSkin);
  Bytes noIni = BuildStoredPackage({{"skin.txt", Bytes{'[', 'x', ']'}}});
  EXPECT_EQ(LoadSkinPackage(noIni.data(), noIni.size(), skin, &error), TPackageStatus::Corrupt);
  EXPECT_NE(error.find(".ini"), std::string::npos);
  EXPECT_TRUE(skin.NoSkin);
  // An upper-case description name is found.
  Bytes upper = BuildStoredPackage({{"SKIN.INI", Bytes{'[', 'x', ']'}}});
  EXPECT_EQ(LoadSkinPackage(upper.data(), upper.size(), skin, &error), TPackageStatus::Ok);
  EXPECT_FALSE(skin.NoSkin);
}

// High-resolution twins ("KEY@2x=") beside the images.

// A w x h image whose pixel (x, y) is (x, y, blue): where a cut comes from is visible.
Bytes Gradient(int w, int h, int blue = 0) {
  TBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x & 0xFF, y & 0xFF, blue));
  std::string s = b.SaveToBmp();
  return Bytes(s.begin(), s.end());
}

const char kTwinsIni[] =
    "[Personality]\r\nLeft=l.bmp\r\nLeft@2x=l2.bmp\r\nLeftTopHeight=3\r\nTextBack=l.bmp\r\n"
    "[SunkEdge]\r\nImage=e.bmp\r\nImage@2x=e2.bmp\r\nLeftWidth=2\r\n"
    "[Tabs]\r\nImage=e.bmp\r\nBorder=e.bmp\r\nBorder@2x=e2.bmp\r\n"
    "[ComboButton]\r\nImage=e.bmp\r\nImage@2x=e2.bmp\r\n"
    "[Buttons]\r\nCheckButton=e.bmp\r\nCheckButton@2x=e2.bmp\r\n"
    "[Button0]\r\nButtonImage=e.bmp\r\nButtonImage@2x=e2.bmp\r\nframe=4\r\n"
    "[MDICONTROLS]\r\nImage=m.bmp\r\nImage@2x=m2.bmp\r\n";

std::vector<TPackMember> TwinImages() {
  return {{"l.bmp", Gradient(6, 10)},     {"l2.bmp", Gradient(12, 20, 2)}, {"e.bmp", Gradient(8, 4)},
          {"e2.bmp", Gradient(16, 8, 2)}, {"m.bmp", Gradient(24, 3)},      {"m2.bmp", Gradient(48, 6, 2)}};
}

TEST(HighResImages, TwinsAreLoadedBesideTheirImages) {
  auto r = LoadSkin(kTwinsIni, TwinImages());
  ASSERT_EQ(r->status, TPackageStatus::Ok);
  EXPECT_TRUE(r->problems.empty()) << r->problems.front();
  const TSkinElements& s = r->skin;
  EXPECT_EQ(s.BorderLeft->Bitmap2x.Width(), 12);
  EXPECT_EQ(s.BorderLeft->Bitmap2x.Pixel(11, 19), RGBColor(11, 19, 2));
  EXPECT_TRUE(s.Title->Bitmap2x.Empty());  // no twin named: none
  EXPECT_EQ(s.SunkEdge->Bitmap2x.Height(), 8);
  EXPECT_TRUE(s.Tabs->Bitmap2x.Empty());
  EXPECT_EQ(s.Tabs->Bitmap2_2x.Width(), 16);
  EXPECT_EQ(s.Buttons->CheckBitmap2x.Width(), 16);
  EXPECT_EQ(s.SysButtons[0]->Bitmap2x.Width(), 16);
  // The combo button's mirrored image has a mirrored twin.
  EXPECT_EQ(s.ComboButton->Bitmap2_2x.Pixel(0, 0), RGBColor(15, 0, 2));
  // Each MDI button's twin is cut from the twin strip at twice the offsets.
  for (int k = 0; k < 3; ++k) {
    const TBitmap& hi = s.SysButtons[1 + static_cast<std::size_t>(k)]->Bitmap2x;
    ASSERT_EQ(hi.Width(), 16);
    EXPECT_EQ(hi.Pixel(0, 5), RGBColor(16 * k, 5, 2));
  }
}

TEST(HighResImages, TheKeysChangeNothingElseTheModelHolds) {
  std::string without;
  std::istringstream lines(kTwinsIni);
  for (std::string line; std::getline(lines, line);)
    if (line.find("@2x") == std::string::npos) without += line + "\n";
  auto plain = LoadSkin(without, TwinImages()), twins = LoadSkin(kTwinsIni, TwinImages());
  EXPECT_EQ(DumpSkinElements(plain->skin), DumpSkinElements(twins->skin));
  EXPECT_TRUE(plain->skin.SunkEdge->Bitmap2x.Empty());
}

TEST(HighResImages, TwinsLeftForLaterComeAsTheEagerLoadMakesThem) {
  auto now = LoadSkin(kTwinsIni, TwinImages()),
       later = LoadSkin(kTwinsIni, TwinImages(), THighResLoad::WhenAsked);
  ASSERT_EQ(later->status, TPackageStatus::Ok);
  std::vector<TSkinImage> want = SkinImages(now->skin), got = SkinImages(later->skin);
  ASSERT_EQ(got.size(), want.size());
  for (const TSkinImage& image : got) EXPECT_TRUE(image.Image2x->Empty()) << image.Name;
  EXPECT_TRUE(LoadHighResImages(later->skin));
  for (std::size_t i = 0; i < got.size(); ++i) {
    const TBitmap &a = *want[i].Image2x, &b = *got[i].Image2x;
    ASSERT_EQ(a.Width(), b.Width()) << want[i].Name;
    ASSERT_EQ(a.Height(), b.Height()) << want[i].Name;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << want[i].Name;
  }
  EXPECT_FALSE(later->skin.HighResSource);  // nothing is kept once they are in
}

TEST(HighResImages, BadTwinsAreDroppedWithAProblemAndTheImageStays) {
  auto r = LoadSkin(
      "[Personality]\r\nLeft=l.bmp\r\nLeft@2x=gone.bmp\r\nRight=l.bmp\r\nRight@2x=broken.bmp\r\n"
      "Top=l.bmp\r\nTop@2x=l.png\r\nBottom=l.bmp\r\nBottom@2x=l.bmp\r\nmenuBar@2x=l2.bmp\r\n"
      "[Buttons]\r\nBitmap=l.bmp\r\nBitmap@2x=wide.bmp\r\nRadioButton=missing.bmp\r\nRadioButton@2x=l2."
      "bmp\r\n",
      {{"l.bmp", Gradient(6, 10)},
       {"l2.bmp", Gradient(12, 20)},
       {"wide.bmp", Gradient(12, 21)},
       {"broken.bmp", Bytes{'B', 'M', 0, 0}}});
  ASSERT_EQ(r->status, TPackageStatus::Ok);
  const TSkinElements& s = r->skin;
  for (const TDataSkinObject* e : std::initializer_list<const TDataSkinObject*>{
           static_cast<const TDataSkinObject*>(s.BorderLeft.get()), s.BorderRight.get(), s.BorderTop.get(),
           s.BorderBottom.get(), s.Buttons.get()}) {
    EXPECT_EQ(e->Bitmap.Width(), 6) << e->Name;
    EXPECT_TRUE(e->Bitmap2x.Empty()) << e->Name;
  }
  EXPECT_FALSE(s.MenuBar);  // a twin alone makes no element
  EXPECT_TRUE(s.Buttons->RadioBitmap2x.Empty());
  std::string all;
  for (const std::string& p : r->problems) all += p + "\n";
  for (const char* what : {"Left@2x: image gone.bmp is not in the package", "Right@2x: image broken.bmp",
                           "Top@2x=l.png: not a .bmp name", "Bottom@2x: 6 x 10 is not twice 6 x 10",
                           "Bitmap@2x: 12 x 21 is not twice 6 x 10", "RadioButton@2x: no RadioButton image"})
    EXPECT_NE(all.find(what), std::string::npos) << what << "\n" << all;
}

// Skins made to cost: a skin package is untrusted input.

TEST(HostileSkin, OnlyTheStartOfAColourTextIsRead) {
  // The zeros fill what is read, so the numbers after them are never seen.
  EXPECT_EQ(ParseColourText(std::string(kMaxColourTextLength, '0') + " 7 8 9"), 0);
  // A run too large for an integer, then a separator after every digit: read once, not once per
  // separator (this took hours when each separator read the run again).
  std::string text = std::string(1 << 20, '0') + "2147483648";
  for (int i = 0; i < (1 << 20); ++i) text += " 1";
  EXPECT_EQ(ParseColourText(text), 0);
}

TEST(HostileSkin, AnImageNamedByManyPartsIsHeldOnce) {
  std::string ini = "[Personality]\r\nLeft=a.bmp\r\nRight=a.bmp\r\n[SunkEdge]\r\nImage=a.bmp\r\n";
  for (int i = 0; i < 20; ++i) ini += "[Button" + std::to_string(i) + "]\r\nButtonImage=a.bmp\r\n";
  auto r = LoadSkin(ini, {{"a.bmp", BmpFile(54, 18)}});
  ASSERT_EQ(r->status, TPackageStatus::Ok);
  const TSkinElements& s = r->skin;
  auto pixelsOf = [](const TBitmap& b) { return b.Store(); };  // reading: no copy of its own
  const TPixelStore* pixels = pixelsOf(s.BorderLeft->Bitmap);
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixelsOf(s.BorderRight->Bitmap), pixels);
  EXPECT_EQ(pixelsOf(s.SunkEdge->Bitmap), pixels);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(pixelsOf(s.SysButtons[static_cast<std::size_t>(i)]->Bitmap), pixels);
}

// A run-encoded 8-bit BMP of w x h pixels that are all palette entry 0: a few bytes, many pixels.
Bytes EmptyRleBmp(int w, int h) {
  Bytes b = {'B', 'M'};
  auto le32 = [&](std::uint32_t v) { AppendLE32(b, static_cast<std::int32_t>(v)); };
  le32(14 + 40 + 4 + 2), le32(0), le32(14 + 40 + 4);
  le32(40), le32(static_cast<std::uint32_t>(w)), le32(static_cast<std::uint32_t>(h));
  b.insert(b.end(), {1, 0, 8, 0});                       // one plane, 8 bits per pixel
  le32(1), le32(2), le32(0), le32(0), le32(1), le32(0);  // BI_RLE8, 2 bytes, one palette entry
  le32(0x00FFFFFF);
  b.insert(b.end(), {0, 1});  // end of bitmap
  return b;
}

TEST(HostileSkin, SkinsOverTheLimitsAreRefused) {
  // More caption-button sections than records allowed.
  std::string buttons;
  for (std::size_t i = 0; i <= kMaxSkinRecords; ++i) buttons += "[Button" + std::to_string(i) + "]\r\n";
  auto r = LoadSkin(buttons);
  EXPECT_EQ(r->status, TPackageStatus::TooLarge);
  EXPECT_NE(r->error.find(std::to_string(kMaxSkinRecords)), std::string::npos) << r->error;
  EXPECT_TRUE(r->skin.NoSkin);
  // More distinct images than allowed, each one pixel.
  std::string ini = "[SunkEdge]\r\nImage=extra.bmp\r\n";
  std::vector<TPackMember> images = {{"extra.bmp", BmpFile(1, 1)}};
  for (std::size_t i = 0; i < kMaxSkinImages; ++i) {
    std::string name = std::to_string(i) + ".bmp";
    ini += "[Button" + std::to_string(i) + "]\r\nButtonImage=" + name + "\r\n";
    images.push_back({name, BmpFile(1, 1)});
  }
  r = LoadSkin(ini, images);
  EXPECT_EQ(r->status, TPackageStatus::TooLarge);
  EXPECT_NE(r->error.find("images"), std::string::npos) << r->error;
  // More pixels than allowed, from a few bytes each.
  ini = "[Personality]\r\n";
  images.clear();
  for (const char* edge : {"Left", "Right", "Top", "Bottom", "TextBack"}) {
    ini += std::string(edge) + "=" + edge + ".bmp\r\n";
    images.push_back({std::string(edge) + ".bmp", EmptyRleBmp(2048, 2048)});
  }
  r = LoadSkin(ini, images);
  EXPECT_EQ(r->status, TPackageStatus::TooLarge);
  EXPECT_NE(r->error.find("pixels"), std::string::npos) << r->error;
}

TEST(HostileSkin, MarginsAreHeldWhenTheSkinIsRead) {
  auto r = LoadSkin(
      "[Personality]\r\nmenuBar=m.bmp\r\nTileLeftMenu=2147483647\r\nTileRightMenu=0x7FFFFFFF\r\n"
      "TXTBackleft=2147483647\r\nTXTBackRight=-5\r\nTextShift=-2147483648\r\nTopTopHeight=99999999\r\n"
      "[MenuItem]\r\nImage=m.bmp\r\nLeftWidth=-2147483648\r\nRightWidth=-2147483648\r\n"
      "[Button1]\r\nXcoord=2147483647\r\n",
      {{"m.bmp", BmpFile(20, 20)}});
  ASSERT_EQ(r->status, TPackageStatus::Ok);
  const TSkinElements& s = r->skin;
  EXPECT_EQ(s.MenuBar->LeftWidth, kMaxSkinMargin);
  EXPECT_EQ(s.MenuBar->RightWidth, kMaxSkinMargin);
  EXPECT_EQ(s.Title->TextBackLeft, kMaxSkinMargin);
  EXPECT_EQ(s.Title->TextBackRight, 0);
  EXPECT_EQ(s.Title->LeftWidth, -kMaxSkinMargin);  // a text shift may go left
  EXPECT_EQ(s.BorderTop->LeftWidth, kMaxSkinMargin);
  EXPECT_EQ(s.MenuItem->LeftWidth, 0);
  EXPECT_EQ(s.MenuItem->RightWidth, 0);
  EXPECT_EQ(s.SysButtons[0]->Xcoord, kMaxSkinMargin);
  EXPECT_EQ(r->problems.size(), 9u);  // each held value is named
}

}  // namespace
