#include "buffer/line_sink.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "buffer/file_access.h"
#include "platform/format.h"
#include "platform/memory.h"

namespace quill {
namespace {

constexpr std::size_t kMaxTextSlab = std::size_t{16} << 20;
constexpr std::size_t kMinTextSlab = 1 << 12;
// Lines whose storage would take more than this get their own heap block.
constexpr int kMaxSlabLine = 1 << 14;

}  // namespace

TLineSink::TLineSink(QuillTextBuffer& buffer, std::uint64_t nExpectedBytes)
    : m_buffer(buffer),
      m_nTextSlab(static_cast<std::size_t>(
          std::clamp<std::uint64_t>(nExpectedBytes + nExpectedBytes / 4, kMinTextSlab, kMaxTextSlab))) {}

void TLineSink::CheckLength(std::uint64_t nLength, const TLoadLimits& limits) {
  if (nLength > static_cast<std::uint64_t>(limits.nMaxLineLength))
    throw TFileAccessException(
        Format("The file has a line longer than %lld characters and cannot be loaded.",
               static_cast<long long>(limits.nMaxLineLength)));
}

void TLineSink::operator()(const char* pText, std::size_t nLength) {
  CheckLength(nLength);
  const std::int64_t nMaxLineCount = m_buffer.m_loadLimits.nMaxLineCount;
  if (m_buffer.m_aLines.GetSize() >= nMaxLineCount)
    throw TFileAccessException(Format("The file has more than %lld lines and cannot be loaded.",
                                      static_cast<long long>(nMaxLineCount)));
  m_encoding.Feed(pText, nLength);
  const int nLen = static_cast<int>(nLength);
  const int nMax = QuillTextBuffer::LineCapacity(nLen);

  if (nMax <= kMaxSlabLine) {
    if (m_pText == nullptr || m_pTextEnd - m_pText < nLen) {
      ScanSlab();
      const std::size_t nSlab = std::max(m_nTextSlab, static_cast<std::size_t>(nLen));
      m_pText = m_buffer.AllocSlab(nSlab);
      AdviseLargePages(m_pText, nSlab);
      m_pTextEnd = m_pText + nSlab;
      m_pUnscanned = m_pText;
      m_nTextSlab = std::min(m_nTextSlab * 2, kMaxTextSlab);
    }
    if (nLen > 0) std::memcpy(m_pText, pText, nLength);
    if (m_buffer.m_aLines.AddPacked(m_pText, nLen)) {
      m_pText += nLen;
      return;
    }
  }
  if (!m_bSawNul && std::memchr(pText, 0, nLength) != nullptr) m_bSawNul = true;
  SLineInfo* pLine = QuillTextBuffer::NewLine(pText, nLen);
  try {
    m_buffer.m_aLines.Add(pLine);
  } catch (...) {
    QuillTextBuffer::FreeLine(pLine);
    throw;
  }
}

void TLineSink::ScanSlab() const {
  if (m_pUnscanned == nullptr || m_pText == m_pUnscanned) return;
  if (!m_bSawNul && std::memchr(m_pUnscanned, 0, static_cast<std::size_t>(m_pText - m_pUnscanned)) != nullptr)
    m_bSawNul = true;
  m_pUnscanned = m_pText;
}

}  // namespace quill
