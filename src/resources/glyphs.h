#pragma once
// Pictures of the component: the margin glyph strip (14 glyphs of 16 x 16 pixels side by
// side, white transparent) and the margin cursor, drawn here as pixel art.

#include <string>

#include "platform/gdi.h"

namespace quill {

constexpr unsigned IDC_MARGIN_CURSOR = 22900;
constexpr unsigned IDB_MARGIN_ICONS = 22902;

constexpr int MARGIN_GLYPH_SIZE = 16;
constexpr int MARGIN_GLYPH_COUNT = 14;
// The strip's transparent colour.
constexpr COLORREF MARGIN_GLYPH_TRANSPARENT = RGB(255, 255, 255);

// Glyphs of the strip, in strip order.
enum MarginGlyph {
  GLYPH_MARK_A = 0,       // an arrow
  GLYPH_MARK_B = 1,       // a stop sign
  GLYPH_MARK_C = 2,       // a diamond
  GLYPH_BOOKMARK_1 = 3,   // numbered tabs 1 .. 9 (glyphs 3 .. 11)
  GLYPH_BOOKMARK_0 = 12,  // numbered tab 0
  GLYPH_BOOKMARK = 13,    // an unnumbered bookmark disc
};

// The margin glyph strip: 224 x 16 pixels.
const PixelImage& MarginGlyphStrip();

// A cursor: its picture (pixels of CURSOR_TRANSPARENT are not drawn) and hot spot.
constexpr COLORREF CURSOR_TRANSPARENT = 0xFF000000u;
struct CursorImage {
  PixelImage image;
  CPoint hotSpot;
};
const CursorImage& MarginCursor();

// A picture as text, one character per pixel, rows separated by newlines: '.' for white
// (or transparent) and a letter per colour; for a person checking the art.
std::string ImageToText(const PixelImage& image, const CRect& part);

}  // namespace quill
