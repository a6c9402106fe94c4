// QuillDocumentLocking: the held file, read-only fallback across documents and processes,
// saves that keep the lock, delete on closing.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document_fixture.h"

namespace quill::test {
namespace {

// How another opener of the file fares, as a child process's exit code.
enum ChildResult { kWritable = 10, kReadOnly = 11, kFailed = 12 };

int OpenInChildProcess(const std::string& path) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = kFailed;
    {
      HeadlessApplicationServices services;
      services.m_bEcho = false;
      SetApplicationServices(&services);
      QuillDocumentLocking doc;
      if (doc.OnOpenDocument(path.c_str()))
        code = doc.HoldsForWriting() ? kWritable : (doc.GetTextBuffer().GetReadOnly() ? kReadOnly : kFailed);
    }
    _exit(code);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class LockingDocumentTest : public DocumentTest {
 protected:
  LockingDocumentTest() : m_path(m_folder / "held.txt") { WriteAll(m_path, "one\r\ntwo"); }

  // Opens the document as the framework does: open, then take the path.
  static int Open(QuillDocumentLocking& doc, const std::string& path) {
    const int result = doc.OnOpenDocument(path.c_str());
    if (result) doc.SetPathName(path);
    return result;
  }
  // Whether a second document of this process gets write access to the file.
  static bool SecondDocumentWrites(const std::string& path) {
    QuillDocumentLocking other;
    return other.OnOpenDocument(path.c_str()) && other.HoldsForWriting();
  }

  std::string m_path;
};

TEST_F(LockingDocumentTest, WriteProtectedOpensReadOnlyAndMissingIsReportedOnce) {
  QuillDocumentLocking missing;
  missing.SetModifiedFlag(true);
  EXPECT_EQ(missing.OnOpenDocument((m_folder / "none.txt").c_str()), 0);
  ASSERT_EQ(m_services.m_messages.size(), 1u);
  EXPECT_EQ(m_services.m_messages[0].text, "Failed to open document.");
  EXPECT_EQ(missing.GetHeldFile(), nullptr);
  EXPECT_FALSE(missing.IsModified());

  ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
  QuillDocumentLocking doc;
  ASSERT_EQ(Open(doc, m_path), 1);
  EXPECT_FALSE(doc.HoldsForWriting());
  EXPECT_TRUE(doc.GetTextBuffer().GetReadOnly());
  EXPECT_FALSE(doc.IsModified());
}

// A file is replaced and the new one held; a hard-linked one is rewritten in place through
// the hold. Either way the file at the path stays held and nothing is left beside it.
TEST_F(LockingDocumentTest, SaveKeepsTheLockOnTheFileAtThePath) {
  const std::string link = m_folder / "link.txt";
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked);
    WriteAll(m_path, "one\r\ntwo");
    if (linked) {
      ASSERT_EQ(::link(m_path.c_str(), link.c_str()), 0);
    }
    QuillDocumentLocking doc;
    ASSERT_EQ(Open(doc, m_path), 1);
    QuillTextBuffer& buffer = doc.GetTextBuffer();
    Type(buffer, "new ");
    doc.SetModifiedFlag(true);
    ASSERT_EQ(doc.OnSaveDocument(m_path.c_str()), 1);
    EXPECT_EQ(ReadAll(m_path), "new one\r\ntwo");
    EXPECT_EQ(ReadAll(link), linked ? "new one\r\ntwo" : "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_EQ(ListFolder(m_folder.Path()), linked ? (Lines{"held.txt", "link.txt"}) : Lines{"held.txt"});
    EXPECT_FALSE(SecondDocumentWrites(linked ? link : m_path));
    EXPECT_EQ(OpenInChildProcess(m_path), kReadOnly);
    // The held file is the saved one: a reload through it reads the new text.
    buffer.FreeAll();
    ASSERT_EQ(buffer.LoadFromFileLocking("", false, -1), 1);
    EXPECT_EQ(std::string(buffer.GetLineChars(0), static_cast<std::size_t>(buffer.GetLineLength(0))), "new one");
  }
  EXPECT_TRUE(m_services.m_messages.empty());
}

TEST_F(LockingDocumentTest, SaveAsMovesTheLockToTheNewFile) {
  QuillDocumentLocking doc;
  ASSERT_EQ(Open(doc, m_path), 1);
  const std::string other = m_folder / "other.txt";
  m_prompt->QueueAnswer(other);
  ASSERT_EQ(doc.DoSave(nullptr, 1), 1);
  EXPECT_EQ(doc.GetPathName(), other);
  EXPECT_EQ(doc.GetHeldPath(), other);
  EXPECT_EQ(ReadAll(other), "one\r\ntwo");
  EXPECT_FALSE(SecondDocumentWrites(other));
  EXPECT_TRUE(SecondDocumentWrites(m_path));

  QuillDocumentLocking fresh;  // a new document takes its file at the first save
  fresh.OnNewDocument();
  Type(fresh.GetTextBuffer(), "first");
  const std::string path = m_folder / "first.txt";
  m_prompt->QueueAnswer(path);
  ASSERT_EQ(fresh.DoFileSave(), 1);
  EXPECT_EQ(ReadAll(path), "first");
  EXPECT_EQ(fresh.GetHeldPath(), path);
  EXPECT_FALSE(SecondDocumentWrites(path));
}

TEST_F(LockingDocumentTest, AFailedSaveKeepsTheOldTextAndTheLock) {
  QuillDocumentLocking doc;
  ASSERT_EQ(Open(doc, m_path), 1);
  Type(doc.GetTextBuffer(), "new ");
  {
    FaultFileService faults;
    faults.m_bFailMove = true;
    ScopedFileService scope(&faults);
    EXPECT_EQ(doc.OnSaveDocument(m_path.c_str()), 0);
    // Save as under a new name fails too: that file goes away, the old one stays held.
    m_prompt->QueueAnswer(m_folder / "fresh.txt");
    EXPECT_EQ(doc.DoSave(nullptr, 1), 0);
  }
  EXPECT_EQ(m_services.m_messages.size(), 2u);
  EXPECT_EQ(ReadAll(m_path), "one\r\ntwo");
  EXPECT_EQ(ListFolder(m_folder.Path()), std::vector<std::string>{"held.txt"});
  EXPECT_EQ(doc.GetHeldPath(), m_path);
  EXPECT_TRUE(doc.GetTextBuffer().IsModified());
  EXPECT_FALSE(SecondDocumentWrites(m_path));
}

TEST_F(LockingDocumentTest, OnlyALockingDocumentDeletesItsFileOnClosing) {
  {
    QuillDocument plain;  // stores the wish only
    plain.SetPathName(m_path);
    plain.DeleteOnClosing(true);
    EXPECT_TRUE(plain.IsDeleteOnClosing());
  }
  {
    QuillDocumentLocking doc;  // without the wish
    ASSERT_EQ(Open(doc, m_path), 1);
  }
  EXPECT_EQ(ReadAll(m_path), "one\r\ntwo");
  {
    QuillDocumentLocking doc;
    ASSERT_EQ(Open(doc, m_path), 1);
    doc.DeleteOnClosing(true);
  }
  EXPECT_TRUE(ListFolder(m_folder.Path()).empty());
}

TEST_F(LockingDocumentTest, AFailedLoadOpensNothing) {
  // Half a file loaded must not open: its save would cut the file.
  QuillDocumentLocking doc;
  doc.GetTextBuffer().SetLoadLimits({.nMaxLineCount = 1});
  EXPECT_EQ(doc.OnOpenDocument(m_path.c_str()), 0);
  EXPECT_EQ(doc.GetHeldPath(), "");
  EXPECT_TRUE(SecondDocumentWrites(m_path));
  ASSERT_EQ(m_services.m_messages.size(), 1u);
  EXPECT_EQ(m_services.m_messages[0].text,
            "File \"" + m_path + "\"\nThe file has more than 1 lines and cannot be loaded.");
}

TEST_F(LockingDocumentTest, UndoRestoresLinesThatHoldACarriageReturn) {
  WriteAll(m_path, "x\ny\rz\nw\rv\n");
  QuillDocumentLocking doc;
  ASSERT_EQ(Open(doc, m_path), 1);
  QuillTextBuffer& buffer = doc.GetTextBuffer();
  auto text = [&] {
    std::string all;
    buffer.GetText(0, 0, buffer.GetLineCount() - 1, 0, all, "|");
    return all;
  };
  const std::string original = text();
  ASSERT_EQ(original, "x|y\rz|w\rv|");
  const int ranges[][4] = {{1, 0, 2, 0}, {1, 0, 1, 3}, {0, 1, 2, 2}, {1, 1, 3, 0}};
  for (const auto& r : ranges) {
    SCOPED_TRACE(r[0] * 1000 + r[1] * 100 + r[2] * 10 + r[3]);
    ASSERT_EQ(buffer.DeleteText(nullptr, r[0], r[1], r[2], r[3]), 1);
    const std::string deleted = text();
    CPoint caret;
    ASSERT_EQ(buffer.Undo(caret), 1);
    EXPECT_EQ(text(), original);
    EXPECT_FALSE(buffer.IsModified());
    ASSERT_NO_THROW(buffer.Redo(caret));
    EXPECT_EQ(text(), deleted);
    ASSERT_EQ(buffer.Undo(caret), 1);
  }
}

// A reader opened beside a holder is read-only and leaves the file's mode alone; it cannot
// save while the holder has the file, nor can another process open it for writing. The
// holder writes even a file whose write bits someone else took away, and keeps them; once
// it is gone, the file is free and the reader's save takes it over.
TEST_F(LockingDocumentTest, AReaderBesideAHolderSavesOnlyOnceTheHolderIsGone) {
  ASSERT_EQ(chmod(m_path.c_str(), 0664), 0);
  auto holder = std::make_unique<QuillDocumentLocking>();
  ASSERT_EQ(Open(*holder, m_path), 1);
  EXPECT_TRUE(holder->HoldsForWriting());
  EXPECT_FALSE(holder->GetTextBuffer().GetReadOnly());
  QuillDocumentLocking reader;
  reader.SetPathName(m_path);  // a reload: the document already has its path
  ASSERT_EQ(reader.OnOpenDocument(m_path.c_str()), 1);
  EXPECT_FALSE(reader.HoldsForWriting());
  EXPECT_TRUE(reader.GetTextBuffer().GetReadOnly());
  EXPECT_EQ(reader.GetTextBuffer().GetLineCount(), 2);
  auto view = AttachView(reader);
  reader.GetTextBuffer().UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET);
  EXPECT_EQ(reader.GetTitle(), "held.txt (Read-Only)");
  EXPECT_EQ(OpenInChildProcess(m_path), kReadOnly);
  struct stat st;
  EXPECT_TRUE(stat(m_path.c_str(), &st) == 0 && (st.st_mode & 07777) == 0664);
  EXPECT_TRUE(m_services.m_messages.empty());
  EXPECT_EQ(reader.OnSaveDocument(m_path.c_str()), 0);
  ASSERT_EQ(m_services.m_messages.size(), 1u);
  EXPECT_NE(m_services.m_messages[0].text.find("being used by another process"), std::string::npos);
  EXPECT_EQ(ReadAll(m_path), "one\r\ntwo");

  ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
  Type(holder->GetTextBuffer(), "mine ");
  EXPECT_EQ(holder->OnSaveDocument(m_path.c_str()), 1);
  EXPECT_EQ(ReadAll(m_path), "mine one\r\ntwo");
  EXPECT_TRUE(stat(m_path.c_str(), &st) == 0 && (st.st_mode & 07777) == 0444);
  EXPECT_FALSE(SecondDocumentWrites(m_path));

  holder.reset();
  ASSERT_EQ(chmod(m_path.c_str(), 0644), 0);
  EXPECT_EQ(OpenInChildProcess(m_path), kWritable);
  reader.GetTextBuffer().SetReadOnly(0);
  Type(reader.GetTextBuffer(), "yours ");
  EXPECT_EQ(reader.OnSaveDocument(m_path.c_str()), 1);
  EXPECT_TRUE(reader.HoldsForWriting());
  EXPECT_EQ(ReadAll(m_path), "yours one\r\ntwo");
  EXPECT_EQ(OpenInChildProcess(m_path), kReadOnly);
  EXPECT_EQ(m_services.m_messages.size(), 1u);
}

}  // namespace
}  // namespace quill::test
