#pragma once
// Printing from the command line: a file printed into a PDF through its view's printing,
// exactly as File > Print sends it to a printer.

#include <QString>

namespace quillpad {

// Opens the file in a view of its document type (in a hidden editor window) and prints it
// to pdfPath. Returns the process's exit status; errors are reported on stderr.
int PrintFileToPdf(const QString& file, const QString& pdfPath);

}  // namespace quillpad
