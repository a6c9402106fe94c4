#include "platform/headless/headless_window.h"

#include <algorithm>


namespace quill {

IPaneClient* HeadlessSplitter::GetPane(int row, int column) const {
  auto it = m_panes.find({row, column});
  return it == m_panes.end() ? nullptr : it->second;
}

HeadlessWindow::HeadlessWindow(CSize client) : m_client(client) {
  LOGFONT lf;
  lf.lfHeight = -13;
  lf.lfWeight = FW_NORMAL;
  m_font.CreateFontIndirect(lf);
}

void HeadlessWindow::SetSplitter(HeadlessSplitter* splitter, int row, int column) {
  m_splitter = splitter;
  m_id = AFX_IDW_PANE_FIRST + row * 16 + column;
  // Splitter panes use the splitter's shared scroll bars, not their own.
  m_style &= ~(WS_HSCROLL | WS_VSCROLL);
}

HeadlessDC& HeadlessWindow::BeginPaint() {
  m_paint = std::make_unique<HeadlessDC>(m_client, true);
  m_paint->SetDefaultFont(m_font.GetLogFont());
  return *m_paint;
}

void HeadlessWindow::InvalidateRect(const CRect* rect, bool erase) {
  Invalidation inv;
  inv.all = rect == nullptr;
  if (rect != nullptr) inv.rect = *rect;
  inv.erase = erase;
  invalidations.push_back(inv);
}

void HeadlessWindow::ScrollWindow(int dx, int dy, const CRect* scrollRect, const CRect*) {
  Scroll s;
  s.dx = dx;
  s.dy = dy;
  s.hasRect = scrollRect != nullptr;
  if (scrollRect != nullptr) s.rect = *scrollRect;
  scrolls.push_back(s);
}

void HeadlessWindow::SetScrollInfo(int bar, const SCROLLINFO& info, bool) {
  SCROLLINFO& mine = scrollInfo[bar];
  if (info.fMask & SIF_RANGE) {
    mine.nMin = info.nMin;
    mine.nMax = info.nMax;
  }
  if (info.fMask & SIF_PAGE) mine.nPage = info.nPage;
  if (info.fMask & SIF_POS) mine.nPos = info.nPos;
  mine.fMask |= info.fMask;
}

bool HeadlessWindow::GetScrollInfo(int bar, SCROLLINFO& info, unsigned mask) {
  auto it = scrollInfo.find(bar);
  if (it == scrollInfo.end()) return false;
  const SCROLLINFO& mine = it->second;
  if (mask & SIF_RANGE) {
    info.nMin = mine.nMin;
    info.nMax = mine.nMax;
  }
  if (mask & SIF_PAGE) info.nPage = mine.nPage;
  if (mask & SIF_POS) info.nPos = mine.nPos;
  if (mask & SIF_TRACKPOS) info.nTrackPos = mine.nTrackPos;
  info.fMask = mask;
  return true;
}

int HeadlessWindow::SetScrollPos(int bar, int pos, bool) {
  SCROLLINFO& mine = scrollInfo[bar];
  const int previous = mine.nPos;
  mine.nPos = pos;
  mine.fMask |= SIF_POS;
  return previous;
}

ScrollBarCtrl* HeadlessWindow::GetScrollBarCtrl(int bar) {
  auto it = m_ctrls.find(bar);
  return it == m_ctrls.end() ? nullptr : it->second.get();
}

void HeadlessWindow::CreateSolidCaret(int width, int height) {
  caret.created = true;
  caret.solid = true;
  caret.size = CSize(width, height);
  caret.visible = false;
}

void HeadlessWindow::CreateGrayCaret(int width, int height) {
  CreateSolidCaret(width, height);
  caret.solid = false;
}

short HeadlessWindow::GetKeyState(int virtualKey) const {
  auto it = m_keys.find(virtualKey);
  return it != m_keys.end() && it->second ? static_cast<short>(0x8000) : 0;
}

std::unique_ptr<CDC> HeadlessWindow::GetDC() {
  auto dc = std::make_unique<HeadlessDC>(m_client, false);
  dc->SetDefaultFont(m_font.GetLogFont());
  return dc;
}

unsigned HeadlessWindow::TrackPopupMenu(const CMenu& menu, unsigned flags, CPoint screenPoint) {
  lastMenu = menu;
  lastMenuFlags = flags;
  lastMenuPoint = screenPoint;
  ++menuCount;
  return menuChoice;
}

IPaneClient* HeadlessWindow::GetPane(int row, int column) const {
  return m_splitter != nullptr ? m_splitter->GetPane(row, column) : nullptr;
}

}  // namespace quill
