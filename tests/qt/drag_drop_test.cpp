// Drag and drop on a real editor widget offscreen: text/plain from another program
// arrives through drag-enter, drag-move and drop events sent to the viewport (Windows-1252
// bytes, CR LF breaks); the read-only case refuses. A drag from the widget runs QDrag,
// whose loop ends at once offscreen with no drop: the buffer must stay as it was.

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

#include "qt/qt_drag_drop.h"
#include "qt_fixture.h"

namespace quill::qt::testing {
namespace {

class WidgetDragDrop : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    Show("alpha beta gamma\r\nsecond\r\n");
  }
  // Enter, move and drop at a point; whether each event was accepted.
  std::array<bool, 3> DragOnto(const QMimeData& mime, QPoint pos, Qt::KeyboardModifiers mods) {
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(widget->viewport(), &enter);
    QDragMoveEvent move(pos, actions, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(widget->viewport(), &move);
    hoverCaretGray = widget->CaretVisible() && !widget->CaretSolid();
    hoverAction = move.dropAction();
    QDropEvent drop(QPointF(pos), actions, &mime, Qt::LeftButton, mods);
    QApplication::sendEvent(widget->viewport(), &drop);
    return {enter.isAccepted(), move.isAccepted(), drop.isAccepted()};
  }

  bool hoverCaretGray = false;
  Qt::DropAction hoverAction = Qt::IgnoreAction;
};

TEST_F(WidgetDragDrop, TextFromAnotherProgramIsDroppedAsWindows1252) {
  // Another program's data: text/plain bytes, nothing else.
  QMimeData mime;
  mime.setData("text/plain", QByteArray("caf\xc3\xa9\nnew "));
  EXPECT_EQ(DragOnto(mime, At(6, 0), Qt::ControlModifier), (std::array<bool, 3>{true, true, true}));
  EXPECT_TRUE(hoverCaretGray);
  EXPECT_EQ(hoverAction, Qt::CopyAction);
  EXPECT_EQ(Text(), "alpha caf\xe9|new beta gamma|second|");
  EXPECT_TRUE(widget->CaretSolid());

  // A view that refuses edits takes the enter, then refuses the move and the drop.
  view->editable = false;
  EXPECT_EQ(DragOnto(mime, At(0, 2), Qt::NoModifier), (std::array<bool, 3>{true, false, false}));
  EXPECT_EQ(Text(), "alpha caf\xe9|new beta gamma|second|");

  // Empty text is refused: a source that moved it would lose its own.
  view->editable = true;
  QMimeData empty;
  empty.setData("text/plain", QByteArray());
  EXPECT_FALSE(DragOnto(empty, At(0, 1), Qt::NoModifier)[2]);

  // The same bytes leave as they came: text/plain (also as UTF-8 bytes, for programs that
  // ask for those) with LF breaks, and back.
  std::unique_ptr<QMimeData> out(MimeDataOf(COleDataObject(GlobalAllocText("caf\xe9\r\nx"))));
  EXPECT_EQ(out->text(), QString::fromUtf8("caf\u00e9\nx"));
  EXPECT_EQ(out->data("text/plain;charset=utf-8"), QByteArray("caf\xc3\xa9\nx"));
  EXPECT_EQ(GlobalText(DataObjectOf(out.get()).GetGlobalData(CF_TEXT)), "caf\xe9\r\nx");
}

TEST_F(WidgetDragDrop, ADragThatEndsWithoutADropLeavesTheSource) {
  // Offscreen, QDrag::exec returns at once with no action: the source must neither delete
  // its text nor keep an undo step or the dragging state.
  view->Select(CPoint(6, 0), CPoint(10, 0));
  QTest::mousePress(widget->viewport(), Qt::LeftButton, Qt::NoModifier, At(7, 0));
  QTest::mouseMove(widget->viewport(), At(8, 0));
  QTest::mouseRelease(widget->viewport(), Qt::LeftButton, Qt::NoModifier, At(8, 0));
  EXPECT_FALSE(view->IsDraggingText());
  EXPECT_EQ(Text(), "alpha beta gamma|second|");
  EXPECT_FALSE(buffer.CanUndo());
}

// A drag into a second editor window. The platform's loop is played by the test (offscreen
// has none): the drag goes over the target and is dropped, and the loop reports what the
// platform would, or what a platform that cannot tell says (a move).
TEST_F(WidgetDragDrop, AMoveDeletesTheSourceOnlyWhenTheTargetTookTheText) {
  QuillTextBuffer buffer2;
  ASSERT_EQ(buffer2.LoadFromFile(dir.Write("two.c", "one two\r\n").c_str()), 1);
  auto owned = std::make_unique<CLikeView>(&buffer2);
  CLikeView* view2 = owned.get();
  auto* widget2 = new EditorWidget(std::move(owned));
  QMainWindow window2;
  window2.setCentralWidget(widget2);
  window2.resize(300, 200);
  window2.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window2));
  widget2->InitialUpdate();

  std::optional<Qt::DropAction> reported;  // unset: the drop's own answer
  CurrentQtDragDrop()->SetDragLoop([&](QDrag& drag, Qt::DropActions actions) {
    const QPoint pos = At(4, 0);
    QDragEnterEvent enter(pos, actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget2->viewport(), &enter);
    QDragMoveEvent move(pos, actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget2->viewport(), &move);
    QDropEvent drop(QPointF(pos), actions, drag.mimeData(), Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(widget2->viewport(), &drop);
    return reported.value_or(drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction);
  });
  auto dragWord = [&](int start, int end) {
    view->Select(CPoint(start, 0), CPoint(end, 0));
    QTest::mousePress(widget->viewport(), Qt::LeftButton, Qt::NoModifier, At(start + 1, 0));
    QTest::mouseMove(widget->viewport(), At(start + 2, 0));
    QTest::mouseRelease(widget->viewport(), Qt::LeftButton, Qt::NoModifier, At(start + 2, 0));
  };

  dragWord(6, 10);  // "beta": taken by the other window, so moved
  EXPECT_EQ(Text(), "alpha  gamma|second|");
  EXPECT_EQ(quill::testing::Joined(buffer2), "one betatwo|");

  // The other window refuses, though the platform says the text was moved: it stays.
  view2->editable = false;
  reported = Qt::MoveAction;
  dragWord(7, 12);  // "gamma"
  EXPECT_EQ(Text(), "alpha  gamma|second|");
  EXPECT_EQ(quill::testing::Joined(buffer2), "one betatwo|");
  EXPECT_FALSE(view->IsDraggingText());
  CurrentQtDragDrop()->SetDragLoop(nullptr);
  delete window2.takeCentralWidget();
}

}  // namespace
}  // namespace quill::qt::testing
