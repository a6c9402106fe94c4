#include "editor_host.h"

#include <QFontMetrics>
#include <QMainWindow>
#include <QStatusBar>

#include "language_views.h"
#include "qt/quill_qt.h"

namespace quillpad {

QWidget* CreateEditorWidget(std::unique_ptr<LanguageView> view, QWidget* parent) {
  auto* editor = new quill::qt::EditorWidget(std::move(view), parent);
  editor->InitialUpdate();
  return editor;
}

void InstallDesktopServices(QMainWindow* mainWindow) {
  quill::qt::QtApplicationServices& services = quill::qt::InstallPlatform();
  // The message pane, then the indicators: position, line breaks, overwrite, read-only,
  // encoding.
  const QFontMetrics fm(mainWindow->statusBar()->font());
  std::vector<int> widths;
  for (const char* widest : {"Ln 00000, Col 000", "UNIX", "OVR", "READ", "Windows-1252"})
    widths.push_back(fm.horizontalAdvance(widest) + 16);
  services.SetStatusBar(mainWindow->statusBar(), widths);
}

void SetPaneText(Pane pane, const std::string& text) {
  if (quill::IStatusBar* bar = quill::GetApplicationServices().GetStatusBar())
    bar->SetPaneText(static_cast<int>(pane),
                     pane == Pane::Message && text.empty() ? "Ready" : text);
}

}  // namespace quillpad
