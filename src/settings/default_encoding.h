#pragma once
// The encoding a file of pure ASCII opens in (and a new document starts with), kept in the
// settings store under General\DefaultEncoding: UTF-8 unless the user sets Windows-1252.

namespace quill {

// ENCODING_UTF8 or ENCODING_WINDOWS_1252; any other stored value reads as UTF-8.
int GetRegistryDefaultEncoding();
void SetRegistryDefaultEncoding(int nEncoding);

// The encoding the loads of this process give a file of pure ASCII: Windows-1252, the
// component's own, until a host chooses (quillpad takes GetRegistryDefaultEncoding()).
int GetAsciiFileEncoding();
void SetAsciiFileEncoding(int nEncoding);

}  // namespace quill
