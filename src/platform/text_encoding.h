#pragma once
// The two encodings a document's bytes can be in, and what the editor needs to know about
// their characters: Windows-1252 (one byte, one character, one cell) and UTF-8 (a
// character is a whole sequence; it takes two cells when East Asian wide and none when it
// is a combining mark). Character properties come from utf8proc.
//
// In UTF-8 text a byte that starts no valid sequence (a stray continuation byte, a
// truncated or overlong sequence, an encoded surrogate) is a character of its own: one
// byte, one cell, shown as U+FFFD. The bytes themselves are never changed.

#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// Document encodings, by their code page numbers.
inline constexpr int ENCODING_WINDOWS_1252 = 1252;
inline constexpr int ENCODING_UTF8 = 65001;

// "UTF-8" or "Windows-1252".
const char* EncodingName(int nEncoding);

// ---- Windows-1252 ----

// The code point a byte stands for. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control code points of the same value.
char16_t Cp1252ByteToCodePoint(unsigned char byte);
// The byte that holds a code point, or -1 when the code page has none.
int CodePointToCp1252Byte(char32_t code_point);

// ---- detection ----

// No byte above 0x7F.
bool IsAscii(const char* pszChars, std::size_t nCount);
// The bytes form valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const char* pszChars, std::size_t nCount);

// Watches the lines of a file as they are loaded and tells its encoding: UTF-8 when the
// text is valid UTF-8 holding a byte above 0x7F, Windows-1252 when it is not valid UTF-8,
// the given default for pure ASCII. Line breaks are ASCII, so lines can be fed one by one.
class TEncodingDetector {
 public:
  void Feed(const char* pszChars, std::size_t nCount);
  int Result(int nAsciiDefault) const;

 private:
  bool m_bHigh = false;
  bool m_bInvalid = false;
};

int DetectEncoding(std::string_view text, int nAsciiDefault);

// ---- characters of UTF-8 text ----

// Decodes the character at nPos of a line of nLength bytes: its code point (U+FFFD for a
// byte that starts no valid sequence) and its length in bytes (1 for such a byte).
int DecodeUtf8(const char* pszChars, int nLength, int nPos, char32_t& cp);
// The cells a code point takes: 2 for East Asian wide characters, 0 for combining marks
// and other zero-width characters, 1 for everything else (controls included).
int CodePointCells(char32_t cp);
// The start of the character that holds byte nPos (nPos itself when it starts one).
int Utf8CharStart(const char* pszChars, int nLength, int nPos);
// Caret steps: the position after the character at nPos together with the zero-width
// characters that follow it, and the start of the character before nPos (with the
// zero-width characters before nPos). The results stay within 0 .. nLength.
int Utf8NextCharPos(const char* pszChars, int nLength, int nPos);
int Utf8PrevCharPos(const char* pszChars, int nLength, int nPos);

// The column reached after the characters whose first byte is in nFrom .. nTo, starting
// at nColumn: a tab goes to the next multiple of nTabSize, a character takes its cells.
// Continuation bytes at nFrom of a character started before it take no column. Columns
// beyond the int range stay at INT_MAX.
int Utf8AdvanceColumns(const char* pszChars, int nLength, int nFrom, int nTo, int nColumn,
                       int nTabSize);

// Word characters beyond ASCII: letters, marks and digits of every script. Blanks beyond
// ASCII: the space separators.
bool IsWordCodePoint(char32_t cp);
bool IsBlankCodePoint(char32_t cp);

// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, char32_t cp);
// "U+03A9".
std::string CodePointLabel(char32_t cp);

// ---- conversions ----

std::string Cp1252ToUtf8(std::string_view bytes);
// Windows-1252 bytes of UTF-8 text; false (with the first code point the code page cannot
// hold in cpMissing) when there is one. Invalid UTF-8 bytes cannot be held either.
bool Utf8ToCp1252(std::string_view text, std::string& out, char32_t& cpMissing);
// The same with '?' for each character the code page cannot hold (for receivers that
// know only Windows-1252).
std::string Utf8ToCp1252Lossy(std::string_view text);
// Text of other programs brought into a document's encoding: UTF-8 text as it is for a
// UTF-8 document, its Windows-1252 bytes for the other kind (false as above).
bool Utf8ToEncoding(std::string_view text, int nEncoding, std::string& out, char32_t& cpMissing);
// A document's bytes as UTF-8 text for other programs.
std::string EncodingToUtf8(std::string_view bytes, int nEncoding);

}  // namespace quill
