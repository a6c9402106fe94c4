// Keys and the mouse in a real editor widget on the offscreen platform: the caret, the
// selection and what a host's menu shortcut gets.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

#include <string>

#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

// A focused editor inside a main window whose menu has a Ctrl+A shortcut of its own.
class Typing : public EditorWindow {
 protected:
  void Show(const std::string& text) {
    hostSelectAll = window.menuBar()->addMenu("Edit")->addAction("Select All");
    hostSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    EditorWindow::Show(text);
  }

  QAction* hostSelectAll = nullptr;
};

using Sel = std::pair<CPoint, CPoint>;

TEST_F(Typing, KeysMoveTheCaretAndSelectBeforeTheHostsShortcuts) {
  Show("int main() {\r\n  return 0;\r\n}\r\n");
  QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(widget, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(Selection(), Sel({0, 0}, {4, 0}));
  QTest::keyClick(widget, Qt::Key_Down);
  EXPECT_EQ(view->GetCursorPos(), CPoint(4, 1));
  QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(view->GetCursorPos(), CPoint(0, 3));

  // Ctrl+A is the view's while it has the focus: the host's action is not triggered.
  QSignalSpy hostTriggered(hostSelectAll, &QAction::triggered);
  QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Selection(), Sel({0, 0}, {0, 3}));
  EXPECT_EQ(hostTriggered.count(), 0);
  // Ctrl+S is not the view's: it comes back to the host.
  QSignalSpy unhandled(widget, &EditorWidget::commandNotHandled);
  QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(unhandled.count(), 1);
  EXPECT_EQ(unhandled.at(0).at(0).toUInt(), 57603u);
}

TEST_F(Typing, DragSelectsAndDoubleClickTakesAWord) {
  Show("int value = 42;\r\nreturn value;\r\n");
  QWidget* vp = widget->viewport();
  QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, At(4, 0));
  QTest::mouseMove(vp, At(6, 1));
  QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, At(6, 1));
  EXPECT_EQ(Selection(), Sel({4, 0}, {6, 1}));
  QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, At(8, 1));
  EXPECT_EQ(Selection(), Sel({7, 1}, {12, 1}));
}

TEST_F(Typing, HeldMouseBelowTheWindowScrollsOnTheTimer) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  Show(text);
  QWidget* vp = widget->viewport();
  QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, At(1, 1));
  const QPoint below(60, vp->height() + 3 * view->GetLineHeight());
  QTest::mouseMove(vp, below);
  // Ticks of 100 ms, three lines each while the mouse is more than a line below.
  for (int waited = 0; view->TopLine() < 6 && waited < 3000; waited += 20) QTest::qWait(20);
  const int top = view->TopLine();
  EXPECT_GE(top, 6);
  QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, below);
  QTest::qWait(250);
  EXPECT_EQ(view->TopLine(), top);  // the timer stopped with the release
  EXPECT_EQ(view->Anchor(), CPoint(1, 1));
  EXPECT_GT(view->GetCursorPos().y, view->GetScreenLines());
}

}  // namespace
}  // namespace quill::qt::testing
