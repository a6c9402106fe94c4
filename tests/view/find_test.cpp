#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "buffer/buffer_defs.h"
#include "input_fixture.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_find.h"
#include "settings/registry.h"
#include "settings/temp_dir.h"
#include "view/search_flags.h"

namespace quill {
namespace {


class FindReplace : public testing::InputTest {
 protected:
  FindReplace() { services.m_bEcho = false; }
  // Replace All through the dialog, the messages so far cleared.
  void ReplaceAll(const std::string& what, const std::string& with) {
    services.m_messages.clear();
    dialogs.Push([=](HeadlessDialogSession& s) {
      s.Type(IDC_EDIT_TEXT, what);
      s.Type(IDC_EDIT_REPLACE_WITH, with);
      s.Press(IDC_EDIT_REPLACE);
      s.Close();
    });
    view.OnEditReplace();
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& m : services.m_messages) texts.push_back(m.text);
    return texts;
  }

  ScopedHeadlessServices services;
  ScopedHeadlessDialogs dialogs;
};

TEST_F(FindReplace, FindDialogSearchesFromOneRightOfTheCaretAndRecordsTheLastSearch) {
  Open({"foo bar foo", "foo"});
  view.SetCursorPos(CPoint(0, 0));
  dialogs.Push([](HeadlessDialogSession& s) {
    EXPECT_EQ(s.Host().GetDlgItemText(IDC_EDIT_TEXT), "foo");  // the word at the caret
    s.Press(IDC_EDIT_MATCH_CASE);
    s.Press(IDOK);
  });
  view.OnEditFind();
  EXPECT_EQ(Selection(), std::make_pair(CPoint(8, 0), CPoint(11, 0)));  // skips the one at 0
  EXPECT_EQ(view.GetFindHistory().front(), "foo");
  EXPECT_EQ(quill_test::ReadInt(RegistryPath("\\General\\CPP", "\\MatchCase")), 1);

  // Not found: the message, and the dialog stays open until cancelled; what it shows
  // becomes the last search.
  dialogs.Push([](HeadlessDialogSession& s) {
    s.Type(IDC_EDIT_TEXT, "zzz");
    s.Press(IDC_EDIT_DIRECTION_UP);
    EXPECT_TRUE(s.Press(IDOK));
    EXPECT_FALSE(s.Ended());
    EXPECT_EQ(s.Host().GetFocus(), IDC_EDIT_TEXT);
    s.Type(IDC_EDIT_TEXT, "");
    EXPECT_FALSE(s.Host().IsDlgItemEnabled(IDOK));
    s.Type(IDC_EDIT_TEXT, "bar");
    s.Close();
  });
  view.OnEditFind();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot find string\"zzz\""});
  EXPECT_EQ(*view.m_sLastFindText, "bar");
  EXPECT_EQ(view.m_dwLastFindFlags, SEARCH_MATCH_CASE | SEARCH_BACKWARD);
}

TEST_F(FindReplace, RepeatRunsTheLastSearchWithItsFlags) {
  Open({"a1 b22 c333"});
  // Cancel with an expression searches nothing; Find Next closes the dialog and the view
  // runs the search once.
  for (const int button : {IDCANCEL, IDOK}) {
    dialogs.Push([button](HeadlessDialogSession& s) {
      s.Type(IDC_EDIT_TEXT, "[0-9]+");
      s.Press(IDC_EDIT_REGEXP);
      s.Press(button);
    });
  }
  view.OnEditFind();
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 0));
  view.OnEditFind();
  EXPECT_EQ(Selection(), std::make_pair(CPoint(1, 0), CPoint(2, 0)));
  EXPECT_EQ(view.GetFindHistory().front(), "[0-9]+");
  view.OnEditRepeat();
  EXPECT_EQ(Selection(), std::make_pair(CPoint(4, 0), CPoint(6, 0)));  // the match's length
  EXPECT_TRUE(Messages().empty());

  // Backwards is kept until a forward repeat.
  Open({"ab x ab x ab"});
  Select(CPoint(10, 0), CPoint(12, 0));
  view.OnFindpreviousInplace();  // the selected "ab", searched before the selection
  EXPECT_EQ(Selection(), std::make_pair(CPoint(5, 0), CPoint(7, 0)));
  view.OnEditFindPrevious();
  EXPECT_EQ(Selection(), std::make_pair(CPoint(0, 0), CPoint(2, 0)));
  view.OnEditRepeat();  // forwards again
  EXPECT_EQ(Selection(), std::make_pair(CPoint(5, 0), CPoint(7, 0)));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditRepeat));
}

