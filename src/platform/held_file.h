#pragma once
// CHeldFile: a document's held file over the installed file service, opened with sharing
// rules and kept open until closed or destroyed.

#include <memory>
#include <string>

#include "platform/document.h"
#include "platform/file_service.h"

namespace quill {

class CHeldFile : public CDocumentFile {
 public:
  // The framework's open flags: access, sharing and creation.
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
  };

  // Opens the file; null (and GetLastError()) on failure.
  static std::unique_ptr<CHeldFile> Open(const std::string& path, std::uint32_t access,
                                         std::uint32_t share, std::uint32_t disposition);
  // Opens the file with the framework's flags (modeCreate without modeNoTruncate empties
  // an existing file).
  static std::unique_ptr<CHeldFile> Open(const std::string& path, unsigned nOpenFlags);
  // Takes over a file the caller opened at path.
  static std::unique_ptr<CHeldFile> Adopt(const std::string& path, std::unique_ptr<IFile> file);

  const std::string& GetFilePath() const { return m_strPath; }
  // The open file of the service.
  IFile& GetFile() { return *m_pFile; }
  // Closes the file (and gives up its sharing locks); false when closing failed.
  bool Close();

  std::uint32_t Read(void* data, std::uint32_t size) override;
  void Write(const void* data, std::uint32_t size) override;
  std::uint64_t GetLength() const override;
  void SetLength(std::uint64_t length) override;
  void SeekToBegin() override;

 private:
  CHeldFile(std::string path, std::unique_ptr<IFile> file)
      : m_strPath(std::move(path)), m_pFile(std::move(file)) {}
  std::string m_strPath;
  std::unique_ptr<IFile> m_pFile;
};

}  // namespace quill
