// Keyboard movement through the accelerator table: characters, words, lines, pages,
// the whole text, the ideal column, scrolling that keeps the cursor in view.

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "input_fixture.h"

namespace quill {
namespace {

using testing::Sel;

// A key and where it leaves the cursor; the selection is empty there unless given, and
// the top line is checked when given.
struct Step {
  unsigned vk, mods;
  CPoint cursor;
  std::optional<Sel> selection = std::nullopt;
  int top = -1;
};

class MoveTest : public testing::InputTest {
 protected:
  void Walk(const std::vector<Step>& steps) {
    for (const Step& s : steps) {
      SCOPED_TRACE(::testing::Message() << "key " << s.vk << " mods " << s.mods);
      ASSERT_TRUE(Key(s.vk, s.mods));
      EXPECT_EQ(Cursor(), s.cursor);
      EXPECT_EQ(Selection(), s.selection.value_or(Sel(s.cursor, s.cursor)));
      if (s.top >= 0) {
        EXPECT_EQ(view.m_nTopLine, s.top);
      }
    }
  }
};

TEST_F(MoveTest, CharacterMovesStopAtTheTextEndsAndCollapseTheSelection) {
  Open({"abc", "de"});
  Walk({
      {VK_LEFT, 0, {0, 0}},  // start of the text
      {VK_RIGHT, FSHIFT, {1, 0}, Sel({0, 0}, {1, 0})},
      {VK_LEFT, 0, {0, 0}},  // to the selection's start
      {VK_END, 0, {3, 0}},
      {VK_RIGHT, 0, {0, 1}},  // over the line break
      {VK_LEFT, FSHIFT, {3, 0}, Sel({3, 0}, {0, 1})},
      {VK_RIGHT, 0, {0, 1}},  // to the selection's end
      {VK_END, FCONTROL, {2, 1}},
      {VK_RIGHT, 0, {2, 1}},  // end of the text
      {VK_HOME, FCONTROL | FSHIFT, {0, 0}, Sel({0, 0}, {2, 1})},
      {VK_RIGHT, 0, {2, 1}},
      {'A', FCONTROL, {2, 1}, Sel({0, 0}, {2, 1})},  // select all keeps the cursor
      {VK_LEFT, FSHIFT, {1, 1}, Sel({1, 1}, {2, 1})},
      {'A', FALT, {1, 1}},  // deselect all
  });
}

TEST_F(MoveTest, VerticalMovesKeepTheIdealColumnAcrossShortLines) {
  Open({"0123456789abcdef", "\tx", "0123456789abcdef", "0123456789abcdef"});
  Place(CPoint(12, 3));
  Walk({
      {VK_UP, 0, {12, 2}},
      {VK_UP, 0, {2, 1}},  // the short line's end
      {VK_UP, 0, {12, 0}},
      {VK_DOWN, FSHIFT, {2, 1}, Sel({12, 0}, {2, 1})},
      {VK_DOWN, FSHIFT, {12, 2}, Sel({12, 0}, {12, 2})},
  });
  // Down with a selection starts from its end line, at the ideal column.
  Place(CPoint(1, 0));
  view.SetSelection(CPoint(1, 0), CPoint(5, 2));
  Walk({{VK_DOWN, 0, {1, 3}}});
}

TEST_F(MoveTest, SmartHomeAlternatesBetweenIndentAndLineStart) {
  Open({"    abc", "    "});
  Place(CPoint(6, 0));
  Walk({{VK_HOME, 0, {4, 0}}, {VK_HOME, 0, {0, 0}}, {VK_HOME, 0, {4, 0}}});
  Place(CPoint(2, 1));  // nothing but the indent
  Walk({{VK_HOME, 0, {0, 1}}, {VK_HOME, 0, {0, 1}}});
}

TEST_F(MoveTest, WordMovesStopAtWordsAndPunctuation) {
  Open({"x", "foo.bar baz", "", "end"});
  Place(CPoint(0, 1));
  Walk({
      {VK_RIGHT, FCONTROL, {3, 1}},
      {VK_RIGHT, FCONTROL, {4, 1}},
      {VK_RIGHT, FCONTROL, {8, 1}},
      {VK_RIGHT, FCONTROL, {11, 1}},
      {VK_LEFT, FCONTROL, {8, 1}},
      {VK_LEFT, FCONTROL, {4, 1}},
      {VK_LEFT, FCONTROL, {3, 1}},
      {VK_LEFT, FCONTROL, {0, 1}},
      {VK_LEFT, FCONTROL, {0, 0}},  // over the line break to the word before it
      {VK_LEFT, FCONTROL, {0, 0}},  // nothing before the text
  });
  // From a line end onto an empty line: one step, to the line after it.
  Place(CPoint(11, 1));
  Walk({
      {VK_RIGHT, FCONTROL | FSHIFT, {0, 3}, Sel({11, 1}, {0, 3})},
      {VK_END, FCONTROL, {3, 3}},
      {VK_RIGHT, FCONTROL, {3, 3}},
  });
}

TEST_F(MoveTest, PagesAndTextEndsScrollTheCursorIntoView) {
  std::vector<std::string> lines(100, "line");
  lines[99] = std::string(60, 'z');
  Open(lines);
  Walk({{VK_NEXT, 0, {0, 9}, std::nullopt, 9},
        {VK_NEXT, FSHIFT, {0, 18}, Sel({0, 9}, {0, 18}), 18},
        {VK_PRIOR, 0, {0, 9}, std::nullopt, 9},
        {VK_END, FCONTROL, {60, 99}, std::nullopt, 90}});
  EXPECT_EQ(view.m_nOffsetChar, 60 - view.GetScreenChars());
  EXPECT_EQ(window.scrollInfo[SB_VERT].nPos, 90);
  Walk({{VK_HOME, FCONTROL, {0, 0}, std::nullopt, 0}});
  EXPECT_EQ(view.m_nOffsetChar, 0);
}

TEST_F(MoveTest, CtrlUpAndDownScrollAndDragTheCursorAlong) {
  Open(std::vector<std::string>(40, "text"));
  Place(CPoint(3, 0));
  view.SetSelection(CPoint(0, 0), CPoint(3, 0));
  Walk({{VK_DOWN, FCONTROL, {3, 1}, Sel({0, 0}, {3, 0}), 1}});  // the selection stays behind
  Place(CPoint(2, 10));
  Walk({{VK_UP, FCONTROL, {2, 9}, Sel({2, 10}, {2, 10}), 0}});  // the last visible line
}

TEST_F(MoveTest, WheelScrollsFourLinesAndStopsNearTheEnd) {
  Open(std::vector<std::string>(20, "text"));
  // Keys held, the wheel's turn, whether the view took it, and the top line after it.
  const std::tuple<unsigned, short, int, int> turns[] = {
      {0, -120, 1, 4}, {0, -360, 1, 8}, {0, 120, 1, 4}, {0, 240, 1, 0}, {MK_CONTROL, -120, 0, 0},
      {0, -480, 1, 4}, {0, -480, 1, 8}, {0, -480, 1, 12}, {0, -120, 1, 16},
      {0, -120, 1, 16},  // 16 + 4 would reach the last line
  };
  for (const auto& [flags, delta, handled, top] : turns) {
    EXPECT_EQ(view.OnMouseWheel(flags, delta, CPoint()), handled);
    EXPECT_EQ(view.m_nTopLine, top) << delta;
  }
  window.SetStyle(0);
  EXPECT_EQ(view.OnMouseWheel(0, -120, CPoint()), 0);
}

TEST_F(MoveTest, ScrollBarRequestsAndAWholeFileOnScreen) {
  Open(std::vector<std::string>(50, "text"));
  // The request, the thumb's track position, and the top line after it.
  const std::tuple<unsigned, int, int> requests[] = {
      {SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 10}, {SB_LINEUP, 0, 9}, {SB_PAGEUP, 0, 0},
      {SB_THUMBTRACK, 30, 30}, {SB_BOTTOM, 0, 41}, {SB_TOP, 0, 0}, {SB_THUMBPOSITION, 99, 49},
  };
  for (const auto& [code, track, top] : requests) {
    window.scrollInfo[SB_VERT].nTrackPos = track;
    view.OnVScroll(code, 0, nullptr);
    EXPECT_EQ(view.m_nTopLine, top) << code;
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
