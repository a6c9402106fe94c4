#pragma once
// Windows-1252, the 8-bit text of names and strings in the settings store, to and from
// Unicode code points: Cp1252ByteToCodePoint and CodePointToCp1252Byte, which the text
// encodings of the platform layer provide.

#include "platform/text_encoding.h"
