#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../../fuzz/parser_property.h"
#include "reference_parser.h"
#include "settings/store.h"
#include "style/document_style.h"

namespace quill {
namespace {

using Runs = std::vector<QuillView::TEXTBLOCK>;

struct Parsed {
  Runs runs;
  unsigned long cookie;
};

Parsed Parse(const TDocumentStyle& style, const std::string& line, unsigned long cookie = 0) {
  Parsed p;
  const std::string failure = fuzzing::CheckParse(style, line, cookie, &p.runs);
  EXPECT_EQ(failure, "") << "line '" << line << "'";
  int none = 0;
  p.cookie = style.ParseLine(line.data(), static_cast<int>(line.size()), cookie, 0, nullptr, none);
  return p;
}

// The foreground colour index each character is drawn with (the last run at a position
// governs).
std::vector<int> Colors(const Runs& runs, std::size_t length) {
  std::vector<int> colors(length, -1);
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const std::size_t end = r + 1 < runs.size() ? static_cast<std::size_t>(runs[r + 1].charPos) : length;
    for (std::size_t i = static_cast<std::size_t>(runs[r].charPos); i < end && i < length; ++i)
      colors[i] = runs[r].fgColorIndex;
  }
  return colors;
}

class ParserTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallMemorySettingsStore(); }

  // A C-like style: // and /* */ comments, quoted strings and characters, # lines.
  static TDocumentStyle CLike() {
    TDocumentStyle s(DOCTYPE_CPP, nullptr);
    s.SetCommentsDelims("/*", "*/");
    s.SetSingleCommentsDelims("//", 0);
    s.SetStringDelims("\"", "\"");
    s.SetCharDelims("'", "'");
    s.SetPreprocChar('#');
    s.InitKeywordSection("C", nullptr, "_", false);
    for (const char* k : {"if", "while", "return", "int"}) s.AddKeyword(k, "C");
    return s;
  }
};

TEST_F(ParserTest, EmptyLineCarriesOnlyAnOpenBlockComment) {
  TDocumentStyle s = CLike();
  Runs runs(3);
  int count = 0;
  EXPECT_EQ(s.ParseLine("", 0, 0x0C, 0, runs.data(), count), 0x04UL);
  EXPECT_EQ(count, 0);
}

// Colour per character and the cookie handed on, for single lines of the C-like style.
TEST_F(ParserTest, CommentsAndStringsOnOneLine) {
  struct Case { std::string line; unsigned long in; std::vector<int> colors; unsigned long out; };
  const Case cases[] = {
      {"still", 0x04, {6, 6, 6, 6, 6}, 0x04},      // inside a block comment
      {"x // y", 0, {2, 2, 6, 6, 6, 6}, 0},          // single-line comment
      {"\"a\\\"d\"", 0, {9, 9, 9, 9, 9, 9}, 0},   // escaped quote stays in the string
      {"/*/ x", 0, {6, 6, 6, 2, 2}, 0},              // block delimiters may overlap
  };
  for (const Case& c : cases) {
    const Parsed p = Parse(CLike(), c.line, c.in);
    EXPECT_EQ(Colors(p.runs, c.line.size()), c.colors) << c.line;
    EXPECT_EQ(p.cookie, c.out) << c.line;
  }
}

