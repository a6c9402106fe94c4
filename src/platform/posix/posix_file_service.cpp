#include "platform/posix/posix_file_service.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <vector>

#include "platform/file_errors.h"
#include "platform/paths.h"

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

// ENOENT means a missing file when the folder exists and a missing path otherwise.
std::uint32_t MissingCode(const std::string& path) {
  struct stat st;
  if (path.empty()) return ERROR_PATH_NOT_FOUND;
  if (stat(ParentFolderOrDot(path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
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

// The file system takes no open-file-description locks.
bool NoLockSupport(int err) {
  return err == EINVAL || err == ENOLCK || err == EOPNOTSUPP || err == ENOTSUP || err == ENOSYS;
}

int LockCall(int fd, int command, struct flock* lock) {
  if (PosixFileService::s_pfnLockCall != nullptr) return PosixFileService::s_pfnLockCall(fd, command, lock);
  return fcntl(fd, command, lock);
}

// 1 when another open file description holds a lock on the byte, 0 when none does, -1
// when the call failed (errno).
int LockedByOthers(int fd, LockByte byte) {
  struct flock fl = LockOf(byte, F_WRLCK);
  if (LockCall(fd, F_OFD_GETLK, &fl) != 0) return -1;
  return fl.l_type != F_UNLCK ? 1 : 0;
}

// Takes (F_RDLCK) or gives up (F_UNLCK) a shared lock on the byte; false with errno.
bool SetLock(int fd, LockByte byte, short type) {
  struct flock fl = LockOf(byte, type);
  return LockCall(fd, F_OFD_SETLK, &fl) == 0;
}

// Applies the sharing rules to a freshly opened file: takes the lock bytes of what it
// holds and denies, then checks that no other opener holds a byte in conflict. Taking
// first and checking after means two openers racing each other see each other; both
// then let go and try again a little later, so one of them wins. Fails with
// ERROR_SHARING_VIOLATION on a conflict, ERROR_NO_FILE_LOCKS when the file system takes
// no such locks and the open denies others something, or the code of a failed call.
bool ApplySharing(int fd, bool reads, bool writes, bool deniesRead, bool deniesWrite) {
  // A write-only descriptor cannot take shared locks: it only checks.
  const bool holds = (fcntl(fd, F_GETFL) & O_ACCMODE) != O_WRONLY;
  std::vector<LockByte> held, checked;
  if (reads) held.push_back(kHasRead), checked.push_back(kDeniesRead);
  if (writes) held.push_back(kHasWrite), checked.push_back(kDeniesWrite);
  if (deniesRead) held.push_back(kDeniesRead), checked.push_back(kHasRead);
  if (deniesWrite) held.push_back(kDeniesWrite), checked.push_back(kHasWrite);
  const auto fail = [&](int err) {
    if (!NoLockSupport(err)) return FailErrno(err);
    // Nobody can deny anything on such a file system: an open that denies nothing
    // itself goes ahead.
    if (!deniesRead && !deniesWrite) return true;
    SetLastError(ERROR_NO_FILE_LOCKS);
    return false;
  };
  static thread_local std::minstd_rand random{static_cast<unsigned>(getpid())};
  constexpr int kAttempts = 3;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    bool conflict = false;
    for (LockByte byte : held) {
      if (!holds || SetLock(fd, byte, F_RDLCK)) continue;
      if (errno != EAGAIN && errno != EACCES) return fail(errno);
      conflict = true;  // somebody holds it exclusively
      break;
    }
    for (LockByte byte : checked) {
      if (conflict) break;
      const int locked = LockedByOthers(fd, byte);
      if (locked < 0) return fail(errno);
      if (locked > 0) conflict = true;
    }
    if (!conflict) return true;
    if (holds)
      for (LockByte byte : held) (void)SetLock(fd, byte, F_UNLCK);
    if (attempt + 1 < kAttempts) {
      const struct timespec pause = {0, static_cast<long>(100000 + random() % 500000)};
      nanosleep(&pause, nullptr);
    }
  }
  SetLastError(ERROR_SHARING_VIOLATION);
  return false;
}

FileIdentity IdentityOf(const struct stat& st) {
  FileIdentity identity;
  identity.device = static_cast<std::uint64_t>(st.st_dev);
  identity.inode = static_cast<std::uint64_t>(st.st_ino);
  identity.size = static_cast<std::uint64_t>(st.st_size);
  identity.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  identity.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec;
  return identity;
}

// ---- Temporary files of this process ----
// Their paths, kept where a signal handler can reach them without allocating; a slot is
// in use while its flag is set.
struct TempSlot {
  std::atomic<bool> used{false};
  char path[PATH_MAX];
};
constexpr int kTempSlots = 16;
TempSlot g_temps[kTempSlots];
std::mutex g_tempsMutex;
int g_nTemps = 0;
constexpr int kCleanupSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction g_previous[3];
bool g_installed[3] = {};

// Removes the temporary files, then lets the signal do what it did before.
extern "C" void RemoveTempsOnSignal(int sig) {
  const int saved = errno;
  for (TempSlot& slot : g_temps)
    if (slot.used.load()) (void)unlink(slot.path);
  for (int i = 0; i < 3; ++i)
    if (kCleanupSignals[i] == sig && g_installed[i]) {
      g_installed[i] = false;
      (void)sigaction(sig, &g_previous[i], nullptr);
    }
  errno = saved;
  (void)raise(sig);  // delivered when the handler returns
}

void RegisterTemp(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_tempsMutex);
  if (path.size() >= PATH_MAX) return;
  for (TempSlot& slot : g_temps) {
    if (slot.used.load()) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.used.store(true);
    if (g_nTemps++ == 0) {
      for (int i = 0; i < 3; ++i) {
        struct sigaction current = {};
        if (sigaction(kCleanupSignals[i], nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
          continue;
        struct sigaction action = {};
        action.sa_handler = RemoveTempsOnSignal;
        sigemptyset(&action.sa_mask);
        g_previous[i] = current;
        g_installed[i] = sigaction(kCleanupSignals[i], &action, nullptr) == 0;
      }
    }
    return;
  }
}

void ForgetTemp(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_tempsMutex);
  for (TempSlot& slot : g_temps) {
    if (!slot.used.load() || path != slot.path) continue;
    slot.used.store(false);
    if (--g_nTemps == 0) {
      for (int i = 0; i < 3; ++i)
        if (g_installed[i]) {
          g_installed[i] = false;
          (void)sigaction(kCleanupSignals[i], &g_previous[i], nullptr);
        }
    }
    return;
  }
}

// The host name as it goes into temporary file names.
const std::string& HostName() {
  static const std::string name = [] {
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return std::string("localhost");
    std::string s(host);
    for (char& c : s)
      if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.')) c = '-';
    return s.substr(0, 64);
  }();
  return name;
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

  bool GetIdentity(FileIdentity& identity) override {
    struct stat st;
    if (m_fd < 0 || fstat(m_fd, &st) != 0) return FailErrno(m_fd < 0 ? EBADF : errno);
    identity = IdentityOf(st);
    return true;
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
  if (!ApplySharing(fd, (access & GENERIC_READ) != 0, (access & GENERIC_WRITE) != 0,
                    (share & FILE_SHARE_READ) == 0, (share & FILE_SHARE_WRITE) == 0))
    return nullptr;
  if (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) {
    if (ftruncate(fd, 0) != 0) {
      FailErrno(errno);
      return nullptr;
    }
  }
  if ((access & GENERIC_WRITE) == 0) (void)posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
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
                           prefix.substr(0, 3) + std::to_string(getpid()) + "_";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t r = rng();
    std::string name = base;
    for (int i = 0; i < 6; ++i, r >>= 4) name += kDigits[r & 15];
    name += "_" + HostName() + ".tmp";
    // A signal between making the file and registering it would leave the file behind:
    // the clean-up signals wait until it is registered.
    sigset_t cleanup, previous;
    sigemptyset(&cleanup);
    for (int sig : kCleanupSignals) sigaddset(&cleanup, sig);
    pthread_sigmask(SIG_BLOCK, &cleanup, &previous);
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    const int err = errno;
    if (fd >= 0) {
      ::close(fd);
      RegisterTemp(name);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (fd >= 0) {
      path = name;
      return true;
    }
    if (err != EEXIST) return FailPath(err, name);
  }
  SetLastError(ERROR_FILE_EXISTS);
  return false;
}

void PosixFileService::RemoveStaleTempFiles(const std::string& folder, const std::string& prefix) {
  const std::string start = prefix.substr(0, 3);
  const std::string end = "_" + HostName() + ".tmp";
  const std::string dir = folder.empty() ? std::string(".") : folder;
  DIR* listing = opendir(dir.c_str());
  if (listing == nullptr) return;
  const int saved = static_cast<int>(GetLastError());
  while (const struct dirent* entry = readdir(listing)) {
    // <prefix><pid>_XXXXXX_<host>.tmp
    const std::string name = entry->d_name;
    if (name.size() < start.size() + 8 + end.size() || name.compare(0, start.size(), start) != 0 ||
        name.compare(name.size() - end.size(), end.size(), end) != 0)
      continue;
    std::size_t i = start.size();
    long long pid = 0;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])) && pid < INT_MAX)
      pid = pid * 10 + (name[i++] - '0');
    if (i == start.size() || name[i] != '_' || i + 7 + end.size() != name.size() || pid <= 0 ||
        pid >= INT_MAX || pid == getpid())
      continue;
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to know
    const std::string path = dir + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) (void)unlink(path.c_str());
  }
  closedir(listing);
  SetLastError(static_cast<std::uint32_t>(saved));
}

bool PosixFileService::Move(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) return FailPath(errno, to);
  ForgetTemp(from);
  return true;
}

bool PosixFileService::Delete(const std::string& path) {
  const bool deleted = unlink(path.c_str()) == 0 || FailPath(errno, path);
  ForgetTemp(path);
  return deleted;
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

bool PosixFileService::GetIdentity(const std::string& path, FileIdentity& identity) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return FailPath(errno, path);
  identity = IdentityOf(st);
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
      next = ParentFolderOrDot(current) + "/" + next;
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
