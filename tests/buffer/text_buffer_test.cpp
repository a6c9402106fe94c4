#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "buffer_fixture.h"

namespace quill::test {
namespace {

class TextBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buf.AddView(&view);
    buf.InitNew(CRLF_MODE_UNIX);
  }
  void Fill(const char* text) {
    buf.Insert(0, 0, text);
    view.notes.clear();
  }

  TestBuffer buf;
  RecordingView view;
};

TEST_F(TextBufferTest, InitNewAndFreeAll) {
  EXPECT_EQ(buf.IsInit(), 1);
  EXPECT_EQ(buf.GetCRLFMode(), CRLF_MODE_UNIX);
  EXPECT_EQ(buf.GetChangeHandle(), nullptr);
  ASSERT_EQ(buf.GetLineCount(), 1);
  EXPECT_EQ(buf.m_aLines[0]->m_nMax, 16);  // an empty line still gets storage
  ASSERT_EQ(view.notes.size(), 1u);
  EXPECT_EQ(view.notes[0].flags, UPDATE_FLAG_RESET);
  EXPECT_EQ(view.notes[0].line, -1);
  buf.Insert(0, 0, "x\r\ny");
  buf.FreeAll();
  EXPECT_EQ(buf.IsInit(), 0);
  EXPECT_EQ(buf.GetLineCount(), 0);
  EXPECT_EQ(buf.CanUndo(), 0);
  EXPECT_EQ(view.notes.size(), 2u);  // FreeAll notifies nobody
  EXPECT_THROW(buf.GetLineLength(0), InvalidArgException);
}

TEST_F(TextBufferTest, CrAndCrLfBreakLinesButLoneLfStays) {
  int l = -1, c = -1;
  EXPECT_EQ(buf.InsertText(&view, 0, 0, "a\r\nb\rc", l, c), 1);
  EXPECT_EQ(buf.All(), "a\nb\nc");
  EXPECT_EQ(CPoint(c, l), CPoint(1, 2));
  EXPECT_EQ(view.notes.at(1).source, &view);
  EXPECT_EQ(view.notes.at(1).flags, UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT);

  buf.InsertText(nullptr, 1, 1, "x\ny", l, c);
  EXPECT_EQ(buf.GetLineCount(), 3);
  EXPECT_EQ(buf.Line(1), "bx\ny");
  EXPECT_EQ(CPoint(c, l), CPoint(4, 1));
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ);
  EXPECT_EQ(view.notes.back().line, 1);
}

TEST_F(TextBufferTest, InsertContextMovesOnlyPointsBehindTheInsertionPoint) {
  Fill("abcdef\r\nxyz");
  RecordingView at, right, below;
  for (RecordingView* v : {&at, &right, &below}) buf.AddView(v);
  view.caret = CPoint(0, 0);
  at.caret = CPoint(2, 0);
  right.caret = CPoint(4, 0);
  below.caret = CPoint(1, 1);
  buf.Insert(0, 2, "P\r\nQQ");
  EXPECT_EQ(buf.All(), "abP\nQQcdef\nxyz");
  EXPECT_EQ(view.caret, CPoint(0, 0));
  EXPECT_EQ(at.caret, CPoint(2, 0));  // stays in front of the new text
  EXPECT_EQ(right.caret, CPoint(4, 1));
  EXPECT_EQ(below.caret, CPoint(1, 2));
}

TEST_F(TextBufferTest, DeleteAcrossLinesJoinsThemAndCollapsesPointsInside) {
  Fill("line0\r\nline1\r\nline2\r\nl3xxxx\r\nline4\r\nline5");
  RecordingView views[5];
  const CPoint before[] = {{5, 3}, {1, 2}, {0, 5}, {4, 0}, {1, 0}};
  const CPoint after[] = {{6, 0}, {2, 0}, {0, 2}, {2, 0}, {1, 0}};
  for (int i = 0; i < 5; ++i) {
    views[i].caret = before[i];
    buf.AddView(&views[i]);
  }
  buf.DeleteText(nullptr, 0, 2, 3, 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(views[i].caret, after[i]) << i;
  EXPECT_EQ(buf.All(), "li3xxxx\nline4\nline5");
  EXPECT_EQ(view.notes.at(0).flags, UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT);
  EXPECT_EQ(view.notes.at(0).line, 0);
  buf.DeleteText(nullptr, 1, 1, 1, 5);  // up to the line end
  EXPECT_EQ(buf.Line(1), "l");
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ);
}

TEST_F(TextBufferTest, BadPositionsThrowWithoutChangingAnything) {
  Fill("abc\r\nde");
  int l = 0, c = 0;
  EXPECT_THROW(buf.InsertText(nullptr, 2, 0, "x", l, c), InvalidArgException);
  EXPECT_THROW(buf.InsertText(nullptr, 0, 4, "x", l, c), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 0, 0, 2, 0), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 0, 2, 0, 1), InvalidArgException);
  EXPECT_THROW(buf.DeleteText(nullptr, 1, 0, 0, 1), InvalidArgException);
  EXPECT_THROW(buf.SetLineFlag(5, LINEFLAG_MARK_A, 1), InvalidArgException);
  EXPECT_THROW(buf.FindPrevBookmarkLine(-1), InvalidArgException);
  EXPECT_EQ(buf.All(), "abc\nde");
  EXPECT_TRUE(view.notes.empty());
  EXPECT_EQ(buf.m_aUndoBuf.size(), 1u);
}

