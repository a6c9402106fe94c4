#include "qt/qt_printer.h"

#include "platform/app_services.h"
#include "platform/window.h"

#include <QApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <cstring>

namespace quill::qt {

namespace {

short OrientationOf(const QPrinter& printer) {
  return printer.pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE
                                                                      : DMORIENT_PORTRAIT;
}

void SetOrientation(QPrinter& printer, short orientation) {
  printer.setPageOrientation(orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
}

}  // namespace

QWidget* ParentWidget(Window* pWnd) {
  if (auto* widget = dynamic_cast<QWidget*>(pWnd)) return widget->window();
  return QApplication::activeWindow();
}

// ---- the printer device ----

QtPrinterDC::QtPrinterDC(QPrinter* printer) : QtDC(&painter), m_printer(printer) {
  SetPrinting(true);
}

QtPrinterDC::QtPrinterDC(std::unique_ptr<QPrinter> printer)
    : QtDC(&painter), m_owned(std::move(printer)), m_printer(m_owned.get()) {
  SetPrinting(true);
}

QtPrinterDC::~QtPrinterDC() {
  if (painter.isActive()) painter.end();
}

int QtPrinterDC::GetDeviceCaps(int index) const {
  const int dpi = m_printer->resolution();
  const QPageLayout layout = m_printer->pageLayout();
  const QRect paint = layout.paintRectPixels(dpi);
  const QRect full = layout.fullRectPixels(dpi);
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi;
    case HORZRES: return paint.width();
    case VERTRES: return paint.height();
    case HORZSIZE: return static_cast<int>(std::lround(paint.width() * 25.4 / dpi));
    case VERTSIZE: return static_cast<int>(std::lround(paint.height() * 25.4 / dpi));
    case PHYSICALWIDTH: return full.width();
    case PHYSICALHEIGHT: return full.height();
    case PHYSICALOFFSETX: return paint.left();
    case PHYSICALOFFSETY: return paint.top();
    default: return 0;
  }
}

int QtPrinterDC::StartDoc(const std::string& docName) {
  m_printer->setDocName(QString::fromLocal8Bit(docName.c_str()));
  return 1;
}

int QtPrinterDC::StartPage() {
  if (m_inPage) return 0;
  // The painter starts with the first page, so that a reset before it still counts.
  if (!painter.isActive()) {
    if (!painter.begin(m_printer)) return 0;
  } else if (!m_printer->newPage()) {
    return 0;
  }
  m_inPage = true;
  return 1;
}

int QtPrinterDC::EndPage() {
  if (!m_inPage) return 0;
  m_inPage = false;
  return 1;
}

int QtPrinterDC::EndDoc() {
  m_inPage = false;
  if (!painter.isActive()) return 1;
  return painter.end() ? 1 : 0;
}

int QtPrinterDC::AbortDoc() {
  m_inPage = false;
  m_printer->abort();
  if (painter.isActive()) painter.end();
  return 1;
}

CDC* QtPrinterDC::ResetDC(const DEVMODE* devMode) {
  if (devMode == nullptr || m_inPage) return nullptr;
  if ((devMode->dmFields & DM_ORIENTATION) != 0) SetOrientation(*m_printer, devMode->dmOrientation);
  return this;
}

// ---- the print services ----

QtPrintServices::QtPrintServices() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

QtPrintServices::~QtPrintServices() = default;

std::string QtPrintServices::GetDefaultPrinter() {
  const QString name = QPrinterInfo::defaultPrinterName();
  return name.isEmpty() ? std::string(kPdfPrinterName) : name.toStdString();
}

bool QtPrintServices::GetPrinterDevMode(const std::string& printer, DEVMODE& devMode) {
  if (printer != kPdfPrinterName && QPrinterInfo::printerInfo(QString::fromStdString(printer)).isNull())
    return false;
  devMode = DEVMODE();
  std::strncpy(devMode.dmDeviceName, printer.c_str(), CCHDEVICENAME - 1);
  devMode.dmFields = DM_ORIENTATION;
  devMode.dmOrientation = OrientationOf(*m_printer);
  return true;
}

bool QtPrintServices::ValidateDevMode(const std::string& printer, DEVMODE& devMode) {
  DEVMODE current;
  if (!GetPrinterDevMode(printer, current)) return false;
  if (devMode.dmOrientation != DMORIENT_LANDSCAPE) devMode.dmOrientation = DMORIENT_PORTRAIT;
  return true;
}

bool QtPrintServices::DoPreparePrinting(CPrintInfo& info) {
  auto dialog = std::make_unique<CPrintDialog>();
  if (!info.m_strOutputFile.empty()) {
    // A file takes the session's page layout as it stands: nothing to choose.
    info.m_pPD = std::move(dialog);
    return true;
  }
  if (!info.m_bDirect && !info.m_bPreview) {
    QPrintDialog printDialog(m_printer.get(), ParentWidget(nullptr));
    const int result = printDialogHook ? printDialogHook(printDialog) : printDialog.exec();
    if (result != QDialog::Accepted) return false;
    if (m_printer->printRange() == QPrinter::PageRange) {
      dialog->m_nFromPage = static_cast<unsigned>(std::max(m_printer->fromPage(), 0));
      dialog->m_nToPage = static_cast<unsigned>(std::max(m_printer->toPage(), 0));
    }
  }
  // Output to PDF has no printer to reset: the dialog's choices are on the printer already.
  if (m_printer->outputFormat() == QPrinter::NativeFormat) {
    dialog->m_strDeviceName = m_printer->printerName().toStdString();
    DEVMODE devMode;
    if (GetPrinterDevMode(dialog->m_strDeviceName, devMode)) dialog->SetDevMode(devMode);
  }
  info.m_pPD = std::move(dialog);
  return true;
}

std::unique_ptr<CDC> QtPrintServices::CreatePrinterDC(const CPrintInfo& info) {
  if (info.m_strOutputFile.empty()) return std::make_unique<QtPrinterDC>(m_printer.get());
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(QString::fromLocal8Bit(info.m_strOutputFile.c_str()));
  printer->setPageLayout(m_printer->pageLayout());
  return std::make_unique<QtPrinterDC>(std::move(printer));
}

void QtPrintServices::RunPrintPreview(Window* pParent, const std::string& title,
                                      const std::function<void(CDC&, CPrintInfo&)>& printJob) {
  QPrintPreviewDialog preview(m_printer.get(), ParentWidget(pParent));
  if (!title.empty()) preview.setWindowTitle(QString::fromLocal8Bit(title.c_str()) + " - Print Preview");
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&printJob](QPrinter* printer) {
                     QtPrinterDC dc(printer);
                     CPrintInfo info;
                     info.m_bPreview = true;
                     printJob(dc, info);
                   });
  if (previewHook) {
    previewHook(preview);
  } else {
    preview.exec();
  }
}

