// Long lines: the view parses only part of them and keeps their runs and column indexes
// between paints. What it paints and maps must stay what the whole line gives, also after
// edits on, above and below a line whose caches are warm.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "input_fixture.h"

namespace quill {
namespace {

using testing::CLikeView;
using testing::Insert;

constexpr int kColumns = 40;

class LongView : public CLikeView {
 public:
  using CLikeView::CLikeView;
  unsigned long ParseLinePart(const char* chars, int length, unsigned long cookie, int line,
                              TParseCheckpoints& states, int from, int to, TEXTBLOCK* buf,
                              int& count) override {
    return GetTextStyle()->ParseLinePart(chars, length, cookie, line, states, from, to, buf, count);
  }
};

// The column after character pos of a line at column col, by the tab rule.
int ColumnOf(const std::string& line, int pos, int tab, int col) {
  return line[static_cast<std::size_t>(pos)] == '\t' ? col + tab - col % tab : col + 1;
}

std::string Repeat(const std::string& piece, std::size_t length) {
  std::string s;
  while (s.size() < length) s += piece;
  s.resize(length);
  return s;
}

class LongLines : public testing::ViewTest<LongView> {
 protected:
  std::string Line(int n) {
    return std::string(buffer.GetLineChars(n), static_cast<std::size_t>(buffer.GetLineLength(n)));
  }

  // Positions to columns, columns to positions and the line's width against the plain
  // rule, at step boundaries of the index and around them. The status bar's column counts
  // tabs with the style's tab size (4), whatever the view's index counts.
  void ExpectGeometry(int n) {
    const std::string text = Line(n);
    const int tab = view.GetTabSize();
    const int length = static_cast<int>(text.size());
    std::vector<int> cols(text.size() + 1, 0);
    std::vector<int> statusCols(text.size() + 1, 0);
    for (int i = 0; i < length; ++i) {
      cols[i + 1] = ColumnOf(text, i, tab, cols[i]);
      statusCols[i + 1] = ColumnOf(text, i, 4, statusCols[i]);
    }
    EXPECT_EQ(view.GetLineActualLength(n), cols.back()) << "line " << n;
    EXPECT_EQ(view.GetColumnPos(CPoint(length + 5, n)), statusCols.back()) << "line " << n;
    for (int pos : {0, 1, 1023, 1024, 1025, 4095, 4096, 4097, 6000, length - 1, length}) {
      if (pos < 0 || pos > length) continue;
      const int col = cols[pos];
      EXPECT_EQ(view.CalculateActualOffset(n, pos), col) << "line " << n << " pos " << pos;
      EXPECT_EQ(view.GetColumnPos(CPoint(pos, n)), statusCols[pos]) << "line " << n << " pos " << pos;
      // A click on the column, and one column further, lands on the character there.
      for (int target : {col, col + 1}) {
        view.m_nTopLine = n;
        view.m_nOffsetChar = target;
        int expect = pos;
        while (expect < length && cols[expect + 1] <= target) ++expect;
        EXPECT_EQ(view.ClientToText(CPoint(kMargin, 1)).x, expect) << "line " << n << " col " << target;
      }
      int approx = length;
      for (int i = pos; i < length; ++i) {
        if (cols[i + 1] >= col + 1) {
          approx = col + 1 <= cols[i + 1] - tab / 2 ? i : i + 1;
          break;
        }
      }
      EXPECT_EQ(view.ApproxActualOffset(n, col + 1), approx) << "line " << n << " col " << col + 1;
    }
    view.m_nTopLine = 0;
    view.m_nOffsetChar = 0;
  }

