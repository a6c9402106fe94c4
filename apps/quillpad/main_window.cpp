#include "main_window.h"
#include "print_menu.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <optional>

#include "editor_host.h"
#include "encoding_menu.h"
#include "language_views.h"
#include "languages.h"
#include "pad_document.h"
#include "platform/app_services.h"
#include "platform/format.h"
#include "platform/prompts.h"
#include "platform/text_encoding.h"
#include "qt/editor_widget.h"
#include "resources/strings.h"
#include "settings/registry.h"
#include "tools_menu.h"
#include "view/command_ids.h"
#include "view/quill_view.h"

namespace quillpad {

// One tab: the document, its view (owned by the editor widget) and that widget.
struct MainWindow::Tab {
  std::unique_ptr<PadDocument> doc;
  LanguageView* view = nullptr;
  QWidget* editor = nullptr;
};

namespace {

QString ToQt(const std::string& s) { return QString::fromLocal8Bit(s.data(), s.size()); }
std::string FromQt(const QString& s) { return s.toLocal8Bit().toStdString(); }

registry_int<bool> LineNumbersSetting() {
  return registry_int<bool>(quill::RegistryPath("quillpad\\", "View\\LineNumbers"),
                            quill::HKEY_CURRENT_USER, false);
}

}  // namespace

MainWindow::MainWindow() {
  setWindowTitle("quillpad");
  m_tabs = new QTabWidget(this);
  m_tabs->setTabsClosable(true);
  m_tabs->setDocumentMode(true);
  m_tabs->setMovable(true);
  setCentralWidget(m_tabs);
  connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int i) { CloseTab(i); });
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
    // A message ("Saved ...") was about the tab that was current.
    SetPaneText(Pane::Message, "");
    UpdateWindowTitle();
    UpdateCommands();
    UpdateIndicators();
  });
  m_recent.Load();
  CreateMenus();
  CreateWindowAndHelpMenus();
  InstallDesktopServices(this);
  // Never narrower than the status bar's indicator panes, which would overlap.
  setMinimumWidth(statusBar()->sizeHint().width() + 120);
  SetPaneText(Pane::Message, "");
  UpdateCommands();
  resize(1000, 720);
}

MainWindow::~MainWindow() {
  // Editors (and their views) go before the documents whose buffers they show.
  while (m_tabs->count() > 0) {
    QWidget* w = m_tabs->widget(0);
    m_tabs->removeTab(0);
    delete w;
  }
  m_tabList.clear();
}

void MainWindow::CreateMenus() {
  CreateFileMenu();
  CreateEditMenu();
  CreateSearchMenu();
  CreateViewMenu();
  AddToolsMenu(*this);
}

