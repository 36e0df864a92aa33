// Graphics under Wine: canvases on bitmaps, fonts, image lists with a mask colour, icons from
// .ico bytes; menus (commands and owner drawing) and the application window's minimise.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/Graphics.h"
#include "tests/windows/framework_test_form.h"

namespace {

TEST(FrameworkGraphics, CanvasDrawsIntoABitmapsPixels) {
  TBitmap bmp(20, 10);
  {
    TBitmapCanvas c(bmp);
    c.Brush().SetColor(clRed);
    c.FillRect(RECT{0, 0, 20, 10});
    c.Brush().SetColor(RGBColor(0, 0, 255));
    c.FillRect(RECT{10, 0, 20, 5});
    c.Pen().SetColor(clWhite);
    c.MoveTo(0, 9);
    c.LineTo(20, 9);
  }
  EXPECT_EQ(bmp.Pixel(2, 2), clRed);
  EXPECT_EQ(bmp.Pixel(15, 2), RGBColor(0, 0, 255));
  EXPECT_EQ(bmp.Pixel(5, 9), clWhite);
  // Drawing one bitmap onto another, stretched.
  TBitmap big(40, 20);
  {
    TBitmapCanvas c(big);
    c.StretchDraw(RECT{0, 0, 40, 20}, bmp);
  }
  EXPECT_EQ(big.Pixel(35, 3), RGBColor(0, 0, 255));
  EXPECT_EQ(big.Pixel(3, 3), clRed);
}

TEST(FrameworkGraphics, FontHandlesFollowChangesAndSystemColoursResolve) {
  TFont f;
  f.SetName("Arial");
  HFONT h1 = f.Handle();
  EXPECT_EQ(f.Handle(), h1) << "kept while unchanged";
  f.SetStyle(FontStyle(fsBold));
  LOGFONTA lf{};
  GetObjectA(f.Handle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -11);
  TBitmap bmp(60, 20);
  TBitmapCanvas c(bmp);
  c.Font().Assign(f);
  EXPECT_GT(c.TextWidth("WWW"), c.TextWidth("i"));
  f.SetHeight(-20);  // a change while selected in a canvas must not break it
  c.Font().Assign(f);
  EXPECT_GT(c.TextHeight("W"), 15);
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(FrameworkGraphics, ImageListTakesAStripWithAMaskColour) {
  TImageList list(nullptr);
  TBitmap strip(32, 16);  // two 16 x 16 images: red, and green with a magenta hole
  strip.Fill(clRed);
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) strip.SetPixel(x, y, x < 24 ? clGreen : clFuchsia);
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  TBitmap target(16, 16);
  target.Fill(clWhite);
  {
    TBitmapCanvas c(target);
    list.Draw(c, 0, 0, 1);
    list.Draw(c, 0, 0, 7);  // out of range: nothing
  }
  EXPECT_EQ(target.Pixel(2, 2), clGreen);
  EXPECT_EQ(target.Pixel(12, 2), clWhite) << "the mask colour is transparent";
  EXPECT_EQ(strip.Pixel(30, 0), clFuchsia) << "the caller's strip is left alone";
}

// An .ico file of square images, 32 bits per pixel, each all opaque in one colour (0xAARRGGBB).
std::string Ico(const std::vector<std::pair<unsigned, unsigned>>& images) {
  std::string ico;
  auto put = [&](unsigned v, int bytes) {
    for (int i = 0; i < bytes; ++i) ico += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto sizeOf = [](unsigned n) { return 40 + n * n * 4 + n * 4; };  // header, colours, mask rows
  const auto count = static_cast<unsigned>(images.size());
  put(0, 2), put(1, 2), put(count, 2);  // header
  unsigned offset = 6 + 16 * count;
  for (auto [n, colour] : images) {
    put(n, 1), put(n, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2), put(sizeOf(n), 4), put(offset, 4);
    offset += sizeOf(n);
  }
  for (auto [n, colour] : images) {
    put(40, 4), put(n, 4), put(2 * n, 4), put(1, 2), put(32, 2), put(0, 4), put(n * n * 4 + n * 4, 4);
    put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (unsigned i = 0; i < n * n; ++i) put(colour, 4);
    for (unsigned i = 0; i < n * 4; ++i) put(0, 1);
  }
  return ico;
}

std::string BlueIcon() { return Ico({{16, 0xFF0000FF}}); }

TEST(FrameworkGraphics, IconsComeFromIcoBytesAndRefuseGarbage) {
  TIcon icon;
  EXPECT_TRUE(icon.LoadFromBytes(BlueIcon(), 16));
  ASSERT_FALSE(icon.Empty());
  TBitmap bmp(16, 16);
  bmp.Fill(clWhite);
  {
    TBitmapCanvas c(bmp);
    DrawIconEx(c.Handle(), 0, 0, icon.Handle(), 16, 16, 0, nullptr, DI_NORMAL);
  }
  EXPECT_EQ(bmp.Pixel(8, 8), RGBColor(0, 0, 255));
  TIcon bad;
  EXPECT_FALSE(bad.LoadFromBytes("not an icon at all, not at all"));
  std::string truncated = BlueIcon().substr(0, 100);
  EXPECT_FALSE(bad.LoadFromBytes(truncated)) << "entry points past the end";
  EXPECT_TRUE(bad.Empty());
}

TEST(FrameworkGraphics, AFormsSmallIconIsTheImageMadeForTheSmallSize) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  const int small = GetSystemMetrics(SM_CXSMICON);
  f->Icon()->LoadFromBytes(Ico({{static_cast<unsigned>(small), 0xFF0000FF}, {48, 0xFFFF0000}}));
  auto icon = reinterpret_cast<HICON>(SendMessageA(f->Handle(), WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(icon, nullptr);
  TBitmap bmp(small, small);
  {
    TBitmapCanvas c(bmp);
    DrawIconEx(c.Handle(), 0, 0, icon, small, small, 0, nullptr, DI_NORMAL);
  }
  EXPECT_EQ(bmp.Pixel(small / 2, small / 2), RGBColor(0, 0, 255));
}

TEST(FrameworkMenus, MainMenuCommandsAndOwnerDrawnItems) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  auto* menu = new TMainMenu(f.get());
  auto* file = new TMenuItem(f.get());
  file->SetCaption("&File");
  auto* quit = new TMenuItem(f.get());
  quit->SetCaption("E&xit");
  quit->OnClick = TNotifyEvent(f.get(), &TFrameworkTestForm::N1Click);
  file->Add(quit);
  menu->Items()->Add(file);
  int client = f->ClientHeight();
  f->SetMenu(menu);
  f->Show();
  EXPECT_EQ(f->ClientHeight(), client) << "the menu bar does not eat the client area";
  ASSERT_EQ(GetMenu(f->Handle()), menu->Handle());
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu->Handle(), 0)), 1);
  f->log.clear();
  SendMessageA(f->Handle(), WM_COMMAND, quit->Command(), 0);
  EXPECT_EQ(f->log, std::vector<std::string>{"menu"});
  EXPECT_EQ(StripHotkey("E&xit && more"), "Exit & more");
  EXPECT_EQ(GetHotkey("退出&Q"), 'Q');
  // Owner drawing: the items measure and draw through the framework.
  menu->SetOwnerDraw(true);
  HMENU sub = GetSubMenu(menu->Handle(), 0);
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE | MIIM_DATA;
  GetMenuItemInfoA(sub, 0, TRUE, &mi);
  EXPECT_TRUE(mi.fType & MFT_OWNERDRAW);
  MEASUREITEMSTRUCT ms{ODT_MENU, 0, quit->Command(), 0, 0, mi.dwItemData};
  EXPECT_EQ(SendMessageA(f->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ms)), 1);
  EXPECT_GT(ms.itemWidth, 20u);
  // A forged item pointer is not followed.
  MEASUREITEMSTRUCT forged{ODT_MENU, 0, quit->Command(), 0, 0, 12345};
  EXPECT_EQ(SendMessageA(f->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&forged)), 0);
  f->SetMenu(nullptr);
}

