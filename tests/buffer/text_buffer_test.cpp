#include <gtest/gtest.h>

#include "buffer_fixture.h"

namespace quill::test {
namespace {

class TextBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buf.AddView(&view);
    buf.InitNew(CRLF_MODE_UNIX);
    view.notes.clear();
  }
  void Fill(const char* text) {
    int l = 0, c = 0;
    buf.InsertText(nullptr, 0, 0, text, l, c);
    view.notes.clear();
  }

  TestBuffer buf;
  RecordingView view;
};

TEST(TextBufferLifecycle, NewBufferIsEmptyUntilInitNewAndAfterFreeAll) {
  TestBuffer buf;
  EXPECT_EQ(buf.IsInit(), 0);
  EXPECT_EQ(buf.GetLineCount(), 0);
  EXPECT_EQ(buf.GetChangeHandle(), nullptr);
  EXPECT_THROW(buf.GetLineLength(0), InvalidArgException);
  RecordingView view;
  buf.AddView(&view);
  EXPECT_EQ(buf.InitNew(CRLF_MODE_MAC), 1);
  EXPECT_EQ(buf.IsInit(), 1);
  EXPECT_EQ(buf.GetCRLFMode(), CRLF_MODE_MAC);
  ASSERT_EQ(buf.GetLineCount(), 1);
  EXPECT_EQ(buf.GetLineLength(0), 0);
  EXPECT_EQ(buf.Capacity(0), 16);  // an empty line still gets storage
  ASSERT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(view.notes[0].flags, UPDATE_FLAG_RESET);
  EXPECT_EQ(view.notes[0].line, -1);
  int l = 0, c = 0;
  buf.InsertText(nullptr, 0, 0, "x\r\ny", l, c);
  buf.FreeAll();
  EXPECT_EQ(buf.IsInit(), 0);
  EXPECT_EQ(buf.GetLineCount(), 0);
  EXPECT_EQ(buf.CanUndo(), 0);
  EXPECT_EQ(view.notes.size(), 2u);  // FreeAll notifies nobody
}

TEST_F(TextBufferTest, CrAndCrLfBreakLinesButLoneLfStays) {
  int l = -1, c = -1;
  EXPECT_EQ(buf.InsertText(nullptr, 0, 0, "a\r\nb\rc", l, c), 1);
  ASSERT_EQ(buf.GetLineCount(), 3);
  EXPECT_EQ(buf.Line(0), "a");
  EXPECT_EQ(buf.Line(1), "b");
  EXPECT_EQ(buf.Line(2), "c");
  EXPECT_EQ(CPoint(c, l), CPoint(1, 2));
  EXPECT_EQ(view.notes.at(0).flags, UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT);

  buf.InsertText(nullptr, 1, 1, "x\ny", l, c);
  EXPECT_EQ(buf.GetLineCount(), 3);
  EXPECT_EQ(buf.Line(1), "bx\ny");
  EXPECT_EQ(CPoint(c, l), CPoint(4, 1));
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ);
  EXPECT_EQ(view.notes.back().line, 1);
}

TEST_F(TextBufferTest, InsertInMiddleCarriesTheTailToTheLastLine) {
  Fill("hello world");
  int l = 0, c = 0;
  buf.InsertText(&view, 0, 5, ",\r\n\r\nbig", l, c);
  ASSERT_EQ(buf.GetLineCount(), 3);
  EXPECT_EQ(buf.Line(0), "hello,");
  EXPECT_EQ(buf.Line(1), "");
  EXPECT_EQ(buf.Line(2), "big world");
  EXPECT_EQ(CPoint(c, l), CPoint(3, 2));
  EXPECT_EQ(view.notes.at(0).source, &view);
  EXPECT_EQ(view.notes.at(0).line, 0);
}

TEST_F(TextBufferTest, InsertContextMovesCaretsAfterTheInsertionPointOnly) {
  Fill("abcdef\r\nxyz");
  int l = 0, c = 0;
  view.caret = CPoint(2, 0);  // exactly at the insertion point: stays in front
  buf.InsertText(nullptr, 0, 2, "12", l, c);
  EXPECT_EQ(view.caret, CPoint(2, 0));
  view.caret = CPoint(4, 0);  // right of it: moves with the text onto the new last line
  buf.InsertText(nullptr, 0, 1, "P\r\nQQ", l, c);
  EXPECT_EQ(view.caret, CPoint(2 + 3, 1));
  view.caret = CPoint(1, 2);  // a later line moves down
  buf.InsertText(nullptr, 0, 0, "\r\n", l, c);
  EXPECT_EQ(view.caret, CPoint(1, 3));
  view.caret = CPoint(0, 0);  // an earlier line is untouched
  buf.InsertText(nullptr, 2, 0, "\r\n", l, c);
  EXPECT_EQ(view.caret, CPoint(0, 0));
}

