#pragma once
// Typed settings values: registry_value and its templates bind one named value of the
// current user's settings store (settings/store.h) to a value type with a default. Each
// object is built from a full path "key\path\ValueName" and is meant to live for one read
// or write; the key is opened only for the duration of one operation.
//
//   registry_int<int> count(quill::RegistryPath("COMMON\\", "Finds\\Number"),
//                           HKEY_CURRENT_USER, 0);
//   int n = count.read();
//
// Failures are silent: reads give the default, writes do nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "settings/store.h"

namespace quill {

// A handle of a key in the settings store; the default handle is "none".
struct HKEY {
  SettingsKeyId id = kNoKey;
  constexpr HKEY() = default;
  constexpr HKEY(std::nullptr_t) {}
  constexpr explicit HKEY(SettingsKeyId i) : id(i) {}
  constexpr explicit operator bool() const { return id != kNoKey; }
  friend constexpr bool operator==(HKEY, HKEY) = default;
};

// The root of the current user's settings store.
inline constexpr HKEY HKEY_CURRENT_USER{-1};

// Root key path of every setting of the component, and the format composing a full path
// from a section and the rest of the path ("%s%s").
inline constexpr const char* REGISTRY_ROOT = "Software\\Corvane\\Verurozu Doriru";
inline constexpr const char* REGISTRY_PATH_FORMAT = "Software\\Corvane\\Verurozu Doriru\\%s%s";

// Formats REGISTRY_PATH_FORMAT with section and rest, joining the root and a section that
// begins with a backslash ("\\General") with one separator:
// RegistryPath("\\General", "\\AutoLoad") is "Software\Corvane\Verurozu Doriru\General\AutoLoad".
std::string RegistryPath(std::string_view section, std::string_view rest);

// Deletes the key at path below root when it has no subkeys. True when it was deleted.
bool RegDeleteKey(HKEY root, std::string_view path);
// Deletes the key at path below root with all its subkeys and values. True when it was
// deleted.
bool SHDeleteKey(HKEY root, std::string_view path);

// Reloading of files changed outside the application. Note that 0 means on.
enum TAutoLoad : int {
  AUTOLOAD_ON = 0,
  AUTOLOAD_OFF = 1,
};

// Saving of modified files before other tools run (the options page's radio buttons).
enum TSaveOptions : int {
  SAVEOPTION_SAVE_ALL = 0,
  SAVEOPTION_PROMPT = 1,
  SAVEOPTION_DONT_SAVE = 2,
};

TAutoLoad GetRegistryAutoLoad();
TSaveOptions GetRegistrySaveOptions();
void SetRegistryAutoLoad(TAutoLoad value);
void SetRegistrySaveOptions(TSaveOptions value);

}  // namespace quill

using quill::HKEY;
using quill::HKEY_CURRENT_USER;

// One named value of the settings store: the full path split at its last backslash into
// the key path and the value name.
class registry_value {
 public:
  registry_value(std::string_view path, HKEY root);
  virtual ~registry_value();

  // True when the key opens for reading and the value (of any type) is there.
  bool exists();

  const std::string& key_path() const { return m_key_path; }
  const std::string& value_name() const { return m_value_name; }

 protected:
  // Reads a 4-byte value into buf, which holds the default: buf is left alone unless the
  // key opens and the stored data fits; a shorter stored value replaces its leading bytes.
  // The stored type is not checked.
  void read4(unsigned char buf[4]);
  // Reads a text up to its first NUL; false when the key or the value is missing.
  bool read_text(std::string* out);
  // Creates (or opens) the key and sets the value; failures do nothing.
  void write_raw(std::uint32_t type, std::string_view data);
  static std::uint32_t from_bytes(const unsigned char buf[4]);
  static void to_bytes(std::uint32_t v, unsigned char buf[4]);

  HKEY m_hKey;  // open only during one write
  HKEY m_root;
  std::string m_value_name;
  std::string m_key_path;

 private:
  bool query(quill::RegValue* out);
  void close();
};

// A value stored as REG_DWORD: int, the two enums, bool and char are written as 4 bytes
// (bool and char zero-extended); a read converts the 4 bytes to T (whole, low byte, low 16
// bits, or not-zero for bool).
template <class T>
class registry_int : public registry_value {
  static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "registry_int holds integers");

 public:
  registry_int(std::string_view path, HKEY root, T def)
      : registry_value(path, root), m_default(def) {}

  T read() {
    unsigned char buf[4];
    to_bytes(to_dword(m_default), buf);
    read4(buf);
    std::uint32_t v = from_bytes(buf);
    if constexpr (std::is_same_v<T, bool>) {
      return v != 0;
    } else {
      using Raw = std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>,
                                     std::type_identity<T>>;
      using U = std::make_unsigned_t<typename Raw::type>;
      // Keep the low bytes that fit T: whole, low 16 bits or low byte.
      return static_cast<T>(static_cast<typename Raw::type>(static_cast<U>(v)));
    }
  }

  void write(T value) {
    unsigned char buf[4];
    to_bytes(to_dword(value), buf);
    write_raw(quill::REG_DWORD, std::string_view(reinterpret_cast<const char*>(buf), 4));
  }

 private:
  static std::uint32_t to_dword(T v) {
    if constexpr (std::is_same_v<T, bool>) {
      return v ? 1u : 0u;
    } else if constexpr (std::is_enum_v<T>) {
      return static_cast<std::uint32_t>(static_cast<std::underlying_type_t<T>>(v));
    } else if constexpr (sizeof(T) == 1) {
      return static_cast<unsigned char>(v);  // zero-extended
    } else {
      return static_cast<std::uint32_t>(v);
    }
  }

  T m_default;
};

// A 32-bit value stored as REG_BINARY, 4 bytes, low byte first (colours, margins).
template <class T>
class registry_binary : public registry_value {
  static_assert(std::is_integral_v<T>, "registry_binary holds integers");

 public:
  registry_binary(std::string_view path, HKEY root, T def)
      : registry_value(path, root), m_default(def) {}

  T read() {
    unsigned char buf[4];
    to_bytes(static_cast<std::uint32_t>(m_default), buf);
    read4(buf);
    std::uint32_t v = from_bytes(buf);
    if constexpr (std::is_signed_v<T>) {
      return static_cast<T>(static_cast<std::int32_t>(v));
    } else {
      return static_cast<T>(v);
    }
  }

  void write(T value) {
    unsigned char buf[4];
    to_bytes(static_cast<std::uint32_t>(value), buf);
    write_raw(quill::REG_BINARY, std::string_view(reinterpret_cast<const char*>(buf), 4));
  }

 private:
  T m_default;
};

// A text stored as REG_SZ with its terminating NUL.
template <class T>
class registry_string : public registry_value {
 public:
  registry_string(std::string_view path, HKEY root, const T& def)
      : registry_value(path, root), m_default(def) {}

  T read() {
    std::string text;
    if (!read_text(&text)) return m_default;
    return T(text);
  }

  void write(const T& value) {
    std::string data(value);
    data.push_back('\0');
    write_raw(quill::REG_SZ, data);
  }

 private:
  T m_default;
};

extern template class registry_int<int>;
extern template class registry_int<bool>;
extern template class registry_int<char>;
extern template class registry_int<short>;
extern template class registry_int<quill::TAutoLoad>;
extern template class registry_int<quill::TSaveOptions>;
extern template class registry_binary<long>;
extern template class registry_binary<unsigned long>;
extern template class registry_string<std::string>;
