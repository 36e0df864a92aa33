// Push-button skinners on real framework controls and plain windows under Wine: the skin frame
// each state shows, clicks made by the skinner, glyph frames, and detaching.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassButtons.h"
#include "skin/paint/SkinDraw.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

// The skin alone: read from the package, no manager, so nothing skins the test windows but the
// skinners a test attaches itself.
class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gSkin = SkinOnly();
    Application->Initialize();
  }
  void TearDown() override { delete gSkin; }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// The form skinner as a skinner sees it: a list and the hot slot.
class TFakeOwner : public TComponent, public TSkinControlOwner {
 public:
  TFakeOwner() : TComponent(nullptr) {}
  bool AddIfAbsent(TSkinControl* s) override {
    for (TSkinControl* x : list)
      if (x == s) return true;
    list.push_back(s);
    return false;
  }
  TSkinControl* HotControl() const override { return hot; }
  void SetHotControl(TSkinControl* s) override { hot = s; }
  bool TearingDown() const override { return false; }
  // Freed with the owner all the same.
  void RemoveSkinner(TSkinControl* s) override { std::erase(list, s); }
  std::vector<TSkinControl*> list;
  TSkinControl* hot = nullptr;
};

struct TClicks : TObject {
  int count = 0;
  void Clicked(TObject*) { ++count; }
};

// A form from a layout text; freed with the test.
struct TFormPtr {
  explicit TFormPtr(const std::string& layout) : form(new TForm(Application)) {
    form->InitializeFormFromText(layout, "ButtonsTest");
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([] { return false; }, 0);
  }
  ~TFormPtr() {
    form->Free();
    SetCursorPos(1, 1);  // the mouse is nowhere near the next test's controls
    PumpUntil([] { return false; }, 0);
  }
  template <class T>
  T* Find(const char* name) const {
    return static_cast<T*>(form->FindComponent(name));
  }
  TForm* form;
};

const TDataSkinButton& Buttons() { return *gSkin->Skin.Buttons; }

// What frame k of "Buttons" shows at (x, y) of a w x h face.
TColor FacePixel(int w, int h, int frame, int x, int y) {
  const TDataSkinButton& e = Buttons();
  TBitmap b = BuildNineSlice({0, 0, w, h}, e.Bitmap, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                             false, e.Tile != 0, 5, frame);
  return b.Pixel(x, y);
}

TColor ClientPixel(HWND w, int x, int y) {
  HDC dc = GetDC(w);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return static_cast<TColor>(c);
}

void Mouse(int x, int y, DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
}

POINT ScreenPoint(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  return p;
}

const char* const kTwoButtons = R"(object F: TForm
  ClientWidth = 240
  ClientHeight = 120
  object Button1: TButton
    Left = 20
    Top = 20
    Width = 75
    Height = 25
    Caption = "Go"
  end
  object Edit1: TEdit
    Left = 20
    Top = 80
  end
end
)";

// The probe sits in the face's middle part, left of the caption.
constexpr int kProbeX = 8, kProbeY = 12;