TEST_F(TextBufferTest, DeleteAcrossLinesJoinsAndAdjustsCarets) {
  Fill("line0\r\nline1\r\nline2\r\nl3xxxx\r\nline4\r\nline5");
  auto deleteWithCaret = [&](CPoint caret) {
    TestBuffer b;
    RecordingView v;
    b.AddView(&v);
    b.InitNew();
    int l = 0, c = 0;
    b.InsertText(nullptr, 0, 0, "line0\r\nline1\r\nline2\r\nl3xxxx\r\nline4\r\nline5", l, c);
    v.caret = caret;
    b.DeleteText(nullptr, 0, 2, 3, 1);
    return v.caret;
  };
  EXPECT_EQ(deleteWithCaret(CPoint(5, 3)), CPoint(6, 0));
  EXPECT_EQ(deleteWithCaret(CPoint(1, 2)), CPoint(2, 0));
  EXPECT_EQ(deleteWithCaret(CPoint(0, 5)), CPoint(0, 2));
  EXPECT_EQ(deleteWithCaret(CPoint(4, 0)), CPoint(2, 0));  // inside on the start line: clamped
  EXPECT_EQ(deleteWithCaret(CPoint(1, 0)), CPoint(1, 0));

  buf.DeleteText(nullptr, 0, 2, 3, 1);
  ASSERT_EQ(buf.GetLineCount(), 3);
  EXPECT_EQ(buf.Line(0), "li3xxxx");
  EXPECT_EQ(buf.Line(1), "line4");
  ASSERT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(view.notes[0].flags, UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT);
  EXPECT_EQ(view.notes[0].line, 0);

  buf.DeleteText(nullptr, 1, 1, 1, 3);
  EXPECT_EQ(buf.Line(1), "le4");
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ);
  buf.DeleteText(nullptr, 1, 1, 1, 3);  // up to the line end
  EXPECT_EQ(buf.Line(1), "l");
}

TEST_F(TextBufferTest, BadPositionsThrowWithoutChangingTheText) {
  Fill("abc\r\nde");
  int l = 0, c = 0;
  EXPECT_THROW(buf.InsertText(nullptr, 2, 0, "x", l, c), InvalidArgException);
  EXPECT_THROW(buf.InsertText(nullptr, 0, 4, "x", l, c), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 0, 0, 2, 0), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 0, 2, 0, 1), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 1, 0, 0, 1), InvalidArgException);
  EXPECT_THROW(buf.GetLineFlags(-1), InvalidArgException);
  EXPECT_THROW(buf.SetLineFlag(5, LINEFLAG_MARK_A, 1), InvalidArgException);
  EXPECT_THROW(buf.FindNextBookmarkLine(2), InvalidArgException);
  EXPECT_EQ(buf.All(), "abc\nde");
  EXPECT_TRUE(view.notes.empty());
  EXPECT_EQ(buf.CanUndo(), 1);  // only the fill
}

TEST_F(TextBufferTest, LineStorageFollowsTheCapacityRule) {
  buf.InsertLine("0123456789abcdef");  // 16 characters
  buf.InsertLine("fifteen chars..", -1, 0);
  buf.InsertLine(nullptr);
  ASSERT_EQ(buf.GetLineCount(), 4);
  EXPECT_EQ(buf.Line(0), "fifteen chars..");
  EXPECT_EQ(buf.Capacity(0), 16);
  EXPECT_EQ(buf.Capacity(2), 32);
  EXPECT_EQ(buf.Capacity(3), 16);
  const char* storage = buf.Storage(2);
  buf.AppendLine(2, "ABCDEFGHIJKLMNOP");  // 32 characters fit
  EXPECT_EQ(buf.Storage(2), storage);
  EXPECT_EQ(buf.GetLineLength(2), 32);
  buf.AppendLine(2, "!", 1);
  EXPECT_EQ(buf.Capacity(2), 48);
  EXPECT_EQ(buf.Line(2), "0123456789abcdefABCDEFGHIJKLMNOP!");
  buf.AppendLine(2, nullptr);
  buf.AppendLine(2, "zzz", 0);
  EXPECT_EQ(buf.GetLineLength(2), 33);
  buf.DeleteText(nullptr, 2, 0, 2, 33);
  EXPECT_EQ(buf.Capacity(2), 48);  // lines never shrink
}

TEST_F(TextBufferTest, FullLineTableDoubles) {
  for (int i = 0; i < 5000; ++i) buf.InsertLine("x", 1);
  const int capacity = buf.m_aLines.GetCapacity();
  while (buf.GetLineCount() < capacity) buf.InsertLine("x", 1);
  buf.InsertLine("y", 1);
  EXPECT_EQ(buf.m_aLines.GetCapacity(), 2 * capacity);
}

