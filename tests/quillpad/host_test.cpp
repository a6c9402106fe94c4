// quillpad's headless parts: files that other programs change, delete, or that a save
// could not write back as they are (with scripted dialogs and answered message boxes); the
// recent files, the session and the document.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../../apps/quillpad/language_views.h"
#include "../../apps/quillpad/outside_changes.h"
#include "../../apps/quillpad/pad_document.h"
#include "../../apps/quillpad/recent_files.h"
#include "../../apps/quillpad/session.h"
#include "../support/temp_dir.h"
#include "platform/headless/file_prompt.h"
#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_checklist.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "view/input_fixture.h"

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
  std::string Text() { return quill::testing::Joined(doc.GetTextBuffer(), "\n"); }
  OpenDocument Entry() { return OpenDocument{&doc, view.get()}; }
  PadDocument doc;
  std::unique_ptr<LanguageView> view;
  bool ok = false;
};

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::InstallMemorySettingsStore();
    services.m_bEcho = false;
  }
  quill_test::TempDir dir;
  quill::ScopedHeadlessServices services;
  quill::ScopedHeadlessDialogs dialogs;
};

TEST_F(HostTest, ChangedFilesReloadOrAreListedAndASaveOverThemAsks) {
  for (const quill::TAutoLoad autoLoad : {quill::AUTOLOAD_ON, quill::AUTOLOAD_OFF}) {
    SCOPED_TRACE(autoLoad);
    quill::SetRegistryAutoLoad(autoLoad);
    Opened clean(dir.WriteLater("clean.sp", "clean\n"));
    Opened edited(dir.WriteLater("edited.sp", "edited\n"));
    quill::testing::Insert(edited.doc.GetTextBuffer(), 0, 0, "mine ");
    dir.WriteLater("clean.sp", "theirs\n");
    const std::string path = dir.WriteLater("edited.sp", "theirs too\n");

    // The user declines: Do Not Reload (or Continue while nothing is checked).
    std::vector<std::string> listed;
    dialogs.Push([&](HeadlessDialogSession& s) {
      quill::HeadlessDialogHost& host = s.Host();
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
      EXPECT_EQ(quill_test::ReadAll(path), "theirs too\n");
    }
    services.m_messages.clear();
    services.m_nAnswer = quill::IDYES;
    ASSERT_EQ(edited.doc.DoFileSave(), 1);
    EXPECT_EQ(quill_test::ReadAll(path), "mine edited\n");
    ASSERT_EQ(services.m_messages.size(), 1u);
    EXPECT_NE(services.m_messages[0].text.find(path), std::string::npos);
    ASSERT_EQ(edited.doc.DoFileSave(), 1);  // saved since: no question
    EXPECT_EQ(services.m_messages.size(), 1u);
  }
}

TEST_F(HostTest, ADeletedFileIsSaidOnceAndASaveWritesItAgain) {
  Opened doc(dir.WriteLater("gone.sp", "keep me\n"));
  fs::remove(doc.doc.GetPathName());
  for (int round = 0; round < 2; ++round) CheckDocuments({doc.Entry()}, nullptr);
  ASSERT_EQ(services.m_messages.size(), 1u);
  EXPECT_NE(services.m_messages[0].text.find("deleted"), std::string::npos);
  EXPECT_TRUE(doc.doc.GetTextBuffer().IsModified());
  EXPECT_EQ(doc.Text(), "keep me\n");
  EXPECT_TRUE(dialogs.Runner().Runs().empty());
  ASSERT_EQ(doc.doc.DoSave(doc.doc.GetPathName().c_str(), 1), 1);
  EXPECT_EQ(quill_test::ReadAll(doc.doc.GetPathName()), "keep me\n");
}

// NUL bytes and the text after them survive: the document opens read-only (its file's
// permissions untouched) and saves write every byte, over the file or under another
// name. Mixed line breaks are said in the status bar, with what a save writes.
TEST_F(HostTest, NulBytesOpenReadOnlyAndSaveExactlyAndMixedBreaksAreSaid) {
  const std::string bytes("M1 d g s b nch\0tail\r\n\x7f" "ELF\0\0\x01\r\n", 31);
  const std::string path = dir.WriteLater("program.sp", bytes);
  const fs::perms before = fs::status(path).permissions();

  Opened doc(path);
  ASSERT_TRUE(doc.ok);
  EXPECT_TRUE(doc.doc.HoldsNulBytes());
  EXPECT_FALSE(doc.view->QueryEditable());
  ASSERT_EQ(services.m_messages.size(), 1u);
  EXPECT_NE(services.m_messages[0].text.find("NUL"), std::string::npos);
  EXPECT_EQ(fs::status(path).permissions(), before);
  // Read-only: a save asks for the name; the file's own one and another both get it all.
  auto prompt = std::make_shared<quill::HeadlessFilePrompt>();
  quill::InstallFilePrompt(prompt);
  const std::string copy = dir.Path("copy.sp");
  for (const std::string& target : {path, copy}) {
    prompt->QueueAnswer(target);
    ASSERT_EQ(doc.doc.DoFileSave(), 1);
    EXPECT_EQ(quill_test::ReadAll(target), bytes);
    EXPECT_FALSE(doc.view->QueryEditable());
  }
  quill::InstallFilePrompt(nullptr);
  EXPECT_EQ(fs::status(path).permissions(), before);
  EXPECT_EQ(services.m_messages.size(), 1u);

  const std::string mixed = dir.WriteLater("mixed.sp", "a\r\nb\nc\r\n");
  Opened other(mixed);
  ASSERT_TRUE(other.ok);
  EXPECT_EQ(services.m_statusBar.m_panes.at(0),
            "Line breaks in " + mixed + " are mixed; saving writes DOS (CR LF) breaks");
}

TEST_F(HostTest, ExitListsTheModifiedDocumentsInOneSaveDialog) {
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

TEST_F(HostTest, RecentFilesKeepNewestFirstWithoutDuplicatesAndPersist) {
  RecentFiles recent;
  recent.Load();
  for (int i = 0; i < RecentFiles::kMaxFiles + 2; ++i) recent.Add("/f" + std::to_string(i));
  recent.Add("/f5");
  recent.Add("");
  using Files = std::vector<std::string>;
  EXPECT_EQ(recent.Files(), (Files{"/f5", "/f9", "/f8", "/f7", "/f6", "/f4", "/f3", "/f2"}));

  recent.Remove("/f9");
  RecentFiles again;
  again.Load();
  EXPECT_EQ(again.Files(), (Files{"/f5", "/f8", "/f7", "/f6", "/f4", "/f3", "/f2"}));
}

// A shorter list of open files stored after a longer one reads back without the old tail.
TEST_F(HostTest, SessionKeepsGeometryAndOpenFiles) {
  Session s;
  s.x = 40, s.y = 30, s.width = 1000, s.height = 700, s.maximized = true;
  s.files = {"/a.sp", "/b.log", "/c.txt"};
  s.current = 2;
  s.Store();
  s.files = {"/d.drc"};
  s.current = 0;
  s.maximized = false;
  s.Store();
  const Session back = Session::Load();
  EXPECT_EQ(back.height, 700);
  EXPECT_FALSE(back.maximized);
  EXPECT_EQ(back.files, std::vector<std::string>({"/d.drc"}));
  EXPECT_EQ(back.current, 0);
}

TEST_F(HostTest, DocumentOpensSavesAndReportsItsTypeAndTitleAndAMissingFileOpensNothing) {
  const std::string path = dir.Write("inv.sp", "* inverter\r\nM1 a b c d pch\r\n.end\r\n");
  PadDocument doc;
  ASSERT_EQ(doc.OnOpenDocument(path.c_str()), 1);
  EXPECT_EQ(doc.GetTitle(), "inv.sp");
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_SPICE);
  doc.SetDocumentType(quill::DOCTYPE_LIBERTY);  // the user's choice holds until cleared
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_LIBERTY);
  doc.SetDocumentType(quill::DOCTYPE_NONE);

  int endLine = 0, endChar = 0;
  doc.GetTextBuffer().InsertText(nullptr, 2, 0, "* x\r\n", endLine, endChar);
  const std::string copy = dir.Path("copy.c");
  ASSERT_EQ(doc.DoSave(copy.c_str(), 1), 1);
  EXPECT_EQ(quill_test::ReadAll(copy), "* inverter\r\nM1 a b c d pch\r\n* x\r\n.end\r\n");
  EXPECT_EQ(doc.GetDocumentType(), quill::DOCTYPE_CPP);
  EXPECT_FALSE(doc.GetTextBuffer().IsModified());

  // A missing file leaves an empty text document.
  PadDocument fresh;
  ASSERT_EQ(fresh.OnNewDocument(), 1);
  EXPECT_EQ(fresh.GetDocumentType(), quill::DOCTYPE_TEXT);
  EXPECT_EQ(fresh.OnOpenDocument(dir.Path("nope.sp").c_str()), 0);
  EXPECT_EQ(fresh.GetPathName(), "");
  EXPECT_EQ(fresh.GetTextBuffer().GetLineCount(), 1);
}

}  // namespace
}  // namespace quillpad
