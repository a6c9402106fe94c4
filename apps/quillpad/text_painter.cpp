#include "text_painter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>

#include "buffer/text_buffer.h"
#include "style/document_style.h"

namespace quillpad {

QColor ToQColor(unsigned long color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

QFont TextPainter::StyleFont(const quill::QuillView& view) {
  QFont font("DejaVu Sans Mono");
  font.setStyleHint(QFont::Monospace);
  if (const quill::TDocumentStyle* style = view.GetTextStyle()) {
    font.setFamily(QString::fromStdString(style->GetFontName()));
    font.setFamilies({QString::fromStdString(style->GetFontName()), "DejaVu Sans Mono"});
    // The style's height is negative logical units of a 96-dpi screen.
    const int height = std::abs(style->GetFontSize());
    font.setPointSizeF(height > 0 ? height * 72.0 / 96.0 : 10.0);
  } else {
    font.setPointSizeF(10.0);
  }
  font.setFixedPitch(true);
  return font;
}

TextPainter::TextPainter(quill::QuillView& view, quill::QuillTextBuffer& buffer,
                         const QFont& font, QPaintDevice* device)
    : m_view(view), m_buffer(buffer), m_font(font, device) {
  const QFontMetricsF fm(m_font, device);
  const qreal advance = fm.horizontalAdvance('X');
  m_cell = std::max(1, static_cast<int>(std::lround(advance)));
  // Where the font's advance is fractional at this resolution, characters are placed one
  // by one on their cells so that columns stay aligned across runs.
  m_perCell = std::abs(advance - m_cell) * 80 > 0.5;
  m_lineHeight = std::max(1, static_cast<int>(std::ceil(fm.lineSpacing())));
  m_ascent = static_cast<int>(std::lround(fm.ascent()));
}

unsigned long TextPainter::PaintLines(QPainter& painter, int first, int count,
                                      unsigned long cookie, QPointF origin, int columns) {
  const int tab = std::max(1, m_view.GetTabSize());
  const QColor background = ToQColor(m_view.GetColor(kNormalBackground));
  painter.setFont(m_font);
  const int end = std::min(first + count, m_buffer.GetLineCount());
  std::string cells;
  for (int line = first; line < end; ++line) {
    const char* chars = m_buffer.GetLineChars(line);
    const int length = m_buffer.GetLineLength(line);
    m_runs.resize(3 * static_cast<std::size_t>(length) + 3);
    int nRuns = 0;
    cookie = m_view.ParseLine(chars, length, cookie, line, m_runs.data(), nRuns);
    if (nRuns == 0 || m_runs[0].charPos > 0) {
      m_runs.insert(m_runs.begin(), {0, quill::TDocumentStyle::COLORINDEX_NORMALTEXT,
                                     kNormalBackground});
      ++nRuns;
    }
    const qreal y = origin.y() + (line - first) * m_lineHeight;
    int column = 0;
    for (int r = 0; r < nRuns && column < columns; ++r) {
      const int from = m_runs[r].charPos;
      const int to = r + 1 < nRuns ? m_runs[r + 1].charPos : length;
      if (to <= from) continue;
      cells.clear();
      for (int i = from; i < to; ++i) {
        if (chars[i] == '\t') {
          cells.append(static_cast<std::size_t>(tab - (column + static_cast<int>(cells.size())) % tab), ' ');
        } else {
          cells.push_back(chars[i]);
        }
      }
      const int n = std::min(static_cast<int>(cells.size()), columns - column);
      const QRectF box(origin.x() + column * m_cell, y, n * m_cell, m_lineHeight);
      const QColor bg = ToQColor(m_view.GetColor(m_runs[r].bgColorIndex));
      if (bg != background) painter.fillRect(box, bg);
      painter.setPen(ToQColor(m_view.GetColor(m_runs[r].fgColorIndex)));
      // Bytes are shown as Latin-1.
      if (m_perCell) {
        for (int i = 0; i < n; ++i) {
          const char c = cells[static_cast<std::size_t>(i)];
          if (c != ' ')
            painter.drawText(QPointF(box.left() + i * m_cell, y + m_ascent),
                             QString(QChar(static_cast<unsigned char>(c))));
        }
      } else {
        painter.drawText(QPointF(box.left(), y + m_ascent),
                         QString::fromLatin1(cells.data(), static_cast<qsizetype>(n)));
      }
      column += n;
    }
  }
  return cookie;
}

}  // namespace quillpad
