#include <gtest/gtest.h>

#include <cstring>

#include "platform/exceptions.h"
#include "view_fixture.h"

namespace quill {
namespace {

using testing::Fill;
using testing::ProbeView;

class Geometry : public ::testing::Test {
 protected:
  void SetUp() override {
    Fill(buffer, {"a\tb", "", "x y\tz", "\t\t"});
    view.AttachToBuffer(&buffer);
    view.SetTabSize(4);
  }
  QuillTextBuffer buffer;
  ProbeView view;
};

TEST_F(Geometry, TabAdvancesToTheNextStop) {
  EXPECT_EQ(view.GetLineActualLength(0), 5);
  const int expected[] = {0, 1, 4, 5};
  for (int pos = 0; pos <= 3; ++pos) EXPECT_EQ(view.CalculateActualOffset(0, pos), expected[pos]);
  EXPECT_EQ(view.CalculateActualOffset(0, -3), 0);
  EXPECT_EQ(view.GetLineActualLength(3), 8);
  EXPECT_EQ(view.GetMaxLineLength(), 8);
}

TEST_F(Geometry, ColumnInsideATabSnapsToTheNearerSide) {
  const int column[] = {0, 1, 2, 3, 4, 5, 40};
  const int expected[] = {0, 1, 1, 2, 2, 3, 3};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view.ApproxActualOffset(0, column[i]), expected[i]) << i;
  EXPECT_EQ(view.ApproxActualOffset(1, 7), 0);
}

TEST_F(Geometry, ExpansionShowsTabsAndSpacesOnlyWhenAsked) {
  std::string out;
  view.ExpandChars(view.GetLineChars(0), 0, 3, out);
  EXPECT_EQ(out, "a   b");
  view.SetViewTabs(1);
  view.ExpandChars(view.GetLineChars(0), 0, 3, out);
  EXPECT_EQ(out, std::string("a\xBB  b"));
  view.ExpandChars(view.GetLineChars(2), 0, 5, out);
  EXPECT_EQ(out, std::string("x\x95y\xBBz"));
  // A run that starts mid-line expands from that column.
  view.SetViewTabs(0);
  view.ExpandChars(view.GetLineChars(2), 3, 2, out);
  EXPECT_EQ(out, " z");
  view.ExpandChars(view.GetLineChars(2), 1, 0, out);
  EXPECT_EQ(out, "");
}

TEST_F(Geometry, TabSizeChangeDropsLengthsOnlyWhenItDiffers) {
  HeadlessWindow window(CSize(400, 160));
  view.BindWindow(&window);
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
  view.BindWindow(nullptr);
}

TEST_F(Geometry, ClientAndTextPointsMapBothWays) {
  HeadlessWindow window(CSize(420, 160));  // cells of 8 x 16, margin 20
  view.BindWindow(&window);
  EXPECT_EQ(view.GetLineHeight(), 16);
  EXPECT_EQ(view.GetCharWidth(), 8);
  EXPECT_EQ(view.GetScreenLines(), 10);
  EXPECT_EQ(view.GetScreenChars(), 50);

  EXPECT_EQ(view.TextToClient(CPoint(2, 0)), CPoint(20 + 4 * 8, 0));
  EXPECT_EQ(view.TextToClient(CPoint(1, 2)), CPoint(28, 32));
  // Columns 1..3 of line 0 are inside the tab: the tab character.
  EXPECT_EQ(view.ClientToText(CPoint(20 + 2 * 8 + 3, 5)), CPoint(1, 0));
  EXPECT_EQ(view.ClientToText(CPoint(20 + 4 * 8, 5)), CPoint(2, 0));
  EXPECT_EQ(view.ClientToText(CPoint(400, 5)), CPoint(3, 0));
  EXPECT_EQ(view.ClientToText(CPoint(100, 16 + 3)), CPoint(0, 1));  // empty line
  EXPECT_EQ(view.ClientToText(CPoint(30, 1000)), CPoint(0, 3));     // below the text

  // Left of the text area: the first visible column.
  view.m_nOffsetChar = 2;
  EXPECT_EQ(view.ClientToText(CPoint(3, 2 * 16)), CPoint(2, 2));
  view.m_nOffsetChar = 0;
  EXPECT_EQ(view.ClientToText(CPoint(3, 2 * 16)), CPoint(0, 2));

  CPoint p(30, 0);
  view.AdjustTextPoint(p);
  EXPECT_EQ(p.x, 34);
  view.BindWindow(nullptr);
}

TEST_F(Geometry, LineAccessorsRejectLinesOutsideTheBuffer) {
  EXPECT_THROW(view.GetLineLength(4), InvalidArgException);
  EXPECT_THROW(view.GetLineChars(-1), InvalidArgException);
  EXPECT_THROW(view.GetLineFlags(99), InvalidArgException);
}

TEST_F(Geometry, GetTextUsesTheBuffersLineBreaks) {
  std::string text;
  view.GetText(CPoint(2, 0), CPoint(1, 2), text);
  EXPECT_EQ(text, "b\r\n\r\nx");
  buffer.SetCRLFMode(CRLF_MODE_UNIX);
  view.GetText(CPoint(2, 0), CPoint(1, 2), text);
  EXPECT_EQ(text, "b\n\nx");
}

TEST(Fonts, VariantsTakeWeightAndItalicFromTheirSlot) {
  ProbeView view;
  LOGFONT lf;
  lf.lfHeight = -13;
  std::strcpy(lf.lfFaceName, "Courier New");
  view.SetFont(lf);
  const CFont* bold = view.GetFont(0, 1);
  const CFont* italic = view.GetFont(1, 0);
  const CFont* both = view.GetFont(1, 1);
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->GetLogFont().lfWeight, FW_BOLD);
  EXPECT_EQ(bold->GetLogFont().lfItalic, 0);
  EXPECT_EQ(italic->GetLogFont().lfWeight, FW_NORMAL);
  EXPECT_EQ(italic->GetLogFont().lfItalic, 1);
  EXPECT_EQ(both->GetLogFont().lfWeight, FW_BOLD);
  EXPECT_STREQ(both->GetLogFont().lfFaceName, "Courier New");
  EXPECT_EQ(view.GetFont(0, 1), bold);  // kept until the font changes

  // A font that cannot be created falls back to the window's font.
  HeadlessWindow window;
  view.BindWindow(&window);
  std::memset(lf.lfFaceName, 'x', sizeof lf.lfFaceName);
  view.SetFont(lf);
  EXPECT_EQ(view.GetFont(0, 0), window.GetFont());
  EXPECT_EQ(view.GetLineHeight(), 16);  // measured with the window's font
  view.BindWindow(nullptr);
}

}  // namespace
}  // namespace quill
