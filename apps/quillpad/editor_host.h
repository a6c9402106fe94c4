#pragma once
// Where quillpad meets the component's Qt backend: the editor widget of one view, the
// desktop services the component reports through, and the status-bar indicator panes.

#include <memory>
#include <string>

class QMainWindow;
class QWidget;

namespace quillpad {

class LanguageView;

// An editor widget showing `view` (whose document is set) over its document's buffer;
// the widget owns the view.
QWidget* CreateEditorWidget(std::unique_ptr<LanguageView> view, QWidget* parent);

// Routes the component's message boxes, file prompts, clipboard and status bar to the
// desktop; the main window's status bar gets the message pane and the indicator panes.
void InstallDesktopServices(QMainWindow* mainWindow);

// The panes of the status bar: the message pane and the indicators.
enum class Pane { Message = 0, Position = 1, LineBreaks = 2, Overwrite = 3, ReadOnly = 4, Encoding = 5 };
// Writes a pane; an empty message reads "Ready".
void SetPaneText(Pane pane, const std::string& text);

}  // namespace quillpad
