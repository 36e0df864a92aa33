// Scroll-bar skinners under Wine on framework controls (no form skinner): what the bars show,
// the corner, the left-side layout, the standard arrow and track clicks, the skinner's own thumb
// drag with real mouse input and every way that drag can end.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "framework/Forms.h"
#include "framework/ListViews.h"
#include "framework/ScrollCtrls.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassListView.h"
#include "skin/controls/WinSubClassScroll.h"
#include "tests/windows/skin_test_util.h"

namespace {

TSkinData* gSkin = nullptr;

class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    gSkin = SkinOnly();
  }
  void TearDown() override { delete gSkin; }
};
const auto* const gEnv = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

// The exit code of the last WM_QUIT the pump took, or -1.
int gQuit = -1;

bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return done();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) gQuit = static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// Waits in another thread (the UI thread is busy in a drag's loop).
bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
  for (int waited = 0; !done(); waited += 5) {
    if (waited > ms) return false;
    Sleep(5);
  }
  return true;
}

void Mouse(int x, int y, DWORD flags = 0) {
  // Held to the screen: absolute input past its edge is not taken as the edge everywhere.
  x = std::clamp(x, 0, GetSystemMetrics(SM_CXSCREEN) - 1);
  y = std::clamp(y, 0, GetSystemMetrics(SM_CYSCREEN) - 1);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  SendInput(1, &in, sizeof in);
}

// A hidden window of the UI thread that runs gOnApp when it gets WM_APP: how another thread
// makes something happen inside a running drag.
std::function<void()> gOnApp;
HWND AppWindow() {
  static HWND wnd = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m == WM_APP && gOnApp) gOnApp();
      return DefWindowProcA(w, m, wp, lp);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ScrollTestApp";
    RegisterClassA(&wc);
    return CreateWindowExA(0, "ScrollTestApp", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }();
  return wnd;
}

// Moves the mouse to (x, y) until the condition holds: a move the system merges with the next
// or drops is made again, one pixel off and back.
bool MoveUntil(int x, int y, const std::function<bool()>& done) {
  for (int i = 0; i < 50; ++i) {
    Mouse(x, y + (i & 1));
    if (WaitFor(done, 100)) return true;
  }
  return false;
}

// The scroll messages that reach the control after the skinner.
struct TScrollLog : TObject {
  TWndMethod Old;
  std::atomic<int> Tracks{0}, Positions{0}, Ends{0}, LastTrack{-1}, Position{-1};
  std::function<void(TMessage&)> OnVScroll, OnPaint;
  void Proc(TMessage& m) {
    if (m.Msg == WM_PAINT && OnPaint) OnPaint(m);
    if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) {
      int code = LOWORD(m.WParam);
      if (code == SB_THUMBTRACK) ++Tracks, LastTrack = HIWORD(m.WParam);
      if (code == SB_THUMBPOSITION) ++Positions, Position = HIWORD(m.WParam);
      if (code == SB_ENDSCROLL) ++Ends;
      if (OnVScroll && m.Msg == WM_VSCROLL) OnVScroll(m);
    }
    Old(m);
  }
};

