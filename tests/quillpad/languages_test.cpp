#include <gtest/gtest.h>

#include <map>
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
      {"top.SV", quill::DOCTYPE_VERILOG},        {"cells.lib", quill::DOCTYPE_LIBERTY},
      {"a.spef", quill::DOCTYPE_SPEF},           {"a.dspf", quill::DOCTYPE_DSPF},
      {"tb.scs", quill::DOCTYPE_SPECTRE},        {"t.def", quill::DOCTYPE_LEFDEF},
      {"c.sdc", quill::DOCTYPE_TCL},             {"p.upf", quill::DOCTYPE_TCL},
      {"m.inc", quill::DOCTYPE_SPICE},
  };
  for (const auto& [path, type] : cases) EXPECT_EQ(DocumentTypeForPath(path), type) << path;
}

// Names without an extension, and .lib and .inc, which several languages share: the first
// lines decide, else the name does. Any other extension decides alone.
TEST(DocumentTypeForFile, FirstLinesDecideSharedAndMissingExtensions) {
  const struct {
    const char* path;
    const char* head;
    DocumentType type;
  } cases[] = {
      {"cells.lib", "/* tt corner */\nlibrary (cells_tt) {\n", quill::DOCTYPE_LIBERTY},
      {"models.lib", "* corners\n.LIB tt\n.model nch nmos level=54\n", quill::DOCTYPE_SPICE},
      // A comment block is passed over whatever it says.
      {"models.lib", "/* header\nmodule notes\n*/\n.model n nmos\n", quill::DOCTYPE_SPICE},
      {"empty.lib", "", quill::DOCTYPE_LIBERTY},
      {"tt.inc", "// corner\nsimulator lang=spectre\n", quill::DOCTYPE_SPECTRE},
      {"tt.inc", "\n  .param vdd=1.8\n", quill::DOCTYPE_SPICE},
      {"defs.inc", "`define WIDTH 8\n", quill::DOCTYPE_VERILOG},
      {"netlist", "// synthesised\nmodule top (a, y);\n", quill::DOCTYPE_VERILOG},
      {"parasitics", "*SPEF \"IEEE 1481-1998\"\n", quill::DOCTYPE_SPEF},
      {"parasitics", "*|DSPF 1.3\n", quill::DOCTYPE_DSPF},
      {"tech", "# header\nVERSION 5.8 ;\n", quill::DOCTYPE_LEFDEF},
      {"constraints", "create_clock -period 10 [get_ports clk]\n", quill::DOCTYPE_TCL},
      {"run", "#!/usr/bin/env tclsh\nputs hi\n", quill::DOCTYPE_TCL},
      {"run", "set top [lindex $argv 0]\n", quill::DOCTYPE_TCL},
      {"README", "Set up the tools first.\nThen run make.\n", quill::DOCTYPE_TEXT},
      {"top.v", "*SPEF\n", quill::DOCTYPE_VERILOG},
  };
  for (const auto& c : cases) EXPECT_EQ(DocumentTypeForFile(c.path, c.head), c.type) << c.head;
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

  TDocumentStyle& Style() { return *m_view->GetTextStyle(); }

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
    using S = TDocumentStyle;
    if (index >= S::COLORINDEX_KEYWORD) return static_cast<char>('0' + index - 256);
    const std::map<int, char> kinds = {{S::COLORINDEX_NORMALTEXT, '.'}, {S::COLORINDEX_COMMENT, 'c'},
                                       {S::COLORINDEX_NUMBER, 'n'}, {S::COLORINDEX_STRING, 's'},
                                       {S::COLORINDEX_PREPROCESSOR, 'p'}};
    return kinds.count(index) != 0 ? kinds.at(index) : '!';
  }

  std::unique_ptr<LanguageView> m_view;
  unsigned long m_cookie = 0;
};

// One table per language: each line pins one kind of token, and lines run on in order (a
// block comment or string may carry over, but nothing is left open after the last line).
// Section numbers are given per language.
struct Line {
  const char* text;
  const char* kinds;
  int index = 1;  // 0: the file's first line
};

