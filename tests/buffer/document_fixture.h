#pragma once
// Helpers of the document tests: recording application services, a scripted save-as
// prompt and message box, an in-memory settings store, a temporary folder, and a view
// over a document's buffer.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "load_save_fixture.h"
#include "platform/headless/fault_file_service.h"
#include "platform/headless/file_prompt.h"
#include "platform/headless/headless_controls.h"
#include "quill.h"

namespace quill::test {

// A view that lets the tests read its caret.
class DocView : public QuillView {
 public:
  using QuillView::m_bHasBookmarks;
};

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() : m_prompt(std::make_shared<HeadlessFilePrompt>()) {
    m_services.m_bEcho = false;
    InstallFilePrompt(m_prompt);
    m_previousStore = SetSettingsStore(std::make_shared<MemorySettingsStore>());
    ClearRecentFileList();
  }
  ~DocumentTest() override {
    InstallFilePrompt(nullptr);
    SetSettingsStore(m_previousStore);
  }

  // Attaches a view to the document's buffer.
  template <class Doc>
  std::unique_ptr<DocView> AttachView(Doc& doc) {
    auto view = std::make_unique<DocView>();
    view->SetDocument(&doc);
    view->AttachToBuffer(&doc.GetTextBuffer());
    return view;
  }
  // Types text at the start of the first line through the buffer.
  static void Type(QuillTextBuffer& buffer, const char* text) {
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, text, endLine, endChar, UNDO_ACTION_TYPING);
  }

  ScopedHeadlessServices m_services;
  ScopedMessageBoxPresenter m_boxes;
  std::shared_ptr<HeadlessFilePrompt> m_prompt;
  std::shared_ptr<SettingsStore> m_previousStore;
  TempFolder m_folder;
};

}  // namespace quill::test