class SkinScroll : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(Application);
    form->InitializeForm();
    form->SetClientWidth(460);
    form->SetClientHeight(300);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([&] { return GetActiveWindow() == form->Handle(); });
  }
  void TearDown() override {
    gOnApp = nullptr;
    delete skinner;
    form->Free();
    PumpPending();
  }
  // A memo with 200 long lines and both bars, its scroll messages logged, then skinned.
  TMemo* NewMemo(DWORD exStyle = 0, int height = 150, TScrollStyle bars = ssBoth) {
    auto* m = new TMemo(form);
    m->SetScrollBars(bars);
    m->SetWordWrap(false);
    m->SetParent(form);
    m->SetBounds(10, 10, 240, height);
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + std::string(60, 'x') + "\r\n";
    m->SetText(text);
    if (exStyle) {
      SetWindowLongPtrA(m->Handle(), GWL_EXSTYLE, GetWindowLongPtrA(m->Handle(), GWL_EXSTYLE) | exStyle);
      SetWindowPos(m->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    log.Old = m->WindowProc;
    m->WindowProc = TWndMethod(&log, &TScrollLog::Proc);
    skinner = new TSkinScrollBar(nullptr);
    skinner->AttachScrollBars(m, gSkin, true, nullptr);
    RedrawWindow(m->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
    return m;
  }
  // The centre of the vertical thumb, on the screen.
  POINT ThumbCentre(HWND w) {
    RECT wr{};
    GetWindowRect(w, &wr);
    const RECT& v = skinner->VertRect();
    const TBarGeometry& g = skinner->Geometry(1);
    return POINT{wr.left + (v.left + v.right) / 2,
                 wr.top + v.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength / 2};
  }
  // Runs the input script in a thread of its own while this thread pumps messages.
  void Run(const std::function<void()>& script) {
    std::atomic<bool> done{false};
    std::thread t([&] {
      script();
      done = true;
    });
    PumpUntil([&] { return done.load(); }, 15000);
    t.join();
    PumpPending();
  }
  // Presses the thumb and waits until the drag holds the mouse.
  void PressThumb(HWND w, POINT p) {
    Mouse(p.x, p.y);
    WaitFor([&] {
      POINT at{};
      return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
    });
    Mouse(p.x, p.y, MOUSEEVENTF_LEFTDOWN);
    DWORD ui = GetWindowThreadProcessId(w, nullptr);
    EXPECT_TRUE(WaitFor([&] {
      GUITHREADINFO gi{};
      gi.cbSize = sizeof gi;
      return GetGUIThreadInfo(ui, &gi) && gi.hwndCapture == w;
    })) << "the drag holds the mouse";
  }
  // The drag ended once, where the thumb was, and the control is scrolled there.
  void ExpectEndedOnceAtTheThumb(HWND w, bool windowGone = false) {
    EXPECT_FALSE(skinner->Tracking());
    EXPECT_EQ(log.Positions.load(), 1);
    EXPECT_EQ(log.Ends.load(), 1);
    // The drag moved the thumb (the last track itself can be back at 0: under load, Wine can
    // deliver a pointer motion from before the move late, and the thumb rightly follows it).
    EXPECT_GT(log.Tracks.load(), 0);
    EXPECT_EQ(log.Position.load(), log.LastTrack.load());
    if (windowGone) return;
    EXPECT_EQ(GetScrollPos(w, SB_VERT), log.LastTrack.load());
    EXPECT_NE(GetCapture(), w);
  }
  TColor Screen(HWND w, int x, int y) { return ScreenPixel(w, x, y); }
  // A skin image's pixel at a relative place of one frame.
  static TColor FramePixel(const TDataSkinObject& e, int frames, int k, double fx, double fy) {
    int fw = e.Bitmap.Width() / frames;
    return e.Bitmap.Pixel((k - 1) * fw + static_cast<int>(fw * fx), static_cast<int>(e.Bitmap.Height() * fy));
  }
  TForm* form = nullptr;
  TSkinScrollBar* skinner = nullptr;
  TScrollLog log;
};

TEST_F(SkinScroll, ArrowsTrackAndThumbShowTheSkinNormalAndPressed) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  const TSkinElements& s = gSkin->Skin;
  RECT v = skinner->VertRect();
  int a = skinner->Geometry(1).ArrowLength;
  auto arrowAt = [&](int top) { return Screen(w, v.left + (v.right - v.left) * 3 / 10, top + a / 2); };
  EXPECT_EQ(arrowAt(v.top), FramePixel(*s.Scrollbar, 23, 9, 0.3, 0.5)) << "up arrow";
  EXPECT_EQ(arrowAt(v.bottom - a), FramePixel(*s.Scrollbar, 23, 13, 0.3, 0.5)) << "down arrow";
  EXPECT_EQ(Screen(w, (v.left + v.right) / 2, v.bottom - a - 3), FramePixel(*s.VertScroll, 4, 1, 0.5, 0.5))
      << "track";
  POINT thumb = ThumbCentre(w);
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(Screen(w, thumb.x - wr.left, thumb.y - wr.top), FramePixel(*s.VertScrollThumb, 3, 1, 0.5, 0.5));
  // The scroll messages show their part pressed until the end of the scroll.
  SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(skinner->ActivePart(), spDownArrow);
  EXPECT_EQ(arrowAt(v.bottom - a), FramePixel(*s.Scrollbar, 23, 14, 0.3, 0.5)) << "down arrow pressed";
  SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 0);
  thumb = ThumbCentre(w);
  EXPECT_EQ(Screen(w, thumb.x - wr.left, thumb.y - wr.top), FramePixel(*s.VertScrollThumb, 3, 2, 0.5, 0.5))
      << "thumb pressed";
  SendMessageA(w, WM_VSCROLL, SB_ENDSCROLL, 0);
  EXPECT_EQ(skinner->ActivePart(), spNone);
  EXPECT_EQ(arrowAt(v.bottom - a), FramePixel(*s.Scrollbar, 23, 13, 0.3, 0.5));
  // The horizontal bar's arrows.
  RECT h = skinner->HorzRect();
  EXPECT_EQ(Screen(w, h.left + a * 3 / 10, (h.top + h.bottom) / 2),
            FramePixel(*s.Scrollbar, 23, 1, 0.3, 0.5));
}

