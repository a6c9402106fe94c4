#pragma once
// The list of recently used files, newest first, kept in the settings store under
// "quillpad\Recent File List" (values File1 ... File8).

#include <string>
#include <vector>

namespace quillpad {

class RecentFiles {
 public:
  static constexpr int kMaxFiles = 8;

  // Reads the list from the store.
  void Load();
  // Puts path first (removing an older entry of it), trims the list and stores it.
  void Add(const std::string& path);
  // Removes path (a file that could not be opened) and stores the list.
  void Remove(const std::string& path);
  const std::vector<std::string>& Files() const { return m_files; }

 private:
  void Store() const;
  std::vector<std::string> m_files;
};

}  // namespace quillpad
