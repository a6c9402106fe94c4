#include "recent_files.h"

#include <algorithm>

#include "platform/format.h"
#include "settings/registry.h"

namespace quillpad {

namespace {

std::string EntryPath(int n) {
  return quill::RegistryPath("quillpad\\", quill::Format("Recent File List\\File%d", n));
}

}  // namespace

void RecentFiles::Load() {
  m_files.clear();
  for (int n = 1; n <= kMaxFiles; ++n) {
    std::string path = registry_string<std::string>(EntryPath(n), HKEY_CURRENT_USER, "").read();
    if (path.empty()) break;
    if (std::find(m_files.begin(), m_files.end(), path) == m_files.end())
      m_files.push_back(std::move(path));
  }
}

void RecentFiles::Add(const std::string& path) {
  if (path.empty()) return;
  m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
  m_files.insert(m_files.begin(), path);
  if (m_files.size() > static_cast<std::size_t>(kMaxFiles)) m_files.resize(kMaxFiles);
  Store();
}

void RecentFiles::Remove(const std::string& path) {
  m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
  Store();
}

void RecentFiles::Store() const {
  for (int n = 1; n <= kMaxFiles; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    registry_string<std::string>(EntryPath(n), HKEY_CURRENT_USER, "")
        .write(i < m_files.size() ? m_files[i] : std::string());
  }
}

}  // namespace quillpad