void MainWindow::CreateFileMenu() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&New"), QKeySequence::New, this, &MainWindow::FileNew);
  file->addAction(tr("&Open..."), QKeySequence::Open, this, &MainWindow::FileOpen);
  m_save = file->addAction(tr("&Save"), QKeySequence::Save, this, &MainWindow::FileSave);
  m_save->setObjectName("fileSave");
  m_saveAs = file->addAction(tr("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                             this, &MainWindow::FileSaveAs);
  m_saveAs->setObjectName("fileSaveAs");
  m_reload = file->addAction(tr("&Reload"), this, &MainWindow::FileReload);
  m_reload->setObjectName("fileReload");
  QMenu* saveAsEncoding = file->addMenu(tr("Save As with E&ncoding"));
  QMenu* reopen = file->addMenu(tr("Reopen with &Encoding"));
  reopen->setObjectName("reopenWithEncoding");
  saveAsEncoding->setObjectName("saveAsWithEncoding");
  for (const int encoding : {quill::ENCODING_UTF8, quill::ENCODING_WINDOWS_1252}) {
    const QString name = QString::fromLatin1(quill::EncodingName(encoding));
    saveAsEncoding->addAction(name + "...", this, [this, encoding] { FileSaveAsWithEncoding(encoding); });
    reopen->addAction(name, this, [this, encoding] { FileReopenWithEncoding(encoding); });
  }
  file->addSeparator();
  AddPrintCommands(file, [this] { return ActiveView(); });
  file->addSeparator();
  m_recentMenu = file->addMenu(tr("Recent &Files"));
  m_recentMenu->setObjectName("recentFiles");
  file->addSeparator();
  m_close = file->addAction(tr("&Close"), QKeySequence::Close, this, &MainWindow::FileClose);
  m_close->setObjectName("fileClose");
  file->addAction(tr("E&xit"), QKeySequence::Quit, this, &QWidget::close);
  RebuildRecentMenu();
}

void MainWindow::CreateEditMenu() {
  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  // Undo and Redo are the view's commands; their texts name the step (UpdateCommands).
  m_undo = edit->addAction(tr("&Undo"), QKeySequence::Undo, this,
                           [this] { RunViewCommand(quill::ID_EDIT_UNDO); });
  m_undo->setObjectName("editUndo");
  m_redo = edit->addAction(tr("&Redo"), QKeySequence(Qt::CTRL | Qt::Key_Y), this,
                           [this] { RunViewCommand(quill::ID_EDIT_REDO); });
  m_redo->setObjectName("editRedo");
  // Ctrl+Shift+Z as in other Linux editors; the view's table has only Ctrl+Y.
  m_redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // The view's table sends Ctrl+Backspace to the window (commandNotHandled); Ctrl+Delete
  // is not in it. The actions' keys work where the editor has not the focus.
  m_deleteWordBefore = edit->addAction(tr("Delete Word &Before"),
                                       QKeySequence(Qt::CTRL | Qt::Key_Backspace), this,
                                       [this] { DeleteWord(true); });
  m_deleteWordBefore->setObjectName("editDeleteWordBefore");
  m_deleteWordAfter = edit->addAction(tr("Delete Word A&fter"),
                                      QKeySequence(Qt::CTRL | Qt::Key_Delete), this,
                                      [this] { DeleteWord(false); });
  m_deleteWordAfter->setObjectName("editDeleteWordAfter");
  edit->addSeparator();
  // Commands the view carries out itself, with the component's command ids; the view's
  // update handlers enable them.
  AddViewCommands(edit, {
      {"Cu&t", QKeySequence::Cut, quill::ID_EDIT_CUT},
      {"&Copy", QKeySequence::Copy, quill::ID_EDIT_COPY},
      {"&Paste", QKeySequence::Paste, quill::ID_EDIT_PASTE},
      {"Select &All", QKeySequence::SelectAll, quill::ID_EDIT_SELECT_ALL},
      {nullptr, {}, 0},
      // Keys of the view reach these through its accelerators (Insert, Ctrl+]).
      {"&Overwrite Mode", {}, quill::ID_EDIT_SWITCH_OVRMODE},
      {"Matching &Bracket", {}, quill::ID_EDIT_MATCH_BRACE},
      {"Insert &Single Line Comment", {}, quill::ID_INSERT_SINGLE_LINE_COMMENT},
      {"Insert &Multi Line Comment", {}, quill::ID_INSERT_MULTI_LINE_COMMENT},
      {"Remove S&ingle Line Comment", {}, quill::ID_REMOVE_SINGLE_LINE_COMMENT},
      {"Remove M&ulti Line Comment", {}, quill::ID_REMOVE_MULTI_LINE_COMMENT},
  });
  connect(edit, &QMenu::aboutToShow, this, &MainWindow::UpdateCommands);
}

void MainWindow::CreateSearchMenu() {
  // Search: the view's find, replace, go-to and bookmark commands, with the keys of its
  // command table.
  QMenu* search = menuBar()->addMenu(tr("&Search"));
  search->setObjectName("searchMenu");
  AddViewCommands(search, {
      {"&Find...", QKeySequence(Qt::CTRL | Qt::Key_F), quill::ID_EDIT_FIND},
      {"Find &Next", QKeySequence(Qt::Key_F3), quill::ID_EDIT_REPEAT},
      {"Find &Previous", QKeySequence(Qt::SHIFT | Qt::Key_F3), quill::ID_EDIT_FIND_PREVIOUS},
      {"R&eplace...", QKeySequence(Qt::CTRL | Qt::Key_H), quill::ID_EDIT_REPLACE},
      {"&Go To...", QKeySequence(Qt::CTRL | Qt::Key_G), quill::ID_EDIT_GOTO},
      {nullptr, {}, 0},
      {"&Toggle Bookmark", QKeySequence(Qt::CTRL | Qt::Key_F2), quill::ID_EDIT_TOGGLE_BOOKMARK},
      {"Next &Bookmark", QKeySequence(Qt::Key_F2), quill::ID_EDIT_NEXT_BOOKMARK},
      {"Pre&vious Bookmark", QKeySequence(Qt::SHIFT | Qt::Key_F2), quill::ID_EDIT_PREV_BOOKMARK},
      {"&Clear All Bookmarks", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2), quill::ID_EDIT_CLEAR_ALL_BOOKMARKS},
      {"Clear N&umbered Bookmarks", {}, quill::ID_EDIT_CLEAR_BOOKMARKS},
  });
  connect(search, &QMenu::aboutToShow, this, &MainWindow::UpdateCommands);
}

