#pragma once
// A file service that passes every call on to another one (the POSIX service unless
// given) and fails the calls a test asks it to: the N-th write, every write past a
// number of bytes (a full disk), the flush, the move, the temporary name, or the opening
// of one path with a chosen error code. Install it with ScopedFileService.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_errors.h"
#include "platform/file_service.h"

namespace quill {

class FaultFileService : public IFileService {
 public:
  explicit FaultFileService(IFileService* inner = nullptr);

  // Faults. 0 / false / empty means none.
  std::uint32_t m_nFailWrite = 0;          // fail the N-th write call (1-based)
  std::uint32_t m_nFailWriteError = ERROR_WRITE_FAULT;
  std::uint64_t m_nDiskBytes = 0;          // writes beyond this many bytes: disk full
  bool m_bFailFlush = false;
  bool m_bSkipSync = false;                // flushes succeed without waiting for the disk
  std::uint32_t m_nWriteDelayUs = 0;       // every write first waits this long (a slow disk)
  bool m_bFailMove = false;
  bool m_bFailTempName = false;
  std::string m_strFailTempFolder;         // temporary names in this folder fail (access denied)
  bool m_bFailSetAttributes = false;
  std::string m_strFailOpenPath;           // opening this path fails with m_nFailOpenError
  std::uint32_t m_nFailOpenError = ERROR_ACCESS_DENIED;
  std::uint32_t m_nFailOpenAccess = 0;     // only opens asking for this access (0 = all)
  // Another program's part: called after every write that was passed on, and after
  // every successful move.
  std::function<void()> m_onWrite;
  std::function<void()> m_onMoved;

  // What happened so far.
  std::uint32_t m_nWrites = 0;
  std::uint64_t m_nBytesWritten = 0;
  std::uint32_t m_nFlushes = 0;
  std::uint32_t m_nMoves = 0;

  IFileService& Inner() { return *m_pInner; }

  std::unique_ptr<IFile> Open(const std::string& path, std::uint32_t access,
                              std::uint32_t share, std::uint32_t disposition) override;
  std::uint32_t GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool GetTempFileName(const std::string& folder, const std::string& prefix,
                       std::string& path) override;
  void RemoveStaleTempFiles(const std::string& folder, const std::string& prefix) override;
  bool Move(const std::string& from, const std::string& to) override;
  bool Delete(const std::string& path) override;
  bool GetLastWriteTime(const std::string& path, std::uint64_t& time) override;
  bool GetIdentity(const std::string& path, FileIdentity& identity) override;
  std::string ResolveLinks(const std::string& path) override;
  std::uint32_t GetLinkCount(const std::string& path) override;
  void CopyMetadata(const std::string& from, const std::string& to) override;

 private:
  friend class FaultFile;
  IFileService* m_pInner;
};

}  // namespace quill
