#pragma once
// Windows-1252, the 8-bit text of names and strings in the settings store, to and from
// Unicode code points. Every byte maps to one code point and back: the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control code points of
// the same value.

#include <string>

namespace quill {

char16_t Cp1252ByteToCodePoint(unsigned char byte);

// The byte that holds a code point, or -1 when the code page has none.
int CodePointToCp1252Byte(char32_t code_point);

}  // namespace quill