void MainWindow::CreateViewMenu() {
  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* statusBarAction = view->addAction(tr("&Status Bar"));
  statusBarAction->setCheckable(true);
  statusBarAction->setChecked(true);
  connect(statusBarAction, &QAction::toggled, this,
          [this](bool on) { statusBar()->setVisible(on); });
  m_selectionMargin = view->addAction(tr("Selection &Margin"));
  m_selectionMargin->setCheckable(true);
  m_selectionMargin->setChecked(true);
  connect(m_selectionMargin, &QAction::toggled, this, [this](bool on) {
    for (const auto& tab : m_tabList) tab->view->SetSelectionMargin(on);
  });
  // Line numbers: every editor shows them or none, as the last run left it.
  m_lineNumbers = view->addAction(tr("&Line Numbers"));
  m_lineNumbers->setObjectName("viewLineNumbers");
  m_lineNumbers->setCheckable(true);
  m_lineNumbers->setChecked(LineNumbersSetting().read());
  connect(m_lineNumbers, &QAction::toggled, this, [this](bool on) {
    LineNumbersSetting().write(on);
    for (const auto& tab : m_tabList) tab->view->SetLineNumbers(on);
  });
  m_viewTabs = view->addAction(tr("Show &Tabs and Spaces"));
  m_viewTabs->setCheckable(true);
  connect(m_viewTabs, &QAction::toggled, this, [this](bool on) {
    for (const auto& tab : m_tabList) tab->view->SetViewTabs(on);
  });
  // The type the current document is shown as; choosing another one keeps it for the
  // document.
  QMenu* types = view->addMenu(tr("&Document Type"));
  types->setObjectName("documentType");
  auto* typeGroup = new QActionGroup(types);
  for (const LanguageInfo& lang : Languages()) {
    QAction* a = types->addAction(tr(lang.name));
    a->setCheckable(true);
    a->setActionGroup(typeGroup);
    connect(a, &QAction::triggered, this, [this, type = lang.type] {
      if (Tab* tab = CurrentTab(); tab != nullptr && tab->doc->GetDocumentType() != type) {
        tab->doc->SetDocumentType(type);
        RecreateEditor(tab);
      }
    });
    connect(types, &QMenu::aboutToShow, a, [this, a, type = lang.type] {
      const PadDocument* doc = ActiveDocument();
      a->setEnabled(doc != nullptr);
      a->setChecked(doc != nullptr && doc->GetDocumentType() == type);
    });
  }
}

void MainWindow::AddViewCommands(QMenu* menu, std::initializer_list<ViewCommand> commands) {
  for (const ViewCommand& c : commands) {
    if (c.text == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(tr(c.text));
    a->setShortcut(c.key);
    a->setData(c.id);
    a->setCheckable(static_cast<unsigned>(c.id) == quill::ID_EDIT_SWITCH_OVRMODE);
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, id = c.id] { RunViewCommand(id); });
    m_viewCommands.push_back(a);
  }
}

