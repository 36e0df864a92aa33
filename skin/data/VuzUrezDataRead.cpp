#include "skin/data/VuzUrezDataRead.h"

#include <algorithm>
#include <unordered_map>

#include "skin/data/ImgUtil.h"

std::string ImageMemberName(std::string_view value) {
  std::size_t cut = value.find_last_of("\\:");
  std::string_view file = cut == std::string_view::npos ? value : value.substr(cut + 1);
  std::size_t dot = file.rfind('.');
  if (file.empty() || dot == std::string_view::npos || file.substr(dot) != ".bmp") return {};
  return std::string(file);
}

namespace {

class TDescriptionReader {
 public:
  TDescriptionReader(TSkinElements& skin, const TIniReader& ini, const TSkinReader& package,
                     std::vector<std::string>* problems, bool highRes = true)
      : s_(skin), ini_(ini), package_(package), problems_(problems), highRes_(highRes) {}

  // A twin key was passed over because twins were not asked for.
  bool HighResLeft() const { return highResLeft_; }

  // Ok, or TooLarge with *error saying why.
  TPackageStatus Run(std::string* error) {
    std::vector<std::string> sections = ini_.ReadSections();
    s_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName");
    ReadEdges();
    ReadColours(sections);
    ReadSysButtons(sections);
    ReadButtons();
    ReadTitle();
    ReadProgress();
    ReadMenuBar();
    Generic(s_.GroupBoxEdge, "GroupBoxEdge");
    Generic(s_.Toolbars, "Toolbars");
    WithSecond(s_.Tabs, "Tabs", "Border");
    Generic(s_.StatusBarEdges, "StatusBarEdges");
    WithSecond(s_.ComboButton, "ComboButton", "****");
    if (s_.ComboButton) {
      Mirrored(s_.ComboButton->Bitmap2, s_.ComboButton->Bitmap);
      Mirrored(s_.ComboButton->Bitmap2_2x, s_.ComboButton->Bitmap2x);
    }
    Generic(s_.SunkEdge, "SunkEdge");
    Generic(s_.ExtraImages, "ExtraImages");
    Generic(s_.Headerbar, "Headerbar");
    Generic(s_.MenuItem, "MenuItem");
    Generic(s_.MenuBackground, "MenuBackground");
    Generic(s_.Scrollbar, "Scrollbar");
    Generic(s_.HorzScroll, "HorzScroll");
    Generic(s_.VertScroll, "VertScroll");
    Generic(s_.HorzScrollThumb, "HorzScrollThumb");
    Generic(s_.VertScrollThumb, "VertScrollThumb");
    Generic(s_.TrackbarThumbHorz, "Trackbar.ThumbHorz");
    Generic(s_.TrackbarThumbVert, "Trackbar.ThumbVert");
    Generic(s_.TrackbarThumbLeft, "Trackbar.ThumbLeft");
    Generic(s_.TrackbarThumbRight, "Trackbar.ThumbRight");
    Generic(s_.TrackbarThumbUp, "Trackbar.ThumbUp");
    Generic(s_.TrackbarThumbDown, "Trackbar.ThumbDown");
    WithSecond(s_.UpDownHorz, "UpDown.Horz", "GlyphImage");
    WithSecond(s_.UpDownVert, "UpDown.Vert", "GlyphImage");
    SetFrameCounts();
    if (!overWhy_.empty()) {
      if (error) *error = overWhy_;
      return TPackageStatus::TooLarge;
    }
    s_.NoSkin = false;
    return TPackageStatus::Ok;
  }

 private:
  std::int32_t Int(std::string_view section, std::string_view key, std::int32_t def) const {
    return ini_.ReadInteger(section, key, def);
  }
  std::string Str(std::string_view section, std::string_view key) const {
    return ini_.ReadString(section, key);
  }
  TColor Colour(std::string_view section, std::string_view key, TColor def) const {
    std::string text = Str(section, key);
    return text.empty() ? def : ParseColourText(text);
  }
  void Problem(std::string text) {
    if (problems_) problems_->push_back(std::move(text));
  }
  // A margin held to lo..kMaxSkinMargin, with a problem line when it had to be.
  std::int32_t Bounded(std::string_view section, std::string_view key, std::int32_t def, std::int32_t lo) {
    std::int32_t v = Int(section, key, def), held = std::clamp(v, lo, kMaxSkinMargin);
    if (held != v)
      Problem("[" + std::string(section) + "] " + std::string(key) + "=" + std::to_string(v) + ": held to " +
              std::to_string(held));
    return held;
  }
  std::int32_t Margin(std::string_view section, std::string_view key, std::int32_t def = 0) {
    return Bounded(section, key, def, 0);
  }
  std::int32_t Offset(std::string_view section, std::string_view key) {
    return Bounded(section, key, 0, -kMaxSkinMargin);
  }

