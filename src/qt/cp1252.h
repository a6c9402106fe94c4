#pragma once
// The bytes of the buffer meet the desktop as Windows-1252: every byte stands for one
// code point when text is drawn or handed to other programs, and text from other programs
// is brought back into that code page, with '?' for what it cannot hold.

#include <QString>

#include <string>
#include <string_view>

namespace quill::qt {

// The code point a byte stands for. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the control code points of the same value.
char16_t Cp1252ToUnicode(unsigned char byte);

// The byte that holds a code point, or '?' when the code page has none.
char UnicodeToCp1252(char32_t codePoint);

// Whole strings. A code point outside the code page (a surrogate pair counts as one)
// becomes a single '?'.
QString FromCp1252(std::string_view bytes);
std::string ToCp1252(const QString& text);

}  // namespace quill::qt
