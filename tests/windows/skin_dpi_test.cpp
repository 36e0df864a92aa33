// The skinned frame at 144 DPI (this suite runs in a Wine prefix of its own whose LogPixels is
// 144): border thicknesses, title height and caption buttons are the 96-DPI values scaled, drawn
// from the skin's images scaled the same way, and a DPI change rebuilds them.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/ScrollCtrls.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/paint/SkinDrawWin32.h"
#include "skin/paint/SkinScale.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

class DpiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // What the programs' manifests declare.
    using TSetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto set = reinterpret_cast<TSetContext>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext"))))
      set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    Application->Initialize();
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    gSkin = NewSkinData(FileBytes(kDefaultSkin), sfMainform, true);
    PumpUntil(NoActionPending);
  }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new DpiEnvironment);

class FrameAtScale : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager()->ActionDelayMs = 20;
    w = NewWindow(300, 200);
    s = SkinnerOf(w);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(WindowDpi(w), 144) << "the suite's prefix is not at 144 DPI";
  }
  void TearDown() override { DestroyTestWindows(); }

  // The first visible title-bar button.
  TWinSysButton* TitleButton() const {
    for (int i = 0; i < s->Buttons().SysButtonCount(); ++i) {
      TWinSysButton* b = s->Buttons().SysButton(i);
      if (b->Visible && b->SkinButton->Align != anMenuBar && !b->SkinButton->Bitmap.Empty()) return b;
    }
    return nullptr;
  }
  HWND w = nullptr;
  TVuzUrezForm* s = nullptr;
};

// A DPI change as the system sends it, suggesting the window's rectangle as it is.
void SendDpiChange(HWND w, int dpi) {
  RECT r{};
  GetWindowRect(w, &r);
  SendMessageA(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

// n at 96 DPI scaled to 144, allowing a pixel of rounding.
void ExpectScaled(int actual, int at96, const char* what) {
  EXPECT_LE(std::abs(actual * 2 - at96 * 3), 2) << what << ": " << actual << " for " << at96 << " at 96 DPI";
}

TEST_F(FrameAtScale, BordersTitleAndButtonsAreThe96DpiSizesScaled) {
  TBorderSizes b = SkinBorderSizes(gSkin->Skin);
  ExpectScaled(s->LeftWidth(), b.Left, "left border");
  ExpectScaled(s->RightWidth(), b.Right, "right border");
  ExpectScaled(s->TopHeight(), b.Top, "title height");
  ExpectScaled(s->BottomHeight(), b.Bottom, "bottom border");
  RECT wr{}, cr{};
  GetWindowRect(w, &wr);
  GetClientRect(w, &cr);
  EXPECT_EQ(wr.right - wr.left - cr.right, s->LeftWidth() + s->RightWidth());
  EXPECT_EQ(wr.bottom - wr.top - cr.bottom, s->TopHeight() + s->BottomHeight());
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  const TDataSkinSysButton& r = *button->SkinButton;
  const RECT& at = button->BoundsRect;
  ExpectScaled(at.right - at.left, r.Bitmap.Width() / r.Frames(), "button width");
  ExpectScaled(at.bottom - at.top, r.Bitmap.Height(), "button height");
}

TEST_F(FrameAtScale, FramePixelsAreTheScaledImages) {
  SetForegroundWindow(w);
  ASSERT_TRUE(PumpUntil([&] { return s->Active(); })) << "another program took the activation";
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  TSkinScale scale{144};
  // The left border's top cap is drawn as it is: its pixels are the scaled image's, frame 1.
  const TDataSkinBorder& left = *gSkin->Skin.BorderLeft;
  TBitmap image = ScaleSkinImage(
      left.Bitmap, left.Bitmap2x, scale,
      {left.FrameCount, false, {left.LeftWidth, left.TopHeight, left.RightWidth, left.BottomHeight}});
  int cap = scale.Length(left.TopHeight), compared = 0;
  for (int y = 0; y < cap; ++y)
    for (int x = 0; x < s->LeftWidth(); ++x) {
      if (image.Pixel(x, y) == clFuchsia) continue;  // cut away by the region
      ASSERT_EQ(ScreenPixel(w, x, y), image.Pixel(x, y)) << x << ", " << y;
      ++compared;
    }
  EXPECT_GT(compared, 0) << "the left border has no top cap to compare";
  // A caption button's opaque pixels are its scaled image's, frame 1.
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  const TDataSkinSysButton& r = *button->SkinButton;
  TBitmap face = ScaleSkinImage(r.Bitmap, r.Bitmap2x, scale, {r.FrameCount, false, {}});
  const RECT& at = button->BoundsRect;
  compared = 0;
  for (int y = 0; y < at.bottom - at.top; y += 2)
    for (int x = 0; x < at.right - at.left; x += 2) {
      if (face.Pixel(x, y) == clFuchsia) continue;
      ASSERT_EQ(ScreenPixel(w, at.left + x, at.top + y), face.Pixel(x, y)) << x << ", " << y;
      ++compared;
    }
  EXPECT_GT(compared, 0);
}

TEST_F(FrameAtScale, DpiChangesRebuildTheFrameAndLeakNothing) {
  TBorderSizes b = SkinBorderSizes(gSkin->Skin);
  auto change = [&](int dpi) { SendDpiChange(w, dpi); };
  change(96);
  EXPECT_EQ(s->LeftWidth(), b.Left);
  EXPECT_EQ(s->TopHeight(), b.Top);
  TWinSysButton* button = TitleButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->BoundsRect.bottom - button->BoundsRect.top, button->SkinButton->Bitmap.Height());
  change(144);
  ExpectScaled(s->TopHeight(), b.Top, "title height");
  long before = GdiObjectsInUse();
  for (int i = 0; i < 50; ++i) change(i % 2 ? 144 : 96);
  EXPECT_LE(GdiObjectsInUse(), before + 2);  // allow the system a stray object or two
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));  // the region is cut at the new scale too
  DeleteObject(rgn);
}

