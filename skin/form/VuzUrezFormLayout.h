// The arithmetic of a skinned frame, free of windows: how thick the skin's borders are and where
// the caption goes in the title bar.
#pragma once

#include <cstdint>

#include "skin/data/VuzUrezDataElements.h"
#include "skin/paint/SkinDraw.h"

// How a window is framed (a form skinner's FFrameKind).
enum TFrameKind : std::uint8_t {
  fkSizeable = 0,  // sizeable, or with a window edge
  fkNone = 2,      // a popup without a caption: no skinned frame
  fkOther = 3,
};

// The four borders of a skinned frame, numbered as the painters know them.
enum TBorderSide { bsLeft = 1, bsRight = 2, bsTop = 3, bsBottom = 4 };

// The frames of the frame's images that show activation (the edges that have two, the caption
// background and the menu bar, which have two): the active window's look, then the inactive one's.
enum TActivationFrame { afActive = 1, afInactive = 2 };
constexpr int kActivationFrames = 2;

// Values of the frame images' switches.
constexpr std::int32_t kTransKeyed = 1;  // Trans: the image's magenta pixels are cut out of the region
// Tile of a frame edge (its Stretch key): the middle is stretched; any other value tiles it.
constexpr std::int32_t kEdgeStretched = 1;
// Tile of the menu bar (TileMenu): nine slices, the centre stretched; any other value: three
// slices with a tiled middle.
constexpr std::int32_t kMenuBarNineSlice = 1;

// Where the caption text sits in the title (the title element's TextAlignment).
enum TCaptionTextAlign { ctLeft = 0, ctCentred = 1, ctRight = 2 };

// Border sizes a skin gives a window: each edge image's thickness across one of its frames
// (the side edges are horizontal strips, the top and bottom edges vertical strips).
struct TBorderSizes {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
TBorderSizes SkinBorderSizes(const TSkinElements& skin);

struct TCaptionLayoutInput {
  TDrawRect Title;                    // the title area between the side borders
  int TextWidth = 0, TextHeight = 0;  // the measured caption (prefix, a blank and the text)
  int Alignment = ctLeft;             // a TCaptionTextAlign
  int TextShift = 0, TextShiftVert = 0, TextRightClip = 0;
  int TextLeftClip = 0;             // room kept at the title's left (the icon) for a centred caption
  int BackLeft = 0, BackRight = 0;  // caps of the caption background, also the text insets
  bool RightToLeft = false;
  bool Popup = false;           // a WS_POPUP window: the right end follows the buttons
  int RightmostButtonLeft = 0;  // of the previous button layout
};

// The caption rectangle, caps included (the text goes inside the caps).
TDrawRect CaptionRectangle(const TCaptionLayoutInput& in);

// The window size that keeps a client area of the given size inside the skinned borders.
struct TSize {
  int Width = 0, Height = 0;
  bool operator==(const TSize&) const = default;
};
TSize SkinnedWindowSize(TSize client, const TBorderSizes& borders, int menuHeight);
// The window size after the skin lets go: the current size plus the system's frame, minus the
// skin's borders and menu bar.
TSize UnskinnedWindowSize(TSize window, TSize systemFrame, const TBorderSizes& borders, int menuHeight);
