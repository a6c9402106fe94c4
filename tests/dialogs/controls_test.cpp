// The control library over the headless dialog host: anchored layout, message box,
// check list, list tips and the font combo box; modal runs of template dialogs on the
// headless runner: what the template creates, how a script's actions reach the behaviour,
// and how a run ends.

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/dialog.h"
#include "platform/headless/headless_controls.h"
#include "platform/headless/headless_dialog_host.h"
#include "platform/headless/headless_dialog_runner.h"
#include "quill.h"

namespace quill {
namespace {

class ResizableLayoutTest : public ::testing::Test {
 protected:
  ResizableLayoutTest() {
    m_dialog.SetHost(&m_host);
    m_host.SetClientSize(200, 100);
    m_host.At(2).rect = CRect(10, 40, 190, 80);   // list filling the middle
    m_host.At(3).rect = CRect(140, 85, 190, 98);  // button at the bottom right
    m_host.At(4).rect = CRect(80, 40, 120, 60);   // centred label
    m_host.At(5).rect = CRect(10, 85, 60, 98);    // left half of a row
    m_dialog.OnInitDialog();
    m_dialog.AddAnchor(2, TOP_LEFT, BOTTOM_RIGHT);
    m_dialog.AddAnchor(3, BOTTOM_RIGHT);
    m_dialog.AddAnchor(4, MIDDLE_CENTER);
    m_dialog.AddAnchor(5, BOTTOM_LEFT, BOTTOM_CENTER);
  }
  void Resize(int cx, int cy) {
    m_host.SetClientSize(cx, cy);
    m_dialog.OnSize(0, cx, cy);
  }

