// The line parser: splits one line into coloured runs from the data of a style and
// returns the parse state (cookie) at the line's end.
//
// Positions where nothing can happen are skipped in bulk: inside a string, a character
// literal or a multi-line comment the scan jumps with memchr to the next closing
// candidate, and in the normal state only bytes that end a delimiter (or the line-start
// preprocessor test) take the full sequence of tests. The runs written are exactly those
// of the one-position-at-a-time rules.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "style/document_style.h"
#include "style/style_tables.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quill {
namespace {

constexpr unsigned long kComment = TDocumentStyle::COOKIE_COMMENT;
constexpr unsigned long kPreproc = TDocumentStyle::COOKIE_PREPROCESSOR;
constexpr unsigned long kExtComment = TDocumentStyle::COOKIE_EXT_COMMENT;
constexpr unsigned long kString = TDocumentStyle::COOKIE_STRING;
constexpr unsigned long kChar = TDocumentStyle::COOKIE_CHAR;

constexpr int kNormal = TDocumentStyle::COLORINDEX_NORMALTEXT;
constexpr int kCommentColor = TDocumentStyle::COLORINDEX_COMMENT;
constexpr int kNumberColor = TDocumentStyle::COLORINDEX_NUMBER;
constexpr int kStringColor = TDocumentStyle::COLORINDEX_STRING;
constexpr int kPreprocColor = TDocumentStyle::COLORINDEX_PREPROCESSOR;
constexpr int kBkgnd = TDocumentStyle::COLORINDEX_BKGND_OFFSET;

// Appends runs, dropping any that would start before the previous one.
struct RunWriter {
  TEXTBLOCK* blocks;
  int& count;
  void Add(int pos, int fg, int bg) {
    if (!blocks) return;
    if (count > 0 && blocks[count - 1].charPos > pos) return;
    blocks[count++] = TEXTBLOCK{pos, fg, bg};
  }
  // Normal text lies on the text area's own background (17); the other kinds on their
  // foreground index + 17.
  void Add(int pos, int fg) { Add(pos, fg, fg == kNormal ? kBkgnd : fg + kBkgnd); }
};

// The delimiter ends at position i of the line and lies wholly within it.
inline bool MatchesAt(const std::string& delim, const char* line, int i) {
  const int len = static_cast<int>(delim.size());
  if (len == 1) return line[i] == delim[0];
  return len > 0 && i + 1 >= len && std::memcmp(line + i + 1 - len, delim.data(), delim.size()) == 0;
}

int StateColor(unsigned long cookie) {
  if (cookie & (kComment | kExtComment)) return kCommentColor;
  if (cookie & (kString | kChar)) return kStringColor;
  if (cookie & kPreproc) return kPreprocColor;
  return kNormal;
}

// From position i inside a literal opened by `open`, finds the closing character: the
// first character of `open` not preceded by the escape (0 = no escape). Returns the
// position after it, or -1 when the literal runs past the line's end.
// The first single-line comment slot whose delimiter ends at i and may open a comment
// there (at the line start, or after one of the slot's prefix characters), or -1.
int SingleCommentAt(const std::string (&delims)[3], const std::string (&prefixes)[3], const bool (&bol)[3],
                    const char* line, int i) {
  for (int slot = 0; slot < 3; ++slot) {
    if (!MatchesAt(delims[slot], line, i)) continue;
    if (i == 0 ? bol[slot] : prefixes[slot].empty() || prefixes[slot].find(line[i - 1]) != std::string::npos)
      return slot;
  }
  return -1;
}

int LiteralEnd(const char* line, int length, int i, const std::string& open, char escape) {
  if (open.empty()) return -1;
  const char quote = open[0];
  while (i < length) {
    const void* hit = std::memchr(line + i, quote, static_cast<std::size_t>(length - i));
    if (!hit) return -1;
    const int j = static_cast<int>(static_cast<const char*>(hit) - line);
    if (j > 0 && escape != 0 && line[j - 1] == escape) {
      i = j + 1;
      continue;
    }
    return j + 1;
  }
  return -1;
}

// From position i inside a multi-line comment, the position after the closing
// delimiter, or -1 when it does not close on this line.
int CommentEnd(const char* line, int length, int i, const std::string& close) {
  const char last = close.back();
  while (i < length) {
    const void* hit = std::memchr(line + i, last, static_cast<std::size_t>(length - i));
    if (!hit) return -1;
    const int j = static_cast<int>(static_cast<const char*>(hit) - line);
    if (MatchesAt(close, line, j)) return j + 1;
    i = j + 1;
  }
  return -1;
}


// Whether a delimiter may end at i, whose byte ends some delimiter: the byte ends one by
// itself, or the byte before it is the next-to-last of one that ends with it. Where
// not, the byte is plain text.
template <typename Tables>
inline bool MayEndDelimiter(const Tables& t, const char* line, int i) {
  const auto c = static_cast<unsigned char>(line[i]);
  const int n = t.prevCount[c];
  if (n < 0) return true;
  for (int k = 0; k < n; ++k)
    if (i > 0 && line[i - 1] == t.prevOf[c][k]) return true;
  return false;
}

// The end of the escaped identifier that starts at i: the next blank, or the line's end.
int EscapedIdentifierEnd(const char* line, int length, int i) {
  while (++i < length && line[i] != ' ' && line[i] != '\t') {
  }
  return i;
}

// The first position in from..to whose byte is marked in marked (or is one of the n bytes
// of ends, n >= 0), or to.
int NextMarked(const char* line, int from, int to, const std::uint8_t* cls, std::uint8_t mark,
               const char* ends, int n) {
  int i = from;
  if (n == 0) return to;
#if defined(__SSE2__)
  if (n > 0) {
    __m128i wanted[8];
    for (int k = 0; k < n; ++k) wanted[k] = _mm_set1_epi8(ends[k]);
    for (; i + 16 <= to; i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
      __m128i hit = _mm_cmpeq_epi8(v, wanted[0]);
      for (int k = 1; k < n; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, wanted[k]));
      const int mask = _mm_movemask_epi8(hit);
      if (mask != 0) return i + __builtin_ctz(static_cast<unsigned>(mask));
    }
  }
#endif
  while (i < to && !(cls[static_cast<unsigned char>(line[i])] & mark)) ++i;
  return i;
}

}  // namespace

