// quillpad's Window and Help menus, the window title, and the session kept between runs.

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <boost/version.hpp>
#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "main_window.h"
#include "pad_document.h"
#include "platform/app_services.h"
#include "platform/file_errors.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "session.h"

namespace quillpad {

namespace {
QString ToQt(const std::string& s) { return QString::fromLocal8Bit(s.data(), s.size()); }

// How many unreadable files of the last session the message names one by one.
constexpr std::size_t kListedUnreadable = 15;

// Why a file of the last session cannot be opened; nothing when it can.
std::optional<std::string> WhyUnreadable(const std::string& path) {
  if (QFileInfo(ToQt(path)).isDir()) return std::string("it is a folder, not a file");
  if (quill::GetFileService().Open(path, quill::GENERIC_READ,
                                   quill::FILE_SHARE_READ | quill::FILE_SHARE_WRITE,
                                   quill::OPEN_EXISTING)) {
    return std::nullopt;
  }
  return quill::SystemErrorMessage(quill::GetLastError());
}
}  // namespace

void MainWindow::CreateWindowAndHelpMenus() {
  m_windowMenu = menuBar()->addMenu(tr("&Window"));
  m_windowMenu->setObjectName("windowMenu");
  connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::RebuildWindowMenu);
  // The tab shortcuts live on the window, so they work whatever has the focus; the
  // editor leaves Ctrl+Tab to its window.
  auto* next = new QAction(tr("&Next Tab"), this);
  next->setObjectName("windowNextTab");
  next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab));
  connect(next, &QAction::triggered, this, [this] { CycleTab(1); });
  auto* previous = new QAction(tr("&Previous Tab"), this);
  previous->setObjectName("windowPreviousTab");
  // Shift+Tab arrives as Backtab on most platforms, as Tab with Shift on some; the menu
  // shows the first, as users name the key.
  previous->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
  connect(previous, &QAction::triggered, this, [this] { CycleTab(-1); });
  addAction(next);
  addAction(previous);
  RebuildWindowMenu();

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  QAction* about = help->addAction(tr("&About quillpad"), this, &MainWindow::ShowAbout);
  about->setObjectName("helpAbout");
}

void MainWindow::RebuildWindowMenu() {
  m_windowMenu->clear();
  for (QAction* a : actions()) {
    if (a->objectName() == "windowNextTab" || a->objectName() == "windowPreviousTab")
      m_windowMenu->addAction(a);
  }
  if (m_tabs->count() == 0) return;
  m_windowMenu->addSeparator();
  for (int i = 0; i < m_tabs->count(); ++i) {
    const QString label = i < 9 ? QString("&%1 %2").arg(i + 1).arg(m_tabs->tabText(i))
                                : m_tabs->tabText(i);
    QAction* a = m_windowMenu->addAction(label, this, [this, i] { SetCurrentDocument(i); });
    a->setCheckable(true);
    a->setChecked(i == m_tabs->currentIndex());
  }
}

void MainWindow::CycleTab(int step) {
  const int count = m_tabs->count();
  if (count < 2) return;
  m_tabs->setCurrentIndex(((m_tabs->currentIndex() + step) % count + count) % count);
  if (QWidget* editor = m_tabs->currentWidget()) editor->setFocus();
}

void MainWindow::UpdateWindowTitle() {
  const PadDocument* doc = ActiveDocument();
  setWindowTitle(doc != nullptr ? QString("%1 - quillpad").arg(ToQt(doc->GetTitle()))
                                : QString("quillpad"));
}

void MainWindow::ShowAbout() {
  const QString text =
      tr("<h3>quillpad %1</h3>"
         "<p>A multi-document editor for netlists, rule decks, sources and logs, built on the "
         "quill editor component.</p>"
         "<p>It uses these libraries:</p><ul>"
         "<li>Qt %2 (GNU LGPL version 3)</li>"
         "<li>Boost %3: Regex and Tokenizer (Boost Software License 1.0)</li>"
         "<li>SQLite %4 (public domain)</li>"
         "<li>DejaVu fonts (Bitstream Vera and public-domain licences)</li></ul>")
          .arg(QApplication::applicationVersion(), qVersion(),
               QString(BOOST_LIB_VERSION).replace('_', '.'), sqlite3_libversion());
  QMessageBox box(QMessageBox::Information, tr("About quillpad"), text, QMessageBox::Ok, this);
  box.setTextFormat(Qt::RichText);
  box.exec();
}

void MainWindow::StoreSession() const {
  Session s;
  const QRect r = normalGeometry();
  s.x = r.x();
  s.y = r.y();
  s.width = r.width();
  s.height = r.height();
  s.maximized = isMaximized();
  for (int i = 0; i < m_tabs->count(); ++i) {
    const PadDocument* doc = DocumentAt(i);
    if (doc == nullptr || doc->GetPathName().empty()) continue;
    if (i == m_tabs->currentIndex()) s.current = static_cast<int>(s.files.size());
    s.files.push_back(doc->GetPathName());
  }
  s.Store();
}

void MainWindow::RestoreSession(bool openFiles) {
  Session s = Session::Load();
  if (s.width > 0 && s.height > 0) {
    // On a screen there is now (a monitor may have gone since, the store may hold nonsense).
    std::vector<Session::Area> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
      const QRect r = screen->availableGeometry();
      screens.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    s.FitTo(screens);
    if (screens.empty()) resize(s.width, s.height);
    else setGeometry(s.x, s.y, s.width, s.height);
    if (s.maximized) setWindowState(windowState() | Qt::WindowMaximized);
  }
  if (!openFiles) return;
  // Files that cannot be read any more are told of in one message, once the window shows.
  std::vector<std::string> unreadable;
  int current = -1;
  for (std::size_t i = 0; i < s.files.size(); ++i) {
    const std::string& path = s.files[i];
    if (std::optional<std::string> why = WhyUnreadable(path)) {
      unreadable.push_back(path + ": " + *why);
      m_recent.Remove(path);
    } else if (OpenFile(ToQt(path)) && static_cast<int>(i) <= s.current) {
      current = m_tabs->currentIndex();
    }
  }
  if (current >= 0) SetCurrentDocument(current);
  if (unreadable.empty()) return;
  RebuildRecentMenu();
  std::string text = unreadable.size() == 1
                         ? std::string("A file of the last session could not be opened:\n")
                         : quill::Format("%d files of the last session could not be opened:\n",
                                         static_cast<int>(unreadable.size()));
  for (std::size_t i = 0; i < unreadable.size() && i < kListedUnreadable; ++i) {
    text += "\n" + unreadable[i];
  }
  if (unreadable.size() > kListedUnreadable) {
    const auto more = static_cast<int>(unreadable.size() - kListedUnreadable);
    text += quill::Format("\n... and %d more.", more);
  }
  QTimer::singleShot(0, this, [text] {
    quill::GetApplicationServices().MessageBox(text, quill::MB_OK | quill::MB_ICONERROR);
  });
}

}  // namespace quillpad
