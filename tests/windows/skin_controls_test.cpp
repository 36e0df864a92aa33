// Control skinners under Wine, each put directly on a framework control or a plain window (no
// form skinner, no discovery): what check boxes, radio buttons, edits, combo boxes, up-down arrows
// and boxes show, compared pixel for pixel with the skin's images.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassBoxes.h"
#include "skin/controls/WinSubClassChecks.h"
#include "skin/controls/WinSubClassEdits.h"
#include "skin/controls/WinSubClassUpDown.h"
#include "skin/paint/SkinDraw.h"
#include "skin/paint/SkinDrawWin32.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

// The skin as a component holds it, without the manager: nothing else skins these windows.
class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    gSkin = SkinOnly();
  }
  void TearDown() override { delete gSkin; }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// What a form skinner is to its control skinners: the list, the hot slot, the life stage.
class TFakeSite : public TComponent, public TSkinControlOwner {
 public:
  TFakeSite() : TComponent(nullptr) {}
  bool AddIfAbsent(TSkinControl* s) override {
    bool had = std::find(List.begin(), List.end(), s) != List.end();
    if (!had) List.push_back(s);
    return had;
  }
  TSkinControl* HotControl() const override { return Hot; }
  void SetHotControl(TSkinControl* s) override { Hot = s; }
  bool TearingDown() const override { return Dying; }
  void RemoveSkinner(TSkinControl* s) override {
    List.erase(std::remove(List.begin(), List.end(), s), List.end());
  }
  std::vector<TSkinControl*> List;
  TSkinControl* Hot = nullptr;
  bool Dying = false;
};

// Non-key pixels of `picture` (within `part`, picture coordinates) that the window does not show
// at (x, y) of its window DC.
int Mismatches(HWND w, int x, int y, const TBitmap& picture, RECT part) {
  HDC dc = GetWindowDC(w);
  int bad = 0;
  for (int py = part.top; py < std::min<int>(part.bottom, picture.Height()); ++py)
    for (int px = part.left; px < std::min<int>(part.right, picture.Width()); ++px) {
      TColor want = picture.Pixel(px, py);
      if (want == SkinKeyColor) continue;
      bad += static_cast<TColor>(GetPixel(dc, x + px, y + py)) != want;
    }
  ReleaseDC(w, dc);
  return bad;
}

// Waits until the window shows frame k of the strip, scaled to r, within part (r's coordinates).
bool ShowsFrame(HWND w, const RECT& r, const TBitmap& strip, int frames, int k, const RECT* part = nullptr) {
  TBitmap built = BuildFrame(ToDrawRect(RECT{0, 0, r.right - r.left, r.bottom - r.top}), strip, frames, k);
  RECT whole{0, 0, built.Width(), built.Height()};
  return PumpUntil([&] { return Mismatches(w, r.left, r.top, built, part ? *part : whole) == 0; }, 1500);
}

class SkinControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->InitializeForm();
    form->SetClientWidth(420);
    form->SetClientHeight(260);
    focus = new TEdit(form);
    focus->SetParent(form);
    focus->SetBounds(300, 220, 100, 21);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([&] { return GetActiveWindow() == form->Handle(); });
    focus->SetFocus();
    site = new TFakeSite;
  }
  void TearDown() override {
    delete site;
    form->Free();
    PumpPending();
  }
  template <class T>
  T* Add(int l, int t, int w, int h) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(l, t, w, h);
    return c;
  }
  HWND Child(const char* cls, DWORD style, DWORD exStyle, int l, int t, int w, int h, HWND parent = nullptr) {
    HWND wnd = CreateWindowExA(exStyle, cls, "", WS_CHILD | WS_VISIBLE | style, l, t, w, h,
                               parent ? parent : form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(wnd);
    return wnd;
  }
  TForm* form = nullptr;
  TEdit* focus = nullptr;
  TFakeSite* site = nullptr;
};

const TDataSkinButton& Marks() { return *gSkin->Skin.Buttons; }

// The mark's rectangle in a check box or radio button of height h (text on the right).
RECT MarkAt(int left, int h, const TBitmap& image, int frames) {
  int w = image.Width() / frames, top = (h - image.Height()) / 2;
  left += w < 15 ? (14 - w) / 2 : 0;
  return RECT{left, top, left + w, top + image.Height()};
}

