// Files changed outside: the views' last-write times, silent reloads, and the check-list
// dialog in its reload, save and plain forms, run on the headless dialog runner.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "../support/temp_dir.h"
#include "documents/document.h"
#include "documents/document_locking.h"
#include "dialogs/check_list_dialog.h"
#include "platform/headless/headless_dialog_runner.h"
#include "resources/dlg_checklist.h"
#include "view/input_fixture.h"

namespace quill {
namespace {

using testing::ProbeView;

// A document of type Doc open on a file, with one view.
template <typename Doc = QuillDocument>
struct Open {
  explicit Open(const std::string& path) {
    doc.OnOpenDocument(path.c_str());
    doc.SetPathName(path);
    view.SetDocument(&doc);
    view.OnInitialUpdate();
  }
  ~Open() { view.DetachFromBuffer(); }
  std::string Text() { return testing::Joined(doc.GetTextBuffer(), "\n"); }
  Doc doc;
  ProbeView view;
};

class OutsideChanges : public ::testing::Test {
 protected:
  quill_test::TempDir files;
  ScopedHeadlessDialogs dialogs;
};

TEST_F(OutsideChanges, TimestampsAndTheSilentReloadOfAnUpdateOrOfAPath) {
  Open a(files.WriteLater("a.sp", "one\ntwo\nthree\n"));
  EXPECT_FALSE(a.view.CheckTimestamp());
  a.view.m_ptCursorPos = CPoint(2, 2);
  testing::Insert(a.doc.GetTextBuffer(), 0, 0, "mine ");

  files.WriteLater("a.sp", "ONE\nTWO\nTHREE\nFOUR\n");
  EXPECT_TRUE(a.view.CheckTimestamp());
  a.view.OnUpdate(&a.view, 0, nullptr);  // a sender: not a check
  EXPECT_EQ(a.Text(), "mine one\ntwo\nthree\n");
  a.view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(a.Text(), "ONE\nTWO\nTHREE\nFOUR\n");
  EXPECT_FALSE(a.doc.GetTextBuffer().IsModified());
  EXPECT_EQ(a.view.GetCursorPos(), CPoint(2, 2));  // the caret keeps its line

  files.WriteLater("a.sp", "x");  // shorter: the caret goes to the last line there is
  a.view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(a.Text(), "x");
  EXPECT_EQ(a.view.GetCursorPos(), CPoint(1, 0));
  // The same size written again with the old modification time put back is a change too.
  // (A later clock tick: the file system's clock advances in ticks of a few milliseconds.)
  const auto written = std::filesystem::last_write_time(a.doc.GetPathName());
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  files.Write("a.sp", "y");
  std::filesystem::last_write_time(a.doc.GetPathName(), written);
  EXPECT_TRUE(a.view.CheckTimestamp());
  a.view.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(a.Text(), "y");

  // A view that never recorded a time does nothing; a deleted file counts as unchanged
  // and its text stays.
  Open b(files.WriteLater("b.sp", "b\n"));
  ProbeView fresh;
  fresh.SetDocument(&b.doc);
  files.WriteLater("b.sp", "changed\n");
  EXPECT_TRUE(fresh.CheckTimestamp());
  fresh.OnUpdate(nullptr, 0, nullptr);
  EXPECT_EQ(b.Text(), "b\n");
  std::filesystem::remove(b.doc.GetPathName());
  EXPECT_FALSE(b.view.CheckTimestamp());
  b.view.ReloadFromFile();
  EXPECT_EQ(b.Text(), "b\n");

  // UpdateDocumentView reloads plain documents of that exact path.
  const std::string held = files.WriteLater("held.rul", "held\n");
  Open<QuillDocumentLocking> locking(held);
  const std::string path = files.WriteLater("a.sp", "new\n");
  files.WriteLater("held.rul", "changed\n");
  a.view.UpdateDocumentView(path + "x");
  EXPECT_EQ(a.Text(), "y");
  a.view.UpdateDocumentView(path);
  EXPECT_EQ(a.Text(), "new\n");
  a.view.UpdateDocumentView(held);  // locking documents are not considered
  EXPECT_EQ(locking.Text(), "held\n");
}

TEST_F(OutsideChanges, ReloadWhatStaysCheckedAndOtherwiseOnlyRecordTheTimes) {
  Open a(files.WriteLater("a.sp", "a\n"));
  Open b(files.WriteLater("b.sp", "b\n"));
  ProbeView second;  // a second view of a, now its document's first view
  second.SetDocument(&a.doc);
  second.OnInitialUpdate();
  files.WriteLater("a.sp", "A\n");
  files.WriteLater("b.sp", "B\n");

  TCheckListDialog reload(TCheckListDialog::DLG_RELOAD, "Files changed", "Reload them?");
  reload.AddString(&a.doc, 1);
  reload.AddString(&b.doc, 1);
  dialogs.Push([&](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_MESSAGE), "Reload them?");
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not Reload");
    s.Press(IDC_CHECKLIST_UNCHECKALL);
    EXPECT_EQ(host.GetDlgItemText(IDOK), "Continue");
    EXPECT_FALSE(host.IsDlgItemEnabled(IDC_CHECKLIST_DONOT));
    s.Press(IDC_CHECKLIST_CHECKALL);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 1);  // the user keeps b as it is
    EXPECT_TRUE(host.IsDlgItemEnabled(IDC_CHECKLIST_DONOT));
    reload.CheckItem(0, 0);  // the list's check box only
    EXPECT_EQ(reload.GetString(0), 1);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 0);
    s.Press(IDOK);
  });
  EXPECT_EQ(reload.DoModal(), IDOK);
  EXPECT_EQ(a.Text(), "A\n");
  EXPECT_EQ(b.Text(), "b\n");
  EXPECT_FALSE(second.CheckTimestamp());
  EXPECT_TRUE(a.view.CheckTimestamp());  // the other view of a still sees the change
  EXPECT_FALSE(b.view.CheckTimestamp());

  // Cancel, "Do Not Reload" and "Continue" (nothing checked) reload nothing and record
  // the times, until the file changes again.
  files.WriteLater("b.sp", "BB\n");
  const std::pair<int, int> kDeclines[] = {{1, IDCANCEL}, {1, IDC_CHECKLIST_DONOT}, {0, IDOK}};
  for (const auto& [check, button] : kDeclines) {
    TCheckListDialog again(TCheckListDialog::DLG_RELOAD, "Files changed", "");
    again.AddString(&b.doc, check);
    dialogs.Push([&](HeadlessDialogSession& s) { EXPECT_TRUE(s.Press(button)); });
    again.DoModal();
    EXPECT_EQ(b.Text(), "b\n");
    EXPECT_FALSE(b.view.CheckTimestamp());
    files.WriteLater("b.sp", "BBB\n");
    EXPECT_TRUE(b.view.CheckTimestamp());
  }
  second.DetachFromBuffer();
}

