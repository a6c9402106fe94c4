#include "qt/qt_dc.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "qt/cp1252.h"

namespace quill::qt {

namespace {

std::string KeyOf(const LOGFONT& lf) {
  return std::string(reinterpret_cast<const char*>(&lf), sizeof(LOGFONT));
}

LOGFONT Normalized(const LOGFONT& lf) {
  // Equal records compare equal byte for byte: the face name is cleared past its end.
  LOGFONT key = lf;
  const std::size_t len = strnlen(lf.lfFaceName, LF_FACESIZE - 1);
  std::memset(key.lfFaceName + len, 0, LF_FACESIZE - len);
  return key;
}

std::unique_ptr<FontFace> MakeFace(const LOGFONT& lf) {
  auto face = std::make_unique<FontFace>();
  face->font = FontFromLogFont(lf);
  face->raw = QRawFont::fromFont(face->font);
  const QFontMetricsF metrics(face->font);
  face->height = std::max(1, static_cast<int>(std::ceil(metrics.ascent() + metrics.descent())));
  face->ascent = static_cast<int>(std::round(metrics.ascent()));
  face->cellWidth = std::max(1, static_cast<int>(std::lround(metrics.horizontalAdvance(QLatin1Char('X')))));
  if (face->raw.isValid()) {
    for (int b = 0; b < 256; ++b) {
      const QChar c(Cp1252ToUnicode(static_cast<unsigned char>(b)));
      quint32 glyph = 0;
      int count = 1;
      if (face->raw.glyphIndexesForChars(&c, 1, &glyph, &count) && count == 1) {
        face->glyphs[static_cast<std::size_t>(b)] = glyph;
      }
    }
  }
  return face;
}

}  // namespace

QFont FontFromLogFont(const LOGFONT& lf) {
  QFont font;
  const std::string face(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  if (!face.empty()) font.setFamily(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())));
  if ((lf.lfPitchAndFamily & FIXED_PITCH) != 0 || (lf.lfPitchAndFamily & 0xF0) == FF_MODERN) {
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
  }
  font.setHintingPreference(QFont::PreferFullHinting);
  if (lf.lfHeight < 0) {
    font.setPixelSize(std::max(1, -lf.lfHeight));
  } else if (lf.lfHeight > 0) {
    // A positive height is the cell height: scale the character height to fit it.
    font.setPixelSize(lf.lfHeight);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0) {
      font.setPixelSize(std::max(1, static_cast<int>(std::floor(lf.lfHeight * lf.lfHeight / cell))));
    }
  } else {
    font.setPixelSize(13);
  }
  const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp(static_cast<int>(lf.lfWeight), 100, 900);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  return font;
}

LOGFONT LogFontFromFont(const QFont& font) {
  LOGFONT lf;
  const QFontInfo info(font);
  lf.lfHeight = -std::max(1, info.pixelSize());
  lf.lfWeight = info.weight();
  lf.lfItalic = info.italic() ? 1 : 0;
  lf.lfPitchAndFamily = info.fixedPitch() ? FIXED_PITCH : 0;
  const QByteArray family = info.family().toLatin1();
  std::strncpy(lf.lfFaceName, family.constData(), LF_FACESIZE - 1);
  return lf;
}

const FontFace& FaceOf(const LOGFONT& lf) {
  static std::map<std::string, std::unique_ptr<FontFace>> cache;
  const std::string key = KeyOf(Normalized(lf));
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, MakeFace(lf)).first;
  return *it->second;
}

QtBitmap::QtBitmap(int cx, int cy)
    : image(std::max(cx, 1), std::max(cy, 1), QImage::Format_RGB32) {
  image.fill(Qt::white);
}

QtDC::QtDC(QPainter* painter, const LOGFONT& defaultFont)
    : m_painter(painter), m_defaultFont(defaultFont) {}

QtDC::~QtDC() {
  if (m_ownPainter) m_ownPainter->end();
}

std::unique_ptr<CDC> QtDC::CreateCompatibleDC() {
  auto dc = std::make_unique<QtDC>(nullptr, m_defaultFont);
  dc->m_printing = m_printing;
  return dc;
}

std::unique_ptr<CBitmap> QtDC::CreateCompatibleBitmap(int cx, int cy) {
  if (cx < 0 || cy < 0) return nullptr;
  return std::make_unique<QtBitmap>(cx, cy);
}

CBitmap* QtDC::SelectObject(CBitmap* bitmap) {
  QtBitmap* previous = m_bitmap;
  if (m_ownPainter) {
    m_ownPainter->end();
    m_ownPainter.reset();
    m_painter = nullptr;
  }
  m_bitmap = dynamic_cast<QtBitmap*>(bitmap);
  if (m_bitmap != nullptr) {
    m_ownPainter = std::make_unique<QPainter>(&m_bitmap->image);
    m_painter = m_ownPainter.get();
  }
  return previous;
}

const FontFace& QtDC::Face() {
  const LOGFONT& lf = m_font != nullptr && m_font->IsCreated() ? m_font->GetLogFont() : m_defaultFont;
  if (m_face == nullptr || !(lf == m_faceKey)) {
    m_face = &FaceOf(lf);
    m_faceKey = lf;
  }
  return *m_face;
}

