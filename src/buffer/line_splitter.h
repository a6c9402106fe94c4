#pragma once
// Splitting loaded bytes into lines, one rule for files and strings:
// - a CR ends a line; an LF that follows it is part of the same break in every mode, and
//   in CRLF_MODE_DOS so is a CR that follows it;
// - an LF ends a line; in CRLF_MODE_DOS a CR or LF directly after an LF that stands at
//   the start of a line is part of the same break;
// so in its own mode every file keeps its empty lines (two CRs in a MAC file are two
// breaks), and only CRs and LFs foreign to the mode can merge. Mixed() tells whether any
// break was not the mode's own (CR LF, LF or a lone CR), that is, whether a save in the
// mode writes other breaks than were read.
//
// Bytes arrive in pieces: Split takes the bytes not yet consumed plus any new ones, and
// returns how many it consumed; the rest (a line still open, or a break whose next byte
// is not known yet) must be presented again, with more bytes behind it.

#include <cstddef>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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
      if (!IsOwnBreak(pData + nBreak, nNext - nBreak)) m_bMixed = true;
      nPos = nNext;
    }
  }

  // Bytes at the start of the unconsumed rest already known to hold no break.
  std::size_t Scanned() const { return m_nResume; }
  // Some break split so far was not the one of the mode.
  bool Mixed() const { return m_bMixed; }

 private:
  bool IsOwnBreak(const char* pBreak, std::size_t nLength) const {
    if (m_nMode == CRLF_MODE_UNIX) return pBreak[0] == '\n';
    if (m_nMode == CRLF_MODE_MAC) return pBreak[0] == '\r' && nLength == 1;
    return nLength == 2 && pBreak[0] == '\r' && pBreak[1] == '\n';
  }

  // Index of the first CR or LF at or after nFrom, or nSize.
  static std::size_t FindBreak(const char* pData, std::size_t nFrom, std::size_t nSize) {
    std::size_t i = nFrom;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= nSize; i += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pData + i));
      const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
      if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < nSize; ++i)
      if (pData[i] == '\r' || pData[i] == '\n') return i;
    return nSize;
  }

  int m_nMode;
  std::size_t m_nResume = 0;
  bool m_bMixed = false;
};

}  // namespace quill
