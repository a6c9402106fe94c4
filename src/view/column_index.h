#pragma once
// Tab expansion of one line, and TColumnIndex: the columns of a long line at every
// kStep-th character, so that mapping a position to its column or a column to a position
// scans at most one step of the line instead of the line from its start.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/text_encoding.h"

namespace quill {

// The column reached after the characters from..to of a line, starting at column nColumn:
// a tab goes to the next multiple of nTabSize, any other byte takes one column. Columns
// beyond the int range (huge tab sizes times many tabs) stay at INT_MAX.
inline int AdvanceColumns(const char* pszChars, int nFrom, int nTo, int nColumn, int nTabSize) {
  std::int64_t nWide = nColumn;
  while (nFrom < nTo && nWide < INT_MAX) {
    const void* pTab = std::memchr(pszChars + nFrom, '\t', static_cast<std::size_t>(nTo - nFrom));
    const int nStop = pTab ? static_cast<int>(static_cast<const char*>(pTab) - pszChars) : nTo;
    nWide += nStop - nFrom;
    nFrom = nStop;
    if (nFrom < nTo) {
      nWide += nTabSize - nWide % nTabSize;
      ++nFrom;
    }
  }
  return static_cast<int>(std::min<std::int64_t>(nWide, INT_MAX));
}

// The same over the characters of a line of nLength bytes: UTF-8 characters take their
// cells when bUtf8 is set (a line part of pure ASCII goes the way above).
inline int AdvanceTextColumns(bool bUtf8, const char* pszChars, int nLength, int nFrom, int nTo,
                              int nColumn, int nTabSize) {
  if (!bUtf8 || nFrom >= nTo || IsAscii(pszChars + nFrom, static_cast<std::size_t>(nTo - nFrom)))
    return AdvanceColumns(pszChars, nFrom, nTo, nColumn, nTabSize);
  return Utf8AdvanceColumns(pszChars, nLength, nFrom, nTo, nColumn, nTabSize);
}

class TColumnIndex {
 public:
  static constexpr int kStep = 1024;
  // Lines at least this long are indexed; shorter ones are scanned from their start.
  static constexpr int kMinLength = 4 * kStep;

  int Line() const { return m_nLine; }
  // bUtf8: the line is UTF-8 text, whose characters take their cells (a character counts
  // where its first byte is).
  void Reset(int nLine, int nTabSize, bool bUtf8 = false) {
    m_nLine = nLine;
    m_nTabSize = nTabSize;
    m_bUtf8 = bUtf8;
    m_aColumns.assign(1, 0);
  }
  bool Holds(int nLine, int nTabSize, bool bUtf8 = false) const {
    return m_nLine == nLine && m_nTabSize == nTabSize && m_bUtf8 == bUtf8;
  }
  // The line's characters before nPos are unchanged: later entries are dropped.
  void KeepBefore(int nPos) {
    const std::size_t nKeep = static_cast<std::size_t>(nPos < 0 ? 0 : nPos / kStep) + 1;
    if (m_aColumns.size() > nKeep) m_aColumns.resize(nKeep);
  }

  // Column of position nPos (0 .. nLength).
  int ColumnOf(const char* pszChars, int nLength, int nPos) {
    const int k = nPos / kStep;
    Extend(pszChars, nLength, k);
    return Advance(pszChars, nLength, k * kStep, nPos, m_aColumns[static_cast<std::size_t>(k)]);
  }

  // The last indexed position whose column is below nColumn (position 0 when none is):
  // a scan for the position of a column can start there.
  void Seek(const char* pszChars, int nLength, int nColumn, int& nPos, int& nPosColumn) {
    // Index the line up to the first entry at or beyond the column.
    while (m_aColumns.back() < nColumn &&
           static_cast<int>(m_aColumns.size()) * kStep <= nLength) {
      Extend(pszChars, nLength, static_cast<int>(m_aColumns.size()));
    }
    // Entries grow strictly with the position.
    auto it = std::lower_bound(m_aColumns.begin(), m_aColumns.end(), nColumn);
    const int k = it == m_aColumns.begin() ? 0 : static_cast<int>(it - m_aColumns.begin()) - 1;
    nPos = k * kStep;
    nPosColumn = m_aColumns[static_cast<std::size_t>(k)];
  }

 private:
  // Makes entry k (position k * kStep <= nLength) known.
  void Extend(const char* pszChars, int nLength, int k) {
    while (static_cast<int>(m_aColumns.size()) <= k) {
      const int nFrom = (static_cast<int>(m_aColumns.size()) - 1) * kStep;
      const int nTo = nFrom + kStep;
      if (nTo > nLength) break;
      m_aColumns.push_back(Advance(pszChars, nLength, nFrom, nTo, m_aColumns.back()));
    }
  }

  int Advance(const char* pszChars, int nLength, int nFrom, int nTo, int nColumn) const {
    return AdvanceTextColumns(m_bUtf8, pszChars, nLength, nFrom, nTo, nColumn, m_nTabSize);
  }

  int m_nLine = -1;
  int m_nTabSize = 0;
  bool m_bUtf8 = false;
  std::vector<int> m_aColumns{0};  // m_aColumns[k]: column of position k * kStep
};

}  // namespace quill