// Each replacement is searched for after the text it inserted; in a selection the block's
// end moves with each replacement on its line, so the match at column 2 of line 1 is still
// found and the one after the block is left. One undo step takes all back.
TEST_F(FindReplace, ReplaceAllContinuesAfterEachInsertionAndIsOneUndoStep) {
  const struct {
    std::vector<std::string> lines;
    CPoint from, to;  // the selection, if any
    const char* with;
    const char* text;
    const char* message;
  } cases[] = {
      {{"aaa", "b a"}, {}, {}, "aa", "aaaaaa|b aa", "Editor has made 4 replacement."},
      {{"x x", "x x x", "x x"}, {2, 0}, {3, 1}, "yyy", "x yyy|yyy yyy x|x x",
       "Editor has made 3 replacement."},
      // The inserted line break and text are not searched again.
      {{"a a"}, {}, {}, "b\r\na", "b|a b|a", "Editor has made 2 replacement."},
  };
  alarm(10);  // a replacement that finds itself again never ends
  for (const auto& c : cases) {
    Open(c.lines);
    if (c.to != c.from) Select(c.from, c.to);
    services.m_messages.clear();
    dialogs.Push([&](HeadlessDialogSession& s) {
      EXPECT_EQ(s.Host().IsDlgButtonChecked(IDC_EDIT_SCOPE_SELECTION),
                c.to != c.from ? BST_CHECKED : BST_UNCHECKED);
      s.Type(IDC_EDIT_TEXT, c.lines[0].substr(0, 1));
      s.Type(IDC_EDIT_REPLACE_WITH, c.with);
      s.Press(IDC_EDIT_REPLACE);
      s.Close();
    });
    view.OnEditReplace();
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(view.GetReplaceHistory().front(), c.with);
    if (c.to != c.from) {
      EXPECT_EQ(Selection().first, c.from);  // restored, moved by the edits
    }
    std::string before;
    for (const std::string& line : c.lines) before += (before.empty() ? "" : "|") + line;
    EXPECT_EQ(testing::UndoSteps(view, buffer), 1);
    EXPECT_EQ(Text(), before);
  }
  alarm(0);
}

// A Replace All that finds nothing is no edit: the last Enter's auto indent is not run
// again at the caret.
TEST_F(FindReplace, ReplaceAllThatFindsNothingChangesNothing) {
  Open({"abc", "  def", "ghi"});
  view.SetCursorPos(CPoint(3, 0));
  view.OnChar('\r', 1, 0);
  view.SetCursorPos(CPoint(0, 3));
  ReplaceAll("zzz", "");
  EXPECT_EQ(Text(), "abc||  def|ghi");
  EXPECT_EQ(Messages(), std::vector<std::string>{"Cannot find string\"zzz\""});
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(Text(), "abc|  def|ghi");
}

