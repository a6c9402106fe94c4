#include "platform/posix/posix_file_service.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <vector>

#include "platform/file_errors.h"

namespace quill {
namespace {

// The lock bytes: [0] holds read access, [1] holds write access, [2] denies reading to
// others, [3] denies writing to others.
constexpr off_t kLockBase = 0x7FFFFFFF00000000LL;
enum LockByte { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3 };

bool FailErrno(int err) {
  SetLastError(ErrorFromErrno(err));
  return false;
}

std::string ParentFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// ENOENT means a missing file when the folder exists and a missing path otherwise.
std::uint32_t MissingCode(const std::string& path) {
  struct stat st;
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  if (stat(ParentFolder(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return ERROR_PATH_NOT_FOUND;
  return ERROR_FILE_NOT_FOUND;
}

bool FailPath(int err, const std::string& path) {
  SetLastError(err == ENOENT ? MissingCode(path) : ErrorFromErrno(err));
  return false;
}

struct flock LockOf(LockByte byte, short type) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = kLockBase + byte;
  fl.l_len = 1;
  return fl;
}

// True when another open file description holds a lock on the byte.
bool LockedByOthers(int fd, LockByte byte) {
  struct flock fl = LockOf(byte, F_WRLCK);
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;  // no lock support: no sharing rules
  return fl.l_type != F_UNLCK;
}

void Hold(int fd, LockByte byte) {
  struct flock fl = LockOf(byte, F_RDLCK);
  (void)fcntl(fd, F_OFD_SETLK, &fl);
}

class PosixFile : public IFile {
 public:
  explicit PosixFile(int fd) : m_fd(fd) {}
  ~PosixFile() override { Close(); }

  bool Read(void* data, std::uint32_t size, std::uint32_t& read) override {
    read = 0;
    if (m_fd < 0) return FailErrno(EBADF);
    for (;;) {
      const ssize_t n = ::read(m_fd, data, size);
      if (n >= 0) {
        read = static_cast<std::uint32_t>(n);
        return true;
      }
      if (errno != EINTR) return FailErrno(errno);
    }
  }

  bool Write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    written = 0;
    if (m_fd < 0) return FailErrno(EBADF);
    const char* p = static_cast<const char*>(data);
    while (written < size) {
      const ssize_t n = ::write(m_fd, p + written, size - written);
      if (n < 0) {
        if (errno == EINTR) continue;
        return FailErrno(errno);
      }
      if (n == 0) return FailErrno(ENOSPC);
      written += static_cast<std::uint32_t>(n);
    }
    return true;
  }

  bool Flush() override {
    if (m_fd < 0) return FailErrno(EBADF);
    return fsync(m_fd) == 0 || FailErrno(errno);
  }

  bool GetSize(std::uint64_t& size) override {
    struct stat st;
    if (m_fd < 0 || fstat(m_fd, &st) != 0) return FailErrno(m_fd < 0 ? EBADF : errno);
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
  }

  bool SetLength(std::uint64_t length) override {
    if (m_fd < 0) return FailErrno(EBADF);
    return ftruncate(m_fd, static_cast<off_t>(length)) == 0 || FailErrno(errno);
  }

  bool Seek(std::uint64_t offset) override {
    if (m_fd < 0) return FailErrno(EBADF);
    return lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) >= 0 || FailErrno(errno);
  }

  bool Reserve(std::uint64_t length) override {
    if (m_fd < 0) return FailErrno(EBADF);
    const int err = posix_fallocate(m_fd, 0, static_cast<off_t>(length));
    if (err == 0 || err == EOPNOTSUPP || err == EINVAL) return true;
    return FailErrno(err);
  }

  bool Close() override {
    if (m_fd < 0) return true;
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 || FailErrno(errno);
  }

 private:
  int m_fd;
};

int OpenFlags(std::uint32_t access, std::uint32_t disposition) {
  int flags = O_CLOEXEC;
  if ((access & GENERIC_WRITE) != 0) flags |= O_RDWR;  // read too, for the shared locks
  else flags |= O_RDONLY;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    default: break;
  }
  return flags;
}

}  // namespace