void MainWindow::RebuildRecentMenu() {
  m_recentMenu->clear();
  int n = 0;
  for (const std::string& path : m_recent.Files()) {
    const QString file = ToQt(path);
    QAction* a = m_recentMenu->addAction(QString("&%1 %2").arg(++n).arg(file));
    connect(a, &QAction::triggered, this, [this, file] { OpenFile(file); });
  }
  m_recentMenu->setEnabled(n > 0);
}

void MainWindow::CreateEditor(Tab* tab) {
  std::unique_ptr<LanguageView> view = CreateViewFor(tab->doc->GetDocumentType());
  tab->view = view.get();
  view->SetDocument(tab->doc.get());
  view->SetSelectionMargin(m_selectionMargin->isChecked());
  view->SetLineNumbers(m_lineNumbers->isChecked());
  view->SetViewTabs(m_viewTabs->isChecked());
  view->onFileChanged = [this] { QTimer::singleShot(0, this, &MainWindow::CheckOutsideChanges); };
  tab->editor = CreateEditorWidget(std::move(view), m_tabs);
  // The status bar and the commands follow what the editor does; the editor's keys for
  // the document (saving) come back here.
  if (auto* editor = qobject_cast<quill::qt::EditorWidget*>(tab->editor)) {
    connect(editor, &quill::qt::EditorWidget::viewChanged, this, [this, editor] {
      if (m_tabs->currentWidget() != editor) return;
      UpdateIndicators();
      UpdateCommands();
    });
    connect(editor, &quill::qt::EditorWidget::commandNotHandled, this, [this](unsigned id) {
      if (id == quill::ID_FILE_SAVE) FileSave();
      if (id == quill::ID_EDIT_DELETE_WORD_BACK) DeleteWord(true);
    });
  }
}

void MainWindow::RecreateEditor(Tab* tab) {
  const int index = m_tabs->indexOf(tab->editor);
  m_tabs->removeTab(index);
  delete tab->editor;
  CreateEditor(tab);
  m_tabs->insertTab(index, tab->editor, QString());
  m_tabs->setCurrentIndex(index);
  UpdateTabTitle(tab);
}

QWidget* MainWindow::AddTab(std::unique_ptr<PadDocument> doc) {
  auto tab = std::make_unique<Tab>();
  tab->doc = std::move(doc);
  CreateEditor(tab.get());
  Tab* raw = tab.get();
  tab->doc->onChanged = [this, raw] { UpdateTabTitle(raw); };
  m_tabList.push_back(std::move(tab));
  const int index = m_tabs->addTab(raw->editor, QString());
  UpdateTabTitle(raw);
  m_tabs->setCurrentIndex(index);
  raw->editor->setFocus();
  return raw->editor;
}

MainWindow::Tab* MainWindow::TabAt(int index) const {
  QWidget* w = m_tabs->widget(index);
  for (const auto& tab : m_tabList)
    if (tab->editor == w) return tab.get();
  return nullptr;
}

MainWindow::Tab* MainWindow::CurrentTab() const { return TabAt(m_tabs->currentIndex()); }

int MainWindow::DocumentCount() const { return m_tabs->count(); }

void MainWindow::SetCurrentDocument(int index) { m_tabs->setCurrentIndex(index); }

LanguageView* MainWindow::ActiveView() const {
  Tab* tab = CurrentTab();
  return tab != nullptr ? tab->view : nullptr;
}

PadDocument* MainWindow::ActiveDocument() const { return DocumentAt(m_tabs->currentIndex()); }

PadDocument* MainWindow::DocumentAt(int index) const {
  Tab* tab = TabAt(index);
  return tab != nullptr ? tab->doc.get() : nullptr;
}

void MainWindow::UpdateTabTitle(Tab* tab) {
  const int index = m_tabs->indexOf(tab->editor);
  if (index < 0) return;
  m_tabs->setTabText(index, ToQt(tab->doc->GetTitle()));
  m_tabs->setTabToolTip(index, ToQt(tab->doc->GetPathName()));
  if (tab == CurrentTab()) UpdateWindowTitle();
}

void MainWindow::NewFile() {
  static int untitled = 0;
  auto doc = std::make_unique<PadDocument>();
  doc->OnNewDocument();
  doc->SetTitle(quill::Format("Untitled%d", ++untitled));
  AddTab(std::move(doc));
}

