// Skinners that keep the picture they composed: it is composed again exactly when something it
// shows has changed, and copied otherwise.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "skin/controls/WinSubClassBars.h"
#include "skin/controls/WinSubClassChecks.h"
#include "skin/controls/WinSubClassTabs.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/paint/SkinDrawWin32.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    gSkin = SkinOnly();
  }
  void TearDown() override { delete gSkin; }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// A skinner whose picture shows one value, counting its compositions.
class TCountingSkinner : public TSkinControl {
 public:
  TCountingSkinner() : TSkinControl(nullptr) {}
  bool BeforeDefault(TMessage& m) override { return !PaintWhole(m); }
  bool PictureKey(TPictureKey& key) override {
    key.Add(Look);
    return true;
  }
  void DrawSkin(HDC dc, const RECT& r) override {
    ++Composed;
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(Look ? BLACK_BRUSH : WHITE_BRUSH)));
  }
  int Look = 0, Composed = 0;
};

// The parent's answer to WM_CTLCOLORSTATIC, which a test changes.
HBRUSH gParentBrush = nullptr;
WNDPROC gParentProc = nullptr;
LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CTLCOLORSTATIC && gParentBrush) {
    SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
    return reinterpret_cast<LRESULT>(gParentBrush);
  }
  return CallWindowProcA(gParentProc, w, m, wp, lp);
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = NewWindow(300, 120);
    gParentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentProc)));
  }
  void TearDown() override {
    delete skinner;
    DestroyWindow(parent);
    if (gParentBrush) DeleteObject(gParentBrush);
    gParentBrush = nullptr;
    PumpPending();
  }
  HWND Child(const char* cls, const char* text, DWORD style, int h = 24) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  // Every pixel the window shows, after a full repaint.
  static std::vector<COLORREF> Shown(HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r{};
    GetClientRect(w, &r);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(w);
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(w, dc);
    return pixels;
  }
  HWND parent = nullptr;
  TSkinControl* skinner = nullptr;
};

TEST_F(Pictures, AnUnchangedLookIsComposedOnceAndAChangedOneAgain) {
  HWND w = Child("STATIC", "", 0);
  auto* s = new TCountingSkinner;
  skinner = s;
  s->AttachHandle(w, gSkin, nullptr);
  std::vector<COLORREF> white = Shown(w);
  Shown(w);
  EXPECT_EQ(s->Composed, 1);
  s->Look = 1;
  EXPECT_NE(Shown(w), white);
  EXPECT_EQ(s->Composed, 2);
  s->RefreshSkin();  // a new skin: everything is composed again
  Shown(w);
  EXPECT_EQ(s->Composed, 3);
}

TEST_F(Pictures, ACheckBoxShowsItsNewCaptionAndItsParentsNewGround) {
  HWND box = Child("BUTTON", "Before", BS_AUTOCHECKBOX);
  skinner = new TSkinCheckBox(nullptr);
  skinner->AttachHandle(box, gSkin, nullptr);
  std::vector<COLORREF> before = Shown(box);
  SetWindowTextA(box, "After, longer");
  std::vector<COLORREF> renamed = Shown(box);
  EXPECT_NE(renamed, before);
  gParentBrush = CreateSolidBrush(RGB(200, 0, 0));
  std::vector<COLORREF> grounded = Shown(box);
  EXPECT_NE(grounded, renamed);
  EXPECT_EQ(grounded.back(), RGB(200, 0, 0));  // the bottom-right corner is ground, far from text
}

TEST_F(Pictures, AStatusBarShowsItsNewText) {
  HWND bar = Child(STATUSCLASSNAMEA, "", 0);
  skinner = new TSkinStatusBar(nullptr);
  skinner->AttachHandle(bar, gSkin, nullptr);
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("one"));
  std::vector<COLORREF> before = Shown(bar);
  SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("two, three and four"));
  EXPECT_NE(Shown(bar), before);
}

TEST_F(Pictures, WhereAChildOfATabControlWasThePageShows) {
  HWND tabs = Child(WC_TABCONTROLA, "", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 100);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("Page");
  SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  // A child that paints itself red all over.
  static ATOM red = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    wc.lpszClassName = "PictureTestRed";
    return RegisterClassA(&wc);
  }();
  ASSERT_NE(red, 0);
  HWND child = CreateWindowExA(0, "PictureTestRed", "", WS_CHILD | WS_VISIBLE, 60, 50, 40, 20, tabs, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  skinner = new TSkinTab(nullptr);
  skinner->AttachHandle(tabs, gSkin, nullptr);
  Shown(tabs);
  ASSERT_EQ(ScreenPixel(child, 20, 10), RGB(255, 0, 0));
  ShowWindow(child, SW_HIDE);  // the page under it is painted from the kept picture
  UpdateWindow(tabs);
  const COLORREF shown = ScreenPixel(tabs, 80, 60);
  EXPECT_NE(shown, RGB(255, 0, 0));
  skinner->RefreshSkin();  // composed anew, without the child
  Shown(tabs);
  EXPECT_EQ(ScreenPixel(tabs, 80, 60), shown);
}

}  // namespace

// A menu item drawn through DrawSkinnedItem into a bitmap of its own: every pixel.
std::vector<COLORREF> DrawnItem(const TMenuItemLook& look, bool selected = false) {
  TBitmap target(160, 22, pf24bit);
  {
    TBitmapDC dc(target);
    DrawSkinnedItem(dc.Get(), RECT{0, 0, 160, 22}, *gSkin, look, selected, TMenuBackground{});
  }
  std::vector<COLORREF> pixels;
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < target.Width(); ++x) pixels.push_back(target.Pixel(x, y));
  return pixels;
}

TEST(MenuItemPictures, AnItemShowsItsChangedLookAndItsOldOneAgain) {
  TMenuItemLook look;
  look.Caption = L"&Open";
  const std::vector<COLORREF> plain = DrawnItem(look);
  for (auto change :
       {+[](TMenuItemLook& l) { l.Checked = true; }, +[](TMenuItemLook& l) { l.Enabled = false; },
        +[](TMenuItemLook& l) { l.Caption = L"&Close"; },
        +[](TMenuItemLook& l) { l.ShortCut = L"Ctrl+O"; }}) {
    TMenuItemLook changed = look;
    change(changed);
    EXPECT_NE(DrawnItem(changed), plain);
  }
  EXPECT_NE(DrawnItem(look, true), plain);
  EXPECT_EQ(DrawnItem(look), plain);
}

TEST(MenuItemPictures, KeepNoMoreThanAFewMenusWorth) {
  ForgetMenuItemPictures();
  TMenuItemLook look;
  for (int i = 0; i < 1000; ++i) {
    look.Caption = L"Item " + std::to_wstring(i);
    DrawnItem(look);
  }
  EXPECT_GT(MenuItemPictureBytes(), 0u);
  EXPECT_LE(MenuItemPictureBytes(), 100u * 160 * 22 * 3);
  ForgetMenuItemPictures();
  EXPECT_EQ(MenuItemPictureBytes(), 0u);
}