TEST_F(SkinScroll, BothBarsLeaveTheCornerInTheFaceColour) {
  TMemo* m = NewMemo();
  RECT c = skinner->CornerRect();
  ASSERT_FALSE(IsRectEmpty(&c));
  EXPECT_EQ(Screen(m->Handle(), (c.left + c.right) / 2, (c.top + c.bottom) / 2),
            ColorToRGB(gSkin->Skin.ColourButtonFace));
}

TEST_F(SkinScroll, TheBarOnTheLeftPutsTheCornerLeft) {
  TMemo* m = NewMemo(WS_EX_LEFTSCROLLBAR);
  RECT v = skinner->VertRect(), h = skinner->HorzRect(), c = skinner->CornerRect();
  EXPECT_LT(v.left, 5);
  EXPECT_EQ(h.left, v.right);
  EXPECT_EQ(c.left, v.left);
  int a = skinner->Geometry(1).ArrowLength;
  EXPECT_EQ(Screen(m->Handle(), v.left + (v.right - v.left) * 3 / 10, v.top + a / 2),
            FramePixel(*gSkin->Skin.Scrollbar, 23, 9, 0.3, 0.5));
}

TEST_F(SkinScroll, WhileTheControlScrollsItsBarIsLeftAloneAndDrawnRightAfter) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  RECT v = skinner->VertRect();
  int x = (v.left + v.right) / 2, y = v.bottom - skinner->Geometry(1).ArrowLength - 3;
  const COLORREF marker = RGB(1, 200, 3);
  COLORREF during = 0;
  log.OnVScroll = [&](TMessage&) {
    HDC dc = GetWindowDC(w);
    SetPixel(dc, x, y, marker);
    ReleaseDC(w, dc);
    skinner->PaintNow(nullptr);  // what a non-client repaint adds after the system's painting
    during = GetPixel(GetWindowDC(w), x, y);
  };
  SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
  log.OnVScroll = nullptr;
  EXPECT_EQ(during, marker);
  EXPECT_EQ(Screen(w, x, y), FramePixel(*gSkin->Skin.VertScroll, 4, 1, 0.5, 0.5));
}

TEST_F(SkinScroll, AClientPaintLeavesTheBarsAsTheyAre) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  RECT v = skinner->VertRect();
  int x = (v.left + v.right) / 2, y = v.bottom - skinner->Geometry(1).ArrowLength - 3;
  const COLORREF marker = RGB(1, 200, 3);
  HDC dc = GetWindowDC(w);
  SetPixel(dc, x, y, marker);
  ReleaseDC(w, dc);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(Screen(w, x, y), marker);
}

