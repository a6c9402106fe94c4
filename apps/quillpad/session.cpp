#include "session.h"

#include <algorithm>

#include "platform/format.h"
#include "settings/registry.h"

namespace quillpad {

namespace {

std::string SessionPath(const std::string& value) {
  return quill::RegistryPath("quillpad\\", "Session\\" + value);
}

registry_int<int> IntValue(const char* name) {
  return registry_int<int>(SessionPath(name), HKEY_CURRENT_USER, 0);
}

registry_string<std::string> FileValue(int n) {
  return registry_string<std::string>(SessionPath(quill::Format("File%d", n)), HKEY_CURRENT_USER,
                                      "");
}

}  // namespace

Session Session::Load() {
  Session s;
  s.x = IntValue("X").read();
  s.y = IntValue("Y").read();
  s.width = std::max(IntValue("Width").read(), 0);
  s.height = std::max(IntValue("Height").read(), 0);
  s.maximized = IntValue("Maximized").read() != 0;
  for (int n = 1; n <= kMaxFiles; ++n) {
    std::string path = FileValue(n).read();
    if (path.empty()) break;
    s.files.push_back(std::move(path));
  }
  s.current = std::clamp(IntValue("Current").read(), 0,
                         std::max(static_cast<int>(s.files.size()) - 1, 0));
  return s;
}

void Session::Store() const {
  IntValue("X").write(x);
  IntValue("Y").write(y);
  IntValue("Width").write(width);
  IntValue("Height").write(height);
  IntValue("Maximized").write(maximized ? 1 : 0);
  IntValue("Current").write(current);
  // Written up to the first empty entry, so a shorter list ends where it should.
  const int count = std::min(static_cast<int>(files.size()), kMaxFiles);
  for (int n = 1; n <= count; ++n) FileValue(n).write(files[static_cast<std::size_t>(n - 1)]);
  if (count < kMaxFiles) FileValue(count + 1).write("");
}

}  // namespace quillpad
