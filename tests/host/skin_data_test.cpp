// The skin data component without windows: its stored stream, the options, the class filter,
// the requests it makes of the manager; and the frame arithmetic of the form skinner.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/VuzUrezData.h"
#include "skin/data/VuzUrezDataHost.h"
#include "skin/form/VuzUrezFormLayout.h"
#include "tools/skintool/SkinPack.h"

namespace {

struct TRecordingManager : TSkinManagerLink {
  std::vector<std::string> calls;
  TSkinData* actionData = nullptr;
  void AddSkinData(TSkinData*) override { calls.push_back("add"); }
  void RemoveSkinData(TSkinData*) override { calls.push_back("remove"); }
  void InstallHook() override { calls.push_back("hook"); }
  void StartForOwner(TSkinData*) override { calls.push_back("owner"); }
  void SetActionSkinData(TSkinData* d) override { actionData = d; }
  void RequestAction(int action, int delay) override {
    calls.push_back("action" + std::to_string(action) + "/" + std::to_string(delay));
  }
  void ClearAllSysButtons() override { calls.push_back("clear"); }
};

TRecordingManager* gRecorder = nullptr;
TSkinManagerLink* MakeRecorder() { return gRecorder; }

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gRecorder = &recorder;
    SetSkinManagerFactory(&MakeRecorder);
  }
  void TearDown() override {
    SkinManagerGone(&recorder);
    SetSkinManagerFactory(nullptr);
    gRecorder = nullptr;
  }
  TRecordingManager recorder;
};

std::string DefaultSkinBytes() {
  std::ifstream in(DASKEL_BINARY_DIR "/skins/default.skn", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Reads a stored SkinStream value into the component as the layout reader does.
void ReadStored(TSkinData& d, const std::string& package, std::int32_t size) {
  std::string value(4, '\0');
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
  value += package;
  TMemoryStream s;
  s.LoadFromBytes(value);
  d.ReadSkinStream(s);
}

// As a layout creates the component: properties stored while reading, then Loaded.
void LoadLikeLayout(TSkinData& d, bool active, const std::string& package) {
  d.SetState(csLoading | csReading);
  d.SetActive(active);
  ReadStored(d, package, static_cast<std::int32_t>(package.size()));
  d.ClearState(csLoading | csReading);
  d.Loaded();
}

}  // namespace

TEST_F(SkinDataTest, StartsWithTheBuiltInOptions) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag(), 99);
  EXPECT_EQ(d.SkinControls(), 0x3FFFFu);
  EXPECT_FALSE(d.HasControl(xcFastReport));
  EXPECT_TRUE(d.MenuUpdate());
  EXPECT_EQ(d.SkinFormtype(), sfMainform);
  EXPECT_TRUE(d.NoSkin());
  EXPECT_TRUE(d.NCPaintEnabled);
  // 95 rows, three of them twice, in the built-in order.
  ASSERT_EQ(d.Skin3rd()->Count(), 95);
  EXPECT_EQ(d.Skin3rd()->Get(0), "TTBDock=Panel");
  EXPECT_EQ(d.Skin3rd()->Get(13), d.Skin3rd()->Get(14));
  EXPECT_EQ(d.Skin3rd()->Get(33), "TLMDFontSizeCombobox=combobox");
  EXPECT_EQ(d.Skin3rd()->Get(34), d.Skin3rd()->Get(33));
  EXPECT_EQ(d.Skin3rd()->Get(59), "TWWDBCombobox=Combobox");
  EXPECT_EQ(d.Skin3rd()->Get(61), "TWWDBCombobox=Combobox");
  EXPECT_EQ(d.Skin3rd()->Get(94), "TOVCDBNUMERICFIELD=Edit");
  // Published by name, as the layout reader reaches them.
  for (const char* name :
       {"Active", "DisableTag", "SkinControls", "Skin3rd", "SkinFile", "SkinStore", "SkinFormtype",
        "MenuUpdate", "OnFormSkin", "OnSkinChanged", "OnSkinControl", "SkinStream"})
    EXPECT_NE(GetPropInfo(&d, name), nullptr) << name;
}

