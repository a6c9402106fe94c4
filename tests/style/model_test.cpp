// The style's model (colours, sections, keywords and their case, copies and defaults,
// numbers) and its line parser, against a plain reference parser.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../../fuzz/parser_property.h"
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

  TDocumentStyle s{DOCTYPE_CPP, nullptr};
};

TEST_F(StyleModelTest, DefaultColoursAndKeywordColourAddressing) {
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
  for (const char* n : {"S0", "S1", "S2"}) s.InitKeywordSection(n, nullptr, nullptr, false);
  for (const auto& [keyword, section] : {std::pair{"b0", 0}, {"a1", 1}, {"z2", 2}, {"c2", 2}})
    s.AddKeyword(keyword, section);
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

using Runs = std::vector<TEXTBLOCK>;

// One letter per character for the foreground colour it is drawn with (the last run at a
// position governs): '.' normal, c comment, n number, s string, p preprocessor, k and K
// the first two keyword sections.
std::string Colors(const Runs& runs, std::size_t length) {
  std::string colors(length, '?');
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::size_t end = r + 1 < runs.size() ? static_cast<std::size_t>(runs[r + 1].charPos) : length;
    const int fg = runs[r].fgColorIndex;
    const char letter = fg == 2 ? '.' : fg == 6 ? 'c' : fg == 7 ? 'n' : fg == 9 ? 's'
                      : fg == 10 ? 'p' : fg == 256 ? 'k' : fg == 257 ? 'K' : '?';
    for (std::size_t i = static_cast<std::size_t>(runs[r].charPos); i < end && i < length; ++i)
      colors[i] = letter;
  }
  return colors;
}

std::vector<std::tuple<int, int, int>> Fields(const Runs& runs) {
  std::vector<std::tuple<int, int, int>> fields;
  for (const auto& r : runs) fields.emplace_back(r.charPos, r.fgColorIndex, r.bgColorIndex);
  return fields;
}

// The cookie the real parser hands to the next line.
unsigned long CookieAfter(const TDocumentStyle& style, const std::string& line, unsigned long cookie) {
  int none = 0;
  return style.ParseLine(line.data(), static_cast<int>(line.size()), cookie, 0, nullptr, none);
}

// A C-like style: // and /* */ comments, quoted strings and characters, # lines.
TDocumentStyle CLike() {
  TDocumentStyle s(DOCTYPE_CPP, nullptr);
  s.SetCommentsDelims("/*", "*/");
  s.SetSingleCommentsDelims("//", 0);
  s.SetStringDelims("\"", "\"");
  s.SetCharDelims("'", "'");
  s.SetPreprocChar('#');
  s.InitKeywordSection("C", nullptr, "_", false);
  for (const char* k : {"if", "while", "return", "int"}) s.AddKeyword(k, "C");
  s.InitKeywordSection("N", nullptr, nullptr, false);
  s.AddKeyword("42", "N");
  return s;
}

// A single-line comment that needs a blank before it, or the line's start.
TDocumentStyle Dollar(bool atLineStart) {
  TDocumentStyle s(DOCTYPE_SPICE, nullptr);
  s.SetSingleCommentsDelims("$", 1);
  s.SetSingleCommentsPrefix(" \t", 1);
  s.SetSingleCommentsBOL(atLineStart, 1);
  s.InitKeywordSection("Dot", nullptr, ".", false);
  s.AddKeyword(".model", "Dot");
  return s;
}

// ';' comments and strings, with or without an escape character.
TDocumentStyle Semicolon(char escape) {
  TDocumentStyle s(DOCTYPE_NONE, nullptr);
  s.SetSingleCommentsDelims(";", 0);
  s.SetStringDelims("\"", "\"");
  s.SetStringEsc(escape);
  return s;
}

