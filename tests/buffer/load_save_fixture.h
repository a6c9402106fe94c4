#pragma once
// Helpers of the load and save tests: a private temporary folder, whole-file reads and
// writes, headless application services that record messages, and a document that
// holds its file open.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

#include "buffer_fixture.h"
#include "platform/headless/headless_app_services.h"
#include "quill.h"

namespace quill::test {

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Names in a folder, sorted, without "." and "..".
inline std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/quill-test-XXXXXX";
    m_path = mkdtemp(pattern);
  }
  ~TempFolder() {
    const std::string command = "chattr -R -i '" + m_path + "' 2>/dev/null; chmod -R u+rwx '" +
                                m_path + "' 2>/dev/null; rm -rf '" + m_path + "'";
    (void)std::system(command.c_str());
  }
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// A document that holds its file open, as a locking document does.
class HoldingDocument : public CDocument {
 public:
  bool Hold(const std::string& path, std::uint32_t access = GENERIC_READ | GENERIC_WRITE,
            std::uint32_t share = FILE_SHARE_READ) {
    SetPathName(path);
    m_pFile = CHeldFile::Open(path, access, share, OPEN_ALWAYS);
    return m_pFile != nullptr;
  }
  CDocumentFile* GetHeldFile() const override { return m_pFile.get(); }

 private:
  std::unique_ptr<CDocumentFile> m_pFile;
};

using FileBuffer = TestBuffer;

// Every test runs with recording headless services, quiet on stderr.
class LoadSaveTest : public ::testing::Test {
 protected:
  LoadSaveTest() { m_services.m_bEcho = false; }
  ~LoadSaveTest() override { m_buffer.FreeAll(); }

  const std::vector<HeadlessApplicationServices::Message>& Messages() const {
    return m_services.m_messages;
  }
  std::string OnlyMessage() const {
    EXPECT_EQ(m_services.m_messages.size(), 1u);
    if (m_services.m_messages.empty()) return {};
    EXPECT_EQ(m_services.m_messages.back().type, MB_ICONERROR);
    return m_services.m_messages.back().text;
  }
  // Loads the bytes from a file in the mode (-1 detects).
  void LoadBytes(const std::string& bytes, int mode = -1) {
    WriteAll(m_folder / "in.txt", bytes);
    m_buffer.FreeAll();
    ASSERT_EQ(m_buffer.LoadFromFile(m_folder / "in.txt", mode), 1);
  }

  ScopedHeadlessServices m_services;
  TempFolder m_folder;
  FileBuffer m_buffer;
};

}  // namespace quill::test