int QtPrintServices::RunPageSetup(CPageSetupDialog& dlg) {
  // The dialog edits the printer's layout; the margins it shows are the view's, so the
  // printer gets its own back afterwards.
  const QPageLayout saved = m_printer->pageLayout();
  if (const DEVMODE* devMode = dlg.GetDevMode()) SetOrientation(*m_printer, devMode->dmOrientation);
  const CRect& m = dlg.m_psd.rtMargin;
  m_printer->setPageMargins(QMarginsF(m.left / 100.0, m.top / 100.0, m.right / 100.0, m.bottom / 100.0),
                            QPageLayout::Millimeter);
  QPageSetupDialog setup(m_printer.get(), ParentWidget(dlg.GetParent()));
  const int result = pageSetupHook ? pageSetupHook(setup) : setup.exec();
  if (result != QDialog::Accepted) {
    m_printer->setPageLayout(saved);
    return IDCANCEL;
  }
  const QMarginsF chosen = m_printer->pageLayout().margins(QPageLayout::Millimeter);
  auto hundredths = [](qreal mm) { return static_cast<int>(std::lround(mm * 100.0)); };
  dlg.m_psd.rtMargin = CRect(hundredths(chosen.left()), hundredths(chosen.top()),
                             hundredths(chosen.right()), hundredths(chosen.bottom()));
  if (DEVMODE* devMode = dlg.GetDevMode()) devMode->dmOrientation = OrientationOf(*m_printer);
  m_printer->setPageMargins(saved.margins(), saved.units());
  return IDOK;
}

}  // namespace quill::qt