TEST(FrameworkMenus, CommandsRunOnlyEnabledItemsAndFitTheMessage) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  auto* menu = new TMainMenu(f.get());
  auto* file = new TMenuItem(f.get());
  file->SetCaption("&File");
  menu->Items()->Add(file);
  // The ids of freed items are used again: however many came and went, a new item's id fits
  // the low word of WM_COMMAND and stays below the system commands.
  for (int i = 0; i < 70000; ++i) delete new TMenuItem(nullptr);
  auto* late = new TMenuItem(f.get());
  late->SetCaption("&Late");
  late->OnClick = TNotifyEvent(f.get(), &TFrameworkTestForm::N1Click);
  file->Add(late);
  auto* off = new TMenuItem(f.get());
  off->SetCaption("&Off");
  off->SetEnabled(false);
  off->OnClick = TNotifyEvent(f.get(), &TFrameworkTestForm::N1Click);
  file->Add(off);
  f->SetMenu(menu);
  f->Show();
  EXPECT_LT(late->Command(), static_cast<UINT>(SC_SIZE));
  f->log.clear();
  SendMessageA(f->Handle(), WM_COMMAND, late->Command(), 0);
  EXPECT_EQ(f->log, std::vector<std::string>{"menu"});
  f->log.clear();
  SendMessageA(f->Handle(), WM_COMMAND, off->Command(), 0);
  EXPECT_TRUE(f->log.empty()) << "a disabled item runs nothing";
  f->SetMenu(nullptr);
}

