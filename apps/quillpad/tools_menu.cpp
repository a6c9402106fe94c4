#include "tools_menu.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>

#include "options_sheet.h"
#include "qt/qt_sheet_runner.h"
#include "resources/dlg_text_style.h"
#include "view/command_ids.h"

namespace quillpad {

void AddToolsMenu(QMainWindow& window) {
  QMenu* tools = window.menuBar()->addMenu(QObject::tr("&Tools"));
  QAction* options = tools->addAction(QObject::tr("&Options..."));
  options->setObjectName("toolsOptions");
  QObject::connect(options, &QAction::triggered, &window, [] { RunOptionsSheet(); });
}

bool ScreenshotOptions(QMainWindow& window, const QString& prefix) {
  quill::qt::QtSheetRunner* runner = quill::qt::GetQtSheetRunner();
  QAction* options = window.findChild<QAction*>("toolsOptions");
  if (runner == nullptr || options == nullptr) return false;
  bool ok = true;
  runner->SetSheetHook([&](quill::qt::QtSheetDialog& sheet) {
    // Show the colours of the first keyword section rather than the automatic ones.
    if (auto* groups = qobject_cast<QListWidget*>(sheet.Page(0).Control(quill::IDC_TEXT_ENTITIES));
        groups != nullptr && groups->count() > 1)
      groups->setCurrentRow(1);
    for (int i = 0; i < sheet.Tabs()->count(); ++i) {
      sheet.Tabs()->setCurrentIndex(i);
      QApplication::processEvents();
      ok = sheet.grab().save(QString("%1-%2.png").arg(prefix).arg(i + 1), "PNG") && ok;
    }
    sheet.reject();
  });
  options->trigger();
  runner->SetSheetHook(nullptr);
  return ok;
}

bool ScreenshotSearchDialogs(QMainWindow& window, const QString& prefix) {
  QMenu* search = window.findChild<QMenu*>("searchMenu");
  if (search == nullptr) return false;
  emit search->aboutToShow();  // the view's update handlers enable the commands
  const struct {
    unsigned id;
    const char* name;
  } dialogs[] = {{quill::ID_EDIT_FIND, "find"},
                 {quill::ID_EDIT_REPLACE, "replace"},
                 {quill::ID_EDIT_GOTO, "goto"}};
  bool ok = true;
  for (const auto& d : dialogs) {
    QAction* action = nullptr;
    for (QAction* a : search->actions())
      if (a->data().toUInt() == d.id) action = a;
    if (action == nullptr || !action->isEnabled()) return false;
    bool shot = false;
    QTimer::singleShot(100, &window, [&, name = d.name] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        shot = dialog->grab().save(QString("%1-%2.png").arg(prefix, name), "PNG");
        dialog->close();
      }
    });
    action->trigger();
    ok = ok && shot;
  }
  return ok;
}

}  // namespace quillpad
