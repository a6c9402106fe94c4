// Saving to files: modes, messages, the buffer state afterwards, the promise that a
// failed save leaves the target as it was and nothing else behind, and what a save keeps
// of an existing target: permission bits, owner and group, extended attributes, symbolic
// links and hard links.

#include <sys/xattr.h>

#include "../settings/temp_dir.h"
#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

class SaveTest : public LoadSaveTest {
 protected:
  // Two lines and the empty one after the last break, saved with UNIX breaks.
  void SetUp() override {
    ASSERT_EQ(m_buffer.LoadFromBuffer("line 0 of the netlist\r\nline 1 of the netlist\r\n"), 1);
    m_buffer.SetCRLFMode(CRLF_MODE_UNIX);
  }
};

TEST_F(SaveTest, WritesTheBreaksOfTheModeAndClearsModifiedAndReadOnly) {
  ASSERT_EQ(m_buffer.LoadFromBuffer("a\r\nb\r\n"), 1);
  const std::string path = m_folder / "m.txt";
  EXPECT_EQ(m_buffer.SaveToFile(path, CRLF_MODE_UNIX), 1);
  EXPECT_EQ(ReadAll(path), "a\nb\n");
  EXPECT_EQ(m_buffer.SaveToFile(path, CRLF_MODE_MAC), 1);
  EXPECT_EQ(ReadAll(path), "a\rb\r");
  EXPECT_EQ(m_buffer.SaveToFile(path), 1);  // the buffer's own mode
  EXPECT_EQ(ReadAll(path), "a\r\nb\r\n");
  EXPECT_EQ(m_buffer.GetCRLFMode(), CRLF_MODE_DOS);

  ASSERT_EQ(m_buffer.LoadFromBuffer("abc"), 1);  // modified cleared only when asked, read-only always
  m_buffer.Insert(0, 3, "d");
  m_buffer.SetReadOnly(1);
  ASSERT_TRUE(m_buffer.IsModified());
  EXPECT_EQ(m_buffer.SaveToFile(m_folder / "k.txt", -1, 0), 1);
  EXPECT_TRUE(m_buffer.IsModified());
  EXPECT_FALSE(m_buffer.GetReadOnly());
  EXPECT_EQ(m_buffer.SaveToFile(m_folder / "k.txt"), 1);
  EXPECT_FALSE(m_buffer.IsModified());
  EXPECT_EQ(m_buffer.m_nSyncPosition, m_buffer.m_nUndoPosition);
  EXPECT_EQ(ReadAll(m_folder / "k.txt"), "abcd");
}

// Lines of every length class of the writer (empty, short, around the short-copy limit,
// longer than a whole block) end on and straddle the block boundaries in each mode.
TEST_F(SaveTest, LinesOfEveryLengthCrossTheWriteBlocksIntact) {
  static constexpr int kLengths[] = {0, 1, 2, 3, 4, 7, 8, 9, 15, 16, 17, 18, 33, 1000};
  std::vector<std::string> lines;
  for (int i = 0; i < 12000; ++i) {
    const int length = i == 5000 ? 600 * 1024 : kLengths[(i * 7 + i / 14) % 14];
    std::string line(static_cast<std::size_t>(length), ' ');
    for (int k = 0; k < length; ++k) line[static_cast<std::size_t>(k)] = static_cast<char>('a' + (i + k) % 26);
    lines.push_back(std::move(line));
  }
  const std::string path = m_folder / "blocks.txt";
  for (const auto& [mode, brk] : {std::pair{CRLF_MODE_UNIX, "\n"}, {CRLF_MODE_DOS, "\r\n"}, {CRLF_MODE_MAC, "\r"}}) {
    std::string expected;
    for (std::size_t i = 0; i < lines.size(); ++i) expected += (i ? brk : "") + lines[i];
    ASSERT_EQ(m_buffer.LoadFromBuffer(expected, mode), 1);
    ASSERT_EQ(m_buffer.SaveToFile(path), 1);
    EXPECT_TRUE(ReadAll(path) == expected) << brk;
  }
}

TEST_F(SaveTest, LongNamesAreShortenedInTheProgressMessage) {
  m_services.m_statusBar.m_paneHistory.clear();
  std::string path = m_folder.Path() + "/";
  while (path.size() < 70) path += "n";
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  const auto& bar = m_services.m_statusBar;
  EXPECT_EQ(bar.m_paneHistory.front(), "Writing ..." + path.substr(path.size() - 64) + "...");
  EXPECT_EQ(bar.m_progress.back().upper, 2);
  EXPECT_EQ(bar.m_progress.back().positions.back(), 2);
  EXPECT_EQ(bar.m_panes[0], "Ready");
}

