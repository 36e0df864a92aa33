// LZH decode throughput against the plain transcription, on the packed default skin and on
// 4 MiB of mixed data, and the whole load of the default skin. Reports; never fails.
//
// High DPI: the load of the default skin as built (every image with its 2x twin) against the same
// skin without the twins, the load a program makes (twins left packed until asked for) and that
// load with the twins asked for, and the making of its scaled-image cache at 120, 144 and 192 DPI
// against that load. Compare the pairs within one run (tools/build bench, then
// build/bench/bench/bench_skin --benchmark_filter='Load|ScaledCache').
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "bench/LzhBaseline.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezDataRead.h"
#include "skin/paint/SkinScale.h"
#include "tools/skintool/LzhEncode.h"
#include "tools/skintool/SkinPack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes& DefaultSkin() {
  static const Bytes stored = [] {
    std::ifstream in(DASKEL_BINARY_DIR "/skins/default.skn", std::ios::binary);
    Bytes b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.empty()) {
      std::fprintf(stderr, "bench: build the skins first (%s)\n", DASKEL_BINARY_DIR "/skins/default.skn");
      std::exit(1);
    }
    return b;
  }();
  return stored;
}

// 4 MiB of mixed content: text-like runs of words, repeats near and far, image-like rows and
// incompressible noise, in blocks.
const Bytes& Mixed() {
  static const Bytes stored = [] {
    std::mt19937 rng(12345);
    const char* words[] = {"skin ",       "frame ", "button ", "caption ", "border ",
                           "0x00FF00FF ", "\r\n",   "= ",      "[Tabs]"};
    Bytes raw;
    while (raw.size() < (4u << 20)) {
      switch (rng() % 4) {
        case 0:
          for (int i = 0; i < 400; ++i) {
            const char* w = words[rng() % 9];
            raw.insert(raw.end(), w, w + std::char_traits<char>::length(w));
          }
          break;
        case 1: {
          std::uint8_t c[3] = {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng())};
          for (int i = 0; i < 1500; ++i) raw.insert(raw.end(), c, c + 3);
          break;
        }
        case 2:
          for (int i = 0; i < 2000; ++i) raw.push_back(static_cast<std::uint8_t>(rng()));
          break;
        default:
          if (raw.size() > 5000) {
            std::size_t from = raw.size() - 1 - rng() % 4000;
            for (int i = 0; i < 3000; ++i) raw.push_back(raw[from + i % 700]);
          }
      }
    }
    raw.resize(4u << 20);
    Bytes out;
    LzhEncodeStored(raw.data(), raw.size(), out);
    return out;
  }();
  return stored;
}

void Check(const Bytes& stored) {
  Bytes fast;
  LzhDecodeStored(stored.data(), stored.size(), fast);
  if (fast != baseline::DecodeStored(stored.data(), stored.size())) {
    std::fprintf(stderr, "bench: the decoders disagree\n");
    std::exit(1);
  }
}

