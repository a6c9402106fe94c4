// The headless drawing surface and the margin art: what the view's tests rely on.

#include <gtest/gtest.h>

#include <set>

#include "platform/headless/headless_dc.h"
#include "resources/glyphs.h"

namespace quill {
namespace {

TEST(HeadlessSurface, CellSizeFollowsTheFontHeight) {
  LOGFONT lf;
  lf.lfHeight = -13;
  EXPECT_EQ(HeadlessCellSize(lf), CSize(8, 16));
  lf.lfHeight = -26;
  EXPECT_EQ(HeadlessCellSize(lf), CSize(16, 32));
  lf.lfHeight = 20;
  EXPECT_EQ(HeadlessCellSize(lf), CSize(10, 20));
}

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

TEST(HeadlessSurface, TextIsClippedToItsRectangle) {
  HeadlessDC dc(CSize(100, 16));
  const CRect clip(20, 0, 40, 16);
  dc.ExtTextOut(4, 0, ETO_CLIPPED, &clip, "abcdefgh");
  EXPECT_FALSE(dc.At(10, 4).covered);
  EXPECT_EQ(dc.At(21, 4).ch, 'c');
  EXPECT_EQ(dc.At(39, 4).ch, 'e');
  EXPECT_FALSE(dc.At(41, 4).covered);
}

TEST(HeadlessSurface, BlockCopiesCarryABitmapsDrawingAcross) {
  HeadlessDC screen(CSize(100, 48));
  std::unique_ptr<CDC> memory = screen.CreateCompatibleDC();
  std::unique_ptr<CBitmap> bitmap = screen.CreateCompatibleBitmap(100, 16);
  CBitmap* old = memory->SelectObject(bitmap.get());
  memory->SetBkColor(RGB(5, 5, 5));
  const CRect clip(0, 0, 100, 16);
  memory->ExtTextOut(0, 0, ETO_CLIPPED, &clip, "row");
  screen.BitBlt(10, 32, 50, 16, memory.get(), 0, 0);
  memory->SelectObject(old);
  EXPECT_EQ(screen.RowText(40, 10, 8, 4), std::string("row\0", 4));
  EXPECT_EQ(screen.At(12, 40).bkColor, RGB(5, 5, 5));
  EXPECT_FALSE(screen.At(12, 8).covered);
  EXPECT_EQ(screen.blitCalls, 1);
}

TEST(HeadlessSurface, WithoutRecordingNothingIsKept) {
  HeadlessDC dc(CSize(100, 16), false);
  dc.FillSolidRect(CRect(0, 0, 10, 10), 0);
  dc.ExtTextOut(0, 0, 0, nullptr, "x");
  EXPECT_TRUE(dc.Ops().empty());
  EXPECT_EQ(dc.textOutCalls, 1);
  EXPECT_EQ(dc.GetTextExtent("abc"), CSize(24, 16));
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

  CImageList list;
  ASSERT_TRUE(list.Create(strip, 16, MARGIN_GLYPH_TRANSPARENT));
  EXPECT_EQ(list.GetImageCount(), 14);
  HeadlessDC dc(CSize(40, 40));
  EXPECT_TRUE(list.Draw(&dc, 13, CPoint(2, 3), ILD_TRANSPARENT));
  EXPECT_FALSE(list.Draw(&dc, 14, CPoint(2, 3), ILD_TRANSPARENT));
  EXPECT_EQ(dc.At(5, 5).image, 13);
}

TEST(MarginArt, CursorPointsRightWithItsHotSpotAtTheTip) {
  const CursorImage& cursor = MarginCursor();
  EXPECT_EQ(cursor.hotSpot, CPoint(15, 0));
  EXPECT_EQ(cursor.image.At(15, 0), RGB(0, 0, 0));
  EXPECT_EQ(cursor.image.At(0, 0), CURSOR_TRANSPARENT);
}

}  // namespace
}  // namespace quill
