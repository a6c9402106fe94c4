#include <gtest/gtest.h>

#include "buffer_fixture.h"

namespace quill::test {
namespace {

class UndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.SetTitle("C:\\dir\\file.txt");
    view.SetDocument(&doc);
    buf.AddView(&view);
    buf.InitNew();
  }
  void Type(const char* text, int action = UNDO_ACTION_TYPING) {
    buf.Insert(0, buf.GetLineLength(0), text, action, &view);
  }
  void ExpectUndo(const char* text, CPoint expectedCursor) {
    CPoint cursor(-1, -1);
    EXPECT_EQ(buf.Undo(cursor), 1);
    EXPECT_EQ(buf.All(), text);
    EXPECT_EQ(cursor, expectedCursor);
  }

  CDocument doc;
  RecordingView view;
  TestBuffer buf;
};

// Texts after undoing and redoing random groups are checked by the random edit test;
// here the cursor and the edit notification.
TEST_F(UndoTest, MergedTypingIsOneGroup) {
  for (const char* ch : {"a", "b", "c"}) {
    buf.BeginUndoGroup(ch[0] != 'a');
    Type(ch);
    buf.FlushUndoGroup(&view);
  }
  EXPECT_EQ(view.edits.back(), std::make_pair(UNDO_ACTION_TYPING, std::string("c")));
  ExpectUndo("", CPoint(0, 0));
  EXPECT_EQ(buf.CanUndo(), 0);
  CPoint cursor;
  buf.Redo(cursor);
  EXPECT_EQ(cursor, CPoint(3, 0));
}

TEST_F(UndoTest, GroupsOfInsertsAndDeletes) {
  Type("base");
  buf.BeginUndoGroup();
  buf.Insert(0, 0, "\t", UNDO_ACTION_INDENT, &view);
  buf.Insert(0, 5, "\r\n\t", UNDO_ACTION_INDENT, &view);
  buf.DeleteText(&view, 0, 0, 0, 1, UNDO_ACTION_INDENT);
  EXPECT_EQ(view.edits.size(), 1u);  // inside the group nothing is flushed
  buf.FlushUndoGroup(&view);
  EXPECT_EQ(view.edits.back().first, UNDO_ACTION_INDENT);
  ExpectUndo("base", CPoint(0, 0));
  CPoint cursor;
  buf.Redo(cursor);
  EXPECT_EQ(buf.All(), "base\n\t");
  // A deletion keeps its text with CR LF breaks and puts the cursor at its end on undo.
  buf.DeleteText(nullptr, 0, 1, 1, 1);
  EXPECT_STREQ(buf.m_aUndoBuf.back().GetText(), "ase\r\n\t");
  ExpectUndo("base\n\t", CPoint(1, 1));
  Type("x");  // a new edit discards the redo records
  EXPECT_EQ(buf.CanRedo(), 0);
  EXPECT_EQ(buf.m_aUndoBuf.size(), 5u);
}

TEST_F(UndoTest, SavedPositionDrivesModifiedFlagAndTitleMark) {
  Type("x");
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  EXPECT_TRUE(doc.IsModified());
  buf.MarkSaved();
  Type("y");
  ExpectUndo("x", CPoint(1, 0));
  EXPECT_EQ(buf.IsModified(), 0);
  EXPECT_EQ(doc.GetTitle(), "file.txt");
  EXPECT_FALSE(doc.IsModified());
  ExpectUndo("", CPoint(0, 0));
  EXPECT_EQ(doc.GetTitle(), "file.txt *");

  // A saved state inside discarded redo records never comes back. (Undoing everything
  // after a load gives an unmodified buffer: see the random edit test.)
  CPoint cursor;
  Type("a");
  Type("b");
  buf.MarkSaved();
  buf.Undo(cursor);
  Type("c");
  EXPECT_EQ(buf.m_nUndoPosition, 2);
  EXPECT_EQ(buf.IsModified(), 1);

  // The title mark is added once and removed wherever it stands.
  buf.SetModified(1);
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  doc.SetTitle(":odd * name");  // a separator in front keeps the whole title
  buf.SetModified(0);
  EXPECT_EQ(doc.GetTitle(), ":odd name");
  RecordingView docless;  // the last attached view decides; without a document only the flag
  buf.AddView(&docless);
  buf.SetModified(1);
  EXPECT_EQ(buf.IsModified(), 1);
  EXPECT_EQ(doc.GetTitle(), ":odd name");
}