TEST_F(SkinControls, CheckBoxShowsItsStateFromTheSkin) {
  auto* box = Add<TCheckBox>(10, 10, 120, 20);
  box->SetCaption("Check");
  auto* s = new TSkinCheckBox(site);
  s->AttachControl(box, gSkin, false, nullptr);
  const TBitmap& img = Marks().CheckBitmap;
  const int n = Marks().CheckFrameCount;
  RECT mark = MarkAt(0, 20, img, n);
  HWND h = box->Handle();
  EXPECT_TRUE(ShowsFrame(h, mark, img, n, 1)) << "unchecked";
  box->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(h, mark, img, n, 2)) << "checked";
  box->SetState(cbGrayed);
  EXPECT_TRUE(ShowsFrame(h, mark, img, n, 4)) << "grayed, although enabled";
  box->SetState(cbUnchecked);
  box->SetEnabled(false);
  EXPECT_TRUE(ShowsFrame(h, mark, img, n, 3)) << "disabled";
  box->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(h, mark, img, n, 4)) << "disabled and checked";
}

// Pixels of a colour in the window's text area (right of the mark's column).
int CaptionPixels(HWND h, TColor c) {
  RECT wr;
  GetWindowRect(h, &wr);
  HDC dc = GetWindowDC(h);
  int n = 0;
  for (int y = 0; y < wr.bottom - wr.top; ++y)
    for (int x = 18; x < wr.right - wr.left; ++x) n += static_cast<TColor>(GetPixel(dc, x, y)) == c;
  ReleaseDC(h, dc);
  return n;
}

TEST_F(SkinControls, DisabledCaptionsInTheButtonsDisabledColourNotEmbossed) {
  auto* box = Add<TCheckBox>(10, 10, 120, 20);
  auto* radio = Add<TRadioButton>(10, 40, 120, 20);
  (new TSkinCheckBox(site))->AttachControl(box, gSkin, false, nullptr);
  (new TSkinRadioButton(site))->AttachControl(radio, gSkin, false, nullptr);
  for (TWinControl* c : std::initializer_list<TWinControl*>{box, radio}) {
    c->SetCaption("Disabled");
    c->SetEnabled(false);
    HWND h = c->Handle();
    EXPECT_TRUE(PumpUntil([&] {
      return CaptionPixels(h, ColorToRGB(clBtnShadow)) > 0 &&
             CaptionPixels(h, ColorToRGB(clBtnHighlight)) == 0;
    }));
  }
}

TEST_F(SkinControls, CheckedPropertyWinsOverTheWindowState) {
  auto* box = Add<TCheckBox>(10, 10, 120, 20);
  auto* s = new TSkinCheckBox(site);
  s->AttachControl(box, gSkin, false, nullptr);
  box->SetChecked(true);
  SendMessageA(box->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
  ASSERT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const TBitmap& img = Marks().CheckBitmap;
  EXPECT_TRUE(ShowsFrame(box->Handle(), MarkAt(0, 20, img, Marks().CheckFrameCount), img,
                         Marks().CheckFrameCount, 2));
}

TEST_F(SkinControls, LeftTextPutsTheMarkAtTheRight) {
  auto* box = Add<TCheckBox>(10, 10, 120, 20);
  box->SetAlignment(taLeftJustify);
  box->SetCaption("Left");
  auto* s = new TSkinCheckBox(site);
  s->AttachControl(box, gSkin, false, nullptr);
  ASSERT_TRUE(GetWindowLongPtrA(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  const TBitmap& img = Marks().CheckBitmap;
  const int n = Marks().CheckFrameCount, w = img.Width() / n;
  ASSERT_LT(w, 15);
  int right = 120 - (14 - w) / 2;
  RECT mark{right - w, (20 - img.Height()) / 2, right, (20 - img.Height()) / 2 + img.Height()};
  EXPECT_TRUE(ShowsFrame(box->Handle(), mark, img, n, 1));
}

TEST_F(SkinControls, RadioButtonCheckedAndUnchecked) {
  auto* a = Add<TRadioButton>(10, 40, 120, 20);
  auto* b = Add<TRadioButton>(10, 64, 120, 20);
  for (TRadioButton* r : {a, b}) (new TSkinRadioButton(site))->AttachControl(r, gSkin, false, nullptr);
  const TBitmap& img = Marks().RadioBitmap;
  const int n = Marks().RadioFrameCount;
  RECT mark = MarkAt(0, 20, img, n);
  a->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(a->Handle(), mark, img, n, 2));
  EXPECT_TRUE(ShowsFrame(b->Handle(), mark, img, n, 1));
  b->SetChecked(true);
  EXPECT_TRUE(ShowsFrame(a->Handle(), mark, img, n, 1));
  EXPECT_TRUE(ShowsFrame(b->Handle(), mark, img, n, 2));
}

TEST_F(SkinControls, EditBorderInSkinColours) {
  auto* edit = Add<TEdit>(10, 10, 150, 22);
  auto* s = new TSkinEdit(site);
  s->AttachControl(edit, gSkin, false, nullptr);
  HWND h = edit->Handle();
  TColor shadow = ColorToRGB(gSkin->Skin.ColourButtonShadow);
  auto framed = [&] { return ScreenPixel(h, 0, 11) == shadow && ScreenPixel(h, 1, 11) == clWhite; };
  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(h, 75, 0) == shadow && framed(); }));
  // The edit draws its own border again when its frame changes; the skin's comes back over it.
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(PumpUntil(framed));
}

