#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "input_fixture.h"
#include "platform/display.h"

namespace quill {
namespace {

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
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
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