bool MainWindow::OpenFile(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  for (const auto& tab : m_tabList) {
    if (ToQt(tab->doc->GetPathName()) == full) {
      m_tabs->setCurrentWidget(tab->editor);
      return true;
    }
  }
  if (QFileInfo(full).isDir()) {
    // The component would only say "Access is denied." of a folder.
    quill::GetApplicationServices().MessageBox(
        quill::Format("%s\nis a folder, not a file.", FromQt(full).c_str()),
        quill::MB_OK | quill::MB_ICONERROR);
    return false;
  }
  auto doc = std::make_unique<PadDocument>();
  if (doc->OnOpenDocument(FromQt(full).c_str()) == 0) {
    m_recent.Remove(FromQt(full));
    RebuildRecentMenu();
    return false;
  }
  AddTab(std::move(doc));
  m_recent.Add(FromQt(full));
  RebuildRecentMenu();
  return true;
}

void MainWindow::FileOpen() {
  quill::FilePromptRequest request;
  request.title = "Open";
  request.filter = OpenFilter();
  request.flags = quill::OFN_FILEMUSTEXIST | quill::OFN_HIDEREADONLY;
  if (const PadDocument* doc = ActiveDocument(); doc != nullptr && !doc->GetPathName().empty())
    request.initialDirectory = FromQt(QFileInfo(ToQt(doc->GetPathName())).absolutePath());
  if (std::optional<std::string> path = quill::PromptForFileName(request)) OpenFile(ToQt(*path));
}

bool MainWindow::SaveTab(Tab* tab, bool askName) {
  // The document asks for a name (the platform's file prompt) when it has none, when the
  // file is read-only or when asked to; it reports every failure itself.
  const quill::DocumentType before = tab->doc->GetDocumentType();
  // A file deleted outside is written again where it was (the document alone would ask
  // for a name, taking a missing file for a read-only one), while its folder is there.
  const QFileInfo file(ToQt(tab->doc->GetPathName()));
  const bool bWriteAgain = !askName && !tab->doc->GetPathName().empty() && !file.exists() &&
                           file.dir().exists() && !tab->doc->GetTextBuffer().GetReadOnly();
  const int saved = askName       ? tab->doc->DoSave(nullptr, 1)
                    : bWriteAgain ? tab->doc->DoSave(tab->doc->GetPathName().c_str(), 1)
                                  : tab->doc->DoFileSave();
  if (saved == 0) return false;
  const std::string path = tab->doc->GetPathName();
  m_recent.Add(path);
  RebuildRecentMenu();
  // A new extension may call for another language: show the document in its view.
  if (tab->doc->GetDocumentType() != before) RecreateEditor(tab);
  UpdateTabTitle(tab);
  SetPaneText(Pane::Message, "Saved " + path);
  return true;
}

bool MainWindow::FileSave() {
  Tab* tab = CurrentTab();
  return tab != nullptr && SaveTab(tab, false);
}

bool MainWindow::FileSaveAs() {
  Tab* tab = CurrentTab();
  return tab != nullptr && SaveTab(tab, true);
}

void MainWindow::FileReload() {
  Tab* tab = CurrentTab();
  if (tab == nullptr || tab->doc->GetPathName().empty()) return;
  const std::string path = tab->doc->GetPathName();
  quill::IApplicationServices& app = quill::GetApplicationServices();
  if (!QFileInfo(ToQt(path)).isFile()) {
    app.MessageBox(quill::Format("%s\n\nThis file is not there to reload from.", path.c_str()),
                   quill::MB_OK | quill::MB_ICONERROR);
    return;
  }
  if (tab->doc->GetTextBuffer().IsModified() &&
      app.MessageBox(quill::Format("%s\n\nThis file has been modified here.\n"
                                   "Reload it and lose the changes?",
                                   path.c_str()),
                     quill::MB_YESNO | quill::MB_ICONQUESTION) != quill::IDYES) {
    return;
  }
  const quill::DocumentType before = tab->doc->GetDocumentType();
  tab->view->UpdateLastWrittenTime();
  tab->view->ReloadFromFile();
  tab->doc->deletedReported = false;
  // The new first lines may call for another language.
  if (tab->doc->GetDocumentType() != before) RecreateEditor(tab);
  UpdateTabTitle(tab);
  UpdateCommands();
  UpdateIndicators();
}

