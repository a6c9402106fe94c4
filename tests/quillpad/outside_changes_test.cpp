// quillpad and files that other programs change, delete, or that a save could not write
// back as they are: headless, with scripted dialogs and answered message boxes.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../apps/quillpad/language_views.h"
#include "../../apps/quillpad/outside_changes.h"
#include "../../apps/quillpad/pad_document.h"
#include "platform/headless/file_prompt.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_checklist.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "temp_dir.h"

namespace quillpad {
namespace {

namespace fs = std::filesystem;
using quill::HeadlessDialogSession;

// A document open in quillpad's view of its type.
struct Opened {
  explicit Opened(const std::string& path) {
    ok = doc.OnOpenDocument(path.c_str()) == 1;
    view = CreateViewFor(doc.GetDocumentType());
    view->SetDocument(&doc);
    view->OnInitialUpdate();
  }
  ~Opened() { view->DetachFromBuffer(); }
  std::string Text() {
    quill::QuillTextBuffer& b = doc.GetTextBuffer();
    std::string text;
    b.GetText(0, 0, b.GetLineCount() - 1, b.GetLineLength(b.GetLineCount() - 1), text, "\n");
    return text;
  }
  void Type(const char* text) {
    int line, ch;
    doc.GetTextBuffer().InsertText(nullptr, 0, 0, text, line, ch);
  }
  OpenDocument Entry() { return OpenDocument{&doc, view.get()}; }
  PadDocument doc;
  std::unique_ptr<LanguageView> view;
  bool ok = false;
};

class OutsideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::InstallMemorySettingsStore();
    services.m_bEcho = false;
  }
  testing::TempDir dir;
  quill::ScopedHeadlessServices services;
  quill::ScopedHeadlessDialogs dialogs;
};

TEST_F(OutsideTest, ChangedFilesReloadOrAreListedAndASaveOverThemAsks) {
  for (const quill::TAutoLoad autoLoad : {quill::AUTOLOAD_ON, quill::AUTOLOAD_OFF}) {
    SCOPED_TRACE(autoLoad);
    quill::SetRegistryAutoLoad(autoLoad);
    Opened clean(dir.WriteLater("clean.sp", "clean\n"));
    Opened edited(dir.WriteLater("edited.sp", "edited\n"));
    edited.Type("mine ");
    dir.WriteLater("clean.sp", "theirs\n");
    const std::string path = dir.WriteLater("edited.sp", "theirs too\n");

    // The user declines: Do Not Reload (or Continue while nothing is checked).
    std::vector<std::string> listed;
    dialogs.Push([&](HeadlessDialogSession& s) {
      quill::HeadlessDialogHost& host = s.Host();
      EXPECT_EQ(host.GetWindowText(), kChangedFilesTitle);
      for (int i = 0; i < host.GetCount(quill::IDC_CHECKLIST_LIST); ++i) {
        listed.push_back(host.GetItemText(quill::IDC_CHECKLIST_LIST, i));
        // Edits would be lost: only unmodified documents start checked.
        EXPECT_EQ(host.GetItemCheck(quill::IDC_CHECKLIST_LIST, i) == quill::BST_CHECKED,
                  listed.back() != path);
      }
      if (!s.Press(quill::IDC_CHECKLIST_DONOT)) s.Press(quill::IDOK);
    });
    EXPECT_EQ(CheckDocuments({clean.Entry(), edited.Entry()}, nullptr),
              autoLoad == quill::AUTOLOAD_ON ? 1 : 0);
    EXPECT_EQ(clean.Text(), autoLoad == quill::AUTOLOAD_ON ? "theirs\n" : "clean\n");
    EXPECT_EQ(listed.back(), path);
    EXPECT_EQ(listed.size(), autoLoad == quill::AUTOLOAD_ON ? 1u : 2u);
    // Reported once: a second look finds nothing new.
    EXPECT_EQ(CheckDocuments({clean.Entry(), edited.Entry()}, nullptr), 0);
    EXPECT_EQ(dialogs.Runner().Runs().size(), 1u);
    dialogs.Runner().Reset();

    // Saving over the changed file asks; No and Cancel leave it as it is.
    for (int answer : {quill::IDNO, quill::IDCANCEL}) {
      services.m_nAnswer = answer;
      EXPECT_EQ(edited.doc.DoFileSave(), 0);
      EXPECT_EQ(testing::TempDir::Read(path), "theirs too\n");
    }
    services.m_messages.clear();
    services.m_nAnswer = quill::IDYES;
    ASSERT_EQ(edited.doc.DoFileSave(), 1);
    EXPECT_EQ(testing::TempDir::Read(path), "mine edited\n");
    ASSERT_EQ(services.m_messages.size(), 1u);
    EXPECT_NE(services.m_messages[0].text.find(path), std::string::npos);
    ASSERT_EQ(edited.doc.DoFileSave(), 1);  // saved since: no question
    EXPECT_EQ(services.m_messages.size(), 1u);
  }
}

