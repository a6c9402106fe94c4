#include "platform/text_encoding.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quill {

namespace {

// 0x80 .. 0x9F; the undefined bytes map onto themselves.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t kReplacement = 0xFFFD;

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the valid sequence at p (n bytes available), 0 when there is none.
int ValidSequence(const unsigned char* p, std::size_t n, char32_t& cp) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  int len;
  char32_t min;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
    cp = b & 0x1F;
    min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    cp = b & 0x0F;
    min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    cp = b & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (n < static_cast<std::size_t>(len)) return 0;
  for (int i = 1; i < len; ++i) {
    if (!IsContinuation(p[i])) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

const char* EncodingName(int nEncoding) {
  return nEncoding == ENCODING_UTF8 ? "UTF-8" : "Windows-1252";
}

char16_t Cp1252ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

int CodePointToCp1252Byte(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<int>(code_point);
  }
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == code_point) return static_cast<int>(0x80 + i);
  }
  return -1;
}

// ---- detection ----

bool IsAscii(const char* pszChars, std::size_t nCount) {
  std::size_t i = 0;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  for (; i + 8 <= nCount; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, pszChars + i, 8);
    if (word & kHighBits) return false;
  }
  for (; i < nCount; ++i)
    if (static_cast<unsigned char>(pszChars[i]) >= 0x80) return false;
  return true;
}

bool IsValidUtf8(const char* pszChars, std::size_t nCount) {
  const auto* p = reinterpret_cast<const unsigned char*>(pszChars);
  std::size_t i = 0;
  while (i < nCount) {
    // Runs of ASCII go eight bytes at a time.
    if (p[i] < 0x80) {
      if (i + 8 <= nCount) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & 0x8080808080808080ull) == 0) {
          i += 8;
          continue;
        }
      }
      ++i;
      continue;
    }
    char32_t cp;
    const int len = ValidSequence(p + i, nCount - i, cp);
    if (len == 0) return false;
    i += static_cast<std::size_t>(len);
  }
  return true;
}

void TEncodingDetector::Feed(const char* pszChars, std::size_t nCount) {
  if (m_bInvalid || IsAscii(pszChars, nCount)) return;
  m_bHigh = true;
  if (!IsValidUtf8(pszChars, nCount)) m_bInvalid = true;
}

int TEncodingDetector::Result(int nAsciiDefault) const {
  if (m_bInvalid) return ENCODING_WINDOWS_1252;
  return m_bHigh ? ENCODING_UTF8 : nAsciiDefault;
}

int DetectEncoding(std::string_view text, int nAsciiDefault) {
  TEncodingDetector detector;
  detector.Feed(text.data(), text.size());
  return detector.Result(nAsciiDefault);
}

// ---- characters of UTF-8 text ----

int DecodeUtf8(const char* pszChars, int nLength, int nPos, char32_t& cp) {
  const auto* p = reinterpret_cast<const unsigned char*>(pszChars) + nPos;
  if (p[0] < 0x80) {
    cp = p[0];
    return 1;
  }
  const int len = ValidSequence(p, static_cast<std::size_t>(nLength - nPos), cp);
  if (len == 0) {
    cp = kReplacement;
    return 1;
  }
  return len;
}

int CodePointCells(char32_t cp) {
  if (cp < 0xA0 || cp == kReplacement) return 1;
  const int nWidth = utf8proc_charwidth(static_cast<utf8proc_int32_t>(cp));
  if (nWidth >= 2) return 2;
  if (nWidth == 1) return 1;
  switch (utf8proc_category(static_cast<utf8proc_int32_t>(cp))) {
    case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_ME:
    case UTF8PROC_CATEGORY_CF:
      return 0;
    default:
      return 1;
  }
}

int Utf8CharStart(const char* pszChars, int nLength, int nPos) {
  const auto* p = reinterpret_cast<const unsigned char*>(pszChars);
  if (nPos <= 0 || nPos >= nLength || !IsContinuation(p[nPos])) return nPos;
  for (int nStart = nPos - 1; nStart >= 0 && nStart >= nPos - 3; --nStart) {
    if (IsContinuation(p[nStart])) continue;
    char32_t cp;
    const int len = ValidSequence(p + nStart, static_cast<std::size_t>(nLength - nStart), cp);
    return nStart + len > nPos ? nStart : nPos;
  }
  return nPos;
}