// The limits count whole groups (or memory); the group being recorded is never cut.
TEST_F(UndoTest, LimitsDropOnlyTheOldestWholeGroups) {
  buf.m_nUndoBufSize = 4;
  buf.BeginUndoGroup();
  for (int i = 0; i < 3; ++i) buf.Insert(0, 0, "g");
  buf.FlushUndoGroup(nullptr);
  buf.MarkSaved();  // at 3: its records are dropped next, its state stays reachable
  for (int i = 0; i < 4; ++i) buf.Insert(0, 0, "s");
  EXPECT_EQ(buf.m_aUndoBuf.size(), 4u);
  EXPECT_EQ(buf.m_nSyncPosition, 0);
  EXPECT_TRUE(buf.m_aUndoBuf[0].m_dwFlags & UNDOREC_GROUPSTART);
  buf.Insert(0, 0, "t");  // one more single-record group goes, and the saved state

  buf.BeginUndoGroup();  // far more records than the limit: one step all the same
  for (int i = 0; i < 9; ++i) buf.Insert(0, 0, "r");
  buf.FlushUndoGroup(nullptr);
  EXPECT_EQ(buf.m_aUndoBuf.size(), 12u);
  ExpectUndo("tssssggg", CPoint(0, 0));
  CPoint cursor;
  while (buf.CanUndo()) buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "ssggg");
  EXPECT_EQ(buf.IsModified(), 1);

  buf.m_nUndoMemoryLimit = 1;  // over the memory limit only the group being recorded stays
  Type("x");
  buf.BeginUndoGroup();
  Type("y");
  Type("z");
  EXPECT_EQ(buf.m_aUndoBuf.size(), 2u);
  buf.FlushUndoGroup(nullptr);
  ExpectUndo("ssgggx", CPoint(6, 0));
  EXPECT_EQ(buf.CanUndo(), 0);
}

TEST_F(UndoTest, DescriptionsIterateOverGroups) {
  std::string text;
  Type("p", UNDO_ACTION_PASTE);
  EXPECT_EQ(buf.GetUndoDescription(text), nullptr);  // the only group
  EXPECT_EQ(text, "Paste");
  Type("q", UNDO_ACTION_DELETE);
  buf.BeginUndoGroup(1);
  Type("r", UNDO_ACTION_AUTOINDENT);  // merged into the Delete group
  buf.FlushUndoGroup(&view);
  Type("s", 42);
  std::vector<std::string> texts;
  POSITION pos = nullptr;
  do {
    pos = buf.GetUndoDescription(text, pos);
    texts.push_back(text);
  } while (pos != nullptr);
  EXPECT_EQ(texts, (std::vector<std::string>{"", "Delete", "Paste"}));

  CPoint cursor;
  while (buf.CanUndo()) buf.Undo(cursor);
  EXPECT_THROW(buf.GetUndoDescription(text), InvalidArgException);
  texts.clear();
  do {
    pos = buf.GetRedoDescription(text, pos);
    texts.push_back(text);
  } while (pos != nullptr);
  EXPECT_EQ(texts, (std::vector<std::string>{"Paste", "Delete", ""}));
  while (buf.CanRedo()) buf.Redo(cursor);
  EXPECT_THROW(buf.GetRedoDescription(text), InvalidArgException);

  text = "kept";  // an unknown action leaves the text alone
  EXPECT_EQ(buf.GetActionDescription(11, text), 0);
  EXPECT_EQ(text, "kept");
}

}  // namespace
}  // namespace quill::test
