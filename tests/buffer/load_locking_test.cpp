// Loading from strings, and loading and saving through a document's held file.

#include "load_save_fixture.h"

namespace quill::test {
namespace {

// Detection and splitting are checked with the golden files.
TEST_F(LoadSaveTest, BufferLoadsInAGivenModeFromNoTextAndWithProgress) {
  EXPECT_EQ(m_buffer.LoadFromBufferLocking("u\nv", CRLF_MODE_DOS), 1);
  EXPECT_EQ(m_buffer.GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{"u", "v"}));
  EXPECT_EQ(m_buffer.LoadFromBuffer(nullptr), 1);
  EXPECT_EQ(m_buffer.AllLines(), (Lines{""}));
  ASSERT_EQ(m_buffer.LoadFromBuffer(std::string(2500, 'b').c_str()), 1);
  const auto& progress = m_services.m_statusBar.m_progress.back();  // every 1000 characters
  EXPECT_EQ(progress.upper, 2500);
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 1000, 2000, 2500}));
  EXPECT_EQ(m_services.m_statusBar.m_paneHistory.front(), "Reading from buffer...");
}

class LockingTest : public LoadSaveTest {
 protected:
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
  ASSERT_EQ(m_locked.LoadFromFileLocking(m_path.c_str()), 1);
  EXPECT_EQ(m_locked.GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_EQ(m_locked.AllLines(), (Lines{"a", "b\rc\nd\r\r\ne"}));  // CR CR LF: no break

  m_locked.FreeAll();  // loads add to what is there: the owner frees first
  ASSERT_EQ(m_locked.LoadFromFileLocking(m_path.c_str(), false, CRLF_MODE_UNIX), 1);
  EXPECT_EQ(m_locked.AllLines(), (Lines{"a\r", "b\rc", "d\r\r", "e"}));
  m_locked.FreeAll();
  ASSERT_EQ(m_locked.LoadFromFileLocking("", false, CRLF_MODE_MAC), 1);
  EXPECT_EQ(m_locked.AllLines(), (Lines{"a", "\nb", "c\nd", "", "\ne"}));

  m_locked.FreeAll();  // a partial break and a NUL at the end
  WriteAll(m_path, std::string("x\r\ny\0z\r", 7));
  ASSERT_EQ(m_locked.LoadFromFileLocking(m_path.c_str(), false, CRLF_MODE_DOS), 1);
  EXPECT_EQ(m_locked.AllLines(), (Lines{"x", std::string("y\0z\r", 4)}));
  EXPECT_TRUE(m_locked.LoadedNulBytes());
  EXPECT_FALSE(m_locked.IsModified());
}

TEST_F(LockingTest, SavesThroughTheHeldFile) {
  ASSERT_TRUE(Hold("a long old content that is longer than the new one\n"));
  ASSERT_EQ(m_locked.LoadFromFileLocking(m_path.c_str()), 1);
  m_locked.Insert(0, 0, "new\r\n");
  m_locked.DeleteText(nullptr, 1, 0, 2, 0);
  ASSERT_TRUE(m_locked.IsModified());
  ASSERT_EQ(m_locked.SaveToFileLocking(m_path.c_str()), 1);
  EXPECT_EQ(ReadAll(m_path), "new\n");
  EXPECT_FALSE(m_locked.IsModified());
  EXPECT_EQ(m_locked.m_nSyncPosition, m_locked.m_nUndoPosition);
  ASSERT_EQ(m_locked.SaveToFileLocking(m_path.c_str(), CRLF_MODE_DOS), 1);
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
  buffer.Insert(0, 0, "DRC");
  EXPECT_EQ(buffer.SaveToFileLocking("deck.cal"), 0);
  EXPECT_EQ(Messages().back().text, "Unexpected error while writing file deck.cal");
  EXPECT_EQ(Messages().size(), 2u);
  buffer.FreeAll();
}

}  // namespace
}  // namespace quill::test