// Looks the text up as it is and lower-cased, at most once each, and applies the case
// rules in order: a predefined section under the style's own rule first, then a
// case-sensitive section by the exact text, then a case-insensitive one by the
// lower-cased text.
int TDocumentStyle::FindKeyword(const char* text, int length, const ParserTables& t) const {
  const std::uint8_t* lowerOf = t.lower;
  const std::size_t shape = length < 63 ? static_cast<std::size_t>(length) : 63;
  if (!((t.keywordShape[lowerOf[static_cast<unsigned char>(text[0])]] >> shape) & 1)) return -1;

  // The lower-cased text, on the stack for the usual short identifiers.
  char small[64];
  std::string large;
  char* lowered = small;
  if (length > static_cast<int>(sizeof small)) {
    large.resize(static_cast<std::size_t>(length));
    lowered = large.data();
  }
  bool hasUpper = false;
  for (int i = 0; i < length; ++i) {
    lowered[i] = static_cast<char>(lowerOf[static_cast<unsigned char>(text[i])]);
    hasUpper |= lowered[i] != text[i];
  }
  const std::string_view exact(text, static_cast<std::size_t>(length));
  const std::string_view lower(lowered, static_cast<std::size_t>(length));

  const auto end = t.keywordIndex.end();
  const auto exactHit = t.keywordIndex.find(exact);
  const auto lowerHit = hasUpper ? t.keywordIndex.find(lower) : exactHit;
  const auto first = m_bIgnoreCase ? lowerHit : exactHit;
  if (first != end && !IsCustom(first->second)) return first->second;
  if (exactHit != end && IgnoreCase(exactHit->second) == 0) return exactHit->second;
  if (lowerHit != end && IgnoreCase(lowerHit->second) != 0) return lowerHit->second;
  return -1;
}

int TDocumentStyle::ClassifyIdentifier(const char* text, int length, const ParserTables& t) const {
  const int k = FindKeyword(text, length, t);
  if (k >= 0 && k < GetSectionCount()) return COLORINDEX_KEYWORD + k;
  // A number starts with whitespace, a sign, a digit or a point; a letter rules it out.
  const char lower = static_cast<char>(text[0] | 0x20);
  if (lower >= 'a' && lower <= 'z') return -1;
  if (ReadsAsNumber(text, length)) return kNumberColor;
  if (m_cNumberBase != 0 && ReadsAsBasedNumber(text, length, m_cNumberBase)) return kNumberColor;
  for (std::size_t s = 0; s < m_sections.size(); ++s)
    if (m_sections[s].wordPrefix == text[0]) return COLORINDEX_KEYWORD + static_cast<int>(s);
  return -1;
}