TEST_F(OutsideChanges, SaveAndPlainFormsLeaveTheFilesToTheHostTheListGrowsAndTipsShow) {
  Open a(files.WriteLater("a.sp", "a\n"));
  files.WriteLater("a.sp", "A\n");
  TCheckListDialog save(TCheckListDialog::DLG_SAVE, "Save", "");
  QuillDocument untitled, titled;
  titled.SetTitle("Untitled1");
  EXPECT_EQ(save.AddString(&untitled, 1), -1);  // neither a title nor a path
  EXPECT_EQ(save.AddString(&a.doc, 1), 0);
  EXPECT_EQ(save.AddString(&titled, 0), 1);
  EXPECT_EQ(save.CheckItem(0), 0);  // no window yet
  std::string text;
  EXPECT_EQ(save.GetString(0, &text), 1);
  EXPECT_EQ(text, a.doc.GetPathName());
  EXPECT_EQ(save.GetString(1, &text), 0);
  EXPECT_EQ(text, "Untitled1");
  for (int bad : {-1, save.GetCount()}) EXPECT_EQ(save.GetString(bad, &text), -1);
  dialogs.Push([&](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(host.GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not Save");
    const CRect list = host.GetDlgItemRect(IDC_CHECKLIST_LIST);
    s.Resize(host.GetClientRect().Width() + 100, host.GetClientRect().Height() + 50);
    EXPECT_EQ(host.GetDlgItemRect(IDC_CHECKLIST_LIST).Width(), list.Width() + 100);
    s.ToggleCheck(IDC_CHECKLIST_LIST, 1);
    s.Press(IDOK);
  });
  EXPECT_EQ(save.DoModal(), IDOK);
  EXPECT_EQ(a.Text(), "a\n");  // saving is the host's work
  EXPECT_TRUE(a.view.CheckTimestamp());
  EXPECT_EQ(save.GetString(0) + save.GetString(1), 2);

  // A form without button texts of its own; the tip shows an entry's text just below it.
  struct Plain : TCheckListDialog {
    Plain() : TCheckListDialog(7, "Pick", "") {}
    using TCheckListDialog::m_tip;
  } plain;
  plain.AddString(std::string(60, 'p'), 1);
  plain.AddString("", 0);
  dialogs.Push([&](HeadlessDialogSession& s) {
    EXPECT_EQ(s.Host().GetDlgItemText(IDOK), "");
    EXPECT_EQ(s.Host().GetDlgItemText(IDC_CHECKLIST_DONOT), "Do Not ");
    CRect rect;
    // Entries are 16 pixels high and text 7 pixels a byte on the headless host.
    EXPECT_EQ(plain.m_tip.GetItemInfo(CPoint(3, 5), rect, text), 0);
    EXPECT_EQ(text, std::string(60, 'p'));
    EXPECT_EQ(rect, CRect(0, 20, 420, 40));
    EXPECT_EQ(plain.m_tip.GetItemInfo(CPoint(3, 20), rect, text), -1);  // empty text
    EXPECT_EQ(plain.m_tip.GetItemInfo(CPoint(3, 60), rect, text), -1);  // below all
  });
  EXPECT_EQ(plain.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace quill
