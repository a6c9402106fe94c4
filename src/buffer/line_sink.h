#pragma once
// TLineSink: stores the lines a load produces at the end of a buffer's line table. Lines
// of ordinary length take their record and characters from slabs of the buffer (two
// allocations per slab instead of two per line), their characters packed one after the
// other (a slab line moves to the heap when it grows, see QuillTextBuffer::SLineInfo). Every line is cut at its first NUL byte. A line or a line
// count beyond TLoadLimits throws TFileAccessException.

#include <cstddef>
#include <cstdint>

#include "buffer/text_buffer.h"

namespace quill {

class TLineSink {
 public:
  // nExpectedBytes sizes the first slabs (the input size, when known).
  TLineSink(QuillTextBuffer& buffer, std::uint64_t nExpectedBytes);

  void operator()(const char* pText, std::size_t nLength);
  // Refuses a line still being read that is already too long.
  static void CheckLength(std::uint64_t nLength);

 private:
  using SLineInfo = QuillTextBuffer::SLineInfo;

  QuillTextBuffer& m_buffer;
  std::size_t m_nTextSlab;
  std::size_t m_nRecordSlab;
  char* m_pText = nullptr;
  char* m_pTextEnd = nullptr;
  SLineInfo* m_pRecord = nullptr;
  SLineInfo* m_pRecordEnd = nullptr;
};

}  // namespace quill
