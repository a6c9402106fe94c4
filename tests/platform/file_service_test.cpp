// The POSIX file service: error codes, sharing between openers, attributes, temporary
// names, times, link loops and metadata; and the held file. Sharing across processes,
// link chains, link counts and kept modes are checked through the saves that use them
// (tests/buffer).

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "buffer/load_save_fixture.h"
#include "platform/headless/fault_file_service.h"
#include "platform/posix/posix_file_service.h"

namespace quill {
namespace {

using test::WriteAll;

// A private folder holding the one-byte file "f".
class PosixFiles : public ::testing::Test {
 protected:
  PosixFiles() { WriteAll(path, "x"); }
  test::TempFolder folder;
  const std::string path = folder / "f";
  IFileService& files = GetFileService();
  // The permission and special bits of a file.
  static unsigned Mode(const std::string& name) {
    struct stat st = {};
    return stat(name.c_str(), &st) == 0 ? st.st_mode & 07777 : ~0u;
  }
};

TEST_F(PosixFiles, OpenFailuresGiveTheirCodes) {
  // The path, the access and disposition asked for, and the error.
  const std::tuple<std::string, std::uint32_t, std::uint32_t, std::uint32_t> cases[] = {
      {folder / "none", GENERIC_READ, OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {folder / "no/none", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {"", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {folder / std::string(300, 'n'), GENERIC_READ, OPEN_ALWAYS, ERROR_FILENAME_EXCED_RANGE},
      {folder.Path(), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {folder / "f", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
  };
  for (const auto& [name, access, disposition, error] : cases) {
    EXPECT_FALSE(files.Open(name, access, FILE_SHARE_READ, disposition)) << name;
    EXPECT_EQ(GetLastError(), error) << name;
  }
}

TEST_F(PosixFiles, SharingRulesBetweenOpeners) {
  constexpr std::uint32_t R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ,
                          SRW = FILE_SHARE_READ | FILE_SHARE_WRITE;
  // The holder's access and sharing, the next opener's, and whether it opens.
  const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, bool> cases[] = {
      {R | W, 0, R, SRW, false},  // nobody joins an opener that shares nothing
      {R, SR, R, SR, true},
      {R, SR, W, SRW, false},
      {R, SR, R, 0, false},  // a reader that does not share reading
      {W, SRW, W, SRW, true},
      {W, SRW, R, SR, false},  // a reader that refuses writers
  };
  for (const auto& [heldAccess, heldShare, access, share, opens] : cases) {
    auto held = files.Open(path, heldAccess, heldShare, OPEN_EXISTING);
    ASSERT_TRUE(held);
    EXPECT_EQ(static_cast<bool>(files.Open(path, access, share, OPEN_EXISTING)), opens)
        << heldAccess << "/" << heldShare << " then " << access << "/" << share;
    EXPECT_TRUE(opens || GetLastError() == ERROR_SHARING_VIOLATION) << GetLastError();
  }
}

// Without locks nobody could be kept out: an opener that denies something is refused
// with a message saying why, one that denies nothing opens; a lock call that fails for
// another reason fails the open.
TEST_F(PosixFiles, OpensWithoutWorkingLocksFailClosed) {
  static int s_nErrno = 0;
  PosixFileService::s_pfnLockCall = [](int, int, struct flock*) {
    errno = s_nErrno;
    return -1;
  };
  for (const int err : {EINVAL, ENOLCK, EIO}) {
    s_nErrno = err;
    EXPECT_FALSE(files.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), err == EIO ? ERROR_IO_DEVICE : ERROR_NO_FILE_LOCKS);
    EXPECT_EQ(static_cast<bool>(files.Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)),
              err != EIO);
  }
  PosixFileService::s_pfnLockCall = nullptr;
  EXPECT_NE(SystemErrorMessage(ERROR_NO_FILE_LOCKS).find("cannot lock files"), std::string::npos);
}

// Two openers that each deny writing, in two processes: the second comes in while the
// first is between its lock call and the rest of its sharing check (the first's lock call
// waits for it). At most one of them may hold the file.
TEST_F(PosixFiles, AnOpenerInsideAnotherOpenersSharingCheckIsSeen) {
  int wake[2], opened[2], release[2];
  ASSERT_EQ(pipe(wake) | pipe(opened) | pipe(release), 0);
  const pid_t child = fork();
  if (child == 0) {
    char c = 0;
    (void)!read(wake[0], &c, 1);
    auto file = files.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    c = file ? '1' : '0';
    (void)!write(opened[1], &c, 1);
    (void)!read(release[0], &c, 1);  // holds the file until the parent is done
    _exit(0);
  }
  static int s_wake, s_opened;
  static char s_childOpened;
  s_wake = wake[1];
  s_opened = opened[0];
  s_childOpened = 0;
  PosixFileService::s_pfnLockCall = [](int fd, int command, struct flock* lock) {
    if (command == F_OFD_SETLK && lock->l_type == F_RDLCK && s_wake >= 0) {
      (void)!write(s_wake, "x", 1);
      s_wake = -1;
      (void)!read(s_opened, &s_childOpened, 1);
    }
    return fcntl(fd, command, lock);
  };
  const bool parentOpened =
      static_cast<bool>(files.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  PosixFileService::s_pfnLockCall = nullptr;
  (void)!write(release[1], "x", 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(s_childOpened, '1');
  EXPECT_FALSE(parentOpened) << "both openers got write access";
  for (int fd : {wake[0], wake[1], opened[0], opened[1], release[0], release[1]}) close(fd);
}

TEST_F(PosixFiles, ReadOnlyIsTheAbsenceOfWritePermission) {
  chmod(path.c_str(), 0664);
  EXPECT_EQ(files.GetAttributes(path), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(files.GetAttributes(folder.Path()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(Mode(path), 0444u);
  EXPECT_EQ(files.GetAttributes(path), FILE_ATTRIBUTE_READONLY);
  // Refused to writers even when the process could ignore permissions.
  EXPECT_FALSE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(files.GetAttributes(folder / "gone"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(PosixFiles, TemporaryNamesAreUniqueAndCreated) {
  std::string a, b;
  ASSERT_TRUE(files.GetTempFileName(folder.Path(), "qltx", a));
  ASSERT_TRUE(files.GetTempFileName(folder.Path(), "qlt", b));
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind(folder / "qlt", 0), 0u);
  EXPECT_EQ(Mode(a), 0600u);  // created, private to its owner
  EXPECT_FALSE(files.GetTempFileName(folder / "none", "qlt", a));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  // The name tells the owner: those of processes of this host that are gone are stale.
  const std::string own = "qlt" + std::to_string(getpid()) + "_";
  ASSERT_EQ(b.rfind(folder / own, 0), 0u);
  const std::string host = b.substr(b.find('_', (folder / own).size()));  // "_<host>.tmp"
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const std::string stale = folder / ("qlt" + std::to_string(gone) + "_ABCDEF" + host);
  const std::string alive = folder / ("qlt" + std::to_string(getppid()) + "_ABCDEF" + host);
  const std::string elsewhere = folder / ("qlt" + std::to_string(gone) + "_ABCDEF_other-host.tmp");
  for (const std::string& name : {stale, alive, elsewhere}) WriteAll(name, "x");
  files.RemoveStaleTempFiles(folder.Path(), "qlt");
  EXPECT_EQ(access(stale.c_str(), F_OK), -1);
  for (const std::string& name : {a, b, alive, elsewhere}) EXPECT_EQ(access(name.c_str(), F_OK), 0) << name;
}

TEST_F(PosixFiles, LastWriteTimeAndAnIdentityThatEveryChangeAlters) {
  struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  std::uint64_t t = 0;
  ASSERT_TRUE(files.GetLastWriteTime(path, t));
  EXPECT_EQ(t, (1700000000ULL + 11644473600ULL) * 10000000ULL + 1234567ULL);
  EXPECT_FALSE(files.GetLastWriteTime(folder / "none", t));

  FileIdentity before, now, open;
  ASSERT_TRUE(files.GetIdentity(path, before));
  EXPECT_EQ(before.modified, 1700000000123456789LL);
  auto file = files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_TRUE(file && file->GetIdentity(open));
  EXPECT_EQ(open, before);
  // The same size written again with the old time put back: the change time tells (a
  // clock tick of the file system later).
  usleep(10000);
  WriteAll(path, "y");
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  ASSERT_TRUE(files.GetIdentity(path, now));
  EXPECT_EQ(now.modified, before.modified);
  EXPECT_NE(now, before);
  // Another file put in its place: the inode tells.
  WriteAll(folder / "other", "y");
  ASSERT_EQ(rename((folder / "other").c_str(), path.c_str()), 0);
  ASSERT_TRUE(files.GetIdentity(path, before));
  EXPECT_NE(before.inode, now.inode);
  EXPECT_FALSE(files.GetIdentity(folder / "none", now));
}

TEST_F(PosixFiles, LinkLoopsEndAndMetadataCopiesSpecialBits) {
  ASSERT_EQ(symlink("loop", (folder / "loop").c_str()), 0);  // ends without a hang
  EXPECT_EQ(files.ResolveLinks(folder / "loop"), folder / "loop");
  EXPECT_EQ(files.GetLinkCount(folder / "none"), 0u);

  const std::string copy = folder / "copy";
  WriteAll(copy, "y");
  chmod(path.c_str(), 04750);
  files.CopyMetadata(path, copy);
  EXPECT_EQ(Mode(copy), 04750u);
  files.CopyMetadata(folder / "none", copy);  // best effort: nothing happens
  EXPECT_EQ(Mode(copy), 04750u);
}

// Reads, writes and truncation through the held file are checked by the locking saves.
TEST_F(PosixFiles, HeldFileFailuresAreNoFileOrAnException) {
  EXPECT_FALSE(CHeldFile::Open(folder / "no/h", GENERIC_READ, 0, OPEN_EXISTING));
  FaultFileService faults;
  faults.m_nFailWrite = 1;
  ScopedFileService installed(&faults);
  auto held = CHeldFile::Open(folder / "h", GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  ASSERT_TRUE(held);
  EXPECT_THROW(held->Write("x", 1), std::runtime_error);
}

}  // namespace
}  // namespace quill