TEST_F(SkinControls, EditWithoutBorderIsLeftAlone) {
  HWND h = Child("EDIT", 0, 0, 10, 40, 150, 22);
  auto* s = new TSkinEdit(site);
  s->AttachHandle(h, gSkin, nullptr);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpPending();
  EXPECT_NE(ScreenPixel(h, 0, 11), ColorToRGB(gSkin->Skin.ColourButtonShadow));
  DestroyWindow(h);
}

TEST_F(SkinControls, SpinButtonInsideAnEditIsSkinnedOnce) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TSpinButton";
  RegisterClassA(&wc);
  for (const char* cls : {"msctls_updown32", "TSpinButton"}) {
    HWND edit = Child("EDIT", 0, WS_EX_CLIENTEDGE, 10, 80, 100, 24);
    HWND spin = Child(cls, 0, 0, 80, 0, 16, 20, edit);
    auto* s = new TSkinEdit(site);
    s->AttachHandle(edit, gSkin, nullptr);
    int alive = TSkinControl::Alive();
    for (int i = 0; i < 3; ++i)
      RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    PumpPending();
    ASSERT_NE(s->UpDown(), nullptr) << cls;
    EXPECT_EQ(s->UpDown()->Handle(), spin) << cls;
    EXPECT_TRUE(s->UpDown()->FInEdit) << cls;
    EXPECT_EQ(s->UpDown()->Owner(), site) << cls;
    EXPECT_EQ(TSkinControl::Alive(), alive + 1) << cls << ": one up-down skinner over several paints";
    DestroyWindow(edit);
  }
}

// The combo's drop-down button: its outer two columns on either side (the arrow glyph stays
// between them), compared with the state's frame of the normal or the mirrored image.
bool ComboShows(HWND h, int frame, bool left) {
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left, hh = wr.bottom - wr.top, b = GetSystemMetrics(SM_CXHSCROLL);
  RECT face = left ? RECT{0, 0, b + 2, hh} : RECT{w - b - 2, 0, w, hh};
  const TDataSkinBorder& e = *gSkin->Skin.ComboButton;
  const int n = e.FrameCount;
  const TBitmap& img = left ? e.Bitmap2 : e.Bitmap;
  const int k = left ? n - frame + 1 : frame;
  RECT outer[2] = {{0, 0, 2, hh}, {b, 0, b + 2, hh}};
  return ShowsFrame(h, face, img, n, k, &outer[0]) && ShowsFrame(h, face, img, n, k, &outer[1]);
}

