// The one subclassing mechanism under every skinner and every framework control: a handler that
// throws while its window is destroyed still lets the window's own procedure see WM_NCDESTROY and
// leaves no trampoline behind; trampolines never sit in memory that is writable and executable;
// a Unicode window stays Unicode.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/WideText.h"
#include "framework/WindowSubclass.h"
#include "skin/manager/VuzUrezMenu.h"
#include "tests/windows/skin_test_util.h"

namespace {

int gNcDestroySeen = 0;  // by the procedure under the subclass (the window's own)
LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCDESTROY) ++gNcDestroySeen;
  return DefWindowProcA(w, m, wp, lp);
}

// A global class: the framework finds the procedure of a class it builds on by the class name.
const char kCountingClass[] = "SubclassTestCounting";
HWND CountingWindow() {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kCountingClass;
    return RegisterClassA(&wc);
  }();
  (void)atom;
  return CreateWindowExA(0, kCountingClass, "c", WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// What every throwing handler here does first.
void ThrowWhileDestroyed(const TMessage& m) {
  if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) throw std::runtime_error("handler failed");
}

struct TThrowingSkinner : TSkinControl {
  using TSkinControl::TSkinControl;
  bool BeforeDefault(TMessage& m) override {
    ThrowWhileDestroyed(m);
    return true;
  }
};

struct TThrowingForm : TVuzUrezForm {
  using TVuzUrezForm::TVuzUrezForm;
  void Release() override {
    if (FStage == ssReleasing && Armed) throw std::runtime_error("handler failed");
    TVuzUrezForm::Release();
  }
  void MdiClientProc(TMessage& m) override {
    if (Armed) ThrowWhileDestroyed(m);
    TVuzUrezForm::MdiClientProc(m);
  }
  bool Armed = true;
};
TSkinnedWindow* ThrowingSkinner(TComponent* owner) { return new TThrowingForm(owner); }
TSkinnedWindow* PlainSkinner(TComponent* owner) { return new TVuzUrezForm(owner); }

struct TThrowingPopup : TVuzUrezPopMenu {
  void WndProc(TMessage& m) override {
    ThrowWhileDestroyed(m);
    TVuzUrezPopMenu::WndProc(m);
  }
};

struct TCountingControl : TWinControl {
  using TWinControl::TWinControl;
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.SystemClass = kCountingClass;
    p.WinClassName = "TSubclassTestControl";
    p.Style = WS_OVERLAPPEDWINDOW;
    p.WndParent = nullptr;
    p.Menu = nullptr;
  }
  void WndProc(TMessage& m) override {
    if (Throwing) ThrowWhileDestroyed(m);
    TWinControl::WndProc(m);
  }
  bool Throwing = true;
};

struct TReport : TObject {
  std::vector<std::string> errors;
  void Add(TObject*, const std::string& text) { errors.push_back(text); }
};

class ThrowingDuringNcDestroy : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->OnException = TMethod<TObject*, const std::string&>(&report, &TReport::Add);
    thunks = TWindowSubclass::ThunksAlive();
    gNcDestroySeen = 0;
  }
  void TearDown() override {
    SetFormSkinnerFactory(&PlainSkinner);
    delete data;
    PumpUntil(NoActionPending);
    Application->OnException = {};
  }
  // A skin manager whose form skinners throw.
  void ThrowingForms() {
    data = NewSkinData(FileBytes(kDefaultSkin), sfMainform, true);
    SkinManager()->ActionDelayMs = 0;
    ASSERT_TRUE(PumpUntil(NoActionPending));
    SetFormSkinnerFactory(&ThrowingSkinner);
  }
  // The window's own procedure saw its end once, only our error was reported, and no
  // trampoline is left.
  void ExpectPassedOnAndFreed(int seen) {
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(report.errors.empty());
    for (const std::string& e : report.errors) EXPECT_EQ(e, "handler failed");
    EXPECT_EQ(TWindowSubclass::ThunksAlive(), thunks);
  }

  TReport report;
  int thunks = 0;
  TSkinData* data = nullptr;
};

TEST_F(ThrowingDuringNcDestroy, ControlSkinner) {
  HWND w = CountingWindow();
  TThrowingSkinner s(nullptr);
  s.AttachHandle(w, nullptr, nullptr);
  ASSERT_TRUE(s.Attached());
  DestroyWindow(w);
  ExpectPassedOnAndFreed(gNcDestroySeen);
}

TEST_F(ThrowingDuringNcDestroy, FormSkinner) {
  ThrowingForms();
  HWND w = CountingWindow();
  ASSERT_TRUE(SkinManager()->SkinWindow(w));
  auto* s = dynamic_cast<TThrowingForm*>(SkinnerOf(w));
  ASSERT_NE(s, nullptr);
  DestroyWindow(w);
  s->Armed = false;
  delete s;
  ExpectPassedOnAndFreed(gNcDestroySeen);
}

int gClientNcDestroySeen = 0;
WNDPROC gClientProc = nullptr;
LRESULT CALLBACK CountingClientProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCDESTROY) ++gClientNcDestroySeen;
  return CallWindowProcA(gClientProc, w, m, wp, lp);
}

