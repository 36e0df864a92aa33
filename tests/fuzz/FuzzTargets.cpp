#include "tests/fuzz/FuzzTargets.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "bench/LzhBaseline.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/IniReader.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"
#include "skin/data/VuzUrezDataRead.h"
#include "tools/skintool/SkinPack.h"

namespace fuzz {
namespace {

// What one input may decode: at most 4 KB, and sixteen bytes per input byte. The decoder's
// cost is in what it writes, and a few bytes may declare any length (bits past the input's end
// read as zeros), so without this every run decoded tens of kilobytes twice. The tree rebuild
// after 0x8000 symbols, which needs more output, is the unit test's (lzh_test).
std::int32_t DecodeBudget(std::size_t size) {
  return static_cast<std::int32_t>(std::min<std::size_t>(4 << 10, 16 * size));
}

std::string_view Text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

std::vector<std::uint8_t> Bmp(int w, int h, TPixelFormat f) {
  TBitmap b(w, h, f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, (x * 37 + y * 11) % 3 ? clWhite : clFuchsia);
  std::string s = b.SaveToBmp();
  return {s.begin(), s.end()};
}

// Images every description can name: strips of common sizes.
const TSkinReader& FixedImages() {
  static const TSkinReader reader = [] {
    std::vector<TPackMember> members = {{"a.bmp", Bmp(120, 18, pf24bit)}, {"b.bmp", Bmp(13, 13, pf32bit)},
                                        {"c.bmp", Bmp(1, 1, pf24bit)},    {"d.bmp", Bmp(104, 16, pf24bit)},
                                        {"e.bmp", {'B', 'M', 0, 0}},      {"empty.bmp", {}}};
    TSkinReader r;
    if (r.LoadUnpacked(BuildUnpackedPackage(members)) != TPackageStatus::Ok) std::abort();
    return r;
  }();
  return reader;
}

}  // namespace

int Lzh(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> out;
  if (!LzhDecodeStored(data, size, out, nullptr, DecodeBudget(size))) return 0;
  if (out != baseline::DecodeStored(data, size)) std::abort();  // must match the plain transcription
  return 0;
}

int Package(const std::uint8_t* data, std::size_t size) {
  TSkinReader reader;
  if (reader.LoadUnpacked(std::vector<std::uint8_t>(data, data + size)) != TPackageStatus::Ok) return 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    // A name given twice finds its first member.
    std::size_t first = 0;
    while (reader.Names()[first] != reader.Names()[i]) ++first;
    auto m = reader.FindEntry(reader.Names()[i]);
    if (!m || m->data() != reader.Member(first).data() ||
        m->size() != static_cast<std::size_t>(reader.Size(first)))
      std::abort();
  }
  std::string name;
  if (auto ini = reader.FindEntryContaining(".ini", &name)) {
    TSkinElements skin;
    ReadSkinDescription(skin, TIniReader(Text(ini->data(), ini->size())), reader);
  }
  return 0;
}

int Ini(const std::uint8_t* data, std::size_t size) {
  TIniReader ini(Text(data, size));
  for (const std::string& section : ini.ReadSections()) {
    ini.ReadString(section, "Image");
    ini.ReadInteger(section, "Frame", 0);
  }
  ParseColourText(Text(data, size));
  std::int32_t v;
  ParseIniInteger(Text(data, size), v);
  SplitMemberNames(Text(data, size));
  ImageMemberName(Text(data, size));
  return 0;
}

int Bmp(const std::uint8_t* data, std::size_t size) {
  TBitmap bmp;
  std::string error;
  if (!bmp.LoadFromBmp(data, size, &error)) {
    if (!bmp.Empty() || error.empty()) std::abort();
    return 0;
  }
  if (bmp.Width() * bmp.Height() <= 65536) {
    MirrorHorizontal(bmp);
    RotateClockwise(bmp);
    FlipVertical(bmp);
    RotateCounterClockwise(bmp);
  }
  std::string again = bmp.SaveToBmp();
  TBitmap copy;
  if (!copy.LoadFromBmp(reinterpret_cast<const std::uint8_t*>(again.data()), again.size())) std::abort();
  return 0;
}

int Load(const std::uint8_t* data, std::size_t size) {
  TSkinElements skin;
  std::string error;
  std::vector<std::string> problems;
  TPackageStatus status = LoadSkinPackage(data, size, skin, &error, &problems);
  if ((status == TPackageStatus::Ok) == skin.NoSkin) std::abort();  // a skin is loaded exactly when Ok
  if (status != TPackageStatus::Ok && error.empty()) std::abort();  // a refusal says why
  return 0;
}

int Description(const std::uint8_t* data, std::size_t size) {
  TSkinElements skin;
  std::vector<std::string> problems;
  ReadSkinDescription(skin, TIniReader(Text(data, size)), FixedImages(), &problems);
  if (skin.NoSkin || !skin.Title || skin.SysButtons.size() < 3) std::abort();
  return 0;
}

}  // namespace fuzz
