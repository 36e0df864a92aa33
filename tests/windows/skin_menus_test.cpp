// Skinned menus under Wine: the popup skinner on menu windows, the skinned item look, and the
// menu bar of a skinned window with its keyboard and mouse tracking. And Unicode windows under
// the skin: a plain window made with the wide functions, with its menu, edit, list and combo box,
// keeps its texts whole (typed, set, read back with the wide functions, exactly as unskinned),
// and its caption and menu texts are drawn wide, not through the ANSI code page (GBK here).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WideText.h"
#include "skin/form/VuzUrezForm.h"
#include "skin/form/VuzUrezMenuBar.h"
#include "skin/form/VuzUrezMenuItems.h"
#include "skin/manager/VuzUrezMenu.h"
#include "skin/paint/SkinDrawWin32.h"
#include "tests/windows/skin_test_util.h"

namespace {

// Acts inside a modal menu loop: a thread timer (menu loops dispatch timers) runs the step
// until it says it is done; after the deadline the menu is ended so no test can hang.
struct TMenuScript {
  std::function<bool()> Step;
  DWORD Deadline = 0;
  bool TimedOut = false;
  static TMenuScript*& Current() {
    static TMenuScript* s = nullptr;
    return s;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    TMenuScript* s = Current();
    if (!s) return;
    if (static_cast<int>(s->Deadline - GetTickCount()) <= 0) {
      s->TimedOut = true;
      KillTimer(nullptr, id);
      Current() = nullptr;
      EndMenu();
      return;
    }
    if (s->Step()) {
      KillTimer(nullptr, id);
      Current() = nullptr;
    }
  }
  explicit TMenuScript(std::function<bool()> step) : Step(std::move(step)) {
    Deadline = GetTickCount() + 8000;
    Current() = this;
    Timer = SetTimer(nullptr, 0, 15, &TMenuScript::Tick);
  }
  ~TMenuScript() {
    // A script that never finished must not step the next test's script with its timer.
    KillTimer(nullptr, Timer);
    if (Current() == this) Current() = nullptr;
  }
  UINT_PTR Timer = 0;
};

// The visible menu windows, the newest first.
std::vector<HWND> MenuWindows() {
  std::vector<HWND> found;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w;
       w = FindWindowExA(nullptr, w, "#32768", nullptr))
    if (IsWindowVisible(w)) found.push_back(w);
  return found;
}

// A script step that closes the first menu to open and notes that it did.
std::function<bool()> CloseOnceOpen(bool& opened) {
  return [&opened] {
    if (MenuWindows().empty()) return false;
    opened = true;
    EndMenu();
    return true;
  };
}

void Key(UINT vk) {
  HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
  PostMessageA(target, WM_KEYDOWN, vk, 1);
}

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
int gNcPaints = 0;
int gPrintMode = -1;
LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCPAINT) ++gNcPaints;
  if (m == WM_PRINT) {
    // Stands for the system printing its items: everything it may touch turns red.
    auto dc = reinterpret_cast<HDC>(wp);
    gPrintMode = GetBkMode(dc);
    RECT r{0, 0, 1000, 1000};
    TGdiBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc, &r, red.Get());
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

HWND MenuLikeWindow(int w, int h) {
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MenuLike";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return RegisterClassA(&wc);
  }();
  (void)atom;
  HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, "MenuLike", "", WS_POPUP | WS_VISIBLE, 300, 300, w, h, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(wnd);
  return wnd;
}

class SkinMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    data.reset(NewSkinData(FileBytes(kDefaultSkin), sfOnlyThisForm, false));
    ASSERT_FALSE(data->NoSkin());
    ASSERT_NE(SkinManager(), nullptr);
    wasSkinning = SkinManager()->FSkinning;
    SkinManager()->FSkinning = true;
  }
  void TearDown() override {
    delete skinner;
    skinner = nullptr;
    if (form) form->Free();
    for (HWND w : windows) DestroyWindow(w);
    if (SkinManager()) SkinManager()->FSkinning = wasSkinning;
    data.reset();
  }
  TBitmap Background(int w, int h) const {
    const TDataSkinObject& e = *data->Skin.MenuBackground;
    return BuildNineSlice({0, 0, w, h}, e.Bitmap, {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight},
                          false, e.Tile == 1, 1, 1);
  }
  // A plain window with a menu of the given top-level captions, each with a popup of two items.
  HWND WindowWithMenu(std::vector<const char*> captions) {
    HMENU bar = CreateMenu();
    for (const char* c : captions) {
      HMENU pop = CreatePopupMenu();
      AppendMenuA(pop, MF_STRING, 10, "One");
      AppendMenuA(pop, MF_SEPARATOR, 0, nullptr);
      AppendMenuA(pop, MF_STRING, 11, "Two\tCtrl+T");
      AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), c);
    }
    HWND w = NewWindow(320, 200);
    SetMenu(w, bar);
    windows.push_back(w);
    return w;
  }
  TVuzUrezForm* Skin(HWND w) {
    skinner = new TVuzUrezForm(nullptr);
    skinner->Handle = w;
    skinner->AttachWindow(data.get());
    SendMessageA(w, WM_SKINACTIVATE, 0, 1000);
    skinner->PaintFrame(nullptr);
    return skinner;
  }
  // Shows the test's form and skins it as the manager would.
  TVuzUrezForm* SkinForm() {
    form->Show();
    skinner = new TVuzUrezForm(form);
    skinner->Handle = form->Handle();
    skinner->AttachForm(data.get(), form);
    SendMessageA(form->Handle(), WM_SKINACTIVATE, 0, 1000);
    skinner->PaintFrame(nullptr);
    return skinner;
  }
  TMenuItem* AddItem(TMenuItem* parent, const char* caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  std::unique_ptr<TSkinData> data;
  TVuzUrezForm* skinner = nullptr;
  TForm* form = nullptr;
  std::vector<HWND> windows;
  bool wasSkinning = false;
};

TEST_F(SkinMenus, BorderPaintGivesExactlyTheOuterRing) {
  const int w = 90, h = 60;
  HWND wnd = MenuLikeWindow(w, h);
  windows.push_back(wnd);
  TVuzUrezPopMenu popup;
  popup.Attach(wnd, data.get(), nullptr);
  SendMessageA(wnd, WM_NCPAINT, 1, 0);
  TBitmap expected = Background(w, h);
  for (POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{2, h / 2}, POINT{w / 2, h - 3}, POINT{w - 3, 10}})
    EXPECT_EQ(ScreenPixel(wnd, p.x, p.y), expected.Pixel(p.x, p.y)) << p.x << "," << p.y;
  // Inside the ring the window keeps its own (black) background.
  EXPECT_EQ(ScreenPixel(wnd, 3, 3), clBlack);
  EXPECT_EQ(ScreenPixel(wnd, w / 2, h / 2), clBlack);
  EXPECT_EQ(PendingPopup(), &popup);  // the menu is not known yet
}

TEST_F(SkinMenus, PrintGivesTheBackgroundWithItemsClippedInside) {
  const int w = 80, h = 50;
  HWND wnd = MenuLikeWindow(w, h);
  windows.push_back(wnd);
  TVuzUrezPopMenu popup;
  popup.Attach(wnd, data.get(), nullptr);
  TBitmap target(w, h, pf24bit);
  {
    TBitmapDC dc(target);
    SetBkMode(dc.Get(), OPAQUE);
    SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT | PRF_NONCLIENT);
    EXPECT_EQ(GetBkMode(dc.Get()), OPAQUE);  // given back
  }
  EXPECT_EQ(gPrintMode, TRANSPARENT);
  TBitmap expected = Background(w, h);
  EXPECT_EQ(target.Pixel(0, 0), expected.Pixel(0, 0));
  EXPECT_EQ(target.Pixel(2, 2), expected.Pixel(2, 2));
  EXPECT_EQ(target.Pixel(w - 1, h - 1), expected.Pixel(w - 1, h - 1));
  EXPECT_EQ(target.Pixel(3, 3), clRed);
  EXPECT_EQ(target.Pixel(w - 4, h - 4), clRed);
}

