// Drag and drop on a real editor widget offscreen: text/plain from another program
// arrives through drag-enter, drag-move and drop events sent to the viewport (Windows-1252
// bytes, CR LF breaks); the read-only case refuses. A drag from the widget runs QDrag,
// whose loop ends at once offscreen with no drop: the buffer must stay as it was.

#include <QDropEvent>
#include <QMimeData>

#include <memory>
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
  QMimeData mime;
  mime.setText(QString::fromUtf8("caf\u00e9\nnew "));
  EXPECT_EQ(DragOnto(mime, At(6, 0), Qt::ControlModifier), (std::array<bool, 3>{true, true, true}));
  EXPECT_TRUE(hoverCaretGray);
  EXPECT_EQ(hoverAction, Qt::CopyAction);
  EXPECT_EQ(Text(), "alpha caf\xe9|new beta gamma|second|");
  EXPECT_TRUE(widget->CaretSolid());

  // A view that refuses edits takes the enter, then refuses the move and the drop.
  view->editable = false;
  EXPECT_EQ(DragOnto(mime, At(0, 2), Qt::NoModifier), (std::array<bool, 3>{true, false, false}));
  EXPECT_EQ(Text(), "alpha caf\xe9|new beta gamma|second|");

  // The same bytes leave as they came: text/plain with LF breaks and back.
  std::unique_ptr<QMimeData> out(MimeDataOf(COleDataObject(GlobalAllocText("caf\xe9\r\nx"))));
  EXPECT_EQ(out->text(), QString::fromUtf8("caf\u00e9\nx"));
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

}  // namespace
}  // namespace quill::qt::testing
