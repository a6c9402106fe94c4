#include "settings/regfile.h"

#include <functional>

#include "platform/format.h"

namespace quill {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kRootShort = "HKCU";
constexpr const char* kEol = "\r\n";
constexpr size_t kHexWidth = 76;  // hex lines are continued past this width

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && NamesEqual(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses a quoted text starting at s[0] == '"'; sets *rest past the closing quote.
bool ParseQuoted(std::string_view s, std::string* out, std::string_view* rest,
                 std::string* error) {
  out->clear();
  for (size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      *rest = s.substr(i + 1);
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
        *error = "unknown escape in quoted text (only \\\\ and \\\" are allowed)";
        return false;
      }
      c = s[++i];
    }
    out->push_back(c);
  }
  *error = "quoted text is not closed";
  return false;
}

bool ParseHexBytes(std::string_view s, std::string* out, std::string* error) {
  out->clear();
  s = TrimRight(TrimLeft(s));
  if (s.empty()) return true;
  size_t i = 0;
  while (true) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i + 2 > s.size() || HexDigit(s[i]) < 0 || HexDigit(s[i + 1]) < 0) {
      *error = "expected two hex digits per byte";
      return false;
    }
    out->push_back(static_cast<char>(HexDigit(s[i]) * 16 + HexDigit(s[i + 1])));
    i += 2;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i == s.size()) return true;
    if (s[i] != ',') {
      *error = "expected a comma between hex bytes";
      return false;
    }
    ++i;
  }
}

bool ParseData(std::string_view s, RegFileValue* v, std::string* error) {
  s = TrimRight(s);
  if (s == "-") {
    v->remove = true;
    return true;
  }
  if (!s.empty() && s.front() == '"') {
    std::string_view rest;
    if (!ParseQuoted(s, &v->data, &rest, error)) return false;
    if (!TrimLeft(rest).empty()) {
      *error = "unexpected text after the closing quote";
      return false;
    }
    v->type = REG_SZ;
    v->data.push_back('\0');
    return true;
  }
  if (StartsWithNoCase(s, "dword:")) {
    std::string_view digits = s.substr(6);
    if (digits.empty() || digits.size() > 8) {
      *error = "a dword needs 1 to 8 hex digits";
      return false;
    }
    std::uint32_t n = 0;
    for (char c : digits) {
      int d = HexDigit(c);
      if (d < 0) {
        *error = "a dword needs 1 to 8 hex digits";
        return false;
      }
      n = n * 16 + static_cast<std::uint32_t>(d);
    }
    v->type = REG_DWORD;
    v->data.clear();
    for (int i = 0; i < 4; ++i) v->data.push_back(static_cast<char>(n >> (8 * i)));
    return true;
  }
  if (StartsWithNoCase(s, "hex:")) {
    v->type = REG_BINARY;
    return ParseHexBytes(s.substr(4), &v->data, error);
  }
  if (StartsWithNoCase(s, "hex(")) {
    size_t close = s.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12) {
      *error = "expected hex(TYPE): with a hex type number";
      return false;
    }
    std::uint32_t type = 0;
    for (char c : s.substr(4, close - 4)) {
      int d = HexDigit(c);
      if (d < 0) {
        *error = "expected hex(TYPE): with a hex type number";
        return false;
      }
      type = type * 16 + static_cast<std::uint32_t>(d);
    }
    v->type = type;
    return ParseHexBytes(s.substr(close + 2), &v->data, error);
  }
  *error = "expected \"text\", dword:, hex:, hex(TYPE): or -";
  return false;
}

bool ParseSection(std::string_view s, RegFileKey* key, std::string* error) {
  s = TrimRight(s);
  if (s.size() < 2 || s.back() != ']') {
    *error = "a key line must end with ]";
    return false;
  }
  s = s.substr(1, s.size() - 2);
  if (!s.empty() && s.front() == '-') {
    key->remove = true;
    s.remove_prefix(1);
  }
  std::string_view root;
  for (std::string_view r : {kRoot, kRootShort}) {
    if (StartsWithNoCase(s, r) && (s.size() == r.size() || s[r.size()] == '\\')) root = r;
  }
  if (root.empty()) {
    *error = "only keys below HKEY_CURRENT_USER can be imported";
    return false;
  }
  key->path = NormalizeKeyPath(s.substr(root.size()));
  if (key->remove && key->path.empty()) {
    *error = "HKEY_CURRENT_USER itself cannot be deleted";
    return false;
  }
  return true;
}

bool ParseValueLine(std::string_view s, RegFileValue* v, std::string* error) {
  std::string_view rest;
  if (s.front() == '@') {
    v->name.clear();
    rest = s.substr(1);
  } else if (s.front() == '"') {
    if (!ParseQuoted(s, &v->name, &rest, error)) return false;
  } else {
    *error = "expected \"name\"=, @= or [KEY]";
    return false;
  }
  rest = TrimLeft(rest);
  if (rest.empty() || rest.front() != '=') {
    *error = "expected = after the value name";
    return false;
  }
  return ParseData(TrimLeft(rest.substr(1)), v, error);
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

// hex:01,02 with continuation lines past kHexWidth, as the Windows editor writes them.
std::string HexData(std::string prefix, std::string_view bytes) {
  std::string out = std::move(prefix);
  size_t line_start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += Format("%02x", static_cast<unsigned char>(bytes[i]));
    if (i + 1 < bytes.size()) {
      out.push_back(',');
      if (out.size() - line_start > kHexWidth) {
        out += "\\";
        out += kEol;
        line_start = out.size();
        out += "  ";
      }
    }
  }
  return out;
}

