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
    int l = 0, c = 0;
    buf.InsertText(&view, 0, buf.GetLineLength(0), text, l, c, action);
  }

  CDocument doc;
  RecordingView view;
  TestBuffer buf;
};

TEST_F(UndoTest, MergedTypingIsOneGroup) {
  int l = 0, c = 0;
  buf.BeginUndoGroup();
  buf.InsertText(&view, 0, 0, "a", l, c, UNDO_ACTION_TYPING);
  buf.FlushUndoGroup(&view);
  for (const char* ch : {"b", "c"}) {
    buf.BeginUndoGroup(1);
    buf.InsertText(&view, 0, buf.GetLineLength(0), ch, l, c, UNDO_ACTION_TYPING);
    buf.FlushUndoGroup(&view);
  }
  ASSERT_EQ(buf.m_aUndoBuf.size(), 3u);
  EXPECT_TRUE(buf.m_aUndoBuf[0].m_dwFlags & UNDOREC_GROUPSTART);
  EXPECT_FALSE(buf.m_aUndoBuf[1].m_dwFlags & UNDOREC_GROUPSTART);
  EXPECT_FALSE(buf.m_aUndoBuf[2].m_dwFlags & UNDOREC_GROUPSTART);
  EXPECT_EQ(view.edits.size(), 3u);
  EXPECT_EQ(view.edits.back(), std::make_pair(UNDO_ACTION_TYPING, std::string("c")));
  CPoint cursor(-1, -1);
  EXPECT_EQ(buf.Undo(cursor), 1);
  EXPECT_EQ(buf.Line(0), "");
  EXPECT_EQ(cursor, CPoint(0, 0));
  EXPECT_EQ(buf.CanUndo(), 0);
  EXPECT_EQ(buf.Redo(cursor), 1);
  EXPECT_EQ(buf.Line(0), "abc");
  EXPECT_EQ(cursor, CPoint(3, 0));
  EXPECT_EQ(buf.CanRedo(), 0);
}

TEST_F(UndoTest, EditsOutsideAGroupEachStartOne) {
  Type("one\r\ntwo");
  int l = 0, c = 0;
  buf.InsertText(nullptr, 1, 0, "x", l, c);
  buf.DeleteText(nullptr, 0, 1, 1, 2);
  ASSERT_EQ(buf.m_aUndoBuf.size(), 3u);
  for (const auto& rec : buf.m_aUndoBuf) EXPECT_TRUE(rec.m_dwFlags & UNDOREC_GROUPSTART);
  EXPECT_STREQ(buf.m_aUndoBuf[2].GetText(), "ne\r\nxt");
  EXPECT_EQ(buf.m_aUndoBuf[2].m_dwFlags & UNDOREC_INSERT, 0u);
  CPoint cursor;
  buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "one\nxtwo");
  EXPECT_EQ(cursor, CPoint(2, 1));  // a deletion puts the cursor at its end
  buf.Undo(cursor);
  buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "");
  EXPECT_THROW(buf.Undo(cursor), InvalidArgException);
}

TEST_F(UndoTest, ExplicitGroupUndoesSeveralEditsAtOnce) {
  Type("base");
  int l = 0, c = 0;
  buf.BeginUndoGroup();
  buf.InsertText(&view, 0, 0, "\t", l, c, UNDO_ACTION_INDENT);
  buf.InsertText(&view, 0, 5, "\r\n\t", l, c, UNDO_ACTION_INDENT);
  buf.DeleteText(&view, 0, 0, 0, 1, UNDO_ACTION_INDENT);
  EXPECT_EQ(view.edits.size(), 1u);  // only the automatic flush of "base" so far
  buf.FlushUndoGroup(&view);
  EXPECT_EQ(view.edits.back().first, UNDO_ACTION_INDENT);
  EXPECT_EQ(buf.All(), "base\n\t");
  CPoint cursor;
  buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "base");
  EXPECT_EQ(cursor, CPoint(0, 0));
  buf.Redo(cursor);
  EXPECT_EQ(buf.All(), "base\n\t");
  EXPECT_EQ(cursor, CPoint(0, 0));
}

