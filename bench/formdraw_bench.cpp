// Building skin images at typical frame sizes: a title bar strip, a window's side border, a
// button face (stretched and tiled centre), a menu bar three-slice, and the region of a border.
#include <benchmark/benchmark.h>

#include "skin/paint/SkinDraw.h"

namespace {

TBitmap Strip(int w, int h) {
  TBitmap b(w, h, pf24bit);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGBColor(x * 7, y * 13, (x ^ y) & 0xFF));
  return b;
}

// Title bar: two stacked frames of 120 x 30, built at 640 x 30.
void BM_NineSliceTitle(benchmark::State& state) {
  TBitmap image = Strip(120, 60);
  for (auto _ : state) {
    TBitmap b = BuildNineSlice({0, 0, 640, 30}, image, {40, 6, 60, 4}, true, state.range(0) != 0, 2, 1);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * 640 * 30);
}
BENCHMARK(BM_NineSliceTitle)->Arg(0)->Arg(1);

// Left border: 4 x 60 image, built at 4 x 480.
void BM_NineSliceBorder(benchmark::State& state) {
  TBitmap image = Strip(8, 60);
  for (auto _ : state) {
    TBitmap b = BuildNineSlice({0, 0, 4, 480}, image, {0, 20, 0, 20}, true, false, 2, 1);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * 4 * 480);
}
BENCHMARK(BM_NineSliceBorder);

// Button face: 5 frames of 40 x 22, built at 75 x 25, centre stretched or tiled.
void BM_NineSliceButton(benchmark::State& state) {
  TBitmap image = Strip(200, 22);
  for (auto _ : state) {
    TBitmap b = BuildNineSlice({0, 0, 75, 25}, image, {4, 4, 4, 4}, false, state.range(0) != 0, 5, 2);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}
BENCHMARK(BM_NineSliceButton)->Arg(0)->Arg(1);

void BM_ThreeSliceMenuBar(benchmark::State& state) {
  TBitmap image = Strip(60, 40);
  for (auto _ : state) {
    TBitmap b = BuildThreeSlice({0, 0, 640, 20}, image, {10, 0, 10, 0}, true, 2, 1);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}
BENCHMARK(BM_ThreeSliceMenuBar);

// Region runs of a 640 x 30 title bar with magenta rounded corners.
void BM_OpaqueRunsTitle(benchmark::State& state) {
  TBitmap image = Strip(640, 30);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5 - y; ++x) {
      image.SetPixel(x, y, clFuchsia);
      image.SetPixel(639 - x, y, clFuchsia);
    }
  for (auto _ : state) benchmark::DoNotOptimize(OpaqueRuns(image, 0, 0, 1, 1, 1, clFuchsia));
  state.SetItemsProcessed(state.iterations() * 640 * 30);
}
BENCHMARK(BM_OpaqueRunsTitle);

}  // namespace
