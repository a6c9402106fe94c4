// Drag and drop through the headless service: moves and copies within a view and between
// views of two buffers, drops from outside, onto the dragged text and onto views that
// refuse them, the drop caret and scrolling near the edges.

#include <gtest/gtest.h>

#include <tuple>

#include "input_fixture.h"
#include "platform/headless/headless_drag_drop.h"

namespace quill {
namespace {

using testing::Joined;
using testing::Sel;

class DragDropTest : public testing::InputTest {
 protected:
  DragDropTest() : dnd(InstallHeadlessDragDrop()) {}
  ~DragDropTest() override {
    if (target.GetWindow() != nullptr) target.OnDestroy();
  }

  // The target view with focus, created on the first call.
  void OpenTarget(const std::vector<std::string>& lines) {
    testing::Load(buffer2, lines);
    if (target.GetWindow() != nullptr) return;
    ASSERT_EQ(target.OnCreate(&window2), 0);
    target.OnInitialUpdate();
    window2.SetFocus();
    target.OnSetFocus(nullptr);
  }
  // Selects [from, to) on line 0 of the main view and drags it: a press inside, one move.
  void DragWord(int from, int to) {
    Select(CPoint(from, 0), CPoint(to, 0));
    Press(Cell(from + 1, 0));
    Drag(Cell(from + 1, 0, 1));
  }
  // The loop the user makes: enter a window, hover at a point, drop with the effect the
  // hover answered. The drop caret as it was while hovering is kept.
  void DropAt(Window* pWnd, CPoint pt, unsigned long keys = 0) {
    dnd.SetScript([=, this](HeadlessDragDrop& d, DROPEFFECT) {
      d.Enter(pWnd, keys, pt);
      const DROPEFFECT de = d.Over(pWnd, keys, pt);
      hoverCaret = static_cast<HeadlessWindow*>(pWnd)->caret;
      return d.Drop(pWnd, de, pt);
    });
  }

