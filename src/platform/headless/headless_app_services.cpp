#include "platform/headless/headless_app_services.h"

#include <cstdio>

#include "platform/posix/process_priority.h"

namespace quill {
namespace {

class HeadlessProgressCtrl : public IProgressCtrl {
 public:
  explicit HeadlessProgressCtrl(HeadlessStatusBar::Progress& record) : m_record(record) {}
  ~HeadlessProgressCtrl() override { m_record.destroyed = true; }

  void SetRange(int lower, int upper) override {
    m_record.lower = lower;
    m_record.upper = upper;
  }
  void SetStep(int step) override { m_record.step = step; }
  void SetPos(int pos) override {
    m_record.pos = pos;
    m_record.positions.push_back(pos);
  }
  void MoveWindow(const CRect& rect) override { m_record.rect = rect; }
  void ShowWindow(bool show) override { m_record.visible = show; }
  bool IsWindowVisible() const override { return m_record.visible; }

 private:
  HeadlessStatusBar::Progress& m_record;
};

}  // namespace

HeadlessStatusBar::HeadlessStatusBar(std::vector<int> paneWidths, int charWidth)
    : m_panes(paneWidths.size()), m_nCharWidth(charWidth) {
  int left = 0;
  for (int width : paneWidths) {
    m_rects.emplace_back(left, 0, left + width, 20);
    left += width;
  }
}

std::string HeadlessStatusBar::GetPaneText(int pane) const {
  if (pane < 0 || pane >= static_cast<int>(m_panes.size())) return {};
  return m_panes[static_cast<std::size_t>(pane)];
}

void HeadlessStatusBar::SetPaneText(int pane, const std::string& text) {
  if (pane < 0 || pane >= static_cast<int>(m_panes.size())) return;
  m_panes[static_cast<std::size_t>(pane)] = text;
  if (pane == 0) m_paneHistory.push_back(text);
}

bool HeadlessStatusBar::GetItemRect(int pane, CRect& rect) const {
  if (pane < 0 || pane >= static_cast<int>(m_rects.size())) return false;
  rect = m_rects[static_cast<std::size_t>(pane)];
  return true;
}

int HeadlessStatusBar::GetTextWidth(std::string_view text) const {
  return static_cast<int>(text.size()) * m_nCharWidth;
}

std::unique_ptr<IProgressCtrl> HeadlessStatusBar::CreateProgressCtrl(bool smooth, int id) {
  Progress& record = m_progress.emplace_back();
  record.smooth = smooth;
  record.id = id;
  return std::make_unique<HeadlessProgressCtrl>(record);
}

HeadlessApplicationServices::HeadlessApplicationServices() = default;

int HeadlessApplicationServices::MessageBox(const std::string& text, unsigned type) {
  m_messages.push_back({text, type});
  if (m_bEcho) std::fprintf(stderr, "quill message (0x%x): %s\n", type, text.c_str());
  return m_nAnswer;
}

unsigned HeadlessApplicationServices::GetPriorityClass() { return PosixGetPriorityClass(); }

bool HeadlessApplicationServices::SetPriorityClass(unsigned priorityClass) {
  m_priorityHistory.push_back(priorityClass);
  return PosixSetPriorityClass(priorityClass);
}

}  // namespace quill
