// The skin element model: the records a skin description is turned into, and TSkinElements,
// every slot, colour and list a skin defines. The skin data component owns one and every
// painter reads it; none of them reads the description itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Color.h"

struct TSkinHighResSource;

// One skin element: an image strip of FrameCount frames side by side (some painters stack
// them), with the fixed slice margins of each frame.
class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(const TDataSkinObject&) = delete;
  TDataSkinObject& operator=(const TDataSkinObject&) = delete;

  std::int32_t LeftWidth = 0;
  std::int32_t TopHeight = 0;
  std::int32_t RightWidth = 0;
  std::int32_t BottomHeight = 0;
  TBitmap Bitmap;
  // The same image drawn for twice the size (each side exactly twice Bitmap's), for drawing at
  // high DPI; empty when the skin has none. Every image field has such a twin, named with "2x".
  TBitmap Bitmap2x;
  std::int32_t Trans = 0;  // not 0: magenta pixels are not drawn
  // 0 = middle slices stretched, 1 = tiled; frame edges: 1 = stretched, else tiled; menu bar:
  // 1 = nine-slice, else three-slice with a tiled middle.
  std::int32_t Tile = 0;
  std::string Name;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  TColor NormalColour = 0;
  TColor MouseOverColour = 0;
  TColor PressedColour = 0;
  TColor NormalColour2 = 0;  // text colours of the normal, hot and pressed states
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;

  // The number of frames, or `fallback` when the skin gives none (a count below 1).
  int Frames(int fallback = 1) const { return FrameCount > 0 ? FrameCount : fallback; }
  // Width of one frame (image width div FrameCount; the whole width when FrameCount < 1).
  int FrameWidth() const { return FrameCount > 0 ? Bitmap.Width() / FrameCount : Bitmap.Width(); }
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap Bitmap2;  // a second image of the element
  TBitmap Bitmap2_2x;
};

class TDataSkinTitle : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0;
  std::int32_t TextBackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TextBackLeft = 0;
  std::int32_t TextBackRight = 0;
  TColor ActiveTextColour = 0;  // clNone: the skin gives none
  TColor InactiveTextColour = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  TBitmap CheckBitmap;
  TBitmap RadioBitmap;
  TBitmap CheckBitmap2x;
  TBitmap RadioBitmap2x;
  std::int32_t RadioFrameCount = 0;
  std::int32_t CheckFrameCount = 0;
};

// One caption (system) button.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t Xcoord = 0;
  std::int32_t Ycoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};

// Everything a skin defines. Title, Buttons and the four frame edges always exist; the other
// slots are null when the skin lacks them.
struct TSkinElements {
  TSkinElements();

  std::string SkinName;

  TColor ColourWindowText = clWindowText;
  // Content colours (edits, lists, views, grids): given only when the skin names "Window"; a
  // skin without it leaves content in the system's colours.
  bool ContentColours = false;
  TColor ColourWindow = clWindow;
  TColor ColourButtonFace = clBtnFace;
  TColor ColourScrollbar = clScrollBar;
  TColor ColourHilightText = clHighlightText;
  TColor ColourHilight = clHighlight;
  TColor ColourMenubar = clBtnFace;
  TColor ColourMenu = clMenu;
  TColor ColourMenuText = clMenuText;
  TColor ColourButtonText = clBtnText;
  TColor ColourButtonHilight = clBtnHighlight;
  TColor ColourButtonLight = clBtnHighlight;
  TColor ColourButtonShadow = clBtnShadow;
  TColor ColourButtonDkShadow = clBtnShadow;
  TColor ColourMenuBarText = clMenuText;
  TColor ColourTitleTextActive = clCaptionText;
  TColor ColourTitleTextNoActive = clInactiveCaptionText;
  std::vector<TColor> ExtraColours;

  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinBorder> BorderLeft, BorderRight, BorderTop, BorderBottom;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;  // caption buttons, then the 3 MDI buttons
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> MenuBar;
  std::unique_ptr<TDataSkinObject> GroupBoxEdge;
  std::unique_ptr<TDataSkinObject> Toolbars;
  std::unique_ptr<TDataSkinObject> StatusBarEdges;
  std::unique_ptr<TDataSkinBorder> ComboButton;  // Bitmap2: the image mirrored
  std::unique_ptr<TDataSkinObject> SunkEdge;
  std::unique_ptr<TDataSkinObject> ExtraImages;
  std::unique_ptr<TDataSkinObject> Headerbar;
  std::unique_ptr<TDataSkinObject> MenuItem;
  std::unique_ptr<TDataSkinObject> MenuBackground;
  std::unique_ptr<TDataSkinObject> Scrollbar;
  std::unique_ptr<TDataSkinObject> HorzScroll;
  std::unique_ptr<TDataSkinObject> VertScroll;
  std::unique_ptr<TDataSkinObject> HorzScrollThumb;
  std::unique_ptr<TDataSkinObject> VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft,
      TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz;
  std::unique_ptr<TDataSkinBorder> UpDownVert;

  bool NoSkin = true;  // cleared when a description has been read completely
  // Set when the skin was loaded without the high-resolution twins it names: where to get them
  // (see LoadHighResImages); null when there is nothing left to load.
  std::shared_ptr<TSkinHighResSource> HighResSource;
};

// One slot of the element model by name, and whether its frames are stacked; element is null
// when the skin lacks it.
struct TSkinSlot {
  const char* Name;
  const TDataSkinObject* Element;
  bool Vertical;
};
// Every slot that holds one element, in a fixed order.
std::vector<TSkinSlot> SkinSlots(const TSkinElements& skin);

// One image of a skin as the painters cut it: the frames it holds, side by side or stacked, and,
// for an image sliced with its element's margins, that element. Image2x is its high-resolution
// twin (empty when the skin has none).
struct TSkinImage {
  std::string Name;
  const TBitmap* Image = nullptr;
  const TBitmap* Image2x = nullptr;
  int FrameCount = 1;
  bool Vertical = false;
  const TDataSkinObject* Sliced = nullptr;
};
// Every image of the skin's present elements, element images first, then the check and radio
// marks, the caption buttons and the elements' second images.
std::vector<TSkinImage> SkinImages(const TSkinElements& skin);

// "255 128 0", "255,128,0": digit runs give red, green and blue (low 8 bits each); a run is
// taken when a non-digit follows it, the last one also when it is the third. Only the first
// kMaxColourTextLength characters are read: no colour needs more, and a skin is untrusted input.
constexpr std::size_t kMaxColourTextLength = 256;
TColor ParseColourText(std::string_view text);
