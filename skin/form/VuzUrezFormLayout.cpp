#include "skin/form/VuzUrezFormLayout.h"

#include <algorithm>

namespace {
int Across(int length, int frameCount) { return frameCount > 0 ? length / frameCount : length; }
}  // namespace

TBorderSizes SkinBorderSizes(const TSkinElements& skin) {
  TBorderSizes b;
  if (skin.BorderLeft) b.Left = Across(skin.BorderLeft->Bitmap.Width(), skin.BorderLeft->FrameCount);
  if (skin.BorderRight) b.Right = Across(skin.BorderRight->Bitmap.Width(), skin.BorderRight->FrameCount);
  if (skin.BorderTop) b.Top = Across(skin.BorderTop->Bitmap.Height(), skin.BorderTop->FrameCount);
  if (skin.BorderBottom) b.Bottom = Across(skin.BorderBottom->Bitmap.Height(), skin.BorderBottom->FrameCount);
  return b;
}

TDrawRect CaptionRectangle(const TCaptionLayoutInput& in) {
  const TDrawRect& t = in.Title;
  TDrawRect c{t.Left, t.Top, t.Left + in.TextWidth + in.BackLeft + in.BackRight, t.Top + in.TextHeight};
  int dx = 0;
  int alignment = in.RightToLeft ? ctRight : in.Alignment;
  switch (alignment) {
    case ctLeft:
      dx = in.TextShift;
      break;
    case ctCentred:
      dx = (t.Width() - c.Width()) / 2;
      break;
    case ctRight:
      dx = t.Width() - in.TextRightClip - c.Width();
      break;
    default:
      break;
  }
  int dy = (t.Height() - c.Height()) / 2 + in.TextShiftVert / 2;
  c.Left += dx, c.Right += dx, c.Top += dy, c.Bottom += dy;
  if (!in.Popup) {
    const int right = t.Right - in.TextRightClip;
    if (alignment == ctCentred) {
      // A centred caption that would run into the buttons moves left, as far as the room kept
      // at the left allows, and one wider than the title starts after that room: only what
      // still does not fit is cut.
      const int left = t.Left + in.TextLeftClip;
      if (c.Right > right) {
        const int shift = std::max(0, std::min(c.Right - right, c.Left - left));
        c.Left -= shift, c.Right -= shift;
      }
      if (c.Left < left) c.Right += left - c.Left, c.Left = left;
    }
    c.Right = std::min(c.Right, right);
  } else if (c.Right < in.RightmostButtonLeft - 5) {
    c.Right = in.RightmostButtonLeft - 5;
  }
  return c;
}

TSize SkinnedWindowSize(TSize client, const TBorderSizes& b, int menuHeight) {
  return {client.Width + b.Left + b.Right, client.Height + b.Top + b.Bottom + menuHeight};
}

TSize UnskinnedWindowSize(TSize window, TSize frame, const TBorderSizes& b, int menuHeight) {
  return {window.Width + frame.Width - b.Left - b.Right,
          window.Height + frame.Height - b.Top - menuHeight - b.Bottom};
}