  // The first limit passed ends the read: nothing more is decoded or made.
  bool Over() const { return !overWhy_.empty(); }
  void GoOver(std::string why) {
    if (overWhy_.empty()) overWhy_ = std::move(why);
  }
  // Counts one more image held, of bmp's size; false (and the read ends) past the limits.
  bool Afford(const TBitmap& bmp, std::string_view what) {
    if (Over()) return false;
    pixels_ += static_cast<std::int64_t>(bmp.Width()) * bmp.Height();
    if (++images_ > kMaxSkinImages)
      GoOver("the skin holds more than " + std::to_string(kMaxSkinImages) + " images (at " +
             std::string(what) + ")");
    else if (pixels_ > kMaxSkinPixels)
      GoOver("the skin's images hold more than " + std::to_string(kMaxSkinPixels) + " pixels (at " +
             std::string(what) + ")");
    return !Over();
  }
  // Counts one more record made from a section; false (and the read ends) past the limit.
  bool AffordRecord(std::string_view section) {
    if (Over()) return false;
    if (++records_ > kMaxSkinRecords)
      GoOver("the skin has more than " + std::to_string(kMaxSkinRecords) +
             " caption-button and colour sections (at [" + std::string(section) + "])");
    return !Over();
  }

  // Loads the image a description value names into `bmp`, or empties it.
  void LoadBitmap(TBitmap& bmp, std::string_view section, std::string_view key) {
    std::string value = Str(section, key);
    std::string member = ImageMemberName(value);
    bmp.Clear();
    if (member.empty()) {
      if (!value.empty())
        Problem("[" + std::string(section) + "] " + std::string(key) + "=" + value + ": not a .bmp name");
      return;
    }
    if (Over()) return;
    auto [decoded, fresh] = decoded_.try_emplace(member);
    TDecoded& image = decoded->second;
    if (fresh) {
      auto data = package_.FindEntry(member);
      std::string error;
      if (!data || data->empty())
        image.problem = " is not in the package";
      else if (!image.bitmap.LoadFromBmp(data->data(), data->size(), &error))
        image.problem = ": " + error;
      else if (!Afford(image.bitmap, member))
        image.bitmap.Clear();
    }
    if (!image.problem.empty())
      Problem("[" + std::string(section) + "] " + std::string(key) + ": image " + member + image.problem);
    bmp.Share(image.bitmap);
  }

  // Loads the image of `key` into `bmp` and its high-resolution twin (key "KEY@2x", see
  // kHighResKeySuffix) into `hi`. A twin that is not exactly twice the size of the image, or that
  // has no image to be the twin of, is dropped with a problem line: the image alone is drawn.
  void LoadImage(TBitmap& bmp, TBitmap& hi, std::string_view section, std::string_view key) {
    LoadBitmap(bmp, section, key);
    std::string hiKey = std::string(key).append(kHighResKeySuffix);
    hi.Clear();
    if (Str(section, hiKey).empty()) return;
    if (!highRes_) {
      highResLeft_ = true;
      return;
    }
    LoadBitmap(hi, section, hiKey);
    if (hi.Empty()) return;
    std::string where = "[" + std::string(section) + "] " + hiKey + ": ";
    if (bmp.Empty()) {
      Problem(where + "no " + std::string(key) + " image to be twice the size of; not used");
      hi.Clear();
    } else if (static_cast<std::int64_t>(hi.Width()) != 2LL * bmp.Width() ||
               static_cast<std::int64_t>(hi.Height()) != 2LL * bmp.Height()) {
      Problem(where + std::to_string(hi.Width()) + " x " + std::to_string(hi.Height()) + " is not twice " +
              std::to_string(bmp.Width()) + " x " + std::to_string(bmp.Height()) + "; the 1x image is used");
      hi.Clear();
    }
  }

