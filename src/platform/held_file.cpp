#include "platform/held_file.h"

#include <stdexcept>

#include "platform/file_errors.h"

namespace quill {
namespace {

[[noreturn]] void ThrowLastError() { throw std::runtime_error(SystemErrorMessage(GetLastError())); }

}  // namespace

std::unique_ptr<CHeldFile> CHeldFile::Open(const std::string& path, std::uint32_t access,
                                           std::uint32_t share, std::uint32_t disposition) {
  auto file = GetFileService().Open(path, access, share, disposition);
  if (!file) return nullptr;
  return Adopt(path, std::move(file));
}

std::unique_ptr<CHeldFile> CHeldFile::Open(const std::string& path, unsigned nOpenFlags) {
  std::uint32_t access = GENERIC_READ;
  if ((nOpenFlags & 3) == modeWrite) access = GENERIC_WRITE;
  if ((nOpenFlags & 3) == modeReadWrite) access = GENERIC_READ | GENERIC_WRITE;
  std::uint32_t share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (nOpenFlags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: break;
  }
  std::uint32_t disposition = OPEN_EXISTING;
  if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
  return Open(path, access, share, disposition);
}

std::unique_ptr<CHeldFile> CHeldFile::Adopt(const std::string& path, std::unique_ptr<IFile> file) {
  if (!file) return nullptr;
  return std::unique_ptr<CHeldFile>(new CHeldFile(path, std::move(file)));
}

bool CHeldFile::Close() { return m_pFile->Close(); }

std::uint32_t CHeldFile::Read(void* data, std::uint32_t size) {
  std::uint32_t read = 0;
  if (!m_pFile->Read(data, size, read)) ThrowLastError();
  return read;
}

void CHeldFile::Write(const void* data, std::uint32_t size) {
  std::uint32_t written = 0;
  if (!m_pFile->Write(data, size, written)) ThrowLastError();
}

std::uint64_t CHeldFile::GetLength() const {
  std::uint64_t size = 0;
  if (!m_pFile->GetSize(size)) ThrowLastError();
  return size;
}

void CHeldFile::SetLength(std::uint64_t length) {
  if (!m_pFile->SetLength(length)) ThrowLastError();
}

void CHeldFile::SeekToBegin() {
  if (!m_pFile->Seek(0)) ThrowLastError();
}

}  // namespace quill