// The file service's own tests check which code each real failure gives; here each code
// gives its message and the target stays as it was. Write bits stop even root, and a
// holder that does not share writes stops the save.
TEST_F(SaveTest, ProbeFailuresShowTheirMessageAndChangeNothing) {
  const std::string path = m_folder / "held.txt";
  WriteAll(path, "kept");
  chmod(path.c_str(), 0444);
  EXPECT_EQ(m_buffer.SaveToFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "Access to file \"" + path + "\" is denied");
  chmod(path.c_str(), 0644);
  auto holder = GetFileService().Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  m_services.m_messages.clear();
  EXPECT_EQ(m_buffer.SaveToFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "The process cannot access the file \"" + path +
                               "\"\nbecause it is being used by another process.");
  holder.reset();
  const std::pair<std::uint32_t, std::string> cases[] = {
      {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
      {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\n(\"" + path + "\")"},
      {ERROR_LOCK_VIOLATION, "The process cannot access the file \"" + path +
                                 "\"\nbecause another process has locked a portion of the file."},
      {ERROR_INVALID_NAME,
       "The filename, directory name, or volume label syntax is incorrect.\n(\"" + path + "\")"},
      {ERROR_DISK_FULL, "There is not enough space on the disk."},
  };
  FaultFileService faults;
  faults.m_strFailOpenPath = path;
  ScopedFileService installed(&faults);
  for (const auto& [code, text] : cases) {
    m_services.m_messages.clear();
    faults.m_nFailOpenError = code;
    EXPECT_EQ(m_buffer.SaveToFile(path), 0);
    EXPECT_EQ(OnlyMessage(), text);
  }
  EXPECT_EQ(ReadAll(path), "kept");
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"held.txt"}));
  EXPECT_LE(m_services.m_statusBar.m_progress.size(), 1u);  // only Fill's load
}

TEST_F(SaveTest, BackupKeepsThePreviousContent) {
  const std::string path = m_folder / "b.txt";
  WriteAll(path, "first");
  m_buffer.m_bCreateBackupFile = true;
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(ReadAll(path + ".bak"), "first");
  const std::string second = ReadAll(path);
  ASSERT_EQ(m_buffer.SaveToFile(path, CRLF_MODE_DOS), 1);
  EXPECT_EQ(ReadAll(path + ".bak"), second);
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"b.txt", "b.txt.bak"}));
}

TEST_F(SaveTest, FolderWithoutRoomForATemporaryFileIsRewrittenInPlace) {
  TempFolder temp;
  const std::string folder = m_folder / "locked";
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/doc.txt";
  WriteAll(path, "before");
  // Root ignores permission bits; an immutable folder stops root too where allowed. The
  // temporary folder lifts the flag when it goes.
  const bool locked = geteuid() != 0 ? chmod(folder.c_str(), 0555) == 0
                                     : std::system(("chattr +i '" + folder + "' 2>/dev/null").c_str()) == 0;
  FaultFileService faults;
  if (!locked) faults.m_strFailTempFolder = folder;
  ScopedFileService installed(&faults);
  quill_test::ScopedEnv tmpdir("TMPDIR", temp.Path().c_str());
  EXPECT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadAll(path), "line 0 of the netlist\nline 1 of the netlist\n");
  EXPECT_EQ(ListFolder(folder), (Lines{"doc.txt"}));
  EXPECT_EQ(ListFolder(temp.Path()), Lines{});
}

class SaveMetadataTest : public LoadSaveTest {
 protected:
  void SetUp() override { ASSERT_EQ(m_buffer.LoadFromBuffer("#!/bin/sh\necho new\n"), 1); }
  struct stat Stat(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0);
    return st;
  }
};

TEST_F(SaveMetadataTest, ModeOwnerAndAttributesAreKept) {
  const std::string path = m_folder / "run.sh";
  WriteAll(path, "#!/bin/sh\necho old\n");
  chmod(path.c_str(), 0751);
  const bool root = geteuid() == 0;  // only root may give a file to another owner
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
  }
  const bool xattrs = setxattr(path.c_str(), "user.quill.test", "kept", 4, 0) == 0;
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(Stat(path).st_mode & 07777, 0751u);
  EXPECT_EQ(ReadAll(path), "#!/bin/sh\necho new\n");
  if (root) {
    EXPECT_EQ(Stat(path).st_uid, 1234u);
    EXPECT_EQ(Stat(path).st_gid, 5678u);
  }
  char value[16] = {};
  if (xattrs) {
    EXPECT_EQ(getxattr(path.c_str(), "user.quill.test", value, sizeof value), 4);
    EXPECT_EQ(std::string(value), "kept");
  }
}

TEST_F(SaveMetadataTest, SymbolicLinkStaysALink) {
  TempFolder other;
  const std::string real = other / "real.txt";
  WriteAll(real, "old");
  const std::string link = m_folder / "link.txt";
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  // A relative link through a second link.
  const std::string link2 = m_folder / "link2.txt";
  ASSERT_EQ(symlink("link.txt", link2.c_str()), 0);
  ASSERT_EQ(m_buffer.SaveToFile(link2), 1);
  EXPECT_TRUE(S_ISLNK(Stat(link).st_mode));
  EXPECT_TRUE(S_ISLNK(Stat(link2).st_mode));
  EXPECT_EQ(ReadAll(real), "#!/bin/sh\necho new\n");
  // The temporary file was made beside the real file and is gone.
  EXPECT_EQ(ListFolder(other.Path()), (Lines{"real.txt"}));
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"link.txt", "link2.txt"}));
}

TEST_F(SaveMetadataTest, HardLinksKeepSharingTheContent) {
  const std::string path = m_folder / "a.txt";
  const std::string other = m_folder / "b.txt";
  WriteAll(path, std::string(100000, 'o'));
  ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
  const ino_t inode = Stat(path).st_ino;
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(Stat(path).st_ino, inode);
  EXPECT_EQ(Stat(path).st_nlink, 2u);
  EXPECT_EQ(ReadAll(other), "#!/bin/sh\necho new\n");
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"a.txt", "b.txt"}));
}

}  // namespace
}  // namespace quill::test
