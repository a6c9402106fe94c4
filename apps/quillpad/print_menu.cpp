#include "print_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPrinter>

#include "language_views.h"
#include "platform/print.h"
#include "qt/qt_printer.h"

namespace quillpad {

void ApplyKeptOrientation(const LanguageView& view) {
  if (auto* services = dynamic_cast<quill::qt::QtPrintServices*>(&quill::GetPrintServices())) {
    services->SessionPrinter().setPageOrientation(
        view.StoredPageOrientation() == quill::DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                   : QPageLayout::Portrait);
  }
}

void AddPrintCommands(QMenu* file, std::function<LanguageView*()> activeView) {
  const struct {
    const char* text;
    const char* name;
    QKeySequence key;
    void (LanguageView::*command)();
  } commands[] = {
      {"Page Set&up...", "filePageSetup", {}, &LanguageView::PageSetup},
      {"&Print...", "filePrint", QKeySequence::Print, &quill::QuillView::OnFilePrint},
      {"Print Pre&view", "filePrintPreview", {}, &quill::QuillView::OnFilePrintPreview},
      {"P&roperties...", "fileProperties", {}, &quill::QuillView::OnProperties},
  };
  for (const auto& c : commands) {
    QAction* action = file->addAction(QMenu::tr(c.text));
    action->setObjectName(c.name);
    action->setShortcut(c.key);
    auto command = c.command;
    QObject::connect(action, &QAction::triggered, file, [activeView, command] {
      if (LanguageView* view = activeView()) {
        ApplyKeptOrientation(*view);
        (view->*command)();
      }
    });
  }
}

}  // namespace quillpad
