#include "view/text_matcher.h"

#include <array>
#include <cstring>
#include <exception>

#include <boost/regex.hpp>

#include "view/search_flags.h"

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
  boost::regex re;
  boost::match_results<const char*> match;
};

TextMatcher::TextMatcher(std::string_view what, unsigned long flags)
    : m_bRegex((flags & SEARCH_REGEX) != 0),
      m_bIgnoreCase((flags & SEARCH_MATCH_CASE) == 0),
      m_bWholeWord((flags & SEARCH_WHOLE_WORD) != 0 && (flags & SEARCH_REGEX) == 0) {
  if (m_bRegex) {
    boost::regex::flag_type syntax = boost::regex::normal;
    if (m_bIgnoreCase) syntax |= boost::regex::icase;
    try {
      m_regex = std::make_unique<Regex>();
      m_regex->re.assign(what.data(), what.data() + what.size(), syntax);
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
      // Candidates are the bytes whose upper case is the first byte of the text.
      const unsigned char first = static_cast<unsigned char>(m_what[0]);
      for (const char* q = p; q <= last; ++q) {
        if (Upper(*q) == first && EqualAt(q)) {
          hit = q;
          break;
        }
      }
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
    if (!boost::regex_search(begin, begin + text.size(), m_regex->match, m_regex->re)) {
      return false;
    }
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
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  bool bFound = false;
  try {
    // Each match found restarts the search one byte after its start, so the last match
    // found is the one that starts rightmost.
    for (const char* p = begin; p <= end;) {
      auto flags = boost::match_default;
      if (p != begin) flags |= boost::match_prev_avail;
      if (!boost::regex_search(p, end, m_regex->match, m_regex->re, flags)) break;
      const char* start = m_regex->match[0].first;
      offset = static_cast<int>(start - begin);
      length = static_cast<int>(m_regex->match[0].second - start);
      bFound = true;
      if (start == end) break;
      p = start + 1;
    }
  } catch (const std::exception&) {
    m_state = State::GaveUp;
    return false;
  }
  return bFound;
}

}  // namespace quill