unsigned long TDocumentStyle::ParseLine(const char* line, int length, unsigned long cookie, int,
                                        TEXTBLOCK* blocks, int& count) const {
  if (length < 1 || !line) return cookie & kExtComment;
  ParsePosition at;
  at.cookie = cookie;
  at.lineStart = (cookie & ~kExtComment) == 0;
  return ParseRange(line, length, at, blocks, count);
}

// The parse loop from a position: at.i, with the state that stood there.
unsigned long TDocumentStyle::ParseRange(const char* line, int length, ParsePosition at,
                                         TEXTBLOCK* blocks, int& count) const {
  const ParserTables& t = Tables();
  const auto cls = [&t, line](int i) { return t.cls[static_cast<unsigned char>(line[i])]; };
  const auto stops = [&t, line, &cls](int i) {
    return (cls(i) & ParserTables::kDelimEnd) && MayEndDelimiter(t, line, i);
  };
  RunWriter runs{blocks, count};

  // A pending identifier ends: a keyword or number run at its start.
  const auto endIdentifier = [&](int start, int end) {
    const int color = ClassifyIdentifier(line + start, end - start, t);
    if (color >= COLORINDEX_KEYWORD)
      runs.Add(start, color, color + (COLORINDEX_KEYWORD_BKGND - COLORINDEX_KEYWORD));
    else if (color == kNumberColor)
      runs.Add(start, kNumberColor);
  };

  unsigned long cookie = at.cookie;
  int i = at.i;
  int idStart = -1;
  bool redefine = true;
  bool redefineAtPrevious = at.redefineAtPrevious;
  bool lineStart = at.lineStart;

  for (;;) {
    if (redefine) {
      runs.Add(redefineAtPrevious ? i - 1 : i, StateColor(cookie));
      redefine = redefineAtPrevious = false;
    }
    if (i >= length) break;

    if (cookie & kComment) {
      runs.Add(i, kCommentColor);
      break;
    }
    if (const unsigned long before = cookie; LeaveOpenSpan(line, length, i, cookie)) {
      redefine = cookie != before;  // the span ended: a new run starts after it
      continue;
    }

    // Normal state. Bytes that end no delimiter skip the delimiter tests.
    const bool preprocLine = (cookie & kPreproc) && !m_strMLComment[0].empty();
    const bool lineStartTest = lineStart && m_cPreproc != 0;
    if (!stops(i) && !lineStartTest) {
      if (preprocLine || !blocks) {
        do i = NextMarked(line, i + 1, length, t.cls, ParserTables::kDelimEnd, t.delimEnds, t.delimEndCount);
        while (i < length && !MayEndDelimiter(t, line, i));
        continue;
      }
      bool ended = false;
      while (i < length) {
        const std::uint8_t c = cls(i);
        if ((c & ParserTables::kDelimEnd) && MayEndDelimiter(t, line, i)) break;
        ++i;
        if (c & ParserTables::kIdent) {
          if (idStart < 0) idStart = i - 1;
        } else if (idStart >= 0) {
          endIdentifier(idStart, i - 1);
          idStart = -1;
          ended = true;
          break;
        }
      }
      if (ended) redefine = redefineAtPrevious = true;
      continue;
    }

    // An escaped identifier is normal text up to the next blank, delimiters and all.
    if (line[i] == m_cIdentEscape && m_cIdentEscape != 0 && !preprocLine) {
      if (idStart >= 0) endIdentifier(idStart, i);
      idStart = -1;
      runs.Add(i, StateColor(cookie));
      i = EscapedIdentifierEnd(line, length, i);
      lineStart = false;
      continue;
    }
    // Single-line comment delimiters: the first qualifying slot opens a comment, and the
    // position goes on through the tests below.
    if (const int slot = SingleCommentAt(m_strSLComment, m_strSLPrefix, m_bSLBol, line, i); slot >= 0) {
      runs.Add(i - static_cast<int>(m_strSLComment[slot].size()) + 1, kCommentColor);
      cookie |= kComment;
    }
    if (preprocLine) {
      if (MatchesAt(m_strMLComment[0], line, i)) {
        runs.Add(i - static_cast<int>(m_strMLComment[0].size()) + 1, kCommentColor);
        cookie |= kExtComment;
      }
      ++i;
      continue;
    }
    if (MatchesAt(m_strString[0], line, i)) {
      runs.Add(i, kStringColor);
      cookie |= kString;
      ++i;
      continue;
    }
    if (MatchesAt(m_strChar[0], line, i)) {
      runs.Add(i, kStringColor);
      cookie |= kChar;
      ++i;
      continue;
    }
    if (MatchesAt(m_strMLComment[0], line, i)) {
      runs.Add(i - static_cast<int>(m_strMLComment[0].size()) + 1, kCommentColor);
      cookie |= kExtComment;
      ++i;
      continue;
    }
    if (lineStartTest) {
      if (line[i] == m_cPreproc) {
        runs.Add(i, kPreprocColor);
        cookie |= kPreproc;
        ++i;
        continue;
      }
      if (!(cls(i) & ParserTables::kSpace)) lineStart = false;
    }
    if (!blocks) {
      ++i;
      continue;
    }
    if (cls(i) & ParserTables::kIdent) {
      if (idStart < 0) idStart = i;
    } else if (idStart >= 0) {
      endIdentifier(idStart, i);
      redefine = redefineAtPrevious = true;
      idStart = -1;
    }
    ++i;
  }
  if (idStart >= 0) endIdentifier(idStart, i);

  if (m_cStringEsc == 0 && m_cCharEsc == 0) return cookie;
  const char last = line[length - 1];
  if ((m_cStringEsc == 0 || m_cStringEsc == last) && (m_cCharEsc == 0 || m_cCharEsc == last))
    return cookie;
  return cookie & kExtComment;
}

