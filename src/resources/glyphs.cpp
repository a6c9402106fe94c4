#include "resources/glyphs.h"

#include <array>
#include <string_view>

namespace quill {

namespace {

// The 16 colours of the pictures, one letter each.
struct PaletteEntry {
  char key;
  COLORREF color;
};
constexpr std::array<PaletteEntry, 16> kPalette = {{
    {'.', RGB(255, 255, 255)}, {'k', RGB(0, 0, 0)},       {'W', RGB(192, 192, 192)},
    {'d', RGB(128, 128, 128)}, {'r', RGB(255, 0, 0)},     {'R', RGB(128, 0, 0)},
    {'g', RGB(0, 255, 0)},     {'G', RGB(0, 128, 0)},     {'y', RGB(255, 255, 0)},
    {'o', RGB(128, 128, 0)},   {'b', RGB(0, 0, 255)},     {'B', RGB(0, 0, 128)},
    {'c', RGB(0, 255, 255)},   {'t', RGB(0, 128, 128)},   {'m', RGB(255, 0, 255)},
    {'p', RGB(128, 0, 128)},
}};

COLORREF ColorOf(char key) {
  for (const PaletteEntry& e : kPalette) {
    if (e.key == key) return e.color;
  }
  return RGB(255, 255, 255);
}

using Art = std::array<std::string_view, 16>;

constexpr Art kArrow = {
    "................", "................", ".......k........", ".......kk.......",
    ".......kyk......", ".......kyyk.....", "kkkkkkkkyyyk....", "kyyyyyyyyyyyk...",
    "kyyyyyyyyyyyk...", "kkkkkkkkyyyk....", ".......kyyk.....", ".......kyk......",
    ".......kk.......", ".......k........", "................", "................",
};

constexpr Art kStop = {
    "................", ".....kkkkkk.....", "....krrrrrrk....", "...krrrrrrrrk...",
    "..krrrrrrrrrrk..", ".krrrrrrrrrrrrk.", ".krrrrrrrrrrrrk.", ".krrWWWWWWWWrrk.",
    ".krrWWWWWWWWrrk.", ".krrrrrrrrrrrrk.", ".krrrrrrrrrrrrk.", "..krrrrrrrrrrk..",
    "...krrrrrrrrk...", "....krrrrrrk....", ".....kkkkkk.....", "................",
};

constexpr Art kDiamond = {
    "................", ".......kk.......", "......kbbk......", ".....kbbbbk.....",
    "....kbbbbbbk....", "...kbbbbbbbbk...", "..kbbbbbbbbbbk..", ".kbbbbbbbbbbbbk.",
    ".kbbbbbbbbbbbbk.", "..kbbbbbbbbbbk..", "...kbbbbbbbbk...", "....kbbbbbbk....",
    ".....kbbbbk.....", "......kbbk......", ".......kk.......", "................",
};

constexpr Art kTab = {
    "................", "..BBBBBBBBBBBB..", ".BccccccccccccB.", ".BccccccccccccB.",
    ".BccccccccccccB.", ".BccccccccccccB.", ".BccccccccccccB.", ".BccccccccccccB.",
    ".BccccccccccccB.", ".BccccccccccccB.", ".BccccccccccccB.", ".BccccccccccccB.",
    ".BccccccccccccB.", ".BccccccccccccB.", "..BBBBBBBBBBBB..", "................",
};

constexpr Art kDisc = {
    "................", "................", ".....kkkkkk.....", "....kttttttk....",
    "...ktcctttttk...", "..ktcctttttttk..", "..ktcttttttttk..", "..kttttttttttk..",
    "..kttttttttttk..", "..kttttttttttk..", "..kttttttttttk..", "...kttttttttk...",
    "....kttttttk....", ".....kkkkkk.....", "................", "................",
};

// Digits of five by seven pixels for the numbered tabs.
constexpr std::array<std::array<std::string_view, 7>, 10> kDigits = {{
    {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "},
    {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "},
    {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"},
    {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "},
    {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "},
    {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "},
    {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "},
    {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "},
    {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "},
    {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "},
}};

// The standard arrow pointer; the margin cursor is its mirror image.
constexpr Art kPointer = {
    "k               ", "kk              ", "k.k             ", "k..k            ",
    "k...k           ", "k....k          ", "k.....k         ", "k......k        ",
    "k.......k       ", "k....kkkkk      ", "k..k..k         ", "k.k k..k        ",
    "kk  k..k        ", "k    k..k       ", "     k..k       ", "      kk        ",
};

constexpr bool AllRowsSixteenWide(const Art& art) {
  for (std::string_view row : art) {
    if (row.size() != 16) return false;
  }
  return true;
}
static_assert(AllRowsSixteenWide(kArrow) && AllRowsSixteenWide(kStop) &&
              AllRowsSixteenWide(kDiamond) && AllRowsSixteenWide(kTab) &&
              AllRowsSixteenWide(kDisc) && AllRowsSixteenWide(kPointer));

void Put(PixelImage& image, int glyph, const Art& art) {
  for (int y = 0; y < MARGIN_GLYPH_SIZE; ++y) {
    for (int x = 0; x < MARGIN_GLYPH_SIZE; ++x) {
      image.pixels[static_cast<std::size_t>(y) * image.width + glyph * MARGIN_GLYPH_SIZE + x] =
          ColorOf(art[y][x]);
    }
  }
}

void PutDigit(PixelImage& image, int glyph, int digit) {
  Put(image, glyph, kTab);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 5; ++x) {
      if (kDigits[digit][y][x] != '#') continue;
      const int px = glyph * MARGIN_GLYPH_SIZE + 5 + x;
      const int py = 4 + y;
      image.pixels[static_cast<std::size_t>(py) * image.width + px] = RGB(0, 0, 0);
    }
  }
}

PixelImage BuildStrip() {
  PixelImage strip;
  strip.width = MARGIN_GLYPH_SIZE * MARGIN_GLYPH_COUNT;
  strip.height = MARGIN_GLYPH_SIZE;
  strip.pixels.assign(static_cast<std::size_t>(strip.width) * strip.height,
                      MARGIN_GLYPH_TRANSPARENT);
  Put(strip, GLYPH_MARK_A, kArrow);
  Put(strip, GLYPH_MARK_B, kStop);
  Put(strip, GLYPH_MARK_C, kDiamond);
  for (int n = 1; n <= 9; ++n) PutDigit(strip, GLYPH_BOOKMARK_1 + n - 1, n);
  PutDigit(strip, GLYPH_BOOKMARK_0, 0);
  Put(strip, GLYPH_BOOKMARK, kDisc);
  return strip;
}

CursorImage BuildCursor() {
  CursorImage cursor;
  cursor.image.width = 16;
  cursor.image.height = 16;
  cursor.image.pixels.assign(256, CURSOR_TRANSPARENT);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const char key = kPointer[y][15 - x];
      if (key == ' ') continue;
      cursor.image.pixels[static_cast<std::size_t>(y) * 16 + x] = ColorOf(key);
    }
  }
  cursor.hotSpot = CPoint(15, 0);
  return cursor;
}

}  // namespace

const PixelImage& MarginGlyphStrip() {
  static const PixelImage strip = BuildStrip();
  return strip;
}

const CursorImage& MarginCursor() {
  static const CursorImage cursor = BuildCursor();
  return cursor;
}

std::string ImageToText(const PixelImage& image, const CRect& part) {
  std::string text;
  for (int y = part.top; y < part.bottom && y < image.height; ++y) {
    for (int x = part.left; x < part.right && x < image.width; ++x) {
      const COLORREF c = image.At(x, y);
      char key = ' ';
      for (const PaletteEntry& e : kPalette) {
        if (e.color == c) key = e.key;
      }
      text.push_back(key);
    }
    text.push_back('\n');
  }
  return text;
}

}  // namespace quill
