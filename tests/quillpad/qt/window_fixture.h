#pragma once
// quillpad's main window, shown, over a memory settings store and a scratch folder; message
// boxes are recorded and closed.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "language_views.h"
#include "main_window.h"
#include "pad_document.h"
#include "platform/headless/file_prompt.h"
#include "qt/qt_file_prompt.h"
#include "qt/quill_qt.h"
#include "settings/store.h"
#include "../../support/temp_dir.h"

namespace quillpad {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quill::InstallMemorySettingsStore();
    m_window = std::make_unique<MainWindow>();
    m_window->resize(900, 600);
    m_window->show();
    quill::qt::InstallPlatform().SetMessageBoxHook([this](QMessageBox& box) {
      m_messages.push_back(box.text().toStdString());
      box.reject();
    });
  }
  void TearDown() override {
    quill::qt::InstallPlatform().SetMessageBoxHook(nullptr);
    m_window.reset();
  }

  QString Write(const std::string& name, const std::string& text) {
    return QString::fromStdString(m_dir.Write(name, text));
  }
  QAction* Action(const char* name) const {
    QAction* a = m_window->findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
  QTabWidget* Tabs() const { return m_window->findChild<QTabWidget*>(); }
  // The current editor with the keyboard focus.
  QWidget* FocusEditor() {
    QWidget* editor = Tabs()->currentWidget();
    m_window->activateWindow();
    editor->setFocus();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QApplication::processEvents();
    return editor;
  }
  static std::string Pane(int pane) {
    return quill::GetApplicationServices().GetStatusBar()->GetPaneText(pane);
  }
  // An edit of the current document's buffer, and a line of the current view.
  void Insert(int line, int ch, const char* text, int action = quill::UNDO_ACTION_UNKNOWN,
              quill::QuillView* source = nullptr) {
    int endLine = 0, endChar = 0;
    m_window->ActiveDocument()->GetTextBuffer().InsertText(source, line, ch, text, endLine, endChar, action);
  }
  std::string Line(int line) const {
    return std::string(m_window->ActiveView()->GetLineChars(line), m_window->ActiveView()->GetLineLength(line));
  }
  // Runs Tools > Options with the hook playing the user in the sheet, which must show.
  void RunOptions(std::function<void(quill::qt::QtSheetDialog&)> hook) {
    bool shown = false;
    quill::qt::GetQtSheetRunner()->SetSheetHook([&](quill::qt::QtSheetDialog& sheet) {
      shown = true;
      hook(sheet);
    });
    Action("toolsOptions")->trigger();
    quill::qt::GetQtSheetRunner()->SetSheetHook(nullptr);
    EXPECT_TRUE(shown);
  }
  // Installs a scripted file prompt until the end of the scope.
  struct ScopedPrompt {
    ScopedPrompt() { quill::InstallFilePrompt(prompt); }
    ~ScopedPrompt() { quill::InstallFilePrompt(std::make_shared<quill::qt::QtFilePrompt>()); }
    std::shared_ptr<quill::HeadlessFilePrompt> prompt = std::make_shared<quill::HeadlessFilePrompt>();
  };

  quill_test::TempDir m_dir;
  std::unique_ptr<MainWindow> m_window;
  std::vector<std::string> m_messages;
};

}  // namespace quillpad
