#pragma once
// Application services on Qt widgets: message boxes (QMessageBox), the main window's
// status bar, the wait cursor (an override cursor) and the process priority class.

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

#include "platform/app_services.h"
#include "platform/control_services.h"
#include "qt/qt_status_bar.h"

class QMessageBox;
class QStatusBar;
class QWidget;

namespace quill::qt {

class QtApplicationServices : public IApplicationServices {
 public:
  QtApplicationServices();
  ~QtApplicationServices() override;

  // The status bar the component writes to (null: none). The message pane comes first,
  // then indicator panes of the given widths.
  void SetStatusBar(QStatusBar* bar, const std::vector<int>& indicatorWidths = {80, 40, 40, 40});

  int MessageBox(const std::string& text, unsigned type) override;
  IStatusBar* GetStatusBar() override;
  std::string GetIdlePrompt() const override { return "Ready"; }
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  unsigned GetPriorityClass() override;
  bool SetPriorityClass(unsigned priorityClass) override;
  // Lets the window system run without input reaching the windows; true after Esc or a
  // press on a dialog's Cancel button.
  bool PollCancel() override;

  // Called with every message box (of the component and of the control library) once
  // it is on the screen (a test closes it here).
  void SetMessageBoxHook(std::function<void(QMessageBox&)> hook) { m_hook = std::move(hook); }
  int MessageBoxCount() const { return m_nMessageBoxes; }
  int WaitCursorDepth() const { return m_nWait; }

  // Shows a modal message box over parent (null: the active window); caption empty: the
  // application's name. Returns the button code pressed.
  int RunMessageBox(QWidget* parent, const std::string& caption, const std::string& text,
                    unsigned type);

 private:
  std::unique_ptr<QtStatusBar> m_statusBar;
  std::function<void(QMessageBox&)> m_hook;
  int m_nMessageBoxes = 0;
  int m_nWait = 0;
};

// The control library's message boxes, shown over the owner's window.
class QtMessageBoxPresenter : public IMessageBoxPresenter {
 public:
  explicit QtMessageBoxPresenter(QtApplicationServices& services) : m_services(services) {}
  int Show(const MessageBoxRequest& request) override;

 private:
  QtApplicationServices& m_services;
};

// The font families of the font database, with their pitch.
class QtFontList : public IFontList {
 public:
  std::vector<FontInfo> GetInstalledFonts() override;
};

// The result code of the button pressed in a box of the given type.
int MessageBoxResult(unsigned type, int standardButton);

}  // namespace quill::qt
