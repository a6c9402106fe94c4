// A view of a UTF-8 document: the caret, Delete and Backspace, words and the mouse keep
// characters whole; columns count cells; text coming in is encoded in the document's
// encoding (or refused), text going out is decoded; search works on characters. The same
// operations on a Windows-1252 document keep working on bytes.

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "input_fixture.h"
#include "platform/clipboard.h"
#include "platform/drag_drop.h"
#include "platform/headless/headless_app_services.h"
#include "platform/text_encoding.h"
#include "view/search_flags.h"

namespace quill {
namespace {

using testing::Sel;

// a, µ (2 bytes), → (3), 😀 (4), e + combining acute (1 + 2), z.
const std::string kMixed = "a\xC2\xB5\xE2\x86\x92\xF0\x9F\x98\x80" "e\xCC\x81z";
const std::string kOmega = "\xCE\xA9";

class Utf8View : public testing::InputTest {
 protected:
  Utf8View() { InstallClipboard(clipboard); }
  ~Utf8View() override { InstallClipboard(nullptr); }
  void OpenUtf8(const std::vector<std::string>& lines) {
    Open(lines);
    buffer.SetEncoding(ENCODING_UTF8);
  }
  std::string Status() { return services.m_statusBar.GetPaneText(0); }

  ScopedHeadlessServices services;
  std::shared_ptr<MemoryClipboard> clipboard = std::make_shared<MemoryClipboard>();
};

TEST_F(Utf8View, CaretSelectionDeleteAndBackspaceStepOverWholeCharacters) {
  OpenUtf8({kMixed});
  const int stops[] = {0, 1, 3, 6, 10, 13, 14};
  for (int i = 1; i < 7; ++i) {
    ASSERT_TRUE(Key(VK_RIGHT));
    EXPECT_EQ(Cursor(), CPoint(stops[i], 0));
  }
  for (int i = 5; i >= 0; --i) {
    Key(VK_LEFT);
    EXPECT_EQ(Cursor(), CPoint(stops[i], 0));
  }
  Place(CPoint(3, 0));
  Key(VK_RIGHT, FSHIFT);
  EXPECT_EQ(Selection(), Sel({3, 0}, {6, 0}));
  Place(CPoint(6, 0));
  view.OnEditDelete();  // the 4-byte sequence
  EXPECT_EQ(Text(), "a\xC2\xB5\xE2\x86\x92" "e\xCC\x81z");
  Place(CPoint(9, 0));
  view.OnEditDeleteBack();  // e with its combining mark
  EXPECT_EQ(Text(), "a\xC2\xB5\xE2\x86\x92z");
  view.OnEditDeleteBack();
  EXPECT_EQ(Text(), "a\xC2\xB5z");

  // The same bytes in a Windows-1252 document are single characters.
  buffer.SetEncoding(ENCODING_WINDOWS_1252);
  Place(CPoint(1, 0));
  Key(VK_RIGHT);
  EXPECT_EQ(Cursor(), CPoint(2, 0));
}

TEST_F(Utf8View, WordsAreLettersOfEveryScript) {
  OpenUtf8({"h\xC3\xA9llo w\xC3\xB6rld \xE2\x86\x92 \xD0\x96\xD0\xB8"});
  for (int stop : {7, 14, 18}) {  // the arrow is punctuation
    Key(VK_RIGHT, FCONTROL);
    EXPECT_EQ(Cursor(), CPoint(stop, 0));
  }
  Key(VK_END);
  Key(VK_LEFT, FCONTROL);
  EXPECT_EQ(Cursor(), CPoint(18, 0));
  view.OnLButtonDblClk(0, Cell(2, 0));
  EXPECT_EQ(Selection(), Sel({0, 0}, {6, 0}));
}

TEST_F(Utf8View, ColumnsCountCellsAlsoOnLongLinesAndTheMouseNeverSplitsACharacter) {
  OpenUtf8({"\xE4\xB8\xAD\xE6\x96\x87x", "e\xCC\x81\tx", "\xE4\xB8\xAD\tx"});
  // (line, position, column): wide characters take two cells, combining ones none; tab
  // stops count cells.
  for (const auto& [line, pos, col] : {std::tuple{0, 3, 2}, {0, 7, 5}, {1, 3, 1}, {1, 4, 4}, {2, 4, 4}})
    EXPECT_EQ(view.CalculateActualOffset(line, pos), col) << line << ":" << pos;
  EXPECT_EQ(view.GetLineActualLength(0), 5);
  EXPECT_EQ(view.ClientToText(Cell(1, 0, 3)), CPoint(0, 0));
  EXPECT_EQ(view.ClientToText(Cell(3, 0, 3)), CPoint(3, 0));
  EXPECT_EQ(view.ClientToText(Cell(4, 0, 1)), CPoint(6, 0));
  EXPECT_EQ(view.ClientToText(Cell(1, 1, 1)), CPoint(3, 1));  // after the mark
  EXPECT_EQ(view.TextToClient(CPoint(6, 0)).x, Cell(4, 0).x);
  // Up and down keep to character starts.
  Place(CPoint(3, 1));  // column 1: inside the first wide character above
  Key(VK_UP);
  EXPECT_EQ(Cursor(), CPoint(3, 0));

  // On long lines three-byte characters put the index steps inside sequences.
  std::string line;
  for (int i = 0; i < 5000; ++i) line += "\xE2\x86\x92";
  OpenUtf8({line + "x"});
  for (int k : {341, 342, 1000, 2731, 5000}) {
    EXPECT_EQ(view.CalculateActualOffset(0, 3 * k), k) << k;
    EXPECT_EQ(view.ApproxActualOffset(0, k), 3 * k) << k;
  }
  EXPECT_EQ(view.GetLineActualLength(0), 5001);
}

TEST_F(Utf8View, TypedCharactersAreEncodedOrRefused) {
  OpenUtf8({"x"});
  Key(VK_END);
  view.OnChar(0xE9, 1, 0);
  view.OnChar(0x2192, 1, 0);
  view.OnUnicodeChar(0x1F600);
  view.OnInputText("\xD0\x96");
  EXPECT_EQ(Text(), "x\xC3\xA9\xE2\x86\x92\xF0\x9F\x98\x80\xD0\x96");
  view.OnEditSwitchOvrmode();
  Place(CPoint(1, 0));
  view.OnChar('o', 1, 0);  // overwrites the whole é
  EXPECT_EQ(Text(), "xo\xE2\x86\x92\xF0\x9F\x98\x80\xD0\x96");

  Open({"x"});  // Windows-1252
  Key(VK_END);
  view.OnChar(0xE9, 1, 0);
  view.OnUnicodeChar(0x20AC);
  view.OnUnicodeChar(0x3A9);
  view.OnInputText("\xC2\xB5\xCE\xA9");
  EXPECT_EQ(Text(), "x\xE9\x80");
  EXPECT_EQ(Status(), "U+03A9 cannot be stored in this Windows-1252 document: nothing was inserted.");
}

TEST_F(Utf8View, PasteAndDropBringTextIntoTheEncodingAndCopyGivesCharacters) {
  OpenUtf8({"\xC2\xB5 " + kOmega});
  Select(CPoint(0, 0), CPoint(5, 0));
  view.Copy();
  EXPECT_EQ(clipboard->GetUtf8Text(), "\xC2\xB5 " + kOmega);
  EXPECT_EQ(clipboard->GetText(), "\xB5 ?");  // for those who know only the code page
  Key(VK_END);
  clipboard->SetText("\xB5\x80");  // Windows-1252 text
  view.Paste();
  EXPECT_EQ(Text(), "\xC2\xB5 " + kOmega + "\xC2\xB5\xE2\x82\xAC");

  Open({"a"});  // Windows-1252
  Key(VK_END);
  clipboard->SetUtf8Text("\xC2\xB5" + kOmega);
  view.Paste();
  EXPECT_EQ(Text(), "a");
  EXPECT_EQ(Status(), "U+03A9 cannot be stored in this Windows-1252 document: nothing was inserted.");
  clipboard->SetUtf8Text("\xC2\xB5\xE2\x82\xAC");
  view.Paste();
  EXPECT_EQ(Text(), "a\xB5\x80");
  Select(CPoint(0, 0), CPoint(3, 0));
  view.Copy();
  EXPECT_EQ(clipboard->GetUtf8Text(), "a\xC2\xB5\xE2\x82\xAC");

  COleDataObject refused(GlobalAllocText("?"), GlobalAllocText(kOmega));
  EXPECT_FALSE(view.DoDropText(&refused, Cell(0, 0)));
  COleDataObject taken(GlobalAllocText("?"), GlobalAllocText("\xC3\xA9"));
  EXPECT_TRUE(view.DoDropText(&taken, Cell(0, 0)));
  EXPECT_EQ(Text(), "\xE9" "a\xB5\x80");
}

// Plain text is found by its bytes (ASCII letters in any case), expressions match whole
// characters; a start inside a character goes on after it. Windows-1252 text is bytes.
TEST_F(Utf8View, SearchFindsBytesOfTextAndExpressionsMatchCharacters) {
  OpenUtf8({"10 \xC2\xB5 Ohm " + kOmega + " " + kOmega, "h\xC3\xA9llo"});
  // What is searched from where with which flags, and the match found.
  const std::tuple<std::string, CPoint, unsigned, CPoint, int> cases[] = {
      {kOmega, {0, 0}, 0, {10, 0}, 2},
      {"ohm", {0, 0}, 0, {6, 0}, 3},
      {"\xC2\xB5.O", {0, 0}, SEARCH_REGEX, {3, 0}, 4},
      {"\xCF\x89", {0, 0}, SEARCH_REGEX, {10, 0}, 2},  // ω ~ Ω
      {".$", {0, 0}, SEARCH_REGEX | SEARCH_MATCH_CASE, {13, 0}, 2},
      {"\\w+", {0, 1}, SEARCH_REGEX, {0, 1}, 6},
      {".", {15, 0}, SEARCH_REGEX | SEARCH_BACKWARD, {13, 0}, 2},
      {".", {11, 0}, SEARCH_REGEX, {12, 0}, 1},
  };
  CPoint pos;
  int length = 0;
  for (const auto& [what, from, flags, matchPos, matchLength] : cases) {
    ASSERT_TRUE(view.FindText(what, from, flags, false, pos, length)) << what;
    EXPECT_EQ(std::make_pair(pos, length), std::make_pair(matchPos, matchLength)) << what;
  }
  buffer.SetEncoding(ENCODING_WINDOWS_1252);
  ASSERT_TRUE(view.FindText("\\w+", CPoint(0, 1), SEARCH_REGEX, false, pos, length));
  EXPECT_EQ(length, 1);
}

}  // namespace
}  // namespace quill
