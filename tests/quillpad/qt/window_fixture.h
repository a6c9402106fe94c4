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

#include <memory>
#include <string>
#include <vector>

#include "language_views.h"
#include "main_window.h"
#include "pad_document.h"
#include "qt/quill_qt.h"
#include "settings/store.h"
#include "../temp_dir.h"

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

  testing::TempDir m_dir;
  std::unique_ptr<MainWindow> m_window;
  std::vector<std::string> m_messages;
};

}  // namespace quillpad