// The skinned menu bar is as high as the system's bar at the window's DPI, its items written in
// the menu font of that DPI; a change of DPI makes both again.
TEST(MenuBarAtScale, HeightAndItemFontFollowTheWindowsDpi) {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&Schedule");
  HWND w = NewWindow(300, 200, WS_OVERLAPPEDWINDOW, nullptr, false);
  SetMenu(w, menu);
  ShowWindow(w, SW_SHOW);
  TVuzUrezForm* s = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (s = SkinnerOf(w)) && s->MenuBar(); }));
  auto buttonWidth = [&] {
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT& b = s->MenuBar()->Buttons[0]->BoundsRect;
    return b.right - b.left;
  };
  auto change = [&](int dpi) { SendDpiChange(w, dpi); };
  EXPECT_EQ(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 144));
  ExpectScaled(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 96), "menu bar height");
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(origin.y - wr.top, s->TopHeight() + s->MenuHeight()) << "the client is not below the bar";
  int at144 = buttonWidth();
  change(96);
  EXPECT_EQ(s->MenuHeight(), SystemMetricForDpi(SM_CYMENU, 96));
  int at96 = buttonWidth();
  // The caption's width follows the font's size (text does not scale exactly: a tenth either way).
  EXPECT_GT(at144 * 10, at96 * 14) << at144 << " at 144 DPI, " << at96 << " at 96";
  EXPECT_LT(at144 * 10, at96 * 16) << at144 << " at 144 DPI, " << at96 << " at 96";
  change(144);
  EXPECT_EQ(buttonWidth(), at144);
  DestroyTestWindows();
}

// ---- control skinners at 144 DPI: every part a control draws from the skin shows at the
// scaled size, and none at the size of the 96-DPI image.

// The window as the screen shows it.
TBitmap Capture(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  TBitmap shot(r.right - r.left, r.bottom - r.top, pf24bit);
  TBitmapDC to(shot);
  HDC from = GetWindowDC(w);
  BitBlt(to.Get(), 0, 0, shot.Width(), shot.Height(), from, 0, 0, SRCCOPY);
  ReleaseDC(w, from);
  return shot;
}

// Whether every pixel of part that is not the key colour shows at (x, y) of picture.
bool ShowsAt(const TBitmap& picture, const TBitmap& part, int x, int y) {
  if (x < 0 || y < 0 || x + part.Width() > picture.Width() || y + part.Height() > picture.Height())
    return false;
  for (int py = 0; py < part.Height(); ++py)
    for (int px = 0; px < part.Width(); ++px) {
      TColor want = part.Pixel(px, py);
      if (want != SkinKeyColor && picture.Pixel(x + px, y + py) != want) return false;
    }
  return true;
}

bool ShowsAnywhere(const TBitmap& picture, const TBitmap& part) {
  for (int y = 0; y + part.Height() <= picture.Height(); ++y)
    for (int x = 0; x + part.Width() <= picture.Width(); ++x)
      if (ShowsAt(picture, part, x, y)) return true;
  return false;
}

// Frame k of a strip of n, at the size it is stored in.
TBitmap FrameOf(const TBitmap& strip, int n, int k) {
  TFrameCell c = FrameCell(strip, false, n, k);
  return BuildFrame({0, 0, c.Width, c.Height}, strip, n, k);
}