  // Paints the window with line n on top, scrolled to column offset, and checks every
  // visible character against the runs of the whole line parsed at once.
  void ExpectPaintedAsWhole(int n, int offset) {
    view.m_nTopLine = n;
    view.m_nOffsetChar = offset;
    HeadlessDC& dc = window.Paint(view);
    const std::string text = Line(n);
    const int length = static_cast<int>(text.size());
    auto runs = std::make_unique_for_overwrite<QuillView::TEXTBLOCK[]>(text.size() * 3 + 3);
    int count = 0;
    view.ParseLine(text.data(), length, view.GetParseCookie(n - 1), n, runs.get(), count);
    int pos = 0;
    int col = 0;
    int run = 0;
    int fg = 2;
    for (; pos < length && col < offset + kColumns; col = ColumnOf(text, pos, view.GetTabSize(), col), ++pos) {
      while (run < count && runs[run].charPos <= pos) fg = runs[run++].fgColorIndex;
      if (col < offset || text[pos] == '\t') continue;
      const CellInfo cell = dc.At(kMargin + (col - offset) * kCharWidth + kCharWidth / 2, kLineHeight / 2);
      ASSERT_EQ(cell.ch, text[pos]) << "offset " << offset << " pos " << pos;
      ASSERT_EQ(cell.textColor, view.GetColor(fg)) << "offset " << offset << " pos " << pos;
    }
  }

};

const std::string kCode = "int count = 42; /* note */ x = \"a b\" + 'c'; return total7 ; ";

TEST_F(LongLines, GeometryStaysRightAfterEditsOnAboveAndBelowTheLine) {
  const std::string tabbed = Repeat("ab\tcdefg\t\thij ", 9000);
  Open({"short", Repeat("plain text ", 8000), tabbed});
  for (int n : {0, 1, 2}) ExpectGeometry(n);

  // On the line: before its indexed part, inside it, and at its end.
  Insert(buffer, 2, 10, "\t");
  Insert(buffer, 2, 5000, "x\ty");
  Insert(buffer, 2, buffer.GetLineLength(2), "\tend");
  buffer.DeleteText(nullptr, 2, 1000, 2, 3000);
  ExpectGeometry(2);
  // Above: two new lines push the long lines down; a line break inside a long line
  // splits it.
  Insert(buffer, 0, 2, "\r\nnew\r\n");
  ExpectGeometry(3);
  ExpectGeometry(4);
  Insert(buffer, 4, 5000, "\r\n");
  ExpectGeometry(4);
  ExpectGeometry(5);
  // Below: the lines above keep their indexes.
  buffer.DeleteText(nullptr, 5, 0, 5, 2000);
  ExpectGeometry(3);
  ExpectGeometry(4);
  // A new tab size for the view; the status bar keeps the style's.
  view.SetTabSize(7);
  ExpectGeometry(4);
}

TEST_F(LongLines, PaintedRunsAreThoseOfTheWholeLineAndFollowEditsOnAboveAndBelowIt) {
  Open({"int a;", Repeat(kCode, 9000) + " retur", "return 0;"});
  const int length = buffer.GetLineLength(1);
  const int end = length - kColumns + 5;
  // Scrolled across keywords, comments, strings and numbers that straddle the window's
  // edges, at the line's start, middle and end.
  for (int offset = 0; offset < 80; offset += 3) ExpectPaintedAsWhole(1, offset);
  for (int offset : {4000, 4500, length - kColumns, end, length - 5}) ExpectPaintedAsWhole(1, offset);
  // Typing at the end makes the last word a keyword.
  Insert(buffer, 1, buffer.GetLineLength(1), "n");
  ExpectPaintedAsWhole(1, end);
  ExpectPaintedAsWhole(1, 20);
  // A comment opened on the line above covers the whole long line.
  Insert(buffer, 0, 0, "/*");
  ExpectPaintedAsWhole(1, 20);
  ExpectPaintedAsWhole(1, end);
  // An edit below changes nothing on the line.
  Insert(buffer, 2, 0, "x");
  ExpectPaintedAsWhole(1, end);
  // A quote put in place of a character, left of the window: the line keeps its length
  // and the cookie above it, and from there on strings and code swap.
  buffer.DeleteText(nullptr, 0, 0, 0, 2);
  ExpectPaintedAsWhole(1, end);
  buffer.DeleteText(nullptr, 1, 64, 1, 65);
  Insert(buffer, 1, 64, "\"");
  ExpectPaintedAsWhole(1, end);
}

// The colour (foreground, background) by the runs of each character from..to, of its
// first 2000 and its last 200.
std::vector<std::pair<int, int>> Colours(const QuillView::TEXTBLOCK* runs, int count, int from, int to) {
  std::vector<std::pair<int, int>> out;
  int run = 0;
  std::pair<int, int> in{-1, -1};
  for (int pos = from; pos < to; ++pos) {
    while (run < count && runs[run].charPos <= pos) {
      in = {runs[run].fgColorIndex, runs[run].bgColorIndex};
      ++run;
    }
    if (pos < from + 2000 || pos >= to - 200) out.push_back(in);
  }
  return out;
}

// Runs and cookies of a parse resumed from saved states against a parse from the line's
// start, around the states, on text whose strings, comments and keywords cross them, and
// after edits before, at and after a state.
TEST_F(LongLines, ResumedParseMatchesParseFromTheLineStart) {
  Open({"x"});
  std::unique_ptr<TDocumentStyle> style(view.CreateStyle());
  const std::string pieces[] = {"int ", "return ", "count7 ", "42 ", "\"a b\" ", "'c' ", "/* x */ ",
                                "\t", "1.5e3 ", "\"esc \\\" q\" ", "x=\"", "/*", "*/ ", "word ", "# ", "  "};
  std::uint32_t seed = 7;
  auto next = [&seed](std::uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  // Mostly code; the openers without closers ("x=\"", "/*") are rare so that long strings
  // and comments cross states now and then.
  std::string text;
  while (text.size() < 4 * TParseCheckpoints::kStep) {
    std::size_t k = next(16);
    if ((k == 10 || k == 11) && next(400) != 0) k = 13;
    text += pieces[k];
  }
  text += "\\";  // an escape at the end carries the cookie to the next line

  TParseCheckpoints states;
  std::vector<QuillView::TEXTBLOCK> full(text.size() * 3 + 64), part(text.size() * 3 + 64);
  // Parses from..to resumed from the states and from the line's start: the same cookie,
  // ordered runs that start at or before from, and the same colours.
  auto compare = [&](TParseCheckpoints& from_states, unsigned long cookie, int from, int to,
                     const std::string& what) {
    int nFull = 0;
    int nPart = 0;
    const int length = static_cast<int>(text.size());
    const unsigned long endFull = style->ParseLine(text.data(), to, cookie, 1, full.data(), nFull);
    const unsigned long endPart =
        style->ParseLinePart(text.data(), length, cookie, 1, from_states, from, to, part.data(), nPart);
    ASSERT_EQ(endPart, endFull) << what << " from " << from << " to " << to;
    ASSERT_GT(nPart, 0);
    ASSERT_LE(part[0].charPos, from) << what;
    for (int i = 1; i < nPart; ++i) ASSERT_LE(part[i - 1].charPos, part[i].charPos);
    ASSERT_EQ(Colours(part.data(), nPart, from, to), Colours(full.data(), nFull, from, to))
        << what << " from " << from << " to " << to;
  };
  auto check = [&](unsigned long cookie, const char* what) {
    const int length = static_cast<int>(text.size());
    states.Reset(-1, 0);
    std::vector<int> froms = {0, 100, TParseCheckpoints::kStep, length - 1, length};
    for (int i = 0; i < 12; ++i) froms.push_back(static_cast<int>(next(static_cast<std::uint32_t>(length))));
    // Resumed first at the end so that the states are saved, then around each of them.
    int count = 0;
    const unsigned long whole = style->ParseLine(text.data(), length, cookie, 1, nullptr, count);
    EXPECT_EQ(style->ParseLinePart(text.data(), length, cookie, 1, states, length, length, nullptr, count),
              whole) << what;
    ASSERT_GE(states.Count(), 3) << what;
    for (int i = 0; i < states.Count(); ++i) {
      const int at = states[i].nPos;
      for (int d : {-1, 0, 1, 300}) froms.push_back(std::clamp(at + d, 0, length));
    }
    for (int from : froms)
      for (int to : {std::min(from + 500, length), length}) compare(states, cookie, from, to, what);
  };

  for (unsigned long cookie : {0UL, TDocumentStyle::COOKIE_EXT_COMMENT, TDocumentStyle::COOKIE_STRING})
    check(cookie, "unchanged");
  // A preprocessor line: the mark at the start colours the whole line.
  text.insert(0, "  #define ");
  check(0, "preprocessor");
  text.erase(0, 10);

  // Edits before, at and after a state; the view keeps the states up to the edit.
  check(0, "before edits");
  const int at = states[1].nPos;
  for (int pos : {at - 1, at, at + 1, at + 5000}) {
    for (const char* piece : {"\"", "/*", "return", "//"}) {
      std::string saved = text;
      text.insert(static_cast<std::size_t>(pos), piece);
      TParseCheckpoints kept = states;
      kept.KeepBefore(pos);
      const int length = static_cast<int>(text.size());
      for (int from : {pos, pos + 1, length - 300})
        compare(kept, 0, from, length, piece + (" at " + std::to_string(pos)));
      text = saved;
    }
  }
}

// A line of 20 MB: painted at its start and end, mapped, and edited at its end.
TEST_F(LongLines, TwentyMegabyteLinePaintsMovesAndEdits) {
  const std::string big = Repeat("wire_12 w=3u\t", 20 << 20) + " return";
  Open({big});
  const int length = buffer.GetLineLength(0);
  const int width = view.GetLineActualLength(0);
  int expectWidth = 0;
  for (int i = 0; i < length; ++i) expectWidth = ColumnOf(big, i, view.GetTabSize(), expectWidth);
  EXPECT_EQ(width, expectWidth);

  ExpectPaintedAsWhole(0, 0);
  // The end of the line: its last column shows the keyword's last letter.
  view.m_nOffsetChar = width - kColumns + 2;
  HeadlessDC& atEnd = window.Paint(view);
  const CellInfo last = atEnd.At(kMargin + (kColumns - 3) * kCharWidth + kCharWidth / 2, kLineHeight / 2);
  EXPECT_EQ(last.ch, 'n');
  EXPECT_EQ(last.textColor, testing::kKeyword);
  EXPECT_EQ(view.ClientToText(CPoint(kMargin + (kColumns - 2) * kCharWidth, 1)), CPoint(length, 0));
  EXPECT_EQ(view.TextToClient(CPoint(length, 0)).x, kMargin + (kColumns - 2) * kCharWidth);

  // Typed at the end: the keyword is gone, the new character is shown.
  Insert(buffer, 0, length, "s");
  HeadlessDC& typed = window.Paint(view);
  const CellInfo added = typed.At(kMargin + (kColumns - 2) * kCharWidth + kCharWidth / 2, kLineHeight / 2);
  EXPECT_EQ(added.ch, 's');
  EXPECT_EQ(added.textColor, testing::kBlack);
  EXPECT_EQ(view.GetLineActualLength(0), width + 1);
  ExpectPaintedAsWhole(0, 0);
}

}  // namespace
}  // namespace quill
