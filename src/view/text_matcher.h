#pragma once
// One search text prepared once for a whole search and then tried on one line at a time:
// a plain string (byte comparison, optionally ignoring ASCII case and requiring word
// boundaries) or a regular expression compiled by Boost.Regex. In UTF-8 text a regular
// expression works on characters (Boost.Regex over ICU); a plain string is the UTF-8 bytes
// of what was asked for and matches them as bytes.

#include <memory>
#include <string>
#include <string_view>

namespace quill {

class TextMatcher {
 public:
  enum class State {
    Ready,        // searching works
    BadPattern,   // the expression does not compile: nothing ever matches
    GaveUp,       // the engine hit its complexity or stack limit on a line: stop searching
  };

  // flags: the SEARCH_* bits; SEARCH_MATCH_CASE, SEARCH_WHOLE_WORD and SEARCH_REGEX count.
  // bUtf8: the pattern and the text searched are UTF-8.
  TextMatcher(std::string_view what, unsigned long flags, bool bUtf8 = false);
  ~TextMatcher();
  TextMatcher(const TextMatcher&) = delete;
  TextMatcher& operator=(const TextMatcher&) = delete;

  State GetState() const { return m_state; }

  // The first match in text: its offset and length. For a regular expression the text is
  // the whole subject ("^" matches at its first byte, "$" at its end).
  bool FindFirst(std::string_view text, int& offset, int& length);
  // The match that starts rightmost in text (a plain match ends at or before its end; a
  // regular-expression match lies wholly inside it).
  bool FindLast(std::string_view text, int& offset, int& length);

 private:
  struct Regex;

  // The first match starting at or after pos (anchored: starting at pos).
  bool RegexFrom(std::string_view text, std::size_t pos, bool bAnchored);
  bool RegexSearch(const char* first, const char* last, unsigned flags);
  // The start of the character holding byte pos (pos itself outside UTF-8 text).
  std::size_t CharStart(std::string_view text, std::size_t pos) const;
  bool RegexLast(std::string_view text, int& offset, int& length);
  bool PlainFirst(std::string_view text, int& offset);
  bool PlainLast(std::string_view text, int& offset);
  bool IsWholeWordAt(std::string_view text, std::size_t pos) const;
  bool EqualAt(const char* p) const;
  const char* IgnoreCaseCandidate(const char* p, const char* last) const;

  std::string m_what;  // the plain text, upper-cased when case is ignored
  bool m_bRegex = false;
  bool m_bIgnoreCase = false;
  bool m_bWholeWord = false;
  bool m_bUtf8 = false;
  State m_state = State::Ready;
  std::unique_ptr<Regex> m_regex;
};

}  // namespace quill
