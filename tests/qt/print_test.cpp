// Printing on Qt: the view's pages written to PDF and shown in the print preview,
// offscreen. (The page-setup dialog is driven on the quillpad window.)

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>

#include <string>

#include "qt/qt_printer.h"
#include "qt_fixture.h"
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

TEST_F(QtPrinting, PdfHoldsTheLinesInOrderAndTheFootersAndAnUnwritableFileIsReported) {
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

  // A file that cannot be written is reported once.
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(view->PrintToFile("/nonexistent-dir/out.pdf"));
  EXPECT_EQ(messages.size(), 1u);
}

}  // namespace
}  // namespace quill::qt::testing