  template <typename Record>
  void ReadCommon(Record& r, std::string_view section, bool style) {
    if (style) r.Style = Int(section, "Style", 0);
    ReadMargins(r, section);
    r.Trans = Int(section, "Trans", 0);
    r.Tile = Int(section, "Tile", 0);
    r.NormalColour = Int(section, "NormalColour", -1);
    r.MouseOverColour = Int(section, "MouseOverColour", -1);
    r.PressedColour = Int(section, "PressedColour", -1);
    r.NormalColour2 = Colour(section, "NormalColour2", s_.ColourButtonText);
    r.MouseOverColour2 = Colour(section, "MouseOverColour2", s_.ColourButtonText);
    r.PressedColour2 = Colour(section, "PressedColour2", s_.ColourButtonText);
    if (r.Tile > 1) r.Tile = 0;
  }

  void ReadMargins(TDataSkinObject& r, std::string_view section) {
    r.LeftWidth = Margin(section, "LeftWidth");
    r.RightWidth = Margin(section, "RightWidth");
    r.TopHeight = Margin(section, "TopHeight");
    r.BottomHeight = Margin(section, "BottomHeight");
  }

  void Generic(std::unique_ptr<TDataSkinObject>& slot, std::string_view section) {
    slot.reset();
    if (Str(section, "Image").empty()) return;
    slot = std::make_unique<TDataSkinObject>(std::string(section));
    LoadImage(slot->Bitmap, slot->Bitmap2x, section, "Image");
    ReadCommon(*slot, section, true);
  }

  void WithSecond(std::unique_ptr<TDataSkinBorder>& slot, std::string_view section, std::string_view second) {
    slot.reset();
    if (Str(section, "Image").empty()) return;
    slot = std::make_unique<TDataSkinBorder>(std::string(section));
    LoadImage(slot->Bitmap, slot->Bitmap2x, section, "Image");
    if (!Str(section, second).empty()) LoadImage(slot->Bitmap2, slot->Bitmap2_2x, section, second);
    ReadCommon(*slot, section, false);
  }

  // `out` becomes a 24-bit copy of `image` mirrored left to right (left alone for an empty image).
  void Mirrored(TBitmap& out, const TBitmap& image) {
    if (image.Empty() || !Afford(image, "ComboButton")) return;
    out.Assign(image);
    out.SetPixelFormat(pf24bit);
    MirrorHorizontal(out);
  }

  void ReadProgress() {
    s_.Progress.reset();
    if (Str("Progress", "Bitmap").empty()) return;
    auto& p = s_.Progress = std::make_unique<TDataSkinBorder>("Progress");
    LoadImage(p->Bitmap, p->Bitmap2x, "Progress", "Bitmap");
    if (!Str("Progress", "Chunk").empty()) LoadImage(p->Bitmap2, p->Bitmap2_2x, "Progress", "Chunk");
    p->Style = Int("Progress", "Style", 0);
    ReadMargins(*p, "Progress");
    p->Trans = Int("Progress", "Trans", 0);
    p->Tile = Int("Progress", "Tile", 0);  // not limited here
  }

  void ReadMenuBar() {
    s_.MenuBar.reset();
    if (Str("Personality", "menuBar").empty()) return;
    auto& m = s_.MenuBar = std::make_unique<TDataSkinObject>("Personality");
    LoadImage(m->Bitmap, m->Bitmap2x, "Personality", "menuBar");
    m->TopHeight = m->BottomHeight = 0;
    m->Tile = Int("Personality", "TileMenu", 0);
    m->LeftWidth = Margin("Personality", "TileLeftMenu", 1);
    m->RightWidth = Margin("Personality", "TileRightMenu", 1);
  }

  void ReadButtons() {
    TDataSkinButton& b = *s_.Buttons;
    ReadMargins(b, "Buttons");
    b.Trans = Int("Buttons", "Trans", 0);
    LoadImage(b.Bitmap, b.Bitmap2x, "Buttons", "Bitmap");
    b.Tile = Int("Buttons", "Tile", 0);
    LoadImage(b.CheckBitmap, b.CheckBitmap2x, "Buttons", "CheckButton");
    LoadImage(b.RadioBitmap, b.RadioBitmap2x, "Buttons", "RadioButton");
    b.NormalColour = Int("Buttons", "NormalColour", -1);
    b.MouseOverColour = Int("Buttons", "MouseOverColour", -1);
    b.PressedColour = Int("Buttons", "PressedColour", -1);
    b.RadioFrameCount = Int("Buttons", "RadioButtonFrame", 0);
    b.CheckFrameCount = Int("Buttons", "CheckButtonFrame", 0);
    b.NormalColour2 = Colour("Buttons", "NormalColour2", s_.ColourButtonText);
    b.MouseOverColour2 = Colour("Buttons", "MouseOverColour2", s_.ColourButtonText);
    b.PressedColour2 = Colour("Buttons", "PressedColour2", s_.ColourButtonText);
  }

