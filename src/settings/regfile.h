#pragma once
// Registry text files (the REGEDIT4 format), so settings can move to and from a Windows
// machine:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Corvane\Verurozu Doriru\General]
//   "AutoLoad"=dword:00000000
//   "Name"="C:\\text with \"quotes\""
//   "Margin"=hex:01,02,00,00
//   @="the key's default value"
//
// Quoted text escapes a backslash as \\ and a quote as \", and a CR, LF or NUL byte as \r,
// \n and \0, so every name the store holds is written out and read back exactly. A key
// whose path holds such a byte is written quoted, its backslashes doubled:
//
//   ["HKEY_CURRENT_USER\\Software\\two\nlines"]
//
// Text values holding them are written as hex(1): with their bytes. Files
// without escapes (all that Windows and earlier exports write) read as they always did.
//
// Reading also accepts ';' comments, hex lines continued with a trailing backslash,
// hex(N): values of other types, "name"=- (delete a value) and [-KEY] (delete a key with
// its subkeys). Only keys below HKEY_CURRENT_USER are accepted.
//
// Files a Windows machine exports ("Windows Registry Editor Version 5.00") are read too:
// UTF-16 with a byte-order mark, or UTF-8 (with a byte-order mark, or without one when the
// whole file is valid UTF-8), with CRLF or LF lines. Their text becomes Windows-1252 bytes,
// the 8-bit text of the store; a character without such a byte is an error of its line.
// Other files are taken as Windows-1252 bytes as they stand. Values of types the store has
// no use for (hex(2), hex(7) and other hex(N)) are kept as their bytes under their type
// and export back unchanged. Key paths, key names and value names keep to the limits of
// settings/store.h.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/store.h"

namespace quill {

struct RegFileValue {
  int line = 0;         // where the value starts in the file
  std::string name;     // "" for the default value
  bool remove = false;  // "name"=-
  std::uint32_t type = REG_NONE;
  std::string data;  // raw bytes as stored (REG_SZ with its NUL)
};

struct RegFileKey {
  int line = 0;         // of the [KEY] line
  std::string path;     // below HKEY_CURRENT_USER; "" for the root itself
  bool remove = false;  // [-KEY]
  std::vector<RegFileValue> values;
};

struct RegFile {
  std::vector<RegFileKey> keys;
};

struct RegFileError {
  int line = 0;  // 1-based line of the file where reading stopped
  std::string message;
};

enum class RegFileFormat {
  kRegedit4,  // REGEDIT4, Windows-1252 bytes
  kVersion5,  // Windows Registry Editor Version 5.00, UTF-16 LE with a byte-order mark
};

// Reads a whole file in any of the encodings above; false with the first error's line and
// message, and then out is left alone.
bool ParseRegFile(std::string_view text, RegFile* out, RegFileError* error);

// Writes the key at path (the whole store for "") with its values and all its subkeys;
// false when the key does not exist (an empty store has an empty root).
bool ExportRegFile(SettingsStore& store, std::string_view path, std::string* out,
                   RegFileFormat format = RegFileFormat::kRegedit4);

// Applies a parsed file, all of it or nothing. The store is changed in one short
// transaction after the file's net effect has been worked out and prepared, so other
// processes' writes wait only briefly and a process killed part way changes nothing.
bool ApplyRegFile(SettingsStore& store, const RegFile& file);

// One value as a registry text line: "name"=dword:0000000a and the like (no line break).
std::string FormatRegValue(const RegValue& value);

// A readable listing of the key at path and everything below it (the tool's "list");
// false when the key does not exist.
bool ListSettings(SettingsStore& store, std::string_view path, std::string* out);

}  // namespace quill
