#include "skin/data/VuzUrezDataElements.h"

#include <algorithm>

TSkinElements::TSkinElements()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")) {}

std::vector<TSkinSlot> SkinSlots(const TSkinElements& s) {
  return {{"Title (TextBack)", s.Title.get(), true},
          {"BorderLeft", s.BorderLeft.get(), false},
          {"BorderRight", s.BorderRight.get(), false},
          {"BorderTop", s.BorderTop.get(), true},
          {"BorderBottom", s.BorderBottom.get(), true},
          {"Buttons", s.Buttons.get(), false},
          {"Tabs", s.Tabs.get(), false},
          {"Progress", s.Progress.get(), false},
          {"MenuBar", s.MenuBar.get(), true},
          {"GroupBoxEdge", s.GroupBoxEdge.get(), false},
          {"Toolbars", s.Toolbars.get(), false},
          {"StatusBarEdges", s.StatusBarEdges.get(), false},
          {"ComboButton", s.ComboButton.get(), false},
          {"SunkEdge", s.SunkEdge.get(), false},
          {"ExtraImages", s.ExtraImages.get(), false},
          {"Headerbar", s.Headerbar.get(), false},
          {"MenuItem", s.MenuItem.get(), false},
          {"MenuBackground", s.MenuBackground.get(), false},
          {"Scrollbar", s.Scrollbar.get(), false},
          {"HorzScroll", s.HorzScroll.get(), false},
          {"VertScroll", s.VertScroll.get(), false},
          {"HorzScrollThumb", s.HorzScrollThumb.get(), false},
          {"VertScrollThumb", s.VertScrollThumb.get(), false},
          {"TrackbarThumbHorz", s.TrackbarThumbHorz.get(), false},
          {"TrackbarThumbVert", s.TrackbarThumbVert.get(), false},
          {"TrackbarThumbLeft", s.TrackbarThumbLeft.get(), false},
          {"TrackbarThumbRight", s.TrackbarThumbRight.get(), false},
          {"TrackbarThumbUp", s.TrackbarThumbUp.get(), false},
          {"TrackbarThumbDown", s.TrackbarThumbDown.get(), false},
          {"UpDownHorz", s.UpDownHorz.get(), false},
          {"UpDownVert", s.UpDownVert.get(), false}};
}

std::vector<TSkinImage> SkinImages(const TSkinElements& s) {
  std::vector<TSkinImage> out;
  for (const TSkinSlot& slot : SkinSlots(s)) {
    const TDataSkinObject* e = slot.Element;
    // The title's caps and text shifts are not slice margins.
    if (e)
      out.push_back({slot.Name, &e->Bitmap, &e->Bitmap2x, e->FrameCount, slot.Vertical,
                     e == s.Title.get() ? nullptr : e});
  }
  const TDataSkinButton& b = *s.Buttons;
  out.push_back({"Buttons.CheckButton", &b.CheckBitmap, &b.CheckBitmap2x, b.CheckFrameCount, false, nullptr});
  out.push_back({"Buttons.RadioButton", &b.RadioBitmap, &b.RadioBitmap2x, b.RadioFrameCount, false, nullptr});
  for (const auto& sb : s.SysButtons)
    out.push_back({sb->Name, &sb->Bitmap, &sb->Bitmap2x, sb->FrameCount, false, nullptr});
  struct {
    const char* name;
    const TDataSkinBorder* element;
    int frames;
  } seconds[] = {{"Tabs.Border", s.Tabs.get(), 1},
                 {"Progress.Chunk", s.Progress.get(), 1},
                 {"ComboButton.Mirrored", s.ComboButton.get(), s.ComboButton ? s.ComboButton->FrameCount : 1},
                 {"UpDownHorz.GlyphImage", s.UpDownHorz.get(), 8},
                 {"UpDownVert.GlyphImage", s.UpDownVert.get(), 8}};
  for (auto& second : seconds)
    if (second.element && !second.element->Bitmap2.Empty())
      out.push_back({second.name, &second.element->Bitmap2, &second.element->Bitmap2_2x, second.frames, false,
                     second.element == s.ComboButton.get() ? second.element : nullptr});
  return out;
}

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
