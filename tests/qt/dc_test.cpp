// The QPainter drawing surface: whole-pixel cells, clipping, opaque cells, transparent
// images and the Windows-1252 glyphs (block copies from memory bitmaps are how the view
// paints every line: the editor widget's pixel tests cover them); the Windows-1252 text
// conversions.

#include <gtest/gtest.h>

#include <QPainter>

#include <cstring>

#include "qt/cp1252.h"
#include "qt/qt_dc.h"

namespace quill::qt {
namespace {

LOGFONT CourierNew() {
  LOGFONT lf;
  lf.lfHeight = -13;
  lf.lfWeight = FW_NORMAL;
  lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  std::strcpy(lf.lfFaceName, "Courier New");
  return lf;
}

QImage Blank(int w = 200, int h = 40) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// Draws on the image through a device context with the test font selected.
template <typename F>
void Draw(QImage* image, F draw) {
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(CourierNew()));
  QPainter p(image);
  QtDC dc(&p);
  dc.SelectObject(&font);
  draw(dc);
}

TEST(QtDC, CellsAreWholePixelsAndIndependentOfRuns) {
  const FontFace& face = FaceOf(CourierNew());
  ASSERT_GT(face.cellWidth, 4);
  const std::string text = "Wide wMmW";
  QImage whole = Blank();
  QImage pieces = Blank();
  Draw(&whole, [&](QtDC& dc) {
    EXPECT_EQ(dc.GetTextExtent("abcdefgh"), CSize(8 * face.cellWidth, face.height));
    dc.ExtTextOut(2, 3, 0, nullptr, text);
  });
  Draw(&pieces, [&](QtDC& dc) {
    for (std::size_t i = 0; i < text.size(); ++i)
      dc.ExtTextOut(2 + static_cast<int>(i) * face.cellWidth, 3, 0, nullptr, text.substr(i, 1));
  });
  // A run drawn at once and byte by byte at column * width give the same pixels.
  EXPECT_EQ(whole, pieces);
}

TEST(QtDC, ClippedTextFillsItsCellsAndNothingOutside) {
  const FontFace& face = FaceOf(CourierNew());
  QImage image = Blank();
  const CRect clip(10, 0, 10 + 3 * face.cellWidth, face.height);
  Draw(&image, [&](QtDC& dc) {
    dc.SetBkColor(RGB(0, 0, 255));
    dc.SetTextColor(RGB(255, 255, 0));
    // Starts two cells left of the clip and runs far past it.
    dc.ExtTextOut(10 - 2 * face.cellWidth, 0, ETO_CLIPPED, &clip, "abcdefghijklmnop");
  });
  // Opaque cells inside (background or glyph colours, never the white underneath),
  // untouched white outside.
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      ASSERT_EQ(image.pixelColor(x, y) == QColor(Qt::white), !inside) << x << "," << y;
    }
}

TEST(QtDC, ImagesSkipTheTransparentColour) {
  PixelImage strip;
  strip.width = 4;
  strip.height = 2;
  // Two 2 x 2 images: the second has a white (transparent) corner.
  strip.pixels = {RGB(1, 2, 3), RGB(1, 2, 3), RGB(255, 255, 255), RGB(0, 200, 0),
                  RGB(1, 2, 3), RGB(1, 2, 3), RGB(0, 200, 0), RGB(0, 200, 0)};
  QImage screen = Blank(10, 10);
  screen.fill(QColor(50, 50, 50));
  {
    QPainter p(&screen);
    QtDC dc(&p);
    dc.DrawImage(strip, CRect(2, 0, 4, 2), CPoint(3, 3), true, RGB(255, 255, 255));
    dc.DrawImage(strip, CRect(2, 0, 4, 2), CPoint(6, 6), false, RGB(255, 255, 255));
  }
  EXPECT_EQ(screen.pixelColor(3, 3), QColor(50, 50, 50));  // transparent: untouched
  EXPECT_EQ(screen.pixelColor(4, 4), QColor(0, 200, 0));
  EXPECT_EQ(screen.pixelColor(6, 6), QColor(255, 255, 255));  // drawn as is
}

TEST(QtDC, ViewTabMarksHaveTheirOwnGlyphs) {
  const FontFace& face = FaceOf(CourierNew());
  ASSERT_TRUE(face.raw.isValid());
  // 0xBB and 0x95 draw the font's » and •, not the missing-glyph box or a '?'.
  const QList<quint32> expected = face.raw.glyphIndexesForString(QString::fromUtf8("\u00BB\u2022\u20AC"));
  ASSERT_EQ(expected.size(), 3);
  const unsigned char bytes[] = {0xBB, 0x95, 0x80};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(face.glyphs[bytes[i]], expected[i]) << i;
}

TEST(QtDC, FontRecordsMapOntoQFonts) {
  LOGFONT lf = CourierNew();
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  const QFont font = FontFromLogFont(lf);
  EXPECT_TRUE(font.bold() && font.italic());
  // A positive height is the cell height: the face fits into it.
  lf.lfHeight = 20;
  EXPECT_TRUE(FaceOf(lf).height >= 17 && FaceOf(lf).height <= 21) << FaceOf(lf).height;
  // Back from a QFont: the pixel height as a negative height.
  EXPECT_EQ(LogFontFromFont(FontFromLogFont(CourierNew())).lfHeight, -13);
}

TEST(Cp1252, ViewTabMarksHighBytesRoundTripAndForeignText) {
  // The tab and space marks, the euro sign, an undefined byte (itself), Latin-1.
  EXPECT_EQ(FromCp1252("a\xBB\x95\x80\x81\xE9"), QString::fromUtf8("a\u00BB\u2022\u20AC\u0081\u00E9"));
  // Every byte round-trips.
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromCp1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToCp1252(text), all);

  // Greek omega, a CJK character and an emoji (a surrogate pair) have no byte; each is
  // one '?', whatever its length in UTF-16.
  EXPECT_EQ(ToCp1252(QString::fromUtf8("x\u03A9y\u4E2Dz\U0001F600!")), "x?y?z?!");
  EXPECT_EQ(ToCp1252(QString::fromUtf8("\u20AC \u2014 \u00FF")), "\x80 \x97 \xFF");
  // A lone surrogate is one '?' too.
  EXPECT_EQ(ToCp1252(QString(QChar(0xD800)) + QLatin1Char('a')), "?a");
}

}  // namespace
}  // namespace quill::qt
