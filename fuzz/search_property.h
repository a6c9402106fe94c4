#pragma once
// Random searches for the view's search engine, shared by the libFuzzer target and the
// fixed-seed test loop: a few lines of text, a search text, flags, a start, a block and
// the wrap switch are drawn from a byte stream; the view's result (found, position,
// length and the status-bar message) is compared with a straightforward reference that
// matches by brute force, reversing strings for plain backward searches and using
// std::regex for regular expressions.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "platform/app_services.h"
#include "view/quill_view.h"

namespace quill::search_fuzz {

// Hands out the bytes of a fuzzer input; zeros once they run out.
class ByteSource {
 public:
  ByteSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  bool Empty() const { return m_pos >= m_size; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

// A view that shows lines held in memory (no buffer).
class LinesView : public QuillView {
 public:
  std::vector<std::string> lines;
  int GetLineCount() override { return static_cast<int>(lines.size()); }
  int GetLineLength(int n) override { return static_cast<int>(lines.at(static_cast<std::size_t>(n)).size()); }
  const char* GetLineChars(int n) override { return lines.at(static_cast<std::size_t>(n)).data(); }
};

struct SearchCase {
  std::vector<std::string> lines;
  std::string what;
  unsigned long flags = 0;
  CPoint start;
  bool wrap = false;
  bool wholeText = true;  // FindText, else FindTextInBlock with the block below
  CPoint blockBegin;
  CPoint blockEnd;
};

struct SearchResult {
  int found = 0;
  CPoint pos;
  int length = 0;
  std::string status;  // the status-bar message after the search
  bool operator==(const SearchResult& o) const {
    return found == o.found && (!found || (pos == o.pos && length == o.length)) &&
           status == o.status;
  }
};

// Bytes of the texts: letters of both cases, word and non-word bytes, bytes above 0x7F.
inline char TextChar(ByteSource& in, bool ascii) {
  static constexpr char kAlphabet[] = "aAbB_ .1\xe9\xc9";
  return kAlphabet[in.Byte() % (ascii ? 8 : 10)];
}

// A regular expression from a grammar on which Boost and std::regex (ECMAScript) agree.
inline std::string SafeRegex(ByteSource& in) {
  static constexpr const char* kAtoms[] = {"a", "A", "b", "_", " ", ".", "[ab]", "[^a]",
                                           "\\.", "(ab|a)", "\\b", "1"};
  static constexpr const char* kSuffixes[] = {"", "", "", "*", "+", "?"};
  std::string re;
  if (in.Byte() % 5 == 0) re += '^';
  for (int n = in.Byte() % 4; n > 0; --n) {
    const std::string atom = kAtoms[in.Byte() % 12];
    re += atom;
    if (atom != "\\b") re += kSuffixes[in.Byte() % 6];
  }
  if (in.Byte() % 5 == 0) re += '$';
  return re;
}

// A random case. With anyRegex the expression is any bytes (possibly invalid); without it
// expressions follow SafeRegex so that the reference can check them.
inline SearchCase MakeCase(ByteSource& in, bool anyRegex, std::size_t maxLine = 12) {
  SearchCase c;
  c.flags = 0;
  const std::uint8_t f = in.Byte();
  if (f & 1) c.flags |= SEARCH_MATCH_CASE;
  if (f & 2) c.flags |= SEARCH_WHOLE_WORD;
  if (f & 4) c.flags |= SEARCH_BACKWARD;
  if (f & 8) c.flags |= SEARCH_REGEX;
  if (f & 16) c.flags |= SEARCH_IGNORE_SELECTION;
  c.wrap = (f & 32) != 0;
  c.wholeText = (f & 64) == 0;
  const bool regex = (c.flags & SEARCH_REGEX) != 0;
  c.lines.resize(1 + in.Byte() % 6);
  for (std::string& line : c.lines) {
    std::size_t length = in.Byte();
    if (maxLine > 255) length |= static_cast<std::size_t>(in.Byte()) << 8;
    line.resize(length % (maxLine + 1));
    for (char& ch : line) ch = TextChar(in, regex);
  }
  if (regex && anyRegex) {
    c.what.resize(in.Byte() % 8);
    for (char& ch : c.what) ch = "a(b)*+?[]{}|\\^$.1,"[in.Byte() % 18];
  } else if (regex) {
    c.what = SafeRegex(in);
  } else {
    c.what.resize(in.Byte() % 4);
    for (char& ch : c.what) ch = TextChar(in, false);
  }
  const int count = static_cast<int>(c.lines.size());
  const auto point = [&] {
    const int line = in.Byte() % count;
    const int x = in.Byte() % (static_cast<int>(c.lines[static_cast<std::size_t>(line)].size()) + 2);
    return CPoint(x, line);
  };
  c.start = point();
  c.blockBegin = point();
  c.blockEnd = point();
  if (c.blockEnd.y < c.blockBegin.y ||
      (c.blockEnd.y == c.blockBegin.y && c.blockEnd.x < c.blockBegin.x)) {
    std::swap(c.blockBegin, c.blockEnd);
  }
  return c;
}

// ---- the reference ----

inline bool IsWordByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

inline std::string UpperAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The first occurrence that counts, trying every start in turn.
inline std::optional<std::size_t> PlainFind(const std::string& text, const std::string& what,
                                            bool wholeWord) {
  for (std::size_t k = 0; k + what.size() <= text.size(); ++k) {
    if (text.compare(k, what.size(), what) != 0) continue;
    if (!wholeWord) return k;
    const bool before = k == 0 || !IsWordByte(text[k - 1]);
    const bool after = k + what.size() == text.size() || !IsWordByte(text[k + what.size()]);
    if (before && after) return k;
  }
  return std::nullopt;
}

inline SearchResult Reference(const SearchCase& c) {
  SearchResult r;
  r.status = "Ready";
  const auto before = [](CPoint a, CPoint b) { return a.y < b.y || (a.y == b.y && a.x < b.x); };
  CPoint begin = c.wholeText ? CPoint(0, 0) : c.blockBegin;
  CPoint end = c.wholeText ? CPoint(static_cast<int>(c.lines.back().size()),
                                    static_cast<int>(c.lines.size()) - 1)
                           : c.blockEnd;
  if (begin == end) {
    r.status.clear();  // untouched
    return r;
  }
  const bool regex = (c.flags & SEARCH_REGEX) != 0;
  const bool ignoreCase = (c.flags & SEARCH_MATCH_CASE) == 0;
  const bool wholeWord = (c.flags & SEARCH_WHOLE_WORD) != 0 && !regex;
  const bool convert = ignoreCase && !regex;
  std::optional<std::regex> re;
  if (regex) {
    try {
      re.emplace(c.what, ignoreCase ? std::regex::ECMAScript | std::regex::icase
                                    : std::regex::ECMAScript);
    } catch (const std::regex_error&) {
    }
  }
  const std::string what = convert ? UpperAscii(c.what) : c.what;
  const int count = static_cast<int>(c.lines.size());
  CPoint cur = before(c.start, begin) ? begin : c.start;
  bool wrap = c.wrap;
  const auto hit = [&](int x, int y, int length) {
    r.found = 1;
    r.pos = CPoint(x, y);
    r.length = length;
    return r;
  };

  if (!(c.flags & SEARCH_BACKWARD)) {
    for (;;) {
      for (; cur.y <= end.y && cur.y < count; ++cur.y, cur.x = 0) {
        const std::string& line = c.lines[static_cast<std::size_t>(cur.y)];
        if (cur.x >= static_cast<int>(line.size())) continue;
        std::string text = line.substr(static_cast<std::size_t>(cur.x));
        int k = -1;
        int length = 0;
        if (regex) {
          std::smatch m;
          if (re && std::regex_search(text, m, *re)) {
            k = static_cast<int>(m.position(0));
            length = static_cast<int>(m.length(0));
          }
        } else if (auto pos = PlainFind(convert ? UpperAscii(text) : text, what, wholeWord)) {
          k = static_cast<int>(*pos);
          length = static_cast<int>(what.size());
        }
        if (k < 0) continue;
        if (cur.y == end.y && cur.x + k >= end.x) break;
        return hit(cur.x + k, cur.y, length);
      }
      if (!wrap) return r;
      r.status = "End of the file reached.";
      wrap = false;
      cur = begin;
    }
  }

  if (cur.y >= count) cur = CPoint(static_cast<int>(c.lines.back().size()), count - 1);
  for (;;) {
    for (bool first = true; cur.y >= 0; --cur.y, first = false) {
      const std::string& line = c.lines[static_cast<std::size_t>(cur.y)];
      const std::size_t n = first ? std::min(line.size(), static_cast<std::size_t>(std::max(cur.x, 0)))
                                  : line.size();
      const std::string text = line.substr(0, n);
      if (regex) {
        if (!re) continue;
        for (std::size_t s = n + 1; s-- > 0;) {
          std::smatch m;
          auto flags = std::regex_constants::match_continuous;
          if (s > 0) flags |= std::regex_constants::match_prev_avail;
          if (std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(s), text.end(), m, *re, flags)) {
            return hit(static_cast<int>(s), cur.y, static_cast<int>(m.length(0)));
          }
        }
        continue;
      }
      std::string reversedText = convert ? UpperAscii(text) : text;
      std::reverse(reversedText.begin(), reversedText.end());
      std::string reversedWhat = what;
      std::reverse(reversedWhat.begin(), reversedWhat.end());
      if (auto k = PlainFind(reversedText, reversedWhat, wholeWord)) {
        return hit(static_cast<int>(n - what.size() - *k), cur.y, static_cast<int>(what.size()));
      }
    }
    if (!wrap) return r;
    r.status = "Beginning of the file reached.";
    wrap = false;
    cur = CPoint(static_cast<int>(c.lines.back().size()), count - 1);
  }
}

// Runs the case on the view (its lines replaced) and reads the status bar's pane 0, which
// is cleared to "" first so that an untouched bar reads "".
inline SearchResult Run(LinesView& view, const SearchCase& c) {
  view.lines = c.lines;
  IStatusBar* bar = GetApplicationServices().GetStatusBar();
  if (bar != nullptr) bar->SetPaneText(0, "");
  SearchResult r;
  r.found = c.wholeText ? view.FindText(c.what, c.start, c.flags, c.wrap, &r.pos, &r.length)
                        : view.FindTextInBlock(c.what, c.start, c.blockBegin, c.blockEnd, c.flags,
                                               c.wrap, &r.pos, &r.length);
  if (bar != nullptr) r.status = bar->GetPaneText(0);
  return r;
}

// A match lies inside its line.
inline bool InsideItsLine(const SearchCase& c, const SearchResult& r) {
  if (!r.found) return true;
  if (r.pos.y < 0 || r.pos.y >= static_cast<int>(c.lines.size())) return false;
  const int length = static_cast<int>(c.lines[static_cast<std::size_t>(r.pos.y)].size());
  return r.pos.x >= 0 && r.length >= 0 && r.pos.x + r.length <= length;
}

}  // namespace quill::search_fuzz
