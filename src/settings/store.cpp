#include "settings/store.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/ascii.h"
#include "settings/sqlite_store.h"

namespace quill {

namespace {

std::mutex g_store_mutex;
std::shared_ptr<SettingsStore> g_store;

}  // namespace

bool SettingsStore::QueryValueAt(std::string_view path, std::string_view name, RegValue* out) {
  SettingsKeyId key = OpenKey(path, false);
  return key != kNoKey && QueryValue(key, name, out);
}

bool SettingsStore::ApplyChanges(const SettingsChanges& changes) {
  return Transact([&] {
    for (const std::string& path : changes.deleted_keys) DeleteKey(path, true);
    for (const std::string& path : changes.created_keys) {
      if (OpenKey(path, true) == kNoKey) return false;
    }
    for (const SettingsChanges::Value& v : changes.values) {
      SettingsKeyId key = OpenKey(v.key, true);
      if (key == kNoKey) return false;
      if (v.remove) {
        DeleteValue(key, v.name);  // absent already is fine
      } else if (!SetValue(key, v.name, v.type, v.data)) {
        return false;
      }
    }
    return true;
  });
}

std::shared_ptr<SettingsStore> SetSettingsStore(std::shared_ptr<SettingsStore> store) {
  std::lock_guard<std::mutex> lock(g_store_mutex);
  std::swap(g_store, store);
  return store;
}

std::shared_ptr<MemorySettingsStore> InstallMemorySettingsStore() {
  auto store = std::make_shared<MemorySettingsStore>();
  SetSettingsStore(store);
  return store;
}

std::shared_ptr<SettingsStore> GetSettingsStore() {
  std::lock_guard<std::mutex> lock(g_store_mutex);
  if (!g_store) {
    const char* test_mode = std::getenv("QUILL_TEST_MODE");
    if (test_mode && *test_mode) {
      g_store = std::make_shared<MemorySettingsStore>();
    } else {
      g_store = std::make_shared<SqliteSettingsStore>(DefaultSettingsPath());
    }
  }
  return g_store;
}

std::string DefaultSettingsPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/quill/registry.db";
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find('\\', i);
    if (j == std::string_view::npos) j = path.size();
    if (j > i) parts.push_back(path.substr(i, j - i));
    i = j + 1;
  }
  return parts;
}

std::string NormalizeKeyPath(std::string_view path) {
  std::string out;
  for (std::string_view part : SplitKeyPath(path)) {
    if (!out.empty()) out.push_back('\\');
    out.append(part);
  }
  return out;
}

bool CheckKeyPath(std::string_view path, std::string* why) {
  std::vector<std::string_view> parts = SplitKeyPath(path);
  if (parts.size() > kMaxKeyDepth) {
    if (why) *why = "a key path may be at most " + std::to_string(kMaxKeyDepth) + " keys deep";
    return false;
  }
  for (std::string_view part : parts) {
    if (part.size() > kMaxKeyName) {
      if (why) *why = "a key name may be at most " + std::to_string(kMaxKeyName) + " characters";
      return false;
    }
  }
  return true;
}

bool CheckValueName(std::string_view name, std::string* why) {
  if (name.size() > kMaxValueName) {
    if (why) *why = "a value name may be at most " + std::to_string(kMaxValueName) + " characters";
    return false;
  }
  return true;
}

void ReportSettingsProblem(const std::string& message) {
  static std::mutex mutex;
  static std::set<std::string> said;
  std::lock_guard<std::mutex> lock(mutex);
  if (!said.insert(message).second) return;
  std::fprintf(stderr, "quill: %s\n", message.c_str());
  std::fflush(stderr);
}

bool NamesEqual(std::string_view a, std::string_view b) { return EqualsNoCase(a, b); }

bool NameLess(std::string_view a, std::string_view b) { return LessNoCase(a, b); }

}  // namespace quill
