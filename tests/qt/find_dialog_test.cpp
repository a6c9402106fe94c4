// The find and replace dialogs built as real widgets over an editor: Ctrl+F, a word and
// Enter select the next match; Ctrl+H replaces every match and one Ctrl+Z restores them.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <string>

#include "qt/qt_dialog_builder.h"
#include "qt_fixture.h"
#include "resources/dlg_find.h"

namespace quill::qt::testing {
namespace {

class FindDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    services = &InstallPlatform();
    services->SetMessageBoxHook([this](QMessageBox& box) {
      messages.push_back(box.text().toStdString());
      box.accept();
    });
  }
  void TearDown() override {
    services->SetMessageBoxHook(nullptr);
    UninstallPlatform();
  }
  void Show(const std::string& text) {
    TempFile file(text);
    ASSERT_EQ(buffer.LoadFromFile(file.Path().c_str()), 1);
    auto owned = std::make_unique<CLikeView>(&buffer);
    view = owned.get();
    widget = new EditorWidget(std::move(owned));
    window.setCentralWidget(widget);
    window.resize(500, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    widget->InitialUpdate();
    window.activateWindow();
    widget->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  // Plays the user in the next modal dialog.
  void WhenDialogOpens(std::function<void(QtTemplateDialog&)> play) {
    QTimer::singleShot(50, [this, play] {
      auto* dialog = qobject_cast<QtTemplateDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      opened.push_back(dialog->windowTitle().toStdString());
      play(*dialog);
    });
  }
  std::string Text() {
    std::string text;
    const int last = buffer.GetLineCount() - 1;
    buffer.GetText(0, 0, last, buffer.GetLineLength(last), text, "|");
    return text;
  }

  QtApplicationServices* services = nullptr;
  std::vector<std::string> messages;
  std::vector<std::string> opened;
  // The buffer outlives the window, whose editor's view is attached to it.
  QuillTextBuffer buffer;
  QMainWindow window;
  CLikeView* view = nullptr;
  EditorWidget* widget = nullptr;
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
  CPoint start, end;
  view->GetSelection(start, end);
  EXPECT_EQ(start, CPoint(5, 1));
  EXPECT_EQ(end, CPoint(10, 1));

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
