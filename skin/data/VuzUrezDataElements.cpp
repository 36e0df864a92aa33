#include "skin/data/VuzUrezDataElements.h"

#include "skin/data/IniReader.h"

TSkinElements::TSkinElements()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

TColor ParseColourText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  std::int32_t rgb[3] = {0, 0, 0};
  int index = 1;
  std::string run;
  // A run that does not fit a 32-bit integer is not taken and keeps growing, as the
  // conversion that refuses it leaves everything as it was.
  auto take = [&]() {
    std::int32_t v;
    if (!ParseIniInteger(run, v) || v < 0) return;
    if (index <= 3) rgb[index - 1] = v;
    ++index;
    run.clear();
  };
  for (char c : text) {
    if (c >= '0' && c <= '9')
      run.push_back(c);
    else if (!run.empty())
      take();
  }
  if (index == 3 && !run.empty()) take();
  return RGBColor(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
}