TEST_F(SkinMenus, PassesEverythingButTheQueryWhileSkinningIsOff) {
  HWND wnd = MenuLikeWindow(60, 40);
  windows.push_back(wnd);
  TVuzUrezPopMenu popup;
  popup.Attach(wnd, data.get(), nullptr);
  SkinManager()->FSkinning = false;
  gNcPaints = 0;
  SendMessageA(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(gNcPaints, 1);
  EXPECT_EQ(SendMessageA(wnd, WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(popup.Background().Empty());
  SkinManager()->FSkinning = true;
  gNcPaints = 0;
  SendMessageA(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(gNcPaints, 0);  // painted by the skinner, not passed on
}

TEST_F(SkinMenus, DestroyGivesTheProcedureBackAndEmptiesTheBackground) {
  HWND wnd = MenuLikeWindow(60, 40);
  windows.push_back(wnd);
  auto before = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
  TVuzUrezPopMenu popup;
  popup.Attach(wnd, data.get(), nullptr);
  SendMessageA(wnd, WM_NCPAINT, 1, 0);
  EXPECT_FALSE(popup.Background().Empty());
  SendMessageA(wnd, WM_DESTROY, 0, 0);
  EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), before);
  EXPECT_TRUE(popup.Background().Empty());
  EXPECT_EQ(PendingPopup(), nullptr);
}

// Pixels of a colour in a bitmap.
int Count(const TBitmap& b, TColor c, int x0 = 0, int x1 = -1) {
  int n = 0;
  if (x1 < 0) x1 = b.Width();
  for (int y = 0; y < b.Height(); ++y)
    for (int x = x0; x < x1; ++x) n += b.Pixel(x, y) == c;
  return n;
}

TBitmap DrawItem(const TSkinData& data, const TMenuItemLook& look, bool selected, int w = 160, int h = 22) {
  TBitmap b(w, h, pf24bit);
  TBitmapDC dc(b);
  DrawSkinnedItem(dc.Get(), RECT{0, 0, w, h}, data, look, selected, TMenuBackground{});
  return b;
}

TEST_F(SkinMenus, ItemsInEachState) {
  const TSkinElements& s = data->Skin;
  TMenuItemLook item;
  item.Caption = L"&Open";
  TBitmap normal = DrawItem(*data, item, false);
  TBitmap selected = DrawItem(*data, item, true);
  EXPECT_GT(Count(normal, ColorToRGB(s.ColourMenuText)), 0);
  EXPECT_GT(Count(selected, ColorToRGB(s.ColourHilightText)), 0);
  // Frame 4 of the MenuItem strip under a selected item.
  const TDataSkinObject& e = *s.MenuItem;
  TFrameCell sel = FrameCell(e.Bitmap, false, 5, 4);
  EXPECT_EQ(selected.Pixel(80, 1), e.Bitmap.Pixel(sel.X + sel.Width / 2, sel.Y + 1));
  EXPECT_NE(normal.Pixel(80, 1), selected.Pixel(80, 1));

  item.Enabled = false;
  EXPECT_GT(Count(DrawItem(*data, item, false), ColorToRGB(s.ColourButtonShadow)), 0);
  TSkinElements& edit = data->Skin;
  TColor shadow = edit.ColourButtonShadow;
  edit.ColourButtonShadow = edit.ColourMenuText;
  EXPECT_GT(Count(DrawItem(*data, item, false), ColorToRGB(clGrayText)), 0);
  edit.ColourButtonShadow = shadow;
  item.Enabled = true;

  TMenuItemLook checked = item;
  checked.Checked = true;
  EXPECT_GT(Count(DrawItem(*data, checked, false), ColorToRGB(s.ColourMenuText), 0, 20), 0);  // the mark
  EXPECT_EQ(Count(normal, ColorToRGB(s.ColourMenuText), 0, 20), 0);

  TMenuItemLook plain = item, bold = item;
  bold.Default = true;
  EXPECT_GT(Count(DrawItem(*data, bold, false), ColorToRGB(s.ColourMenuText)),
            Count(DrawItem(*data, plain, false), ColorToRGB(s.ColourMenuText)));

  TMenuItemLook shortcut = item;
  shortcut.ShortCut = L"Ctrl+O";
  TBitmap sc = DrawItem(*data, shortcut, false);
  EXPECT_GT(Count(sc, ColorToRGB(s.ColourMenuText), 100, 149), 0);  // ends 11 pixels before the edge
  EXPECT_EQ(Count(sc, ColorToRGB(s.ColourMenuText), 149, 160), 0);

  TMenuItemLook line;
  line.Caption = L"-";
  TBitmap sep = DrawItem(*data, line, false, 160, 8);
  TFrameCell cell = FrameCell(e.Bitmap, false, 5, 2);
  int row = cell.Height - 8;  // the frame's bottom rows
  bool found = false;
  for (int y = 0; y < 8; ++y)
    found = found || sep.Pixel(80, y) == e.Bitmap.Pixel(cell.X + cell.Width / 2, cell.Y + row + y);
  EXPECT_TRUE(found);
  EXPECT_NE(Count(sep, sep.Pixel(80, 0)), 160 * 8);  // not a flat fill
}

TEST_F(SkinMenus, PlainItemsOfASkinWithoutMenuColoursTakeTheSystemsColours) {
  TSkinElements& s = data->Skin;
  s.MenuItem.reset();
  s.ColourMenu = clMenu;
  s.ColourHilight = clHighlight;
  TMenuItemLook item;
  item.Caption = L"Open";
  EXPECT_EQ(DrawItem(*data, item, false).Pixel(150, 1), ColorToRGB(clMenu));
  EXPECT_EQ(DrawItem(*data, item, true).Pixel(150, 1), ColorToRGB(clHighlight));
}

TEST_F(SkinMenus, CheckedItemWithImageSitsOnTheDither) {
  TImageList images(nullptr);
  TBitmap glyph(16, 16, pf24bit);
  glyph.Fill(clFuchsia);
  glyph.SetPixel(8, 8, clBlue);
  images.AddMasked(glyph, clFuchsia);
  TMenuItemLook item;
  item.Caption = L"Image";
  item.Images = &images;
  item.ImageIndex = 0;
  item.Checked = true;
  TBitmap b = DrawItem(*data, item, false);
  EXPECT_GT(Count(b, ColorToRGB(clBtnHighlight), 0, 24) + Count(b, ColorToRGB(clBtnFace), 0, 24), 20);
  EXPECT_GT(Count(b, clBlue, 0, 24), 0);
}

TEST_F(SkinMenus, WindowWithMenuGetsTheBarAndGetsItsMenuBack) {
  HWND w = WindowWithMenu({"&File", "&Edit"});
  HMENU menu = GetMenu(w);
  Skin(w);
  ASSERT_NE(skinner->MenuBar(), nullptr);
  EXPECT_EQ(GetMenu(w), nullptr);
  EXPECT_EQ(skinner->MenuHeight(), GetSystemMetrics(SM_CYMENU));
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(origin.y - wr.top, skinner->TopHeight() + skinner->MenuHeight());
  EXPECT_EQ(skinner->MenuBar()->ButtonCount(), 2);
  // The bar is painted: its first button has room and the bar's hit test says menu.
  RECT b = skinner->MenuBar()->Buttons[0]->BoundsRect;
  EXPECT_GT(b.right - b.left, 0);
  EXPECT_EQ(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(wr.left + b.left + 2, wr.top + b.top + 2)), HTMENU);
  skinner->Detach();
  EXPECT_EQ(GetMenu(w), menu);
}

TEST_F(SkinMenus, OwnerDrawnTopLevelCaptionsComeFromTheMenuObject) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  for (const char* c : {"&File", "&View"}) {
    auto* top = new TMenuItem(form);
    top->SetCaption(c);
    auto* sub = new TMenuItem(form);
    sub->SetCaption("Item");
    top->Add(sub);
    menu->Items()->Add(top);
  }
  menu->SetOwnerDraw(true);
  form->SetMenu(menu);
  SkinForm();
  ASSERT_NE(skinner->MenuBar(), nullptr);
  ASSERT_EQ(skinner->MenuBar()->ButtonCount(), 2);
  EXPECT_EQ(skinner->MenuBar()->Buttons[0]->Caption, L"&File");
  EXPECT_EQ(skinner->MenuBar()->Buttons[1]->Caption, L"&View");
  EXPECT_NE(skinner->MenuBar()->Buttons[1]->SubMenu, nullptr);

  // A changed menu reaches the skinner through the form and rebuilds the bar.
  auto* more = new TMenuItem(form);
  more->SetCaption("&Help");
  menu->Items()->Add(more);
  EXPECT_EQ(skinner->MenuBar()->ButtonCount(), 3);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);

  // Alt+F takes the first button; Alt+Q is not the bar's.
  TMessage alt{CM_DIALOGCHAR, 'f', static_cast<LPARAM>(KF_ALTDOWN) << 16, 0};
  form->WindowProc(alt);
  EXPECT_EQ(alt.Result, 1);
  bool opened = false;
  TMenuScript script([&] {
    if (skinner->MenuBar()->CurrentIndex() != 0 || MenuWindows().empty()) return false;
    opened = true;
    EndMenu();
    return true;
  });
  PumpUntil([&] { return opened || script.TimedOut; });
  EXPECT_TRUE(opened);
  TMessage q{CM_DIALOGCHAR, 'q', static_cast<LPARAM>(KF_ALTDOWN) << 16, 0};
  form->WindowProc(q);
  EXPECT_EQ(q.Result, 0);
}

