// The skin DLL through its C API only, as a program that knows nothing of the engine uses it:
// every call, bad arguments, calls in the wrong order or from the wrong thread, windows given
// back exactly, and 200 skin switches that leave nothing behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "dll/DaskelSkin.h"
#include "tests/windows/GdiCount.h"
#include "tests/windows/skin_test_util.h"
#include "tools/skintool/SkinPack.h"

namespace {

constexpr UINT kSkinQuery = 0x3504;  // a window with a skinned frame answers 1
constexpr int kButtonId = 101;

// What the test window does on its button's command: set by a test.
BOOL (*gOnClick)() = nullptr;
BOOL gClickResult = FALSE;

LRESULT CALLBACK TestWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_COMMAND && LOWORD(wp) == kButtonId && gOnClick) gClickResult = gOnClick();
  return DefWindowProcW(w, m, wp, lp);
}

// A Unicode top-level window with a push button and an edit (ANSI controls), shown and active.
HWND NewTestWindow() {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DllTestWindow";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterClassW(&wc);
  }();
  (void)atom;
  HWND w = CreateWindowExW(0, L"DllTestWindow", L"DLL test", WS_OVERLAPPEDWINDOW, 60, 60, 320, 200, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  CreateWindowExA(0, "BUTTON", "Click", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 26, w,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), nullptr, nullptr);
  CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "text", WS_CHILD | WS_VISIBLE, 10, 50, 150, 24, w, nullptr,
                  nullptr, nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  PumpUntil([w] { return GetActiveWindow() == w; });
  return w;
}

HWND Child(HWND parent, const wchar_t* cls) { return FindWindowExW(parent, nullptr, cls, nullptr); }

bool FrameSkinned(HWND w) { return SendMessageW(w, kSkinQuery, 0, 0) == 1; }

DaskelSkinCounts Counts() {
  DaskelSkinCounts c{};
  c.size = sizeof c;
  DaskelSkinGetCounts(&c);
  return c;
}

bool NothingHeld() {
  DaskelSkinCounts c = Counts();
  return c.windowSkinners == 0 && c.menuSkinners == 0 && c.controlSkinners == 0 && c.windowProcedures == 0 &&
         c.hooks == 0;
}

// Everything of a window that skinning changes and giving back must restore.
struct TWindowLook {
  LONG_PTR proc, style, exStyle;
  RECT window, client;
  int region;
  bool unicode;
  bool operator==(const TWindowLook& o) const {
    return proc == o.proc && style == o.style && exStyle == o.exStyle && EqualRect(&window, &o.window) &&
           EqualRect(&client, &o.client) && region == o.region && unicode == o.unicode;
  }
};

std::ostream& operator<<(std::ostream& os, const TWindowLook& l) {
  return os << "proc " << std::hex << l.proc << " style " << l.style << " ex " << l.exStyle << std::dec
            << " window " << l.window.left << "," << l.window.top << "," << l.window.right << ","
            << l.window.bottom << " client " << l.client.right << "x" << l.client.bottom << " region "
            << l.region << " unicode " << l.unicode;
}

TWindowLook LookOf(HWND w) {
  TWindowLook l{};
  l.proc = GetWindowLongPtrW(w, GWLP_WNDPROC);
  l.style = GetWindowLongPtrW(w, GWL_STYLE);
  l.exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
  GetWindowRect(w, &l.window);
  GetClientRect(w, &l.client);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  l.region = GetWindowRgn(w, r);
  DeleteObject(r);
  l.unicode = IsWindowUnicode(w) != FALSE;
  return l;
}

std::string Error() { return DaskelSkinLastErrorA(); }

class DllApi : public ::testing::Test {
 protected:
  void TearDown() override {
    if (DaskelSkinIsRunning()) DaskelSkinStop();
    PumpUntil([] { return !DaskelSkinIsRunning() && NothingHeld(); });
    if (window_) DestroyWindow(window_);
    gOnClick = nullptr;
  }
  HWND window_ = nullptr;
};

