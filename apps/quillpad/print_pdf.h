#pragma once
// Prints a document to a PDF file: its text in the colours of its view, paged, with the
// file name and page number at the top of each page.

#include <QString>

namespace quill {
class QuillTextBuffer;
class QuillView;
}  // namespace quill

namespace quillpad {

// False when the PDF could not be written.
bool PrintToPdf(quill::QuillView& view, quill::QuillTextBuffer& buffer, const QString& title,
                const QString& pdfPath);

}  // namespace quillpad
