#pragma once
// quillpad's main window: one tab per open document, the File, Edit and View menus, and
// the status bar with the editor's indicator panes.

#include <QKeySequence>
#include <QMainWindow>
#include <QString>
#include <initializer_list>
#include <memory>
#include <vector>

#include "outside_changes.h"
#include "recent_files.h"

class QAction;
class QMenu;
class QTabWidget;

namespace quillpad {

class LanguageView;
class PadDocument;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Installs the component's desktop services on this window's status bar.
  MainWindow();
  ~MainWindow() override;

  // Opens a file in a new tab (or shows the tab that has it). False when it could not be
  // loaded (the reason has been shown to the user).
  bool OpenFile(const QString& path);
  void NewFile();
  int DocumentCount() const;
  void SetCurrentDocument(int index);
  // Puts the window where it was at the end of the last run and, with openFiles, opens
  // the files that were open then.
  void RestoreSession(bool openFiles);
  // The view and document of the current tab, or null.
  LanguageView* ActiveView() const;
  PadDocument* ActiveDocument() const;
  // The document of the tab at index, or null.
  PadDocument* DocumentAt(int index) const;
  // Looks for files changed or deleted outside (main_window_outside.cpp); runs when the
  // window becomes active again and when a view finds its file changed.
  void CheckOutsideChanges();

 public slots:
  // Enables the commands and fills the indicator panes for the current document.
  void UpdateCommands();
  void UpdateIndicators();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private slots:
  void FileNew() { NewFile(); }
  void FileOpen();
  bool FileSave();
  bool FileSaveAs();
  // Reads the current document's file again, asking first when the text was modified.
  void FileReload();
  // File > Reopen with Encoding and File > Save As with Encoding.
  void FileReopenWithEncoding(int nEncoding);
  bool FileSaveAsWithEncoding(int nEncoding);
  void FileClose();

 private:
  struct Tab;

  void CreateMenus();
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateSearchMenu();
  void CreateViewMenu();
  // A command the view carries out, with its command id; a null text is a separator.
  struct ViewCommand {
    const char* text;
    QKeySequence key;
    int id;
  };
  // Adds the commands to the menu, disabled until the view's update handlers enable them.
  void AddViewCommands(QMenu* menu, std::initializer_list<ViewCommand> commands);
  // The Window menu (tab switching, Ctrl+Tab) and the Help menu (window_menus.cpp).
  void CreateWindowAndHelpMenus();
  void RebuildWindowMenu();
  void ShowAbout();
  // Makes the tab `step` places after (before, when negative) the current one current.
  void CycleTab(int step);
  // The window title names the current document ("quillpad" alone without one).
  void UpdateWindowTitle();
  void StoreSession() const;
  void RebuildRecentMenu();
  // Shows the tab's document in a new editor with the view of its document type.
  void CreateEditor(Tab* tab);
  // Replaces the tab's editor by one with the view of the document's type now.
  void RecreateEditor(Tab* tab);
  QWidget* AddTab(std::unique_ptr<PadDocument> doc);
  // Ctrl+Backspace, Ctrl+Delete in the current view.
  void DeleteWord(bool bBefore);
  // Runs a command of the current view (the Edit menu's view commands).
  void RunViewCommand(unsigned id);
  Tab* TabAt(int index) const;
  Tab* CurrentTab() const;
  void UpdateTabTitle(Tab* tab);
  bool SaveTab(Tab* tab, bool askName);
  // Asks to save a modified document; false when the user cancels.
  bool MaybeSave(Tab* tab);
  bool CloseTab(int index);
  // At exit: one dialog for several modified documents, saving the checked ones; false
  // when the user cancels or a save fails.
  bool SaveModifiedOnExit();
  std::vector<OpenDocument> OpenDocuments() const;

  QTabWidget* m_tabs = nullptr;
  std::vector<std::unique_ptr<Tab>> m_tabList;
  RecentFiles m_recent;
  QMenu* m_recentMenu = nullptr;
  QMenu* m_windowMenu = nullptr;
  QAction* m_save = nullptr;
  QAction* m_saveAs = nullptr;
  QAction* m_close = nullptr;
  QAction* m_reload = nullptr;
  QAction* m_deleteWordBefore = nullptr;
  QAction* m_deleteWordAfter = nullptr;
  QAction* m_undo = nullptr;
  QAction* m_redo = nullptr;
  std::vector<QAction*> m_viewCommands;  // enabled once the view handles them
  QAction* m_selectionMargin = nullptr;
  QAction* m_lineNumbers = nullptr;
  QAction* m_viewTabs = nullptr;
  bool m_bCheckingOutside = false;
};

}  // namespace quillpad