TEST(FrameworkMenus, OwnerDrawnBarMeasuresItsPopupItemsAndAnswersTheirKeys) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  auto* menu = new TMainMenu(f.get());
  for (const char* c : {"&File", "&View"}) {
    auto* top = new TMenuItem(f.get());
    top->SetCaption(c);
    auto* sub = new TMenuItem(f.get());
    sub->SetCaption("Item");
    top->Add(sub);
    menu->Items()->Add(top);
  }
  menu->SetOwnerDraw(true);
  f->SetMenu(menu);
  f->Show();
  // An item with a popup carries its own command, by which its drawing finds it.
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_ID | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoA(menu->Handle(), 1, TRUE, &mi));
  TMenuItem* view = menu->Items()->Items(1);
  EXPECT_EQ(mi.wID, view->Command());
  MEASUREITEMSTRUCT ms{ODT_MENU, 0, mi.wID, 0, 0, mi.dwItemData};
  EXPECT_EQ(SendMessageA(f->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ms)), 1);
  EXPECT_GT(ms.itemWidth, 20u);
  // The system knows no accelerators of owner-drawn items: Alt+V is answered with "&View".
  LRESULT pick = SendMessageA(f->Handle(), WM_MENUCHAR, MAKEWPARAM('v', MF_POPUP),
                              reinterpret_cast<LPARAM>(menu->Handle()));
  EXPECT_EQ(pick, MAKELRESULT(1, MNC_EXECUTE));
  f->SetMenu(nullptr);
}

TEST(FrameworkMenus, PopupMenuRunsTheChosenItem) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  f->Show();
  PumpPending();
  int ticks = 0;
  bool chosen = false;
  f->onTimer = [&] {
    // Inside the menu's own loop, once it is up: choose the first item by keyboard (keys posted
    // to the thread, as the system would queue them); give up after a long while.
    HWND menu = FindWindowA("#32768", nullptr);
    if (!chosen && menu && IsWindowVisible(menu)) {
      PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
      PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
      chosen = true;
    }
    if (++ticks == 400) EndMenu();
  };
  f->Timer1->SetEnabled(true);
  f->log.clear();
  POINT p = f->ClientToScreen(POINT{20, 20});
  f->PopupMenu1->Popup(p.x, p.y);
  f->Timer1->SetEnabled(false);
  EXPECT_EQ(std::count(f->log.begin(), f->log.end(), "menu"), 1);
}

TEST(FrameworkApplication, MinimisingTheMainFormTakesTheApplicationWindowAlong) {
  std::unique_ptr<TFrameworkTestForm, void (*)(TFrameworkTestForm*)> f(
      MakeTestForm(), [](TFrameworkTestForm* p) { p->Free(); });
  ASSERT_EQ(Application->MainForm(), f.get());
  ShowWindow(Application->Handle(), SW_SHOWNA);
  f->Show();
  PumpPending();
  RECT app;
  GetWindowRect(Application->Handle(), &app);
  EXPECT_TRUE(app.right <= app.left || app.bottom <= app.top) << "the application window takes no room";
  SendMessageA(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  PumpUntil([&] { return IsIconic(Application->Handle()); });
  EXPECT_TRUE(IsIconic(Application->Handle()));
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  ShowWindow(Application->Handle(), SW_HIDE);
  ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  PumpUntil([&] { return IsWindowVisible(f->Handle()); });
  EXPECT_TRUE(IsWindowVisible(f->Handle()));
  EXPECT_EQ(Application->FormCount(), 1);
  EXPECT_EQ(Application->Forms(0), f.get());
  ShowWindow(Application->Handle(), SW_HIDE);
}

}  // namespace
