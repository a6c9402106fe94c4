// quillpad's main window: files in tabs, the status bar, the menus and the keys; files
// changed by another program, the reload dialog on real widgets; Tools > Options, whose
// choices reach the pixels of the open editors once the sheet is confirmed.

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include <climits>
#include <cstdio>
#include <set>

#include "platform/format.h"
#include "qt/qt_printer.h"
#include "resources/dlg_checklist.h"
#include "resources/dlg_text_options.h"
#include "resources/dlg_text_style.h"
#include "session.h"
#include "settings/page_margins.h"
#include "settings/registry.h"
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

  // The title follows the current tab, and Ctrl+Shift+Tab / Ctrl+Tab cycle the tabs even
  // while an editor has the focus.
  EXPECT_EQ(m_window->windowTitle(), "inv.sp - quillpad");
  QTest::keyClick(FocusEditor(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Tabs()->currentIndex(), 2);
  EXPECT_EQ(m_window->windowTitle(), "run.log - quillpad");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Tabs()->currentIndex(), 0);
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
  for (const char* said : {"41 files", "gone0.txt", "and 26 more"})
    EXPECT_NE(m_messages[0].find(said), std::string::npos) << m_messages[0];
}

TEST_F(WindowTest, IndicatorsShowPositionLineBreaksAndReadOnly) {
  ASSERT_TRUE(m_window->OpenFile(Write("a.c", "int a;\r\n\tint b;\r\nreturn;\r\n")));
  // The position, line break and read-only panes follow the keys without being asked.
  const auto panes = [] { return std::vector{Pane(1), Pane(2), Pane(4)}; };
  QWidget* editor = FocusEditor();
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End}) QTest::keyClick(editor, key);
  EXPECT_EQ(panes(), (std::vector<std::string>{"Ln 3, Col 8", "DOS", ""}));
  m_window->ActiveDocument()->GetTextBuffer().SetReadOnly(1);
  m_window->UpdateIndicators();
  EXPECT_EQ(Pane(4), "READ");

  m_window->NewFile();
  m_window->UpdateIndicators();
  EXPECT_EQ(panes(), (std::vector<std::string>{"Ln 1, Col 1", "UNIX", ""}));
}

// Edit menu commands run in the view and follow its update handlers and the buffer.
TEST_F(WindowTest, EditCommandsRunInTheViewAndFollowTheBuffer) {
  ASSERT_TRUE(m_window->OpenFile(Write("u.sp", "t\nR1 a b 1k\n")));
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

  Insert(1, 0, "* ", quill::UNDO_ACTION_TYPING, m_window->ActiveView());
  m_window->UpdateCommands();
  ASSERT_TRUE(Action("editUndo")->isEnabled());
  EXPECT_EQ(Action("editUndo")->text(), "&Undo Typing");
  EXPECT_EQ(Tabs()->tabText(0), "u.sp *");

  Action("editUndo")->trigger();
  EXPECT_EQ(Line(1), "R1 a b 1k");
  EXPECT_TRUE(Action("editRedo")->isEnabled());
  EXPECT_EQ(Tabs()->tabText(0), "u.sp");

  Action("editRedo")->trigger();
  EXPECT_EQ(Line(1), "* R1 a b 1k");
  m_window->ActiveView()->DetachFromBuffer();
  m_window->UpdateCommands();
  EXPECT_FALSE(selectAll->isEnabled());
}

