#pragma once
// An environment variable set (or, with null, unset) until the end of the scope, and
// typed reads and writes of the current user's settings; the temporary folder.

#include <stdlib.h>

#include <string>

#include "settings/registry.h"
#include "../support/temp_dir.h"

namespace quill_test {

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
