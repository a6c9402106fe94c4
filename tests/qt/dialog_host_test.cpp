// The dialog host on real widgets, driven by the control library's own classes; the file
// prompt's name filters.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/qt_dialog_host.h"
#include "qt/qt_file_prompt.h"

namespace quill::qt {
namespace {

enum { IDC_NAME = 1001, IDC_CASE, IDC_TYPES, IDC_FILES, IDC_OK };

class DialogHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&dialog);
    int id = IDC_NAME;
    for (QWidget* w : std::initializer_list<QWidget*>{name, matchCase, types, files, ok}) {
      layout->addWidget(w);
      host.Bind(id++, w);
    }
  }

  QDialog dialog;
  QLineEdit* name = new QLineEdit(&dialog);
  QCheckBox* matchCase = new QCheckBox(QStringLiteral("Match case"), &dialog);
  QComboBox* types = new QComboBox(&dialog);
  QListWidget* files = new QListWidget(&dialog);
  QPushButton* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  QtDialogHost host{&dialog};
};

TEST_F(DialogHostTest, TextsAndButtons) {
  host.SetDlgItemText(IDC_NAME, "caf\xE9 \x80");
  EXPECT_EQ(name->text(), QString::fromUtf8("caf\u00E9 \u20AC"));
  name->setText(QString::fromUtf8("\u03A9 ok"));
  EXPECT_EQ(host.GetDlgItemText(IDC_NAME), "? ok");
  EXPECT_EQ(host.GetDlgItemText(IDC_OK), "OK");
  EXPECT_EQ(host.GetDlgItemText(4711), "");  // no such control
  // A UTF-8 document's dialog reads and writes its texts as UTF-8, history items included.
  host.SetTextEncoding(ENCODING_UTF8);
  EXPECT_EQ(host.GetDlgItemText(IDC_NAME), "\xCE\xA9 ok");
  host.AddString(IDC_TYPES, "\xC2\xB5");
  EXPECT_EQ(types->itemText(0), QString::fromUtf8("\u00B5"));
  types->clear();
  host.SetTextEncoding(ENCODING_WINDOWS_1252);

  host.CheckDlgButton(IDC_CASE, BST_CHECKED);
  EXPECT_TRUE(matchCase->isChecked());
  host.CheckDlgButton(IDC_CASE, BST_INDETERMINATE);
  EXPECT_EQ(host.IsDlgButtonChecked(IDC_CASE), BST_INDETERMINATE);
  host.EnableDlgItem(IDC_OK, false);
  EXPECT_FALSE(ok->isEnabled());
}

TEST_F(DialogHostTest, ComboItemsSelectionAndData) {
  for (const char* type : {"SPICE", "TEXT"}) host.AddString(IDC_TYPES, type);
  EXPECT_EQ(host.InsertString(IDC_TYPES, 0, "CPP"), 0);
  EXPECT_EQ(host.InsertString(IDC_TYPES, 9, "x"), CB_ERR);
  EXPECT_EQ(host.SetItemData(IDC_TYPES, 1, 5), 0);
  EXPECT_EQ(host.GetItemData(IDC_TYPES, 1), 5u);
  EXPECT_EQ(host.SetCurSel(IDC_TYPES, 2), 2);
  EXPECT_EQ(host.GetDlgItemText(IDC_TYPES), "TEXT");
  EXPECT_EQ(host.SetCurSel(IDC_TYPES, 7), CB_ERR);
  EXPECT_EQ(host.GetCurSel(IDC_TYPES), CB_ERR);
  EXPECT_EQ(host.DeleteString(IDC_TYPES, 0), 2);  // the count left
}

TEST_F(DialogHostTest, GeometryFocusAndEnd) {
  dialog.resize(300, 400);
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(host.GetClientRect(), CRect(0, 0, 300, 400));
  host.MoveDlgItem(IDC_OK, CRect(10, 350, 90, 380));
  EXPECT_EQ(host.GetDlgItemRect(IDC_OK), CRect(10, 350, 90, 380));
  // List items have rectangles on screen, and texts a width in the list's font.
  for (const char* file : {"a.sp", "b.sp"}) host.AddString(IDC_FILES, file);
  CRect item;
  ASSERT_TRUE(host.GetListItemRect(IDC_FILES, 1, item));
  EXPECT_GT(item.Height(), 0);
  EXPECT_FALSE(host.GetListItemRect(IDC_FILES, 2, item));
  EXPECT_GT(host.GetTextWidth(IDC_FILES, "MMMM"), host.GetTextWidth(IDC_FILES, "M"));

  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  host.SetFocus(IDC_TYPES);
  EXPECT_EQ(host.GetFocus(), IDC_TYPES);

  QTimer::singleShot(0, &dialog, [this] { host.EndDialog(42); });
  EXPECT_EQ(dialog.exec(), 42);
}

// The file prompt's name filters and where it starts.
TEST(QtFilePrompt, NameFiltersAndStartFolder) {
  EXPECT_EQ(NameFiltersOf("Text files (*.txt)|*.txt|All files (*.*)|*.*||"),
            QStringList({"Text files (*.txt)", "All files (*.*)"}));
  // The patterns decide what the dialog lists, not the description's parentheses.
  EXPECT_EQ(NameFiltersOf("Styles (*.syn)|*.syn;*.style||"), QStringList({"Styles (*.syn *.style)"}));
  EXPECT_EQ(NameFiltersOf("Netlists|*.sp;*.cir"), QStringList({"Netlists (*.sp *.cir)"}));
  EXPECT_TRUE(NameFiltersOf("dangling").isEmpty());
  // A prompt never starts in a pseudo file system, where listing entries can block.
  for (const char* pseudo : {"/proc/self/status", "/sys/kernel", "/dev/null"})
    EXPECT_EQ(SafeStartFolder(pseudo), QDir::homePath()) << pseudo;
  EXPECT_EQ(SafeStartFolder(QDir::tempPath() + "/x.sp"), QDir::tempPath());
}

}  // namespace
}  // namespace quill::qt
