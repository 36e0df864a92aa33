// Where a glyph button puts its glyph and its caption: pure arithmetic on sizes, shared by the
// framework's own painting of glyph buttons and by the skinners that draw them from a skin.
#pragma once

// Where the glyph sits relative to the caption.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonLayoutInput {
  int ClientWidth = 0;
  int ClientHeight = 0;
  int GlyphWidth = 0;  // one frame of the glyph; 0 x 0 without a glyph
  int GlyphHeight = 0;
  int TextWidth = 0;  // the measured caption; 0 x 0 for an empty one
  int TextHeight = 0;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;     // from the edge to the glyph; -1: automatic
  int Spacing = 4;     // between glyph and caption; -1: automatic
  bool Speed = false;  // speed buttons put an automatic margin one pixel further in
};

// Horizontal alignment of the caption within its rectangle; the values are those of DrawText's
// DT_LEFT, DT_CENTER and DT_RIGHT.
enum TCaptionAlign { caLeft = 0, caCenter = 1, caRight = 2 };

struct TButtonLayoutResult {
  int GlyphX = 0;
  int GlyphY = 0;
  int TextX = 0;  // the caption's rectangle: (TextX, TextY) with the measured size
  int TextY = 0;
  TCaptionAlign Align = caLeft;
};

// Integer divisions truncate toward zero. With both margin and spacing automatic, the free
// space along the layout is divided in three: before the pair, between them and after them.
TButtonLayoutResult LayoutGlyphAndCaption(const TButtonLayoutInput& in);
