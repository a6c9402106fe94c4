#pragma once
// Character tables the line parser and the keyword lookup work from, derived from a
// style's data: which bytes belong to identifiers, which may end a delimiter, and a quick
// filter of the keyword map by first letter and length.

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "style/document_style.h"

namespace quill {

struct TDocumentStyle::ParserTables {
  enum : std::uint8_t {
    kIdent = 0x01,       // letter, digit or a character IsLegalChar accepts
    kDelimEnd = 0x02,    // last character of an opening or single-line delimiter
    kSpace = 0x04,       // isspace
  };
  std::uint8_t cls[256];
  // The bytes marked kDelimEnd, for a vector search of the next one (count -1: too many).
  char delimEnds[8];
  int delimEndCount = 0;
  // Per byte marked kDelimEnd: -1 when it ends a one-byte delimiter (or the identifier
  // escape), else the number of distinct next-to-last bytes of the delimiters it ends
  // (at most 4, in prevOf; more count as -1).
  std::int8_t prevCount[256];
  char prevOf[256][4];
  // Bit min(length, 63) of entry tolower(first byte) is set when some keyword has that
  // first letter (either case) and length.
  std::uint64_t keywordShape[256];
  std::uint8_t lower[256];  // LowerTable(), at hand
  // The keyword map by text (views of the map's own keys).
  std::unordered_map<std::string_view, std::uint8_t> keywordIndex;
};

// The lower-case form of every byte: 'A' to 'Z' fold, every other byte is its own.
const std::uint8_t* LowerTable();
inline std::uint8_t LowerByte(unsigned char c) { return LowerTable()[c]; }

// True when a classic input stream holding the text reads a double from it and finds
// nothing but whitespace after it (see TDocumentStyle::IsNumber).
bool ReadsAsNumber(const char* text, int length);
// True when the text is a based number with the given base mark (see
// TDocumentStyle::SetNumberBaseMark); text is not null.
bool ReadsAsBasedNumber(const char* text, int length, char mark);

}  // namespace quill