// Frame k of the element's image at the scale, and the scaled slice margins it is drawn with.
struct TScaledFrame {
  TBitmap Image;
  TMargins Margins;
};
TScaledFrame ScaledFrameOf(const TDataSkinObject& e, int frames, int k, TSkinScale scale) {
  TMargins m{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  return {FrameOf(ScaleSkinImage(e.Bitmap, e.Bitmap2x, scale, {frames, false, m}), frames, k),
          ScaleMargins(m, scale)};
}

// The top-left width x height pixels of a picture.
TBitmap TopLeft(const TBitmap& picture, int width, int height) {
  TBitmap part(width, height, pf24bit);
  part.CopyRect(0, 0, picture, 0, 0, width, height);
  return part;
}

// The top-left corner (its slice margins) of frame k of the element at the scale.
TBitmap CornerOf(const TDataSkinObject& e, int frames, int k, TSkinScale scale) {
  TScaledFrame f = ScaledFrameOf(e, frames, k, scale);
  return TopLeft(f.Image, f.Margins.Left, f.Margins.Top);
}

class ControlsAtScale : public ::testing::Test {
 protected:
  void SetUp() override {
    SkinManager()->ActionDelayMs = 20;
    w = NewWindow(480, 330, WS_OVERLAPPEDWINDOW, nullptr, false);
  }
  void TearDown() override { DestroyTestWindows(); }
  // A control made before the window is shown, when the engine skins it with its controls.
  HWND Child(const char* cls, DWORD style, int l, int t, int width, int height, const char* text = "") {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, l, t, width, height, w, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  void Show() {
    ShowWindow(w, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(w) != nullptr; }));
    ASSERT_EQ(WindowDpi(w), 144);
  }
  // Waits until the control shows the part somewhere (or, with at, at that point).
  bool Shows(HWND c, const TBitmap& part, const POINT* at = nullptr) {
    return PumpUntil(
        [&] {
          TBitmap shot = Capture(c);
          return at ? ShowsAt(shot, part, at->x, at->y) : ShowsAnywhere(shot, part);
        },
        3000);
  }
  bool ShowsNow(HWND c, const TBitmap& part) { return ShowsAnywhere(Capture(c), part); }
  HWND w = nullptr;
  const TSkinScale scale{144};
};

TEST_F(ControlsAtScale, CheckAndRadioMarksAreScaledWhole) {
  HWND check = Child("BUTTON", BS_AUTOCHECKBOX, 10, 10, 200, 30, "Check");
  HWND radio = Child("BUTTON", BS_AUTORADIOBUTTON, 10, 50, 200, 30, "Radio");
  Show();
  SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
  const TDataSkinButton& b = *gSkin->Skin.Buttons;
  struct {
    HWND control;
    const TBitmap &image, &image2x;
    int frames;
  } marks[] = {{check, b.CheckBitmap, b.CheckBitmap2x, b.CheckFrameCount},
               {radio, b.RadioBitmap, b.RadioBitmap2x, b.RadioFrameCount}};
  for (auto& m : marks) {
    TBitmap scaled = FrameOf(ScaleSkinImage(m.image, m.image2x, scale, {m.frames, false, {}}), m.frames, 2);
    // Whole: inside the control, vertically centred, not cut at any edge.
    POINT at{0, (30 - scaled.Height()) / 2};
    EXPECT_TRUE(Shows(m.control, scaled, &at) || Shows(m.control, scaled)) << "no scaled mark";
    EXPECT_FALSE(ShowsNow(m.control, FrameOf(m.image, m.frames, 2))) << "a mark at its 96-DPI size";
  }
}

