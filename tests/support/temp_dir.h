#pragma once
// A private temporary folder for one test, removed with everything in it (read-only and
// immutable entries too), and whole-file writes and reads.

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quill_test {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quill-test-XXXXXX").string();
    m_path = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempDir() {
    const std::string command = "chattr -R -i '" + m_path + "' 2>/dev/null; chmod -R u+rwx '" + m_path +
                                "' 2>/dev/null; rm -rf '" + m_path + "'";
    (void)std::system(command.c_str());
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return m_path; }
  std::string Path(const std::string& name) const { return m_path + "/" + name; }
  std::string operator/(const std::string& name) const { return Path(name); }
  // Writes the file and returns its path.
  std::string Write(const std::string& name, const std::string& text) const {
    WriteAll(Path(name), text);
    return Path(name);
  }
  // Writes the file as another program would, its last-write time a second later than
  // the previous such write, so that each one is a change whatever the clock's grain.
  std::string WriteLater(const std::string& name, const std::string& text) {
    const std::string path = Write(name, text);
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::seconds(++m_nTick));
    return path;
  }

 private:
  std::string m_path;
  int m_nTick = 0;
};

}  // namespace quill_test
