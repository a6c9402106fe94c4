// Keyword, number and identifier-character queries of a style, and the tables behind them.

#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <string>

#include "platform/ascii.h"
#include "style/document_style.h"
#include "style/style_tables.h"

namespace quill {
namespace {

// Whitespace as the classic stream locale skips it.
bool IsStreamSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool Overflows(const std::string& number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  char* end = nullptr;
  const double v = cLocale ? strtod_l(number.c_str(), &end, cLocale) : std::strtod(number.c_str(), &end);
  return v == HUGE_VAL || v == -HUGE_VAL;
}

}  // namespace

const std::uint8_t* LowerTable() {
  static const struct Table {
    std::uint8_t map[256];
    Table() {
      for (int c = 0; c < 256; ++c) map[c] = static_cast<std::uint8_t>(AsciiLower(static_cast<char>(c)));
    }
  } table;
  return table.map;
}

const TDocumentStyle::ParserTables& TDocumentStyle::Tables() const {
  if (!m_pTables) {
    m_pTables = std::make_unique<ParserTables>();
    m_bTablesValid = false;
    m_bKeywordFilterValid = false;
  }
  ParserTables& t = *m_pTables;
  if (!m_bTablesValid) {
    const std::locale loc;
    const auto& ctype = std::use_facet<std::ctype<char>>(loc);
    std::memcpy(t.lower, LowerTable(), sizeof t.lower);
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      std::uint8_t bits = 0;
      if (ctype.is(std::ctype_base::alnum, ch) || IsLegalChar(ch)) bits |= ParserTables::kIdent;
      if (std::isspace(c)) bits |= ParserTables::kSpace;
      t.cls[c] = bits;
    }
    const std::string* delims[] = {&m_strSLComment[0], &m_strSLComment[1], &m_strSLComment[2],
                                   &m_strString[0],   &m_strChar[0],     &m_strMLComment[0]};
    std::memset(t.prevCount, 0, sizeof t.prevCount);
    for (const std::string* d : delims) {
      if (d->empty()) continue;
      const auto last = static_cast<unsigned char>(d->back());
      t.cls[last] |= ParserTables::kDelimEnd;
      std::int8_t& n = t.prevCount[last];
      if (n < 0) continue;
      const char prev = d->size() == 1 ? 0 : (*d)[d->size() - 2];
      if (d->size() == 1 || n == 4) {
        n = -1;
      } else if (std::find(t.prevOf[last], t.prevOf[last] + n, prev) == t.prevOf[last] + n) {
        t.prevOf[last][n++] = prev;
      }
    }
    if (m_cIdentEscape != 0) {
      t.cls[static_cast<unsigned char>(m_cIdentEscape)] |= ParserTables::kDelimEnd;
      t.prevCount[static_cast<unsigned char>(m_cIdentEscape)] = -1;
    }
    t.delimEndCount = 0;
    for (int c = 0; c < 256 && t.delimEndCount >= 0; ++c) {
      if (!(t.cls[c] & ParserTables::kDelimEnd)) continue;
      if (t.delimEndCount == static_cast<int>(sizeof t.delimEnds))
        t.delimEndCount = -1;
      else
        t.delimEnds[t.delimEndCount++] = static_cast<char>(c);
    }
    m_bTablesValid = true;
  }
  if (!m_bKeywordFilterValid) {
    std::memset(t.keywordShape, 0, sizeof t.keywordShape);
    t.keywordIndex.clear();
    t.keywordIndex.reserve(m_keywords.size());
    for (const auto& entry : m_keywords) {
      t.keywordIndex.emplace(entry.first, entry.second);
      const std::string& k = entry.first;
      if (k.empty()) continue;
      const std::size_t len = k.size() < 63 ? k.size() : 63;
      t.keywordShape[LowerByte(static_cast<unsigned char>(k[0]))] |= std::uint64_t{1} << len;
    }
    m_bKeywordFilterValid = true;
  }
  return t;
}

int TDocumentStyle::IsKeyword(const char* text, int length) const {
  if (!text || length <= 0) return -1;
  return FindKeyword(text, length, Tables());
}

// The scan follows the stream's number grammar: optional
// sign, digits with at most one decimal point, and an exponent that needs a digit before
// it; a value too large for a double fails.
bool TDocumentStyle::IsNumber(const char* text, int length) const {
  return ReadsAsNumber(text, length);
}

bool ReadsAsNumber(const char* text, int length) {
  if (!text || length <= 0) return false;
  int i = 0;
  while (i < length && IsStreamSpace(text[i])) ++i;
  if (i == length) return false;
  const int start = i;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool mantissa = false, dot = false, sci = false;
  int exponentDigits = 0;
  int digitsBeforeDot = 0;
  while (i < length) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      mantissa = true;
      if (sci) ++exponentDigits;
      else if (!dot) ++digitsBeforeDot;
    } else if (c == '.' && !dot && !sci) {
      dot = true;
    } else if ((c == 'e' || c == 'E') && !sci && mantissa) {
      sci = true;
      if (i + 1 < length && (text[i + 1] == '+' || text[i + 1] == '-')) ++i;
    } else {
      break;
    }
    ++i;
  }
  const int end = i;
  while (i < length && IsStreamSpace(text[i])) ++i;
  if (i != length) return false;
  if (!mantissa || (sci && exponentDigits == 0)) return false;
  if (!sci && digitsBeforeDot <= 300) return true;
  return !Overflows(std::string(text + start, static_cast<std::size_t>(end - start)));
}

bool ReadsAsBasedNumber(const char* text, int length, char mark) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  const auto oneOf = [](const char* set, char c) { return c != 0 && std::strchr(set, c) != nullptr; };
  if (digit(mark) || mark == '_' || std::isalpha(static_cast<unsigned char>(mark))) return false;
  int i = 0;
  while (i < length && (digit(text[i]) || text[i] == '_')) ++i;
  if (i + 1 >= length || text[i] != mark) return false;
  ++i;
  if (i == 1 && length == 2) return oneOf("01xXzZ", text[1]);
  if (text[i] == 's' || text[i] == 'S') ++i;
  if (i + 1 >= length || !oneOf("bBoOdDhH", text[i])) return false;
  for (++i; i < length; ++i)
    if (!digit(text[i]) && !oneOf("abcdefABCDEFxXzZ?_", text[i])) return false;
  return true;
}

bool TDocumentStyle::IsLegalChar(char c) const {
  if (m_strAllowedCache.empty())
    for (const Section& s : m_sections) m_strAllowedCache += s.allowedChars;
  if (m_strAllowedCache.empty()) return false;
  return m_strAllowedCache.find(c) != std::string::npos;
}

}  // namespace quill
