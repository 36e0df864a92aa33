#include "skin/data/VuzUrezDataElements.h"

#include <algorithm>

TSkinElements::TSkinElements()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

TColor ParseColourText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  text = text.substr(0, kMaxColourTextLength);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  std::int32_t rgb[3] = {0, 0, 0};
  int index = 1;
  // The run's value is kept as it grows: a run that does not fit a 32-bit integer is not taken
  // and keeps growing (its value can only grow), so each digit is looked at once.
  constexpr std::uint64_t kTooLarge = 0x80000000ull;
  std::uint64_t run = 0;
  bool inRun = false;
  auto take = [&]() {
    if (run >= kTooLarge) return;
    if (index <= 3) rgb[index - 1] = static_cast<std::int32_t>(run);
    ++index;
    run = 0;
    inRun = false;
  };
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      run = std::min<std::uint64_t>(run * 10 + static_cast<unsigned>(c - '0'), kTooLarge);
      inRun = true;
    } else if (inRun) {
      take();
    }
  }
  if (index == 3 && inRun) take();
  return RGBColor(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
}
