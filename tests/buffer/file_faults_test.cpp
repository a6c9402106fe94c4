// Loading and saving under hostile input: lines at the length limit, a first line longer
// than the detection chunk, files that are no regular files, leftovers of interrupted
// saves, private temporary files, held-file saves that fail half way, and other programs
// writing the file while it is saved.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

TEST_F(LoadSaveTest, LongFirstLineDoesNotHideTheModeOfTheFile) {
  // The first chunk holds no break: detection reads on (the loader fuzz property checks
  // both file loaders against the rule); such files keep every empty line.
  const std::string head(40000, 'x');
  for (const std::string& bytes : {head + "a\n\n\nb\n", head + "\ra\r\r\rb\r", std::string(65535, 'y') + "\r\n\r\n"}) {
    LoadBytes(bytes);
    ASSERT_EQ(m_buffer.SaveToFile(m_folder / "out.txt"), 1);
    EXPECT_TRUE(ReadAll(m_folder / "out.txt") == bytes) << bytes.size();
  }
}

TEST_F(LoadSaveTest, OnlyRegularFilesAreLoadedOrSavedAndOnlyWhatFitsInMemory) {
  const std::string fifo = m_folder / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string& path : {fifo, std::string("/dev/null"), m_folder.Path()}) {
    SCOPED_TRACE(path);
    m_services.m_messages.clear();
    m_buffer.FreeAll();
    EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
    EXPECT_NE(OnlyMessage().find("not a regular file"), std::string::npos);
    ASSERT_EQ(m_buffer.LoadFromBuffer("text"), 1);
    m_services.m_messages.clear();
    EXPECT_EQ(m_buffer.SaveToFile(path), 0);
    EXPECT_NE(OnlyMessage().find("not a regular file"), std::string::npos);
    struct stat st;
    EXPECT_TRUE(stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
  }
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"pipe"}));

  m_buffer.SetLoadLimits({.nMaxFileSize = 10});
  const std::string path = m_folder / "big.txt";
  WriteAll(path, "eleven byte");
  m_services.m_messages.clear();
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "File \"" + path + "\"\nThe file has 11 bytes, more than the memory available to load it.");
}

TEST_F(LoadSaveTest, LeftoverOfAnInterruptedSaveIsReportedAndKept) {
  const std::string path = m_folder / "doc.txt";
  const std::string rollback = path + ".quill-rollback";
  WriteAll(path, "new text, cut short");
  ASSERT_EQ(::link(path.c_str(), (m_folder / "link.txt").c_str()), 0);
  WriteAll(rollback, "the whole old text\n");
  for (int locking = 0; locking < 2; ++locking) {
    m_services.m_messages.clear();
    HoldingDocument doc;
    FileBuffer held(&doc);
    ASSERT_TRUE(locking ? doc.Hold(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE) : true);
    ASSERT_EQ(locking ? held.LoadFromFileLocking("") : held.LoadFromFile(path), 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].type, MB_ICONWARNING);
    EXPECT_NE(Messages()[0].text.find("\"" + rollback + "\""), std::string::npos);
  }
  // The next in-place save must not overwrite the only copy of the old text.
  ASSERT_EQ(m_buffer.LoadFromBuffer("x"), 1);
  m_services.m_messages.clear();
  EXPECT_EQ(m_buffer.SaveToFile(path), 0);
  EXPECT_NE(OnlyMessage().find("interrupted save"), std::string::npos);
  EXPECT_EQ(ReadAll(rollback), "the whole old text\n");
  EXPECT_EQ(ReadAll(path), "new text, cut short");
}

TEST_F(LoadSaveTest, SavedFilesKeepOrGetTheirModeFromPrivateTemporaryFiles) {
  const std::string path = m_folder / "private.txt";
  WriteAll(path, "secret");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(::link(path.c_str(), (m_folder / "link.txt").c_str()), 0);
  ASSERT_EQ(m_buffer.LoadFromBuffer("new secret"), 1);
  ASSERT_EQ(m_buffer.SaveToFile(path), 1);  // in place, with a rollback copy
  ASSERT_EQ(m_buffer.SaveToFile(m_folder / "fresh.txt"), 1);
  const mode_t mask = umask(0);
  umask(mask);
  struct stat st;
  EXPECT_TRUE(stat(path.c_str(), &st) == 0 && (st.st_mode & 0777) == 0600);
  EXPECT_TRUE(stat((m_folder / "fresh.txt").c_str(), &st) == 0 && (st.st_mode & 0777) == (0666u & ~mask));
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"fresh.txt", "link.txt", "private.txt"}));
}