  void ReadRGB(std::string_view section, const std::string& base, TColor& colour) {
    std::int32_t r = Int(section, base + "R", -1), g = Int(section, base + "G", -1),
                 b = Int(section, base + "B", -1);
    if (r >= 0 && g >= 0 && b >= 0) colour = RGBColor(r & 0xFF, g & 0xFF, b & 0xFF);
  }

  void ReadTitle() {
    TDataSkinTitle& t = *s_.Title;
    LoadImage(t.Bitmap, t.Bitmap2x, "Personality", "TextBack");
    t.LeftWidth = Offset("Personality", "TextShift");
    t.TopHeight = Offset("Personality", "TextShiftVert");
    t.RightWidth = Offset("Personality", "TextRightClip");
    t.BottomHeight = 0;
    t.TextAlignment = Int("Personality", "TextAlignment", 0);
    t.TextBackground = Int("Personality", "Textbackground", 0);
    t.FontHeight = Bounded("Fonts", "FontHeight", 14, -kMaxSkinMargin);
    t.TextBackLeft = Margin("Personality", "TXTBackleft");
    t.TextBackRight = Margin("Personality", "TXTBackRight");
    t.ActiveTextColour = t.InactiveTextColour = clNone;
    ReadRGB("Personality", "ActiveText", t.ActiveTextColour);
    ReadRGB("Personality", "InActiveText", t.InactiveTextColour);
  }

  void ReadEdges() {
    struct {
      TDataSkinBorder* edge;
      bool vertical;
    } edges[] = {{s_.BorderLeft.get(), true},
                 {s_.BorderRight.get(), true},
                 {s_.BorderTop.get(), false},
                 {s_.BorderBottom.get(), false}};
    for (auto [e, vertical] : edges) {
      const std::string& n = e->Name;
      // For the horizontal edges the two keys give the fixed left and right ends.
      std::int32_t first = Margin("Personality", n + "TopHeight"),
                   second = Margin("Personality", n + "BotHeight");
      if (vertical) {
        e->TopHeight = first;
        e->BottomHeight = second;
        e->LeftWidth = e->RightWidth = 0;
      } else {
        e->LeftWidth = first;
        e->RightWidth = second;
        e->TopHeight = e->BottomHeight = 0;
      }
      e->FrameCount = Int("Personality", n + "Frame", 1);
      e->Tile = Int("Personality", n + "Stretch", 1);
      e->Trans = Int("Personality", n + "Trans", 1);
      LoadImage(e->Bitmap, e->Bitmap2x, "Personality", n);
    }
  }

  void ReadColours(const std::vector<std::string>& sections) {
    s_.ColourWindowText = Colour("Colours", "WindowText", clWindowText);
    s_.ContentColours = !Str("Colours", "Window").empty();
    s_.ColourWindow = Colour("Colours", "Window", clWindow);
    s_.ColourButtonFace = Colour("Colours", "ButtonFace", clBtnFace);
    s_.ColourScrollbar = Colour("Colours", "Scrollbar", clScrollBar);
    s_.ColourHilightText = Colour("Colours", "HilightText", clHighlightText);
    s_.ColourHilight = Colour("Colours", "Hilight", clHighlight);
    s_.ColourMenubar = Colour("Colours", "Menubar", s_.ColourButtonFace);
    s_.ColourMenu = Colour("Colours", "Menu", clMenu);
    s_.ColourMenuText = Colour("Colours", "MenuText", clMenuText);
    s_.ColourButtonText = Colour("Colours", "ButtonText", clBtnText);
    s_.ColourButtonHilight = Colour("Colours", "ButtonHilight", clBtnHighlight);
    s_.ColourButtonLight = Colour("Colours", "Buttonlight", clBtnHighlight);
    s_.ColourButtonShadow = Colour("Colours", "ButtonShadow", clBtnShadow);
    s_.ColourButtonDkShadow = Colour("Colours", "ButtonDkShadow", clBtnShadow);
    s_.ColourMenuBarText = Colour("Colours", "MenuBarText", clMenuText);
    s_.ColourTitleTextActive = Colour("Colours", "TitleTextActive", clCaptionText);
    s_.ColourTitleTextNoActive = Colour("Colours", "TitleTextNoActive", clInactiveCaptionText);
    s_.ExtraColours.clear();
    for (const std::string& name : sections) {
      std::string upper = UpperAscii(name);
      if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS") {
        if (!AffordRecord(name)) break;
        s_.ExtraColours.push_back(Colour(name, "color", clWindowText));
      }
    }
  }

