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

TEST(Format, GrowsBeyondTheSmallBuffer) {
  EXPECT_EQ(Format("File \"%s\"\n%s", "a.sp", "gone"), "File \"a.sp\"\ngone");
  const std::string big(1000, 'x');
  EXPECT_EQ(Format("<%s>", big.c_str()), "<" + big + ">");
}

}  // namespace
}  // namespace quill