TEST_F(UndoTest, NewEditDiscardsRedo) {
  Type("a");
  Type("b");
  CPoint cursor;
  buf.Undo(cursor);
  EXPECT_EQ(buf.CanRedo(), 1);
  Type("c");
  EXPECT_EQ(buf.CanRedo(), 0);
  EXPECT_EQ(buf.m_aUndoBuf.size(), 2u);
  EXPECT_EQ(buf.All(), "ac");
}

TEST_F(UndoTest, SavedPositionDrivesModifiedAndTitle) {
  EXPECT_EQ(buf.IsModified(), 0);
  Type("x");
  EXPECT_EQ(buf.IsModified(), 1);
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  EXPECT_TRUE(doc.IsModified());
  buf.MarkSaved();
  EXPECT_EQ(doc.GetTitle(), "file.txt");
  Type("y");
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  CPoint cursor;
  buf.Undo(cursor);
  EXPECT_EQ(buf.IsModified(), 0);
  EXPECT_EQ(doc.GetTitle(), "file.txt");
  EXPECT_FALSE(doc.IsModified());
  buf.Undo(cursor);
  EXPECT_EQ(buf.IsModified(), 1);
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  buf.Redo(cursor);
  EXPECT_EQ(buf.IsModified(), 0);
}

TEST_F(UndoTest, UndoAllAfterInitNewIsUnmodified) {
  Type("abc\r\ndef");
  Type("ghi");
  CPoint cursor;
  while (buf.CanUndo()) buf.Undo(cursor);
  EXPECT_EQ(buf.IsModified(), 0);
  EXPECT_EQ(doc.GetTitle(), "file.txt");
}

TEST_F(UndoTest, SavedStateInDiscardedRedoNeverLooksSaved) {
  Type("a");
  Type("b");
  buf.MarkSaved();  // saved at 2
  CPoint cursor;
  buf.Undo(cursor);
  Type("c");  // position 2 again, but the text is "ac"
  EXPECT_EQ(buf.m_nUndoPosition, 2);
  EXPECT_EQ(buf.IsModified(), 1);
  buf.Undo(cursor);
  buf.Redo(cursor);
  EXPECT_EQ(buf.IsModified(), 1);
}

