#pragma once
// The Qt platform services of quill and the one call that installs them all.
//
// A host creates its QApplication, then
//
//   quill::qt::QtApplicationServices& services = quill::qt::InstallPlatform();
//   services.SetStatusBar(mainWindow->statusBar());
//
// and from then on the component's message boxes (its own and the control library's), status
// bar texts and progress bars, wait cursor, file prompts, clipboard, installed fonts, system
// colours, screen resolution and printing (qt/qt_printer.h) are Qt's. Views are
// shown in EditorWidget (qt/editor_widget.h), split windows in EditorSplitter.

#include <QPalette>

#include "platform/clipboard.h"
#include "platform/display.h"
#include "qt/qt_app_services.h"
#include "qt/qt_file_prompt.h"

namespace quill::qt {

// System colours from the application's palette; dpi from the primary screen.
class QtDisplay : public Display {
 public:
  COLORREF GetSysColor(int index) const override;
  int GetLogPixelsY() const override;
};

// The desktop clipboard, its text read and written as Windows-1252 bytes; line breaks
// leave as LF and arrive as CR LF.
class QtClipboard : public Clipboard {
 public:
  bool HasText() const override;
  std::optional<std::string> GetText() const override;
  bool SetText(std::string_view text) override;
  std::optional<std::string> GetUtf8Text() const override;
  bool SetUtf8Text(std::string_view text) override;
};

// Text between the buffer and other programs: Windows-1252 bytes, line breaks CR LF inside
// and LF outside.
std::string TextFromDesktop(const QString& text);
QString TextToDesktop(std::string_view bytes);
// The same for UTF-8 text.
std::string Utf8TextFromDesktop(const QString& text);
QString Utf8TextToDesktop(std::string_view text);

// Installs every Qt service in one bundle (platform/platform_services.h; a QApplication must
// exist) and returns the application services, which live until UninstallPlatform or the
// end of the process. Calling it again returns the same services.
QtApplicationServices& InstallPlatform();
// Gives every slot back the service it had before InstallPlatform (tests).
void UninstallPlatform();

}  // namespace quill::qt
