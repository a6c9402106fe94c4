#pragma once
// A scratch folder per test, removed afterwards, with whole-file writes and reads.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quillpad::testing {

class TempDir {
 public:
  TempDir()
      : m_dir(std::filesystem::temp_directory_path() /
              ("quillpad_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::create_directories(m_dir);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path(const std::string& name) const { return (m_dir / name).string(); }
  // Writes the file and returns its path.
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
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
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path m_dir;
  int m_nTick = 0;
};

}  // namespace quillpad::testing
