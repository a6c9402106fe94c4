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
// Reading also accepts ';' comments, hex lines continued with a trailing backslash,
// hex(N): values of other types, "name"=- (delete a value) and [-KEY] (delete a key with
// its subkeys). Only keys below HKEY_CURRENT_USER are accepted.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/store.h"

namespace quill {

struct RegFileValue {
  std::string name;     // "" for the default value
  bool remove = false;  // "name"=-
  std::uint32_t type = REG_NONE;
  std::string data;  // raw bytes as stored (REG_SZ with its NUL)
};

struct RegFileKey {
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

// Reads a whole file; false with the first error's line and message.
bool ParseRegFile(std::string_view text, RegFile* out, RegFileError* error);

// Writes the key at path (the whole store for "") with its values and all its subkeys;
// false when the key does not exist (an empty store has an empty root).
bool ExportRegFile(SettingsStore& store, std::string_view path, std::string* out);

// Applies a parsed file in one transaction: all of it or nothing.
bool ApplyRegFile(SettingsStore& store, const RegFile& file);

// One value as a registry text line: "name"=dword:0000000a and the like (no line break).
std::string FormatRegValue(const RegValue& value);

// A readable listing of the key at path and everything below it (the tool's "list");
// false when the key does not exist.
bool ListSettings(SettingsStore& store, std::string_view path, std::string* out);

}  // namespace quill
