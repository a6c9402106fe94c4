#include <gtest/gtest.h>

#include <memory>

#include "input_fixture.h"
#include "platform/clipboard.h"

namespace quill {
namespace {

using testing::InputTest;

// A C-like view (comments // and /* */, tab size 4) with a clipboard.
class Editing : public InputTest {
 protected:
  Editing() { InstallClipboard(clipboard); }
  ~Editing() override { InstallClipboard(nullptr); }
  void Type(const std::string& keys) {
    for (char c : keys) view.OnChar(static_cast<unsigned char>(c), 1, 0);
  }

  std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
};

// What one undo step takes back (the random edit test checks the text of every key).
TEST_F(Editing, UndoSteps) {
  Open({"\t\tif (x)"});
  view.SetCursorPos(CPoint(8, 0));
  Type("ab cd");  // letters merge, a space starts a step
  Type("\r");  // the break, then the indentation as a step of its own
  EXPECT_EQ(Text(), "\t\tif (x)ab cd|\t\t");
  std::string step;
  buffer.GetUndoDescription(step);
  EXPECT_EQ(step, "Auto Indent");
  for (const char* before : {"\t\tif (x)ab cd|", "\t\tif (x)ab cd", "\t\tif (x)ab"}) {
    view.OnEditUndo();
    EXPECT_EQ(Text(), before);
  }
  view.OnEditRedo();
  EXPECT_EQ(Text(), "\t\tif (x)ab cd");
  EXPECT_EQ(view.GetCursorPos(), CPoint(13, 0));

  // A block indent and a paste over a selection are one step each.
  Open({"a", "b", "c"});
  Select(CPoint(1, 0), CPoint(0, 2));
  view.OnEditTab();
  clipboard->SetText("P\r\nQ");
  view.OnEditPaste();
  EXPECT_EQ(UndoSteps(), 2);
  EXPECT_EQ(Text(), "a|b|c");
}

// The clipboard's text ends at a NUL: a copy sends NUL bytes as spaces, so the text
// after them is copied too.
TEST_F(Editing, CopyKeepsTheTextAfterANul) {
  Open({"a..b"});
  buffer.GetLineChars(0)[1] = buffer.GetLineChars(0)[2] = '\0';
  Select(CPoint(0, 0), CPoint(4, 0));
  view.OnEditCopy();
  EXPECT_EQ(clipboard->GetText(), "a  b");
}

TEST_F(Editing, OverwriteMode) {
  Open({"hello", "two"});
  view.OnEditSwitchOvrmode();
  view.SetCursorPos(CPoint(1, 0));
  Type("ABCDEF");  // replaces, then runs past the end of the line
  EXPECT_EQ(Text(), "hABCDEF|two");
  view.SetCursorPos(CPoint(2, 0));
  Type("\r");  // not the last line: only moves
  EXPECT_EQ(view.GetCursorPos(), CPoint(0, 1));
  EXPECT_EQ(Text(), "hABCDEF|two");
  view.SetCursorPos(CPoint(1, 1));
  Type("\r");  // the last line: a break, without indentation
  EXPECT_EQ(Text(), "hABCDEF|t|wo");

  Open({"ab\tcdefgh"});  // a reset leaves overwrite mode
  view.OnEditSwitchOvrmode();
  view.SetCursorPos(CPoint(1, 0));
  view.OnEditTab();  // to the next tab stop, stopping after a tab
  EXPECT_EQ(view.GetCursorPos(), CPoint(3, 0));
  view.OnEditTab();
  EXPECT_EQ(view.GetCursorPos(), CPoint(7, 0));
  EXPECT_EQ(Text(), "ab\tcdefgh");
}

TEST_F(Editing, BackspaceAtTheStartOfALineCanBeDisabled) {
  Open({"one", "two"});
  view.SetCursorPos(CPoint(0, 1));
  view.SetDisableBSAtSOL(1);
  view.OnEditDeleteBack();  // the random edit test joins lines with it on
  EXPECT_EQ(Text(), "one|two");
}

TEST_F(Editing, NothingChangesWhenTheViewRefusesEditsOrAButtonIsHeld) {
  Open({"ab"});
  window.SetKeyDown(0x01, true);  // left button
  Type("x");
  window.SetKeyDown(0x01, false);
  EXPECT_EQ(Text(), "ab");

  view.editable = false;
  view.SetCursorPos(CPoint(1, 0));
  Type("x\r");
  view.OnEditDelete();
  view.OnEditDeleteBack();
  view.OnEditTab();
  clipboard->SetText("p");
  view.OnEditPaste();
  view.InsertText("i");
  view.AppendText("a\r\nb");
  EXPECT_EQ(Text(), "ab");
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
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditPaste));
  EXPECT_FALSE(Enabled(&QuillView::OnUpdateEditUndo));
  Select(CPoint(0, 0), CPoint(1, 0));
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditCut));
  clipboard->SetText("p");
  EXPECT_TRUE(Enabled(&QuillView::OnUpdateEditPaste));
  CCmdUI ovr;
  view.OnEditSwitchOvrmode();
  view.OnUpdateEditSwitchOvrmode(&ovr);
  EXPECT_EQ(ovr.m_check, 1);
}

}  // namespace
}  // namespace quill
