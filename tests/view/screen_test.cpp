// A whole screen painted by a host-style view: a C-like style, a tab, a keyword, a
// string, a comment, a number, a preprocessor line, a marked line and a selection across
// two lines. Every cell of the recorded screen is checked: its byte and its colours.

#include <gtest/gtest.h>

#include <map>

#include "clike_view.h"
#include "settings/store.h"

namespace quill {
namespace {

using testing::CLikeView;
using testing::Fill;
using namespace testing::colors;

struct Look {
  COLORREF fg;
  COLORREF bk;
  bool text;  // a character cell (else a plain fill)
  int weight;
};

TEST(Screen, EveryCellHasItsByteAndColours) {
  InstallMemorySettingsStore();
  QuillTextBuffer buffer;
  Fill(buffer, {"#include <stdio.h>", "int main(void) {", "\tputs(\"hi\");  // greet",
                "\treturn 0;", "}"});
  buffer.SetLineFlag(3, LINEFLAG_MARK_A, 1, 0);

  CLikeView view(&buffer);
  HeadlessWindow window(CSize(20 + 30 * 8, 7 * 16));
  ASSERT_EQ(view.OnCreate(&window), 0);
  view.OnInitialUpdate();
  view.Focus();
  view.Select(CPoint(4, 1), CPoint(3, 2));

  HeadlessDC& dc = window.Paint(view);

  const std::vector<std::string> text = {
      "#include <stdio.h>",
      "int main(void) {",
      "    puts(\"hi\");  // greet",
      "    return 0;",
      "}",
      "",
      "",
  };
  // P preprocessor, K keyword, N normal, Q string, C comment, S selected, E selected line
  // break, B background; on the marked line w/k/n are white text on the run's background
  // and G the line's green.
  const std::vector<std::string> kinds = {
      "PPPPPPPPPPPPPPPPPPBBBBBBBBBBBB",
      "KKKNSSSSSSSSSSSSEBBBBBBBBBBBBB",
      "SSSSSSNNNQQQQNNNNCCCCCCCCBBBBB",
      "wwwwkkkkkkwnwGGGGGGGGGGGGGGGGG",
      "NBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
      "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
      "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
  };
  const std::map<char, Look> looks = {
      {'P', {kPreproc, kPreprocBk, true, FW_NORMAL}},
      {'K', {kKeyword, kKeywordBk, true, FW_BOLD}},
      {'N', {kBlack, kWhite, true, FW_NORMAL}},
      {'Q', {kString, kWhite, true, FW_NORMAL}},
      {'C', {kComment, kCommentBk, true, FW_NORMAL}},
      {'S', {kWhite, kBlack, true, FW_NORMAL}},
      {'E', {0, kBlack, false, 0}},
      {'B', {0, kWhite, false, 0}},
      {'w', {kWhite, kWhite, true, FW_NORMAL}},
      {'k', {kWhite, kKeywordBk, true, FW_BOLD}},
      {'n', {kWhite, kNumberBk, true, FW_NORMAL}},
      {'G', {0, RGB(0, 128, 0), false, 0}},
  };

  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 30; ++col) {
      const CellInfo cell = dc.At(20 + col * 8 + 4, row * 16 + 8);
      const Look& look = looks.at(kinds[row][col]);
      SCOPED_TRACE(::testing::Message() << "row " << row << " column " << col);
      ASSERT_TRUE(cell.covered);
      EXPECT_EQ(cell.bkColor, look.bk);
      if (look.text) {
        ASSERT_EQ(cell.kind, DrawOp::Text);
        const char expected = col < static_cast<int>(text[row].size()) ? text[row][col] : ' ';
        EXPECT_EQ(cell.ch, expected);
        EXPECT_EQ(cell.textColor, look.fg);
        EXPECT_EQ(cell.weight, look.weight);
        EXPECT_FALSE(cell.italic);
      } else {
        EXPECT_EQ(cell.kind, DrawOp::Fill);
      }
    }
    // The margin: its grey, and the arrow on the marked line only.
    const CellInfo margin = dc.At(2 + 8, row * 16 + 8);
    EXPECT_EQ(margin.bkColor, RGB(230, 230, 230));
    EXPECT_EQ(margin.image, row == 3 ? 0 : -1) << row;
  }
  view.OnDestroy();
}

}  // namespace
}  // namespace quill