TEST_F(SkinDataTest, StoredSkinLoadsWhileTheLayoutIsRead) {
  std::string package = DefaultSkinBytes();
  ASSERT_FALSE(package.empty());
  TSkinData d(nullptr);
  LoadLikeLayout(d, true, package);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.Skin.SkinName, "Daskel Light");
  EXPECT_EQ(d.SkinStream().Size(), package.size());
  // Written back: the size, then the same bytes.
  EXPECT_EQ(d.SkinStreamBytes().substr(4), package);
  EXPECT_EQ(d.SkinStore(), "(none)");  // at run time, even with a skin embedded
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"add", "hook", "action1/250"}));
  EXPECT_EQ(recorder.actionData, &d);
}

TEST_F(SkinDataTest, NoSkinTurnsActiveOffWhenLoaded) {
  TSkinData d(nullptr);
  LoadLikeLayout(d, true, "");  // a stored size of 0
  EXPECT_TRUE(d.NoSkin());
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"add", "hook"}));
  // Switching on without a skin asks for nothing; switching off still goes through.
  d.SetActive(true);
  EXPECT_EQ(recorder.calls.size(), 2u);
  d.SetActive(false);
  EXPECT_EQ(recorder.calls.back(), "action2/250");
}

TEST_F(SkinDataTest, BadStoredValuesLeaveTheComponentUnskinned) {
  const int before = OlderSkinFileMessagesShown();
  // A package of another version: the user is told, nothing is loaded.
  std::vector<std::uint8_t> ini{'[', 'T', ']', '\n'};
  auto old = BuildStoredPackage({{"skin.ini", ini}}, 10000);
  TSkinData d(nullptr);
  ReadStored(d, std::string(old.begin(), old.end()), static_cast<std::int32_t>(old.size()));
  EXPECT_TRUE(d.NoSkin());
  EXPECT_EQ(OlderSkinFileMessagesShown(), before + 1);
  // A size larger than the bytes that follow, garbage, and a package without a description.
  TSkinData e(nullptr);
  ReadStored(e, "\x01\x02\x03", 1000);
  EXPECT_TRUE(e.NoSkin());
  auto bare = BuildStoredPackage({{"top.bmp", {1, 2, 3}}});
  ReadStored(e, std::string(bare.begin(), bare.end()), static_cast<std::int32_t>(bare.size()));
  EXPECT_TRUE(e.NoSkin());
  EXPECT_EQ(OlderSkinFileMessagesShown(), before + 1);
}

TEST_F(SkinDataTest, AMissingEmptyOrCorruptSkinFileKeepsTheSkinShownSoFar) {
  TSkinData d(nullptr);
  LoadLikeLayout(d, true, DefaultSkinBytes());
  const std::string name = d.Skin.SkinName;
  const std::string stream = d.SkinStreamBytes();
  const std::string empty = ::testing::TempDir() + "empty.skn";
  const std::string corrupt = ::testing::TempDir() + "corrupt.skn";
  std::ofstream(empty, std::ios::binary).close();
  std::ofstream(corrupt, std::ios::binary) << "LZH? not a skin package at all";
  recorder.calls.clear();
  for (const std::string& file : {std::string("/nonexistent/skin.skn"), empty, corrupt}) {
    d.SetSkinFile(file);
    EXPECT_FALSE(d.NoSkin()) << file;
    EXPECT_EQ(d.Skin.SkinName, name) << file;
    EXPECT_EQ(d.SkinStreamBytes(), stream) << file;
  }
  EXPECT_TRUE(recorder.calls.empty());
  std::remove(empty.c_str());
  std::remove(corrupt.c_str());
}