TEST_F(SkinScroll, ABarTheControlMovesWhileItPaintsIsDrawnFromTheSkin) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  log.OnPaint = [&](TMessage&) { SetScrollPos(w, SB_VERT, 100, TRUE); };
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  log.OnPaint = nullptr;
  ASSERT_EQ(GetScrollPos(w, SB_VERT), 100);
  POINT thumb = ThumbCentre(w);
  RECT wr{};
  GetWindowRect(w, &wr);
  EXPECT_EQ(Screen(w, thumb.x - wr.left, thumb.y - wr.top),
            FramePixel(*gSkin->Skin.VertScrollThumb, 3, 1, 0.5, 0.5));
}

TEST_F(SkinScroll, ArrowAndTrackClicksScrollAsTheSystemDoes) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  RECT wr{}, v = skinner->VertRect();
  GetWindowRect(w, &wr);
  int x = wr.left + (v.left + v.right) / 2, a = skinner->Geometry(1).ArrowLength;
  Run([&] {
    Mouse(x, wr.top + v.bottom - a / 2);
    Mouse(x, wr.top + v.bottom - a / 2, MOUSEEVENTF_LEFTDOWN);
    Mouse(x, wr.top + v.bottom - a / 2, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return GetScrollPos(w, SB_VERT) >= 1; })) << "a line down";
  });
  int pos = GetScrollPos(w, SB_VERT);
  Run([&] {
    Mouse(x, wr.top + v.bottom - a - 4);
    Mouse(x, wr.top + v.bottom - a - 4, MOUSEEVENTF_LEFTDOWN);
    Mouse(x, wr.top + v.bottom - a - 4, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return GetScrollPos(w, SB_VERT) >= pos + static_cast<int>(si.nPage) - 1; }))
        << "a page down";
  });
  EXPECT_EQ(log.Tracks.load(), 0) << "no drag of the thumb";
}

TEST_F(SkinScroll, AListViewsHeaderGetsItsOwnSkinner) {
  auto* lv = new TListView(form);
  lv->SetParent(form);
  lv->SetViewStyle(vsReport);
  lv->Columns()->Add("Name=80");
  lv->SetBounds(260, 10, 180, 120);
  auto* s = new TSkinListView(nullptr);
  s->AttachControl(lv, gSkin, false, nullptr);
  ASSERT_NE(s->Header(), nullptr);
  EXPECT_EQ(s->Header()->Handle(), lv->HeaderHandle());
  EXPECT_FALSE(s->TrackThumb()) << "list views keep the system's drag";
  delete s;  // without an owner of its own, the list view's skinner frees its header's skinner
}

TEST_F(SkinScroll, ScrollBarControlWithAWholePageFillsTheTrackLessOnePixel) {
  auto* bar = new TScrollBar(form);
  bar->SetParent(form);
  bar->SetKind(sbVertical);
  bar->SetBounds(300, 10, 17, 200);
  bar->SetMax(99);
  bar->SetPageSize(100);
  auto* s = new TSkinScControl(nullptr);
  s->AttachControl(bar, gSkin, false, nullptr);
  RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(s->Geometry().ThumbOffset, 0);
  EXPECT_EQ(s->Geometry().ThumbLength, s->Geometry().TrackLength - 1);
  delete s;
}

TEST_F(SkinScroll, DraggingTheThumbScrollsAndStopsAtTheLastPage) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  int last = si.nMax - static_cast<int>(si.nPage) + 1;
  POINT p = ThumbCentre(w);
  Run([&] {
    PressThumb(w, p);
    for (int dy = 4; dy <= 40; dy += 4) Mouse(p.x, p.y + dy);
    EXPECT_TRUE(MoveUntil(p.x, p.y + 40, [&] { return log.LastTrack.load() > 0; }));
    EXPECT_GT(SendMessageA(w, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled while dragging";
    EXPECT_TRUE(MoveUntil(p.x, p.y + 400, [&] { return log.LastTrack.load() == last; })) << "past the end";
    EXPECT_TRUE(MoveUntil(p.x, p.y - 400, [&] { return log.LastTrack.load() == 0; })) << "before the start";
    EXPECT_TRUE(MoveUntil(p.x, p.y + 400, [&] { return log.LastTrack.load() == last; }));
    Mouse(p.x, p.y + 400, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return log.Ends.load() > 0; }));
  });
  EXPECT_EQ(log.LastTrack.load(), last) << "maximum - page + 1";
  ExpectEndedOnceAtTheThumb(w);
  EXPECT_EQ(SendMessageA(w, EM_GETFIRSTVISIBLELINE, 0, 0), last);
}

