// quillpad's window and a file changed by another program: the reload dialog on real
// widgets, and what the user sees after pressing Reload.

#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>

#include <cstdio>

#include "resources/dlg_checklist.h"
#include "settings/registry.h"
#include "window_fixture.h"

namespace quillpad {
namespace {

using OutsideWindow = WindowTest;

TEST_F(OutsideWindow, ComingBackToTheWindowOffersTheReloadOfAChangedFile) {
  quill::SetRegistryAutoLoad(quill::AUTOLOAD_OFF);
  const std::string path = m_dir.WriteLater("inv.sp", "* old title\n.end\n");
  ASSERT_TRUE(m_window->OpenFile(QString::fromStdString(path)));
  m_dir.WriteLater("inv.sp", "* new title\nM1 d g s b nch\n.end\n");

  quill::qt::QtDialogRunner* runner = quill::qt::GetQtDialogRunner();
  QStringList listed;
  runner->SetDialogHook([&](quill::qt::QtTemplateDialog& dialog) {
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle().toStdString(), kChangedFilesTitle);
    auto* list = qobject_cast<QListWidget*>(dialog.Control(quill::IDC_CHECKLIST_LIST));
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    auto* reload = qobject_cast<QPushButton*>(dialog.Control(quill::IDOK));
    EXPECT_EQ(reload->text(), QStringLiteral("Reload"));
    reload->click();
  });
  // The user comes back from the other program.
  QApplication::setActiveWindow(m_window.get());
  QElapsedTimer wait;
  wait.start();
  while (runner->DialogCount() == 0 && wait.elapsed() < 2000) QApplication::processEvents();
  EXPECT_EQ(runner->DialogCount(), 1);
  runner->SetDialogHook(nullptr);
  EXPECT_EQ(listed, QStringList{QString::fromStdString(path)});
  ASSERT_EQ(m_window->ActiveView()->GetLineCount(), 4);
  EXPECT_EQ(Line(0), "* new title");
  EXPECT_FALSE(m_window->ActiveDocument()->GetTextBuffer().IsModified());
  EXPECT_FALSE(m_window->ActiveDocument()->ChangedOutside());  // a save now asks nothing
}

// A file deleted outside: Ctrl+S writes it again where it was, as the message promised,
// without asking for a name; the "Saved" message goes when another tab is shown.
TEST_F(OutsideWindow, CtrlSWritesADeletedFileAgainAndATabSwitchClearsTheMessage) {
  ASSERT_TRUE(m_window->OpenFile(Write("a.sp", "* a\n.end\n")));
  const QString path = Write("b.sp", "* b\n.end\n");
  ASSERT_TRUE(m_window->OpenFile(path));
  std::remove(path.toLocal8Bit().constData());
  m_window->CheckOutsideChanges();
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].find("saving it writes the file again"), std::string::npos);

  ScopedPrompt scripted;
  QTest::keyClick(FocusEditor(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(scripted.prompt->Requests().empty());
  EXPECT_EQ(quill_test::ReadAll(path.toStdString()), "* b\n.end\n");
  EXPECT_FALSE(m_window->ActiveDocument()->GetTextBuffer().IsModified());
  EXPECT_EQ(Pane(0), "Saved " + path.toStdString());
  m_window->SetCurrentDocument(0);
  EXPECT_EQ(Pane(0), "Ready");
}

}  // namespace
}  // namespace quillpad