TEST_F(SkinDataTest, ASkinFileOverTheLimitsIsRefusedAndTheSkinShownSoFarStays) {
  TSkinData d(nullptr);
  LoadLikeLayout(d, true, DefaultSkinBytes());
  const std::string name = d.Skin.SkinName;
  std::string ini = "[TitlebarSkin]\r\nSkinName=Too many\r\n";
  for (int i = 0; i < 5000; ++i) ini += "[Button" + std::to_string(i) + "]\r\n";
  std::vector<std::uint8_t> stored = BuildStoredPackage({{"skin.ini", {ini.begin(), ini.end()}}});
  const std::string file = ::testing::TempDir() + "too-many.skn";
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(stored.data()), static_cast<std::streamsize>(stored.size()));
  recorder.calls.clear();
  d.SetSkinFile(file);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.Skin.SkinName, name);
  EXPECT_TRUE(recorder.calls.empty());
  std::remove(file.c_str());
}

TEST_F(SkinDataTest, RunTimeRequestsGoToTheManager) {
  TSkinData d(nullptr);
  LoadLikeLayout(d, true, DefaultSkinBytes());
  recorder.calls.clear();
  d.SetActive(false);
  d.SetActive(true);
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"action2/250", "action1/250"}));
  recorder.calls.clear();
  // An existing skin file loads and is applied.
  d.SetSkinFile(DASKEL_BINARY_DIR "/skins/dark.skn");
  EXPECT_FALSE(d.NoSkin());
  EXPECT_NE(d.Skin.SkinName, "Daskel Light");
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"clear", "action3/250"}));
  // A dialog component asks nothing when switched.
  TSkinData dialog(nullptr);
  dialog.SetSkinFormtype(sfDialog);
  recorder.calls.clear();
  dialog.SetActive(true);
  EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(SkinDataTest, ClassFilter) {
  TSkinData d(nullptr);
  auto ask = [&d](const std::string& name) {
    bool skin = true;
    d.DoFormSkin(name, skin);
    return skin;
  };
  EXPECT_FALSE(ask("SysMonthCal32"));
  EXPECT_TRUE(ask("sysmonthcal32"));  // compared with case
  EXPECT_TRUE(ask("TfrPreviewForm"));
  d.SetSkinControls(d.SkinControls() | SkinControl(xcFastReport));
  EXPECT_FALSE(ask("TfrPreviewForm"));
  EXPECT_TRUE(ask("TForm1"));
  // An assigned handler decides alone.
  struct TDecider : TObject {
    void Decide(TObject*, const std::string& name, bool& skin) { skin = name == "SysMonthCal32"; }
  } decider;
  d.OnFormSkin = TOnFormSkin(&decider, &TDecider::Decide);
  EXPECT_TRUE(ask("SysMonthCal32"));
  EXPECT_FALSE(ask("TForm1"));
}

TEST(SkinFrameLayout, BorderSizesOfTheDefaultSkin) {
  TSkinData d(nullptr);
  d.SetState(csLoading);
  std::string package = DefaultSkinBytes();
  ReadStored(d, package, static_cast<std::int32_t>(package.size()));
  ASSERT_FALSE(d.NoSkin());
  TBorderSizes b = SkinBorderSizes(d.Skin);
  EXPECT_EQ(b.Left, d.Skin.BorderLeft->Bitmap.Width() / 2);
  EXPECT_EQ(b.Top, d.Skin.BorderTop->Bitmap.Height() / 2);
  EXPECT_GT(b.Top, b.Left);
  EXPECT_GT(b.Bottom, 0);
}

TEST(SkinFrameLayout, WindowSizeKeepsTheClientArea) {
  TBorderSizes b{4, 30, 4, 4};
  TSize skinned = SkinnedWindowSize({392, 273}, b, 0);
  EXPECT_EQ(skinned, (TSize{400, 307}));
  // The system frame that made 392 x 273 out of, say, 398 x 298 comes back on detach.
  EXPECT_EQ(UnskinnedWindowSize(skinned, {6, 25}, b, 0), (TSize{398, 298}));
  EXPECT_EQ(SkinnedWindowSize({392, 273}, b, 19), (TSize{400, 326}));
}

