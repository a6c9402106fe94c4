// The Qt platform services: message boxes, the status bar with the load progress, the
// wait cursor and the clipboard.

#include <QAbstractButton>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

#include <stdexcept>

#include "dialogs/message_box_dialog.h"
#include "platform/clipboard.h"
#include "platform/control_services.h"
#include "qt/qt_application.h"
#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

constexpr unsigned kAbortRetryIgnore = 0x2;

// An editor window with a status bar of a message pane and three indicators.
class QtServices : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    window.statusBar()->show();
    services->SetStatusBar(window.statusBar(), {80, 40, 40});
    Show("x\r\n", QSize(640, 200));
  }
  void TearDown() override {
    services->SetStatusBar(nullptr);
    EditorWindow::TearDown();
  }
};

// Records every progress bar that shows itself in the status bar.
class ProgressWatch : public QObject {
 public:
  explicit ProgressWatch(QStatusBar* bar) { bar->installEventFilter(this); }
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::ChildAdded) {
      // A child is announced before its own constructor has run: watch every widget.
      QObject* added = static_cast<QChildEvent*>(event)->child();
      if (added->isWidgetType()) added->installEventFilter(this);
    } else if (qobject_cast<QProgressBar*>(object) != nullptr) {
      if (event->type() == QEvent::Show) ++shown;
      // Where it stood when it went away.
      if (event->type() == QEvent::Hide) geometry = static_cast<QWidget*>(object)->geometry();
    }
    return false;
  }
  int shown = 0;
  QRect geometry;
};

TEST_F(QtServices, StatusBarPanes) {
  IStatusBar* bar = GetApplicationServices().GetStatusBar();
  ASSERT_NE(bar, nullptr);
  bar->SetPaneText(0, "Ln 1\x95");
  const QList<QLabel*> labels = window.statusBar()->findChildren<QLabel*>();
  ASSERT_GE(labels.size(), 4);
  EXPECT_EQ(labels[0]->text(), QString::fromUtf8("Ln 1\u2022"));
  CRect message;
  CRect last;
  ASSERT_TRUE(bar->GetItemRect(0, message));
  ASSERT_TRUE(bar->GetItemRect(3, last));
  EXPECT_FALSE(bar->GetItemRect(4, last));
  EXPECT_GT(message.Width(), 300);  // the message pane takes the free width
  EXPECT_LT(message.right, last.left);
  EXPECT_GT(bar->GetTextWidth("MMMM"), bar->GetTextWidth("M"));
}

TEST_F(QtServices, LoadProgressAppearsAndGoes) {
  ProgressWatch watch(window.statusBar());
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "R1 n1 n2 10k ; resistor line\r\n";
  QuillTextBuffer big;
  ASSERT_EQ(big.LoadFromFile(dir.Write("big.sp", text).c_str()), 1);
  EXPECT_GE(watch.shown, 1);
  CRect pane;
  ASSERT_TRUE(GetApplicationServices().GetStatusBar()->GetItemRect(0, pane));
  // The bar sat inside the message pane, right of the message.
  EXPECT_GT(watch.geometry.left(), pane.left);
  EXPECT_LE(watch.geometry.right(), pane.right);
  // It is gone, and the pane says "Ready" again.
  for (QProgressBar* bar : window.statusBar()->findChildren<QProgressBar*>()) EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(GetApplicationServices().GetStatusBar()->GetPaneText(0), "Ready");
}

TEST_F(QtServices, FailedLoadShowsExactlyOneMessageBox) {
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  services->SetMessageBoxHook([&](QMessageBox& box) {
    text = box.text();
    icon = box.icon();
    box.button(QMessageBox::Ok)->click();
  });
  const std::string missing = dir.Path("missing.sp");
  QuillTextBuffer other;
  EXPECT_EQ(other.LoadFromFile(missing.c_str()), 0);
  ASSERT_EQ(services->MessageBoxCount(), 1);
  EXPECT_TRUE(text.contains(QString::fromLocal8Bit(missing.c_str())));
  EXPECT_EQ(icon, QMessageBox::Critical);
  // No progress bar is left behind.
  for (QProgressBar* bar : window.statusBar()->findChildren<QProgressBar*>()) EXPECT_FALSE(bar->isVisible());
}

