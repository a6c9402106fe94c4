#include <gtest/gtest.h>

#include "view_fixture.h"

namespace quill {
namespace {

using testing::Fill;
using testing::Insert;
using testing::ProbeView;

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
  return lines;
}

// A probe view on a buffer of the given lines, in a 400 x 160 window if asked.
class ViewState : public ::testing::Test {
 protected:
  void Open(const std::vector<std::string>& lines, bool inWindow = false) {
    Fill(buffer, lines);
    if (inWindow) view.BindWindow(&window);
    view.AttachToBuffer(&buffer);
  }
  void TearDown() override {
    view.DetachFromBuffer();
    view.BindWindow(nullptr);
  }
  QuillTextBuffer buffer;
  HeadlessWindow window{CSize(400, 160)};
  ProbeView view;
};

TEST_F(ViewState, OneLineEditKeepsTheCookiesAboveAndOtherLengths) {
  Open(Numbered(100));
  view.GetParseCookie(99);
  for (int i = 0; i < 100; ++i) view.GetLineActualLength(i);

  Insert(buffer, 10, 0, "zz");  // one line changed

  for (int i = 0; i < 10; ++i) EXPECT_EQ(view.CachedCookie(i), 6) << i;
  for (int i = 10; i < 100; ++i) EXPECT_EQ(view.CachedCookie(i), -1) << i;
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(view.CachedLength(i), i == 10 ? -1 : (i < 10 ? 6 : 7)) << i;
  }
  // Recomputing parses only the changed line and those below.
  view.ParseCalls = 0;
  EXPECT_EQ(view.GetParseCookie(99), 7u);
  EXPECT_EQ(view.ParseCalls, 90);
  EXPECT_EQ(view.GetLineActualLength(10), 9);
}

TEST_F(ViewState, LineCountChangeResizesTheCachesFromTheChangedLine) {
  Open(Numbered(20));
  view.GetParseCookie(19);
  for (int i = 0; i < 20; ++i) view.GetLineActualLength(i);

  Insert(buffer, 5, 2, "a\r\nb\r\nc");  // two lines more
  EXPECT_EQ(view.CookieCacheSize(), 20);  // no room made for cookies not computed
  for (int i = 0; i < 5; ++i) EXPECT_EQ(view.CachedCookie(i), 6);
  for (int i = 5; i < 22; ++i) EXPECT_EQ(view.CachedCookie(i), -1);
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
  Open({"aaaa", "bb", "cccccc"});
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
  Open(Numbered(30));
  view.m_ptCursorPos = CPoint(4, 12);
  view.m_ptAnchor = CPoint(0, 12);
  view.Select(CPoint(0, 12), CPoint(4, 12));
  view.m_nTopLine = 10;

  Insert(buffer, 2, 0, "x\r\ny\r\n");
  EXPECT_EQ(view.m_ptCursorPos, CPoint(4, 14));
  EXPECT_EQ(view.m_ptAnchor, CPoint(0, 14));
  EXPECT_EQ(view.m_ptSelStart, CPoint(0, 14));
  EXPECT_EQ(view.m_ptSelEnd, CPoint(4, 14));
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
  Open(Numbered(30));
  view.m_ptCursorPos = CPoint(3, 7);
  view.m_nTopLine = 5;
  view.m_bOvrMode = true;
  view.m_bHasBookmarks = true;
  view.m_bShowInactiveSelection = true;
  view.m_nIdealCharPos = 9;
  view.GetParseCookie(3);
  buffer.SetReadOnly(0);  // sends a reset
  EXPECT_EQ(view.m_ptCursorPos, CPoint(0, 0));
  EXPECT_EQ(view.m_nTopLine, 0);
  EXPECT_FALSE(view.m_bOvrMode);
  EXPECT_TRUE(view.GetAutoIndent());
  EXPECT_FALSE(view.m_bHasBookmarks);
  EXPECT_FALSE(view.m_bShowInactiveSelection);
  EXPECT_EQ(view.m_nIdealCharPos, -1);
  EXPECT_EQ(view.CookieCacheSize(), 0);
}

TEST_F(ViewState, RowsFromTheChangedLineDownAreInvalidated) {
  Open(Numbered(30), true);
  view.m_nTopLine = 2;
  window.ClearRecord();
  Insert(buffer, 5, 1, "q");
  ASSERT_FALSE(window.invalidations.empty());
  EXPECT_EQ(window.invalidations[0].rect, CRect(0, 48, 400, 160));
  EXPECT_FALSE(window.invalidations[0].erase);

  view.InvalidateLines(7, 4);
  EXPECT_EQ(window.invalidations.back().rect, CRect(0, 32, 400, 96));
}

