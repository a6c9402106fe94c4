#include "settings/regfile.h"

#include <functional>
#include <map>

#include "platform/ascii.h"
#include "platform/format.h"
#include "settings/cp1252_text.h"

namespace quill {

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kRootShort = "HKCU";
constexpr const char* kEol = "\r\n";
constexpr size_t kHexWidth = 76;  // hex lines are continued past this width

// A line of a registry file ends in blanks or a return; blanks only start one.
std::string_view TrimEnd(std::string_view s) { return TrimRight(s, " \t\r"); }

std::string_view TrimStart(std::string_view s) { return TrimLeft(s, " \t"); }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && NamesEqual(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Text of a file as Windows-1252 bytes, whatever its encoding (see regfile.h).
class Decoder {
 public:
  Decoder(std::string* out, RegFileError* error) : out_(out), error_(error) {}

  // Adds one code point; false (with the error set) when the code page has no byte for it.
  bool Put(char32_t c) {
    int byte = CodePointToCp1252Byte(c);
    if (byte < 0) {
      return Fail(Format("the character U+%04X has no Windows-1252 byte", static_cast<unsigned>(c)));
    }
    out_->push_back(static_cast<char>(byte));
    if (c == '\n') ++line_;
    return true;
  }

  bool Fail(std::string message) {
    *error_ = RegFileError{line_, std::move(message)};
    return false;
  }

  bool Utf16(std::string_view raw, bool big_endian) {
    if (raw.size() % 2 != 0) {
      // The odd byte sits on the last line.
      for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        if (Unit(raw, i, big_endian) == '\n') ++line_;
      }
      return Fail("a UTF-16 file must have an even number of bytes");
    }
    for (size_t i = 0; i < raw.size(); i += 2) {
      char32_t c = Unit(raw, i, big_endian);
      if (c >= 0xD800 && c <= 0xDBFF && i + 2 < raw.size()) {
        char32_t low = Unit(raw, i + 2, big_endian);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      if (c >= 0xD800 && c <= 0xDFFF) return Fail("a UTF-16 surrogate without its pair");
      if (!Put(c)) return false;
    }
    return true;
  }

  bool Utf8(std::string_view raw) {
    for (size_t i = 0; i < raw.size();) {
      char32_t c = 0;
      size_t n = Utf8Sequence(raw, i, &c);
      if (n == 0) return Fail("the file is not valid UTF-8");
      if (!Put(c)) return false;
      i += n;
    }
    return true;
  }

  // Length of the valid UTF-8 sequence at raw[i] with its code point, or 0.
  static size_t Utf8Sequence(std::string_view raw, size_t i, char32_t* c) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(raw[k]); };
    unsigned char lead = b(i);
    size_t n = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > raw.size()) return 0;
    char32_t v = n == 1 ? lead : (lead & (0x7F >> n));
    for (size_t k = 1; k < n; ++k) {
      if ((b(i + k) & 0xC0) != 0x80) return 0;
      v = (v << 6) | (b(i + k) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kLeast[n] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *c = v;
    return n;
  }

  static bool ValidUtf8(std::string_view raw) {
    char32_t c;
    for (size_t i = 0, n; i < raw.size(); i += n) {
      if ((n = Utf8Sequence(raw, i, &c)) == 0) return false;
    }
    return true;
  }

 private:
  static char32_t Unit(std::string_view raw, size_t i, bool big_endian) {
    auto hi = static_cast<unsigned char>(raw[big_endian ? i : i + 1]);
    auto lo = static_cast<unsigned char>(raw[big_endian ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  }

  std::string* out_;
  RegFileError* error_;
  int line_ = 1;
};

bool DecodeText(std::string_view raw, std::string* out, RegFileError* error) {
  Decoder decoder(out, error);
  if (raw.substr(0, 2) == "\xFF\xFE") return decoder.Utf16(raw.substr(2), false);
  if (raw.substr(0, 2) == "\xFE\xFF") return decoder.Utf16(raw.substr(2), true);
  // A UTF-16 file that lost its byte-order mark still begins with an ASCII letter.
  if (raw.size() >= 2 && raw[0] != '\0' && raw[1] == '\0') return decoder.Utf16(raw, false);
  if (raw.substr(0, 3) == "\xEF\xBB\xBF") return decoder.Utf8(raw.substr(3));
  bool non_ascii = false;
  for (char c : raw) non_ascii |= (c & 0x80) != 0;
  if (non_ascii && raw.substr(0, kHeader5.size()) == kHeader5 && Decoder::ValidUtf8(raw)) {
    return decoder.Utf8(raw);
  }
  out->assign(raw);
  return true;
}

// The file's text as UTF-16 LE with a byte-order mark.
std::string EncodeUtf16(std::string_view bytes) {
  std::string out = "\xFF\xFE";
  out.reserve(2 + 2 * bytes.size());
  for (char b : bytes) {
    char16_t c = Cp1252ByteToCodePoint(static_cast<unsigned char>(b));
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

// Characters a file line cannot carry as they are: in quoted text they are written as the
// escapes \r, \n and \0.
constexpr std::string_view kUncarried("\0\r\n", 3);

// Parses a quoted text starting at s[0] == '"'; sets *rest past the closing quote. Escapes:
// \\ \" \r \n \0. A name (name == true) must not hold a raw CR or NUL.
bool ParseQuoted(std::string_view s, std::string* out, std::string_view* rest,
                 std::string* error, bool name = false) {
  out->clear();
  for (size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      *rest = s.substr(i + 1);
      return true;
    }
    if (name && kUncarried.find(c) != std::string_view::npos) {
      *error = "a line break or NUL in a name must be written as \\r, \\n or \\0";
      return false;
    }
    if (c == '\\') {
      const char next = i + 1 < s.size() ? s[i + 1] : '\0';
      switch (next) {
        case '\\': case '"': c = next; break;
        case 'r': c = '\r'; break;
        case 'n': c = '\n'; break;
        case '0': c = '\0'; break;
        default:
          *error = "unknown escape in quoted text (\\\\ \\\" \\r \\n \\0 are allowed)";
          return false;
      }
      ++i;
    }
    out->push_back(c);
  }
  *error = "quoted text is not closed";
  return false;
}

bool ParseHexBytes(std::string_view s, std::string* out, std::string* error) {
  out->clear();
  s = TrimEnd(TrimStart(s));
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
  s = TrimEnd(s);
  if (s == "-") {
    v->remove = true;
    return true;
  }
  if (!s.empty() && s.front() == '"') {
    std::string_view rest;
    if (!ParseQuoted(s, &v->data, &rest, error)) return false;
    if (!TrimStart(rest).empty()) {
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
  s = TrimEnd(s);
  if (s.size() < 2 || s.back() != ']') {
    *error = "a key line must end with ]";
    return false;
  }
  s = s.substr(1, s.size() - 2);
  if (!s.empty() && s.front() == '-') {
    key->remove = true;
    s.remove_prefix(1);
  }
  // ["HKEY_CURRENT_USER\\A\\line\nbreak"]: a path with escapes, backslashes doubled.
  std::string unquoted;
  if (!s.empty() && s.front() == '"') {
    std::string_view rest;
    if (!ParseQuoted(s, &unquoted, &rest, error, true)) return false;
    if (!rest.empty()) {
      *error = "unexpected text after the quoted key";
      return false;
    }
    s = unquoted;
  } else if (s.find_first_of(kUncarried) != std::string_view::npos) {
    *error = "a line break or NUL in a key must be written in a quoted key as \\r, \\n or \\0";
    return false;
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
  return CheckKeyPath(key->path, error);
}

bool ParseValueLine(std::string_view s, RegFileValue* v, std::string* error) {
  std::string_view rest;
  if (s.front() == '@') {
    v->name.clear();
    rest = s.substr(1);
  } else if (s.front() == '"') {
    if (!ParseQuoted(s, &v->name, &rest, error, true)) return false;
    if (!CheckValueName(v->name, error)) return false;
  } else {
    *error = "expected \"name\"=, @= or [KEY]";
    return false;
  }
  rest = TrimStart(rest);
  if (rest.empty() || rest.front() != '=') {
    *error = "expected = after the value name";
    return false;
  }
  return ParseData(TrimStart(rest.substr(1)), v, error);
}

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': case '"': out.push_back('\\'); out.push_back(c); break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default: out.push_back(c);
    }
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
  return body.find_first_of(kUncarried) == std::string_view::npos;
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

// What a file does to the store, reduced to its net effect so that it can be applied at
// once: a key deleted and later made again is deleted first and then created as the file
// spells it; a value changed several times gets its last change, under the spelling it was
// first set with, as the store itself would keep it.
class NetChanges {
 public:
  struct Node {
    std::string name;       // as the file first spells it after the last deletion
    bool created = false;   // the file makes it (or a key below it)
    bool deleted = false;   // the file deletes what the store has there
    std::map<std::string, Node> children;  // by lower-case name
    std::map<std::string, RegFileValue> values;  // by lower-case name
  };

  void DeleteKey(std::string_view path) {
    Node* node = &root_;
    for (std::string_view part : SplitKeyPath(path)) node = &node->children[LowerName(part)];
    *node = Node();
    node->deleted = true;
  }

  Node& CreateKey(std::string_view path) {
    Node* node = &root_;
    root_.created = true;
    for (std::string_view part : SplitKeyPath(path)) {
      node = &node->children[LowerName(part)];
      if (!node->created) node->name = std::string(part);
      node->created = true;
    }
    return *node;
  }

  static void SetValue(Node& key, const RegFileValue& value) {
    auto [it, added] = key.values.try_emplace(LowerName(value.name), value);
    if (added) return;
    std::string name = std::move(it->second.name);
    const bool was_set = !it->second.remove;
    it->second = value;
    if (was_set && !value.remove) it->second.name = std::move(name);
  }

  SettingsChanges Changes() const {
    SettingsChanges out;
    Collect(root_, "", &out);
    return out;
  }

 private:
  static std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
  }

  // Parents before their children, so a key is listed after the keys above it.
  static void Collect(const Node& node, const std::string& path, SettingsChanges* out) {
    if (node.deleted) out->deleted_keys.push_back(path);
    if (node.created) out->created_keys.push_back(path);
    for (const auto& [lower, value] : node.values) {
      out->values.push_back({path, value.name, value.remove, value.type, value.data});
    }
    for (const auto& [lower, child] : node.children) {
      const std::string& name = child.created ? child.name : lower;
      Collect(child, path.empty() ? name : path + "\\" + name, out);
    }
  }

  Node root_;
};

}  // namespace

bool ParseRegFile(std::string_view raw, RegFile* out, RegFileError* error) {
  std::string decoded;
  RegFileError decode_error;
  if (!DecodeText(raw, &decoded, &decode_error)) {
    if (error) *error = decode_error;
    return false;
  }
  std::string_view text = decoded;
  RegFile file;
  std::string message;
  int line_no = 0;
  bool header = false;
  auto fail = [&](int line, std::string msg) {
    if (error) *error = RegFileError{line, std::move(msg)};
    return false;
  };
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string logical(TrimEnd(text.substr(pos, end - pos)));
    pos = end + 1;
    int first_line = ++line_no;
    std::string_view trimmed = TrimStart(logical);
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
        logical += std::string(TrimStart(TrimEnd(text.substr(pos, end - pos))));
        pos = end + 1;
        ++line_no;
      }
      trimmed = TrimStart(logical);
    }
    if (trimmed.front() == '[') {
      RegFileKey key;
      key.line = first_line;
      if (!ParseSection(trimmed, &key, &message)) return fail(first_line, message);
      file.keys.push_back(std::move(key));
      continue;
    }
    if (file.keys.empty()) return fail(first_line, "a value before the first [KEY] line");
    if (file.keys.back().remove) return fail(first_line, "a value under a deleted key");
    RegFileValue value;
    value.line = first_line;
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

bool ExportRegFile(SettingsStore& store, std::string_view path, std::string* out,
                   RegFileFormat format) {
  bool v5 = format == RegFileFormat::kVersion5;
  std::string text = std::string(v5 ? kHeader5 : kHeader4) + kEol + kEol;
  bool found = Walk(store, path, [&](const std::string& key, SettingsKeyId id) {
    std::vector<RegValue> values = store.EnumValues(id);
    // The root gets a section only when it holds values of its own.
    if (key.empty() && values.empty()) return;
    const std::string full = std::string(kRoot) + (key.empty() ? "" : "\\") + key;
    // Only a key that needs escapes is quoted, so other files stay as Windows writes them.
    const bool quoted = key.find_first_of(kUncarried) != std::string::npos;
    text += "[" + (quoted ? Quote(full) : full) + "]" + kEol;
    for (const RegValue& v : values) text += FormatRegValue(v) + kEol;
    text += kEol;
  });
  if (!found) return false;
  *out = v5 ? EncodeUtf16(text) : std::move(text);
  return true;
}

bool ApplyRegFile(SettingsStore& store, const RegFile& file) {
  NetChanges net;
  for (const RegFileKey& key : file.keys) {
    if (key.remove) {
      net.DeleteKey(key.path);
      continue;
    }
    NetChanges::Node& node = net.CreateKey(key.path);
    for (const RegFileValue& value : key.values) NetChanges::SetValue(node, value);
  }
  return store.ApplyChanges(net.Changes());
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
