// The view's state: its caches of cookies and lengths, positions that follow edits, a
// reset, invalidation, attaching and remeasuring; and what it takes from its style.

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "input_fixture.h"
#include "platform/display.h"

namespace quill {
namespace {

using testing::Insert;

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

using ViewState = testing::ProbeTest<>;

// Cookies are dropped from the changed line down, lengths of the changed lines only.
TEST_F(ViewState, EditsKeepTheCookiesAboveAndOtherLengths) {
  Open(Numbered(20), false);
  view.GetParseCookie(19);
  for (int i = 0; i < 20; ++i) view.GetLineActualLength(i);

  Insert(buffer, 10, 0, "zz");  // one line changed
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(view.CachedCookie(i), i < 10 ? 6 : -1) << i;
    EXPECT_EQ(view.CachedLength(i), i == 10 ? -1 : (i < 10 ? 6 : 7)) << i;
  }
  // Recomputing parses only the changed line and those below.
  view.ParseCalls = 0;
  EXPECT_EQ(view.GetParseCookie(19), 7u);
  EXPECT_EQ(view.ParseCalls, 10);
  EXPECT_EQ(view.GetLineActualLength(10), 9);

  Insert(buffer, 5, 2, "a\r\nb\r\nc");  // two lines more
  EXPECT_EQ(view.CookieCacheSize(), 20);  // no room made for cookies not computed
  for (int i = 0; i < 22; ++i) EXPECT_EQ(view.CachedCookie(i), i < 5 ? 6 : -1) << i;
  EXPECT_EQ(view.CachedLength(4), 6);
  EXPECT_EQ(view.CachedLength(5), -1);
  buffer.DeleteText(nullptr, 0, 0, 10, 0);
  EXPECT_EQ(view.CookieCacheSize(), 12);
  EXPECT_EQ(view.CachedCookie(0), -1);
}

TEST_F(ViewState, CookieCacheReachesOnlyAsFarAsCookiesWereComputed) {
  Open(Numbered(1000));
  EXPECT_EQ(view.GetParseCookie(9), 6u);
  EXPECT_EQ(view.CookieCacheSize(), 10);
  Insert(buffer, 500, 0, "x");  // below the known cookies: they stay
  EXPECT_EQ(view.CachedCookie(9), 6);
  Insert(buffer, 9, 0, "ab");  // on the last known one
  EXPECT_EQ(view.CachedCookie(8), 6);
  EXPECT_EQ(view.CachedCookie(9), -1);
  EXPECT_EQ(view.GetParseCookie(9), 8u);
  Insert(buffer, 3, 0, "abc");  // above it
  EXPECT_EQ(view.CachedCookie(3), -1);
  EXPECT_EQ(view.GetParseCookie(500), 9u);
  EXPECT_EQ(view.CachedCookie(3), 9);
  EXPECT_EQ(view.CookieCacheSize(), 501);
}

TEST_F(ViewState, LongestLineFollowsOneLineEdits) {
  Open({"aaaa", "bb", "cccccc"}, false);
  EXPECT_EQ(view.GetMaxLineLength(), 6);
  buffer.DeleteText(nullptr, 2, 0, 2, 3);  // the longest line shrinks: the next one counts
  EXPECT_EQ(view.GetMaxLineLength(), 4);
  Insert(buffer, 1, 0, "\t12");  // 3 + 2 + 2 columns
  EXPECT_EQ(view.GetMaxLineLength(), 7);
  Insert(buffer, 0, 0, "x");
  EXPECT_EQ(view.GetMaxLineLength(), 7);
  buffer.DeleteText(nullptr, 1, 0, 1, 1);  // the only longest line shrinks again
  EXPECT_EQ(view.GetMaxLineLength(), 5);
  Insert(buffer, 2, 3, "\r\n0123456789");
  EXPECT_EQ(view.GetMaxLineLength(), 10);
}

TEST_F(ViewState, EditsMoveCursorSelectionAnchorAndTopLine) {
  Open(Numbered(30), false);
  view.m_ptCursorPos = CPoint(4, 12);
  view.m_ptAnchor = CPoint(0, 12);
  view.Select(CPoint(0, 12), CPoint(4, 12));
  view.m_nTopLine = 10;

  Insert(buffer, 2, 0, "x\r\ny\r\n");
  // The cursor, the anchor and the selection's ends.
  EXPECT_EQ((std::vector{view.m_ptCursorPos, view.m_ptAnchor, view.m_ptSelStart, view.m_ptSelEnd}),
            (std::vector<CPoint>{{4, 14}, {0, 14}, {0, 14}, {4, 14}}));
  EXPECT_EQ(view.m_nTopLine, 12);

  // Remembered positions follow only while their flag is set.
  view.m_ptSavedSelStart = CPoint(1, 20);
  buffer.DeleteText(nullptr, 0, 0, 1, 0);
  EXPECT_EQ(view.m_ptSavedSelStart, CPoint(1, 20));
  view.m_bSelectionPushed = true;
  buffer.DeleteText(nullptr, 0, 0, 1, 0);
  EXPECT_EQ(view.m_ptSavedSelStart, CPoint(1, 19));
}

TEST_F(ViewState, ResetReturnsToAFreshView) {
  Open(Numbered(30), false);
  view.m_bOvrMode = view.m_bHasBookmarks = view.m_bShowInactiveSelection = true;
  view.m_nIdealCharPos = 9;
  view.GetParseCookie(3);
  buffer.SetReadOnly(0);  // sends a reset
  EXPECT_FALSE(view.m_bOvrMode || view.m_bHasBookmarks || view.m_bShowInactiveSelection);
  EXPECT_EQ(view.m_nIdealCharPos, -1);
  EXPECT_EQ(view.CookieCacheSize(), 0);
}

TEST_F(ViewState, RowsFromTheChangedLineDownAreInvalidated) {
  Open(Numbered(30));
  view.m_nTopLine = 2;
  window.ClearRecord();
  Insert(buffer, 5, 1, "q");
  ASSERT_FALSE(window.invalidations.empty());
  EXPECT_EQ(window.invalidations[0].rect, CRect(0, 48, 400, 160));

  view.InvalidateLines(7, 4);
  EXPECT_EQ(window.invalidations.back().rect, CRect(0, 32, 400, 96));
}

TEST_F(ViewState, AttachingJoinsTheBuffersViewsAndSetsScrollBars) {
  for (int bar : {SB_VERT, SB_HORZ}) window.AddScrollBarCtrl(bar);
  Open(Numbered(30));  // 10 lines, 47 columns
  testing::ProbeView other;
  other.AttachToBuffer(&buffer);
  EXPECT_EQ(window.GetScrollBarCtrl(SB_VERT)->arrows, ESB_ENABLE_BOTH);
  EXPECT_EQ(window.GetScrollBarCtrl(SB_HORZ)->arrows, ESB_DISABLE_BOTH);
  const SCROLLINFO& v = window.scrollInfo[SB_VERT];
  EXPECT_EQ(v.nMax, 29);
  EXPECT_TRUE(v.fMask & SIF_DISABLENOSCROLL);

  // Both views hear an edit; a detached one no longer does.
  other.m_ptCursorPos = view.m_ptCursorPos = CPoint(0, 3);
  Insert(buffer, 0, 0, "\r\n");
  EXPECT_EQ(other.m_ptCursorPos.y, 4);
  EXPECT_EQ(view.m_ptCursorPos.y, 4);
  other.DetachFromBuffer();
  EXPECT_EQ(other.GetLineCount(), 1);
  Insert(buffer, 0, 0, "\r\n");
  EXPECT_EQ(view.m_ptCursorPos.y, 5);
}

TEST_F(ViewState, SizeAndFontChangesRemeasure) {
  Open(Numbered(5));
  EXPECT_EQ(view.GetScreenLines(), 10);
  window.SetClientSize(CSize(400, 320));
  EXPECT_EQ(view.GetScreenLines(), 10);  // cached until the size message
  view.OnSize(0, 400, 320);
  EXPECT_EQ(view.GetScreenLines(), 20);
  LOGFONT big;
  big.lfHeight = -26;  // 32-pixel cells
  view.SetFont(big);
  EXPECT_EQ(view.GetLineHeight(), 32);
  EXPECT_EQ(view.GetCharWidth(), 16);
  EXPECT_EQ(view.GetScreenLines(), 10);
  EXPECT_EQ(window.scrollInfo[SB_VERT].nPage, 10u);
}

using namespace testing::colors;

class StyledView : public testing::InputTest {
 protected:
  void SetUp() override { Open({"a\tbc", "x"}); }
};

TEST_F(StyledView, ColourIndexesMapToTheStylesColours) {
  TDocumentStyle* style = view.GetTextStyle();
  ASSERT_NE(style, nullptr);
  style->SetDefaultColor(RGB(1, 2, 3), 0, 0);
  // 11 and 900: any other index takes the string colour; 300: an unknown keyword section
  // falls back to the default text colour.
  const std::pair<int, COLORREF> expected[] = {
      {0, RGB(1, 2, 3)}, {1, RGB(1, 2, 3)}, {17, RGB(1, 2, 3)}, {2, kBlack},
      {3, RGB(230, 230, 230)}, {4, kBlack}, {5, kWhite}, {6, kComment}, {7, kNumber},
      {9, kString}, {10, kPreproc}, {23, kCommentBk}, {24, kNumberBk}, {27, kPreprocBk},
      {11, kString}, {256, kKeyword}, {512, kKeywordBk}, {900, kString}, {300, kBlack}};
  for (const auto& [index, color] : expected) EXPECT_EQ(view.GetColor(index), color) << index;
}

TEST_F(StyledView, ResetTakesTabSizeAndFontFromTheStyle) {
  // Unfocused: no caret update creates a font variant, which would set the weight.
  view.OnKillFocus(nullptr);
  EXPECT_EQ(view.GetTabSize(), 4);
  view.SetTabSize(8);
  LOGFONT styleFont;
  view.GetTextStyle()->GetFont(styleFont);
  styleFont.lfHeight = -20;
  styleFont.lfWidth = 7;
  styleFont.lfUnderline = 1;
  styleFont.lfWeight = FW_BOLD;
  std::strcpy(styleFont.lfFaceName, "DejaVu Sans Mono");
  view.GetTextStyle()->SetFont(styleFont);
  view.ResetView();
  EXPECT_EQ(view.GetTabSize(), 4);
  LOGFONT lf;
  view.GetFont(lf);
  // The height and the weight, but neither the width nor the underline.
  EXPECT_EQ(std::tuple(lf.lfHeight, lf.lfWidth, lf.lfUnderline, lf.lfWeight), std::tuple(-20, 0, 0, FW_BOLD));
  EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans Mono");
  // Variants override weight and italic.
  EXPECT_EQ(view.GetFont(0, 0)->GetLogFont().lfWeight, FW_NORMAL);
}

// A view gives up its style when it goes or gets a new window; then the tab size a fresh
// style reads from the store.
TEST_F(StyledView, OnlyAChangedStyleIsSavedWhenTheViewGivesItUp) {
  for (bool modified : {false, true}) {
    view.GetTextStyle()->SetTabSize(6);
    view.GetTextStyle()->SetModified(modified);
    view.OnDestroy();
    ASSERT_EQ(view.OnCreate(&window), 0);
    TDocumentStyle fresh(DOCTYPE_CPP, "CPP");
    fresh.GetFromRegistry();
    EXPECT_EQ(fresh.GetTabSize() == 6, modified);
  }
}

}  // namespace
}  // namespace quill