TEST(SkinPushButton, EachStateShowsItsFrame) {
  for (int a = 1; a <= 4; ++a)
    for (int b = a + 1; b <= 4; ++b)
      ASSERT_NE(FacePixel(75, 25, a, kProbeX, kProbeY), FacePixel(75, 25, b, kProbeX, kProbeY)) << a << b;
  TFormPtr f(kTwoButtons);
  auto* button = f.Find<TButton>("Button1");
  f.Find<TEdit>("Edit1")->SetFocus();
  TFakeOwner owner;
  auto* skinner = new TSkinButton(&owner);
  skinner->AttachControl(button, gSkin, false, nullptr);
  EXPECT_EQ(owner.list.size(), 1u);
  HWND w = button->Handle();
  auto shows = [&](int frame) {
    return PumpUntil(
        [&] { return ClientPixel(w, kProbeX, kProbeY) == FacePixel(75, 25, frame, kProbeX, kProbeY); });
  };
  EXPECT_TRUE(shows(1)) << "normal";
  POINT over = ScreenPoint(w, 60, 12);
  Mouse(over.x, over.y, 0);
  EXPECT_TRUE(shows(4)) << "hot";
  EXPECT_EQ(owner.hot, skinner);
  Mouse(over.x, over.y, MOUSEEVENTF_LEFTDOWN);
  EXPECT_TRUE(shows(2)) << "pressed";
  EXPECT_EQ(GetFocus(), w) << "a press focuses the button";
  Mouse(over.x, over.y, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(shows(4)) << "released, still under the mouse and focused";
  button->SetEnabled(false);
  EXPECT_TRUE(shows(3)) << "disabled, whatever hot and focus say";
  button->SetEnabled(true);
  POINT away = ScreenPoint(f.form->Handle(), 200, 100);
  Mouse(away.x, away.y, 0);
  EXPECT_TRUE(PumpUntil([&] { return owner.hot == nullptr; }));
  button->SetFocus();
  EXPECT_TRUE(shows(4)) << "focused";
  f.Find<TEdit>("Edit1")->SetFocus();
  EXPECT_TRUE(shows(1));
}

TEST(SkinPushButton, ReleasingOffTheButtonCancelsTheClick) {
  TFormPtr f(kTwoButtons);
  auto* button = f.Find<TButton>("Button1");
  TClicks clicks;
  button->OnClick = TNotifyEvent(&clicks, &TClicks::Clicked);
  TFakeOwner owner;
  auto* skinner = new TSkinButton(&owner);
  skinner->AttachControl(button, gSkin, false, nullptr);
  HWND w = button->Handle();
  POINT over = ScreenPoint(w, 30, 12), away = ScreenPoint(f.form->Handle(), 200, 100);
  Mouse(over.x, over.y, 0);
  Mouse(over.x, over.y, MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return (skinner->State() & kSkinPressed) != 0; }));
  Mouse(away.x, away.y, 0);
  EXPECT_TRUE(PumpUntil([&] { return (skinner->State() & kSkinPressed) == 0; })) << "leaving drops the press";
  Mouse(away.x, away.y, MOUSEEVENTF_LEFTUP);
  Mouse(over.x, over.y, 0);
  EXPECT_TRUE(PumpUntil([&] { return (skinner->State() & kSkinHot) != 0; }));
  EXPECT_EQ(clicks.count, 0);
  Mouse(over.x, over.y, MOUSEEVENTF_LEFTDOWN);
  Mouse(over.x, over.y, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(PumpUntil([&] { return clicks.count > 0 && (skinner->State() & kSkinPressed) == 0; }));
  PumpUntil([] { return false; }, 100);  // time for a second click, if one were coming
  EXPECT_EQ(clicks.count, 1);
}

// The parent of the plain button records the commands it gets.
std::vector<std::pair<WPARAM, LPARAM>> gCommands;
LRESULT CALLBACK DialogProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND) gCommands.emplace_back(wp, lp);
  return DefWindowProcA(w, m, wp, lp);
}

TEST(SkinPushButton, PlainButtonPostsItsClickToTheParent) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DialogProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinButtonsDialog";
  RegisterClassA(&wc);
  HWND dialog = CreateWindowExA(0, "SkinButtonsDialog", "Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                240, 120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 75, 25,
                                dialog, reinterpret_cast<HMENU>(1234), GetModuleHandleA(nullptr), nullptr);
  auto before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC));
  TFakeOwner owner;
  auto* skinner = new TSkinButton(&owner);
  skinner->AttachHandle(button, gSkin, nullptr);
  ASSERT_TRUE(skinner->Attached());
  EXPECT_TRUE(PumpUntil(
      [&] { return ClientPixel(button, kProbeX, kProbeY) == FacePixel(75, 25, 1, kProbeX, kProbeY); }));
  gCommands.clear();
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
  ASSERT_TRUE(PumpUntil([] { return !gCommands.empty(); }));
  PumpUntil([] { return false; }, 100);
  ASSERT_EQ(gCommands.size(), 1u) << "the system button made no click of its own";
  EXPECT_EQ(gCommands[0].first, MAKEWPARAM(1234, BN_CLICKED));
  EXPECT_EQ(gCommands[0].second, reinterpret_cast<LPARAM>(button));
  skinner->Detach();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button, GWLP_WNDPROC)), before);
  DestroyWindow(dialog);
  UnregisterClassA("SkinButtonsDialog", GetModuleHandleA(nullptr));
}

// A glyph of two 8 x 8 frames, red then blue; the top-left pixel of each is the transparent one.
TBitmap TwoFrameGlyph() {
  TBitmap g(16, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) g.SetPixel(x, y, x < 8 ? clRed : clBlue);
  g.SetPixel(0, 0, clFuchsia);
  g.SetPixel(8, 0, clFuchsia);
  return g;
}

const char* const kSpeedButtons = R"(object F: TForm
  ClientWidth = 240
  ClientHeight = 120
  object Speed1: TSpeedButton
    Left = 20
    Top = 20
    Width = 24
    Height = 24
    GroupIndex = 1
    Down = True
  end
  object Speed2: TSpeedButton
    Left = 60
    Top = 20
    Width = 24
    Height = 24
    NumGlyphs = 2
  end
end
)";

