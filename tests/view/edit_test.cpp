#include <gtest/gtest.h>

#include <memory>

#include "clike_view.h"
#include "platform/clipboard.h"
#include "settings/store.h"

namespace quill {
namespace {

using testing::CLikeView;

// A C-like view (comments // and /* */, tab size 4) on a buffer, in a window.
class Editing : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallMemorySettingsStore();
    InstallClipboard(clipboard);
  }
  // Loads the lines (no undo history) into the buffer the view shows.
  void Open(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    buffer.LoadFromBuffer(text.c_str(), CRLF_MODE_DOS);
    if (view.GetWindow() == nullptr) {
      ASSERT_EQ(view.OnCreate(&window), 0);
      view.OnInitialUpdate();
    }
  }
  void TearDown() override {
    view.OnDestroy();
    InstallClipboard(nullptr);
  }
  std::string Text() {
    std::string text;
    const int last = buffer.GetLineCount() - 1;
    buffer.GetText(0, 0, last, buffer.GetLineLength(last), text, "|");
    return text;
  }
  void Type(const std::string& keys) {
    for (char c : keys) view.OnChar(static_cast<unsigned char>(c), 1, 0);
  }
  void Select(CPoint start, CPoint end) {
    view.SetAnchor(start);
    view.SetCursorPos(end);
    view.SetSelection(start, end);
  }
  int UndoSteps() {
    int steps = 0;
    for (; buffer.CanUndo(); ++steps) view.OnEditUndo();
    return steps;
  }
  bool Enabled(void (QuillView::*handler)(CCmdUI*)) {
    CCmdUI ui;
    (view.*handler)(&ui);
    return ui.m_enabled.value_or(false);
  }

  std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
  QuillTextBuffer buffer;
  CLikeView view{&buffer};
  HeadlessWindow window{CSize(400, 160)};
};

TEST_F(Editing, TypedLettersUndoTogetherAndEachSpaceStartsAStep) {
  Open({""});
  Type("ab cd");
  EXPECT_EQ(Text(), "ab cd");
  EXPECT_EQ(view.GetCursorPos(), CPoint(5, 0));
  view.OnEditUndo();
  EXPECT_EQ(Text(), "ab");
  view.OnEditUndo();
  EXPECT_EQ(Text(), "");
  view.OnEditRedo();
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(view.GetCursorPos(), CPoint(2, 0));
}

TEST_F(Editing, TypingReplacesTheSelectionAndOverwritesInOverwriteMode) {
  Open({"hello world"});
  Select(CPoint(6, 0), CPoint(11, 0));
  Type("X");
  EXPECT_EQ(Text(), "hello X");
  view.OnEditSwitchOvrmode();
  view.SetCursorPos(CPoint(1, 0));
  Type("ABCDEFG");  // runs past the end of the line
  EXPECT_EQ(Text(), "hABCDEFG");
}

TEST_F(Editing, EnterCopiesTheIndentationAsASecondStep) {
  Open({"\t\tif (x)"});
  view.SetCursorPos(CPoint(8, 0));
  Type("\r");
  EXPECT_EQ(Text(), "\t\tif (x)|\t\t");
  EXPECT_EQ(view.GetCursorPos(), CPoint(2, 1));
  std::string description;
  buffer.GetUndoDescription(description);
  EXPECT_EQ(description, "Auto Indent");
  view.OnEditUndo();
  EXPECT_EQ(Text(), "\t\tif (x)|");
  view.OnEditUndo();
  EXPECT_EQ(Text(), "\t\tif (x)");
}

TEST_F(Editing, EnterInOverwriteModeMovesExceptOnTheLastLine) {
  Open({"  one", "two"});
  view.OnEditSwitchOvrmode();
  view.SetCursorPos(CPoint(3, 0));
  Type("\r");
  EXPECT_EQ(Text(), "  one|two");
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 1));
  view.SetCursorPos(CPoint(1, 1));
  Type("\r");  // last line: inserted, and no indentation in overwrite mode
  EXPECT_EQ(Text(), "  one|t|wo");
}

TEST_F(Editing, DeleteAndBackspaceJoinLinesUnlessStoppedAtTheLineStart) {
  Open({"ab", "cd"});
  view.SetCursorPos(CPoint(0, 1));
  view.SetDisableBSAtSOL(1);
  view.OnEditDeleteBack();
  EXPECT_EQ(Text(), "ab|cd");
  view.SetDisableBSAtSOL(0);
  view.OnEditDeleteBack();
  EXPECT_EQ(Text(), "abcd");
  EXPECT_EQ(view.GetCursorPos(), CPoint(2, 0));
  view.OnEditDeleteBack();
  EXPECT_EQ(Text(), "acd");

  Open({"ab", "cd"});
  view.SetCursorPos(CPoint(2, 0));
  view.OnEditDelete();  // the line break
  EXPECT_EQ(Text(), "abcd");
  view.SetCursorPos(CPoint(4, 0));
  view.OnEditDelete();  // end of the last line: nothing
  EXPECT_EQ(Text(), "abcd");
  Select(CPoint(3, 0), CPoint(1, 0));
  view.OnEditDeleteBack();  // a selection: deleted like Delete
  EXPECT_EQ(Text(), "ad");
  EXPECT_EQ(view.GetCursorPos(), CPoint(1, 0));
}