TEST_F(DllApi, EveryCallWithoutAnEngineIsRefusedWithAReason) {
  window_ = NewTestWindow();
  EXPECT_FALSE(DaskelSkinStop());
  EXPECT_NE(Error().find("not running"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinEnable(TRUE));
  EXPECT_FALSE(DaskelSkinSetSkinA(kDarkSkin));
  EXPECT_NE(Error().find("not running"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinSetSkinW(nullptr));
  EXPECT_FALSE(DaskelSkinSetSkinMemory(nullptr, 0));
  EXPECT_FALSE(DaskelSkinExcludeWindow(window_));
  EXPECT_FALSE(DaskelSkinIncludeWindow(window_));
  EXPECT_FALSE(DaskelSkinIsWindowSkinned(window_));
  EXPECT_FALSE(DaskelSkinIsRunning());
  EXPECT_STREQ(DaskelSkinLastErrorW(), L"the engine is not running");
  EXPECT_TRUE(NothingHeld());
  EXPECT_FALSE(FrameSkinned(window_));
}

TEST_F(DllApi, BadSkinsAreRefusedWithTheReasonAndTheProgramStaysUnskinned) {
  window_ = NewTestWindow();
  EXPECT_FALSE(DaskelSkinStartA(DASKEL_BINARY_DIR "/no/such/skin.skn"));
  EXPECT_NE(Error().find("does not exist"), std::string::npos) << Error();
  EXPECT_NE(Error().find("skin.skn"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinStartW(L"Z:\\no\\such\\skin.skn"));
  EXPECT_NE(std::wstring(DaskelSkinLastErrorW()).find(L"does not exist"), std::wstring::npos);

  const char text[] = "This is a text file, not a skin package.";
  EXPECT_FALSE(DaskelSkinStartMemory(text, sizeof text));
  EXPECT_NE(Error().find("not a skin package"), std::string::npos) << Error();

  std::vector<std::uint8_t> ini{'[', 'T', ']', '\n'};
  auto old = BuildStoredPackage({{"skin.ini", ini}}, 10000);
  EXPECT_FALSE(DaskelSkinStartMemory(old.data(), static_cast<DWORD>(old.size())));
  EXPECT_NE(Error().find("another version"), std::string::npos) << Error();

  std::vector<char> huge(17u << 20, 'x');
  EXPECT_FALSE(DaskelSkinStartMemory(huge.data(), static_cast<DWORD>(huge.size())));
  EXPECT_NE(Error().find("too large"), std::string::npos) << Error();

  EXPECT_FALSE(DaskelSkinStartMemory(nullptr, 100));
  EXPECT_NE(Error().find("null"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinStartMemory(text, 0));

  EXPECT_FALSE(DaskelSkinIsRunning());
  EXPECT_TRUE(NothingHeld());
  EXPECT_FALSE(FrameSkinned(window_));
}

TEST_F(DllApi, WrongOrdersAndWrongArgumentsWhileRunning) {
  window_ = NewTestWindow();
  ASSERT_TRUE(DaskelSkinStartA(nullptr)) << Error();
  EXPECT_STREQ(DaskelSkinLastErrorA(), "");
  EXPECT_FALSE(DaskelSkinStartA(kDarkSkin));
  EXPECT_NE(Error().find("already running"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinExcludeWindow(nullptr));
  EXPECT_FALSE(DaskelSkinExcludeWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x12345678))));
  EXPECT_NE(Error().find("not a window"), std::string::npos) << Error();
  EXPECT_FALSE(DaskelSkinIncludeWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(-1))));
  EXPECT_TRUE(DaskelSkinIncludeWindow(window_));  // never left out: nothing changes
  EXPECT_FALSE(DaskelSkinIsWindowSkinned(nullptr));
  EXPECT_FALSE(DaskelSkinGetCounts(nullptr));
  DaskelSkinCounts wrongSize{};
  wrongSize.size = 3;
  EXPECT_FALSE(DaskelSkinGetCounts(&wrongSize));
  // A bad skin while running leaves the one in use.
  EXPECT_FALSE(DaskelSkinSetSkinA(DASKEL_BINARY_DIR "/no/such/skin.skn"));
  EXPECT_TRUE(FrameSkinned(window_));

  // The engine's thread is the one that started it.
  BOOL fromOther = TRUE;
  std::string otherError;
  std::thread([&] {
    fromOther = DaskelSkinEnable(FALSE) || DaskelSkinStop() || DaskelSkinStartA(nullptr);
    otherError = DaskelSkinLastErrorA();
  }).join();
  EXPECT_FALSE(fromOther);
  EXPECT_NE(otherError.find("another thread"), std::string::npos) << otherError;
  EXPECT_TRUE(DaskelSkinIsRunning());

  EXPECT_TRUE(DaskelSkinStop());
  EXPECT_FALSE(DaskelSkinStop());
  EXPECT_FALSE(DaskelSkinEnable(TRUE));
  EXPECT_FALSE(DaskelSkinExcludeWindow(window_));
}