TEST(SkinSpeedButton, DownShowsPressedEvenDisabled) {
  TFormPtr f(kSpeedButtons);
  auto* speed = f.Find<TSpeedButton>("Speed1");
  speed->SetEnabled(false);
  TFakeOwner owner;
  auto* skinner = new TSkinSpeedButton(&owner);
  skinner->AttachGraphic(speed, gSkin, nullptr);
  HWND w = f.form->Handle();
  ASSERT_NE(FacePixel(24, 24, 2, 6, 12), FacePixel(24, 24, 3, 6, 12));
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, 20 + 6, 20 + 12) == FacePixel(24, 24, 2, 6, 12); }));
}

TEST(SkinSpeedButton, GlyphFrameFollowsTheStateWithinTheGlyphCount) {
  TFormPtr f(kSpeedButtons);
  auto* speed = f.Find<TSpeedButton>("Speed2");
  speed->SetGlyph(TwoFrameGlyph());
  TFakeOwner owner;
  auto* skinner = new TSkinSpeedButton(&owner);
  skinner->AttachGraphic(speed, gSkin, nullptr);
  HWND w = f.form->Handle();
  // An 8 x 8 glyph alone on a 24 x 24 speed button: at (9, 8), so (12, 12) is inside it.
  const int x = 60 + 12, y = 20 + 12;
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, x, y) == clRed; })) << "normal: frame 1";
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_TRUE(speed->Pressed());
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, x, y) == clRed; })) << "pressed asks for 3 of 2: frame 1";
  EXPECT_EQ(ClientPixel(w, 60 + 6, 20 + 12), FacePixel(24, 24, 2, 6, 12)) << "on the pressed face";
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  speed->SetEnabled(false);
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, x, y) == clBlue; })) << "disabled: frame 2";
}

std::string Hex(const std::string& bytes) {
  std::string s;
  char two[3];
  for (unsigned char c : bytes) {
    std::snprintf(two, sizeof two, "%02X", c);
    s += two;
  }
  return s;
}

TEST(SkinBitButton, GlyphFromTheLayoutDrawnUnskinnedAndSkinned) {
  std::string layout = R"(object F: TForm
  ClientWidth = 240
  ClientHeight = 120
  object Bit1: TBitBtn
    Left = 20
    Top = 20
    Width = 80
    Height = 40
    Caption = "Go"
    Layout = blGlyphTop
    Margin = 3
    NumGlyphs = 2
    Glyph = {)" + Hex(TwoFrameGlyph().SaveToBmp()) +
                       R"(}
  end
end
)";
  TFormPtr f(layout);
  auto* bit = f.Find<TBitBtn>("Bit1");
  ASSERT_EQ(bit->Glyph().Width(), 16);
  EXPECT_EQ(bit->NumGlyphs(), 2);
  EXPECT_EQ(bit->Layout(), blGlyphTop);
  HWND w = bit->Handle();
  // Centred across, 3 pixels from the top: (36, 3) to (44, 11).
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, 40, 7) == clRed; })) << "the framework's own look";
  TFakeOwner owner;
  auto* skinner = new TSkinBitButton(&owner);
  skinner->AttachControl(bit, gSkin, false, nullptr);
  int frame = GetFocus() == w ? 4 : 1;
  EXPECT_TRUE(
      PumpUntil([&] { return ClientPixel(w, kProbeX, 20) == FacePixel(80, 40, frame, kProbeX, 20); }));
  EXPECT_EQ(ClientPixel(w, 40, 7), clRed);
  bit->SetEnabled(false);
  EXPECT_TRUE(PumpUntil([&] { return ClientPixel(w, kProbeX, 20) == FacePixel(80, 40, 3, kProbeX, 20); }));
  EXPECT_EQ(ClientPixel(w, 40, 7), clRed) << "a bit button always shows the glyph's first frame";
}

TEST(SkinButtons, DetachGivesTheWindowProcBackExactly) {
  TFormPtr f(kTwoButtons);
  auto* button = f.Find<TButton>("Button1");
  TColor colour = button->Color();
  auto* speed = new TSpeedButton(f.form);
  speed->SetParent(f.form);
  TWndMethod buttonProc = button->WindowProc, speedProc = speed->WindowProc;
  TFakeOwner owner;
  auto* a = new TSkinButton(&owner);
  auto* b = new TSkinSpeedButton(&owner);
  a->AttachControl(button, gSkin, true, nullptr);
  b->AttachGraphic(speed, gSkin, nullptr);
  EXPECT_FALSE(button->WindowProc == buttonProc);
  EXPECT_FALSE(speed->WindowProc == speedProc);
  EXPECT_EQ(button->Color(), gSkin->Skin.ColourButtonFace);
  a->Detach();
  b->Detach();
  EXPECT_TRUE(button->WindowProc == buttonProc);
  EXPECT_TRUE(speed->WindowProc == speedProc);
  EXPECT_EQ(button->Color(), colour) << "the colour comes back too";
  a->Detach();  // a second time: nothing left to undo
  EXPECT_TRUE(button->WindowProc == buttonProc);
}

}  // namespace
