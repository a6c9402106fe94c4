#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "../../fuzz/parser_property.h"
#include "reference_parser.h"
#include "style/document_style.h"

namespace quill {
namespace {

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