// Thousands of replacements repaint and scroll the window once, at the end, and select
// the last one. A long run shows its progress and stops when the user asks: what was
// replaced up to there stays.
TEST_F(FindReplace, ReplaceAllUpdatesTheWindowOnceAndCanBeStopped) {
  const std::vector<std::string> lines(3000, "x x");
  Open(lines);
  const int nUpdates = window.updateCount;
  const std::size_t nScrolls = window.scrolls.size();
  ReplaceAll("x", "yy");
  EXPECT_EQ(Messages(), std::vector<std::string>{"Editor has made 6000 replacement."});
  EXPECT_LE(window.updateCount - nUpdates, 1);
  EXPECT_LE(window.scrolls.size() - nScrolls, 1u);
  EXPECT_EQ(Selection(), std::make_pair(CPoint(3, 2999), CPoint(5, 2999)));
  EXPECT_EQ(view.GetCursorPos(), CPoint(5, 2999));
  // One undo step takes back all 6000, however many records they took.
  const std::string replaced = Text();
  view.OnEditUndo();
  EXPECT_EQ(Text().size(), 3000u * 4 - 1);
  EXPECT_EQ(Text().find('y'), std::string::npos);
  EXPECT_FALSE(buffer.CanUndo());
  view.OnEditRedo();
  EXPECT_EQ(Text(), replaced);

  Open(lines);
  QuillView::s_nProgressDelayMs = 0;
  services.m_nCancelAtPoll = services.m_nPolls + 2;  // every 1,024 lines
  const std::size_t nBars = services.m_statusBar.m_progress.size();
  ReplaceAll("x", "yy");
  QuillView::s_nProgressDelayMs = 500;
  EXPECT_EQ(Messages(), std::vector<std::string>{"Editor has made 4094 replacement."});
  EXPECT_EQ(buffer.GetLineLength(2046), 5);
  EXPECT_EQ(buffer.GetLineLength(2047), 3);
  ASSERT_EQ(services.m_statusBar.m_progress.size(), nBars + 1);
  EXPECT_EQ(services.m_statusBar.m_progress.back().positions, (std::vector<int>{34, 68}));
  EXPECT_TRUE(services.m_statusBar.m_progress.back().destroyed);
  EXPECT_EQ(services.m_statusBar.m_panes[0], "Ready");
}

TEST_F(FindReplace, ReplaceStepsThroughMatchesAndReadOnlyViewsOpenNothing) {
  Open({"cat cat"});
  dialogs.Push([](HeadlessDialogSession& s) {
    EXPECT_FALSE(s.Host().IsDlgItemEnabled(IDC_EDIT_SCOPE_SELECTION));
    s.Type(IDC_EDIT_REPLACE_WITH, "dog");
    s.Press(IDC_EDIT_SKIP);  // finds the first, replaces it, highlights the next
    s.Close();
  });
  view.OnEditReplace();
  EXPECT_EQ(Text(), "dog cat");
  EXPECT_EQ(Selection(), std::make_pair(CPoint(4, 0), CPoint(7, 0)));

  view.editable = false;
  view.OnEditReplace();
  EXPECT_EQ(dialogs.Runner().Runs().size(), 1u);
}

TEST_F(FindReplace, ExpressionMenuInsertsAtTheCaretAndChecksRegex) {
  Open({""});
  dialogs.Push([](HeadlessDialogSession& s) {
    s.Type(IDC_EDIT_TEXT, "ab");
    s.Host().SetEditSel(IDC_EDIT_TEXT, 2, 2);
    s.Host().SetPopupChoice(ID_REGEXP_QUOTED_STRING);
    s.Press(IDC_FIND_REGEXP_MENU);
    EXPECT_EQ(s.Host().GetDlgItemText(IDC_EDIT_TEXT), "ab\\Q\\E");
    int start = 0, end = 0;
    s.Host().GetEditSel(IDC_EDIT_TEXT, start, end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(6, 6));
    EXPECT_EQ(s.Host().IsDlgButtonChecked(IDC_EDIT_REGEXP), BST_CHECKED);
    // Without a remembered selection the text goes to the front.
    s.Host().SetEditSel(IDC_EDIT_TEXT, -1, -1);
    s.Host().SetPopupChoice(46607);
    s.Press(IDC_FIND_REGEXP_MENU);
    EXPECT_EQ(s.Host().GetDlgItemText(IDC_EDIT_TEXT), "|ab\\Q\\E");
    s.Close();
  });
  view.OnEditFind();
}

TEST_F(FindReplace, HistoriesKeepTheirOrderAndStoreAtMostThirtyCounted) {
  Open({""});
  for (const char* text : {"one", "two", "one"}) view.AddToRecentFind(text);
  EXPECT_EQ(view.GetFindHistory(), (std::deque<std::string>{"two", "one"}));
  for (int i = 0; i < 33; ++i) view.AddToRecentFind("w" + std::to_string(i));
  EXPECT_EQ(quill_test::ReadInt(RegistryPath("COMMON\\", "Finds\\Number")), 30);
  EXPECT_EQ(quill_test::ReadString(RegistryPath("COMMON\\", "Finds\\Item\\34")), "one");
  // Another view merges the 30 newest stored entries; replacements are stored as added too.
  view.AddToRecentReplace("with");
  testing::InputView other(&buffer);
  EXPECT_EQ(other.GetFindHistory().size(), 30u);
  EXPECT_EQ(std::count(other.GetFindHistory().begin(), other.GetFindHistory().end(), "one"), 0);
  EXPECT_EQ(other.GetReplaceHistory(), std::deque<std::string>{"with"});
}

