#pragma once
// Character tables the line parser and the keyword lookup work from, derived from a
// style's data: which bytes belong to identifiers, which may end a delimiter, and a quick
// filter of the keyword map by first letter and length.

#include <cstdint>
#include <string_view>

#include "style/document_style.h"

namespace quill {

struct TDocumentStyle::ParserTables {
  enum : std::uint8_t {
    kIdent = 0x01,       // letter, digit or a character IsLegalChar accepts
    kDelimEnd = 0x02,    // last character of an opening or single-line delimiter
    kSpace = 0x04,       // isspace
  };
  std::uint8_t cls[256];
  // Bit min(length, 63) of entry tolower(first byte) is set when some keyword has that
  // first letter (either case) and length.
  std::uint64_t keywordShape[256];
};

// The byte's lower-case form under the C library's tolower.
std::uint8_t LowerByte(unsigned char c);

}  // namespace quill
