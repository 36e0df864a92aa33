#include "tools/skintool/SkinCheck.h"

#include <cstdio>

#include "skin/data/VuzUrezDataRead.h"

namespace {

std::string Format(const char* fmt, auto... args) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string ColourText(TColor c) {
  if (IsSystemColor(c)) return Format("system colour %d", c & 0xFF);
  if (c == clNone) return "none";
  return Format("%d %d %d", RedOf(c), GreenOf(c), BlueOf(c));
}

void CheckStrip(std::vector<std::string>& out, const std::string& what, const TBitmap& bmp, int frames,
                bool vertical) {
  if (bmp.Empty()) return;
  int side = vertical ? bmp.Height() : bmp.Width();
  if (frames < 1) {
    out.push_back(Format("%s: frame count %d", what.c_str(), frames));
    return;
  }
  if (side % frames != 0)
    out.push_back(Format("%s: %d frames do not divide the image %s of %d pixels", what.c_str(), frames,
                         vertical ? "height" : "width", side));
}

void CheckMargins(std::vector<std::string>& out, const std::string& what, const TDataSkinObject& e,
                  bool vertical) {
  if (e.Bitmap.Empty() || e.FrameCount < 1) return;
  int fw = vertical ? e.Bitmap.Width() : e.Bitmap.Width() / e.FrameCount;
  int fh = vertical ? e.Bitmap.Height() / e.FrameCount : e.Bitmap.Height();
  if (e.LeftWidth < 0 || e.RightWidth < 0 || e.TopHeight < 0 || e.BottomHeight < 0)
    out.push_back(what + ": negative slice margin");
  else if (e.LeftWidth + e.RightWidth > fw || e.TopHeight + e.BottomHeight > fh)
    out.push_back(Format("%s: margins %d,%d,%d,%d do not fit a %d x %d frame", what.c_str(), e.LeftWidth,
                         e.TopHeight, e.RightWidth, e.BottomHeight, fw, fh));
}

}  // namespace

std::vector<std::string> CheckSkinPackage(const std::uint8_t* stored, std::size_t size) {
  std::vector<std::string> out;
  TSkinElements skin;
  std::string error;
  TPackageStatus status = LoadSkinPackage(stored, size, skin, &error, &out);
  if (status == TPackageStatus::WrongVersion) {
    out.push_back("wrong package version (" + error + ")");
    return out;
  }
  if (status != TPackageStatus::Ok) {
    out.push_back(error);
    return out;
  }
  for (const TSkinImage& image : SkinImages(skin)) {
    CheckStrip(out, image.Name, *image.Image, image.FrameCount, image.Vertical);
    if (image.Sliced && image.Image == &image.Sliced->Bitmap)
      CheckMargins(out, image.Name, *image.Sliced, image.Vertical);
  }
  if (skin.ComboButton && skin.ComboButton->Bitmap2.Width() != skin.ComboButton->Bitmap.Width())
    out.push_back("ComboButton: mirrored image missing");
  return out;
}

std::string DumpSkinElements(const TSkinElements& s) {
  std::string out = "SkinName: " + s.SkinName + "\n";
  struct {
    const char* name;
    TColor value;
  } colours[] = {{"WindowText", s.ColourWindowText},
                 {"ButtonFace", s.ColourButtonFace},
                 {"Scrollbar", s.ColourScrollbar},
                 {"HilightText", s.ColourHilightText},
                 {"Hilight", s.ColourHilight},
                 {"Menubar", s.ColourMenubar},
                 {"Menu", s.ColourMenu},
                 {"MenuText", s.ColourMenuText},
                 {"ButtonText", s.ColourButtonText},
                 {"ButtonHilight", s.ColourButtonHilight},
                 {"Buttonlight", s.ColourButtonLight},
                 {"ButtonShadow", s.ColourButtonShadow},
                 {"ButtonDkShadow", s.ColourButtonDkShadow},
                 {"MenuBarText", s.ColourMenuBarText},
                 {"TitleTextActive", s.ColourTitleTextActive},
                 {"TitleTextNoActive", s.ColourTitleTextNoActive}};
  for (auto& c : colours) out += Format("Colour %-18s %s\n", c.name, ColourText(c.value).c_str());
  for (std::size_t i = 0; i < s.ExtraColours.size(); ++i)
    out += Format("ExtraColour %zu: %s\n", i, ColourText(s.ExtraColours[i]).c_str());
  auto element = [&](const char* slot, const TDataSkinObject* e) {
    if (!e) {
      out += Format("%-18s absent\n", slot);
      return;
    }
    out += Format(
        "%-18s \"%s\" image %dx%d frames %d margins L%d T%d R%d B%d Trans %d Tile %d Style %d colours "
        "%d/%d/%d text "
        "%s | %s | %s\n",
        slot, e->Name.c_str(), e->Bitmap.Width(), e->Bitmap.Height(), e->FrameCount, e->LeftWidth,
        e->TopHeight, e->RightWidth, e->BottomHeight, e->Trans, e->Tile, e->Style, e->NormalColour,
        e->MouseOverColour, e->PressedColour, ColourText(e->NormalColour2).c_str(),
        ColourText(e->MouseOverColour2).c_str(), ColourText(e->PressedColour2).c_str());
    if (auto* b = dynamic_cast<const TDataSkinBorder*>(e); b && !b->Bitmap2.Empty())
      out += Format("%-18s   second image %dx%d\n", "", b->Bitmap2.Width(), b->Bitmap2.Height());
  };
  for (const TSkinSlot& slot : SkinSlots(s)) element(slot.Name, slot.Element);
  const TDataSkinTitle& t = *s.Title;
  out += Format("Title text: alignment %d background %d font height %d caps %d/%d active %s inactive %s\n",
                t.TextAlignment, t.TextBackground, t.FontHeight, t.TextBackLeft, t.TextBackRight,
                ColourText(t.ActiveTextColour).c_str(), ColourText(t.InactiveTextColour).c_str());
  const TDataSkinButton& b = *s.Buttons;
  out += Format("Check mark image %dx%d frames %d; radio mark image %dx%d frames %d\n", b.CheckBitmap.Width(),
                b.CheckBitmap.Height(), b.CheckFrameCount, b.RadioBitmap.Width(), b.RadioBitmap.Height(),
                b.RadioFrameCount);
  for (const auto& sb : s.SysButtons)
    out += Format(
        "Caption button %-12s action %d align %d x %d y %d visibility %d/%d combine %d image %dx%d frames "
        "%d\n",
        sb->Name.c_str(), sb->Action, sb->Align, sb->Xcoord, sb->Ycoord, sb->Visibility, sb->Visibility1,
        sb->CombineOp, sb->Bitmap.Width(), sb->Bitmap.Height(), sb->FrameCount);
  return out;
}
