#pragma once
// Splitting loaded bytes into lines, one rule for files and strings:
// - a CR ends a line; an LF that follows it is part of the same break in every mode, and
//   in CRLF_MODE_DOS so is a CR that follows it;
// - an LF ends a line; in CRLF_MODE_DOS a CR or LF directly after an LF that stands at
//   the start of a line is part of the same break;
// so in its own mode every file keeps its empty lines (two CRs in a MAC file are two
// breaks), and only CRs and LFs foreign to the mode can merge.
//
// Bytes arrive in pieces: Split takes the bytes not yet consumed plus any new ones, and
// returns how many it consumed; the rest (a line still open, or a break whose next byte
// is not known yet) must be presented again, with more bytes behind it.

#include <cstddef>
#include <cstring>

#include "buffer/buffer_defs.h"

namespace quill {

class TLineSplitter {
 public:
  explicit TLineSplitter(int nMode) : m_nMode(nMode) {}

  // Calls sink(const char* text, std::size_t length) for every complete line; with
  // bFinal set the bytes are all there is and the rest is the last line.
  template <class Sink>
  std::size_t Split(const char* pData, std::size_t nSize, bool bFinal, Sink& sink) {
    std::size_t nPos = 0;
    for (;;) {
      const std::size_t nFrom = nPos + m_nResume;
      const std::size_t nBreak = FindBreak(pData, nFrom, nSize);
      if (nBreak == nSize || (nBreak + 1 == nSize && !bFinal)) {
        if (!bFinal) {
          m_nResume = nBreak - nPos;
          return nPos;
        }
        sink(pData + nPos, nSize - nPos);
        m_nResume = 0;
        return nSize;
      }
      m_nResume = 0;
      sink(pData + nPos, nBreak - nPos);
      const char c = pData[nBreak];
      std::size_t nNext = nBreak + 1;
      if (nNext < nSize) {
        const char n = pData[nNext];
        const bool bDos = m_nMode == CRLF_MODE_DOS;
        if (c == '\r') {
          if (n == '\n' || (n == '\r' && bDos)) ++nNext;
        } else if (nBreak == nPos && bDos && (n == '\r' || n == '\n')) {
          ++nNext;
        }
      }
      nPos = nNext;
    }
  }

  // Bytes at the start of the unconsumed rest already known to hold no break.
  std::size_t Scanned() const { return m_nResume; }

 private:
  static std::size_t FindBreak(const char* pData, std::size_t nFrom, std::size_t nSize) {
    if (nFrom >= nSize) return nSize;
    const char* p = pData + nFrom;
    std::size_t n = nSize - nFrom;
    const void* lf = std::memchr(p, '\n', n);
    if (lf) n = static_cast<std::size_t>(static_cast<const char*>(lf) - p);
    const void* cr = std::memchr(p, '\r', n);
    if (cr) return nFrom + static_cast<std::size_t>(static_cast<const char*>(cr) - p);
    return nFrom + n;
  }

  int m_nMode;
  std::size_t m_nResume = 0;
};

}  // namespace quill