// The colour of each character and the cookie handed to the next line.
TEST(ParserTest, ColoursAndTheStateCarriedToTheNextLine) {
  const TDocumentStyle c = CLike(), dollar = Dollar(true), dollarMid = Dollar(false),
                       plain = Semicolon(0), escaped = Semicolon('\\');
  const struct {
    const TDocumentStyle& style;
    std::string line;
    unsigned long in;
    std::string colors;
    unsigned long out;
  } cases[] = {
      {c, "", 0x0C, "", 0x04},  // an empty line carries only an open block comment
      {c, "still", 0x04, "ccccc", 0x04},
      {c, "x // y", 0, "..cccc", 0},
      {c, "\"a\\\"d\"", 0, "ssssss", 0},  // an escaped quote stays in the string
      {c, "/*/ x", 0, "ccc..", 0},         // block delimiters may overlap
      // A backslash carries an open string on; otherwise only a block comment carries.
      {c, "x = \"open \\", 0, "....sssssss", 0x08},
      {c, "still\" y", 0x08, "ssssss..", 0},
      {c, "x = \"open", 0, "....sssss", 0},
      {c, "x /* open", 0, "..ccccccc", 0x04},
      // 0x1F is no number; a keyword wins over a number; '.' splits 3.5e2 in two.
      {c, "while(12abc 12 0x1F 1e5)", 0, "kkkkk.......nn......nnn.", 0},
      {c, "42 3.5e2", 0, "KK.n.nnn", 0},
      // No string inside a preprocessor line; its colour comes back after a comment.
      {c, "  #include \"a.h\" /* c */ x", 0, "..pppppppppppppppcccccccpp", 0},
      {c, "#define X \\", 0, "ppppppppppp", 0x02},
      {c, "  y", 0x02, "ppp", 0},
      {c, "x #y", 0, "....", 0},
      {dollar, "a$b", 0, "...", 0},
      {dollar, "a $b", 0, "..cc", 0},
      {dollar, "$b", 0, "cc", 0},
      {dollarMid, "$b", 0, "..", 0},
      {dollar, ".model x", 0, "kkkkkk..", 0},  // allowed characters join identifiers
      // Without escape characters the whole state carries over.
      {plain, "a ; comment", 0, "..ccccccccc", 0x01},
      {escaped, "a ; comment", 0, "..ccccccccc", 0},
  };
  for (const auto& t : cases) {
    Runs runs;
    EXPECT_EQ(fuzzing::CheckParse(t.style, t.line, t.in, &runs), "") << t.line;
    EXPECT_EQ(Colors(runs, t.line.size()), t.colors) << t.line;
    EXPECT_EQ(CookieAfter(t.style, t.line, t.in), t.out) << t.line;
  }
}

// Random styles and lines: the runs and cookies equal those of the plain reference
// parser, and the invariants the fuzz target checks hold.
TEST(ParserTest, MatchesReferenceOnRandomStylesAndLines) {
  std::mt19937 rng(20261205);
  std::vector<std::uint8_t> bytes(256);
  for (int round = 0; round < 1500; ++round) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    fuzzing::ByteSource in(bytes.data(), bytes.size());
    const auto style = fuzzing::MakeStyle(in);
    const testing::ReferenceParser reference(*style);
    unsigned long cookie = rng() & 0x3F;
    for (int l = 0; l < 12; ++l) {
      std::string line(rng() % 40, ' ');
      for (char& c : line) c = in.Empty() ? static_cast<char>(rng()) : in.Char();
      Runs runs, expected;
      ASSERT_EQ(fuzzing::CheckParse(*style, line, cookie, &runs), "") << "round " << round;
      const unsigned long want = reference.Parse(line, cookie, &expected);
      const unsigned long got = CookieAfter(*style, line, cookie);
      ASSERT_EQ(got, want) << "round " << round << " line '" << line << "'";
      ASSERT_EQ(Fields(runs), Fields(expected)) << "round " << round << " line '" << line << "'";
      cookie = (rng() & 7) == 0 ? rng() & 0x3F : got;
    }
  }
}

}  // namespace
}  // namespace quill
