#include "editor_host.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "buffer/text_buffer.h"
#include "language_views.h"
#include "style/document_style.h"
#include "text_painter.h"

namespace quillpad {

namespace {

// A read-only text widget over a view: scrolls by whole lines and columns and paints the
// visible lines through the view's parser and colours.
class TextWidget : public QAbstractScrollArea {
 public:
  TextWidget(std::unique_ptr<LanguageView> view, quill::QuillTextBuffer* buffer, QWidget* parent)
      : QAbstractScrollArea(parent), m_view(std::move(view)), m_buffer(buffer) {
    m_view->CreateStyle();
    m_view->AttachToBuffer(buffer);
    m_painter = std::make_unique<TextPainter>(*m_view, *buffer, TextPainter::StyleFont(*m_view),
                                              viewport());
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(),
            [this] { viewport()->update(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(),
            [this] { viewport()->update(); });
  }

  ~TextWidget() override {
    m_painter.reset();
    m_view->DetachFromBuffer();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
  }

  void paintEvent(QPaintEvent*) override {
    UpdateScrollBars();
    QPainter painter(viewport());
    const int margin = m_view->GetMarginWidth();
    const QColor bg = ToQColor(m_view->GetColor(kNormalBackground));
    painter.fillRect(viewport()->rect(), bg);
    painter.fillRect(QRect(0, 0, margin, viewport()->height()),
                     ToQColor(m_view->GetColor(3)));  // the selection margin
    const int first = verticalScrollBar()->value();
    const int rows = viewport()->height() / m_painter->LineHeight() + 1;
    const unsigned long cookie = first > 0 ? m_view->GetParseCookie(first - 1) : 0;
    const int offset = horizontalScrollBar()->value();
    painter.setClipRect(QRect(margin, 0, viewport()->width() - margin, viewport()->height()));
    const int columns = offset + viewport()->width() / m_painter->CellWidth() + 2;
    m_painter->PaintLines(painter, first, rows, cookie,
                          QPointF(margin - offset * m_painter->CellWidth(), 0), columns);
  }

 private:
  void UpdateScrollBars() {
    const int rows = std::max(1, viewport()->height() / m_painter->LineHeight());
    verticalScrollBar()->setPageStep(rows);
    verticalScrollBar()->setRange(0, std::max(0, m_buffer->GetLineCount() - rows));
    const int cols = std::max(1, (viewport()->width() - m_view->GetMarginWidth()) /
                                     m_painter->CellWidth());
    // The horizontal range grows with the longest line seen so far, so that opening a
    // large file does not measure every line of it.
    const int first = verticalScrollBar()->value();
    const int last = std::min(m_buffer->GetLineCount(), first + rows + 1);
    for (int line = first; line < last; ++line)
      m_widest = std::max(m_widest, m_view->GetLineActualLength(line));
    horizontalScrollBar()->setPageStep(cols);
    horizontalScrollBar()->setRange(0, std::max(0, m_widest - cols));
  }

  int m_widest = 0;
  std::unique_ptr<LanguageView> m_view;
  quill::QuillTextBuffer* m_buffer;
  std::unique_ptr<TextPainter> m_painter;
};

}  // namespace

QWidget* CreateEditorWidget(std::unique_ptr<LanguageView> view, quill::QuillTextBuffer* buffer,
                            QWidget* parent) {
  return new TextWidget(std::move(view), buffer, parent);
}

void InstallDesktopServices(QMainWindow*) {}

}  // namespace quillpad
