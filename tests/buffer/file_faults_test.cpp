// Loading and saving under hostile input: lines at the length limit, a first line longer
// than the detection chunk, files that are no regular files, leftovers of interrupted
// saves, private temporary files, and held-file saves that fail half way.

#include <sys/stat.h>

#include <utility>

#include "buffer/line_sink.h"
#include "load_save_fixture.h"
#include "platform/exceptions.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(LoadSaveTest, LinesBeyondTheCapacityRuleAreRefusedNotOverflowed) {
  // The longest line whose capacity fits in an int loads; one more is refused.
  EXPECT_NO_THROW(TLineSink::CheckLength(FileBuffer::kMaxLineLength));
  EXPECT_THROW(TLineSink::CheckLength(2147483632), TFileAccessException);
  // Edits that would pass the limit (lowered to 8) throw and change nothing.
  const std::int64_t saved = std::exchange(TLoadLimits::s_nMaxLineLength, 8);
  ASSERT_EQ(m_buffer.LoadFromBuffer("abcde\r\nefgh"), 1);
  int endLine = 0, endChar = 0;
  EXPECT_THROW(m_buffer.InsertText(nullptr, 0, 2, "12345", endLine, endChar), InvalidArgException);
  EXPECT_THROW(m_buffer.InsertText(nullptr, 1, 4, "x\r123456789", endLine, endChar), InvalidArgException);
  EXPECT_THROW(m_buffer.DeleteText(nullptr, 0, 5, 1, 0), InvalidArgException);  // joins to 9
  EXPECT_EQ(m_buffer.Lines(), (Lines{"abcde", "efgh"}));
  EXPECT_FALSE(m_buffer.IsModified() || m_buffer.CanUndo());
  EXPECT_EQ(m_buffer.InsertText(nullptr, 1, 4, "1234\r", endLine, endChar), 1);  // exactly 8
  TLoadLimits::s_nMaxLineLength = saved;
  EXPECT_EQ(m_buffer.Lines(), (Lines{"abcde", "efgh1234", ""}));
}

TEST_F(LoadSaveTest, LongFirstLineDoesNotHideTheModeOfTheFile) {
  const std::string head(40000, 'x');  // longer than the first chunk, no break in it
  struct Case {
    std::string bytes;
    int mode;
    std::size_t lines;
  } cases[] = {
      {head + "a\n\n\nb\n", CRLF_MODE_UNIX, 5},
      {head + "\ra\r\r\rb\r", CRLF_MODE_MAC, 6},
      {std::string(65535, 'y') + "\r\n\r\n", CRLF_MODE_DOS, 3},  // CR LF across a chunk edge
      {head, CRLF_MODE_DOS, 1},
      // A break in the first chunk keeps its rule: a CR ending the chunk is lone.
      {std::string(32767, 'z') + "\r\nq", CRLF_MODE_MAC, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    LoadBytes(c.bytes);
    EXPECT_EQ(m_buffer.GetCRLFMode(), c.mode);
    EXPECT_EQ(static_cast<std::size_t>(m_buffer.GetLineCount()), c.lines);
    ASSERT_EQ(m_buffer.SaveToFile(m_folder / "out.txt"), 1);
    EXPECT_EQ(ReadAll(m_folder / "out.txt") == c.bytes, c.mode != CRLF_MODE_MAC || c.lines != 2);
    HoldingDocument doc;
    ASSERT_TRUE(doc.Hold(m_folder / "in.txt"));
    FileBuffer held(&doc);
    ASSERT_EQ(held.LoadFromFileLocking("in"), 1);
    EXPECT_EQ(held.GetCRLFMode(), c.mode);
  }
  EXPECT_TRUE(Messages().empty());
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

  const std::int64_t saved = std::exchange(TLoadLimits::s_nMaxFileSize, 10);
  const std::string path = m_folder / "big.txt";
  WriteAll(path, "eleven byte");
  m_services.m_messages.clear();
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  TLoadLimits::s_nMaxFileSize = saved;
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

TEST_F(LoadSaveTest, TemporaryFilesArePrivateUntilComplete) {
  const std::string path = m_folder / "private.txt";
  const std::string link = m_folder / "link.txt";
  WriteAll(path, "secret");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
  ASSERT_EQ(m_buffer.LoadFromBuffer("new secret"), 1);
  struct ModeSpy : FaultFileService {  // the mode of every temporary file when it is filled
    std::unique_ptr<IFile> Open(const std::string& p, std::uint32_t access, std::uint32_t share,
                                std::uint32_t disposition) override {
      struct stat st;
      if ((access & GENERIC_WRITE) && p.find(".tmp") != std::string::npos && stat(p.c_str(), &st) == 0)
        modes.push_back(st.st_mode & 0777);
      return FaultFileService::Open(p, access, share, disposition);
    }
    std::vector<unsigned> modes;
  } spy;
  {
    ScopedFileService installed(&spy);
    ASSERT_EQ(m_buffer.SaveToFile(path), 1);  // temporary file and rollback copy
    ASSERT_EQ(unlink(link.c_str()), 0);
    ASSERT_EQ(m_buffer.SaveToFile(path), 1);  // temporary file renamed over the target
  }
  EXPECT_EQ(spy.modes, (std::vector<unsigned>{0600, 0600, 0600}));
  ASSERT_EQ(m_buffer.SaveToFile(m_folder / "fresh.txt"), 1);  // a new file gets the usual mode
  const mode_t mask = umask(0);
  umask(mask);
  struct stat st;
  ASSERT_EQ(stat((m_folder / "fresh.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST_F(LoadSaveTest, FailedHeldFileSaveKeepsTheOldText) {
  const std::string path = m_folder / "held.txt";
  const std::string old(300000, 'o');
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a longer line than any before\r\n";
  auto save = [&](FaultFileService& files) {  // the held file is opened through the faults
    ScopedFileService installed(&files);
    WriteAll(path, old);
    HoldingDocument doc;
    FileBuffer buffer(&doc);
    if (!doc.Hold(path) || !buffer.LoadFromBuffer(text.c_str())) return -1;
    return buffer.SaveToFileLocking("held");
  };
  FaultFileService counter;
  ASSERT_EQ(save(counter), 1);
  EXPECT_TRUE(ReadAll(path) == text);
  for (std::uint32_t n = 1; n <= counter.m_nWrites + 1; ++n) {
    SCOPED_TRACE(n);
    FaultFileService faults;
    faults.m_nFailWrite = n;
    faults.m_nDiskBytes = n > counter.m_nWrites ? old.size() + 1000 : 0;  // last round: disk full
    EXPECT_EQ(save(faults), 0);
    EXPECT_TRUE(ReadAll(path) == old);
    EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"held.txt"}));
  }
  EXPECT_EQ(Messages().size(), counter.m_nWrites + 1);
}

}  // namespace
}  // namespace quill::test