TEST_F(LanguageTest, EachLanguageColoursItsTokens) {
  const struct {
    DocumentType type;
    std::vector<Line> lines;
  } languages[] = {
      // 0 statements, 1 model types, 2 element letters. The title line is no element line
      // even when it starts with a letter; '*' after the first column is multiplication,
      // '$' needs a blank before it.
      {quill::DOCTYPE_SPICE,
       {{"Inverter chain", "..............", 0},
        {"* a whole-line comment", "cccccccccccccccccccccc"},
        {".SUBCKT inv in out vdd gnd", "0000000..................."},
        {"M1 out in vdd vdd PMOS w=2 $ pull-up", "22................1111...n.ccccccccc"},
        {"R1 a b 'rs*2'", "22.....ssssss"},
        {"Pa 1", "...n"},  // no element letter
        {"Vdd vdd 0 1.8 ; supply", "222.....n.nnn.cccccccc"},
        {"+ l=0.18 a$b", "....nnnn...."},
        {".tran 10p 5n", "00000......."},
        {".include \"models.lib\"", "00000000.ssssssssssss"}}},
      // 0 statements, 1 operations, 2 options.
      {quill::DOCTYPE_CALIBRE,
       {{"LAYOUT PRIMARY \"TOP\"", "000000.0000000.sssss"},
        {"M1_W { @ Metal1 width < 0.1", ".......cccccccccccccccccccc"},
        {"  INTERNAL m1 < 0.1 REGION", "..11111111......nnn.222222"},
        {"x = m1 AND m2 // both", ".......111....ccccccc"},
        {"#DEFINE FAST", "pppppppppppp"},
        {"/* open", "ccccccc"},
        {"still */ DENSITY", "cccccccc.1111111"}}},
      // 0 blocks, 1 operations, 2 options.
      {quill::DOCTYPE_DRACULA,
       {{"*DESCRIPTION", "000000000000"},
        {"*INPUT-LAYER ; layers", "000000000000.cccccccc"},
        {"WIDTH METAL1 LT 3 OUTPUT W01 45", "11111........22.n.000000.....nn"},
        {"AND poly diff gate", "111..............."}}},
      // 0 keywords, 1 types; case counts, hexadecimal text is no number, a float with an
      // exponent is.
      {quill::DOCTYPE_CPP,
       {{"#include <stdio.h>", "pppppppppppppppppp"},
        {"static int n = 42; // count", "000000.111.....nn..cccccccc"},
        {"return \"a\\\"b\" + 'c';", "000000.ssssss...sss."},
        {"If (x) WHILE", "............"},
        {"s = \"to be \\", "....ssssssss"},
        {"continued\" ; x", "ssssssssss...."},
        {"size_t k = 0x1F;", "111111.........."},
        {"double d = 1e5;", "111111.....nnn."}}},
      // Severity words, in their case only.
      {quill::DOCTYPE_LOGS,
       {{"ERROR: node 12 floating", "00000.......nn........."},
        {"Warning timestep too small", "1111111.11111111.........."},
        {"INFO done \"ok\" eRRoR", "2222......ssss......"}}},
      {quill::DOCTYPE_TEXT, {{"// nothing \"special\" 42", ".....................nn"}}},
      // 0 keywords, 1 gate primitives, 2 system tasks, 3 macros.
      {quill::DOCTYPE_VERILOG,
       {{"`timescale 1ns/1ps", "pppppppppppppppppp"},
        {"input [`W-1:0] d; // bus", "00000..33.n.n.....cccccc"},
        {"wire \\b[3] , \\a/*b\"c ;", "0000.................."},
        {"assign y = 32'h0f + 'b1 + 4'sd3 - 2'bxz;", "000000.....nnnnnn...nnn...nnnnn...nnnnn."},
        {"and g1 (y, a); $display(\"%d\", x);", "111............22222222.ssss....."},
        {"/* state", "cccccccc"},
        {"   */ endmodule Module", "ccccc.000000000......."}}},
      // 0 groups, 1 attributes, 2 values.
      {quill::DOCTYPE_LIBERTY,
       {{"  cell (INVX1) { /* x */", "..0000...........ccccccc"},
        {"    direction : input ;", "....111111111...22222.."},
        {"    capacitance : 0.0017 ;", "....11111111111...nnnnnn.."},
        {"    function : \"!A\" ;", "....11111111...ssss.."},
        {"    values (\"0.02\", \\", "....111111..ssssss..."},
        {"            \"0.05\") ;", "............ssssss..."}}},
      // 0 keywords, 1 units and directions, 2 name references.
      {quill::DOCTYPE_SPEF,
       {{"*SPEF \"IEEE 1481-1998\"", "00000.ssssssssssssssss"},
        {"*T_UNIT 1 NS", "0000000.n.11"},
        {"*D_NET *3 0.00231", "000000.22.nnnnnnn"},
        {"*I *4:Y O *C 21.6 *D NAND2X1", "00.2222.1.00.nnnn.00........"},
        {"2 *3:1 *3:2 1.27 // via", "n.2222.2222.nnnn.cccccc"}}},
      // 0 statements, 1 element names, 2 records.
      {quill::DOCTYPE_DSPF,
       {{"*|NET n13 2.31FF", "22222..........."},
        {"*|I (U21:Y U21 Y O 0.0 21.6)", "222................nnn.nnnn."},
        {"* a comment", "ccccccccccc"},
        {".SUBCKT uart_tx clk", "0000000............"},
        {"R2 n13:1 U22:A 1.78 $ via", "11.....n.......nnnn.ccccc"}}},
      // 0 statements, 1 analyses, 2 primitives and parameters.
      {quill::DOCTYPE_SPECTRE,
       {{"simulator lang=spectre", "000000000.0000.0000000"},
        {"subckt bandgap out vss", "000000................"},
        {"R1 (a b) resistor r=2*3 // x", ".........22222222...n.n.cccc"},
        {"* first column", "cccccccccccccc"},
        {"tran1 tran stop=10u", "......1111.2222...."},
        {"include \"tt.scs\" section=tt", "0000000.ssssssss.0000000..."}}},
      // 0 statements, 1 keywords.
      {quill::DOCTYPE_LEFDEF,
       {{"VERSION 5.8 ;", "0000000.nnn.."},
        {"  DIRECTION HORIZONTAL ;", "..111111111.1111111111.."},
        {"    RECT 0.06 0.4 ; # finger", "....1111.nnnn.nnn...cccccccc"},
        {"BUSBITCHARS \"[]\" ;", "00000000000.ssss.."},
        {"  - U21 INVX1 + PLACED ( 42 24 ) N ;", "................111111...nn.nn...1.."},
        {"name#1 ;", ".....n.."}}},
      // 0 Tcl commands, 1 SDC and UPF commands, 2 variables, 3 options.
      {quill::DOCTYPE_TCL,
       {{"# constraints", "ccccccccccccc"},
        {"set clk_period 10.0", "000............nnnn"},
        {"create_clock -name clk -period $clk_period", "111111111111.33333.....3333333.22222222222"},
        {"set_load 0.05 [all_outputs] ;# pad", "11111111.nnnn..11111111111...ccccc"},
        {"puts \"port: $p\" {$q}", "0000.ssssssssss..22."},
        {"set x a#b", "000......"}}},
  };
  for (const auto& language : languages) {
    Open(language.type);
    for (const Line& line : language.lines)
      EXPECT_EQ(Kinds(line.text, line.index), line.kinds) << quill::ProfileNameOf(language.type) << ": " << line.text;
    EXPECT_EQ(m_cookie, 0u) << quill::ProfileNameOf(language.type);
  }
}