  HeadlessDialogHost m_host;
  TResizableDialog m_dialog{112};
};

TEST_F(ResizableLayoutTest, AnchoredCornersKeepTheirDistances) {
  Resize(300, 160);
  EXPECT_EQ(m_host.GetDlgItemRect(2), CRect(10, 40, 290, 140));
  EXPECT_EQ(m_host.GetDlgItemRect(3), CRect(240, 145, 290, 158));
  // Centre moves from (100, 50) to (150, 80); the size stays.
  EXPECT_EQ(m_host.GetDlgItemRect(4), CRect(130, 70, 170, 90));
  // Bottom-centre moves from x 100 to 150: the right edge follows it.
  EXPECT_EQ(m_host.GetDlgItemRect(5), CRect(10, 145, 110, 158));
  EXPECT_EQ(m_dialog.GetMinTrackSize(), CSize(200, 100));

  // Odd sizes, the way back, and anchors removed or replaced.
  Resize(251, 133);  // centre (125, 66): truncated halves
  EXPECT_EQ(m_host.GetDlgItemRect(4), CRect(105, 56, 145, 76));
  Resize(200, 100);
  EXPECT_EQ(m_host.GetDlgItemRect(4), CRect(80, 40, 120, 60));
  m_dialog.RemoveAnchor(2);
  m_dialog.AddAnchor(3, TOP_LEFT);  // replaces its bottom-right anchor
  Resize(400, 300);
  EXPECT_EQ(m_host.GetDlgItemRect(2), CRect(10, 40, 190, 80));
  EXPECT_EQ(m_host.GetDlgItemRect(3), CRect(140, 85, 190, 98));
}

TEST(MessageBoxDialogTest, AnswersFromTheScriptAndRecordsTheBox) {
  ScopedMessageBoxPresenter boxes;
  boxes.QueueAnswer(IDNO);
  CMessageBoxDialog dialog(nullptr, "Save?", "", MB_YESNO | MB_ICONQUESTION | MBX_EXTENSION_1 |
                                                     MBX_EXTENSION_2, 0);
  EXPECT_EQ(dialog.DoModal(), IDNO);
  // Unscripted, a box answers with its first button.
  EXPECT_EQ(dialog.DoModal(), IDYES);
  EXPECT_EQ(CMessageBoxDialog(nullptr, "Done", "Caption", MB_OK, 0).DoModal(), IDOK);
  ASSERT_EQ(boxes.m_requests.size(), 3u);
  EXPECT_EQ(boxes.m_requests[0].text, "Save?");
  EXPECT_EQ(boxes.m_requests[0].style, 0x0C000024u);
  EXPECT_EQ(boxes.m_requests[2].caption, "Caption");
}

TEST(CheckListBoxTest, ChecksItemsAsTheFrameworkListDoes) {
  HeadlessDialogHost host;
  TCheckListBoxEx list;
  EXPECT_EQ(list.GetCount(), 0);  // unbound
  list.Attach(&host, 1000);
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) list.AddString(name);
  list.SetCheck(1, BST_CHECKED);
  list.SetCheck(2, BST_INDETERMINATE);  // two-state: checked
  list.SetCheck(7, BST_CHECKED);        // no such item
  EXPECT_EQ(list.GetCheck(2), BST_CHECKED);
  EXPECT_EQ(list.GetCheckedCount(), 2);
  list.SetCheckStyle(true);
  list.SetCheck(0, BST_INDETERMINATE);
  EXPECT_EQ(list.GetCheck(0), BST_INDETERMINATE);
  list.SetAllChecks(BST_UNCHECKED);
  EXPECT_EQ(list.GetCheckedCount(), 0);
  EXPECT_EQ(list.FindStringExact(-1, "b.txt"), 1);
  EXPECT_EQ(list.FindStringExact(1, "b.txt"), LB_ERR);
}

TEST(ListBoxTipTest, ShowsOnlyTextsWiderThanTheList) {
  HeadlessDialogHost host(16, 7);
  TCheckListBoxEx list;
  list.Attach(&host, 1000);
  host.At(1000).rect = CRect(0, 0, 70, 64);  // ten characters wide
  for (const char* text : {"short", "/a/rather/long/path/name.txt", ""}) list.AddString(text);
  CListBoxTipHandler tips;
  tips.Init(list);

  tips.OnMouseMove(CPoint(5, 20));
  ASSERT_TRUE(tips.IsTipVisible());
  EXPECT_EQ(tips.GetTipItem(), 1);
  EXPECT_EQ(tips.GetTipText(), "/a/rather/long/path/name.txt");
  EXPECT_EQ(tips.GetTipRect(), CRect(0, 16, 28 * 7, 32));
  tips.OnMouseLeave();
  EXPECT_FALSE(tips.IsTipVisible());
  for (int y : {5, 40, 60}) {  // a short text, an empty one, below the entries
    tips.OnMouseMove(CPoint(5, 20));
    tips.OnMouseMove(CPoint(5, y));
    EXPECT_FALSE(tips.IsTipVisible()) << y;
  }
}

class FixedFonts : public IFontList {
 public:
  std::vector<FontInfo> GetInstalledFonts() override {
    return {{"Verdana", false}, {"courier new", true}, {"Courier New", true}, {"", false}, {"Arial", false}};
  }
};

TEST(FontComboBoxTest, FillsInstalledFontsOnceSortedWithTheirPitch) {
  HeadlessDialogHost host;
  TFontComboBox fonts;
  fonts.Attach(&host, 8634);
  fonts.FillFonts();
  ASSERT_TRUE(fonts.SelectFont("courier NEW"));
  EXPECT_EQ(fonts.GetSelectedFont(), "Courier New");
  EXPECT_FALSE(fonts.SelectFont("Wingdings"));

  FixedFonts installed;
  SetFontList(&installed);
  fonts.FillFonts();  // the selection survives a refill
  SetFontList(nullptr);
  // One entry a name, none empty; the data says fixed pitch.
  std::vector<std::pair<std::string, unsigned long>> entries;
  for (int i = 0; i < fonts.GetCount(); ++i) entries.emplace_back(fonts.GetText(i), fonts.GetItemData(i));
  EXPECT_EQ(entries, (decltype(entries){{"Arial", 0}, {"courier new", 1}, {"Verdana", 0}}));
  EXPECT_EQ(fonts.GetSelectedFont(), "courier new");
}

enum { IDC_NAME = 100, IDC_UP, IDC_DOWN, IDC_WRAP, IDC_APPLY };

constexpr DialogItem kItems[] = {
    {IDC_NAME, DialogItemKind::Edit, "first", {48, 4, 100, 12}},
    {IDC_UP, DialogItemKind::RadioButton, "&Up", {4, 20, 40, 10}, DIS_GROUP},
    {IDC_DOWN, DialogItemKind::RadioButton, "&Down", {48, 20, 40, 10}},
    {IDC_WRAP, DialogItemKind::CheckBox, "&Wrap", {4, 34, 60, 10}, DIS_GROUP},
    {IDC_APPLY, DialogItemKind::PushButton, "&Apply", {4, 92, 40, 14}, DIS_DISABLED},
    {IDOK, DialogItemKind::DefPushButton, "OK", {60, 92, 40, 14}},
};
constexpr DialogTemplate kTemplate{9001, "Sample", {0, 0, 152, 110}, "MS Shell Dlg", 8, true, kItems};

// Records what reaches it; OK closes only once the name is not empty.
class Recorder : public CDialog {
 public:
  Recorder() : CDialog(kTemplate.id) {}
  std::vector<std::pair<int, int>> commands;
  std::string nameAtInit;