TEST_F(DllApi, StartSkinsTheThreadsWindowsAndStopGivesThemBackExactly) {
  window_ = NewTestWindow();
  HWND button = Child(window_, L"BUTTON"), edit = Child(window_, L"EDIT");
  TWindowLook before = LookOf(window_), buttonBefore = LookOf(button), editBefore = LookOf(edit);

  ASSERT_TRUE(DaskelSkinStartW(nullptr)) << Error();
  EXPECT_TRUE(DaskelSkinIsRunning());
  EXPECT_TRUE(FrameSkinned(window_));
  EXPECT_TRUE(DaskelSkinIsWindowSkinned(button));
  EXPECT_TRUE(DaskelSkinIsWindowSkinned(edit));
  EXPECT_FALSE(LookOf(window_) == before);
  // The same answers to the message other processes ask with.
  EXPECT_EQ(SendMessageW(window_, DASKEL_SKIN_QUERY, 0, 0), DASKEL_SKIN_FRAME);
  EXPECT_EQ(SendMessageW(button, DASKEL_SKIN_QUERY, 0, 0), DASKEL_SKIN_CONTROL);

  // A window made later is skinned when it is activated.
  HWND later = NewTestWindow();
  EXPECT_TRUE(PumpUntil([later] { return FrameSkinned(later); }));
  DestroyWindow(later);

  EXPECT_TRUE(DaskelSkinStop()) << Error();
  EXPECT_FALSE(DaskelSkinIsRunning());
  EXPECT_TRUE(NothingHeld());
  EXPECT_EQ(LookOf(window_), before);
  EXPECT_EQ(LookOf(button), buttonBefore);
  EXPECT_EQ(LookOf(edit), editBefore);
  EXPECT_EQ(SendMessageW(button, DASKEL_SKIN_QUERY, 0, 0), 0);
  // No hook is left: a new window stays as it is.
  HWND after = NewTestWindow();
  PumpPending();
  EXPECT_FALSE(FrameSkinned(after));
  DestroyWindow(after);
}

