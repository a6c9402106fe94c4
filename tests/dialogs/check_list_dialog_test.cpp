// Files changed outside: the views' last-write times, silent reloads, and the check-list
// dialog in its reload, save and plain forms, run on the headless dialog runner.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "buffer/document.h"
#include "buffer/document_locking.h"
#include "dialogs/check_list_dialog.h"
#include "platform/headless/headless_dialog_runner.h"
#include "platform/headless/headless_window.h"
#include "resources/dlg_checklist.h"
#include "view/quill_view.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

class DocView : public QuillView {
 public:
  QuillTextBuffer* LocateTextBuffer() override {
    auto* doc = dynamic_cast<QuillBufferDocument*>(GetDocument());
    return doc ? &doc->GetTextBuffer() : nullptr;
  }
  void PlaceCaret(CPoint pt) { m_ptCursorPos = m_ptSelStart = m_ptSelEnd = pt; }
};

// Writes a file and moves its last-write time on by a second each time, so that every
// write is seen as a change however fast the file system's clock ticks.
class Files {
 public:
  Files() : m_dir(fs::temp_directory_path() / ("quill_outside_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    fs::create_directories(m_dir);
  }
  ~Files() {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = (m_dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(++m_nTick));
    return path;
  }

 private:
  fs::path m_dir;
  int m_nTick = 0;
};

// A plain document open on a file with one view.
struct Open {
  Open(const std::string& path) {
    doc.OnOpenDocument(path.c_str());
    doc.SetPathName(path);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
  }
  ~Open() { view.DetachFromBuffer(); }
  std::string Text() {
    std::string text;
    QuillTextBuffer& b = doc.GetTextBuffer();
    b.GetText(0, 0, b.GetLineCount() - 1, b.GetLineLength(b.GetLineCount() - 1), text, "\n");
    return text;
  }
  QuillDocument doc;
  DocView view;
};

class OutsideChanges : public ::testing::Test {
 protected:
  Files files;
  ScopedHeadlessDialogs dialogs;
};

TEST_F(OutsideChanges, TimestampsAndTheSilentReloadOfAnUpdate) {
  Open a(files.Write("a.sp", "one\ntwo\nthree\n"));
  EXPECT_FALSE(a.view.CheckTimestamp());
  a.view.PlaceCaret(CPoint(2, 2));
  int endLine, endChar;
  a.doc.GetTextBuffer().InsertText(nullptr, 0, 0, "mine ", endLine, endChar);

  files.Write("a.sp", "ONE\nTWO\nTHREE\nFOUR\n");
  EXPECT_TRUE(a.view.CheckTimestamp());
  a.view.OnUpdate(&a.view, 0, nullptr);  // a sender: not a check
  EXPECT_EQ(a.Text(), "mine one\ntwo\nthree\n");
  a.view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(a.Text(), "ONE\nTWO\nTHREE\nFOUR\n");
  EXPECT_FALSE(a.doc.GetTextBuffer().IsModified());
  EXPECT_FALSE(a.view.CheckTimestamp());
  EXPECT_EQ(a.view.GetCursorPos(), CPoint(2, 2));  // the caret keeps its line

  // A shorter file: the caret goes to the last line there is.
  files.Write("a.sp", "x");
  a.view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(a.Text(), "x");
  EXPECT_EQ(a.view.GetCursorPos(), CPoint(1, 0));

  // A view that never recorded a time does nothing; a deleted file counts as unchanged.
  Open b(files.Write("b.sp", "b\n"));
  DocView fresh;
  fresh.SetDocument(&b.doc);
  files.Write("b.sp", "changed\n");
  EXPECT_TRUE(fresh.CheckTimestamp());
  fresh.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(b.Text(), "b\n");
  fs::remove(b.doc.GetPathName());
  EXPECT_FALSE(b.view.CheckTimestamp());
  b.view.ReloadFromFile();  // keeps the text it cannot replace
  EXPECT_EQ(b.Text(), "b\n");
}

TEST_F(OutsideChanges, UpdateDocumentViewReloadsPlainDocumentsOfThatExactPath) {
  const std::string path = files.Write("deck.rul", "old\n");
  Open plain(path);
  const std::string held = files.Write("held.rul", "held\n");
  QuillDocumentLocking locking;
  ASSERT_TRUE(locking.OnOpenDocument(held.c_str()));
  locking.SetPathName(held);
  DocView lockingView;
  lockingView.SetDocument(&locking);
  lockingView.OnInitialUpdate();

  files.Write("deck.rul", "new\n");
  files.Write("held.rul", "changed\n");
  plain.view.UpdateDocumentView(path + "x");
  EXPECT_EQ(plain.Text(), "old\n");
  plain.view.UpdateDocumentView(path);
  EXPECT_EQ(plain.Text(), "new\n");
  EXPECT_FALSE(plain.view.CheckTimestamp());
  plain.view.UpdateDocumentView(held);  // locking documents are not considered
  EXPECT_TRUE(lockingView.CheckTimestamp());
  EXPECT_EQ(locking.GetTextBuffer().GetLineLength(0), 4);
  lockingView.DetachFromBuffer();
}

TEST_F(OutsideChanges, ItemsOfTheDialog) {
  TCheckListDialog dialog(TCheckListDialog::DLG_SAVE, "Save", "Save these?");
  QuillDocument untitled, titled, named;
  titled.SetTitle("Untitled1");
  named.SetPathName("/tmp/x.sp", false);
  EXPECT_EQ(dialog.AddString(&untitled, 1), -1);
  EXPECT_EQ(dialog.AddString(&titled, 1), 0);
  EXPECT_EQ(dialog.AddString(&named, 0), 1);
  EXPECT_EQ(dialog.GetCount(), 2);
  std::string text;
  EXPECT_EQ(dialog.GetString(0, &text), 1);
  EXPECT_EQ(text, "Untitled1");
  EXPECT_EQ(dialog.GetString(1, &text), 0);
  EXPECT_EQ(text, "/tmp/x.sp");
  for (int bad : {-1, dialog.GetCount()}) EXPECT_EQ(dialog.GetString(bad, &text), -1);
  EXPECT_EQ(dialog.CheckItem(0), 0);  // no window yet
}

TEST_F(OutsideChanges, AllUncheckedShowsContinueWhichReloadsNothingButRecordsTheTimes) {
  Open a(files.Write("a.sp", "a\n"));
  Open b(files.Write("b.sp", "b\n"));
  files.Write("a.sp", "A\n");
  files.Write("b.sp", "B\n");

  TCheckListDialog dialog(TCheckListDialog::DLG_RELOAD, "Files changed", "Reload them?");
  dialog.AddString(&a.doc, 0);
  dialog.AddString(&b.doc, 0);
  dialogs.Push([](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(host.GetWindowText(), "Files changed");
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_MESSAGE), "Reload them?");
    EXPECT_EQ(host.GetCount(IDC_CHECKLIST_LIST), 2);
    EXPECT_EQ(host.GetDlgItemText(IDOK), "Continue");
    EXPECT_FALSE(host.IsDlgItemEnabled(IDC_CHECKLIST_DONOT));
    EXPECT_TRUE(host.IsDlgItemEnabled(IDC_CHECKLIST_CHECKALL));
    s.Press(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(a.Text(), "a\n");
  EXPECT_EQ(b.Text(), "b\n");
  EXPECT_FALSE(a.view.CheckTimestamp());
  EXPECT_FALSE(b.view.CheckTimestamp());
}

TEST_F(OutsideChanges, ReloadOnlyWhatStaysCheckedAndCancelOnlyRecords) {
  Open a(files.Write("a.sp", "a\n"));
  Open b(files.Write("b.sp", "b\n"));
  DocView second;  // a second view of a: its time is not the dialog's business
  second.SetDocument(&a.doc);
  second.OnInitialUpdate();  // now the first view of a
  files.Write("a.sp", "A\n");
  files.Write("b.sp", "B\n");

  TCheckListDialog reload(TCheckListDialog::DLG_RELOAD, "Files changed", "");
  reload.AddString(&a.doc, 1);
  reload.AddString(&b.doc, 1);
  dialogs.Push([&](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(host.GetDlgItemText(IDOK), "Reload");
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not Reload");
    s.Press(IDC_CHECKLIST_UNCHECKALL);
    EXPECT_EQ(host.GetDlgItemText(IDOK), "Continue");
    s.Press(IDC_CHECKLIST_CHECKALL);
    EXPECT_EQ(reload.CheckItem(1), 1);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 1);  // the user keeps b as it is
    EXPECT_EQ(reload.GetString(1), 0);
    EXPECT_TRUE(host.IsDlgItemEnabled(IDC_CHECKLIST_DONOT));
    reload.CheckItem(0, 0);  // the list's check box only
    EXPECT_EQ(reload.CheckItem(0), 0);
    EXPECT_EQ(reload.GetString(0), 1);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 0);
    EXPECT_EQ(host.GetDlgItemText(IDOK), "Reload");
    s.Press(IDOK);
  });
  EXPECT_EQ(reload.DoModal(), IDOK);
  EXPECT_EQ(a.Text(), "A\n");
  EXPECT_EQ(b.Text(), "b\n");
  EXPECT_FALSE(second.CheckTimestamp());
  EXPECT_TRUE(a.view.CheckTimestamp());  // the second view still sees the change
  EXPECT_FALSE(b.view.CheckTimestamp());

