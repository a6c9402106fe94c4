// The margin art. The headless drawing surface is exercised by every paint of the view in
// the render tests: opaque drawing over drawing, and block copies of each line drawn off
// screen.

#include <gtest/gtest.h>

#include <set>

#include "resources/glyphs.h"

namespace quill {
namespace {

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
