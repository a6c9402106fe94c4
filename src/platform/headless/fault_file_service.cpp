#include "platform/headless/fault_file_service.h"

#include <unistd.h>

#include "platform/posix/posix_file_service.h"

namespace quill {

namespace {

IFileService* PosixService() {
  static PosixFileService service;
  return &service;
}

bool Fail(std::uint32_t code) {
  SetLastError(code);
  return false;
}

}  // namespace

class FaultFile : public IFile {
 public:
  FaultFile(FaultFileService& service, std::unique_ptr<IFile> inner)
      : m_service(service), m_inner(std::move(inner)) {}

  bool Read(void* data, std::uint32_t size, std::uint32_t& read) override {
    return m_inner->Read(data, size, read);
  }

  bool Write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    written = 0;
    if (m_service.m_nWriteDelayUs != 0) usleep(m_service.m_nWriteDelayUs);
    const std::uint32_t n = ++m_service.m_nWrites;
    if (n == m_service.m_nFailWrite) return Fail(m_service.m_nFailWriteError);
    std::uint32_t allowed = size;
    if (m_service.m_nDiskBytes != 0) {
      const std::uint64_t room = m_service.m_nDiskBytes > m_service.m_nBytesWritten
                                     ? m_service.m_nDiskBytes - m_service.m_nBytesWritten
                                     : 0;
      if (room < allowed) allowed = static_cast<std::uint32_t>(room);
    }
    const bool ok = m_inner->Write(data, allowed, written);
    m_service.m_nBytesWritten += written;
    if (m_service.m_onWrite) m_service.m_onWrite();
    if (!ok) return false;
    return allowed == size || Fail(ERROR_DISK_FULL);
  }

  bool Flush() override {
    ++m_service.m_nFlushes;
    if (m_service.m_bFailFlush) return Fail(ERROR_IO_DEVICE);
    return m_service.m_bSkipSync || m_inner->Flush();
  }

  bool GetSize(std::uint64_t& size) override { return m_inner->GetSize(size); }
  bool SetLength(std::uint64_t length) override { return m_inner->SetLength(length); }
  bool Seek(std::uint64_t offset) override { return m_inner->Seek(offset); }

  bool Reserve(std::uint64_t length) override {
    if (m_service.m_nDiskBytes != 0 && length > m_service.m_nDiskBytes)
      return Fail(ERROR_DISK_FULL);
    return m_inner->Reserve(length);
  }

  bool GetIdentity(FileIdentity& identity) override { return m_inner->GetIdentity(identity); }
  bool Close() override { return m_inner->Close(); }

 private:
  FaultFileService& m_service;
  std::unique_ptr<IFile> m_inner;
};

FaultFileService::FaultFileService(IFileService* inner)
    : m_pInner(inner ? inner : PosixService()) {}

std::unique_ptr<IFile> FaultFileService::Open(const std::string& path, std::uint32_t access,
                                              std::uint32_t share,
                                              std::uint32_t disposition) {
  if (!m_strFailOpenPath.empty() && path == m_strFailOpenPath &&
      (m_nFailOpenAccess == 0 || (access & m_nFailOpenAccess) != 0)) {
    SetLastError(m_nFailOpenError);
    return nullptr;
  }
  auto inner = m_pInner->Open(path, access, share, disposition);
  if (!inner) return nullptr;
  return std::make_unique<FaultFile>(*this, std::move(inner));
}

std::uint32_t FaultFileService::GetAttributes(const std::string& path) {
  return m_pInner->GetAttributes(path);
}

bool FaultFileService::SetAttributes(const std::string& path, std::uint32_t attributes) {
  if (m_bFailSetAttributes) return Fail(ERROR_ACCESS_DENIED);
  return m_pInner->SetAttributes(path, attributes);
}

bool FaultFileService::GetTempFileName(const std::string& folder, const std::string& prefix,
                                       std::string& path) {
  if (m_bFailTempName || (!m_strFailTempFolder.empty() && folder == m_strFailTempFolder))
    return Fail(ERROR_ACCESS_DENIED);
  return m_pInner->GetTempFileName(folder, prefix, path);
}

bool FaultFileService::Move(const std::string& from, const std::string& to) {
  ++m_nMoves;
  if (m_bFailMove) return Fail(ERROR_ACCESS_DENIED);
  if (!m_pInner->Move(from, to)) return false;
  if (m_onMoved) m_onMoved();
  return true;
}

void FaultFileService::RemoveStaleTempFiles(const std::string& folder, const std::string& prefix) {
  m_pInner->RemoveStaleTempFiles(folder, prefix);
}

bool FaultFileService::Delete(const std::string& path) { return m_pInner->Delete(path); }

bool FaultFileService::GetLastWriteTime(const std::string& path, std::uint64_t& time) {
  return m_pInner->GetLastWriteTime(path, time);
}

bool FaultFileService::GetIdentity(const std::string& path, FileIdentity& identity) {
  return m_pInner->GetIdentity(path, identity);
}

std::string FaultFileService::ResolveLinks(const std::string& path) {
  return m_pInner->ResolveLinks(path);
}

std::uint32_t FaultFileService::GetLinkCount(const std::string& path) {
  return m_pInner->GetLinkCount(path);
}

void FaultFileService::CopyMetadata(const std::string& from, const std::string& to) {
  m_pInner->CopyMetadata(from, to);
}

}  // namespace quill