  files.Write("b.sp", "BB\n");
  for (int button : {IDCANCEL, IDC_CHECKLIST_DONOT}) {
    TCheckListDialog again(TCheckListDialog::DLG_RELOAD, "Files changed", "");
    again.AddString(&b.doc, 1);
    dialogs.Push([button](HeadlessDialogSession& s) { s.Press(button); });
    EXPECT_EQ(again.DoModal(), button == IDCANCEL ? IDCANCEL : IDOK);
    EXPECT_EQ(b.Text(), "b\n");
    EXPECT_FALSE(b.view.CheckTimestamp());
    EXPECT_EQ(again.GetString(0), button == IDCANCEL ? 1 : 0);
    files.Write("b.sp", "BBB\n");
    EXPECT_TRUE(b.view.CheckTimestamp());  // until the file changes again
  }
  second.DetachFromBuffer();
}

TEST_F(OutsideChanges, SaveFormLeavesTheFilesToTheHostAndTheListResizes) {
  Open a(files.Write("a.sp", "a\n"));
  files.Write("a.sp", "A\n");
  TCheckListDialog save(TCheckListDialog::DLG_SAVE, "Save", "");
  save.AddString(&a.doc, 1);
  save.AddString("Untitled2", 0);
  dialogs.Push([&](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not Save");
    const CRect list = host.GetDlgItemRect(IDC_CHECKLIST_LIST);
    const CRect ok = host.GetDlgItemRect(IDOK);
    const CRect client = host.GetClientRect();
    s.Resize(client.Width() + 100, client.Height() + 50);
    EXPECT_EQ(host.GetDlgItemRect(IDC_CHECKLIST_LIST).Width(), list.Width() + 100);
    EXPECT_EQ(host.GetDlgItemRect(IDOK).top, ok.top + 50);
    EXPECT_EQ(host.GetDlgItemRect(IDOK).left, ok.left);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 1);
    s.Press(IDOK);
  });
  EXPECT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(a.Text(), "a\n");  // saving is the host's work
  EXPECT_TRUE(a.view.CheckTimestamp());
  EXPECT_EQ(save.GetString(0) + save.GetString(1), 2);

  TCheckListDialog plain(7, "Pick", "");
  plain.AddString("x", 1);
  dialogs.Push([](HeadlessDialogSession& s) {
    EXPECT_EQ(s.Host().GetDlgItemText(IDOK), "");
    EXPECT_EQ(s.Host().GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not ");
  });
  EXPECT_EQ(plain.DoModal(), IDCANCEL);
}

TEST_F(OutsideChanges, TipsShowAnEntrysTextJustBelowIt) {
  struct Probe : TCheckListDialog {
    Probe() : TCheckListDialog(DLG_PLAIN, "", "") {}
    using TCheckListDialog::m_tip;
  } dialog;
  dialog.AddString(std::string(60, 'p'), 0);
  dialog.AddString("", 0);
  dialogs.Push([&](HeadlessDialogSession& s) {
    CRect rect;
    std::string text;
    // Entries are 16 pixels high and text 7 pixels a byte on the headless host.
    EXPECT_EQ(dialog.m_tip.GetItemInfo(CPoint(3, 5), rect, text), 0);
    EXPECT_EQ(text, std::string(60, 'p'));
    EXPECT_EQ(rect, CRect(0, 20, 420, 40));
    EXPECT_EQ(dialog.m_tip.GetItemInfo(CPoint(3, 20), rect, text), -1);  // empty text
    EXPECT_EQ(dialog.m_tip.GetItemInfo(CPoint(3, 60), rect, text), -1);  // below all
    (void)s;
  });
  dialog.DoModal();
}

}  // namespace
}  // namespace quill
