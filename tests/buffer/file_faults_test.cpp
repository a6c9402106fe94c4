// Loading and saving under hostile input: lines at the length limit, a first line longer
// than the detection chunk, files that are no regular files, leftovers of interrupted
// saves, and held-file saves that fail half way.

#include <sys/stat.h>

#include "buffer/line_sink.h"
#include "load_save_fixture.h"
#include "platform/exceptions.h"
#include "platform/headless/fault_file_service.h"

namespace quill::test {
namespace {

using Lines = std::vector<std::string>;

// Lowers a limit for one test.
class ScopedLimit {
 public:
  ScopedLimit(std::int64_t& limit, std::int64_t value) : m_limit(limit), m_saved(limit) { limit = value; }
  ~ScopedLimit() { m_limit = m_saved; }

 private:
  std::int64_t& m_limit;
  std::int64_t m_saved;
};

class FileFaultsTest : public LoadSaveTest {
 protected:
  FileBuffer& Held() { return m_held; }
  bool Hold(const std::string& bytes) {
    WriteAll(m_heldPath, bytes);
    return m_doc.Hold(m_heldPath);
  }
  void TearDown() override { m_held.FreeAll(); }

  std::string m_heldPath = m_folder / "held.txt";
  HoldingDocument m_doc;
  FileBuffer m_held{&m_doc};
};

TEST_F(FileFaultsTest, LinesBeyondTheCapacityRuleAreRefusedNotOverflowed) {
  // The longest line whose capacity fits in an int loads; one more is refused before the
  // line is stored.
  EXPECT_NO_THROW(TLineSink::CheckLength(FileBuffer::kMaxLineLength));
  EXPECT_THROW(TLineSink::CheckLength(2147483632), TFileAccessException);

  // Edits that would pass the limit throw and change nothing (limit lowered to 8).
  ScopedLimit limit(TLoadLimits::s_nMaxLineLength, 8);
  ASSERT_EQ(m_buffer.LoadFromBuffer("abcde\r\nefgh"), 1);
  int endLine = 0, endChar = 0;
  EXPECT_THROW(m_buffer.InsertText(nullptr, 0, 2, "12345", endLine, endChar), InvalidArgException);
  EXPECT_THROW(m_buffer.InsertText(nullptr, 1, 4, "x\r123456789", endLine, endChar), InvalidArgException);
  EXPECT_THROW(m_buffer.DeleteText(nullptr, 0, 5, 1, 0), InvalidArgException);  // joins to 9
  EXPECT_EQ(m_buffer.Lines(), (Lines{"abcde", "efgh"}));
  EXPECT_FALSE(m_buffer.IsModified());
  EXPECT_FALSE(m_buffer.CanUndo());
  EXPECT_EQ(m_buffer.InsertText(nullptr, 1, 4, "1234\r", endLine, endChar), 1);  // exactly 8
  EXPECT_EQ(m_buffer.Lines(), (Lines{"abcde", "efgh1234", ""}));
}

TEST_F(FileFaultsTest, LongFirstLineDoesNotHideTheModeOfTheFile) {
  const std::string head(40000, 'x');  // longer than the first chunk, no break in it
  struct Case {
    std::string bytes;
    int mode;
    std::size_t lines;
    bool sameBytes;  // saving in the detected mode gives the file back
  } cases[] = {
      {head + "a\n\n\nb\n", CRLF_MODE_UNIX, 5, true},
      {head + "\ra\r\r\rb\r", CRLF_MODE_MAC, 6, true},
      {head + "\r\na\r\n\r\n", CRLF_MODE_DOS, 4, true},
      {std::string(65535, 'y') + "\r\n\r\n", CRLF_MODE_DOS, 3, true},  // CR LF across a chunk edge
      {head, CRLF_MODE_DOS, 1, true},
      // A break in the first chunk keeps the rule of the first chunk: a CR that is its
      // last byte is lone.
      {std::string(32767, 'z') + "\r\nq\r\n", CRLF_MODE_MAC, 3, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    LoadBytes(c.bytes);
    EXPECT_EQ(m_buffer.GetCRLFMode(), c.mode);
    EXPECT_EQ(static_cast<std::size_t>(m_buffer.GetLineCount()), c.lines);
    ASSERT_EQ(m_buffer.SaveToFile(m_folder / "out.txt"), 1);
    EXPECT_EQ(ReadAll(m_folder / "out.txt") == c.bytes, c.sameBytes);
    const std::string held = m_folder / ("held" + std::to_string(n++));
    WriteAll(held, c.bytes);
    HoldingDocument doc;
    ASSERT_TRUE(doc.Hold(held));
    FileBuffer buffer(&doc);
    ASSERT_EQ(buffer.LoadFromFileLocking(held.c_str()), 1);
    EXPECT_EQ(buffer.GetCRLFMode(), c.mode);
    buffer.FreeAll();
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(FileFaultsTest, OnlyRegularFilesAreLoadedOrSaved) {
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
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode));
    EXPECT_FALSE(GetFileService().Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
  }
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"pipe"}));
}

