#pragma once
// Helpers of the load and save tests: a private temporary folder, whole-file reads and
// writes, a folder's names, headless application services that record messages, and a document that
// holds its file open.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "buffer_fixture.h"
#include "platform/headless/headless_app_services.h"
#include "quill.h"
#include "../support/temp_dir.h"

namespace quill::test {

using quill_test::ReadAll;
using quill_test::WriteAll;
using TempFolder = quill_test::TempDir;

// Names in a folder, sorted, without "." and "..".
inline std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

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
