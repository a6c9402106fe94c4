// Printing on Qt: the view's pages written to PDF and shown in the print preview, and
// the page-setup dialog's margins, all offscreen.

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>

#include <string>

#include "qt/qt_printer.h"
#include "qt_fixture.h"
#include "settings/page_margins.h"
#include "settings/store.h"

namespace quill::qt::testing {
namespace {

// A sample of 150 numbered lines (three pages) in an editor window.
class QtPrinting : public EditorWindow {
 protected:
  void SetUp() override {
    InstallMemorySettingsStore();
    EditorWindow::SetUp();
    print = &dynamic_cast<QtPrintServices&>(GetPrintServices());
    std::string text;
    for (int i = 1; i <= 150; ++i) text += "M" + std::to_string(i) + " d g s b nch w=1u\n";
    Show(text);
  }
  void TearDown() override {
    print->previewHook = nullptr;
    print->pageSetupHook = nullptr;
    EditorWindow::TearDown();
  }

  QtPrintServices* print = nullptr;
};

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  EXPECT_TRUE(process.waitForFinished(30000));
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(QtPrinting, PdfHoldsTheLinesInOrderAndTheFooters) {
  const std::string pdf = dir.Path("sample.pdf");
  ASSERT_TRUE(view->PrintToFile(pdf));
  const QString text = PdfText(QString::fromStdString(pdf));
  qsizetype at = 0;
  for (int i = 1; i <= 150; ++i) {
    const QString line = QString("M%1 d g s b nch w=1u").arg(i);
    const qsizetype found = text.indexOf(line, at);
    ASSERT_GE(found, at) << line.toStdString();
    at = found + line.size();
  }
  // Every page has its footer.
  const int pages = static_cast<int>(text.count("Page "));
  ASSERT_GE(pages, 2);
  for (int p = 1; p <= pages; ++p)
    EXPECT_TRUE(text.contains(QString("Page %1/%2").arg(p).arg(pages))) << p;

  // The preview shows the same pages.
  int previewPages = 0;
  print->previewHook = [&previewPages](QPrintPreviewDialog& dialog) {
    auto* pagesWidget = dialog.findChild<QPrintPreviewWidget*>();
    pagesWidget->updatePreview();
    previewPages = pagesWidget->pageCount();
    return 0;
  };
  view->OnFilePrintPreview();
  EXPECT_EQ(previewPages, pages);
}

TEST_F(QtPrinting, AFileThatCannotBeWrittenIsReportedOnce) {
  EXPECT_FALSE(view->PrintToFile("/nonexistent-dir/out.pdf"));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(QtPrinting, PageSetupStoresTheMarginsChosenInTheDialog) {
  print->pageSetupHook = [](QPageSetupDialog& dialog) {
    EXPECT_NEAR(dialog.printer()->pageLayout().margins(QPageLayout::Millimeter).left(), 10.0, 0.01);
    dialog.printer()->setPageMargins(QMarginsF(20, 15, 20, 25), QPageLayout::Millimeter);
    return static_cast<int>(QDialog::Accepted);
  };
  const QMarginsF printerOwn = print->SessionPrinter().pageLayout().margins();
  view->OnFilePageSetup();
  EXPECT_EQ(ReadPageMargins(view->GetTextStyle()->GetProfileName()), CRect(2000, 1500, 2000, 2500));
  // The printer keeps its own margins: the view's are printed inside them.
  EXPECT_EQ(print->SessionPrinter().pageLayout().margins(), printerOwn);
}

}  // namespace
}  // namespace quill::qt::testing
