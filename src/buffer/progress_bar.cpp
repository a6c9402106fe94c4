#include "buffer/progress_bar.h"

namespace quill {

CProgressBar::CProgressBar(const std::string& message, int size, int maxValue, bool smooth,
                           int pane) {
  Create(message, size, maxValue, smooth, pane);
}

CProgressBar::~CProgressBar() { Destroy(); }

bool CProgressBar::Create(const std::string& message, int size, int maxValue, bool smooth,
                          int pane) {
  Destroy();
  m_pStatusBar = GetApplicationServices().GetStatusBar();
  if (!m_pStatusBar) return false;
  CRect rect;
  if (!m_pStatusBar->GetItemRect(pane, rect)) {
    m_pStatusBar = nullptr;
    return false;
  }
  m_pCtrl = m_pStatusBar->CreateProgressCtrl(smooth, 1);
  if (!m_pCtrl) {
    m_pStatusBar = nullptr;
    return false;
  }
  m_pCtrl->MoveWindow(rect);
  m_pCtrl->ShowWindow(true);
  m_rcPrev = rect;
  SetRange(0, maxValue, 1);
  m_strMessage = message;
  m_nSize = size;
  m_nPane = pane;
  m_strPrevText = m_pStatusBar->GetPaneText(pane);
  Resize();
  return true;
}

bool CProgressBar::SetRange(int lower, int upper, int step) {
  if (!m_pCtrl) return false;
  m_pCtrl->SetRange(lower, upper);
  m_pCtrl->SetStep(step);
  return true;
}

void CProgressBar::SetPos(int pos) {
  if (!m_pCtrl) return;
  if (!m_pCtrl->IsWindowVisible()) m_pCtrl->ShowWindow(true);
  m_pCtrl->SetPos(pos);
}

void CProgressBar::Resize() {
  if (!m_pCtrl || !m_pCtrl->IsWindowVisible()) return;
  m_pStatusBar->SetPaneText(m_nPane, m_strMessage);
  m_pStatusBar->UpdateWindow();

  const int messageWidth = m_pStatusBar->GetTextWidth(m_strMessage);
  const int spaceWidth = m_pStatusBar->GetTextWidth(" ");
  CRect rect;
  m_pStatusBar->GetItemRect(m_nPane, rect);
  if (!m_strMessage.empty()) rect.left += messageWidth + 4 * spaceWidth;
  rect.right -= (rect.right - rect.left) * (100 - m_nSize) / 100;
  if (rect.right < rect.left) rect.right = rect.left;
  const int margin = rect.Height() / 10;
  rect.top += margin;
  rect.bottom -= margin;
  if (rect != m_rcPrev) {
    m_pCtrl->MoveWindow(rect);
    m_rcPrev = rect;
  }
}

void CProgressBar::Destroy() {
  if (!m_pCtrl) return;
  m_pCtrl->ShowWindow(false);
  m_pCtrl.reset();
  m_pStatusBar->SetPaneText(m_nPane, m_nPane == 0 ? GetApplicationServices().GetIdlePrompt()
                                                  : m_strPrevText);
  m_pStatusBar->UpdateWindow();
  m_pStatusBar = nullptr;
}

}  // namespace quill
