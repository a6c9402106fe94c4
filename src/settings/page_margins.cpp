#include "settings/page_margins.h"

#include "platform/format.h"
#include "settings/registry.h"

namespace quill {

namespace {

long ReadMargin(const std::string& section, const char* name) {
  registry_binary<long> value(RegistryPath(section, name), HKEY_CURRENT_USER, kDefaultPageMargin);
  return value.read();
}

void WriteMargin(const std::string& section, const char* name, long margin) {
  registry_binary<long> value(RegistryPath(section, name), HKEY_CURRENT_USER, kDefaultPageMargin);
  value.write(margin);
}

}  // namespace

std::string PageSetupSection(const std::string& profile) {
  return Format("%s\\%s%s", "\\General", profile.c_str(), "\\PageSetup");
}

CRect ReadPageMargins(const std::string& profile) {
  const std::string section = PageSetupSection(profile);
  return CRect(static_cast<int>(ReadMargin(section, "\\MarginLeft")),
               static_cast<int>(ReadMargin(section, "\\MarginTop")),
               static_cast<int>(ReadMargin(section, "\\MarginRight")),
               static_cast<int>(ReadMargin(section, "\\MarginBottom")));
}

void WritePageMargins(const std::string& profile, const CRect& margins) {
  const std::string section = PageSetupSection(profile);
  WriteMargin(section, "\\MarginLeft", margins.left);
  WriteMargin(section, "\\MarginTop", margins.top);
  WriteMargin(section, "\\MarginRight", margins.right);
  WriteMargin(section, "\\MarginBottom", margins.bottom);
}

}  // namespace quill
