// Loading from strings, and loading and saving through a document's held file.

#include "load_save_fixture.h"

namespace quill::test {
namespace {

TEST_F(LoadSaveTest, BufferLoadsDetectAndSplitLikeFiles) {
  struct Case {
    const char* text;
    int mode;
    Lines lines;
  } cases[] = {
      {"a\r\nb", CRLF_MODE_DOS, {"a", "b"}},
      {"a\n\nb\n", CRLF_MODE_UNIX, {"a", "", "b", ""}},
      {"a\r\rb", CRLF_MODE_MAC, {"a", "", "b"}},
      {"", CRLF_MODE_DOS, {""}},
      {"plain", CRLF_MODE_DOS, {"plain"}},
      {"x\r", CRLF_MODE_MAC, {"x", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(m_buffer.LoadFromBuffer(c.text), 1);  // frees the previous text itself
    EXPECT_EQ(m_buffer.GetCRLFMode(), c.mode);
    EXPECT_EQ(m_buffer.AllLines(), c.lines);
    EXPECT_TRUE(m_buffer.IsInit());
    EXPECT_FALSE(m_buffer.GetReadOnly());
  }
  EXPECT_EQ(m_buffer.LoadFromBufferLocking("u\nv", CRLF_MODE_DOS), 1);
  EXPECT_EQ(m_buffer.GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{"u", "v"}));
  EXPECT_EQ(m_buffer.LoadFromBuffer(nullptr), 1);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{""}));
}

TEST_F(LoadSaveTest, BufferLoadReportsProgressEveryThousandCharacters) {
  const std::string text(2500, 'b');
  ASSERT_EQ(m_buffer.LoadFromBuffer(text.c_str()), 1);
  const auto& progress = m_services.m_statusBar.m_progress.back();
  EXPECT_EQ(progress.upper, 2500);
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 1000, 2000, 2500}));
  EXPECT_EQ(m_services.m_statusBar.m_paneHistory.front(), "Reading from buffer...");
}

class LockingTest : public LoadSaveTest {
 protected:
  FileBuffer& Buffer() { return m_locked; }
  void SetUp() override { m_path = m_folder / "held.sp"; }
  void TearDown() override { m_locked.FreeAll(); }
  bool Hold(const std::string& bytes) {
    WriteAll(m_path, bytes);
    return m_doc.Hold(m_path);
  }

  std::string m_path;
  HoldingDocument m_doc;
  FileBuffer m_locked{&m_doc};
};

TEST_F(LockingTest, SplitsOnlyAtCompleteBreaksOfTheMode) {
  ASSERT_TRUE(Hold("a\r\nb\rc\nd\r\r\ne"));
  ASSERT_EQ(Buffer().LoadFromFileLocking(m_path.c_str()), 1);
  EXPECT_EQ(Buffer().GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_EQ(Buffer().AllLines(), (Lines{"a", "b\rc\nd\r\r\ne"}));  // CR CR LF: no break

  Buffer().FreeAll();  // loads add to what is there: the owner frees first
  ASSERT_EQ(Buffer().LoadFromFileLocking(m_path.c_str(), false, CRLF_MODE_UNIX), 1);
  EXPECT_EQ(Buffer().AllLines(), (Lines{"a\r", "b\rc", "d\r\r", "e"}));
  Buffer().FreeAll();
  ASSERT_EQ(Buffer().LoadFromFileLocking("", false, CRLF_MODE_MAC), 1);
  EXPECT_EQ(Buffer().AllLines(), (Lines{"a", "\nb", "c\nd", "", "\ne"}));

  Buffer().FreeAll();  // a partial break and a NUL at the end
  WriteAll(m_path, std::string("x\r\ny\0z\r", 7));
  ASSERT_EQ(Buffer().LoadFromFileLocking(m_path.c_str(), false, CRLF_MODE_DOS), 1);
  EXPECT_EQ(Buffer().AllLines(), (Lines{"x", "y"}));
  EXPECT_FALSE(Buffer().IsModified());
}

TEST_F(LockingTest, ReadOnlyLoadLeavesTheFileOnDiskAsItIs) {
  // Read-only here is a fallback (another process holds the file): marking the file
  // would lock the holder out of its own saves.
  ASSERT_TRUE(Hold("text"));
  ASSERT_EQ(chmod(m_path.c_str(), 0664), 0);
  ASSERT_EQ(Buffer().LoadFromFileLocking(m_path.c_str(), true), 1);
  EXPECT_TRUE(Buffer().GetReadOnly());
  struct stat st;
  ASSERT_EQ(stat(m_path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
}

TEST_F(LockingTest, SavesThroughTheHeldFile) {
  ASSERT_TRUE(Hold("a long old content that is longer than the new one\n"));
  ASSERT_EQ(Buffer().LoadFromFileLocking(m_path.c_str()), 1);
  int endLine = 0, endChar = 0;
  Buffer().InsertText(nullptr, 0, 0, "new\r\n", endLine, endChar);
  Buffer().DeleteText(nullptr, 1, 0, 2, 0);
  ASSERT_TRUE(Buffer().IsModified());
  ASSERT_EQ(Buffer().SaveToFileLocking(m_path.c_str()), 1);
  EXPECT_EQ(ReadAll(m_path), "new\n");
  EXPECT_FALSE(Buffer().IsModified());
  EXPECT_EQ(Buffer().m_nSyncPosition, Buffer().m_nUndoPosition);
  ASSERT_EQ(Buffer().SaveToFileLocking(m_path.c_str(), CRLF_MODE_DOS), 1);
  EXPECT_EQ(ReadAll(m_path), "new\r\n");
  EXPECT_EQ(ListFolder(m_folder.Path()), (Lines{"held.sp"}));
}

class FailingFile : public CDocumentFile {
 public:
  std::uint32_t Read(void*, std::uint32_t) override { throw std::runtime_error("read"); }
  void Write(const void*, std::uint32_t) override { throw std::runtime_error("write"); }
  std::uint64_t GetLength() const override { return 0; }
  void SetLength(std::uint64_t) override {}
  void SeekToBegin() override {}
};

class FailingDocument : public CDocument {
 public:
  CDocumentFile* GetHeldFile() const override { return &m_file; }
  mutable FailingFile m_file;
};

TEST_F(LoadSaveTest, WithoutAHeldFileNothingHappensAndItsFailuresAreUnexpectedErrors) {
  CDocument plain;
  FileBuffer unheld(&plain), orphan;
  EXPECT_EQ(unheld.LoadFromFileLocking("x"), 0);
  EXPECT_EQ(unheld.SaveToFileLocking("x"), 0);
  EXPECT_EQ(orphan.LoadFromFileLocking("x"), 0);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(m_services.m_priorityHistory.empty());
  EXPECT_TRUE(m_services.m_statusBar.m_progress.empty());

  FailingDocument doc;
  FileBuffer buffer(&doc);
  EXPECT_EQ(buffer.LoadFromFileLocking("deck.cal"), 0);
  EXPECT_EQ(OnlyMessage(), "unexpected error while reading from file deck.cal.");
  EXPECT_FALSE(buffer.IsInit());
  buffer.FreeAll();
  buffer.InitNew();
  int endLine = 0, endChar = 0;
  buffer.InsertText(nullptr, 0, 0, "DRC", endLine, endChar);
  EXPECT_EQ(buffer.SaveToFileLocking("deck.cal"), 0);
  EXPECT_EQ(Messages().back().text, "Unexpected error while writing file deck.cal");
  EXPECT_EQ(Messages().size(), 2u);
  buffer.FreeAll();
}

}  // namespace
}  // namespace quill::test