TEST_F(ParserTest, SingleLinePrefixAndBeginningOfLine) {
  TDocumentStyle s(DOCTYPE_SPICE, nullptr);
  s.SetSingleCommentsDelims("$", 1);
  s.SetSingleCommentsPrefix(" \t", 1);
  EXPECT_EQ(Colors(Parse(s, "a$b").runs, 3), (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(Colors(Parse(s, "a $b").runs, 4), (std::vector<int>{2, 2, 6, 6}));
  EXPECT_EQ(Colors(Parse(s, "$b").runs, 2), (std::vector<int>{6, 6}));
  s.SetSingleCommentsBOL(false, 1);
  EXPECT_EQ(Colors(Parse(s, "$b").runs, 2), (std::vector<int>{2, 2}));
}

TEST_F(ParserTest, BackslashCarriesAnOpenStringToTheNextLine) {
  TDocumentStyle s = CLike();
  const Parsed first = Parse(s, "x = \"open \\");
  EXPECT_TRUE(first.cookie & 0x08);
  const Parsed next = Parse(s, "still\" y", first.cookie);
  EXPECT_EQ(next.runs[0].charPos, 0);
  EXPECT_EQ(next.runs[0].fgColorIndex, 9);
  EXPECT_EQ(Colors(next.runs, 8), (std::vector<int>{9, 9, 9, 9, 9, 9, 2, 2}));
  EXPECT_EQ(next.cookie, 0UL);
  // Without the backslash only an open block comment would carry over.
  EXPECT_EQ(Parse(s, "x = \"open").cookie, 0UL);
  EXPECT_EQ(Parse(s, "x /* open").cookie, 0x04UL);
}

TEST_F(ParserTest, KeywordsNumbersAndIdentifiers) {
  TDocumentStyle s = CLike();
  const Parsed p = Parse(s, "while(12abc 12 0x1F 1e5)");
  const std::vector<int> c = Colors(p.runs, 24);
  EXPECT_EQ(std::vector<int>(c.begin(), c.begin() + 5), std::vector<int>(5, 256));
  EXPECT_EQ(c[5], 2);                                             // '(' after the keyword
  EXPECT_EQ(std::vector<int>(c.begin() + 6, c.begin() + 11), std::vector<int>(5, 2));
  EXPECT_EQ(c[12], 7);                                            // 12
  EXPECT_EQ(c[13], 7);
  EXPECT_EQ(c[15], 2);                                            // 0x1F is no number
  EXPECT_EQ(c[20], 7);                                            // 1e5
  const auto keyword = std::find_if(p.runs.begin(), p.runs.end(),
                                    [](const auto& r) { return r.fgColorIndex == 256; });
  ASSERT_NE(keyword, p.runs.end());
  EXPECT_EQ(keyword->charPos, 0);
  EXPECT_EQ(keyword->bgColorIndex, 512);

  // '.' is no identifier character here: 3.5e2 is the two numbers 3 and 5e2.
  const std::vector<int> split = Colors(Parse(s, "3.5e2").runs, 5);
  EXPECT_EQ(split, (std::vector<int>{7, 2, 7, 7, 7}));
  // A keyword wins over a number.
  s.InitKeywordSection("N", nullptr, nullptr, false);
  s.AddKeyword("42", "N");
  EXPECT_EQ(Colors(Parse(s, "42").runs, 2), (std::vector<int>{257, 257}));
}

TEST_F(ParserTest, PreprocessorLine) {
  TDocumentStyle s = CLike();
  const Parsed p = Parse(s, "  #include \"a.h\" /* c */ x");
  const std::vector<int> c = Colors(p.runs, 26);
  EXPECT_EQ(c[0], 2);
  EXPECT_EQ(c[2], 10);
  EXPECT_EQ(c[11], 10);  // no string inside a preprocessor line
  EXPECT_EQ(c[17], 6);
  EXPECT_EQ(c[25], 10);  // back to the preprocessor colour after the comment
  // A line that ends with the escape carries the preprocessor state.
  EXPECT_EQ(Parse(s, "#define X \\").cookie, 0x02UL);
  EXPECT_EQ(Colors(Parse(s, "  y", 0x02).runs, 3), (std::vector<int>{10, 10, 10}));
  // Not at the line's start: no preprocessor line.
  EXPECT_EQ(Colors(Parse(s, "x #y").runs, 4)[2], 2);
}

TEST_F(ParserTest, WithoutEscapeCharactersTheWholeStateCarriesOver) {
  TDocumentStyle s(DOCTYPE_NONE, nullptr);
  s.SetSingleCommentsDelims(";", 0);
  s.SetStringDelims("\"", "\"");
  EXPECT_EQ(Parse(s, "a ; comment").cookie, 0x01UL);
  EXPECT_EQ(Parse(s, "a \"open").cookie, 0x08UL);
  // With an escape character set, the same lines carry nothing.
  s.SetStringEsc('\\');
  EXPECT_EQ(Parse(s, "a ; comment").cookie, 0UL);
}

TEST_F(ParserTest, AllowedCharactersJoinIdentifiers) {
  TDocumentStyle s(DOCTYPE_SPICE, nullptr);
  s.InitKeywordSection("Dot", nullptr, ".", false);
  s.AddKeyword(".model", "Dot");
  EXPECT_EQ(Colors(Parse(s, ".model x").runs, 8)[0], 256);
  s.AllowedChars(0, "");  // predefined: unchanged
  EXPECT_EQ(Colors(Parse(s, ".model x").runs, 8)[0], 256);
}

// Random styles and lines: the runs and cookies equal those of the plain reference
// parser, and the invariants the fuzz target checks hold.
TEST_F(ParserTest, MatchesReferenceOnRandomStylesAndLines) {
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
      Runs runs;
      const std::string failure = fuzzing::CheckParse(*style, line, cookie, &runs);
      ASSERT_EQ(failure, "") << "round " << round;
      Runs expected;
      const unsigned long want = reference.Parse(line, cookie, &expected);
      int count = 0;
      const unsigned long got =
          style->ParseLine(line.data(), static_cast<int>(line.size()), cookie, 0, nullptr, count);
      ASSERT_EQ(got, want) << "round " << round << " line '" << line << "'";
      ASSERT_EQ(runs.size(), expected.size()) << "round " << round << " line '" << line << "'";
      for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto& a = runs[r];
        const auto& b = expected[r];
        ASSERT_EQ(std::tie(a.charPos, a.fgColorIndex, a.bgColorIndex),
                  std::tie(b.charPos, b.fgColorIndex, b.bgColorIndex))
            << "round " << round << " line '" << line << "' run " << r;
      }
      cookie = (rng() & 7) == 0 ? rng() & 0x3F : got;
    }
  }
}

}  // namespace
}  // namespace quill
