#pragma once
// TParseCheckpoints: parse states saved along one long line, so that the runs near a
// position can be parsed from the nearest saved state before it instead of from the
// line's start. A state stands right after a blank in plain text: there nothing is
// pending (no open literal or comment, no identifier), so the state is the cookie and
// whether only blanks precede it. A state depends only on the text before it, so an edit
// keeps the states up to its position.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace quill {

struct TParseState {
  int nPos = 0;                 // the first character not yet parsed; the one before is a blank
  unsigned long dwCookie = 0;   // parse state bits at nPos
  bool bLineStart = false;      // only blanks lie before nPos (a preprocessor mark may follow)
};

class TParseCheckpoints {
 public:
  // A state is taken at the first suitable blank at or after every kStep characters.
  static constexpr int kStep = 4 * 1024;

  int Line() const { return m_nLine; }
  bool Holds(int nLine, unsigned long dwCookie) const {
    return m_nLine == nLine && m_dwStartCookie == dwCookie;
  }
  void Reset(int nLine, unsigned long dwCookie) {
    m_nLine = nLine;
    m_dwStartCookie = dwCookie;
    m_aStates.clear();
    m_bEndKnown = false;
  }
  // The line's characters before nPos are unchanged (its length may have changed).
  void KeepBefore(int nPos) {
    const auto it = std::upper_bound(m_aStates.begin(), m_aStates.end(), nPos,
                                     [](int n, const TParseState& s) { return n < s.nPos; });
    m_aStates.erase(it, m_aStates.end());
    m_bEndKnown = false;
  }

  // The last state at or before nPos, or null (then the parse starts at the line's start).
  const TParseState* Before(int nPos) const {
    const auto it = std::upper_bound(m_aStates.begin(), m_aStates.end(), nPos,
                                     [](int n, const TParseState& s) { return n < s.nPos; });
    return it == m_aStates.begin() ? nullptr : &*(it - 1);
  }
  const TParseState& operator[](int i) const { return m_aStates[static_cast<std::size_t>(i)]; }
  const TParseState* Last() const { return m_aStates.empty() ? nullptr : &m_aStates.back(); }
  int Count() const { return static_cast<int>(m_aStates.size()); }
  unsigned long StartCookie() const { return m_dwStartCookie; }

  // The cookie at the line's end, once a scan has reached it.
  bool EndKnown() const { return m_bEndKnown; }
  unsigned long EndCookie() const { return m_dwEndCookie; }

  // For the scanning parser.
  void Add(const TParseState& state) { m_aStates.push_back(state); }
  void SetEnd(unsigned long dwCookie) {
    m_bEndKnown = true;
    m_dwEndCookie = dwCookie;
  }

 private:
  int m_nLine = -1;
  unsigned long m_dwStartCookie = 0;
  std::vector<TParseState> m_aStates;  // in order of position
  bool m_bEndKnown = false;
  unsigned long m_dwEndCookie = 0;
};

}  // namespace quill