// Fails every write in turn, the disk space, and for a save through a temporary file also
// the flush, the rename and the temporary name: each save fails once, with one message,
// and leaves the old target (or none) and nothing else. A hard-linked file and a held file
// are rewritten in place and must get their old text back.
TEST_F(LoadSaveTest, FailedSavesLeaveTheTargetAsItWas) {
  enum Way { kNewFile, kReplaced, kHardLinked, kHeld };
  const std::string path = m_folder / "a.txt";
  const std::string link = m_folder / "b.txt";
  const std::string old(300000, 'o');
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a longer line than any before\r\n";
  for (const Way way : {kNewFile, kReplaced, kHardLinked, kHeld}) {
    SCOPED_TRACE(way);
    auto save = [&](FaultFileService& files) {  // the held file is opened through the faults
      ScopedFileService installed(&files);
      if (way == kNewFile) unlink(path.c_str());
      else WriteAll(path, old);
      HoldingDocument doc;
      FileBuffer buffer(&doc);
      if (!(way == kHeld ? doc.Hold(path) : way != kHardLinked || ::link(path.c_str(), link.c_str()) == 0) ||
          !buffer.LoadFromBuffer(text.c_str()))
        return -1;
      const int result = way == kHeld ? buffer.SaveToFileLocking("a") : buffer.SaveToFile(path);
      if (way == kHardLinked && ReadAll(link) != ReadAll(path)) return -2;  // still one file
      unlink(link.c_str());
      return result;
    };
    FaultFileService counter;
    ASSERT_EQ(save(counter), 1);
    EXPECT_TRUE(ReadAll(path) == text);
    std::vector<std::pair<FaultFileService, std::string>> faults;
    for (std::uint32_t n = 1; n <= counter.m_nWrites; ++n) {
      faults.emplace_back(FaultFileService(), "The system cannot write to the specified device.");
      faults.back().first.m_nFailWrite = n;
    }
    faults.emplace_back(FaultFileService(), "There is not enough space on the disk.");
    faults.back().first.m_nDiskBytes = old.size() + 1000;  // the old text fits, the new does not
    if (way == kNewFile || way == kReplaced) {
      faults.emplace_back(FaultFileService(), "The request could not be performed because of an I/O device error.");
      faults.back().first.m_bFailFlush = true;
      faults.emplace_back(FaultFileService(), "Access is denied.");
      faults.back().first.m_bFailMove = true;
      faults.emplace_back(FaultFileService(), "Access is denied.");
      faults.back().first.m_bFailTempName = true;
    }
    for (auto& [files, message] : faults) {
      SCOPED_TRACE(message);
      m_services.m_messages.clear();
      EXPECT_EQ(save(files), 0);
      ASSERT_EQ(Messages().size(), 1u);
      EXPECT_EQ(Messages()[0].type, MB_ICONERROR);
      if (way == kNewFile || way == kReplaced) {
        EXPECT_EQ(Messages()[0].text, "File: \"" + path + "\"\n" + message);
      }
      EXPECT_TRUE(way == kNewFile ? !std::ifstream(path) : ReadAll(path) == old);
      EXPECT_EQ(ListFolder(m_folder.Path()), way == kNewFile ? Lines{} : Lines{"a.txt"});
    }
  }
}

void Append(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);
}

// Another program appends to the file while a save writes the new text (the file is
// replaced, or rewritten in place for a hard link), before the save began, or just after
// the save put it in place: the file is replaced only when the user says so, and the
// append after the save shows at the next one.
TEST_F(LoadSaveTest, WritesOfAnotherProgramAreNotLostUnasked) {
  const std::string path = m_folder / "a.txt";
  const std::string link = m_folder / "b.txt";
  const std::string whileSaving =
      path + "\n\nAnother program changed this file while it was being saved. The file has not been "
             "replaced.\nDo you want to overwrite it with the text open here?";
  FaultFileService faults;
  ScopedFileService installed(&faults);
  const auto save = [&](int answer) {
    m_services.m_messages.clear();
    m_services.m_nAnswer = answer;
    return m_buffer.SaveToFile(path);
  };
  for (const bool hardLinked : {false, true}) {
    for (const int answer : {IDNO, IDYES}) {
      SCOPED_TRACE(testing::Message() << hardLinked << " " << answer);
      WriteAll(path, "old\n");
      unlink(link.c_str());
      if (hardLinked) {
        ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
      }
      m_buffer.FreeAll();
      ASSERT_EQ(m_buffer.LoadFromBuffer("new"), 1);
      m_buffer.RecordFileIdentity(path);
      faults.m_onWrite = [&] {
        faults.m_onWrite = nullptr;
        Append(path, "outside\n");
      };
      EXPECT_EQ(save(answer), answer == IDYES ? 1 : 0);
      ASSERT_EQ(Messages().size(), 1u);
      EXPECT_EQ(Messages()[0].text, whileSaving);
      EXPECT_EQ(ReadAll(path), answer == IDYES ? "new" : "old\noutside\n");
      EXPECT_EQ(ListFolder(m_folder.Path()), hardLinked ? (Lines{"a.txt", "b.txt"}) : Lines{"a.txt"});
    }
  }
  unlink(link.c_str());

  // Based on the loaded file: a change before the save is caught as well.
  WriteAll(path, "old\n");
  m_buffer.FreeAll();
  m_buffer.RecordFileIdentity(path);
  ASSERT_EQ(m_buffer.LoadFromFile(path), 1);
  WriteAll(path, "changed\n");
  EXPECT_EQ(save(IDNO), 0);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].text.find("changed this file since it was opened or last saved"), std::string::npos);
  EXPECT_EQ(ReadAll(path), "changed\n");
  // An append that lands just after the file was put in place is seen by the next save.
  faults.m_onMoved = [&] {
    faults.m_onMoved = nullptr;
    Append(path, "late\n");
  };
  EXPECT_EQ(save(IDYES), 1);
  EXPECT_EQ(ReadAll(path), "old\nlate\n");
  EXPECT_EQ(save(IDNO), 0);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(ReadAll(path), "old\nlate\n");
  EXPECT_EQ(save(IDYES), 1);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(save(IDYES), 1);  // no change since: no question
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace quill::test
