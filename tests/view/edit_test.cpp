#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "buffer/file_access.h"
#include "input_fixture.h"
#include "platform/clipboard.h"
#include "platform/headless/headless_app_services.h"
#include "view/command_ids.h"

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

TEST_F(Editing, NothingChangesWhenTheViewRefusesEditsOrAButtonIsHeld) {
  Open({"ab", "cd"});
  window.SetKeyDown(0x01, true);  // left button
  Type("x");
  window.SetKeyDown(0x01, false);
  // Backspace at a line start can be switched off (the random edit test joins lines with it).
  view.SetCursorPos(CPoint(0, 1));
  view.SetDisableBSAtSOL(1);
  view.OnEditDeleteBack();
  EXPECT_EQ(Text(), "ab|cd");

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
  EXPECT_EQ(Text(), "ab|cd");
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

// An edit that would make a line longer than the buffer holds (the limit lowered here),
// or that runs out of memory, stops at the command's boundary: one message, the text,
// the positions and the undo steps as they were, including what the command had already
// changed before it failed.
class FailingView : public testing::InputView {
 public:
  using InputView::InputView;
  bool bThrowAfterEdit = false;
  void OnEditChanged() override {
    if (bThrowAfterEdit) throw std::bad_alloc();
  }
};

class EditFailures : public testing::ViewTest<FailingView> {
 protected:
  EditFailures() {
    InstallClipboard(clipboard);
    services.m_bEcho = false;
  }
  ~EditFailures() override {
    InstallClipboard(nullptr);
  }
  // Runs the command and checks that nothing changed and one message said so.
  void ExpectRefused(const std::function<void()>& command, const char* what) {
    SCOPED_TRACE(what);
    const std::string before = Text();
    const CPoint cursor = view.GetCursorPos();
    CPoint selStart, selEnd;
    view.GetSelection(selStart, selEnd);
    std::string step;
    if (buffer.CanUndo()) buffer.GetUndoDescription(step);
    services.m_messages.clear();
    EXPECT_NO_THROW(command());
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(view.GetCursorPos(), cursor);
    CPoint start, end;
    view.GetSelection(start, end);
    EXPECT_EQ(start, selStart);
    EXPECT_EQ(end, selEnd);
    ASSERT_EQ(services.m_messages.size(), 1u);
    EXPECT_EQ(services.m_messages[0].type, MB_OK | MB_ICONERROR);
    std::string after;
    if (buffer.CanUndo()) buffer.GetUndoDescription(after);
    EXPECT_EQ(after, step);
    EXPECT_FALSE(buffer.CanRedo());
  }

  ScopedHeadlessServices services;
  std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
};

TEST_F(EditFailures, NothingChangesAndOneMessageSaysWhy) {
  Open({"abcdef", "ghij", "mnopqrs"});
  view.OnChar('x', 1, 0);  // an undo step the failures leave alone
  buffer.SetLoadLimits({.nMaxLineLength = 7});
  Place(CPoint(7, 0));
  ExpectRefused([&] { view.OnCommand(ID_EDIT_DELETE); }, "Delete at a line end");
  ExpectRefused([&] { view.OnChar('y', 1, 0); }, "typing into a full line");
  ExpectRefused([&] { view.OnCommand(ID_EDIT_TAB); }, "Tab");
  ExpectRefused([&] { view.InsertText("P"); }, "host text");
  Place(CPoint(0, 1));
  ExpectRefused([&] { view.OnCommand(ID_EDIT_DELETE_BACK); }, "Backspace at a line start");
  // The selection's deletion goes through, the insertion after it fails.
  Select(CPoint(1, 1), CPoint(2, 1));
  clipboard->SetText("PQRSTU");
  ExpectRefused([&] { view.OnCommand(ID_EDIT_PASTE); }, "Paste over a selection");
  // The first line of the block is indented or commented, the full one fails.
  Select(CPoint(0, 1), CPoint(1, 2));
  ExpectRefused([&] { view.OnCommand(ID_EDIT_TAB); }, "block indent");
  ExpectRefused([&] { view.OnCommand(ID_INSERT_SINGLE_LINE_COMMENT); }, "comments");
  EXPECT_NE(services.m_messages[0].text.find("longer"), std::string::npos)
      << services.m_messages[0].text;

  // Memory running out after the edit went in: taken back as well.
  buffer.SetLoadLimits({});
  view.bThrowAfterEdit = true;
  ExpectRefused([&] { view.OnCommand(ID_EDIT_PASTE); }, "out of memory");
  EXPECT_NE(services.m_messages[0].text.find("memory"), std::string::npos);
  view.bThrowAfterEdit = false;
  view.OnEditUndo();
  EXPECT_EQ(Text(), "abcdef|ghij|mnopqrs");
}

// Tab sizes outside 1..64 (a host's, or a stored one) neither divide by zero nor make
// columns overflow.
TEST_F(Editing, TabSizesOutsideTheirRangeAreClamped) {
  Open({"ab\tcd"});
  view.SetTabSize(0);
  EXPECT_EQ(view.GetTabSize(), 1);
  view.SetCursorPos(CPoint(4, 0));
  view.OnEditUntab();  // to the previous tab stop
  EXPECT_EQ(view.GetCursorPos(), CPoint(3, 0));
  view.OnEditSwitchOvrmode();
  view.OnEditTab();  // overwrite mode: to the next tab stop
  EXPECT_EQ(view.GetCursorPos(), CPoint(4, 0));
  view.SetTabSize(1000000);
  EXPECT_EQ(view.GetTabSize(), 64);
  // Columns past the int range stay at its end.
  EXPECT_EQ(AdvanceColumns("\t\t", 0, 2, INT_MAX - 100, 64), INT_MAX);
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