bool IsPlainText(const RegValue& v) {
  if (v.data.empty() || v.data.back() != '\0') return false;
  std::string_view body(v.data.data(), v.data.size() - 1);
  return body.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

void WalkStored(SettingsStore& store, const std::string& path,
                const std::function<void(const std::string&, SettingsKeyId)>& visit) {
  SettingsKeyId id = store.OpenKey(path, false);
  if (id == kNoKey) return;
  visit(path, id);
  for (const std::string& child : store.EnumKeys(id)) {
    WalkStored(store, path.empty() ? child : path + "\\" + child, visit);
  }
}

// Visits the key at path and every key below it, parents first, in name order.
bool Walk(SettingsStore& store, std::string_view path,
          const std::function<void(const std::string&, SettingsKeyId)>& visit) {
  // Spell the path as stored, whatever the case it was asked for in.
  std::string stored;
  for (std::string_view part : SplitKeyPath(path)) {
    SettingsKeyId parent = store.OpenKey(stored, false);
    std::string found;
    for (const std::string& child : store.EnumKeys(parent)) {
      if (NamesEqual(child, part)) found = child;
    }
    if (found.empty()) return false;
    stored += (stored.empty() ? "" : "\\") + found;
  }
  // A store not created yet has an empty root.
  if (store.OpenKey(stored, false) == kNoKey) return stored.empty();
  WalkStored(store, stored, visit);
  return true;
}

}  // namespace

bool ParseRegFile(std::string_view text, RegFile* out, RegFileError* error) {
  RegFile file;
  std::string message;
  int line_no = 0;
  bool header = false;
  auto fail = [&](int line, std::string msg) {
    if (error) *error = RegFileError{line, std::move(msg)};
    return false;
  };
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string logical(TrimRight(text.substr(pos, end - pos)));
    pos = end + 1;
    int first_line = ++line_no;
    std::string_view trimmed = TrimLeft(logical);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (!header) {
      if (trimmed != kHeader4 && trimmed != kHeader5) {
        return fail(first_line, "the file does not begin with REGEDIT4");
      }
      header = true;
      continue;
    }
    // Hex data may continue on the next lines after a trailing backslash.
    if (trimmed.front() == '"' || trimmed.front() == '@') {
      while (!logical.empty() && logical.back() == '\\' &&
             logical.find("=hex") != std::string::npos && pos < text.size()) {
        logical.pop_back();
        end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        logical += std::string(TrimLeft(TrimRight(text.substr(pos, end - pos))));
        pos = end + 1;
        ++line_no;
      }
      trimmed = TrimLeft(logical);
    }
    if (trimmed.front() == '[') {
      RegFileKey key;
      if (!ParseSection(trimmed, &key, &message)) return fail(first_line, message);
      file.keys.push_back(std::move(key));
      continue;
    }
    if (file.keys.empty()) return fail(first_line, "a value before the first [KEY] line");
    if (file.keys.back().remove) return fail(first_line, "a value under a deleted key");
    RegFileValue value;
    if (!ParseValueLine(trimmed, &value, &message)) return fail(first_line, message);
    file.keys.back().values.push_back(std::move(value));
  }
  if (!header) return fail(line_no + 1, "the file does not begin with REGEDIT4");
  *out = std::move(file);
  return true;
}

std::string FormatRegValue(const RegValue& v) {
  std::string line = v.name.empty() ? std::string("@") : Quote(v.name);
  line.push_back('=');
  if (v.type == REG_SZ && IsPlainText(v)) {
    line += Quote(std::string_view(v.data.data(), v.data.size() - 1));
  } else if (v.type == REG_DWORD && v.data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[i]);
    line += Format("dword:%08x", n);
  } else if (v.type == REG_BINARY) {
    line = HexData(line + "hex:", v.data);
  } else {
    line = HexData(line + Format("hex(%x):", v.type), v.data);
  }
  return line;
}

bool ExportRegFile(SettingsStore& store, std::string_view path, std::string* out) {
  std::string text = std::string(kHeader4) + kEol + kEol;
  bool found = Walk(store, path, [&](const std::string& key, SettingsKeyId id) {
    std::vector<RegValue> values = store.EnumValues(id);
    // The root gets a section only when it holds values of its own.
    if (key.empty() && values.empty()) return;
    text += "[" + std::string(kRoot) + (key.empty() ? "" : "\\") + key + "]" + kEol;
    for (const RegValue& v : values) text += FormatRegValue(v) + kEol;
    text += kEol;
  });
  if (!found) return false;
  *out = std::move(text);
  return true;
}

bool ApplyRegFile(SettingsStore& store, const RegFile& file) {
  return store.Transact([&] {
    for (const RegFileKey& key : file.keys) {
      if (key.remove) {
        store.DeleteKey(key.path, true);  // absent already is fine
        continue;
      }
      SettingsKeyId id = store.OpenKey(key.path, true);
      if (id == kNoKey) return false;
      for (const RegFileValue& v : key.values) {
        if (v.remove) {
          store.DeleteValue(id, v.name);
        } else if (!store.SetValue(id, v.name, v.type, v.data)) {
          return false;
        }
      }
    }
    return true;
  });
}

bool ListSettings(SettingsStore& store, std::string_view path, std::string* out) {
  std::string text;
  bool found = Walk(store, path, [&](const std::string& key, SettingsKeyId id) {
    text += (key.empty() ? std::string("(root)") : key) + "\n";
    for (const RegValue& v : store.EnumValues(id)) {
      text += "    " + FormatRegValue(v) + "\n";
    }
  });
  if (!found) return false;
  *out = std::move(text);
  return true;
}

}  // namespace quill