TEST_F(SkinScroll, WithoutAPageTheDragStopsAtTheMaximum) {
  TMemo* m = NewMemo();
  HWND w = m->Handle();
  SCROLLINFO si{sizeof si, SIF_PAGE | SIF_RANGE, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  int max = si.nMax;
  si.fMask = SIF_PAGE;
  si.nPage = 0;
  SetScrollInfo(w, SB_VERT, &si, FALSE);
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  POINT p = ThumbCentre(w);
  Run([&] {
    PressThumb(w, p);
    EXPECT_TRUE(MoveUntil(p.x, p.y + 400, [&] { return log.LastTrack.load() == max; }));
    Mouse(p.x, p.y + 400, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitFor([&] { return log.Ends.load() > 0; }));
  });
  EXPECT_EQ(log.LastTrack.load(), max);
}

// Every way a drag can end: once, with the control left where the thumb was.
class DragEnding : public SkinScroll {
 protected:
  void Drag(const std::function<void(HWND, POINT)>& end) {
    m = NewMemo();
    HWND w = m->Handle();
    POINT p = ThumbCentre(w);
    Run([&] {
      PressThumb(w, p);
      EXPECT_TRUE(MoveUntil(p.x, p.y + 30, [&] { return log.LastTrack.load() > 0; }));
      end(w, p);
      EXPECT_TRUE(WaitFor([&] { return log.Ends.load() > 0; }));
    });
  }
  TMemo* m = nullptr;
};

TEST_F(DragEnding, ReleasedOutsideTheWindow) {
  Drag([](HWND, POINT p) {
    Mouse(p.x + 300, p.y + 30);
    Mouse(p.x + 300, p.y + 30, MOUSEEVENTF_LEFTUP);
  });
  ExpectEndedOnceAtTheThumb(m->Handle());
}

TEST_F(DragEnding, CaptureTakenAway) {
  HWND other = AppWindow();
  gOnApp = [other] { SetCapture(other); };
  Drag([&](HWND, POINT p) {
    PostMessageA(other, WM_APP, 0, 0);
    WaitFor([&] { return log.Ends.load() > 0; });
    Mouse(p.x, p.y + 30, MOUSEEVENTF_LEFTUP);
  });
  ReleaseCapture();
  ExpectEndedOnceAtTheThumb(m->Handle());
}

TEST_F(DragEnding, Escape) {
  Drag([](HWND w, POINT) { PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0); });
  ExpectEndedOnceAtTheThumb(m->Handle());
  Run([] {
    POINT p{};
    GetCursorPos(&p);
    Mouse(p.x, p.y, MOUSEEVENTF_LEFTUP);
  });
  EXPECT_EQ(log.Ends.load(), 1) << "the button-up after Esc ends nothing more";
}

TEST_F(DragEnding, WindowDestroyed) {
  gOnApp = [this] { m->DestroyHandle(); };
  Drag([](HWND, POINT) { PostMessageA(AppWindow(), WM_APP, 0, 0); });
  EXPECT_FALSE(m->HandleAllocated());
  ExpectEndedOnceAtTheThumb(nullptr, true);
  Run([] {
    POINT p{};
    GetCursorPos(&p);
    Mouse(p.x, p.y, MOUSEEVENTF_LEFTUP);
  });
}

TEST_F(DragEnding, QuitMessageEndsTheDragAndIsPostedAgain) {
  DWORD ui = GetCurrentThreadId();
  Drag([&](HWND, POINT) { PostThreadMessageA(ui, WM_QUIT, 7, 0); });
  ExpectEndedOnceAtTheThumb(m->Handle());
  Run([] {
    POINT p{};
    GetCursorPos(&p);
    Mouse(p.x, p.y, MOUSEEVENTF_LEFTUP);
  });
  EXPECT_TRUE(gQuit == 7) << "posted again for the loop outside";
}

}  // namespace
