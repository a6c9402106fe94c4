// Modal runs of template dialogs on the headless runner: what the template creates, how
// a script's actions reach the behaviour, and how a run ends.

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/dialog.h"
#include "platform/headless/headless_dialog_runner.h"

namespace quill {
namespace {

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
}

TEST(HeadlessDialogRunner, UnscriptedRunsCancelAndEveryRunIsRecorded) {
  ScopedHeadlessDialogs dialogs;
  Recorder first;
  EXPECT_EQ(dialogs.Runner().RunModal(kTemplate, first, nullptr), IDCANCEL);
  CDialog unknown(4242), listed(112);
  EXPECT_EQ(unknown.DoModal(), -1);  // no such template: nothing runs
  EXPECT_EQ(listed.DoModal(), IDCANCEL);
  EXPECT_EQ(dialogs.Runner().Runs(), (std::vector<unsigned>{9001, 112}));
}

}  // namespace
}  // namespace quill
