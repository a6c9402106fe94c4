// Saving to files: modes, messages, the buffer state afterwards, and the promise that a
// failed save leaves the target as it was and nothing else behind.

#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

using Lines = std::vector<std::string>;

class SaveTest : public LoadSaveTest {
 protected:
  // A buffer of n numbered lines in the mode.
  void Fill(int n, int mode = CRLF_MODE_UNIX) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + " of the netlist\r\n";
    ASSERT_EQ(m_buffer.LoadFromBuffer(text.c_str()), 1);
    m_buffer.SetCRLFMode(mode);
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
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"m.txt"}));

  ASSERT_EQ(m_buffer.LoadFromBuffer("abc"), 1);  // modified cleared only when asked, read-only always
  int endLine = 0, endChar = 0;
  m_buffer.InsertText(nullptr, 0, 3, "d", endLine, endChar);
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
  Fill(3);  // three lines and the empty one after the last break
  m_services.m_statusBar.m_paneHistory.clear();
  std::string path = m_folder.Path() + "/";
  while (path.size() < 70) path += "n";
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  const auto& bar = m_services.m_statusBar;
  EXPECT_EQ(bar.m_paneHistory.front(), "Writing ..." + path.substr(path.size() - 64) + "...");
  EXPECT_EQ(bar.m_progress.back().upper, 3);
  EXPECT_EQ(bar.m_progress.back().positions.back(), 3);
  EXPECT_EQ(bar.m_panes[0], "Ready");
}

TEST_F(SaveTest, ProbeFailuresShowTheirMessageAndChangeNothing) {
  Fill(2);
  const std::string missing = m_folder / "no/such/file.sp";
  EXPECT_EQ(m_buffer.SaveToFile(missing), 0);
  EXPECT_EQ(OnlyMessage(), "The system cannot find the path specified.");
  EXPECT_TRUE(ListFolder(m_folder.Path()).empty());

  const std::string tooLong = m_folder / std::string(300, 'L');
  EXPECT_EQ(m_buffer.SaveToFile(tooLong), 0);
  EXPECT_EQ(Messages().back().text, "The filename or extension is too long.\n(\"" + tooLong + "\")");

  const std::string readOnly = m_folder / "ro.txt";
  WriteAll(readOnly, "old");
  chmod(readOnly.c_str(), 0444);
  EXPECT_EQ(m_buffer.SaveToFile(readOnly), 0);
  EXPECT_EQ(Messages().back().text, "Access to file \"" + readOnly + "\" is denied");
  EXPECT_EQ(ReadAll(readOnly), "old");

  const std::string held = m_folder / "held.txt";
  WriteAll(held, "kept");
  auto holder = GetFileService().Open(held, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_TRUE(holder);
  EXPECT_EQ(m_buffer.SaveToFile(held), 0);
  EXPECT_EQ(Messages().back().text, "The process cannot access the file \"" + held +
                                        "\"\nbecause it is being used by another process.");
  EXPECT_EQ(ReadAll(held), "kept");

  FaultFileService faults;
  faults.m_strFailOpenPath = held;
  for (auto [code, text] : {std::pair<std::uint32_t, std::string>{
                                ERROR_LOCK_VIOLATION,
                                "The process cannot access the file \"" + held +
                                    "\"\nbecause another process has locked a portion of the file."},
                            {ERROR_INVALID_NAME,
                             "The filename, directory name, or volume label syntax is incorrect.\n(\"" +
                                 held + "\")"},
                            {ERROR_DISK_FULL, "There is not enough space on the disk."}}) {
    faults.m_nFailOpenError = code;
    ScopedFileService installed(&faults);
    EXPECT_EQ(m_buffer.SaveToFile(held), 0);
    EXPECT_EQ(Messages().back().text, text);
  }
  EXPECT_EQ(Messages().size(), 7u);
  EXPECT_TRUE(m_services.m_statusBar.m_progress.empty() ||
              m_services.m_statusBar.m_progress.size() == 1u);  // only Fill's load
}

// Fails every write in turn, then the flush, the rename, the temporary name and the
// disk space: each save fails once, with one message, and leaves the old target alone
// and no temporary file behind.
TEST_F(SaveTest, FailedSavesLeaveTheTargetAsItWas) {
  Fill(40000);  // about 1 MB: several buffered writes
  const std::string path = m_folder / "net.sp";
  const std::string old = "the old content\n";

  FaultFileService counter;
  {
    WriteAll(path, old);
    ScopedFileService installed(&counter);
    ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  }
  const std::string saved = ReadAll(path);
  const std::uint32_t nWrites = counter.m_nWrites;
  ASSERT_GE(nWrites, 3u);

  auto expectFailure = [&](FaultFileService& faults, const std::string& text, bool existed) {
    if (existed) WriteAll(path, old);
    else unlink(path.c_str());
    const std::size_t before = Messages().size();
    {
      ScopedFileService installed(&faults);
      EXPECT_EQ(m_buffer.SaveToFile(path), 0);
    }
    ASSERT_EQ(Messages().size(), before + 1);
    EXPECT_EQ(Messages().back().text, "File: \"" + path + "\"\n" + text);
    EXPECT_EQ(Messages().back().type, MB_ICONERROR);
    if (existed) {
      EXPECT_EQ(ReadAll(path), old);
      EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"net.sp"}));
    } else {
      EXPECT_TRUE(ListFolder(m_folder.Path()).empty());
    }
  };
  for (bool existed : {true, false}) {
    for (std::uint32_t n = 1; n <= nWrites; ++n) {
      SCOPED_TRACE(n);
      FaultFileService faults;
      faults.m_nFailWrite = n;
      expectFailure(faults, "The system cannot write to the specified device.", existed);
    }
    FaultFileService flush, move, temp, full;
    flush.m_bFailFlush = true;
    expectFailure(flush, "The request could not be performed because of an I/O device error.", existed);
    move.m_bFailMove = true;
    expectFailure(move, "Access is denied.", existed);
    temp.m_bFailTempName = true;
    expectFailure(temp, "Access is denied.", existed);
    full.m_nDiskBytes = saved.size() / 2;
    expectFailure(full, "There is not enough space on the disk.", existed);
  }
  EXPECT_TRUE(m_buffer.IsModified() == 0);
  // And with nothing failing it still works.
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);
  EXPECT_EQ(ReadAll(path), saved);
}