int Utf8NextCharPos(const char* pszChars, int nLength, int nPos) {
  if (nPos >= nLength) return nLength;
  nPos = std::max(nPos, 0);
  char32_t cp;
  nPos += DecodeUtf8(pszChars, nLength, nPos, cp);
  while (nPos < nLength && static_cast<unsigned char>(pszChars[nPos]) >= 0x80) {
    const int len = DecodeUtf8(pszChars, nLength, nPos, cp);
    if (CodePointCells(cp) != 0) break;
    nPos += len;
  }
  return nPos;
}

int Utf8PrevCharPos(const char* pszChars, int nLength, int nPos) {
  nPos = std::min(nPos, nLength);
  while (nPos > 0) {
    const int nStart = Utf8CharStart(pszChars, nLength, nPos - 1);
    char32_t cp;
    DecodeUtf8(pszChars, nLength, nStart, cp);
    if (nStart == 0 || CodePointCells(cp) != 0) return nStart;
    nPos = nStart;  // a zero-width character goes with the one before it
  }
  return 0;
}

int Utf8AdvanceColumns(const char* pszChars, int nLength, int nFrom, int nTo, int nColumn,
                       int nTabSize) {
  const auto* p = reinterpret_cast<const unsigned char*>(pszChars);
  std::int64_t nWide = nColumn;
  if (nFrom > 0 && nFrom < nTo && IsContinuation(p[nFrom])) {
    const int nStart = Utf8CharStart(pszChars, nLength, nFrom);
    if (nStart < nFrom) {
      char32_t cp;
      nFrom = nStart + DecodeUtf8(pszChars, nLength, nStart, cp);
    }
  }
  int i = nFrom;
  while (i < nTo && nWide < INT_MAX) {
    const unsigned char b = p[i];
    if (b == '\t') {
      nWide += nTabSize - nWide % nTabSize;
      ++i;
    } else if (b < 0x80) {
      ++nWide;
      ++i;
    } else {
      char32_t cp;
      i += DecodeUtf8(pszChars, nLength, i, cp);
      nWide += CodePointCells(cp);
    }
  }
  return static_cast<int>(std::min<std::int64_t>(nWide, INT_MAX));
}

bool IsWordCodePoint(char32_t cp) {
  if (cp < 0x80) {
    return (cp >= '0' && cp <= '9') || (cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z') || cp == '_';
  }
  switch (utf8proc_category(static_cast<utf8proc_int32_t>(cp))) {
    case UTF8PROC_CATEGORY_LU:
    case UTF8PROC_CATEGORY_LL:
    case UTF8PROC_CATEGORY_LT:
    case UTF8PROC_CATEGORY_LM:
    case UTF8PROC_CATEGORY_LO:
    case UTF8PROC_CATEGORY_MN:
    case UTF8PROC_CATEGORY_MC:
    case UTF8PROC_CATEGORY_ME:
    case UTF8PROC_CATEGORY_ND:
    case UTF8PROC_CATEGORY_NL:
    case UTF8PROC_CATEGORY_NO:
    case UTF8PROC_CATEGORY_PC:
      return true;
    default:
      return false;
  }
}

bool IsBlankCodePoint(char32_t cp) {
  if (cp < 0x80) return cp == ' ' || (cp >= 9 && cp <= 13);
  return utf8proc_category(static_cast<utf8proc_int32_t>(cp)) == UTF8PROC_CATEGORY_ZS;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string CodePointLabel(char32_t cp) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
  return text;
}

// ---- conversions ----

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) AppendUtf8(out, Cp1252ByteToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

bool Utf8ToCp1252(std::string_view text, std::string& out, char32_t& cpMissing) {
  out.clear();
  out.reserve(text.size());
  const int nLength = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  for (int i = 0; i < nLength;) {
    char32_t cp;
    const int len = DecodeUtf8(text.data(), nLength, i, cp);
    const int byte = CodePointToCp1252Byte(cp);
    if (byte < 0) {
      cpMissing = cp;
      return false;
    }
    out.push_back(static_cast<char>(byte));
    i += len;
  }
  return true;
}

std::string Utf8ToCp1252Lossy(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const int nLength = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
  for (int i = 0; i < nLength;) {
    char32_t cp;
    i += DecodeUtf8(text.data(), nLength, i, cp);
    const int nByte = CodePointToCp1252Byte(cp);
    out.push_back(nByte < 0 ? '?' : static_cast<char>(nByte));
  }
  return out;
}

bool Utf8ToEncoding(std::string_view text, int nEncoding, std::string& out, char32_t& cpMissing) {
  if (nEncoding == ENCODING_UTF8) {
    out.assign(text);
    return true;
  }
  return Utf8ToCp1252(text, out, cpMissing);
}

std::string EncodingToUtf8(std::string_view bytes, int nEncoding) {
  return nEncoding == ENCODING_UTF8 ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

}  // namespace quill
