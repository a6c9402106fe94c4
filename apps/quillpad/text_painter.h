#pragma once
// Paints lines of a buffer in the colours of a view with QPainter: each line is parsed by
// the view (its ParseLine and GetColor), tabs are expanded by the view's tab size, and
// every character takes one whole-pixel cell.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <vector>

#include "view/quill_view.h"

class QPainter;
class QPaintDevice;

namespace quill {
class QuillTextBuffer;
}

namespace quillpad {

class TextPainter {
 public:
  // The view must have its style; the font is measured on device.
  TextPainter(quill::QuillView& view, quill::QuillTextBuffer& buffer, const QFont& font,
              QPaintDevice* device);

  int CellWidth() const { return m_cell; }
  int LineHeight() const { return m_lineHeight; }
  const QFont& Font() const { return m_font; }

  // Paints `count` lines from `first` (the parse state before it is `cookie`), the first
  // one with its top-left corner at origin, `columns` cells wide. Returns the parse state
  // after the last line painted.
  unsigned long PaintLines(QPainter& painter, int first, int count, unsigned long cookie,
                           QPointF origin, int columns);

  // The font of the view's style at the given resolution.
  static QFont StyleFont(const quill::QuillView& view);

 private:
  quill::QuillView& m_view;
  quill::QuillTextBuffer& m_buffer;
  QFont m_font;
  int m_cell = 1;
  int m_lineHeight = 1;
  int m_ascent = 0;
  bool m_perCell = false;
  std::vector<quill::QuillView::TEXTBLOCK> m_runs;
};

// The colour index of the background of normal text.
inline constexpr int kNormalBackground = 17;

// Converts a 0x00BBGGRR colour.
QColor ToQColor(unsigned long color);

}  // namespace quillpad