void MainWindow::DeleteWord(bool bBefore) {
  if (LanguageView* view = ActiveView()) {
    view->DeleteWord(bBefore);
    UpdateIndicators();
    UpdateCommands();
  }
}

void MainWindow::FileReopenWithEncoding(int nEncoding) {
  Tab* tab = CurrentTab();
  if (tab == nullptr) return;
  if (tab->doc->GetPathName().empty()) {
    SetPaneText(Pane::Message, "The document has no file to reopen");
    return;
  }
  if (!ReopenWithEncoding(*tab->doc, *tab->view, nEncoding)) return;
  SetPaneText(Pane::Message, std::string("Reopened as ") + quill::EncodingName(nEncoding));
  UpdateIndicators();
}

bool MainWindow::FileSaveAsWithEncoding(int nEncoding) {
  Tab* tab = CurrentTab();
  if (tab == nullptr) return false;
  quill::QuillTextBuffer& buffer = tab->doc->GetTextBuffer();
  const int before = buffer.GetEncoding();
  bool edited = false;
  if (!ConvertToEncoding(*tab->doc, *tab->view, nEncoding, edited)) return false;
  const bool saved = SaveTab(tab, true);
  if (!saved) {
    // Not saved: the text goes back to what it was.
    if (edited) tab->view->OnEditUndo();
    buffer.SetEncoding(before);
  }
  UpdateIndicators();
  return saved;
}

bool MainWindow::MaybeSave(Tab* tab) {
  if (!tab->doc->GetTextBuffer().IsModified()) return true;
  m_tabs->setCurrentWidget(tab->editor);
  const std::string& name =
      tab->doc->GetPathName().empty() ? tab->doc->GetTitle() : tab->doc->GetPathName();
  const int answer = quill::GetApplicationServices().MessageBox(
      quill::Format("%s\n\nThis file has been modified.\nDo you want to save it?", name.c_str()),
      quill::MB_YESNOCANCEL | quill::MB_ICONQUESTION);
  if (answer == quill::IDYES) return SaveTab(tab, false);
  return answer == quill::IDNO;
}

bool MainWindow::CloseTab(int index) {
  Tab* tab = TabAt(index);
  if (tab == nullptr || !MaybeSave(tab)) return false;
  m_tabs->removeTab(index);
  delete tab->editor;
  for (auto it = m_tabList.begin(); it != m_tabList.end(); ++it) {
    if (it->get() == tab) {
      m_tabList.erase(it);
      break;
    }
  }
  UpdateWindowTitle();
  if (m_tabs->count() == 0) SetPaneText(Pane::Message, "");
  return true;
}

std::vector<OpenDocument> MainWindow::OpenDocuments() const {
  std::vector<OpenDocument> docs;
  for (const auto& tab : m_tabList) docs.push_back(OpenDocument{tab->doc.get(), tab->view});
  return docs;
}

bool MainWindow::SaveModifiedOnExit() {
  std::vector<PadDocument*> modified;
  for (const auto& tab : m_tabList)
    if (tab->doc->GetTextBuffer().IsModified()) modified.push_back(tab->doc.get());
  if (modified.size() < 2) return true;  // one document: its own question
  std::vector<PadDocument*> toSave;
  if (!AskWhichToSave(modified, toSave, nullptr)) return false;
  for (const auto& tab : m_tabList) {
    const bool bWanted = std::find(toSave.begin(), toSave.end(), tab->doc.get()) != toSave.end();
    if (bWanted && !SaveTab(tab.get(), false)) return false;
  }
  // What the user chose not to save is not asked about again.
  for (PadDocument* doc : modified) doc->GetTextBuffer().SetModified(0);
  return true;
}

