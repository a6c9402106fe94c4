// The find and replace dialogs built as real widgets over an editor: Ctrl+F, a word and
// Enter select the next match; Ctrl+H replaces every match and one Ctrl+Z restores them.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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
    ASSERT_NE(combo, nullptr);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), "gamma");
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

}  // namespace
}  // namespace quill::qt::testing