bool TDocumentStyle::LeaveOpenSpan(const char* line, int length, int& i, unsigned long& cookie) const {
  int end = 0;
  unsigned long bit = 0;
  if (cookie & (kString | kChar)) {
    const bool str = (cookie & kString) != 0;
    end = LiteralEnd(line, length, i, str ? m_strString[0] : m_strChar[0], str ? m_cStringEsc : m_cCharEsc);
    bit = str ? kString : kChar;
  } else if ((cookie & kExtComment) && !m_strMLComment[1].empty()) {
    end = CommentEnd(line, length, i, m_strMLComment[1]);
    bit = kExtComment;
  } else {
    return false;
  }
  if (end < 0) {
    i = length;
  } else {
    cookie &= ~bit;
    i = end;
  }
  return true;
}

bool TDocumentStyle::BlankSyncs(char c, const ParserTables& t) const {
  if (t.cls[static_cast<unsigned char>(c)] & (ParserTables::kIdent | ParserTables::kDelimEnd))
    return false;
  if (c == m_cPreproc) return false;
  const std::string* delims[] = {&m_strSLComment[0], &m_strSLComment[1], &m_strSLComment[2],
                                 &m_strString[0],   &m_strChar[0],     &m_strMLComment[0],
                                 &m_strMLComment[1]};
  for (const std::string* d : delims)
    if (d->find(c) != std::string::npos) return false;
  return true;
}