TEST_F(SkinMenus, ArrowKeysWrapAcrossFourButtons) {
  HWND w = WindowWithMenu({"&A", "&B", "&C", "&D"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 4);
  std::vector<int> seen;
  int phase = 0;
  TMenuScript script([&] {
    if (MenuWindows().empty()) return false;
    int now = bar->CurrentIndex();
    if (phase == 0 && now == 3)
      Key(VK_RIGHT), phase = 1;
    else if (phase == 1 && now == 0)
      seen.push_back(0), Key(VK_LEFT), phase = 2;
    else if (phase == 2 && now == 3)
      seen.push_back(3), phase = 3;
    if (phase != 3) return false;
    EndMenu();
    return true;
  });
  bar->OpenMenuBarButton(bar->Buttons[3].get());
  EXPECT_FALSE(script.TimedOut);
  EXPECT_EQ(seen, (std::vector<int>{0, 3}));
  EXPECT_FALSE(bar->Tracking());
}

TEST_F(SkinMenus, RightOnAnItemWithASubMenuOpensIt) {
  HWND w = WindowWithMenu({"&A", "&B"});
  HMENU first = GetSubMenu(skinner ? nullptr : GetMenu(w), 0);
  HMENU sub = CreatePopupMenu();
  AppendMenuA(sub, MF_STRING, 20, "Deeper");
  InsertMenuA(first, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  bool sent = false, opened = false;
  TMenuScript script([&] {
    auto menus = MenuWindows();
    if (menus.empty()) return false;
    if (!sent) {
      sent = true;
      Key(VK_RIGHT);  // the hook has selected the first item, "More"
      return false;
    }
    if (menus.size() < 2) return false;
    opened = bar->CurrentIndex() == 0;
    EndMenu();
    return true;
  });
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  EXPECT_TRUE(opened);
}

// A mouse move the test posts after another one: once the menu loop's filter sees it, the move
// before it has been handled (a move that switches popups ends the loop before it gets here).
constexpr WPARAM kMarkerMove = 0x4000;
bool gMarkerSeen = false;
HHOOK gMarkerHook = nullptr;
LRESULT CALLBACK MarkerFilter(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == MSGF_MENU && msg && msg->message == WM_MOUSEMOVE && msg->wParam == kMarkerMove)
    gMarkerSeen = true;
  return CallNextHookEx(gMarkerHook, code, wp, lp);
}

TEST_F(SkinMenus, MouseOverAnotherButtonSwitchesOverTheSameDoesNothing) {
  HWND w = WindowWithMenu({"&A", "&B", "&C"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  RECT wr{};
  GetWindowRect(w, &wr);
  auto centre = [&](int i) {
    const RECT& r = bar->Buttons[static_cast<std::size_t>(i)]->BoundsRect;
    return POINT{wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2};
  };
  auto move = [&](POINT p, WPARAM flags = 0) {
    SetCursorPos(p.x, p.y);
    auto menus = MenuWindows();
    if (!menus.empty()) PostMessageA(menus.front(), WM_MOUSEMOVE, flags, 0);
  };
  struct Unhook {
    ~Unhook() {
      if (gMarkerHook) UnhookWindowsHookEx(gMarkerHook);
      gMarkerHook = nullptr;
    }
  } unhook;
  gMarkerSeen = false;
  int phase = 0;
  HWND firstMenu = nullptr;
  bool stayed = false, switched = false;
  TMenuScript script([&] {
    auto menus = MenuWindows();
    if (menus.empty()) return false;
    if (phase == 0) {
      firstMenu = menus.front();
      // Installed after the bar's filter, so it sees each message before the bar does.
      gMarkerHook = SetWindowsHookExA(WH_MSGFILTER, MarkerFilter, nullptr, GetCurrentThreadId());
      POINT p = centre(0);
      move(POINT{p.x + 1, p.y});
      move(POINT{p.x + 1, p.y}, kMarkerMove);
      phase = 1;
    } else if (phase == 1) {
      bool gone = !IsWindow(firstMenu) || !IsWindowVisible(firstMenu);
      if (!gMarkerSeen && !gone) return false;
      stayed = gMarkerSeen && !gone && bar->CurrentIndex() == 0;
      move(centre(2));
      phase = 2;
    } else if (phase == 2) {
      if (bar->CurrentIndex() == 2) {
        switched = true;
        EndMenu();
        return true;
      }
      // A cursor put somewhere may still be overtaken by the echo of an earlier one on the
      // bench's display: the move is given again until the popup has switched.
      move(centre(2));
    }
    return false;
  });
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(switched);
}

TEST_F(SkinMenus, ZeroWidthCaptionTakesNoRoom) {
  HWND w = WindowWithMenu({"&A", "", "&C"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 3);
  const RECT& empty = bar->Buttons[1]->BoundsRect;
  EXPECT_EQ(empty.right - empty.left, 0);
  EXPECT_EQ(bar->Buttons[2]->BoundsRect.left, bar->Buttons[0]->BoundsRect.right);
}

TEST_F(SkinMenus, SeparatorOfAPlainWindowsMenuShowsTheEtchedLine) {
  data->Skin.MenuItem.reset();  // the plain look
  HWND w = WindowWithMenu({"&File"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  TBitmap printed;
  RECT sep{};  // as the system gives it, give or take the frame
  TMenuScript script([&] {
    auto menus = MenuWindows();
    if (menus.empty()) return false;
    RECT wr{};
    GetWindowRect(menus.front(), &wr);
    GetMenuItemRect(w, bar->Buttons[0]->SubMenu, 1, &sep);
    OffsetRect(&sep, -wr.left, -wr.top);
    printed.SetSize(wr.right - wr.left, wr.bottom - wr.top, pf24bit);
    {
      TBitmapDC dc(printed);
      SendMessageA(menus.front(), WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()),
                   PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
    }
    EndMenu();
    return true;
  });
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  ASSERT_FALSE(printed.Empty());
  // The etched line: a shadow row over a highlight row, across the item, near its rectangle.
  int x = (sep.left + sep.right) / 2, line = -1;
  for (int y = sep.top - 4; y < sep.bottom + 4 && line < 0; ++y)
    if (printed.Pixel(x, y) == ColorToRGB(clBtnShadow) &&
        printed.Pixel(x, y + 1) == ColorToRGB(clBtnHighlight))
      line = y;
  ASSERT_GE(line, 0);
  EXPECT_EQ(printed.Pixel(x / 2, line), ColorToRGB(clBtnShadow));
}

TEST_F(SkinMenus, MenuSwappedWhileAPopupIsOpenEndsTheTracking) {
  HWND w = WindowWithMenu({"&A", "&B", "&C"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  HMENU old = bar->MenuHandle;
  bool swapped = false, inRange = true;
  TMenuScript script([&] {
    if (!swapped) {
      if (MenuWindows().empty() || bar->CurrentIndex() != 2) return false;
      HMENU one = CreateMenu();
      AppendMenuA(one, MF_STRING, 30, "&Only");
      SetMenu(w, one);
      SendMessageA(w, CM_MENUCHANGED, 0, 0);
      swapped = true;
      Key(VK_LEFT);
      return false;
    }
    inRange = inRange && bar->CurrentIndex() < bar->ButtonCount();
    return false;
  });
  bar->OpenMenuBarButton(bar->Buttons[2].get());
  EXPECT_TRUE(swapped);
  EXPECT_TRUE(inRange);
  EXPECT_FALSE(script.TimedOut);  // the popup the bar no longer has was closed
  EXPECT_EQ(bar->ButtonCount(), 1);
  DestroyMenu(old);
}

TEST_F(SkinMenus, MenuChangedWhileAPopupIsOpenKeepsTrackingItsButton) {
  HWND w = WindowWithMenu({"&A", "&B", "&C"});
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  HMENU menu = bar->MenuHandle;
  HMENU first = GetSubMenu(menu, 0);
  int phase = 0;
  bool followed = false;
  TMenuScript script([&] {
    if (MenuWindows().empty()) return false;
    if (phase == 0 && bar->CurrentIndex() == 2) {
      RemoveMenu(menu, 0, MF_BYPOSITION);  // the open popup is now the second
      SetMenu(w, menu);
      SendMessageA(w, CM_MENUCHANGED, 0, 0);
      followed = bar->CurrentIndex() == 1 && !MenuWindows().empty();
      Key(VK_LEFT);
      phase = 1;
    } else if (phase == 1 && bar->CurrentIndex() == 0) {
      EndMenu();
      return true;
    }
    return false;
  });
  bar->OpenMenuBarButton(bar->Buttons[2].get());
  EXPECT_TRUE(followed);
  EXPECT_FALSE(script.TimedOut);
  DestroyMenu(first);
}

struct TClickCounter : TObject {
  int Count = 0;
  void Click(TObject*) { ++Count; }
};

TEST_F(SkinMenus, AltOrALetterAloneIsSwallowedAndRunsNothing) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  TClickCounter clicks;
  AddItem(menu->Items(), "&Go")->OnClick = TNotifyEvent(&clicks, &TClickCounter::Click);
  form->SetMenu(menu);
  ASSERT_EQ(SkinForm()->MenuBar()->ButtonCount(), 1);
  // Alt or F10 alone, and Alt+Shift+G, which the form does not take as the bar's accelerator.
  for (LPARAM key : {LPARAM{0}, LPARAM{'G'}}) {
    EXPECT_EQ(SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, key), 1);
    PumpPending();
  }
  EXPECT_EQ(clicks.Count, 0);
  EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(SkinMenus, OpeningAButtonRunsItsItemsOwnClick) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  TMenuItem* file = AddItem(menu->Items(), "&File");
  AddItem(file, "&Open");
  TClickCounter clicks;
  file->OnClick = TNotifyEvent(&clicks, &TClickCounter::Click);
  form->SetMenu(menu);
  TVuzUrezMenu* bar = SkinForm()->MenuBar();
  bool opened = false;
  TMenuScript script(CloseOnceOpen(opened));
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  EXPECT_TRUE(PumpUntil([&] { return clicks.Count > 0; }));
  EXPECT_EQ(clicks.Count, 1);
}

TEST_F(SkinMenus, PopupItemsAreFoundByCommandNotByPosition) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  TMenuItem* file = AddItem(menu->Items(), "&File");
  TMenuItem* open = AddItem(file, "&Open a file with a rather long caption");
  AddItem(AddItem(menu->Items(), "&Edit"), "Cu&t");
  form->SetMenu(menu);
  form->Show();
  // As the system puts a maximised MDI child's window menu in front of the frame's items.
  HMENU front = CreatePopupMenu();
  AppendMenuA(front, MF_STRING, SC_CLOSE, "&Close");
  InsertMenuA(menu->Handle(), 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(front), "");
  TVuzUrezMenu* bar = SkinForm()->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 3);
  int measured = -1;
  TMenuScript script([&] {
    if (MenuWindows().empty()) return false;
    MEASUREITEMSTRUCT mi{ODT_MENU, 0, open->Command(), 0, 0, 0};
    if (bar->MeasureItem(mi)) measured = static_cast<int>(mi.itemWidth);
    EndMenu();
    return true;
  });
  bar->OpenMenuBarButton(bar->Buttons[1].get());
  TMenuItemLook look = TMenuItemLook::Of(open);
  SIZE text = MeasureItemText(look);
  int w = text.cx, h = text.cy;
  MeasureSkinnedItem(*data, look, w, h);
  EXPECT_EQ(measured, w);
}

struct TOwnItemDrawing : TObject {
  void Draw(TObject*, TCanvas*, RECT, bool) {}
};

TEST_F(SkinMenus, BarDrawsItemsInTheSkinnersLookAndLeavesItemsThatDrawThemselves) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  TMenuItem* file = AddItem(menu->Items(), "&File");
  TMenuItem* skinned = AddItem(file, "&Skinned");
  TMenuItem* own = AddItem(file, "&Own");
  form->SetMenu(menu);
  TVuzUrezForm* s = SkinForm();
  // The skinner's handler is the one it puts on popup items; the bar knows it as its own look.
  skinned->OnDrawItem = TMenuDrawItemEvent(s, &TVuzUrezForm::PopupItemDraw);
  TOwnItemDrawing drawing;
  own->OnDrawItem = TMenuDrawItemEvent(&drawing, &TOwnItemDrawing::Draw);
  TVuzUrezMenu* bar = s->MenuBar();
  bool measuredSkinned = false, measuredOwn = true, opened = false;
  TMenuScript script([&] {
    if (MenuWindows().empty()) return false;
    MEASUREITEMSTRUCT a{ODT_MENU, 0, skinned->Command(), 0, 0, 0}, b{ODT_MENU, 0, own->Command(), 0, 0, 0};
    measuredSkinned = bar->MeasureItem(a);
    measuredOwn = bar->MeasureItem(b);
    opened = true;
    EndMenu();
    return true;
  });
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  ASSERT_TRUE(opened);
  EXPECT_TRUE(measuredSkinned);
  EXPECT_FALSE(measuredOwn);
}

// What frame 4 (selected) of the MenuItem strip puts at (80, 1) of a 160 x 22 item.
TColor SelectedLook(const TSkinData& data) {
  const TDataSkinObject& e = *data.Skin.MenuItem;
  TFrameCell sel = FrameCell(e.Bitmap, false, 5, 4);
  return e.Bitmap.Pixel(sel.X + sel.Width / 2, sel.Y + 1);
}

TEST_F(SkinMenus, DisabledItemsShowTheSelection) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  TMenuItem* off = AddItem(AddItem(menu->Items(), "&File"), "&Off");
  off->SetEnabled(false);
  form->SetMenu(menu);
  SkinForm();
  TBitmap popupItem(160, 22, pf24bit);
  {
    TBitmapDC dc(popupItem);
    TCanvas canvas;
    canvas.SetHandle(dc.Get());
    skinner->PopupItemDraw(off, &canvas, RECT{0, 0, 160, 22}, true);
    canvas.SetHandle(nullptr);
  }
  EXPECT_EQ(popupItem.Pixel(80, 1), SelectedLook(*data)) << "a form's popup item";
  HMENU system = skinner->SystemMenu();
  TBitmap systemItem(160, 22, pf24bit);
  {
    TBitmapDC dc(systemItem);
    DRAWITEMSTRUCT di{ODT_MENU,
                      0,
                      GetMenuItemID(system, 0),
                      ODA_DRAWENTIRE,
                      ODS_SELECTED | ODS_GRAYED,
                      reinterpret_cast<HWND>(system),
                      dc.Get(),
                      RECT{0, 0, 160, 22},
                      0};
    SendMessageA(form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&di));
  }
  EXPECT_EQ(systemItem.Pixel(80, 1), SelectedLook(*data)) << "the window menu's item";
}

TEST_F(SkinMenus, SeparatorMiddleIsStretched) {
  // Five 20 x 8 frames; the separator's middle is red on its left half, blue on its right.
  TDataSkinObject& e = *data->Skin.MenuItem;
  e.Bitmap.SetSize(100, 8, pf24bit);
  e.Bitmap.Fill(clGreen);
  for (int y = 0; y < 8; ++y)
    for (int x = 22; x < 38; ++x) e.Bitmap.SetPixel(x, y, x < 30 ? clRed : clBlue);
  e.LeftWidth = e.RightWidth = 2;
  TMenuItemLook line;
  line.Caption = L"-";
  TBitmap sep = DrawItem(*data, line, false, 160, 8);
  EXPECT_EQ(sep.Pixel(40, 4), clRed);
  EXPECT_EQ(sep.Pixel(120, 4), clBlue);
}

TEST_F(SkinMenus, DetachGivesBackWhatAttachTookWhateverTheOptionSaysNow) {
  HWND w = WindowWithMenu({"&File"});
  HMENU menu = GetMenu(w);
  RECT before{};
  GetWindowRect(w, &before);
  Skin(w);
  data->SetSkinControls(data->SkinControls() & ~SkinControl(xcMainMenu));
  skinner->Detach();
  EXPECT_EQ(GetMenu(w), menu);
  EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  RECT after{};
  GetWindowRect(w, &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  TGdiRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(w, region.Get()), ERROR) << "no region left";
}

TEST_F(SkinMenus, DetachGivesThePopupItemsTheirOwnTypeAndText) {
  HWND w = WindowWithMenu({"&File"});
  HMENU popup = GetSubMenu(GetMenu(w), 0);
  // A text that does not fit the ANSI code page (GBK here) comes back whole, not as question marks.
  const std::wstring wide = L"Ωμέγα café ★ Łódź ñøß ☃\tCtrl+K";
  ModifyMenuW(popup, 0, MF_BYPOSITION | MF_STRING, 10, wide.c_str());
  TVuzUrezMenu* bar = Skin(w)->MenuBar();
  bool opened = false;
  TMenuScript script(CloseOnceOpen(opened));
  bar->OpenMenuBarButton(bar->Buttons[0].get());
  ASSERT_TRUE(opened);
  skinner->Detach();
  char text[32] = {};
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = sizeof text - 1;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 2, TRUE, &info));
  EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
  EXPECT_STREQ(text, "Two\tCtrl+T");
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoA(popup, 1, TRUE, &info));
  EXPECT_EQ(info.fType, static_cast<UINT>(MFT_SEPARATOR));
  wchar_t back[64] = {};
  GetMenuStringW(popup, 0, back, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(back), wide);
}

TEST_F(SkinMenus, OwnerDrawnMenuBarOpensByKeyboardOnceTheSkinIsOff) {
  form = new TForm(nullptr);
  auto* menu = new TMainMenu(form);
  AddItem(AddItem(menu->Items(), "&File"), "&Open");
  AddItem(AddItem(menu->Items(), "&View"), "&Zoom");
  menu->SetOwnerDraw(true);
  form->SetMenu(menu);
  SkinForm()->Detach();
  ASSERT_EQ(GetMenu(form->Handle()), menu->Handle());
  bool opened = false;
  TMenuScript script(CloseOnceOpen(opened));
  PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'v');
  EXPECT_TRUE(PumpUntil([&] { return opened || script.TimedOut; }));
  EXPECT_TRUE(opened);
}

}  // namespace

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