TEST_F(WindowTest, SaveWritesTheFileAndClosingAModifiedDocumentAsks) {
  const QString path = Write("s.drc", "*DESCRIPTION\n*END\n");
  ASSERT_TRUE(m_window->OpenFile(path));
  quill::QuillTextBuffer& buffer = m_window->ActiveDocument()->GetTextBuffer();
  Insert(1, 0, "; c\n");
  // Ctrl+S in the editor: the view's key, a command the document handles.
  QTest::keyClick(FocusEditor(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(quill_test::ReadAll(path.toStdString()), "*DESCRIPTION\n; c\n*END\n");
  EXPECT_FALSE(buffer.IsModified());

  // A modified document asks (through the component's message box) before it closes;
  // Cancel keeps it, No closes it without saving. Closing the last tab leaves "Ready"
  // and the bare title.
  Insert(0, 0, "x");
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
  EXPECT_EQ(quill_test::ReadAll(path.toStdString()), "*DESCRIPTION\n; c\n*END\n");
  EXPECT_EQ(Pane(0), "Ready");
  EXPECT_EQ(m_window->windowTitle(), "quillpad");
}

// The colours in a rectangle of the current editor's pixels.
std::set<QRgb> Colours(QTabWidget* tabs, const QRect& area) {
  auto* editor = qobject_cast<QAbstractScrollArea*>(tabs->currentWidget());
  const QImage image = editor->viewport()->grab().toImage();
  std::set<QRgb> colours;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

// View > Line Numbers: off, the margin is as it always was; on, it grows with the digits
// of the line count, shows the numbers right of the marks' column, keeps a bookmark's mark
// and comes back on in the next run.
TEST_F(WindowTest, LineNumbersShowInTheMarginBesideTheMarksAndAreRemembered) {
  std::string lines;
  for (int i = 0; i < 1200; ++i) lines += "x\n";
  ASSERT_TRUE(m_window->OpenFile(Write("long.txt", lines)));
  ASSERT_TRUE(m_window->OpenFile(Write("short.txt", "a\nb\n")));
  LanguageView* view = m_window->ActiveView();
  EXPECT_EQ(view->GetMarginWidth(), 20);
  QAction* numbers = Action("viewLineNumbers");
  ASSERT_FALSE(numbers->isChecked());
  numbers->trigger();
  const int cw = view->GetCharWidth(), h = view->GetLineHeight();
  EXPECT_EQ(view->GetMarginWidth(), 20 + 4 * cw);  // three digits at least and a cell
  m_window->SetCurrentDocument(0);
  EXPECT_EQ(m_window->ActiveView()->GetMarginWidth(), 20 + 5 * cw);
  m_window->SetCurrentDocument(1);
  QApplication::processEvents();
  // The row's number is drawn in its column; the marks' column is plain until a bookmark.
  EXPECT_GT(Colours(Tabs(), QRect(20, 0, 4 * cw, h)).size(), 1u);
  EXPECT_EQ(Colours(Tabs(), QRect(0, 0, 20, h)).size(), 1u);
  view->OnCommand(quill::ID_EDIT_TOGGLE_BOOKMARK);
  EXPECT_GT(Colours(Tabs(), QRect(0, 0, 20, h)).size(), 1u);
  // A line more that needs a digit more widens the margin at once.
  std::string more;
  for (int i = 0; i < 1000; ++i) more += "y\r\n";
  Insert(0, 0, more.c_str());
  EXPECT_EQ(view->GetMarginWidth(), 20 + 5 * cw);

  m_window.reset();  // the next run
  m_window = std::make_unique<MainWindow>();
  EXPECT_TRUE(Action("viewLineNumbers")->isChecked());
  ASSERT_TRUE(m_window->OpenFile(Write("again.txt", "a\n")));
  EXPECT_TRUE(m_window->ActiveView()->GetLineNumbers());
}

// The primary selection gets what is selected; a middle click pastes it at the click as a
// paste of its own. The offscreen platform has no primary selection: there the click
// changes nothing.
TEST_F(WindowTest, PrimarySelectionTakesTheSelectionAndAMiddleClickPastesIt) {
  ASSERT_TRUE(m_window->OpenFile(Write("p.txt", "alpha beta\ngamma\n")));
  auto* editor = qobject_cast<quill::qt::EditorWidget*>(FocusEditor());
  LanguageView* view = m_window->ActiveView();
  QTest::keyClick(editor, Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(editor->SelectedText(), "alpha beta");
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->supportsSelection()) {
    EXPECT_EQ(clipboard->text(QClipboard::Selection), "alpha beta");
  }

  const quill::CPoint at = view->TextToClient(quill::CPoint(2, 1));
  const QPoint click(at.x + 1, at.y + 1);
  if (!clipboard->supportsSelection()) {
    QTest::mouseClick(editor->viewport(), Qt::MiddleButton, {}, click);
    EXPECT_EQ(Line(1), "gamma");
  }
  QTest::keyClicks(editor, "z");  // typing, which the paste must not join
  EXPECT_EQ(Line(0), "z");
  editor->PasteAt(click, "1\r\n2");
  EXPECT_EQ(Line(1), "ga1");
  EXPECT_EQ(Line(2), "2mma");
  view->OnCommand(quill::ID_EDIT_UNDO);
  EXPECT_EQ(Line(1), "gamma");
  EXPECT_EQ(Line(0), "z");
}

// Ctrl+Backspace and Ctrl+Delete take a word each as one undo step, Ctrl+Shift+Z redoes,
// Ctrl+Shift+S saves under a new name.
TEST_F(WindowTest, KeysOfOtherLinuxEditorsDeleteWordsRedoAndSaveAs) {
  ASSERT_TRUE(m_window->OpenFile(Write("k.txt", "alpha beta gamma\n")));
  QWidget* editor = FocusEditor();
  QTest::keyClick(editor, Qt::Key_End);
  QTest::keyClick(editor, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(Line(0), "alpha beta ");
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(Line(0), "beta ");
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Line(0), "alpha beta ");
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Line(0), "beta ");
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Line(0), "alpha beta gamma");

  ScopedPrompt scripted;
  const std::string copy = m_dir.Path("copy.txt");
  scripted.prompt->QueueAnswer(copy);
  QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(scripted.prompt->Requests().size(), 1u);
  EXPECT_EQ(quill_test::ReadAll(copy), "alpha beta gamma\n");
}

// A key that would edit a read-only document says why in the status bar.
TEST_F(WindowTest, TypingIntoAReadOnlyDocumentSaysWhy) {
  ASSERT_TRUE(m_window->OpenFile(Write("nul.txt", std::string("a\0b\n", 4))));
  EXPECT_EQ(m_messages.size(), 1u);  // the NUL bytes were reported when it opened
  QTest::keyClicks(FocusEditor(), "x");
  EXPECT_EQ(m_window->ActiveView()->GetLineLength(0), 3);
  EXPECT_EQ(Pane(0), kReadOnlyNulMessage);

  ASSERT_TRUE(m_window->OpenFile(Write("ro.txt", "text\n")));
  m_window->ActiveDocument()->GetTextBuffer().SetReadOnly(1);
  QWidget* editor = FocusEditor();
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(Line(0), "text");
  EXPECT_EQ(Pane(0), kReadOnlyFileMessage);
}

// File > Reload reads the file again; a modified document asks first, and No keeps it.
TEST_F(WindowTest, ReloadReadsTheFileAgainAskingFirstWhenModified) {
  // The check for files changed outside may come up while the file changes: no reload.
  quill::qt::GetQtDialogRunner()->SetDialogHook(
      [](quill::qt::QtTemplateDialog& d) { static_cast<QDialog&>(d).reject(); });
  const QString path = Write("r.sp", "* one\n.end\n");
  ASSERT_TRUE(m_window->OpenFile(path));
  quill::QuillTextBuffer& buffer = m_window->ActiveDocument()->GetTextBuffer();
  m_window->UpdateCommands();
  QAction* reload = Action("fileReload");
  ASSERT_TRUE(reload->isEnabled());
  Write("r.sp", "* two\n.end\n");
  reload->trigger();  // not modified: no question
  EXPECT_TRUE(m_messages.empty());
  EXPECT_EQ(Line(0), "* two");

  Write("r.sp", "* three\n.end\n");
  Insert(0, 0, "x");
  std::vector<QMessageBox::StandardButton> answers{QMessageBox::No, QMessageBox::Yes};
  quill::qt::InstallPlatform().SetMessageBoxHook([&](QMessageBox& box) {
    m_messages.push_back(box.text().toStdString());
    box.button(answers[m_messages.size() - 1])->click();
  });
  reload->trigger();
  EXPECT_EQ(Line(0), "x* two");
  reload->trigger();
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_NE(m_messages[0].find("r.sp"), std::string::npos);
  EXPECT_EQ(Line(0), "* three");
  EXPECT_FALSE(buffer.IsModified());
  EXPECT_EQ(Tabs()->tabText(0), "r.sp");
  quill::qt::GetQtDialogRunner()->SetDialogHook(nullptr);
}

// The margins chosen in Page Setup are stored for the document type (the printer keeps its
// own: the view's are printed inside them); the orientation is there in the next run, in
// the dialog and for printing.
TEST_F(WindowTest, PageSetupMarginsAreStoredAndTheOrientationKeptBetweenRuns) {
  auto& print = dynamic_cast<quill::qt::QtPrintServices&>(quill::GetPrintServices());
  print.SessionPrinter().setPageOrientation(QPageLayout::Portrait);
  const QMarginsF printerOwn = print.SessionPrinter().pageLayout().margins();
  ASSERT_TRUE(m_window->OpenFile(Write("o.sp", "* t\n.end\n")));
  print.pageSetupHook = [](QPageSetupDialog& dialog) {
    EXPECT_EQ(dialog.printer()->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(dialog.printer()->pageLayout().margins(QPageLayout::Millimeter).left(), 10.0, 0.01);
    dialog.printer()->setPageOrientation(QPageLayout::Landscape);
    dialog.printer()->setPageMargins(QMarginsF(20, 15, 20, 25), QPageLayout::Millimeter);
    return static_cast<int>(QDialog::Accepted);
  };
  Action("filePageSetup")->trigger();
  EXPECT_EQ(quill::ReadPageMargins("SPICE"), quill::CRect(2000, 1500, 2000, 2500));
  EXPECT_EQ(print.SessionPrinter().pageLayout().margins(), printerOwn);

  m_window.reset();  // the next run
  m_window = std::make_unique<MainWindow>();
  ASSERT_TRUE(m_window->OpenFile(Write("o.sp", "* t\n.end\n")));
  std::vector<QPageLayout::Orientation> seen;
  print.SessionPrinter().setPageOrientation(QPageLayout::Portrait);  // as a new process has it
  print.pageSetupHook = [&](QPageSetupDialog& dialog) {
    seen.push_back(dialog.printer()->pageLayout().orientation());
    return static_cast<int>(QDialog::Rejected);
  };
  Action("filePageSetup")->trigger();
  print.SessionPrinter().setPageOrientation(QPageLayout::Portrait);
  print.previewHook = [&](QPrintPreviewDialog& dialog) {
    seen.push_back(dialog.printer()->pageLayout().orientation());
    return 0;
  };
  Action("filePrintPreview")->trigger();
  print.pageSetupHook = nullptr;
  print.previewHook = nullptr;
  print.SessionPrinter().setPageOrientation(QPageLayout::Portrait);
  EXPECT_EQ(seen, (std::vector{QPageLayout::Landscape, QPageLayout::Landscape}));
  EXPECT_EQ(m_window->ActiveView()->StoredPageOrientation(), quill::DMORIENT_LANDSCAPE);
}

TEST_F(WindowTest, ComingBackToTheWindowOffersTheReloadOfAChangedFile) {
  quill::SetRegistryAutoLoad(quill::AUTOLOAD_OFF);
  const std::string path = m_dir.WriteLater("inv.sp", "* old title\n.end\n");
  ASSERT_TRUE(m_window->OpenFile(QString::fromStdString(path)));
  m_dir.WriteLater("inv.sp", "* new title\nM1 d g s b nch\n.end\n");

  quill::qt::QtDialogRunner* runner = quill::qt::GetQtDialogRunner();
  const int before = runner->DialogCount();
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
  while (runner->DialogCount() == before && wait.elapsed() < 2000) QApplication::processEvents();
  EXPECT_EQ(runner->DialogCount(), before + 1);
  runner->SetDialogHook(nullptr);
  EXPECT_EQ(listed, QStringList{QString::fromStdString(path)});
  ASSERT_EQ(m_window->ActiveView()->GetLineCount(), 4);
  EXPECT_EQ(Line(0), "* new title");
  EXPECT_FALSE(m_window->ActiveDocument()->GetTextBuffer().IsModified());
  EXPECT_FALSE(m_window->ActiveDocument()->ChangedOutside());  // a save now asks nothing
}

// A file deleted outside: Ctrl+S writes it again where it was, as the message promised,
// without asking for a name; the "Saved" message goes when another tab is shown.
TEST_F(WindowTest, CtrlSWritesADeletedFileAgainAndATabSwitchClearsTheMessage) {
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

// The pixels of exactly the colour.
int CountPixels(QWidget* widget, QRgb rgb) {
  const QImage image = widget->grab().toImage();
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
  return n;
}

// Picks an item as the user does: the combo box reports the choice.
void Pick(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

using OptionsSheetTest = WindowTest;

TEST_F(OptionsSheetTest, ColoursChosenInThePickersShowInTheOpenEditorAfterOK) {
  ASSERT_TRUE(m_window->OpenFile(Write("a.sp", "* title\nR1 a b 1k\n.end\n")));
  QWidget* editor = qobject_cast<QAbstractScrollArea*>(Tabs()->currentWidget())->viewport();
  const QRgb yellow = qRgb(255, 255, 0), custom = qRgb(200, 30, 40);
  EXPECT_EQ(CountPixels(editor, yellow), 0);

  quill::qt::GetQtCommonDialogs()->SetColorDialogHook([&](QColorDialog& dialog) {
    dialog.setCurrentColor(QColor(custom));
    dialog.accept();
  });
  int swatchPixels = 0;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    EXPECT_EQ(sheet.Tabs()->count(), 2);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "Text Style");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "Text Editor");
    EXPECT_FALSE(sheet.ApplyButton()->isEnabled());
    quill::qt::QtTemplateDialog& page = sheet.Page(0);
    EXPECT_EQ(qobject_cast<QComboBox*>(page.Control(quill::IDC_DOC_TYPE))->currentText(),
              "SPICE netlists");
    // "Normal text" is selected: its background yellow, its text a custom colour.
    auto* background = qobject_cast<QComboBox*>(page.Control(quill::IDC_BACKGROUND));
    auto* foreground = qobject_cast<QComboBox*>(page.Control(quill::IDC_FOREGROUND));
    ASSERT_TRUE(background && foreground);
    Pick(background, "Yellow");
    Pick(foreground, "Custom...");
    sheet.UpdateButtons();
    EXPECT_TRUE(sheet.ApplyButton()->isEnabled());
    swatchPixels = CountPixels(background, yellow);
    sheet.OKButton()->click();
  });
  quill::qt::GetQtCommonDialogs()->SetColorDialogHook(nullptr);
  EXPECT_GT(swatchPixels, 20);  // the closed picker draws the chosen colour's swatch

  EXPECT_GT(CountPixels(editor, yellow), editor->width() * editor->height() / 2);
  EXPECT_GT(CountPixels(editor, custom), 0);
}

