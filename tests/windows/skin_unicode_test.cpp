// Unicode windows under the skin: a plain window made with the wide functions, and the edit,
// list and combo box on it, keep their texts whole when skinned (typed, set, read back with the
// wide functions, exactly as unskinned), and the skinners draw those texts wide, not through the
// ANSI code page (GBK here), which lacks most of the characters.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/WideText.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/paint/SkinDrawWin32.h"
#include "tests/windows/skin_test_util.h"

namespace {

// Greek with an accent, Polish, Spanish, Danish, German and a snowman: none of it fits GBK whole.
const std::wstring kText = L"Ωμέγα café ★ Łódź ñøß ☃";
// What the ANSI code page makes of it: the question marks a wrong turn would show.
const std::wstring kMangled = Widen(Narrow(kText));

// A top-level window of a class registered wide, with an edit, a list box and a combo box.
struct TUnicodeWindow {
  HWND Top = nullptr, Edit = nullptr, List = nullptr, Combo = nullptr;
};

TUnicodeWindow NewUnicodeWindow() {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinUnicodeWindow";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterClassW(&wc);
  }();
  (void)atom;
  TUnicodeWindow u;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  u.Top = CreateWindowExW(0, L"SkinUnicodeWindow", L"Unicode", WS_OVERLAPPEDWINDOW, 40, 40, 420, 260, nullptr,
                          nullptr, instance, nullptr);
  auto child = [&](const wchar_t* cls, DWORD style, int y, int h) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, y, 380,
                           h, u.Top, nullptr, instance, nullptr);
  };
  u.Edit = child(L"EDIT", ES_AUTOHSCROLL, 10, 24);
  u.List = child(L"LISTBOX", LBS_NOTIFY | WS_VSCROLL, 44, 60);
  u.Combo = child(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 114, 120);
  ShowWindow(u.Top, SW_SHOW);
  SetForegroundWindow(u.Top);
  WaitActive(u.Top);
  return u;
}

// The window's text as the wide functions read it.
std::wstring TextOf(HWND w) {
  wchar_t text[256] = {};
  GetWindowTextW(w, text, 256);
  return text;
}

std::wstring ListItem(HWND list, UINT getText, UINT getLength) {
  LRESULT n = SendMessageW(list, getLength, 0, 0);
  std::wstring text(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
  SendMessageW(list, getText, 0, reinterpret_cast<LPARAM>(text.data()));
  return text;
}

// The colours of a rectangle of the window as it shows on the screen.
std::vector<COLORREF> Pixels(HWND w, const RECT& r) {
  std::vector<COLORREF> out;
  HDC dc = GetWindowDC(w);
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) out.push_back(GetPixel(dc, x, y));
  ReleaseDC(w, dc);
  return out;
}

// How many pixels two pictures of the same size do not share.
int PixelsThatDiffer(const TBitmap& a, const TBitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

class SkinUnicode : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    data.reset(NewSkinData(FileBytes(kDefaultSkin), sfOnlyThisForm, false));
    ASSERT_FALSE(data->NoSkin());
    wasSkinning = SkinManager()->FSkinning;
    SkinManager()->FSkinning = true;
    ASSERT_NE(kMangled, kText);  // the text really does not fit the code page
  }
  void TearDown() override {
    delete skinner;
    skinner = nullptr;
    for (HWND w : windows) DestroyWindow(w);
    SkinManager()->FSkinning = wasSkinning;
    data.reset();
  }
  // A Unicode window, skinned as the manager skins a plain window when asked.
  TUnicodeWindow Window(bool skinned) {
    TUnicodeWindow u = NewUnicodeWindow();
    windows.push_back(u.Top);
    if (skinned) {
      skinner = new TVuzUrezForm(nullptr);
      skinner->Handle = u.Top;
      skinner->AttachWindow(data.get());
      SendMessageW(u.Top, WM_SKINACTIVATE, 0, 1000);
      skinner->PaintFrame(nullptr);
    }
    return u;
  }
  std::unique_ptr<TSkinData> data;
  TVuzUrezForm* skinner = nullptr;
  std::vector<HWND> windows;
  bool wasSkinning = false;
};

TEST_F(SkinUnicode, SkinnedWindowsAndTheirControlsStayUnicode) {
  TUnicodeWindow u = Window(true);
  ASSERT_TRUE(Skinned(u.Top));
  for (HWND w : {u.Edit, u.Combo}) {
    EXPECT_NE(skinner->FindWindowSkinner(w), nullptr);
    EXPECT_TRUE(IsWindowUnicode(w));
  }
  EXPECT_TRUE(IsWindowUnicode(u.Top));
}

