#include "view/text_matcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <boost/regex.hpp>
#include <boost/regex/icu.hpp>

#include "platform/text_encoding.h"

#include "view/search_flags.h"

namespace quill {

// The traits of the matcher's expressions: Boost's own, under a name of this file, so
// that the matching code is instantiated here with the complexity limit below.
struct MatcherTraits : boost::regex_traits<char> {};

}  // namespace quill

// How many states the engine may visit in one search before it gives up: its own
// estimate (the larger of N * S^2 and N^2 for a text of N bytes and an expression of S
// states) but at most a million plus four per byte, so that an expression that explodes
// on a long line gives up within a fraction of a second instead of seconds.
template <>
void boost::BOOST_REGEX_DETAIL_NS::perl_matcher<
    const char*, std::allocator<boost::sub_match<const char*>>,
    quill::MatcherTraits>::estimate_max_state_count(std::random_access_iterator_tag*) {
  constexpr std::int64_t kBase = 100000;
  constexpr std::int64_t kCeiling = 1000000;
  constexpr std::int64_t kPerByte = 4;
  const std::int64_t n = std::max<std::int64_t>(last - base, 1);
  const std::int64_t s = std::max<std::int64_t>(static_cast<std::int64_t>(re.size()), 1);
  const std::int64_t limit = kCeiling + kPerByte * n;
  // N * S^2 and N^2 stay below the limit whenever they are compared with it.
  const std::int64_t byStates = s > limit / s || s * s > limit / n ? limit : n * s * s + kBase;
  const std::int64_t byText = n > limit / n ? limit : n * n + kBase;
  max_state_count = static_cast<std::ptrdiff_t>(std::min(limit, std::max(byStates, byText)));
}

namespace quill {

namespace {

// ASCII letters to upper case; every other byte (0x80 and up included) unchanged.
constexpr std::array<unsigned char, 256> MakeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) {
    table[static_cast<std::size_t>(i)] =
        static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
  }
  return table;
}
constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

inline unsigned char Upper(char c) { return kUpper[static_cast<unsigned char>(c)]; }

// Word characters of a whole-word search: ASCII letters, digits and the underscore.
inline bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

struct TextMatcher::Regex {
  boost::basic_regex<char, MatcherTraits> re;
  boost::u32regex ure;  // the expression over the characters of UTF-8 text
  boost::match_results<const char*> match;
};

TextMatcher::TextMatcher(std::string_view what, unsigned long flags, bool bUtf8)
    : m_bRegex((flags & SEARCH_REGEX) != 0),
      m_bIgnoreCase((flags & SEARCH_MATCH_CASE) == 0),
      m_bWholeWord((flags & SEARCH_WHOLE_WORD) != 0 && (flags & SEARCH_REGEX) == 0),
      m_bUtf8(bUtf8) {
  if (m_bRegex) {
    boost::regex::flag_type syntax = boost::regex::normal;
    if (m_bIgnoreCase) syntax |= boost::regex::icase;
    try {
      m_regex = std::make_unique<Regex>();
      if (m_bUtf8) {
        if (!IsValidUtf8(what.data(), what.size())) throw std::invalid_argument("not UTF-8");
        m_regex->ure = boost::make_u32regex(what.data(), what.data() + what.size(), syntax);
      } else {
        m_regex->re.assign(what.data(), what.data() + what.size(), syntax);
      }
    } catch (const std::exception&) {
      m_state = State::BadPattern;
    }
    return;
  }
  m_what.assign(what);
  if (m_bIgnoreCase) {
    for (char& c : m_what) c = static_cast<char>(Upper(c));
  }
}

TextMatcher::~TextMatcher() = default;

bool TextMatcher::IsWholeWordAt(std::string_view text, std::size_t pos) const {
  if (pos > 0 && IsWordChar(text[pos - 1])) return false;
  const std::size_t after = pos + m_what.size();
  return after >= text.size() || !IsWordChar(text[after]);
}

