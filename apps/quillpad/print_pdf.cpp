#include "print_pdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "buffer/text_buffer.h"
#include "text_painter.h"

namespace quillpad {

bool PrintToPdf(quill::QuillView& view, quill::QuillTextBuffer& buffer, const QString& title,
                const QString& pdfPath) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(pdfPath);
  printer.setDocName(title);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(&printer)) return false;

  TextPainter text(view, buffer, TextPainter::StyleFont(view), &printer);
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int header = text.LineHeight() * 2;
  const int linesPerPage = std::max(1, (page.height() - header) / text.LineHeight());
  const int columns = std::max(1, page.width() / text.CellWidth());
  const int lines = buffer.GetLineCount();
  const int pages = (lines + linesPerPage - 1) / linesPerPage;

  unsigned long cookie = 0;
  for (int p = 0; p < pages; ++p) {
    if (p > 0) printer.newPage();
    painter.setFont(text.Font());
    painter.setPen(Qt::black);
    const QRectF head(0, 0, page.width(), text.LineHeight());
    painter.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter,
                     QString("Page %1 of %2").arg(p + 1).arg(pages));
    painter.drawLine(QPointF(0, text.LineHeight() * 1.4), QPointF(page.width(), text.LineHeight() * 1.4));
    cookie = text.PaintLines(painter, p * linesPerPage, linesPerPage, cookie, QPointF(0, header),
                             columns);
  }
  return painter.end();
}

}  // namespace quillpad