void MainWindow::FileClose() {
  if (m_tabs->count() > 0) CloseTab(m_tabs->currentIndex());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!SaveModifiedOnExit()) {
    event->ignore();
    return;
  }
  for (const auto& tab : m_tabList) {
    if (!MaybeSave(tab.get())) {
      event->ignore();
      return;
    }
  }
  StoreSession();
  event->accept();
}

void MainWindow::RunViewCommand(unsigned id) {
  if (LanguageView* view = ActiveView()) {
    view->OnCommand(id);
    UpdateIndicators();
    UpdateCommands();
  }
}

void MainWindow::UpdateCommands() {
  Tab* tab = CurrentTab();
  const bool any = tab != nullptr;
  // A view command is enabled as its update handler says, or else when the view has a
  // handler for it.
  for (QAction* a : m_viewCommands) {
    const unsigned id = a->data().toUInt();
    bool enabled = false;
    if (any) {
      quill::CCmdUI state(id);
      tab->view->OnUpdateCommand(id, &state);
      enabled = state.m_enabled.value_or(tab->view->HasCommandHandler(id));
      if (state.m_check) a->setChecked(*state.m_check != 0);
    }
    a->setEnabled(enabled);
  }
  m_save->setEnabled(any);
  m_saveAs->setEnabled(any);
  m_reload->setEnabled(any && !tab->doc->GetPathName().empty());
  m_deleteWordBefore->setEnabled(any);
  m_deleteWordAfter->setEnabled(any);
  m_close->setEnabled(any);
  // Undo and Redo: enabled by the view, named after the step they take back or repeat.
  for (const bool redo : {false, true}) {
    QAction* a = redo ? m_redo : m_undo;
    const unsigned id = redo ? quill::ID_EDIT_REDO : quill::ID_EDIT_UNDO;
    bool enabled = false;
    std::string step;
    if (any) {
      quill::CCmdUI state(id);
      tab->view->OnUpdateCommand(id, &state);
      enabled = state.m_enabled.value_or(false);
      quill::QuillTextBuffer& buffer = tab->doc->GetTextBuffer();
      if (enabled) redo ? buffer.GetRedoDescription(step) : buffer.GetUndoDescription(step);
    }
    std::string text = step.empty()
        ? quill::LoadString(redo ? quill::IDS_MENU_REDO_DEFAULT : quill::IDS_MENU_UNDO_DEFAULT)
        : quill::Format(quill::LoadString(redo ? quill::IDS_MENU_REDO_FORMAT
                                               : quill::IDS_MENU_UNDO_FORMAT).c_str(),
                        step.c_str());
    // The shortcut is the action's own; the menu shows it.
    text = text.substr(0, text.find('\t'));
    a->setText(ToQt(text));
    a->setEnabled(enabled);
  }
}

void MainWindow::UpdateIndicators() {
  LanguageView* view = ActiveView();
  PadDocument* doc = ActiveDocument();
  if (view == nullptr || doc == nullptr) {
    for (Pane p : {Pane::Position, Pane::LineBreaks, Pane::Overwrite, Pane::ReadOnly, Pane::Encoding})
      SetPaneText(p, "");
    return;
  }
  SetPaneText(Pane::Encoding, quill::EncodingName(doc->GetTextBuffer().GetEncoding()));
  // Each pane shows what the view's update handler says: its text, or the pane's own
  // text while it is enabled.
  const struct {
    Pane pane;
    unsigned id;
    const char* enabledText;
  } panes[] = {
      {Pane::Position, quill::ID_EDIT_INDICATOR_POSITION, nullptr},
      {Pane::LineBreaks, quill::ID_EDIT_INDICATOR_CRLF, nullptr},
      {Pane::Overwrite, quill::ID_INDICATOR_OVR, "OVR"},
      {Pane::ReadOnly, quill::ID_EDIT_INDICATOR_READ, "READ"},
  };
  for (const auto& p : panes) {
    quill::CCmdUI state(p.id);
    view->OnUpdateCommand(p.id, &state);
    const bool enabled = state.m_enabled.value_or(true);
    std::string text;
    if (enabled) text = p.enabledText != nullptr ? p.enabledText : state.m_text.value_or("");
    SetPaneText(p.pane, text);
  }
}

}  // namespace quillpad
