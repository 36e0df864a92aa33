// Scroll-bar skinner timings under Wine (ratios in one run): the non-client paint of a memo with
// both bars, skinned against plain; during a thumb drag of a 10 000-line memo, the time each
// move takes to the repainted bar and content (the scroll info, the scroll message, the paint),
// skinned against plain in turn, median and worst of 1500; and the drag's CPU time while the
// mouse is still.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "bench/WinBench.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/WinSubClassScroll.h"

namespace {

double Micros(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

TMemo* NewMemo(TForm* form, int lines) {
  auto* m = new TMemo(form);
  m->SetScrollBars(ssBoth);
  m->SetWordWrap(false);
  m->SetParent(form);
  m->SetBounds(10, 10, 300, 200);
  std::string text;
  text.reserve(static_cast<std::size_t>(lines) * 40);
  for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + " of the bench memo, long enough\r\n";
  m->SetText(text);
  return m;
}

double NcPaint(HWND w) {
  auto a = std::chrono::steady_clock::now();
  RedrawWindow(w, nullptr, nullptr,
               RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
  return Micros(std::chrono::steady_clock::now() - a);
}

// What one mouse move of a drag costs: the new position, the scroll message, the repaint. Move
// i of 500 goes to the same share of the range in either memo.
double DragMove(HWND w, int i) {
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &si);
  int pos = si.nMin + i * (si.nMax - static_cast<int>(si.nPage)) / 500;
  auto a = std::chrono::steady_clock::now();
  SCROLLINFO p{sizeof p, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(w, SB_VERT, &p, FALSE);
  SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, pos & 0xFFFF), 0);
  UpdateWindow(w);
  GdiFlush();
  return Micros(std::chrono::steady_clock::now() - a);
}

// Three drags down the whole range, the two memos' moves in turn (which goes first alternates),
// so that a neighbour's load falls on both sides of each pair.
void DragMoves(HWND plain, HWND skinned, std::vector<double>& p, std::vector<double>& q) {
  for (int pass = 0; pass < 3; ++pass)
    for (int i = 1; i <= 500; ++i) {
      if (i % 2) {
        p.push_back(DragMove(plain, i));
        q.push_back(DragMove(skinned, i));
      } else {
        q.push_back(DragMove(skinned, i));
        p.push_back(DragMove(plain, i));
      }
      bench::Pump();
    }
}

double ThreadCpuMs(HANDLE thread) {
  FILETIME c, e, k, u;
  GetThreadTimes(thread, &c, &e, &k, &u);
  auto v = [](FILETIME f) {
    return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  return static_cast<double>(v(k) + v(u)) / 10000.0;
}

}  // namespace

int main() {
  Application->Initialize();
  std::ifstream in(DASKEL_BINARY_DIR "/skins/default.skn", std::ios::binary);
  std::string package((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string value(4, '\0');
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((package.size() >> (8 * i)) & 0xFF);
  TMemoryStream s;
  s.LoadFromBytes(value + package);
  TSkinData data(nullptr);
  data.ReadSkinStream(s);

  auto* form = new TForm(Application);
  form->InitializeForm();
  form->SetClientWidth(640);
  form->SetClientHeight(240);
  form->Show();
  TMemo* plain = NewMemo(form, 10000);
  TMemo* skinned = NewMemo(form, 10000);
  skinned->SetLeft(320);
  auto* skinner = new TSkinScrollBar(nullptr);
  skinner->AttachScrollBars(skinned, &data, true, nullptr);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

  bench::Report("memo non-client paint", bench::Compare([&] { return NcPaint(plain->Handle()); },
                                                        [&] { return NcPaint(skinned->Handle()); }));
  // Pairs of moves: the plain memo's i-th move beside the skinned memo's i-th move.
  std::vector<double> p, q;
  DragMoves(plain->Handle(), skinned->Handle(), p, q);
  bench::Report("drag move (10000 lines)", bench::Ratios(p, q));
  std::printf("drag move worst (us): plain %.1f, skinned %.1f\n", *std::max_element(p.begin(), p.end()),
              *std::max_element(q.begin(), q.end()));

  // A real drag of the skinned memo's thumb, held still for a second: the loop's CPU time.
  RECT wr{};
  GetWindowRect(skinned->Handle(), &wr);
  const RECT& v = skinner->VertRect();
  const TBarGeometry& g = skinner->Geometry(1);
  int x = wr.left + (v.left + v.right) / 2,
      y = wr.top + v.top + g.ArrowLength + g.ThumbOffset + g.ThumbLength / 2;
  auto mouse = [](int mx, int my, DWORD flags) {
    INPUT i{};
    i.type = INPUT_MOUSE;
    i.mi.dx = mx * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    i.mi.dy = my * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    SendInput(1, &i, sizeof i);
  };
  HANDLE ui = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &ui, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  double still = -1;
  bool dragging = false;
  std::thread input([&] {
    mouse(x, y, 0);
    Sleep(50);
    mouse(x, y, MOUSEEVENTF_LEFTDOWN);
    Sleep(200);
    mouse(x, y + 20, 0);
    Sleep(100);
    dragging = skinner->Tracking();
    double c0 = ThreadCpuMs(ui);
    Sleep(1000);  // the mouse is still: the drag's loop waits
    still = ThreadCpuMs(ui) - c0;
    mouse(x, y + 20, MOUSEEVENTF_LEFTUP);
  });
  auto until = GetTickCount() + 2500;
  while (GetTickCount() < until) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    else
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  input.join();
  CloseHandle(ui);
  std::printf("CPU time of the UI thread during 1000 ms of a still drag (ms): %.1f (drag running: %s)\n",
              still, dragging ? "yes" : "no");
  delete skinner;
  form->Free();
  return 0;
}
