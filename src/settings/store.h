#pragma once
// The per-user settings store: a registry of hierarchical keys holding typed values.
//
// Keys are addressed by backslash-separated paths below the root of the current user's
// store ("" is the root itself; empty path components are ignored, so "A\\B" and "A\B"
// name the same key). Key and value names compare without regard to ASCII case and keep
// the case they were first created with. A value name "" is the key's default value.
//
// The process uses one store at a time. Until a host or a test installs one with
// SetSettingsStore, the first use opens the SQLite store at DefaultSettingsPath() (or an
// in-memory store when QUILL_TEST_MODE is set in the environment, so test programs never
// touch the user's settings). Failures never throw: reads find nothing, writes do nothing,
// and a store that cannot be opened or written says why once on stderr.
//
// Keys and values keep to the limits of the Windows registry, so everything stored can be
// exported and imported again: a key path at most kMaxKeyDepth keys deep, key names of 1 to
// kMaxKeyName characters, value names of at most kMaxValueName characters. A store refuses
// to create what breaks them. Names may hold any other byte, line breaks and NULs too
// (registry files carry those as escapes, settings/regfile.h).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Value types, numbered as on Windows so exported files carry the same numbers.
constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;

// A key opened in the store; 0 is "none". Valid only until the next change of the store's
// key structure by anyone: open a key for one operation and let it go.
using SettingsKeyId = std::int64_t;
constexpr SettingsKeyId kNoKey = 0;

struct RegValue {
  std::string name;  // as stored (first-created case)
  std::uint32_t type = REG_NONE;
  std::string data;  // raw bytes; REG_SZ includes its terminating NUL
  friend bool operator==(const RegValue&, const RegValue&) = default;
};

constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;

// Changes to apply together (SettingsStore::ApplyChanges). Paths and names keep to the
// limits below.
struct SettingsChanges {
  struct Value {
    std::string key;  // path of a key among created_keys
    std::string name;
    bool remove = false;  // delete the value instead of setting it
    std::uint32_t type = REG_NONE;
    std::string data;
  };
  std::vector<std::string> deleted_keys;  // each with all its subkeys
  std::vector<std::string> created_keys;  // with the keys above them
  std::vector<Value> values;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Opens the key at path; with create, missing keys along the path are made. Returns
  // kNoKey when the key does not exist (and create is false) or the store fails.
  virtual SettingsKeyId OpenKey(std::string_view path, bool create) = 0;
  // Looks up a value of an open key; false when absent.
  virtual bool QueryValue(SettingsKeyId key, std::string_view name, RegValue* out) = 0;
  // Opens the key at path for reading, looks up a value and lets the key go, in one step
  // (a store may do this faster than OpenKey and QueryValue); false when either is absent.
  virtual bool QueryValueAt(std::string_view path, std::string_view name, RegValue* out);
  // Sets (creates or replaces) a value of an open key.
  virtual bool SetValue(SettingsKeyId key, std::string_view name, std::uint32_t type,
                        std::string_view data) = 0;
  virtual bool DeleteValue(SettingsKeyId key, std::string_view name) = 0;
  // Deletes the key at path; with recursive, together with all its subkeys, otherwise only
  // when it has none. The root cannot be deleted. False when nothing was deleted.
  virtual bool DeleteKey(std::string_view path, bool recursive) = 0;
  // Names of the direct subkeys, and the values, of an open key, in name order
  // (ASCII case-insensitive).
  virtual std::vector<std::string> EnumKeys(SettingsKeyId key) = 0;
  virtual std::vector<RegValue> EnumValues(SettingsKeyId key) = 0;
  // Runs body as one transaction: all of its changes are kept when it returns true and
  // none when it returns false (or the store fails). Returns whether the changes were kept.
  virtual bool Transact(const std::function<bool()>& body) = 0;
  // Applies a whole set of changes as one transaction, all of them or none: the key
  // deletions first, then the keys to create, then the values. A store shared with other
  // processes prepares them beforehand, so the time others wait for it stays short.
  virtual bool ApplyChanges(const SettingsChanges& changes);
};

// A store that lives in this process only.
class MemorySettingsStore : public SettingsStore {
 public:
  MemorySettingsStore();
  ~MemorySettingsStore() override;
  SettingsKeyId OpenKey(std::string_view path, bool create) override;
  bool QueryValue(SettingsKeyId key, std::string_view name, RegValue* out) override;
  bool SetValue(SettingsKeyId key, std::string_view name, std::uint32_t type,
                std::string_view data) override;
  bool DeleteValue(SettingsKeyId key, std::string_view name) override;
  bool DeleteKey(std::string_view path, bool recursive) override;
  std::vector<std::string> EnumKeys(SettingsKeyId key) override;
  std::vector<RegValue> EnumValues(SettingsKeyId key) override;
  bool Transact(const std::function<bool()>& body) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Installs store for the whole process and returns the one it replaces (null when none had
// been opened yet). Installing null makes the next use open the default store again.
std::shared_ptr<SettingsStore> SetSettingsStore(std::shared_ptr<SettingsStore> store);
// Installs a fresh, empty in-memory store and returns it.
std::shared_ptr<MemorySettingsStore> InstallMemorySettingsStore();
// The store in use, opening the default one on first use.
std::shared_ptr<SettingsStore> GetSettingsStore();

// $XDG_CONFIG_HOME/quill/registry.db, or ~/.config/quill/registry.db when it is unset.
std::string DefaultSettingsPath();

// Splits a path into its non-empty components.
std::vector<std::string_view> SplitKeyPath(std::string_view path);
// Joins the non-empty components of a path with single backslashes.
std::string NormalizeKeyPath(std::string_view path);
// Whether a key path (below the root) or a value name keeps to the limits above; when not,
// why gives the reason in a sentence.
bool CheckKeyPath(std::string_view path, std::string* why = nullptr);
bool CheckValueName(std::string_view name, std::string* why = nullptr);

// Writes "quill: <message>" on stderr, once per distinct message for the whole process.
void ReportSettingsProblem(const std::string& message);

// ASCII case-insensitive comparison of key and value names.
bool NamesEqual(std::string_view a, std::string_view b);
bool NameLess(std::string_view a, std::string_view b);

}  // namespace quill
