#pragma once
// Printing on Qt: a printer device over a QPrinter (a real printer, a PDF file or the
// pages of a print preview) and the print services behind the view's print commands:
// QPrintDialog, QPrintPreviewDialog and QPageSetupDialog over one QPrinter that keeps the
// user's choices for the session. Printing to a file writes PDF through the same device.

#include <QPainter>

#include <functional>
#include <memory>

#include "platform/print.h"
#include "qt/qt_dc.h"

class QPrinter;
class QPrintDialog;
class QPrintPreviewDialog;
class QPageSetupDialog;
class QWidget;

namespace quill::qt {

namespace detail {
// Holds the painter so that it exists before the device that draws through it.
struct PainterHolder {
  QPainter painter;
};
}  // namespace detail

class QtPrinterDC : private detail::PainterHolder, public QtDC {
 public:
  // Prints on printer (not owned); the painter starts with the first page.
  explicit QtPrinterDC(QPrinter* printer);
  // Prints on a printer of its own.
  explicit QtPrinterDC(std::unique_ptr<QPrinter> printer);
  ~QtPrinterDC() override;

  int GetDeviceCaps(int index) const override;
  int StartDoc(const std::string& docName) override;
  int StartPage() override;
  int EndPage() override;
  int EndDoc() override;
  int AbortDoc() override;
  CDC* ResetDC(const DEVMODE* devMode) override;

  QPrinter* Printer() const { return m_printer; }

 private:
  std::unique_ptr<QPrinter> m_owned;
  QPrinter* m_printer;
  bool m_inPage = false;
};

// The name under which the PDF output is offered when the system has no printer.
inline constexpr const char* kPdfPrinterName = "PDF";

class QtPrintServices : public IPrintServices {
 public:
  QtPrintServices();
  ~QtPrintServices() override;

  bool DoPreparePrinting(CPrintInfo& info) override;
  std::unique_ptr<CDC> CreatePrinterDC(const CPrintInfo& info) override;
  void RunPrintPreview(Window* pParent, const std::string& title,
                       const std::function<void(CDC&, CPrintInfo&)>& printJob) override;
  int RunPageSetup(CPageSetupDialog& dlg) override;
  std::string GetDefaultPrinter() override;
  bool GetPrinterDevMode(const std::string& printer, DEVMODE& devMode) override;
  bool ValidateDevMode(const std::string& printer, DEVMODE& devMode) override;

  // Hooks for tests and batch runs: each gets its dialog before it is shown and answers
  // for the user (a QDialog result); unset, the dialog runs modally.
  std::function<int(QPrintDialog&)> printDialogHook;
  std::function<int(QPrintPreviewDialog&)> previewHook;
  std::function<int(QPageSetupDialog&)> pageSetupHook;

  // The printer that keeps the user's choices.
  QPrinter& SessionPrinter() { return *m_printer; }

 private:
  std::unique_ptr<QPrinter> m_printer;
};

// The widget of a view's window, or the application's active window.
QWidget* ParentWidget(Window* pWnd);

}  // namespace quill::qt