TEST_F(UndoTest, TitleMarkRules) {
  buf.SetModified(1);
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  buf.SetModified(1);
  EXPECT_EQ(doc.GetTitle(), "file.txt *");
  doc.SetTitle(":odd * name");  // a separator in front keeps the whole title
  buf.SetModified(0);
  EXPECT_EQ(doc.GetTitle(), ":odd name");
  doc.SetTitle("");
  buf.SetModified(1);
  EXPECT_EQ(doc.GetTitle(), "");
  EXPECT_TRUE(doc.IsModified());
  RecordingView docless;  // the last attached view decides; without a document only the flag
  buf.AddView(&docless);
  buf.SetModified(0);
  EXPECT_EQ(buf.IsModified(), 0);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(UndoTest, FullBufferDropsTheOldestWholeGroup) {
  int l = 0, c = 0;
  buf.BeginUndoGroup();
  for (int i = 0; i < 3; ++i) buf.InsertText(nullptr, 0, 0, "g", l, c);
  buf.FlushUndoGroup(nullptr);
  buf.MarkSaved();  // saved at 3, inside what will be dropped next
  for (int i = 3; i < 1024; ++i) buf.InsertText(nullptr, 0, 0, "s", l, c);
  ASSERT_EQ(buf.m_aUndoBuf.size(), 1024u);
  buf.InsertText(nullptr, 0, 0, "n", l, c);
  EXPECT_EQ(buf.m_aUndoBuf.size(), 1022u);
  EXPECT_EQ(buf.m_nUndoPosition, 1022);
  EXPECT_EQ(buf.m_nSyncPosition, 0);  // shifted by 3: still reachable
  EXPECT_TRUE(buf.m_aUndoBuf[0].m_dwFlags & UNDOREC_GROUPSTART);
  buf.InsertText(nullptr, 0, 0, "m", l, c);
  buf.InsertText(nullptr, 0, 0, "m", l, c);
  EXPECT_EQ(buf.m_nSyncPosition, 0);
  buf.InsertText(nullptr, 0, 0, "o", l, c);  // full again: drops one single-record group
  EXPECT_EQ(buf.m_aUndoBuf.size(), 1024u);
  EXPECT_LT(buf.m_nSyncPosition, 0);
  CPoint cursor;
  while (buf.CanUndo()) buf.Undo(cursor);
  EXPECT_EQ(buf.IsModified(), 1);  // the saved state is gone: never looks saved
  EXPECT_EQ(buf.All(), "sggg");
}

TEST_F(UndoTest, DescriptionsIterateOverGroups) {
  std::string text;
  Type("p", UNDO_ACTION_PASTE);
  EXPECT_EQ(buf.GetUndoDescription(text), nullptr);  // the only group: index 0 ends
  EXPECT_EQ(text, "Paste");
  Type("q", UNDO_ACTION_DELETE);
  Type("r", UNDO_ACTION_AUTOINDENT);
  Type("s", 42);
  POSITION pos = buf.GetUndoDescription(text);
  EXPECT_EQ(text, "");
  pos = buf.GetUndoDescription(text, pos);
  EXPECT_EQ(text, "Auto Indent");
  pos = buf.GetUndoDescription(text, pos);
  EXPECT_EQ(text, "Delete");
  pos = buf.GetUndoDescription(text, pos);
  EXPECT_EQ(text, "Paste");
  EXPECT_EQ(pos, nullptr);

  CPoint cursor;
  while (buf.CanUndo()) buf.Undo(cursor);
  EXPECT_THROW(buf.GetUndoDescription(text), InvalidArgException);
  std::vector<std::string> texts;
  std::vector<POSITION> positions;
  pos = nullptr;
  do {
    pos = buf.GetRedoDescription(text, pos);
    texts.push_back(text);
    positions.push_back(pos);
  } while (pos != nullptr);
  EXPECT_EQ(texts, (std::vector<std::string>{"Paste", "Delete", "Auto Indent", ""}));
  ASSERT_EQ(positions.size(), 4u);
  EXPECT_NE(positions[0], nullptr);
  buf.Redo(cursor);
  buf.Redo(cursor);
  buf.Redo(cursor);
  buf.Redo(cursor);
  EXPECT_THROW(buf.GetRedoDescription(text), InvalidArgException);
}

TEST_F(UndoTest, ActionDescriptionsFollowTheirIds) {
  struct Probe : TestBuffer {
    using QuillTextBuffer::GetActionDescription;
  } probe;
  const char* expected[] = {"Unknown", "Paste",  "Delete Selection", "Cut",     "Typing",     "Backspace",
                            "Indent",  "Drag And Drop", "Replace",   "Delete", "Auto Indent"};
  for (int code = 0; code <= 10; ++code) {
    std::string text;
    EXPECT_EQ(probe.GetActionDescription(code, text), 1);
    EXPECT_EQ(text, expected[code]);
  }
  std::string text = "keep";
  EXPECT_EQ(probe.GetActionDescription(11, text), 0);
  EXPECT_EQ(probe.GetActionDescription(-1, text), 0);
  EXPECT_EQ(text, "keep");
}

TEST_F(UndoTest, OneCharacterTextsAreInlineAndRestored) {
  Type("abc\r\ndef");
  buf.DeleteText(nullptr, 0, 1, 0, 2);
  const auto& rec = buf.m_aUndoBuf.back();
  EXPECT_STREQ(rec.GetText(), "b");
  EXPECT_GE(reinterpret_cast<const char*>(rec.GetText()), reinterpret_cast<const char*>(&rec));
  EXPECT_LT(reinterpret_cast<const char*>(rec.GetText()), reinterpret_cast<const char*>(&rec + 1));
  buf.DeleteText(nullptr, 0, 2, 1, 0);  // a lone line break
  CPoint cursor;
  buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "ac\ndef");
  EXPECT_EQ(cursor, CPoint(0, 1));
  buf.Undo(cursor);
  EXPECT_EQ(buf.All(), "abc\ndef");
  EXPECT_EQ(cursor, CPoint(2, 0));
  buf.AddUndoRecord(1, CPoint(0, 0), CPoint(0, 0), nullptr);
  EXPECT_STREQ(buf.m_aUndoBuf.back().GetText(), "");
}

}  // namespace
}  // namespace quill::test
