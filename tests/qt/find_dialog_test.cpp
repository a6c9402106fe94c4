// The find and replace dialogs built as real widgets over an editor: Ctrl+F, an expression
// and Enter select the next match; Ctrl+H replaces every match and one Ctrl+Z restores them.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <string>

#include "qt/qt_dialog_builder.h"
#include "qt_fixture.h"
#include "resources/dlg_find.h"

namespace quill::qt::testing {
namespace {

class FindDialogs : public EditorWindow {
 protected:
  // Plays the user in the next modal dialog.
  void WhenDialogOpens(std::function<void(QtTemplateDialog&)> play) {
    QTimer::singleShot(50, [this, play] {
      auto* dialog = qobject_cast<QtTemplateDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      opened.push_back(dialog->windowTitle().toStdString());
      play(*dialog);
    });
  }

  std::vector<std::string> opened;
};

TEST_F(FindDialogs, CtrlFFindsAndCtrlHReplacesAllWithOneUndo) {
  Show("alpha beta\r\nbeta gamma beta\r\n");
  WhenDialogOpens([](QtTemplateDialog& dialog) {
    auto* combo = qobject_cast<QComboBox*>(dialog.Control(IDC_EDIT_TEXT));
    auto* regex = qobject_cast<QCheckBox*>(dialog.Control(IDC_EDIT_REGEXP));
    ASSERT_TRUE(combo && regex);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "g[am]{3}a");
    regex->click();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  });
  QTest::keyClick(widget, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(opened, std::vector<std::string>{"Find"});
  EXPECT_EQ(Selection(), std::pair(CPoint(5, 1), CPoint(10, 1)));

  WhenDialogOpens([](QtTemplateDialog& dialog) {
    auto* find = qobject_cast<QComboBox*>(dialog.Control(IDC_EDIT_TEXT));
    auto* with = qobject_cast<QComboBox*>(dialog.Control(IDC_EDIT_REPLACE_WITH));
    find->lineEdit()->selectAll();
    QTest::keyClicks(find->lineEdit(), "beta");
    QTest::keyClicks(with->lineEdit(), "B");
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(IDC_EDIT_REPLACE)),
                      Qt::LeftButton);
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(IDCANCEL)), Qt::LeftButton);
  });
  QTest::keyClick(widget, Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(Text(), "alpha B|B gamma B|");
  EXPECT_EQ(messages, std::vector<std::string>{"Editor has made 3 replacement."});
  QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "alpha beta|beta gamma beta|");
}

// A long Replace All lets the window system run now and then without input reaching the
// windows: Esc, or a press on the dialog's Cancel, stops it after the lines done so far
// (1,023 lines before the first look), and the status bar gets its prompt back.
TEST_F(FindDialogs, EscOrCancelStopsALongReplaceAll) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "x x\r\n";
  Show(text);
  services->SetStatusBar(window.statusBar());
  QuillView::s_nProgressDelayMs = 0;
  QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  bool bCancelled = false;
  EXPECT_EQ(view->ReplaceAll("x", "yy", 0, CPoint(0, 0), CPoint(0, 3000), &bCancelled), 2046);
  EXPECT_TRUE(bCancelled);
  EXPECT_EQ(buffer.GetLineLength(1022), 5);
  EXPECT_EQ(buffer.GetLineLength(1023), 3);
  EXPECT_EQ(services->GetStatusBar()->GetPaneText(0), "Ready");

  WhenDialogOpens([](QtTemplateDialog& dialog) {
    auto* find = qobject_cast<QComboBox*>(dialog.Control(IDC_EDIT_TEXT));
    find->lineEdit()->selectAll();
    QTest::keyClicks(find->lineEdit(), "yy");
    QWidget* cancel = dialog.Control(IDCANCEL);
    const QPointF at(2, 2);
    QCoreApplication::postEvent(cancel, new QMouseEvent(QEvent::MouseButtonPress, at, cancel->mapToGlobal(at),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(IDC_EDIT_REPLACE)), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());  // the press only stopped the replacing
    QTest::mouseClick(qobject_cast<QPushButton*>(dialog.Control(IDCANCEL)), Qt::LeftButton);
  });
  QTest::keyClick(widget, Qt::Key_H, Qt::ControlModifier);
  QuillView::s_nProgressDelayMs = 500;
  EXPECT_EQ(messages, std::vector<std::string>{"Editor has made 2046 replacement."});
}

}  // namespace
}  // namespace quill::qt::testing
