// The real SkinGallery.exe's window of scrolled controls, used as a person uses it: in both
// built-in skins, the memo's and the list view's thumbs dragged with the mouse scroll them.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/E2ePixels.h"

using namespace e2e;

namespace {

void MouseTo(int x, int y, DWORD flags = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
}

// Presses the thumb of a control's vertical bar at the top of its track (the control shows its
// first line) and moves it down until the control has scrolled, then lets go.
// On a loaded machine a drag now and then comes to nothing (the press reached the bar before
// it was ready for it); the drag is then made again, a few times at most.
bool DragThumbDown(HWND control, const std::function<int()>& topLine) {
  bool scrolled = false;
  for (int attempt = 0; attempt < 3 && !scrolled; ++attempt) {
    RECT r = ScreenRect(control);
    int bar = GetSystemMetrics(SM_CXVSCROLL), arrow = GetSystemMetrics(SM_CYVSCROLL);
    int x = r.right - 2 - bar / 2, y = r.top + 2 + arrow + 4;
    MouseTo(x, y);
    WaitUntil([] { return false; }, 100);
    MouseTo(x, y, MOUSEEVENTF_LEFTDOWN);
    for (int dy = 10; dy <= 60 && !scrolled; dy += 10) {
      MouseTo(x, y + dy);
      scrolled = WaitUntil([&] { return topLine() > 0; }, 1000);
    }
    MouseTo(x, y + 60, MOUSEEVENTF_LEFTUP);
  }
  return scrolled;
}

// Saves what the window shows as a BMP when DASKEL_SHOTS names a folder (for a person to look at).
void Shot(HWND w, const std::string& name) {
  const char* dir = std::getenv("DASKEL_SHOTS");
  if (!dir) return;
  Pixels p = WindowPixels(w);
  if (p.Empty()) return;
  std::string path = std::string(dir) + "\\" + name + ".bmp";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  int row = p.Width * 3 + (4 - p.Width * 3 % 4) % 4;
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(54 + row * p.Height), 0, 0, 54};
  BITMAPINFOHEADER ih{sizeof ih, p.Width, p.Height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::string line(static_cast<std::size_t>(row), '\0');
  for (int y = p.Height - 1; y >= 0; --y) {
    for (int x = 0; x < p.Width; ++x) {
      COLORREF c = p.At(x, y);
      line[static_cast<std::size_t>(x * 3)] = static_cast<char>(GetBValue(c));
      line[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(GetGValue(c));
      line[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(GetRValue(c));
    }
    std::fwrite(line.data(), 1, line.size(), f);
  }
  std::fclose(f);
}

HWND ChildWithText(HWND parent, const char* cls, const std::string& text) {
  for (HWND h : Children(parent, cls))
    if (TextOf(h) == text) return h;
  return nullptr;
}

TEST(GalleryScroll, ThumbsDraggedWithTheMouseInBothSkins) {
  Process process("\"" + WindowsPath(GALLERY_EXE) + "\"");
  ASSERT_TRUE(process.Started());
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    auto found = TopLevels(process.Id(), "TGalleryForm", "SkinGallery");
    return !found.empty() && (main = found[0]) != nullptr;
  }));
  HWND skinList = Children(main, "TComboBox").at(0);
  for (int skin = 0; skin < 2; ++skin) {
    if (skin == 1) {
      // The window of scrolled controls goes while the skin changes on the main form.
      for (HWND w : TopLevels(process.Id(), "TGalleryScrollForm")) PostMessageA(w, WM_CLOSE, 0, 0);
      WaitUntil([&] { return TopLevels(process.Id(), "TGalleryScrollForm").empty(); }, kPatience);
      SetForegroundWindow(main);
      ClickCenter(skinList);
      WaitUntil([&] { return SendMessageA(skinList, CB_GETDROPPEDSTATE, 0, 0) != 0; }, kPatience);
      PressKey(VK_DOWN);
      PressKey(VK_RETURN);
      ASSERT_TRUE(WaitUntil([&] { return TextOf(skinList) == "Daskel Night"; }, kPatience));
    }
    HWND button = ChildWithText(main, "TButton", "Scroll bars...");
    ASSERT_NE(button, nullptr);
    ClickCenter(button);
    HWND win = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          auto found = TopLevels(process.Id(), "TGalleryScrollForm");
          return !found.empty() && (win = found[0]) != nullptr;
        },
        kPatience));
    SetForegroundWindow(win);
    WaitUntil([] { return false; }, 300);
    Shot(win, skin ? "scroll-night" : "scroll-light");

    HWND memo = Children(win, "TMemo").at(0);
    SendMessageA(memo, WM_VSCROLL, SB_TOP, 0);
    EXPECT_TRUE(DragThumbDown(
        memo, [&] { return static_cast<int>(SendMessageA(memo, EM_GETFIRSTVISIBLELINE, 0, 0)); }))
        << "memo, skin " << skin;
    HWND report = Children(win, "TListView").at(0);
    SendMessageA(report, WM_VSCROLL, SB_TOP, 0);
    EXPECT_TRUE(
        DragThumbDown(report, [&] { return static_cast<int>(SendMessageA(report, LVM_GETTOPINDEX, 0, 0)); }))
        << "list view, skin " << skin;
    Shot(win, skin ? "scroll-night-dragged" : "scroll-light-dragged");
  }
}

}  // namespace
