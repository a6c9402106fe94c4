#include <gtest/gtest.h>

#include <random>

#include "../../fuzz/search_property.h"
#include "input_fixture.h"
#include "platform/headless/headless_app_services.h"

namespace quill {
namespace {

using search_fuzz::LinesView;
using search_fuzz::SearchCase;
using search_fuzz::SearchResult;

constexpr unsigned long MC = SEARCH_MATCH_CASE;
constexpr unsigned long WW = SEARCH_WHOLE_WORD;
constexpr unsigned long BACK = SEARCH_BACKWARD;
constexpr unsigned long RE = SEARCH_REGEX;
constexpr unsigned long IGN = SEARCH_IGNORE_SELECTION;

class SearchEngine : public ::testing::Test {
 protected:
  ScopedHeadlessServices services;
  LinesView view;
};

// A few rules spelled out; the random test below checks the rest against the reference.
TEST_F(SearchEngine, FindsWhatTheRulesSay) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string what;
    unsigned long flags;
    CPoint start;
    bool wrap;
    SearchResult expected;
    CPoint selStart, selEnd;  // a selection moves the start past it unless ignored
  };
  const Case cases[] = {
      {"an empty line is skipped, so ^$ finds none", {"a", "", "b"}, "^$", RE, {0, 0}, false, {0, {}, 0, "Ready"}, {}, {}},
      {"a regular expression's match has its own length", {"abbbc"}, "b+", RE, {0, 0}, false, {1, {1, 0}, 3, "Ready"}, {}, {}},
      {"wrapping finds the occurrence before the start", {"foo", "bar"}, "foo", 0, {1, 1}, true, {1, {0, 0}, 3, "End of the file reached."}, {}, {}},
      {"whole word counts the searched text's start as a boundary", {"xab"}, "ab", WW | MC, {1, 0}, false, {1, {1, 0}, 2, "Ready"}, {}, {}},
      {"case ignored only for ASCII", {"\xc9t\xc9"}, "\xe9T", 0, {0, 0}, false, {0, {}, 0, "Ready"}, {}, {}},
      {"backwards, a match must end before the start", {"abcabc"}, "abc", BACK, {5, 0}, false, {1, {0, 0}, 3, "Ready"}, {}, {}},
      {"backwards wrapping continues at the last line", {"x", "abc"}, "abc", BACK, {0, 0}, true, {1, {0, 1}, 3, "Beginning of the file reached."}, {}, {}},
      {"backwards, the expression starting rightmost", {"aaa"}, "aa", BACK | RE, {3, 0}, false, {1, {1, 0}, 2, "Ready"}, {}, {}},
      {"an invalid expression finds nothing", {"a(", "a("}, "a(", RE, {0, 0}, false, {0, {}, 0, "Ready"}, {}, {}},
      {"an invalid expression still reports the wrap", {"a("}, "a(", RE, {0, 0}, true, {0, {}, 0, "End of the file reached."}, {}, {}},
      {"whole word has no effect on an expression", {"ab_c"}, "ab", RE | WW, {0, 0}, false, {1, {0, 0}, 2, "Ready"}, {}, {}},
      {"a selection moves the start past it", {"", "foo foo foo"}, "foo", 0, {2, 1}, false, {1, {8, 1}, 3, "Ready"}, {2, 1}, {7, 1}},
      {"an ignored selection does not", {"", "foo foo foo"}, "foo", IGN, {2, 1}, false, {1, {4, 1}, 3, "Ready"}, {2, 1}, {7, 1}},
      {"backwards the selection's start is used", {"", "foo foo foo"}, "foo", BACK, {9, 1}, false, {0, {}, 0, "Ready"}, {2, 1}, {7, 1}},
      {"backwards, an ignored selection is not", {"", "foo foo foo"}, "foo", BACK | IGN, {9, 1}, false, {1, {4, 1}, 3, "Ready"}, {2, 1}, {7, 1}},
  };
  for (const Case& c : cases) {
    view.lines = c.lines;
    view.SetSelection(c.selStart, c.selEnd);
    const SearchResult r = search_fuzz::Run(view, {c.lines, c.what, c.flags, c.start, c.wrap, true, {}, {}});
    EXPECT_TRUE(r == c.expected) << c.name << ": " << r.found << " at (" << r.pos.x << ","
                                 << r.pos.y << ") length " << r.length << " [" << r.status << "]";
  }
}

