#pragma once
// QtApplication: a QApplication whose event dispatch is the last line of defence. An
// exception that escapes an event handler (Qt cannot carry one through its event loop
// and would end the process) is caught there, written to stderr and shown in one message
// box once the dispatch has returned; the process and its open documents live on.
// A host creates it in place of QApplication.

#include <QApplication>

namespace quill::qt {

class QtApplication : public QApplication {
 public:
  QtApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Exceptions caught so far.
  int CaughtCount() const { return m_nCaught; }

 private:
  void Report(const QString& what);

  int m_nCaught = 0;
  bool m_bReportPending = false;
};

}  // namespace quill::qt