TEST_F(OutsideTest, ADeletedFileIsSaidOnceAndASaveWritesItAgain) {
  Opened doc(dir.WriteLater("gone.sp", "keep me\n"));
  fs::remove(doc.doc.GetPathName());
  for (int round = 0; round < 2; ++round) CheckDocuments({doc.Entry()}, nullptr);
  ASSERT_EQ(services.m_messages.size(), 1u);
  EXPECT_NE(services.m_messages[0].text.find("deleted"), std::string::npos);
  EXPECT_TRUE(doc.doc.GetTextBuffer().IsModified());
  EXPECT_EQ(doc.Text(), "keep me\n");
  EXPECT_TRUE(dialogs.Runner().Runs().empty());
  ASSERT_EQ(doc.doc.DoSave(doc.doc.GetPathName().c_str(), 1), 1);
  EXPECT_EQ(testing::TempDir::Read(doc.doc.GetPathName()), "keep me\n");
}

TEST_F(OutsideTest, AFileWithNulBytesOpensReadOnlyAndIsNeverWrittenOver) {
  const std::string bytes("M1 d g s b nch\0tail\r\n\x7f" "ELF\0\0\x01\n", 30);
  const std::string path = dir.WriteLater("program.sp", bytes);
  const fs::perms before = fs::status(path).permissions();

  Opened doc(path);
  ASSERT_TRUE(doc.ok);
  EXPECT_TRUE(doc.doc.HoldsNulBytes());
  EXPECT_TRUE(doc.doc.GetTextBuffer().GetReadOnly());
  EXPECT_FALSE(doc.view->QueryEditable());
  ASSERT_EQ(services.m_messages.size(), 1u);
  EXPECT_NE(services.m_messages[0].text.find("NUL"), std::string::npos);
  // A save asks for another name: the file's own name is refused, another one taken.
  auto prompt = std::make_shared<quill::HeadlessFilePrompt>();
  quill::InstallFilePrompt(prompt);
  prompt->QueueAnswer(path);
  EXPECT_EQ(doc.doc.DoFileSave(), 0);
  const std::string copy = dir.Path("copy.sp");
  prompt->QueueAnswer(copy);
  ASSERT_EQ(doc.doc.DoFileSave(), 1);
  quill::InstallFilePrompt(nullptr);
  EXPECT_EQ(doc.doc.GetPathName(), copy);
  EXPECT_FALSE(doc.doc.HoldsNulBytes());
  EXPECT_FALSE(doc.doc.GetTextBuffer().GetReadOnly());
  EXPECT_EQ(testing::TempDir::Read(path), bytes);
  EXPECT_EQ(fs::status(path).permissions(), before);
}

TEST_F(OutsideTest, ExitListsTheModifiedDocumentsInOneSaveDialog) {
  Opened a(dir.WriteLater("a.sp", "a\n"));
  Opened b(dir.WriteLater("b.sp", "b\n"));
  for (int button : {quill::IDOK, quill::IDC_CHECKLIST_DONOT, quill::IDCANCEL}) {
    dialogs.Push([&](HeadlessDialogSession& s) {
      EXPECT_EQ(s.Host().GetDlgItemText(quill::IDOK), "Save");
      s.ToggleCheck(quill::IDC_CHECKLIST_LIST, 1);
      s.Press(button);
    });
    std::vector<PadDocument*> toSave;
    EXPECT_EQ(AskWhichToSave({&a.doc, &b.doc}, toSave, nullptr), button != quill::IDCANCEL);
    EXPECT_EQ(toSave, button == quill::IDOK ? std::vector<PadDocument*>{&a.doc}
                                            : std::vector<PadDocument*>{});
  }
}

}  // namespace
}  // namespace quillpad
