#pragma once
// TLineSink: stores the lines a load produces at the end of a buffer's line table. The
// characters of lines of ordinary length are packed one after the other in slabs of the
// buffer, and the lines take packed table slots without records (see line_table.h); a
// longer line gets a heap record and storage. NUL bytes are kept like any other byte. A
// line or a line count beyond TLoadLimits throws TFileAccessException.

#include <cstddef>
#include <cstdint>

#include "buffer/text_buffer.h"
#include "platform/text_encoding.h"

namespace quill {

class TLineSink {
 public:
  // nExpectedBytes sizes the first slabs (the input size, when known).
  TLineSink(QuillTextBuffer& buffer, std::uint64_t nExpectedBytes);

  void operator()(const char* pText, std::size_t nLength);
  // Refuses a line still being read that is already too long for the limits.
  static void CheckLength(std::uint64_t nLength, const TLoadLimits& limits);
  void CheckLength(std::uint64_t nLength) const { CheckLength(nLength, m_buffer.GetLoadLimits()); }
  // Some line stored so far holds a NUL byte.
  bool SawNul() const {
    ScanSlab();
    return m_bSawNul;
  }
  // The encoding the lines stored so far are in (nAsciiDefault when they are pure ASCII).
  int Encoding(int nAsciiDefault) const { return m_encoding.Result(nAsciiDefault); }

 private:
  using SLineInfo = QuillTextBuffer::SLineInfo;

  QuillTextBuffer& m_buffer;
  std::size_t m_nTextSlab;
  char* m_pText = nullptr;
  char* m_pTextEnd = nullptr;
  // Lines in slabs are looked at for NUL bytes a slab at a time: the bytes of the current
  // slab from m_pUnscanned to m_pText are not yet.
  void ScanSlab() const;
  mutable const char* m_pUnscanned = nullptr;
  mutable bool m_bSawNul = false;
  TEncodingDetector m_encoding;
};

}  // namespace quill