TEST_F(SaveTest, BackupKeepsThePreviousContent) {
  Fill(2);
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
  Fill(2);
  TempFolder outer, temp;
  const std::string folder = outer / "locked";
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/doc.txt";
  WriteAll(path, "before");
  // Root ignores permission bits; an immutable folder stops root too where allowed.
  bool locked = false;
  if (geteuid() != 0) {
    locked = chmod(folder.c_str(), 0555) == 0;
  } else {
    const std::string command = "chattr +i '" + folder + "' 2>/dev/null";
    locked = std::system(command.c_str()) == 0;
  }
  FaultFileService faults;
  if (!locked) faults.m_strFailTempFolder = folder;
  ScopedFileService installed(&faults);
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string saved = tmpdir ? tmpdir : "";
  setenv("TMPDIR", temp.Path().c_str(), 1);
  EXPECT_EQ(m_buffer.SaveToFile(path), 1);
  if (tmpdir) setenv("TMPDIR", saved.c_str(), 1); else unsetenv("TMPDIR");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadAll(path), "line 0 of the netlist\nline 1 of the netlist\n");
  EXPECT_EQ(ListFolder(folder), (Lines{"doc.txt"}));
  EXPECT_EQ(ListFolder(temp.Path()), Lines{});
  if (locked && geteuid() == 0) {
    const std::string unlock = "chattr -i '" + folder + "' 2>/dev/null";
    (void)std::system(unlock.c_str());
  }
}

}  // namespace
}  // namespace quill::test
