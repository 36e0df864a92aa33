// A framework form at another DPI than 96 (each build of this suite runs in a Wine prefix of its
// own whose LogPixels is that DPI): its layout's 96-DPI values come scaled, and a DPI change there
// and back puts everything back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "tests/windows/GdiCount.h"

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

class TDpiTestForm : public TForm {
  DASKEL_CLASS(TDpiTestForm, TForm)
 public:
  explicit TDpiTestForm(TComponent* owner) : TForm(owner) {}
  TGroupBox* GroupBox1 = nullptr;
  TEdit* Edit1 = nullptr;
  TButton* Button1 = nullptr;
  TLabel* Label1 = nullptr;
  TRadioGroup* RadioGroup1 = nullptr;
};
DASKEL_DEFINE_CLASS(TDpiTestForm, TForm) {
  c.Field("GroupBox1", &TDpiTestForm::GroupBox1);
  c.Field("Edit1", &TDpiTestForm::Edit1);
  c.Field("Button1", &TDpiTestForm::Button1);
  c.Field("Label1", &TDpiTestForm::Label1);
  c.Field("RadioGroup1", &TDpiTestForm::RadioGroup1);
}

namespace {

class FormAtDpi : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    form->Show();
    dpi = WindowDpi(form->Handle());
    ASSERT_NE(dpi, 96) << "the suite's prefix is at 96 DPI";
  }
  void TearDown() override {
    if (form) form->Free();
  }
  // n at 96 DPI at this suite's DPI, allowing a pixel of rounding.
  void ExpectScaled(int actual, int at96, const char* what) const {
    EXPECT_LE(std::abs(actual * 96 - at96 * dpi), 96)
        << what << ": " << actual << " for " << at96 << " at 96 DPI";
  }
  void ExpectBoundsScaled(const TControl* c, RECT at96) const {
    RECT r = c->BoundsRect();
    ExpectScaled(r.left, at96.left, "left");
    ExpectScaled(r.top, at96.top, "top");
    ExpectScaled(r.right, at96.right, "right");
    ExpectScaled(r.bottom, at96.bottom, "bottom");
  }
  // What the system sends a window moved to a monitor at `to` DPI: its rectangle, scaled.
  void ChangeDpi(int to, int growBy = 0) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    int from = form->CurrentPPI();
    RECT s{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from) + growBy,
           r.top + MulDiv(r.bottom - r.top, to, from) + growBy};
    SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&s));
  }
  struct TPlaces {
    RECT window, group, edit, button, label;
    int fontHeight, labelFontHeight;
    bool operator==(const TPlaces&) const = default;
  };
  TPlaces Places() const {
    RECT w{};
    GetWindowRect(form->Handle(), &w);
    return {w,
            form->GroupBox1->BoundsRect(),
            form->Edit1->BoundsRect(),
            form->Button1->BoundsRect(),
            form->Label1->BoundsRect(),
            form->Font()->Height(),
            form->Label1->Font()->Height()};
  }
  TDpiTestForm* form = nullptr;
  int dpi = 96;
};

TEST_F(FormAtDpi, ClientSizeAndControlsAreTheLayoutScaled) {
  EXPECT_EQ(form->CurrentPPI(), dpi);
  ExpectScaled(form->ClientWidth(), 301, "client width");
  ExpectScaled(form->ClientHeight(), 131, "client height");
  // The window is the scaled client in the frame the system draws at this DPI.
  RECT outer{0, 0, form->ClientWidth(), form->ClientHeight()};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(form->Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE)));
  EXPECT_EQ(form->Width(), outer.right - outer.left);
  EXPECT_EQ(form->Height(), outer.bottom - outer.top);
  ExpectBoundsScaled(form->GroupBox1, {7, 9, 208, 70});
  ExpectBoundsScaled(form->Edit1, {11, 21, 112, 42});
  // Anchored to the bottom right: where the layout put it, not moved by the form's growth.
  ExpectBoundsScaled(form->Button1, {215, 97, 292, 122});
  RECT edit{};
  GetWindowRect(form->Edit1->Handle(), &edit);
  EXPECT_EQ(edit.right - edit.left, form->Edit1->Width()) << "the window was not moved with the control";
}

TEST_F(FormAtDpi, ChildrenAControlLaysOutItselfStayInsideIt) {
  TRadioGroup* g = form->RadioGroup1;
  ExpectBoundsScaled(g, {215, 3, 295, 88});
  ASSERT_EQ(g->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) {
    RECT b = g->Buttons(i)->BoundsRect();
    EXPECT_LE(b.right, g->Width()) << "button " << i;
    EXPECT_LE(b.bottom, g->Height()) << "button " << i;
  }
}

TEST_F(FormAtDpi, FontsInPixelsScaleAndFontsInPointsStayInPoints) {
  EXPECT_EQ(form->Font()->Height(), MulDiv(-11, dpi, 96));
  EXPECT_EQ(form->Edit1->Font()->Height(), form->Font()->Height()) << "a parent's font is taken as scaled";
  EXPECT_EQ(form->Label1->Font()->Size(), 11);
  EXPECT_EQ(form->Label1->Font()->Height(), -MulDiv(11, dpi, 72));
  LOGFONTA lf{};
  GetObjectA(form->Font()->Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, form->Font()->Height()) << "the GDI font was not made again";
}

TEST_F(FormAtDpi, ChangingTo96AndBackPutsEverythingBack) {
  TPlaces before = Places();
  ChangeDpi(96);
  EXPECT_EQ(form->CurrentPPI(), 96);
  EXPECT_EQ(form->ClientWidth(), 301);
  EXPECT_EQ(form->ClientHeight(), 131);
  EXPECT_EQ(form->GroupBox1->BoundsRect(), (RECT{7, 9, 208, 70}));
  EXPECT_EQ(form->Edit1->BoundsRect(), (RECT{11, 21, 112, 42}));
  EXPECT_EQ(form->Button1->BoundsRect(), (RECT{215, 97, 292, 122}));
  EXPECT_EQ(form->Font()->Height(), -11);
  EXPECT_EQ(form->Label1->Font()->Height(), -15);
  ChangeDpi(dpi);
  EXPECT_TRUE(Places() == before);
}

TEST_F(FormAtDpi, AFixedSizeFormKeepsItsScaledSizeWhateverTheSuggestion) {
  int cw = form->ClientWidth(), ch = form->ClientHeight();
  ChangeDpi(96, 40);
  EXPECT_EQ(form->ClientWidth(), MulDiv(cw, 96, dpi));
  EXPECT_EQ(form->ClientHeight(), MulDiv(ch, 96, dpi));
  EXPECT_EQ(form->Button1->BoundsRect(), (RECT{215, 97, 292, 122})) << "moved by the suggested size";
}

TEST_F(FormAtDpi, RoundTripsLeakNoGdiObjects) {
  ChangeDpi(96);
  ChangeDpi(dpi);
  long before = GdiObjectsInUse();
  for (int i = 0; i < 100; ++i) ChangeDpi(i % 2 ? dpi : 96);
  EXPECT_LE(GdiObjectsInUse(), before + 2);  // allow the system a stray object or two
}

}  // namespace
