#include "framework/ButtonLayout.h"

TButtonLayoutResult LayoutGlyphAndCaption(const TButtonLayoutInput& in) {
  TButtonLayoutResult r;
  const bool across = in.Layout == blGlyphLeft || in.Layout == blGlyphRight;
  if (across) {
    r.GlyphY = (in.ClientHeight - in.GlyphHeight + 1) / 2;
    r.TextY = (in.ClientHeight - in.TextHeight + 1) / 2;
  } else {
    r.GlyphX = (in.ClientWidth - in.GlyphWidth + 1) / 2;
    r.TextX = (in.ClientWidth - in.TextWidth + 1) / 2;
  }
  int margin = in.Margin, spacing = in.Spacing;
  // Nothing to keep apart: no room between them.
  if (in.TextWidth == 0 || in.GlyphWidth == 0) spacing = 0;
  const int client = across ? in.ClientWidth : in.ClientHeight;
  const int glyph = across ? in.GlyphWidth : in.GlyphHeight;
  const int text = across ? in.TextWidth : in.TextHeight;
  if (margin == -1 && spacing == -1) {
    margin = (client - (glyph + text)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (client - (glyph + spacing + text)) / 2 + (in.Speed ? 1 : 0);
  } else if (spacing == -1) {
    spacing = ((client - (margin + glyph)) - text) / 2;
  }
  switch (in.Layout) {
    case blGlyphLeft:
      r.GlyphX = margin;
      r.TextX = margin + in.GlyphWidth + spacing;
      r.Align = caLeft;
      break;
    case blGlyphRight:
      r.GlyphX = in.ClientWidth - margin - in.GlyphWidth;
      r.TextX = r.GlyphX - spacing - in.TextWidth;
      r.Align = caRight;
      break;
    case blGlyphTop:
      r.GlyphY = margin;
      r.TextY = margin + in.GlyphHeight + spacing;
      r.Align = caCenter;
      break;
    case blGlyphBottom:
      r.GlyphY = in.ClientHeight - margin - in.GlyphHeight;
      r.TextY = r.GlyphY - spacing - in.TextHeight;
      r.Align = caCenter;
      break;
  }
  return r;
}