TEST(ViewAttach, AttachingJoinsTheBuffersViewsAndSetsScrollBars) {
  QuillTextBuffer buffer;
  Fill(buffer, Numbered(30));
  ProbeView first;
  ProbeView second;
  HeadlessWindow window(CSize(400, 160));  // 10 lines, 47 columns
  window.AddScrollBarCtrl(SB_VERT);
  window.AddScrollBarCtrl(SB_HORZ);
  second.BindWindow(&window);
  first.AttachToBuffer(&buffer);
  second.AttachToBuffer(&buffer);
  EXPECT_EQ(window.GetScrollBarCtrl(SB_VERT)->arrows, ESB_ENABLE_BOTH);
  EXPECT_EQ(window.GetScrollBarCtrl(SB_HORZ)->arrows, ESB_DISABLE_BOTH);
  const SCROLLINFO& v = window.scrollInfo[SB_VERT];
  EXPECT_EQ(v.nMax, 29);
  EXPECT_EQ(v.nPage, 10u);
  EXPECT_TRUE(v.fMask & SIF_DISABLENOSCROLL);
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 6);

  // Both views hear an edit; a detached one no longer does.
  first.m_ptCursorPos = second.m_ptCursorPos = CPoint(0, 3);
  Insert(buffer, 0, 0, "\r\n");
  EXPECT_EQ(first.m_ptCursorPos.y, 4);
  EXPECT_EQ(second.m_ptCursorPos.y, 4);
  first.DetachFromBuffer();
  EXPECT_EQ(first.GetLineCount(), 1);
  Insert(buffer, 0, 0, "\r\n");
  EXPECT_EQ(second.m_ptCursorPos.y, 5);
  second.DetachFromBuffer();
  second.BindWindow(nullptr);
}

TEST(ViewLifecycle, InitialUpdateMarksReadOnlyTitlesAndFollowsSplitterPanes) {
  CDocument doc;
  doc.SetTitle("deck.sp");
  QuillTextBuffer buffer(&doc);
  std::vector<std::string> lines = Numbered(50);
  for (auto& line : lines) line += std::string(100, '-');
  Fill(buffer, lines);
  buffer.SetReadOnly(1);

  class DocView : public ProbeView {
   public:
    explicit DocView(QuillTextBuffer* b) : m_buffer(b) {}
    QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }
    QuillTextBuffer* m_buffer;
  };
  HeadlessSplitter splitter;
  DocView topLeft(&buffer);
  DocView bottomRight(&buffer);
  HeadlessWindow w1(CSize(400, 160));
  HeadlessWindow w2(CSize(400, 160));
  w1.SetSplitter(&splitter, 0, 0);
  w2.SetSplitter(&splitter, 1, 1);
  splitter.SetPane(0, 0, &topLeft);
  splitter.SetPane(1, 1, &bottomRight);
  splitter.SetPane(0, 1, &topLeft);  // the pane above shares its horizontal offset
  splitter.SetPane(1, 0, &topLeft);  // the pane left shares its top line
  for (auto* v : {&topLeft, &bottomRight}) v->SetDocument(&doc);
  topLeft.BindWindow(&w1);
  bottomRight.BindWindow(&w2);
  topLeft.OnInitialUpdate();
  topLeft.m_nTopLine = 7;
  topLeft.m_nOffsetChar = 2;
  bottomRight.OnInitialUpdate();
  EXPECT_EQ(bottomRight.m_nTopLine, 7);
  EXPECT_EQ(bottomRight.m_nOffsetChar, 2);
  EXPECT_EQ(doc.GetTitle(), "deck.sp (Read-Only)");
  EXPECT_TRUE(w2.invalidations.back().all);  // SetFont repaints

  topLeft.OnDestroy();
  bottomRight.OnDestroy();
  EXPECT_EQ(topLeft.GetWindow(), nullptr);
  EXPECT_EQ(topLeft.GetLineCount(), 1);
}

TEST_F(ViewState, SizeAndFontChangesRemeasure) {
  Open(Numbered(5), true);
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
  window.ClearRecord();
  view.OnSysColorChange();
  ASSERT_EQ(window.invalidations.size(), 1u);
  EXPECT_TRUE(window.invalidations[0].erase);
}

}  // namespace
}  // namespace quill
