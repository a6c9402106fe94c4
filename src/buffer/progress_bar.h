#pragma once
// CProgressBar: a progress control placed in a pane of the main window's status bar, to
// the right of a message shown in the same pane. Without a status bar every operation
// does nothing.

#include <memory>
#include <string>

#include "platform/app_services.h"
#include "platform/types.h"

namespace quill {

class CProgressBar {
 public:
  CProgressBar() = default;
  // Creates at once (see Create).
  CProgressBar(const std::string& message, int size, int maxValue, bool smooth = false,
               int pane = 0);
  ~CProgressBar();
  CProgressBar(const CProgressBar&) = delete;
  CProgressBar& operator=(const CProgressBar&) = delete;

  // Places the bar in the pane, shows the message there, range 0 ... maxValue with step
  // 1. size is the percentage of the pane width beside the message that the bar takes.
  // False when there is no status bar.
  bool Create(const std::string& message, int size = 100, int maxValue = 100,
              bool smooth = false, int pane = 0);
  bool IsCreated() const { return m_pCtrl != nullptr; }

  bool SetRange(int lower, int upper, int step = 1);
  // Shows the bar again if it was hidden, then moves it to the position.
  void SetPos(int pos);
  // Puts the message into the pane and moves the bar beside it.
  void Resize();
  // Hides the bar and gives the pane back its text (the idle prompt for pane 0).
  void Destroy();

 private:
  IStatusBar* m_pStatusBar = nullptr;
  std::unique_ptr<IProgressCtrl> m_pCtrl;
  std::string m_strMessage;
  int m_nSize = 100;
  int m_nPane = 0;
  std::string m_strPrevText;
  CRect m_rcPrev;
};

}  // namespace quill