std::unique_ptr<IFile> PosixFileService::Open(const std::string& path, std::uint32_t access,
                                              std::uint32_t share,
                                              std::uint32_t disposition) {
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return nullptr;
  }
  // A read-only file refuses writers, whatever the privileges of the process.
  struct stat before;
  if ((access & GENERIC_WRITE) != 0 && stat(path.c_str(), &before) == 0 &&
      S_ISREG(before.st_mode) && (before.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  // Non-blocking until the file is known to be a regular one: opening a pipe would wait
  // for its other end.
  const int flags = OpenFlags(access, disposition) | O_NONBLOCK;
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0 && errno == EACCES && (access & GENERIC_READ) == 0 && (flags & O_RDWR) != 0)
    fd = ::open(path.c_str(), (flags & ~O_RDWR) | O_WRONLY, 0666);  // write-only file
  if (fd < 0) {
    FailPath(errno, path);
    return nullptr;
  }
  auto file = std::make_unique<PosixFile>(fd);
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  (void)fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  const bool reads = (access & GENERIC_READ) != 0;
  const bool writes = (access & GENERIC_WRITE) != 0;
  const bool deniesRead = (share & FILE_SHARE_READ) == 0;
  const bool deniesWrite = (share & FILE_SHARE_WRITE) == 0;
  if ((reads && LockedByOthers(fd, kDeniesRead)) || (writes && LockedByOthers(fd, kDeniesWrite)) ||
      (deniesRead && LockedByOthers(fd, kHasRead)) ||
      (deniesWrite && LockedByOthers(fd, kHasWrite))) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return nullptr;
  }
  if ((fcntl(fd, F_GETFL) & O_ACCMODE) != O_WRONLY) {
    if (reads) Hold(fd, kHasRead);
    if (writes) Hold(fd, kHasWrite);
    if (deniesRead) Hold(fd, kDeniesRead);
    if (deniesWrite) Hold(fd, kDeniesWrite);
  }
  if (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) {
    if (ftruncate(fd, 0) != 0) {
      FailErrno(errno);
      return nullptr;
    }
  }
  if (!writes) (void)posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return file;
}

std::uint32_t PosixFileService::GetAttributes(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    FailPath(errno, path);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else if (!S_ISREG(st.st_mode)) attributes |= FILE_ATTRIBUTE_DEVICE;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool PosixFileService::SetAttributes(const std::string& path, std::uint32_t attributes) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FailPath(errno, path);
  mode_t mode = st.st_mode & 07777;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) mode &= ~(S_IWUSR | S_IWGRP | S_IWOTH);
  else if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) mode |= S_IWUSR;
  return chmod(path.c_str(), mode) == 0 || FailErrno(errno);
}

bool PosixFileService::GetTempFileName(const std::string& folder, const std::string& prefix,
                                       std::string& path) {
  static std::mt19937_64 rng{std::random_device{}()};
  static const char kDigits[] = "0123456789ABCDEF";
  const std::string base = (folder.empty() ? std::string(".") : folder) +
                           (folder.empty() || folder.back() != '/' ? "/" : "") +
                           prefix.substr(0, 3);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t r = rng();
    std::string name = base;
    for (int i = 0; i < 6; ++i, r >>= 4) name += kDigits[r & 15];
    name += ".tmp";
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      path = name;
      return true;
    }
    if (errno != EEXIST) return FailPath(errno, name);
  }
  SetLastError(ERROR_FILE_EXISTS);
  return false;
}

bool PosixFileService::Move(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0 || FailPath(errno, to);
}

bool PosixFileService::Delete(const std::string& path) {
  return unlink(path.c_str()) == 0 || FailPath(errno, path);
}

bool PosixFileService::GetLastWriteTime(const std::string& path, std::uint64_t& time) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FailPath(errno, path);
  // 100-nanosecond intervals since 1 January 1601, as the component counts file times.
  constexpr std::uint64_t kEpochDifference = 11644473600ULL;
  time = (static_cast<std::uint64_t>(st.st_mtim.tv_sec) + kEpochDifference) * 10000000ULL +
         static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100;
  return true;
}

std::string PosixFileService::ResolveLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 2);
    const ssize_t n = readlink(current.c_str(), target.data(), target.size() - 1);
    if (n <= 0) return current;
    std::string next(target.data(), static_cast<std::size_t>(n));
    if (next[0] != '/' && current.find('/') != std::string::npos)
      next = ParentFolder(current) + "/" + next;
    current = next;
  }
  return current;
}

std::uint32_t PosixFileService::GetLinkCount(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  return static_cast<std::uint32_t>(st.st_nlink);
}

void PosixFileService::CopyMetadata(const std::string& from, const std::string& to) {
  struct stat st;
  if (stat(from.c_str(), &st) != 0) return;
  // Owner first: changing it may clear the set-id bits the chmod below puts back.
  (void)chown(to.c_str(), st.st_uid, st.st_gid);
  (void)chmod(to.c_str(), st.st_mode & 07777);
  const ssize_t size = listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(size));
  const ssize_t got = listxattr(from.c_str(), names.data(), names.size());
  if (got <= 0) return;
  std::vector<char> value;
  for (ssize_t i = 0; i < got;) {
    const char* name = names.data() + i;
    i += static_cast<ssize_t>(std::char_traits<char>::length(name)) + 1;
    const ssize_t len = getxattr(from.c_str(), name, nullptr, 0);
    if (len < 0) continue;
    value.resize(static_cast<std::size_t>(len) + 1);
    const ssize_t vlen = getxattr(from.c_str(), name, value.data(), value.size());
    if (vlen >= 0) (void)setxattr(to.c_str(), name, value.data(), static_cast<std::size_t>(vlen), 0);
  }
}

}  // namespace quill