TEST_F(FileFaultsTest, FileLargerThanTheMemoryIsRefusedBeforeReading) {
  ScopedLimit limit(TLoadLimits::s_nMaxFileSize, 10);
  const std::string path = m_folder / "big.txt";
  WriteAll(path, "eleven byte");
  FaultFileService counter;
  ScopedFileService installed(&counter);
  EXPECT_EQ(m_buffer.LoadFromFile(path), 0);
  EXPECT_EQ(OnlyMessage(), "File \"" + path + "\"\nThe file has 11 bytes, more than the memory available to load it.");
  ASSERT_TRUE(Hold("eleven byte"));
  EXPECT_EQ(Held().LoadFromFileLocking(m_heldPath.c_str()), 0);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(FileFaultsTest, LeftoverOfAnInterruptedSaveIsReportedAndKept) {
  const std::string path = m_folder / "doc.txt";
  const std::string link = m_folder / "link.txt";
  const std::string rollback = path + ".quill-rollback";
  WriteAll(path, "new text, cut short");
  ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
  WriteAll(rollback, "the whole old text\n");
  ASSERT_EQ(m_buffer.LoadFromFile(path), 1);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].type, MB_ICONWARNING);
  EXPECT_NE(Messages()[0].text.find("\"" + rollback + "\""), std::string::npos);
  // The next in-place save must not overwrite the only copy of the old text.
  m_services.m_messages.clear();
  EXPECT_EQ(m_buffer.SaveToFile(path), 0);
  EXPECT_NE(OnlyMessage().find("interrupted save"), std::string::npos);
  EXPECT_EQ(ReadAll(rollback), "the whole old text\n");
  EXPECT_EQ(ReadAll(path), "new text, cut short");
  ASSERT_TRUE(Hold("x"));
  ASSERT_EQ(rename(rollback.c_str(), (m_heldPath + ".quill-rollback").c_str()), 0);
  m_services.m_messages.clear();
  ASSERT_EQ(Held().LoadFromFileLocking(""), 1);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(FileFaultsTest, TemporaryFilesArePrivateUntilComplete) {
  const std::string path = m_folder / "private.txt";
  const std::string link = m_folder / "link.txt";
  WriteAll(path, "secret");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
  ASSERT_EQ(m_buffer.LoadFromBuffer("new secret"), 1);
  // Every file the save creates is seen by the write that fills it.
  struct ModeSpy : FaultFileService {
    std::unique_ptr<IFile> Open(const std::string& p, std::uint32_t access, std::uint32_t share,
                                std::uint32_t disposition) override {
      struct stat st;
      if ((access & GENERIC_WRITE) && stat(p.c_str(), &st) == 0 && p.find(".tmp") != std::string::npos)
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
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(m_buffer.SaveToFile(m_folder / "fresh.txt"), 1);  // a new file gets the usual mode
  const mode_t mask = umask(0);
  umask(mask);
  ASSERT_EQ(stat((m_folder / "fresh.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST_F(FileFaultsTest, FailedHeldFileSaveKeepsTheOldText) {
  const std::string old(300000, 'o');
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a longer line than any before\r\n";
  // Holds the file through the service, so that its faults reach the held file too.
  auto save = [&](FaultFileService& files) {
    ScopedFileService installed(&files);
    HoldingDocument doc;
    if (!doc.Hold(m_heldPath)) return -1;
    FileBuffer buffer(&doc);
    buffer.LoadFromBuffer(text.c_str());
    const int result = buffer.SaveToFileLocking("held");
    buffer.FreeAll();
    return result;
  };
  WriteAll(m_heldPath, old);
  FaultFileService counter;
  ASSERT_EQ(save(counter), 1);
  EXPECT_TRUE(ReadAll(m_heldPath) == text);
  for (std::uint32_t n = 1; n <= counter.m_nWrites + 1; ++n) {
    SCOPED_TRACE(n);
    WriteAll(m_heldPath, old);
    FaultFileService faults;
    faults.m_nFailWrite = n;
    faults.m_nDiskBytes = n > counter.m_nWrites ? old.size() + 1000 : 0;  // last round: disk full
    EXPECT_EQ(save(faults), 0);
    EXPECT_TRUE(ReadAll(m_heldPath) == old);
    EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"held.txt"}));
  }
  EXPECT_EQ(Messages().size(), counter.m_nWrites + 1);
}

}  // namespace
}  // namespace quill::test