bool TextMatcher::EqualAt(const char* p) const {
  if (!m_bIgnoreCase) return std::memcmp(p, m_what.data(), m_what.size()) == 0;
  for (std::size_t i = 0; i < m_what.size(); ++i) {
    if (Upper(p[i]) != static_cast<unsigned char>(m_what[i])) return false;
  }
  return true;
}

// The first start in p .. last (inclusive) of the upper-cased text ignoring case, or null.
// Candidates are the starts whose first and last bytes match, sixteen starts at a time.
const char* TextMatcher::IgnoreCaseCandidate(const char* p, const char* last) const {
  const std::size_t m = m_what.size();
  const unsigned char first = static_cast<unsigned char>(m_what.front());
  const unsigned char lastByte = static_cast<unsigned char>(m_what.back());
#if defined(__SSE2__)
  // A byte b matches an upper-case letter L when (b | 0x20) == (L | 0x20), and any other
  // byte c only when b == c.
  const auto probe = [](unsigned char c) {
    const bool bLetter = c >= 'A' && c <= 'Z';
    return std::pair(_mm_set1_epi8(static_cast<char>(bLetter ? 0x20 : 0)),
                     _mm_set1_epi8(static_cast<char>(bLetter ? (c | 0x20) : c)));
  };
  const auto [orFirst, isFirst] = probe(first);
  const auto [orLast, isLast] = probe(lastByte);
  for (; last - p >= 15; p += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m - 1));
    unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, orFirst), isFirst),
                      _mm_cmpeq_epi8(_mm_or_si128(b, orLast), isLast))));
    for (; bits != 0; bits &= bits - 1) {
      const char* q = p + __builtin_ctz(bits);
      if (EqualAt(q)) return q;
    }
  }
#endif
  for (; p <= last; ++p) {
    if (Upper(*p) == first && Upper(p[m - 1]) == lastByte && EqualAt(p)) return p;
  }
  return nullptr;
}

bool TextMatcher::PlainFirst(std::string_view text, int& offset) {
  const std::size_t m = m_what.size();
  if (m > text.size()) return false;
  const char* const begin = text.data();
  const char* const last = begin + (text.size() - m);  // the last possible start
  if (m == 0) {
    if (m_bWholeWord) {
      for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        if (IsWholeWordAt(text, pos)) {
          offset = static_cast<int>(pos);
          return true;
        }
      }
      return false;
    }
    offset = 0;
    return true;
  }
  const char* p = begin;
  while (p <= last) {
    const char* hit = nullptr;
    if (!m_bIgnoreCase) {
      hit = static_cast<const char*>(
          memmem(p, static_cast<std::size_t>(last - p) + m, m_what.data(), m));
    } else {
      hit = IgnoreCaseCandidate(p, last);
    }
    if (hit == nullptr) return false;
    const std::size_t pos = static_cast<std::size_t>(hit - begin);
    if (!m_bWholeWord || IsWholeWordAt(text, pos)) {
      offset = static_cast<int>(pos);
      return true;
    }
    p = hit + 1;  // occurrences may overlap
  }
  return false;
}

bool TextMatcher::PlainLast(std::string_view text, int& offset) {
  const std::size_t m = m_what.size();
  if (m > text.size()) return false;
  for (std::size_t pos = text.size() - m + 1; pos-- > 0;) {
    if (EqualAt(text.data() + pos) && (!m_bWholeWord || IsWholeWordAt(text, pos))) {
      offset = static_cast<int>(pos);
      return true;
    }
  }
  return false;
}