 protected:
  int OnInitDialog() override {
    nameAtInit = GetHost()->GetDlgItemText(IDC_NAME);
    return 1;
  }
  void OnCommand(IDialogHost& host, int nID, int nNotification) override {
    commands.emplace_back(nID, nNotification);
    if (nID == IDC_NAME) host.EnableDlgItem(IDC_APPLY, !host.GetDlgItemText(IDC_NAME).empty());
  }
  bool OnOK() override { return !GetHost()->GetDlgItemText(IDC_NAME).empty(); }
};

TEST(HeadlessDialogRunner, ScriptActionsReachTheBehaviourLikeAUsersWould) {
  ScopedHeadlessDialogs dialogs;
  Recorder dialog;
  dialogs.Push([&](HeadlessDialogSession& s) {
    HeadlessDialogHost& host = s.Host();
    EXPECT_EQ(dialog.GetHost(), &host);
    EXPECT_EQ(host.GetWindowText(), "Sample");
    // Dialog units at a 6 x 13 font: x * 6 / 4, y * 13 / 8.
    EXPECT_EQ(host.GetDlgItemRect(IDC_NAME), CRect(72, 6, 222, 25));

    EXPECT_FALSE(s.Press(IDC_APPLY));  // disabled in the template
    s.Type(IDC_NAME, "");
    s.Press(IDOK);  // refused: the name is empty
    EXPECT_FALSE(s.Ended());
    for (int id : {IDC_UP, IDC_DOWN, IDC_WRAP}) s.Press(id);
    EXPECT_EQ(host.IsDlgButtonChecked(IDC_UP), BST_UNCHECKED);
    EXPECT_EQ(host.IsDlgButtonChecked(IDC_DOWN), BST_CHECKED);
    EXPECT_EQ(host.IsDlgButtonChecked(IDC_WRAP), BST_CHECKED);  // another group
    s.Type(IDC_NAME, "second");
    EXPECT_TRUE(s.Press(IDC_APPLY));
    s.Press(IDOK);
    EXPECT_TRUE(s.Ended());
    EXPECT_FALSE(s.Press(IDCANCEL));  // the dialog is gone
  });
  EXPECT_EQ(dialogs.Runner().RunModal(kTemplate, dialog, nullptr), IDOK);

  EXPECT_EQ(dialog.GetHost(), nullptr);
  EXPECT_EQ(dialog.nameAtInit, "first");
  const std::vector<std::pair<int, int>> expected = {
      {IDC_NAME, EN_CHANGE}, {IDC_UP, BN_CLICKED},   {IDC_DOWN, BN_CLICKED},
      {IDC_WRAP, BN_CLICKED}, {IDC_NAME, EN_CHANGE}, {IDC_APPLY, BN_CLICKED}};
  EXPECT_EQ(dialog.commands, expected);

  // Unscripted runs cancel, and every run is recorded.
  Recorder unscripted;
  EXPECT_EQ(dialogs.Runner().RunModal(kTemplate, unscripted, nullptr), IDCANCEL);
  CDialog unknown(4242), listed(112);
  EXPECT_EQ(unknown.DoModal(), -1);  // no such template: nothing runs
  EXPECT_EQ(listed.DoModal(), IDCANCEL);
  EXPECT_EQ(dialogs.Runner().Runs(), (std::vector<unsigned>{9001, 9001, 112}));
}

}  // namespace
}  // namespace quill
