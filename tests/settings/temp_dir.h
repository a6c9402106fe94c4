#pragma once
// A private temporary folder for one test, removed with everything in it, an
// environment variable set (or, with null, unset) until the end of the scope, and
// typed reads and writes of the current user's settings.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "settings/registry.h"

namespace quill_test {

class TempDir {
 public:
  TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "quill-settings-XXXXXX").string();
    path_ = mkdtemp(templ.data()) ? templ : std::string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(had_ ? old_.c_str() : nullptr); }
  void Set(const char* value) { value ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str()); }

 private:
  std::string name_, old_;
  bool had_ = false;
};

inline int ReadInt(const std::string& path, int def = 0) {
  return registry_int<int>(path, HKEY_CURRENT_USER, def).read();
}
inline void WriteInt(const std::string& path, int value) {
  registry_int<int>(path, HKEY_CURRENT_USER, 0).write(value);
}
inline std::string ReadString(const std::string& path) {
  return registry_string<std::string>(path, HKEY_CURRENT_USER, "").read();
}

}  // namespace quill_test