TEST_F(Editing, TabOnLinesIndentsTheBlockAsOneStep) {
  Open({"l0", "l1", "l2", "line 3", "l4", "l5", "l6", "l7"});
  Select(CPoint(3, 3), CPoint(0, 6));
  view.OnEditTab();
  EXPECT_EQ(Text(), "l0|l1|l2|\tline 3|\tl4|\tl5|l6|l7");
  CPoint start, end;
  view.GetSelection(start, end);
  EXPECT_EQ(start, CPoint(0, 3));
  EXPECT_EQ(end, CPoint(0, 6));
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 6));
  EXPECT_EQ(UndoSteps(), 1);
  EXPECT_EQ(Text(), "l0|l1|l2|line 3|l4|l5|l6|l7");

  // Ending inside the last line takes it whole, to the end of the text.
  Open({"a", "b"});
  Select(CPoint(0, 0), CPoint(1, 1));
  view.OnEditTab();
  EXPECT_EQ(Text(), "\ta|\tb");
  view.GetSelection(start, end);
  EXPECT_EQ(end, CPoint(2, 1));
}

TEST_F(Editing, ShiftTabRemovesOneIndentationPerLine) {
  Open({"  \tx", "      y", "\t\tz", "w", ""});
  Select(CPoint(0, 0), CPoint(0, 4));
  view.OnEditUntab();
  EXPECT_EQ(Text(), "x|  y|\tz|w|");
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(Editing, TabAndShiftTabWithoutABlockMoveOrInsert) {
  Open({"ab\tcdefgh"});
  view.SetCursorPos(CPoint(6, 0));  // column 7
  view.OnEditUntab();               // to column 4: after the tab
  EXPECT_EQ(view.GetCursorPos(), CPoint(3, 0));
  view.OnEditUntab();  // column 0
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 0));
  view.OnEditUntab();  // nothing at the line start
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 0));
  EXPECT_EQ(Text(), "ab\tcdefgh");

  view.OnEditSwitchOvrmode();
  view.SetCursorPos(CPoint(1, 0));
  view.OnEditTab();  // stops after the tab
  EXPECT_EQ(view.GetCursorPos(), CPoint(3, 0));
  view.OnEditTab();  // four columns on
  EXPECT_EQ(view.GetCursorPos(), CPoint(7, 0));
  EXPECT_EQ(Text(), "ab\tcdefgh");

  view.OnEditSwitchOvrmode();
  Select(CPoint(3, 0), CPoint(5, 0));
  view.OnEditTab();  // replaces the selection
  EXPECT_EQ(Text(), "ab\t\tefgh");
}

TEST_F(Editing, CutCopyAndPasteGoThroughTheClipboard) {
  Open({"one two", "three"});
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditPaste));
  Select(CPoint(4, 0), CPoint(2, 1));
  view.OnEditCopy();
  EXPECT_EQ(clipboard->GetText(), "two\r\nth");
  view.OnEditCut();
  EXPECT_EQ(Text(), "one ree");
  EXPECT_EQ(view.GetCursorPos(), CPoint(4, 0));
  view.SetCursorPos(CPoint(7, 0));
  view.OnEditPaste();
  EXPECT_EQ(Text(), "one reetwo|th");
  EXPECT_EQ(view.GetCursorPos(), CPoint(2, 1));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditPaste));

  // Paste over a selection is one step; an empty selection copies nothing.
  Select(CPoint(0, 0), CPoint(3, 0));
  view.OnEditPaste();
  EXPECT_EQ(Text(), "two|th reetwo|th");
  view.OnEditUndo();
  EXPECT_EQ(Text(), "one reetwo|th");
  clipboard->SetText("kept");
  Select(CPoint(1, 0), CPoint(1, 0));
  view.OnEditCopy();
  view.OnEditCut();
  EXPECT_EQ(clipboard->GetText(), "kept");
}

