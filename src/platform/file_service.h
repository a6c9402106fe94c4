#pragma once
// The file service: everything the component does with files goes through the service
// installed for the process (the POSIX one unless a host or a test installs another).
// Operations return false, null or INVALID_FILE_ATTRIBUTES on failure and leave the
// reason in GetLastError() (platform/file_errors.h).

#include <cstdint>
#include <memory>
#include <string>

namespace quill {

// Access wanted.
constexpr std::uint32_t GENERIC_READ = 0x80000000u;
constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
// What other openers may do meanwhile.
constexpr std::uint32_t FILE_SHARE_READ = 0x1;
constexpr std::uint32_t FILE_SHARE_WRITE = 0x2;
constexpr std::uint32_t FILE_SHARE_DELETE = 0x4;
// Creation disposition.
constexpr std::uint32_t CREATE_NEW = 1;
constexpr std::uint32_t CREATE_ALWAYS = 2;
constexpr std::uint32_t OPEN_EXISTING = 3;
constexpr std::uint32_t OPEN_ALWAYS = 4;
constexpr std::uint32_t TRUNCATE_EXISTING = 5;
// Attributes. Read-only is the absence of every write permission bit (owner, group and
// others); setting it removes them, clearing it gives the owner write permission back.
// A process that holds the file open for writing keeps writing through its descriptor
// whatever the bits say.
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
// Anything that is neither a regular file nor a folder: a device, a pipe or a socket.
constexpr std::uint32_t FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// What tells one state of a file from another: the file itself (device, inode) and its
// size, modification and change times in nanoseconds. Any difference is a change; a
// default (all zero) identity is none.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  std::int64_t changed = 0;
  bool IsKnown() const { return device != 0 || inode != 0; }
  bool operator==(const FileIdentity&) const = default;
};

// One open file. Closing happens in the destructor too; Close reports its failure.
class IFile {
 public:
  virtual ~IFile() = default;
  // Reads up to size bytes; read = 0 at the end of the file.
  virtual bool Read(void* data, std::uint32_t size, std::uint32_t& read) = 0;
  // Writes the bytes; written < size only together with a false result.
  virtual bool Write(const void* data, std::uint32_t size, std::uint32_t& written) = 0;
  // Puts the file's data on the disk (fsync).
  virtual bool Flush() = 0;
  virtual bool GetSize(std::uint64_t& size) = 0;
  // Sets the file's length; the position is left where it was.
  virtual bool SetLength(std::uint64_t length) = 0;
  // Moves the position to the given offset from the start.
  virtual bool Seek(std::uint64_t offset) = 0;
  // Reserves disk space for length bytes without changing the content (may be a no-op).
  virtual bool Reserve(std::uint64_t length) = 0;
  virtual bool GetIdentity(FileIdentity& identity) = 0;
  virtual bool Close() = 0;
};

class IFileService {
 public:
  virtual ~IFileService() = default;

  // Opens (or creates, by the disposition) a file. Another opener whose access this
  // open does not share, or who does not share the access asked for, makes it fail
  // with ERROR_SHARING_VIOLATION. Only regular files open: anything else (a device, a
  // pipe, a socket, a folder) fails with ERROR_ACCESS_DENIED without waiting for it.
  virtual std::unique_ptr<IFile> Open(const std::string& path, std::uint32_t access,
                                      std::uint32_t share, std::uint32_t disposition) = 0;
  virtual std::uint32_t GetAttributes(const std::string& path) = 0;
  // Only FILE_ATTRIBUTE_READONLY is acted on: set removes every write permission bit,
  // clear gives the owner write permission back.
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // Creates an empty file of a unique name "<folder>/<prefix><pid>_XXXXXX_<host>.tmp"
  // (first three characters of prefix; the process id and host name of its owner),
  // readable and writable by its owner only, and returns its path. Until it is moved or
  // deleted, an interrupt, hang-up or termination signal removes it.
  virtual bool GetTempFileName(const std::string& folder, const std::string& prefix,
                               std::string& path) = 0;
  // Deletes the temporary files of that prefix in the folder whose owner was a process
  // of this host that no longer runs.
  virtual void RemoveStaleTempFiles(const std::string& folder, const std::string& prefix) = 0;
  // Renames from over to, replacing an existing file atomically.
  virtual bool Move(const std::string& from, const std::string& to) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Last write in 100-nanosecond units.
  virtual bool GetLastWriteTime(const std::string& path, std::uint64_t& time) = 0;
  // The identity of the file at path (links followed).
  virtual bool GetIdentity(const std::string& path, FileIdentity& identity) = 0;

  // Path after following symbolic links (the file a save must write); the path itself
  // when it is no link or cannot be resolved.
  virtual std::string ResolveLinks(const std::string& path) = 0;
  // Number of hard links of an existing file (0 when it does not exist).
  virtual std::uint32_t GetLinkCount(const std::string& path) = 0;
  // Gives to the permission bits, owner, group and extended attributes of from, as far
  // as the process may set them. Best effort: never fails.
  virtual void CopyMetadata(const std::string& from, const std::string& to) = 0;
};

// The service installed for the process.
IFileService& GetFileService();
// Installs a service (not owned); null goes back to the POSIX service.
void SetFileService(IFileService* service);

// Installs a service for the lifetime of the object, then restores the previous one.
class ScopedFileService {
 public:
  explicit ScopedFileService(IFileService* service);
  ~ScopedFileService();
  ScopedFileService(const ScopedFileService&) = delete;
  ScopedFileService& operator=(const ScopedFileService&) = delete;

 private:
  std::shared_ptr<IFileService> m_previous;
};

}  // namespace quill