TEST(SkinFrameLayout, CaptionPlacement) {
  TCaptionLayoutInput in;
  in.Title = {50, 0, 350, 30};  // 300 wide
  in.TextWidth = 100;
  in.TextHeight = 14;
  in.TextRightClip = 20;
  in.Alignment = 1;
  TDrawRect c = CaptionRectangle(in);
  EXPECT_EQ(c.Left, 150);  // 100 right of the area's left edge
  EXPECT_EQ(c.Top, 8);
  in.Alignment = 0;
  in.TextShift = 22;
  in.TextShiftVert = 5;  // half of it applies, rounded toward zero
  c = CaptionRectangle(in);
  EXPECT_EQ(c.Left, 72);
  EXPECT_EQ(c.Top, 10);
  // Right to left: right-aligned at the clip distance whatever the skin asks.
  in.RightToLeft = true;
  c = CaptionRectangle(in);
  EXPECT_EQ(c.Right, 330);
  // A long caption stops at the clip distance (and is drawn with an ellipsis there).
  in.RightToLeft = false;
  in.TextWidth = 1000;
  in.BackLeft = in.BackRight = 6;
  c = CaptionRectangle(in);
  EXPECT_EQ(c.Right, 330);
  // A popup window's caption reaches to just before its buttons.
  in.Popup = true;
  in.TextWidth = 10;
  in.RightmostButtonLeft = 300;
  EXPECT_EQ(CaptionRectangle(in).Right, 295);
}

TEST(SkinFrameLayout, CentredCaptionMovesClearOfTheButtonsBeforeItIsCut) {
  TCaptionLayoutInput in;
  in.Title = {5, 0, 235, 28};  // a narrow dialog: 230 wide, 77 kept for the buttons
  in.Alignment = 1;
  in.TextRightClip = 77;
  in.TextLeftClip = 24;
  in.TextWidth = 100;
  TDrawRect c = CaptionRectangle(in);
  EXPECT_EQ(c.Right, 158) << "moved left to end where the buttons' room starts";
  EXPECT_EQ(c.Width(), 100) << "and kept whole";
  in.TextWidth = 150;  // does not fit between the icon and the buttons
  c = CaptionRectangle(in);
  EXPECT_EQ(c.Left, 29);
  EXPECT_EQ(c.Right, 158);
  in.TextWidth = 400;  // wider than the title: it starts after the icon, not under it
  EXPECT_EQ(CaptionRectangle(in).Left, 29);
  in.TextWidth = 40;  // room enough: centred as before
  EXPECT_EQ(CaptionRectangle(in).Left, 100);
}

TEST(SkinFrameLayout, RegionRunsOfTheDefaultSkinsBorders) {
  TSkinData d(nullptr);
  d.SetState(csLoading);
  std::string package = DefaultSkinBytes();
  ReadStored(d, package, static_cast<std::int32_t>(package.size()));
  ASSERT_FALSE(d.NoSkin());
  const TDataSkinBorder& left = *d.Skin.BorderLeft;
  ASSERT_EQ(left.Trans, 1);
  TBorderSizes b = SkinBorderSizes(d.Skin);
  const int height = 300;
  TBitmap image = BuildNineSlice({0, 0, b.Left, height}, left.Bitmap,
                                 {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}, false,
                                 left.Tile != 1, left.FrameCount, 1);
  std::vector<TDrawRect> runs = OpaqueRuns(image, 0, 20, 1, 1, 1, SkinKeyColor);
  ASSERT_FALSE(runs.empty());
  // The rounded top corner: the first rows start right of the window's edge; lower down every
  // row is one run over the whole border, moved by the offset.
  EXPECT_TRUE(runs.front().Top > 20 || runs.front().Left > 0);
  int middle = 0;
  for (const TDrawRect& r : runs) {
    EXPECT_EQ(r.Height(), 1);
    if (r.Top == 20 + height / 2) {
      ++middle;
      EXPECT_EQ(r.Left, 0);
      EXPECT_EQ(r.Right, b.Left);
    }
  }
  EXPECT_EQ(middle, 1);
  // The side borders stop where the bottom one starts: the bottom rows are not cut here.
  EXPECT_EQ(runs.back().Top, 20 + height - 1);
}
