#include "qt/qt_app_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "platform/posix/process_priority.h"
#include "qt/cp1252.h"
#include "qt/editor_widget.h"
#include "qt/qt_dialog_builder.h"

namespace quill::qt {

namespace {

constexpr unsigned kAbortRetryIgnore = 0x2;
constexpr unsigned kRetryCancel = 0x5;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

QMessageBox::StandardButtons ButtonsOf(unsigned type) {
  switch (type & 0xF) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case kAbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Held over the application while a long operation lets the window system run: input
// and requests to close windows are dropped; Esc, or a press on the Cancel button of a
// dialog, is noted as the user asking to stop.
class CancelWatch : public QObject {
 public:
  bool m_bCancel = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      m_bCancel = true;
    } else if (event->type() == QEvent::MouseButtonPress) {
      auto* button = qobject_cast<QAbstractButton*>(watched);
      auto* dialog = button != nullptr ? qobject_cast<QtTemplateDialog*>(button->window()) : nullptr;
      if (dialog != nullptr && dialog->Control(IDCANCEL) == button) m_bCancel = true;
    }
    return event->isInputEvent() || event->type() == QEvent::Close;
  }
};

}  // namespace

int MessageBoxResult(unsigned type, int standardButton) {
  switch (standardButton) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Abort: return kIdAbort;
    case QMessageBox::Retry: return kIdRetry;
    case QMessageBox::Ignore: return kIdIgnore;
    default:
      // Closed without a button: the box's cancel, or what stands for it.
      switch (type & 0xF) {
        case MB_OK: return IDOK;
        case MB_YESNO: return IDNO;
        case kAbortRetryIgnore: return kIdAbort;
        default: return IDCANCEL;
      }
  }
}

QtApplicationServices::QtApplicationServices() = default;

QtApplicationServices::~QtApplicationServices() {
  while (m_nWait > 0) EndWaitCursor();
}

void QtApplicationServices::SetStatusBar(QStatusBar* bar, const std::vector<int>& indicatorWidths) {
  m_statusBar.reset();
  if (bar != nullptr) m_statusBar = std::make_unique<QtStatusBar>(bar, indicatorWidths);
}

IStatusBar* QtApplicationServices::GetStatusBar() {
  return m_statusBar && m_statusBar->IsAlive() ? m_statusBar.get() : nullptr;
}

int QtApplicationServices::MessageBox(const std::string& text, unsigned type) {
  return RunMessageBox(nullptr, std::string(), text, type);
}

int QtApplicationServices::RunMessageBox(QWidget* parent, const std::string& caption,
                                         const std::string& text, unsigned type) {
  ++m_nMessageBoxes;
  QMessageBox box(IconOf(type),
                  caption.empty() ? QGuiApplication::applicationDisplayName() : FromCp1252(caption),
                  FromCp1252(text), ButtonsOf(type), parent ? parent : QApplication::activeWindow());
  if ((type & 0xF) == MB_YESNO) box.setEscapeButton(QMessageBox::No);
  if (m_hook) {
    QTimer::singleShot(0, &box, [this, &box] {
      if (m_hook) m_hook(box);
    });
  }
  // A wait cursor must not hide the pointer over the box.
  const bool waiting = m_nWait > 0;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (waiting) QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  const int button = clicked != nullptr ? static_cast<int>(box.standardButton(clicked)) : 0;
  return MessageBoxResult(type, button);
}

void QtApplicationServices::BeginWaitCursor() {
  ++m_nWait;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtApplicationServices::EndWaitCursor() {
  if (m_nWait == 0) return;
  --m_nWait;
  QApplication::restoreOverrideCursor();
}

bool QtApplicationServices::PollCancel() {
  CancelWatch watch;
  qApp->installEventFilter(&watch);
  QCoreApplication::processEvents();
  qApp->removeEventFilter(&watch);
  return watch.m_bCancel;
}

unsigned QtApplicationServices::GetPriorityClass() { return PosixGetPriorityClass(); }

bool QtApplicationServices::SetPriorityClass(unsigned priorityClass) {
  return PosixSetPriorityClass(priorityClass);
}

int QtMessageBoxPresenter::Show(const MessageBoxRequest& request) {
  auto* owner = dynamic_cast<EditorWidget*>(request.pParent);
  return m_services.RunMessageBox(owner != nullptr ? owner->window() : nullptr, request.caption,
                                  request.text, request.style);
}

std::vector<FontInfo> QtFontList::GetInstalledFonts() {
  std::vector<FontInfo> fonts;
  for (const QString& family : QFontDatabase::families()) {
    const QByteArray name = family.toLatin1();
    fonts.push_back({std::string(name.constData(), static_cast<std::size_t>(name.size())),
                     QFontDatabase::isFixedPitch(family)});
  }
  return fonts;
}

}  // namespace quill::qt
