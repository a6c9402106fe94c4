#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "platform/exceptions.h"
#include "platform/headless/headless_app_services.h"
#include "view_fixture.h"

namespace quill {
namespace {

// Lines with tabs in a 50-column window.
class Geometry : public testing::ProbeTest<> {
 protected:
  void SetUp() override {
    window.SetClientSize(CSize(420, 160));
    Open({"a\tb", "", "x y\tz", "\t\t"});
    view.SetTabSize(4);
  }
};

// A run that starts mid-line expands from that column.
TEST_F(Geometry, ExpansionShowsTabsAndSpacesOnlyWhenAsked) {
  // (line, start, length, view tabs, expansion)
  const std::tuple<int, int, int, int, std::string> cases[] = {
      {0, 0, 3, 0, "a   b"}, {0, 0, 3, 1, "a\xBB  b"}, {2, 0, 5, 1, "x\x95y\xBBz"},
      {2, 3, 2, 0, " z"},      {2, 1, 0, 0, ""}};
  for (const auto& [line, start, length, tabs, expansion] : cases) {
    view.SetViewTabs(tabs);
    std::string out;
    view.ExpandChars(view.GetLineChars(line), start, length, out);
    EXPECT_EQ(out, expansion) << line << ":" << start << " tabs " << tabs;
  }
}

TEST_F(Geometry, TabSizeChangeDropsLengthsOnlyWhenItDiffers) {
  EXPECT_EQ(view.GetLineActualLength(0), 5);
  window.ClearRecord();
  view.SetTabSize(4);
  EXPECT_TRUE(window.invalidations.empty());
  EXPECT_EQ(view.CachedLength(0), 5);
  view.SetTabSize(8);
  ASSERT_EQ(window.invalidations.size(), 1u);
  EXPECT_TRUE(window.invalidations[0].all);
  EXPECT_EQ(view.GetLineActualLength(0), 9);
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 15);  // "\t\t" is 16 columns now
}

// A buffer of many lines shows its window before any width beyond the window's lines is
// measured: the bar grows with the lines painted, and takes the exact longest line (and
// keeps no width per line) as soon as a caller asks for it.
TEST(ManyLines, HorizontalBarGrowsWithPaintedLinesUntilTheLongestIsAskedFor) {
  ScopedHeadlessServices services;
  QuillTextBuffer buffer;
  HeadlessWindow window{CSize(420, 160)};  // 50 columns, 10 lines
  testing::ProbeView view;
  std::string text;
  for (int i = 0; i < 140000; ++i)
    text += i == 2 ? "\t\tabc\n" : i == 100000 ? std::string(300, 'w') + "\n" : "ab\n";
  ASSERT_TRUE(buffer.LoadFromBuffer(text.c_str()));
  view.BindWindow(&window);
  view.AttachToBuffer(&buffer);
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 8);  // "\t\tabc" with tabs of 3
  EXPECT_EQ(view.CachedLength(0), -2);

  view.ScrollToLine(99995, true, true);
  window.Paint(view);
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 299);

  testing::Insert(buffer, 7, 0, std::string(400, 'x').c_str());  // out of the window: not seen yet
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 299);
  EXPECT_EQ(view.GetMaxLineLength(), 402);
  EXPECT_EQ(window.scrollInfo[SB_HORZ].nMax, 401);
  view.DetachFromBuffer();
  view.BindWindow(nullptr);
}

// The tab rule itself is checked against a model on long lines; here the edges of lines.
TEST_F(Geometry, EdgesOfLinesMapBothWaysAndTheLinesOutsideAreRefused) {
  EXPECT_EQ(view.CalculateActualOffset(0, -3), 0);
  EXPECT_EQ(view.GetLineActualLength(3), 8);  // nothing but tabs
  EXPECT_EQ(view.GetMaxLineLength(), 8);
  EXPECT_EQ(view.ApproxActualOffset(0, 40), 3);  // beyond the end
  EXPECT_EQ(view.ApproxActualOffset(1, 7), 0);  // an empty line
  EXPECT_EQ(view.GetScreenChars(), 50);
  EXPECT_EQ(view.TextToClient(CPoint(2, 0)), CPoint(20 + 4 * 8, 0));
  EXPECT_EQ(view.TextToClient(CPoint(1, 2)), CPoint(28, 32));
  EXPECT_EQ(view.ClientToText(CPoint(400, 5)), CPoint(3, 0));  // right of the line
  EXPECT_EQ(view.ClientToText(CPoint(100, 16 + 3)), CPoint(0, 1));  // empty line
  EXPECT_EQ(view.ClientToText(CPoint(30, 1000)), CPoint(0, 3));     // below the text

  // Left of the text area: the first visible column.
  view.m_nOffsetChar = 2;
  EXPECT_EQ(view.ClientToText(CPoint(3, 2 * 16)), CPoint(2, 2));

  CPoint p(30, 0);
  view.AdjustTextPoint(p);
  EXPECT_EQ(p.x, 34);

  // Lines outside the buffer are refused; text is copied with the buffer's own breaks
  // (DOS ones are checked by the clipboard tests).
  EXPECT_THROW(view.GetLineLength(4), InvalidArgException);
  EXPECT_THROW(view.GetLineChars(-1), InvalidArgException);
  EXPECT_THROW(view.GetLineFlags(99), InvalidArgException);
  buffer.SetCRLFMode(CRLF_MODE_UNIX);
  std::string text;
  view.GetText(CPoint(2, 0), CPoint(1, 2), text);
  EXPECT_EQ(text, "b\n\nx");
}

TEST_F(Geometry, FontVariantsTakeWeightAndItalicFromTheirSlot) {
  LOGFONT lf;
  lf.lfHeight = -13;
  std::strcpy(lf.lfFaceName, "Courier New");
  view.SetFont(lf);
  const LOGFONT& both = view.GetFont(1, 1)->GetLogFont();
  EXPECT_EQ(both.lfWeight, FW_BOLD);
  EXPECT_EQ(both.lfItalic, 1);
  EXPECT_STREQ(both.lfFaceName, "Courier New");
  EXPECT_EQ(view.GetFont(1, 0)->GetLogFont().lfWeight, FW_NORMAL);
  EXPECT_EQ(view.GetFont(0, 1), view.GetFont(0, 1));  // kept until the font changes

  // A font that cannot be created falls back to the window's font.
  std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);
  view.SetFont(lf);
  EXPECT_EQ(view.GetFont(0, 0), window.GetFont());
  EXPECT_EQ(view.GetLineHeight(), 16);  // measured with the window's font
}

}  // namespace
}  // namespace quill
