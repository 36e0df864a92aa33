// What the Windows timing programs share: a skin package file made into a skin data component,
// the message pump, a microsecond clock, one forced paint, medians, and plain-against-skinned
// ratios measured in turns.
//
// Why in turns: these machines are shared, and a neighbour's load that falls on a block of plain
// samples but not on the skinned block moves a ratio by more than any change we make. Timing the
// two one after the other, pair by pair, and taking the median of the per-pair ratios lets the
// load fall on both sides of each pair alike.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/VuzUrezData.h"

namespace bench {

// The stored property's bytes for a package file: its 4-byte size, then the package.
inline std::string SkinValue(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string package((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string value(4, '\0');
  for (int i = 0; i < 4; ++i)
    value[static_cast<std::size_t>(i)] = static_cast<char>((package.size() >> (8 * i)) & 0xFF);
  return value + package;
}

// A skin data component made as a layout makes it: stored values, the stream, then Loaded.
inline TSkinData* LoadSkin(const std::string& path, TSkinFormType kind = sfOnlyThisForm,
                           bool active = false) {
  auto* d = new TSkinData(nullptr);
  d->SetState(csLoading | csReading);
  d->SetSkinFormtype(kind);
  d->SetActive(active);
  TMemoryStream s;
  s.LoadFromBytes(SkinValue(path));
  d->ReadSkinStream(s);
  d->ClearState(csLoading | csReading);
  d->Loaded();
  return d;
}

// Runs what is queued now.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Pumps until done() holds; false after timeoutMs.
template <class F>
bool PumpUntil(F done, DWORD timeoutMs = 2000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

inline LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

inline double Microseconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  static const LARGE_INTEGER f = [] {
    LARGE_INTEGER q;
    QueryPerformanceFrequency(&q);
    return q;
  }();
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

// One forced, synchronous paint of the window's area r (the whole window when r is null); extra
// adds RedrawWindow flags (RDW_FRAME, RDW_ALLCHILDREN).
inline double PaintOnce(HWND h, const RECT* r = nullptr, UINT extra = 0) {
  LARGE_INTEGER a = Now();
  RedrawWindow(h, r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | extra);
  GdiFlush();
  return Microseconds(a, Now());
}

inline double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The ratio skinned / plain of samples taken in pairs (plain[i] beside skinned[i]): the median of
// the per-pair ratios and its spread, and the medians of each side for reference.
struct TRatio {
  double Median = 0, P25 = 0, P75 = 0;
  double Plain = 0, Skinned = 0;  // medians of each side, microseconds
  std::size_t Pairs = 0;
};

inline TRatio Ratios(const std::vector<double>& plain, const std::vector<double>& skinned) {
  std::vector<double> r;
  for (std::size_t i = 0; i < plain.size() && i < skinned.size(); ++i)
    if (plain[i] > 0) r.push_back(skinned[i] / plain[i]);
  return {Median(r), Percentile(r, 0.25), Percentile(r, 0.75), Median(plain), Median(skinned), r.size()};
}

// The shortest of `tries` runs of f, the queue drained between them: a neighbour's load only
// lengthens a run, so the shortest is the one it disturbed least.
template <class F>
double Shortest(F& f, int tries) {
  double best = f();
  for (int i = 1; i < tries; ++i) {
    Pump();
    best = std::min(best, f());
  }
  return best;
}

// Times `plain` and `skinned` (each returns its own time in microseconds) in pairs, the order
// within a pair alternating so that neither side always runs warm, the queue drained after each
// pair (outside the timing), in several rounds after a warm-up. Each side of a pair is the
// shortest of `tries` runs.
template <class P, class S>
TRatio Compare(P&& plain, S&& skinned, int samples = 300, int rounds = 3, int warmup = 20, int tries = 3) {
  for (int i = 0; i < warmup; ++i) plain(), skinned();
  std::vector<double> a, b;
  for (int r = 0; r < rounds; ++r) {
    for (int i = 0; i < samples / rounds; ++i) {
      if (i % 2 == 0) {
        a.push_back(Shortest(plain, tries));
        b.push_back(Shortest(skinned, tries));
      } else {
        b.push_back(Shortest(skinned, tries));
        a.push_back(Shortest(plain, tries));
      }
      Pump();
    }
  }
  return Ratios(a, b);
}

// One result, as a line for people and as a tab-separated "ratio" line that tools/bench reads.
inline void Report(const char* name, const TRatio& r) {
  std::printf("%-40s plain %9.1f us  skinned %9.1f us  ratio %5.2f (%.2f-%.2f, %zu pairs)\n", name, r.Plain,
              r.Skinned, r.Median, r.P25, r.P75, r.Pairs);
  std::printf("ratio\t%s\t%.3f\t%.3f\t%.3f\n", name, r.Median, r.P25, r.P75);
  std::fflush(stdout);
}

}  // namespace bench
