#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

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
  ASSERT_EQ(buf.GetLineCount(), 1);
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

// Text and end positions of edits are checked by the random edit test; these are the
// notifications: the changed line alone, or everything from the first changed line down.
TEST_F(TextBufferTest, EditsNotifyTheirLineOrEverythingFromIt) {
  Fill("ab\r\ncd");
  const auto expectNote = [&](unsigned long flags, int line) {
    ASSERT_FALSE(view.notes.empty());
    EXPECT_EQ(view.notes.back().flags, flags);
    EXPECT_EQ(view.notes.back().line, line);
  };
  buf.Insert(1, 1, "x\ny", UNDO_ACTION_UNKNOWN, &view);  // a lone LF stays in the line
  EXPECT_EQ(view.notes.back().source, &view);
  expectNote(UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ, 1);
  buf.Insert(1, 0, "\r");
  expectNote(UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT, 1);
  buf.DeleteText(nullptr, 0, 1, 1, 0);
  expectNote(UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT, 0);
  buf.DeleteText(nullptr, 0, 0, 0, 1);
  expectNote(UPDATE_FLAG_LINE | UPDATE_FLAG_HORZ, 0);
}

// Points of other views behind an edit move with the text, points inside a deletion go to
// its start, and a point at an insertion stays in front of the new text.
TEST_F(TextBufferTest, EditContextsMoveOnlyPointsBehindTheEdit) {
  Fill("line0\r\nline1\r\nline2\r\nl3xxxx\r\nline4\r\nline5");
  RecordingView views[5];
  const CPoint before[] = {{5, 3}, {1, 2}, {0, 5}, {4, 0}, {1, 0}};
  const CPoint deleted[] = {{6, 0}, {2, 0}, {0, 2}, {2, 0}, {1, 0}};
  const CPoint inserted[] = {{6, 1}, {2, 0}, {0, 3}, {2, 0}, {1, 0}};
  for (int i = 0; i < 5; ++i) {
    views[i].caret = before[i];
    buf.AddView(&views[i]);
  }
  buf.DeleteText(nullptr, 0, 2, 3, 1);
  EXPECT_EQ(buf.All(), "li3xxxx\nline4\nline5");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(views[i].caret, deleted[i]) << i;
  buf.Insert(0, 2, "P\r\nQQ");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(views[i].caret, inserted[i]) << i;
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

TEST(TextBufferViews, ABufferDestroyedFirstLetsItsViewsGo) {
  RecordingView view;
  auto buffer = std::make_unique<QuillTextBuffer>();
  buffer->InitNew();
  view.AttachToBuffer(buffer.get());
  buffer.reset();
  EXPECT_EQ(view.Buffer(), nullptr);  // so destroying the view calls nobody
  EXPECT_EQ(view.GetLineCount(), 1);
}

TEST_F(TextBufferTest, NumberedBookmarksMoveAndBookmarksCountLinesFromOne) {
  Fill("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
  buf.SetLineFlag(2, LINEFLAG_BOOKMARK_3, 1);
  view.notes.clear();
  buf.SetLineFlag(7, LINEFLAG_BOOKMARK_3, 1, 1);  // a numbered bookmark moves: two notifications
  EXPECT_EQ(buf.GetLineFlags(2), 0u);
  ASSERT_EQ(view.notes.size(), 2u);
  EXPECT_EQ(view.notes[0].line, 2);
  EXPECT_EQ(view.notes[1].line, 7);
  EXPECT_EQ(view.notes[1].flags, UPDATE_FLAG_LINE | UPDATE_FLAG_LINEFLAGS);
  buf.SetLineFlag(7, LINEFLAG_BOOKMARK_3, 1);  // unchanged: no notification
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);  // -1: the first line having it
  buf.SetLineFlag(-1, LINEFLAG_BOOKMARK_3, 0);  // none left: nothing
  EXPECT_EQ(buf.GetLineWithFlag(LINEFLAG_BOOKMARK_3), -1);
  EXPECT_EQ(view.notes.size(), 3u);

  // Searching both ways, with and without wrapping, is checked through the view's
  // next and previous bookmark commands.
  EXPECT_EQ(buf.FindNextBookmarkLine(3), -1);
  EXPECT_EQ(buf.SetBookmark(3), 0);  // line number 3 = index 2
  EXPECT_TRUE(view.HasBookmarks());
  buf.SetBookmark(6);
  buf.SetBookmark(0);  // out of range: ignored
  EXPECT_EQ(buf.FindNextBookmarkLine(5), 2);
  EXPECT_EQ(buf.FindPrevBookmarkLine(4), 2);
  EXPECT_EQ(buf.RemoveBookmark(3), 0);
  EXPECT_EQ(buf.FindPrevBookmarkLine(0), 5);
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

// Loaded lines live in packed table slots until something asks for their record.
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
  EXPECT_EQ(buffer.AllLines(), (Lines{"one", "two-and-a-much-longer-tail", "ree", "four", "five"}));

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

// The table against a plain model under random changes: lines loaded from two slabs (so
// leaves also end where the characters stop following each other, or past 64 KiB of text),
// single lines and runs of records inserted, ranges removed within and across leaves,
// records made and replaced, lines flagged. Every line is compared after every step.
TEST(LineTable, MatchesAPlainModelUnderRandomChanges) {
  using Table = TCArray<TLineInfo*>;
  constexpr int kLeaf = Table::kLeafLines;
  struct Line {
    std::string text;
    TLineInfo* pRecord = nullptr;  // the record the table holds for the line, if any
  };
  std::vector<Line> model;
  std::vector<std::unique_ptr<TLineInfo>> records;   // every record, freed at the end
  std::vector<std::unique_ptr<std::string>> texts;  // the characters of the test's records
  const auto newRecord = [&](std::string text) {
    texts.push_back(std::make_unique<std::string>(std::move(text)));
    records.push_back(std::make_unique<TLineInfo>(
        TLineInfo{texts.back()->data(), static_cast<int>(texts.back()->size()), 0, 0, 0}));
    return records.back().get();
  };
  std::mt19937 random(2024);
  const auto pick = [&](int nFrom, int nTo) {
    return std::uniform_int_distribution<int>(nFrom, nTo)(random);
  };

  Table table;
  std::vector<std::unique_ptr<char[]>> slabs;
  char* pcNext = nullptr;
  char* pcEnd = nullptr;
  // Appends a loaded line of nLength characters, packed after the previous one.
  const auto load = [&](int nLength) {
    if (pcNext == nullptr || pcEnd - pcNext < nLength) {
      slabs.push_back(std::make_unique<char[]>(1 << 20));
      pcNext = slabs.back().get();
      pcEnd = pcNext + (1 << 20);
    }
    for (int i = 0; i < nLength; ++i) pcNext[i] = static_cast<char>('a' + pick(0, 25));
    ASSERT_TRUE(table.AddPacked(pcNext, nLength));
    model.push_back({std::string(pcNext, nLength), nullptr});
    pcNext += nLength;
  };
  const auto check = [&](int nStep) {
    ASSERT_EQ(table.GetSize(), static_cast<int>(model.size())) << nStep;
    const Table& read = table;
    for (int i = 0; i < table.GetSize(); ++i) {
      const Line& line = model[i];
      ASSERT_EQ(std::string_view(table.Chars(i), table.Length(i)), line.text) << nStep << " line " << i;
      ASSERT_EQ(table.RecordIfAny(i), line.pRecord) << nStep << " line " << i;
      ASSERT_EQ(table.Flags(i), line.pRecord ? line.pRecord->m_dwFlags : 0u) << nStep << " line " << i;
      ASSERT_EQ(read[i]->m_nLength, static_cast<int>(line.text.size())) << nStep << " line " << i;
    }
    // A walk over a range sees the same lines.
    const int nFrom = pick(0, table.GetSize());
    const int nTo = pick(nFrom, table.GetSize());
    int i = nFrom;
    table.ForEachLine(nFrom, nTo, [&](const char* pcChars, int nLength) {
      EXPECT_EQ(std::string_view(pcChars, nLength), model[i++].text) << nStep;
    });
    EXPECT_EQ(i, nTo) << nStep;
  };

  for (int i = 0; i < 12 * kLeaf; ++i) {
    // Mostly short lines; a run of long ones fills 64 KiB before the leaf is full.
    load(i / kLeaf == 3 ? pick(200, 400) : pick(0, 5));
    if (i == 7 * kLeaf + 100) pcNext = nullptr;  // a new slab in the middle of a leaf
  }
  TLineInfo* pLong = newRecord(std::string(Table::kMaxPackedLength + 1, 'L'));
  EXPECT_EQ(table.Add(pLong), static_cast<int>(model.size()));
  model.push_back({pLong->m_pcLine, pLong});
  for (int i = 0; i < 50; ++i) load(3);
  EXPECT_FALSE(table.AddPacked(pcNext, Table::kMaxPackedLength + 1));
  check(-1);

  for (int nStep = 0; nStep < 250; ++nStep) {
    const int nSize = table.GetSize();
    const int nAt = pick(0, nSize);  // nSize: at the end
    switch (pick(0, 7)) {
      case 0: {  // one record, or the same record a few times
        TLineInfo* pLine = newRecord("one " + std::to_string(nStep));
        const int nCount = pick(1, 3);
        table.InsertAt(nAt, pLine, nCount);
        model.insert(model.begin() + nAt, nCount, Line{pLine->m_pcLine, pLine});
        break;
      }
      case 1: {  // a run of records, up to a few leaves' worth
        std::vector<TLineInfo*> run;
        for (int n = pick(1, 3 * kLeaf); n > 0; --n) run.push_back(newRecord(std::to_string(n)));
        table.InsertAt(nAt, run.data(), static_cast<int>(run.size()));
        for (std::size_t j = 0; j < run.size(); ++j)
          model.insert(model.begin() + nAt + static_cast<int>(j), Line{run[j]->m_pcLine, run[j]});
        break;
      }
      case 2:
      case 3: {  // a few lines, or many across leaves
        if (nAt == nSize) break;
        const int nCount = pick(1, pick(0, 1) ? 3 : std::min(nSize - nAt, 3 * kLeaf));
        const int nEnd = std::min(nAt + nCount, nSize);
        table.RemoveAt(nAt, nEnd - nAt);
        model.erase(model.begin() + nAt, model.begin() + nEnd);
        break;
      }
      case 4:
      case 5: {  // a record made on first use, then flagged
        if (nAt == nSize) break;
        TLineInfo* pRecord = table[nAt];
        if (model[nAt].pRecord == nullptr) records.emplace_back(pRecord);
        EXPECT_TRUE(model[nAt].pRecord == nullptr || model[nAt].pRecord == pRecord) << nStep;
        pRecord->m_dwFlags |= 1u << pick(0, 3);
        model[nAt].pRecord = pRecord;
        break;
      }
      case 6: {  // a record replaced
        if (nAt == nSize) break;
        TLineInfo* pLine = newRecord("set " + std::to_string(nStep));
        table.SetAt(nAt, pLine);
        model[nAt] = Line{pLine->m_pcLine, pLine};
        break;
      }
      case 7:  // more loaded lines
        for (int n = pick(1, kLeaf); n > 0; --n) load(pick(0, 5));
        break;
    }
    check(nStep);
  }
  // Wrong ranges change nothing.
  EXPECT_THROW(table.RemoveAt(table.GetSize() - 1, 2), InvalidArgException);
  EXPECT_THROW(table.InsertAt(table.GetSize() + 1, nullptr), InvalidArgException);
  check(-2);

  table.RemoveAll();
  model.clear();
  pcNext = nullptr;
  for (int i = 0; i < kLeaf + 1; ++i) load(i % 4);
  check(-3);
}

}  // namespace
}  // namespace quill::test