TEST_F(OptionsSheetTest, EscapeInAPageCancelsTheWholeSheet) {
  bool closed = false;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    auto* tabSize = qobject_cast<QLineEdit*>(sheet.Page(0).Control(quill::IDC_TAB_SIZE));
    ASSERT_NE(tabSize, nullptr);
    tabSize->setText("9");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(tabSize, &escape);
    closed = !sheet.isVisible();
    if (!closed) sheet.reject();
  });
  EXPECT_TRUE(closed);  // the sheet went, not just the page
  EXPECT_FALSE(registry_int<int>("Software\\Corvane\\Verurozu Doriru\\SPICE\\TabSize",
                                        quill::HKEY_CURRENT_USER, 0).exists());
}

// A larger font from the sheet shows at once in whole rows: the editor draws what it draws
// after a resize, and the last rows are not cut.
TEST_F(OptionsSheetTest, ALargerFontRedrawsTheOpenEditorWhole) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "R" + std::to_string(i) + " a b 1k\n";
  ASSERT_TRUE(m_window->OpenFile(Write("big.sp", text)));
  auto* editor = qobject_cast<QAbstractScrollArea*>(Tabs()->currentWidget());
  editor->viewport()->grab();  // painted once in the old font
  const int before = m_window->ActiveView()->GetLineHeight();
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    auto* size = qobject_cast<QComboBox*>(sheet.Page(0).Control(quill::IDC_FONT_SIZE));
    ASSERT_NE(size, nullptr);
    Pick(size, size->itemText(size->count() - 1));
    sheet.OKButton()->click();
  });
  ASSERT_GT(m_window->ActiveView()->GetLineHeight(), before);
  const QImage shown = editor->viewport()->grab().toImage();
  m_window->resize(m_window->width() + 1, m_window->height());
  QApplication::processEvents();
  m_window->resize(m_window->width() - 1, m_window->height());
  QApplication::processEvents();
  EXPECT_EQ(editor->viewport()->grab().toImage(), shown);
}