TEST_F(DllApi, SkinningOffAndOnAndOneWindowLeftOut) {
  window_ = NewTestWindow();
  HWND button = Child(window_, L"BUTTON"), edit = Child(window_, L"EDIT");
  TWindowLook before = LookOf(window_);
  ASSERT_TRUE(
      DaskelSkinStartMemory(FileBytes(kDarkSkin).data(), static_cast<DWORD>(FileBytes(kDarkSkin).size())))
      << Error();
  EXPECT_TRUE(DaskelSkinEnable(FALSE));
  EXPECT_EQ(LookOf(window_), before);
  EXPECT_EQ(Counts().windowSkinners, 0u);
  EXPECT_TRUE(DaskelSkinEnable(TRUE));
  EXPECT_TRUE(FrameSkinned(window_));

  // A control left out keeps its own look; its window stays skinned.
  EXPECT_TRUE(DaskelSkinExcludeWindow(button));
  EXPECT_TRUE(FrameSkinned(window_));
  EXPECT_FALSE(DaskelSkinIsWindowSkinned(button));
  EXPECT_EQ(SendMessageW(button, DASKEL_SKIN_QUERY, 0, 0), 0);
  EXPECT_TRUE(DaskelSkinIsWindowSkinned(edit));
  // A top-level window left out loses its skin and its controls' skins, and does not get them
  // again when it is activated.
  EXPECT_TRUE(DaskelSkinExcludeWindow(window_));
  EXPECT_EQ(LookOf(window_), before);
  EXPECT_FALSE(DaskelSkinIsWindowSkinned(edit));
  HWND other = NewTestWindow();
  EXPECT_TRUE(FrameSkinned(other));
  SetForegroundWindow(window_);
  EXPECT_TRUE(PumpUntil([this] { return GetActiveWindow() == window_; }));
  EXPECT_FALSE(FrameSkinned(window_));
  DestroyWindow(other);
  // Put back: skinned again, the control still left out until it is put back too.
  EXPECT_TRUE(DaskelSkinIncludeWindow(window_));
  EXPECT_TRUE(FrameSkinned(window_));
  EXPECT_FALSE(DaskelSkinIsWindowSkinned(button));
  EXPECT_TRUE(DaskelSkinIncludeWindow(button));
  EXPECT_TRUE(DaskelSkinIsWindowSkinned(button));
}

TEST_F(DllApi, CallsFromInsideASkinnedWindowTakeEffectWhenItsMessageIsHandled) {
  window_ = NewTestWindow();
  HWND button = Child(window_, L"BUTTON");
  ASSERT_TRUE(DaskelSkinStartA(nullptr)) << Error();
  auto click = [&] {
    gClickResult = FALSE;
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };
  gOnClick = [] { return DaskelSkinSetSkinA(kDarkSkin); };
  click();
  EXPECT_TRUE(gClickResult) << Error();
  gOnClick = [] { return DaskelSkinStop(); };
  click();
  EXPECT_TRUE(gClickResult) << Error();
  EXPECT_FALSE(DaskelSkinIsRunning());  // stopping
  EXPECT_TRUE(PumpUntil([] { return NothingHeld(); }));
  EXPECT_FALSE(FrameSkinned(window_));
  EXPECT_TRUE(DaskelSkinStartA(nullptr)) << Error();  // and it can start again
}

TEST_F(DllApi, TwoHundredSkinSwitchesThenStopLeaveNothingBehind) {
  window_ = NewTestWindow();
  const std::string light = FileBytes(kDefaultSkin), night = FileBytes(kDarkSkin);
  // One full cycle first: the system's and the engine's caches filled.
  ASSERT_TRUE(DaskelSkinStartA(kDefaultSkin)) << Error();
  ASSERT_TRUE(DaskelSkinSetSkinA(kDarkSkin)) << Error();
  ASSERT_TRUE(DaskelSkinStop());
  long gdi = GdiObjectsInUse();

  ASSERT_TRUE(DaskelSkinStartA(kDefaultSkin)) << Error();
  for (int n = 0; n < 200 && !HasFailure(); ++n) {
    const std::string& skin = n % 2 ? light : night;
    ASSERT_TRUE(DaskelSkinSetSkinMemory(skin.data(), static_cast<DWORD>(skin.size()))) << Error();
    PumpPending();
  }
  EXPECT_TRUE(FrameSkinned(window_));
  ASSERT_TRUE(DaskelSkinStop());
  long left = GdiObjectsInUse() - gdi;
  std::printf("start, 200 skin switches, stop: GDI objects %+ld\n", left);
  EXPECT_LE(left, 0);
  EXPECT_TRUE(NothingHeld());
}

}  // namespace
