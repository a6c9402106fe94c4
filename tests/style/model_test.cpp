#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "platform/display.h"
#include "reference_parser.h"
#include "settings/store.h"
#include "style/document_style.h"

namespace quill {
namespace {

class StyleModelTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallMemorySettingsStore(); }
  void TearDown() override { InstallDisplay(nullptr); }
};

TEST_F(StyleModelTest, DefaultColoursAndKeywordColourAddressing) {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(s.GetDefaultColor(0, 1), ~text & 0xFFFFFFu);  // the string kind's colour before
  const unsigned long colors[4] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)};
  s.InitKeywordSection("A", nullptr, nullptr, false);
  s.InitKeywordSection("B", colors, nullptr, true);
  // Foregrounds are addressed from 256, backgrounds from 512.
  EXPECT_EQ(s.GetKeywordColor(257, 1, 0), RGB(2, 0, 0));
  EXPECT_EQ(s.GetKeywordColor(513, 0, 0), RGB(1, 0, 0));
  EXPECT_EQ(s.GetKeywordColor(258, 1, 0), s.GetDefaultColor(1, 0));  // no section 2
  EXPECT_EQ(s.GetKeywordColor(257, 1, 2), s.GetDefaultColor(1, 2));  // no colour slot
  EXPECT_EQ(s.GetKeywordColor("missing", 1, 1), s.GetDefaultColor(1, 0));

  // Backgrounds left at the window colour follow the default background; text colours
  // keep their own.
  s.SetDefaultColor(RGB(1, 2, 3), 0, 0);
  EXPECT_EQ(s.GetStringColor(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(s.GetKeywordColor("A", 0, 0), RGB(1, 2, 3));
  EXPECT_EQ(s.GetStringColor(1, 0), text);
}

TEST_F(StyleModelTest, SectionsByName) {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  EXPECT_EQ(s.InitKeywordSection(nullptr, nullptr, nullptr, false), -1);
  EXPECT_EQ(s.InitKeywordSection("Keys", nullptr, "_", false), 0);
  EXPECT_EQ(s.InitKeywordSection("Mine", nullptr, "$", true), 1);
  EXPECT_EQ(s.InitKeywordSection("Keys", nullptr, "#", true), 0);  // exists: unchanged
  EXPECT_FALSE(s.IsCustom("Keys"));
  EXPECT_EQ(s.GetIndexByName("keys"), -1);
  EXPECT_EQ(s.GetSectionName(2), "");
  EXPECT_EQ(s.AllowedChars(0), "");  // predefined sections show none
  s.AllowedChars(0, "@");
  EXPECT_FALSE(s.IsLegalChar('@'));
  EXPECT_TRUE(s.IsLegalChar('_'));  // predefined allowed characters still count
  s.AllowedChars(1, "@");
  EXPECT_TRUE(s.IsLegalChar('@'));
  EXPECT_FALSE(s.IsLegalChar('$'));
}

TEST_F(StyleModelTest, CaseRulesOfKeywords) {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  s.SetIgnoreCase(true);
  s.InitKeywordSection("Pre", nullptr, nullptr, false);
  s.InitKeywordSection("Sensitive", nullptr, nullptr, true);
  s.InitKeywordSection("Insensitive", nullptr, nullptr, true);
  s.IgnoreCase(2, 1);
  s.IgnoreCase(0, 0);  // predefined: follows the style

  s.AddKeyword("While", "Pre");
  for (const char* t : {"WHILE", "while", "While"}) EXPECT_EQ(s.IsKeyword(t, 5), 0) << t;
  s.AddKeyword("Foo", 1);
  EXPECT_EQ(s.IsKeyword("foo", 3), -1);
  s.AddKeyword("Bar", 2);
  EXPECT_EQ(s.IsKeyword("BAR", 3), 2);
  EXPECT_EQ(s.IsKeyword("Foobar", 3), 1);  // only the first length characters count

  // A keyword stays in the first section it was added to.
  EXPECT_EQ(s.AddKeyword("bar", 1), 3);
  EXPECT_EQ(s.IsKeyword("bar", 3), 2);
  EXPECT_EQ(s.AddKeyword("x", 9), -1);
}

TEST_F(StyleModelTest, EnumerationAndRemoval) {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  for (const char* n : {"S0", "S1", "S2"}) s.InitKeywordSection(n, nullptr, nullptr, false);
  s.AddKeyword("b0", 0);
  s.AddKeyword("a1", 1);
  s.AddKeyword("z2", 2);
  s.AddKeyword("c2", 2);
  EXPECT_EQ(s.GetFirstKeyword("S2"), "c2");
  EXPECT_EQ(s.GetNextKeyword("S2"), "z2");
  EXPECT_EQ(s.GetNextKeyword("S2"), "");
  EXPECT_EQ(s.GetFirstKeyword(2 + 256), "c2");  // section numbers compare as 8 bits

  EXPECT_FALSE(s.RemoveKeywordSection("nope"));
  EXPECT_TRUE(s.RemoveKeywordSection("S1"));
  EXPECT_EQ(s.GetIndexByName("S2"), 1);
  EXPECT_EQ(s.GetFirstKeyword(1), "c2");
  EXPECT_EQ(s.IsKeyword("a1", 2), -1);

  s.RemoveKeywords("S2");
  EXPECT_EQ(s.GetFirstKeyword(1), "");
  EXPECT_EQ(s.GetFirstKeyword(0), "b0");

  TDocumentStyle::RestoreDefaults(&s);
  EXPECT_EQ(s.GetSectionCount(), 2);
  EXPECT_EQ(s.GetFirstKeyword(0), "");
}

TEST_F(StyleModelTest, CopiesAndDefaults) {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  s.InitKeywordSection("K", nullptr, "_", true);
  s.AddKeyword("kw", 0);
  s.SetTabSize(8);
  s.AddPreprocDirective("define");
  ASSERT_TRUE(s.RestoreFromFile(nullptr));

  TDocumentStyle copy(s);
  EXPECT_FALSE(copy.IsRestored());
  EXPECT_EQ(copy.IsKeyword("kw", 2), 0);
  EXPECT_EQ(copy.GetPreprocDirectives().count("define"), 1u);
  copy.SetTabSize(2);
  EXPECT_EQ(s.GetTabSize(), 8);  // independent font and tab size

  std::unique_ptr<TDocumentStyle> def(s.GetDefaultStyle());
  EXPECT_EQ(def->GetSectionCount(), 0);
  EXPECT_FALSE(s.Restore("anything"));
  EXPECT_EQ(s.GetTabSize(), 3);
  EXPECT_EQ(s.GetSectionCount(), 1);
  EXPECT_TRUE(s.GetPreprocDirectives().empty());

  s = TDocumentStyle(DOCTYPE_TEXT, nullptr);
  EXPECT_TRUE(s.IsRestored());  // assignment keeps the target's flag

  TTextStyleImpl a, b;
  a.SetTabSize(9);
  b.SetFontName("Other");
  a = b;
  EXPECT_EQ(a.GetTabSize(), 9);  // assignment copies the font only
  EXPECT_STREQ(a.GetFontName(), "Other");

  // The default font size follows the screen resolution.
  struct Hi : Display {
    int GetLogPixelsY() const override { return 120; }
  };
  InstallDisplay(std::make_shared<Hi>());
  EXPECT_EQ(TTextStyleImpl().GetFontSize(), -17);
}

TEST_F(StyleModelTest, NumbersReadLikeAStream) {
  const TDocumentStyle s(DOCTYPE_CPP, nullptr);
  // Beyond the random texts' alphabet: names, overflow and underflow, a length limit.
  for (const char* no : {"", "inf", "nan", "1e400", "0x1F", "12abc"})
    EXPECT_FALSE(s.IsNumber(no, static_cast<int>(std::strlen(no)))) << no;
  EXPECT_TRUE(s.IsNumber("1e-400", 6));
  EXPECT_TRUE(s.IsNumber("12abc", 2));

  // Random texts over the characters that matter agree with a real string stream.
  std::mt19937 rng(7);
  static constexpr char kChars[] = "0123456789.eE+- \tx\n";
  for (int n = 0; n < 20000; ++n) {
    std::string t(rng() % 8 + 1, ' ');
    for (char& c : t) c = kChars[rng() % (sizeof kChars - 1)];
    ASSERT_EQ(s.IsNumber(t.data(), static_cast<int>(t.size())),
              testing::StreamIsNumber(t.data(), static_cast<int>(t.size())))
        << "'" << t << "'";
  }
}

}  // namespace
}  // namespace quill