// An expression the engine gives up on ends the whole search at the first line that
// defeats it, with a reason on the status bar, instead of trying every line.
TEST_F(SearchEngine, ACatastrophicExpressionStopsTheSearchAtTheFirstLine) {
  struct CountingView : LinesView {
    int reads = 0;
    const char* GetLineChars(int n) override {
      ++reads;
      return LinesView::GetLineChars(n);
    }
  } counting;
  counting.lines.assign(20, std::string(3000, 'a'));
  CPoint pos;
  int length = 0;
  EXPECT_EQ(counting.FindText("(a*)*b", CPoint(0, 0), RE, true, pos, length), 0);
  EXPECT_EQ(counting.reads, 1);
  EXPECT_EQ(services.m_statusBar.GetPaneText(0),
            "Search stopped: the regular expression is too complex.");
}

using SearchSelection = testing::InputTest;

TEST_F(SearchSelection, HighlightSelectsTheMatchAndRecentSearchesBecomeTheLastSearch) {
  Open({"xfoo foo", "bar"});
  EXPECT_EQ(view.HighlightString("foo"), 1);  // whole word: not the one in xfoo
  EXPECT_EQ(Selection(), testing::Sel({5, 0}, {8, 0}));
  EXPECT_EQ(Cursor(), CPoint(8, 0));
  EXPECT_EQ(view.m_ptAnchor, CPoint(8, 0));
  EXPECT_EQ(view.HighlightString("Foo"), 0);

  // The second "bar" is already there and keeps its place.
  for (const char* text : {"bar", "foo", "bar", ""}) view.AddToRecentSearched(text);
  EXPECT_EQ(view.GetFindHistory(), (std::deque<std::string>{"", "foo", "bar"}));
  EXPECT_EQ(view.m_sLastFindText, "bar");
  EXPECT_TRUE(view.m_bHasLastFind);
}

// Random texts, search texts, flags, starts, blocks and wrapping: the engine agrees with
// the reference on the result and on the status-bar message.
TEST_F(SearchEngine, AgreesWithTheReferenceOnRandomSearches) {
  std::mt19937 random(20261205);
  std::vector<std::uint8_t> bytes(96);
  int found = 0;
  for (int i = 0; i < 20000; ++i) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    search_fuzz::ByteSource in(bytes.data(), bytes.size());
    const SearchCase c = search_fuzz::MakeCase(in, false);
    const SearchResult expected = search_fuzz::Reference(c);
    const SearchResult actual = search_fuzz::Run(view, c);
    found += expected.found;
    ASSERT_TRUE(actual == expected) << "case " << i << ": \"" << c.what << "\" flags " << c.flags
                                    << ", found " << actual.found << " [" << actual.status << "]";
  }
  EXPECT_GT(found, 4000);  // the cases exercise matches, not only misses

  // Backwards over long lines, where a regular expression's last match is searched from
  // the right end in windows.
  bytes.resize(8000);
  for (int i = 0; i < 150; ++i) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    bytes[0] |= 4 | 8;  // SEARCH_BACKWARD | SEARCH_REGEX
    search_fuzz::ByteSource in(bytes.data(), bytes.size());
    const SearchCase c = search_fuzz::MakeCase(in, false, 1500);
    const SearchResult expected = search_fuzz::Reference(c);
    ASSERT_TRUE(search_fuzz::Run(view, c) == expected)
        << "long case " << i << ": \"" << c.what << "\" flags " << c.flags;
  }
}

}  // namespace
}  // namespace quill
