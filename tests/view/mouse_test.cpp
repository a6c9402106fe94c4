// Mouse selection in pixels: clicks, drags, double clicks, the margin, the auto-scroll
// timer, the right button, focus loss, the cursor shape and panes kept in step.

#include <gtest/gtest.h>

#include <tuple>

#include "input_fixture.h"

namespace quill {
namespace {

using testing::InputView;
using testing::Sel;

using MouseTest = testing::InputTest;

TEST_F(MouseTest, ClickAndDragSelectCharactersWithCaptureAndTimer) {
  Open({"int value = 42;", "return value;"});
  // A click in the right half of a cell goes to the boundary after it.
  Press(Cell(2, 0, 5));
  EXPECT_EQ(Cursor(), CPoint(3, 0));
  EXPECT_TRUE(window.HasCapture());
  EXPECT_EQ(window.timers.at(1001), 100u);
  Drag(Cell(6, 1));
  EXPECT_EQ(Selection(), Sel({3, 0}, {6, 1}));
  Release(Cell(6, 1));
  EXPECT_FALSE(window.HasCapture());
  EXPECT_TRUE(window.timers.empty());
  EXPECT_EQ(Cursor(), CPoint(6, 1));

  // Shift+click extends from the anchor; Ctrl+click and drag select whole words.
  Press(Cell(9, 1), FSHIFT);
  EXPECT_EQ(Selection(), Sel({3, 0}, {9, 1}));
  Release(Cell(9, 1));
  Place(CPoint(0, 1));
  Press(Cell(6, 0), FCONTROL);
  Drag(Cell(2, 1));
  Release(Cell(2, 1));
  EXPECT_EQ(Selection(), Sel({4, 0}, {6, 1}));
  EXPECT_EQ(Cursor(), CPoint(6, 1));
}

TEST_F(MouseTest, PressInsideTheSelectionThenReleasePlacesTheCursor) {
  Open({"int value = 42;"});
  view.SetSelection(CPoint(4, 0), CPoint(9, 0));
  Press(Cell(6, 0));
  EXPECT_EQ(Selection(), Sel({4, 0}, {9, 0}));  // nothing yet: a drag may follow
  EXPECT_FALSE(window.HasCapture());
  Release(Cell(7, 0));
  EXPECT_EQ(Cursor(), CPoint(7, 0));
  EXPECT_FALSE(view.IsSelection());
  // With drag and drop disabled the press selects as anywhere else.
  view.SetSelection(CPoint(4, 0), CPoint(9, 0));
  view.SetDisableDragAndDrop(1);
  Press(Cell(6, 0));
  EXPECT_TRUE(window.HasCapture());
  EXPECT_FALSE(view.IsSelection());
}

TEST_F(MouseTest, MarginClicksSelectWholeLines) {
  Open({"one", "two", "three", "four"});
  Press(MarginAt(1));
  EXPECT_EQ(Selection(), Sel({0, 1}, {0, 2}));  // the line with its break
  Release(MarginAt(1));
  Press(MarginAt(3), FSHIFT);  // the last line: up to its end
  EXPECT_EQ(Selection(), Sel({0, 1}, {4, 3}));
  Drag(MarginAt(0));  // back above the anchor's line
  EXPECT_EQ(Selection(), Sel({0, 0}, {0, 2}));
  EXPECT_EQ(Cursor(), CPoint(0, 0));
  Release(MarginAt(0));
  Press(MarginAt(2), FCONTROL);
  EXPECT_EQ(Selection(), Sel({0, 0}, {4, 3}));
  EXPECT_FALSE(window.HasCapture());
}

TEST_F(MouseTest, DoubleClickSelectsAWordAndNothingOnPunctuation) {
  Open({"int value = 42;"});
  view.OnLButtonDblClk(0, Cell(6, 0));
  EXPECT_EQ(Selection(), Sel({4, 0}, {9, 0}));
  EXPECT_EQ(Cursor(), CPoint(9, 0));
  Release(Cell(6, 0));
  view.OnLButtonDblClk(0, Cell(10, 0, 2));
  EXPECT_FALSE(view.IsSelection());
  Release(Cell(10, 0));
}

TEST_F(MouseTest, TimerScrollsWhileTheMouseIsOutsideAndExtendsTheSelection) {
  Open(std::vector<std::string>(50, "some text here"));
  Press(Cell(2, 3));
  // Where the mouse is at a tick, and the top line after it.
  const std::pair<CPoint, int> ticks[] = {
      {Cell(4, 10), 1},   // just below the bottom: one line
      {Cell(4, 12), 4},   // more than a line below: three
      {Cell(4, 5), 4},    // inside: nothing
      {CPoint(40, -5), 3},
      {CPoint(40, -40), 0},
  };
  for (const auto& [mouse, top] : ticks) {
    window.SetMousePos(mouse);
    view.OnTimer(1001);
    EXPECT_EQ(view.m_nTopLine, top) << mouse.y;
  }
  // The selection follows the mouse where the last tick left it.
  EXPECT_EQ(Selection(), Sel({3, 0}, {2, 3}));
  view.OnTimer(7);  // other timers are not the view's
  // Focus loss ends the selection.
  view.OnKillFocus(nullptr);
  EXPECT_FALSE(view.m_bSelecting);
  EXPECT_FALSE(window.HasCapture());
  EXPECT_TRUE(window.timers.empty());
}

TEST_F(MouseTest, RightClickKeepsAClickedSelectionAndCursorShapes) {
  Open({"int value = 42;"});
  view.SetSelection(CPoint(4, 0), CPoint(9, 0));
  view.OnRButtonDown(0, Cell(6, 0));
  EXPECT_TRUE(view.IsSelection());
  view.OnRButtonDown(0, Cell(12, 0));
  EXPECT_FALSE(view.IsSelection());
  EXPECT_EQ(Cursor(), CPoint(12, 0));

  view.SetSelection(CPoint(4, 0), CPoint(9, 0));
  // Where the mouse hovers, whether drag and drop is disabled, and the cursor's shape.
  const std::tuple<CPoint, bool, CursorShape> hovers[] = {
      {CPoint(5, 5), false, CursorShape::Margin},
      {Cell(6, 0), false, CursorShape::Arrow},
      {Cell(1, 0), false, CursorShape::IBeam},
      {Cell(6, 0), true, CursorShape::IBeam},  // unchanged from the last shape
  };
  for (const auto& [at, dndDisabled, shape] : hovers) {
    window.SetMousePos(at);
    view.SetDisableDragAndDrop(dndDisabled);
    EXPECT_TRUE(view.OnSetCursor(&window, HTCLIENT, 0));
    EXPECT_EQ(window.cursor, shape);
  }
}

// Panes of one document: a new pane takes the top line of the pane left of it and the
// offset of the pane above it, and scrolling keeps them in step.
TEST(SplitPanes, RowsShareTheTopLineAndColumnsTheOffset) {
  InstallMemorySettingsStore();
  CDocument doc;
  doc.SetTitle("deck.sp");
  QuillTextBuffer buffer(&doc);
  testing::Fill(buffer, std::vector<std::string>(100, std::string(200, 'x')));
  buffer.SetReadOnly(1);
  HeadlessSplitter splitter;
  InputView views[3] = {InputView(&buffer), InputView(&buffer), InputView(&buffer)};
  HeadlessWindow windows[3];
  const CPoint panes[3] = {{0, 0}, {1, 0}, {0, 1}};  // (column, row): top left, top right, bottom left
  for (int i = 0; i < 3; ++i) {
    windows[i].SetSplitter(&splitter, panes[i].y, panes[i].x);
    splitter.SetPane(panes[i].y, panes[i].x, &views[i]);
    views[i].SetDocument(&doc);
    ASSERT_EQ(views[i].OnCreate(&windows[i]), 0);
    views[i].OnInitialUpdate();
    // The first pane stands scrolled when the others open.
    views[0].m_nTopLine = 7;
    views[0].m_nOffsetChar = 2;
  }
  EXPECT_EQ(views[1].m_nTopLine, 7);
  EXPECT_EQ(views[2].m_nOffsetChar, 2);
  EXPECT_EQ(doc.GetTitle(), "deck.sp (Read-Only)");

  views[0].ScrollDown(13);
  EXPECT_EQ(views[1].m_nTopLine, 20);  // beside it
  EXPECT_EQ(views[2].m_nTopLine, 0);
  views[0].EnsureVisible(CPoint(150, 20));
  EXPECT_GT(views[0].m_nOffsetChar, 2);
  EXPECT_EQ(views[2].m_nOffsetChar, views[0].m_nOffsetChar);  // below it
  EXPECT_EQ(views[1].m_nOffsetChar, 0);
  for (InputView& v : views) v.OnDestroy();
  EXPECT_EQ(views[0].GetWindow(), nullptr);
  EXPECT_EQ(views[0].GetLineCount(), 1);  // no longer on the buffer
}

}  // namespace
}  // namespace quill
