// Dialogs built from templates on real widgets: what the builder makes of a template and
// how a user's clicks and keys reach the behaviour.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <vector>

#include "dialogs/dialog.h"
#include "platform/app_services.h"
#include "qt/qt_dialog_builder.h"

namespace quill::qt {
namespace {

enum { IDC_NAME = 100, IDC_UP, IDC_DOWN, IDC_FILES, IDC_APPLY };

constexpr DialogItem kItems[] = {
    {IDC_STATIC, DialogItemKind::Static, "&Name:", {4, 4, 40, 8}},
    {IDC_NAME, DialogItemKind::Edit, "", {48, 4, 100, 12}},
    {IDC_UP, DialogItemKind::RadioButton, "&Up", {4, 20, 40, 10}, DIS_GROUP},
    {IDC_DOWN, DialogItemKind::RadioButton, "&Down", {48, 20, 40, 10}},
    {IDC_FILES, DialogItemKind::CheckListBox, "", {4, 34, 140, 40}, DIS_GROUP},
    {IDC_APPLY, DialogItemKind::PushButton, "&Apply", {4, 80, 40, 14}, DIS_DISABLED},
    {IDOK, DialogItemKind::DefPushButton, "OK", {60, 80, 40, 14}},
    {IDCANCEL, DialogItemKind::PushButton, "Cancel", {104, 80, 40, 14}},
};

class Recorder : public CDialog {
 public:
  explicit Recorder() : CDialog(0) {}
  std::vector<std::pair<int, int>> commands;
  int cancelAsked = 0;

 protected:
  int OnInitDialog() override {
    GetHost()->SetDlgItemText(IDC_NAME, "set by the dialog");  // notifies nobody
    GetHost()->AddString(IDC_FILES, "a.sp");
    GetHost()->AddString(IDC_FILES, "b.sp");
    GetHost()->SetItemCheck(IDC_FILES, 0, BST_CHECKED);
    return 1;
  }
  void OnCommand(IDialogHost& host, int nID, int nNotification) override {
    commands.emplace_back(nID, nNotification);
    if (nID == IDC_NAME) host.EnableDlgItem(IDC_APPLY, true);
  }
  bool OnCancel() override { return ++cancelAsked > 1; }
};

template <typename T>
T* Widget(QtTemplateDialog& dialog, int nID) {
  return qobject_cast<T*>(dialog.Control(nID));
}

TEST(QtDialogBuilder, BuildsTheTemplateAndRoutesWhatTheUserDoes) {
  for (bool resizable : {false, true}) {
    const DialogTemplate dialogTemplate{9001, "Sample", {0, 0, 152, 100}, "MS Shell Dlg", 8,
                                        resizable, kItems};
    QtDialogRunner runner;
    Recorder behaviour;
    runner.SetDialogHook([&](QtTemplateDialog& dialog) {
      const QSize base = dialog.BaseUnits();
      auto* name = Widget<QLineEdit>(dialog, IDC_NAME);
      ASSERT_NE(name, nullptr);
      EXPECT_EQ(name->geometry(), QRect(48 * base.width() / 4, 4 * base.height() / 8,
                                        100 * base.width() / 4, 12 * base.height() / 8));
      EXPECT_EQ(name->text(), QStringLiteral("set by the dialog"));
      // The label names the edit that follows it.
      const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
      ASSERT_EQ(labels.size(), 1);
      EXPECT_EQ(labels[0]->buddy(), name);
      EXPECT_TRUE(Widget<QPushButton>(dialog, IDOK)->isDefault());
      EXPECT_EQ(dialog.minimumSize() == dialog.maximumSize(), !resizable);

      auto* apply = Widget<QPushButton>(dialog, IDC_APPLY);
      QTest::mouseClick(apply, Qt::LeftButton);  // disabled: nothing
      QTest::keyClick(name, Qt::Key_X);
      EXPECT_TRUE(apply->isEnabled());
      QTest::mouseClick(apply, Qt::LeftButton);
      Widget<QRadioButton>(dialog, IDC_UP)->click();
      Widget<QRadioButton>(dialog, IDC_DOWN)->click();
      EXPECT_FALSE(Widget<QRadioButton>(dialog, IDC_UP)->isChecked());
      auto* files = Widget<QListWidget>(dialog, IDC_FILES);
      EXPECT_EQ(files->item(0)->checkState(), Qt::Checked);
      files->item(1)->setCheckState(Qt::Checked);  // as a click on the check box does
      EXPECT_EQ(files->currentRow(), 1);
      EXPECT_EQ(dialog.Host().GetItemCheck(IDC_FILES, 1), BST_CHECKED);

      if (resizable) {  // Enter presses the default button
        QTest::keyClick(name, Qt::Key_Return);
        return;
      }
      QTest::keyClick(&dialog, Qt::Key_Escape);  // refused once
      EXPECT_TRUE(dialog.isVisible());
      QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(runner.RunModal(dialogTemplate, behaviour, nullptr), resizable ? IDOK : IDCANCEL);
    EXPECT_EQ(behaviour.cancelAsked, resizable ? 0 : 2);
    const std::vector<std::pair<int, int>> expected = {
        {IDC_NAME, EN_CHANGE}, {IDC_APPLY, BN_CLICKED}, {IDC_UP, BN_CLICKED},
        {IDC_DOWN, BN_CLICKED}, {IDC_FILES, CLBN_CHKCHANGE}};
    EXPECT_EQ(behaviour.commands, expected);
    EXPECT_EQ(behaviour.GetHost(), nullptr);
  }
}

}  // namespace
}  // namespace quill::qt
