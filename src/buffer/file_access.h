#pragma once
// The file access object of the loads and saves: one per operation, on the stack.
//
// Reading opens the file by name with the sharing rules of an editor: a read-only file
// is opened for reading with reading shared; any other for reading and writing with no
// sharing, falling back to reading with reading shared when that is denied or the file
// is in use.
//
// Writing goes to a temporary file in the folder of the target (the file a symbolic link
// points to, so the link stays a link), through a write buffer. Closing flushes the
// temporary file to disk, gives it the target's permission bits, owner, group and
// extended attributes, and renames it over the target in one step, so the target is at
// every moment either the old or the new file. A target with several hard links is
// instead rewritten in place from the complete, flushed temporary file, so the links keep
// sharing it; so is a writable target in a folder that takes no new files (the temporary
// file then lives in the system's temporary folder). Before an in-place rewrite the old
// content is kept in a flushed copy named "<target>.quill-rollback", put back should the
// rewrite fail and left there by a kill (loading the file then says so). Temporary files
// and that copy are private to their owner until they take the target's place.
// A write that was not closed successfully removes its temporary files.
//
// A write can be told which file it expects to replace (the one the text was loaded
// from or last saved to): when the target is another one by then, changed or replaced
// by another program, Close throws TFileChangedException instead of replacing it, and
// the new text waits in the temporary file until Close is called again or the object
// goes away. Temporary files carry the process id of their owner; opening for writing
// first removes those that processes no longer running left in the target's folder.
//
// Every failure throws TFileAccessException with the system text of the error.

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_service.h"

namespace quill {

// The target of a write is no longer the file it was expected to be; nothing was replaced.
class TFileChangedException {};

class TFileAccessException {
 public:
  explicit TFileAccessException(std::string text) : m_strText(std::move(text)) {}
  // The text of the calling thread's last file error.
  static TFileAccessException FromLastError();
  const std::string& GetText() const { return m_strText; }

 private:
  std::string m_strText;
};

class TFileAccess {
 public:
  static constexpr std::uint32_t kChunkSize = 32768;
  static constexpr std::size_t kWriteBufferSize = 256 * 1024;
  // Prefix of the temporary file names.
  static constexpr const char* kTempPrefix = "qlt";

  // The copy of a file's old content that an in-place rewrite keeps beside it until the
  // rewrite is complete: a kill leaves it behind under this name, and loading the file
  // says so.
  static std::string RollbackName(const std::string& target) { return target + ".quill-rollback"; }
  // Refuses (throws) anything but a regular file or a missing one: devices, pipes,
  // sockets and folders.
  static void CheckRegularFile(const std::string& path);
  // Reads (read(buffer, size) -> count, 0 at the end) the whole old content of target
  // into a private file, flushes it, and only then gives it the name RollbackName(target),
  // so that name never holds a partial copy. Without a target the copy stays a nameless
  // temporary file of the system's temporary folder. Returns its path; throws, also when
  // the rollback name is already taken by the copy of an earlier interrupted save.
  static std::string KeepRollbackCopy(const std::string& target,
                                      const std::function<std::uint32_t(char*, std::uint32_t)>& read);

  explicit TFileAccess(const std::string& path);
  ~TFileAccess();
  TFileAccess(const TFileAccess&) = delete;
  TFileAccess& operator=(const TFileAccess&) = delete;

  void OpenForRead();
  // Reads up to nSize bytes; 0 at the end.
  std::uint32_t Read(char* pBuffer, std::uint32_t nSize = kChunkSize);
  std::uint64_t GetSize();
  // The target's attributes found when it was opened for reading.
  std::uint32_t GetAttributes() const { return m_dwAttributes; }

  void OpenForWrite();
  // Writes through the write buffer (a block of kWriteBufferSize or more bytes meeting an
  // empty buffer goes to the file directly); does nothing without an open file.
  void Write(const char* pData, std::size_t nSize) {
    if (nSize < kWriteBufferSize - m_nBuffered && m_pWriteBuffer) {
      std::memcpy(m_pWriteBuffer.get() + m_nBuffered, pData, nSize);
      m_nBuffered += nSize;
      return;
    }
    WriteThrough(pData, nSize);
  }
  // Read mode: closes. Write mode: puts the written file in place of the target, keeping
  // the old one as "<target>.bak" when bBackup is set. Throws TFileChangedException when
  // the target is not the one expected; the write stays open for another Close.
  void Close(bool bBackup);
  // Close replaces only this file (a default identity: whatever is there).
  void ExpectTarget(const FileIdentity& identity) { m_idExpected = identity; }
  // The written file as it was when it took the target's place, taken from the open file
  // before it was put there, so that a write of another program just after shows as a
  // change.
  const FileIdentity& GetWrittenIdentity() const { return m_idWritten; }

  const std::string& GetTempName() const { return m_strTempName; }
  const std::string& GetTarget() const { return m_strTarget; }

 private:
  void FlushWriteBuffer();
  void WriteThrough(const char* pData, std::size_t nSize);
  void CopyInto(const std::string& from, const std::string& to, bool bCreate,
                FileIdentity* pWritten = nullptr);
  // Throws TFileChangedException when the target is not the expected file.
  void CheckTarget();
  void ReplaceInPlace();
  void RemoveTemporaryFiles();

  std::string m_strPath;    // as given
  std::string m_strTarget;  // the file to write: m_strPath after following links
  int m_nMode = -1;         // 0 read, 1 write, -1 none
  std::unique_ptr<IFile> m_pFile;
  std::string m_strTempFolder;
  std::string m_strTempName;
  std::string m_strRollbackName;
  std::string m_strBackupName;
  std::uint32_t m_dwAttributes = 0;
  bool m_bInPlace = false;  // rewrite the target in place (hard links, or a closed folder)
  std::unique_ptr<char[]> m_pWriteBuffer;  // only while writing
  std::size_t m_nBuffered = 0;
  FileIdentity m_idExpected;
  FileIdentity m_idWritten;
};

}  // namespace quill
