// QuillDocument: new, open, save, save as, conditional save, go to line.

#include <sys/stat.h>

#include "document_fixture.h"

namespace quill::test {
namespace {

constexpr unsigned kSaveAsFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;

class PlainDocumentTest : public DocumentTest {
 protected:
  PlainDocumentTest() { m_doc.OnNewDocument(); }
  QuillDocument m_doc;
};

TEST_F(PlainDocumentTest, NewOpenAndCloseReplaceTheText) {
  WriteAll(m_folder / "a.txt", "one\ntwo\n");
  ASSERT_EQ(m_doc.OnOpenDocument((m_folder / "a.txt").c_str()), 1);
  ASSERT_EQ(m_doc.OnOpenDocument((m_folder / "a.txt").c_str()), 1);  // replaces the text
  EXPECT_EQ(m_doc.GetTextBuffer().GetLineCount(), 3);
  m_doc.OnCloseDocument();
  EXPECT_EQ(m_doc.GetTextBuffer().GetLineCount(), 1);

  Type(m_doc.GetTextBuffer(), "text");
  m_doc.SetModifiedFlag(true);
  ASSERT_EQ(m_doc.OnNewDocument(), 1);  // one empty unmodified DOS line
  QuillTextBuffer& buffer = m_doc.GetTextBuffer();
  EXPECT_EQ(buffer.GetLineCount(), 1);
  EXPECT_EQ(buffer.GetLineLength(0), 0);
  EXPECT_EQ(buffer.GetCRLFMode(), CRLF_MODE_DOS);
  EXPECT_FALSE(buffer.CanUndo());
  EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(PlainDocumentTest, FileSaveOfANeverSavedDocumentAsksForANameAndSaveCopyAsKeepsIt) {
  m_doc.SetTitle("Untitled");
  Type(m_doc.GetTextBuffer(), "hello");
  m_doc.SetModifiedFlag(true);
  const std::string path = m_folder / "new.txt";
  m_prompt->QueueAnswer(path);
  ASSERT_EQ(m_doc.DoFileSave(), 1);

  ASSERT_EQ(m_prompt->Requests().size(), 1u);
  const FilePromptRequest& request = m_prompt->Requests()[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Save As");
  EXPECT_EQ(request.flags, kSaveAsFlags);
  EXPECT_EQ(request.initialFileName, "Untitled");
  EXPECT_EQ(ReadAll(path), "hello");
  EXPECT_EQ(m_doc.GetPathName(), path);
  EXPECT_EQ(m_doc.GetTitle(), "new.txt");
  EXPECT_FALSE(m_doc.IsModified());
  ASSERT_FALSE(GetRecentFileList().empty());
  EXPECT_EQ(GetRecentFileList().front(), path);
  Type(m_doc.GetTextBuffer(), "> ");  // now it has a writable file: no more asking
  ASSERT_EQ(m_doc.DoFileSave(), 1);
  EXPECT_EQ(m_prompt->Requests().size(), 1u);
  EXPECT_EQ(ReadAll(path), "> hello");
  m_prompt->QueueAnswer(m_folder / "copy.txt");  // a copy keeps the path and the title
  ASSERT_EQ(m_doc.DoSave(nullptr, 0), 1);
  EXPECT_EQ(m_prompt->Requests()[1].title, "Save Copy As");
  EXPECT_EQ(m_prompt->Requests()[1].initialFileName, path);
  EXPECT_EQ(m_doc.GetPathName(), path);
  EXPECT_EQ(m_doc.GetTitle(), "new.txt");
  EXPECT_EQ(ReadAll(m_folder / "copy.txt"), "> hello");
}

TEST_F(PlainDocumentTest, FileSaveOfAWriteProtectedOrReadOnlyDocumentAsksForAName) {
  const std::string path = m_folder / "ro.txt";
  WriteAll(path, "old");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  m_doc.SetPathName(path);
  Type(m_doc.GetTextBuffer(), "new");
  EXPECT_EQ(m_doc.DoFileSave(), 0);  // the prompt is cancelled
  ASSERT_EQ(m_prompt->Requests().size(), 1u);
  EXPECT_EQ(m_prompt->Requests()[0].initialFileName, path);
  EXPECT_EQ(ReadAll(path), "old");

  // A writable file whose buffer is read-only asks too.
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  QuillDocument other;
  other.OnOpenDocument(path.c_str());
  other.GetTextBuffer().SetReadOnly(1);
  other.SetPathName(path);
  EXPECT_EQ(other.DoFileSave(), 0);
  EXPECT_EQ(m_prompt->Requests().size(), 2u);
  EXPECT_EQ(ReadAll(path), "old");
}

TEST_F(PlainDocumentTest, SaveAsProposesTheTitleBeforeItsMarkPlusTheFirstExtension) {
  CDocTemplate docTemplate("\nText\nText\nText files (*.txt)\n.txt;.log\nQuill.Text\nText");
  m_doc.SetDocTemplate(&docTemplate);
  m_doc.SetTitle("Untitled;2");
  EXPECT_EQ(m_doc.DoSave(nullptr, 1), 0);
  ASSERT_EQ(m_prompt->Requests().size(), 1u);
  EXPECT_EQ(m_prompt->Requests()[0].initialFileName, "Untitled.txt");
  // Without append default extension the prompt gets no template.
  EXPECT_TRUE(m_prompt->Requests()[0].filter.empty());
  EXPECT_TRUE(m_prompt->Requests()[0].defaultExtension.empty());

  m_doc.SetAppendDefaultExt(true);
  m_doc.SetTitle("a#b%c");
  EXPECT_EQ(m_doc.DoSave(nullptr, 1), 0);
  ASSERT_EQ(m_prompt->Requests().size(), 2u);
  EXPECT_EQ(m_prompt->Requests()[1].initialFileName, "a.txt");
  EXPECT_EQ(m_prompt->Requests()[1].filter, "Text files (*.txt)|*.txt;*.log|");
  EXPECT_EQ(m_prompt->Requests()[1].defaultExtension, "txt");
}

// A file the failed save created goes: see the locking document's failed save.
TEST_F(PlainDocumentTest, FailedSaveUnderAnAskedNameKeepsAFileThatWasThere) {
  FaultFileService faults;
  faults.m_bFailMove = true;
  ScopedFileService scope(&faults);
  Type(m_doc.GetTextBuffer(), "new");
  WriteAll(m_folder / "kept.txt", "old");
  m_prompt->QueueAnswer(m_folder / "kept.txt");
  EXPECT_EQ(m_doc.DoSave(nullptr, 1), 0);
  EXPECT_EQ(ReadAll(m_folder / "kept.txt"), "old");
  EXPECT_EQ(ListFolder(m_folder.Path()), std::vector<std::string>{"kept.txt"});
  EXPECT_TRUE(m_doc.GetPathName().empty());
}

TEST_F(PlainDocumentTest, SaveIfAsksOnlyWithTheAskOptionAndYesSaves) {
  const std::string path = m_folder / "doc.txt";
  WriteAll(path, "old");
  m_doc.OnOpenDocument(path.c_str());
  m_doc.SetPathName(path);
  auto view = AttachView(m_doc);
  Type(m_doc.GetTextBuffer(), "new ");
  for (TSaveOptions option : {SAVEOPTION_SAVE_ALL, SAVEOPTION_DONT_SAVE}) {
    SetRegistrySaveOptions(option);
    EXPECT_EQ(m_doc.DoSaveIf(), 0);
  }
  EXPECT_TRUE(m_boxes.m_requests.empty());
  SetRegistrySaveOptions(SAVEOPTION_PROMPT);
  m_boxes.QueueAnswer(IDNO);
  EXPECT_EQ(m_doc.DoSaveIf(), 0);
  ASSERT_EQ(m_boxes.m_requests.size(), 1u);
  const MessageBoxRequest& box = m_boxes.m_requests[0];
  EXPECT_EQ(box.text, path + "\n\nThis file has been modified.\nDo you want to save it?");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.style, 0x0C000024u);
  EXPECT_EQ(box.pParent, view->GetWindow());
  EXPECT_TRUE(m_doc.IsModified());
  EXPECT_EQ(ReadAll(path), "old");

  m_boxes.QueueAnswer(IDYES);
  EXPECT_EQ(m_doc.DoSaveIf(), 1);
  EXPECT_EQ(ReadAll(path), "new old");
  EXPECT_FALSE(m_doc.IsModified());
  EXPECT_EQ(m_doc.DoSaveIf(), 0);  // unmodified: not asked
  EXPECT_EQ(m_boxes.m_requests.size(), 2u);
}

TEST_F(PlainDocumentTest, GotoLineMovesTheLastAttachedViewAndSetsTheBookmark) {
  // Without a view there is nothing to move.
  EXPECT_TRUE(m_doc.GotoLine(3, true));
  EXPECT_EQ(m_doc.GetTextBuffer().GetLineWithFlag(LINEFLAG_BOOKMARK), -1);

  m_doc.GetTextBuffer().FreeAll();
  m_doc.GetTextBuffer().LoadFromBuffer("a\nb\nc\nd", -1);
  auto first = AttachView(m_doc);
  auto last = AttachView(m_doc);
  EXPECT_EQ(m_doc.GetFirstView(), last.get());

  EXPECT_TRUE(m_doc.GotoLine(3, false));
  EXPECT_EQ(last->GetCursorPos(), CPoint(0, 2));
  EXPECT_EQ(first->GetCursorPos(), CPoint(0, 0));
  EXPECT_EQ(m_doc.GetTextBuffer().GetLineWithFlag(LINEFLAG_BOOKMARK), -1);

  EXPECT_TRUE(m_doc.GotoLine(99, true));
  EXPECT_EQ(last->GetCursorPos(), CPoint(0, 3));
  EXPECT_NE(m_doc.GetTextBuffer().GetLineFlags(3) & LINEFLAG_BOOKMARK, 0u);
  EXPECT_TRUE(last->m_bHasBookmarks);
  // Setting it again never toggles it off.
  EXPECT_TRUE(m_doc.GotoLine(4, true));
  EXPECT_NE(m_doc.GetTextBuffer().GetLineFlags(3) & LINEFLAG_BOOKMARK, 0u);
}

}  // namespace
}  // namespace quill::test