  static std::string UpperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
  }

  void ReadSysButtons(const std::vector<std::string>& sections) {
    s_.SysButtons.clear();
    for (const std::string& name : sections) {
      std::string u = UpperAscii(name);
      if (u.rfind("BUTTON", 0) != 0 || u == "BUTTONS" || u == "BUTTON.RADIO" || u == "BUTTON.CHECKBOX")
        continue;
      if (!AffordRecord(name)) break;
      auto b = std::make_unique<TDataSkinSysButton>(u);
      b->Action = Int(name, "Action", 0);
      b->Align = Int(name, "Align", 0);
      b->Xcoord = Offset(name, "Xcoord");
      b->Ycoord = Offset(name, "Ycoord");
      b->Visibility = Int(name, "Visibility", 0);
      b->Visibility1 = Int(name, "Visibility1", 0);
      b->CombineOp = Int(name, "CombineOp", -1);
      b->FrameCount = Int(name, "frame", 0);
      LoadImage(b->Bitmap, b->Bitmap2x, name, "ButtonImage");
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Bitmap.Empty())
          b->FrameCount = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height() <= 3.8 ? 3 : 6;
        if (b->Action < 0) b->FrameCount = 6;
        if (b->Action == 3 || b->Action == 11) {
          b->Bitmap.Clear();
          b->Bitmap2x.Clear();
        }
      }
      s_.SysButtons.push_back(std::move(b));
    }
    // The three buttons of a maximised MDI child, cut from one 12-frame strip.
    std::vector<TDataSkinSysButton*> mdi;
    for (int action : {7, 8, 9}) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = action;
      b->Align = b->Visibility = b->Visibility1 = 100;
      b->FrameCount = 4;
      mdi.push_back(b.get());
      s_.SysButtons.push_back(std::move(b));
    }
    TBitmap strip, strip2x;
    LoadImage(strip, strip2x, "MDICONTROLS", "Image");
    if (!strip.Empty()) {
      int a = strip.Width() / 12;
      for (int k = 0; k < 3; ++k) {
        CutFrames(mdi[k]->Bitmap, strip, k, a);
        CutFrames(mdi[k]->Bitmap2x, strip2x, k, 2 * a);
        mdi[k]->Xcoord = (3 - k) * (a + 4);
      }
    }
  }

  // Frames 4k to 4k + 3 of a 12-frame strip whose frames are a pixels wide.
  void CutFrames(TBitmap& out, const TBitmap& strip, int k, int a) {
    out.Clear();
    if (strip.Empty() || a <= 0 || !out.SetSize(a * 4, strip.Height(), strip.PixelFormat())) return;
    if (Afford(out, "MDICONTROLS"))
      out.CopyRect(0, 0, strip, 4 * k * a, 0, 4 * a, strip.Height());
    else
      out.Clear();
  }

  void SetFrameCounts() {
    TDataSkinButton& b = *s_.Buttons;
    b.FrameCount = 5;
    auto derived = [](const TBitmap& bmp) {
      int n = bmp.Width() / (bmp.Height() >= 16 ? 16 : 13);
      return n < 4 ? 4 : n;
    };
    if (b.RadioFrameCount == 0) b.RadioFrameCount = derived(b.RadioBitmap);
    if (b.CheckFrameCount == 0) b.CheckFrameCount = derived(b.CheckBitmap);
    auto set = [](auto& slot, int n) {
      if (slot) slot->FrameCount = n;
    };
    set(s_.Title, 2);
    set(s_.Progress, 2);
    set(s_.MenuBar, 2);
    set(s_.GroupBoxEdge, 2);
    set(s_.Toolbars, 5);
    set(s_.Tabs, 5);
    set(s_.StatusBarEdges, 3);
    set(s_.ComboButton, 4);
    set(s_.SunkEdge, 4);
    set(s_.ExtraImages, 5);
    set(s_.Headerbar, 5);
    set(s_.MenuItem, 5);
    set(s_.MenuBackground, 1);
    set(s_.Scrollbar, 23);
    set(s_.HorzScroll, 4);
    set(s_.VertScroll, 4);
    set(s_.UpDownVert, 8);
    set(s_.UpDownHorz, 8);
    for (auto* t : {&s_.TrackbarThumbHorz, &s_.TrackbarThumbVert, &s_.TrackbarThumbLeft,
                    &s_.TrackbarThumbRight, &s_.TrackbarThumbUp, &s_.TrackbarThumbDown})
      set(*t, 5);
    set(s_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(s_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
  }

  // An image member as decoded once for every part that names it.
  struct TDecoded {
    TBitmap bitmap;
    std::string problem;  // why it is not there, when it is not
  };

  TSkinElements& s_;
  const TIniReader& ini_;
  const TSkinReader& package_;
  std::vector<std::string>* problems_;
  std::unordered_map<std::string, TDecoded> decoded_;
  std::size_t images_ = 0, records_ = 0;
  std::int64_t pixels_ = 0;
  std::string overWhy_;  // set when a limit was passed
  bool highRes_ = true, highResLeft_ = false;
};

}  // namespace

