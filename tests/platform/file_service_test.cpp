// The POSIX file service: error codes and texts, sharing between openers and processes,
// attributes, temporary names, moves, times, links and metadata; and the fault service.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/headless/fault_file_service.h"
#include "quill.h"

namespace quill {
namespace {

class Folder {
 public:
  Folder() {
    char pattern[] = "/tmp/quill-fs-XXXXXX";
    m_path = mkdtemp(pattern);
  }
  ~Folder() { (void)std::system(("rm -rf '" + m_path + "'").c_str()); }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PosixFileService, OpenFailuresGiveTheirCodes) {
  Folder folder;
  IFileService& files = GetFileService();
  EXPECT_FALSE(files.Open(folder / "none", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(files.Open(folder / "no/none", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(files.Open(folder / std::string(300, 'n'), GENERIC_READ, 0, OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_FALSE(files.Open(folder.Path(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(files.Open("", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  Put(folder / "f", "x");
  EXPECT_FALSE(files.Open(folder / "f", GENERIC_WRITE, 0, CREATE_NEW));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
}

TEST(PosixFileService, SharingRulesBetweenOpeners) {
  Folder folder;
  const std::string path = folder / "shared";
  Put(path, "x");
  IFileService& files = GetFileService();
  {
    // Read-write with no sharing: nobody else gets in.
    auto owner = files.Open(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_TRUE(owner);
    EXPECT_FALSE(files.Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  }
  {
    // Read-only with read sharing: readers welcome, writers refused.
    auto reader = files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    EXPECT_FALSE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
    // A reader that does not share reading cannot join an existing reader.
    EXPECT_FALSE(files.Open(path, GENERIC_READ, 0, OPEN_EXISTING));
  }
  {
    // A writer that shares everything lets a second such writer in, but not a reader
    // that refuses writers.
    auto writer = files.Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    ASSERT_TRUE(writer);
    EXPECT_TRUE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    EXPECT_FALSE(files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  }
  // Everyone closed: a writer with no sharing gets in, and truncation waited for it.
  auto last = files.Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  EXPECT_TRUE(last);
}

TEST(PosixFileService, SharingHoldsAcrossProcesses) {
  Folder folder;
  const std::string path = folder / "across";
  Put(path, "kept");
  int toParent[2], toChild[2];
  ASSERT_EQ(pipe(toParent), 0);
  ASSERT_EQ(pipe(toChild), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto held = GetFileService().Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
    char c = held ? 'y' : 'n';
    (void)!write(toParent[1], &c, 1);
    (void)!read(toChild[0], &c, 1);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(toParent[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  EXPECT_FALSE(GetFileService().Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(GetFileService().Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
  (void)!write(toChild[1], &c, 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(GetFileService().Open(path, GENERIC_WRITE, 0, OPEN_EXISTING));
  for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) close(fd);
}

TEST(PosixFileService, ReadOnlyIsTheAbsenceOfWritePermission) {
  Folder folder;
  const std::string path = folder / "ro";
  Put(path, "x");
  chmod(path.c_str(), 0664);
  IFileService& files = GetFileService();
  EXPECT_EQ(files.GetAttributes(path), FILE_ATTRIBUTE_NORMAL);
  EXPECT_NE(files.GetAttributes(folder.Path()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_READONLY));
  struct stat st;
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  EXPECT_EQ(files.GetAttributes(path), FILE_ATTRIBUTE_READONLY);
  // Refused to writers even when the process could ignore permissions.
  EXPECT_FALSE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(files.Open(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(files.GetAttributes(folder / "gone"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(PosixFileService, TemporaryNamesAreUniqueAndCreated) {
  Folder folder;
  IFileService& files = GetFileService();
  std::string a, b;
  ASSERT_TRUE(files.GetTempFileName(folder.Path(), "qltx", a));
  ASSERT_TRUE(files.GetTempFileName(folder.Path(), "qlt", b));
  EXPECT_NE(a, b);
  EXPECT_EQ(a.rfind(folder / "qlt", 0), 0u);
  EXPECT_EQ(a.size(), (folder / "qlt").size() + 6 + 4);
  struct stat st;  // created, private to its owner
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_FALSE(files.GetTempFileName(folder / "none", "qlt", a));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(PosixFileService, LastWriteTimeInHundredNanoseconds) {
  Folder folder;
  const std::string path = folder / "t";
  Put(path, "x");
  struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  std::uint64_t t = 0;
  ASSERT_TRUE(GetFileService().GetLastWriteTime(path, t));
  EXPECT_EQ(t, (1700000000ULL + 11644473600ULL) * 10000000ULL + 1234567ULL);
  EXPECT_FALSE(GetFileService().GetLastWriteTime(folder / "none", t));
}

TEST(PosixFileService, LinksAndMetadata) {
  Folder folder;
  IFileService& files = GetFileService();
  const std::string real = folder / "real";
  Put(real, "x");
  ASSERT_EQ(symlink("real", (folder / "l1").c_str()), 0);
  ASSERT_EQ(symlink((folder / "l1").c_str(), (folder / "l2").c_str()), 0);
  EXPECT_EQ(files.ResolveLinks(folder / "l2"), real);
  EXPECT_EQ(files.ResolveLinks(real), real);
  ASSERT_EQ(symlink("l3", (folder / "l3").c_str()), 0);  // a loop ends without a hang
  EXPECT_EQ(files.ResolveLinks(folder / "l3"), folder / "l3");
  EXPECT_EQ(files.GetLinkCount(real), 1u);
  ASSERT_EQ(link(real.c_str(), (folder / "hard").c_str()), 0);
  EXPECT_EQ(files.GetLinkCount(real), 2u);
  EXPECT_EQ(files.GetLinkCount(folder / "none"), 0u);

  chmod(real.c_str(), 04750);
  const bool xattrs = setxattr(real.c_str(), "user.k", "v", 1, 0) == 0;
  const std::string copy = folder / "copy";
  Put(copy, "y");
  files.CopyMetadata(real, copy);
  struct stat st;
  stat(copy.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 04750u);
  if (xattrs) {
    char v[4] = {};
    EXPECT_EQ(getxattr(copy.c_str(), "user.k", v, sizeof v), 1);
  }
  files.CopyMetadata(folder / "none", copy);  // best effort: nothing happens
}

TEST(FaultFileService, FailsWhatItIsAskedTo) {
  Folder folder;
  FaultFileService faults;
  faults.m_nFailWrite = 2;
  faults.m_nDiskBytes = 10;
  ScopedFileService installed(&faults);
  auto file = GetFileService().Open(folder / "f", GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_TRUE(file);
  std::uint32_t n = 0;
  EXPECT_TRUE(file->Write("abcd", 4, n));
  EXPECT_FALSE(file->Write("efgh", 4, n));
  EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
  EXPECT_FALSE(file->Write("0123456789", 10, n));
  EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
  EXPECT_EQ(n, 6u);
  EXPECT_FALSE(file->Reserve(11));
  EXPECT_TRUE(file->Flush());
  faults.m_bFailFlush = true;
  EXPECT_FALSE(file->Flush());
  EXPECT_EQ(faults.m_nWrites, 3u);
  EXPECT_EQ(faults.m_nBytesWritten, 10u);

  faults.m_bFailMove = true;
  EXPECT_FALSE(GetFileService().Move(folder / "f", folder / "g"));
  faults.m_strFailOpenPath = folder / "f";
  faults.m_nFailOpenError = ERROR_LOCK_VIOLATION;
  EXPECT_FALSE(GetFileService().Open(folder / "f", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), ERROR_LOCK_VIOLATION);
}

TEST(HeldFile, ReadsWritesAndReportsFailures) {
  Folder folder;
  auto held = CHeldFile::Open(folder / "h", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  ASSERT_TRUE(held);
  held->Write("abcdef", 6);
  EXPECT_EQ(held->GetLength(), 6u);
  held->SetLength(3);
  held->SeekToBegin();
  char data[8] = {};
  EXPECT_EQ(held->Read(data, sizeof data), 3u);
  EXPECT_EQ(std::string(data, 3), "abc");
  EXPECT_FALSE(CHeldFile::Open(folder / "no/h", GENERIC_READ, 0, OPEN_EXISTING));

  FaultFileService faults;
  faults.m_nFailWrite = 1;
  ScopedFileService installed(&faults);
  auto failing = CHeldFile::Open(folder / "h", GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  EXPECT_FALSE(failing);  // held by the first one
  held.reset();
  failing = CHeldFile::Open(folder / "h", GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  ASSERT_TRUE(failing);
  EXPECT_THROW(failing->Write("x", 1), std::runtime_error);
}

}  // namespace
}  // namespace quill