// Typed character by character, as the keyboard's translation hands them to the edit.
TEST_F(SkinUnicode, TextTypedIntoAnEditIsKeptWhole) {
  for (bool skinned : {false, true}) {
    TUnicodeWindow u = Window(skinned);
    SetFocus(u.Edit);
    for (wchar_t c : kText) SendMessageW(u.Edit, WM_CHAR, c, 1);
    EXPECT_EQ(TextOf(u.Edit), kText) << (skinned ? "skinned" : "unskinned");
    // Edited: the last character goes, and comes back.
    SendMessageW(u.Edit, WM_CHAR, VK_BACK, 1);
    SendMessageW(u.Edit, WM_CHAR, kText.back(), 1);
    EXPECT_EQ(TextOf(u.Edit), kText) << (skinned ? "skinned" : "unskinned");
  }
}

TEST_F(SkinUnicode, ListAndComboItemsAreKeptWhole) {
  for (bool skinned : {false, true}) {
    TUnicodeWindow u = Window(skinned);
    SendMessageW(u.List, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kText.c_str()));
    SendMessageW(u.Combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kText.c_str()));
    SendMessageW(u.Combo, CB_SETCURSEL, 0, 0);
    UpdateWindow(u.Top);
    EXPECT_EQ(ListItem(u.List, LB_GETTEXT, LB_GETTEXTLEN), kText) << (skinned ? "skinned" : "unskinned");
    EXPECT_EQ(ListItem(u.Combo, CB_GETLBTEXT, CB_GETLBTEXTLEN), kText) << (skinned ? "skinned" : "unskinned");
    EXPECT_EQ(TextOf(u.Combo), kText) << (skinned ? "skinned" : "unskinned");
  }
}

TEST_F(SkinUnicode, CaptionIsKeptAndDrawnWide) {
  TUnicodeWindow u = Window(true);
  auto caption = [&](const std::wstring& text) {
    SetWindowTextW(u.Top, text.c_str());
    RedrawWindow(u.Top, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpUntil([&] { return skinner->Caption() == text; });
    return Pixels(u.Top, skinner->CaptionRect());
  };
  std::vector<COLORREF> mangled = caption(kMangled);
  std::vector<COLORREF> shown = caption(kText);
  EXPECT_EQ(TextOf(u.Top), kText);
  EXPECT_EQ(skinner->Caption(), kText);
  ASSERT_FALSE(shown.empty());
  // Question marks where the letters should be would look like the mangled text.
  EXPECT_NE(shown, mangled);
}

TEST_F(SkinUnicode, MenuBarCaptionIsReadAndDrawnWide) {
  TUnicodeWindow u = NewUnicodeWindow();
  windows.push_back(u.Top);
  HMENU bar = CreateMenu(), popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 10, kText.c_str());
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), (L"&" + kText).c_str());
  SetMenu(u.Top, bar);
  skinner = new TVuzUrezForm(nullptr);
  skinner->Handle = u.Top;
  skinner->AttachWindow(data.get());
  SendMessageW(u.Top, WM_SKINACTIVATE, 0, 1000);
  TVuzUrezMenu* skinned = skinner->MenuBar();
  ASSERT_NE(skinned, nullptr);
  ASSERT_EQ(skinned->ButtonCount(), 1);
  EXPECT_EQ(skinned->Buttons[0]->Caption, L"&" + kText);
  auto drawn = [&](const std::wstring& text) {
    skinned->Buttons[0]->Caption = text;
    TBitmap image(300, GetSystemMetrics(SM_CYMENU), pf24bit);
    {
      TBitmapDC dc(image);
      skinned->Paint(dc.Get(), RECT{0, 0, image.Width(), image.Height()}, true);
    }
    return image;
  };
  EXPECT_GT(PixelsThatDiffer(drawn(kText), drawn(kMangled)), 0);
}

TEST_F(SkinUnicode, MenuItemIsDrawnWide) {
  auto drawn = [&](const std::wstring& text) {
    TMenuItemLook look;
    look.Caption = text;
    TBitmap image(240, 22, pf24bit);
    TBitmapDC dc(image);
    DrawSkinnedItem(dc.Get(), RECT{0, 0, 240, 22}, *data, look, false, TMenuBackground{});
    return image;
  };
  EXPECT_GT(PixelsThatDiffer(drawn(kText), drawn(kMangled)), 0);
}

}  // namespace
