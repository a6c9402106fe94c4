#include "qt/qt_status_bar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

#include "qt/cp1252.h"

namespace quill::qt {

QtProgressCtrl::QtProgressCtrl(QStatusBar* bar) : m_bar(new QProgressBar(bar)) {
  m_bar->setTextVisible(false);
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->hide();
}

QtProgressCtrl::~QtProgressCtrl() { delete m_bar.data(); }

void QtProgressCtrl::SetRange(int lower, int upper) {
  if (m_bar) m_bar->setRange(lower, std::max(lower, upper));
}

void QtProgressCtrl::SetPos(int pos) {
  if (!m_bar) return;
  m_bar->setValue(std::clamp(pos, m_bar->minimum(), m_bar->maximum()));
}

void QtProgressCtrl::MoveWindow(const CRect& rect) {
  if (m_bar) m_bar->setGeometry(rect.left, rect.top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

void QtProgressCtrl::ShowWindow(bool show) {
  if (!m_bar) return;
  m_bar->setVisible(show);
  if (show) m_bar->raise();
}

bool QtProgressCtrl::IsWindowVisible() const { return m_bar && m_bar->isVisible(); }

QtStatusBar::QtStatusBar(QStatusBar* bar, const std::vector<int>& indicatorWidths) : m_bar(bar) {
  auto* message = new QLabel(bar);
  message->setMinimumWidth(1);
  bar->addWidget(message, 1);
  m_panes.emplace_back(message);
  for (int width : indicatorWidths) {
    auto* label = new QLabel(bar);
    label->setFixedWidth(std::max(width, 1));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    bar->addPermanentWidget(label);
    m_panes.emplace_back(label);
  }
}

QtStatusBar::~QtStatusBar() {
  for (auto& pane : m_panes) delete pane.data();
}

QLabel* QtStatusBar::Pane(int pane) const {
  if (pane < 0 || pane >= static_cast<int>(m_panes.size())) return nullptr;
  return m_panes[static_cast<std::size_t>(pane)].data();
}

std::string QtStatusBar::GetPaneText(int pane) const {
  QLabel* label = Pane(pane);
  return label != nullptr ? ToCp1252(label->text()) : std::string();
}

void QtStatusBar::SetPaneText(int pane, const std::string& text) {
  if (QLabel* label = Pane(pane)) label->setText(FromCp1252(text));
}

bool QtStatusBar::GetItemRect(int pane, CRect& rect) const {
  QLabel* label = Pane(pane);
  if (label == nullptr) return false;
  const QRect r = label->geometry();
  rect = CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
  return true;
}

int QtStatusBar::GetTextWidth(std::string_view text) const {
  const QFont font = m_bar ? m_bar->font() : QApplication::font();
  return QFontMetrics(font).horizontalAdvance(FromCp1252(text));
}

void QtStatusBar::UpdateWindow() {
  if (m_bar && m_bar->isVisible()) m_bar->repaint();
}

std::unique_ptr<IProgressCtrl> QtStatusBar::CreateProgressCtrl(bool, int) {
  // The style draws every bar smooth.
  if (!m_bar) return nullptr;
  return std::make_unique<QtProgressCtrl>(m_bar);
}

}  // namespace quill::qt
