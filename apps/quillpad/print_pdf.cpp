#include "print_pdf.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "editor_host.h"
#include "language_views.h"
#include "pad_document.h"
#include "print_menu.h"
#include "qt/quill_qt.h"

namespace quillpad {

int PrintFileToPdf(const QString& file, const QString& pdfPath) {
  // Nobody is there to answer a message box: report it and go on.
  quill::qt::InstallPlatform().SetMessageBoxHook([](QMessageBox& box) {
    std::fprintf(stderr, "quillpad: %s\n", box.text().toLocal8Bit().constData());
    box.reject();
  });
  PadDocument doc;
  const QString path = QFileInfo(file).absoluteFilePath();
  if (doc.OnOpenDocument(path.toLocal8Bit().constData()) == 0) {
    // The component's message says why, not which file.
    std::fprintf(stderr, "quillpad: cannot print %s\n", path.toLocal8Bit().constData());
    return 1;
  }
  std::unique_ptr<LanguageView> view = CreateViewFor(doc.GetDocumentType());
  LanguageView* printed = view.get();
  view->SetDocument(&doc);
  std::unique_ptr<QWidget> editor(CreateEditorWidget(std::move(view), nullptr));
  ApplyKeptOrientation(*printed);
  if (!printed->PrintToFile(QFileInfo(pdfPath).absoluteFilePath().toLocal8Bit().constData())) {
    std::fprintf(stderr, "quillpad: cannot write %s\n", pdfPath.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

}  // namespace quillpad
