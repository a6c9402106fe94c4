// quillpad's main window: files in tabs, the status bar, the menus and the keys.

#include <QScreen>

#include <climits>

#include "platform/format.h"
#include "session.h"
#include "view/command_ids.h"
#include "window_fixture.h"

namespace quillpad {
namespace {

TEST_F(WindowTest, OpensEachFileOnceInTheViewOfItsType) {
  const QString net = Write("inv.sp", "title\n.end\n");
  ASSERT_TRUE(m_window->OpenFile(net));
  ASSERT_TRUE(m_window->OpenFile(Write("rules.svrf", "LAYER M1 31\n")));
  ASSERT_TRUE(m_window->OpenFile(Write("run.log", "ERROR: x\n")));
  EXPECT_NE(dynamic_cast<LogView*>(m_window->ActiveView()), nullptr);

  // Opening an open file shows its tab.
  ASSERT_TRUE(m_window->OpenFile(net));
  EXPECT_EQ(m_window->DocumentCount(), 3);
  EXPECT_EQ(Tabs()->currentIndex(), 0);
  // The view shows the document's buffer in its type's colours.
  EXPECT_NE(dynamic_cast<SpiceView*>(m_window->ActiveView()), nullptr);
  EXPECT_EQ(m_window->ActiveView()->GetLineCount(), 3);

  // Newest first in the recent list, which the File menu offers.
  const QList<QAction*> recent = m_window->findChild<QMenu*>("recentFiles")->actions();
  ASSERT_EQ(recent.size(), 3);
  EXPECT_TRUE(recent[0]->text().endsWith("run.log"));
  EXPECT_TRUE(m_messages.empty());
}

// View > Document Type shows the current document as another type, in that type's view,
// and checks the type it is shown as.
TEST_F(WindowTest, DocumentTypeMenuShowsTheDocumentAsAnotherType) {
  ASSERT_TRUE(m_window->OpenFile(Write("netlist", "module top (a);\nendmodule\n")));
  EXPECT_EQ(m_window->ActiveDocument()->GetDocumentType(), quill::DOCTYPE_VERILOG);
  auto* menu = m_window->findChild<QMenu*>("documentType");
  ASSERT_NE(menu, nullptr);
  QAction* spef = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == "SPEF parasitics") spef = a;
  ASSERT_NE(spef, nullptr);
  spef->trigger();
  EXPECT_EQ(m_window->ActiveView()->GetDocumentType(), quill::DOCTYPE_SPEF);
  EXPECT_EQ(m_window->ActiveView()->GetLineCount(), 3);
  emit menu->aboutToShow();
  EXPECT_TRUE(spef->isChecked());
}

// A missing file is named, a folder is named as one instead of the component's "Access is
// denied.": one message each, and nothing opens or joins the recent list.
TEST_F(WindowTest, AFileThatCannotOpenIsReportedOnceAndOpensNothing) {
  for (const auto& [name, said] : {std::pair{"gone.sp", "gone.sp"}, {".", "is a folder"}}) {
    m_messages.clear();
    EXPECT_FALSE(m_window->OpenFile(QString::fromStdString(m_dir.Path(name))));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(said), std::string::npos) << m_messages[0];
  }
  EXPECT_EQ(m_window->DocumentCount(), 0);
  EXPECT_FALSE(Action("fileSave")->isEnabled());
  EXPECT_TRUE(m_window->findChild<QMenu*>("recentFiles")->actions().isEmpty());
}

// The last session comes back on a screen there is, and files it can no longer open are
// named in one message (shown once the window is up), not one message each.
TEST_F(WindowTest, SessionRestoresOnScreenAndNamesUnreadableFilesOnce) {
  Session s;
  s.x = INT_MAX - 100, s.y = INT_MAX - 10, s.width = 700, s.height = 500;
  for (int i = 0; i < 40; ++i) s.files.push_back(m_dir.Path(quill::Format("gone%d.txt", i)));
  s.files.push_back(Write("here.txt", "text\n").toStdString());
  s.files.push_back(m_dir.Path("."));
  s.current = 40;
  s.Store();
  m_window->RestoreSession(true);
  QApplication::processEvents();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(m_window->geometry())) << m_window->geometry().x();
  EXPECT_EQ(m_window->DocumentCount(), 1);
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_NE(m_messages[0].find("41 files"), std::string::npos) << m_messages[0];
  EXPECT_NE(m_messages[0].find("gone0.txt"), std::string::npos);
  EXPECT_NE(m_messages[0].find("and 26 more"), std::string::npos);
}

TEST_F(WindowTest, IndicatorsShowPositionLineBreaksAndReadOnly) {
  ASSERT_TRUE(m_window->OpenFile(Write("a.c", "int a;\r\n\tint b;\r\nreturn;\r\n")));
  // The panes follow the keys without being asked.
  QWidget* editor = FocusEditor();
  QTest::keyClick(editor, Qt::Key_Down);
  QTest::keyClick(editor, Qt::Key_Down);
  QTest::keyClick(editor, Qt::Key_End);
  EXPECT_EQ(Pane(1), "Ln 3, Col 8");
  EXPECT_EQ(Pane(2), "DOS");
  EXPECT_EQ(Pane(4), "");
  m_window->ActiveDocument()->GetTextBuffer().SetReadOnly(1);
  m_window->UpdateIndicators();
  EXPECT_EQ(Pane(4), "READ");

  m_window->NewFile();
  m_window->UpdateIndicators();
  EXPECT_EQ(Pane(1), "Ln 1, Col 1");
  EXPECT_EQ(Pane(2), "UNIX");
}

