// Keyboard movement through the accelerator table: characters, words, lines, pages,
// the whole text, the ideal column, scrolling that keeps the cursor in view.

#include <gtest/gtest.h>

#include "input_fixture.h"

namespace quill {
namespace {

using testing::InputTest;
using testing::Sel;

using MoveTest = InputTest;

TEST_F(MoveTest, CharacterMovesStopAtTheTextEndsAndCollapseTheSelection) {
  Open({"abc", "de"});
  struct Step {
    unsigned vk, mods;
    CPoint cursor;
    Sel selection;
  } steps[] = {
      {VK_LEFT, 0, {0, 0}, {{0, 0}, {0, 0}}},                     // start of the text
      {VK_RIGHT, FSHIFT, {1, 0}, {{0, 0}, {1, 0}}},
      {VK_LEFT, 0, {0, 0}, {{0, 0}, {0, 0}}},                     // to the selection's start
      {VK_END, 0, {3, 0}, {{3, 0}, {3, 0}}},
      {VK_RIGHT, 0, {0, 1}, {{0, 1}, {0, 1}}},                    // over the line break
      {VK_LEFT, FSHIFT, {3, 0}, {{3, 0}, {0, 1}}},
      {VK_RIGHT, 0, {0, 1}, {{0, 1}, {0, 1}}},                    // to the selection's end
      {VK_END, FCONTROL, {2, 1}, {{2, 1}, {2, 1}}},
      {VK_RIGHT, 0, {2, 1}, {{2, 1}, {2, 1}}},                    // end of the text
      {VK_HOME, FCONTROL | FSHIFT, {0, 0}, {{0, 0}, {2, 1}}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "key " << s.vk << " mods " << s.mods);
    ASSERT_TRUE(Key(s.vk, s.mods));
    EXPECT_EQ(Cursor(), s.cursor);
    EXPECT_EQ(Selection(), s.selection);
  }
}

TEST_F(MoveTest, VerticalMovesKeepTheIdealColumnAcrossShortLines) {
  Open({"0123456789abcdef", "\tx", "0123456789abcdef", "0123456789abcdef"});
  Place(CPoint(12, 3));
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(Cursor(), CPoint(2, 1));  // the short line's end
  Key(VK_UP);
  EXPECT_EQ(Cursor(), CPoint(12, 0));
  Key(VK_DOWN, FSHIFT);
  Key(VK_DOWN, FSHIFT);
  EXPECT_EQ(Selection(), Sel({12, 0}, {12, 2}));
  // Down with a selection starts from its end line, at the ideal column.
  Place(CPoint(1, 0));
  view.SetSelection(CPoint(1, 0), CPoint(5, 2));
  Key(VK_DOWN);
  EXPECT_EQ(Cursor(), CPoint(1, 3));
}

TEST_F(MoveTest, SmartHomeAlternatesBetweenIndentAndLineStart) {
  Open({"    abc", "    "});
  Place(CPoint(6, 0));
  for (int expected : {4, 0, 4}) {
    Key(VK_HOME);
    EXPECT_EQ(Cursor().x, expected);
  }
  Place(CPoint(2, 1));
  for (int i = 0; i < 2; ++i) {
    Key(VK_HOME);
    EXPECT_EQ(Cursor().x, 0);
  }
}

TEST_F(MoveTest, WordMovesStopAtWordsAndPunctuation) {
  Open({"x", "foo.bar baz", "", "end"});
  Place(CPoint(0, 1));
  for (int expected : {3, 4, 8, 11}) {
    Key(VK_RIGHT, FCONTROL);
    EXPECT_EQ(Cursor(), CPoint(expected, 1));
  }
  for (int expected : {8, 4, 3, 0}) {
    Key(VK_LEFT, FCONTROL);
    EXPECT_EQ(Cursor(), CPoint(expected, 1));
  }
  Key(VK_LEFT, FCONTROL);  // over the line break to the word before it
  EXPECT_EQ(Cursor(), CPoint(0, 0));
  Key(VK_LEFT, FCONTROL);  // nothing before the text
  EXPECT_EQ(Cursor(), CPoint(0, 0));
  // From a line end onto an empty line: one step, to the line after it.
  Place(CPoint(11, 1));
  Key(VK_RIGHT, FCONTROL | FSHIFT);
  EXPECT_EQ(Selection(), Sel({11, 1}, {0, 3}));
  Key(VK_END, FCONTROL);
  Key(VK_RIGHT, FCONTROL);
  EXPECT_EQ(Cursor(), CPoint(3, 3));
  EXPECT_EQ(view.WordToLeft(CPoint(6, 1)), CPoint(4, 1));
  EXPECT_EQ(view.WordToRight(CPoint(5, 1)), CPoint(7, 1));
}

TEST_F(MoveTest, PagesAndTextEndsScrollTheCursorIntoView) {
  std::vector<std::string> lines(100, "line");
  lines[99] = std::string(60, 'z');
  Open(lines);
  ASSERT_EQ(view.GetScreenLines(), 10);
  Key(VK_NEXT);
  EXPECT_EQ(view.m_nTopLine, 9);
  EXPECT_EQ(Cursor(), CPoint(0, 9));
  Key(VK_NEXT, FSHIFT);
  EXPECT_EQ(view.m_nTopLine, 18);
  EXPECT_EQ(Selection(), Sel({0, 9}, {0, 18}));
  Key(VK_PRIOR);
  EXPECT_EQ(view.m_nTopLine, 9);
  EXPECT_EQ(Cursor(), CPoint(0, 9));

  Key(VK_END, FCONTROL);
  EXPECT_EQ(Cursor(), CPoint(60, 99));
  EXPECT_EQ(view.m_nTopLine, 90);
  EXPECT_EQ(view.m_nOffsetChar, 60 - view.GetScreenChars());
  EXPECT_EQ(window.scrollInfo[SB_VERT].nPos, 90);
  Key(VK_HOME, FCONTROL);
  EXPECT_EQ(view.m_nTopLine, 0);
  EXPECT_EQ(view.m_nOffsetChar, 0);
}

TEST_F(MoveTest, SelectAllAndDeselectAll) {
  Open({"ab", "cde"});
  Place(CPoint(1, 0));
  Key('A', FCONTROL);
  EXPECT_EQ(Selection(), Sel({0, 0}, {3, 1}));
  EXPECT_EQ(Cursor(), CPoint(3, 1));
  EXPECT_EQ(view.m_ptAnchor, CPoint(1, 0));  // not moved
  Key('A', FALT);
  EXPECT_FALSE(view.IsSelection());
  EXPECT_EQ(Cursor(), CPoint(3, 1));
}

TEST_F(MoveTest, CtrlUpAndDownScrollAndDragTheCursorAlong) {
  Open(std::vector<std::string>(40, "text"));
  Place(CPoint(3, 0));
  view.SetSelection(CPoint(0, 0), CPoint(3, 0));
  Key(VK_DOWN, FCONTROL);
  EXPECT_EQ(view.m_nTopLine, 1);
  EXPECT_EQ(Cursor(), CPoint(3, 1));
  EXPECT_EQ(Selection(), Sel({0, 0}, {3, 0}));  // unchanged
  Place(CPoint(2, 10));
  Key(VK_UP, FCONTROL);
  EXPECT_EQ(view.m_nTopLine, 0);
  EXPECT_EQ(Cursor(), CPoint(2, 9));  // the last visible line
}

TEST_F(MoveTest, WheelScrollsFourLinesAndStopsNearTheEnd) {
  Open(std::vector<std::string>(20, "text"));
  struct Turn {
    unsigned flags;
    short delta;
    int handled, top;
  } turns[] = {
      {0, -120, 1, 4}, {0, -360, 1, 8}, {0, 120, 1, 4}, {0, 240, 1, 0},
      {MK_CONTROL, -120, 0, 0}, {MK_SHIFT, -120, 0, 0},
      {0, -120, 1, 4}, {0, -120, 1, 8}, {0, -120, 1, 12}, {0, -120, 1, 16},
      {0, -120, 1, 16},  // 16 + 4 would reach the last line
  };
  for (const Turn& t : turns) {
    EXPECT_EQ(view.OnMouseWheel(t.flags, t.delta, CPoint()), t.handled);
    EXPECT_EQ(view.m_nTopLine, t.top) << t.delta;
  }
  window.SetStyle(0);
  EXPECT_EQ(view.OnMouseWheel(0, -120, CPoint()), 0);
}

TEST_F(MoveTest, ScrollBarRequestsAndAWholeFileOnScreen) {
  Open(std::vector<std::string>(50, "text"));
  struct Request {
    unsigned code;
    int track, top;
  } requests[] = {
      {SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 10}, {SB_LINEUP, 0, 9}, {SB_PAGEUP, 0, 0},
      {SB_THUMBTRACK, 30, 30}, {SB_BOTTOM, 0, 41}, {SB_TOP, 0, 0}, {SB_THUMBPOSITION, 99, 49},
  };
  for (const Request& r : requests) {
    window.scrollInfo[SB_VERT].nTrackPos = r.track;
    view.OnVScroll(r.code, 0, nullptr);
    EXPECT_EQ(view.m_nTopLine, r.top) << r.code;
  }

  // Everything fits: scrolling to a line does nothing.
  window.SetClientSize(CSize(400, 60 * 16));
  view.OnSize(0, 400, 60 * 16);
  EXPECT_EQ(view.m_nTopLine, 0);
  view.ScrollToLine(5);
  EXPECT_EQ(view.m_nTopLine, 0);
}

}  // namespace
}  // namespace quill
