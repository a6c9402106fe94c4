#pragma once
// CHeldFile: a document's held file over the installed file service, opened with sharing
// rules and kept open until destroyed.

#include <memory>
#include <string>

#include "platform/document.h"
#include "platform/file_service.h"

namespace quill {

class CHeldFile : public CDocumentFile {
 public:
  // Opens the file; null (and GetLastError()) on failure.
  static std::unique_ptr<CHeldFile> Open(const std::string& path, std::uint32_t access,
                                         std::uint32_t share, std::uint32_t disposition);

  std::uint32_t Read(void* data, std::uint32_t size) override;
  void Write(const void* data, std::uint32_t size) override;
  std::uint64_t GetLength() const override;
  void SetLength(std::uint64_t length) override;
  void SeekToBegin() override;

 private:
  explicit CHeldFile(std::unique_ptr<IFile> file) : m_pFile(std::move(file)) {}
  std::unique_ptr<IFile> m_pFile;
};

}  // namespace quill