// An exception that escapes an event handler stops at the application's dispatch: one
// message box (shown after the dispatch), and the process goes on.
TEST_F(QtServices, AnExceptionFromAnEventHandlerIsReportedOnce) {
  struct Throwing : QObject {
    bool event(QEvent* e) override {
      if (e->type() == QEvent::User) throw std::runtime_error("boom");
      return QObject::event(e);
    }
  } target;
  QString text;
  services->SetMessageBoxHook([&](QMessageBox& box) {
    text = box.text();
    box.button(QMessageBox::Ok)->click();
  });
  ASSERT_NE(dynamic_cast<QtApplication*>(QCoreApplication::instance()), nullptr);
  const int before = services->MessageBoxCount();
  for (int i = 0; i < 2; ++i) {
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(services->MessageBoxCount(), before + 1);
  EXPECT_TRUE(text.contains("boom")) << text.toStdString();
}

TEST_F(QtServices, MessageBoxAnswersAndOwners) {
  // Closing the box is Cancel.
  services->SetMessageBoxHook([](QMessageBox& box) { box.reject(); });
  EXPECT_EQ(AfxMessageBox("Go on?", MB_OKCANCEL), IDCANCEL);
  QString caption;
  QWidget* parent = nullptr;
  QMessageBox::StandardButton press = QMessageBox::Retry;
  services->SetMessageBoxHook([&](QMessageBox& box) {
    caption = box.windowTitle();
    parent = box.parentWidget();
    box.button(press)->click();
  });
  CMessageBoxDialog dialog(nullptr, "Disk not ready", "Backup", kAbortRetryIgnore, 0);
  EXPECT_EQ(dialog.DoModal(), 4);  // retry
  EXPECT_EQ(caption, QStringLiteral("Backup"));
  // Over an editor, the box belongs to the editor's window.
  press = QMessageBox::Yes;
  CMessageBoxDialog over(widget, "Reload?", "", MB_YESNO | MB_ICONQUESTION, 0);
  EXPECT_EQ(over.DoModal(), IDYES);
  EXPECT_EQ(parent, &window);
}

TEST_F(QtServices, WaitCursorNests) {
  IApplicationServices& app = GetApplicationServices();
  app.BeginWaitCursor();
  app.BeginWaitCursor();
  app.EndWaitCursor();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  app.EndWaitCursor();
  app.EndWaitCursor();  // one too many does nothing
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtServices, ClipboardSpeaksWindows1252WithLfBreaks) {
  Clipboard& clipboard = CurrentClipboard();
  ASSERT_TRUE(clipboard.SetText("tab\xBB dot\x95\r\neuro\x80\rx"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("tab\u00BB dot\u2022\neuro\u20AC\nx"));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("\u03A9mega\ncaf\u00E9\r\n\rz"));
  ASSERT_TRUE(clipboard.HasText());
  EXPECT_EQ(clipboard.GetText(), std::optional<std::string>("?mega\r\ncaf\xE9\r\n\r\nz"));
}

TEST(QtPlatform, UninstallRestoresHeadlessServices) {
  InstallPlatform();
  UninstallPlatform();
  EXPECT_NE(dynamic_cast<MemoryClipboard*>(&CurrentClipboard()), nullptr);
  EXPECT_EQ(dynamic_cast<QtFilePrompt*>(&CurrentFilePrompt()), nullptr);
  EXPECT_EQ(dynamic_cast<QtFontList*>(&GetFontList()), nullptr);
}

}  // namespace
}  // namespace quill::qt::testing