TEST_F(Editing, NothingChangesWhenTheViewRefusesEditsOrAButtonIsHeld) {
  struct ReadOnlyView : CLikeView {
    using CLikeView::CLikeView;
    bool QueryEditable() override { return false; }
  };
  Open({"ab"});
  window.SetKeyDown(0x01, true);  // left button
  Type("x");
  window.SetKeyDown(0x01, false);
  EXPECT_EQ(Text(), "ab");

  HeadlessWindow other(CSize(400, 160));
  ReadOnlyView readOnly(&buffer);
  ASSERT_EQ(readOnly.OnCreate(&other), 0);
  readOnly.OnInitialUpdate();
  readOnly.SetCursorPos(CPoint(1, 0));
  readOnly.OnChar('x', 1, 0);
  readOnly.OnChar('\r', 1, 0);
  readOnly.OnEditDelete();
  readOnly.OnEditDeleteBack();
  readOnly.OnEditTab();
  clipboard->SetText("p");
  readOnly.OnEditPaste();
  readOnly.InsertText("i");
  readOnly.AppendText("a\r\nb");
  EXPECT_EQ(Text(), "ab");
  readOnly.OnDestroy();
}

TEST_F(Editing, HostTextInsertion) {
  Open({"xy"});
  view.SetCursorPos(CPoint(1, 0));
  view.AppendText("a\r\nb\nc\r\nd");  // cut at CR LF: "b\nc" keeps its LF as a character
  EXPECT_EQ(Text(), "xa|b\nc|dy");
  EXPECT_EQ(view.GetCursorPos(), CPoint(1, 2));
  EXPECT_EQ(UndoSteps(), 1);
  view.AppendText("1\n2");  // no CR LF: cut at LF
  EXPECT_EQ(Text(), "x1|2y");

  view.InsertText("Q");
  view.InsertText("R");
  EXPECT_EQ(Text(), "x1|2QRy");
  view.OnEditUndo();  // inserted text merges with the step before
  EXPECT_EQ(Text(), "xy");
}

TEST_F(Editing, CommentsUseTheStylesDelimiters) {
  Open({"int a;", "int b;", "c"});
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateMultiLineComment));
  Select(CPoint(2, 0), CPoint(0, 2));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateMultiLineComment));
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateRemoveSingleLineComment));
  view.OnInsertSingleLineComment();  // every line, the last one too
  EXPECT_EQ(Text(), "//int a;|//int b;|//c");
  EXPECT_EQ(view.GetCursorPos(), CPoint(2, 0));
  Select(CPoint(0, 0), CPoint(1, 2));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateRemoveSingleLineComment));
  view.OnRemoveSingleLineComment();
  EXPECT_EQ(Text(), "int a;|int b;|c");
  EXPECT_EQ(UndoSteps(), 2);

  Open({"", "", "", "", "", "abcdefgh"});
  Select(CPoint(2, 5), CPoint(7, 5));
  view.OnInsertMultiLineComment();
  EXPECT_EQ(Text(), "|||||ab/*cdefg*/h");  // the end delimiter at column 9
  Select(CPoint(0, 5), CPoint(11, 5));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateRemoveMultiLineComment));
  view.OnRemoveMultiLineComment();
  EXPECT_EQ(Text(), "|||||abcdefgh");

  Open({"a", "b", "c"});
  Select(CPoint(1, 0), CPoint(1, 2));
  view.OnInsertMultiLineComment();  // each delimiter with a line break after it
  EXPECT_EQ(Text(), "a/*||b|c*/|");
  Select(CPoint(0, 0), CPoint(1, 2));  // the end delimiter starts after the selection
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateRemoveMultiLineComment));
  view.OnRemoveMultiLineComment();
  EXPECT_EQ(Text(), "a/*||b|c*/|");
  EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(Editing, MatchingBracket) {
  Open({"(a(b)c)", "{x", "[", "y}"});
  const struct {
    CPoint from;
    CPoint to;
  } cases[] = {
      {{0, 0}, {6, 0}}, {{6, 0}, {0, 0}}, {{2, 0}, {4, 0}},  // nested
      {{0, 1}, {1, 3}}, {{1, 3}, {0, 1}},                    // across lines
      {{0, 2}, {0, 2}},                                      // no partner: stays
      {{1, 0}, {1, 0}},                                      // not a bracket
  };
  for (const auto& c : cases) {
    view.SetCursorPos(c.from);
    view.FindMatchDelimeter();
    EXPECT_EQ(view.GetCursorPos(), c.to) << c.from.x << "," << c.from.y;
  }
}

TEST_F(Editing, UpdateHandlersFollowTheState) {
  Open({"ab"});
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditCut));
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditUndo));
  Type("x");
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditUndo));
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditRedo));
  view.OnEditUndo();
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditRedo));
  Select(CPoint(0, 0), CPoint(1, 0));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditCut));
  CCmdUI ovr;
  view.OnEditSwitchOvrmode();
  view.OnUpdateEditSwitchOvrmode(&ovr);
  EXPECT_EQ(ovr.m_check, 1);
}

}  // namespace
}  // namespace quill