// Edit menu commands run in the view and follow its update handlers and the buffer.
TEST_F(WindowTest, EditCommandsRunInTheViewAndFollowTheBuffer) {
  ASSERT_TRUE(m_window->OpenFile(Write("u.sp", "t\nR1 a b 1k\n")));
  quill::QuillTextBuffer& buffer = m_window->ActiveDocument()->GetTextBuffer();
  m_window->UpdateCommands();
  EXPECT_FALSE(Action("editUndo")->isEnabled());
  QAction* selectAll = nullptr;
  for (QAction* a : m_window->findChildren<QAction*>())
    if (a->data().toUInt() == quill::ID_EDIT_SELECT_ALL) selectAll = a;
  ASSERT_TRUE(selectAll && selectAll->isEnabled());
  selectAll->trigger();
  quill::CPoint start, end;
  m_window->ActiveView()->GetSelection(start, end);
  EXPECT_EQ(end, quill::CPoint(0, 2));

  int endLine = 0, endChar = 0;
  buffer.InsertText(m_window->ActiveView(), 1, 0, "* ", endLine, endChar,
                    quill::UNDO_ACTION_TYPING);
  m_window->UpdateCommands();
  ASSERT_TRUE(Action("editUndo")->isEnabled());
  EXPECT_EQ(Action("editUndo")->text(), "&Undo Typing");
  EXPECT_EQ(Tabs()->tabText(0), "u.sp *");

  Action("editUndo")->trigger();
  EXPECT_EQ(std::string(buffer.GetLineChars(1), buffer.GetLineLength(1)), "R1 a b 1k");
  EXPECT_TRUE(Action("editRedo")->isEnabled());
  EXPECT_EQ(Tabs()->tabText(0), "u.sp");

  Action("editRedo")->trigger();
  EXPECT_EQ(std::string(buffer.GetLineChars(1), buffer.GetLineLength(1)), "* R1 a b 1k");
  m_window->ActiveView()->DetachFromBuffer();
  m_window->UpdateCommands();
  EXPECT_FALSE(selectAll->isEnabled());
}

TEST_F(WindowTest, SaveWritesTheFileAndClosingAModifiedDocumentAsks) {
  const QString path = Write("s.drc", "*DESCRIPTION\n*END\n");
  ASSERT_TRUE(m_window->OpenFile(path));
  quill::QuillTextBuffer& buffer = m_window->ActiveDocument()->GetTextBuffer();
  int endLine = 0, endChar = 0;
  buffer.InsertText(nullptr, 1, 0, "; c\n", endLine, endChar);
  // Ctrl+S in the editor: the view's key, a command the document handles.
  QTest::keyClick(FocusEditor(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(testing::TempDir::Read(path.toStdString()), "*DESCRIPTION\n; c\n*END\n");
  EXPECT_FALSE(buffer.IsModified());

  // A modified document asks (through the component's message box) before it closes;
  // Cancel keeps it, No closes it without saving. Closing the last tab leaves "Ready"
  // and the bare title.
  buffer.InsertText(nullptr, 0, 0, "x", endLine, endChar);
  QMessageBox::StandardButton answer = QMessageBox::Cancel;
  int asked = 0;
  quill::qt::InstallPlatform().SetMessageBoxHook([&](QMessageBox& box) {
    ++asked;
    EXPECT_NE(box.text().indexOf("This file has been modified."), -1);
    box.button(answer)->click();
  });
  for (QMessageBox::StandardButton button : {QMessageBox::Cancel, QMessageBox::No}) {
    answer = button;
    Action("fileClose")->trigger();
    EXPECT_EQ(m_window->DocumentCount(), button == QMessageBox::Cancel ? 1 : 0);
  }
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(testing::TempDir::Read(path.toStdString()), "*DESCRIPTION\n; c\n*END\n");
  EXPECT_EQ(Pane(0), "Ready");
  EXPECT_EQ(m_window->windowTitle(), "quillpad");
}

// The title follows the current tab, and Ctrl+Tab / Ctrl+Shift+Tab cycle the tabs even
// while an editor has the focus.
TEST_F(WindowTest, TitleFollowsTheTabAndCtrlTabCycles) {
  for (const char* name : {"a.sp", "b.log", "c.txt"}) ASSERT_TRUE(m_window->OpenFile(Write(name, "x\n")));
  EXPECT_EQ(m_window->windowTitle(), "c.txt - quillpad");
  QTest::keyClick(FocusEditor(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Tabs()->currentIndex(), 0);
  EXPECT_EQ(m_window->windowTitle(), "a.sp - quillpad");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Tabs()->currentIndex(), 2);
  m_window->SetCurrentDocument(1);
  EXPECT_EQ(m_window->windowTitle(), "b.log - quillpad");
}

}  // namespace
}  // namespace quillpad
