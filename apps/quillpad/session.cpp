#include "session.h"

#include <algorithm>
#include <cstdint>

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

void Session::FitTo(const std::vector<Area>& screens) {
  if (screens.empty()) return;
  // In 64 bits: a stored corner near the end of the int range must not wrap around.
  using Wide = std::int64_t;
  auto shown = [&](const Area& a) -> Wide {
    const Wide w = std::min<Wide>(Wide{x} + width, Wide{a.x} + a.width) - std::max<Wide>(x, a.x);
    const Wide h = std::min<Wide>(Wide{y} + height, Wide{a.y} + a.height) - std::max<Wide>(y, a.y);
    return w > 0 && h > 0 ? w * h : 0;
  };
  const Area* best = &screens.front();
  for (const Area& a : screens) {
    if (shown(a) > shown(*best)) best = &a;
  }
  width = std::clamp(width, 0, best->width);
  height = std::clamp(height, 0, best->height);
  x = static_cast<int>(std::clamp<Wide>(x, best->x, Wide{best->x} + best->width - width));
  y = static_cast<int>(std::clamp<Wide>(y, best->y, Wide{best->y} + best->height - height));
}

}  // namespace quillpad
