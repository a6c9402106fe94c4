#pragma once
// The status bar on a QStatusBar: pane 0 is the message pane (it stretches), the others
// are indicator panes of fixed widths at the right. Progress controls are children of the
// bar placed by rectangle, over the pane the caller chose.

#include <QPointer>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <vector>

#include "platform/app_services.h"


namespace quill::qt {

class QtProgressCtrl : public IProgressCtrl {
 public:
  explicit QtProgressCtrl(QStatusBar* bar);
  ~QtProgressCtrl() override;
  void SetRange(int lower, int upper) override;
  void SetStep(int step) override { m_step = step; }
  void SetPos(int pos) override;
  void MoveWindow(const CRect& rect) override;
  void ShowWindow(bool show) override;
  bool IsWindowVisible() const override;
  QProgressBar* Widget() const { return m_bar; }

 private:
  QPointer<QProgressBar> m_bar;
  int m_step = 1;
};

class QtStatusBar : public IStatusBar {
 public:
  // indicatorWidths: the widths in pixels of the panes after the message pane.
  QtStatusBar(QStatusBar* bar, const std::vector<int>& indicatorWidths);
  ~QtStatusBar() override;

  std::string GetPaneText(int pane) const override;
  void SetPaneText(int pane, const std::string& text) override;
  bool GetItemRect(int pane, CRect& rect) const override;
  int GetTextWidth(std::string_view text) const override;
  void UpdateWindow() override;
  std::unique_ptr<IProgressCtrl> CreateProgressCtrl(bool smooth, int id) override;

  QStatusBar* Widget() const { return m_bar; }
  bool IsAlive() const { return !m_bar.isNull(); }

 private:
  QLabel* Pane(int pane) const;

  QPointer<QStatusBar> m_bar;
  std::vector<QPointer<QLabel>> m_panes;
};

}  // namespace quill::qt