TEST_F(SkinControls, ComboBoxNormalHotPressedDisabled) {
  auto* combo = Add<TComboBox>(10, 10, 150, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->Add("one");
  auto* s = new TSkinComBox(site);
  s->AttachControl(combo, gSkin, false, nullptr);
  HWND h = combo->Handle();
  ASSERT_NE(GetFocus(), h);
  EXPECT_TRUE(ComboShows(h, 1, false)) << "normal";
  SendMessageA(h, CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(ComboShows(h, 4, false)) << "hot";
  SendMessageA(h, CM_MOUSELEAVE, 0, 0);
  EXPECT_TRUE(ComboShows(h, 1, false));
  RECT wr;
  GetWindowRect(h, &wr);
  LPARAM at = MAKELPARAM(wr.right - wr.left - 8, 10);
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(ComboShows(h, 2, false)) << "pressed while the button is held";
  SendMessageA(h, WM_LBUTTONUP, 0, at);
  SendMessageA(h, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(ComboShows(h, 2, false)) << "released";
  focus->SetFocus();
  combo->SetEnabled(false);
  EXPECT_TRUE(ComboShows(h, 3, false)) << "disabled";
}

TEST_F(SkinControls, ComboBoxButtonOnTheLeftFromTheMirroredImage) {
  auto* combo = Add<TComboBox>(10, 40, 150, 21);
  combo->SetStyle(csDropDownList);
  combo->SetBiDiMode(bdRightToLeftNoAlign);
  auto* s = new TSkinComBox(site);
  s->AttachControl(combo, gSkin, false, nullptr);
  HWND h = combo->Handle();
  ASSERT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
  EXPECT_TRUE(ComboShows(h, 1, true));
  combo->SetEnabled(false);
  EXPECT_TRUE(ComboShows(h, 3, true));
}

TEST_F(SkinControls, ComboBoxButtonOnTheLeftIsTheOnlyOneAndTheTextFollowsIt) {
  auto* combo = Add<TComboBox>(10, 40, 150, 21);
  combo->SetStyle(csDropDownList);
  combo->SetBiDiMode(bdRightToLeftNoAlign);
  combo->Items()->Add("W");
  combo->SetItemIndex(0);
  auto* s = new TSkinComBox(site);
  s->AttachControl(combo, gSkin, false, nullptr);
  HWND h = combo->Handle();
  EXPECT_TRUE(ComboShows(h, 1, true));
  RECT wr;
  GetWindowRect(h, &wr);
  const int w = wr.right - wr.left, hh = wr.bottom - wr.top, b = GetSystemMetrics(SM_CXHSCROLL);
  const TColor ground = ColorToRGB(combo->Color());
  auto marks = [&](int x0, int x1) {  // pixels that are not the text field's ground
    int n = 0;
    for (int y = 3; y < hh - 3; ++y)
      for (int x = x0; x < x1; ++x) n += ScreenPixel(h, x, y) != ground;
    return n;
  };
  EXPECT_TRUE(PumpUntil([&] { return marks(b + 4, b + 30) > 0; })) << "the text, right of the button";
  EXPECT_TRUE(PumpUntil([&] { return marks(w - b - 2, w - 3) == 0; })) << "no system button on the right";
}

TEST_F(SkinControls, ComboEditIsRingedInItsOwnGroundNotTheWindowColour) {
  // A dark field, as a skin with content colours gives: the system rings the edit in white.
  const TColor ground = static_cast<TColor>(0x00221F1E);
  for (TComboBoxStyle style : {csDropDown, csSimple}) {
    auto* combo = style == csSimple ? Add<TComboBox>(200, 40, 150, 90) : Add<TComboBox>(10, 40, 150, 21);
    combo->SetStyle(style);
    combo->SetColor(ground);
    (new TSkinComBox(site))->AttachControl(combo, gSkin, false, nullptr);
    HWND h = combo->Handle(), edit = FindWindowExA(h, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    RECT at;
    GetWindowRect(edit, &at);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&at), 2);
    // The ring `by` pixels outside the edit is in `colour` (its left half: the right end may meet
    // the skin's frame or button).
    auto ringed = [&](int by, TColor colour) {
      const RECT r{at.left - by, at.top - by, (at.left + at.right) / 2, at.bottom + by - 1};
      for (int x = r.left; x < r.right; ++x)
        if (ScreenPixel(h, x, r.top) != colour || ScreenPixel(h, x, r.bottom) != colour) return false;
      for (int y = r.top; y <= r.bottom; ++y)
        if (ScreenPixel(h, r.left, y) != colour) return false;
      return true;
    };
    EXPECT_TRUE(PumpUntil([&] { return ringed(1, ground); })) << style;
    if (style == csSimple) {  // framed as a skinned edit, not with the system's sunken edge
      const TColor shadow = ColorToRGB(gSkin->Skin.ColourButtonShadow);
      EXPECT_TRUE(
          PumpUntil([&] { return ringed(2, ground) && ScreenPixel(h, at.left - 3, at.top) == shadow; }));
    }
  }
}

TEST_F(SkinControls, OnlyAComboBoxIsSimpleByItsLowStyleBits) {
  // Windows served as a combo box (a tag or the class list say so) whose own low style bits
  // have the value of CBS_SIMPLE: an edit with ES_CENTER, a time picker with DTS_TIMEFORMAT.
  struct {
    const char* Class;
    DWORD Style;
  } const windows[] = {{"EDIT", ES_CENTER}, {DATETIMEPICK_CLASSA, DTS_TIMEFORMAT}};
  for (const auto& c : windows) {
    HWND w = Child(c.Class, c.Style, WS_EX_CLIENTEDGE, 10, 80, 150, 21);
    auto* s = new TSkinComBox(site);
    s->AttachHandle(w, gSkin, nullptr);
    InvalidateRect(w, nullptr, TRUE);
    EXPECT_TRUE(ComboShows(w, 1, false)) << c.Class;
    DestroyWindow(w);
  }
}

// Frames k (first arrow) and k2 (second) of the up-down element, compared outside the glyph.
bool ArrowsShow(HWND h, bool horizontal, int first, int second) {
  const TDataSkinBorder& e = horizontal ? *gSkin->Skin.UpDownHorz : *gSkin->Skin.UpDownVert;
  RECT c;
  GetClientRect(h, &c);
  RECT a = c, b = c;
  if (horizontal)
    a.right = b.left = c.right / 2;
  else
    a.bottom = b.top = c.bottom / 2;
  RECT edge{0, 0, 2, 100};
  return ShowsFrame(h, a, e.Bitmap, 8, first, &edge) && ShowsFrame(h, b, e.Bitmap, 8, second, &edge);
}

TEST_F(SkinControls, UpDownArrowsNormalAndPressed) {
  for (bool horizontal : {false, true}) {
    HWND h = horizontal ? Child(UPDOWN_CLASSA, UDS_HORZ, 0, 200, 10, 32, 16)
                        : Child(UPDOWN_CLASSA, 0, 0, 200, 10, 16, 32);
    auto* s = new TSkinUpDown(site);
    s->AttachHandle(h, gSkin, nullptr);
    InvalidateRect(h, nullptr, TRUE);
    EXPECT_TRUE(ArrowsShow(h, horizontal, 1, 5)) << horizontal;
    // Pressed on the second arrow (down or right): only that one shows it.
    POINT p{horizontal ? 24 : 8, horizontal ? 8 : 24};
    POINT screen = p;
    ClientToScreen(h, &screen);
    SetCursorPos(screen.x, screen.y);
    ASSERT_TRUE(PumpUntil([&] {
      POINT now;
      GetCursorPos(&now);
      return now.x == screen.x && now.y == screen.y;
    }));
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(ArrowsShow(h, horizontal, 1, 6)) << horizontal;
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_FALSE(ArrowsShow(h, horizontal, 1, 6)) << horizontal;
    SetCursorPos(0, 0);
    DestroyWindow(h);
  }
}

TEST_F(SkinControls, BoxRecolouredAndGivenBack) {
  auto* group = Add<TGroupBox>(10, 100, 150, 80);
  ASSERT_TRUE(group->ParentColor());
  TColor before = group->Color();
  TWndMethod proc = group->WindowProc;
  auto* s = new TSkinBox(site);
  s->AttachControl(group, gSkin, true, nullptr);
  EXPECT_EQ(group->Color(), gSkin->Skin.ColourButtonFace);
  EXPECT_TRUE(group->WindowProc == proc) << "the box never sees a message";
  EXPECT_EQ(site->List.size(), 1u);
  s->Detach();
  EXPECT_EQ(group->Color(), before);
  EXPECT_TRUE(group->ParentColor());
  // While the owner is torn down the colour stays (the control may be going away).
  auto* panel = Add<TPanel>(200, 100, 100, 80);
  auto* t = new TSkinBox(site);
  t->AttachControl(panel, gSkin, true, nullptr);
  site->Dying = true;
  t->Detach();
  site->Dying = false;
  EXPECT_EQ(panel->Color(), gSkin->Skin.ColourButtonFace);
}

TEST_F(SkinControls, BoxForgetsAControlThatWentAway) {
  auto* group = Add<TGroupBox>(10, 100, 150, 80);
  auto* s = new TSkinBox(site);
  s->AttachControl(group, gSkin, true, nullptr);
  delete group;
  EXPECT_EQ(s->Control(), nullptr);
  s->Detach();  // nothing left to give the colour back to
}

// ---- the framework controls behind them

TEST_F(SkinControls, GrayedCheckBoxIsIndeterminateUnskinned) {
  auto* box = Add<TCheckBox>(10, 10, 120, 20);
  box->HandleNeeded();
  box->SetState(cbGrayed);
  EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(SkinControls, RadioGroupHoldsOneButtonPerItem) {
  auto* group = Add<TRadioGroup>(10, 100, 200, 90);
  group->SetColumns(2);
  for (const char* s : {"a", "b", "c"}) group->Items()->Add(s);
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->Buttons(0)->Parent(), group);
  EXPECT_EQ(group->Buttons(2)->Left(), group->Buttons(0)->Left() + (200 - 10) / 2) << "second column";
  EXPECT_EQ(group->Buttons(2)->Caption(), "c");
  group->SetItemIndex(1);
  EXPECT_EQ(SendMessageA(group->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(group->Buttons(2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return group->ItemIndex() == 2; }));
  EXPECT_FALSE(group->Buttons(1)->Checked());
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);
  EXPECT_EQ(group->ItemIndex(), -1);
}

}  // namespace