// The same steps as ParseRange without runs (so without identifiers), with plain text
// skipped to the next byte that may end a delimiter.
void TDocumentStyle::ScanParseStates(const char* line, int length, TParseCheckpoints& states,
                                     int nUpTo) const {
  const ParserTables& t = Tables();
  const auto cls = [&t, line](int i) { return t.cls[static_cast<unsigned char>(line[i])]; };
  bool syncs[256] = {};
  syncs[static_cast<unsigned char>(' ')] = BlankSyncs(' ', t);
  syncs[static_cast<unsigned char>('\t')] = BlankSyncs('\t', t);
  const bool canSave = syncs[static_cast<unsigned char>(' ')] || syncs[static_cast<unsigned char>('\t')];

  unsigned long cookie = states.StartCookie();
  bool lineStart = (cookie & ~kExtComment) == 0;
  int i = 0;
  if (const TParseState* last = states.Last()) {
    i = last->nPos;
    cookie = last->dwCookie;
    lineStart = last->bLineStart;
  }
  if (length < 1 || !line) {
    states.SetEnd(cookie & kExtComment);
    return;
  }
  int target = i + TParseCheckpoints::kStep;
  // A byte that took the delimiter tests one at a time, at p - 1, was a blank in plain
  // text: a state at p. True when the scan has gone far enough.
  const auto saveAfter = [&](int p) {
    if (!syncs[static_cast<unsigned char>(line[p - 1])] ||
        (cookie & (kComment | kExtComment | kString | kChar)))
      return false;
    states.Add(TParseState{p, cookie, lineStart});
    target = p + TParseCheckpoints::kStep;
    return p >= nUpTo;
  };

  while (i < length) {
    if (cookie & kComment) break;
    if (LeaveOpenSpan(line, length, i, cookie)) continue;

    const bool preprocLine = (cookie & kPreproc) && !m_strMLComment[0].empty();
    const bool lineStartTest = lineStart && m_cPreproc != 0;
    if (!(cls(i) & ParserTables::kDelimEnd) && !lineStartTest) {
      // Plain text up to the next possible delimiter end: states after its blanks.
      const int next = NextMarked(line, i + 1, length, t.cls, ParserTables::kDelimEnd,
                                  t.delimEnds, t.delimEndCount);
      while (canSave && next >= target) {
        int b = std::max(i, target - 1);
        while (b < next && !syncs[static_cast<unsigned char>(line[b])]) ++b;
        if (b == next) break;
        states.Add(TParseState{b + 1, cookie, lineStart});
        if (b + 1 >= nUpTo) return;
        target = b + 1 + TParseCheckpoints::kStep;
      }
      i = next;
      continue;
    }

    if (line[i] == m_cIdentEscape && m_cIdentEscape != 0 && !preprocLine) {
      i = EscapedIdentifierEnd(line, length, i);
      lineStart = false;
      continue;
    }
    if (SingleCommentAt(m_strSLComment, m_strSLPrefix, m_bSLBol, line, i) >= 0) cookie |= kComment;
    if (preprocLine) {
      if (MatchesAt(m_strMLComment[0], line, i)) cookie |= kExtComment;
      if (++i >= target && saveAfter(i)) return;
      continue;
    }
    if (MatchesAt(m_strString[0], line, i)) {
      cookie |= kString;
      ++i;
      continue;
    }
    if (MatchesAt(m_strChar[0], line, i)) {
      cookie |= kChar;
      ++i;
      continue;
    }
    if (MatchesAt(m_strMLComment[0], line, i)) {
      cookie |= kExtComment;
      ++i;
      continue;
    }
    if (lineStartTest) {
      if (line[i] == m_cPreproc) {
        cookie |= kPreproc;
        ++i;
        continue;
      }
      if (!(cls(i) & ParserTables::kSpace)) lineStart = false;
    }
    if (++i >= target && saveAfter(i)) return;
  }

  if (m_cStringEsc != 0 || m_cCharEsc != 0) {
    const char last = line[length - 1];
    if ((m_cStringEsc != 0 && m_cStringEsc != last) || (m_cCharEsc != 0 && m_cCharEsc != last))
      cookie &= kExtComment;
  }
  states.SetEnd(cookie);
}

unsigned long TDocumentStyle::ParseLinePart(const char* line, int length, unsigned long cookie,
                                            int lineIndex, TParseCheckpoints& states, int from,
                                            int to, TEXTBLOCK* blocks,
                                            int& count) const {
  to = std::clamp(to, 0, length);
  from = std::clamp(from, 0, to);
  // Near the line's start a parse from there costs less than finding a state.
  if (from < TParseCheckpoints::kStep || to < 1 || !line)
    return ParseLine(line, to, cookie, lineIndex, blocks, count);
  if (!states.Holds(lineIndex, cookie)) states.Reset(lineIndex, cookie);
  const TParseState* last = states.Last();
  if (!states.EndKnown() && (last == nullptr || last->nPos < from))
    ScanParseStates(line, length, states, from);
  if (blocks == nullptr && to == length && states.EndKnown()) return states.EndCookie();
  const TParseState* state = states.Before(from);
  if (state == nullptr) return ParseLine(line, to, cookie, lineIndex, blocks, count);
  ParsePosition at;
  at.cookie = state->dwCookie;
  at.i = state->nPos;
  at.redefineAtPrevious = true;
  at.lineStart = state->bLineStart;
  return ParseRange(line, to, at, blocks, count);
}

}  // namespace quill
