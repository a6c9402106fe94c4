#include <gtest/gtest.h>

#include <cstring>

#include "clike_view.h"
#include "platform/display.h"
#include "settings/store.h"

namespace quill {
namespace {

using testing::CLikeView;
using testing::Fill;
using namespace testing::colors;

class StyledView : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallMemorySettingsStore();
    Fill(buffer, {"a\tbc", "x"});
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.OnInitialUpdate();
  }
  void TearDown() override { view.OnDestroy(); }
  QuillTextBuffer buffer;
  CLikeView view{&buffer};
  HeadlessWindow window{CSize(400, 160)};
};

TEST_F(StyledView, ColourIndexesMapToTheStylesColours) {
  TDocumentStyle* style = view.GetTextStyle();
  ASSERT_NE(style, nullptr);
  style->SetDefaultColor(RGB(1, 2, 3), 0, 0);
  EXPECT_EQ(view.GetColor(0), RGB(1, 2, 3));
  EXPECT_EQ(view.GetColor(1), RGB(1, 2, 3));
  EXPECT_EQ(view.GetColor(17), RGB(1, 2, 3));
  EXPECT_EQ(view.GetColor(2), kBlack);
  EXPECT_EQ(view.GetColor(3), RGB(230, 230, 230));
  EXPECT_EQ(view.GetColor(4), kBlack);
  EXPECT_EQ(view.GetColor(5), kWhite);
  EXPECT_EQ(view.GetColor(6), kComment);
  EXPECT_EQ(view.GetColor(7), kNumber);
  EXPECT_EQ(view.GetColor(9), kString);
  EXPECT_EQ(view.GetColor(10), kPreproc);
  EXPECT_EQ(view.GetColor(23), kCommentBk);
  EXPECT_EQ(view.GetColor(24), kNumberBk);
  EXPECT_EQ(view.GetColor(27), kPreprocBk);
  EXPECT_EQ(view.GetColor(11), kString);   // any other small index
  EXPECT_EQ(view.GetColor(256), kKeyword);
  EXPECT_EQ(view.GetColor(512), kKeywordBk);
  EXPECT_EQ(view.GetColor(900), kString);
  // An unknown keyword section falls back to the default colours.
  EXPECT_EQ(view.GetColor(300), kBlack);
}

TEST_F(StyledView, ResetTakesTabSizeAndFontFromTheStyle) {
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

TEST_F(StyledView, StatusColumnUsesTheStylesTabSize) {
  view.SetTabSize(2);
  EXPECT_EQ(view.CalculateActualOffset(0, 2), 2);
  EXPECT_EQ(view.GetColumnPos(CPoint(2, 0)), 4);
  EXPECT_EQ(view.GetColumnPos(CPoint(0, 0)), 0);
  EXPECT_EQ(view.GetColumnPos(CPoint(9, 0)), 6);  // beyond the line: its end
}

TEST(StyledViewLifetime, AChangedStyleIsSavedWhenTheViewGoes) {
  InstallMemorySettingsStore();
  {
    QuillTextBuffer buffer;
    Fill(buffer, {"x"});
    CLikeView view(&buffer);
    HeadlessWindow window;
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.GetTextStyle()->SetTabSize(6);
    view.GetTextStyle()->SetModified(true);
    view.OnDestroy();
  }
  TDocumentStyle fresh(DOCTYPE_CPP, "CPP");
  fresh.GetFromRegistry();
  EXPECT_EQ(fresh.GetTabSize(), 6);
}

TEST(StyledViewLifetime, AnUnchangedStyleIsNotSaved) {
  InstallMemorySettingsStore();
  {
    QuillTextBuffer buffer;
    Fill(buffer, {"x"});
    CLikeView view(&buffer);
    HeadlessWindow window;
    ASSERT_EQ(view.OnCreate(&window), 0);
    view.GetTextStyle()->SetTabSize(6);
    view.OnDestroy();
  }
  TDocumentStyle fresh(DOCTYPE_CPP, "CPP");
  const int defaultTab = fresh.GetTabSize();
  fresh.GetFromRegistry();
  EXPECT_EQ(fresh.GetTabSize(), defaultTab);
}

}  // namespace
}  // namespace quill
