// Loaded lines live in packed table slots until something asks for their record.

#include <gtest/gtest.h>

#include <string>

#include "buffer_fixture.h"

namespace quill::test {
namespace {

TEST(LineTable, PackedLinesReadLikeRecordsAndGetOneOnlyWhenAsked) {
  TestBuffer buffer;
  const std::string longLine(20000, 'w');  // too long for a packed slot
  ASSERT_TRUE(buffer.LoadFromBuffer(("abc\n\n0123456789abcdef\n" + longLine + "\nz").c_str()));
  const auto& lines = buffer.m_aLines;
  ASSERT_EQ(lines.GetSize(), 5);
  EXPECT_EQ(lines.RecordIfAny(0), nullptr);
  EXPECT_NE(lines.RecordIfAny(3), nullptr);
  EXPECT_NE(buffer.GetLineChars(1), nullptr);  // an empty line still has storage

  // Reading through the const table, as the save does, makes no record.
  const int expected[][2] = {{3, 16}, {0, 16}, {16, 32}, {20000, 20016}, {1, 16}};
  for (int i = 0; i < 5; ++i) {
    const QuillTextBuffer::SLineInfo* pLine = lines[i];
    EXPECT_EQ(pLine->m_nLength, expected[i][0]) << i;
    EXPECT_EQ(pLine->m_nMax, expected[i][1]) << i;
    EXPECT_EQ(pLine->m_pcLine, buffer.GetLineChars(i)) << i;
  }
  EXPECT_EQ(lines.RecordIfAny(0), nullptr);

  // The non-const table makes the record once; it points at the same characters.
  char* pcChars = buffer.GetLineChars(2);
  QuillTextBuffer::SLineInfo* pRecord = buffer.m_aLines[2];
  EXPECT_EQ(pRecord, buffer.m_aLines[2]);
  EXPECT_EQ(pRecord->m_pcLine, pcChars);
  EXPECT_EQ(pRecord->m_nMax, 32);
  EXPECT_EQ(buffer.Line(2), "0123456789abcdef");
}

TEST(LineTable, EditsAndFlagsOnPackedLinesKeepTheirNeighbours) {
  TestBuffer buffer;
  ASSERT_TRUE(buffer.LoadFromBuffer("one\ntwo\nthree\nfour\nfive"));

  // A shrinking line keeps its capacity; a growing one moves to storage of its own.
  buffer.DeleteText(nullptr, 2, 0, 2, 2);
  EXPECT_EQ(buffer.m_aLines[2]->m_nMax, 16);
  buffer.Insert(1, 3, "-and-a-much-longer-tail");
  EXPECT_EQ(buffer.m_aLines[1]->m_nMax, 32);
  EXPECT_EQ(buffer.Line(1), "two-and-a-much-longer-tail");
  EXPECT_EQ(buffer.Line(0), "one");
  EXPECT_EQ(buffer.Line(3), "four");

  buffer.SetLineFlag(3, LINEFLAG_BOOKMARK, 1);
  EXPECT_EQ(buffer.GetLineFlags(3), LINEFLAG_BOOKMARK);
  EXPECT_EQ(buffer.GetLineFlags(4), 0u);
  EXPECT_EQ(buffer.FindNextBookmarkLine(0), 3);
  EXPECT_EQ(buffer.GetLineWithFlag(LINEFLAG_BOOKMARK), 3);

  // Deleting packed lines makes no records for them; undo brings the text back.
  buffer.DeleteText(nullptr, 0, 1, 4, 2);
  EXPECT_EQ(buffer.All(), "ove");
  CPoint pt;
  buffer.Undo(pt);
  EXPECT_EQ(buffer.All(), "one\ntwo-and-a-much-longer-tail\nree\nfour\nfive");
}

}  // namespace
}  // namespace quill::test
