// The headless drawing surface and the margin art: what the view's tests rely on. Block
// copies are exercised by every paint of the view (it draws each line off screen).

#include <gtest/gtest.h>

#include <set>

#include "platform/headless/headless_dc.h"
#include "resources/glyphs.h"

namespace quill {
namespace {

TEST(HeadlessSurface, LaterOpaqueDrawingHidesWhatItCovers) {
  HeadlessDC dc(CSize(100, 16));
  dc.SetTextColor(RGB(1, 1, 1));
  dc.SetBkColor(RGB(2, 2, 2));
  const CRect clip(0, 0, 100, 16);
  dc.ExtTextOut(0, 0, ETO_CLIPPED, &clip, "abcdef");
  dc.FillSolidRect(CRect(0, 0, 16, 16), RGB(9, 9, 9));  // covers "ab"
  EXPECT_EQ(dc.RowText(8, 0, 8, 7), std::string("  cdef\0", 7));
  EXPECT_EQ(dc.At(4, 4).bkColor, RGB(9, 9, 9));
  EXPECT_EQ(dc.At(20, 4).textColor, RGB(1, 1, 1));
  dc.FillSolidRect(CRect(0, 0, 100, 16), RGB(3, 3, 3));
  EXPECT_EQ(dc.Ops().size(), 1u);
}

TEST(MarginArt, FourteenDistinctGlyphsWithTransparentWhite) {
  const PixelImage& strip = MarginGlyphStrip();
  EXPECT_EQ(strip.width, 14 * 16);
  EXPECT_EQ(strip.height, 16);
  std::set<std::string> glyphs;
  for (int i = 0; i < MARGIN_GLYPH_COUNT; ++i) {
    const std::string art = ImageToText(strip, CRect(i * 16, 0, i * 16 + 16, 16));
    EXPECT_NE(art.find_first_not_of(".\n"), std::string::npos) << i;  // not blank
    EXPECT_EQ(art.find(' '), std::string::npos) << i;  // only palette colours
    glyphs.insert(art);
  }
  EXPECT_EQ(glyphs.size(), 14u);
  // The corners stay transparent so the margin shows through.
  EXPECT_EQ(strip.At(0, 0), MARGIN_GLYPH_TRANSPARENT);
}

}  // namespace
}  // namespace quill
