#include "print_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "language_views.h"

namespace quillpad {

void AddPrintCommands(QMenu* file, std::function<LanguageView*()> activeView) {
  const struct {
    const char* text;
    const char* name;
    QKeySequence key;
    void (quill::QuillView::*command)();
  } commands[] = {
      {"Page Set&up...", "filePageSetup", {}, &quill::QuillView::OnFilePageSetup},
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
      if (LanguageView* view = activeView()) (view->*command)();
    });
  }
}

}  // namespace quillpad