void QtDC::FillSolidRect(const CRect& rect, COLORREF color) {
  if (m_painter == nullptr || rect.IsRectEmpty()) return;
  m_painter->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

// Draws glyphs of a raw font at their positions, underlined and struck out as the font is.
static void DrawGlyphs(QPainter& painter, const QRawFont& raw, const QFont& font, QPointF origin,
                       const QList<quint32>& glyphs, const QList<QPointF>& positions) {
  if (glyphs.isEmpty()) return;
  QGlyphRun run;
  run.setRawFont(raw);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  run.setUnderline(font.underline());
  run.setStrikeOut(font.strikeOut());
  painter.drawGlyphRun(origin, run);
}

bool QtDC::ExtTextOut(int x, int y, unsigned options, const CRect* rect, std::string_view text) {
  if (m_painter == nullptr) return true;
  const FontFace& face = Face();
  QRect cells(x, y, face.cellWidth * TextCells(text), face.height);
  QRect clip;
  const bool clipped = rect != nullptr && (options & ETO_CLIPPED) != 0;
  if (rect != nullptr) clip = QRect(rect->left, rect->top, rect->Width(), rect->Height());
  if (rect != nullptr && (options & ETO_OPAQUE) != 0) m_painter->fillRect(clip, ToQColor(m_bk));
  if (clipped) cells = cells.intersected(clip);
  if (cells.isEmpty() && clipped) return true;
  // The cells get the background colour, then the glyphs go on top.
  m_painter->fillRect(cells, ToQColor(m_bk));
  if (text.empty() || !face.raw.isValid()) return true;
  if (GetTextEncoding() == ENCODING_UTF8 && !IsAscii(text.data(), text.size())) {
    DrawUtf8Text(x, y, cells, clipped, text);
    return true;
  }

  // Only the bytes whose cells reach the visible part are drawn.
  int first = 0;
  int last = static_cast<int>(text.size());
  if (clipped) {
    first = std::max(0, (cells.left() - x) / face.cellWidth);
    last = std::min(last, (cells.right() + 1 - x + face.cellWidth - 1) / face.cellWidth);
  }
  if (first >= last) return true;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(last - first);
  positions.reserve(last - first);
  for (int i = first; i < last; ++i) {
    const unsigned char b = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    if (b == ' ') continue;
    glyphs.push_back(face.glyphs[b]);
    positions.push_back(QPointF(i * face.cellWidth, face.ascent));
  }
  if (glyphs.isEmpty()) return true;
  m_painter->save();
  if (clipped) m_painter->setClipRect(cells, Qt::IntersectClip);
  m_painter->setPen(ToQColor(m_text));
  DrawGlyphs(*m_painter, face.raw, face.font, QPointF(x, y), glyphs, positions);
  m_painter->restore();
  return true;
}

void QtDC::DrawUtf8Text(int x, int y, const QRect& cells, bool clipped, std::string_view text) {
  const FontFace& face = Face();
  QList<quint32> glyphs;
  QList<QPointF> positions;
  // Characters the font has no glyph for, or that carry combining marks, with their cell.
  std::vector<std::pair<int, QString>> fallback;
  const int nLength = static_cast<int>(text.size());
  int column = 0;
  for (int i = 0; i < nLength;) {
    char32_t cp;
    int end = i + DecodeUtf8(text.data(), nLength, i, cp);
    const int cellsOf = CodePointCells(cp);
    // The zero-width characters after it are drawn with it.
    const int after = Utf8NextCharPos(text.data(), nLength, i);
    const bool alone = after == end;
    end = std::max(end, after);
    const int left = x + column * face.cellWidth;
    const int right = left + std::max(cellsOf, 1) * face.cellWidth;
    const bool visible = !clipped || (right > cells.left() && left <= cells.right());
    if (visible && cp != ' ') {
      quint32 glyph = 0;
      int count = 1;
      const QChar c(static_cast<char16_t>(cp));
      if (alone && cp < 0x10000 && !QChar::isSurrogate(cp) &&
          face.raw.glyphIndexesForChars(&c, 1, &glyph, &count) && count == 1 && glyph != 0) {
        glyphs.push_back(glyph);
        positions.push_back(QPointF(column * face.cellWidth, face.ascent));
      } else {
        const std::string_view part = text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i));
        fallback.emplace_back(left, QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
      }
    }
    column += cellsOf;
    i = end;
  }
  m_painter->save();
  if (clipped) m_painter->setClipRect(cells, Qt::IntersectClip);
  m_painter->setPen(ToQColor(m_text));
  DrawGlyphs(*m_painter, face.raw, face.font, QPointF(x, y), glyphs, positions);
  if (!fallback.empty()) {
    m_painter->setFont(face.font);
    for (const auto& [left, part] : fallback) m_painter->drawText(QPointF(left, y + face.ascent), part);
  }
  m_painter->restore();
}

CSize QtDC::GetTextExtent(std::string_view text) {
  const FontFace& face = Face();
  return CSize(face.cellWidth * TextCells(text), face.height);
}

bool QtDC::BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc) {
  auto* source = dynamic_cast<QtDC*>(src);
  if (source == nullptr || source->m_bitmap == nullptr) return false;
  if (m_painter == nullptr) return true;
  m_painter->drawImage(QRect(x, y, cx, cy), source->m_bitmap->image, QRect(xSrc, ySrc, cx, cy));
  return true;
}

void QtDC::DrawImage(const PixelImage& image, const CRect& source, CPoint pt, bool useTransparent,
                     COLORREF transparent) {
  if (m_painter == nullptr) return;
  CRect part;
  if (!part.IntersectRect(source, CRect(0, 0, image.width, image.height))) return;
  QImage picture(part.Width(), part.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < part.Height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < part.Width(); ++x) {
      const COLORREF c = image.At(part.left + x, part.top + y);
      line[x] = useTransparent && c == transparent
                    ? qRgba(0, 0, 0, 0)
                    : qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
  }
  m_painter->drawImage(QPoint(pt.x + part.left - source.left, pt.y + part.top - source.top), picture);
}

}  // namespace quill::qt
