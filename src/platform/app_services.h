#pragma once
// What the component asks of the application around it: message boxes, the main
// window's status bar (pane texts, item rectangles, text widths, a progress control),
// the framework's idle prompt, the wait cursor and the process priority class. A backend
// installs its implementation with SetApplicationServices; until then the fallback
// (platform/platform_services.h) serves.

#include <memory>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace quill {

// Message box buttons and icons, and its results.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_TYPEMASK = 0xF;  // the bits that choose the buttons
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Process priority classes.
constexpr unsigned NORMAL_PRIORITY_CLASS = 0x20;
constexpr unsigned IDLE_PRIORITY_CLASS = 0x40;
constexpr unsigned HIGH_PRIORITY_CLASS = 0x80;
constexpr unsigned REALTIME_PRIORITY_CLASS = 0x100;
constexpr unsigned BELOW_NORMAL_PRIORITY_CLASS = 0x4000;
constexpr unsigned ABOVE_NORMAL_PRIORITY_CLASS = 0x8000;

// A progress control, child of the status bar.
class IProgressCtrl {
 public:
  virtual ~IProgressCtrl() = default;
  virtual void SetRange(int lower, int upper) = 0;
  virtual void SetStep(int step) = 0;
  virtual void SetPos(int pos) = 0;
  virtual void MoveWindow(const CRect& rect) = 0;
  virtual void ShowWindow(bool show) = 0;
  virtual bool IsWindowVisible() const = 0;
};

class IStatusBar {
 public:
  virtual ~IStatusBar() = default;
  virtual std::string GetPaneText(int pane) const = 0;
  virtual void SetPaneText(int pane, const std::string& text) = 0;
  // False for a pane that does not exist.
  virtual bool GetItemRect(int pane, CRect& rect) const = 0;
  // Width in pixels of the text in the status bar's font.
  virtual int GetTextWidth(std::string_view text) const = 0;
  // Repaints at once.
  virtual void UpdateWindow() = 0;
  virtual std::unique_ptr<IProgressCtrl> CreateProgressCtrl(bool smooth, int id) = 0;
};

class IApplicationServices {
 public:
  virtual ~IApplicationServices() = default;
  // Shows a message box (buttons and icon in type) and returns the button pressed.
  virtual int MessageBox(const std::string& text, unsigned type) = 0;
  // The main window's status bar, or null when there is none.
  virtual IStatusBar* GetStatusBar() = 0;
  // The framework's idle prompt string ("Ready").
  virtual std::string GetIdlePrompt() const = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  virtual unsigned GetPriorityClass() = 0;
  // False when the class could not be set; callers carry on.
  virtual bool SetPriorityClass(unsigned priorityClass) = 0;
  // Asked now and then by a long operation the user may stop: true when the user asked to
  // stop it (Esc, or Cancel in the window that is waiting for it) since the last call.
  // The window system may run meanwhile, but no input reaches the windows.
  virtual bool PollCancel() { return false; }
};

// The installed services.
IApplicationServices& GetApplicationServices();
// Installs services (not owned); null goes back to the fallback.
void SetApplicationServices(IApplicationServices* services);

// The framework's message box: GetApplicationServices().MessageBox(text, type).
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);

// Raises the process priority class to high for its lifetime and restores the saved
// class afterwards.
class CHighPriority {
 public:
  CHighPriority();
  ~CHighPriority();
  CHighPriority(const CHighPriority&) = delete;
  CHighPriority& operator=(const CHighPriority&) = delete;

 private:
  unsigned m_nSaved;
};

}  // namespace quill