TPackageStatus ReadSkinDescription(TSkinElements& skin, const TIniReader& ini, const TSkinReader& package,
                                   std::vector<std::string>* problems, std::string* error) {
  return TDescriptionReader(skin, ini, package, problems).Run(error);
}

// What a skin loaded without its twins keeps to read them later: the package (still packed past
// the last member read) and its description.
struct TSkinHighResSource {
  // A constructor of its own: not every compiler we build with makes an aggregate from
  // make_shared's parentheses.
  TSkinHighResSource(TSkinReader p, std::string d) : package(std::move(p)), description(std::move(d)) {}
  TSkinReader package;
  std::string description;
};

TPackageStatus LoadSkinPackage(const std::uint8_t* stored, std::size_t size, TSkinElements& skin,
                               std::string* error, std::vector<std::string>* problems, THighResLoad highRes) {
  skin.NoSkin = true;
  skin.HighResSource.reset();
  TSkinReader package;
  TPackageStatus status = package.LoadPackage(stored, size, error);
  if (status != TPackageStatus::Ok) return status;
  auto description = package.FindEntryContaining(".ini");
  if (!description) {
    if (error) *error = "the package holds no description (no member name contains \".ini\")";
    return TPackageStatus::Corrupt;
  }
  std::string_view text(reinterpret_cast<const char*>(description->data()), description->size());
  TIniReader ini(text);
  TDescriptionReader reader(skin, ini, package, problems, highRes == THighResLoad::Now);
  status = reader.Run(error);
  if (status == TPackageStatus::Ok && reader.HighResLeft())
    skin.HighResSource = std::make_shared<TSkinHighResSource>(std::move(package), std::string(text));
  return status;
}

bool LoadHighResImages(TSkinElements& skin) {
  std::shared_ptr<TSkinHighResSource> source = std::move(skin.HighResSource);
  if (!source) return true;
  // The whole description again, twins included: the twins of mirrored and cut images come out
  // as the eager load makes them. Both reads give the same images in the same order.
  TSkinElements full;
  TIniReader ini(source->description);
  if (ReadSkinDescription(full, ini, source->package) != TPackageStatus::Ok) return false;
  std::vector<TSkinImage> from = SkinImages(full), to = SkinImages(skin);
  if (from.size() != to.size()) return false;
  for (std::size_t i = 0; i < to.size(); ++i) {
    if (from[i].Name != to[i].Name || from[i].Image->Width() != to[i].Image->Width() ||
        from[i].Image->Height() != to[i].Image->Height())
      return false;
  }
  // The model is ours to change: SkinImages only hands its members out read-only.
  for (std::size_t i = 0; i < to.size(); ++i) const_cast<TBitmap*>(to[i].Image2x)->Share(*from[i].Image2x);
  return true;
}

std::string SkinPackageProblem(const std::uint8_t* package, std::size_t size, TSkinElements* loaded) {
  if (!package || size == 0) return "the skin is empty";
  if (size > kMaxSkinPackageSize)
    return "the skin is too large (" + std::to_string(size) + " bytes, at most " +
           std::to_string(kMaxSkinPackageSize) + ")";
  TSkinElements own;
  TSkinElements& skin = loaded ? *loaded : own;
  std::string error;
  switch (LoadSkinPackage(package, size, skin, &error, nullptr, THighResLoad::WhenAsked)) {
    case TPackageStatus::Ok:
      return skin.NoSkin ? "the package holds no skin" : "";
    case TPackageStatus::WrongVersion:
      return "it is a skin package of another version";
    case TPackageStatus::TooLarge:
      return "the skin asks for more than a skin may have (" + error + ")";
    case TPackageStatus::Corrupt:
      break;
  }
  return "it is not a skin package" + (error.empty() ? std::string() : " (" + error + ")");
}
