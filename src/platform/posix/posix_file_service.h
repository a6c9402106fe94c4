#pragma once
// The file service on Linux. Sharing between openers (in this process or in other quill
// processes) is enforced with open-file-description locks on four bytes far beyond any
// file's data: one byte per access (read, write) that an opener holds and one per access
// it denies to others. A file system without such locks opens files only for openers
// that deny nothing (ERROR_NO_FILE_LOCKS otherwise); a lock call that fails for another
// reason fails the open.

#include "platform/file_service.h"

struct flock;

namespace quill {

class PosixFileService : public IFileService {
 public:
  // The call that takes, gives up and tests the locks (fcntl with the open file
  // description commands); tests put in one that fails.
  static inline int (*s_pfnLockCall)(int fd, int command, struct flock* lock) = nullptr;

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
};

}  // namespace quill
