#pragma once
// Where quillpad meets the editor widgets: the widget that shows one view of a buffer,
// and the desktop services the component reports through.

#include <memory>

class QMainWindow;
class QWidget;

namespace quill {
class QuillTextBuffer;
}

namespace quillpad {

class LanguageView;

// A widget showing `view` over `buffer`; the widget owns the view.
QWidget* CreateEditorWidget(std::unique_ptr<LanguageView> view, quill::QuillTextBuffer* buffer,
                            QWidget* parent);

// Routes the component's message boxes, file prompts and status bar to the desktop.
void InstallDesktopServices(QMainWindow* mainWindow);

}  // namespace quillpad