TEST_F(TextBufferTest, NumberedBookmarkMovesWithTwoNotifications) {
  Fill("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
  buf.SetLineFlag(2, LINEFLAG_BOOKMARK_3, 1);
  view.notes.clear();
  buf.SetLineFlag(7, LINEFLAG_BOOKMARK_3, 1, 1);
  EXPECT_EQ(buf.GetLineFlags(2), 0u);
  EXPECT_EQ(buf.GetLineFlags(7), LINEFLAG_BOOKMARK_3);
  ASSERT_EQ(view.notes.size(), 2u);
  EXPECT_EQ(view.notes[0].line, 2);
  EXPECT_EQ(view.notes[1].line, 7);
  EXPECT_EQ(view.notes[1].flags, UPDATE_FLAG_LINE | UPDATE_FLAG_LINEFLAGS);

  buf.SetLineFlag(7, LINEFLAG_BOOKMARK_3, 1);  // unchanged: no notification
  EXPECT_EQ(view.notes.size(), 2u);
  buf.SetLineFlag(4, LINEFLAG_MARK_A, 1, 0);
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_MARK_A | LINEFLAG_BOOKMARK_3), 4);
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);  // -1: the first line having it
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_BOOKMARK_3), -1);
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);
  EXPECT_EQ(view.notes.size(), 4u);
}

TEST_F(TextBufferTest, BookmarkSearchWrapsAndFindsTheOnlyOne) {
  Fill("0\r\n1\r\n2\r\n3\r\n4\r\n5");
  EXPECT_EQ(buf.FindNextBookmarkLine(3), -1);
  EXPECT_EQ(buf.FindPrevBookmarkLine(3), -1);
  EXPECT_EQ(buf.SetBookmark(3), 0);  // line number 3 = index 2
  EXPECT_TRUE(view.HasBookmarks());
  EXPECT_EQ(buf.FindNextBookmarkLine(2), 2);
  EXPECT_EQ(buf.FindPrevBookmarkLine(2), 2);
  buf.SetBookmark(6);
  EXPECT_EQ(buf.FindNextBookmarkLine(2), 5);
  EXPECT_EQ(buf.FindNextBookmarkLine(5), 2);
  EXPECT_EQ(buf.FindNextBookmarkLine(3), 5);
  EXPECT_EQ(buf.FindPrevBookmarkLine(2), 5);
  EXPECT_EQ(buf.FindPrevBookmarkLine(4), 2);
  EXPECT_EQ(buf.SetBookmark(0), 0);
  EXPECT_EQ(buf.SetBookmark(7), 0);
  EXPECT_EQ(buf.RemoveBookmark(3), 0);
  EXPECT_EQ(buf.FindNextBookmarkLine(0), 5);
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_BOOKMARK), 5);
}

TEST_F(TextBufferTest, GetTextJoinsLinesWithTheGivenBreak) {
  Fill("abcd\r\nef\r\ngh");
  std::string text;
  buf.GetText(0, 2, 2, 1, text);
  EXPECT_EQ(text, "cd\r\nef\r\ng");
  buf.GetText(0, 2, 2, 0, text, "\n");
  EXPECT_EQ(text, "cd\nef\n");
  buf.GetText(1, 0, 1, 2, text);
  EXPECT_EQ(text, "ef");
  buf.GetText(0, 4, 1, 0, text, "\r");
  EXPECT_EQ(text, "\r");
  buf.GetText(2, 1, 0, 0, text);  // start after end: part of the start line only
  EXPECT_EQ(text, "");
}

TEST_F(TextBufferTest, ReadOnlyMarksTheTitleOnce) {
  CDocument doc;
  doc.SetTitle("netlist.sp");
  view.SetDocument(&doc);
  buf.SetReadOnly(1);
  EXPECT_EQ(buf.GetReadOnly(), 1);
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_RESET);
  EXPECT_EQ(view.notes.back().line, -1);
  Fill("abc");  // edits are not refused by the buffer itself
  buf.SetLineFlag(0, LINEFLAG_MARK_B, 1);
  EXPECT_EQ(doc.GetTitle(), "netlist.sp (Read-Only) *");
  buf.SetReadOnly(0);
  EXPECT_EQ(buf.GetReadOnly(), 0);
}

TEST_F(TextBufferTest, ViewsAreNotifiedInAttachmentOrderUntilRemoved) {
  RecordingView second;
  buf.AddView(&second);
  buf.RemoveView(&second);
  buf.RemoveView(&second);  // absent: ignored
  buf.AddView(&second);
  Fill("a");
  buf.SetLineFlag(0, LINEFLAG_MARK_C, 1);
  EXPECT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(second.notes.size(), 2u);
  buf.RemoveView(&view);
  buf.SetLineFlag(0, LINEFLAG_MARK_C, 0);
  EXPECT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(second.notes.size(), 3u);
  buf.SetCRLFMode(CRLF_MODE_DOS);  // notifies nobody
  EXPECT_EQ(second.notes.size(), 3u);
}

}  // namespace
}  // namespace quill::test