TEST_F(ControlsAtScale, PushButtonAndTabCornersAreTheScaledMargins) {
  HWND button = Child("BUTTON", BS_PUSHBUTTON, 10, 10, 150, 40, "Push");
  HWND tabs = Child(WC_TABCONTROLA, WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 10, 60, 300, 150);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("First");
  SendMessageA(tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  Show();
  // Whichever state the face shows, its corner is the scaled image's, at the control's corner.
  const TDataSkinObject& face = *gSkin->Skin.Buttons;
  POINT origin{0, 0};
  bool found = false;
  for (int k = 1; k <= face.Frames(5) && !found; ++k)
    found = Shows(button, CornerOf(face, face.Frames(5), k, scale), &origin);
  EXPECT_TRUE(found) << "the button's corner";
  const TDataSkinBorder& tab = *gSkin->Skin.Tabs;
  found = false;
  for (int k = 1; k <= tab.Frames() && !found; ++k)
    found = Shows(tabs, CornerOf(tab, tab.Frames(), k, scale));
  EXPECT_TRUE(found) << "a tab's corner";
}

TEST_F(ControlsAtScale, ComboGlyphIsScaled) {
  HWND combo = Child("COMBOBOX", CBS_DROPDOWNLIST, 10, 10, 200, 200);
  Show();
  const TDataSkinObject& extra = *gSkin->Skin.ExtraImages;
  const int n = extra.Frames(5);
  TBitmap glyphs = ScaleSkinImage(extra.Bitmap, extra.Bitmap2x, scale, {n, false, {}});
  EXPECT_TRUE(Shows(combo, FrameOf(glyphs, n, 1)));
  EXPECT_FALSE(ShowsNow(combo, FrameOf(extra.Bitmap, n, 1)));
}

// Up-down arrows, scroll bars and progress bars are skinned on a program's forms.
class FormControlsAtScale : public ControlsAtScale {
 protected:
  void SetUp() override {
    SkinManager()->ActionDelayMs = 20;
    form = new TForm(Application);
    form->InitializeForm();
    form->SetClientWidth(400);
    form->SetClientHeight(300);
  }
  void TearDown() override {
    form->Free();
    PumpPending();
  }
  template <class T>
  T* Add(int l, int t, int width, int height) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(l, t, width, height);
    return c;
  }
  void ShowForm() {
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(form->Handle()) != nullptr; }));
    ASSERT_EQ(WindowDpi(form->Handle()), 144);
  }
  TForm* form = nullptr;
};

TEST_F(FormControlsAtScale, UpDownGlyphsAreScaled) {
  auto* upDown = Add<TUpDown>(10, 10, 26, 60);
  ShowForm();
  const TDataSkinBorder& arrows = *gSkin->Skin.UpDownVert;
  TBitmap up = FrameOf(ScaleSkinImage(arrows.Bitmap2, arrows.Bitmap2_2x, scale, {8, false, {}}), 8, 1);
  // (A solid glyph at 96 DPI is found within its larger self: only the scaled one is looked for.)
  EXPECT_TRUE(Shows(upDown->Handle(), up));
}

TEST_F(FormControlsAtScale, ScrollBarArrowsAreScaledToItsThickness) {
  const int thick = SystemMetricForDpi(SM_CXVSCROLL, 144);
  auto* bar = Add<TScrollBar>(10, 10, thick, 200);
  bar->SetKind(sbVertical);
  bar->SetBounds(10, 10, thick, 200);
  ShowForm();
  // The up arrow is the strip's frame 9 of 23, drawn as high as the bar is thick.
  const TDataSkinObject& strip = *gSkin->Skin.Scrollbar;
  TBitmap arrows = ScaleSkinImage(strip.Bitmap, strip.Bitmap2x, scale, {23, false, {}});
  TFrameCell cell = FrameCell(arrows, false, 23, 9);
  TBitmap up = BuildFrame({0, 0, thick, thick}, arrows, 23, 9);
  POINT origin{0, 0};
  EXPECT_TRUE(Shows(bar->Handle(), up, &origin)) << cell.Width << " pixels scaled for " << thick;
}

TEST_F(FormControlsAtScale, ProgressCornerIsTheScaledMargins) {
  auto* progress = Add<TProgressBar>(10, 10, 200, 30);
  ShowForm();
  const TDataSkinBorder& bar = *gSkin->Skin.Progress;
  POINT origin{0, 0};
  EXPECT_TRUE(Shows(progress->Handle(), CornerOf(bar, bar.Style == 1 ? 1 : 2, 1, scale), &origin));
}

// A menu item of a window at 144 DPI is drawn from the skin's item image at that DPI, with its
// slice margins scaled.
TEST(MenuItemsAtScale, ItemCapIsTheScaledMargin) {
  const TSkinScale scale{144};
  auto images = SharedScaledImages(gSkin->Skin, scale);
  TMenuItemLook look;
  look.Caption = L"Item";
  look.Dpi = scale.Dpi;
  look.Scaled = images.get();
  // The selected look (frame 4; the normal one may be the plain ground), as high as the scaled
  // image, so that its left cap is the image's own.
  TScaledFrame selected = ScaledFrameOf(*gSkin->Skin.MenuItem, 5, 4, scale);
  ASSERT_GT(selected.Margins.Left, 0);
  TBitmap item(200, selected.Image.Height(), pf24bit);
  {
    TBitmapDC dc(item);
    DrawSkinnedItem(dc.Get(), RECT{0, 0, item.Width(), item.Height()}, *gSkin, look, true, TMenuBackground{});
  }
  EXPECT_TRUE(ShowsAt(item, TopLeft(selected.Image, selected.Margins.Left, item.Height()), 0, 0));
}

}  // namespace
