// The editor widget on the offscreen platform: a real window painting a derived view;
// keys and the mouse moving the caret and the selection, and what a host's menu shortcut
// gets.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

#include <memory>
#include <string>

#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

using PaintedEditor = EditorWindow;

constexpr char kSample[] = "int main() {\r\n  // a comment\r\n  return 0;\r\n}\r\n";

// The cells show text of one colour on an opaque background of another.
void ExpectRun(const QImage& image, const QRect& cells, COLORREF text, COLORREF back) {
  EXPECT_GT(CountNear(image, cells, text, 60), 4);
  EXPECT_GT(CountNear(image, cells, back, 0), cells.width() * cells.height() / 2);
}

TEST_F(PaintedEditor, PaintsRunsInTheStyleColours) {
  Show(kSample, QSize(400, 200));
  const QImage image = Grab();
  ExpectRun(image, Cells(0, 0, 3), kKeywordText, kKeywordBack);  // "int"
  ExpectRun(image, Cells(0, 4, 4), kText, kBackground);          // "main"
  ExpectRun(image, Cells(1, 2, 12), kCommentText, kCommentBack);
  // The margin and the rows below the text.
  EXPECT_EQ(image.pixelColor(3, 1), Q(kMargin));
  EXPECT_EQ(image.pixelColor(200, 6 * view->GetLineHeight() + 2), Q(kBackground));
}

TEST_F(PaintedEditor, SelectionAndCaretShowWhileFocused) {
  Show(kSample, QSize(400, 200));
  widget->clearFocus();
  EXPECT_FALSE(widget->CaretVisible());
  view->Select(CPoint(4, 0), CPoint(8, 0));  // "main"
  // Without focus the selection is not shown.
  EXPECT_EQ(CountNear(Grab(), Cells(0, 4, 4), kSelectionBack, 0), 0);

  Focus();
  ASSERT_TRUE(widget->CaretVisible());
  EXPECT_TRUE(widget->CaretSolid());
  EXPECT_EQ(widget->CaretRect(), QRect(Cells(0, 8).left(), 0, 2, view->GetLineHeight()));
  const QImage image = Grab();
  ExpectRun(image, Cells(0, 4, 4), kSelectionText, kSelectionBack);

  view->Select(CPoint(2, 1), CPoint(2, 1));
  EXPECT_EQ(widget->CaretRect().topLeft(), Cells(1, 2).topLeft());
  widget->clearFocus();
  QApplication::processEvents();
  EXPECT_FALSE(widget->CaretVisible());
}

TEST_F(PaintedEditor, ResizeScrollBarAndWheelMoveTheText) {
  // Every tenth line holds a keyword, the others are comments.
  std::string text;
  for (int i = 0; i < 200; ++i) text += i % 10 == 0 ? "int x;\r\n" : "// note\r\n";
  Show(text, QSize(300, 200));
  QScrollBar* bar = widget->verticalScrollBar();
  const int lines = view->GetScreenLines();
  EXPECT_EQ(lines, widget->viewport()->height() / view->GetLineHeight());
  EXPECT_EQ(bar->pageStep(), lines);
  // The last position shows the last page (and the empty line after the last break).
  EXPECT_EQ(bar->maximum(), view->GetLineCount() - lines);

  window.resize(500, 400);
  QApplication::processEvents();
  const int taller = view->GetScreenLines();
  EXPECT_GT(taller, lines);
  EXPECT_EQ(bar->maximum(), view->GetLineCount() - taller);
  // The text is 7 columns wide: the horizontal bar stays, disabled.
  EXPECT_FALSE(widget->horizontalScrollBar()->isEnabled());
  EXPECT_TRUE(widget->horizontalScrollBar()->isVisible());

  // One notch of the wheel towards the user scrolls down four lines.
  QWheelEvent wheel(QPointF(50, 50), widget->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget->viewport(), &wheel);
  EXPECT_EQ(bar->value(), 4);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(view->m_nTopLine, 4 + taller - 1);
  EXPECT_EQ(bar->value(), view->m_nTopLine);

  // Thumb to line 50, a keyword line: the first row shows it.
  bar->setSliderPosition(50);
  bar->triggerAction(QAbstractSlider::SliderMove);
  ASSERT_EQ(view->m_nTopLine, 50);
  const QImage image = Grab();
  EXPECT_GT(CountNear(image, Cells(50, 0, 3), kKeywordText), 4);
  EXPECT_GT(CountNear(image, Cells(51, 0, 7), kCommentText), 4);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(view->m_nTopLine, 0);
}

