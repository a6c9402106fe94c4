// A whole screen painted by a host-style view: a C-like style, a tab, a keyword, a
// string, a comment, a number, a preprocessor line, a marked line and a selection across
// two lines. Every cell of the recorded screen is checked: its byte and its colours.

#include <gtest/gtest.h>

#include <map>

#include "settings/store.h"
#include "style/document_style.h"
#include "view_fixture.h"

namespace quill {
namespace {

using testing::Fill;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kKeyword = RGB(0, 0, 255);
constexpr COLORREF kKeywordBk = RGB(255, 255, 224);
constexpr COLORREF kComment = RGB(0, 128, 0);
constexpr COLORREF kCommentBk = RGB(240, 255, 240);
constexpr COLORREF kString = RGB(163, 21, 21);
constexpr COLORREF kNumber = RGB(9, 134, 88);
constexpr COLORREF kNumberBk = RGB(250, 250, 250);
constexpr COLORREF kPreproc = RGB(128, 0, 128);
constexpr COLORREF kPreprocBk = RGB(255, 240, 255);

// What a host writes: a style for its language and ParseLine forwarding to it.
class CLikeView : public QuillView {
 public:
  explicit CLikeView(QuillTextBuffer* buffer) : m_buffer(buffer) {}

  TDocumentStyle* CreateStyle() override {
    auto* style = new TDocumentStyle(DOCTYPE_CPP, "CPP");
    style->SetCommentsDelims("/*", "*/");
    style->SetSingleCommentsDelims("//", 0);
    style->SetStringDelims("\"", "\"");
    style->SetCharDelims("'", "'");
    style->SetStringEsc('\\');
    style->SetCharEsc('\\');
    style->SetPreprocChar('#');
    const unsigned long colors[4] = {kKeywordBk, kKeyword, kBlack, kWhite};
    style->InitKeywordSection("Keywords", colors, nullptr, false);
    style->AddKeyword("int", "Keywords");
    style->AddKeyword("return", "Keywords");
    style->GetFromRegistry();
    style->SetTabSize(4);
    style->SetDefaultColor(kBlack, 1, 0);
    style->SetDefaultColor(kWhite, 0, 0);
    style->SetCommentsColor(kComment, 1, 0);
    style->SetCommentsColor(kCommentBk, 0, 0);
    style->SetStringColor(kString, 1, 0);
    style->SetStringColor(kWhite, 0, 0);
    style->SetNumbersColor(kNumber, 1, 0);
    style->SetNumbersColor(kNumberBk, 0, 0);
    style->SetPreprocessorColor(kPreproc, 1, 0);
    style->SetPreprocessorColor(kPreprocBk, 0, 0);
    return style;
  }
  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* buf, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, buf, count);
  }
  QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
  int GetBold(int index) override { return index >= 256 && index < 512; }

  void Focus() { m_bFocused = true; }
  void Select(CPoint start, CPoint end) {
    m_ptSelStart = start;
    m_ptSelEnd = end;
  }

 private:
  QuillTextBuffer* m_buffer;
};

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
  EXPECT_EQ(view.GetTabSize(), 4);
  LOGFONT lf;
  view.GetFont(lf);
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
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
