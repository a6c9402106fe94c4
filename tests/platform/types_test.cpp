#include <gtest/gtest.h>

#include "quill.h"

namespace quill {
namespace {

TEST(Types, RgbPutsRedInTheLowByte) {
  constexpr COLORREF c = RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x00563412u);
  EXPECT_EQ(GetRValue(c), 0x12);
  EXPECT_EQ(GetGValue(c), 0x34);
  EXPECT_EQ(GetBValue(c), 0x56);
}

TEST(Types, RectIntersectionAndContainment) {
  CRect r;
  EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
  EXPECT_EQ(r, CRect(5, 5, 10, 10));
  EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
  EXPECT_EQ(r, CRect());
  EXPECT_TRUE(CRect(0, 0, 2, 2).PtInRect(CPoint(1, 1)));
  EXPECT_FALSE(CRect(0, 0, 2, 2).PtInRect(CPoint(2, 1)));
}

TEST(Format, GrowsBeyondTheSmallBuffer) {
  EXPECT_EQ(Format("File \"%s\"\n%s", "a.sp", "gone"), "File \"a.sp\"\ngone");
  const std::string big(1000, 'x');
  EXPECT_EQ(Format("<%s>", big.c_str()), "<" + big + ">");
}

TEST(Strings, UnknownIdsLeaveTheTextAsItWas) {
  std::string text = "kept";
  EXPECT_FALSE(LoadString(1, text));
  EXPECT_EQ(text, "kept");
}

}  // namespace
}  // namespace quill
