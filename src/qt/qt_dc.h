#pragma once
// The drawing surface on Qt: a CDC over a QPainter (the widget while it paints, a printer,
// or a bitmap selected into a memory device). Fonts are mapped from LOGFONT records to
// QFonts once and cached with their glyphs for the 256 bytes; every byte is one cell of
// a whole-pixel width and text is drawn as a glyph run with each cell at column * width,
// so that what is drawn lines up with the view's column arithmetic.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QRect>

#include <array>
#include <memory>
#include <string_view>

#include "platform/gdi.h"

class QPainter;

namespace quill::qt {

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQColor(const QColor& c) {
  return RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue()));
}

// A font record made real: the QFont, its metrics and the glyph of every byte.
struct FontFace {
  QFont font;
  QRawFont raw;
  int cellWidth = 1;
  int height = 1;
  int ascent = 0;
  std::array<quint32, 256> glyphs{};
};

// The QFont a LOGFONT asks for (face, height, weight, italic, underline, strike-out).
QFont FontFromLogFont(const LOGFONT& lf);
// The LOGFONT of a QFont (pixel height as a negative height).
LOGFONT LogFontFromFont(const QFont& font);
// The face of a font record, created on first use and kept for the process.
const FontFace& FaceOf(const LOGFONT& lf);

class QtBitmap : public CBitmap {
 public:
  QtBitmap(int cx, int cy);
  CSize GetSize() const override { return CSize(image.width(), image.height()); }
  QImage image;
};

class QtDC : public CDC {
 public:
  // A device drawing through painter (not owned); a null painter draws nothing and only
  // measures. defaultFont is used while no font is selected.
  explicit QtDC(QPainter* painter, const LOGFONT& defaultFont = LOGFONT());
  ~QtDC() override;
  QtDC(const QtDC&) = delete;
  QtDC& operator=(const QtDC&) = delete;

  std::unique_ptr<CDC> CreateCompatibleDC() override;
  std::unique_ptr<CBitmap> CreateCompatibleBitmap(int cx, int cy) override;
  using CDC::SelectObject;
  CBitmap* SelectObject(CBitmap* bitmap) override;
  void FillSolidRect(const CRect& rect, COLORREF color) override;
  bool ExtTextOut(int x, int y, unsigned options, const CRect* rect,
                  std::string_view text) override;
  CSize GetTextExtent(std::string_view text) override;
  bool BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc) override;
  void DrawImage(const PixelImage& image, const CRect& source, CPoint pt, bool useTransparent,
                 COLORREF transparent) override;
  bool IsPrinting() const override { return m_printing; }
  void SetPrinting(bool printing) { m_printing = printing; }

  QPainter* Painter() const { return m_painter; }
  // The image of the bitmap selected into a memory device, or null.
  const QImage* SelectedImage() const { return m_bitmap ? &m_bitmap->image : nullptr; }

 private:
  // ExtTextOut of UTF-8 text beyond ASCII: each character in its cells, combining marks on
  // the character before them, Qt's font fallback for characters the font lacks.
  void DrawUtf8Text(int x, int y, const QRect& cells, bool clipped, std::string_view text);

  const FontFace& Face();

  QPainter* m_painter;
  std::unique_ptr<QPainter> m_ownPainter;  // a memory device's painter on its bitmap
  QtBitmap* m_bitmap = nullptr;
  LOGFONT m_defaultFont;
  LOGFONT m_faceKey;
  const FontFace* m_face = nullptr;
  bool m_printing = false;
};

}  // namespace quill::qt
