// The main window's part in files changed outside: it checks when the user comes back to
// it from another program.

#include <QEvent>
#include <QTimer>

#include "main_window.h"

namespace quillpad {

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Later, not inside the activation: the check may open dialogs of its own.
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    QTimer::singleShot(0, this, &MainWindow::CheckOutsideChanges);
}

void MainWindow::CheckOutsideChanges() {
  // The dialogs the check shows activate the window again when they close.
  if (m_bCheckingOutside) return;
  m_bCheckingOutside = true;
  CheckDocuments(OpenDocuments(), nullptr);
  m_bCheckingOutside = false;
  UpdateCommands();
  UpdateIndicators();
}

}  // namespace quillpad