bool TextMatcher::FindFirst(std::string_view text, int& offset, int& length) {
  if (m_state != State::Ready) return false;
  if (!m_bRegex) {
    length = static_cast<int>(m_what.size());
    return PlainFirst(text, offset);
  }
  const char* const begin = text.data();
  try {
    if (!RegexSearch(begin, begin + text.size(), boost::match_default)) return false;
  } catch (const std::exception&) {
    // Complexity or stack limits of the engine: the expression cannot be searched with.
    m_state = State::GaveUp;
    return false;
  }
  offset = static_cast<int>(m_regex->match[0].first - begin);
  length = static_cast<int>(m_regex->match[0].second - m_regex->match[0].first);
  return true;
}

bool TextMatcher::FindLast(std::string_view text, int& offset, int& length) {
  if (m_state != State::Ready) return false;
  if (!m_bRegex) {
    length = static_cast<int>(m_what.size());
    return PlainLast(text, offset);
  }
  try {
    return RegexLast(text, offset, length);
  } catch (const std::exception&) {
    m_state = State::GaveUp;
    return false;
  }
}

bool TextMatcher::RegexSearch(const char* first, const char* last, unsigned flags) {
  const auto matchFlags = static_cast<boost::match_flag_type>(flags);
  if (m_bUtf8) return boost::u32regex_search(first, last, m_regex->match, m_regex->ure, matchFlags);
  return boost::regex_search(first, last, m_regex->match, m_regex->re, matchFlags);
}

std::size_t TextMatcher::CharStart(std::string_view text, std::size_t pos) const {
  if (!m_bUtf8 || pos >= text.size()) return pos;
  return static_cast<std::size_t>(Utf8CharStart(text.data(), static_cast<int>(text.size()), static_cast<int>(pos)));
}

bool TextMatcher::RegexFrom(std::string_view text, std::size_t pos, bool bAnchored) {
  const char* const begin = text.data();
  auto flags = bAnchored ? boost::match_continuous : boost::match_default;
  if (pos > 0) flags |= boost::match_prev_avail;
  return RegexSearch(begin + pos, begin + text.size(), flags);
}

// The match that starts rightmost is what a forward search restarted one byte after each
// match would end with, found without walking every match from the left. Until a match is
// known, searches start in windows taken from the right end, growing while they find
// nothing. Then the range where the rightmost start can lie is narrowed by turns: a search
// from just after the last match (which ends at once when it was the only one), and one
// from the middle of the range. The last few positions are tried one by one.
bool TextMatcher::RegexLast(std::string_view text, int& offset, int& length) {
  constexpr std::size_t kFirstWindow = 256;
  constexpr std::size_t kGrowth = 8;
  constexpr std::size_t kAnchoredTries = 32;
  const char* const begin = text.data();
  const auto take = [&] {
    offset = static_cast<int>(m_regex->match[0].first - begin);
    length = static_cast<int>(m_regex->match[0].second - m_regex->match[0].first);
  };
  // No match starts in [known, size]; a match found so far starts before floor.
  std::size_t known = text.size() + 1;
  std::size_t floor = 0;
  std::size_t window = kFirstWindow;
  bool bFound = false;
  bool bStep = true;
  while (floor < known) {
    std::size_t from = floor;
    if (!bFound) {
      if (known - floor > window) from = known - window;
    } else if (known - floor <= kAnchoredTries) {
      for (std::size_t pos = known; pos-- > floor;) {
        if (CharStart(text, pos) != pos) continue;
        if (RegexFrom(text, pos, true)) {
          take();
          break;
        }
      }
      return true;
    } else {
      if (!bStep) from = floor + (known - floor) / 2;
      bStep = !bStep;
    }
    from = std::max(CharStart(text, from), floor);
    if (!RegexFrom(text, from, false)) {
      known = from;
      window *= kGrowth;
      continue;
    }
    take();
    bFound = true;
    floor = static_cast<std::size_t>(offset) + 1;
    if (m_bUtf8 && floor < text.size()) {
      char32_t cp;
      floor = static_cast<std::size_t>(offset + DecodeUtf8(text.data(), static_cast<int>(text.size()), offset, cp));
    }
  }
  return bFound;
}

}  // namespace quill
