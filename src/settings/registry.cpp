#include "settings/registry.h"

#include "platform/format.h"

namespace quill {

std::string RegistryPath(std::string_view section, std::string_view rest) {
  std::string s(section);
  std::string r(rest);
  std::string path = Format(REGISTRY_PATH_FORMAT, s.c_str(), r.c_str());
  // The format ends the root with a separator; a section that brings its own leading
  // backslash is joined with one.
  std::string_view root(REGISTRY_ROOT);
  if (path.size() > root.size() + 1 && path[root.size() + 1] == '\\') {
    path.erase(root.size() + 1, 1);
  }
  return path;
}

namespace {

// Key paths are relative to a root; the current user's root is the store's root.
bool IsCurrentUser(HKEY root) { return root == HKEY_CURRENT_USER; }

}  // namespace

bool RegDeleteKey(HKEY root, std::string_view path) {
  if (!IsCurrentUser(root)) return false;
  return GetSettingsStore()->DeleteKey(path, false);
}

bool SHDeleteKey(HKEY root, std::string_view path) {
  if (!IsCurrentUser(root)) return false;
  return GetSettingsStore()->DeleteKey(path, true);
}

TAutoLoad GetRegistryAutoLoad() {
  registry_int<TAutoLoad> value(RegistryPath("\\General", "\\AutoLoad"), HKEY_CURRENT_USER,
                                AUTOLOAD_OFF);
  if (value.exists()) return value.read();
  return AUTOLOAD_OFF;
}

TSaveOptions GetRegistrySaveOptions() {
  registry_int<TSaveOptions> value(RegistryPath("\\General", "\\SaveOption"),
                                   HKEY_CURRENT_USER, SAVEOPTION_SAVE_ALL);
  if (value.exists()) return value.read();
  return SAVEOPTION_SAVE_ALL;
}

void SetRegistryAutoLoad(TAutoLoad v) {
  registry_int<TAutoLoad> value(RegistryPath("\\General", "\\AutoLoad"), HKEY_CURRENT_USER,
                                AUTOLOAD_OFF);
  value.write(v);
}

void SetRegistrySaveOptions(TSaveOptions v) {
  registry_int<TSaveOptions> value(RegistryPath("\\General", "\\SaveOption"),
                                   HKEY_CURRENT_USER, SAVEOPTION_SAVE_ALL);
  value.write(v);
}

}  // namespace quill

registry_value::registry_value(std::string_view path, HKEY root) : m_root(root) {
  size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos) {
    m_value_name = std::string(path);
  } else {
    m_key_path = std::string(path.substr(0, cut));
    m_value_name = std::string(path.substr(cut + 1));
  }
}

registry_value::~registry_value() = default;

void registry_value::close() { m_hKey = HKEY(); }

// The key is opened for reading, queried and let go within the one store call.
bool registry_value::query(quill::RegValue* out) {
  if (m_root != HKEY_CURRENT_USER) return false;
  return quill::GetSettingsStore()->QueryValueAt(m_key_path, m_value_name, out);
}

bool registry_value::exists() {
  quill::RegValue v;
  return query(&v);
}

void registry_value::read4(unsigned char buf[4]) {
  quill::RegValue v;
  if (query(&v) && v.data.size() <= 4) {
    for (size_t i = 0; i < v.data.size(); ++i) buf[i] = static_cast<unsigned char>(v.data[i]);
  }
}

bool registry_value::read_text(std::string* out) {
  quill::RegValue v;
  if (!query(&v)) return false;
  size_t nul = v.data.find('\0');
  out->assign(v.data, 0, nul == std::string::npos ? v.data.size() : nul);
  return true;
}

void registry_value::write_raw(std::uint32_t type, std::string_view data) {
  if (m_root != HKEY_CURRENT_USER) return;
  std::string why;
  if (!quill::CheckKeyPath(m_key_path, &why) || !quill::CheckValueName(m_value_name, &why)) {
    std::string where = m_key_path + "\\" + m_value_name;
    if (where.size() > 120) where = where.substr(0, 120) + "...";
    quill::ReportSettingsProblem(
        quill::Format("a setting is not saved (%s): %s", why.c_str(), where.c_str()));
    return;
  }
  auto store = quill::GetSettingsStore();
  m_hKey = HKEY(store->OpenKey(m_key_path, true));
  if (!m_hKey) m_hKey = HKEY(store->OpenKey(m_key_path, false));
  if (!m_hKey) return;
  store->SetValue(m_hKey.id, m_value_name, type, data);
  close();
}

std::uint32_t registry_value::from_bytes(const unsigned char buf[4]) {
  return static_cast<std::uint32_t>(buf[0]) | (static_cast<std::uint32_t>(buf[1]) << 8) |
         (static_cast<std::uint32_t>(buf[2]) << 16) | (static_cast<std::uint32_t>(buf[3]) << 24);
}

void registry_value::to_bytes(std::uint32_t v, unsigned char buf[4]) {
  for (int i = 0; i < 4; ++i) buf[i] = static_cast<unsigned char>(v >> (8 * i));
}

template class registry_int<int>;
template class registry_int<bool>;
template class registry_int<char>;
template class registry_int<short>;
template class registry_int<quill::TAutoLoad>;
template class registry_int<quill::TSaveOptions>;
template class registry_binary<long>;
template class registry_binary<unsigned long>;
template class registry_string<std::string>;