TEST_F(ThrowingDuringNcDestroy, MdiClient) {
  ThrowingForms();
  HWND frame = CountingWindow();
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN, 0, 0, 100, 80, frame,
                                nullptr, GetModuleHandleA(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  // The client's own procedure, under the skinner's hook, counts.
  gClientNcDestroySeen = 0;
  gClientProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingClientProc)));
  ASSERT_TRUE(SkinManager()->SkinWindow(frame));
  auto* s = dynamic_cast<TThrowingForm*>(SkinnerOf(frame));
  ASSERT_NE(s, nullptr);
  ASSERT_TRUE(s->MdiClientHooked());
  DestroyWindow(frame);
  s->Armed = false;
  delete s;
  ExpectPassedOnAndFreed(gClientNcDestroySeen);
}

TEST_F(ThrowingDuringNcDestroy, PopupMenuSkinner) {
  HWND w = CountingWindow();
  TThrowingPopup p;
  p.Attach(w, nullptr, nullptr);
  ASSERT_TRUE(p.Attached());
  DestroyWindow(w);
  ExpectPassedOnAndFreed(gNcDestroySeen);
}

TEST_F(ThrowingDuringNcDestroy, FrameworkControl) {
  TCountingControl c(nullptr);
  HWND w = c.Handle();
  ASSERT_NE(w, nullptr);
  DestroyWindow(w);
  EXPECT_FALSE(c.HandleAllocated());
  ExpectPassedOnAndFreed(gNcDestroySeen);
}

TEST_F(ThrowingDuringNcDestroy, AFrameworkControlThatDoesNotThrowPassesItOnOnce) {
  TCountingControl c(nullptr);
  c.Throwing = false;
  DestroyWindow(c.Handle());
  EXPECT_EQ(gNcDestroySeen, 1);
  EXPECT_TRUE(report.errors.empty());
}

// Passes every message on.
struct TPassOn {
  TWindowSubclass sub;
  std::wstring lastWideText;
  void Handler(TMessage& m) {
    if (m.Msg == WM_SETTEXT && sub.Unicode()) lastWideText = reinterpret_cast<const wchar_t*>(m.LParam);
    sub.CallPrevious(m);
  }
};

TEST(WindowSubclass, TrampolinesAreNeverWritableAndExecutableAtOnce) {
  // More subclasses than one page of trampolines holds, some given back and taken again.
  const int thunks = TWindowSubclass::ThunksAlive();
  std::vector<HWND> windows;
  std::vector<std::unique_ptr<TPassOn>> subs;
  for (int i = 0; i < 300; ++i) {
    windows.push_back(CountingWindow());
    subs.push_back(std::make_unique<TPassOn>());
    ASSERT_TRUE(subs.back()->sub.Attach<&TPassOn::Handler>(windows.back(), subs.back().get()));
    if (i % 3 == 0) {
      subs.back()->sub.Restore();
      ASSERT_TRUE(subs.back()->sub.Attach<&TPassOn::Handler>(windows.back(), subs.back().get()));
    }
  }
  for (HWND w : windows) {
    MEMORY_BASIC_INFORMATION mi{};
    ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(GetWindowLongPtrA(w, GWLP_WNDPROC)), &mi, sizeof mi), 0u);
    EXPECT_EQ(mi.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
  }
  for (HWND w : windows) DestroyWindow(w);
  EXPECT_EQ(TWindowSubclass::ThunksAlive(), thunks);
}

// A plain Unicode top-level window, hidden.
HWND WideWindow() {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SubclassTestWide";
    return RegisterClassW(&wc);
  }();
  if (!atom) return nullptr;
  return CreateWindowExW(0, L"SubclassTestWide", L"", WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(WindowSubclass, AUnicodeWindowStaysUnicode) {
  HWND w = WideWindow();
  ASSERT_NE(w, nullptr);
  TPassOn ours;
  ASSERT_TRUE(ours.sub.Attach<&TPassOn::Handler>(w, &ours));
  EXPECT_TRUE(IsWindowUnicode(w));
  const wchar_t text[] = L"\u0E01\uD55C\u263A";  // Thai, Hangul, a smiley: none of them is in GBK
  SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  wchar_t back[16] = {};
  SendMessageW(w, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(back));
  EXPECT_EQ(ours.lastWideText, text);
  EXPECT_STREQ(back, text);
  DestroyWindow(w);
}

// A window's text comes back whole whatever its length: a short one in one message, one longer
// than that message's buffer by its length first.
TEST(WindowSubclass, AWindowsTextIsReadWholeShortOrLong) {
  HWND w = WideWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(WindowTextW(w), L"");
  for (std::size_t n : {1u, 254u, 255u, 256u, 1000u}) {
    std::wstring text(n, L'\u263A');
    text.back() = L'x';
    SetWindowTextW(w, text.c_str());
    EXPECT_EQ(WindowTextW(w), text) << n << " characters";
  }
  DestroyWindow(w);
}

}  // namespace