void Decode(benchmark::State& state, const Bytes& stored) {
  Check(stored);
  Bytes out;
  for (auto _ : state) {
    out.clear();
    LzhDecodeStored(stored.data(), stored.size(), out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(out.size()));
}

void DecodeBaseline(benchmark::State& state, const Bytes& stored) {
  std::size_t size = 0;
  for (auto _ : state) {
    Bytes out = baseline::DecodeStored(stored.data(), stored.size());
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}

void BM_LzhDefaultSkin(benchmark::State& s) { Decode(s, DefaultSkin()); }
void BM_LzhDefaultSkinBaseline(benchmark::State& s) { DecodeBaseline(s, DefaultSkin()); }
void BM_LzhMixed4MiB(benchmark::State& s) { Decode(s, Mixed()); }
void BM_LzhMixed4MiBBaseline(benchmark::State& s) { DecodeBaseline(s, Mixed()); }

// Stored bytes to a filled element model: decode, index, description, every image.
void BM_LoadDefaultSkin(benchmark::State& state) {
  const Bytes& stored = DefaultSkin();
  for (auto _ : state) {
    TSkinElements skin;
    if (LoadSkinPackage(stored.data(), stored.size(), skin) != TPackageStatus::Ok)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(skin.Title.get());
  }
}

// The default skin as an older one: no @2x member and no @2x key.
const Bytes& DefaultSkinWithoutTwins() {
  static const Bytes stored = [] {
    TSkinReader reader;
    if (reader.LoadPackage(DefaultSkin().data(), DefaultSkin().size()) != TPackageStatus::Ok) std::exit(1);
    std::vector<TPackMember> members;
    for (std::size_t i = 0; i < reader.Count(); ++i) {
      const std::string& name = reader.Names()[i];
      if (name.find("@2x") != std::string::npos) continue;
      auto data = reader.Member(i);
      Bytes bytes(data.begin(), data.end());
      if (name.ends_with(".ini")) {
        std::string text(bytes.begin(), bytes.end()), kept;
        for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
          end = std::min(text.find('\n', at), text.size());
          if (text.find("@2x", at) >= end) kept += text.substr(at, end - at + 1);
        }
        bytes.assign(kept.begin(), kept.end());
      }
      members.push_back({name, bytes});
    }
    return BuildStoredPackage(members);
  }();
  return stored;
}

void Load(benchmark::State& state, const Bytes& stored, THighResLoad highRes = THighResLoad::Now) {
  for (auto _ : state) {
    TSkinElements skin;
    if (LoadSkinPackage(stored.data(), stored.size(), skin, nullptr, nullptr, highRes) != TPackageStatus::Ok)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(skin.Title.get());
  }
  state.counters["stored bytes"] = static_cast<double>(stored.size());
}
void BM_LoadDefaultSkinWithTwins(benchmark::State& s) { Load(s, DefaultSkin()); }
void BM_LoadDefaultSkinWithoutTwins(benchmark::State& s) { Load(s, DefaultSkinWithoutTwins()); }
// As a program loads it: the twins stay packed until a window at 150 % or more asks for them.
void BM_LoadDefaultSkinTwinsWhenAsked(benchmark::State& s) {
  Load(s, DefaultSkin(), THighResLoad::WhenAsked);
}
// That load followed by the first request for the twins.
void BM_LoadDefaultSkinTwinsAsked(benchmark::State& state) {
  const Bytes& stored = DefaultSkin();
  for (auto _ : state) {
    TSkinElements skin;
    if (LoadSkinPackage(stored.data(), stored.size(), skin, nullptr, nullptr, THighResLoad::WhenAsked) !=
            TPackageStatus::Ok ||
        !LoadHighResImages(skin))
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(skin.Title.get());
  }
}

// Making every scaled image of the default skin once, as a window at that DPI would on its first
// paint; reports the pixel memory the cache then holds.
void BM_ScaledCache(benchmark::State& state) {
  const Bytes& stored = DefaultSkin();
  TSkinElements skin;
  if (LoadSkinPackage(stored.data(), stored.size(), skin) != TPackageStatus::Ok)
    state.SkipWithError("load failed");
  std::size_t bytes = 0, images = 0;
  for (auto _ : state) {
    TScaledSkinImages cache({static_cast<int>(state.range(0))});
    cache.Prepare(skin);
    bytes = cache.Bytes();
    images = cache.Count();
  }
  state.counters["cache bytes"] = static_cast<double>(bytes);
  state.counters["images"] = static_cast<double>(images);
}

// One paint's composition at a DPI, from the skin's images at that DPI as the cache holds them
// (made before the timing: a paint never scales): a 75 x 23 push button's face and a 400-pixel
// window's title strip and 300-pixel left border, all 96-DPI sizes scaled. The time should follow
// the pixel count: 2.25 times the 96-DPI one at 144, 4 times at 192.
void BM_PaintAtDpi(benchmark::State& state) {
  const Bytes& stored = DefaultSkin();
  TSkinElements skin;
  if (LoadSkinPackage(stored.data(), stored.size(), skin) != TPackageStatus::Ok)
    state.SkipWithError("load failed");
  const TSkinScale scale{static_cast<int>(state.range(0))};
  TScaledSkinImages cache(scale);
  cache.Prepare(skin);
  auto margins = [](const TDataSkinObject& e) {
    return TMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
  };
  const TDataSkinObject& face = *skin.Buttons;
  const TDataSkinBorder &top = *skin.BorderTop, &left = *skin.BorderLeft;
  const int titleHeight = top.Bitmap.Height() / top.Frames(), borderWidth = left.FrameWidth();
  const TBitmap& faceImage = cache.Get(face.Bitmap, face.Bitmap2x, {5, false, margins(face)});
  const TBitmap& topImage = cache.Get(top.Bitmap, top.Bitmap2x, {top.Frames(), true, margins(top)});
  const TBitmap& leftImage = cache.Get(left.Bitmap, left.Bitmap2x, {left.Frames(), false, margins(left)});
  std::int64_t pixels = 0;
  for (auto _ : state) {
    TBitmap b = BuildNineSlice({0, 0, scale.Length(75), scale.Length(23)}, faceImage,
                               ScaleMargins(margins(face), scale), false, face.Tile != 0, 5, 1);
    TBitmap t = BuildNineSlice({0, 0, scale.Length(400), scale.Length(titleHeight)}, topImage,
                               ScaleMargins(margins(top), scale), true, top.Tile != 1, top.Frames(), 1);
    TBitmap l = BuildNineSlice({0, 0, scale.Length(borderWidth), scale.Length(300)}, leftImage,
                               ScaleMargins(margins(left), scale), false, left.Tile != 1, left.Frames(), 1);
    benchmark::DoNotOptimize(b.ScanLine(0));
    benchmark::DoNotOptimize(t.ScanLine(0));
    benchmark::DoNotOptimize(l.ScanLine(0));
    pixels = static_cast<std::int64_t>(b.Width()) * b.Height() +
             static_cast<std::int64_t>(t.Width()) * t.Height() +
             static_cast<std::int64_t>(l.Width()) * l.Height();
  }
  state.counters["pixels"] = static_cast<double>(pixels);
}

BENCHMARK(BM_LzhDefaultSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LzhDefaultSkinBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LzhMixed4MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhMixed4MiBBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDefaultSkin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDefaultSkinWithTwins)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDefaultSkinWithoutTwins)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDefaultSkinTwinsWhenAsked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDefaultSkinTwinsAsked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScaledCache)->Arg(120)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintAtDpi)->Arg(96)->Arg(144)->Arg(192)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
