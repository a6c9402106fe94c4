#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../apps/quillpad/language_views.h"
#include "../../apps/quillpad/languages.h"
#include "settings/store.h"

namespace quillpad {
namespace {

using quill::DocumentType;
using quill::TDocumentStyle;
using TEXTBLOCK = quill::QuillView::TEXTBLOCK;

TEST(DocumentTypeForPath, MapsExtensionsCaseInsensitively) {
  const std::pair<const char*, DocumentType> cases[] = {
      {"/a/b/cell.SPI", quill::DOCTYPE_SPICE},   {"lvs.cdl", quill::DOCTYPE_SPICE},
      {"deck.Rul", quill::DOCTYPE_CALIBRE},      {"deck.dra", quill::DOCTYPE_DRACULA},
      {"a.CXX", quill::DOCTYPE_CPP},             {"sim.log", quill::DOCTYPE_LOGS},
      {"README", quill::DOCTYPE_TEXT},           {".sp", quill::DOCTYPE_TEXT},
      {"dir.sp/readme", quill::DOCTYPE_TEXT},    {"archive.sp.gz", quill::DOCTYPE_TEXT},
      {"", quill::DOCTYPE_TEXT},                 {"trailing.", quill::DOCTYPE_TEXT},
  };
  for (const auto& [path, type] : cases) EXPECT_EQ(DocumentTypeForPath(path), type) << path;
}

TEST(SpiceElementLetter, AcceptsElementLettersOnly) {
  for (char c : std::string("RrCcLlMmQqDdXxVvIiEeFfGgHhKkJjBbSsWwTtUuZz"))
    EXPECT_TRUE(IsSpiceElementLetter(c)) << c;
  for (char c : std::string("AaNnOoPp.*+$ 1_\t")) EXPECT_FALSE(IsSpiceElementLetter(c)) << c;
}

// Parses lines through a view of the given type and shows, per character, the kind it is
// drawn as: '.' normal, 'c' comment, 's' string, 'n' number, 'p' preprocessor, and the
// digit k for keyword section k.
class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override { quill::InstallMemorySettingsStore(); }

  void Open(DocumentType type) {
    m_view = CreateViewFor(type);
    ASSERT_NE(m_view->CreateStyle(), nullptr);
    m_cookie = 0;
  }

  const TDocumentStyle& Style() const { return *m_view->GetTextStyle(); }

  // The kinds of the characters of `line`, parsed as line `index` after the previous
  // line's state.
  std::string Kinds(const std::string& line, int index = 1) {
    std::vector<TEXTBLOCK> runs(3 * line.size() + 3);
    int count = 0;
    m_cookie = m_view->ParseLine(line.data(), static_cast<int>(line.size()), m_cookie, index,
                                 runs.data(), count);
    std::string kinds(line.size(), '?');
    for (int r = 0; r < count; ++r) {
      const int end = r + 1 < count ? runs[r + 1].charPos : static_cast<int>(line.size());
      for (int i = runs[r].charPos; i < end; ++i) kinds[i] = KindOf(runs[r].fgColorIndex);
    }
    return kinds;
  }

  static char KindOf(int index) {
    if (index >= TDocumentStyle::COLORINDEX_KEYWORD) return static_cast<char>('0' + index - 256);
    switch (index) {
      case TDocumentStyle::COLORINDEX_NORMALTEXT: return '.';
      case TDocumentStyle::COLORINDEX_COMMENT: return 'c';
      case TDocumentStyle::COLORINDEX_NUMBER: return 'n';
      case TDocumentStyle::COLORINDEX_STRING: return 's';
      case TDocumentStyle::COLORINDEX_PREPROCESSOR: return 'p';
      default: return '!';
    }
  }