// Escaped identifiers hide delimiters from the parse resumed from saved states as from
// the full parse.
TEST_F(LanguageTest, LongVerilogLineResumesLikeTheFullParse) {
  Open(quill::DOCTYPE_VERILOG);
  std::string text;
  const char* pieces[] = {"\\a/*b ", "\\q\"x ", "wire ", "8'hff ", "\t", "u1 ", "\"s t\" "};
  for (int i = 0; text.size() < 4 * quill::TParseCheckpoints::kStep; ++i) text += pieces[i % 7];
  const int length = static_cast<int>(text.size());
  quill::TParseCheckpoints states;
  std::vector<TEXTBLOCK> full(3 * text.size() + 3), part(3 * text.size() + 3);
  int nFull = 0;
  const unsigned long end = Style().ParseLine(text.data(), length, 0, 1, full.data(), nFull);
  for (int from : {length / 3, length / 2, length - 10}) {
    int nPart = 0;
    EXPECT_EQ(Style().ParseLinePart(text.data(), length, 0, 1, states, from, length, part.data(), nPart), end);
    ASSERT_GT(nPart, 0);
    // The colour in force at each position from `from` on is the same.
    for (int pos = from; pos < length; pos += 97) {
      const auto at = [pos](const std::vector<TEXTBLOCK>& runs, int n) {
        int colour = -1;
        for (int r = 0; r < n && runs[r].charPos <= pos; ++r) colour = runs[r].fgColorIndex;
        return colour;
      };
      EXPECT_EQ(at(part, nPart), at(full, nFull)) << "from " << from << " at " << pos;
    }
  }
  EXPECT_GE(states.Count(), 2);
}

// Each language keeps its settings under its own name, and every kind stands out (but in
// plain text).
TEST_F(LanguageTest, KindsHaveDistinctColoursFromNormalText) {
  for (const auto& [type, name] : {std::pair{quill::DOCTYPE_SPICE, "SPICE"},
                                   {quill::DOCTYPE_CALIBRE, "CALIBRE"},
                                   {quill::DOCTYPE_DRACULA, "DRACULA"},
                                   {quill::DOCTYPE_CPP, "CPP"}, {quill::DOCTYPE_LOGS, "LOGS"},
                                   {quill::DOCTYPE_VERILOG, "VERILOG"},
                                   {quill::DOCTYPE_LIBERTY, "LIBERTY"},
                                   {quill::DOCTYPE_SPEF, "SPEF"}, {quill::DOCTYPE_DSPF, "DSPF"},
                                   {quill::DOCTYPE_SPECTRE, "SPECTRE"},
                                   {quill::DOCTYPE_LEFDEF, "LEFDEF"}, {quill::DOCTYPE_TCL, "TCL"}}) {
    Open(type);
    EXPECT_EQ(Style().GetProfileName(), name);
    TDocumentStyle& style = Style();
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
  Open(quill::DOCTYPE_TEXT);  // plain text: no sections, numbers in the text colour
  EXPECT_EQ(Style().GetSectionCount(), 0);
  EXPECT_EQ(Style().GetNumbersColor(1, 0), Style().GetDefaultColor(1, 0));
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
  EXPECT_EQ(Kinds("Vx vlow 0 .tran"), "22.3333.n.00000");  // "Mine" follows the three predefined
}

}  // namespace
}  // namespace quillpad