TEST_F(TextBufferTest, LinesGrowBySixteenAndTheTableDoubles) {
  buf.InsertLine("0123456789abcdef");  // 16 characters: capacity 32
  buf.InsertLine("fifteen chars..", -1, 0);
  EXPECT_EQ(buf.Line(0), "fifteen chars..");
  EXPECT_EQ(buf.m_aLines[0]->m_nMax, 16);
  const char* storage = buf.GetLineChars(2);
  buf.AppendLine(2, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(buf.GetLineChars(2), storage);  // 32 characters fit without growing
  buf.AppendLine(2, "!", 1);
  EXPECT_EQ(buf.m_aLines[2]->m_nMax, 48);
  EXPECT_EQ(buf.Line(2), "0123456789abcdefABCDEFGHIJKLMNOP!");
  buf.DeleteText(nullptr, 2, 0, 2, 33);
  EXPECT_EQ(buf.m_aLines[2]->m_nMax, 48);  // lines never shrink

  while (buf.GetLineCount() < 5000) buf.InsertLine("x", 1);
  const int capacity = buf.m_aLines.GetCapacity();
  while (buf.GetLineCount() <= capacity) buf.InsertLine("x", 1);
  EXPECT_EQ(buf.m_aLines.GetCapacity(), 2 * capacity);
}

// Lines carved out of slabs the way a loader makes them, then edited like any other.
TEST_F(TextBufferTest, SlabLinesGrowOntoTheHeapAndAreFreedWithTheBuffer) {
  using Line = QuillTextBuffer::SLineInfo;
  const char* texts[] = {"first slab line", "0123456789abcdef"};
  auto* records = reinterpret_cast<Line*>(buf.AllocSlab(2 * sizeof(Line)));
  char* chars = buf.AllocSlab(static_cast<std::size_t>(buf.LineCapacity(15) + buf.LineCapacity(16)));
  for (int i = 0; i < 2; ++i) {
    Line* line = new (records + i) Line;
    line->m_nLength = static_cast<int>(std::strlen(texts[i]));
    line->m_nMax = buf.LineCapacity(line->m_nLength);
    line->m_pcLine = chars;
    line->m_nStorage = Line::SLAB_RECORD | Line::SLAB_TEXT;
    std::memcpy(chars, texts[i], static_cast<std::size_t>(line->m_nLength));
    chars += line->m_nMax;
    buf.m_aLines.Add(line);
  }
  buf.Insert(1, 15, "!");  // fits the slab storage
  EXPECT_EQ(buf.m_aLines[1]->m_nStorage, Line::SLAB_RECORD | Line::SLAB_TEXT);
  buf.Insert(2, 16, " grows beyond 32 characters");
  EXPECT_EQ(buf.m_aLines[2]->m_nStorage, Line::SLAB_RECORD);
  EXPECT_EQ(buf.m_aLines[2]->m_nMax, 48);
  buf.Insert(1, 3, "\r\n");  // splits a slab line; the new line is an ordinary one
  buf.DeleteText(nullptr, 0, 0, 3, 2);  // frees a mix of heap and slab lines
  EXPECT_EQ(buf.All(), "23456789abcdef grows beyond 32 characters");
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
  buf.SetLineFlag(4, LINEFLAG_MARK_A, 1, 0);
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_MARK_A | LINEFLAG_BOOKMARK_3), 4);
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);  // -1: the first line having it
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);  // none left: nothing
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_BOOKMARK_3), -1);
  EXPECT_EQ(view.notes.size(), 4u);
}

TEST_F(TextBufferTest, BookmarkSearchWrapsAround) {
  Fill("0\r\n1\r\n2\r\n3\r\n4\r\n5");
  EXPECT_EQ(buf.FindNextBookmarkLine(3), -1);
  EXPECT_EQ(buf.SetBookmark(3), 0);  // line number 3 = index 2
  EXPECT_TRUE(view.HasBookmarks());
  EXPECT_EQ(buf.FindNextBookmarkLine(2), 2);  // the only one
  EXPECT_EQ(buf.FindPrevBookmarkLine(2), 2);
  buf.SetBookmark(6);
  buf.SetBookmark(0);  // out of range: ignored
  buf.SetBookmark(7);
  EXPECT_EQ(buf.FindNextBookmarkLine(5), 2);
  EXPECT_EQ(buf.FindNextBookmarkLine(3), 5);
  EXPECT_EQ(buf.FindPrevBookmarkLine(2), 5);
  EXPECT_EQ(buf.FindPrevBookmarkLine(4), 2);
  EXPECT_EQ(buf.RemoveBookmark(3), 0);
  EXPECT_EQ(buf.FindPrevBookmarkLine(0), 5);
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
}

TEST_F(TextBufferTest, ReadOnlyMarksTheTitleOnce) {
  CDocument doc;
  doc.SetTitle("netlist.sp");
  view.SetDocument(&doc);
  buf.SetReadOnly(1);
  EXPECT_EQ(view.notes.back().flags, UPDATE_FLAG_RESET);
  Fill("abc");  // the buffer itself does not refuse edits
  buf.SetLineFlag(0, LINEFLAG_MARK_B, 1);
  EXPECT_EQ(doc.GetTitle(), "netlist.sp (Read-Only) *");
}

}  // namespace
}  // namespace quill::test