  std::unique_ptr<LanguageView> m_view;
  unsigned long m_cookie = 0;
};

TEST_F(LanguageTest, SpiceStatementsElementsAndComments) {
  Open(quill::DOCTYPE_SPICE);
  // Sections 0, 1 and 2 are the statements, the model types and the element letters.
  // The title line is not an element line even when it starts with a letter.
  EXPECT_EQ(Kinds("Inverter chain", 0), "..............");
  EXPECT_EQ(Kinds("* a whole-line comment"), std::string(22, 'c'));
  EXPECT_EQ(Kinds(".SUBCKT inv in out vdd gnd"), "0000000...................");
  EXPECT_EQ(Kinds("M1 out in vdd vdd PMOS w=2 $ pull-up"),
                  "22................1111...n.ccccccccc");
  // '*' after the first column is multiplication, '$' needs a blank before it.
  EXPECT_EQ(Kinds("R1 a b 'rs*2'"), "22.....ssssss");
  EXPECT_EQ(Kinds("Vdd vdd 0 1.8 ; supply"), "222.....n.nnn.cccccccc");
  EXPECT_EQ(Kinds("+ l=0.18 a$b"), "....nnnn....");
  EXPECT_EQ(Kinds(".tran 10p 5n"), "00000.......");
  EXPECT_EQ(Kinds(".include \"models.lib\""), "00000000.ssssssssssss");
  // Comment and string state end with their line.
  EXPECT_EQ(m_cookie, 0u);
}

TEST_F(LanguageTest, CalibreStatementsOperationsAndComments) {
  Open(quill::DOCTYPE_CALIBRE);
  EXPECT_EQ(Kinds("LAYOUT PRIMARY \"TOP\""), "000000.0000000.sssss");
  EXPECT_EQ(Kinds("M1_W { @ Metal1 width < 0.1"), ".......cccccccccccccccccccc");
  EXPECT_EQ(Kinds("  INTERNAL m1 < 0.1 REGION"), "..11111111......nnn.222222");
  EXPECT_EQ(Kinds("x = m1 AND m2 // both"), ".......111....ccccccc");
  EXPECT_EQ(Kinds("#DEFINE FAST"), "pppppppppppp");
  EXPECT_EQ(Kinds("/* open"), "ccccccc");
  EXPECT_EQ(m_cookie, TDocumentStyle::COOKIE_EXT_COMMENT);
  EXPECT_EQ(Kinds("still */ DENSITY"), "cccccccc.1111111");
  EXPECT_EQ(m_cookie, 0u);
}

TEST_F(LanguageTest, DraculaBlocksOperationsAndComments) {
  Open(quill::DOCTYPE_DRACULA);
  EXPECT_EQ(Kinds("*DESCRIPTION"), "000000000000");
  EXPECT_EQ(Kinds("*INPUT-LAYER ; layers"), "000000000000.cccccccc");
  EXPECT_EQ(Kinds("WIDTH METAL1 LT 3 OUTPUT W01 45"), "11111........22.n.000000.....nn");
  EXPECT_EQ(Kinds("AND poly diff gate"), "111...............");
  EXPECT_EQ(Kinds("*END"), "0000");
}

TEST_F(LanguageTest, CppKeywordsTypesPreprocessorStringsComments) {
  Open(quill::DOCTYPE_CPP);
  EXPECT_FALSE(Style().GetIgnoreCase());
  EXPECT_EQ(Kinds("#include <stdio.h>"), "pppppppppppppppppp");
  EXPECT_EQ(Kinds("static int n = 42; // count"), "000000.111.....nn..cccccccc");
  EXPECT_EQ(Kinds("return \"a\\\"b\" + 'c';"), "000000.ssssss...sss.");
  EXPECT_EQ(Kinds("If (x) WHILE"), "............");
  EXPECT_EQ(Kinds("s = \"to be \\"), "....ssssssss");
  EXPECT_EQ(Kinds("continued\" ; x"), "ssssssssss....");
  // Hexadecimal text is no number, a float with an exponent is.
  EXPECT_EQ(Kinds("size_t k = 0x1F;"), "111111..........");
  EXPECT_EQ(Kinds("double d = 1e5;"), "111111.....nnn.");
}

TEST_F(LanguageTest, LogSeverityWordsAreCaseSensitive) {
  Open(quill::DOCTYPE_LOGS);
  EXPECT_EQ(Kinds("ERROR: node 12 floating"), "00000.......nn.........");
  EXPECT_EQ(Kinds("Warning timestep too small"), "1111111.11111111..........");
  EXPECT_EQ(Kinds("INFO done \"ok\" eRRoR"), "2222......ssss......");
}

TEST_F(LanguageTest, PlainTextHasNoSectionsAndDefaultColours) {
  Open(quill::DOCTYPE_TEXT);
  EXPECT_EQ(Style().GetSectionCount(), 0);
  EXPECT_EQ(Kinds("// nothing \"special\" 42"), ".....................nn");
  TDocumentStyle& style = *m_view->GetTextStyle();
  EXPECT_EQ(style.GetNumbersColor(1, 0), style.GetDefaultColor(1, 0));
}

// Each language keeps its settings under its own name, and every kind stands out.
TEST_F(LanguageTest, KindsHaveDistinctColoursFromNormalText) {
  for (const auto& [type, name] : {std::pair{quill::DOCTYPE_SPICE, "SPICE"},
                                   {quill::DOCTYPE_CALIBRE, "CALIBRE"},
                                   {quill::DOCTYPE_DRACULA, "DRACULA"},
                                   {quill::DOCTYPE_CPP, "CPP"}, {quill::DOCTYPE_LOGS, "LOGS"}}) {
    Open(type);
    EXPECT_EQ(Style().GetProfileName(), name);
    TDocumentStyle& style = *m_view->GetTextStyle();
    const quill::COLORREF normal = style.GetDefaultColor(1, 0);
    EXPECT_NE(style.GetCommentsColor(1, 0), normal) << type;
    EXPECT_NE(style.GetStringColor(1, 0), normal) << type;
    EXPECT_NE(style.GetNumbersColor(1, 0), normal) << type;
    for (int k = 0; k < style.GetSectionCount(); ++k) {
      EXPECT_NE(style.GetKeywordColor(256 + k, 1, 0), normal) << type << " section " << k;
      // Keyword backgrounds stay the text background.
      EXPECT_EQ(style.GetKeywordColor(512 + k, 0, 0), style.GetDefaultColor(0, 0));
    }
  }
}

TEST_F(LanguageTest, UserSectionsFromTheRegistryJoinThePredefinedOnes) {
  {
    TDocumentStyle saved(quill::DOCTYPE_SPICE, nullptr);
    DefineLanguage(saved);
    saved.InitKeywordSection("Mine", nullptr, nullptr, true);
    saved.AddKeyword("vlow", "Mine");
    saved.SaveSettings(nullptr);
  }
  Open(quill::DOCTYPE_SPICE);
  const int mine = Style().GetIndexByName("Mine");
  ASSERT_EQ(mine, 3);
  EXPECT_EQ(Kinds("Vx vlow 0 .tran"), "22.3333.n.00000");
}

}  // namespace
}  // namespace quillpad
