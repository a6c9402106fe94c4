#pragma once
// Application services without a window system: message boxes are recorded (and written
// to stderr) and answered at once, the status bar keeps its panes and progress controls
// in memory, and the priority class is the real one of the process. Tests install an
// instance and read what happened.

#include <deque>
#include <string>
#include <vector>

#include "platform/app_services.h"
#include "platform/platform_services.h"

namespace quill {

class HeadlessStatusBar : public IStatusBar {
 public:
  // What one progress control went through.
  struct Progress {
    bool smooth = false;
    int id = 0;
    int lower = 0;
    int upper = 100;
    int step = 1;
    int pos = 0;
    bool visible = false;
    bool destroyed = false;
    CRect rect;
    std::vector<int> positions;  // every SetPos in order
  };

  // Panes of the given widths, 20 pixels high, laid out left to right; text width is
  // charWidth pixels a byte.
  explicit HeadlessStatusBar(std::vector<int> paneWidths = {400, 60, 60, 60},
                             int charWidth = 7);

  std::string GetPaneText(int pane) const override;
  void SetPaneText(int pane, const std::string& text) override;
  bool GetItemRect(int pane, CRect& rect) const override;
  int GetTextWidth(std::string_view text) const override;
  void UpdateWindow() override { ++m_nRepaints; }
  std::unique_ptr<IProgressCtrl> CreateProgressCtrl(bool smooth, int id) override;

  std::vector<std::string> m_panes;
  std::vector<std::string> m_paneHistory;  // every text put into pane 0
  std::deque<Progress> m_progress;         // one per control created
  int m_nRepaints = 0;

 private:
  std::vector<CRect> m_rects;
  int m_nCharWidth;
};

class HeadlessApplicationServices : public IApplicationServices {
 public:
  struct Message {
    std::string text;
    unsigned type;
  };

  HeadlessApplicationServices();

  int MessageBox(const std::string& text, unsigned type) override;
  IStatusBar* GetStatusBar() override { return m_bHasStatusBar ? &m_statusBar : nullptr; }
  std::string GetIdlePrompt() const override { return "Ready"; }
  void BeginWaitCursor() override { ++m_nWaitCursor; }
  void EndWaitCursor() override { --m_nWaitCursor; }
  unsigned GetPriorityClass() override;
  bool SetPriorityClass(unsigned priorityClass) override;
  // The user asks to stop at the m_nCancelAtPoll-th poll (0: never).
  bool PollCancel() override { return ++m_nPolls == m_nCancelAtPoll; }

  std::vector<Message> m_messages;
  int m_nAnswer = IDOK;            // what every message box answers
  bool m_bEcho = true;             // write message boxes to stderr
  bool m_bHasStatusBar = true;
  HeadlessStatusBar m_statusBar;
  int m_nWaitCursor = 0;
  int m_nPolls = 0;
  int m_nCancelAtPoll = 0;
  std::vector<unsigned> m_priorityHistory;  // every class set, in order
};

// Installs headless services for the lifetime of the object (tests).
class ScopedHeadlessServices : public HeadlessApplicationServices {
 public:
  ScopedHeadlessServices()
      : m_installed(PlatformServices{.pApplication = Unowned<IApplicationServices>(this)}) {}

 private:
  ScopedPlatformServices m_installed;
};

}  // namespace quill