TEST_F(FindReplace, NumberedAndPlainBookmarks) {
  Open(std::vector<std::string>(12, "line"));
  auto at = [&](int line) { view.SetCursorPos(CPoint(2, line)); };
  at(4);
  view.OnToggleBookmark(37203);
  at(10);
  view.OnToggleBookmark(37203);  // moves bookmark 3
  at(0);
  EXPECT_EQ(view.GotoBookmark(3), 10);
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 10));
  view.OnToggleBookmark(37203);
  EXPECT_EQ(buffer.GetLineWithFlag(LINEFLAG_BOOKMARK_3), -1);

  // The bookmarked lines, the cursor's line, and the next and the previous bookmark.
  const std::tuple<std::vector<int>, int, int, int> cases[] = {
      {{2, 7}, 7, 2, 2}, {{2, 7}, 5, 7, 2}, {{6}, 6, 6, 6}};
  for (const auto& [marks, cursor, next, prev] : cases) {
    view.OnClearAllBookmarks();
    for (int line : marks) {
      at(line);
      view.OnToggleBookmark();
    }
    at(cursor);
    view.OnNextBookmark();
    EXPECT_EQ(view.GetCursorPos(), CPoint(0, next)) << cursor;
    at(cursor);
    view.OnPrevBookmark();
    EXPECT_EQ(view.GetCursorPos(), CPoint(0, prev)) << cursor;
  }

  at(9);
  view.OnToggleBookmark(37209);
  view.OnClearBookmarks();
  EXPECT_EQ(buffer.GetLineWithFlag(LINEFLAG_BOOKMARK_9), -1);
  EXPECT_TRUE(view.m_bHasBookmarks);  // plain ones stay
  view.OnToggleBookmark(37209);
  view.OnClearAllBookmarks();
  for (int line = 0; line < 12; ++line) EXPECT_EQ(buffer.GetLineFlags(line), 0u) << line;
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateNextBookmark));
}

TEST_F(FindReplace, GoToDialogLinesColumnsAndBookmarks) {
  Open({"first", "", "\tx", "last"});
  // The cursor's line, the radio button, the number typed, and where the cursor goes.
  const std::tuple<int, int, const char*, CPoint> cases[] = {
      {2, IDC_GOTO_LINE, "0", {0, 0}},
      {0, IDC_GOTO_LINE, "99", {0, 3}},
      {1, IDC_GOTO_COLUMN, "5", {0, 1}},    // an empty line
      {0, IDC_GOTO_COLUMN, "3", {2, 0}},
      {0, IDC_GOTO_COLUMN, "80", {4, 0}},
  };
  for (const auto& [startLine, mode, number, expected] : cases) {
    view.SetCursorPos(CPoint(0, startLine));
    dialogs.Push([&](HeadlessDialogSession& s) {
      EXPECT_EQ(s.Host().GetDlgItemText(IDC_GOTO_NUMBER), std::to_string(startLine + 1));
      EXPECT_EQ(s.Host().GetFocus(), IDC_GOTO_NUMBER);
      s.Type(IDC_GOTO_NUMBER, number);
      s.Press(mode);
      s.Press(IDOK);
    });
    view.OnEditGoto();
    EXPECT_EQ(view.GetCursorPos(), expected) << number;
  }
  view.SetCursorPos(CPoint(0, 3));
  view.OnToggleBookmark(37201);
  view.SetCursorPos(CPoint(1, 0));
  dialogs.Push([](HeadlessDialogSession& s) {
    s.Type(IDC_GOTO_NUMBER, "10000001");
    s.Press(IDOK);
    EXPECT_FALSE(s.Ended());  // out of range: a message, the dialog stays
    s.Type(IDC_GOTO_NUMBER, "1");
    s.Press(IDC_GOTO_BOOKMARK);
    s.Press(IDOK);
  });
  view.OnEditGoto();
  EXPECT_EQ(services.m_messages.size(), 1u);
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 3));
}

}  // namespace
}  // namespace quill
