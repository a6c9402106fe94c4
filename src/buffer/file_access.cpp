#include "buffer/file_access.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/file_errors.h"
#include "platform/format.h"
#include "platform/paths.h"

namespace quill {

TFileAccessException TFileAccessException::FromLastError() {
  return TFileAccessException(SystemErrorMessage(GetLastError()));
}

namespace {

[[noreturn]] void ThrowLastError() { throw TFileAccessException::FromLastError(); }

std::string SystemTempFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

// The folder takes no new file (no write permission, or a read-only file system).
bool FolderRefusesFiles(std::uint32_t error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

}  // namespace

void TFileAccess::CheckRegularFile(const std::string& path) {
  const std::uint32_t error = GetLastError();
  const std::uint32_t attributes = GetFileService().GetAttributes(path);
  SetLastError(error);
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
    throw TFileAccessException(
        "This is not a regular file (it is a folder, a device, a pipe or a socket): it cannot be "
        "loaded or saved.");
}

std::string TFileAccess::KeepRollbackCopy(const std::string& target,
                                          const std::function<std::uint32_t(char*, std::uint32_t)>& read) {
  IFileService& files = GetFileService();
  const std::string name = target.empty() ? std::string() : RollbackName(target);
  if (!name.empty() && files.GetAttributes(name) != INVALID_FILE_ATTRIBUTES)
    throw TFileAccessException(Format("\"%s\" still holds the content of this file from before an "
                                      "interrupted save. Move it away before saving again.",
                                      name.c_str()));
  std::string temp;
  std::string folder = target.empty() ? SystemTempFolder() : ParentFolder(target);
  if (!target.empty()) files.RemoveStaleTempFiles(folder, kTempPrefix);
  if (!files.GetTempFileName(folder, kTempPrefix, temp)) {
    if (target.empty() || !FolderRefusesFiles(GetLastError())) ThrowLastError();
    // A folder that takes no new file: the copy goes to the temporary folder, nameless.
    if (!files.GetTempFileName(SystemTempFolder(), kTempPrefix, temp)) ThrowLastError();
    folder.clear();
  }
  try {
    auto copy = files.Open(temp, GENERIC_WRITE, 0, OPEN_EXISTING);
    if (!copy) ThrowLastError();
    std::vector<char> chunk(kWriteBufferSize);
    for (;;) {
      const std::uint32_t nRead = read(chunk.data(), static_cast<std::uint32_t>(chunk.size()));
      if (nRead == 0) break;
      std::uint32_t nWritten = 0;
      if (!copy->Write(chunk.data(), nRead, nWritten)) ThrowLastError();
    }
    if (!copy->Flush() || !copy->Close()) ThrowLastError();
    if (name.empty() || folder.empty()) return temp;
    if (!files.Move(temp, name)) ThrowLastError();
    return name;
  } catch (...) {
    const std::uint32_t error = GetLastError();
    files.Delete(temp);
    SetLastError(error);
    throw;
  }
}

TFileAccess::TFileAccess(const std::string& path) : m_strPath(path), m_strTarget(path) {}

TFileAccess::~TFileAccess() {
  if (m_pFile) m_pFile->Close();
  RemoveTemporaryFiles();
}

void TFileAccess::RemoveTemporaryFiles() {
  const std::uint32_t error = GetLastError();
  IFileService& files = GetFileService();
  if (!m_strTempName.empty()) files.Delete(m_strTempName);
  if (!m_strRollbackName.empty()) files.Delete(m_strRollbackName);
  m_strTempName.clear();
  m_strRollbackName.clear();
  SetLastError(error);
}

void TFileAccess::OpenForRead() {
  IFileService& files = GetFileService();
  m_dwAttributes = files.GetAttributes(m_strPath);
  if (m_dwAttributes == INVALID_FILE_ATTRIBUTES) ThrowLastError();
  CheckRegularFile(m_strPath);
  if (m_dwAttributes & FILE_ATTRIBUTE_READONLY) {
    m_pFile = files.Open(m_strPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  } else {
    m_pFile = files.Open(m_strPath, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    if (!m_pFile && (GetLastError() == ERROR_ACCESS_DENIED ||
                     GetLastError() == ERROR_SHARING_VIOLATION))
      m_pFile = files.Open(m_strPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  }
  if (!m_pFile) ThrowLastError();
  m_nMode = 0;
}

std::uint32_t TFileAccess::Read(char* pBuffer, std::uint32_t nSize) {
  if (!m_pFile) return 0;
  std::uint32_t nRead = 0;
  if (!m_pFile->Read(pBuffer, nSize, nRead)) ThrowLastError();
  return nRead;
}

std::uint64_t TFileAccess::GetSize() {
  std::uint64_t size = 0;
  if (m_pFile && !m_pFile->GetSize(size)) ThrowLastError();
  return size;
}

void TFileAccess::OpenForWrite() {
  IFileService& files = GetFileService();
  m_strTarget = files.ResolveLinks(m_strPath);
  m_strTempFolder = ParentFolder(m_strTarget);
  m_strBackupName = m_strTarget + ".bak";
  files.RemoveStaleTempFiles(m_strTempFolder, kTempPrefix);
  if (!files.GetTempFileName(m_strTempFolder, kTempPrefix, m_strTempName)) {
    m_strTempName.clear();
    // A writable file in a folder that takes no new files is rewritten in place; the new
    // text waits in the system's temporary folder meanwhile.
    const std::uint32_t error = GetLastError();
    const std::uint32_t attributes = files.GetAttributes(m_strTarget);
    if (!FolderRefusesFiles(error) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_READONLY) != 0 ||
        !files.GetTempFileName(SystemTempFolder(), kTempPrefix, m_strTempName)) {
      m_strTempName.clear();
      SetLastError(error);
      ThrowLastError();
    }
    m_bInPlace = true;
  }
  m_pFile = files.Open(m_strTempName, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!m_pFile) ThrowLastError();
  m_pWriteBuffer = std::make_unique_for_overwrite<char[]>(kWriteBufferSize);
  m_nBuffered = 0;
  m_nMode = 1;
}

void TFileAccess::FlushWriteBuffer() {
  if (m_nBuffered == 0) return;
  std::uint32_t nWritten = 0;
  const auto nSize = static_cast<std::uint32_t>(m_nBuffered);
  m_nBuffered = 0;
  if (!m_pFile->Write(m_pWriteBuffer.get(), nSize, nWritten)) ThrowLastError();
  if (nWritten != nSize) {
    SetLastError(ERROR_DISK_FULL);
    ThrowLastError();
  }
}

void TFileAccess::WriteThrough(const char* pData, std::size_t nSize) {
  if (!m_pFile || m_nMode != 1) return;
  if (m_nBuffered == 0 && nSize >= kWriteBufferSize) {
    // A large block goes to the file as it is, in pieces of at most 1 GiB.
    while (nSize > 0) {
      const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(nSize, 1u << 30));
      std::uint32_t nWritten = 0;
      if (!m_pFile->Write(pData, n, nWritten)) ThrowLastError();
      if (nWritten != n) {
        SetLastError(ERROR_DISK_FULL);
        ThrowLastError();
      }
      pData += n;
      nSize -= n;
    }
    return;
  }
  while (nSize > 0) {
    const std::size_t n = std::min(nSize, kWriteBufferSize - m_nBuffered);
    std::memcpy(m_pWriteBuffer.get() + m_nBuffered, pData, n);
    m_nBuffered += n;
    pData += n;
    nSize -= n;
    if (m_nBuffered == kWriteBufferSize) FlushWriteBuffer();
  }
}

// Copies the content of the file from into the file to (created, or rewritten in place
// and cut to length), then flushes it to disk and takes its identity into pWritten.
void TFileAccess::CopyInto(const std::string& from, const std::string& to, bool bCreate,
                           FileIdentity* pWritten) {
  IFileService& files = GetFileService();
  auto source = files.Open(from, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (!source) ThrowLastError();
  std::uint64_t nSize = 0;
  if (!source->GetSize(nSize)) ThrowLastError();
  auto target = files.Open(to, GENERIC_WRITE, FILE_SHARE_READ,
                           bCreate ? CREATE_ALWAYS : OPEN_EXISTING);
  if (!target || !target->Reserve(nSize) || !target->Seek(0)) ThrowLastError();
  std::vector<char> chunk(kWriteBufferSize);
  for (;;) {
    std::uint32_t nRead = 0, nWritten = 0;
    if (!source->Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), nRead))
      ThrowLastError();
    if (nRead == 0) break;
    if (!target->Write(chunk.data(), nRead, nWritten)) ThrowLastError();
  }
  if (!target->SetLength(nSize) || !target->Flush() ||
      (pWritten != nullptr && !target->GetIdentity(*pWritten)) || !target->Close())
    ThrowLastError();
}

void TFileAccess::CheckTarget() {
  if (!m_idExpected.IsKnown()) return;
  FileIdentity now;
  if (!GetFileService().GetIdentity(m_strTarget, now) || now != m_idExpected)
    throw TFileChangedException();
}

void TFileAccess::ReplaceInPlace() {
  IFileService& files = GetFileService();
  {
    auto source = files.Open(m_strTarget, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!source) ThrowLastError();
    m_strRollbackName = KeepRollbackCopy(m_strTarget, [&](char* p, std::uint32_t n) {
      std::uint32_t nRead = 0;
      if (!source->Read(p, n, nRead)) ThrowLastError();
      return nRead;
    });
  }
  try {
    CheckTarget();
  } catch (const TFileChangedException&) {
    files.Delete(m_strRollbackName);
    m_strRollbackName.clear();
    throw;
  }
  try {
    CopyInto(m_strTempName, m_strTarget, false, &m_idWritten);
  } catch (const TFileAccessException&) {
    const std::uint32_t error = GetLastError();
    try {
      CopyInto(m_strRollbackName, m_strTarget, false);
    } catch (const TFileAccessException&) {
      // The old content could not be put back either: keep its copy for the user.
      const std::string kept = m_strRollbackName;
      m_strRollbackName.clear();
      SetLastError(error);
      throw TFileAccessException(SystemErrorMessage(error) + "\n" +
                                 Format("The file's content before this save is in \"%s\".", kept.c_str()));
    }
    SetLastError(error);
    throw;
  }
}

void TFileAccess::Close(bool bBackup) {
  if (m_nMode == 0) {
    m_nMode = -1;
    if (m_pFile && !m_pFile->Close()) ThrowLastError();
    m_pFile.reset();
    return;
  }
  if (m_nMode != 1) return;
  IFileService& files = GetFileService();
  const bool bTargetExists = files.GetAttributes(m_strTarget) != INVALID_FILE_ATTRIBUTES;
  if (bTargetExists && files.GetLinkCount(m_strTarget) > 1) m_bInPlace = true;
  if (m_pFile) {
    // The written file is complete: flushed, given the target's metadata, and its
    // identity taken from the open file. It is closed before it goes anywhere, as whoever
    // takes it at the target may open it with sharing rules of its own.
    FlushWriteBuffer();
    if (!m_pFile->Flush()) ThrowLastError();
    m_pWriteBuffer.reset();
    if (bTargetExists && !m_bInPlace) files.CopyMetadata(m_strTarget, m_strTempName);
    if (!m_pFile->GetIdentity(m_idWritten) || !m_pFile->Close()) ThrowLastError();
    m_pFile.reset();
  }
  if (bTargetExists) {
    if (bBackup) {
      files.Delete(m_strBackupName);
      CopyInto(m_strTarget, m_strBackupName, true);
      files.CopyMetadata(m_strTarget, m_strBackupName);
    }
    if (m_bInPlace) {
      ReplaceInPlace();
      m_nMode = -1;
      RemoveTemporaryFiles();
      return;
    }
  }
  CheckTarget();
  if (!files.Move(m_strTempName, m_strTarget)) ThrowLastError();
  m_strTempName.clear();
  m_nMode = -1;
  // The move itself may set the change time; anything else that differs now is a write
  // that came after it.
  FileIdentity moved;
  if (files.GetIdentity(m_strTarget, moved) && moved.inode == m_idWritten.inode &&
      moved.device == m_idWritten.device && moved.size == m_idWritten.size &&
      moved.modified == m_idWritten.modified)
    m_idWritten.changed = moved.changed;
}

}  // namespace quill
