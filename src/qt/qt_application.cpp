#include "qt/qt_application.h"

#include <QTimer>

#include <cstdio>
#include <exception>
#include <new>

#include "platform/app_services.h"
#include "qt/cp1252.h"

namespace quill::qt {

QtApplication::QtApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QtApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    Report(QStringLiteral("there is not enough memory"));
  } catch (const std::exception& error) {
    Report(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    Report(QStringLiteral("an unknown error"));
  }
  return false;
}

void QtApplication::Report(const QString& what) {
  ++m_nCaught;
  const QString text =
      QStringLiteral("An operation was stopped: %1. The editor goes on; saving your work is advised.")
          .arg(what);
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  // One box at a time, shown from the event loop rather than inside the failed dispatch.
  if (m_bReportPending) return;
  m_bReportPending = true;
  QTimer::singleShot(0, this, [this, text] {
    try {
      AfxMessageBox(ToCp1252(text), MB_OK | MB_ICONERROR);
    } catch (...) {
      // The box itself failed: stderr has the report.
    }
    m_bReportPending = false;
  });
}

}  // namespace quill::qt
