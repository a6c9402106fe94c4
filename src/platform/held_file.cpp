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
  return std::unique_ptr<CHeldFile>(new CHeldFile(std::move(file)));
}

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