// The options page shows its button captions whole; the text-style page gives each
// labelled control its own Alt key; the Window menu names Ctrl+Shift+Tab as users do.
TEST_F(OptionsSheetTest, CaptionsShowWholeAndMnemonicsAreTheirOwn) {
  QStringList keys;
  RunOptions([&](quill::qt::QtSheetDialog& sheet) {
    const auto mnemonic = [&](const QString& text) {
      if (const qsizetype amp = text.indexOf('&'); amp >= 0) keys << text.mid(amp + 1, 1).toUpper();
    };
    for (QLabel* label : sheet.Page(0).findChildren<QLabel*>()) mnemonic(label->text());
    for (QAbstractButton* button : sheet.Page(0).findChildren<QAbstractButton*>()) mnemonic(button->text());
    auto* autoLoad = qobject_cast<QCheckBox*>(sheet.Page(1).Control(quill::IDC_AUTO_LOAD));
    ASSERT_NE(autoLoad, nullptr);
    EXPECT_EQ(autoLoad->text().replace('\n', ' ').toStdString(),
              "Automatically load changes when text file is modified outside this application");
    EXPECT_LE(autoLoad->sizeHint().height(), autoLoad->height());
    for (QAbstractButton* button : sheet.Page(1).findChildren<QAbstractButton*>())
      EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
    sheet.reject();
  });
  EXPECT_GE(keys.size(), 10);
  EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size()) << keys.join(' ').toStdString();

  auto* menu = m_window->findChild<QMenu*>("windowMenu");
  emit menu->aboutToShow();
  EXPECT_EQ(Action("windowPreviousTab")->shortcut().toString(QKeySequence::NativeText),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab).toString(QKeySequence::NativeText));
}

}  // namespace
}  // namespace quillpad