  HeadlessDragDrop& dnd;
  HeadlessWindow::Caret hoverCaret;
  QuillTextBuffer buffer2;
  testing::InputView target{&buffer2};
  HeadlessWindow window2{CSize(kMargin + 40 * kCharWidth, 10 * kLineHeight)};
};

TEST_F(DragDropTest, DragWithinAViewMovesOrCopiesAsOneUndoStep) {
  struct Case {
    unsigned long keys;
    int dropColumn;
    const char* after;
    Sel selection;
    int undoSteps;
  };
  for (const Case& c : {Case{0, 16, "alpha gammabeta ", Sel({11, 0}, {16, 0}), 1},
                        Case{MK_CONTROL, 16, "alpha beta gammabeta ", Sel({16, 0}, {21, 0}), 1},
                        // onto the dragged text: only places the cursor
                        Case{0, 8, "alpha beta gamma", Sel({8, 0}, {8, 0}), 0}}) {
    SCOPED_TRACE(c.after);
    Open({"alpha beta gamma"});
    DropAt(&window, Cell(c.dropColumn, 0), c.keys);
    DragWord(6, 11);
    EXPECT_EQ(dnd.lastAllowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(dnd.lastResult, c.undoSteps ? (c.keys ? DROPEFFECT_COPY : DROPEFFECT_MOVE) : DROPEFFECT_NONE);
    EXPECT_TRUE(hoverCaret.visible && !hoverCaret.solid);
    EXPECT_EQ(hoverCaret.pos, view.TextToClient(CPoint(c.dropColumn, 0)));
    EXPECT_FALSE(view.IsDraggingText());
    EXPECT_EQ(Joined(buffer), c.after);
    EXPECT_EQ(Selection(), c.selection);
    EXPECT_EQ(Cursor(), c.selection.second);
    EXPECT_TRUE(window.caret.solid);
    EXPECT_EQ(UndoSteps(), c.undoSteps);
    EXPECT_EQ(Joined(buffer), "alpha beta gamma");
  }
}

TEST_F(DragDropTest, MoveToAnotherBufferIsOneStepInEach) {
  Open({"alpha beta gamma"});
  OpenTarget({"one", "two"});
  DropAt(&window2, Cell(3, 1));
  DragWord(6, 11);
  EXPECT_EQ(dnd.lastResult, DROPEFFECT_MOVE);
  EXPECT_EQ(Joined(buffer), "alpha gamma");
  EXPECT_EQ(Joined(buffer2), "one|twobeta ");
  EXPECT_EQ(target.GetCursorPos(), CPoint(8, 1));
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(testing::UndoSteps(target, buffer2), 1);
  EXPECT_EQ(Joined(buffer), "alpha beta gamma");
  EXPECT_EQ(Joined(buffer2), "one|two");
}

TEST_F(DragDropTest, TextFromOutsideIsInsertedAndSelected) {
  Open({"one", "two"});
  Place(CPoint(1, 0));
  const COleDataObject text(GlobalAllocText("new\r\nline "));
  EXPECT_EQ(dnd.Enter(&window, text, MK_CONTROL, Cell(0, 1)), DROPEFFECT_COPY);
  EXPECT_EQ(dnd.Over(&window, 0, Cell(0, 1)), DROPEFFECT_MOVE);
  EXPECT_EQ(dnd.Drop(&window, DROPEFFECT_COPY, Cell(0, 1)), DROPEFFECT_COPY);
  EXPECT_EQ(Joined(buffer), "one|new|line two");
  EXPECT_EQ(Selection(), Sel({0, 1}, {5, 2}));
  EXPECT_EQ(Cursor(), CPoint(5, 2));
  EXPECT_TRUE(window.caret.solid);

  // Data without text is refused at every step.
  const COleDataObject none;
  EXPECT_EQ(dnd.Enter(&window, none, 0, Cell(0, 0)), DROPEFFECT_NONE);
  EXPECT_EQ(dnd.Over(&window, 0, Cell(0, 0)), DROPEFFECT_NONE);
  EXPECT_EQ(dnd.Drop(&window, DROPEFFECT_COPY, Cell(0, 0)), DROPEFFECT_NONE);
  EXPECT_EQ(Joined(buffer), "one|new|line two");
}

TEST_F(DragDropTest, ReadOnlyOrDisabledTargetsRefuseAfterEnterShowsTheCaret) {
  for (const bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly);
    OpenTarget({"one", "two"});
    target.editable = !readOnly;
    target.SetDisableDragAndDrop(readOnly ? 0 : 1);
    target.SetCursorPos(CPoint(2, 0));
    const COleDataObject text(GlobalAllocText("x"));
    // Entering does not look at the view: the drop caret shows...
    EXPECT_EQ(dnd.Enter(&window2, text, 0, Cell(1, 1)), DROPEFFECT_MOVE);
    EXPECT_FALSE(window2.caret.solid);
    // ...and goes at the first hover, the cursor back where it was.
    EXPECT_EQ(dnd.Over(&window2, 0, Cell(1, 1)), DROPEFFECT_NONE);
    EXPECT_TRUE(window2.caret.solid && window2.caret.visible);
    EXPECT_EQ(window2.caret.pos, target.TextToClient(CPoint(2, 0)));
    EXPECT_EQ(dnd.Drop(&window2, DROPEFFECT_MOVE, Cell(1, 1)), DROPEFFECT_NONE);
    EXPECT_EQ(Joined(buffer2), "one|two");
    EXPECT_EQ(target.GetCursorPos(), CPoint(2, 0));
  }
}

TEST_F(DragDropTest, EdgesScrollOneStepPerCallback) {
  Open(std::vector<std::string>(30, "0123456789012345678901234567890123456789012345678"));
  view.ScrollToLine(2, 1);
  view.ScrollToChar(2, 1);
  Place(CPoint(10, 5));
  const COleDataObject text(GlobalAllocText("x"));
  dnd.Enter(&window, text, 0, Cell(5, 5));
  const int right = kMargin + 40 * kCharWidth;
  // Where the drag is, and the top line and the offset after the callback.
  const std::tuple<CPoint, int, int> steps[] = {
      {CPoint(100, 2), 1, 2},         {CPoint(100, 2), 0, 2},          {CPoint(100, 2), 0, 2},
      {CPoint(100, 159), 1, 2},       {CPoint(kMargin + 3, 50), 1, 1}, {CPoint(right - 1, 50), 1, 2},
      {CPoint(100, 50), 1, 2}};
  for (const auto& [point, top, offset] : steps) {
    const int updates = window.updateCount;
    EXPECT_EQ(dnd.Scroll(&window, MK_CONTROL, point), DROPEFFECT_COPY);
    EXPECT_EQ(view.m_nTopLine, top);
    EXPECT_EQ(view.m_nOffsetChar, offset);
    // A scroll repaints and shows the drop caret again; the middle leaves both alone.
    const bool middle = point == CPoint(100, 50);
    EXPECT_EQ(window.updateCount != updates, !middle);
    EXPECT_FALSE(window.caret.solid);
  }
  dnd.Leave(&window);
  EXPECT_TRUE(window.caret.solid && window.caret.visible);
  EXPECT_EQ(Cursor(), CPoint(10, 5));
}

}  // namespace
}  // namespace quill