TEST_F(PaintedEditor, WindowReportsKeysButtonsAndMouse) {
  Show("int x;\r\n", QSize(300, 200));
  widget->clearFocus();
  Window& win = *widget;
  QWidget* viewport = widget->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 10));
  EXPECT_LT(win.GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(win.GetKeyState(0x01), 0);  // left button
  QTest::mouseMove(viewport, QPoint(60, 25));
  EXPECT_EQ(win.GetCursorPos(), CPoint(60, 25));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(60, 25));
  EXPECT_EQ(win.GetKeyState(0x01), 0);
  EXPECT_EQ(win.GetKeyState(VK_SHIFT), 0);
  // A press gives the editor the focus.
  EXPECT_TRUE(win.HasFocus());

  win.SetCursor(CursorShape::Margin);
  EXPECT_EQ(viewport->cursor().shape(), Qt::BitmapCursor);
  win.SetCursor(CursorShape::IBeam);
  EXPECT_EQ(viewport->cursor().shape(), Qt::IBeamCursor);
}

TEST(EditorWidget, ViewWithoutStyleGetsNoWindow) {
  EditorWidget widget(std::make_unique<QuillView>());
  widget.show();
  EXPECT_FALSE(widget.IsCreated());
  EXPECT_EQ(widget.View()->GetWindow(), nullptr);
  widget.InitialUpdate();  // harmless, and so is painting
  EXPECT_FALSE(widget.viewport()->grab().isNull());
}

TEST(EditorSplitter, PanesOfOneBufferShowItsEdits) {
  QuillTextBuffer buffer;
  buffer.InitNew(CRLF_MODE_DOS);
  EditorSplitter splitter(2, 1);
  auto* top = new EditorWidget(std::make_unique<CLikeView>(&buffer));
  auto* bottom = new EditorWidget(std::make_unique<CLikeView>(&buffer));
  splitter.SetPane(0, 0, top);
  splitter.SetPane(1, 0, bottom);
  splitter.resize(400, 300);
  splitter.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&splitter));
  top->InitialUpdate();
  bottom->InitialUpdate();

  EXPECT_EQ(bottom->GetDlgCtrlID(), AFX_IDW_PANE_FIRST + 16);
  EXPECT_EQ(top->GetPane(1, 0), bottom->View());
  EXPECT_EQ(top->GetPane(0, 1), nullptr);

  int endLine = 0;
  int endChar = 0;
  buffer.InsertText(nullptr, 0, 0, "while x", endLine, endChar);
  for (EditorWidget* pane : {top, bottom}) {
    auto* view = static_cast<CLikeView*>(pane->View());
    const QImage image = pane->viewport()->grab().toImage();
    const QRect word(view->GetMarginWidth(), 0, 5 * view->GetCharWidth(), view->GetLineHeight());
    EXPECT_GT(CountNear(image, word, kKeywordText), 4);
  }
}

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
  for (int waited = 0; view->m_nTopLine < 6 && waited < 3000; waited += 20) QTest::qWait(20);
  const int top = view->m_nTopLine;
  EXPECT_GE(top, 6);
  QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, below);
  QTest::qWait(250);
  EXPECT_EQ(view->m_nTopLine, top);  // the timer stopped with the release
  EXPECT_EQ(view->m_ptAnchor, CPoint(1, 1));
  EXPECT_GT(view->GetCursorPos().y, view->GetScreenLines());
}

}  // namespace
}  // namespace quill::qt::testing
