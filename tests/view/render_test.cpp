#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "buffer/buffer_defs.h"
#include "clike_view.h"
#include "resources/glyphs.h"

namespace quill {
namespace {

using testing::ProbeView;
using namespace testing::colors;

constexpr COLORREF kMargin = RGB(230, 230, 230);
constexpr COLORREF kGreen = RGB(0, 128, 0);

// Cells are 8 x 16 pixels; the text starts right of the 20-pixel margin.
constexpr int kCw = 8;
constexpr int kLh = 16;
constexpr int kLeft = 20;

// A parser that colours digits as numbers (7 on 24) and everything else as normal text;
// numbers are drawn bold.
class DigitView : public ProbeView {
 public:
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int, TEXTBLOCK* buf,
                          int& count) override {
    if (buf == nullptr) {
      ++CookieOnlyCalls;
      return cookie;
    }
    bool inNumber = false;
    for (int i = 0; i < length; ++i) {
      const bool digit = chars[i] >= '0' && chars[i] <= '9';
      if (i == 0 || digit != inNumber) {
        buf[count++] = digit ? TEXTBLOCK{i, 7, 24} : TEXTBLOCK{i, 2, 17};
        inNumber = digit;
      }
    }
    return cookie;
  }
  COLORREF GetColor(int index) override {
    if (index == 7) return RGB(0, 0, 200);
    if (index == 24) return RGB(240, 240, 255);
    return ProbeView::GetColor(index);
  }
  int GetBold(int index) override { return index == 7 ? 1 : 0; }
  int CookieOnlyCalls = 0;
};

// Six rows of ten columns.
class Render : public testing::ProbeTest<DigitView> {
 protected:
  Render() { window.SetClientSize(CSize(kLeft + 10 * kCw, 6 * kLh)); }
  HeadlessDC& Paint() { return window.Paint(view); }
  // The cell of column col on screen row row.
  static CellInfo Cell(HeadlessDC& dc, int col, int row) {
    return dc.At(kLeft + col * kCw + kCw / 2, row * kLh + kLh / 2);
  }
  static std::string Row(HeadlessDC& dc, int row, int count = 10) {
    return dc.RowText(row * kLh + kLh / 2, kLeft, kCw, count);
  }
};

// Selected cells have white on black; the line break after a selected character is one
// selected cell. Where the view has focus, the painted cells are the points inside the
// selection.
TEST_F(Render, SelectionCoversItsCharactersAndLineBreaksOnly) {
  const struct {
    std::vector<std::string> lines;
    CPoint start, end;
    bool focused, showInactive;
    std::vector<std::string> selected;
  } cases[] = {
      // Ending at a line start: only the line break above.
      {{"abc", "def"}, {1, 0}, {0, 1}, true, false, {" SSS ", "     "}},
      // Backwards; an empty selected line shows one selected cell.
      {{"ab", "", "cd"}, {1, 2}, {1, 0}, true, false, {" SS  ", "S    ", "S    "}},
      // Without focus only when asked.
      {{"a1b"}, {0, 0}, {3, 0}, false, false, {"     "}},
      {{"a1b"}, {0, 0}, {3, 0}, false, true, {"SSS  "}},
  };
  for (const auto& c : cases) {
    Open(c.lines);
    view.m_bFocused = c.focused;
    view.m_bShowInactiveSelection = c.showInactive;
    view.Select(c.start, c.end);
    HeadlessDC& dc = Paint();
    for (int row = 0; row < static_cast<int>(c.selected.size()); ++row) {
      for (int col = 0; col < 5; ++col) {
        SCOPED_TRACE(::testing::Message() << c.lines[0] << " row " << row << " column " << col);
        const CellInfo cell = Cell(dc, col, row);
        const bool selected = c.selected[row][col] == 'S';
        EXPECT_EQ(cell.bkColor == kBlack, selected);
        if (selected && cell.kind == DrawOp::Text) {
          EXPECT_EQ(cell.textColor, kWhite);
        }
        if (c.focused && col <= static_cast<int>(c.lines[row].size())) {
          EXPECT_EQ(view.IsInsideSelection(CPoint(col, row)), selected);  // what a drag may move
        }
      }
    }
  }
  EXPECT_EQ(Cell(Paint(), 1, 0).weight, FW_BOLD);  // the selected number keeps its font
}

// A marked line has white text on its runs' backgrounds; its colour fills what is right
// of the text (the whole row of an empty line).
TEST_F(Render, MarkedLinesTakeTheColourOfTheirFirstMark) {
  Open({"a1", "", "zz", "q"});
  const std::uint32_t marks[] = {LINEFLAG_MARK_A | LINEFLAG_MARK_B, LINEFLAG_MARK_A, LINEFLAG_MARK_B,
                                 LINEFLAG_MARK_D};
  for (int line = 0; line < 4; ++line) buffer.SetLineFlag(line, marks[line], 1, 0);
  HeadlessDC& dc = Paint();
  EXPECT_EQ(Cell(dc, 0, 0).textColor, kWhite);
  EXPECT_EQ(Cell(dc, 1, 0).weight, FW_BOLD);
  // (column, row, background): the runs' backgrounds under the text; A wins over B.
  const std::tuple<int, int, COLORREF> backgrounds[] = {
      {0, 0, kWhite}, {1, 0, RGB(240, 240, 255)}, {2, 0, kGreen},         {0, 1, kGreen},
      {9, 1, kGreen}, {5, 2, RGB(255, 0, 0)},     {5, 3, RGB(128, 128, 0)}};
  for (const auto& [col, row, bk] : backgrounds)
    EXPECT_EQ(Cell(dc, col, row).bkColor, bk) << col << "," << row;
}

// A NUL byte takes one cell and shows as a '0' in swapped colours, selected or not; the
// text after it keeps its cells and colours.
TEST_F(Render, NulBytesShowAsMarkedCells) {
  Open({"a..b12"});
  buffer.GetLineChars(0)[1] = buffer.GetLineChars(0)[2] = '\0';
  HeadlessDC& dc = Paint();
  EXPECT_EQ(Row(dc, 0, 6), "a00b12");
  for (int col : {1, 2}) {
    EXPECT_EQ(Cell(dc, col, 0).textColor, kWhite);
    EXPECT_EQ(Cell(dc, col, 0).bkColor, kBlack);
  }
  EXPECT_EQ(Cell(dc, 3, 0).textColor, kBlack);
  EXPECT_EQ(Cell(dc, 4, 0).weight, FW_BOLD);
  view.m_bFocused = true;
  view.Select(CPoint(0, 0), CPoint(6, 0));
  HeadlessDC& selected = Paint();
  EXPECT_EQ(Cell(selected, 1, 0).bkColor, kWhite);
  EXPECT_EQ(Cell(selected, 3, 0).bkColor, kBlack);
}

// Scrolled text (checked against whole lines by the long-line tests) stays out of it.
TEST_F(Render, MarginShowsTheFirstFlagInTableOrder) {
  Open({"a", "b", "c", "d", "0123456789"});
  view.m_nOffsetChar = 4;
  const std::uint32_t flags[] = {LINEFLAG_BOOKMARK_0 | LINEFLAG_BOOKMARK_1, LINEFLAG_BOOKMARK | LINEFLAG_MARK_C,
                                 LINEFLAG_MARK_D, LINEFLAG_BOOKMARK_9 | LINEFLAG_BOOKMARK};
  for (int line = 0; line < 4; ++line) buffer.SetLineFlag(line, flags[line], 1, 0);
  HeadlessDC& dc = Paint();
  std::vector<int> glyphs;
  for (int row = 0; row < 5; ++row) glyphs.push_back(dc.At(2 + 8, row * kLh + 8).image);
  // No glyph for MARK_D, nor for a line without flags.
  EXPECT_EQ(glyphs, (std::vector<int>{GLYPH_BOOKMARK_1, GLYPH_MARK_C, -1, GLYPH_BOOKMARK_1 + 8, -1}));
  EXPECT_EQ(dc.At(10, 4 * kLh + 8).bkColor, kMargin);
  EXPECT_EQ(dc.At(10, 4 * kLh + 8).kind, DrawOp::Fill);
}

TEST_F(Render, OnlyRowsInsideThePaintAreaAreDrawn) {
  Open({"one", "two", "three"});
  HeadlessDC dc(CSize(100, 6 * kLh));
  dc.SetClipBox(CRect(0, kLh + 3, 100, kLh + 5));
  view.OnDraw(&dc);
  EXPECT_EQ(dc.blitCalls, 1);
  EXPECT_EQ(Row(dc, 1, 3), "two");
  EXPECT_FALSE(Cell(dc, 0, 0).covered);
  EXPECT_FALSE(Cell(dc, 0, 2).covered);
}

TEST_F(Render, ParsingAFarLineComputesEachCookieOnce) {
  std::vector<std::string> lines(500, "text");
  Open(lines);
  view.m_nTopLine = 480;
  Paint();
  EXPECT_EQ(view.CookieOnlyCalls, 480);  // lines 0..479, once each
  view.CookieOnlyCalls = 0;
  view.m_nTopLine = 490;
  Paint();
  EXPECT_EQ(view.CookieOnlyCalls, 4);  // 486..489; the painted lines stored theirs
  view.CookieOnlyCalls = 0;
  Paint();
  EXPECT_EQ(view.CookieOnlyCalls, 0);
}

TEST_F(Render, CaretFollowsTheCursorWhileFocused) {
  Open({"abc", "\tdef"});
  view.m_ptCursorPos = CPoint(1, 1);
  view.UpdateCaret();
  EXPECT_FALSE(window.caret.visible);  // no focus
  view.m_bFocused = true;
  view.UpdateCaret();
  EXPECT_TRUE(window.caret.visible);
  EXPECT_EQ(window.caret.size, CSize(2, kLh));
  EXPECT_EQ(window.caret.pos, CPoint(kLeft + 3 * kCw, kLh));
  // Scrolled out to the left: hidden; above the window: placed above the client area.
  view.m_nOffsetChar = 4;
  view.UpdateCaret();
  EXPECT_FALSE(window.caret.visible);
  view.m_nOffsetChar = 0;
  view.m_nTopLine = 1;
  view.m_ptCursorPos = CPoint(0, 0);
  view.UpdateCaret();
  EXPECT_TRUE(window.caret.visible);
  EXPECT_EQ(window.caret.pos.y, -kLh);
}

// The margin art: the headless drawing surface itself is exercised by every paint above,
// opaque drawing over drawing and block copies of each line drawn off screen.
TEST(MarginArt, FourteenDistinctGlyphsWithTransparentWhite) {
  const PixelImage& strip = MarginGlyphStrip();
  EXPECT_EQ(strip.width, 14 * 16);
  EXPECT_EQ(strip.height, 16);
  std::set<std::string> glyphs;
  for (int i = 0; i < MARGIN_GLYPH_COUNT; ++i) {
    const std::string art = ImageToText(strip, CRect(i * 16, 0, i * 16 + 16, 16));
    EXPECT_NE(art.find_first_not_of(".\n"), std::string::npos) << i;  // not blank
    EXPECT_EQ(art.find(' '), std::string::npos) << i;  // only palette colours
    glyphs.insert(art);
  }
  EXPECT_EQ(glyphs.size(), 14u);
  // The corners stay transparent so the margin shows through.
  EXPECT_EQ(strip.At(0, 0), MARGIN_GLYPH_TRANSPARENT);
}

}  // namespace
}  // namespace quill
